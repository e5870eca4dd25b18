// lunet-rules' parser over its own option rows, and its rule sets side by side: what the
// command-line cases cannot see from outside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "closer/rules.h"
#include "harness/temp_dir.h"
#include "output.h"
#include "rule_set.h"
#include "shared/shared_state.h"

using namespace rules_cli;
using namespace rule_engine;

namespace {

int ParseLine(const Command& command, const std::vector<std::string>& args, Arguments& parsed) {
  return Parse(command, args, args, parsed);
}

const Command& Named(const char* name) {
  for (const Command& command : Commands()) {
    if (std::string(command.name) == name) return command;
  }
  ADD_FAILURE() << "no command " << name;
  return Commands().front();
}

// Each command's line of every option, each twice as a user types it (as --x=V, then as its
// alias or --x V), spelt out here rather than made from the rows under test.
struct OptionLine {
  const char* command;
  std::vector<std::string> args;
  std::vector<OptionId> given;  // every option of the command
};
const OptionLine kEveryOptionLines[] = {
    {"check", {"--quiet", "-q", "--codepage=1252", "--codepage", "932", "."}, {OptionId::Quiet}},
    {"test",
     {"--class=first", "--class", "second", "--title=first", "--title", "second", "--codepage=1252",
      "--codepage", "932", "."},
     {OptionId::Class, OptionId::Title}},
    {"scan",
     {"--all", "--all", "--hidden", "--hidden", "--codepage=1252", "--codepage", "932", "."},
     {OptionId::All, OptionId::Hidden}},
    {"watch",
     {"--log=first.log", "--log", "second.log", "--count=1", "--count", "3", "--codepage=1252",
      "--codepage", "932", "."},
     {OptionId::Log, OptionId::Count}},
    {"add",
     {"--class=first", "--class", "second", "--title=first", "--title", "second", "--codepage=1252",
      "--codepage", "932", "."},
     {OptionId::ClassRule, OptionId::Fragment}},
    {"pick",
     {"--at=1,2", "--at", "-5,6", "--title=first", "--title", "second", "--yes", "--yes",
      "--codepage=1252", "--codepage", "932", "."},
     {OptionId::At, OptionId::Fragment, OptionId::Yes}},
};

}  // namespace

// Every option of every command at once: the given options grow as needed and the last value
// of each counts.
TEST(RulesOptions, EveryOptionOfEveryCommandTwice) {
  ASSERT_EQ(Commands().size(), sizeof kEveryOptionLines / sizeof kEveryOptionLines[0]);
  for (const auto& line : kEveryOptionLines) {
    SCOPED_TRACE(line.command);
    const Command& command = Named(line.command);
    ASSERT_EQ(command.options.size(), line.given.size());
    Arguments parsed;
    ASSERT_EQ(kClean, ParseLine(command, line.args, parsed));
    for (size_t i = 0; i < line.given.size(); ++i) {
      OptionId id = line.given[i];
      SCOPED_TRACE(OptionRow(id).name);
      EXPECT_EQ(command.options[i].id, id);
      EXPECT_TRUE(parsed.Has(id));
      switch (OptionRow(id).takes) {
        case Takes::Nothing: break;
        case Takes::Path: EXPECT_EQ("second.log", parsed.Text(id)); break;
        case Takes::Typed: EXPECT_EQ("second", parsed.Text(id)); break;
        case Takes::Count: EXPECT_EQ(3, parsed.Number(id)); break;
        case Takes::Point:
          EXPECT_EQ(-5, parsed.Number(id, 0));
          EXPECT_EQ(6, parsed.Number(id, 1));
          break;
      }
    }
    EXPECT_EQ(932u, parsed.CodePage());
    EXPECT_EQ(std::vector<std::string>{"."}, parsed.paths);
  }
}

// Refused before any command runs, each with the usage status.
TEST(RulesOptions, RefusedCommandLines) {
  const struct {
    const char* command;
    std::vector<std::string> args;
  } kCases[] = {
      {"test", {"--titel", "x"}},            // misspelt
      {"check", {"--title", "x"}},           // another command's option
      {"watch", {"--count"}},                // its value missing at the end
      {"watch", {"--count", "0"}},           // not above 0
      {"check", {"--codepage", "70000"}},    // no code page
      {"add", {"--class=A", "one", "two"}},  // one folder at most
      {"pick", {"--at", "4"}},               // one coordinate
  };
  for (const auto& line : kCases) {
    Arguments parsed;
    EXPECT_EQ(kUsage, ParseLine(Named(line.command), line.args, parsed))
        << line.command << " " << line.args[0];
  }
}

// The code page belongs to one parsed command line, not to the program: without --codepage, a
// command line has the system's, whatever another one chose.
TEST(RulesOptions, CodePageIsThatOfItsCommandLine) {
  Arguments japanese, western, plain;
  ASSERT_EQ(kClean, ParseLine(Named("check"), {"--codepage", "932"}, japanese));
  ASSERT_EQ(kClean, ParseLine(Named("check"), {"--codepage", "1252"}, western));
  ASSERT_EQ(kClean, ParseLine(Named("check"), {}, plain));
  EXPECT_EQ(932u, japanese.CodePage());
  EXPECT_EQ(1252u, western.CodePage());
#ifdef _WIN32
  EXPECT_EQ(GetACP(), plain.CodePage());
#else
  EXPECT_EQ(1252u, plain.CodePage());
#endif
}

// Two rule sets answer side by side, each by its own rules, and the plug-in's store and folder
// stay as they were.
TEST(RuleSets, JudgeApartFromEachOtherAndThePlugIn) {
  TempDir one, two;
  one.Write("killwnd.txt", "class,AdOne\r\ntitle,Buy\r\n");
  two.Write("killwnd.txt", "// two\r\nclass,AdTwo\r\n");
  two.Write("killwnd_custom.txt", "title,Sale\r\ntitle,Buy\r\n");
  RuleSet first(1252), second(1252);
  ASSERT_EQ(kClean, OpenFolder(one.path(), first));
  ASSERT_EQ(kClean, OpenFolder(two.path(), second));

  Verdict closes = first.Judge("adone", "Buy now");
  ASSERT_TRUE(closes.Closes());
  EXPECT_EQ(1, closes.classRule->line);
  EXPECT_FALSE(second.Judge("adone", "Buy now").Closes());
  Verdict byCustom = second.Judge("ADTWO", "Buy now");
  ASSERT_TRUE(byCustom.Closes());
  EXPECT_EQ(2, byCustom.classRule->line);
  EXPECT_EQ(2, byCustom.titleFragment->line);
  EXPECT_EQ("Buy", byCustom.titleFragment->text);
  EXPECT_EQ(two.path() + "killwnd.txt:2", Located(second.Files(), byCustom.classRule));
  EXPECT_EQ(two.path() + "killwnd_custom.txt:2", Located(second.Files(), byCustom.titleFragment));
  EXPECT_FALSE(second.Judge("AdTwo", "buy").Closes());

  EXPECT_EQ(0u, KillRules.ClassRules.count + KillRules.TitleRules.count);
  EXPECT_EQ('\0', SharedState.PluginDir[0]);
}

TEST(RuleSets, OneFileReadAlone) {
  TempDir dir;
  RuleSet rules(1252);
  rules.LoadFile(dir.Write("mine.txt", "class,Solo\ntitle,Deal\n"));
  EXPECT_TRUE(rules.Judge("solo", "Great Deal").Closes());
  EXPECT_EQ(1u, rules.Files().size());
}
