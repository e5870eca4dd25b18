// Text for the command-line tools: bytes in a Windows code page shown as the console or the pipe
// expects them, and what the user typed (arguments, standard input) in UTF-8.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "code_page.h"

// Writes bytes that are text in codePage to stdout or stderr, as AsUtf8 shows them. On Windows a
// console gets the text as UTF-16 (WriteConsoleW); a pipe or a file, and natively everything,
// gets UTF-8.
void WriteText(FILE* stream, const std::string& bytes, unsigned codePage);
// The program's arguments from argv[1] on, in UTF-8 as they were typed: on Windows from the
// wide command line, which the ANSI argv may have lost characters of; natively argv itself.
std::vector<std::string> TypedArguments(int argc, char** argv);
// Bytes read from standard input, in UTF-8: on Windows they come in the console's input code
// page (850 on a Western console, not the ANSI 1252); natively they are UTF-8 already.
std::string InputToUtf8(const std::string& bytes);
