// What every command of lunet-rules says the same way: its output, its errors and exit codes.
#pragma once

#include <string>

#include "rules_messages.h"

namespace rules_cli {

// kUnavailable: what a command needs is held by another program or cannot be opened.
enum Exit { kClean = 0, kWarnings = 1, kUsage = 2, kInternal = 3, kUnavailable = 4 };

// Text of the rule files or of windows, in the rules' code page, to stdout.
void Out(const std::string& text, unsigned codePage);
// A line of this run's language, UTF-8, to stdout.
void Say(const std::string& utf8);
// An error or a warning, UTF-8: "lunet-rules: " and the text, a line on stderr.
void Complain(const std::string& utf8);
// A usage error, UTF-8, told on stderr; returns kUsage.
int UsageError(const std::string& message);
// The module's store and the walk of the same files disagree: a fault of this program.
int InternalError(const std::string& path);
// The usage error for a folder that is missing ("no such file or directory", as check says of
// any path) or a file.
int NotAFolder(const std::string& given);
// A path or a value given on the command line, in UTF-8 for a message.
std::string Given(const std::string& ansi);

// "1 class rule", "2 class rules": one for a count of 1, many (with the count) for others, in
// this run's language unless told (watch's log is English).
std::string Counted(unsigned long count, rules_text::Id one, rules_text::Id many,
                    Language language = ToolLanguage());

}  // namespace rules_cli
