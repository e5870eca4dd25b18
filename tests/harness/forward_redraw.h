// Windows only, for tests, tools and benchmarks: sends a "title redrawn" shell notification for
// a window of this process into the desktop-wide shell hooks, which the system (and Wine) would
// otherwise send only when it chooses.
#pragma once

#include <windows.h>

// Installs this thread's own WH_SHELL hook; 1 on success. Call once per thread before forwarding.
int StartRedrawForwarding();
// Passes HSHELL_REDRAW for window down the hook chain from this thread's hook; 1 when done.
int ForwardRedraw(HWND window);
void StopRedrawForwarding();

// Forwarding for the life of a scope: stopped however the scope ends, a failed test's too.
class RedrawForwarding {
 public:
  RedrawForwarding() : started_(StartRedrawForwarding() == 1) {}
  ~RedrawForwarding() { StopRedrawForwarding(); }
  RedrawForwarding(const RedrawForwarding&) = delete;
  RedrawForwarding& operator=(const RedrawForwarding&) = delete;
  bool started() const { return started_; }

 private:
  bool started_;
};
