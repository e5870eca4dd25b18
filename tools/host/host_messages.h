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

template <>
inline const MessageTable& TableOf<host_text::Id>() {
  return kHostMessages;
}
