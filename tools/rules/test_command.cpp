// lunet-rules test: would a window with this class and title be closed, and by which rules.
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "rule_set.h"

namespace rules_cli {

using namespace rule_engine;

namespace {

// test's exit: clean when such a window is closed, a warning when it stays open.
const Exit kClosed = kClean, kLeftOpen = kWarnings;

// Hints at the rules that fail to match only by what cannot be seen, or by letter case.
void NearMisses(const RuleSet& rules, const RuleKind& kind, const std::string& text) {
  unsigned codePage = rules.CodePage();
  for (const LineReport* rule : rules.Rules(kind)) {
    std::string why = NearMiss(*rule, kind, text, codePage), encoding;
    std::string shown = RuleText(Quote(rule->text), rules.CodePage());
    std::string where = Located(rules.Files(), rule);
    if (!why.empty()) Say(Text(kind.nearMiss, shown, where, why));
    // A rule saved in another encoding than the one the windows' texts come in.
    std::string converted = InOtherEncoding(rule->text, codePage, &encoding);
    if (why.empty() && RuleMatches(converted, kind, text)) {
      // Shown as the user wrote it, not as the windows' code page misreads it.
      Say(Text(kind.otherEncoding, RuleText(Quote(converted), rules.CodePage()), where, encoding,
               CodePageName(codePage), SaveIn(codePage)));
    }
  }
  // A line meant as a rule that is none: the first line lost to the file's byte order mark, a
  // full-width comma or space, a keyword with spaces.
  for (const FileReport& file : rules.Files()) {
    for (const LineReport& line : file.lines) {
      std::string encoding, converted = InOtherEncoding(line.lostValue, codePage, &encoding);
      if (line.lost != kind.effect) continue;
      if (!RuleMatches(line.lostValue, kind, text) && !RuleMatches(converted, kind, text)) continue;
      if (line.lostWhy.empty()) {
        Say(Text(kind.lostFirstLine, PathText(file.path), line.lostShown,
                 SaveWithoutBom(codePage)));
      } else {
        Say(Text(kind.lostLine, Where(file, line), line.lostShown, line.lostWhy));
      }
    }
  }
}

// No rule of the kind matches the window's text, so it stays open.
int LeftOpen(const RuleSet& rules, const RuleKind& kind, const std::string& text) {
  Say(Text(kind.foundNone, RuleText(Quote(text), rules.CodePage())));
  NearMisses(rules, kind, text);
  Say(Text(rules_text::kLeftOpen));
  return kLeftOpen;
}

void Found(const RuleSet& rules, const RuleKind& kind, const std::string& text,
           const LineReport* rule) {
  Say(Text(kind.found, RuleText(Quote(text), rules.CodePage()),
           RuleText(Quote(rule->text), rules.CodePage()), Located(rules.Files(), rule)));
}

// The window's texts in the order the hook reads them.
const struct {
  OptionId option;
  const RuleKind& kind;
} kWindowTexts[] = {{OptionId::Class, kClassKind}, {OptionId::Title, kTitleKind}};

}  // namespace

int RunTest(Arguments& args) {
  if (!args.Has(OptionId::Class) || !args.Has(OptionId::Title)) {
    return UsageError(rules_text::kTestNeeds);
  }
  RuleSet rules(args.CodePage());
  int opened = OpenFolder(args.Folder(), rules);
  if (opened != kClean) return opened;

  Say(Text(rules_text::kRulesIn, PathText(WithSeparator(args.Folder())), Counts(rules)));
  for (const auto& text : kWindowTexts) {
    if (Cut(args.Text(text.option)).size() == args.Text(text.option).size()) continue;
    Say(Text(text.kind.cut));
  }
  Verdict verdict = rules.Judge(Cut(args.Text(OptionId::Class)), Cut(args.Text(OptionId::Title)));
  if (!verdict.classRule) return LeftOpen(rules, kClassKind, verdict.className);
  Found(rules, kClassKind, verdict.className, verdict.classRule);
  if (!verdict.titleFragment) return LeftOpen(rules, kTitleKind, verdict.title);
  Found(rules, kTitleKind, verdict.title, verdict.titleFragment);
  Say(Text(rules_text::kClosed));
  return kClosed;
}

}  // namespace rules_cli
