// A rule file edited as bytes: lines found as the module's loader finds them, so that a line
// number of the walk names the same bytes here.
#include "rule_file_edit.h"

#include <windows.h>

#include "code_page.h"
#include "engine_messages.h"
#include "rule_file_writer.h"
#include "text.h"

namespace rule_engine {

namespace {

// One line of a file: where its text starts, its length, and the length of its line end.
struct Span {
  size_t start, length, end;
};

std::vector<Span> SplitLines(const std::string& content) {
  std::vector<Span> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t stop = content.find_first_of("\r\n", start);
    if (stop == std::string::npos) {
      lines.push_back({start, content.size() - start, 0});
      break;
    }
    size_t end = content.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
    lines.push_back({start, stop - start, end});
    start = stop + end;
  }
  return lines;
}

// The file's line end: CR LF unless it already uses LF alone.
std::string LineEndOf(const std::string& content) {
  size_t lf = content.find('\n');
  return lf != std::string::npos && (lf == 0 || content[lf - 1] != '\r') ? "\n" : "\r\n";
}

// The comment a new file starts with.
std::string NewFileComment(unsigned codePage) {
  return CommentText(Text(engine_text::kNewFileComment),
                     TextIn(Language::kEnglish, engine_text::kNewFileComment), codePage);
}

ChangeOutcome OutcomeOf(WriteOutcome outcome) {
  switch (outcome) {
    case WriteOutcome::kWritten: return ChangeOutcome::kDone;
    case WriteOutcome::kReadOnly: return ChangeOutcome::kReadOnly;
    case WriteOutcome::kBusy: return ChangeOutcome::kBusy;
    case WriteOutcome::kProtected: return ChangeOutcome::kProtected;
    case WriteOutcome::kFailed: return ChangeOutcome::kFailed;
  }
  return ChangeOutcome::kFailed;
}

// Whether the file at path holds content, or is missing when exists is false.
bool Holds(const std::string& path, bool exists, const std::string& content) {
  std::string now;
  FileRead read = ReadWholeFile(path, now);
  return exists ? read == FileRead::kRead && now == content : read == FileRead::kMissing;
}

// From the bytes `from` (a file that holds them when fromExists) to `to` (none when !toExists).
ChangeOutcome Replace(const std::string& path, bool fromExists, const std::string& from,
                      bool toExists, const std::string& to) {
  if (!Holds(path, fromExists, from)) return ChangeOutcome::kChanged;
  if (toExists) return OutcomeOf(WriteRuleFile(path, to));
  if (IsReadOnlyFile(path)) return ChangeOutcome::kReadOnly;
  return DeleteFileA(path.c_str()) ? ChangeOutcome::kDone : ChangeOutcome::kFailed;
}

}  // namespace

std::string CommentText(const std::string& utf8, const std::string& english, unsigned codePage) {
  bool lost = false;
  std::string comment = ToCodePage(utf8, codePage, &lost);
  return lost ? ToCodePage(english, codePage) : comment;
}

bool ReplaceLine(const std::string& content, int line, const std::string& expected,
                 const std::string* replacement, std::string* out) {
  std::vector<Span> lines = SplitLines(content);
  if (line < 1 || static_cast<size_t>(line) > lines.size()) return false;
  const Span& span = lines[line - 1];
  if (content.compare(span.start, span.length, expected) != 0 || span.length != expected.size()) {
    return false;
  }
  if (replacement) {
    *out = content.substr(0, span.start) + *replacement + content.substr(span.start + span.length);
  } else {
    *out = content.substr(0, span.start) + content.substr(span.start + span.length + span.end);
  }
  return true;
}

std::string AppendLines(const std::string& content, const std::vector<std::string>& lines,
                        unsigned codePage) {
  std::string end = LineEndOf(content);
  std::string text = content.empty() ? NewFileComment(codePage) + end : content;
  if (text.back() != '\n' && text.back() != '\r') text += end;  // finish the last line first
  for (const std::string& line : lines) text += line + end;
  return text;
}

bool ConvertToCodePage(const std::string& content, unsigned codePage, std::string* out,
                       std::vector<int>* badLines) {
  std::string body = content.compare(0, 3, kBom) == 0 ? content.substr(3) : content;
  badLines->clear();
  out->clear();
  std::vector<Span> lines = SplitLines(body);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string text = body.substr(lines[i].start, lines[i].length);
    bool lost = false;
    std::string converted = IsCodePageText(text, CP_UTF8) ? ToCodePage(text, codePage, &lost) : "";
    if (!IsAscii(text) && (converted.empty() || lost)) {
      badLines->push_back(static_cast<int>(i) + 1);
      continue;
    }
    *out += (IsAscii(text) ? text : converted) +
            body.substr(lines[i].start + lines[i].length, lines[i].end);
  }
  if (!badLines->empty()) out->clear();
  return badLines->empty();
}

bool MixesTwoEncodings(const std::string& content) {
  bool bom = content.compare(0, 3, kBom) == 0;
  std::string body = bom ? content.substr(3) : content;
  // Non-ASCII text that reads as UTF-8 is taken for UTF-8, as the walk takes it.
  bool utf8Seen = bom, otherSeen = false;
  for (const Span& span : SplitLines(body)) {
    std::string text = body.substr(span.start, span.length);
    if (IsAscii(text)) continue;
    bool utf8 = IsCodePageText(text, CP_UTF8) != 0;
    utf8Seen = utf8Seen || utf8;
    otherSeen = otherSeen || !utf8;
  }
  return utf8Seen && otherSeen;
}

ChangeOutcome Apply(const RuleFileChange& change) {
  if (MixesTwoEncodings(change.after) && !MixesTwoEncodings(change.before)) {
    return ChangeOutcome::kRefused;
  }
  return Replace(change.path, change.existed, change.before, true, change.after);
}

ChangeOutcome Undo(const RuleFileChange& change) {
  return Replace(change.path, true, change.after, change.existed, change.before);
}

}  // namespace rule_engine
