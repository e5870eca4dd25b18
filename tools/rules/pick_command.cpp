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
#include "window_reach.h"

namespace rules_cli {

using namespace rule_engine;

namespace {

// The top-level window under the point, or why there is none to pick.
HWND WindowAt(POINT point, std::string& problem) {
  HWND window = WindowFromPoint(point);
  if (window) window = GetAncestor(window, GA_ROOT);
  if (!window || window == GetDesktopWindow() || window == GetShellWindow()) {
    problem = Text(rules_text::kThatIsDesktop);
    return NULL;
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (window == GetConsoleWindow() || processId == GetCurrentProcessId()) {
    problem = Text(rules_text::kThatIsConsole);
    return NULL;
  }
  return window;
}

}  // namespace

int RunPick(Arguments& args) {
  std::string dir = args.Folder(), fragment = args.Text(OptionId::Fragment);
  POINT point = {args.Number(OptionId::At, 0), args.Number(OptionId::At, 1)};
  if (!IsDirectory(dir)) return RefuseFolder(dir);
  AddPlan plan(args.CodePage());
  const RuleSet& rules = plan.before;
  std::string line;
  if (!args.Has(OptionId::At)) {
    Say(Text(rules_text::kPointAt));
    fflush(stdout);
    if (!args.ReadTypedLine(line)) return UsageError(rules_text::kNoEnter);
    GetCursorPos(&point);
  }
  std::string problem;
  HWND handle = WindowAt(point, problem);
  if (!handle) {
    Complain(rules_text::kPickAt, static_cast<long>(point.x), static_cast<long>(point.y), problem);
    return kUnavailable;
  }
  OpenWindow window = Describe(handle);
  DWORD processId = 0;
  GetWindowThreadProcessId(handle, &processId);
  Say(Text(rules_text::kPickedWindow, HandleText(handle), PathText(ProcessName(processId)),
           RuleText(Quote(window.className), rules.CodePage()),
           RuleText(Quote(window.title), rules.CodePage())));
  Reach reach = ReachOf(handle);
  if (reach != Reach::kReached) Say(Text(rules_text::kPickNeverClosed, ReachText(reach)));
  if (!args.Has(OptionId::Fragment)) {
    PrintPrompt(Text(rules_text::kFragmentPrompt));
    // Typed in the console's code page; the title is in the rules' (the system's ANSI) one.
    fragment = args.ReadTypedLine(line) && !line.empty() ? line : window.title;
  }
  FragmentFit fit = FitInTitle(fragment, window.title);
  if (fit != FragmentFit::kFits) {
    ComplainText(FitText(fit, fragment, rules.CodePage()));
    return kUsage;
  }
  int planned = PlanAddition(dir, &window.className, &fragment, plan);
  if (planned != kClean) return planned;
  ShowPlan(plan);
  if (!args.Has(OptionId::Yes) && !plan.lines.empty()) {
    PrintPrompt(Text(rules_text::kAddPrompt));
    if (!args.ReadTypedLine(line) || (line != "y" && line != "Y" && line != "yes")) {
      Say(Text(rules_text::kNothingAdded));
      return kClean;
    }
  }
  return ApplyAdd(plan);
}

}  // namespace rules_cli

#endif
