// What the tests, the benchmarks and the soak add to the tools' Win32 kit: a hook's owner, the
// message pump that does not wait, a debug-output text taken and handed back at once.
#pragma once

#include <windows.h>

#include <string>

#include "debug_listener.h"
#include "owned.h"

using OwnedHook = Owned<HHOOK, 0, UnhookWindowsHookEx>;

#ifdef _WIN32
#include "message_pump.h"
// The messages already queued, and no wait for more.
inline void PumpPending() { PumpUntil(NULL, 0); }
#endif

// Waits up to ms for the next debug-output text and hands the buffer straight back; false when
// none came.
inline bool NextReport(DebugListener& listener, DWORD ms, DWORD& processId, std::string& text) {
  if (!listener.Take(ms, processId, text)) return false;
  listener.HandBack();
  return true;
}
