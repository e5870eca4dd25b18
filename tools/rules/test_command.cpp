// lunet-rules test: would a window with this class and title be closed, and by which rules.
#include "commands.h"
#include "console_text.h"

namespace {

enum { kClosed = 0, kLeftOpen = 1 };

// The arguments of test: the window texts as typed (UTF-8), the rest as the C runtime gave them.
struct TestArgs {
  std::string className, title, dir = ".";
};

int ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& typed,
              TestArgs& parsed) {
  bool haveClass = false, haveTitle = false, haveDir = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--class" || args[i] == "--title") && i + 1 < args.size()) {
      (args[i] == "--class" ? parsed.className : parsed.title) = typed[i + 1];
      (args[i] == "--class" ? haveClass : haveTitle) = true;
      ++i;
    } else if (args[i] == "--codepage" && i + 1 < args.size()) {
      int set = SetRuleCodePage(args[++i]);
      if (set != kClean) return set;
    } else if ((args[i].empty() || args[i][0] != '-') && !haveDir) {
      parsed.dir = args[i];
      haveDir = true;
    } else {
      return UsageError("test: unexpected argument " + args[i]);
    }
  }
  if (!haveClass || !haveTitle) return UsageError("test needs --class NAME and --title TEXT");
  // The window functions hand the plug-in its texts in the system's ANSI code page.
  parsed.className = ToCodePage(parsed.className, RuleCodePage());
  parsed.title = ToCodePage(parsed.title, RuleCodePage());
  return kClean;
}

// Hints at the rules that fail to match only by what cannot be seen, or by letter case.
void NearMisses(const std::vector<FileReport>& files, LineEffect kind, const std::string& text) {
  bool isClass = kind == LineEffect::ClassRule;
  for (const LineReport* rule : RulesOf(files, kind)) {
    std::string why = NearMiss(*rule, kind, text);
    if (why.empty()) continue;
    Out(std::string("hint: the ") + (isClass ? "class rule " : "title fragment ") +
        Quote(rule->text) + " (" + Located(files, rule) + ") would " +
        (isClass ? "match" : "be found") + " but for " + why + "\n");
  }
}

}  // namespace

int RunTest(const std::vector<std::string>& args, const std::vector<std::string>& typed) {
  TestArgs parsed;
  int status = ParseArgs(args, typed, parsed);
  if (status != kClean) return status;
  std::vector<FileReport> files;
  int used = UseDirectory(parsed.dir, files);
  if (used != kClean) return used;

  Out("rules in " + WithSeparator(parsed.dir) + ": " + Counts(files) + "\n");
  std::string readClass = Cut(parsed.className), readTitle = Cut(parsed.title);
  if (readClass != parsed.className) {
    Out("the hook reads only the first 254 bytes of the class name\n");
  }
  if (readTitle != parsed.title) Out("the hook reads only the first 254 bytes of the title\n");
  Verdict verdict = Judge(files, readClass, readTitle);
  if (!verdict.consistent) return InternalError(WithSeparator(parsed.dir));
  if (!verdict.classRule) {
    Out("class " + Quote(readClass) + " matches no class rule\n");
    NearMisses(files, LineEffect::ClassRule, readClass);
    Out("left open\n");
    return kLeftOpen;
  }
  Out("class " + Quote(readClass) + " matches the class rule " + Quote(verdict.classRule->text) +
      " (" + Located(files, verdict.classRule) + ")\n");
  if (!verdict.titleFragment) {
    Out("title " + Quote(readTitle) + " contains no title fragment\n");
    NearMisses(files, LineEffect::TitleRule, readTitle);
    Out("left open\n");
    return kLeftOpen;
  }
  Out("title " + Quote(readTitle) + " contains the title fragment " +
      Quote(verdict.titleFragment->text) + " (" + Located(files, verdict.titleFragment) + ")\n");
  Out("closed: the plug-in asks such a window to close each time its title is redrawn\n");
  return kClosed;
}
