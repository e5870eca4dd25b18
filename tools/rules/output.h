// What every command of lunet-rules says the same way: its output, its errors and exit codes.
#pragma once

#include <string>

#include "rules_messages.h"

namespace rules_cli {

// kUnavailable: what a command needs is held by another program or cannot be opened.
enum Exit { kClean = 0, kWarnings = 1, kUsage = 2, kInternal = 3, kUnavailable = 4 };

// Refuses a folder that is missing ("no such file or directory", as check says of any path) or
// a file, with the usage error; returns kUsage.
int RefuseFolder(const std::string& given);

// "1 class rule", "2 class rules": one for a count of 1, many (with the count) for others, in
// this run's language unless told (watch's log is English).
std::string Counted(unsigned long count, rules_text::Id one, rules_text::Id many,
                    Language language = ToolLanguage());

}  // namespace rules_cli
