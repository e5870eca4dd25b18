// Text output for the command-line tools: bytes in a Windows code page (Shift_JIS answers, ANSI
// rule files) shown as the console or the pipe expects them.
#pragma once

#include <stdio.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
// Native builds have no code pages: bytes pass through unchanged.
#define CP_ACP 0
#endif

// Writes bytes that are text in codePage to stdout or stderr. On Windows a console gets the text
// as UTF-16 (WriteConsoleW); a pipe or a file gets UTF-8. Natively the bytes are written as they
// are.
void WriteText(FILE* stream, const std::string& bytes, unsigned codePage);

// The text in double quotes with control bytes escaped, so that spaces at either end and empty
// texts can be seen. Backslashes stay: they are trail bytes of some double-byte code pages.
std::string Quote(const std::string& bytes);
