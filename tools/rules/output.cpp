#include "output.h"

#include <stdio.h>
#include <windows.h>

#include "console_text.h"

namespace rules_cli {

void Out(const std::string& text, unsigned codePage) { WriteText(stdout, text, codePage); }

void Say(const std::string& utf8) { PrintLine(stdout, utf8); }

void Complain(const std::string& utf8) { PrintError(kRulesMessages, utf8); }

int UsageError(const std::string& message) {
  Complain(RulesText(rules_text::kUsageError, message));
  return kUsage;
}

int InternalError(const std::string& path) {
  Complain(RulesText(rules_text::kInternalError, Given(path)));
  return kInternal;
}

int NotAFolder(const std::string& given) {
  bool missing = GetFileAttributesA(given.c_str()) == INVALID_FILE_ATTRIBUTES;
  return UsageError(
      RulesText(missing ? rules_text::kNoSuchPath : rules_text::kNotADirectory, Given(given)));
}

std::string Given(const std::string& ansi) { return AsUtf8(ansi, CP_ACP); }

std::string Counted(unsigned long count, rules_text::Id one, rules_text::Id many,
                    Language language) {
  return count == 1 ? FormatIn(language, kRulesMessages, one)
                    : FormatIn(language, kRulesMessages, many, count);
}

}  // namespace rules_cli
