// The tools' messages: every one has a Japanese twin that takes the same arguments and starts
// with the same line breaks, and leaves the program's prefix and its last line end to the
// printing; help that fits a console; and the choice of language.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "arguments.h"
#include "common_messages.h"
#include "editor_messages.h"
#include "engine_messages.h"
#include "host_cli.h"
#include "host_messages.h"
#include "rules_messages.h"
#include "text.h"

namespace {

// Every tool's table: a tool's new table is one more entry here.
const MessageTable* const kTables[] = {
    &TableOf<common_text::Id>(), &TableOf<editor_text::Id>(), &TableOf<engine_text::Id>(),
    &TableOf<host_text::Id>(),   &TableOf<rules_text::Id>(),
};

// The argument numbers of a text's placeholders; false for a stray brace or a placeholder
// without a number ({} or {name}), which would take arguments in the English order.
bool Placeholders(const std::string& text, std::set<int>& numbers) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "{{") == 0 || text.compare(i, 2, "}}") == 0) {
      ++i;
    } else if (text[i] == '}') {
      return false;
    } else if (text[i] == '{') {
      size_t end = text.find_first_not_of("0123456789", i + 1);
      if (end == i + 1 || end == std::string::npos || (text[end] != '}' && text[end] != ':')) {
        return false;
      }
      numbers.insert(std::stoi(text.substr(i + 1, end - i - 1)));
      i = text.find('}', end);
      if (i == std::string::npos) return false;
    }
  }
  return true;
}

size_t LeadingBreaks(const std::string& text) { return text.find_first_not_of('\n'); }

// What PrintLine and PrintError add: a row holding it too would print it twice.
bool HoldsWhatPrintingAdds(const std::string& text, const std::string& tool) {
  return text.back() == '\n' || text.compare(0, tool.size() + 1, tool + ":") == 0;
}

bool HasNonAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

TEST(Messages, EveryMessageHasAJapaneseTwinWithTheSameArguments) {
  for (const MessageTable* table : kTables) {
    for (int id = 0; id < table->count; ++id) {
      const Message& row = table->rows[id];
      SCOPED_TRACE(std::string(table->tool) + " message " + std::to_string(id) + ": " +
                   (row.english ? row.english : "(none)"));
      ASSERT_TRUE(row.english && *row.english);
      ASSERT_TRUE(row.japanese && HasNonAscii(row.japanese)) << "no Japanese twin";
      std::set<int> english, japanese;
      EXPECT_TRUE(Placeholders(row.english, english)) << "a stray brace or a numberless {}";
      EXPECT_TRUE(Placeholders(row.japanese, japanese)) << row.japanese;
      EXPECT_EQ(english, japanese) << row.japanese;
      EXPECT_TRUE(english.empty() || *english.rbegin() == static_cast<int>(english.size()) - 1)
          << "argument numbers with a gap";
      EXPECT_EQ(LeadingBreaks(row.english), LeadingBreaks(row.japanese)) << row.japanese;
      EXPECT_FALSE(HoldsWhatPrintingAdds(row.english, table->tool)) << "a prefix or a line end";
      EXPECT_FALSE(HoldsWhatPrintingAdds(row.japanese, table->tool)) << row.japanese;
    }
  }
}

TEST(Messages, ArgumentsTakeTheirPlacesInEitherOrder) {
  const Message rows[] = {{"{0} and {1}", "{1} と {0}"}};
  const MessageTable table = {"test", rows, 1};
  EXPECT_EQ("b と a", FormatIn(Language::kJapanese, table, 0, "a", "b"));
  EXPECT_EQ("a and b", FormatIn(Language::kEnglish, table, 0, "a", "b"));
}

TEST(Messages, LanguageFromTheUiTheOverrideAndWhatTheOutputHolds) {
  struct Case {
    const char* override;
    bool uiJapanese, holdsJapanese;
    Language expected;
  } cases[] = {
      {nullptr, false, true, Language::kEnglish},
      {nullptr, true, true, Language::kJapanese},
      {nullptr, true, false, Language::kEnglish},  // a console without the characters
      {"ja", false, true, Language::kJapanese},
      {"ja", false, false, Language::kEnglish},
      {"en", true, true, Language::kEnglish},
      {"fr", true, true, Language::kJapanese},  // not a language of ours: the UI decides
      {"", false, true, Language::kEnglish},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ChooseLanguage(c.override, c.uiJapanese, c.holdsJapanese))
        << (c.override ? c.override : "(unset)") << " " << c.uiJapanese << c.holdsJapanese;
  }
}

TEST(Messages, TheFirstLocaleVariableSetDecides) {
  struct Case {
    const char *lcAll, *lcMessages, *lang;
    bool japanese;
  } cases[] = {
      {nullptr, nullptr, "ja_JP.UTF-8", true},
      {nullptr, nullptr, "C.UTF-8", false},
      {nullptr, "ja_JP.eucJP", "en_US.UTF-8", true},
      {"en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", false},
      {"", "", "ja", true},  // empty counts as unset
      {nullptr, nullptr, nullptr, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.japanese, LocaleIsJapanese(c.lcAll, c.lcMessages, c.lang))
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
        << (c.lang ? c.lang : "-");
  }
}

// Windows XP and 7 open consoles 80 columns wide, where a line of 80 wraps: every line of help
// is at most 79 columns, a Japanese character taking two. Japanese breaks only at a space or
// after 、 and 。, never between two other Japanese characters.

// The UTF-8 character that ends the text, and the one that starts it after spaces.
std::string LastChar(const std::string& text) {
  size_t at = text.size();
  while (at > 0 && (static_cast<unsigned char>(text[at - 1]) & 0xC0) == 0x80) --at;
  return at > 0 ? text.substr(at - 1) : "";
}
bool StartsJapanese(const std::string& text) {
  size_t at = text.find_first_not_of(' ');
  return at != std::string::npos && static_cast<unsigned char>(text[at]) >= 0x80;
}

void ExpectFitsAConsole(const std::string& help, const std::string& name) {
  std::vector<std::string> lines = Lines(help);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(ConsoleColumns(lines[i]), 79u) << name << " line " << i + 1 << ": " << lines[i];
    if (i + 1 == lines.size() || !StartsJapanese(lines[i + 1])) continue;
    std::string last = LastChar(lines[i]);
    bool japanese = !last.empty() && static_cast<unsigned char>(last[0]) >= 0x80;
    EXPECT_TRUE(!japanese || last == "、" || last == "。")
        << name << " breaks between Japanese characters after line " << i + 1 << ": " << lines[i];
  }
}

TEST(Messages, EveryHelpFitsAConsoleOf80Columns) {
  for (Language language : {Language::kEnglish, Language::kJapanese}) {
    SCOPED_TRACE(language == Language::kJapanese ? "Japanese" : "English");
    ExpectFitsAConsole(rules_cli::HelpText(language), "lunet-rules --help");
    ExpectFitsAConsole(TextIn(language, rules_text::kDoubleClickNext), "lunet-rules' first screen");
    ExpectFitsAConsole(host_cli::HelpText(language), "lunet-host --help");
  }
}

}  // namespace
