// lunet-rules check: what each line of the rule files does, and what may surprise.
#include <stdio.h>
#include <windows.h>

#include "closer/rules.h"
#include "commands.h"
#include "console_text.h"
#include "is_directory.h"

namespace rules_cli {

namespace {

// Prints the findings of one file; returns the number of warnings.
int PrintFile(const FileReport& file, bool quiet) {
  int warnings = 0;
  if (file.state == FileState::Empty) {
    // Nothing to load from an empty file; whether any rules remain is the set's concern.
    if (!quiet) Out(file.path + ": " + StateText(file.state) + "\n");
    return 0;
  }
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

std::string Repeats(LineEffect kind, const std::string& earlier) {
  return kind == LineEffect::ClassRule
             ? "the same class as the class rule at " + earlier +
                   " (letter case aside): this line adds nothing"
             : "the same title fragment as at " + earlier + ": this line adds nothing";
}

// A rule equal to an earlier one adds nothing: class rules compared as the module compares class
// names, ASCII letter case folded; title fragments byte for byte.
void MarkDuplicates(std::vector<FileReport>& files, LineEffect kind) {
  std::vector<std::pair<const FileReport*, const LineReport*>> seen;
  for (FileReport& file : files) {
    for (LineReport& line : file.lines) {
      if (line.effect != kind) continue;
      for (const auto& earlier : seen) {
        if (!SameRule(earlier.second->text, line.text, kind)) continue;
        line.warnings.push_back(Repeats(kind, Where(*earlier.first, *earlier.second)));
        break;
      }
      seen.push_back({&file, &line});
    }
  }
}

// How the two kinds of rules combine, which a reader of two separate lists may not expect.
std::string CrossProduct(const std::vector<FileReport>& files) {
  size_t classes = RulesOf(files, LineEffect::ClassRule).size();
  size_t titles = RulesOf(files, LineEffect::TitleRule).size();
  if (classes == 0 || titles == 0 || classes + titles == 2) return "";
  std::string fragments = titles == 1
                              ? std::string("the title fragment")
                              : "each of the " + std::to_string(titles) + " title fragments";
  std::string rules = classes == 1 ? std::string("the class rule")
                                   : "each of the " + std::to_string(classes) + " class rules";
  return fragments + " applies to " + rules +
         ": a window of any listed class whose title holds any fragment is closed";
}

int CheckPath(const std::string& path, bool quiet) {
  std::vector<FileReport> files;
  bool directory = IsDirectory(path);
  std::string dir = directory ? WithSeparator(path) : "";
  if (directory) {
    files = WalkDirectory(dir);
    RulesHold hold;
    LoadRules(dir.c_str());
  } else {
    files.push_back(ReportRuleFile(path, RuleCodePage()));
    RulesHold hold;
    ClearRules();
    LoadRuleFile(path.c_str());
  }
  if (!StoreHolds(files)) return InternalError(path);
  MarkDuplicates(files, LineEffect::ClassRule);
  MarkDuplicates(files, LineEffect::TitleRule);
  int warnings = 0;
  for (const FileReport& file : files) warnings += PrintFile(file, quiet);
  for (const std::string& warning : SetWarnings(files)) {
    Out(path + ": warning: " + warning + (directory ? "\n" : " (this file read alone)\n"));
    ++warnings;
  }
  std::string product = CrossProduct(files);
  if (!quiet && !product.empty()) Out(path + ": " + product + "\n");
  Out(path + ": " + Counts(files) + ", " + std::to_string(warnings) +
      (warnings == 1 ? " warning\n" : " warnings\n"));
  return warnings ? kWarnings : kClean;
}

}  // namespace

int RunCheck(const Arguments& args) {
  std::vector<std::string> paths = args.paths;
  if (paths.empty()) paths.push_back(".");
  int result = kClean;
  for (const std::string& path : paths) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      result = NotAFolder(path) > result ? kUsage : result;
      continue;
    }
    int one = CheckPath(path, args.Has("--quiet"));
    if (one > result) result = one;
  }
  return result;
}

}  // namespace rules_cli
