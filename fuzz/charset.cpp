// Fuzzes WideToNarrow with arbitrary 16-bit units and charset names.
//
// Input: byte 0 picks the name (bit 7 set: one of the table's names, else the next byte-0 & 31
// bytes are an arbitrary name); bit 6 of byte 0 switches the runtime's multibyte code page to
// 932; the remaining bytes are little-endian 16-bit units. The result must equal the bytes
// before the terminator, and UTF-8 output of text without lone surrogates must decode back to
// the units it came from.
#include "support/charset.h"

#include <mbctype.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

void Check(bool condition) {
  if (!condition) abort();
}

bool HasLoneSurrogate(const std::u16string& units) {
  for (size_t i = 0; i < units.size(); ++i) {
    char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

// Strict UTF-8 decoding into 16-bit units; false on any malformed or overlong sequence.
bool DecodeUtf8(const std::string& bytes, std::u16string& units) {
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    int extra = b < 0x80             ? 0
                : (b & 0xE0) == 0xC0 ? 1
                : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3
                                     : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= bytes.size()) return false;
    uint32_t cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      unsigned char c = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    static const uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(cp));
    }
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  size_t at = 1;
  std::string name;
  if (mode & 0x80) {
    name = CharsetTable[(mode & 0x3F) % 11].name;
  } else {
    size_t length = mode & 31;
    if (length > size - at) length = size - at;
    name.assign(reinterpret_cast<const char*>(data + at), length);
    name = name.substr(0, name.find('\0'));
    at += length;
  }
  _setmbcp(mode & 0x40 ? 932 : 0);

  std::u16string units;
  for (; at + 1 < size; at += 2) {
    char16_t u = static_cast<char16_t>(data[at] | (data[at + 1] << 8));
    if (u == 0) break;  // the source is zero-terminated text
    units.push_back(u);
  }

  WStrBuf source;
  source.Assign(units.c_str());
  StrBuf destination(kEmptyText);
  uint32_t result = WideToNarrow(source, destination, name.c_str(), DefaultCharsetName);
  Check(destination.length >= 1 && destination.length <= destination.capacity);
  Check(result == destination.length - 1);
  Check(destination.data[result] == 0);
  Check(strlen(destination.data) == result);

  if (CharsetToCodePage(name.c_str()) == 65001 && !HasLoneSurrogate(units)) {
    std::u16string back;
    Check(DecodeUtf8(std::string(destination.data, result), back));
    Check(back == units);
  }
  destination.Release();
  source.Release();
  return 0;
}
