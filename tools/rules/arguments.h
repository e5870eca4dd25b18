// The options of lunet-rules as rows, the commands that take them, and the one parser of its
// command lines.
#pragma once

#include <stddef.h>

#include <optional>
#include <string>
#include <vector>

#include "rules_messages.h"

namespace rules_cli {

enum class Takes {
  Nothing,  // a switch: --yes
  Path,     // a file or folder name, as the C runtime gave it
  Typed,    // a window text as typed, converted to the rules' code page
  Count,    // a whole number from 1 up
  Point,    // X,Y in screen coordinates
};

// Each option's id; two ids may share a spelling when they mean different things to different
// commands (--title is a window's title to test, a fragment to add).
enum class OptionId {
  CodePage,
  Quiet,
  Class,
  Title,
  ClassRule,
  Fragment,
  All,
  Hidden,
  Log,
  Count,
  At,
  Yes
};

struct Option {
  OptionId id;
  const char* name;   // "--count"
  const char* alias;  // "-q", or null
  Takes takes;
  const char* value;    // its value in the usage: "N"; null for a switch
  rules_text::Id help;  // one line: what it does
};
const Option& OptionRow(OptionId id);

class Arguments;

struct CommandOption {
  OptionId id;
  bool required;
};

struct Command {
  const char* name;
  // What it needs a Windows desktop for; none when it runs anywhere.
  std::optional<rules_text::Id> windowsOnly;
  // Null where the command cannot run: natively, for those that need Windows.
  int (*run)(Arguments& args);
  // The options besides --codepage, which every command takes.
  std::vector<CommandOption> options;
  // More than one folder or file (check); the others take at most one folder.
  bool manyPaths;
  rules_text::Id help;  // what the command does, its options aside
};
const std::vector<Command>& Commands();
// The whole --help text, made from the command and option rows, in the language (this run's
// unless told).
std::string HelpText(Language language = ToolLanguage());

// A command line taken apart: the options given, the folder or files, and the rules' code page.
class Arguments {
 public:
  bool Has(OptionId id) const { return Find(id) != nullptr; }
  // The value as given; for a Typed option in the rules' code page. "" when not given.
  const std::string& Text(OptionId id) const;
  // A Count, or the first (0) and second (1) coordinate of a Point; 0 when not given.
  long Number(OptionId id, int index = 0) const;
  // The folder given, or the current one.
  std::string Folder() const { return paths.empty() ? "." : paths[0]; }
  // The ANSI code page of the system the rules are for: on Windows this system's, natively
  // 1252, unless --codepage names another.
  unsigned CodePage() const { return codePage_; }

  // Text typed at the terminal, in UTF-8, as the window functions hand it to the plug-in: in
  // the rules' code page. A character the code page cannot hold is warned about on stderr.
  std::string Typed(const std::string& utf8);
  // One line typed on standard input, its line end taken off, in the rules' code page; false
  // at the input's end.
  bool ReadTypedLine(std::string& line);
  // Whether a typed text lost characters so: the command then ends with status 1 at least.
  bool TypedLost() const { return typedLost_; }

  std::vector<std::string> paths;

 private:
  struct Given {
    const Option* option = nullptr;
    std::string value;
    long numbers[2] = {0, 0};
  };
  const Given* Find(OptionId id) const;
  Given& Slot(const Option* option);
  friend int Parse(const Command&, const std::vector<std::string>&, const std::vector<std::string>&,
                   Arguments&);
  std::vector<Given> given_;
  unsigned codePage_ = DefaultCodePage();
  bool typedLost_ = false;
  std::string none_;
  static unsigned DefaultCodePage();
};

// Takes apart the arguments after the command's name: every option as --x V or --x=V, its value
// checked for its kind, --codepage set. args are as the C runtime gave them and typed the same
// in UTF-8 as typed (see TypedArguments). A usage error is told on stderr and returns kUsage.
int Parse(const Command& command, const std::vector<std::string>& args,
          const std::vector<std::string>& typed, Arguments& parsed);

}  // namespace rules_cli
