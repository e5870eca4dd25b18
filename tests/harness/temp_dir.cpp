#include "harness/temp_dir.h"

#include <stdio.h>
#include <stdlib.h>

#include <windows.h>

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
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return fclose(out) == 0 && written;
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return bytes;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  fclose(file);
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
