// The tools' small text helpers: where lines end, what an indent and a trim keep, and the
// columns a help line takes on a console.
#include "text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Text, LinesEndAtCrLfLfOrCr) {
  const struct {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\n\nb\rc\r\nd", {"a", "", "b", "c", "d"}},
      {"x\r\n", {"x"}},          // a final line end opens no line
      {"x\r\n\r\n", {"x", ""}},  // but a blank line before it stays
      {"\r\r\n", {"", ""}},      // a CR, then a CR LF
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.lines, Lines(c.text)) << c.text;
}

TEST(Text, IndentAndTrim) {
  EXPECT_EQ("  a\n  \n  b\n", Indent("a\n\nb", "  "));
  EXPECT_EQ("> x\n", Indent("x\r\n", "> "));
  EXPECT_EQ("a b", Trim(" \ta b\t "));
  EXPECT_EQ("", Trim(" \t "));
  // Only ASCII spaces and tabs: the input method's full-width space is text.
  EXPECT_EQ("\xE3\x80\x80x", Trim("\xE3\x80\x80x "));
}

TEST(Text, ConsoleColumnsCountWideCharactersTwice) {
  const struct {
    const char* utf8;
    size_t columns;
  } cases[] = {
      {"help", 4},
      {"caf\xC3\xA9", 4},               // é: two bytes, one column
      {"\xE6\x97\xA5\xE6\x9C\xAC", 4},  // 日本: two columns each
      {"\xF0\x9F\x98\x80", 2},          // a four-byte character
      {"\xE3\x80\x81x", 3},             // 、 then x
  };
  for (const auto& c : cases) EXPECT_EQ(c.columns, ConsoleColumns(c.utf8)) << c.utf8;
}

}  // namespace
