// The lines come from the module's walk (WalkRuleFile), each stored by the module's own step
// (StoreRuleLine) as LoadRuleFile stores it, then reported: the file is read once.
#include "rule_walk.h"

#include <string.h>
#include <windows.h>

#include "closer/rules.h"
#include "console_text.h"
#include "output.h"
#include "owned.h"
#include "support/text_reader.h"

namespace rules_cli {

namespace {

using namespace rules_text;

// Whether the text, as it stands, is one of the loader's keywords in any letter case.
bool IsKeyword(const std::string& field) { return KindOfKeyword(field.c_str()) != nullptr; }

bool IsComment(const std::string& field) { return field.compare(0, 2, "//") == 0; }

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// What the input method types in place of a space: U+3000.
const char kWideSpaceUtf8[] = "\xE3\x80\x80";

// What the input method types for the comma key: the full-width comma U+FF0C, or by default the
// ideographic comma U+3001 (U+FF64 in half-width mode, byte A4 in code page 932). Inside a value
// they are ordinary text; only in place of the keyword's comma do they lose the line.
const struct {
  const char* utf8;
  rules_text::Id warning;
} kLookAlikeCommas[] = {{"\xEF\xBC\x8C", kFullWidthComma},
                        {"\xE3\x80\x81", kIdeographicComma},
                        {"\xEF\xBD\xA4", kIdeographicComma}};

// The bytes of a UTF-8 character in the code page; "" when it has none.
std::string CharIn(const char* utf8, unsigned codePage) {
  bool lost = false;
  std::string bytes = ToCodePage(utf8, codePage, &lost);
  return lost ? "" : bytes;
}

// The length of the character at i: double-byte code pages and UTF-8 have characters of more
// than one byte, whose later bytes may look like ASCII. Every ANSI code page other than UTF-8
// has characters of one or two bytes, so a byte that is no character alone starts a pair.
size_t CharLength(const std::string& text, size_t i, unsigned codePage) {
  if (codePage == CP_UTF8) {
    size_t end = i + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return end - i;
  }
  return IsCodePageText(text.substr(i, 1), codePage) || i + 1 == text.size() ? 1 : 2;
}

// Where the character (bytes in the code page) starts in the text; npos when it does not.
size_t FindChar(const std::string& text, const std::string& bytes, unsigned codePage) {
  for (size_t i = 0; !bytes.empty() && i < text.size(); i += CharLength(text, i, codePage)) {
    if (text.compare(i, bytes.size(), bytes) == 0) return i;
  }
  return std::string::npos;
}

}  // namespace

std::string WithoutWideEdges(const std::string& text, unsigned codePage) {
  std::string wide = CharIn(kWideSpaceUtf8, codePage);
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); i += CharLength(text, i, codePage)) starts.push_back(i);
  starts.push_back(text.size());
  auto blank = [&](size_t k) {
    std::string c = text.substr(starts[k], starts[k + 1] - starts[k]);
    return c == " " || c == "\t" || (!wide.empty() && c == wide);
  };
  size_t begin = 0, end = starts.size() - 1;
  while (begin < end && blank(begin)) ++begin;
  while (end > begin && blank(end - 1)) --end;
  return text.substr(starts[begin], starts[end] - starts[begin]);
}

