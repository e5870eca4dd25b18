// lunet-rules add: appends rules to killwnd_custom.txt, refusing what cannot work and saying what
// the change does across the two lists. pick ends here too.
#include <stdio.h>
#include <windows.h>

#include "add_plan.h"
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "owned.h"
#include "rule_file_edit.h"
#include "rule_file_writer.h"
#include "shared/plugin_folder.h"
#include "text.h"

#ifdef _WIN32
#include "desktop.h"
#endif

namespace rules_cli {

using namespace rule_engine;

namespace {

#ifdef _WIN32
// The open windows that the rules now close and did not before the change.
void ListNewlyClosed(const AddPlan& plan) {
  RuleSet after(plan.before.CodePage());
  after.LoadFolder(plan.dir);
  std::vector<OpenWindow> closed = NewlyClosed(plan.before, after);
  for (const OpenWindow& window : closed) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window.handle, &processId);
    Say(Text(rules_text::kNewRulesMatch, HandleText(window.handle),
             PathText(ProcessName(processId)), RuleText(Quote(window.className), after.CodePage()),
             RuleText(Quote(window.title), after.CodePage())));
  }
  if (closed.empty()) Say(Text(rules_text::kNewRulesMatchNone));
}
#endif

// Says why nothing was added, and what to do; true when the file was written.
bool Written(WriteOutcome outcome, const AddPlan& plan) {
  std::string path = PathText(plan.path);
  switch (outcome) {
    case WriteOutcome::kWritten: return true;
    case WriteOutcome::kReadOnly: Complain(engine_text::kReadOnly, path); break;
    case WriteOutcome::kBusy: Complain(rules_text::kRulesBusy, path); break;
    case WriteOutcome::kProtected:
      Complain(rules_text::kFolderProtected, PathText(plan.dir));
      break;
    case WriteOutcome::kFailed: Complain(rules_text::kCannotWrite, path); break;
  }
  return false;
}

}  // namespace

int PlanAddition(const std::string& given, const std::string* className,
                 const std::string* fragment, AddPlan& plan) {
  int opened = OpenFolder(given, plan.before);
  if (opened != kClean) return opened;
  if (PlanAdd(WithSeparator(given), className, fragment, plan)) return kClean;
  bool mixed = plan.refused == AddRefusal::kMixedEncodings;
  ComplainText(mixed ? Text(rules_text::kThenAddAgain, plan.refusal) : plan.refusal);
  return plan.refused == AddRefusal::kValue ? kUsage : kUnavailable;
}

void ShowPlan(const AddPlan& plan) {
  const RuleSet& rules = plan.before;
  for (const std::string& line : plan.lines) {
    Say(Text(rules_text::kAddTo, PathText(plan.path), RuleText(line, rules.CodePage())));
  }
  for (const std::string& note : plan.notes) Say(note);
  for (const std::string& warning : plan.warnings) Say(warning);
}

int ApplyAdd(const AddPlan& plan) {
  const RuleSet& rules = plan.before;
  if (plan.lines.empty()) {
    Say(Text(rules_text::kNothingToAdd));
    return kClean;
  }
  std::string content;
  FileRead read = ReadWholeFile(plan.path, content);
  if (read == FileRead::kFailed) {
    Complain(rules_text::kCannotRead, PathText(plan.path));
    return kUnavailable;
  }
  bool exists = read == FileRead::kRead;
  std::string after = AppendLines(content, plan.lines, rules.CodePage());
  if (!Written(WriteRuleFile(plan.path, after), plan)) return kUnavailable;
  Say(Text(exists ? rules_text::kAddedTo : rules_text::kCreated, PathText(plan.path)));
#ifdef _WIN32
  ListNewlyClosed(plan);
#endif
  Say(WhenNewRulesApply());
  return plan.warnings.empty() ? kClean : kWarnings;
}

int RunAdd(Arguments& args) {
  bool haveClass = args.Has(OptionId::ClassRule), haveTitle = args.Has(OptionId::Fragment);
  if (!haveClass && !haveTitle) return UsageError(rules_text::kAddNeeds);
  AddPlan plan(args.CodePage());
  int planned = PlanAddition(args.Folder(), haveClass ? &args.Text(OptionId::ClassRule) : nullptr,
                             haveTitle ? &args.Text(OptionId::Fragment) : nullptr, plan);
  if (planned != kClean) return planned;
  ShowPlan(plan);
  return ApplyAdd(plan);
}

}  // namespace rules_cli
