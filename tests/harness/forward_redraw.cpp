// The thread's own shell hook runs when a top-level window is created on the thread; from there
// CallNextHookEx hands HSHELL_REDRAW to the next hooks in the chain, the global ones included.
#include "harness/forward_redraw.h"

namespace {

thread_local HHOOK ownHook = NULL;
thread_local HWND pending = NULL;
thread_local int forwarded = 0;

LRESULT CALLBACK ForwardingProc(int code, WPARAM wParam, LPARAM lParam) {
  if (pending) {
    HWND window = pending;
    pending = NULL;
    CallNextHookEx(ownHook, HSHELL_REDRAW, reinterpret_cast<WPARAM>(window), 0);
    forwarded = 1;
  }
  return CallNextHookEx(ownHook, code, wParam, lParam);
}

}  // namespace

int StartRedrawForwarding() {
  if (!ownHook) ownHook = SetWindowsHookExA(WH_SHELL, ForwardingProc, NULL, GetCurrentThreadId());
  return ownHook != NULL;
}

int ForwardRedraw(HWND window) {
  if (!ownHook) return 0;
  pending = window;
  forwarded = 0;
  // Creating a top-level window raises HSHELL_WINDOWCREATED on this thread's hook.
  HWND trigger = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
  if (trigger) DestroyWindow(trigger);
  pending = NULL;
  return forwarded;
}

void StopRedrawForwarding() {
  if (ownHook) UnhookWindowsHookEx(ownHook);
  ownHook = NULL;
}
