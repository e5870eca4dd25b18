// lunet-rules: tells what the rule files will do before the closer is switched on. Everything
// is decided by the module's own loader and matcher, linked in, never by a copy of them.
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include <string>
#include <vector>

#include "closer/hook.h"
#include "closer/rules.h"
#include "console_text.h"
#include "harness/temp_dir.h"
#include "host/shared_state.h"
#include "rule_walk.h"

namespace {

enum Exit { kClean = 0, kWarnings = 1, kUsage = 2, kInternal = 3 };
enum { kClosed = 0, kLeftOpen = 1 };

const char kUsageText[] =
    "usage: lunet-rules check [-q] [DIR|FILE]...\n"
    "       lunet-rules test --class NAME --title TEXT [DIR]\n"
    "       lunet-rules scan [--all] [DIR]\n"
    "\n"
    "Reads the rule files killwnd.txt and killwnd_custom.txt with the plug-in's own loader and\n"
    "matcher. DIR defaults to the current directory.\n"
    "\n"
    "  check  lists what each line of the rule files does, and warns about every line that\n"
    "         does nothing or more than it seems to: a keyword alone, an unknown keyword, a\n"
    "         space next to the keyword, a third field, an empty title fragment, title rules\n"
    "         without any class rule, non-ASCII text, a file that is missing or empty.\n"
    "         A FILE is read on its own; a DIR reads both files as the plug-in does.\n"
    "         -q shows only the warnings. Exit 0 when clean, 1 on warnings, 2 on usage errors.\n"
    "  test   says whether a window with that class name and title would be closed, and by\n"
    "         which rules; like the plug-in it reads only the first 254 bytes of each.\n"
    "         Exit 0 when it would be closed, 1 when it would stay open.\n"
    "  scan   (Windows) lists the top-level windows open now that the rules would close,\n"
    "         without closing anything; --all lists the others too.\n"
    "\n"
    "Rule files are text in the system's ANSI code page, one rule a line:\n"
    "  class,WindowClass     close windows of this class (letter case ignored) ...\n"
    "  title,Fragment        ... whose title contains this text (letter case counts)\n"
    "  // a comment\n";

void Out(const std::string& text) { WriteText(stdout, text, CP_ACP); }

int UsageError(const std::string& message) {
  fprintf(stderr, "lunet-rules: %s\n(lunet-rules --help tells more)\n", message.c_str());
  return kUsage;
}

// The module appends file names to the directory as they are, so it needs the separator.
std::string WithSeparator(std::string dir) {
  if (dir.empty()) dir = ".";
  char last = dir.back();
  if (last != '/' && last != '\\') {
#ifdef _WIN32
    dir += '\\';
#else
    dir += '/';
#endif
  }
  return dir;
}

std::vector<FileReport> WalkDirectory(const std::string& dir) {
  return {WalkRuleFile(dir + "killwnd.txt"), WalkRuleFile(dir + "killwnd_custom.txt")};
}

std::string Where(const FileReport& file, const LineReport& line) {
  return file.path + ":" + std::to_string(line.line);
}

std::string Counts(const std::vector<FileReport>& files) {
  size_t classes = RulesOf(files, LineEffect::ClassRule).size();
  size_t titles = RulesOf(files, LineEffect::TitleRule).size();
  return std::to_string(classes) + (classes == 1 ? " class rule, " : " class rules, ") +
         std::to_string(titles) + (titles == 1 ? " title fragment" : " title fragments");
}

// Prints the findings of one file; returns the number of warnings.
int PrintFile(const FileReport& file, bool quiet) {
  int warnings = 0;
  if (file.state != FileState::Read) {
    Out(file.path + ": warning: " + StateText(file.state) + "\n");
    return 1;
  }
  for (const std::string& warning : file.warnings) {
    Out(file.path + ": warning: " + warning + "\n");
    ++warnings;
  }
  for (const LineReport& line : file.lines) {
    if (!quiet && line.effect == LineEffect::ClassRule) {
      Out(Where(file, line) + ": class rule " + Quote(line.text) + "\n");
    } else if (!quiet && line.effect == LineEffect::TitleRule) {
      Out(Where(file, line) + ": title fragment " + Quote(line.text) + "\n");
    }
    for (const std::string& warning : line.warnings) {
      Out(Where(file, line) + ": warning: " + warning + "\n");
      ++warnings;
    }
  }
  return warnings;
}

int InternalError(const std::string& path) {
  fprintf(stderr,
          "lunet-rules: internal error: the module's loader stored other rules from %s than "
          "this check found\n",
          path.c_str());
  return kInternal;
}

int CheckPath(const std::string& path, bool quiet) {
  std::vector<FileReport> files;
  bool directory = IsDirectory(path);
  std::string dir = directory ? WithSeparator(path) : "";
  if (directory) {
    files = WalkDirectory(dir);
    RulesExclusive hold;
    LoadRules(dir.c_str());
  } else {
    files.push_back(WalkRuleFile(path));
    RulesExclusive hold;
    ClearRules();
    LoadRuleFile(path.c_str());
  }
  if (!StoreHolds(files)) return InternalError(path);
  int warnings = 0;
  for (const FileReport& file : files) warnings += PrintFile(file, quiet);
  for (const std::string& warning : SetWarnings(files)) {
    Out(path + ": warning: " + warning + (directory ? "\n" : " (this file read alone)\n"));
    ++warnings;
  }
  Out(path + ": " + Counts(files) + ", " + std::to_string(warnings) +
      (warnings == 1 ? " warning\n" : " warnings\n"));
  return warnings ? kWarnings : kClean;
}

int RunCheck(const std::vector<std::string>& args) {
  bool quiet = false;
  std::vector<std::string> paths;
  for (const std::string& arg : args) {
    if (arg == "-q" || arg == "--quiet") {
      quiet = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("check: unknown option " + arg);
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.empty()) paths.push_back(".");
  int result = kClean;
  for (const std::string& path : paths) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      fprintf(stderr, "lunet-rules: %s: no such file or directory\n", path.c_str());
      result = kUsage > result ? kUsage : result;
      continue;
    }
    int one = CheckPath(path, quiet);
    if (one > result) result = one;
  }
  return result;
}

