// Messages of lunet-adwindows, its help among them, in English and Japanese.
#pragma once

#include "messages.h"

namespace adwindows_text {
enum Id {
#define M(id, english, japanese) id,
#include "adwindows_messages.def"
#undef M
  kCount
};
}  // namespace adwindows_text

extern const MessageTable kAdWindowsMessages;
