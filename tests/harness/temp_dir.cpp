#include "harness/temp_dir.h"

#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "owned.h"

#ifndef _WIN32
#include <unistd.h>
#endif

TempDir::TempDir() {
#ifdef _WIN32
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    std::string candidate = std::string(base) + "lunet-test-" +
                            std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    if (CreateDirectoryA(candidate.c_str(), NULL)) {
      path_ = candidate + "\\";
      break;
    }
  }
#else
  std::string pattern = (std::filesystem::temp_directory_path() / "lunet-test-XXXXXX").string();
  if (mkdtemp(pattern.data())) path_ = pattern + "/";
#endif
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  WriteFileBytes(File(name), bytes);
  return File(name);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  OwnedFile out(path.c_str(), "wb");
  if (!out.get()) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size();
  return out.Close() && written;
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  OwnedFile file(path.c_str(), "rb");
  if (!file.get()) return bytes;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, n);
  return bytes;
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& path) {
  std::error_code error;
  saved_ = std::filesystem::current_path(error);
  if (error) return;
  std::filesystem::current_path(path, error);
  moved_ = !error;
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  std::error_code ignored;
  if (moved_) std::filesystem::current_path(saved_, ignored);
}
