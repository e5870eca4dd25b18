// What every command of lunet-rules says the same way: its output, its errors and exit codes.
#pragma once

#include <string>

namespace rules_cli {

// kUnavailable: what a command needs is held by another program or cannot be opened.
enum Exit { kClean = 0, kWarnings = 1, kUsage = 2, kInternal = 3, kUnavailable = 4 };

// Text of the rule files or of windows, in the rules' code page, to stdout.
void Out(const std::string& text, unsigned codePage);
int UsageError(const std::string& message);
// The module's store and the walk of the same files disagree: a fault of this program.
int InternalError(const std::string& path);
// The usage error for a folder that is missing ("no such file or directory", as check says of
// any path) or a file.
int NotAFolder(const std::string& given);

// "1 class rule", "2 class rules".
std::string Plural(unsigned long count, const char* one);

}  // namespace rules_cli
