#include "host_cli.h"

#include <windows.h>

#include "console_text.h"
#include "text.h"
#include "whole_number.h"
#ifdef _WIN32
#include "session.h"
#define RUN(handler) &Session::handler
#else
#define RUN(handler) nullptr
#endif

namespace host_cli {

namespace {

using namespace host_text;

const Option* FindOption(const std::string& name) {
  for (const Option& option : Options()) {
    if (name == option.name || (option.alias && name == option.alias)) return &option;
  }
  return nullptr;
}

// "  --dir DIR       what it does", the rows' lines after the first under the first.
std::string Entry(const std::string& head, const std::string& text, size_t column) {
  std::string out = "  " + head, indent(column, ' ');
  out += ConsoleColumns(out) + 2 <= column ? std::string(column - ConsoleColumns(out), ' ')
                                           : "\n" + indent;
  for (char c : text) out += c == '\n' ? "\n" + indent : std::string(1, c);
  return out + "\n";
}

std::string Head(Language language, const char* name, const char* alias, const char* value) {
  std::string head = std::string(name) + (value ? std::string(" ") + value : "");
  return alias ? TextIn(language, kListed, head, alias) : head;
}

}  // namespace

const std::vector<Option>& Options() {
  static const std::vector<Option> kOptions = {
      {"--dir", nullptr, "DIR", kOptDir, &Arguments::directory, nullptr},
      {"--script", nullptr, "FILE", kOptScript, &Arguments::script, nullptr},
      {"--raw", nullptr, nullptr, kOptRaw, nullptr, &Arguments::raw},
      {"--brief", nullptr, nullptr, kOptBrief, nullptr, &Arguments::brief},
      {"--show-boxes", nullptr, nullptr, kOptShowBoxes, nullptr, &Arguments::showBoxes},
      {"--version", nullptr, nullptr, kOptVersion, nullptr, &Arguments::version},
      {"--help", "-h", nullptr, kOptHelp, nullptr, &Arguments::help},
  };
  return kOptions;
}

int ParseArguments(const std::vector<std::string>& args, Arguments& parsed) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const Option* option = FindOption(arg);
    if (option && option->flag) {
      parsed.*option->flag = true;
      if (parsed.help || parsed.version) return 0;
    } else if (option) {
      // The next argument whatever it is: a folder may start with a dash.
      if (i + 1 == args.size() || args[i + 1].empty()) {
        return UsageError(kNeedsValue, arg, option->value);
      }
      parsed.*option->text = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError(kUnknownOption, PathText(arg));
    } else if (parsed.plugin.empty()) {
      parsed.plugin = arg;
    } else {
      parsed.commands.push_back(arg);
    }
  }
  if (parsed.plugin.empty()) return UsageError(kNoPlugin);
  if (!parsed.script.empty() && !parsed.commands.empty()) return UsageError(kCommandsTwice);
  return 0;
}

bool SplitCommand(const std::string& line, CommandLine& command) {
  size_t begin = line.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos || line[begin] == '#') return false;
  size_t end = line.find_last_not_of(" \t\r\n");
  command.text = line.substr(begin, end - begin + 1);
  size_t space = command.text.find_first_of(" \t");
  command.name = command.text.substr(0, space);
  command.rest.clear();
  if (space != std::string::npos) {
    command.rest = command.text.substr(command.text.find_first_not_of(" \t", space));
  }
  long number;
  if (ParseCount(command.name, number) && command.rest.empty()) {
    command.rest = command.name;
    command.name = "pick";
  }
  return true;
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> kCommands = {
      {"version", nullptr, Takes::Nothing, nullptr, kCmdVersion, false, RUN(Version)},
      {"menu", nullptr, Takes::Nothing, nullptr, kCmdMenu, false, RUN(Menu)},
      {"pick", nullptr, Takes::Any, "N", kCmdPick, true, RUN(Pick)},
      {"choose", nullptr, Takes::Text, "ID", kCmdChoose, true, RUN(Choose)},
      {"on", nullptr, Takes::Nothing, nullptr, kCmdOnOff, true, RUN(Switch)},
      {"off", nullptr, Takes::Nothing, nullptr, kCmdOnOff, false, RUN(Switch)},
      {"send", nullptr, Takes::Text, "FILE", kCmdSend, false, RUN(SendFile)},
      {"getversion", nullptr, Takes::Nothing, nullptr, kCmdGetVersion, false, RUN(GetVersion)},
      {"notify", nullptr, Takes::Any, "[ID]", kCmdNotify, false, RUN(Notify)},
      {"configure", nullptr, Takes::Nothing, nullptr, kCmdConfigure, true, RUN(Configure)},
      {"run", nullptr, Takes::Text, "COMMAND LINE", kCmdRun, false, RUN(Run)},
      {"sleep", nullptr, Takes::Count, "MS", kCmdSleep, false, RUN(Sleep)},
      {"echo", nullptr, Takes::Any, "TEXT", kCmdEcho, false, RUN(Echo)},
      {"help", "?", Takes::Nothing, nullptr, kCmdHelp, false, RUN(Help)},
      {"quit", "exit", Takes::Nothing, nullptr, kCmdQuit, false, RUN(Quit)},
  };
  return kCommands;
}

const Command* FindCommand(const CommandLine& command) {
  long number;
  for (const Command& row : Commands()) {
    if (command.name != row.name && !(row.alias && command.name == row.alias)) continue;
    bool fits =
        row.takes == Takes::Any || (row.takes == Takes::Nothing ? command.rest.empty()
                                    : row.takes == Takes::Text  ? !command.rest.empty()
                                                                : ParseCount(command.rest, number));
    return fits ? &row : nullptr;
  }
  return nullptr;
}

std::string CommandHelp(Language language) {
  std::string help = TextIn(language, kCommandsHead) + "\n";
  const std::vector<Command>& rows = Commands();
  for (size_t i = 0; i < rows.size(); ++i) {
    std::string head = Head(language, rows[i].name, rows[i].alias, rows[i].value);
    // Rows that share their text share their entry: "on, off".
    for (; i + 1 < rows.size() && rows[i + 1].help == rows[i].help; ++i) {
      head = TextIn(language, kListed, head,
                    Head(language, rows[i + 1].name, rows[i + 1].alias, rows[i + 1].value));
    }
    help += Entry(head, TextIn(language, rows[i].help), 20);
  }
  return help.substr(0, help.size() - 1);
}

std::string HelpText(Language language) {
  std::string help = TextIn(language, kUsage) + "\n\n" + TextIn(language, kOptionsHead) + "\n";
  for (const Option& option : Options()) {
    help += Entry(Head(language, option.name, option.alias, option.value),
                  TextIn(language, option.help), 18);
  }
  return help + "\n" + CommandHelp(language) + "\n" + TextIn(language, kExitCodes);
}

bool ParseCount(const std::string& text, long& value) {
  return ParseNumber(text, 0, 86400000, value);
}

}  // namespace host_cli
