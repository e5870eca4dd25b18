// Messages of lunet-host, usage and help among them, in English and Japanese.
#pragma once

#include "messages.h"

namespace host_text {
enum Id {
#define M(id, english, japanese) id,
#include "host_messages.def"
#undef M
  kCount
};
}  // namespace host_text

extern const MessageTable kHostMessages;

// The message in this run's language; the same as a line on stdout.
template <typename... Args>
std::string HostText(host_text::Id id, const Args&... args) {
  return Format(kHostMessages, id, args...);
}
template <typename... Args>
void HostSay(host_text::Id id, const Args&... args) {
  PrintLine(stdout, HostText(id, args...));
}

// "lunet-host: " and the UTF-8 text, a line on stderr.
void HostError(const std::string& text);
