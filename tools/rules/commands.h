// The commands of lunet-rules: each takes its parsed arguments and returns the exit status.
#pragma once

#include "arguments.h"

namespace rules_cli {

int RunCheck(Arguments& args);
int RunTest(Arguments& args);
int RunAdd(Arguments& args);
// Started by a double-click: checks the rules in the program's own folder and says what next.
int RunFirstScreen();
#ifdef _WIN32
int RunScan(Arguments& args);
int RunWatch(Arguments& args);
int RunPick(Arguments& args);
#endif

}  // namespace rules_cli
