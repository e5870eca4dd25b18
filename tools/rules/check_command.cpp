// lunet-rules check: what each line of the rule files does, and what may surprise.
#include <stdio.h>
#include <windows.h>

#include "commands.h"
#include "console_text.h"
#include "is_directory.h"
#include "output.h"
#include "rule_set.h"

namespace rules_cli {

namespace {

// Prints the findings of one file; returns the number of warnings.
int PrintFile(const RuleSet& rules, const FileReport& file, bool quiet) {
  int warnings = 0;
  if (file.state == FileState::Empty) {
    // Nothing to load from an empty file; whether any rules remain is the set's concern.
    if (!quiet) rules.Out(file.path + ": " + StateText(file.state) + "\n");
    return 0;
  }
  if (file.state != FileState::Read) {
    rules.Out(file.path + ": warning: " + StateText(file.state) + "\n");
    return 1;
  }
  for (const std::string& warning : file.warnings) {
    rules.Out(file.path + ": warning: " + warning + "\n");
    ++warnings;
  }
  for (const LineReport& line : file.lines) {
    bool rule = line.effect == LineEffect::ClassRule || line.effect == LineEffect::TitleRule;
    if (!quiet && rule) {
      rules.Out(Where(file, line) + ": " + KindOf(line.effect).noun + " " + Quote(line.text) +
                "\n");
    }
    for (const std::string& warning : line.warnings) {
      rules.Out(Where(file, line) + ": warning: " + warning + "\n");
      ++warnings;
    }
  }
  return warnings;
}

// A rule equal to an earlier one adds nothing: class rules compared as the module compares class
// names, ASCII letter case folded; title fragments byte for byte.
void MarkDuplicates(std::vector<FileReport>& files, const RuleKind& kind) {
  std::vector<std::pair<const FileReport*, const LineReport*>> seen;
  for (FileReport& file : files) {
    for (LineReport& line : file.lines) {
      if (line.effect != kind.effect) continue;
      for (const auto& earlier : seen) {
        if (!kind.same(earlier.second->text.c_str(), line.text.c_str())) continue;
        line.warnings.push_back(kind.repeats + Where(*earlier.first, *earlier.second) +
                                kind.repeatsEnd + ": this line adds nothing");
        break;
      }
      seen.push_back({&file, &line});
    }
  }
}

// How the two kinds of rules combine, which a reader of two separate lists may not expect.
std::string CrossProduct(const RuleSet& set) {
  size_t classes = set.Rules(kClassKind).size();
  size_t titles = set.Rules(kTitleKind).size();
  if (classes == 0 || titles == 0 || classes + titles == 2) return "";
  std::string fragments = titles == 1
                              ? std::string("the title fragment")
                              : "each of the " + std::to_string(titles) + " title fragments";
  std::string rules = classes == 1 ? std::string("the class rule")
                                   : "each of the " + std::to_string(classes) + " class rules";
  return fragments + " applies to " + rules +
         ": a window of any listed class whose title holds any fragment is closed";
}

int CheckPath(const std::string& path, bool quiet, unsigned codePage) {
  RuleSet rules(codePage);
  bool directory = IsDirectory(path);
  if (directory) {
    rules.LoadFolder(WithSeparator(path));
  } else {
    rules.LoadFile(path);
  }
  if (!rules.Consistent()) return InternalError(path);
  std::vector<FileReport> files = rules.Files();
  for (const RuleKind* kind : kRuleKinds) MarkDuplicates(files, *kind);
  int warnings = 0;
  for (const FileReport& file : files) warnings += PrintFile(rules, file, quiet);
  for (const std::string& warning : SetWarnings(files)) {
    rules.Out(path + ": warning: " + warning + (directory ? "\n" : " (this file read alone)\n"));
    ++warnings;
  }
  std::string product = CrossProduct(rules);
  if (!quiet && !product.empty()) rules.Out(path + ": " + product + "\n");
  rules.Out(path + ": " + Counts(rules) + ", " + Plural(warnings, "warning") + "\n");
  return warnings ? kWarnings : kClean;
}

}  // namespace

int RunCheck(Arguments& args) {
  std::vector<std::string> paths = args.paths;
  if (paths.empty()) paths.push_back(".");
  int result = kClean;
  for (const std::string& path : paths) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      result = NotAFolder(path) > result ? kUsage : result;
      continue;
    }
    int one = CheckPath(path, args.Has(OptionId::Quiet), args.CodePage());
    if (one > result) result = one;
  }
  return result;
}

}  // namespace rules_cli
