// The planning of an addition: what add, pick and the window refuse, skip and warn about.
#include "add_plan.h"

#include <windows.h>

#include "code_page.h"
#include "rule_file_writer.h"
#include "rule_value.h"
#include "shared/plugin_folder.h"
#include "text.h"

namespace rule_engine {

namespace {

// Refuses the plan, with why.
bool Refuse(AddPlan& plan, AddRefusal kind, const std::string& why) {
  plan.refused = kind;
  plan.refusal = why;
  return false;
}

// Shown one by one: the separator is the user's language, the rules the code page's.
std::string QuotedList(const RuleSet& set, const std::vector<const LineReport*>& rules) {
  std::string list;
  for (const LineReport* rule : rules) {
    list += (list.empty() ? "" : Text(engine_text::kListSeparator)) +
            RuleText(Quote(rule->text), set.CodePage());
  }
  return list;
}

// The rule already loaded that the module would count as the same, or null.
const LineReport* Existing(const RuleSet& rules, const RuleKind& kind, const std::string& value) {
  for (const LineReport* rule : rules.Rules(kind)) {
    if (kind.same(rule->text.c_str(), value.c_str())) return rule;
  }
  return nullptr;
}

// Plans one rule: skipped when the module already has its like, else appended, with what it
// applies to in the other list (others; otherGiven when that list gains a rule now too).
void PlanOne(const RuleKind& kind, const std::string& value,
             const std::vector<const LineReport*>& others, bool otherGiven, AddPlan& plan) {
  const RuleSet& rules = plan.before;
  if (const LineReport* rule = Existing(rules, kind, value)) {
    plan.notes.push_back(Text(kind.there, RuleText(Quote(rule->text), rules.CodePage()),
                              Located(rules.Files(), rule)));
    return;
  }
  plan.lines.push_back(kind.keyword + ("," + value));
  std::string reach = others.empty()
                          ? Text(otherGiven ? engine_text::kReachOnlyNew : engine_text::kReachNone)
                          : Text(engine_text::kReachSome, others.size(), QuotedList(rules, others));
  plan.notes.push_back(Text(kind.added, RuleText(Quote(value), rules.CodePage()), reach));
}

// A file saved in another encoding than the code page gets no text but ASCII appended: the
// file would then hold two encodings, and no editor would show it all. ASCII lines are taken,
// with a warning, since the file's own rules other than ASCII do not match as it is.
bool CheckFileEncoding(AddPlan& plan) {
  std::string content;
  if (plan.lines.empty() || ReadWholeFile(plan.path, content) != FileRead::kRead) return true;
  std::string why;
  if (MixesEncodings(content, plan.lines, plan.before.CodePage(), PathText(plan.path), &why)) {
    return Refuse(plan, AddRefusal::kMixedEncodings, why);
  }
  if (!why.empty()) plan.warnings.push_back(why);
  return true;
}

}  // namespace

bool PlanAdd(const std::string& dir, const std::string* className, const std::string* fragment,
             AddPlan& plan) {
  unsigned codePage = plan.before.CodePage();
  for (auto value :
       {std::make_pair(&kClassKind, className), std::make_pair(&kTitleKind, fragment)}) {
    if (!value.second) continue;
    std::vector<std::string> warnings;
    std::string why = Refusal(*value.first, *value.second, codePage, warnings);
    std::string what = RuleText(value.first->keyword + (" " + Quote(*value.second)), codePage);
    if (!why.empty()) {
      return Refuse(plan, AddRefusal::kValue, Text(engine_text::kRefused, what, why));
    }
    for (const std::string& warning : warnings) {
      plan.warnings.push_back(Text(engine_text::kAddWarning, what, warning));
    }
  }
  plan.dir = dir;
  plan.path = plan.dir + kCustomRulesFile;
  if (IsReadOnlyFile(plan.path)) {
    return Refuse(plan, AddRefusal::kReadOnly, Text(engine_text::kReadOnly, PathText(plan.path)));
  }
  for (const auto& copy : VirtualStoreCopies(plan.dir)) {
    plan.warnings.push_back(Text(engine_text::kAddWarning, copy.first, copy.second));
  }
  std::vector<const LineReport*> classes = plan.before.Rules(kClassKind);
  std::vector<const LineReport*> fragments = plan.before.Rules(kTitleKind);
  if (className) PlanOne(kClassKind, *className, fragments, fragment != nullptr, plan);
  if (fragment) PlanOne(kTitleKind, *fragment, classes, className != nullptr, plan);
  return CheckFileEncoding(plan);
}

std::vector<std::pair<std::string, std::string>> VirtualStoreCopies(const std::string& dir) {
  std::vector<std::pair<std::string, std::string>> copies;
  for (const char* name : {kRulesFile, kCustomRulesFile}) {
    std::string copy = FindVirtualStoreCopy(dir + name);
    if (copy.empty()) continue;
    copies.push_back({PathText(dir + name), Text(engine_text::kVirtualStoreCopy, PathText(copy))});
  }
  return copies;
}

// Each program reads the rules once, when the closer first reaches it.
std::string WhenNewRulesApply() { return Text(engine_text::kAfterEditing); }

#ifdef _WIN32
std::vector<OpenWindow> NewlyClosed(const RuleSet& before, const RuleSet& after) {
  std::vector<OpenWindow> closed;
  for (const OpenWindow& window : TopLevelWindows()) {
    if (after.Judge(window.className, window.title).Closes() &&
        !before.Judge(window.className, window.title).Closes()) {
      closed.push_back(window);
    }
  }
  return closed;
}
#endif

}  // namespace rule_engine
