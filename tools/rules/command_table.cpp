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

// The columns a UTF-8 character takes on a terminal: two for Japanese, one for the rest.
size_t Columns(const std::string& text) {
  size_t columns = 0;
  for (unsigned char byte : text) {
    if (byte < 0x80) ++columns;
    if (byte >= 0xE0) columns += 2;
  }
  return columns;
}

// Where a line may break in Japanese: not before 、。） nor after （, nor inside a word of
// ASCII letters, digits or signs.
bool MayBreakBefore(const std::string& next, const std::string& previous) {
  static const char* const kNoBreakBefore[] = {"、", "。", "）", "」", "］", "・", "ー", "ァ",
                                                "ィ", "ゥ", "ェ", "ォ", "ッ", "ャ", "ュ", "ョ",
                                                "っ", "ゃ", "ゅ", "ょ", "…"};
  static const char* const kNoBreakAfter[] = {"（", "「", "［"};
  for (const char* mark : kNoBreakBefore) {
    if (next == mark) return false;
  }
  for (const char* mark : kNoBreakAfter) {
    if (previous == mark) return false;
  }
  // A space goes with what follows it: a line may break before it, not after.
  if (previous == " ") return false;
  return static_cast<unsigned char>(next[0]) >= 0x80 ||
         static_cast<unsigned char>(previous[0]) >= 0x80;
}

// The text cut into pieces a line may break between: words at spaces (the space kept in front),
// and each Japanese character alone.
std::vector<std::string> Pieces(const std::string& text) {
  std::vector<std::string> pieces;
  std::string previous = " ";
  for (size_t i = 0; i < text.size();) {
    size_t length = 1;
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0xC0) length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
    std::string piece = text.substr(i, length);
    if (pieces.empty() || piece == " " || MayBreakBefore(piece, previous)) {
      pieces.push_back(piece);
    } else {
      pieces.back() += piece;
    }
    previous = piece;
    i += length;
  }
  return pieces;
}

// A paragraph of help in lines of at most 79 columns, each after indent.
std::string Wrapped(const std::string& text, const std::string& indent) {
  std::string out, line;
  for (const std::string& piece : Pieces(text)) {
    bool space = piece[0] == ' ';
    if (!line.empty() && indent.size() + Columns(line) + Columns(piece) > 79) {
      out += indent + line + "\n";
      line = space ? piece.substr(1) : piece;
      continue;
    }
    line += line.empty() && space ? piece.substr(1) : piece;
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
  return head + "\n" + Wrapped(RulesText(option.help), indent + "    ");
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

std::string HelpText() {
  std::string help, head = RulesText(kUsageHead);
  for (const Command& command : Commands()) {
    help += (help.empty() ? head : std::string(Columns(head), ' ')) + UsageLine(command) + "\n";
  }
  help += "\n" + Wrapped(RulesText(kIntro), "") + "\n";
  for (const Command& command : Commands()) {
    std::string name = command.name, text = Wrapped(RulesText(command.help), std::string(9, ' '));
    help += text.replace(0, 9, "  " + name + std::string(7 - name.size(), ' '));
    for (const CommandOption& taken : command.options) {
      help += OptionHelp(taken.id, std::string(9, ' '));
    }
  }
  help += "\n" + OptionHelp(OptionId::CodePage, "  ") + Wrapped(RulesText(kEveryOption), "  ");
  return help + "\n" + RulesText(kRuleFiles) + "\n\n" + RulesText(kHelpVersion);
}

}  // namespace rules_cli
