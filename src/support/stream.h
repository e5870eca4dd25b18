// Byte streams over Win32 file handles: the Stream interface, FileStream, and StreamFilter,
// which owns an inner stream and calls hooks after data has passed.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "support/heap.h"

class Stream {
 public:
  Stream() : size(0), position(0) {}
  virtual ~Stream() {}
  virtual int Open(const char* name, int mode) = 0;
  virtual int OpenWide(const WCHAR* name, int mode) = 0;
  virtual void Close() = 0;
  virtual uint32_t Read(void* buffer, uint32_t count) = 0;
  virtual unsigned char ReadByte() = 0;
  virtual uint32_t Write(const void* buffer, uint32_t count) = 0;
  virtual uint32_t WriteByte(unsigned char byte) = 0;
  virtual int Seek(int32_t offset, int origin) = 0;
  virtual int32_t GetSize() { return size; }
  // Capability queries; every stream of this family can seek and knows its size.
  virtual int32_t CanSeek() { return 1; }
  virtual int32_t HasSize() { return 1; }

  int32_t GetPosition() const { return position; }

  LUNET_HEAP_ALLOCATED

  int32_t size;      // length when opened; 0 while closed
  int32_t position;  // offset of the next byte; 0 while closed

  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
};

class FileStream : public Stream {
 public:
  FileStream() : mode(0), handle(NULL) {}
  ~FileStream() override;
  int Open(const char* name, int mode) override;
  int OpenWide(const WCHAR* name, int mode) override;
  void Close() override;
  uint32_t Read(void* buffer, uint32_t count) override;
  unsigned char ReadByte() override;
  uint32_t Write(const void* buffer, uint32_t count) override;
  uint32_t WriteByte(unsigned char byte) override;
  int Seek(int32_t offset, int origin) override;

  int32_t mode;
  HANDLE handle;  // null while closed
};

// A new closed FileStream, or null when memory is short.
FileStream* NewFileStream();

class StreamFilter {
 public:
  StreamFilter();
  virtual ~StreamFilter();
  virtual int Open(const char* name, int mode);
  virtual int OpenWith(Stream* stream, const char* name, int mode);
  virtual int OpenWide(const WCHAR* name, int mode);
  virtual int OpenWideWith(Stream* stream, const WCHAR* name, int mode);
  virtual void Attach(Stream* stream);
  virtual void Close();
  virtual uint32_t Read(void* buffer, uint32_t count);
  virtual unsigned char ReadByte();
  virtual uint32_t Write(const void* buffer, uint32_t count);
  virtual uint32_t WriteByte(unsigned char byte);
  virtual int Seek(int32_t offset, int origin);
  virtual int32_t GetSize();
  virtual int32_t GetPosition();
  virtual void OnRead(void* buffer, uint32_t count);
  virtual void OnWrite(const void* buffer, uint32_t count);

  LUNET_HEAP_ALLOCATED

  Stream* inner;  // owned

  StreamFilter(const StreamFilter&) = delete;
  StreamFilter& operator=(const StreamFilter&) = delete;

 private:
  void Replace(Stream* stream);
};
