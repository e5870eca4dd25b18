// Fuzzes the mapped text reader with a byte-coded program of calls over a real file.
//
// Input: byte 0 is the delimiter, byte 1 the number n of calls, then n pairs (call, argument);
// the remaining bytes are the file. After every call the reader's state is checked against what
// the call may do: position within 0..size, FieldEnd 0, 1 or 2, lineCount never falling and
// rising by at most one line end per read, fieldIndex 0 after every line end, fields equal to the
// bytes they were cut from, and Read, ReadByte and Seek exactly as documented.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "scratch.h"
#include "support/text_reader.h"

namespace {

void Check(bool condition) {
  if (!condition) abort();
}

struct Snapshot {
  int32_t position;
  int32_t fieldIndex;
  int32_t lineCount;
};

Snapshot Take(const MappedTextReader& r) { return {r.position, r.fieldIndex, r.lineCount}; }

void CheckState(const MappedTextReader& r, const std::string& file, bool open) {
  Check(r.size == (open ? static_cast<int32_t>(file.size()) : 0));
  Check(r.position >= 0 && r.position <= r.size);
  Check(r.FieldEnd == FieldEndDelimiter || r.FieldEnd == FieldEndData ||
        r.FieldEnd == FieldEndLine);
  Check((r.lineBuffer == nullptr) == (r.lineCapacity == 0));
  Check(r.lineCapacity % 1024 == 0);
  Check(r.fieldIndex >= 0);
}

// How a read that consumed bytes may have moved the counters.
void CheckLineEnd(const MappedTextReader& r, const Snapshot& before) {
  Check(r.lineCount == before.lineCount || r.lineCount == before.lineCount + 1);
  if (r.lineCount != before.lineCount) {
    Check(r.fieldIndex == 0);
    Check(r.FieldEnd != FieldEndDelimiter);
  }
  if (r.FieldEnd == FieldEndLine) Check(r.lineCount == before.lineCount + 1);
  // Without a line end the data has run out: nothing else is left to read.
  if (r.FieldEnd == FieldEndData && r.lineCount == before.lineCount) {
    Check(r.position == r.size && r.fieldIndex == before.fieldIndex);
  }
}

void CheckField(const MappedTextReader& r, const Snapshot& before, const char* field,
                const std::string& file, bool ignoreDelimiter) {
  Check(field != nullptr);
  size_t length = strlen(field);
  Check(r.lineBuffer == nullptr || field == r.lineBuffer);
  Check(r.lineBuffer == nullptr || length < r.lineCapacity);
  Check(static_cast<size_t>(before.position) + length <= file.size() || length == 0);
  if (length) Check(memcmp(field, file.data() + before.position, length) == 0);
  for (size_t i = 0; i < length; ++i) {
    Check(field[i] != '\r' && field[i] != '\n');
    Check(ignoreDelimiter || field[i] != r.delimiter);
  }
  CheckLineEnd(r, before);
  if (r.FieldEnd == FieldEndDelimiter) {
    Check(!ignoreDelimiter && r.fieldIndex == before.fieldIndex + 1);
    Check(r.lineCount == before.lineCount);
    Check(file[static_cast<size_t>(r.position) - 1] == r.delimiter);
  } else if (r.lineCount == before.lineCount) {
    Check(r.fieldIndex == before.fieldIndex);
  }
}

int32_t ExpectedSeek(int32_t position, int32_t size, int32_t offset, int origin) {
  int64_t target = origin == 1   ? int64_t{position} + offset
                   : origin == 2 ? int64_t{size} + offset
                                 : int64_t{offset};
  if (target < 0) return 0;
  if (target > size) return size > 0 ? size - 1 : 0;
  return static_cast<int32_t>(target);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const char delimiter = static_cast<char>(data[0]);
  size_t calls = data[1];
  if (2 + 2 * calls > size) calls = (size - 2) / 2;
  const uint8_t* program = data + 2;
  std::string file(reinterpret_cast<const char*>(program + 2 * calls), size - 2 - 2 * calls);
  std::string path = WriteScratchFile("data.txt", program + 2 * calls, file.size());

  MappedTextReader reader;
  reader.delimiter = delimiter;
  bool open = reader.Open(path.c_str(), 1) == 1;
  // The system refuses to map an empty file.
  Check(open == !file.empty());
  CheckState(reader, file, open);

  for (size_t i = 0; i < calls; ++i) {
    const uint8_t call = program[2 * i], argument = program[2 * i + 1];
    const Snapshot before = Take(reader);
    switch (call % 8) {
      case 0:
      case 1: {
        bool ignore = call % 8 == 1;
        const char* field = reader.ReadField(ignore);
        CheckField(reader, before, field, file, ignore);
        break;
      }
      case 2: {
        int result = reader.SkipLine();
        CheckLineEnd(reader, before);
        Check(result == (reader.lineCount != before.lineCount));
        break;
      }
      case 3: {
        int32_t offset = static_cast<int8_t>(argument);
        if (call & 0x20) offset *= 4099;
        int origin = (call >> 3) & 3;
        reader.Seek(offset, origin);
        Check(reader.position == ExpectedSeek(before.position, reader.size, offset, origin));
        break;
      }
      case 4: {
        char buffer[256];
        uint32_t got = reader.Read(buffer, argument);
        int32_t left = reader.size - before.position;
        Check(got == (left > 0
                          ? (argument < static_cast<uint32_t>(left) ? argument
                                                                    : static_cast<uint32_t>(left))
                          : 0u));
        Check(reader.position == before.position + static_cast<int32_t>(got));
        if (got) Check(memcmp(buffer, file.data() + before.position, got) == 0);
        break;
      }
      case 5: {
        unsigned char byte = reader.ReadByte();
        if (before.position < reader.size) {
          Check(byte == static_cast<unsigned char>(file[static_cast<size_t>(before.position)]));
          Check(reader.position == before.position + 1);
        } else {
          Check(byte == 0 && reader.position == before.position);
        }
        break;
      }
      case 6:
        open = reader.Open(path.c_str(), argument) == 1;
        Check(open == !file.empty() && reader.position == 0);
        Check(reader.lineCount == before.lineCount && reader.fieldIndex == before.fieldIndex);
        break;
      default:
        if (argument & 1) {
          reader.CloseReader();
          Check(reader.lineBuffer == nullptr);
        } else {
          reader.Close();
        }
        open = false;
        Check(reader.lineCount == before.lineCount && reader.fieldIndex == before.fieldIndex);
        break;
    }
    CheckState(reader, file, open);
    Check(reader.lineCount >= before.lineCount);
    if (!open && (call % 8 <= 2)) Check(reader.FieldEnd == FieldEndData);
  }
  reader.CloseReader();
  return 0;
}
