#include "arguments.h"

#include <stdio.h>
#include <windows.h>

#include "console_text.h"
#include "output.h"
#include "rule_walk.h"

namespace rules_cli {

namespace {

const Option kOptions[] = {
    {OptionId::CodePage, "--codepage", nullptr, Takes::Count, "N",
     "the ANSI code page of the system the rules are for: 1252 (Western), 932 (Japanese), "
     "65001 (set to UTF-8), or another this system converts. The default is this system's on Windows, 1252 elsewhere; "
     "every command takes it. Typed texts are converted to it; a character it cannot hold is "
     "warned about (it becomes ?, as in the window functions) and the command ends with status "
     "1 at least."},
    {OptionId::Quiet, "--quiet", "-q", Takes::Nothing, nullptr, "shows only the warnings."},
    {OptionId::Class, "--class", nullptr, Takes::Typed, "NAME", "the window's class name."},
    {OptionId::Title, "--title", nullptr, Takes::Typed, "TEXT", "the window's title."},
    {OptionId::ClassRule, "--class", nullptr, Takes::Typed, "NAME",
     "the class rule to add: a window class name, letter case aside."},
    {OptionId::Fragment, "--title", nullptr, Takes::Typed, "TEXT",
     "the title fragment to add; for pick, a part of the window's title, which it must contain."},
    {OptionId::All, "--all", nullptr, Takes::Nothing, nullptr,
     "lists the other visible windows too."},
    {OptionId::Hidden, "--hidden", nullptr, Takes::Nothing, nullptr,
     "with --all, lists the hidden windows too."},
    {OptionId::Log, "--log", nullptr, Takes::Path, "FILE", "appends the same lines to FILE."},
    {OptionId::Count, "--count", nullptr, Takes::Count, "N", "stops after N closes."},
    {OptionId::At, "--at", nullptr, Takes::Point, "X,Y",
     "picks the window at that point on the screen without waiting for Enter."},
    {OptionId::Yes, "--yes", nullptr, Takes::Nothing, nullptr,
     "adds the rules without asking, for scripts."},
};

const Option* FindOption(const Command& command, const std::string& name) {
  const Option& codePage = OptionRow(OptionId::CodePage);
  if (name == codePage.name) return &codePage;
  for (const CommandOption& taken : command.options) {
    const Option& option = OptionRow(taken.id);
    if (name == option.name || (option.alias && name == option.alias)) return &option;
  }
  return nullptr;
}

// Checks the value for its kind and keeps its numbers.
bool Convert(Takes takes, const std::string& value, long numbers[2]) {
  if (takes == Takes::Count) return ParseNumber(value, 1, 0x7FFFFFFF, numbers[0]);
  if (takes == Takes::Path) return !value.empty();
  if (takes != Takes::Point) return true;
  size_t comma = value.find(',');
  return comma != std::string::npos &&
         ParseNumber(value.substr(0, comma), -0x7FFFFFFF, 0x7FFFFFFF, numbers[0]) &&
         ParseNumber(value.substr(comma + 1), -0x7FFFFFFF, 0x7FFFFFFF, numbers[1]);
}

// What the option wants, after its name.
const char* Expected(Takes takes) {
  switch (takes) {
    case Takes::Nothing: return " takes no value";
    case Takes::Count: return " needs a whole number above 0";
    case Takes::Point: return " needs X,Y, two whole numbers";
    case Takes::Path: return " needs a file name";
    default: return " needs a value";
  }
}

}  // namespace

const Option& OptionRow(OptionId id) {
  for (const Option& option : kOptions) {
    if (option.id == id) return option;
  }
  return kOptions[0];
}

bool ParseNumber(const std::string& text, long low, long high, long& number) {
  size_t at = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (at == text.size() || text.size() - at > 10) return false;
  long long value = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    value = value * 10 + (text[at] - '0');
  }
  if (text[0] == '-') value = -value;
  if (value < low || value > high) return false;
  number = static_cast<long>(value);
  return true;
}

unsigned Arguments::DefaultCodePage() {
#ifdef _WIN32
  return GetACP();
#else
  return 1252;
#endif
}

const Arguments::Given* Arguments::Find(OptionId id) const {
  for (const Given& given : given_) {
    if (given.option->id == id) return &given;
  }
  return nullptr;
}

// One slot an option: given again, the last value counts.
Arguments::Given& Arguments::Slot(const Option* option) {
  for (Given& given : given_) {
    if (given.option == option) return given = Given{option, "", {0, 0}};
  }
  given_.push_back(Given{option, "", {0, 0}});
  return given_.back();
}

const std::string& Arguments::Text(OptionId id) const {
  const Given* given = Find(id);
  return given ? given->value : none_;
}

long Arguments::Number(OptionId id, int index) const {
  const Given* given = Find(id);
  return given ? given->numbers[index] : 0;
}

int Parse(const Command& command, const std::vector<std::string>& args,
          const std::vector<std::string>& typed, Arguments& parsed) {
  const std::string name = std::string(command.name) + ": ";
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') {
      if (!command.manyPaths && !parsed.paths.empty()) {
        return UsageError(name + "unexpected argument " + arg);
      }
      parsed.paths.push_back(arg);
      continue;
    }
    size_t equals = arg.find('=');
    const Option* option = FindOption(command, arg.substr(0, equals));
    if (!option) return UsageError(name + "unknown option " + arg);
    Arguments::Given& given = parsed.Slot(option);
    bool inline_ = equals != std::string::npos, wants = option->takes != Takes::Nothing;
    bool valued = inline_ || (wants && i + 1 < args.size());
    if (valued) {
      size_t at = inline_ ? i : ++i;
      given.value = (option->takes == Takes::Typed && at < typed.size() ? typed[at] : args[at])
                        .substr(inline_ ? equals + 1 : 0);
    }
    if (valued != wants || !Convert(option->takes, given.value, given.numbers)) {
      return UsageError(name + option->name + Expected(option->takes) +
                        (valued && wants ? ", not " + given.value : ""));
    }
    if (option->id != OptionId::CodePage) continue;
    if (given.numbers[0] > 65535 || !KnownCodePage(static_cast<unsigned>(given.numbers[0]))) {
      return UsageError("--codepage " + given.value + ": not a code page this system converts");
    }
    parsed.codePage_ = static_cast<unsigned>(given.numbers[0]);
  }
  // Converted only now: --codepage may follow the text.
  for (Arguments::Given& given : parsed.given_) {
    if (given.option->takes == Takes::Typed) given.value = parsed.Typed(given.value);
  }
  return kClean;
}

std::string Arguments::Typed(const std::string& utf8) {
  bool lost = false;
  std::string text = ToCodePage(utf8, codePage_, &lost);
  if (lost) {
    typedLost_ = true;
    fflush(stdout);
    fprintf(stderr, "lunet-rules: warning: %s cannot hold every character typed; ",
            CodePageName(codePage_).c_str());
    WriteText(stderr, "the plug-in's windows read it as " + Quote(text) + "\n", codePage_);
  }
  return text;
}

bool Arguments::ReadTypedLine(std::string& line) {
  char buffer[1024];
  if (!fgets(buffer, sizeof buffer, stdin)) return false;
  line = buffer;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  line = Typed(InputToUtf8(line));
  return true;
}

}  // namespace rules_cli
