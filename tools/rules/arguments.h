// The command table of lunet-rules and the one parser of its command lines.
#pragma once

#include <string>
#include <vector>

namespace rules_cli {

enum class Takes {
  Nothing,  // a switch: --yes
  Path,     // a file or folder name, as the C runtime gave it
  Typed,    // a window text as typed, converted to the rules' code page
  Count,    // a whole number from 1 up
  Point,    // X,Y in screen coordinates
};

struct Option {
  const char* name;   // "--count"
  const char* alias;  // "-q", or null
  Takes takes;
};

class Arguments;

struct Command {
  const char* name;
  // Null when the command runs anywhere; else what it needs a Windows desktop for.
  const char* windowsOnly;
  // Null where the command cannot run: natively, for those that need Windows.
  int (*run)(const Arguments& args);
  // The options besides --codepage, which every command takes; the table ends with a null name.
  const Option* options;
  // More than one folder or file (check); the others take at most one folder.
  bool manyPaths;
};

// A command line taken apart: the options given, and the folder or files.
class Arguments {
 public:
  bool Has(const char* option) const { return Find(option) != nullptr; }
  // The value as given; for a Typed option in the rules' code page. "" when not given.
  const std::string& Text(const char* option) const;
  // A Count, or the first (0) and second (1) coordinate of a Point; 0 when not given.
  long Number(const char* option, int index = 0) const;
  // The folder given, or the current one.
  std::string Folder() const { return paths.empty() ? "." : paths[0]; }

  std::vector<std::string> paths;

 private:
  struct Given {
    const Option* option = nullptr;
    std::string value;
    long numbers[2] = {0, 0};
  };
  const Given* Find(const char* option) const;
  friend int Parse(const Command&, const std::vector<std::string>&, const std::vector<std::string>&,
                   Arguments&);
  // One for each option of a command (three at most) and one for --codepage.
  Given given_[4];
  size_t count_ = 0;
  std::string none_;
};

// Takes apart the arguments after the command's name: every option as --x V or --x=V, its value
// checked for its kind, --codepage set. args are as the C runtime gave them and typed the same
// in UTF-8 as typed (see TypedArguments). A usage error is told on stderr and returns kUsage.
int Parse(const Command& command, const std::vector<std::string>& args,
          const std::vector<std::string>& typed, Arguments& parsed);

// A whole number in [low, high], digits only: "12abc", "", "+3" and " 3" are not numbers.
bool ParseNumber(const std::string& text, long low, long high, long& number);

// The ANSI code page of the system the rules are for: on Windows this system's, natively 1252,
// unless --codepage names another.
unsigned RuleCodePage();

// Text typed at the terminal, in UTF-8, as the window functions hand it to the plug-in: in the
// rules' code page. A character the code page cannot hold is warned about on stderr.
std::string TypedText(const std::string& utf8);
// Whether a typed text lost characters so: the command then ends with status 1 at least.
bool TypedTextLost();

// One line typed on standard input, its line end taken off, in the rules' code page; false at
// the input's end.
bool ReadTypedLine(std::string& line);

}  // namespace rules_cli
