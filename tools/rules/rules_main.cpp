// lunet-rules: tells what the rule files will do before the closer is switched on. Everything
// is decided by the module's own loader and matcher, linked in, never by a copy of them.
#include <stdio.h>

#include <string>
#include <vector>

#include "commands.h"
#include "console_text.h"

using namespace rules_cli;

namespace {

const char kUsageText[] =
    "usage: lunet-rules check [-q] [--codepage N] [DIR|FILE]...\n"
    "       lunet-rules test --class NAME --title TEXT [--codepage N] [DIR]\n"
    "       lunet-rules scan [--all [--hidden]] [DIR]\n"
    "       lunet-rules watch [DIR] [--log FILE] [--count N]\n"
    "       lunet-rules add [--class NAME] [--title TEXT] [--codepage N] [DIR]\n"
    "       lunet-rules pick [--at X,Y] [--title TEXT] [--yes] [DIR]\n"
    "\n"
    "Reads the rule files killwnd.txt and killwnd_custom.txt with the plug-in's own loader and\n"
    "matcher. DIR defaults to the current directory.\n"
    "\n"
    "  check  lists what each line of the rule files does, and warns about every line that\n"
    "         does nothing or more than it seems to: a keyword alone, an unknown keyword, a\n"
    "         space next to the keyword, a comment not at the start of the line or begun with\n"
    "         #, a third field, an empty title fragment, a rule that repeats an earlier one,\n"
    "         title rules without any class rule, text that is not in the code page (UTF-8,\n"
    "         say), a missing file. An empty file is fine while the other holds rules.\n"
    "         A FILE is read on its own; a DIR reads both files as the plug-in does.\n"
    "         -q shows only the warnings. Exit 0 when clean, 1 on warnings, 2 on usage errors.\n"
    "  test   says whether a window with that class name and title would be closed, and by\n"
    "         which rules, with a hint at rules missed only by a byte order mark, spaces or\n"
    "         letter case; like the plug-in it reads only the first 254 bytes of each.\n"
    "         Exit 0 when it would be closed, 1 when it would stay open.\n"
    "  scan   (Windows) lists the top-level windows open now that the rules would close,\n"
    "         without closing anything; --all lists the other visible ones too, and\n"
    "         --hidden adds the hidden ones.\n"
    "  watch  (Windows) prints each window the closer asks to close, as it happens: time,\n"
    "         program, class, title, and the rules in DIR that match it. --log FILE appends\n"
    "         the same lines to FILE; --count N stops after N closes; Ctrl+C ends it. Only one\n"
    "         program can listen to debug output at a time: exit 4 when another one does.\n"
    "  add    appends a class rule, a title fragment or both to killwnd_custom.txt (made,\n"
    "         with a comment, when missing; its line ends kept), skipping what is there\n"
    "         already as the plug-in compares it. Refuses an empty fragment (it would close\n"
    "         every window of every listed class), a comma (the plug-in cuts the value there),\n"
    "         spaces at either end and values over 254 bytes; warns of quotes (exit 1).\n"
    "         Says what the new rules apply to across the two lists and (Windows) which\n"
    "         open windows they now match. Exit 4 when the file cannot be written.\n"
    "  pick   (Windows) point at a window and press Enter: shows its class, title and\n"
    "         program, proposes its class and whole title as rules, takes a shorter fragment\n"
    "         (it must occur in the title), shows what add would do and adds it once you\n"
    "         say y. --at X,Y picks the window at that point without waiting, --title gives\n"
    "         the fragment and --yes confirms, for scripts.\n"
    "\n"
    "  --codepage N  the ANSI code page of the system the rules are for: 1252 (Western),\n"
    "         932 (Japanese), or another this system converts. The default is this system's\n"
    "         on Windows, 1252 elsewhere; every command takes it. Typed texts are\n"
    "         converted to it; a character it cannot hold is warned about (it becomes ?, as\n"
    "         in the window functions) and the command ends with status 1 at least.\n"
    "         Every option takes --x V and --x=V alike.\n"
    "\n"
    "Rule files are text in the system's ANSI code page, one rule a line:\n"
    "  class,WindowClass     close windows of this class (letter case ignored) ...\n"
    "  title,Fragment        ... whose title contains this text (letter case counts)\n"
    "  // a comment          (// at the very start of the line)\n"
    "Each program reads the rules once: after editing them, restart the programs that\n"
    "should use the new ones (programs started later use them anyway).\n";

const Option kCheckOptions[] = {{"--quiet", "-q", Takes::Nothing}, {}};
const Option kTestOptions[] = {
    {"--class", nullptr, Takes::Typed}, {"--title", nullptr, Takes::Typed}, {}};
const Option kScanOptions[] = {
    {"--all", nullptr, Takes::Nothing}, {"--hidden", nullptr, Takes::Nothing}, {}};
const Option kWatchOptions[] = {
    {"--log", nullptr, Takes::Path}, {"--count", nullptr, Takes::Count}, {}};
const Option kPickOptions[] = {{"--at", nullptr, Takes::Point},
                               {"--title", nullptr, Takes::Typed},
                               {"--yes", nullptr, Takes::Nothing},
                               {}};

// Natively a command that needs Windows only says what for.
#ifdef _WIN32
#define WINDOWS_ONLY(what, run) "", run
#else
#define WINDOWS_ONLY(what, run) what, nullptr
#endif

const Command kCommands[] = {
    {"check", nullptr, RunCheck, kCheckOptions, true},
    {"test", nullptr, RunTest, kTestOptions, false},
    {"scan", WINDOWS_ONLY("lists the windows open on a Windows desktop", RunScan), kScanOptions,
     false},
    {"watch", WINDOWS_ONLY("reads the debug output of a Windows desktop", RunWatch), kWatchOptions,
     false},
    // add takes the same options as test.
    {"add", nullptr, RunAdd, kTestOptions, false},
    {"pick", WINDOWS_ONLY("looks at the windows of a Windows desktop", RunPick), kPickOptions,
     false},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageError("no command given");
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    fputs(kUsageText, stdout);
    return kClean;
  }
  for (const Command& command : kCommands) {
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
    return TypedTextLost() && status == kClean ? kWarnings : status;
  }
  return UsageError("unknown command " + name);
}
