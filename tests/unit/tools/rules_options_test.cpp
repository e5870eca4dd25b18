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

namespace {

// A first and a second value of the option's kind; the second must win.
std::vector<std::string> Values(Takes takes) {
  switch (takes) {
    case Takes::Nothing: return {"", ""};
    case Takes::Path: return {"first.log", "second.log"};
    case Takes::Typed: return {"first", "second"};
    case Takes::Count: return {"1252", "932"};
    case Takes::Point: return {"1,2", "-5,6"};
  }
  return {};
}

int ParseLine(const Command& command, const std::vector<std::string>& args, Arguments& parsed) {
  return Parse(command, args, args, parsed);
}

const Command& Named(const char* name) {
  for (const Command& command : Commands()) {
    if (std::string(command.name) == name) return command;
  }
  return Commands().front();
}

}  // namespace

// Every option of every command at once, each twice (as --x=V, then as its alias or --x V): the
// given options grow as needed and the last value of each counts.
TEST(RulesOptions, EveryOptionOfEveryCommandTwice) {
  for (const Command& command : Commands()) {
    std::vector<CommandOption> taken = command.options;
    taken.push_back({OptionId::CodePage, false});
    std::vector<std::string> args;
    for (const CommandOption& one : taken) {
      const Option& option = OptionRow(one.id);
      std::vector<std::string> values = Values(option.takes);
      args.push_back(option.name + (option.takes == Takes::Nothing ? "" : "=" + values[0]));
      args.push_back(option.alias ? option.alias : option.name);
      if (option.takes != Takes::Nothing) args.push_back(values[1]);
    }
    args.push_back(".");
    Arguments parsed;
    ASSERT_EQ(kClean, ParseLine(command, args, parsed)) << command.name;
    for (const CommandOption& one : taken) {
      const Option& option = OptionRow(one.id);
      SCOPED_TRACE(std::string(command.name) + " " + option.name);
      EXPECT_TRUE(parsed.Has(one.id));
      if (option.takes == Takes::Path || option.takes == Takes::Typed) {
        EXPECT_EQ(Values(option.takes)[1], parsed.Text(one.id));
      }
      if (option.takes == Takes::Point) {
        EXPECT_EQ(-5, parsed.Number(one.id, 0));
        EXPECT_EQ(6, parsed.Number(one.id, 1));
      }
    }
    EXPECT_EQ(932u, parsed.CodePage()) << command.name;
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

// The code page belongs to one parsed command line, not to the program.
TEST(RulesOptions, CodePageIsThatOfItsCommandLine) {
  Arguments japanese, plain;
  ASSERT_EQ(kClean, ParseLine(Named("check"), {"--codepage", "932"}, japanese));
  ASSERT_EQ(kClean, ParseLine(Named("check"), {}, plain));
  EXPECT_EQ(932u, japanese.CodePage());
  EXPECT_NE(932u, plain.CodePage());
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
