// lunet-rules check: what each line of the rule files does, and what may surprise.
#include <stdio.h>
#include <windows.h>

#include "closer/rules.h"
#include "commands.h"
#include "console_text.h"
#include "harness/temp_dir.h"

namespace {

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

}  // namespace

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
