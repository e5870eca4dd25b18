// Owners of what the commands open: a C stream and a Win32 handle, closed when they go.
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <windows.h>

namespace rules_cli {

// A handle of a kind whose "none" is kNone: 0 for processes, -1 (INVALID_HANDLE_VALUE) for files.
template <intptr_t kNone>
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (valid()) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  bool valid() const { return handle_ != reinterpret_cast<HANDLE>(kNone); }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};
using ProcessHandle = OwnedHandle<0>;
using FileHandle = OwnedHandle<-1>;

class OwnedFile {
 public:
  OwnedFile(const char* path, const char* mode) : file_(fopen(path, mode)) {}
  ~OwnedFile() { Close(); }
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;

  FILE* get() const { return file_; }
  // False when buffered data could not be written out.
  bool Close() {
    bool closed = !file_ || fclose(file_) == 0;
    file_ = nullptr;
    return closed;
  }

 private:
  FILE* file_;
};

}  // namespace rules_cli
