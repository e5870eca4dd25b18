// Charset lookup, the own UTF-8 / EUC-JP / ISO-2022-JP writers and real platform conversions.
#include "support/charset.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <mbctype.h>

#include <string>
#include <vector>

namespace {

std::string Hex(const StrBuf& s) {
  std::string out;
  char cell[4];
  for (uint32_t i = 0; i + 1 < s.length; ++i) {
    snprintf(cell, sizeof cell, i ? " %02X" : "%02X", static_cast<unsigned char>(s.data[i]));
    out += cell;
  }
  return out;
}

// Holds 16-bit text given as a list of units, terminator added.
struct Wide : WStrBuf {
  Wide(std::vector<WCHAR> units) {
    units.push_back(0);
    Assign(units.data());
  }
};

std::string Narrow(std::vector<WCHAR> units, const char* charset) {
  Wide source(units);
  StrBuf out;
  uint32_t n = WideToNarrow(source, out, charset, "");
  EXPECT_EQ(out.length - 1, n);
  return Hex(out);
}

// Runs a block with the runtime's multibyte code page set to 932, then restores it.
class Mbcp932 : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = _getmbcp();
    ASSERT_EQ(0, _setmbcp(932));
  }
  void TearDown() override { _setmbcp(saved_); }
  int saved_ = 0;
};

TEST(CharsetToCodePage, NamesFoldCaseAndSkipPunctuation) {
  EXPECT_EQ(1, CharsetToCodePage(nullptr));
  EXPECT_EQ(1, CharsetToCodePage(""));
  EXPECT_EQ(932, CharsetToCodePage("Shift_JIS"));
  EXPECT_EQ(932, CharsetToCodePage("shift-jis"));
  EXPECT_EQ(932, CharsetToCodePage("SHIFT JIS"));
  EXPECT_EQ(1, CharsetToCodePage("ShiftJIS"));
  EXPECT_EQ(65001, CharsetToCodePage("UTF_8"));
  EXPECT_EQ(65001, CharsetToCodePage("utf-8"));
  EXPECT_EQ(1, CharsetToCodePage("utf8"));
  EXPECT_EQ(874, CharsetToCodePage("TIS 620"));
  EXPECT_EQ(1, CharsetToCodePage("tis620"));
  EXPECT_EQ(437, CharsetToCodePage("ISO-8859-1"));
  EXPECT_EQ(1, CharsetToCodePage("OSNative"));
  EXPECT_EQ(1, CharsetToCodePage("Windows-1252"));
  EXPECT_EQ(1, CharsetToCodePage("Big"));
  EXPECT_EQ(1, CharsetToCodePage("Big5x"));
}

TEST(CharsetToCodePage, EveryRowIsFound) {
  for (const CharsetEntry& row : CharsetTable) {
    EXPECT_EQ(row.codePage, CharsetToCodePage(row.name)) << row.name;
  }
  for (size_t i = 1; i < 11; ++i) {
    EXPECT_LT(CompareCharsetName(CharsetTable[i - 1].name, CharsetTable[i].name), 0) << i;
  }
}

TEST(CompareCharsetName, ThreeWay) {
  EXPECT_EQ(0, CompareCharsetName("UTF-8", "utf-8"));
  EXPECT_EQ(1, CompareCharsetName("UTF-8", "UTF8"));
  EXPECT_EQ(-1, CompareCharsetName("Big5", "Big5x"));
  EXPECT_EQ(-1, CompareCharsetName("abc", "abd"));
  EXPECT_EQ(1, CompareCharsetName("b", "A"));
}

TEST(EncodeUtf8, OneTwoAndThreeByteForms) {
  EXPECT_EQ("41", Narrow({0x41}, "UTF-8"));
  EXPECT_EQ("C3 A9", Narrow({0xE9}, "UTF-8"));
  EXPECT_EQ("DF BF", Narrow({0x7FF}, "UTF-8"));
  EXPECT_EQ("E0 A0 80", Narrow({0x800}, "UTF-8"));
  EXPECT_EQ("E3 81 82", Narrow({0x3042}, "UTF-8"));
  EXPECT_EQ("EF BF BF", Narrow({0xFFFF}, "UTF-8"));
  EXPECT_EQ("", Narrow({}, "UTF-8"));
}

