// The lines come from the module's walk (WalkRuleFile), the one LoadRuleFile stores rules from;
// StoreHolds still compares what the store holds with what the walk reported.
#include "rule_walk.h"

#include <string.h>
#include <windows.h>

#include "closer/rules.h"
#include "console_text.h"
#include "owned.h"
#include "support/text_reader.h"

namespace rules_cli {

namespace {

// A keyword the loader knows, where it is not one because of what surrounds it.
bool IsKeyword(const std::string& field) {
  return CompareNoCaseAscii(field.c_str(), "class") == 0 ||
         CompareNoCaseAscii(field.c_str(), "title") == 0;
}

bool IsComment(const std::string& field) { return field.compare(0, 2, "//") == 0; }

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// A common ANSI code page other than codePage that holds the text (UTF-8 converted to it) or in
// which its bytes read cleanly; 0 when none does.
unsigned CleanCodePage(const std::string& value, bool utf8, unsigned codePage) {
  static const unsigned kCommon[] = {932, 936, 949, 950, 1250, 1251, 1252, 1253,
                                     1254, 1255, 1256, 1257, 1258, 874};
  for (unsigned candidate : kCommon) {
    if (candidate == codePage || !KnownCodePage(candidate)) continue;
    bool lost = false;
    if (utf8) ToCodePage(value, candidate, &lost);
    if (utf8 ? !lost : IsCodePageText(value, candidate) == 1) return candidate;
  }
  return 0;
}

// Non-ASCII text is fine when it is text in the code page the plug-in compares in.
void CheckCodePage(const std::string& value, unsigned codePage,
                   std::vector<std::string>& warnings) {
  bool ascii = true;
  for (char c : value) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return;
  std::string name = CodePageName(codePage);
  if (value.compare(0, 3, kBom) == 0) {
    warnings.push_back(
        "a UTF-8 byte order mark starts the value, and is part of the text: save "
        "the file in " +
        name + ", without one");
    CheckCodePage(value.substr(3), codePage, warnings);
  } else if (codePage != kUtf8CodePage && LooksLikeUtf8(value)) {
    bool lost = false;
    ToCodePage(value, codePage, &lost);
    std::string advice = "save the file in " + name;
    if (lost) {
      unsigned other = CleanCodePage(value, true, codePage);
      advice = name + " cannot hold that text: " +
               (other ? "for a system of code page " + std::to_string(other) +
                            ", pass --codepage " + std::to_string(other) +
                            " and save the file in that code page"
                      : std::string("pass --codepage N for the system the rules are for, and "
                                    "save the file in that code page"));
    }
    warnings.push_back("UTF-8 text: window texts are compared byte for byte in " + name +
                       ", which reads it as " + Quote(value) + "; " + advice);
  } else if (!IsCodePageText(value, codePage)) {
    unsigned other = CleanCodePage(value, false, codePage);
    warnings.push_back(
        "not text in " + name + ", which reads it as " + Quote(value) + "; " +
        (other ? "it reads cleanly in code page " + std::to_string(other) +
                     ": if the file was written for such a system, pass --codepage " +
                     std::to_string(other)
               : "save the file in " + name));
  }
}

// Class names are compared with the ASCII letters folded byte by byte, the second bytes of
// double-byte characters too: a class rule whose such bytes are letters also matches the class
// with those bytes in the other case. Says which characters stand for which, and the class with
// all of them swapped; "" when there is none.
std::string FoldTwin(const std::string& value, unsigned codePage) {
  if (codePage == kUtf8CodePage) return "";
  std::string twin = value, pairs;
  for (size_t i = 0; i < value.size();) {
    if (IsCodePageText(value.substr(i, 1), codePage) || i + 1 == value.size()) {
      ++i;
      continue;
    }
    char trail = value[i + 1];
    bool letter = (trail >= 'A' && trail <= 'Z') || (trail >= 'a' && trail <= 'z');
    std::string other = value.substr(i, 1) + static_cast<char>(trail ^ 0x20);
    if (letter && IsCodePageText(value.substr(i, 2), codePage) &&
        IsCodePageText(other, codePage)) {
      twin[i + 1] = other[1];
      pairs += (pairs.empty() ? "" : ", ") + other + " for " + value.substr(i, 2);
    }
    i += 2;
  }
  return pairs.empty() ? "" : pairs + ", such as the class " + Quote(twin);
}

// A line meant as a comment that the loader does not take for one; nullptr for other lines.
const char* CommentHint(const std::string& field) {
  std::string bare = Trim(field);
  if (bare.compare(0, 2, "//") == 0) {
    return "a comment begins with // at the very start of the line: this indented one does "
           "nothing, but it is read as a rule line";
  }
  if (bare.compare(0, 1, "#") == 0) {
    return "# starts no comment (a comment begins with // at the start of the line): the line "
           "does nothing, but it is read as a rule line";
  }
  return nullptr;
}

// A line that ended after its first field: the loader skips it.
void SingleField(const std::string& field, bool atEnd, LineReport& line) {
  line.text = field;
  if (Trim(field).empty()) {
    line.effect = LineEffect::Blank;
  } else if (IsComment(field)) {
    line.effect = LineEffect::Comment;
  } else if (CommentHint(field)) {
    line.warnings.push_back(CommentHint(field));
  } else if (IsKeyword(Trim(field))) {
    line.warnings.push_back(std::string("keyword without a comma and a value") +
                            (atEnd ? " at the end of the file" : "") + ": the line does nothing");
  } else {
    line.warnings.push_back("no comma: the line does nothing (write class,NAME or title,TEXT)");
  }
}

void UnknownKeyword(const std::string& field, bool firstLine, const std::string& rest,
                    LineReport& line) {
  std::string bare = field;
  if (firstLine && bare.compare(0, 3, kBom) == 0) bare = bare.substr(3);
  if (field.empty()) {
    line.warnings.push_back("the line starts with a comma, so it has no keyword: it does nothing");
  } else if (CommentHint(field)) {
    line.warnings.push_back(CommentHint(field));
  } else if (bare != field && IsKeyword(bare)) {
    line.lost = CompareNoCaseAscii(bare.c_str(), "class") == 0 ? LineEffect::ClassRule
                                                               : LineEffect::TitleRule;
    line.lostValue = rest.substr(0, rest.find(','));
    line.warnings.push_back("the file's byte order mark sticks to this keyword: the line " +
                            Quote(bare + "," + rest) + " is lost and does nothing");
  } else if (IsKeyword(Trim(bare))) {
    line.warnings.push_back("the keyword " + Quote(field) +
                            " has spaces around it: only class and "
                            "title count, so the line does nothing");
  } else {
    line.warnings.push_back("unknown keyword " + Quote(field) +
                            " (only class and title count): the line does nothing");
  }
}

void CheckEncoding(const unsigned char* view, int32_t size, unsigned codePage,
                   std::vector<std::string>& warnings) {
  std::string start(reinterpret_cast<const char*>(view), size < 3 ? size : 3);
  if (start == kBom) {
    warnings.push_back(
        "begins with a UTF-8 byte order mark, which the plug-in reads as part of the first "
        "line, so that line's rule is lost: " +
        SaveWithoutBom(codePage));
  }
  if (memchr(view, 0, static_cast<size_t>(size))) {
    warnings.push_back(
        "holds NUL bytes (UTF-16 text?): a field ends at its first NUL; save it in " +
        CodePageName(codePage));
  }
}

// The rest of the current line from the reader's position, without its line end.
std::string RestOfLine(const MappedTextReader& reader) {
  int32_t end = reader.position;
  while (end < reader.size && reader.view[end] != '\r' && reader.view[end] != '\n') ++end;
  return std::string(reinterpret_cast<const char*>(reader.view) + reader.position,
                     static_cast<size_t>(end - reader.position));
}

FileState StateOfUnopened(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileState::Missing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileState::Directory;
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
  if (!file.valid()) return FileState::Unreadable;
  return GetFileSize(file.get(), NULL) == 0 ? FileState::Empty : FileState::Unreadable;
}

struct RuleFileWalk {
  FileReport report;
  unsigned codePage;
};

// One line as the module's loader took it apart, and what in it may surprise.
void SeeLine(void* context, const MappedTextReader& reader, int number, RuleLineKind kind,
             const char* text) {
  RuleFileWalk& walk = *static_cast<RuleFileWalk*>(context);
  if (number == 1) CheckEncoding(reader.view, reader.size, walk.codePage, walk.report.warnings);
  LineReport line;
  line.line = number;
  line.text = text;
  if (kind == RuleLineShort) {
    SingleField(line.text, reader.FieldEnd == FieldEndData, line);
    if (line.effect == LineEffect::Blank) return;
  } else if (kind == RuleLineComment) {
    line.effect = LineEffect::Comment;
  } else if (kind == RuleLineOther) {
    UnknownKeyword(line.text, number == 1, RestOfLine(reader), line);
  } else {
    line.effect = kind == RuleLineClass ? LineEffect::ClassRule : LineEffect::TitleRule;
    unsigned faults = CheckRuleValue(line.text);
    for (ValueFault fault : kValueFaults) {
      if (Has(faults, fault)) {
        line.warnings.push_back(FaultText(fault, line.effect, line.text, false));
      }
    }
    CheckCodePage(line.text, walk.codePage, line.warnings);
    std::string twin = line.effect == LineEffect::ClassRule && line.warnings.empty()
                           ? FoldTwin(line.text, walk.codePage)
                           : "";
    if (!twin.empty()) {
      line.warnings.push_back(
          "second bytes of its double-byte characters are ASCII letters, which the plug-in "
          "folds as it folds letter case: it also matches classes with " +
          twin);
    }
    if (reader.FieldEnd == FieldEndDelimiter) {
      line.warnings.push_back("a third field is ignored: " + Quote(RestOfLine(reader)));
    }
  }
  walk.report.lines.push_back(line);
}

int SameTexts(const RuleList& list, const std::vector<const LineReport*>& rules) {
  if (list.count != rules.size()) return 0;
  for (uint32_t i = 0; i < list.count; ++i) {
    if (!list.items[i] || rules[i]->text != list.items[i]->data) return 0;
  }
  return 1;
}

}  // namespace

unsigned CheckRuleValue(const std::string& value) {
  bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (value.empty()) return 1u << static_cast<unsigned>(ValueFault::Empty);
  return (value.find(',') != std::string::npos) << static_cast<unsigned>(ValueFault::Comma) |
         (value.find_first_of("\r\n") != std::string::npos)
             << static_cast<unsigned>(ValueFault::LineEnd) |
         (IsSpace(value.front()) || IsSpace(value.back()))
             << static_cast<unsigned>(ValueFault::EdgeSpaces) |
         quoted << static_cast<unsigned>(ValueFault::Quotes) |
         (value.size() > kHookTextBytes) << static_cast<unsigned>(ValueFault::TooLong);
}

std::string FaultText(ValueFault fault, LineEffect kind, const std::string& value, bool typed) {
  bool isClass = kind == LineEffect::ClassRule;
  switch (fault) {
    case ValueFault::Empty:
      if (isClass) {
        return typed ? "an empty class name: no window has one"
                     : "empty class name: no window has one, so this rule closes nothing";
      }
      return typed ? "an empty title fragment: every title contains it, so every window of every "
                     "listed class would be closed"
                   : "empty title fragment: every title contains it, so every window of a listed "
                     "class is closed";
    case ValueFault::Comma:
      return (isClass ? "a comma: the plug-in would cut the class there, at "
                      : "a comma: the plug-in would cut the title there, at ") +
             Quote(value.substr(0, value.find(',')));
    case ValueFault::LineEnd: return "a line end inside the value";
    case ValueFault::EdgeSpaces:
      return typed ? "spaces at its start or end would be part of the rule, which a window's "
                     "text must then hold too: type it without them"
                   : "spaces at the start or end of the value are part of the text, which must "
                     "match them too";
    case ValueFault::Quotes: return "the quotes are part of the text: nothing is unquoted";
    case ValueFault::TooLong:
      return std::string("longer than 254 bytes: the hook reads at most 254 bytes of a ") +
             (isClass ? "class name" : "title") +
             (typed     ? ", so it would never match"
              : isClass ? ", so this never matches"
                        : ", so this is never found");
  }
  return "";
}

bool Refused(ValueFault fault) {
  return fault == ValueFault::Empty || fault == ValueFault::Comma || fault == ValueFault::LineEnd ||
         fault == ValueFault::TooLong || fault == ValueFault::EdgeSpaces;
}

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsSpace(text[begin])) ++begin;
  while (end > begin && IsSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string SaveWithoutBom(unsigned codePage) {
  return "save it in " + CodePageName(codePage) +
         " without one (in Notepad: Save As, Encoding ANSI; in other editors: no BOM)";
}

std::string CodePageName(unsigned codePage) {
#ifdef _WIN32
  if (codePage == GetACP()) return "code page " + std::to_string(codePage) + " (this system's)";
#endif
  return "code page " + std::to_string(codePage);
}

FileReport ReportRuleFile(const std::string& path, unsigned codePage) {
  RuleFileWalk walk = {FileReport(), codePage};
  walk.report.path = path;
  walk.report.state =
      WalkRuleFile(path.c_str(), SeeLine, &walk) ? FileState::Read : StateOfUnopened(path);
  return walk.report;
}

std::vector<const LineReport*> RulesOf(const std::vector<FileReport>& files, LineEffect kind) {
  std::vector<const LineReport*> rules;
  for (const FileReport& file : files) {
    for (const LineReport& line : file.lines) {
      if (line.effect == kind) rules.push_back(&line);
    }
  }
  return rules;
}

int StoreHolds(const std::vector<FileReport>& files) {
  RulesHold hold;
  return SameTexts(KillRules.ClassRules, RulesOf(files, LineEffect::ClassRule)) &&
         SameTexts(KillRules.TitleRules, RulesOf(files, LineEffect::TitleRule));
}

std::vector<std::string> SetWarnings(const std::vector<FileReport>& files) {
  size_t classes = RulesOf(files, LineEffect::ClassRule).size();
  size_t titles = RulesOf(files, LineEffect::TitleRule).size();
  std::vector<std::string> warnings;
  if (classes == 0 && titles == 0) {
    warnings.push_back(
        "no rules at all: nothing is closed, and every title redraw in every "
        "program reads the rule files again");
  } else if (classes == 0) {
    warnings.push_back(
        "title fragments but no class rule: nothing is closed, and every title "
        "redraw in every program reads the rule files again");
  } else if (titles == 0) {
    warnings.push_back(
        "class rules but no title fragment: nothing is closed, and every title "
        "redraw of a window of a listed class reads the rule files again");
  }
  return warnings;
}

const char* StateText(FileState state) {
  switch (state) {
    case FileState::Read: return "read";
    case FileState::Missing: return "missing: nothing loaded from it";
    case FileState::Empty: return "empty: no rules in it";
    case FileState::Directory: return "is a directory, not a file: nothing loaded from it";
    case FileState::Unreadable:
      return "cannot be opened (in use or denied): nothing loaded from it";
  }
  return "";
}

}  // namespace rules_cli
