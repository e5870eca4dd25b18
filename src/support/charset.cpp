// Charset conversion: a sorted name table, the platform conversion, and own UTF-8, EUC-JP and
// ISO-2022-JP writers (the last two rewrite Shift_JIS).
#include "support/charset.h"

#include <locale.h>
#include <mbctype.h>
#include <mbstring.h>

const CharsetEntry CharsetTable[11] = {
    {"Big5", "Chinese-Traditional(Big5)", 950},
    {"EUC-JP", "Japanese(EUC)", 51932},
    {"EUC-KR", "Korean(EUC)", 949},
    {"GB18030", "Chinese-GB18030(WinXP Only)", 54936},
    {"GB2312", "Chinese-Simplified(GB2312)", 936},
    {"ISO-2022-JP", "Japanese(JIS)", 50220},
    {"ISO-8859-1", "English", 437},
    {"OSNative", "Default Charset", 1},
    {"Shift-JIS", "Japanese(ShiftJIS)", 932},
    {"TIS-620", "Thai(TIS-620)", 874},
    {"UTF-8", "Unicode(UTF-8)", 65001},
};

const char DefaultCharsetName[] = "";

namespace {

bool IsAlnum(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

unsigned char FoldToLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Makes destination the empty text (length 1), keeping its block.
void MakeEmpty(StrBuf& destination) {
  destination.length = 0;
  if (destination.capacity < 1) destination.Reserve(2);
  *destination.AppendSlot() = 0;
}

// Writes one byte over the terminator and terminates again, growing by the doubling rule.
void PutByte(StrBuf& destination, unsigned char byte) {
  destination.data[destination.length - 1] = static_cast<char>(byte);
  *destination.AppendSlot() = 0;
}

// A surrogate unit that does not start a valid pair has no UTF-8 form; it and the unit after it
// become four question marks, the platform's default character for what it cannot map.
void PutSurrogates(StrBuf& destination, unsigned first, unsigned second) {
  if (first >= 0xD800 && first <= 0xDBFF && second >= 0xDC00 && second <= 0xDFFF) {
    unsigned cp = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    PutByte(destination, 0xF0 | (cp >> 18));
    PutByte(destination, 0x80 | ((cp >> 12) & 0x3F));
    PutByte(destination, 0x80 | ((cp >> 6) & 0x3F));
    PutByte(destination, 0x80 | (cp & 0x3F));
    return;
  }
  for (int i = 0; i < 4; ++i) PutByte(destination, '?');
}

// Appends k bytes to a result being built without a terminator in its length.
void PutBytes(StrBuf& result, const unsigned char* bytes, uint32_t k) {
  if (result.capacity < result.length + k) result.Reserve(2 * (result.length + k));
  for (uint32_t i = 0; i < k; ++i) result.data[result.length++] = static_cast<char>(bytes[i]);
}

// A pair the runtime rejects (user-defined and vendor rows) has no JIS code; it becomes the
// geta mark, JIS's own substitute, never the 0 that would end the text early.
const unsigned kGetaMark = 0x222E;

unsigned PairToJisCode(unsigned pairCode) {
  unsigned code = SjisPairToJis(pairCode);
  return code ? code : kGetaMark;
}

}  // namespace

unsigned SjisPairToJis(unsigned pairCode) { return _mbcjmstojis(pairCode); }

int CompareCharsetName(const char* first, const char* second) {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(first);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(second);
  for (; *a && *b; ++a, ++b) {
    if (!IsAlnum(*a) || !IsAlnum(*b)) continue;
    unsigned char x = FoldToLower(*a), y = FoldToLower(*b);
    if (x > y) return 1;
    if (x < y) return -1;
  }
  if (!*a && !*b) return 0;
  return *a ? 1 : -1;
}

int CharsetToCodePage(const char* name) {
  if (!name || !*name) return 1;
  int32_t low = 0, high = 10, middle = 5;
  do {
    int r = CompareCharsetName(CharsetTable[middle].name, name);
    if (r == 0) return CharsetTable[middle].codePage;
    if (r < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
    middle = (low + high) / 2;
  } while (low < middle || high > middle);
  return CompareCharsetName(CharsetTable[middle].name, name) == 0 ? CharsetTable[middle].codePage
                                                                  : 1;
}

uint32_t ConvertToCodePage(const WStrBuf& source, StrBuf& destination, int codePage) {
  MakeEmpty(destination);
  uint32_t room = 3 * source.length + 1;
  if (room >= destination.capacity) {
    destination.length = 0;
    destination.Reserve(room + 1);
  }
  int written = WideCharToMultiByte(static_cast<UINT>(codePage), 0, source.data, -1,
                                    destination.data, static_cast<int>(room), NULL, NULL);
  if (written > 0) {
    destination.length = static_cast<uint32_t>(written);
    return destination.length;
  }
  MakeEmpty(destination);
  return 0;
}

uint32_t EncodeUtf8(const WStrBuf& source, StrBuf& destination) {
  destination.length = 0;
  destination.GrowTo(1);
  *destination.AppendSlot() = 0;
  for (uint32_t i = 0; i + 1 < source.length; ++i) {
    unsigned u = source.data[i];
    if (u < 0x80) {
      PutByte(destination, u);
    } else if (u < 0x800) {
      PutByte(destination, 0xC0 | ((u >> 6) & 0x1F));
      PutByte(destination, 0x80 | (u & 0x3F));
    } else if ((u & 0xF800) == 0xD800) {
      // The partner of a surrogate in the last position is the terminator: not read.
      unsigned next = (i + 2 < source.length) ? source.data[i + 1] : 0;
      PutSurrogates(destination, u, next);
      ++i;
    } else {
      PutByte(destination, 0xE0 | ((u >> 12) & 0x0F));
      PutByte(destination, 0x80 | ((u >> 6) & 0x3F));
      PutByte(destination, 0x80 | (u & 0x3F));
    }
  }
  return destination.length - 1;
}

int SjisToEucInPlace(StrBuf& text) {
  unsigned char* b = reinterpret_cast<unsigned char*>(text.data);
  for (uint32_t i = 0; i + 1 < text.length;) {
    if (IsShiftJisLeadByte(b[i]) && IsTrailByte(b[i + 1])) {
      unsigned j = PairToJisCode(b[i] * 256u + b[i + 1]);
      b[i] = static_cast<unsigned char>((j >> 8) | 0x80);
      b[i + 1] = static_cast<unsigned char>((j & 0xFF) | 0x80);
      i += 2;
    } else {
      i += 1;
    }
  }
  return 1;
}

int SjisToJis(StrBuf& text) {
  static const unsigned char kToDouble[3] = {0x1B, '$', 'B'};
  static const unsigned char kToAscii[3] = {0x1B, '(', 'B'};
  StrBuf result;
  result.Reserve(text.length + 5);
  bool doubleByte = false;
  const unsigned char* b = reinterpret_cast<const unsigned char*>(text.data);
  for (uint32_t i = 0; i + 1 < text.length;) {
    if (IsShiftJisLeadByte(b[i]) && IsTrailByte(b[i + 1])) {
      if (!doubleByte) PutBytes(result, kToDouble, 3);
      doubleByte = true;
      unsigned j = PairToJisCode(b[i] * 256u + b[i + 1]);
      // Two appends, each checked for growth on its own: that decides the final capacity.
      const unsigned char high = static_cast<unsigned char>(j >> 8);
      const unsigned char low = static_cast<unsigned char>(j & 0xFF);
      PutBytes(result, &high, 1);
      PutBytes(result, &low, 1);
      i += 2;
    } else {
      if (doubleByte) PutBytes(result, kToAscii, 3);
      doubleByte = false;
      PutBytes(result, b + i, 1);
      i += 1;
    }
  }
  if (doubleByte) PutBytes(result, kToAscii, 3);
  static const unsigned char kTerminator = 0;
  PutBytes(result, &kTerminator, 1);
  result.MoveTo(text);
  return 1;
}

uint32_t WideToNarrow(const WStrBuf& source, StrBuf& destination, const char* charsetName,
                      const char* localeName) {
  if (localeName && *localeName) {
    setlocale(LC_CTYPE, localeName);
    ConvertToCodePage(source, destination, _getmbcp());
    setlocale(LC_CTYPE, DefaultCharsetName);
  } else {
    int codePage = CharsetToCodePage(charsetName);
    if (codePage == 65001) {
      EncodeUtf8(source, destination);
    } else if (codePage == 51932) {
      ConvertToCodePage(source, destination, 932);
      SjisToEucInPlace(destination);
    } else if (codePage == 50220) {
      ConvertToCodePage(source, destination, 932);
      SjisToJis(destination);
    } else {
      ConvertToCodePage(source, destination, codePage);
    }
  }
  return destination.length - 1;
}

StrBuf& StrBuf::AssignWide(const WCHAR* text) {
  if (!text) return *this;
  WStrBuf wide;
  wide.Assign(text);
  WideToNarrow(wide, *this, DefaultCharsetName, DefaultCharsetName);
  wide.Release();
  return *this;
}
