// lunet-rules test: would a window with this class and title be closed, and by which rules.
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "rule_set.h"

namespace rules_cli {

namespace {

enum { kClosed = 0, kLeftOpen = 1 };

// Hints at the rules that fail to match only by what cannot be seen, or by letter case.
void NearMisses(const RuleSet& rules, const RuleKind& kind, const std::string& text) {
  for (const LineReport* rule : rules.Rules(kind)) {
    std::string why = NearMiss(*rule, kind, text);
    if (why.empty()) continue;
    rules.Out("hint: the " + Named(rules, rule, true) + " would " + kind.wouldMatch + " but for " +
              why + "\n");
  }
  // A rule on a first line lost to the file's byte order mark is no rule at all.
  for (const FileReport& file : rules.Files()) {
    for (const LineReport& line : file.lines) {
      if (line.lost != kind.effect || !RuleMatches(line.lostValue, kind, text)) continue;
      Say(rules.Shown("hint: the first line of " + file.path + ", " + kind.keyword + "," +
                      line.lostValue + ", would " + kind.wouldMatch +
                      ", but the file's byte order mark makes it a line that does nothing: ") +
          SaveWithoutBom(rules.CodePage()) + "\n");
    }
  }
}

// No rule of the kind matches the window's text, so it stays open.
int LeftOpen(const RuleSet& rules, const RuleKind& kind, const std::string& text) {
  rules.Out(std::string(kind.keyword) + " " + Quote(text) + " " + kind.matchesNone + "\n");
  NearMisses(rules, kind, text);
  rules.Out("left open\n");
  return kLeftOpen;
}

void Found(const RuleSet& rules, const RuleKind& kind, const std::string& text,
           const std::string& rule) {
  rules.Out(std::string(kind.keyword) + " " + Quote(text) + " " + kind.matchesThe + " " + rule +
            "\n");
}

// The window's texts in the order the hook reads them.
const struct {
  OptionId option;
  const RuleKind& kind;
} kWindowTexts[] = {{OptionId::Class, kClassKind}, {OptionId::Title, kTitleKind}};

}  // namespace

int RunTest(Arguments& args) {
  if (!args.Has(OptionId::Class) || !args.Has(OptionId::Title)) {
    return UsageError("test needs --class NAME and --title TEXT");
  }
  RuleSet rules(args.CodePage());
  int opened = OpenFolder(args.Folder(), rules);
  if (opened != kClean) return opened;

  Say(rules.Shown("rules in " + WithSeparator(args.Folder()) + ": ") + Counts(rules) + "\n");
  for (const auto& text : kWindowTexts) {
    if (Cut(args.Text(text.option)).size() == args.Text(text.option).size()) continue;
    rules.Out(std::string("the hook reads only the first 254 bytes of the ") + text.kind.textName +
              "\n");
  }
  Verdict verdict = rules.Judge(Cut(args.Text(OptionId::Class)), Cut(args.Text(OptionId::Title)));
  if (!verdict.classRule) return LeftOpen(rules, kClassKind, verdict.className);
  Found(rules, kClassKind, verdict.className, Told(verdict, Tell::ClassRule));
  if (!verdict.titleFragment) return LeftOpen(rules, kTitleKind, verdict.title);
  Found(rules, kTitleKind, verdict.title, Told(verdict, Tell::TitleFragment));
  rules.Out("closed: the plug-in asks such a window to close each time its title is redrawn\n");
  return kClosed;
}

}  // namespace rules_cli
