// Windows for the window-check tests: real windows on Windows, the stand-in's desktop natively.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "debug_listener.h"

class RecordingWindow;

// The module handle the tests give the linked code, as DllMain would get it: this program's own
// on Windows, where a desktop-wide hook needs a module of the process; a stand-in value natively.
HINSTANCE TestModuleInstance();

class TestWindow {
 public:
  TestWindow(const std::string& className, const std::string& title);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND handle() const { return handle_; }
  void SetTitle(const std::string& title);
  // WM_CLOSE messages the window has received so far (on Windows, after pumping its queue).
  int CloseRequests();
  // Destroys the window now; the handle then names no window.
  void Destroy();

 private:
  HWND handle_;
#ifdef _WIN32
  std::unique_ptr<RecordingWindow> window_;
#endif
};

// The close reports the module writes while this object lives, read from the desktop's
// debug-output buffer (so no debug viewer may be listening). A writer never waits for the buffer,
// so a test takes each report before the next close, as a listener that keeps up would.
class CloseReports {
 public:
  CloseReports();
  CloseReports(const CloseReports&) = delete;
  CloseReports& operator=(const CloseReports&) = delete;

  // The reports written since the last call, oldest first.
  std::vector<std::string> Take();
  DebugListener& listener() { return listener_; }

 private:
  DebugListener listener_;
};
