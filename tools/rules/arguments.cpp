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
  for (size_t i = 0; i < count_; ++i) {
    if (strcmp(given_[i].option->name, option) == 0) return &given_[i];
  }
  return nullptr;
}

const std::string& Arguments::Text(const char* option) const {
  const Given* given = Find(option);
  return given ? given->value : none_;
}

long Arguments::Number(const char* option, int index) const {
  const Given* given = Find(option);
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
    // One slot an option: given again, the last value counts.
    size_t slot = 0;
    while (slot < parsed.count_ && parsed.given_[slot].option != option) ++slot;
    Arguments::Given& given = parsed.given_[slot];
    given.option = option;
    given.value.clear();
    bool inline_ = equals != std::string::npos;
    bool valued = inline_ || (option->takes != Takes::Nothing && i + 1 < args.size());
    if (valued) {
      size_t at = inline_ ? i : ++i;
      given.value = (option->takes == Takes::Typed && at < typed.size() ? typed[at] : args[at])
                        .substr(inline_ ? equals + 1 : 0);
    }
    if (valued != (option->takes != Takes::Nothing) ||
        !Convert(option->takes, given.value, given.numbers)) {
      return UsageError(name + option->name + Expected(option->takes) +
                        (valued && option->takes != Takes::Nothing ? ", not " + given.value : ""));
    }
    if (option != &kCodePage) {
      parsed.count_ += slot == parsed.count_;
    } else if (given.numbers[0] > 65535 ||
               !KnownCodePage(static_cast<unsigned>(given.numbers[0]))) {
      return UsageError("--codepage " + given.value + ": not a code page this system converts");
    } else {
      codePage = static_cast<unsigned>(given.numbers[0]);
    }
  }
  // Converted only now: --codepage may follow the text.
  for (size_t i = 0; i < parsed.count_; ++i) {
    Arguments::Given& given = parsed.given_[i];
    if (given.option->takes == Takes::Typed) given.value = TypedText(given.value);
  }
  return kClean;
}

unsigned RuleCodePage() { return codePage; }

namespace {
bool typedLost = false;
}

std::string TypedText(const std::string& utf8) {
  bool lost = false;
  std::string text = ToCodePage(utf8, codePage, &lost);
  if (lost) {
    typedLost = true;
    fflush(stdout);
    fprintf(stderr, "lunet-rules: warning: %s cannot hold every character typed; ",
            CodePageName(codePage).c_str());
    WriteText(stderr, "the plug-in's windows read it as " + Quote(text) + "\n", codePage);
  }
  return text;
}

bool TypedTextLost() { return typedLost; }

bool ReadTypedLine(std::string& line) {
  char buffer[1024];
  if (!fgets(buffer, sizeof buffer, stdin)) return false;
  line = buffer;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  line = TypedText(InputToUtf8(line));
  return true;
}

}  // namespace rules_cli
