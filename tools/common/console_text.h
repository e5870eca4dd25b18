// Text for the command-line tools: bytes in a Windows code page (Shift_JIS answers, ANSI rule
// files) shown as the console or the pipe expects them, and typed text turned into such bytes.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
// Natively code page 0 stands for "bytes as they are": they pass through unchanged, as UTF-8
// text does.
#define CP_ACP 0
#define CP_UTF8 65001
#endif

// Writes bytes that are text in codePage to stdout or stderr. On Windows a console gets the text
// as UTF-16 (WriteConsoleW); a pipe or a file, and natively everything, gets UTF-8. Bytes that
// are no character of the code page, and control characters, are shown as \xHH.
void WriteText(FILE* stream, const std::string& bytes, unsigned codePage);
// The text as WriteText shows it, in UTF-8: for a message that quotes a title or a path.
std::string AsUtf8(const std::string& bytes, unsigned codePage);

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
// The program's arguments from argv[1] on, in UTF-8 as they were typed: on Windows from the
// wide command line, which the ANSI argv may have lost characters of; natively argv itself.
std::vector<std::string> TypedArguments(int argc, char** argv);
// Bytes read from standard input, in UTF-8: on Windows they come in the console's input code
// page (850 on a Western console, not the ANSI 1252); natively they are UTF-8 already.
std::string InputToUtf8(const std::string& bytes);
