// The reader fetches one byte per call of its own Read and steps back with its own Seek.
#include "support/text_reader.h"

#include <string.h>

#include "support/charset.h"

namespace {

const uint32_t kLineStep = 1024;
// Rule lines are short. A field of megabytes (a file that is no rule file) must not cost time
// quadratic in its length inside every hooked process: past this size the buffer doubles.
const uint32_t kLinearGrowthLimit = 64 * 1024;
// Handed out when no line buffer can be had: the caller still gets text and an end.
char emptyField[1] = {0};

}  // namespace

MappedTextReader::MappedTextReader()
    : file(NULL),
      mapping(NULL),
      view(nullptr),
      size(0),
      position(0),
      delimiter('\t'),
      fieldIndex(0),
      lineCount(0),
      FieldEnd(FieldEndDelimiter),
      lineBuffer(nullptr),
      lineCapacity(0) {}

MappedTextReader::~MappedTextReader() {
  CloseReader();
  Close();
}

int MappedTextReader::Open(const char* name, int) {
  Close();
  HANDLE opened = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
  if (opened == INVALID_HANDLE_VALUE) return 0;
  file = opened;
  size = static_cast<int32_t>(GetFileSize(file, NULL));
  // The system refuses to map an empty file, so an empty file cannot be opened.
  mapping = CreateFileMappingA(file, NULL, PAGE_READONLY, 0, static_cast<DWORD>(size), NULL);
  if (!mapping) {
    Close();
    return 0;
  }
  view = static_cast<const unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  if (!view) {
    Close();
    return 0;
  }
  return 1;
}

int MappedTextReader::OpenWith(Stream*, const char*, int) { return 0; }

int MappedTextReader::OpenWide(const WCHAR* name, int mode) {
  StrBuf narrow(kEmptyText);
  narrow.AssignWide(name);
  int result = Open(narrow.data, mode);
  narrow.Release();
  return result;
}

int MappedTextReader::OpenWideWith(Stream*, const WCHAR*, int) { return 0; }

void MappedTextReader::Attach(Stream*) {}

void MappedTextReader::Close() {
  if (mapping) {
    if (view) UnmapViewOfFile(view);
    CloseHandle(mapping);
  }
  if (file) CloseHandle(file);
  file = NULL;
  mapping = NULL;
  view = nullptr;
  size = 0;
  position = 0;
}

uint32_t MappedTextReader::Read(void* buffer, uint32_t count) {
  if (position >= size) return 0;
  uint32_t left = static_cast<uint32_t>(size - position);
  uint32_t n = count > left ? left : count;
  memcpy(buffer, view + position, n);
  position += static_cast<int32_t>(n);
  return n;
}

unsigned char MappedTextReader::ReadByte() {
  if (position >= size) return 0;
  return view[position++];
}

uint32_t MappedTextReader::Write(const void*, uint32_t) { return 0; }

uint32_t MappedTextReader::WriteByte(unsigned char) { return 0; }

int MappedTextReader::Seek(int32_t offset, int origin) {
  int64_t target = origin == 1   ? int64_t{position} + offset
                   : origin == 2 ? int64_t{size} + offset
                                 : int64_t{offset};
  if (target < 0) {
    position = 0;
  } else if (target > size) {
    // Beyond the end lands on the last byte; a closed reader (size 0) stays at 0.
    position = size > 0 ? size - 1 : 0;
  } else {
    position = static_cast<int32_t>(target);
  }
  return 1;
}

int32_t MappedTextReader::GetSize() { return size; }

int32_t MappedTextReader::GetPosition() { return position; }

int MappedTextReader::ReadOne(unsigned char* byte) { return Read(byte, 1) == 1; }

// A CR ends the line; an LF right after it belongs to the same line end, any other byte is
// left to be read next. A CR as the very last byte ends the data too.
void MappedTextReader::EndLine() {
  unsigned char next;
  int more = ReadOne(&next);
  if (more && next != '\n') Seek(-1, 1);
  ++lineCount;
  fieldIndex = 0;
  FieldEnd = more ? FieldEndLine : FieldEndData;
}

// An LF alone ends the line; unlike a CR it never ends the data, even as the last byte.
void MappedTextReader::EndLineFeed() {
  ++lineCount;
  fieldIndex = 0;
  FieldEnd = FieldEndLine;
}

const char* MappedTextReader::ReadField(int ignoreDelimiter) {
  if (!lineBuffer) {
    lineBuffer = static_cast<char*>(malloc(kLineStep));
    if (!lineBuffer) {
      FieldEnd = FieldEndData;
      return emptyField;
    }
    lineCapacity = kLineStep;
  }
  uint32_t index = 0;
  for (;;) {
    unsigned char byte;
    if (!ReadOne(&byte)) {
      FieldEnd = FieldEndData;
      break;
    }
    if (byte == static_cast<unsigned char>(delimiter) && !ignoreDelimiter) {
      ++fieldIndex;
      FieldEnd = FieldEndDelimiter;
      break;
    }
    if (byte == '\r') {
      EndLine();
      break;
    }
    if (byte == '\n') {
      EndLineFeed();
      break;
    }
    lineBuffer[index++] = static_cast<char>(byte);
    if (index == lineCapacity) {
      uint32_t step = lineCapacity < kLinearGrowthLimit ? kLineStep : lineCapacity;
      char* grown = static_cast<char*>(realloc(lineBuffer, lineCapacity + step));
      if (grown) {
        lineBuffer = grown;
        lineCapacity += step;
      } else {
        --index;  // out of memory: the field is cut, the line is still consumed
      }
    }
  }
  lineBuffer[index] = 0;
  return lineBuffer;
}

int MappedTextReader::SkipLine() {
  for (;;) {
    unsigned char byte;
    if (!ReadOne(&byte)) {
      FieldEnd = FieldEndData;
      return 0;
    }
    if (byte == '\r') {
      EndLine();
      return 1;
    }
    if (byte == '\n') {
      EndLineFeed();
      return 1;
    }
  }
}

void MappedTextReader::CloseReader() {
  Close();
  if (lineBuffer) {
    free(lineBuffer);
    lineBuffer = nullptr;
    lineCapacity = 0;
  }
}
