#include "harness/recording_window.h"

#include <mutex>
#include <set>

#include "ascii_case.h"

double NowUs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

namespace {

// Windows of one class may be made on several threads. Class names are case-insensitive, so
// "Ad" and "AD" are one class, registered once.
bool RegisterOnce(const std::string& className, WNDPROC procedure) {
  static std::mutex lock;
  static std::set<std::string> registered;
  std::lock_guard<std::mutex> guard(lock);
  if (registered.count(FoldedAscii(className))) return true;
  WNDCLASSEXA type = {};
  type.cbSize = sizeof type;
  type.lpfnWndProc = procedure;
  type.hInstance = GetModuleHandleA(NULL);
  type.hCursor = LoadCursor(NULL, IDC_ARROW);
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  type.lpszClassName = className.c_str();
  // Already there from this program: a spelling beyond ASCII letter case, as Windows folds.
  if (!RegisterClassExA(&type) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  registered.insert(FoldedAscii(className));
  return true;
}

}  // namespace

RecordingWindow::RecordingWindow(const std::string& className, const std::string& title,
                                 OnClose onClose, DWORD style, int x, int y, int width, int height)
    : log_(new Log) {
  log_->onClose = onClose;
  if (!RegisterOnce(className, Procedure)) return;
  handle_ = CreateWindowExA(0, className.c_str(), title.c_str(), style, x, y, width, height, NULL,
                            NULL, GetModuleHandleA(NULL), log_.get());
}

void RecordingWindow::Destroy() {
  // Once destroyed, the handle may already name another window.
  if (handle_ && !log_->destroyedAt && IsWindow(handle_)) DestroyWindow(handle_);
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  Log* log = reinterpret_cast<Log*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (log && message == WM_CLOSE) {
    // WM_CLOSE is where a closer's work ends; WM_DESTROY is where the window is gone.
    if (log->closes++ == 0) log->closedAt = NowUs();
    if (log->onClose == kKeep) return 0;
  }
  if (log && message == WM_DESTROY) log->destroyedAt = NowUs();
  return DefWindowProcA(window, message, wParam, lParam);
}
