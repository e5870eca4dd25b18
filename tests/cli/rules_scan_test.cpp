// lunet-rules on a real desktop: scan finds this process's windows that the rules would close,
// names the rules, and closes nothing; pick makes rules of the window under a point.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "harness/captured_process.h"
#include "harness/japanese_system.h"
#include "harness/recording_window.h"
#include "harness/temp_dir.h"
#include "harness/windows_kit.h"
#include "message_pump.h"
#include "owned.h"

namespace {

// Keeps every WM_CLOSE, so a close request would show.
std::unique_ptr<RecordingWindow> MakeWindow(const char* className, const char* title, int x = 0,
                                            int y = 0) {
  return std::make_unique<RecordingWindow>(className, title, RecordingWindow::kKeep,
                                           WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 200, 100);
}

// A plug-in folder with one class rule and one title rule, and the user's own file holding
// only a comment.
class RulesFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("killwnd.txt", "class,LunetScanAd\r\ntitle,Buy now\r\n");
    dir.Write("killwnd_custom.txt", "// mine\r\n");
  }
  TempDir dir;
};
using RulesScan = RulesFolder;
using RulesPick = RulesFolder;

TEST_F(RulesScan, ListsTheWindowsTheRulesWouldCloseAndClosesNone) {
  auto ad = MakeWindow("LunetScanAd", "Buy now! 50% off");
  auto plain = MakeWindow("LunetScanAd", "Release notes");
  auto other = MakeWindow("LunetScanOther", "Buy now");
  ASSERT_TRUE(ad->handle() && plain->handle() && other->handle());
  PumpPending();

  CapturedProcess scan(std::string(LUNET_RULES_EXE) + " scan --all " + dir.path(), true);
  DWORD code = scan.Finish();
  const std::string& output = scan.output();
  PumpPending();
  EXPECT_EQ(0u, code) << output;
  EXPECT_NE(std::string::npos,
            output.find("class \"LunetScanAd\" title \"Buy now! 50% off\" (class rule "))
      << output;
  EXPECT_NE(std::string::npos, output.find("killwnd.txt:1, title fragment ")) << output;
  EXPECT_NE(std::string::npos, output.find("left open   window")) << output;
  size_t wouldClose = 0;
  for (size_t at = output.find("would close"); at != std::string::npos;
       at = output.find("would close", at + 1)) {
    ++wouldClose;
  }
  EXPECT_EQ(1u, wouldClose) << output;
  // The count covers the hidden windows too, and says that the list leaves them out.
  EXPECT_NE(std::string::npos, output.find("hidden, not listed: --hidden lists them")) << output;
  // Nothing was asked to close.
  EXPECT_EQ(0, ad->closes());
  EXPECT_TRUE(IsWindow(ad->handle()));
}

