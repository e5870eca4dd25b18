// What a front end checks before it proposes a rule: whether the rule files' folder is one that
// Explorer made to run a program from inside a zip, and which windows rules not yet written
// would close.
#include "pick_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness/temp_dir.h"
#include "planned_rules.h"

using namespace rule_engine;

namespace {

const struct {
  const char* folder;
  bool insideZip;
} kZipCases[] = {
    {"C:\\Users\\ann\\AppData\\Local\\Temp\\Temp1_lunet-1.2.zip\\lunet\\", true},
    {"C:\\Users\\ann\\AppData\\Local\\Temp\\Temp12_LUNET.ZIP\\", true},
    {"C:\\DOCUME~1\\ann\\LOCALS~1\\Temp\\Temporary Directory 1 for lunet.zip\\lunet\\", true},
    {"C:\\Program Files\\Character\\Soft Display\\", false},
    // A folder of the user's that merely ends in .zip, or names one, is no extraction.
    {"D:\\downloads\\lunet.zip\\", false},
    {"C:\\Temp\\lunet\\", false},
    {"C:\\Users\\ann\\Temp_lunet.zip\\", false},
    {"C:\\Users\\ann\\Temporary Directory for lunet.zip\\", false},
    {"/tmp/Temp3_lunet.zip/lunet/", true},
    {"", false},
};

TEST(PickTarget, AFolderThatExplorerExtractedAZipInto) {
  for (const auto& c : kZipCases) {
    EXPECT_EQ(InsideZip(c.folder), c.insideZip) << c.folder;
  }
}

// Lines as add would append them, against the rules already in killwnd.txt.
const struct {
  const char* name;
  std::vector<std::string> lines;
  const char* className;
  const char* title;
  bool closed;
} kPlannedCases[] = {
    {"a new class with the loaded fragment",
     {"class,NewPopup"},
     "newpopup",
     "Big Sale today",
     true},
    {"a new fragment with the loaded class", {"title,Bargain"}, "AdWindow", "A Bargain", true},
    {"both new", {"class,Other", "title,Deal"}, "Other", "Deal of the day", true},
    {"a new class, a title no fragment holds", {"class,NewPopup"}, "NewPopup", "Welcome", false},
    {"a fragment's letter case counts", {"title,bargain"}, "AdWindow", "A Bargain", false},
    {"no lines: the loaded rules alone", {}, "AdWindow", "Sale", true},
    {"a line of neither kind", {"window,Welcome"}, "AdWindow", "Welcome", false},
};

TEST(PlannedRules, WhatLinesNotYetWrittenWouldClose) {
  TempDir dir;
  RuleSet rules(1252);
  rules.LoadFile(dir.Write("killwnd.txt", "class,AdWindow\r\ntitle,Sale\r\n"));
  for (const auto& c : kPlannedCases) {
    EXPECT_EQ(ClosedWith(rules, c.lines, c.className, c.title), c.closed) << c.name;
  }
}

#ifdef _WIN32
// Every process holds kernel32.dll; none holds a module of a name no file has.
TEST(PickTarget, TheProcessesThatHoldAModule) {
  std::vector<DWORD> holders = ProcessesHolding("KERNEL32.dll");
  EXPECT_NE(std::find(holders.begin(), holders.end(), GetCurrentProcessId()), holders.end());
  EXPECT_TRUE(ProcessesHolding("no-such-module.dll").empty());
}

TEST(PickTarget, TheDesktopAndOwnWindowsAreNoTarget) {
  HWND own = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
  ASSERT_TRUE(own);
  EXPECT_EQ(RefusalOf(GetDesktopWindow(), {}), TargetRefusal::kDesktop);
  EXPECT_EQ(RefusalOf(NULL, {}), TargetRefusal::kDesktop);
  EXPECT_EQ(RefusalOf(own, {}), TargetRefusal::kOwnProcess);
  DestroyWindow(own);
}
#endif

}  // namespace
