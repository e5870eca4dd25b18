// Changes to a rule file's bytes: a line replaced or removed where the module's loader sees it,
// lines appended in the file's own line ends, a UTF-8 file converted to the code page, and one
// change written and taken back only over the bytes it expects.
#include "rule_file_edit.h"

#include <gtest/gtest.h>

#include "harness/temp_dir.h"

using namespace rule_engine;

namespace {

const char kRules[] = "killwnd_custom.txt";
// 期間 in Shift_JIS and in UTF-8.
const char kKikanSjis[] = "\x8A\xFA\x8A\xD4";
const char kKikanUtf8[] = "\xE6\x9C\x9F\xE9\x96\x93";

TEST(RuleFileEdit, ReplacesOrRemovesTheLineTheLoaderNumbers) {
  const struct {
    const char* name;
    std::string content;
    int line;
    const char* expected;
    const char* replacement;  // null: removed
    const char* after;        // null: refused
  } cases[] = {
      {"CR LF kept", "class,Ad\r\ntitle,Sale\r\n", 2, "title,Sale", "title,Deal",
       "class,Ad\r\ntitle,Deal\r\n"},
      {"LF kept", "class,Ad\ntitle,Sale\n", 1, "class,Ad", "class,Promo",
       "class,Promo\ntitle,Sale\n"},
      {"CR alone ends a line", "class,Ad\rtitle,Sale\r", 2, "title,Sale", "title,Deal",
       "class,Ad\rtitle,Deal\r"},
      {"last line without end", "class,Ad\r\ntitle,Sale", 2, "title,Sale", "title,Deal",
       "class,Ad\r\ntitle,Deal"},
      {"removed with its end", "class,Ad\r\ntitle,Sale\r\nclass,X\r\n", 2, "title,Sale", nullptr,
       "class,Ad\r\nclass,X\r\n"},
      {"last removed", "class,Ad\r\ntitle,Sale", 2, "title,Sale", nullptr, "class,Ad\r\n"},
      {"blank lines count", "\r\n\r\ntitle,Sale\r\n", 3, "title,Sale", nullptr, "\r\n\r\n"},
      {"Shift_JIS bytes", std::string("title,") + kKikanSjis + "\r\n", 1, "title,\x8A\xFA\x8A\xD4",
       "title,Sale", "title,Sale\r\n"},
      {"changed since", "class,Ad\r\ntitle,Sales\r\n", 2, "title,Sale", "title,Deal", nullptr},
      {"prefix is not the line", "class,Ad\r\ntitle,Sale\r\n", 2, "title,Sal", nullptr, nullptr},
      {"line gone", "class,Ad\r\n", 2, "title,Sale", nullptr, nullptr},
      {"line 0", "class,Ad\r\n", 0, "", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    std::string out = "untouched";
    std::string replacement = c.replacement ? c.replacement : "";
    bool done =
        ReplaceLine(c.content, c.line, c.expected, c.replacement ? &replacement : nullptr, &out);
    EXPECT_EQ(c.after != nullptr, done) << c.name;
    if (c.after) {
      EXPECT_EQ(c.after, out) << c.name;
    }
  }
}

TEST(RuleFileEdit, AppendsInTheFilesLineEnds) {
  const struct {
    const char* name;
    const char* content;
    const char* after;
  } cases[] = {
      {"CR LF", "class,Ad\r\n", "class,Ad\r\ntitle,Sale\r\nclass,X\r\n"},
      {"LF alone", "class,Ad\n", "class,Ad\ntitle,Sale\nclass,X\n"},
      {"last line finished first", "class,Ad", "class,Ad\r\ntitle,Sale\r\nclass,X\r\n"},
      {"CR alone ends the last line", "class,Ad\r", "class,Ad\rtitle,Sale\r\nclass,X\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.after, AppendLines(c.content, {"title,Sale", "class,X"}, 1252)) << c.name;
  }
  std::string made = AppendLines("", {"title,Sale"}, 1252);
  EXPECT_EQ(0u, made.find("// ")) << "a new file starts with its comment";
  EXPECT_EQ(made.size() - 14, made.find("\r\ntitle,Sale\r\n")) << made;
}

TEST(RuleFileEdit, ConvertsUtf8KeepingEveryLineOrNamesTheLinesLost) {
  const struct {
    const char* name;
    std::string content;
    unsigned codePage;
    std::string after;
    std::vector<int> bad;
  } cases[] = {
      {"byte order mark dropped",
       std::string("\xEF\xBB\xBFtitle,") + kKikanUtf8 + "\r\nclass,Ad\r\n",
       932,
       std::string("title,") + kKikanSjis + "\r\nclass,Ad\r\n",
       {}},
      {"without a mark, LF kept",
       std::string("// x\ntitle,") + kKikanUtf8 + "\n",
       932,
       std::string("// x\ntitle,") + kKikanSjis + "\n",
       {}},
      {"ASCII alone", "\xEF\xBB\xBFtitle,Sale", 1252, "title,Sale", {}},
      {"Latin in 1252", "title,caf\xC3\xA9\r\n", 1252, "title,caf\xE9\r\n", {}},
      {"Japanese lacks 1252",
       std::string("class,Ad\r\ntitle,") + kKikanUtf8 + "\r\n//" + kKikanUtf8 + "\r\n",
       1252,
       "",
       {2, 3}},
      {"no UTF-8 at all", std::string("title,") + kKikanSjis + "\r\n", 932, "", {1}},
  };
  for (const auto& c : cases) {
    std::string out = "untouched";
    std::vector<int> bad = {99};
    EXPECT_EQ(c.bad.empty(), ConvertToCodePage(c.content, c.codePage, &out, &bad)) << c.name;
    EXPECT_EQ(c.after, out) << c.name;
    EXPECT_EQ(c.bad, bad) << c.name;
  }
}

TEST(RuleFileEdit, MixedEncodingsAreTextOfBothKinds) {
  const struct {
    std::string content;
    bool mixed;
  } cases[] = {
      {"class,Ad\r\ntitle,Sale\r\n", false},
      {std::string("title,") + kKikanSjis + "\r\ntitle,\x83\x5C\r\n", false},
      {std::string("title,") + kKikanUtf8 + "\r\ntitle,caf\xC3\xA9\r\n", false},
      {std::string("title,") + kKikanUtf8 + "\r\ntitle," + kKikanSjis + "\r\n", true},
      {std::string("\xEF\xBB\xBFtitle,") + kKikanUtf8 + "\r\n", false},
      {std::string("\xEF\xBB\xBFtitle,Ad\r\ntitle,") + kKikanSjis + "\r\n", true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.mixed, MixesTwoEncodings(c.content)) << c.content;
}

TEST(RuleFileEdit, AppliesAndUndoesOnlyOverTheBytesItExpects) {
  const std::string sjis = std::string("title,") + kKikanSjis + "\r\n";
  const struct {
    const char* name;
    const char* now;  // the file when the change is applied; null: none
    RuleFileChange change;
    ChangeOutcome applied;
    const char* after;  // the file then; null: none
  } cases[] = {
      {"edited",
       "class,Ad\r\n",
       {"", true, "class,Ad\r\n", "class,Promo\r\n"},
       ChangeOutcome::kDone,
       "class,Promo\r\n"},
      {"made", nullptr, {"", false, "", "title,Sale\r\n"}, ChangeOutcome::kDone, "title,Sale\r\n"},
      {"changed meanwhile",
       "class,Ad2\r\n",
       {"", true, "class,Ad\r\n", "class,Promo\r\n"},
       ChangeOutcome::kChanged,
       "class,Ad2\r\n"},
      {"made meanwhile",
       "x\r\n",
       {"", false, "", "title,Sale\r\n"},
       ChangeOutcome::kChanged,
       "x\r\n"},
      {"deleted meanwhile",
       nullptr,
       {"", true, "class,Ad\r\n", "class,Promo\r\n"},
       ChangeOutcome::kChanged,
       nullptr},
      {"would mix encodings",
       sjis.c_str(),
       {"", true, sjis, sjis + "title," + kKikanUtf8 + "\r\n"},
       ChangeOutcome::kRefused,
       sjis.c_str()},
  };
  for (const auto& c : cases) {
    TempDir dir;
    RuleFileChange change = c.change;
    change.path = dir.File(kRules);
    if (c.now) dir.Write(kRules, c.now);
    EXPECT_EQ(c.applied, Apply(change)) << c.name;
    EXPECT_EQ(c.after != nullptr, FileExists(change.path)) << c.name;
    if (c.after) {
      EXPECT_EQ(c.after, ReadFileBytes(change.path)) << c.name;
    }
    if (c.applied != ChangeOutcome::kDone) continue;
    EXPECT_EQ(ChangeOutcome::kDone, Undo(change)) << c.name;
    EXPECT_EQ(change.existed, FileExists(change.path)) << c.name << ": undone";
    if (change.existed) {
      EXPECT_EQ(change.before, ReadFileBytes(change.path)) << c.name;
    }
  }
}

TEST(RuleFileEdit, UndoLeavesAFileChangedSinceAlone) {
  TempDir dir;
  RuleFileChange change = {dir.File(kRules), false, "", "title,Sale\r\n"};
  ASSERT_EQ(ChangeOutcome::kDone, Apply(change));
  dir.Write(kRules, "title,Sale\r\ntitle,Notepad's own\r\n");
  EXPECT_EQ(ChangeOutcome::kChanged, Undo(change));
  EXPECT_EQ("title,Sale\r\ntitle,Notepad's own\r\n", ReadFileBytes(change.path));
}

}  // namespace
