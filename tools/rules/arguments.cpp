#include "arguments.h"

#include <stdio.h>
#include <windows.h>

#include "console_text.h"
#include "output.h"
#include "rule_walk.h"
#include "whole_number.h"

namespace rules_cli {

using namespace rule_engine;

namespace {

using namespace rules_text;

const Option kOptions[] = {
    {OptionId::CodePage, "--codepage", nullptr, Takes::Count, "N", kOptCodePage},
    {OptionId::Quiet, "--quiet", "-q", Takes::Nothing, nullptr, kOptQuiet},
    {OptionId::Class, "--class", nullptr, Takes::Typed, "NAME", kOptClass},
    {OptionId::Title, "--title", nullptr, Takes::Typed, "TEXT", kOptTitle},
    {OptionId::ClassRule, "--class", nullptr, Takes::Typed, "NAME", kOptClassRule},
    {OptionId::Fragment, "--title", nullptr, Takes::Typed, "TEXT", kOptFragment},
    {OptionId::All, "--all", nullptr, Takes::Nothing, nullptr, kOptAll},
    {OptionId::Hidden, "--hidden", nullptr, Takes::Nothing, nullptr, kOptHidden},
    {OptionId::Log, "--log", nullptr, Takes::Path, "FILE", kOptLog},
    {OptionId::Count, "--count", nullptr, Takes::Count, "N", kOptCount},
    {OptionId::At, "--at", nullptr, Takes::Point, "X,Y", kOptAt},
    {OptionId::Yes, "--yes", nullptr, Takes::Nothing, nullptr, kOptYes},
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

// What the option wants, said of the command and the option.
Id Expected(Takes takes) {
  switch (takes) {
    case Takes::Nothing: return kTakesNoValue;
    case Takes::Count: return kNeedsNumber;
    case Takes::Point: return kNeedsPoint;
    case Takes::Path: return kNeedsFileName;
    default: return kNeedsValue;
  }
}

}  // namespace

const Option& OptionRow(OptionId id) {
  for (const Option& option : kOptions) {
    if (option.id == id) return option;
  }
  return kOptions[0];
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
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') {
      if (!command.manyPaths && !parsed.paths.empty()) {
        return UsageError(kUnexpectedArgument, command.name, PathText(arg));
      }
      parsed.paths.push_back(arg);
      continue;
    }
    size_t equals = arg.find('=');
    const Option* option = FindOption(command, arg.substr(0, equals));
    if (!option) return UsageError(kUnknownOption, command.name, PathText(arg));
    Arguments::Given& given = parsed.Slot(option);
    bool inline_ = equals != std::string::npos, wants = option->takes != Takes::Nothing;
    bool valued = inline_ || (wants && i + 1 < args.size());
    if (valued) {
      size_t at = inline_ ? i : ++i;
      given.value = (option->takes == Takes::Typed && at < typed.size() ? typed[at] : args[at])
                        .substr(inline_ ? equals + 1 : 0);
    }
    if (valued != wants || !Convert(option->takes, given.value, given.numbers)) {
      return UsageError<Id>(
          Text(Expected(option->takes), command.name, option->name) +
          (valued && wants && !given.value.empty() ? Text(kNotGiven, PathText(given.value)) : ""));
    }
    if (option->id != OptionId::CodePage) continue;
    if (given.numbers[0] > 65535 || !KnownCodePage(static_cast<unsigned>(given.numbers[0]))) {
      return UsageError(kUnknownCodePage, PathText(given.value));
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
    Complain(kTypedLost, CodePageName(codePage_), AsUtf8(Quote(text), codePage_));
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
