// lunet-rules test: would a window with this class and title be closed, and by which rules.
#include "commands.h"
#include "console_text.h"

namespace rules_cli {

namespace {

enum { kClosed = 0, kLeftOpen = 1 };

// Hints at the rules that fail to match only by what cannot be seen, or by letter case.
void NearMisses(const std::vector<FileReport>& files, LineEffect kind, const std::string& text) {
  bool isClass = kind == LineEffect::ClassRule;
  for (const LineReport* rule : RulesOf(files, kind)) {
    std::string why = NearMiss(*rule, kind, text);
    if (why.empty()) continue;
    Out("hint: the " + Named(files, rule, true) + " would " + (isClass ? "match" : "be found") +
        " but for " + why + "\n");
  }
  // A rule on a first line lost to the file's byte order mark is no rule at all.
  for (const FileReport& file : files) {
    for (const LineReport& line : file.lines) {
      if (line.lost != kind || !RuleMatches(line.lostValue, kind, text)) continue;
      Out("hint: the first line of " + file.path + ", " + (isClass ? "class," : "title,") +
          line.lostValue + ", would " + (isClass ? "match" : "be found") +
          ", but the file's byte order mark makes it a line that does nothing: " +
          SaveWithoutBom(RuleCodePage()) + "\n");
    }
  }
}

// No rule of the kind matches the window's text, so it stays open.
int LeftOpen(const std::vector<FileReport>& files, LineEffect kind, const std::string& text) {
  bool isClass = kind == LineEffect::ClassRule;
  Out((isClass ? "class " : "title ") + Quote(text) +
      (isClass ? " matches no class rule\n" : " contains no title fragment\n"));
  NearMisses(files, kind, text);
  Out("left open\n");
  return kLeftOpen;
}

}  // namespace

int RunTest(const Arguments& args) {
  if (!args.Has("--class") || !args.Has("--title")) {
    return UsageError("test needs --class NAME and --title TEXT");
  }
  std::vector<FileReport> files;
  int used = UseDirectory(args.Folder(), files);
  if (used != kClean) return used;

  Out("rules in " + WithSeparator(args.Folder()) + ": " + Counts(files) + "\n");
  for (const char* option : {"--class", "--title"}) {
    if (Cut(args.Text(option)).size() == args.Text(option).size()) continue;
    Out(std::string("the hook reads only the first 254 bytes of the ") +
        (option[2] == 'c' ? "class name\n" : "title\n"));
  }
  Verdict verdict = Judge(files, Cut(args.Text("--class")), Cut(args.Text("--title")));
  if (!verdict.consistent) return InternalError(WithSeparator(args.Folder()));
  if (!verdict.classRule) return LeftOpen(files, LineEffect::ClassRule, verdict.className);
  Out("class " + Quote(verdict.className) + " matches the " + Told(verdict, Tell::ClassRule) +
      "\n");
  if (!verdict.titleFragment) return LeftOpen(files, LineEffect::TitleRule, verdict.title);
  Out("title " + Quote(verdict.title) + " contains the " + Told(verdict, Tell::TitleFragment) +
      "\n");
  Out("closed: the plug-in asks such a window to close each time its title is redrawn\n");
  return kClosed;
}

}  // namespace rules_cli
