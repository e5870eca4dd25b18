#include "closer/test_desktop.h"

#include <gtest/gtest.h>

#ifdef _WIN32

#include <atomic>
#include <mutex>
#include <thread>

#include "debug_listener.h"
#include "message_pump.h"
#include "recording_window.h"

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

struct CloseReports::Listening {};

CloseReports::CloseReports() { standin::TakeDebugOutput(); }

CloseReports::~CloseReports() = default;

std::vector<std::string> CloseReports::Take(size_t) { return standin::TakeDebugOutput(); }

#endif
