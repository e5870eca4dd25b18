// Windows only: waiting while this thread's window messages keep being handled.
#pragma once

#include <windows.h>

// Dispatches this thread's messages until handle (if not NULL) is signalled or ms milliseconds
// have passed (INFINITE: no limit); true when the handle was signalled.
bool PumpUntil(HANDLE handle, DWORD ms);
inline void PumpMessages(DWORD ms) { PumpUntil(NULL, ms); }