// Under a point in the middle of an advertisement: its class and the fragment given become
// rules, and the window is named as one the rules now close. Under no window: a clear refusal.
TEST_F(RulesPick, MakesRulesOfTheWindowUnderThePoint) {
  auto ad = MakeWindow("LunetPickAd", "Flash sale: today only", 300, 200);
  ASSERT_TRUE(ad->handle());
  PumpPending();
  const std::string pick = std::string(LUNET_RULES_EXE) + " pick ";

  CapturedProcess onAd(pick + "--at 400,250 --title \"Flash sale\" --yes " + dir.path(), true);
  EXPECT_EQ(0u, onAd.Finish(true)) << onAd.output();
  EXPECT_NE(std::string::npos,
            onAd.output().find("  class \"LunetPickAd\"\r\n  title \"Flash sale: today only\""))
      << onAd.output();
  EXPECT_NE(std::string::npos, onAd.output().find("the new rules match the open window "))
      << onAd.output();
  EXPECT_EQ("// mine\r\nclass,LunetPickAd\r\ntitle,Flash sale\r\n",
            ReadFileBytes(dir.File("killwnd_custom.txt")));
  EXPECT_EQ(0, ad->closes());

  // The fragment typed at the prompt comes in the console's code page (437 or 850 on a Western
  // console, where e acute is 0x82); the title, and so the rule, in the ANSI one (1252: 0xE9).
  UINT consolePage = GetConsoleCP() ? GetConsoleCP() : GetOEMCP();
  ASSERT_NE(consolePage, GetACP()) << "the console's code page must differ from the ANSI one";
  auto cafe = MakeWindow("LunetPickCafe", "Caf\xE9 cr\xE8me: 2 for 1", 20, 320);
  PumpPending();
  wchar_t typedWide[] = L"Caf\u00E9\r\n";
  char typed[16] = {};
  WideCharToMultiByte(consolePage, 0, typedWide, -1, typed, sizeof typed, NULL, NULL);
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, NULL, TRUE};
  FileHandle input(CreateFileA(dir.Write("typed.txt", typed).c_str(), GENERIC_READ, FILE_SHARE_READ,
                               &inherited, OPEN_EXISTING, 0, NULL));
  HANDLE ownInput = GetStdHandle(STD_INPUT_HANDLE);
  SetStdHandle(STD_INPUT_HANDLE, input.get());
  CapturedProcess onCafe(pick + "--at 120,370 --yes " + dir.path(), true);
  SetStdHandle(STD_INPUT_HANDLE, ownInput);
  input.reset();
  EXPECT_EQ(0u, onCafe.Finish(true)) << onCafe.output();
  EXPECT_EQ(
      "// mine\r\nclass,LunetPickAd\r\ntitle,Flash "
      "sale\r\nclass,LunetPickCafe\r\ntitle,Caf\xE9\r\n",
      ReadFileBytes(dir.File("killwnd_custom.txt")))
      << onCafe.output();

  CapturedProcess onDesktop(pick + "--at 600,450 --yes " + dir.path(), true);
  EXPECT_EQ(4u, onDesktop.Finish(true)) << onDesktop.output();
  EXPECT_NE(std::string::npos, onDesktop.output().find("that is the desktop, not a window"))
      << onDesktop.output();
}

// On a Japanese system, without --codepage: the rule in Shift_JIS, the titles in it, the
// fragment typed in its place. The messages around them may be in either language.
class JapaneseRules : public RulesFolder {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OnJapaneseSystem());
    dir.Write("killwnd.txt", std::string("class,LunetScanAd\r\ntitle,") + kLimitedTime.shiftJis);
    dir.Write("killwnd_custom.txt", "// mine\r\n");
  }
};

TEST_F(JapaneseRules, ScanListsOnlyTheShiftJisTitleWithTheRule) {
  auto ad = MakeWindow("LunetScanAd", kSaleTitle.shiftJis);
  auto plain = MakeWindow("LunetScanAd", kWeatherTitle.shiftJis);
  auto other = MakeWindow("LunetScanOther", kSaleTitle.shiftJis);
  ASSERT_TRUE(ad->handle() && plain->handle() && other->handle());
  PumpPending();
  CapturedProcess scan(std::string(LUNET_RULES_EXE) + " scan " + dir.path(), true);
  DWORD code = scan.Finish();
  PumpPending();
  const std::string& output = scan.output();
  EXPECT_EQ(0u, code) << output;
  EXPECT_NE(std::string::npos, output.find(kSaleTitle.utf8)) << output;
  EXPECT_NE(std::string::npos, output.find("killwnd.txt:2")) << output;
  EXPECT_EQ(std::string::npos, output.find(kWeatherTitle.utf8)) << output;
  EXPECT_EQ(std::string::npos, output.find("LunetScanOther")) << output;
  EXPECT_EQ(0, ad->closes());
}

TEST_F(JapaneseRules, PickWritesTheTypedFragmentInShiftJis) {
  dir.Write("killwnd.txt", "class,LunetScanAd\r\n");  // the fragment is new, so it is written
  auto ad = MakeWindow("LunetPickAd", kSaleTitle.shiftJis, 300, 200);
  ASSERT_TRUE(ad->handle());
  PumpPending();
  CapturedProcess pick(std::string(LUNET_RULES_EXE) + " pick --at 400,250 --title " +
                           kLimitedTime.shiftJis + " --yes " + dir.path(),
                       true);
  EXPECT_EQ(0u, pick.Finish(true)) << pick.output();
  EXPECT_NE(std::string::npos, pick.output().find(kSaleTitle.utf8)) << pick.output();
  EXPECT_EQ(std::string("// mine\r\nclass,LunetPickAd\r\ntitle,") + kLimitedTime.shiftJis + "\r\n",
            ReadFileBytes(dir.File("killwnd_custom.txt")))
      << pick.output();
  EXPECT_EQ(0, ad->closes());
}

}  // namespace
