// Windows only: the desktop as the hook sees it, for the commands that look at open windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "open_window.h"

namespace rule_engine {

// The top-level windows, in the system's order.
std::vector<OpenWindow> TopLevelWindows();
OpenWindow Describe(HWND window);
// "name.exe (pid N)", or "pid N" when the process's image cannot be read.
std::string ProcessName(DWORD processId);
// The window's handle as "0x..." for people and logs.
std::string HandleText(HWND window);

}  // namespace rule_engine
