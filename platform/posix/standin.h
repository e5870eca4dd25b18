// Controls of the POSIX stand-in that only tests use: a small desktop of windows, and logs of
// what the module asked of the window system.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct PostedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct NextHookCall {
  HHOOK hook;
  int code;
  WPARAM wParam;
  LPARAM lParam;
};

struct InstalledHook {
  HHOOK handle;
  int type;
  HOOKPROC proc;
  HINSTANCE module;
  DWORD threadId;
};

struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

HWND CreateWindow(const std::string& className, const std::string& title);
void SetWindowTitle(HWND window, const std::string& title);
// Makes the window belong to another process (windows are this process's when made).
void SetWindowProcess(HWND window, DWORD processId);
void DestroyWindow(HWND window);
void DestroyAllWindows();

std::vector<PostedMessage> TakePostedMessages();
std::vector<NextHookCall> TakeNextHookCalls();
void SetNextHookResult(LRESULT result);

std::vector<InstalledHook> InstalledHooks();
// Delivers a shell notification to every installed WH_SHELL hook, as the system would.
void SendShellNotification(int code, WPARAM wParam, LPARAM lParam);
// Makes the next SetWindowsHookExA fail, as it does when the module cannot be injected.
void FailNextHookInstall();
void RemoveAllHooks();

std::vector<MessageBoxCall> TakeMessageBoxes();
int DisableThreadLibraryCallsCount();

// Makes the next n GlobalAlloc calls fail.
void FailGlobalAllocs(int n);

// Disarms, when it goes, the failures and the hook result a test armed: an assertion that ends
// the case early cannot carry them into the next one.
class ArmedFailures {
 public:
  ArmedFailures() = default;
  ~ArmedFailures();
  ArmedFailures(const ArmedFailures&) = delete;
  ArmedFailures& operator=(const ArmedFailures&) = delete;
};

}  // namespace standin
