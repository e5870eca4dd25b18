// The commands of lunet-rules as rows, and the help made from them and the option rows.
#include "arguments.h"
#include "commands.h"

namespace rules_cli {

namespace {

using namespace rules_text;

// Natively a command that needs Windows only says what for.
#ifdef _WIN32
#define WINDOWS_ONLY(what, run) what, run
#else
#define WINDOWS_ONLY(what, run) what, nullptr
#endif

// The columns a UTF-8 text takes on a terminal: two a Japanese character, one the rest.
size_t Columns(const std::string& text) {
  size_t columns = 0;
  for (unsigned char byte : text) {
    if (byte < 0x80) ++columns;
    if (byte >= 0xE0) columns += 2;
  }
  return columns;
}

// The rows of help come wrapped (see rules_messages.def): each line gets the indent.
std::string Indented(const std::string& text, const std::string& indent) {
  std::string out;
  for (size_t begin = 0; begin <= text.size();) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    out += indent + text.substr(begin, end - begin) + "\n";
    begin = end + 1;
  }
  return out;
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
std::string OptionHelp(Language language, OptionId id, const std::string& indent) {
  const Option& option = OptionRow(id);
  std::string head = indent + option.name;
  if (option.alias) head = indent + option.alias + ", " + option.name;
  if (option.value) head += std::string(" ") + option.value;
  return head + "\n" + Indented(TextIn(language, option.help), indent + "    ");
}

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> kCommands = {
      {"check", kRunsAnywhere, RunCheck, {{OptionId::Quiet, false}}, true, kHelpCheck},
      {"test",
       kRunsAnywhere,
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
       kRunsAnywhere,
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
    help += (help.empty() ? head : std::string(Columns(head), ' ')) + UsageLine(command) + "\n";
  }
  help += "\n" + Indented(text(kIntro), "") + "\n";
  for (const Command& command : Commands()) {
    std::string name = command.name, lines = Indented(text(command.help), std::string(9, ' '));
    help += lines.replace(0, 9, "  " + name + std::string(7 - name.size(), ' '));
    for (const CommandOption& taken : command.options) {
      help += OptionHelp(language, taken.id, std::string(9, ' '));
    }
  }
  help += "\n" + OptionHelp(language, OptionId::CodePage, "  ") +
          Indented(text(kEveryOption), "  ");
  return help + "\n" + text(kRuleFiles) + "\n\n" + text(kHelpVersion);
}

}  // namespace rules_cli
