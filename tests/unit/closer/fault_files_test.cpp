// Hostile and broken rule files: locked, replaced, empty, huge, without line ends, all NUL
// bytes. Both targets.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "closer/rules.h"
#include "harness/temp_dir.h"
#include "owned.h"

namespace {

std::vector<std::string> Values(const RuleList& list) {
  std::vector<std::string> values;
  for (uint32_t i = 0; i < list.count; ++i) values.push_back(list.items[i]->data);
  return values;
}

using Strings = std::vector<std::string>;

class RuleFileFaults : public ::testing::Test {
 protected:
  void TearDown() override { ClearRules(); }

  void Load() { ASSERT_EQ(1, LoadRules(dir.path().c_str())); }

  TempDir dir;
};

// Another holder opened the file without sharing it: that file is skipped, the other still read,
// and once it is released the next reload sees it again.
TEST_F(RuleFileFaults, ExclusivelyLockedFileIsSkippedAndTheOtherStillRead) {
  std::string main = dir.Write("killwnd.txt", "class,Locked\r\ntitle,LockedTitle\r\n");
  dir.Write("killwnd_custom.txt", "class,Custom\r\n");
  FileHandle holder(CreateFileA(main.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL));
  ASSERT_TRUE(holder.valid());
  Load();
  EXPECT_EQ(Strings{"Custom"}, Values(KillRules.ClassRules));
  EXPECT_EQ(Strings{}, Values(KillRules.TitleRules));
  holder.reset();
  Load();
  EXPECT_EQ((Strings{"Locked", "Custom"}), Values(KillRules.ClassRules));
}

TEST_F(RuleFileFaults, FilesRewrittenOrDeletedBetweenReloads) {
  std::string main =
      dir.Write("killwnd.txt", "class,First\r\nclass,Second\r\ntitle,Long title\r\n");
  std::string custom = dir.Write("killwnd_custom.txt", "title,Custom\r\n");
  Load();
  EXPECT_EQ((Strings{"First", "Second"}), Values(KillRules.ClassRules));
  // A shorter file in its place: nothing of the old content may survive.
  dir.Write("killwnd.txt", "class,X");
  Load();
  EXPECT_EQ(Strings{"X"}, Values(KillRules.ClassRules));
  EXPECT_EQ((Strings{"Custom"}), Values(KillRules.TitleRules));
  ASSERT_EQ(0, remove(main.c_str()));
  Load();
  EXPECT_EQ(Strings{}, Values(KillRules.ClassRules));
  EXPECT_EQ(Strings{"Custom"}, Values(KillRules.TitleRules));
  ASSERT_EQ(0, remove(custom.c_str()));
  Load();
  EXPECT_EQ(0u, KillRules.ClassRules.count + KillRules.TitleRules.count);
}

TEST_F(RuleFileFaults, EmptyAndAllNulFilesAddNothing) {
  dir.Write("killwnd.txt", "");
  dir.Write("killwnd_custom.txt", std::string(1 << 20, '\0'));
  Load();
  EXPECT_EQ(0u, KillRules.ClassRules.count + KillRules.TitleRules.count);
  dir.Write("killwnd.txt", std::string(4096, '\0') + "\nclass,AfterNul\n");
  Load();
  EXPECT_EQ(Strings{"AfterNul"}, Values(KillRules.ClassRules));
}

// 100 MiB of comment lines with one rule at the very end: read through to the last line.
TEST_F(RuleFileFaults, HundredMebibyteFileIsReadToItsEnd) {
  std::string line = "//" + std::string(1021, '-') + "\r\n";
  std::string content;
  content.reserve(100u << 20);
  while (content.size() + line.size() <= (100u << 20) - 32) content += line;
  content += "class,AtTheEnd\r\ntitle,Last";
  dir.Write("killwnd.txt", content);
  content.clear();
  content.shrink_to_fit();
  Load();
  EXPECT_EQ(Strings{"AtTheEnd"}, Values(KillRules.ClassRules));
  EXPECT_EQ(Strings{"Last"}, Values(KillRules.TitleRules));
}

// A value of 10 MiB with no line end comes back whole; the line after a long comment is intact.
TEST_F(RuleFileFaults, TenMebibyteLineWithoutLineEnd) {
  const size_t size = 10u << 20;
  dir.Write("killwnd.txt", "title," + std::string(size, 'x'));
  dir.Write("killwnd_custom.txt", "//" + std::string(size, 'y') + "\nclass,Next");
  Load();
  ASSERT_EQ(1u, KillRules.TitleRules.count);
  EXPECT_EQ(size + 1, KillRules.TitleRules.items[0]->length);
  EXPECT_EQ(Strings{"Next"}, Values(KillRules.ClassRules));
}

}  // namespace