// Loads the directory's rules the way the hook does: lazily, from PluginDir, on the first match.
int UseDirectory(const std::string& given, std::vector<FileReport>& files) {
  if (!IsDirectory(given)) return UsageError(given + ": not a directory");
  std::string dir = WithSeparator(given);
  if (dir.size() >= sizeof SharedState.PluginDir) return UsageError(given + ": path too long");
  memcpy(SharedState.PluginDir, dir.c_str(), dir.size() + 1);
  files = WalkDirectory(dir);
  return kClean;
}

const LineReport* FirstMatch(const std::vector<FileReport>& files, LineEffect kind,
                             const std::string& text) {
  for (const LineReport* rule : RulesOf(files, kind)) {
    if (kind == LineEffect::ClassRule ? CompareNoCaseAscii(text.c_str(), rule->text.c_str()) == 0
                                      : strstr(text.c_str(), rule->text.c_str()) != nullptr) {
      return rule;
    }
  }
  return nullptr;
}

std::string Located(const std::vector<FileReport>& files, const LineReport* rule) {
  for (const FileReport& file : files) {
    for (const LineReport& line : file.lines) {
      if (&line == rule) return Where(file, line);
    }
  }
  return "?";
}

// What the hook reads of a window text.
std::string Cut(const std::string& text) { return text.substr(0, kHookTextBytes); }

struct Verdict {
  const LineReport* classRule = nullptr;
  const LineReport* titleFragment = nullptr;
  bool consistent = true;
};

// Asks the module's matcher, then names the rules that made it answer so.
Verdict Judge(const std::vector<FileReport>& files, const std::string& className,
              const std::string& title) {
  Verdict verdict;
  int classMatch = MatchClass(className.c_str());
  verdict.classRule = FirstMatch(files, LineEffect::ClassRule, className);
  verdict.consistent = StoreHolds(files) && classMatch == (verdict.classRule != nullptr);
  if (!classMatch) return verdict;
  int titleMatch = MatchTitle(title.c_str());
  verdict.titleFragment = FirstMatch(files, LineEffect::TitleRule, title);
  verdict.consistent = verdict.consistent && titleMatch == (verdict.titleFragment != nullptr);
  return verdict;
}

