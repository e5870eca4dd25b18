// A set of rules as the plug-in would hold it, loaded by the module's own loader, and the
// module's own matcher's verdict on a window, with the rules that made it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "closer/rules.h"
#include "rule_walk.h"

namespace rule_engine {

class RuleSet;

// The module's answer on a window, with the rules in the files that made it.
struct Verdict {
  const RuleSet* rules = nullptr;
  std::string className, title;
  const LineReport* classRule = nullptr;
  const LineReport* titleFragment = nullptr;
  bool Closes() const { return titleFragment != nullptr; }
};

// The rules of a folder or of files, in the code page of the system they are for: the store the
// module's loader filled, owned here and apart from the plug-in's, and the walk of each file.
class RuleSet {
 public:
  explicit RuleSet(unsigned codePage);
  RuleSet(const RuleSet&) = delete;
  RuleSet& operator=(const RuleSet&) = delete;

  // Both rule files of the folder (its path with the separator), as the plug-in loads them.
  void LoadFolder(const std::string& dir);
  // One file read alone, added to what is loaded.
  void LoadFile(const std::string& path);

  unsigned CodePage() const { return codePage_; }
  const std::vector<FileReport>& Files() const { return files_; }
  std::vector<const LineReport*> Rules(const RuleKind& kind) const { return RulesOf(files_, kind); }
  // As the hook asks: the class first, then the title; the texts as the hook reads them.
  Verdict Judge(const std::string& className, const std::string& title) const;
  // The rule at the position in the store of the first one the text matches; null when none.
  const LineReport* FirstMatch(const RuleKind& kind, const std::string& text) const;

 private:
  unsigned codePage_;
  std::unique_ptr<RuleStore> store_;
  std::vector<FileReport> files_;
};

// The module appends file names to the directory as they are, so it needs the separator.
std::string WithSeparator(std::string dir);

// "FILE:LINE" of a line, and of a rule found among the files' lines, in UTF-8 for a message.
std::string Where(const FileReport& file, const LineReport& line);
std::string Located(const std::vector<FileReport>& files, const LineReport* rule);
// The file that holds the line; null for a line of none of them.
const FileReport* FileOf(const std::vector<FileReport>& files, const LineReport* line);
// "1 class rule", "2 class rules": one for a count of 1, many (with the count) for others, in
// this run's language unless told (watch's log is English).
template <typename Id>
std::string Counted(unsigned long count, Id one, Id many, Language language = ToolLanguage()) {
  return count == 1 ? TextIn(language, one) : TextIn(language, many, count);
}
// "N class rules, M title fragments", in this run's language unless told (watch's log).
std::string Counts(const RuleSet& rules, Language language = ToolLanguage());

// Whether the matcher takes the text for a rule of the kind; an empty rule matches nothing here.
bool RuleMatches(const std::string& rule, const RuleKind& kind, const std::string& text);

// What the hook reads of a window text.
std::string Cut(const std::string& text);

// Why a class rule or title fragment that did not match would have: its byte order mark, spaces
// at its ends (full-width ones too), or (for a fragment) letter case, in this run's language; ""
// when none of these explains it.
std::string NearMiss(const LineReport& rule, const RuleKind& kind, const std::string& text,
                     unsigned codePage);

}  // namespace rule_engine
