// Bytes that are text in a Windows code page (ANSI rule files, window texts, paths, the plug-in's
// Shift_JIS answers) made into UTF-8 to show them, and UTF-8 made into such bytes. Nothing here
// writes to a console: the tools and a window use it alike.
#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
// Natively code page 0 stands for "bytes as they are": they pass through unchanged, as UTF-8
// text does.
#define CP_ACP 0
#define CP_UTF8 65001
#endif

// The text in UTF-8, every byte that is no character of the code page (and every C1 control)
// shown as \xHH, so that the reader sees the bytes.
std::string AsUtf8(const std::string& bytes, unsigned codePage);
// A path, or other text the system handed over in its ANSI code page (an argument, a program's
// file name), in UTF-8 for a message: decoded in the ANSI code page on Windows, as given
// natively, where paths are UTF-8.
inline std::string PathText(const std::string& path) { return AsUtf8(path, CP_ACP); }
// A rule's text (a value or a line of a rule file, a window's class or title as the plug-in
// reads it) in UTF-8 for a message: decoded in the code page of the system the rules are for.
inline std::string RuleText(const std::string& bytes, unsigned codePage) {
  return AsUtf8(bytes, codePage);
}

// The text in double quotes with control bytes escaped, so that spaces at either end and empty
// texts can be seen. Backslashes stay: they are trail bytes of some double-byte code pages.
std::string Quote(const std::string& bytes);

// 1 when every byte is ASCII: text that reads the same in every code page.
int IsAscii(const std::string& bytes);
// 1 when this system can convert to and from the code page.
int KnownCodePage(unsigned codePage);
// 1 when every byte belongs to a character of the code page, other than a C1 control (which no
// text holds; 1252 and others map their unused bytes to them). With CP_UTF8: whether the text
// reads as UTF-8, which double-byte text rarely does.
int IsCodePageText(const std::string& bytes, unsigned codePage);
// UTF-8 text in the code page, as the ANSI window functions convert: what it cannot hold
// becomes '?' (or a look-alike on Windows). *lost, when given, says whether any character was
// replaced so: whether the text no longer reads as it was typed.
std::string ToCodePage(const std::string& utf8, unsigned codePage, bool* lost = nullptr);

#ifdef _WIN32
// The system's own conversions, to and from UTF-16, with no escapes.
std::wstring Widen(const std::string& bytes, unsigned codePage);
std::string Narrow(const std::wstring& wide, unsigned codePage);
#endif
