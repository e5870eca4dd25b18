// The lines come from the module's walk (WalkRuleFile), each stored by the module's own step
// (StoreRuleLine) as LoadRuleFile stores it, then reported: the file is read once.
#include "rule_walk.h"

#include <string.h>
#include <windows.h>

#include "closer/rules.h"
#include "code_page_advice.h"
#include "console_text.h"
#include "owned.h"
#include "support/text_reader.h"

namespace rule_engine {

namespace {

using namespace engine_text;

// Whether the text, as it stands, is one of the loader's keywords in any letter case.
bool IsKeyword(const std::string& field) { return KindOfKeyword(field.c_str()) != nullptr; }

bool IsComment(const std::string& field) { return field.compare(0, 2, "//") == 0; }

// What the input method types for the comma key: the full-width comma U+FF0C, or by default the
// ideographic comma U+3001 (U+FF64 in half-width mode, byte A4 in code page 932). Inside a value
// they are ordinary text; only in place of the keyword's comma do they lose the line.
const struct {
  const char* utf8;
  engine_text::Id warning;
} kLookAlikeCommas[] = {{"\xEF\xBC\x8C", kFullWidthComma},
                        {"\xE3\x80\x81", kIdeographicComma},
                        {"\xEF\xBD\xA4", kIdeographicComma}};

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
  engine_text::Id warning = kFullWidthComma;
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
  line.otherSystem = CheckCodePage(line.text, walk.codePage, line.warnings);
  if (line.otherSystem) line.otherSystemWarning = static_cast<int>(line.warnings.size()) - 1;
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

}  // namespace rule_engine
