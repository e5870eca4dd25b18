#include "unit/closer/test_desktop.h"

#include <gtest/gtest.h>

#include "harness/windows_kit.h"

HINSTANCE TestModuleInstance() {
#ifdef _WIN32
  return GetModuleHandleA(NULL);
#else
  return reinterpret_cast<HINSTANCE>(0x10000000);
#endif
}

#ifdef _WIN32

#include "harness/recording_window.h"
#include "message_pump.h"

// Keeps every WM_CLOSE instead of closing, so a test can see every request.
TestWindow::TestWindow(const std::string& className, const std::string& title)
    : window_(new RecordingWindow(className, title, RecordingWindow::kKeep, WS_OVERLAPPEDWINDOW, 0,
                                  0, 100, 100)) {
  handle_ = window_->handle();
}

TestWindow::~TestWindow() = default;

void TestWindow::SetTitle(const std::string& title) { SetWindowTextA(handle_, title.c_str()); }

int TestWindow::CloseRequests() {
  PumpPending();
  return window_->closes();
}

void TestWindow::Destroy() { window_->Destroy(); }

#else

#include <map>
#include <mutex>

#include "standin.h"

namespace {

std::mutex lock;
std::map<HWND, int> closes;

}  // namespace

TestWindow::TestWindow(const std::string& className, const std::string& title)
    : handle_(standin::CreateWindow(className, title)) {}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::SetTitle(const std::string& title) { standin::SetWindowTitle(handle_, title); }

int TestWindow::CloseRequests() {
  std::lock_guard<std::mutex> guard(lock);
  for (const standin::PostedMessage& posted : standin::TakePostedMessages()) {
    if (posted.message == WM_CLOSE) ++closes[posted.window];
  }
  return closes[handle_];
}

void TestWindow::Destroy() {
  CloseRequests();
  standin::DestroyWindow(handle_);
}

#endif

CloseReports::CloseReports() {
  std::string error;
  if (!listener_.Open(error)) ADD_FAILURE() << error;
}

std::vector<std::string> CloseReports::Take() {
  std::vector<std::string> taken;
  DWORD processId = 0;
  std::string text;
  while (NextReport(listener_, 0, processId, text)) taken.push_back(text);
  return taken;
}
