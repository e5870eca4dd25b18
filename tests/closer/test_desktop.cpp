#include "closer/test_desktop.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>

#ifdef _WIN32

#include <atomic>
#include <thread>

#include "debug_listener.h"

namespace {

std::mutex lock;
std::map<HWND, int> closes;

// Counts WM_CLOSE instead of closing, so a test can see every request.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    std::lock_guard<std::mutex> guard(lock);
    ++closes[window];
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TestWindow::TestWindow(const std::string& className, const std::string& title) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = CountingProc;
  windowClass.hInstance = GetModuleHandleA(NULL);
  windowClass.lpszClassName = className.c_str();
  RegisterClassA(&windowClass);  // fails harmlessly when the class is already registered
  handle_ = CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100,
                            100, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::SetTitle(const std::string& title) { SetWindowTextA(handle_, title.c_str()); }

int TestWindow::CloseRequests() {
  MSG message;
  while (PeekMessageA(&message, handle_, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  std::lock_guard<std::mutex> guard(lock);
  return closes[handle_];
}

void TestWindow::Destroy() {
  if (handle_ && IsWindow(handle_)) {
    CloseRequests();
    DestroyWindow(handle_);
    std::lock_guard<std::mutex> guard(lock);
    closes.erase(handle_);  // the system may hand the handle out again
  }
}

struct CloseReports::Listening {
  DebugListener listener;
  std::atomic<bool> stop{false};
  std::mutex lock;
  std::vector<std::string> texts;
  std::thread thread;
};

CloseReports::CloseReports() : listening_(new Listening) {
  std::string error;
  if (!listening_->listener.Open(error)) {
    ADD_FAILURE() << error;
    return;
  }
  Listening* listening = listening_.get();
  listening_->thread = std::thread([listening] {
    DWORD processId = 0;
    std::string text;
    while (!listening->stop) {
      if (!listening->listener.Next(50, processId, text)) continue;
      std::lock_guard<std::mutex> guard(listening->lock);
      listening->texts.push_back(text);
    }
  });
}

CloseReports::~CloseReports() {
  listening_->stop = true;
  if (listening_->thread.joinable()) listening_->thread.join();
}

std::vector<std::string> CloseReports::Take(size_t count) {
  for (int waited = 0; waited < 5000; waited += 10) {
    {
      std::lock_guard<std::mutex> guard(listening_->lock);
      if (listening_->texts.size() >= count) break;
    }
    Sleep(10);
  }
  std::lock_guard<std::mutex> guard(listening_->lock);
  std::vector<std::string> taken;
  taken.swap(listening_->texts);
  return taken;
}

#else

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

struct CloseReports::Listening {};

CloseReports::CloseReports() { standin::TakeDebugOutput(); }

CloseReports::~CloseReports() = default;

std::vector<std::string> CloseReports::Take(size_t) { return standin::TakeDebugOutput(); }

#endif
