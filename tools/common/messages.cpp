#include "messages.h"

#include <stdlib.h>
#include <string.h>

#include "console_text.h"

#ifndef _WIN32
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
bool UiIsJapanese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

bool StreamHoldsJapanese(DWORD which) {
  DWORD mode;
  if (!GetConsoleMode(GetStdHandle(which), &mode)) return true;  // a pipe or a file: UTF-8
  UINT page = GetConsoleOutputCP();
  return page == 932 || page == CP_UTF8;
}

bool OutputHoldsJapanese() {
  return StreamHoldsJapanese(STD_OUTPUT_HANDLE) && StreamHoldsJapanese(STD_ERROR_HANDLE);
}
#else
bool UiIsJapanese() {
  return LocaleIsJapanese(getenv("LC_ALL"), getenv("LC_MESSAGES"), getenv("LANG"));
}

bool TerminalIsUtf8() {
  locale_t locale = newlocale(LC_CTYPE_MASK, "", (locale_t)0);
  if (!locale) return false;
  bool utf8 = strcmp(nl_langinfo_l(CODESET, locale), "UTF-8") == 0;
  freelocale(locale);
  return utf8;
}

bool OutputHoldsJapanese() {
  return (!isatty(STDOUT_FILENO) && !isatty(STDERR_FILENO)) || TerminalIsUtf8();
}
#endif

void PrintText(FILE* stream, const std::string& utf8) {
  if (stream != stderr) return WriteText(stream, utf8, CP_UTF8);
  fflush(stdout);
  WriteText(stream, utf8, CP_UTF8);
  // The Windows C runtime buffers fwrite to a stderr that is a pipe until the program ends.
  fflush(stderr);
}

}  // namespace

bool LocaleIsJapanese(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value && *value) return strncmp(value, "ja", 2) == 0;
  }
  return false;
}

Language ChooseLanguage(const char* override, bool uiJapanese, bool holdsJapanese) {
  bool japanese = override && (strcmp(override, "ja") == 0 || strcmp(override, "en") == 0)
                      ? strcmp(override, "ja") == 0
                      : uiJapanese;
  return japanese && holdsJapanese ? Language::kJapanese : Language::kEnglish;
}

Language ToolLanguage() {
  static const Language language =
      ChooseLanguage(getenv("LUNET_LANG"), UiIsJapanese(), OutputHoldsJapanese());
  return language;
}

const char* MessageText(const MessageTable& table, int id, Language language) {
  const Message& row = table.rows[id];
  return language == Language::kJapanese ? row.japanese : row.english;
}

void PrintLine(FILE* stream, const std::string& utf8) { PrintText(stream, utf8 + "\n"); }

void PrintError(const MessageTable& table, const std::string& utf8) {
  PrintText(stderr, std::string(table.tool) + ": " + utf8 + "\n");
}

void PrintPrompt(const std::string& utf8) {
  PrintText(stdout, utf8);
  fflush(stdout);
}

std::string FormatText(const char* text, fmt::format_args args) { return fmt::vformat(text, args); }
