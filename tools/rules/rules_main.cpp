// lunet-rules: tells what the rule files will do before the closer is switched on. Everything
// is decided by the module's own loader and matcher, linked in, never by a copy of them.
#include <stdio.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "console_text.h"
#include "output.h"

using namespace rules_cli;

int main(int argc, char** argv) {
  if (argc < 2) return UsageError("no command given");
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    fputs(HelpText().c_str(), stdout);
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
      return UsageError(name + " " + command.windowsOnly + ": run the Windows build");
    }
    status = command.run(parsed);
    return parsed.TypedLost() && status == kClean ? kWarnings : status;
  }
  return UsageError("unknown command " + name);
}
