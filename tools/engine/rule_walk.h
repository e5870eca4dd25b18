// A rule file read through the module's own loader walk, with what each line did and what in it
// may surprise the person who wrote it.
#pragma once

#include <string>
#include <vector>

#include "closer/rules.h"
#include "code_page.h"
#include "code_page_advice.h"
#include "rule_kind.h"
#include "rule_value.h"
#include "text.h"

namespace rule_engine {

struct LineReport {
  int line = 0;
  LineEffect effect = LineEffect::Nothing;
  std::string text;  // the stored rule for ClassRule and TitleRule, else the line's first field
  std::vector<std::string> warnings;  // in UTF-8, this run's language
  // The warning (an index into warnings) that says the text seems written for a system of
  // another code page, and that code page (kSomeCodePage when unknown); -1 and 0 for none.
  int otherSystemWarning = -1;
  unsigned otherSystem = 0;
  // A first line whose keyword the file's byte order mark spoiled: the rule it was meant to be.
  LineEffect lost = LineEffect::Nothing;
  std::string lostValue;
  // That rule, keyword and value, in UTF-8 as its writer saw it (after a byte order mark: UTF-8).
  std::string lostShown;
  // Why another such line does nothing (a full-width comma or space, a spaced keyword); "" for
  // the byte order mark's first line.
  std::string lostWhy;
};

enum class FileState { Read, Missing, Empty, Directory, Unreadable };

struct FileReport {
  std::string path;
  FileState state = FileState::Missing;
  std::vector<std::string> warnings;  // about the file as a whole, in UTF-8
  std::vector<LineReport> lines;      // blank lines left out
};

// The file read once by the module's loader, its rules added to store as LoadRuleFile adds them,
// and what each line did. Non-ASCII values are checked to be text in codePage, the ANSI code page
// the plug-in runs in.
FileReport ReportRuleFile(const std::string& path, unsigned codePage, RuleStore& store);

// The class rules or title fragments of the reports, in the order the module stores them.
std::vector<const LineReport*> RulesOf(const std::vector<FileReport>& files, const RuleKind& kind);

// Warnings about a set of files loaded together: rules that cannot close anything.
std::vector<std::string> SetWarnings(const std::vector<FileReport>& files);

// What the state means, in this run's language; "" for Read.
std::string StateText(FileState state);

}  // namespace rule_engine
