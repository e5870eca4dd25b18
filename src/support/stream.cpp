// FileStream makes exactly one system call per operation and keeps no buffer.
#include "support/stream.h"

#include "support/charset.h"

FileStream::~FileStream() {
  if (handle) Close();
}

int FileStream::Open(const char* name, int newMode) {
  if (!name) return 0;
  DWORD access = GENERIC_READ | GENERIC_WRITE, share = 0, disposition = OPEN_EXISTING;
  if (newMode == 1) {
    access = GENERIC_READ;
    share = FILE_SHARE_READ;
  } else if (newMode == 2) {
    access = GENERIC_WRITE;
    disposition = CREATE_ALWAYS;
  }
  // Reopening must not leak the handle held so far; the counters keep their values until the
  // new open succeeds, as after any failed open.
  if (handle) {
    CloseHandle(handle);
    handle = NULL;
  }
  HANDLE file = CreateFileA(name, access, share, NULL, disposition, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    handle = NULL;
    return 0;
  }
  handle = file;
  mode = newMode;
  size = static_cast<int32_t>(GetFileSize(file, NULL));
  position = 0;
  return 1;
}

int FileStream::OpenWide(const WCHAR* name, int newMode) {
  if (!name) return 0;
  WStrBuf wide;
  wide.Assign(name);
  StrBuf narrow;
  WideToNarrow(wide, narrow, DefaultCharsetName, DefaultCharsetName);
  int result = Open(narrow.data, newMode);
  narrow.Release();
  wide.Release();
  return result;
}

void FileStream::Close() {
  if (handle) {
    CloseHandle(handle);
    handle = NULL;
  }
  size = 0;
  position = 0;
}

uint32_t FileStream::Read(void* buffer, uint32_t count) {
  DWORD done = 0;
  ReadFile(handle, buffer, count, &done, NULL);
  position += static_cast<int32_t>(done);
  return done;
}

unsigned char FileStream::ReadByte() {
  unsigned char byte = 0;
  DWORD done = 0;
  ReadFile(handle, &byte, 1, &done, NULL);
  position += static_cast<int32_t>(done);
  return done ? byte : 0;
}

uint32_t FileStream::Write(const void* buffer, uint32_t count) {
  DWORD done = 0;
  WriteFile(handle, buffer, count, &done, NULL);
  position += static_cast<int32_t>(done);
  return done;
}

uint32_t FileStream::WriteByte(unsigned char byte) {
  DWORD done = 0;
  WriteFile(handle, &byte, 1, &done, NULL);
  position += static_cast<int32_t>(done);
  return done;
}

int FileStream::Seek(int32_t offset, int origin) {
  DWORD method = origin == 0 ? FILE_BEGIN : origin == 2 ? FILE_END : FILE_CURRENT;
  DWORD result = SetFilePointer(handle, offset, NULL, method);
  if (result == INVALID_SET_FILE_POINTER) return 0;
  position = static_cast<int32_t>(result);
  return 1;
}

FileStream* NewFileStream() { return new FileStream; }

StreamFilter::StreamFilter() : inner(NewFileStream()) {}

StreamFilter::~StreamFilter() { delete inner; }

void StreamFilter::Replace(Stream* stream) {
  delete inner;
  inner = stream;
}

int StreamFilter::Open(const char* name, int mode) { return inner ? inner->Open(name, mode) : 0; }

int StreamFilter::OpenWith(Stream* stream, const char* name, int mode) {
  if (stream) Replace(stream);
  return inner ? inner->Open(name, mode) : 0;
}

int StreamFilter::OpenWide(const WCHAR* name, int mode) {
  return inner ? inner->OpenWide(name, mode) : 0;
}

int StreamFilter::OpenWideWith(Stream* stream, const WCHAR* name, int mode) {
  if (stream) Replace(stream);
  return inner ? inner->OpenWide(name, mode) : 0;
}

void StreamFilter::Attach(Stream* stream) { Replace(stream); }

void StreamFilter::Close() {
  if (inner) inner->Close();
}

uint32_t StreamFilter::Read(void* buffer, uint32_t count) {
  if (!inner) return 0;
  uint32_t done = inner->Read(buffer, count);
  OnRead(buffer, done);
  return done;
}

unsigned char StreamFilter::ReadByte() {
  if (!inner) return 0;
  unsigned char byte = inner->ReadByte();
  OnRead(&byte, 1);
  return byte;
}

uint32_t StreamFilter::Write(const void* buffer, uint32_t count) {
  if (!inner) return 0;
  uint32_t done = inner->Write(buffer, count);
  OnWrite(buffer, done);
  return done;
}

uint32_t StreamFilter::WriteByte(unsigned char byte) {
  if (!inner) return 0;
  uint32_t done = inner->WriteByte(byte);
  OnWrite(&byte, done);
  return done;
}

int StreamFilter::Seek(int32_t offset, int origin) {
  return inner ? inner->Seek(offset, origin) : 0;
}

int32_t StreamFilter::GetSize() { return inner ? inner->GetSize() : 0; }

int32_t StreamFilter::GetPosition() { return inner ? inner->GetPosition() : 0; }

void StreamFilter::OnRead(void*, uint32_t) {}

void StreamFilter::OnWrite(const void*, uint32_t) {}
