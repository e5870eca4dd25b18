// Owners of what the tools, the soak and the tests open: Win32 handles and a C stream,
// each closed when its owner goes, so that an early return or a failed test leaks none.
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <windows.h>

// A T whose "none" is kNone, given back with kClose: 0 for processes, threads, events and
// hooks, -1 (INVALID_HANDLE_VALUE) for files.
template <typename T, intptr_t kNone, BOOL(WINAPI* kClose)(T)>
class Owned {
 public:
  explicit Owned(T value = None()) : value_(value) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  static T None() { return reinterpret_cast<T>(kNone); }
  bool valid() const { return value_ != None(); }
  T get() const { return value_; }
  // Closes what is held now and takes value in its place.
  void reset(T value = None()) {
    if (valid()) kClose(value_);
    value_ = value;
  }
  // Gives up ownership: the caller closes it.
  T release() {
    T value = value_;
    value_ = None();
    return value;
  }

 private:
  T value_;
};
// Processes, threads, events, pipes, mappings: the kernel objects whose "none" is 0.
using KernelHandle = Owned<HANDLE, 0, CloseHandle>;
using FileHandle = Owned<HANDLE, -1, CloseHandle>;

class OwnedFile {
 public:
  explicit OwnedFile(FILE* file = nullptr) : file_(file) {}
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