TEST(EncodeUtf8, SurrogatePairsBecomeTheirCodePoint) {
  EXPECT_EQ("F0 9F 98 80", Narrow({0xD83D, 0xDE00}, "UTF-8"));
  EXPECT_EQ("41 F4 8F BF BF 42", Narrow({0x41, 0xDBFF, 0xDFFF, 0x42}, "UTF-8"));
}

TEST(EncodeUtf8, LoneSurrogatesTakeTwoUnitsAndFourBytes) {
  EXPECT_EQ("3F 3F 3F 3F", Narrow({0xD800}, "UTF-8"));
  EXPECT_EQ("3F 3F 3F 3F 42", Narrow({0xDC00, 0x41, 0x42}, "UTF-8"));
  EXPECT_EQ("3F 3F 3F 3F", Narrow({0xD800, 0x41}, "UTF-8"));
}

TEST(EncodeUtf8, GrowsByteByByte) {
  Wide source({'a', 'b', 'c'});
  StrBuf out;
  EXPECT_EQ(3u, EncodeUtf8(source, out));
  EXPECT_EQ(4u, out.length);
  EXPECT_EQ(6u, out.capacity);
  Wide longer(std::vector<WCHAR>(7, 'x'));
  EncodeUtf8(longer, out);
  EXPECT_EQ(14u, out.capacity);
}

TEST(ConvertToCodePage, RoomIsThreeBytesPerUnit) {
  Wide source({'a', 'b', 'c'});
  StrBuf small;
  small.Reserve(13);
  EXPECT_EQ(4u, ConvertToCodePage(source, small, 932));
  EXPECT_EQ(14u, small.capacity);
  EXPECT_STREQ("abc", small.data);
  StrBuf enough;
  enough.Reserve(14);
  ConvertToCodePage(source, enough, 932);
  EXPECT_EQ(14u, enough.capacity);
  EXPECT_EQ(4u, enough.length);
}

TEST(ConvertToCodePage, RealCodePages) {
  EXPECT_EQ("82 A0", Narrow({0x3042}, "Shift_JIS"));
  EXPECT_EQ("61 82 A0 62", Narrow({'a', 0x3042, 'b'}, "Shift-JIS"));
  EXPECT_EQ("A4 A2", Narrow({0x3042}, "GB2312"));
  EXPECT_EQ("AA A2", Narrow({0x3042}, "EUC-KR"));
  EXPECT_EQ("A1 40", Narrow({0x3000}, "Big5"));
  EXPECT_EQ("A1", Narrow({0x0E01}, "TIS-620"));
  EXPECT_EQ("82", Narrow({0xE9}, "ISO-8859-1"));
  EXPECT_EQ("82", Narrow({0xE9}, "OSNative"));
}

// Four units of four GB18030 bytes each need 17 bytes; the room is 16.
TEST(ConvertToCodePage, OutputPastTheRoomFailsAsEmptyText) {
  Wide source({0x80, 0x80, 0x80, 0x80});
  StrBuf out;
  out.Assign("stale");
  EXPECT_EQ(0u, WideToNarrow(source, out, "GB18030", ""));
  EXPECT_EQ(1u, out.length);
  EXPECT_STREQ("", out.data);
}

TEST(WideToNarrow, DefaultNamesUseTheOemCodePage) {
  const WCHAR text[] = {'x', 0xE9, 0};
  StrBuf out;
  out.AssignWide(text);
  EXPECT_EQ("78 82", Hex(out));
  Wide source({0xE9, 0xE9});
  EXPECT_EQ(2u, WideToNarrow(source, out, DefaultCharsetName, DefaultCharsetName));
  StrBuf kept;
  kept.Assign("keep");
  kept.AssignWide(nullptr);
  EXPECT_STREQ("keep", kept.data);
}

