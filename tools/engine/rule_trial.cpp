#include "rule_trial.h"

#include "code_page.h"
#include "code_page_advice.h"
#include "engine_messages.h"

namespace rule_engine {

namespace {

// Hints at the rules that fail to match only by what cannot be seen, or by letter case.
void NearMisses(const RuleSet& rules, const RuleKind& kind, const std::string& text,
                std::vector<std::string>& lines) {
  unsigned codePage = rules.CodePage();
  for (const LineReport* rule : rules.Rules(kind)) {
    std::string why = NearMiss(*rule, kind, text, codePage), encoding;
    std::string shown = RuleText(Quote(rule->text), codePage);
    std::string where = Located(rules.Files(), rule);
    if (!why.empty()) lines.push_back(Text(kind.nearMiss, shown, where, why));
    // A rule saved in another encoding than the one the windows' texts come in.
    std::string converted = InOtherEncoding(rule->text, codePage, &encoding);
    if (why.empty() && RuleMatches(converted, kind, text)) {
      // Shown as the user wrote it, not as the windows' code page misreads it.
      lines.push_back(Text(kind.otherEncoding, RuleText(Quote(converted), codePage), where,
                           encoding, CodePageName(codePage), SaveIn(codePage)));
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
        lines.push_back(Text(kind.lostFirstLine, PathText(file.path), line.lostShown,
                             SaveWithoutBom(codePage)));
      } else {
        lines.push_back(Text(kind.lostLine, Where(file, line), line.lostShown, line.lostWhy));
      }
    }
  }
}

// The rule of the kind that matches the text, said; or none, with the near misses.
bool Found(const RuleSet& rules, const RuleKind& kind, const std::string& text,
           const LineReport* rule, std::vector<std::string>& lines) {
  std::string shown = RuleText(Quote(text), rules.CodePage());
  if (!rule) {
    lines.push_back(Text(kind.foundNone, shown));
    NearMisses(rules, kind, text, lines);
    lines.push_back(Text(engine_text::kLeftOpen));
    return false;
  }
  lines.push_back(Text(kind.found, shown, RuleText(Quote(rule->text), rules.CodePage()),
                       Located(rules.Files(), rule)));
  return true;
}

}  // namespace

Trial TryWindow(const RuleSet& rules, const std::string& className, const std::string& title) {
  Trial trial;
  // The window's texts in the order the hook reads them.
  for (const auto& text :
       {std::make_pair(&kClassKind, &className), std::make_pair(&kTitleKind, &title)}) {
    if (Cut(*text.second).size() != text.second->size())
      trial.lines.push_back(Text(text.first->cut));
  }
  trial.verdict = rules.Judge(Cut(className), Cut(title));
  const Verdict& verdict = trial.verdict;
  if (Found(rules, kClassKind, verdict.className, verdict.classRule, trial.lines) &&
      Found(rules, kTitleKind, verdict.title, verdict.titleFragment, trial.lines)) {
    trial.lines.push_back(Text(engine_text::kClosed));
  }
  return trial;
}

}  // namespace rule_engine
