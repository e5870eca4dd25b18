// Messages of the tools' shared kit, in English and Japanese.
#pragma once

#include "messages.h"

namespace common_text {
enum Id {
#define M(id, english, japanese) id,
#include "common_messages.def"
#undef M
  kCount
};
}  // namespace common_text

extern const MessageTable kCommonMessages;
