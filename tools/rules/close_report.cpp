#include "close_report.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads literal at text; advances past it.
bool Expect(const char*& text, const char* literal) {
  size_t length = strlen(literal);
  if (strncmp(text, literal, length) != 0) return false;
  text += length;
  return true;
}

// Reads a quoted text's content up to its closing quote, undoing the escapes; advances past it.
bool Unquote(const char*& text, std::string& out) {
  out.clear();
  for (; *text != '"'; ++text) {
    if (*text == 0) return false;
    if (*text != '\\') {
      out += *text;
      continue;
    }
    if (text[1] != 'x' || HexValue(text[2]) < 0 || HexValue(text[3]) < 0) return false;
    out += static_cast<char>(HexValue(text[2]) * 16 + HexValue(text[3]));
    text += 3;
  }
  ++text;
  return true;
}

bool Number(const char*& text, int base, unsigned long long& value) {
  char* end = nullptr;
  unsigned char first = static_cast<unsigned char>(*text);
  if (base == 10 ? !isdigit(first) : !isxdigit(first)) return false;
  value = strtoull(text, &end, base);
  text = end;
  return true;
}

}  // namespace

bool ParseCloseReport(const std::string& line, CloseReport& report) {
  const char* text = line.c_str();
  unsigned long long pid = 0;
  if (!Expect(text, "lunet: close pid=") || !Number(text, 10, pid) || !Expect(text, " hwnd=0x") ||
      !Number(text, 16, report.window) || !Expect(text, " class=\"") ||
      !Unquote(text, report.className) || !Expect(text, " title=\"") ||
      !Unquote(text, report.title)) {
    return false;
  }
  report.processId = static_cast<unsigned long>(pid);
  return *text == 0 || strcmp(text, "\n") == 0;
}
