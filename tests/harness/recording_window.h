// Windows only: top-level windows of this process that log the WM_CLOSE and WM_DESTROY they get,
// with times, as targets for a closer. Each class name is registered once, on first use.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

// Microseconds on the performance counter, the clock of the logged times.
double NowUs();

class RecordingWindow {
 public:
  // What the window does with WM_CLOSE besides logging it: destroy itself as an ordinary window
  // does, or stay, so that every request can be counted.
  enum OnClose { kDestroy, kKeep };

  RecordingWindow(const std::string& className, const std::string& title, OnClose onClose,
                  DWORD style = WS_POPUP, int x = 0, int y = 0, int width = 10, int height = 10);
  ~RecordingWindow() { Destroy(); }
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  // NULL when the window could not be made.
  HWND handle() const { return handle_; }
  int closes() const { return log_->closes; }
  // NowUs() at the first WM_CLOSE and at WM_DESTROY; 0 while none came.
  double closedAt() const { return log_->closedAt; }
  double destroyedAt() const { return log_->destroyedAt; }
  // Destroys the window now, if it is still there.
  void Destroy();

 private:
  struct Log {
    OnClose onClose;
    std::atomic<int> closes{0};
    double closedAt = 0;
    double destroyedAt = 0;
  };
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<Log> log_;
  HWND handle_ = NULL;
};
