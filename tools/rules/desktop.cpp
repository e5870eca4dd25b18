#include "desktop.h"

#include <stdio.h>

#include "closer/hook.h"
#include "owned.h"

namespace rules_cli {

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

OpenWindow Describe(HWND window) {
  OpenWindow open;
  open.handle = window;
  WindowText text;
  ReadClassName(window, text);
  open.className = text;
  ReadTitle(window, text);
  open.title = text;
  open.visible = IsWindowVisible(window) != 0;
  return open;
}

std::vector<OpenWindow> TopLevelWindows() {
  std::vector<HWND> handles;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&handles));
  std::vector<OpenWindow> windows;
  for (HWND handle : handles) windows.push_back(Describe(handle));
  return windows;
}

std::string ProcessName(DWORD processId) {
  std::string name = "pid " + std::to_string(processId);
  ProcessHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  char path[MAX_PATH];
  DWORD size = sizeof path;
  if (process.valid() && QueryFullProcessImageNameA(process.get(), 0, path, &size)) {
    std::string full(path, size);
    name = full.substr(full.find_last_of("\\/") + 1) + " (" + name + ")";
  }
  return name;
}

std::string HandleText(HWND window) {
  char text[32];
  snprintf(text, sizeof text, "0x%llX",
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

}  // namespace rules_cli
