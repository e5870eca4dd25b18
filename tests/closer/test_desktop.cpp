#include "closer/test_desktop.h"

#include <map>
#include <mutex>

#ifdef _WIN32

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

#endif
