// lunet-host's options and commands as rows, the one parser of its command line, the look-up of
// a command line typed or scripted, and the help made from the rows.
#pragma once

#include <string>
#include <vector>

#include "host_messages.h"

class Session;

namespace host_cli {

// The command line taken apart. Started by a double-click it holds only the plug-in.
struct Arguments {
  std::string plugin, directory, script;
  std::vector<std::string> commands;
  bool raw = false, brief = false, showBoxes = false, help = false, version = false;
};

struct Option {
  const char* name;   // "--dir"
  const char* alias;  // "-h", or null
  const char* value;  // its value in the help, "DIR"; null for a switch
  host_text::Id help;
  std::string Arguments::*text;  // where the value goes; null for a switch
  bool Arguments::*flag;         // what the switch sets; null for an option with a value
};
const std::vector<Option>& Options();

// 0 when args (argv without the program) are usable, else 2, said on stderr. --help and
// --version end the reading: what follows them is not looked at.
int ParseArguments(const std::vector<std::string>& args, Arguments& parsed);

// A command line: its text trimmed, its first word and the rest after the blanks.
struct CommandLine {
  std::string text, name, rest;
};
// False for a blank line or a # comment. A number alone is short for "pick N".
bool SplitCommand(const std::string& line, CommandLine& command);

enum class Takes {
  Nothing,
  Text,   // something, as it is
  Any,    // something or nothing: the command checks it
  Count,  // a whole number
};

struct Command {
  const char* name;
  const char* alias;  // "?", or null
  Takes takes;
  const char* value;  // its argument in the help, "FILE"; null when it takes none
  host_text::Id help;
  // Whether it may switch lunet.dll's closer on, whose switch must then have been saved.
  bool switches;
  // Null natively: the session talks to a plug-in only on Windows.
  bool (Session::*run)(const CommandLine& command);
};
const std::vector<Command>& Commands();
// The row for the command's name and arguments; null when none takes them.
const Command* FindCommand(const CommandLine& command);

// The command list (the help command's), and the whole --help text around it.
std::string CommandHelp(Language language = ToolLanguage());
std::string HelpText(Language language = ToolLanguage());

// A pick's number, or sleep's milliseconds: a whole number, at most a day of milliseconds.
bool ParseCount(const std::string& text, long& value);

}  // namespace host_cli
