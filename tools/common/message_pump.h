// Windows only, for the tools: waiting while this thread's window messages keep being handled.
#pragma once

#include <windows.h>

// Dispatches this thread's messages for ms milliseconds (0: only those already queued).
void PumpMessages(DWORD ms);
