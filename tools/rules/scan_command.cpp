// lunet-rules scan: the open windows the rules would close, closing nothing.
#include <stdio.h>
#include <windows.h>

#include "commands.h"
#include "console_text.h"

#ifdef _WIN32
#include "desktop.h"

int RunScan(const std::vector<std::string>& args) {
  bool all = false, hidden = false, haveDir = false;
  std::string dir = ".";
  for (const std::string& arg : args) {
    if (arg == "--all") {
      all = true;
    } else if (arg == "--hidden") {
      hidden = true;
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
  std::vector<OpenWindow> windows = TopLevelWindows();
  int closing = 0;
  for (const OpenWindow& window : windows) {
    Verdict verdict = Judge(files, window.className, window.title);
    if (!verdict.consistent) return InternalError(WithSeparator(dir));
    bool closes = verdict.titleFragment != nullptr;
    // Hidden windows are the system's and the programs' own plumbing: a title redraw of one is
    // still checked, so a hidden one that would close is always listed.
    if (!closes && (!all || (!window.visible && !hidden))) continue;
    std::string line = std::string(closes ? "would close" : "left open  ") + " window " +
                       HandleText(window.handle) + (window.visible ? "" : " (hidden)") + " class " +
                       Quote(window.className) + " title " + Quote(window.title);
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
