// lunet-rules scan: the open windows the rules would close, closing nothing.
#include <stdio.h>
#include <windows.h>

#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "rule_set.h"

#ifdef _WIN32
#include "desktop.h"

namespace rules_cli {

int RunScan(Arguments& args) {
  bool all = args.Has(OptionId::All), hidden = args.Has(OptionId::Hidden);
  RuleSet rules(args.CodePage());
  int opened = OpenFolder(args.Folder(), rules);
  if (opened != kClean) return opened;
  std::vector<OpenWindow> windows = TopLevelWindows();
  int closing = 0, listed = 0;
  for (const OpenWindow& window : windows) {
    Verdict verdict = rules.Judge(window.className, window.title);
    bool closes = verdict.Closes();
    // Hidden windows are the system's and the programs' own plumbing: a title redraw of one is
    // still checked, so a hidden one that would close is always listed.
    if (!closes && (!all || (!window.visible && !hidden))) continue;
    std::string line = std::string(closes ? "would close" : "left open  ") + " window " +
                       HandleText(window.handle) + (window.visible ? "" : " (hidden)") + " " +
                       Told(verdict, Tell::Window);
    if (closes) {
      line += " (" + Told(verdict, Tell::Lines) + ")";
      ++closing;
    }
    rules.Out(line + "\n");
    ++listed;
  }
  // The count is of every window looked at; with --all, say which ones the list leaves out.
  std::string left;
  if (all && static_cast<size_t>(listed) < windows.size()) {
    left = " (" + std::to_string(windows.size() - listed) +
           " hidden, not listed: --hidden lists them)";
  }
  rules.Out(std::to_string(closing) + " of " + std::to_string(windows.size()) +
            " top-level windows would be closed" + left + "\n");
  return kClean;
}
}  // namespace rules_cli
#endif
