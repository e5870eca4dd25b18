#include "output.h"

#include <stdio.h>
#include <windows.h>

#include "console_text.h"

namespace rules_cli {

int RefuseFolder(const std::string& given) {
  bool missing = GetFileAttributesA(given.c_str()) == INVALID_FILE_ATTRIBUTES;
  return UsageError(missing ? rules_text::kNoSuchPath : rules_text::kNotADirectory,
                    PathText(given));
}

std::string Counted(unsigned long count, rules_text::Id one, rules_text::Id many,
                    Language language) {
  return count == 1 ? TextIn(language, one) : TextIn(language, many, count);
}

}  // namespace rules_cli
