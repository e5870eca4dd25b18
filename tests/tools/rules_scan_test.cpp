// lunet-rules scan on a real desktop: it finds this process's windows that the rules would
// close, names the rules, and closes nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "harness/child_process.h"
#include "harness/message_pump.h"
#include "harness/recording_window.h"
#include "harness/temp_dir.h"

namespace {

// Keeps every WM_CLOSE, so a close request would show.
std::unique_ptr<RecordingWindow> MakeWindow(const char* className, const char* title) {
  return std::make_unique<RecordingWindow>(className, title, RecordingWindow::kKeep,
                                           WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100);
}

TEST(RulesScan, ListsTheWindowsTheRulesWouldCloseAndClosesNone) {
  TempDir dir;
  dir.Write("killwnd.txt", "class,LunetScanAd\r\ntitle,Buy now\r\n");
  dir.Write("killwnd_custom.txt", "// none\r\n");
  auto ad = MakeWindow("LunetScanAd", "Buy now! 50% off");
  auto plain = MakeWindow("LunetScanAd", "Release notes");
  auto other = MakeWindow("LunetScanOther", "Buy now");
  ASSERT_TRUE(ad->handle() && plain->handle() && other->handle());
  PumpPending();

  ChildProcess scan(std::string(LUNET_RULES_EXE) + " scan --all " + dir.path(),
                    ChildProcess::kCaptureWithErrors);
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
  // Nothing was asked to close.
  EXPECT_EQ(0, ad->closes());
  EXPECT_TRUE(IsWindow(ad->handle()));
}

}  // namespace
