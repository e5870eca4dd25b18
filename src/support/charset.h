// Conversion of 16-bit text into narrow text for eleven named charsets.
#pragma once

#include "support/strbuf.h"

struct CharsetEntry {
  const char* name;
  const char* displayName;
  int codePage;
};

extern const CharsetEntry CharsetTable[11];
// Empty for the module's lifetime: every conversion through it uses code page 1 (OEM).
extern const char DefaultCharsetName[];

uint32_t WideToNarrow(const WStrBuf& source, StrBuf& destination, const char* charsetName,
                      const char* localeName);
int CharsetToCodePage(const char* name);
int CompareCharsetName(const char* first, const char* second);
uint32_t ConvertToCodePage(const WStrBuf& source, StrBuf& destination, int codePage);
uint32_t EncodeUtf8(const WStrBuf& source, StrBuf& destination);
int SjisToEucInPlace(StrBuf& text);
int SjisToJis(StrBuf& text);
unsigned SjisPairToJis(unsigned pairCode);
// The first byte of a Shift_JIS pair: its second byte may look like ASCII ('\\', '[', a letter).
inline bool IsShiftJisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
