// The commands of lunet-rules as rows, and the help made from them and the option rows.
#include "arguments.h"
#include "commands.h"
#include "text.h"

namespace rules_cli {

using namespace rule_engine;

namespace {

using namespace rules_text;

// Natively a command that needs Windows only says what for.
#ifdef _WIN32
#define WINDOWS_ONLY(what, run) what, run
#else
#define WINDOWS_ONLY(what, run) what, nullptr
#endif

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
std::string OptionHelp(Language language, OptionId id, const std::string& indent) {
  const Option& option = OptionRow(id);
  std::string head = indent + option.name;
  if (option.alias) head = indent + option.alias + ", " + option.name;
  if (option.value) head += std::string(" ") + option.value;
  return head + "\n" + Indent(TextIn(language, option.help), indent + "    ");
}

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> kCommands = {
      {"check", std::nullopt, RunCheck, {{OptionId::Quiet, false}}, true, kHelpCheck},
      {"test",
       std::nullopt,
       RunTest,
       {{OptionId::Class, true}, {OptionId::Title, true}},
       false,
       kHelpTest},
      {"scan",
       WINDOWS_ONLY(kScanNeeds, RunScan),
       {{OptionId::All, false}, {OptionId::Hidden, false}},
       false,
       kHelpScan},
      {"watch",
       WINDOWS_ONLY(kWatchNeeds, RunWatch),
       {{OptionId::Log, false}, {OptionId::Count, false}},
       false,
       kHelpWatch},
      {"add",
       std::nullopt,
       RunAdd,
       {{OptionId::ClassRule, false}, {OptionId::Fragment, false}},
       false,
       kHelpAdd},
      {"pick",
       WINDOWS_ONLY(kPickNeeds, RunPick),
       {{OptionId::At, false}, {OptionId::Fragment, false}, {OptionId::Yes, false}},
       false,
       kHelpPick},
  };
  return kCommands;
}

std::string HelpText(Language language) {
  auto text = [language](Id id) { return TextIn(language, id); };
  std::string help, head = text(kUsageHead);
  for (const Command& command : Commands()) {
    help +=
        (help.empty() ? head : std::string(ConsoleColumns(head), ' ')) + UsageLine(command) + "\n";
  }
  help += "\n" + Indent(text(kIntro), "") + "\n";
  for (const Command& command : Commands()) {
    std::string name = command.name, lines = Indent(text(command.help), std::string(9, ' '));
    help += lines.replace(0, 9, "  " + name + std::string(7 - name.size(), ' '));
    for (const CommandOption& taken : command.options) {
      help += OptionHelp(language, taken.id, std::string(9, ' '));
    }
  }
  help += "\n" + OptionHelp(language, OptionId::CodePage, "  ") + Indent(text(kEveryOption), "  ");
  return help + "\n" + text(kRuleFiles) + "\n\n" + text(kHelpVersion);
}

}  // namespace rules_cli