TEST(WideToNarrow, LocaleBranchUsesAnsiAndLeavesNativeLocale) {
  const std::string native = setlocale(LC_CTYPE, "");
  setlocale(LC_CTYPE, "C");
  Wide source({0xE9});
  StrBuf out;
  EXPECT_EQ(1u, WideToNarrow(source, out, "UTF-8", "C"));
  EXPECT_EQ("E9", Hex(out));
  EXPECT_EQ(native, setlocale(LC_CTYPE, nullptr));
  setlocale(LC_CTYPE, "C");
}

// Shift_JIS converted in place: each double-byte pair to EUC-JP, or each run of pairs to one
// JIS escape; a lead byte without its trail byte, or at the end, stays as it was; a pair with no
// JIS X 0208 code (a vendor row) becomes the geta mark, never NUL bytes.
TEST_F(Mbcp932, SjisConvertedInPlace) {
  const struct {
    int (*convert)(StrBuf&);
    const char* text;
    const char* hex;
  } kCases[] = {
      {SjisToEucInPlace, "a\x82\xA0z", "61 A4 A2 7A"},
      {SjisToEucInPlace, "\x82\x7F", "82 7F"},
      {SjisToEucInPlace, "b\x82", "62 82"},
      {SjisToEucInPlace, "", ""},
      {SjisToEucInPlace, "\xFA\x40x", "A2 AE 78"},
      {SjisToJis,
       "a\x82\xA0"
       "b",
       "61 1B 24 42 24 22 1B 28 42 62"},
      {SjisToJis, "\x82\xA0", "1B 24 42 24 22 1B 28 42"},
      {SjisToJis, "\x82\xA0\x82\xA2", "1B 24 42 24 22 24 24 1B 28 42"},
      {SjisToJis, "plain", "70 6C 61 69 6E"},
      {SjisToJis, "", ""},
      {SjisToJis, "\xFA\x40x", "1B 24 42 22 2E 1B 28 42 78"},
  };
  for (const auto& c : kCases) {
    StrBuf text;
    text.Assign(c.text);
    EXPECT_EQ(1, c.convert(text)) << c.text;
    EXPECT_EQ(c.hex, Hex(text)) << c.text;
  }
  EXPECT_EQ("A4 A2", Narrow({0x3042}, "EUC-JP"));
  EXPECT_EQ("1B 24 42 24 22 1B 28 42", Narrow({0x3042}, "ISO-2022-JP"));
}

// The result grows before each byte it appends, a pair's two bytes one at a time: here the
// capacity equals the length (12 of the 12 reserved) just before the second pair, so its first
// byte takes the capacity to 2 x 13 = 26, where one check for both bytes would give 28.
TEST_F(Mbcp932, SjisToJisGrowsBeforeEachByte) {
  StrBuf text;
  text.Assign(
      "\x82\xA0"
      "a"
      "\x82\xA0"
      "a");
  SjisToJis(text);
  EXPECT_EQ("1B 24 42 24 22 1B 28 42 61 1B 24 42 24 22 1B 28 42 61", Hex(text));
  EXPECT_EQ(19u, text.length);
  EXPECT_EQ(26u, text.capacity);
}

// A character with no JIS X 0208 code written as ISO-2022-JP: the geta mark too.
TEST_F(Mbcp932, CharactersWithoutJisCodeBecomeTheGetaMark) {
  StrBuf text;
  EXPECT_EQ(9u, WideToNarrow(Wide({0x2170, 'x'}), text, "ISO-2022-JP", ""));
}

TEST_F(Mbcp932, PairConversionFollowsTheRuntime) {
  EXPECT_EQ(0x2422u, SjisPairToJis(0x82A0));
  EXPECT_EQ(0u, SjisPairToJis(0x827F));
  EXPECT_EQ(0x2121u, SjisPairToJis(0x8140));
  EXPECT_EQ(0x7E7Eu, SjisPairToJis(0xEFFC));
}

TEST(SjisPairToJis, UnchangedWithoutMultibyteCodePage932) {
  EXPECT_EQ(0x82A0u, SjisPairToJis(0x82A0));
}

}  // namespace
