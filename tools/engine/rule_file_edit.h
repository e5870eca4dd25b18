// Changes to a rule file's bytes: pure functions of its content, and one change written through
// the one writer of rule files, enough to take it back.
#pragma once

#include <string>
#include <vector>

namespace rule_engine {

// The file's content with line `line` (1-based, as LineReport::line) replaced by `replacement`
// (without line end; the file's own line ends kept), or removed when `replacement` is null;
// false when that line no longer holds `expected` (its bytes without the line end), since another
// program may have changed the file. Lines end as the module's loader ends them: CR LF, CR, LF.
bool ReplaceLine(const std::string& content, int line, const std::string& expected,
                 const std::string* replacement, std::string* out);

// New lines appended in the file's line ends (CR LF unless it ends its lines with LF alone); an
// empty content is a new file, which starts with a comment saying what the file is for.
std::string AppendLines(const std::string& content, const std::vector<std::string>& lines,
                        unsigned codePage);

// A comment for a rule file in the code page: utf8, in the user's language, where the code page
// holds all of it, else english.
std::string CommentText(const std::string& utf8, const std::string& english, unsigned codePage);

// A file in UTF-8 (with or without a byte order mark) converted to the code page, every line
// kept; false with the 1-based numbers of the lines whose text the code page lacks (or that are
// no UTF-8).
bool ConvertToCodePage(const std::string& content, unsigned codePage, std::string* out,
                       std::vector<int>* badLines);

// Whether the content holds text of two encodings, which no editor shows whole: non-ASCII lines
// that read as UTF-8 (or a UTF-8 byte order mark) beside non-ASCII lines that do not.
bool MixesTwoEncodings(const std::string& content);

// One change to a rule file, enough to take it back.
struct RuleFileChange {
  std::string path;
  bool existed = true;        // false: the change made the file
  std::string before, after;  // the file's bytes
};

enum class ChangeOutcome {
  kDone,
  kChanged,  // someone else changed the file: nothing written
  kRefused,  // the change would leave the file in two encodings
  kReadOnly,
  kBusy,
  kProtected,
  kFailed,
};

// Writes change.after through WriteRuleFile after checking the file still holds change.before
// (and, for a file the change makes, that there is none yet): kChanged otherwise; kRefused when
// after would mix two encodings that before kept apart.
ChangeOutcome Apply(const RuleFileChange& change);
// Writes change.before back (deleting a file the change made) only when the file still holds
// change.after: kChanged otherwise.
ChangeOutcome Undo(const RuleFileChange& change);

}  // namespace rule_engine
