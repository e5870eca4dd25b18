// The commands of lunet-rules as rows, and the help made from them and the option rows.
#include "arguments.h"
#include "commands.h"

namespace rules_cli {

namespace {

const char kIntro[] =
    "Reads the rule files killwnd.txt and killwnd_custom.txt with the plug-in's own loader and "
    "matcher. DIR defaults to the current directory.";

const char kRuleFiles[] =
    "Rule files are text in the system's ANSI code page, one rule a line:\n"
    "  class,WindowClass     close windows of this class (letter case ignored) ...\n"
    "  title,Fragment        ... whose title contains this text (letter case counts)\n"
    "  // a comment          (// at the very start of the line)\n"
    "Each program reads the rules once: after editing them, restart the programs that\n"
    "should use the new ones (programs started later use them anyway).\n";

const char kEveryOption[] = "Every option takes --x V and --x=V alike.";

// Natively a command that needs Windows only says what for.
#ifdef _WIN32
#define WINDOWS_ONLY(what, run) "", run
#else
#define WINDOWS_ONLY(what, run) what, nullptr
#endif

// A paragraph of help in lines of at most 79 columns, each after indent.
std::string Wrapped(const std::string& text, const std::string& indent) {
  std::string out, line;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    std::string word = text.substr(start, end - start);
    if (!line.empty() && indent.size() + line.size() + 1 + word.size() > 79) {
      out += indent + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  return out + indent + line + "\n";
}

// "[--count N]", or "--class NAME" when the command needs it.
std::string Usage(const CommandOption& taken) {
  const Option& option = OptionRow(taken.id);
  std::string usage = option.alias ? option.alias : option.name;
  if (option.value) usage += std::string(" ") + option.value;
  return taken.required ? usage : "[" + usage + "]";
}

std::string UsageLine(const Command& command) {
  std::string line = std::string("lunet-rules ") + command.name;
  for (const CommandOption& taken : command.options) line += " " + Usage(taken);
  line += " " + Usage({OptionId::CodePage, false});
  return line + (command.manyPaths ? " [DIR|FILE]..." : " [DIR]");
}

// "  --count N  stops after N closes."
std::string OptionHelp(OptionId id, const std::string& indent) {
  const Option& option = OptionRow(id);
  std::string head = indent + option.name;
  if (option.alias) head = indent + option.alias + ", " + option.name;
  if (option.value) head += std::string(" ") + option.value;
  return head + "\n" + Wrapped(option.help, indent + "    ");
}

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> kCommands = {
      {"check",
       nullptr,
       RunCheck,
       {{OptionId::Quiet, false}},
       true,
       "lists what each line of the rule files does, and warns about every line that does "
       "nothing or more than it seems to: a keyword alone, an unknown keyword, a space next to "
       "the keyword, a comment not at the start of the line or begun with #, a third field, an "
       "empty title fragment, a rule that repeats an earlier one, title rules without any class "
       "rule, text that is not in the code page (UTF-8, say), a missing file. An empty file is "
       "fine while the other holds rules. A FILE is read on its own; a DIR reads both files as "
       "the plug-in does. Exit 0 when clean, 1 on warnings, 2 on usage errors."},
      {"test",
       nullptr,
       RunTest,
       {{OptionId::Class, true}, {OptionId::Title, true}},
       false,
       "says whether a window with that class name and title would be closed, and by which "
       "rules, with a hint at rules missed only by a byte order mark, spaces or letter case; "
       "like the plug-in it reads only the first 254 bytes of each. Exit 0 when it would be "
       "closed, 1 when it would stay open."},
      {"scan",
       WINDOWS_ONLY("lists the windows open on a Windows desktop", RunScan),
       {{OptionId::All, false}, {OptionId::Hidden, false}},
       false,
       "(Windows) lists the top-level windows open now that the rules would close, without "
       "closing anything."},
      {"watch",
       WINDOWS_ONLY("reads the debug output of a Windows desktop", RunWatch),
       {{OptionId::Log, false}, {OptionId::Count, false}},
       false,
       "(Windows) prints each window the closer asks to close, as it happens: time, program, "
       "class, title, and the rules in DIR that match it; Ctrl+C ends it. Only one program can "
       "listen to debug output at a time: exit 4 when another one does."},
      {"add",
       nullptr,
       RunAdd,
       {{OptionId::ClassRule, false}, {OptionId::Fragment, false}},
       false,
       "appends a class rule, a title fragment or both to killwnd_custom.txt (made, with a "
       "comment, when missing; its line ends kept), skipping what is there already as the "
       "plug-in compares it. Refuses an empty fragment (it would close every window of every "
       "listed class), a comma (the plug-in cuts the value there), spaces at either end and "
       "values over 254 bytes; warns of quotes (exit 1). Says what the new rules apply to across "
       "the two lists and (Windows) which open windows they now match. Exit 4 when the file "
       "cannot be written."},
      {"pick",
       WINDOWS_ONLY("looks at the windows of a Windows desktop", RunPick),
       {{OptionId::At, false}, {OptionId::Fragment, false}, {OptionId::Yes, false}},
       false,
       "(Windows) point at a window and press Enter: shows its class, title and program, "
       "proposes its class and whole title as rules, takes a shorter fragment (it must occur in "
       "the title), shows what add would do and adds it once you say y."},
  };
  return kCommands;
}

std::string HelpText() {
  std::string help;
  for (const Command& command : Commands()) {
    help += (help.empty() ? "usage: " : "       ") + UsageLine(command) + "\n";
  }
  help += "\n" + Wrapped(kIntro, "") + "\n";
  for (const Command& command : Commands()) {
    std::string name = command.name, text = Wrapped(command.help, std::string(9, ' '));
    help += text.replace(0, 9, "  " + name + std::string(7 - name.size(), ' '));
    for (const CommandOption& taken : command.options) {
      help += OptionHelp(taken.id, std::string(9, ' '));
    }
  }
  help += "\n" + OptionHelp(OptionId::CodePage, "  ") + Wrapped(kEveryOption, "  ");
  return help + "\n" + kRuleFiles;
}

}  // namespace rules_cli
