#include "output.h"

#include <stdio.h>
#include <windows.h>

#include "console_text.h"
#include "is_directory.h"

namespace rules_cli {

using namespace rule_engine;

int RefuseFolder(const std::string& given) {
  bool missing = GetFileAttributesA(given.c_str()) == INVALID_FILE_ATTRIBUTES;
  return UsageError(missing ? rules_text::kNoSuchPath : rules_text::kNotADirectory,
                    PathText(given));
}

int OpenFolder(const std::string& given, RuleSet& rules) {
  if (!IsDirectory(given)) return RefuseFolder(given);
  std::string dir = WithSeparator(given);
  // The plug-in cannot load from a folder whose path its buffer cannot hold.
  if (dir.size() >= MAX_PATH)
    return UsageError<rules_text::Id>(Text(engine_text::kPathTooLong, PathText(given)));
  rules.LoadFolder(dir);
  return kClean;
}

void ComplainText(const std::string& utf8) { PrintError(TableOf<rules_text::Id>(), utf8); }

}  // namespace rules_cli
