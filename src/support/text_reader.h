// MappedTextReader: reads a whole file through a read-only mapping and cuts it into delimited
// fields and lines, telling in FieldEnd how each read stopped.
#pragma once

#include "support/stream.h"

enum { FieldEndDelimiter = 0, FieldEndData = 1, FieldEndLine = 2 };

// Final: nothing derives from it, so its own Read and Seek, which it calls once per byte, are
// called directly instead of through the table.
class MappedTextReader final : public StreamFilter {
 public:
  MappedTextReader();
  ~MappedTextReader() override;
  int Open(const char* name, int mode) override;
  int OpenWith(Stream* stream, const char* name, int mode) override;
  int OpenWide(const WCHAR* name, int mode) override;
  int OpenWideWith(Stream* stream, const WCHAR* name, int mode) override;
  void Attach(Stream* stream) override;
  void Close() override;
  uint32_t Read(void* buffer, uint32_t count) override;
  unsigned char ReadByte() override;
  uint32_t Write(const void* buffer, uint32_t count) override;
  uint32_t WriteByte(unsigned char byte) override;
  int Seek(int32_t offset, int origin) override;
  int32_t GetSize() override;
  int32_t GetPosition() override;

  // The field as NUL-terminated text in the reader's own buffer, valid until the next read.
  const char* ReadField(int ignoreDelimiter);
  int SkipLine();
  void CloseReader();

  // Mapping state.
  HANDLE file;
  HANDLE mapping;
  const unsigned char* view;
  int32_t size;
  int32_t position;
  // Text state.
  char delimiter;
  int32_t fieldIndex;
  int32_t lineCount;
  int32_t FieldEnd;
  char* lineBuffer;
  uint32_t lineCapacity;

 private:
  int ReadOne(unsigned char* byte);
  void EndLine();
  void EndLineFeed();
};
