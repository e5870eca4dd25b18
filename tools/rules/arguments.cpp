#include "arguments.h"

#include <stdio.h>
#include <string.h>

#include "commands.h"
#include "console_text.h"

namespace rules_cli {

namespace {

#ifdef _WIN32
unsigned codePage = GetACP();
#else
unsigned codePage = 1252;
#endif

const Option kCodePage = {"--codepage", nullptr, Takes::Count};

const Option* FindOption(const Command& command, const std::string& name) {
  if (name == kCodePage.name) return &kCodePage;
  for (const Option* option = command.options; option && option->name; ++option) {
    if (name == option->name || (option->alias && name == option->alias)) return option;
  }
  return nullptr;
}

int SetCodePage(const std::string& value) {
  long number = 0;
  if (!ParseNumber(value, 1, 65535, number) || !KnownCodePage(static_cast<unsigned>(number))) {
    return UsageError("--codepage " + value + ": not a code page this system converts");
  }
  codePage = static_cast<unsigned>(number);
  return kClean;
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

const char* Expected(Takes takes) {
  switch (takes) {
    case Takes::Count: return "a whole number above 0";
    case Takes::Point: return "X,Y, two whole numbers";
    case Takes::Path: return "a file name";
    default: return "a value";
  }
}

}  // namespace

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

const Arguments::Given* Arguments::Find(const char* option) const {
  for (const Given& given : given_) {
    if (strcmp(given.option->name, option) == 0) return &given;
  }
  return nullptr;
}

const std::string& Arguments::Text(const char* option) const {
  static const std::string kNone;
  const Given* given = Find(option);
  return given ? given->value : kNone;
}

long Arguments::Number(const char* option, int index) const {
  const Given* given = Find(option);
  return given ? given->numbers[index] : 0;
}

int Parse(const Command& command, const std::vector<std::string>& args,
          const std::vector<std::string>& typed, Arguments& parsed) {
  const std::string name = command.name;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') {
      if (!command.manyPaths && !parsed.paths.empty()) {
        return UsageError(name + ": unexpected argument " + arg);
      }
      parsed.paths.push_back(arg);
      continue;
    }
    size_t equals = arg.find('=');
    const Option* option = FindOption(command, arg.substr(0, equals));
    if (!option) return UsageError(name + ": unknown option " + arg);
    Arguments::Given given = {option, "", {0, 0}};
    bool inline_ = equals != std::string::npos;
    if (option->takes == Takes::Nothing) {
      if (inline_) return UsageError(name + ": " + option->name + " takes no value");
    } else if (!inline_ && i + 1 == args.size()) {
      return UsageError(name + ": " + option->name + " needs " + Expected(option->takes));
    } else {
      size_t at = inline_ ? i : ++i;
      size_t skip = inline_ ? equals + 1 : 0;
      given.value = (option->takes == Takes::Typed ? typed[at] : args[at]).substr(skip);
      if (!Convert(option->takes, given.value, given.numbers)) {
        return UsageError(name + ": " + option->name + " needs " + Expected(option->takes) +
                          ", not " + given.value);
      }
    }
    if (option == &kCodePage) {
      int set = SetCodePage(given.value);
      if (set != kClean) return set;
      continue;
    }
    if (parsed.Has(option->name)) return UsageError(name + ": " + option->name + " given twice");
    parsed.given_.push_back(given);
  }
  // Converted only now: --codepage may follow the text.
  for (Arguments::Given& given : parsed.given_) {
    if (given.option->takes == Takes::Typed) given.value = TypedText(given.value);
  }
  return kClean;
}

unsigned RuleCodePage() { return codePage; }

std::string TypedText(const std::string& utf8) { return ToCodePage(utf8, codePage); }

bool ReadTypedLine(std::string& line) {
  char buffer[1024];
  if (!fgets(buffer, sizeof buffer, stdin)) return false;
  line = buffer;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  line = TypedText(InputToUtf8(line));
  return true;
}

}  // namespace rules_cli
