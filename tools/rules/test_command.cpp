// lunet-rules test: would a window with this class and title be closed, and by which rules.
#include "commands.h"
#include "console_text.h"

namespace {
enum { kClosed = 0, kLeftOpen = 1 };
}  // namespace

int RunTest(const std::vector<std::string>& args) {
  std::string className, title, dir = ".";
  bool haveClass = false, haveTitle = false, haveDir = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--class" || args[i] == "--title") && i + 1 < args.size()) {
      (args[i] == "--class" ? className : title) = args[i + 1];
      (args[i] == "--class" ? haveClass : haveTitle) = true;
      ++i;
    } else if ((args[i].empty() || args[i][0] != '-') && !haveDir) {
      dir = args[i];
      haveDir = true;
    } else {
      return UsageError("test: unexpected argument " + args[i]);
    }
  }
  if (!haveClass || !haveTitle) return UsageError("test needs --class NAME and --title TEXT");
  std::vector<FileReport> files;
  int used = UseDirectory(dir, files);
  if (used != kClean) return used;

  Out("rules in " + WithSeparator(dir) + ": " + Counts(files) + "\n");
  std::string readClass = Cut(className), readTitle = Cut(title);
  if (readClass != className) Out("the hook reads only the first 254 bytes of the class name\n");
  if (readTitle != title) Out("the hook reads only the first 254 bytes of the title\n");
  Verdict verdict = Judge(files, readClass, readTitle);
  if (!verdict.consistent) return InternalError(WithSeparator(dir));
  if (!verdict.classRule) {
    Out("class " + Quote(readClass) + " matches no class rule\nleft open\n");
    return kLeftOpen;
  }
  Out("class " + Quote(readClass) + " matches the class rule " + Quote(verdict.classRule->text) +
      " (" + Located(files, verdict.classRule) + ")\n");
  if (!verdict.titleFragment) {
    Out("title " + Quote(readTitle) + " contains no title fragment\nleft open\n");
    return kLeftOpen;
  }
  Out("title " + Quote(readTitle) + " contains the title fragment " +
      Quote(verdict.titleFragment->text) + " (" + Located(files, verdict.titleFragment) + ")\n");
  Out("closed: the plug-in asks such a window to close each time its title is redrawn\n");
  return kClosed;
}
