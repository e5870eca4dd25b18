// The commands of lunet-rules and what they share: output, exit codes, the rule directory, and
// the verdict of the module's own matcher on a window.
#pragma once

#include <string>
#include <vector>

#include "arguments.h"
#include "rule_walk.h"

namespace rules_cli {

// kUnavailable: what a command needs is held by another program or cannot be opened.
enum Exit { kClean = 0, kWarnings = 1, kUsage = 2, kInternal = 3, kUnavailable = 4 };

// Each command takes its parsed arguments and returns the exit status.
int RunCheck(const Arguments& args);
int RunTest(const Arguments& args);
int RunAdd(const Arguments& args);
#ifdef _WIN32
int RunScan(const Arguments& args);
int RunWatch(const Arguments& args);
int RunPick(const Arguments& args);
#endif

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

// The usage error for a folder that is missing ("no such file or directory", as check says of
// any path) or a file.
int NotAFolder(const std::string& given);
// Loads the directory's rules the way the hook does: lazily, from PluginDir, on the first match.
int UseDirectory(const std::string& given, std::vector<FileReport>& files);

// Whether the module counts two rules of a kind as the same: class rules with ASCII letter case
// folded, title fragments byte for byte.
bool SameRule(const std::string& a, const std::string& b, LineEffect kind);

// Whether the matcher takes the text for a rule of the kind; an empty rule matches nothing here.
bool RuleMatches(const std::string& rule, LineEffect kind, const std::string& text);

// What the hook reads of a window text.
std::string Cut(const std::string& text);

// The module's answer on a window, with the rules in the files that made it.
struct Verdict {
  const std::vector<FileReport>* files = nullptr;
  std::string className, title;
  const LineReport* classRule = nullptr;
  const LineReport* titleFragment = nullptr;
  bool consistent = true;
  bool Closes() const { return titleFragment != nullptr; }
};
// Asks the module's matcher, then names the rules of its store that made it answer so.
Verdict Judge(const std::vector<FileReport>& files, const std::string& className,
              const std::string& title);

// The parts of a verdict as every command tells them:
//   Window     class "C" title "T"
//   ClassRule  class rule "X" (FILE:LINE)      TitleFragment  title fragment "Y" (FILE:LINE)
//   Rules      class rule "X" (FILE:LINE) and title fragment "Y" (FILE:LINE)
//   Lines      class rule FILE:LINE, title fragment FILE:LINE
// A rule as every command names it: "class rule "X" (FILE:LINE)", or "class rule FILE:LINE".
std::string Named(const std::vector<FileReport>& files, const LineReport* rule, bool withText);
enum class Tell { Window, ClassRule, TitleFragment, Rules, Lines };
std::string Told(const Verdict& verdict, Tell part);

// Why a class rule or title fragment that did not match would have: its byte order mark, spaces
// at its ends, or (for a fragment) letter case; "" when none of these explains it.
std::string NearMiss(const LineReport& rule, LineEffect kind, const std::string& text);

// Rules to append to killwnd_custom.txt, and what they change; add applies them at once, pick
// after showing them.
struct AddPlan {
  std::string dir;   // with its separator
  std::string path;  // the custom rule file
  std::vector<FileReport> before;
  std::vector<std::string> lines;  // "class,NAME" and "title,TEXT" not there yet
  std::vector<std::string> notes;  // what is skipped, and what each new rule applies to
  std::vector<std::string> warnings;  // what in a value taken may surprise
};
// Refuses a value that cannot work (with the reason on stderr, exit 2), and a read-only file
// (exit 4), before anything is shown; null means not given.
int PlanAdd(const std::string& dir, const std::string* className, const std::string* fragment,
            AddPlan& plan);
void ShowPlan(const AddPlan& plan);
// Appends in the file's own line ends (CR LF for a new file, which starts with a comment), then
// lists the open windows now closed (Windows) and what running programs do.
int ApplyAdd(const AddPlan& plan);

}  // namespace rules_cli
