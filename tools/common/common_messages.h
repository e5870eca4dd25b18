// Messages of the tools' shared kit, in English and Japanese.
#pragma once

#include "messages.h"

namespace common_text {
enum Id { kPressEnter, kNegativeLength, kLengthExceeds, kCount };
}

extern const MessageTable kCommonMessages;