int RunTest(const std::vector<std::string>& args) {
  std::string className, title, dir = ".";
  bool haveClass = false, haveTitle = false, haveDir = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--class" || args[i] == "--title") && i + 1 < args.size()) {
      (args[i] == "--class" ? className : title) = args[i + 1];
      (args[i] == "--class" ? haveClass : haveTitle) = true;
      ++i;
    } else if ((args[i].empty() || args[i][0] != '-') && !haveDir) {
      dir = args[i];
      haveDir = true;
    } else {
      return UsageError("test: unexpected argument " + args[i]);
    }
  }
  if (!haveClass || !haveTitle) return UsageError("test needs --class NAME and --title TEXT");
  std::vector<FileReport> files;
  int used = UseDirectory(dir, files);
  if (used != kClean) return used;

  Out("rules in " + WithSeparator(dir) + ": " + Counts(files) + "\n");
  std::string readClass = Cut(className), readTitle = Cut(title);
  if (readClass != className) Out("the hook reads only the first 254 bytes of the class name\n");
  if (readTitle != title) Out("the hook reads only the first 254 bytes of the title\n");
  Verdict verdict = Judge(files, readClass, readTitle);
  if (!verdict.consistent) return InternalError(WithSeparator(dir));
  if (!verdict.classRule) {
    Out("class " + Quote(readClass) + " matches no class rule\nleft open\n");
    return kLeftOpen;
  }
  Out("class " + Quote(readClass) + " matches the class rule " + Quote(verdict.classRule->text) +
      " (" + Located(files, verdict.classRule) + ")\n");
  if (!verdict.titleFragment) {
    Out("title " + Quote(readTitle) + " contains no title fragment\nleft open\n");
    return kLeftOpen;
  }
  Out("title " + Quote(readTitle) + " contains the title fragment " +
      Quote(verdict.titleFragment->text) + " (" + Located(files, verdict.titleFragment) + ")\n");
  Out("closed: the plug-in asks such a window to close each time its title is redrawn\n");
  return kClosed;
}

#ifdef _WIN32
BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// Reads a window text as the hook does: 255 with the NUL, a failed query counting as empty.
std::string HookText(HWND window, int(WINAPI* query)(HWND, LPSTR, int)) {
  char text[256];
  if (query(window, text, 255) <= 0) text[0] = 0;
  text[254] = 0;
  return text;
}

int RunScan(const std::vector<std::string>& args) {
  bool all = false, haveDir = false;
  std::string dir = ".";
  for (const std::string& arg : args) {
    if (arg == "--all") {
      all = true;
    } else if (haveDir || (!arg.empty() && arg[0] == '-')) {
      return UsageError("scan: unexpected argument " + arg);
    } else {
      dir = arg;
      haveDir = true;
    }
  }
  std::vector<FileReport> files;
  int used = UseDirectory(dir, files);
  if (used != kClean) return used;
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  int closing = 0;
  for (HWND window : windows) {
    std::string className = HookText(window, GetClassNameA);
    std::string title = HookText(window, GetWindowTextA);
    Verdict verdict = Judge(files, className, title);
    if (!verdict.consistent) return InternalError(WithSeparator(dir));
    bool closes = verdict.titleFragment != nullptr;
    if (!closes && !all) continue;
    char handle[32];
    snprintf(handle, sizeof handle, "%p", static_cast<void*>(window));
    std::string line = std::string(closes ? "would close" : "left open  ") + " window " + handle +
                       (IsWindowVisible(window) ? "" : " (hidden)") + " class " + Quote(className) +
                       " title " + Quote(title);
    if (closes) {
      line += " (class rule " + Located(files, verdict.classRule) + ", title fragment " +
              Located(files, verdict.titleFragment) + ")";
      ++closing;
    }
    Out(line + "\n");
  }
  Out(std::to_string(closing) + " of " + std::to_string(windows.size()) +
      " top-level windows would be closed\n");
  return kClean;
}
#else
int RunScan(const std::vector<std::string>&) {
  return UsageError("scan lists the windows open on a Windows desktop: run the Windows build");
}
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageError("no command given");
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "--help" || command == "-h" || command == "help") {
    fputs(kUsageText, stdout);
    return kClean;
  }
  if (command == "check") return RunCheck(args);
  if (command == "test") return RunTest(args);
  if (command == "scan") return RunScan(args);
  return UsageError("unknown command " + command);
}
