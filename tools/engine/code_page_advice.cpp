// Advice on a rule's encoding: what the code page the plug-in compares in makes of a value's
// bytes, and how to save the file so that it reads them as written.
#include "code_page_advice.h"

#include <windows.h>

#include "code_page.h"
#include "engine_messages.h"
#include "text.h"

namespace rule_engine {

using namespace engine_text;

namespace {

// What the input method types in place of a space: U+3000.
const char kWideSpaceUtf8[] = "\xE3\x80\x80";

}  // namespace

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

size_t FindChar(const std::string& text, const std::string& bytes, unsigned codePage) {
  for (size_t i = 0; !bytes.empty() && i < text.size(); i += CharLength(text, i, codePage)) {
    if (text.compare(i, bytes.size(), bytes) == 0) return i;
  }
  return std::string::npos;
}

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
// other: the common code page it reads cleanly in, or 0.
std::string NotUtf8(const std::string& value, unsigned other) {
  std::string name = CodePageName(CP_UTF8), shown = RuleText(Quote(value), CP_UTF8);
  std::string fix = Text(kSaveAsUtf8);
  return other ? Text(kNotUtf8ReadsIn, name, shown, other, fix) : Text(kNotUtf8, name, shown, fix);
}

// UTF-8 text where the windows hand the plug-in another code page; lost: the code page cannot
// hold it, and other, a common code page that can, or 0.
std::string Utf8Text(const std::string& value, unsigned codePage, bool lost, unsigned other) {
  std::string name = CodePageName(codePage), shown = RuleText(Quote(value), codePage);
  if (!lost) return Text(kUtf8Text, name, shown, SaveIn(codePage));
  return other ? Text(kUtf8TextCannotHold, name, shown, other)
               : Text(kUtf8TextCannotHoldAny, name, shown);
}

}  // namespace

unsigned CheckCodePage(const std::string& value, unsigned codePage,
                       std::vector<std::string>& warnings) {
  if (IsAscii(value)) return 0;
  std::string name = CodePageName(codePage);
  if (value.compare(0, 3, kBom) == 0) {
    warnings.push_back(Text(kBomInValue, SaveWithoutBom(codePage)));
    return CheckCodePage(value.substr(3), codePage, warnings);
  }
  if (codePage == CP_UTF8) {
    if (IsCodePageText(value, codePage)) return 0;
    unsigned other = CleanCodePage(value, false, CP_UTF8);
    warnings.push_back(NotUtf8(value, other));
    return other;
  }
  if (IsCodePageText(value, CP_UTF8)) {
    bool lost = false;
    ToCodePage(value, codePage, &lost);
    unsigned other = lost ? CleanCodePage(value, true, codePage) : 0;
    warnings.push_back(Utf8Text(value, codePage, lost, other));
    return lost ? (other ? other : kSomeCodePage) : 0;
  }
  if (IsCodePageText(value, codePage)) return 0;
  unsigned other = CleanCodePage(value, false, codePage);
  std::string shown = RuleText(Quote(value), codePage);
  warnings.push_back(other ? Text(kNotTextReadsIn, name, shown, other)
                           : Text(kNotText, name, shown, SaveIn(codePage)));
  return other;
}

// Class names are compared with the ASCII letters folded byte by byte, the second bytes of
// double-byte characters too.
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

std::string AsWritten(const std::string& value, unsigned codePage, bool* readOtherwise) {
  bool bom = value.compare(0, 3, kBom) == 0;
  std::string text = bom ? value.substr(3) : value;
  *readOtherwise = bom;
  if (IsAscii(text)) return text;
  // UTF-8 is taken for UTF-8 first, as the walk takes it.
  if (IsCodePageText(text, CP_UTF8)) {
    *readOtherwise = *readOtherwise || codePage != CP_UTF8;
    return text;
  }
  if (codePage != CP_UTF8 && IsCodePageText(text, codePage)) return RuleText(text, codePage);
  unsigned other = CleanCodePage(text, false, codePage);
  *readOtherwise = *readOtherwise || other != 0;
  return RuleText(text, other ? other : codePage);
}

std::string OtherEncoding(const std::string& content, unsigned codePage) {
  bool bom = content.compare(0, 3, kBom) == 0;
  std::string body = bom ? content.substr(3) : content;
  if (bom && codePage != CP_UTF8) return Text(kUtf8WithBom);
  if (IsAscii(body)) return bom ? Text(kUtf8WithBom) : "";
  std::string name;
  InOtherEncoding(body, codePage, &name);
  return name;
}

bool MixesEncodings(const std::string& content, const std::vector<std::string>& lines,
                    unsigned codePage, const std::string& shownPath, std::string* why) {
  why->clear();
  std::string encoding = OtherEncoding(content, codePage);
  if (encoding.empty()) return false;
  bool bom = content.compare(0, 3, kBom) == 0;
  std::string fix = bom ? SaveWithoutBom(codePage) : SaveIn(codePage);
  // On a system set to UTF-8 a byte order mark spoils only the first line: UTF-8 text mixes
  // nothing there.
  bool mixes = !(bom && codePage == CP_UTF8 && IsCodePageText(content.substr(3), CP_UTF8));
  bool ascii = true;
  for (const std::string& line : lines) ascii = ascii && IsAscii(line);
  std::string name = CodePageName(codePage);
  if (!ascii && mixes) {
    *why = Text(kMixedRefused, shownPath, encoding, name, fix);
    return true;
  }
  *why = Text(kFileInOtherEncoding, shownPath, encoding, name, fix);
  return false;
}

}  // namespace rule_engine
