// From a window the plug-in closed to the lines of the rule files that close it, and what an edit
// of one of those lines would change: for that window and for the other open windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "open_window.h"
#include "rule_set.h"

namespace rule_engine {

// Every line of the rule files that matches a window: each class line equal to its class and
// each title fragment within its title, in both files (the module's order). The plug-in closes
// the window when both lists hold a line: class lines and title lines are independent.
struct MatchingLines {
  std::vector<const LineReport*> classLines;
  std::vector<const LineReport*> titleLines;
  bool Closes() const { return !classLines.empty() && !titleLines.empty(); }
};
// The texts as the window holds them: longer ones are cut as the hook cuts them.
MatchingLines LinesMatching(const RuleSet& rules, const std::string& className,
                            const std::string& title);

// One rule line, as listed, changed to another value of the same kind, or removed: not written.
struct LineEdit {
  const LineReport* line = nullptr;  // a line of rules.Files()
  const RuleKind* kind = nullptr;
  // The new stored value (bytes in the code page); null: removed.
  const std::string* value = nullptr;
};
// What LinesMatching would say once the edit is written (the edited line kept in the lists,
// pointer unchanged, only when its new value matches).
MatchingLines LinesMatchingAfter(const RuleSet& rules, const LineEdit& edit,
                                 const std::string& className, const std::string& title);

struct EditEffect {
  std::vector<OpenWindow> spared;       // closed by the rules now, not after the edit
  std::vector<OpenWindow> newlyClosed;  // not closed now, closed after the edit
};
EditEffect EffectOf(const RuleSet& rules, const LineEdit& edit,
                    const std::vector<OpenWindow>& windows);

// The windows of the list whose class is className, but for the one given (a class rule that
// closes more than the user wants: which other open windows share that class). Classes compare
// as the module compares a class rule, letter case aside.
std::vector<OpenWindow> SharingClass(const std::vector<OpenWindow>& windows,
                                     const std::string& className, HWND except);

}  // namespace rule_engine
