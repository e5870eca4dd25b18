// Scripts are walked as Shift_JIS: the second byte of a double-byte character may be a backslash
// or a bracket, and must never be taken for a tag or the end of one.
#include "answer.h"

#include <stdio.h>

#include "support/charset.h"
#include "text.h"

namespace {

// The length of the character at i: 2 for a Shift_JIS pair, else 1.
size_t CharLength(const std::string& text, size_t i) {
  return IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// From just after an opening bracket, the position of the closing one (or the end); an escaped
// bracket \] stays inside.
size_t CloseBracket(const std::string& text, size_t i) {
  while (i < text.size() && text[i] != ']') {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    i += CharLength(text, i);
  }
  return i;
}

Choice SplitChoice(const std::string& inside) {
  for (size_t i = 0; i < inside.size(); i += CharLength(inside, i)) {
    if (inside[i] == ',') return Choice{inside.substr(0, i), inside.substr(i + 1)};
  }
  return Choice{inside, std::string()};
}

// Walks the tags of a script: visit(name, parameter) for each tag, text(bytes) for the rest.
// Stops after \e.
template <typename Tag, typename Text>
void WalkScript(const std::string& script, Tag tag, Text text) {
  size_t i = 0;
  while (i < script.size()) {
    if (script[i] != '\\' || i + 1 >= script.size()) {
      size_t n = CharLength(script, i);
      text(script.substr(i, n));
      i += n;
      continue;
    }
    char name = script[i + 1];
    i += 2;
    if (name == '\\' || name == '[' || name == ']') {
      text(std::string(1, name));
      continue;
    }
    std::string fullName(1, name);
    if ((name == '_' || name == '!' || name == '&') && i < script.size() && script[i] != '[') {
      fullName += script[i++];
    }
    std::string parameter;
    if (i < script.size() && script[i] == '[') {
      size_t close = CloseBracket(script, i + 1);
      parameter = script.substr(i + 1, close - i - 1);
      i = close + 1;
    }
    if (!tag(fullName, parameter)) return;
  }
}

}  // namespace

std::string LineHeaderValue(const std::string& answer, const std::string& name) {
  std::string prefix = name + ":";
  for (const std::string& line : Lines(answer)) {
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    size_t start = prefix.size();
    while (start < line.size() && line[start] == ' ') ++start;
    return line.substr(start);
  }
  return std::string();
}

std::vector<Choice> ParseChoices(const std::string& script) {
  std::vector<Choice> choices;
  WalkScript(
      script,
      [&](const std::string& name, const std::string& parameter) {
        if (name == "q") choices.push_back(SplitChoice(parameter));
        return name != "e";
      },
      [](const std::string&) {});
  return choices;
}

std::string BalloonText(const std::string& script) {
  std::string shown;
  WalkScript(
      script,
      [&](const std::string& name, const std::string& parameter) {
        if (name == "n") shown += '\n';
        if (name == "q") shown += "[" + SplitChoice(parameter).label + "]";
        return name != "e";
      },
      [&](const std::string& text) { shown += text; });
  return shown;
}

std::string HexDump(const std::string& bytes) {
  std::string out;
  char cell[32];
  for (size_t line = 0; line < bytes.size(); line += 16) {
    snprintf(cell, sizeof cell, "%08zx ", line);
    out += cell;
    std::string ascii;
    for (size_t i = line; i < line + 16; ++i) {
      if (i < bytes.size()) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        snprintf(cell, sizeof cell, " %02X", byte);
        out += cell;
        ascii += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.';
      } else {
        out += "   ";
      }
    }
    out += "  |" + ascii + "|\n";
  }
  return out;
}
