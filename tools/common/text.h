// Small helpers for text and files that every tool needs: lines, indents, trimming, whole files
// read at once, and the columns a text takes on a console.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

// UTF-8's byte order mark, which Notepad puts before a file saved as UTF-8 (always before
// Windows 10 1903, as "UTF-8 with BOM" since).
const char kBom[] = "\xEF\xBB\xBF";

// The lines of a text split at CR LF, LF or CR, without their ends; a line end at the very end
// opens no new line.
std::vector<std::string> Lines(const std::string& text);
// Each line of the text with the indent before it and LF after it.
std::string Indent(const std::string& text, const std::string& indent);
// The text without the spaces and tabs at either end.
std::string Trim(const std::string& text);

// What reading a whole file found: it was read, there is no such file, or it could not be read
// (a folder, no access, an error while reading).
enum class FileRead { kRead, kMissing, kFailed };
FileRead ReadWholeFile(const std::string& path, std::string& content);
// The rest of an open stream (standard input too); false on a read error.
bool ReadToEnd(FILE* stream, std::string& content);

// The columns a UTF-8 text takes on a console: two for a character of three or four bytes
// (Japanese among them), one for every other character.
size_t ConsoleColumns(const std::string& utf8);
