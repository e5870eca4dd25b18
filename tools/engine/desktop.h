// Windows only: the desktop as the hook sees it, for the commands that look at open windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace rule_engine {

struct OpenWindow {
  HWND handle = NULL;
  std::string className;  // read as the hook reads them: at most 254 bytes
  std::string title;
  bool visible = false;
};

// The top-level windows, in the system's order.
std::vector<OpenWindow> TopLevelWindows();
OpenWindow Describe(HWND window);
// "name.exe (pid N)", or "pid N" when the process's image cannot be read.
std::string ProcessName(DWORD processId);
// The window's handle as "0x..." for people and logs.
std::string HandleText(HWND window);

}  // namespace rule_engine
