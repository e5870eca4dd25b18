// The commands of lunet-rules and what they share: output, exit codes, the rule directory, and
// the verdict of the module's own matcher on a window.
#pragma once

#include <string>
#include <vector>

#include "rule_walk.h"

// kUnavailable: what a command needs is held by another program or cannot be opened.
enum Exit { kClean = 0, kWarnings = 1, kUsage = 2, kInternal = 3, kUnavailable = 4 };

// Each command takes the arguments after its name and returns the exit status; test also takes
// them in UTF-8 as they were typed, for the window texts.
int RunCheck(const std::vector<std::string>& args);
int RunTest(const std::vector<std::string>& args, const std::vector<std::string>& typed);
int RunScan(const std::vector<std::string>& args);
int RunWatch(const std::vector<std::string>& args);
int RunAdd(const std::vector<std::string>& args, const std::vector<std::string>& typed);
int RunPick(const std::vector<std::string>& args);

// The ANSI code page of the system the rules are for: on Windows this system's, natively 1252,
// unless --codepage names another. SetRuleCodePage takes the option's value.
unsigned RuleCodePage();
int SetRuleCodePage(const std::string& value);

// Text of the rule files or of windows, in the rules' code page, to stdout.
void Out(const std::string& text);
int UsageError(const std::string& message);
int InternalError(const std::string& path);

// The module appends file names to the directory as they are, so it needs the separator.
std::string WithSeparator(std::string dir);
std::vector<FileReport> WalkDirectory(const std::string& dir);
// "FILE:LINE" of a line, and of a rule found among the files' lines.
std::string Where(const FileReport& file, const LineReport& line);
std::string Located(const std::vector<FileReport>& files, const LineReport* rule);
// "N class rules, M title fragments".
std::string Counts(const std::vector<FileReport>& files);

// Loads the directory's rules the way the hook does: lazily, from PluginDir, on the first match.
int UseDirectory(const std::string& given, std::vector<FileReport>& files);

// Whether the module counts two rules of a kind as the same: class rules with ASCII letter case
// folded, title fragments byte for byte.
bool SameRule(const std::string& a, const std::string& b, LineEffect kind);

// What the hook reads of a window text.
std::string Cut(const std::string& text);

struct Verdict {
  const LineReport* classRule = nullptr;
  const LineReport* titleFragment = nullptr;
  bool consistent = true;
};
// Why a class rule or title fragment that did not match would have: its byte order mark, spaces
// at its ends, or (for a fragment) letter case; "" when none of these explains it.
std::string NearMiss(const LineReport& rule, LineEffect kind, const std::string& text);

// Asks the module's matcher, then names the rules that made it answer so.
Verdict Judge(const std::vector<FileReport>& files, const std::string& className,
              const std::string& title);

// Rules to append to killwnd_custom.txt, and what they change; add applies them at once, pick
// after showing them.
struct AddPlan {
  std::string dir;   // with its separator
  std::string path;  // the custom rule file
  std::vector<FileReport> before;
  std::vector<std::string> lines;  // "class,NAME" and "title,TEXT" not there yet
  std::vector<std::string> notes;  // what is skipped, and what each new rule applies to
};
// Refuses a value that cannot work (with the reason on stderr, exit 2); null means not given.
int PlanAdd(const std::string& dir, const std::string* className, const std::string* fragment,
            AddPlan& plan);
void ShowPlan(const AddPlan& plan);
// Appends in the file's own line ends (CR LF for a new file, which starts with a comment), then
// lists the open windows now closed (Windows) and what running programs do.
int ApplyAdd(const AddPlan& plan);
