#include "text.h"

#include <windows.h>

#include "owned.h"

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      line += text[i];
      continue;
    }
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string Indent(const std::string& text, const std::string& indent) {
  std::string out;
  for (const std::string& line : Lines(text)) out += indent + line + "\n";
  return out;
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool ReadToEnd(FILE* stream, std::string& content) {
  char chunk[4096];
  size_t read;
  while ((read = fread(chunk, 1, sizeof chunk, stream)) > 0) content.append(chunk, read);
  return !ferror(stream);
}

FileRead ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  OwnedFile file(path.c_str(), "rb");
  if (!file.get()) {
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? FileRead::kMissing
                                                                       : FileRead::kFailed;
  }
  return ReadToEnd(file.get(), content) ? FileRead::kRead : FileRead::kFailed;
}

size_t ConsoleColumns(const std::string& utf8) {
  size_t columns = 0;
  for (unsigned char byte : utf8) columns += byte < 0x80 ? 1 : byte >= 0xE0 ? 2 : byte >= 0xC0;
  return columns;
}
