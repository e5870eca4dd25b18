// Rule files as the module reads them, and the store's lists.
#include <utility>

#include "unit/closer/rules_fixture.h"

namespace {

using RuleFiles = RulesFixture;

TEST_F(RuleFiles, KeywordsFieldsAndComments) {
  LoadFiles(
      "// class,Commented\r\n"
      "Class,Notepad\r\n"
      "TITLE,Ad,ignored\r\n"
      "class\r\n"
      "title, spaced\r\n"
      "class ,Foo\r\n"
      ",class,Bar\r\n"
      "window,Other\r\n"
      "\r\n"
      "//,title,x\n"
      "title,\n"
      "class,Last");
  EXPECT_EQ((Texts{"Notepad", "Last"}), Classes());
  EXPECT_EQ((Texts{"Ad", " spaced", ""}), Titles());
}

TEST_F(RuleFiles, EmptyValueAtTheEndOfTheData) {
  LoadFiles("class,A\ntitle,");
  EXPECT_EQ((Texts{""}), Titles());
  EXPECT_EQ((Texts{"A"}), Classes());
}

TEST_F(RuleFiles, KeywordAloneAtTheEndAddsNothing) {
  LoadFiles("class,A\nclass");
  EXPECT_EQ((Texts{"A"}), Classes());
  LoadFiles("title,T\rclass,B\r");
  EXPECT_EQ((Texts{"B"}), Classes());
  EXPECT_EQ((Texts{"T"}), Titles());
}

TEST_F(RuleFiles, BothFilesInOrderOrEitherAlone) {
  WriteRules("class,Main\ntitle,main\n", "class,Custom\ntitle,custom\n");
  EXPECT_EQ(1, LoadRules(dir_.path().c_str()));
  EXPECT_EQ((Texts{"Main", "Custom"}), Classes());
  EXPECT_EQ((Texts{"main", "custom"}), Titles());

  TempDir customOnly;
  customOnly.Write("killwnd_custom.txt", "class,OnlyCustom\n");
  EXPECT_EQ(1, LoadRules(customOnly.path().c_str()));
  EXPECT_EQ((Texts{"OnlyCustom"}), Classes());
  EXPECT_TRUE(Titles().empty());

  TempDir none;
  EXPECT_EQ(1, LoadRules(none.path().c_str()));
  EXPECT_TRUE(Classes().empty());
  EXPECT_EQ(0, LoadRuleFile(none.File("killwnd.txt").c_str()));
  none.Write("empty.txt", "");
  EXPECT_EQ(0, LoadRuleFile(none.File("empty.txt").c_str()));
}

TEST_F(RuleFiles, LoadingAppendsAndReloadingReplaces) {
  WriteRules("class,A\n");
  EXPECT_EQ(1, LoadRuleFile(dir_.File("killwnd.txt").c_str()));
  EXPECT_EQ(1, LoadRuleFile(dir_.File("killwnd.txt").c_str()));
  EXPECT_EQ((Texts{"A", "A"}), Classes());
  LoadRules(dir_.path().c_str());
  EXPECT_EQ((Texts{"A"}), Classes());
}

TEST_F(RuleFiles, ListsGrowToTwiceCountPlusOneAndNeverShrink) {
  RuleStore fresh;
  EXPECT_EQ(4u, fresh.ClassRules.capacity);
  EXPECT_EQ(64u, fresh.TitleRules.capacity);
  // The store's class list as a new process has it, whatever earlier cases grew it to; the
  // fresh store frees the grown one.
  ClearRules();
  std::swap(KillRules.ClassRules, fresh.ClassRules);
  LoadFiles("class,1\nclass,2\nclass,3\nclass,4\nclass,5\n");
  EXPECT_EQ(5u, KillRules.ClassRules.count);
  EXPECT_EQ(10u, KillRules.ClassRules.capacity);
  ClearRules();
  EXPECT_EQ(0u, KillRules.ClassRules.count);
  EXPECT_EQ(10u, KillRules.ClassRules.capacity);
  std::swap(KillRules.ClassRules, fresh.ClassRules);
}

// Letters fold to lower case before comparing; bytes from 0x80 rank above ASCII, unfolded.
TEST(CompareNoCaseAscii, FoldsAsciiLettersOnly) {
  const struct {
    const char* first;
    const char* second;
    int order;
  } kCases[] = {
      {"NotePad", "notepad", 0}, {"", "", 0},       {"a", "B", -1},
      {"abc", "ab", 1},          {"ab", "abc", -1}, {"Z", "[", 1},
      {"\x80", "z", 1},          {"~", "\xFF", -1}, {"\xC4", "\xE4", -1},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.order, CompareNoCaseAscii(c.first, c.second)) << c.first << " / " << c.second;
  }
}

}  // namespace
