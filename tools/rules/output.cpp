#include "output.h"

#include <stdio.h>
#include <windows.h>

#include "console_text.h"

namespace rules_cli {

int NotAFolder(const std::string& given) {
  bool missing = GetFileAttributesA(given.c_str()) == INVALID_FILE_ATTRIBUTES;
  return UsageError(missing ? rules_text::kNoSuchPath : rules_text::kNotADirectory, FromAnsi(given));
}

std::string FromAnsi(const std::string& ansi) { return AsUtf8(ansi, CP_ACP); }

std::string Counted(unsigned long count, rules_text::Id one, rules_text::Id many,
                    Language language) {
  return count == 1 ? TextIn(language, one)
                    : TextIn(language, many, count);
}

}  // namespace rules_cli
