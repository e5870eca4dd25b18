// What the code page the plug-in compares in makes of a rule's bytes, and how to save a rule
// file so that it reads them as written: pure functions of bytes and a code page, whose texts are
// in this run's language, in UTF-8.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

namespace rule_engine {

// The bytes of a UTF-8 character in the code page; "" when it has none.
std::string CharIn(const char* utf8, unsigned codePage);
// The length of the character at i of text in the code page.
size_t CharLength(const std::string& text, size_t i, unsigned codePage);
// Where the character (bytes in the code page) starts in the text; npos when it does not.
size_t FindChar(const std::string& text, const std::string& bytes, unsigned codePage);

// "code page N", saying when it is this system's.
std::string CodePageName(unsigned codePage);
// Whether Notepad's "ANSI" here is the code page: only then is it the step to take.
bool NotepadAnsiIs(unsigned codePage);
// How to save a rule file in the code page, with Notepad's steps where they apply.
std::string SaveIn(unsigned codePage);
// How to save a rule file without a byte order mark, in the code page.
std::string SaveWithoutBom(unsigned codePage);

// A code page that no common one is: the text seems written for a system of some other.
const unsigned kSomeCodePage = ~0u;
// Non-ASCII text is fine when it is text in the code page the plug-in compares in: else a
// warning for the value (a byte order mark, UTF-8 or another code page's text) goes to warnings.
// Returns the code page of the system the text seems written for, as the last warning says
// (kSomeCodePage when no common one holds it), or 0.
unsigned CheckCodePage(const std::string& value, unsigned codePage,
                       std::vector<std::string>& warnings);

// Where the class rule also matches other classes, as its double-byte characters' second bytes
// are letters folded: says which characters stand for which and the class with all of them
// swapped; "" when there is none.
std::string FoldTwin(const std::string& value, unsigned codePage);
// Whether full-width spaces (U+3000, the input method's) stand at the value's ends, and the
// value without them and without spaces.
bool WideEdges(const std::string& value, unsigned codePage);
std::string WithoutWideEdges(const std::string& value, unsigned codePage);
// A value of a rule file that is text of another encoding (UTF-8 where the code page is not;
// another code page where it is UTF-8), converted to the code page; "" when it is not. name
// gets the encoding's name.
std::string InOtherEncoding(const std::string& value, unsigned codePage, std::string* name);

// A rule's value as the person who wrote it saw it, in UTF-8 for showing: text of the code page,
// or the UTF-8 (after a byte order mark, or without one where the code page is not UTF-8) or
// other code page's text the file holds, which the plug-in then reads otherwise (readOtherwise).
std::string AsWritten(const std::string& value, unsigned codePage, bool* readOtherwise);

// The encoding a rule file's content is saved in when it is not the code page: UTF-8 (with or
// without a byte order mark) where the code page is not UTF-8, another code page where it is;
// "" when it is the code page's text, or plain ASCII.
std::string OtherEncoding(const std::string& content, unsigned codePage);
// Whether appending lines (in the code page) to content would leave the file in two encodings,
// which no editor would show whole: then why (shownPath in UTF-8) says so. ASCII lines mix
// nothing; appending them to a file in another encoding gets the warning in why, and false.
bool MixesEncodings(const std::string& content, const std::vector<std::string>& lines,
                    unsigned codePage, const std::string& shownPath, std::string* why);
// The same question without the words.
inline bool MixesEncodings(const std::string& content, const std::vector<std::string>& lines,
                           unsigned codePage) {
  std::string why;
  return MixesEncodings(content, lines, codePage, "", &why);
}

}  // namespace rule_engine
