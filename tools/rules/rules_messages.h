// Messages of lunet-rules, usage and help among them, in English and Japanese.
#pragma once

#include <string>

#include "messages.h"

namespace rules_text {
enum Id {
#define M(id, english, japanese) id,
#include "rules_messages.def"
#undef M
  kCount
};
}  // namespace rules_text

extern const MessageTable kRulesMessages;

template <>
inline const MessageTable& TableOf<rules_text::Id>() {
  return kRulesMessages;
}

// The message in this run's language, in UTF-8.
template <typename... Args>
std::string RulesText(rules_text::Id id, const Args&... args) {
  return Format(kRulesMessages, id, args...);
}
// The message in English whatever the run's language: for watch's log, a record kept alike.
template <typename... Args>
std::string EnglishText(rules_text::Id id, const Args&... args) {
  return FormatIn(Language::kEnglish, kRulesMessages, id, args...);
}
