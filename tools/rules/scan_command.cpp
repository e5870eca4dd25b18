// lunet-rules scan: the open windows the rules would close, closing nothing.
#include <stdio.h>
#include <windows.h>

#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "rule_set.h"

#ifdef _WIN32
#include "desktop.h"
#include "window_reach.h"

namespace rules_cli {

using namespace rule_engine;

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
    std::string handle = HandleText(window.handle);
    std::string shown = window.visible ? "" : Text(rules_text::kHidden);
    std::string className = RuleText(Quote(window.className), rules.CodePage());
    std::string title = RuleText(Quote(window.title), rules.CodePage());
    if (closes) {
      Say(Text(rules_text::kScanWouldClose, handle, shown, className, title,
               Located(rules.Files(), verdict.classRule),
               Located(rules.Files(), verdict.titleFragment)));
      Reach reach = ReachOf(window.handle);
      if (reach != Reach::kReached) Say(Text(rules_text::kScanNeverClosed, ReachText(reach)));
      ++closing;
    } else {
      Say(Text(rules_text::kScanLeftOpen, handle, shown, className, title));
    }
    ++listed;
  }
  // The count is of every window looked at; with --all, say which ones the list leaves out.
  std::string left;
  if (all && static_cast<size_t>(listed) < windows.size()) {
    left = Text(rules_text::kScanHiddenLeft, windows.size() - listed);
  }
  Say(Text(rules_text::kScanCount, closing, windows.size(), left));
  return kClean;
}
}  // namespace rules_cli
#endif
