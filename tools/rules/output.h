// What every command of lunet-rules says the same way: its output, its errors and exit codes.
#pragma once

#include <string>

#include "rule_set.h"
#include "rules_messages.h"

namespace rules_cli {

// kUnavailable: what a command needs is held by another program or cannot be opened.
enum Exit { kClean = 0, kWarnings = 1, kUsage = 2, kInternal = 3, kUnavailable = 4 };

// Refuses a folder that is missing ("no such file or directory", as check says of any path) or
// a file, with the usage error; returns kUsage.
int RefuseFolder(const std::string& given);

// The folder given (or the usage error, kUsage, when it is none) loaded into rules.
int OpenFolder(const std::string& given, rule_engine::RuleSet& rules);

// An error or a warning already in words, on stderr after the program's name.
void ComplainText(const std::string& utf8);

}  // namespace rules_cli
