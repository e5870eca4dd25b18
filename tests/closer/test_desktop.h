// Windows for the window-check tests: real windows on Windows, the stand-in's desktop natively.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class RecordingWindow;

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

// The close reports the module writes while this object lives: through the stand-in natively,
// from the desktop's debug-output buffer on Windows (so no debug viewer may be listening).
class CloseReports {
 public:
  CloseReports();
  ~CloseReports();
  CloseReports(const CloseReports&) = delete;
  CloseReports& operator=(const CloseReports&) = delete;

  // The reports so far, oldest first; on Windows it waits up to 5 s for at least count of them,
  // since they arrive on a listening thread.
  std::vector<std::string> Take(size_t count);

 private:
  struct Listening;
  std::unique_ptr<Listening> listening_;
};
