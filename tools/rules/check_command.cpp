// lunet-rules check: what each line of the rule files does, and what may surprise.
#include <stdio.h>
#include <windows.h>

#include "commands.h"
#include "console_text.h"
#include "is_directory.h"
#include "output.h"
#include "own_console.h"
#include "rule_file_writer.h"
#include "rule_set.h"
#include "shared/plugin_folder.h"

namespace rules_cli {

using namespace rule_engine;

namespace {

using namespace rules_text;

// The warning that the line seems written for a system of another code page, with the option
// that checks it as such.
std::string WithCodePageOption(const LineReport& line) {
  const std::string& warning = line.warnings[line.otherSystemWarning];
  if (line.otherSystem == kSomeCodePage) return Text(kForSomeCodePage, warning);
  return Text(kForCodePage, warning, line.otherSystem);
}

// Prints the findings of one file; returns the number of warnings.
int PrintFile(const RuleSet& rules, const FileReport& file, bool quiet) {
  std::string path = PathText(file.path);
  if (file.state == FileState::Empty) {
    // Nothing to load from an empty file; whether any rules remain is the set's concern.
    if (!quiet) Say(path + ": " + StateText(file.state));
    return 0;
  }
  if (file.state != FileState::Read) {
    Say(Text(kWarningAt, path, StateText(file.state)));
    return 1;
  }
  int warnings = 0;
  for (const std::string& warning : file.warnings) {
    Say(Text(kWarningAt, path, warning));
    ++warnings;
  }
  for (const LineReport& line : file.lines) {
    std::string where = Where(file, line);
    bool rule = line.effect == LineEffect::ClassRule || line.effect == LineEffect::TitleRule;
    if (!quiet && rule) {
      Say(Text(KindOfRule(line.effect).ruleAt, where,
               RuleText(Quote(line.text), rules.CodePage())));
    }
    for (size_t i = 0; i < line.warnings.size(); ++i) {
      std::string warning = line.warnings[i];
      if (static_cast<int>(i) == line.otherSystemWarning) warning = WithCodePageOption(line);
      Say(Text(kWarningAt, where, warning));
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
        line.warnings.push_back(Text(kind.repeats, Where(*earlier.first, *earlier.second)));
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
  if (titles == 1) return Text(kOneTitleEachClass, classes);
  if (classes == 1) return Text(kEachTitleOneClass, titles);
  return Text(kEachTitleEachClass, titles, classes);
}

int CheckPath(const std::string& path, bool quiet, unsigned codePage) {
  RuleSet rules(codePage);
  bool directory = IsDirectory(path);
  if (directory) {
    rules.LoadFolder(WithSeparator(path));
  } else {
    rules.LoadFile(path);
  }
  std::vector<FileReport> files = rules.Files();
  for (const RuleKind* kind : kRuleKinds) MarkDuplicates(files, *kind);
  int warnings = 0;
  for (const FileReport& file : files) warnings += PrintFile(rules, file, quiet);
  std::string shown = PathText(path);
  for (const std::string& warning : SetWarnings(files)) {
    Say(Text(kWarningAt, shown, directory ? warning : Text(kReadAlone, warning)));
    ++warnings;
  }
  if (directory) {
    for (const auto& copy : VirtualStoreCopies(WithSeparator(path))) {
      Say(Text(kWarningAt, copy.first, copy.second));
      ++warnings;
    }
  }
  std::string product = CrossProduct(rules);
  if (!quiet && !product.empty()) Say(shown + ": " + product);
  Say(shown + ": " +
      Text(engine_text::kCommaJoined, Counts(rules),
           Counted(warnings, kOneWarning, rules_text::kManyWarnings)));
  return warnings ? kWarnings : kClean;
}

}  // namespace

int RunFirstScreen() {
  std::string folder = ProgramFolder();
  if (folder.empty()) folder = WithSeparator(".");
  Say(Text(kDoubleClickFolder, PathText(folder)));
  int status = CheckPath(folder, true, Arguments().CodePage());
  Say(Text(status == kClean ? kDoubleClickClean : kDoubleClickWarnings));
  Say(Text(kDoubleClickNext));
  return status;
}

int RunCheck(Arguments& args) {
  std::vector<std::string> paths = args.paths;
  if (paths.empty()) paths.push_back(".");
  int result = kClean;
  for (const std::string& path : paths) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      int refused = RefuseFolder(path);  // says why on stderr
      if (refused > result) result = refused;
      continue;
    }
    int one = CheckPath(path, args.Has(OptionId::Quiet), args.CodePage());
    if (one > result) result = one;
  }
  return result;
}

}  // namespace rules_cli
