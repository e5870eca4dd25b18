#include "close_report_reader.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include "closer/close_report.h"

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

// Reads " name=" at text; advances past it.
bool Field(const char*& text, const char* name) {
  return Expect(text, " ") && Expect(text, name) && Expect(text, "=");
}

// Reads a quoted text up to its closing quote, undoing the escapes; advances past it.
bool Unquote(const char*& text, std::string& out) {
  out.clear();
  if (*text++ != '"') return false;
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
  unsigned long long pid = 0, dropped = 0;
  if (!Expect(text, kReportPrefix) || !Field(text, kReportProcessField) || !Number(text, 10, pid) ||
      !Field(text, kReportWindowField) || !Expect(text, "0x") || !Number(text, 16, report.window) ||
      !Field(text, kReportClassField) || !Unquote(text, report.className) ||
      !Field(text, kReportTitleField) || !Unquote(text, report.title)) {
    return false;
  }
  if (*text == ' ' && (!Field(text, kReportDroppedField) || !Number(text, 10, dropped))) {
    return false;
  }
  report.processId = static_cast<unsigned long>(pid);
  report.dropped = static_cast<unsigned long>(dropped);
  return *text == 0 || strcmp(text, "\n") == 0;
}
