// lunet-rules: tells what the rule files will do before the closer is switched on. Everything
// is decided by the module's own loader and matcher, linked in, never by a copy of them.
#include <stdio.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "own_console.h"
#include "tool_version.h"

using namespace rules_cli;

namespace {

int RunCommand(int argc, char** argv) {
  if (argc < 2) return UsageError(rules_text::kNoCommand);
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    Say(HelpText());
    return kClean;
  }
  if (name == "--version") {
    PrintVersion("lunet-rules");
    return kClean;
  }
  for (const Command& command : Commands()) {
    if (name != command.name) continue;
    // Window texts as typed (the wide command line on Windows), for the options that take them.
    std::vector<std::string> typed = TypedArguments(argc, argv);
    typed.erase(typed.begin());
    Arguments parsed;
    int status = Parse(command, std::vector<std::string>(argv + 2, argv + argc), typed, parsed);
    if (status != kClean) return status;
    if (!command.run) {
      return UsageError(rules_text::kRunWindowsBuild, name, Text(*command.windowsOnly));
    }
    status = command.run(parsed);
    return parsed.TypedLost() && status == kClean ? kWarnings : status;
  }
  return UsageError(rules_text::kUnknownCommand, PathText(name));
}

}  // namespace

int main(int argc, char** argv) {
  // Started by a double-click: the rules beside the program, and what to do next.
  if (argc == 1 && OwnsConsole()) return EndOfRun(RunFirstScreen());
  return EndOfRun(RunCommand(argc, argv));
}