namespace {

// A common ANSI code page other than codePage that holds the text (UTF-8 converted to it) or in
// which its bytes read cleanly; 0 when none does.
unsigned CleanCodePage(const std::string& value, bool utf8, unsigned codePage) {
  static const unsigned kCommon[] = {932,  936,  949,  950,  1250, 1251, 1252,
                                     1253, 1254, 1255, 1256, 1257, 1258, 874};
  for (unsigned candidate : kCommon) {
    if (candidate == codePage || !KnownCodePage(candidate)) continue;
    bool lost = false;
    if (utf8) ToCodePage(value, candidate, &lost);
    if (utf8 ? !lost : IsCodePageText(value, candidate) == 1) return candidate;
  }
  return 0;
}

// On a system set to UTF-8 the windows hand the plug-in UTF-8: text in another code page, most
// likely the Shift_JIS of a file saved by habit, never matches there.
std::string NotUtf8(const std::string& value) {
  std::string name = CodePageName(CP_UTF8), shown = RuleText(Quote(value), CP_UTF8);
  unsigned other = CleanCodePage(value, false, CP_UTF8);
  std::string fix = Text(kSaveAsUtf8);
  return other ? Text(kNotUtf8ReadsIn, name, shown, other, fix) : Text(kNotUtf8, name, shown, fix);
}

// UTF-8 text where the windows hand the plug-in another code page.
std::string Utf8Text(const std::string& value, unsigned codePage) {
  std::string name = CodePageName(codePage), shown = RuleText(Quote(value), codePage);
  bool lost = false;
  ToCodePage(value, codePage, &lost);
  if (!lost) return Text(kUtf8Text, name, shown, SaveIn(codePage));
  unsigned other = CleanCodePage(value, true, codePage);
  return other ? Text(kUtf8TextCannotHold, name, shown, other)
               : Text(kUtf8TextCannotHoldAny, name, shown);
}

// Non-ASCII text is fine when it is text in the code page the plug-in compares in.
void CheckCodePage(const std::string& value, unsigned codePage,
                   std::vector<std::string>& warnings) {
  if (IsAscii(value)) return;
  std::string name = CodePageName(codePage);
  if (value.compare(0, 3, kBom) == 0) {
    warnings.push_back(Text(kBomInValue, SaveWithoutBom(codePage)));
    CheckCodePage(value.substr(3), codePage, warnings);
  } else if (codePage == CP_UTF8) {
    if (!IsCodePageText(value, codePage)) warnings.push_back(NotUtf8(value));
  } else if (IsCodePageText(value, CP_UTF8)) {
    warnings.push_back(Utf8Text(value, codePage));
  } else if (!IsCodePageText(value, codePage)) {
    unsigned other = CleanCodePage(value, false, codePage);
    std::string shown = RuleText(Quote(value), codePage);
    warnings.push_back(other ? Text(kNotTextReadsIn, name, shown, other)
                             : Text(kNotText, name, shown, SaveIn(codePage)));
  }
}

}  // namespace

// Class names are compared with the ASCII letters folded byte by byte, the second bytes of
// double-byte characters too: a class rule whose such bytes are letters also matches the class
// with those bytes in the other case. Says which characters stand for which, and the class with
// all of them swapped; "" when there is none.
std::string FoldTwin(const std::string& value, unsigned codePage) {
  if (codePage == CP_UTF8) return "";
  std::string twin = value, pairs;
  for (size_t i = 0; i < value.size();) {
    if (IsCodePageText(value.substr(i, 1), codePage) || i + 1 == value.size()) {
      ++i;
      continue;
    }
    char trail = value[i + 1];
    bool letter = (trail >= 'A' && trail <= 'Z') || (trail >= 'a' && trail <= 'z');
    std::string other = value.substr(i, 1) + static_cast<char>(trail ^ 0x20);
    if (letter && IsCodePageText(value.substr(i, 2), codePage) && IsCodePageText(other, codePage)) {
      twin[i + 1] = other[1];
      pairs += (pairs.empty() ? "" : Text(kListSeparator)) +
               Text(kFoldPair, RuleText(other, codePage), RuleText(value.substr(i, 2), codePage));
    }
    i += 2;
  }
  return pairs.empty() ? "" : Text(kFoldTwin, pairs, RuleText(Quote(twin), codePage));
}

