#include "output.h"

#include <stdio.h>
#include <windows.h>

#include "console_text.h"

namespace rules_cli {

void Out(const std::string& text, unsigned codePage) { WriteText(stdout, text, codePage); }

int UsageError(const std::string& message) {
  fprintf(stderr, "lunet-rules: %s\n(lunet-rules --help tells more)\n", message.c_str());
  return kUsage;
}

int InternalError(const std::string& path) {
  fprintf(stderr,
          "lunet-rules: internal error: the module's loader stored other rules from %s than "
          "this check found\n",
          path.c_str());
  return kInternal;
}

int NotAFolder(const std::string& given) {
  bool missing = GetFileAttributesA(given.c_str()) == INVALID_FILE_ATTRIBUTES;
  return UsageError(given + (missing ? ": no such file or directory" : ": not a directory"));
}

std::string Plural(unsigned long count, const char* one) {
  return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

}  // namespace rules_cli
