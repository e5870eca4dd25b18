// lunet-rules scan: the open windows the rules would close, closing nothing.
#include <stdio.h>
#include <windows.h>

#include "commands.h"
#include "console_text.h"

#ifdef _WIN32
namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Reads a window text as the hook does: 255 with the NUL, a failed query counting as empty.
std::string HookText(HWND window, int(WINAPI* query)(HWND, LPSTR, int)) {
  char text[256];
  if (query(window, text, 255) <= 0) text[0] = 0;
  text[254] = 0;
  return text;
}

}  // namespace

int RunScan(const std::vector<std::string>& args) {
  bool all = false, haveDir = false;
  std::string dir = ".";
  for (const std::string& arg : args) {
    if (arg == "--all") {
      all = true;
    } else if (haveDir || (!arg.empty() && arg[0] == '-')) {
      return UsageError("scan: unexpected argument " + arg);
    } else {
      dir = arg;
      haveDir = true;
    }
  }
  std::vector<FileReport> files;
  int used = UseDirectory(dir, files);
  if (used != kClean) return used;
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  int closing = 0;
  for (HWND window : windows) {
    std::string className = HookText(window, GetClassNameA);
    std::string title = HookText(window, GetWindowTextA);
    Verdict verdict = Judge(files, className, title);
    if (!verdict.consistent) return InternalError(WithSeparator(dir));
    bool closes = verdict.titleFragment != nullptr;
    if (!closes && !all) continue;
    char handle[32];
    snprintf(handle, sizeof handle, "%p", static_cast<void*>(window));
    std::string line = std::string(closes ? "would close" : "left open  ") + " window " + handle +
                       (IsWindowVisible(window) ? "" : " (hidden)") + " class " + Quote(className) +
                       " title " + Quote(title);
    if (closes) {
      line += " (class rule " + Located(files, verdict.classRule) + ", title fragment " +
              Located(files, verdict.titleFragment) + ")";
      ++closing;
    }
    Out(line + "\n");
  }
  Out(std::to_string(closing) + " of " + std::to_string(windows.size()) +
      " top-level windows would be closed\n");
  return kClean;
}
#else
int RunScan(const std::vector<std::string>&) {
  return UsageError("scan lists the windows open on a Windows desktop: run the Windows build");
}
#endif