namespace {

// A line meant as a comment that the loader does not take for one; "" for other lines.
std::string CommentHint(const std::string& field) {
  std::string bare = Trim(field);
  if (bare.compare(0, 2, "//") == 0) return Text(kIndentedComment);
  if (bare.compare(0, 1, "#") == 0) return Text(kHashComment);
  return "";
}

// A keyword and a value with the input method's comma between them: the rule meant, with the
// warning; false for other lines. The first such character decides: one further on is the
// value's own text.
bool WideComma(const std::string& field, unsigned codePage, LineReport& line) {
  size_t at = std::string::npos;
  std::string comma;
  rules_text::Id warning = kFullWidthComma;
  for (const auto& lookAlike : kLookAlikeCommas) {
    std::string bytes = CharIn(lookAlike.utf8, codePage);
    size_t found = FindChar(field, bytes, codePage);
    if (found < at) {
      at = found;
      comma = bytes;
      warning = lookAlike.warning;
    }
  }
  if (at == std::string::npos) return false;
  const RuleKind* kind = KindOfKeyword(WithoutWideEdges(field.substr(0, at), codePage).c_str());
  if (!kind) return false;
  line.warnings.push_back(Text(warning, RuleText(comma, codePage)));
  line.lost = kind->effect;
  line.lostValue = field.substr(at + comma.size());
  line.lostShown = RuleText(kind->keyword + ("," + line.lostValue), codePage);
  line.lostWhy = line.warnings.back();
  return true;
}

// Text that follows a UTF-8 byte order mark, as its writer saw it: UTF-8, unless its bytes are
// no UTF-8 at all (a mark pasted before text of the code page).
std::string AfterBom(const std::string& bytes, unsigned codePage) {
  return RuleText(bytes, IsCodePageText(bytes, CP_UTF8) ? CP_UTF8 : codePage);
}

// A first line whose byte order mark hides that it is a comment.
bool BomComment(const std::string& field, bool firstLine, LineReport& line) {
  if (!firstLine || field.compare(0, 3, kBom) != 0 || !IsComment(field.substr(3))) return false;
  line.warnings.push_back(Text(kBomComment));
  return true;
}

// A line that ended after its first field: the loader skips it.
void SingleField(const std::string& field, bool atEnd, bool firstLine, unsigned codePage,
                 LineReport& line) {
  line.text = field;
  if (Trim(field).empty()) {
    line.effect = LineEffect::Blank;
  } else if (IsComment(field)) {
    line.effect = LineEffect::Comment;
  } else if (BomComment(field, firstLine, line) || WideComma(field, codePage, line)) {
    // said
  } else if (!CommentHint(field).empty()) {
    line.warnings.push_back(CommentHint(field));
  } else if (IsKeyword(Trim(field))) {
    line.warnings.push_back(Text(atEnd ? kKeywordAloneAtEnd : kKeywordAlone));
  } else {
    line.warnings.push_back(Text(kNoComma));
  }
}

void UnknownKeyword(const std::string& field, bool firstLine, const std::string& rest,
                    unsigned codePage, LineReport& line) {
  std::string bare = field;
  if (firstLine && bare.compare(0, 3, kBom) == 0) bare = bare.substr(3);
  std::string value = rest.substr(0, rest.find(','));
  if (field.empty()) {
    line.warnings.push_back(Text(kLeadingComma));
  } else if (BomComment(field, firstLine, line) || WideComma(field, codePage, line)) {
    // said
  } else if (!CommentHint(field).empty()) {
    line.warnings.push_back(CommentHint(field));
  } else if (bare != field && IsKeyword(bare)) {
    line.lost = KindOfKeyword(bare.c_str())->effect;
    line.lostValue = value;
    line.lostShown = AfterBom(bare + "," + value, codePage);
    line.warnings.push_back(Text(kBomKeyword, AfterBom(bare + "," + rest, codePage)));
  } else if (IsKeyword(Trim(bare)) || IsKeyword(WithoutWideEdges(bare, codePage))) {
    bool ascii = IsKeyword(Trim(bare));
    line.warnings.push_back(
        Text(ascii ? kSpacedKeyword : kFullWidthSpacedKeyword, RuleText(Quote(field), codePage)));
    const RuleKind* kind =
        KindOfKeyword((ascii ? Trim(bare) : WithoutWideEdges(bare, codePage)).c_str());
    line.lost = kind->effect;
    line.lostValue = value;
    line.lostShown = RuleText(kind->keyword + ("," + value), codePage);
    line.lostWhy = line.warnings.back();
  } else {
    line.warnings.push_back(Text(kUnknownKeyword, RuleText(Quote(bare), codePage)));
  }
}

void CheckEncoding(const unsigned char* view, int32_t size, unsigned codePage,
                   std::vector<std::string>& warnings) {
  std::string start(reinterpret_cast<const char*>(view), size < 3 ? size : 3);
  if (start == kBom) {
    warnings.push_back(Text(kBomInFile, SaveWithoutBom(codePage)));
  }
  if (memchr(view, 0, static_cast<size_t>(size))) {
    warnings.push_back(Text(kNulBytes, SaveIn(codePage)));
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
  RuleStore& store;
};

// What may surprise in the value of a rule line.
void CheckRule(const RuleFileWalk& walk, const MappedTextReader& reader, LineReport& line) {
  const RuleKind& kind = KindOfRule(line.effect);
  unsigned faults = CheckRuleValue(line.text);
  for (ValueFault fault : kValueFaults) {
    if (Has(faults, fault)) {
      line.warnings.push_back(FaultText(fault, kind, line.text, walk.codePage, false));
    }
  }
  if (WideEdges(line.text, walk.codePage)) line.warnings.push_back(Text(kFullWidthEdgeRead));
  CheckCodePage(line.text, walk.codePage, line.warnings);
  std::string twin =
      kind.foldsCase && line.warnings.empty() ? FoldTwin(line.text, walk.codePage) : "";
  if (!twin.empty()) {
    line.warnings.push_back(twin);
  }
  if (reader.FieldEnd == FieldEndDelimiter) {
    line.warnings.push_back(Text(kThirdField, RuleText(Quote(RestOfLine(reader)), walk.codePage)));
  }
}

// One line as the module's loader took it apart, and what in it may surprise.
void SeeLine(void* context, const MappedTextReader& reader, int number, RuleLineKind kind,
             const char* text) {
  RuleFileWalk& walk = *static_cast<RuleFileWalk*>(context);
  StoreRuleLine(&walk.store, reader, number, kind, text);
  if (number == 1) CheckEncoding(reader.view, reader.size, walk.codePage, walk.report.warnings);
  LineReport line;
  line.line = number;
  line.text = text;
  line.effect = EffectOf(kind);
  if (kind == RuleLineShort) {
    SingleField(line.text, reader.FieldEnd == FieldEndData, number == 1, walk.codePage, line);
    if (line.effect == LineEffect::Blank) return;
  } else if (kind == RuleLineOther) {
    UnknownKeyword(line.text, number == 1, RestOfLine(reader), walk.codePage, line);
  } else if (kind != RuleLineComment) {
    CheckRule(walk, reader, line);
  }
  walk.report.lines.push_back(line);
}

}  // namespace

bool WideEdges(const std::string& value, unsigned codePage) {
  return WithoutWideEdges(value, codePage) != Trim(value);
}

std::string InOtherEncoding(const std::string& value, unsigned codePage, std::string* name) {
  if (IsAscii(value)) return "";
  if (codePage != CP_UTF8) {
    bool lost = false;
    std::string converted =
        IsCodePageText(value, CP_UTF8) ? ToCodePage(value, codePage, &lost) : "";
    if (converted.empty() || lost) return "";
    *name = Text(kUtf8Name);
    return converted;
  }
  if (IsCodePageText(value, CP_UTF8)) return "";
  unsigned other = CleanCodePage(value, false, CP_UTF8);
  if (!other) return "";
  *name = CodePageName(other);
  return RuleText(value, other);
}

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

std::string FaultText(ValueFault fault, const RuleKind& kind, const std::string& value,
                      unsigned codePage, bool typed) {
  switch (fault) {
    case ValueFault::Empty: return Text(typed ? kind.emptyTyped : kind.emptyRead);
    case ValueFault::Comma:
      return Text(kComma, kind.keyword,
                  RuleText(Quote(value.substr(0, value.find(','))), codePage));
    case ValueFault::LineEnd: return Text(kLineEnd);
    case ValueFault::EdgeSpaces: return Text(typed ? kEdgeSpacesTyped : kEdgeSpacesRead);
    case ValueFault::Quotes: return Text(kQuotes);
    case ValueFault::TooLong: return Text(typed ? kind.tooLongTyped : kind.tooLongRead);
  }
  return "";
}

bool Refused(ValueFault fault) {
  return fault == ValueFault::Empty || fault == ValueFault::Comma || fault == ValueFault::LineEnd ||
         fault == ValueFault::TooLong || fault == ValueFault::EdgeSpaces;
}

bool NotepadAnsiIs(unsigned codePage) {
#ifdef _WIN32
  return codePage == GetACP();
#else
  // No system here has a code page of its own: the rules are checked for a system of the code
  // page given, whose Notepad's "ANSI" is that code page.
  (void)codePage;
  return true;
#endif
}

std::string SaveWithoutBom(unsigned codePage) {
  // Notepad's "ANSI" is the system's code page; on a system set to UTF-8 it offers UTF-8 with
  // and without the mark, and names the one without plainly "UTF-8".
  if (codePage == CP_UTF8) return Text(kSaveUtf8WithoutBom);
  return Text(NotepadAnsiIs(codePage) ? kSaveWithoutBom : kSaveWithoutBomElsewhere,
              CodePageName(codePage));
}

std::string SaveIn(unsigned codePage) {
  if (codePage == CP_UTF8) return Text(kSaveAsUtf8);
  return Text(NotepadAnsiIs(codePage) ? kSaveIn : kSaveInElsewhere, CodePageName(codePage));
}

std::string CodePageName(unsigned codePage) {
  bool utf8 = codePage == CP_UTF8;
#ifdef _WIN32
  if (codePage == GetACP()) {
    return Text(utf8 ? kCodePageUtf8ThisSystem : kCodePageThisSystem, codePage);
  }
#endif
  return Text(utf8 ? kCodePageUtf8 : kCodePage, codePage);
}

FileReport ReportRuleFile(const std::string& path, unsigned codePage, RuleStore& store) {
  RuleFileWalk walk = {FileReport(), codePage, store};
  walk.report.path = path;
  walk.report.state =
      WalkRuleFile(path.c_str(), SeeLine, &walk) ? FileState::Read : StateOfUnopened(path);
  return walk.report;
}

std::vector<const LineReport*> RulesOf(const std::vector<FileReport>& files, const RuleKind& kind) {
  std::vector<const LineReport*> rules;
  for (const FileReport& file : files) {
    for (const LineReport& line : file.lines) {
      if (line.effect == kind.effect) rules.push_back(&line);
    }
  }
  return rules;
}

std::vector<std::string> SetWarnings(const std::vector<FileReport>& files) {
  size_t classes = RulesOf(files, kClassKind).size();
  size_t titles = RulesOf(files, kTitleKind).size();
  std::vector<std::string> warnings;
  if (classes == 0 && titles == 0) {
    warnings.push_back(Text(kNoRulesAtAll));
  } else if (classes == 0) {
    warnings.push_back(Text(kTitlesWithoutClass));
  } else if (titles == 0) {
    warnings.push_back(Text(kClassesWithoutTitle));
  }
  return warnings;
}

std::string StateText(FileState state) {
  switch (state) {
    case FileState::Read: return "";
    case FileState::Missing: return Text(kFileMissing);
    case FileState::Empty: return Text(kFileEmpty);
    case FileState::Directory: return Text(kFileIsDirectory);
    case FileState::Unreadable: return Text(kFileUnreadable);
  }
  return "";
}

}  // namespace rules_cli
