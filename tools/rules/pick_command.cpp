// lunet-rules pick: point at a window, and make a rule of its class and (part of) its title.
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "commands.h"
#include "console_text.h"
#include "is_directory.h"

#ifdef _WIN32
#include "desktop.h"

namespace {

// One line from standard input without its line end; false at its end.
bool ReadLine(std::string& line) {
  char buffer[1024];
  if (!fgets(buffer, sizeof buffer, stdin)) return false;
  line = buffer;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return true;
}

bool ParsePoint(const std::string& text, POINT& point) {
  char* end = nullptr;
  point.x = strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != ',') return false;
  const char* y = end + 1;
  point.y = strtol(y, &end, 10);
  return end != y && *end == 0;
}

// The top-level window under the point, or why there is none to pick.
HWND WindowAt(POINT point, std::string& problem) {
  HWND window = WindowFromPoint(point);
  if (window) window = GetAncestor(window, GA_ROOT);
  if (!window || window == GetDesktopWindow() || window == GetShellWindow()) {
    problem = "that is the desktop, not a window: point at the window to close";
    return NULL;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (window == GetConsoleWindow() || processId == GetCurrentProcessId()) {
    problem = "that is this console: point at the window to close, then press Enter here";
    return NULL;
  }
  return window;
}

}  // namespace

int RunPick(const std::vector<std::string>& args) {
  std::string dir = ".", fragment;
  bool haveDir = false, haveAt = false, haveTitle = false, yes = false;
  POINT point = {0, 0};
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--at" && i + 1 < args.size()) {
      if (!ParsePoint(args[++i], point)) return UsageError("pick: --at needs X,Y");
      haveAt = true;
    } else if (args[i] == "--title" && i + 1 < args.size()) {
      fragment = args[++i];
      haveTitle = true;
    } else if (args[i] == "--yes") {
      yes = true;
    } else if (!haveDir && (args[i].empty() || args[i][0] != '-')) {
      dir = args[i];
      haveDir = true;
    } else {
      return UsageError("pick: unexpected argument " + args[i]);
    }
  }
  if (!IsDirectory(dir)) return UsageError(dir + ": not a directory");
  std::string line;
  if (!haveAt) {
    Out("Point at the window with the mouse, then press Enter here.\n");
    fflush(stdout);
    if (!ReadLine(line)) return UsageError("pick: no Enter came (use --at X,Y in scripts)");
    GetCursorPos(&point);
  }
  std::string problem;
  HWND handle = WindowAt(point, problem);
  if (!handle) {
    fprintf(stderr, "lunet-rules: pick at %ld,%ld: %s\n", static_cast<long>(point.x),
            static_cast<long>(point.y), problem.c_str());
    return kUnavailable;
  }
  OpenWindow window = Describe(handle);
  DWORD processId = 0;
  GetWindowThreadProcessId(handle, &processId);
  Out("window " + HandleText(handle) + " of " + ProcessName(processId) + "\n  class " +
      Quote(window.className) + "\n  title " + Quote(window.title) + "\n");
  if (!haveTitle) {
    Out("title fragment to close on (Enter for the whole title): ");
    fflush(stdout);
    fragment = ReadLine(line) && !line.empty() ? line : window.title;
  }
  if (window.title.find(fragment) == std::string::npos) {
    fprintf(stderr, "lunet-rules: pick: the title does not contain %s\n", Quote(fragment).c_str());
    return kUsage;
  }
  AddPlan plan;
  int planned = PlanAdd(dir, &window.className, &fragment, plan);
  if (planned != kClean) return planned;
  ShowPlan(plan);
  if (!yes && !plan.lines.empty()) {
    Out("add these rules? [y/N] ");
    fflush(stdout);
    if (!ReadLine(line) || (line != "y" && line != "Y" && line != "yes")) {
      Out("nothing added\n");
      return kClean;
    }
  }
  return ApplyAdd(plan);
}

#else

int RunPick(const std::vector<std::string>&) {
  return UsageError("pick looks at the windows of a Windows desktop: run the Windows build");
}

#endif
