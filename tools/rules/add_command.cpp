// lunet-rules add: appends rules to killwnd_custom.txt, refusing what cannot work and saying what
// the change does across the two lists. pick ends here too.
#include <stdio.h>
#include <windows.h>

#include "closer/rules.h"
#include "commands.h"
#include "console_text.h"
#include "owned.h"
#include "shared/plugin_folder.h"

#ifdef _WIN32
#include "desktop.h"
#endif

namespace rules_cli {

namespace {

const char kNewFileComment[] =
    "// Your own rules, read after killwnd.txt: class,NAME and title,TEXT lines.";

// Why the value cannot be a rule of that kind, or "" when it can; what it can be with a surprise
// goes to warnings.
std::string Refusal(LineEffect kind, const std::string& value, std::vector<std::string>& warnings) {
  unsigned faults = CheckRuleValue(value);
  for (ValueFault fault : kValueFaults) {
    if (!Has(faults, fault)) continue;
    if (Refused(fault)) return FaultText(fault, kind, value, true);
    warnings.push_back(FaultText(fault, kind, value, true));
  }
  return "";
}

bool ReadOnly(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string QuotedList(const std::vector<const LineReport*>& rules) {
  std::string list;
  for (const LineReport* rule : rules) list += (list.empty() ? "" : ", ") + Quote(rule->text);
  return list;
}

// The rule already loaded that the module would count as the same, or null.
const LineReport* Existing(const std::vector<FileReport>& files, LineEffect kind,
                           const std::string& value) {
  for (const LineReport* rule : RulesOf(files, kind)) {
    if (SameRule(rule->text, value, kind)) return rule;
  }
  return nullptr;
}

// Plans one rule: skipped when the module already has its like, else appended, with what it
// applies to in the other list (others; otherGiven when that list gains a rule now too).
void PlanOne(const std::vector<FileReport>& files, LineEffect kind, const std::string& value,
             const std::vector<const LineReport*>& others, bool otherGiven, AddPlan& plan) {
  bool isClass = kind == LineEffect::ClassRule;
  const char* what = isClass ? "class rule " : "title fragment ";
  if (const LineReport* rule = Existing(files, kind, value)) {
    plan.notes.push_back(std::string("the ") + what + Quote(rule->text) + " is there already (" +
                         Located(files, rule) + "): not added again");
    return;
  }
  plan.lines.push_back((isClass ? "class," : "title,") + value);
  std::string reach =
      others.empty()
          ? (otherGiven ? " (only the new one)" : ": there is none yet, so it closes nothing")
          : " (" + std::to_string(others.size()) + " already: " + QuotedList(others) + ")";
  plan.notes.push_back(
      std::string("the new ") + what + Quote(value) +
      (isClass ? " applies with every title fragment" : " applies to every class rule") + reach);
}

// The file's line end: CR LF unless it already uses LF alone.
std::string LineEndOf(const std::string& content) {
  size_t lf = content.find('\n');
  return lf != std::string::npos && (lf == 0 || content[lf - 1] != '\r') ? "\n" : "\r\n";
}

bool ReadWhole(const std::string& path, std::string& content, bool& exists) {
  OwnedFile file(path.c_str(), "rb");
  exists = file.get() != nullptr;
  content.clear();
  if (!exists) return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
  char chunk[4096];
  size_t read;
  while ((read = fread(chunk, 1, sizeof chunk, file.get())) > 0) content.append(chunk, read);
  return !ferror(file.get());
}

#ifdef _WIN32
// The open windows that the rules now close and did not before the change.
void ListNewlyClosed(const std::string& dir, const std::vector<FileReport>& before) {
  std::vector<OpenWindow> windows = TopLevelWindows();
  std::vector<bool> closedBefore;
  for (const OpenWindow& window : windows) {
    closedBefore.push_back(Judge(before, window.className, window.title).Closes());
  }
  {
    RulesHold hold;
    ClearRules();  // the next match reads the files as they are now
  }
  std::vector<FileReport> after = WalkDirectory(dir);
  int count = 0;
  for (size_t i = 0; i < windows.size(); ++i) {
    Verdict verdict = Judge(after, windows[i].className, windows[i].title);
    if (closedBefore[i] || !verdict.Closes()) continue;
    DWORD processId = 0;
    GetWindowThreadProcessId(windows[i].handle, &processId);
    Out("  the new rules match the open window " + HandleText(windows[i].handle) + " of " +
        ProcessName(processId) + ", " + Told(verdict, Tell::Window) + "\n");
    ++count;
  }
  if (count == 0) Out("the new rules match no window open now\n");
}
#endif

// Each program reads the rules once, when the closer first reaches it.
const char kAfterEditing[] =
    "programs started from now on use the new rules; a program already running keeps the rules "
    "it read until it is restarted\n";

}  // namespace

int PlanAdd(const std::string& given, const std::string* className, const std::string* fragment,
            AddPlan& plan) {
  for (auto value : {std::make_pair(LineEffect::ClassRule, className),
                     std::make_pair(LineEffect::TitleRule, fragment)}) {
    if (!value.second) continue;
    std::vector<std::string> warnings;
    std::string why = Refusal(value.first, *value.second, warnings);
    const char* kind = value.first == LineEffect::ClassRule ? "class " : "title ";
    if (!why.empty()) {
      fflush(stdout);
      WriteText(stderr, "lunet-rules: " + (kind + Quote(*value.second)) + " refused: " + why + "\n",
                RuleCodePage());
      return kUsage;
    }
    for (const std::string& warning : warnings) {
      plan.warnings.push_back(kind + Quote(*value.second) + ": " + warning);
    }
  }
  std::vector<FileReport> files;
  int used = UseDirectory(given, files);
  if (used != kClean) return used;
  plan.dir = WithSeparator(given);
  plan.path = plan.dir + kCustomRulesFile;
  if (ReadOnly(plan.path)) {
    // Windows refuses to write it even to an administrator; say so before showing any plan.
    fprintf(stderr, "lunet-rules: %s: read-only: nothing added\n", plan.path.c_str());
    return kUnavailable;
  }
  plan.before = files;
  std::vector<const LineReport*> classes = RulesOf(files, LineEffect::ClassRule);
  std::vector<const LineReport*> fragments = RulesOf(files, LineEffect::TitleRule);
  if (className)
    PlanOne(files, LineEffect::ClassRule, *className, fragments, fragment != nullptr, plan);
  if (fragment)
    PlanOne(files, LineEffect::TitleRule, *fragment, classes, className != nullptr, plan);
  return kClean;
}

void ShowPlan(const AddPlan& plan) {
  for (const std::string& line : plan.lines) Out("add to " + plan.path + ": " + line + "\n");
  for (const std::string& note : plan.notes) Out(note + "\n");
  for (const std::string& warning : plan.warnings) Out("warning: " + warning + "\n");
}

int ApplyAdd(const AddPlan& plan) {
  if (plan.lines.empty()) {
    Out("nothing to add\n");
    return kClean;
  }
  std::string content;
  bool exists = false;
  if (!ReadWhole(plan.path, content, exists)) {
    fprintf(stderr, "lunet-rules: %s: cannot be read\n", plan.path.c_str());
    return kUnavailable;
  }
  std::string end = LineEndOf(content);
  std::string text = exists ? "" : kNewFileComment + end;
  if (!content.empty() && content.back() != '\n') text += end;  // finish the last line first
  for (const std::string& line : plan.lines) text += line + end;
  OwnedFile file(plan.path.c_str(), "ab");
  bool written = file.get() && fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  if (!file.Close()) written = false;
  if (!written) {
    fprintf(stderr, "lunet-rules: %s: cannot be written (read-only, or in use?): nothing added\n",
            plan.path.c_str());
    return kUnavailable;
  }
  Out(std::string(exists ? "added to " : "created ") + plan.path + "\n");
#ifdef _WIN32
  ListNewlyClosed(plan.dir, plan.before);
#endif
  Out(kAfterEditing);
  return plan.warnings.empty() ? kClean : kWarnings;
}

int RunAdd(const Arguments& args) {
  bool haveClass = args.Has("--class"), haveTitle = args.Has("--title");
  if (!haveClass && !haveTitle) return UsageError("add needs --class NAME, --title TEXT or both");
  AddPlan plan;
  int planned = PlanAdd(args.Folder(), haveClass ? &args.Text("--class") : nullptr,
                        haveTitle ? &args.Text("--title") : nullptr, plan);
  if (planned != kClean) return planned;
  ShowPlan(plan);
  return ApplyAdd(plan);
}

}  // namespace rules_cli
