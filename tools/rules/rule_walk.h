// A rule file read through the module's own loader walk, with what each line did and what in it
// may surprise the person who wrote it.
#pragma once

#include <string>
#include <vector>

#include "closer/hook.h"
#include "code_page.h"
#include "rule_kind.h"
#include "text.h"

namespace rules_cli {

struct LineReport {
  int line = 0;
  LineEffect effect = LineEffect::Nothing;
  std::string text;  // the stored rule for ClassRule and TitleRule, else the line's first field
  std::vector<std::string> warnings;  // in UTF-8, this run's language
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

// What in the value of a class rule or title fragment keeps it from doing what it seems to.
enum class ValueFault { Empty, Comma, LineEnd, EdgeSpaces, Quotes, TooLong };
const ValueFault kValueFaults[] = {ValueFault::Empty,      ValueFault::Comma,  ValueFault::LineEnd,
                                   ValueFault::EdgeSpaces, ValueFault::Quotes, ValueFault::TooLong};
// The one check of a value, for a line of a file (check) and a value typed for add: one bit
// (1 << fault) for each fault found. A value read from a file holds no comma or line end: the
// loader cuts it there.
unsigned CheckRuleValue(const std::string& value);
inline bool Has(unsigned faults, ValueFault fault) {
  return (faults >> static_cast<unsigned>(fault)) & 1;
}
// Why the fault matters, said of a rule line in a file, or (typed) of a value given to add; the
// value is in codePage, the text in UTF-8.
std::string FaultText(ValueFault fault, const RuleKind& kind, const std::string& value,
                      unsigned codePage, bool typed);
// add refuses a value with this fault; the others it takes as they are.
bool Refused(ValueFault fault);

// How to save a rule file without a byte order mark, in the code page: the advice in this run's
// language, in UTF-8.
std::string SaveWithoutBom(unsigned codePage);

// Where the class rule also matches other classes, as its double-byte characters' second bytes
// are letters folded: the warning, "" when it does not.
std::string FoldTwin(const std::string& value, unsigned codePage);
// Whether full-width spaces (U+3000, the input method's) stand at the value's ends, and the
// value without them and without spaces.
bool WideEdges(const std::string& value, unsigned codePage);
std::string WithoutWideEdges(const std::string& value, unsigned codePage);
// A value of a rule file that is text of another encoding (UTF-8 where the code page is not;
// another code page where it is UTF-8), converted to the code page; "" when it is not. name
// gets the encoding's name.
std::string InOtherEncoding(const std::string& value, unsigned codePage, std::string* name);

// How to save a rule file in the code page, with Notepad's steps where they apply.
std::string SaveIn(unsigned codePage);
// Whether Notepad's "ANSI" here is the code page: only then is it the step to take.
bool NotepadAnsiIs(unsigned codePage);

// "code page N", saying when it is this system's, in this run's language.
std::string CodePageName(unsigned codePage);

// The hook reads at most this many bytes of a class name or a title.
const size_t kHookTextBytes = kWindowTextCount - 1;

}  // namespace rules_cli
