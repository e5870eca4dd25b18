// Scoped owners for tests and tools: temporary folders, removed with everything in them; the
// current directory and any process-wide variable, put back at the end of the scope; small
// file queries. Both targets.
#pragma once

#include <filesystem>
#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory with its trailing separator, ready to have a file name appended.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  // Writes bytes to a file in the directory; returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// The process's current directory moved to path until the owner goes, then put back, so a
// failing check cannot leave the next case in the wrong directory.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& path);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

  bool moved() const { return moved_; }

 private:
  std::filesystem::path saved_;
  bool moved_ = false;
};

// A process-wide variable set for a scope and put back, however the scope ends.
template <typename T>
class ScopedValue {
 public:
  ScopedValue(T& place, const T& value) : place_(place), saved_(place) { place_ = value; }
  ~ScopedValue() { place_ = saved_; }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& place_;
  T saved_;
};

std::string ReadFileBytes(const std::string& path);
// Creates or replaces the file; false when it could not be written whole.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
