// lunet-rules add: appends rules to killwnd_custom.txt, refusing what cannot work and saying what
// the change does across the two lists. pick ends here too.
#include <stdio.h>
#include <windows.h>

#include "add_plan.h"
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "owned.h"
#include "rule_file_writer.h"
#include "shared/plugin_folder.h"
#include "text.h"

#ifdef _WIN32
#include "desktop.h"
#endif

namespace rules_cli {

namespace {

// Why the value cannot be a rule of that kind, or "" when it can; what it can be with a surprise
// goes to warnings.
std::string Refusal(const RuleKind& kind, const std::string& value, unsigned codePage,
                    std::vector<std::string>& warnings) {
  unsigned faults = CheckRuleValue(value);
  for (ValueFault fault : kValueFaults) {
    if (!Has(faults, fault)) continue;
    if (Refused(fault)) return FaultText(fault, kind, value, codePage, true);
    warnings.push_back(FaultText(fault, kind, value, codePage, true));
  }
  if (WideEdges(value, codePage)) return Text(rules_text::kFullWidthEdgeTyped);
  std::string twin = kind.foldsCase ? FoldTwin(value, codePage) : "";
  if (!twin.empty()) warnings.push_back(twin);
  return "";
}

// The encoding the file is saved in when it is not the code page: UTF-8 (with or without a
// byte order mark) where the code page is not UTF-8, another code page where it is; "" when it
// is the code page's text, or plain ASCII.
std::string OtherEncoding(const std::string& content, unsigned codePage) {
  bool bom = content.compare(0, 3, kBom) == 0;
  std::string body = bom ? content.substr(3) : content;
  if (bom && codePage != CP_UTF8) return Text(rules_text::kUtf8WithBom);
  if (IsAscii(body)) return bom ? Text(rules_text::kUtf8WithBom) : "";
  std::string name;
  InOtherEncoding(body, codePage, &name);
  return name;
}

// Shown one by one: the separator is the user's language, the rules the code page's.
std::string QuotedList(const RuleSet& set, const std::vector<const LineReport*>& rules) {
  std::string list;
  for (const LineReport* rule : rules) {
    list += (list.empty() ? "" : Text(rules_text::kListSeparator)) +
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
                          ? Text(otherGiven ? rules_text::kReachOnlyNew : rules_text::kReachNone)
                          : Text(rules_text::kReachSome, others.size(), QuotedList(rules, others));
  plan.notes.push_back(Text(kind.added, RuleText(Quote(value), rules.CodePage()), reach));
}

// The file's line end: CR LF unless it already uses LF alone.
std::string LineEndOf(const std::string& content) {
  size_t lf = content.find('\n');
  return lf != std::string::npos && (lf == 0 || content[lf - 1] != '\r') ? "\n" : "\r\n";
}

#ifdef _WIN32
// The open windows that the rules now close and did not before the change.
void ListNewlyClosed(const AddPlan& plan) {
  RuleSet after(plan.before.CodePage());
  after.LoadFolder(plan.dir);
  int count = 0;
  for (const OpenWindow& window : TopLevelWindows()) {
    Verdict verdict = after.Judge(window.className, window.title);
    if (!verdict.Closes() || plan.before.Judge(window.className, window.title).Closes()) continue;
    DWORD processId = 0;
    GetWindowThreadProcessId(window.handle, &processId);
    Say(Text(rules_text::kNewRulesMatch, HandleText(window.handle),
             PathText(ProcessName(processId)), RuleText(Quote(window.className), after.CodePage()),
             RuleText(Quote(window.title), after.CodePage())));
    ++count;
  }
  if (count == 0) Say(Text(rules_text::kNewRulesMatchNone));
}
#endif

// A file saved in another encoding than the code page gets no text but ASCII appended: the
// file would then hold two encodings, and no editor would show it all. ASCII lines are taken,
// with a warning, since the file's own rules other than ASCII do not match as it is.
int CheckFileEncoding(AddPlan& plan) {
  const RuleSet& rules = plan.before;
  std::string content;
  if (plan.lines.empty() || ReadWholeFile(plan.path, content) != FileRead::kRead) return kClean;
  std::string encoding = OtherEncoding(content, rules.CodePage());
  if (encoding.empty()) return kClean;
  std::string path = PathText(plan.path), codePage = CodePageName(rules.CodePage());
  bool bom = content.compare(0, 3, kBom) == 0;
  std::string fix = bom ? SaveWithoutBom(rules.CodePage()) : SaveIn(rules.CodePage());
  // On a system set to UTF-8 a byte order mark spoils only the first line: UTF-8 text mixes
  // nothing there.
  bool mixes = !(bom && rules.CodePage() == CP_UTF8 && IsCodePageText(content.substr(3), CP_UTF8));
  bool ascii = true;
  for (const std::string& line : plan.lines) ascii = ascii && IsAscii(line);
  if (!ascii && mixes) {
    Complain(rules_text::kMixedRefused, path, encoding, codePage, fix);
    return kUnavailable;
  }
  plan.warnings.push_back(Text(rules_text::kFileInOtherEncoding, path, encoding, codePage, fix));
  return kClean;
}

// The comment a new file starts with, in the user's language where the code page holds it.
std::string NewFileComment(unsigned codePage) {
  bool lost = false;
  std::string comment = ToCodePage(Text(rules_text::kNewFileComment), codePage, &lost);
  return lost ? TextIn(Language::kEnglish, rules_text::kNewFileComment) : comment;
}

// Says why nothing was added, and what to do; true when the file was written.
bool Written(WriteOutcome outcome, const AddPlan& plan) {
  std::string path = PathText(plan.path);
  switch (outcome) {
    case WriteOutcome::kWritten: return true;
    case WriteOutcome::kReadOnly: Complain(rules_text::kReadOnly, path); break;
    case WriteOutcome::kBusy: Complain(rules_text::kRulesBusy, path); break;
    case WriteOutcome::kProtected:
      Complain(rules_text::kFolderProtected, PathText(plan.dir));
      break;
    case WriteOutcome::kFailed: Complain(rules_text::kCannotWrite, path); break;
  }
  return false;
}

}  // namespace

int PlanAdd(const std::string& given, const std::string* className, const std::string* fragment,
            AddPlan& plan) {
  for (auto value :
       {std::make_pair(&kClassKind, className), std::make_pair(&kTitleKind, fragment)}) {
    if (!value.second) continue;
    std::vector<std::string> warnings;
    std::string why = Refusal(*value.first, *value.second, plan.before.CodePage(), warnings);
    std::string what =
        RuleText(value.first->keyword + (" " + Quote(*value.second)), plan.before.CodePage());
    if (!why.empty()) {
      Complain(rules_text::kRefused, what, why);
      return kUsage;
    }
    for (const std::string& warning : warnings) {
      plan.warnings.push_back(Text(rules_text::kAddWarning, what, warning));
    }
  }
  int opened = OpenFolder(given, plan.before);
  if (opened != kClean) return opened;
  plan.dir = WithSeparator(given);
  plan.path = plan.dir + kCustomRulesFile;
  if (IsReadOnlyFile(plan.path)) {
    // Windows refuses to write it even to an administrator; say so before showing any plan.
    Complain(rules_text::kReadOnly, PathText(plan.path));
    return kUnavailable;
  }
  for (const auto& copy : VirtualStoreCopies(plan.dir)) {
    plan.warnings.push_back(Text(rules_text::kAddWarning, copy.first, copy.second));
  }
  std::vector<const LineReport*> classes = plan.before.Rules(kClassKind);
  std::vector<const LineReport*> fragments = plan.before.Rules(kTitleKind);
  if (className) PlanOne(kClassKind, *className, fragments, fragment != nullptr, plan);
  if (fragment) PlanOne(kTitleKind, *fragment, classes, className != nullptr, plan);
  return CheckFileEncoding(plan);
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
  std::string end = LineEndOf(content);
  std::string text = exists ? "" : NewFileComment(rules.CodePage()) + end;
  if (!content.empty() && content.back() != '\n') text += end;  // finish the last line first
  for (const std::string& line : plan.lines) text += line + end;
  if (!Written(WriteRuleFile(plan.path, content + text), plan)) return kUnavailable;
  Say(Text(exists ? rules_text::kAddedTo : rules_text::kCreated, PathText(plan.path)));
#ifdef _WIN32
  ListNewlyClosed(plan);
#endif
  // Each program reads the rules once, when the closer first reaches it.
  Say(Text(rules_text::kAfterEditing));
  return plan.warnings.empty() ? kClean : kWarnings;
}

int RunAdd(Arguments& args) {
  bool haveClass = args.Has(OptionId::ClassRule), haveTitle = args.Has(OptionId::Fragment);
  if (!haveClass && !haveTitle) return UsageError(rules_text::kAddNeeds);
  AddPlan plan(args.CodePage());
  int planned = PlanAdd(args.Folder(), haveClass ? &args.Text(OptionId::ClassRule) : nullptr,
                        haveTitle ? &args.Text(OptionId::Fragment) : nullptr, plan);
  if (planned != kClean) return planned;
  ShowPlan(plan);
  return ApplyAdd(plan);
}

}  // namespace rules_cli
