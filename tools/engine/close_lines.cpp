// The lines are matched with the module's own comparisons, one line at a time in the order the
// module stores them (the rules file, then the custom one), so that the lists say what the
// plug-in does.
#include "close_lines.h"

namespace rule_engine {

namespace {

// A line's kind and stored value once the edit is written; a null kind for a line that is then
// no rule.
struct RuleLine {
  const RuleKind* kind;
  const std::string* value;
};

RuleLine AfterEdit(const LineReport& line, const LineEdit& edit) {
  if (&line == edit.line) return {edit.value ? edit.kind : nullptr, edit.value};
  if (line.effect != LineEffect::ClassRule && line.effect != LineEffect::TitleRule) {
    return {nullptr, nullptr};
  }
  return {&KindOfRule(line.effect), &line.text};
}

bool ClosedBy(const RuleSet& rules, const LineEdit& edit, const OpenWindow& window) {
  return LinesMatchingAfter(rules, edit, window.className, window.title).Closes();
}

}  // namespace

MatchingLines LinesMatching(const RuleSet& rules, const std::string& className,
                            const std::string& title) {
  return LinesMatchingAfter(rules, LineEdit(), className, title);
}

// The kind's comparison itself, not RuleMatches: an empty fragment read from a file is stored,
// and the plug-in finds it in every title.
MatchingLines LinesMatchingAfter(const RuleSet& rules, const LineEdit& edit,
                                 const std::string& className, const std::string& title) {
  const std::string classRead = Cut(className), titleRead = Cut(title);
  MatchingLines matching;
  for (const FileReport& file : rules.Files()) {
    for (const LineReport& line : file.lines) {
      RuleLine rule = AfterEdit(line, edit);
      if (!rule.kind) continue;
      bool isTitle = rule.kind == &kTitleKind;
      const std::string& text = isTitle ? titleRead : classRead;
      if (!rule.kind->matches(text.c_str(), rule.value->c_str())) continue;
      (isTitle ? matching.titleLines : matching.classLines).push_back(&line);
    }
  }
  return matching;
}

EditEffect EffectOf(const RuleSet& rules, const LineEdit& edit,
                    const std::vector<OpenWindow>& windows) {
  EditEffect effect;
  for (const OpenWindow& window : windows) {
    bool now = ClosedBy(rules, LineEdit(), window);
    bool after = ClosedBy(rules, edit, window);
    if (now && !after) effect.spared.push_back(window);
    if (!now && after) effect.newlyClosed.push_back(window);
  }
  return effect;
}

std::vector<OpenWindow> SharingClass(const std::vector<OpenWindow>& windows,
                                     const std::string& className, HWND except) {
  std::vector<OpenWindow> sharing;
  const std::string classRead = Cut(className);
  for (const OpenWindow& window : windows) {
    if (window.handle == except) continue;
    if (kClassKind.matches(Cut(window.className).c_str(), classRead.c_str())) {
      sharing.push_back(window);
    }
  }
  return sharing;
}

}  // namespace rule_engine
