#include "desktop.h"

#include <stdio.h>
#include <tlhelp32.h>

#include "closer/hook.h"
#include "owned.h"

namespace rule_engine {

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

// From the system's list of processes, which XP has too (QueryFullProcessImageName and
// PROCESS_QUERY_LIMITED_INFORMATION are Vista's): it needs no access to the process, so elevated
// programs and those of the other bitness are named as well.
std::string ProcessName(DWORD processId) {
  std::string name = "pid " + std::to_string(processId);
  FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  if (!snapshot.valid() || !Process32First(snapshot.get(), &entry)) return name;
  do {
    if (entry.th32ProcessID == processId) return std::string(entry.szExeFile) + " (" + name + ")";
  } while (Process32Next(snapshot.get(), &entry));
  return name;
}

std::string HandleText(HWND window) {
  char text[32];
  snprintf(text, sizeof text, "0x%llX",
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

}  // namespace rule_engine
