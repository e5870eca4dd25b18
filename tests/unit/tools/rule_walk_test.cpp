// What a rule file's walk makes of the lines a Japanese input method and Notepad leave behind:
// commas typed with the input method on, a byte order mark before the first line, and the save
// steps the warnings give. Expected texts are made from the rows, so any language passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_messages.h"
#include "harness/temp_dir.h"
#include "rule_set.h"
#include "rule_trial.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace rule_engine;
using namespace engine_text;

namespace {

// Shift_JIS (code page 932) bytes, spelt out so that no conversion under test makes them.
#define SJIS_TOUTEN "\x81\x41"                   // 、
#define SJIS_WIDE_COMMA "\x81\x43"               // ，
#define SJIS_HALF_TOUTEN "\xA4"                  // ､
#define SJIS_KOUKOKU "\x8D\x4C\x8D\x90"          // 広告
#define SJIS_SALE "\x83\x5A\x81\x5B\x83\x8B"     // セール
#define UTF8_KOUKOKU "\xE5\xBA\x83\xE5\x91\x8A"  // 広告
#define UTF8_TOUTEN "\xE3\x80\x81"               // 、
#define UTF8_LIMITED "\xE3\x80\x90\xE6\x9C\x9F\xE9\x96\x93\xE9\x99\x90\xE5\xAE\x9A\xE3\x80\x91"
// 【期間限定】

const LineReport& OnlyLine(const RuleSet& rules) {
  static const LineReport none;
  if (rules.Files().size() != 1 || rules.Files()[0].lines.empty()) {
    ADD_FAILURE() << "no line read";
    return none;
  }
  return rules.Files()[0].lines[0];
}

// One line of a rule file and what the walk makes of it. lost is the rule the line was meant
// to be (Nothing: it is the rule it looks like, or no rule at all); warning the one row said of
// it (kCount: none), with its argument.
struct CommaCase {
  const char* name;
  std::string bytes;
  unsigned codePage;
  LineEffect effect;
  std::string text;  // the stored value of a rule line
  LineEffect lost;
  std::string lostValue, lostShown;
  Id warning;
  std::string argument;
};

const CommaCase kCommaCases[] = {
    {"touten after the keyword", "title" SJIS_TOUTEN SJIS_KOUKOKU, 932, LineEffect::Nothing, "",
     LineEffect::TitleRule, SJIS_KOUKOKU, "title," UTF8_KOUKOKU, engine_text::kIdeographicComma,
     UTF8_TOUTEN},
    {"half-width touten after the keyword", "class" SJIS_HALF_TOUTEN "Ad", 932, LineEffect::Nothing,
     "", LineEffect::ClassRule, "Ad", "class,Ad", engine_text::kIdeographicComma, "\xEF\xBD\xA4"},
    {"space before the touten", "title " SJIS_TOUTEN SJIS_KOUKOKU, 932, LineEffect::Nothing, "",
     LineEffect::TitleRule, SJIS_KOUKOKU, "title," UTF8_KOUKOKU, engine_text::kIdeographicComma,
     UTF8_TOUTEN},
    {"touten, then a comma in the value", "title" SJIS_TOUTEN SJIS_KOUKOKU ",x", 932,
     LineEffect::Nothing, "", LineEffect::TitleRule, SJIS_KOUKOKU, "title," UTF8_KOUKOKU,
     engine_text::kIdeographicComma, UTF8_TOUTEN},
    {"touten in a UTF-8 file for a UTF-8 system", "title" UTF8_TOUTEN UTF8_KOUKOKU, 65001,
     LineEffect::Nothing, "", LineEffect::TitleRule, UTF8_KOUKOKU, "title," UTF8_KOUKOKU,
     engine_text::kIdeographicComma, UTF8_TOUTEN},
    {"full-width comma after the keyword", "title" SJIS_WIDE_COMMA SJIS_KOUKOKU, 932,
     LineEffect::Nothing, "", LineEffect::TitleRule, SJIS_KOUKOKU, "title," UTF8_KOUKOKU,
     engine_text::kFullWidthComma, "\xEF\xBC\x8C"},
    {"touten inside a value", "title," SJIS_KOUKOKU SJIS_TOUTEN SJIS_SALE, 932,
     LineEffect::TitleRule, SJIS_KOUKOKU SJIS_TOUTEN SJIS_SALE, LineEffect::Nothing, "", "", kCount,
     ""},
    {"touten after a word that is no keyword", "titel" SJIS_TOUTEN SJIS_KOUKOKU, 932,
     LineEffect::Nothing, "", LineEffect::Nothing, "", "", engine_text::kNoComma, ""},
    // Code page 1252 has no touten: its UTF-8 bytes there are three letters of a word.
    {"touten bytes in a Western code page", "title" UTF8_TOUTEN "Ad", 1252, LineEffect::Nothing, "",
     LineEffect::Nothing, "", "", engine_text::kNoComma, ""},
};

TEST(RuleWalk, CommasTypedWithTheInputMethod) {
  for (const CommaCase& c : kCommaCases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    RuleSet rules(c.codePage);
    rules.LoadFile(dir.Write("killwnd.txt", c.bytes + "\r\n"));
    const LineReport& line = OnlyLine(rules);
    EXPECT_EQ(c.effect, line.effect);
    if (c.effect == LineEffect::TitleRule) {
      EXPECT_EQ(c.text, line.text);
    }
    EXPECT_EQ(c.lost, line.lost);
    EXPECT_EQ(c.lostValue, line.lostValue);
    EXPECT_EQ(c.lostShown, line.lostShown);
    std::vector<std::string> expected;
    if (c.warning != kCount) {
      expected.push_back(c.argument.empty() ? Text(c.warning) : Text(c.warning, c.argument));
    }
    EXPECT_EQ(expected, line.warnings);
    // test's hint says the same as check's warning.
    EXPECT_EQ(c.lost == LineEffect::Nothing ? "" : expected.front(), line.lostWhy);
  }
}

// A value that holds a touten is a rule like any other: it loads and matches.
TEST(RuleWalk, ToutenInsideAValueMatches) {
  TempDir dir;
  RuleSet rules(932);
  rules.LoadFile(dir.Write("killwnd.txt",
                           "class,AdWindow\r\ntitle," SJIS_KOUKOKU SJIS_TOUTEN SJIS_SALE "\r\n"));
  EXPECT_TRUE(rules.Judge("adwindow", "[" SJIS_KOUKOKU SJIS_TOUTEN SJIS_SALE "]").Closes());
  EXPECT_FALSE(rules.Judge("adwindow", SJIS_KOUKOKU SJIS_SALE).Closes());
  for (const LineReport& line : rules.Files()[0].lines) EXPECT_TRUE(line.warnings.empty());
}

// The first line of a file that starts with a byte order mark: the rule meant, shown as its
// writer saw it, in the warning and for test's hint.
struct BomCase {
  const char* name;
  std::string bytes;
  unsigned codePage;
  LineEffect lost;
  std::string lostValue, shown;
};

const BomCase kBomCases[] = {
    {"Japanese title in UTF-8, rules for 932", "title," UTF8_LIMITED, 932, LineEffect::TitleRule,
     UTF8_LIMITED, "title," UTF8_LIMITED},
    {"ASCII class, rules for 1252", "class,AdWindow", 1252, LineEffect::ClassRule, "AdWindow",
     "class,AdWindow"},
    {"UTF-8 title, rules for a UTF-8 system", "title," UTF8_LIMITED, 65001, LineEffect::TitleRule,
     UTF8_LIMITED, "title," UTF8_LIMITED},
    // A mark before Shift_JIS text: no UTF-8 follows it, so the code page reads it.
    {"Shift_JIS after a pasted mark", "title," SJIS_KOUKOKU, 932, LineEffect::TitleRule,
     SJIS_KOUKOKU, "title," UTF8_KOUKOKU},
};

TEST(RuleWalk, FirstLineAfterAByteOrderMarkShownAsWritten) {
  for (const BomCase& c : kBomCases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    RuleSet rules(c.codePage);
    rules.LoadFile(dir.Write("killwnd.txt", "\xEF\xBB\xBF" + c.bytes + "\r\n"));
    const LineReport& line = OnlyLine(rules);
    EXPECT_EQ(LineEffect::Nothing, line.effect);
    EXPECT_EQ(c.lost, line.lost);
    EXPECT_EQ(c.lostValue, line.lostValue);
    EXPECT_EQ(c.shown, line.lostShown);
    EXPECT_EQ("", line.lostWhy);
    EXPECT_EQ(std::vector<std::string>{Text(engine_text::kBomKeyword, c.shown)}, line.warnings);
  }
}

// A window tried against a folder's rules: the verdict, and the lines that explain it (found or
// not found for each text read, a hint for each rule missed only by what cannot be seen).
TEST(RuleTrial, VerdictAndItsHints) {
  const std::string longTitle = std::string(260, 'x') + "tail";
  const struct {
    const char* name;
    std::string rules;
    unsigned codePage;
    std::string className, title;
    bool closes;
    std::vector<Id> lines;  // the kinds of lines said, in order
  } cases[] = {
      {"closed",
       "class,Ad\r\ntitle,Sale\r\n",
       1252,
       "Ad",
       "Big Sale",
       true,
       {kClassMatches, kTitleContains, kClosed}},
      {"class letter case folded",
       "class,AD\r\ntitle,Sale\r\n",
       1252,
       "ad",
       "Sale",
       true,
       {kClassMatches, kTitleContains, kClosed}},
      {"no class",
       "class,Ad\r\ntitle,Sale\r\n",
       1252,
       "Other",
       "Sale",
       false,
       {kClassMatchesNone, kLeftOpen}},
      {"title letter case",
       "class,Ad\r\ntitle,sale\r\n",
       1252,
       "Ad",
       "Big Sale",
       false,
       {kClassMatches, kTitleContainsNone, kTitleNearMiss, kLeftOpen}},
      {"class with a space after it",
       "class,Ad \r\ntitle,Sale\r\n",
       1252,
       "Ad",
       "Sale",
       false,
       {kClassMatchesNone, kClassNearMiss, kLeftOpen}},
      {"first line lost to a byte order mark",
       "\xEF\xBB\xBF"
       "class,Ad\r\ntitle,Sale\r\n",
       1252,
       "Ad",
       "Sale",
       false,
       {kClassMatchesNone, kClassLostFirstLine, kLeftOpen}},
      {"title saved in UTF-8",
       "class,Ad\r\ntitle," UTF8_KOUKOKU "\r\n",
       932,
       "Ad",
       SJIS_KOUKOKU,
       false,
       {kClassMatches, kTitleContainsNone, kTitleInOtherEncoding, kLeftOpen}},
      {"fragment beyond what the hook reads",
       "class,Ad\r\ntitle,tail\r\n",
       1252,
       "Ad",
       longTitle,
       false,
       {kTitleCut, kClassMatches, kTitleContainsNone, kLeftOpen}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("killwnd.txt", c.rules);
    RuleSet rules(c.codePage);
    rules.LoadFolder(dir.path());
    Trial trial = TryWindow(rules, c.className, c.title);
    EXPECT_EQ(c.closes, trial.verdict.Closes());
    ASSERT_EQ(c.lines.size(), trial.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) {
      // Each row's text up to its first argument starts the line said.
      std::string row = MessageText(TableOf<Id>(), c.lines[i], ToolLanguage());
      EXPECT_EQ(0u, trial.lines[i].find(row.substr(0, row.find('{')))) << trial.lines[i];
    }
  }
}

}  // namespace
