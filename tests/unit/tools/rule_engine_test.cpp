// The engine's pure functions, table by table: the check of a rule's value (value -> faults) and
// the refusal of a typed one; the advice on encodings (bytes and code page -> advice); which
// windows the plug-in can reach at all (styles -> taskbar button); the lines of two rule files
// that match a window, before and after an edit of one, over a list of windows. Expected texts
// are told by their rows, so any language passes.
#include <gtest/gtest.h>
#include <string.h>
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "close_lines.h"
#include "code_page_advice.h"
#include "engine_messages.h"
#include "harness/temp_dir.h"
#include "rule_value.h"
#include "window_reach.h"

using namespace rule_engine;

namespace {

unsigned Bits(std::initializer_list<ValueFault> faults) {
  unsigned bits = 0;
  for (ValueFault fault : faults) bits |= 1u << static_cast<unsigned>(fault);
  return bits;
}

// Whether text is the row's text with some arguments in its places, in this run's language.
bool Says(engine_text::Id id, const std::string& text) {
  std::string row = MessageText(TableOf<engine_text::Id>(), id, ToolLanguage()), pattern;
  for (size_t i = 0; i < row.size(); ++i) {
    if (row[i] == '{') {
      pattern += "[\\s\\S]*";
      i = row.find('}', i);
    } else {
      pattern += std::string(strchr("\\^$.|?*+()[]{}", row[i]) ? "\\" : "") + row[i];
    }
  }
  return std::regex_match(text, std::regex(pattern));
}

TEST(RuleValue, FaultsOfAValue) {
  const std::string longest(kHookTextBytes, 'a');
  const struct {
    std::string value;
    unsigned faults;
  } cases[] = {
      {"Sale", 0},
      {"", Bits({ValueFault::Empty})},
      {"a,b", Bits({ValueFault::Comma})},
      {"a\r\nb", Bits({ValueFault::LineEnd})},
      {"a\nb", Bits({ValueFault::LineEnd})},
      {" Sale", Bits({ValueFault::EdgeSpaces})},
      {"Sale\t", Bits({ValueFault::EdgeSpaces})},
      {"Big Sale", 0},
      {"\"Sale\"", Bits({ValueFault::Quotes})},
      {"\"", 0},
      {"\" a,b \"", Bits({ValueFault::Quotes, ValueFault::Comma})},
      {longest, 0},
      {longest + "a", Bits({ValueFault::TooLong})},
      {" " + longest, Bits({ValueFault::TooLong, ValueFault::EdgeSpaces})},
      {"\x8D\x4C\x8D\x90", 0},  // Shift_JIS bytes are no fault of the value's
  };
  for (const auto& c : cases) EXPECT_EQ(c.faults, CheckRuleValue(c.value)) << c.value;
}

TEST(RuleValue, RefusedFaultsAreThoseThatCannotWork) {
  const struct {
    ValueFault fault;
    bool refused;
  } cases[] = {
      {ValueFault::Empty, true},      {ValueFault::Comma, true},   {ValueFault::LineEnd, true},
      {ValueFault::EdgeSpaces, true}, {ValueFault::Quotes, false}, {ValueFault::TooLong, true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.refused, Refused(c.fault)) << static_cast<int>(c.fault);
}

TEST(RuleValue, TypedValuesRefusedOrTakenWithWarnings) {
  const struct {
    const char* name;
    const RuleKind* kind;
    std::string value;
    unsigned codePage;
    engine_text::Id refusal;  // kCount: taken
    size_t warnings;
  } cases[] = {
      {"plain", &kTitleKind, "Sale", 1252, engine_text::kCount, 0},
      {"empty title", &kTitleKind, "", 1252, engine_text::kEmptyTitleTyped, 0},
      {"empty class", &kClassKind, "", 1252, engine_text::kEmptyClassTyped, 0},
      {"comma", &kTitleKind, "a,b", 1252, engine_text::kComma, 0},
      {"spaces", &kTitleKind, " Sale", 1252, engine_text::kEdgeSpacesTyped, 0},
      {"quotes taken", &kTitleKind, "\"Sale\"", 1252, engine_text::kCount, 1},
      {"too long class", &kClassKind, std::string(255, 'a'), 1252, engine_text::kClassTooLongTyped,
       0},
      {"full-width space at the end", &kTitleKind, "\x8D\x4C\x8D\x90\x81\x40", 932,
       engine_text::kFullWidthEdgeTyped, 0},
      {"full-width space inside", &kTitleKind, "\x8D\x4C\x81\x40\x8D\x90", 932, engine_text::kCount,
       0},
      // ア is 83 41 in Shift_JIS: its second byte is the letter A, which the class match folds.
      {"class folding a second byte", &kClassKind, "\x83\x41", 932, engine_text::kCount, 1},
      {"title folds nothing", &kTitleKind, "\x83\x41", 932, engine_text::kCount, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> warnings;
    std::string why = Refusal(*c.kind, c.value, c.codePage, warnings);
    if (c.refusal == engine_text::kCount) {
      EXPECT_EQ("", why) << c.name;
    } else {
      EXPECT_TRUE(Says(c.refusal, why)) << c.name << ": " << why;
    }
    EXPECT_EQ(c.warnings, warnings.size()) << c.name;
  }
}

TEST(RuleValue, FragmentMustLieInTheBytesTheHookReads) {
  const std::string head(kHookTextBytes - 4, 'x');
  const struct {
    const char* name;
    std::string fragment, title;
    FragmentFit fit;
  } cases[] = {
      {"whole title", "Special offer", "Special offer", FragmentFit::kFits},
      {"inside", "offer", "Special offer!", FragmentFit::kFits},
      {"letter case counts", "Offer", "Special offer", FragmentFit::kNotInTitle},
      {"absent", "Sale", "Special offer", FragmentFit::kNotInTitle},
      {"ends at the last byte read", "Sale", head + "Sale and more", FragmentFit::kFits},
      {"crosses the last byte read", "Sale", head + "xSale", FragmentFit::kBeyondHookBytes},
      {"only beyond it", "tail", head + "....tail", FragmentFit::kBeyondHookBytes},
  };
  for (const auto& c : cases) {
    FragmentFit fit = FitInTitle(c.fragment, c.title);
    EXPECT_EQ(c.fit, fit) << c.name;
    EXPECT_EQ(fit == FragmentFit::kFits, FitText(fit, c.fragment, 1252).empty()) << c.name;
  }
}

TEST(WindowReach, TaskbarButtonFromStylesAndOwner) {
  const struct {
    unsigned long exStyle;
    bool owned, button;
  } cases[] = {
      {0, false, true},
      {0, true, false},
      {WS_EX_TOOLWINDOW, false, false},
      {WS_EX_TOOLWINDOW, true, false},
      {WS_EX_APPWINDOW, true, true},
      {WS_EX_APPWINDOW | WS_EX_TOOLWINDOW, false, true},
      {WS_EX_APPWINDOW | WS_EX_TOOLWINDOW, true, true},
      {0x00000008 /* WS_EX_TOPMOST */, false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.button, HasTaskbarButton(c.exStyle, c.owned)) << c.exStyle << " " << c.owned;
  }
  EXPECT_EQ("", ReachText(Reach::kReached));
  EXPECT_TRUE(Says(engine_text::kReachNoTaskbarButton, ReachText(Reach::kNoTaskbarButton)));
  EXPECT_TRUE(Says(engine_text::kReachElevated, ReachText(Reach::kElevated)));
}

// Shift_JIS and UTF-8 bytes, spelt out so that no conversion under test makes them.
#define SJIS_KOUKOKU "\x8D\x4C\x8D\x90"          // 広告
#define UTF8_KOUKOKU "\xE5\xBA\x83\xE5\x91\x8A"  // 広告
#define SJIS_WIDE_SPACE "\x81\x40"               // U+3000
#define UTF8_EMOJI "\xF0\x9F\x98\x80"            // in no ANSI code page
#define BOM "\xEF\xBB\xBF"

TEST(CodePageAdvice, WarningForTheBytesOfAValue) {
  const struct {
    const char* name;
    std::string value;
    unsigned codePage;
    engine_text::Id warning;  // the last one; kCount: none
    unsigned otherSystem;
  } cases[] = {
      {"ASCII", "Sale", 1252, engine_text::kCount, 0},
      {"Shift_JIS in 932", SJIS_KOUKOKU, 932, engine_text::kCount, 0},
      {"UTF-8 that 932 holds", UTF8_KOUKOKU, 932, engine_text::kUtf8Text, 0},
      {"UTF-8 that 1252 holds", "caf\xC3\xA9", 1252, engine_text::kUtf8Text, 0},
      {"UTF-8 that only 932 holds", UTF8_KOUKOKU, 1252, engine_text::kUtf8TextCannotHold, 932},
      {"UTF-8 no code page holds", UTF8_EMOJI, 1252, engine_text::kUtf8TextCannotHoldAny,
       kSomeCodePage},
      {"Shift_JIS read in 1252", SJIS_KOUKOKU, 1252, engine_text::kNotTextReadsIn, 932},
      {"Shift_JIS on a UTF-8 system", SJIS_KOUKOKU, CP_UTF8, engine_text::kNotUtf8ReadsIn, 932},
      {"UTF-8 on a UTF-8 system", UTF8_KOUKOKU, CP_UTF8, engine_text::kCount, 0},
      {"byte order mark", BOM "Sale", 1252, engine_text::kBomInValue, 0},
      {"byte order mark, then UTF-8", BOM UTF8_KOUKOKU, 1252, engine_text::kUtf8TextCannotHold,
       932},
  };
  for (const auto& c : cases) {
    std::vector<std::string> warnings;
    EXPECT_EQ(c.otherSystem, CheckCodePage(c.value, c.codePage, warnings)) << c.name;
    if (c.warning == engine_text::kCount) {
      EXPECT_TRUE(warnings.empty()) << c.name;
    } else {
      ASSERT_FALSE(warnings.empty()) << c.name;
      EXPECT_TRUE(Says(c.warning, warnings.back())) << c.name << ": " << warnings.back();
    }
  }
}

TEST(CodePageAdvice, FullWidthSpacesAtTheEdges) {
  const struct {
    std::string value;
    unsigned codePage;
    bool wide;
    std::string bare;
  } cases[] = {
      {"Sale", 932, false, "Sale"},
      {SJIS_WIDE_SPACE "Sale", 932, true, "Sale"},
      {" " SJIS_WIDE_SPACE "Sale" SJIS_WIDE_SPACE " ", 932, true, "Sale"},
      {"Sa" SJIS_WIDE_SPACE "le", 932, false, "Sa" SJIS_WIDE_SPACE "le"},
      {" Sale ", 932, false, "Sale"},
      // 81 40 ends a double-byte character here (ー is 81 5B): not a space at the edge.
      {"\x83\x81\x40", 932, false, "\x83\x81\x40"},
      {"\xE3\x80\x80Sale", CP_UTF8, true, "Sale"},
      // 1252 has no full-width space: its bytes are two characters of the value.
      {SJIS_WIDE_SPACE "Sale", 1252, false, SJIS_WIDE_SPACE "Sale"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.wide, WideEdges(c.value, c.codePage)) << c.value;
    EXPECT_EQ(c.bare, WithoutWideEdges(c.value, c.codePage)) << c.value;
  }
}

TEST(CodePageAdvice, ClassRulesFoldingSecondBytes) {
  const struct {
    std::string value;
    unsigned codePage;
    bool twin;
  } cases[] = {
      {"\x83\x41", 932, true},       // ア: 83 41, and 83 61 is ャ
      {"\x82\xA0", 932, false},      // あ: its second byte is no letter
      {"Ad", 932, false},            // ASCII folds as the rule means
      {"\x83\x41", CP_UTF8, false},  // no double-byte characters there
      {"caf\xE9", 1252, false},      // single-byte code page
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.twin, !FoldTwin(c.value, c.codePage).empty()) << c.value;
  }
}

TEST(CodePageAdvice, ValueInAnotherEncoding) {
  const struct {
    std::string value;
    unsigned codePage;
    std::string converted;
    std::string name;
  } cases[] = {
      {UTF8_KOUKOKU, 932, SJIS_KOUKOKU, Text(engine_text::kUtf8Name)},
      {SJIS_KOUKOKU, 932, "", ""},
      {"Sale", 932, "", ""},
      {UTF8_EMOJI, 1252, "", ""},
      {SJIS_KOUKOKU, CP_UTF8, UTF8_KOUKOKU, CodePageName(932)},
  };
  for (const auto& c : cases) {
    std::string name;
    EXPECT_EQ(c.converted, InOtherEncoding(c.value, c.codePage, &name)) << c.value;
    EXPECT_EQ(c.name, name) << c.value;
  }
}

TEST(CodePageAdvice, ValueShownAsItsWriterSawIt) {
  const struct {
    std::string value;
    unsigned codePage;
    std::string shown;
    bool readOtherwise;
  } cases[] = {
      {"Sale", 1252, "Sale", false},
      {SJIS_KOUKOKU, 932, UTF8_KOUKOKU, false},
      {UTF8_KOUKOKU, 932, UTF8_KOUKOKU, true},
      {UTF8_KOUKOKU, CP_UTF8, UTF8_KOUKOKU, false},
      {SJIS_KOUKOKU, CP_UTF8, UTF8_KOUKOKU, true},
      {SJIS_KOUKOKU, 1252, UTF8_KOUKOKU, true},
      {BOM "Sale", 1252, "Sale", true},
      {BOM UTF8_KOUKOKU, CP_UTF8, UTF8_KOUKOKU, true},
      {"caf\xE9", 1252, "caf\xC3\xA9", false},
  };
  for (const auto& c : cases) {
    bool readOtherwise = !c.readOtherwise;
    EXPECT_EQ(c.shown, AsWritten(c.value, c.codePage, &readOtherwise)) << c.value;
    EXPECT_EQ(c.readOtherwise, readOtherwise) << c.value;
  }
}

TEST(CodePageAdvice, AppendingNeverMixesTwoEncodings) {
  const std::string sjisLine = "title," SJIS_KOUKOKU;
  const struct {
    const char* name;
    std::string content;
    std::string line;
    unsigned codePage;
    bool mixes;
    engine_text::Id why;  // kCount: nothing to say
  } cases[] = {
      {"Shift_JIS into Shift_JIS", sjisLine + "\r\n", sjisLine, 932, false, engine_text::kCount},
      {"Shift_JIS into UTF-8", "title," UTF8_KOUKOKU "\r\n", sjisLine, 932, true,
       engine_text::kMixedRefused},
      {"ASCII into UTF-8", "title," UTF8_KOUKOKU "\r\n", "title,Sale", 932, false,
       engine_text::kFileInOtherEncoding},
      {"Shift_JIS after a byte order mark", BOM "class,Ad\r\n", sjisLine, 932, true,
       engine_text::kMixedRefused},
      {"ASCII after a byte order mark", BOM "class,Ad\r\n", "class,X", 1252, false,
       engine_text::kFileInOtherEncoding},
      {"UTF-8 after a mark on a UTF-8 system", BOM "title," UTF8_KOUKOKU "\r\n",
       "title," UTF8_KOUKOKU, CP_UTF8, false, engine_text::kCount},
      {"ASCII file", "class,Ad\r\n", sjisLine, 932, false, engine_text::kCount},
  };
  for (const auto& c : cases) {
    std::string why = "untouched";
    EXPECT_EQ(c.mixes, MixesEncodings(c.content, {c.line}, c.codePage, "killwnd_custom.txt", &why))
        << c.name;
    if (c.why == engine_text::kCount) {
      EXPECT_EQ("", why) << c.name;
    } else {
      EXPECT_TRUE(Says(c.why, why)) << c.name << ": " << why;
    }
  }
}

// Notepad's "ANSI" is the system's code page: the step that picks it is given only for that one.
TEST(RuleWalk, NotepadStepOnlyForItsOwnCodePage) {
  struct StepCase {
    unsigned codePage;
    bool step;
  };
#ifdef _WIN32
  const unsigned own = GetACP(), other = own == 932 ? 1252 : 932;
  const StepCase kCodePages[] = {{own, true}, {other, false}};
#else
  // Natively the rules' code page stands for the system's: every one is its own.
  const StepCase kCodePages[] = {{932, true}, {1252, true}};
#endif
  for (const StepCase& c : kCodePages) {
    if (c.codePage == CP_UTF8) continue;
    SCOPED_TRACE(c.codePage);
    std::string name = CodePageName(c.codePage);
    EXPECT_EQ(Text(c.step ? engine_text::kSaveIn : engine_text::kSaveInElsewhere, name),
              SaveIn(c.codePage));
    EXPECT_EQ(
        Text(c.step ? engine_text::kSaveWithoutBom : engine_text::kSaveWithoutBomElsewhere, name),
        SaveWithoutBom(c.codePage));
  }
  // A system set to UTF-8 names UTF-8 in Notepad's own words, whichever system checks.
  EXPECT_EQ(Text(engine_text::kSaveAsUtf8), SaveIn(CP_UTF8));
  EXPECT_EQ(Text(engine_text::kSaveUtf8WithoutBom), SaveWithoutBom(CP_UTF8));
}

// Two rule files as the plug-in's folder holds them, loaded as it loads them.
class RuleFolder {
 public:
  RuleFolder(const std::string& rules, const std::string& custom) : set_(1252) {
    dir_.Write("killwnd.txt", rules);
    dir_.Write("killwnd_custom.txt", custom);
    set_.LoadFolder(dir_.path());
  }
  const RuleSet& rules() const { return set_; }
  // The line of that number of the file ("killwnd.txt" or "killwnd_custom.txt").
  const LineReport* Line(const std::string& file, int number) const {
    for (const FileReport& report : set_.Files()) {
      if (report.path != dir_.File(file)) continue;
      for (const LineReport& line : report.lines) {
        if (line.line == number) return &line;
      }
    }
    ADD_FAILURE() << "no line " << file << ":" << number;
    return nullptr;
  }
  // "killwnd_custom.txt:3" for each line, as FileOf finds its file.
  std::vector<std::string> Named(const std::vector<const LineReport*>& lines) const {
    std::vector<std::string> named;
    for (const LineReport* line : lines) {
      const FileReport* file = FileOf(set_.Files(), line);
      std::string name = file ? file->path.substr(dir_.path().size()) : "?";
      named.push_back(name + ":" + std::to_string(line->line));
    }
    return named;
  }

 private:
  TempDir dir_;
  RuleSet set_;
};

using Named = std::vector<std::string>;
const char kRules[] =
    "class,AdFrame\r\nclass,PopupFrame\r\ntitle,Special offer\r\ntitle,offer\r\n// title,Sale\r\n";
const char kCustom[] = "class,ADFRAME\r\ntitle,Sale\r\ntitle,tail\r\n";

TEST(CloseLines, EveryLineOfBothFilesThatMatches) {
  const std::string longTitle(kHookTextBytes - 3, 'x');
  const struct {
    const char* name;
    const char *rules, *custom;
    std::string className, title;
    Named classLines, titleLines;
  } cases[] = {
      {"both files, several of each",
       kRules,
       kCustom,
       "AdFrame",
       "Special offer: Sale",
       {"killwnd.txt:1", "killwnd_custom.txt:1"},
       {"killwnd.txt:3", "killwnd.txt:4", "killwnd_custom.txt:2"}},
      {"class lines alone close nothing",
       kRules,
       kCustom,
       "adframe",
       "weather",
       {"killwnd.txt:1", "killwnd_custom.txt:1"},
       {}},
      {"title lines alone close nothing",
       kRules,
       kCustom,
       "OtherFrame",
       "offer",
       {},
       {"killwnd.txt:4"}},
      {"a comment is no rule; fragments keep letter case",
       kRules,
       kCustom,
       "PopupFrame",
       "SALE Sale",
       {"killwnd.txt:2"},
       {"killwnd_custom.txt:2"}},
      {"a fragment within the bytes the hook reads",
       kRules,
       kCustom,
       "AdFrame",
       longTitle.substr(1) + "tail",
       {"killwnd.txt:1", "killwnd_custom.txt:1"},
       {"killwnd_custom.txt:3"}},
      {"a fragment only past them",
       kRules,
       kCustom,
       "AdFrame",
       longTitle + "tail",
       {"killwnd.txt:1", "killwnd_custom.txt:1"},
       {}},
      {"an empty fragment read from a file is in every title",
       "class,AdFrame\r\ntitle,\r\n",
       "",
       "AdFrame",
       "weather",
       {"killwnd.txt:1"},
       {"killwnd.txt:2"}},
      {"no rule files", "", "", "AdFrame", "offer", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RuleFolder folder(c.rules, c.custom);
    MatchingLines matching = LinesMatching(folder.rules(), c.className, c.title);
    EXPECT_EQ(c.classLines, folder.Named(matching.classLines));
    EXPECT_EQ(c.titleLines, folder.Named(matching.titleLines));
    // The first line of each list is the one the module's own scan of its store finds.
    Verdict verdict = folder.rules().Judge(c.className, Cut(c.title));
    EXPECT_EQ(verdict.Closes(), matching.Closes());
    EXPECT_EQ(verdict.classRule, matching.classLines.empty() ? nullptr : matching.classLines[0]);
    if (verdict.classRule) {
      EXPECT_EQ(verdict.titleFragment,
                matching.titleLines.empty() ? nullptr : matching.titleLines[0]);
    }
  }
}

TEST(CloseLines, LinesThatWouldMatchOnceAnEditIsWritten) {
  const char narrowed[] = "class,AdFrame\r\ntitle,Special offer!\r\ntitle,offer\r\n";
  const std::string value[] = {"offer!", "Special", "AdWindow", "report"};
  const std::string* removed = nullptr;
  const struct {
    const char* name;
    const char* rules;
    const char* file;
    int line;
    const std::string* value;
    std::string title;
    Named classLines, titleLines;
  } cases[] = {
      {"one of two fragments narrowed: closed by the other",
       kRules,
       "killwnd.txt",
       4,
       &value[0],
       "Special offer",
       {"killwnd.txt:1", "killwnd_custom.txt:1"},
       {"killwnd.txt:3"}},
      {"the other narrowed too: left open",
       narrowed,
       "killwnd.txt",
       3,
       &value[0],
       "Special offer",
       {"killwnd.txt:1"},
       {}},
      {"still matching: kept in its place",
       kRules,
       "killwnd.txt",
       3,
       &value[1],
       "Special offer",
       {"killwnd.txt:1", "killwnd_custom.txt:1"},
       {"killwnd.txt:3", "killwnd.txt:4"}},
      {"one of two class lines removed",
       kRules,
       "killwnd_custom.txt",
       1,
       removed,
       "offer",
       {"killwnd.txt:1"},
       {"killwnd.txt:4"}},
      {"the only class line changed",
       narrowed,
       "killwnd.txt",
       1,
       &value[2],
       "offer",
       {},
       {"killwnd.txt:3"}},
      {"a fragment changed to one the title holds",
       kRules,
       "killwnd_custom.txt",
       2,
       &value[3],
       "weather report",
       {"killwnd.txt:1", "killwnd_custom.txt:1"},
       {"killwnd_custom.txt:2"}},
      {"a fragment removed",
       kRules,
       "killwnd.txt",
       3,
       removed,
       "Special offer",
       {"killwnd.txt:1", "killwnd_custom.txt:1"},
       {"killwnd.txt:4"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RuleFolder folder(c.rules, c.rules == kRules ? kCustom : "");
    LineEdit edit;
    edit.line = folder.Line(c.file, c.line);
    ASSERT_TRUE(edit.line);
    edit.kind = &KindOfRule(edit.line->effect);
    edit.value = c.value;
    MatchingLines after = LinesMatchingAfter(folder.rules(), edit, "AdFrame", c.title);
    EXPECT_EQ(c.classLines, folder.Named(after.classLines));
    EXPECT_EQ(c.titleLines, folder.Named(after.titleLines));
    EXPECT_EQ(!c.classLines.empty() && !c.titleLines.empty(), after.Closes());
  }
}

HWND Handle(uintptr_t n) { return reinterpret_cast<HWND>(n); }

std::vector<HWND> Handles(const std::vector<OpenWindow>& windows) {
  std::vector<HWND> handles;
  for (const OpenWindow& window : windows) handles.push_back(window.handle);
  return handles;
}

// Closed now: 1 (AdFrame, offer) and 3 (PopupFrame, offer).
const std::vector<OpenWindow> kWindows = {
    {Handle(1), "AdFrame", "Special offer", true},
    {Handle(2), "AdFrame", "weather report", true},
    {Handle(3), "PopupFrame", "an offer", true},
    {Handle(4), "OtherFrame", "offer", false},
};

TEST(CloseLines, OpenWindowsSparedAndNewlyClosedByAnEdit) {
  const std::string value[] = {"Special offer", "weather", "OtherFrame"};
  const struct {
    const char* name;
    const char* file;
    int line;
    const std::string* value;
    std::vector<HWND> spared, newlyClosed;
  } cases[] = {
      {"fragment narrowed", "killwnd.txt", 3, &value[0], {Handle(3)}, {}},
      {"fragment changed", "killwnd.txt", 3, &value[1], {Handle(1), Handle(3)}, {Handle(2)}},
      {"class line removed", "killwnd.txt", 2, nullptr, {Handle(3)}, {}},
      {"class line changed", "killwnd.txt", 2, &value[2], {Handle(3)}, {Handle(4)}},
      {"a line no window matches removed", "killwnd_custom.txt", 2, nullptr, {}, {}},
  };
  RuleFolder folder("class,AdFrame\r\nclass,PopupFrame\r\ntitle,offer\r\n", "\r\ntitle,Sale\r\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LineEdit edit;
    edit.line = folder.Line(c.file, c.line);
    ASSERT_TRUE(edit.line);
    edit.kind = &KindOfRule(edit.line->effect);
    edit.value = c.value;
    EditEffect effect = EffectOf(folder.rules(), edit, kWindows);
    EXPECT_EQ(c.spared, Handles(effect.spared));
    EXPECT_EQ(c.newlyClosed, Handles(effect.newlyClosed));
  }
}

// As a class rule matches them: ASCII letter case aside.
TEST(CloseLines, OtherWindowsSharingAClass) {
  std::vector<OpenWindow> windows = kWindows;
  windows.push_back({Handle(5), "ADFRAME", "news", true});
  const struct {
    const char* className;
    HWND except;
    std::vector<HWND> sharing;
  } cases[] = {
      {"AdFrame", Handle(1), {Handle(2), Handle(5)}},
      {"adframe", NULL, {Handle(1), Handle(2), Handle(5)}},
      {"OtherFrame", Handle(4), {}},
      {"AdFram", NULL, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.sharing, Handles(SharingClass(windows, c.className, c.except))) << c.className;
  }
}

#ifdef _WIN32
// Real windows of this process: their styles and owner decide, and this process's own integrity
// level is the host's, so none of them is taken for elevated.
TEST(WindowReach, ReachOfThisProcesssWindows) {
  HWND owner =
      CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
  ASSERT_TRUE(owner);
  const struct {
    const char* name;
    DWORD exStyle;
    bool owned;
    Reach reach;
  } cases[] = {
      {"plain", 0, false, Reach::kReached},
      {"tool window", WS_EX_TOOLWINDOW, false, Reach::kNoTaskbarButton},
      {"owned", 0, true, Reach::kNoTaskbarButton},
      {"owned app window", WS_EX_APPWINDOW, true, Reach::kReached},
  };
  for (const auto& c : cases) {
    HWND window = CreateWindowExA(c.exStyle, "STATIC", c.name, WS_POPUP, 0, 0, 10, 10,
                                  c.owned ? owner : NULL, NULL, NULL, NULL);
    ASSERT_TRUE(window) << c.name;
    EXPECT_EQ(c.reach, ReachOf(window)) << c.name;
    DestroyWindow(window);
  }
  DestroyWindow(owner);
}
#endif

}  // namespace
