#include "planned_rules.h"

namespace rule_engine {

namespace {

// Whether a rule of the kind, loaded or among the lines, matches the text.
bool Matched(const RuleSet& rules, const std::vector<std::string>& lines, const RuleKind& kind,
             const std::string& text) {
  if (rules.FirstMatch(kind, text)) return true;
  for (const std::string& line : lines) {
    size_t comma = line.find(',');
    if (comma == std::string::npos) continue;
    if (KindOfKeyword(line.substr(0, comma).c_str()) != &kind) continue;
    if (RuleMatches(line.substr(comma + 1), kind, text)) return true;
  }
  return false;
}

}  // namespace

bool ClosedWith(const RuleSet& rules, const std::vector<std::string>& lines,
                const std::string& className, const std::string& title) {
  return Matched(rules, lines, kClassKind, className) && Matched(rules, lines, kTitleKind, title);
}

#ifdef _WIN32
std::vector<OpenWindow> WouldNewlyClose(const RuleSet& rules,
                                        const std::vector<std::string>& lines) {
  std::vector<OpenWindow> closed;
  for (const OpenWindow& window : TopLevelWindows()) {
    if (rules.Judge(window.className, window.title).Closes()) continue;
    if (ClosedWith(rules, lines, window.className, window.title)) closed.push_back(window);
  }
  return closed;
}
#endif

}  // namespace rule_engine
