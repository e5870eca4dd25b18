// lunet-rules on a real desktop: scan finds this process's windows that the rules would close,
// names the rules, and closes nothing; pick makes rules of the window under a point.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/temp_dir.h"

namespace {

LRESULT CALLBACK CountCloses(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* className, const char* title, int x = 0, int y = 0) {
  WNDCLASSA type = {};
  type.lpfnWndProc = CountCloses;
  type.hInstance = GetModuleHandleA(NULL);
  type.lpszClassName = className;
  RegisterClassA(&type);
  return CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 200, 100,
                         NULL, NULL, GetModuleHandleA(NULL), NULL);
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Runs the program with its output in a pipe, handling this thread's messages meanwhile.
int RunCaptured(std::string commandLine, std::string& output) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
  HANDLE readEnd, writeEnd;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process;
  BOOL started =
      CreateProcessA(NULL, &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    return -1;
  }
  char chunk[4096];
  DWORD read;
  // The pipe ends when the program does; the scan's window queries need no answer from us.
  while (ReadFile(readEnd, chunk, sizeof chunk, &read, NULL) && read) output.append(chunk, read);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(readEnd);
  return static_cast<int>(code);
}

TEST(RulesScan, ListsTheWindowsTheRulesWouldCloseAndClosesNone) {
  TempDir dir;
  dir.Write("killwnd.txt", "class,LunetScanAd\r\ntitle,Buy now\r\n");
  dir.Write("killwnd_custom.txt", "// none\r\n");
  HWND ad = MakeWindow("LunetScanAd", "Buy now! 50% off");
  HWND plain = MakeWindow("LunetScanAd", "Release notes");
  HWND other = MakeWindow("LunetScanOther", "Buy now");
  ASSERT_TRUE(ad && plain && other);
  Pump();

  std::string output;
  int code = RunCaptured(std::string(LUNET_RULES_EXE) + " scan --all " + dir.path(), output);
  Pump();
  EXPECT_EQ(0, code) << output;
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
  EXPECT_EQ(0, GetWindowLongPtrA(ad, GWLP_USERDATA));
  EXPECT_TRUE(IsWindow(ad));
  DestroyWindow(ad);
  DestroyWindow(plain);
  DestroyWindow(other);
}

// Under a point in the middle of an advertisement: its class and the fragment given become
// rules, and the window is named as one the rules now close. Under no window: a clear refusal.
TEST(RulesPick, MakesRulesOfTheWindowUnderThePoint) {
  TempDir dir;
  dir.Write("killwnd.txt", "class,LunetScanAd\r\ntitle,Buy now\r\n");
  dir.Write("killwnd_custom.txt", "// mine\r\n");
  HWND ad = MakeWindow("LunetPickAd", "Flash sale: today only", 300, 200);
  ASSERT_TRUE(ad);
  Pump();
  const std::string rules = std::string(LUNET_RULES_EXE) + " pick ";

  std::string output;
  int code = RunCaptured(rules + "--at 400,250 --title \"Flash sale\" --yes " + dir.path(), output);
  Pump();
  EXPECT_EQ(0, code) << output;
  EXPECT_NE(std::string::npos, output.find("  class \"LunetPickAd\"\r\n  title \"Flash sale: "
                                           "today only\""))
      << output;
  EXPECT_NE(std::string::npos, output.find("now closed at its next title redraw: window "))
      << output;
  EXPECT_EQ("// mine\r\nclass,LunetPickAd\r\ntitle,Flash sale\r\n",
            ReadFileBytes(dir.File("killwnd_custom.txt")));
  EXPECT_EQ(0, GetWindowLongPtrA(ad, GWLP_USERDATA));  // nothing was asked to close
  DestroyWindow(ad);

  output.clear();
  EXPECT_EQ(4, RunCaptured(rules + "--at 600,450 --yes " + dir.path(), output)) << output;
  EXPECT_NE(std::string::npos, output.find("that is the desktop, not a window")) << output;
}

}  // namespace
