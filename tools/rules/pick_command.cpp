// lunet-rules pick: point at a window, and make a rule of its class and (part of) its title.
#include <stdio.h>
#include <windows.h>

#include "add_plan.h"
#include "commands.h"
#include "console_text.h"
#include "is_directory.h"
#include "output.h"

#ifdef _WIN32
#include "desktop.h"

namespace rules_cli {

namespace {

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

int RunPick(Arguments& args) {
  std::string dir = args.Folder(), fragment = args.Text(OptionId::Fragment);
  POINT point = {args.Number(OptionId::At, 0), args.Number(OptionId::At, 1)};
  if (!IsDirectory(dir)) return NotAFolder(dir);
  AddPlan plan(args.CodePage());
  const RuleSet& rules = plan.before;
  std::string line;
  if (!args.Has(OptionId::At)) {
    rules.Out("Point at the window with the mouse, then press Enter here.\n");
    fflush(stdout);
    if (!args.ReadTypedLine(line))
      return UsageError("pick: no Enter came (use --at X,Y in scripts)");
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
  rules.Out("window " + HandleText(handle) + " of " + ProcessName(processId) + "\n  class " +
            Quote(window.className) + "\n  title " + Quote(window.title) + "\n");
  if (!args.Has(OptionId::Fragment)) {
    rules.Out("title fragment to close on (Enter for the whole title): ");
    fflush(stdout);
    // Typed in the console's code page; the title is in the rules' (the system's ANSI) one.
    fragment = args.ReadTypedLine(line) && !line.empty() ? line : window.title;
  }
  if (window.title.find(fragment) == std::string::npos) {
    fprintf(stderr, "lunet-rules: pick: the title does not contain %s\n", Quote(fragment).c_str());
    return kUsage;
  }
  int planned = PlanAdd(dir, &window.className, &fragment, plan);
  if (planned != kClean) return planned;
  ShowPlan(plan);
  if (!args.Has(OptionId::Yes) && !plan.lines.empty()) {
    rules.Out("add these rules? [y/N] ");
    fflush(stdout);
    if (!args.ReadTypedLine(line) || (line != "y" && line != "Y" && line != "yes")) {
      rules.Out("nothing added\n");
      return kClean;
    }
  }
  return ApplyAdd(plan);
}

}  // namespace rules_cli

#endif
