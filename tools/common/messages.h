// The tools' two languages: which one the user reads, and messages written once in each.
//
// Japanese is chosen when LUNET_LANG is "ja", or, without LUNET_LANG, when the user's UI
// language is Japanese (Windows: the primary language of GetUserDefaultUILanguage; elsewhere the
// first of LC_ALL, LC_MESSAGES and LANG that is set begins with "ja"). LUNET_LANG=en gives
// English; another value of it is ignored. Everything else is English.
//
// Japanese falls back to English where the output cannot show it. The tools write UTF-16 to a
// Windows console and UTF-8 everywhere else (see console_text.h), so:
// - a pipe or a file always holds Japanese, on every system;
// - a Windows console holds it when its output code page (GetConsoleOutputCP) is 932 or 65001:
//   a console of another code page (437, 850...) is a Western one, whose font shows each
//   Japanese character as '?' or a box;
// - a terminal elsewhere holds it when the locale's character set (LC_CTYPE) is UTF-8.
// Both stdout and stderr must hold it, so that one run speaks one language. This fallback wins
// over LUNET_LANG=ja: English is better than a screen of question marks.
#pragma once

#include <stdio.h>

#include <string>
#include <type_traits>

// fmt's core alone: its formatting is compiled once, in fmt_impl.cpp, not in every file that
// prints a message.
#include <fmt/core.h>

enum class Language { kEnglish, kJapanese };

// A tool's messages are one list, TOOL_messages.def, one row a message:
//   M(kNoCommand, "no command given", "コマンドが指定されていません")
// its id, then its text in English and in Japanese, UTF-8, with positional arguments {0}, {1}...
// for fmt, since Japanese puts them in another order. TOOL_messages.h makes the list into the
// enum of ids and the table (message_list.inc), so that the two cannot drift.
// A row holds neither the program's prefix nor its last line end: PrintLine and PrintError add
// them. Line breaks inside a row (a help block, a blank line before it) are the row's own.
struct Message {
  const char* english;
  const char* japanese;
};

struct MessageTable {
  const char* tool;  // the program's name, which PrintError puts before its lines
  const Message* rows;
  int count;
};

// A tool's table of its rows, indexed by its enum of kCount ids.
template <int kCount, int kRows>
constexpr MessageTable MessagesOf(const char* tool, const Message (&rows)[kRows]) {
  static_assert(kRows == kCount, "one row per message");
  return {tool, rows, kCount};
}

// The language of this run, decided once on the first call.
Language ToolLanguage();

// The decision itself, for tests: override is LUNET_LANG (NULL when unset), uiJapanese whether
// the UI language is Japanese, holdsJapanese whether the output can show it.
Language ChooseLanguage(const char* override, bool uiJapanese, bool holdsJapanese);
// Whether the POSIX locale variables name Japanese: the first set and non-empty of them decides.
bool LocaleIsJapanese(const char* lcAll, const char* lcMessages, const char* lang);

// The row's text in the language.
const char* MessageText(const MessageTable& table, int id, Language language);

// The text with the arguments in its places {0}, {1}... (the tables' test checks every text's
// places against its arguments).
std::string FormatText(const char* text, fmt::format_args args);

// The message in the language with the arguments in its places (arguments are UTF-8).
template <typename... Args>
std::string FormatIn(Language language, const MessageTable& table, int id, const Args&... args) {
  return FormatText(MessageText(table, id, language), fmt::make_format_args(args...));
}

// The message in this run's language.
template <typename... Args>
std::string Format(const MessageTable& table, int id, const Args&... args) {
  return FormatIn(ToolLanguage(), table, id, args...);
}

// How the tools print: UTF-8 text written as console_text.h writes text; text for stderr goes
// out at once, after what stdout holds, so the two keep their order on one console or pipe.
// A line: the text and its line end.
void PrintLine(FILE* stream, const std::string& utf8);
// An error or a warning on stderr: "TOOL: ", the text, its line end.
void PrintError(const MessageTable& table, const std::string& utf8);
// A question on stdout, the answer typed after it on its line: the text alone, flushed.
void PrintPrompt(const std::string& utf8);

// How a tool speaks, the same in every tool. Its messages header gives the table of its enum of
// ids (message_list.inc), and its list holds kUsageError, the row "{0}\n(TOOL --help tells more)".
template <typename Id>
const MessageTable& TableOf();

// Only a tool's enum of ids picks its table: text already in words takes the overloads below.
template <typename Id>
using IfMessageId = std::enable_if_t<std::is_enum<Id>::value, int>;

// The message in the language: TextIn(Language::kEnglish, ...) for a record kept alike
// whoever reads it (watch's log).
template <typename Id, typename... Args, IfMessageId<Id> = 0>
std::string TextIn(Language language, Id id, const Args&... args) {
  return FormatIn(language, TableOf<Id>(), id, args...);
}
// The message in this run's language.
template <typename Id, typename... Args, IfMessageId<Id> = 0>
std::string Text(Id id, const Args&... args) {
  return TextIn(ToolLanguage(), id, args...);
}
// A line on stdout: the message, or text already in words (UTF-8).
template <typename Id, typename... Args, IfMessageId<Id> = 0>
void Say(Id id, const Args&... args) {
  PrintLine(stdout, Text(id, args...));
}
inline void Say(const std::string& utf8) { PrintLine(stdout, utf8); }
// An error or a warning on stderr, after the tool's prefix.
template <typename Id, typename... Args, IfMessageId<Id> = 0>
void Complain(Id id, const Args&... args) {
  PrintError(TableOf<Id>(), Text(id, args...));
}
// A usage error: the message, and where the help is; returns 2, every tool's usage status.
// Text already in words names its tool by the enum: UsageError<host_text::Id>(text).
template <typename Id>
int UsageError(const std::string& utf8) {
  Complain(Id::kUsageError, utf8);
  return 2;
}
template <typename Id, typename... Args, IfMessageId<Id> = 0>
int UsageError(Id id, const Args&... args) {
  return UsageError<Id>(Text(id, args...));
}
