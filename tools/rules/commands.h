// The commands of lunet-rules: each takes its parsed arguments and returns the exit status.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "arguments.h"
#include "rule_set.h"

namespace rules_cli {

int RunCheck(Arguments& args);
int RunTest(Arguments& args);
int RunAdd(Arguments& args);
// Each rule file of dir (with its separator) of which Windows keeps a redirected copy, shown,
// with what to do about the copy.
std::vector<std::pair<std::string, std::string>> VirtualStoreCopies(const std::string& dir);
// Started by a double-click: checks the rules in the program's own folder and says what next.
int RunFirstScreen();
#ifdef _WIN32
int RunScan(Arguments& args);
int RunWatch(Arguments& args);
int RunPick(Arguments& args);
#endif

}  // namespace rules_cli
