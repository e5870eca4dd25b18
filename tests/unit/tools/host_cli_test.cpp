// lunet-host's command line and the look-up of its commands over their rows; what the help makes
// of the rows. Running the commands needs a plug-in: the command-line cases under Wine do that.
#include "host_cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace host_cli;

namespace {

struct ArgumentsCase {
  std::vector<std::string> args;
  int status;
  const char* plugin;  // with directory and commands, checked when status is 0
  const char* directory;
  size_t commands;
  bool raw, showBoxes, help;
};
const ArgumentsCase kArgumentsCases[] = {
    {{"x.dll", "version", "menu"}, 0, "x.dll", "", 2, false, false, false},
    {{"--dir", "d", "x.dll", "-"}, 0, "x.dll", "d", 1, false, false, false},     // "-" is no option
    {{"--dir", "--raw", "x.dll"}, 0, "x.dll", "--raw", 0, false, false, false},  // a value
    {{"--raw", "x.dll", "--show-boxes"}, 0, "x.dll", "", 0, true, true, false},
    {{"x.dll", "--dir"}, 2, "", "", 0, false, false, false},  // its value missing at the end
    {{"--script"}, 2, "", "", 0, false, false, false},
    {{"--dir", "", "x.dll"}, 2, "", "", 0, false, false, false},  // an empty value is none
    {{"--bogus", "x.dll"}, 2, "", "", 0, false, false, false},
    {{"--raw"}, 2, "", "", 0, true, false, false},  // no plug-in
    {{"--script", "s.txt", "x.dll", "version"}, 2, "", "", 0, false, false, false},
    {{"--help", "--bogus"}, 0, "", "", 0, false, false, true},  // what follows is not read
    {{"x.dll", "-h"}, 0, "x.dll", "", 0, false, false, true},
};

TEST(HostArguments, ParsedOrRefused) {
  for (const ArgumentsCase& c : kArgumentsCases) {
    std::string line;
    for (const std::string& arg : c.args) line += "[" + arg + "]";
    SCOPED_TRACE(line);
    Arguments parsed;
    ASSERT_EQ(c.status, ParseArguments(c.args, parsed));
    if (c.status != 0) continue;
    EXPECT_EQ(c.plugin, parsed.plugin);
    EXPECT_EQ(c.directory, parsed.directory);
    EXPECT_EQ(c.commands, parsed.commands.size());
    EXPECT_EQ(c.raw, parsed.raw);
    EXPECT_EQ(c.showBoxes, parsed.showBoxes);
    EXPECT_EQ(c.help, parsed.help);
  }
}

// A value-taking option without its value names the option and its value, never "unknown".
TEST(HostArguments, AMissingValueIsToldAsSuch) {
  for (const char* option : {"--dir", "--script"}) {
    Arguments parsed;
    testing::internal::CaptureStderr();
    EXPECT_EQ(2, ParseArguments({"x.dll", option}, parsed));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(std::string::npos, said.find(std::string(option) + " needs a value")) << said;
    EXPECT_EQ(std::string::npos, said.find("unknown")) << said;
  }
}

struct CommandCase {
  const char* line;
  const char* row;  // null: no command takes it; "" a blank or comment line
  const char* rest;
};
const CommandCase kCommandCases[] = {
    {"", "", ""},
    {"  # a comment", "", ""},
    {"version", "version", ""},
    {"version 2", nullptr, ""},
    {"  menu \r\n", "menu", ""},
    {"3", "pick", "3"},  // a number alone picks
    {"3 4", nullptr, ""},
    {"-1", nullptr, ""},
    {"pick", "pick", ""},  // the pick says what is wrong
    {"choose", nullptr, ""},
    {"choose\t on ", "choose", "on"},
    {"off now", nullptr, ""},
    {"?", "help", ""},
    {"exit", "quit", ""},
    {"sleep 10", "sleep", "10"},
    {"sleep ten", nullptr, ""},
    {"sleep", nullptr, ""},
    {"notify", "notify", ""},
    {"run a.exe \"b c\"", "run", "a.exe \"b c\""},
    {"echo", "echo", ""},
    {"Version", nullptr, ""},
};

TEST(HostCommands, EachLineFindsItsRowAndArguments) {
  for (const CommandCase& c : kCommandCases) {
    SCOPED_TRACE(c.line);
    CommandLine command;
    bool split = SplitCommand(c.line, command);
    ASSERT_EQ(c.row == nullptr || *c.row, split);
    if (!split) continue;
    const Command* row = FindCommand(command);
    ASSERT_EQ(c.row == nullptr, row == nullptr) << (row ? row->name : "");
    if (!row) continue;
    EXPECT_STREQ(c.row, row->name);
    EXPECT_EQ(c.rest, command.rest);
  }
}

// Each line of the list that starts at the third column is an entry: its names are the rows',
// every row has one, and no line of text that runs on starts there.
TEST(HostCommands, TheHelpListsEveryRowAndNothingElse) {
  for (Language language : {Language::kEnglish, Language::kJapanese}) {
    std::string help = CommandHelp(language) + "\n";
    std::vector<std::string> named;
    for (size_t begin = help.find('\n') + 1; begin < help.size();) {
      size_t end = help.find('\n', begin);
      std::string line = help.substr(begin, end - begin);
      begin = end + 1;
      ASSERT_EQ(0u, line.compare(0, 2, "  ")) << line;
      if (line[2] == ' ') continue;
      std::string head = line.substr(2, line.find("  ", 2) - 2);
      for (size_t comma; (comma = head.find("、")) != std::string::npos;)
        head.replace(comma, 3, ",");
      for (size_t at = 0; at < head.size();) {
        size_t stop = std::min(head.find_first_of(" ,", at), head.size());
        std::string word = head.substr(at, stop - at);
        // A name, not its argument ("N", "[ID]").
        if (!word.empty() && word.find_first_not_of("[]ABCDEFGHIJKLMNOPQRSTUVWXYZ") == 0) {
          named.push_back(word);
        }
        at = stop + 1;
      }
    }
    std::vector<std::string> rows;
    for (const Command& row : Commands()) {
      rows.push_back(row.name);
      if (row.alias) rows.push_back(row.alias);
    }
    EXPECT_EQ(rows, named) << help;
  }
}

}  // namespace
