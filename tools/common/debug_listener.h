// Windows only: the listening side of the desktop-wide debug-output buffer that
// OutputDebugStringA writes to when no debugger is attached, as debug-output viewers use it.
#pragma once

#include <windows.h>

#include <string>

class DebugListener {
 public:
  DebugListener() = default;
  ~DebugListener();
  DebugListener(const DebugListener&) = delete;
  DebugListener& operator=(const DebugListener&) = delete;

  // Takes the buffer; false with the reason when it cannot, and when another listener (a debug
  // viewer, a second watch) holds it already: there can be only one on a desktop.
  bool Open(std::string& error);
  // Waits up to ms for the next text; false when none came. The buffer is handed back before
  // this returns: a writer waits (up to 10 s) for it, so the caller's work never delays it.
  bool Next(DWORD ms, DWORD& processId, std::string& text);

 private:
  HANDLE bufferReady_ = NULL;
  HANDLE dataReady_ = NULL;
  HANDLE mapping_ = NULL;
  const BYTE* view_ = nullptr;
};
