// Windows for the window-check tests: real windows on Windows, the stand-in's desktop natively.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

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
