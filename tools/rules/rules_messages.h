// Messages of lunet-rules, usage and help among them, in English and Japanese.
#pragma once

#include <string>

#include "messages.h"

#define LUNET_MESSAGES_NAMESPACE rules_text
#define LUNET_MESSAGES_TOOL "lunet-rules"
#define LUNET_MESSAGES_LIST "rules_messages.def"
#include "message_list.inc"

// The message in this run's language, in UTF-8.
template <typename... Args>
std::string RulesText(rules_text::Id id, const Args&... args) {
  return Text(id, args...);
}
