// A small in-process desktop: windows with a class and a title, shell hooks, posted messages,
// message boxes, critical sections and slim reader-writer locks.
#include <string.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "standin.h"

namespace {

struct Window {
  std::string className;
  std::string title;
  DWORD processId;
};

std::mutex lock;
std::map<HWND, Window> windows;
uintptr_t nextHandle = 0x10000;
std::vector<standin::PostedMessage> posted;
std::vector<standin::NextHookCall> nextHookCalls;
LRESULT nextHookResult = 0;
std::vector<standin::InstalledHook> hooks;
bool failNextHook = false;
std::vector<standin::MessageBoxCall> messageBoxes;
int disableCalls = 0;

// Copies at most count - 1 bytes and a NUL, as the ANSI window text calls do.
int CopyText(const std::string& text, LPSTR buffer, int count) {
  if (count <= 0 || !buffer) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(count - 1));
  memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

}  // namespace

HWND standin::CreateWindow(const std::string& className, const std::string& title) {
  std::lock_guard<std::mutex> guard(lock);
  HWND window = reinterpret_cast<HWND>(nextHandle);
  nextHandle += 4;
  windows[window] = Window{className, title, GetCurrentProcessId()};
  return window;
}

void standin::SetWindowTitle(HWND window, const std::string& title) {
  std::lock_guard<std::mutex> guard(lock);
  windows[window].title = title;
}

void standin::SetWindowProcess(HWND window, DWORD processId) {
  std::lock_guard<std::mutex> guard(lock);
  windows[window].processId = processId;
}

void standin::DestroyWindow(HWND window) {
  std::lock_guard<std::mutex> guard(lock);
  windows.erase(window);
}

void standin::DestroyAllWindows() {
  std::lock_guard<std::mutex> guard(lock);
  windows.clear();
}

std::vector<standin::PostedMessage> standin::TakePostedMessages() {
  std::lock_guard<std::mutex> guard(lock);
  return std::exchange(posted, {});
}

std::vector<standin::NextHookCall> standin::TakeNextHookCalls() {
  std::lock_guard<std::mutex> guard(lock);
  return std::exchange(nextHookCalls, {});
}

void standin::SetNextHookResult(LRESULT result) {
  std::lock_guard<std::mutex> guard(lock);
  nextHookResult = result;
}

std::vector<standin::InstalledHook> standin::InstalledHooks() {
  std::lock_guard<std::mutex> guard(lock);
  return hooks;
}

void standin::SendShellNotification(int code, WPARAM wParam, LPARAM lParam) {
  std::vector<InstalledHook> current = InstalledHooks();
  for (const InstalledHook& hook : current) {
    if (hook.type == WH_SHELL) hook.proc(code, wParam, lParam);
  }
}

void standin::FailNextHookInstall() {
  std::lock_guard<std::mutex> guard(lock);
  failNextHook = true;
}

standin::ArmedFailures::~ArmedFailures() {
  FailGlobalAllocs(0);
  std::lock_guard<std::mutex> guard(lock);
  failNextHook = false;
  nextHookResult = 0;
}

void standin::RemoveAllHooks() {
  std::lock_guard<std::mutex> guard(lock);
  hooks.clear();
}

std::vector<standin::MessageBoxCall> standin::TakeMessageBoxes() {
  std::lock_guard<std::mutex> guard(lock);
  return std::exchange(messageBoxes, {});
}

int standin::DisableThreadLibraryCallsCount() {
  std::lock_guard<std::mutex> guard(lock);
  return disableCalls;
}

namespace {

// Copies one text of a window; a window that is gone answers 0 and leaves the buffer alone.
int WindowText(HWND window, std::string Window::*text, LPSTR buffer, int count) {
  std::lock_guard<std::mutex> guard(lock);
  auto found = windows.find(window);
  if (found == windows.end()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CopyText(found->second.*text, buffer, count);
}

}  // namespace

extern "C" int GetClassNameA(HWND window, LPSTR name, int count) {
  return WindowText(window, &Window::className, name, count);
}

extern "C" int GetWindowTextA(HWND window, LPSTR text, int count) {
  return WindowText(window, &Window::title, text, count);
}

// The desktop's one thread answers for every window.
extern "C" DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  std::lock_guard<std::mutex> guard(lock);
  auto found = windows.find(window);
  if (found == windows.end()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (processId) *processId = found->second.processId;
  return 1;
}

extern "C" BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::mutex> guard(lock);
  if (!windows.count(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  posted.push_back({window, message, wParam, lParam});
  return TRUE;
}

extern "C" LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::mutex> guard(lock);
  nextHookCalls.push_back({hook, code, wParam, lParam});
  return nextHookResult;
}

extern "C" HHOOK SetWindowsHookExA(int type, HOOKPROC proc, HINSTANCE module, DWORD threadId) {
  std::lock_guard<std::mutex> guard(lock);
  // A desktop-wide hook must name the module that holds its procedure.
  if (!proc || (threadId == 0 && !module) || failNextHook) {
    failNextHook = false;
    SetLastError(ERROR_HOOK_NEEDS_HMOD);
    return NULL;
  }
  HHOOK handle = reinterpret_cast<HHOOK>(nextHandle);
  nextHandle += 4;
  hooks.push_back({handle, type, proc, module, threadId});
  return handle;
}

extern "C" BOOL UnhookWindowsHookEx(HHOOK hook) {
  std::lock_guard<std::mutex> guard(lock);
  auto found = std::find_if(hooks.begin(), hooks.end(),
                            [hook](const standin::InstalledHook& h) { return h.handle == hook; });
  if (found == hooks.end()) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  hooks.erase(found);
  return TRUE;
}

extern "C" int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  std::lock_guard<std::mutex> guard(lock);
  messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
  return IDOK;
}

extern "C" BOOL DisableThreadLibraryCalls(HMODULE) {
  std::lock_guard<std::mutex> guard(lock);
  ++disableCalls;
  return TRUE;
}

// A critical section that cannot be made is reported as XP reports it, by a zero result.
extern "C" BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD) {
  pthread_mutexattr_t attributes;
  if (pthread_mutexattr_init(&attributes) != 0) return FALSE;
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  int made = pthread_mutex_init(&section->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
  return made == 0;
}
extern "C" void EnterCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutex_lock(&section->mutex);
}
extern "C" void LeaveCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutex_unlock(&section->mutex);
}
extern "C" void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutex_destroy(&section->mutex);
}
