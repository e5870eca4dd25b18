// Messages of lunet-adwindows, its help among them, in English and Japanese.
#pragma once

#include "messages.h"

namespace adwindows_text {
enum Id {
  kHelp,
  kUnknownOption,
  kNeedsMilliseconds,
  kAgainTooLate,
  kNoWindows,
  kNotClassTitle,
  kClassTooLong,
  kCannotNotify,
  kOneClass,
  kCannotCreate,
  kCannotForward,
  kCount
};
}  // namespace adwindows_text

extern const MessageTable kAdWindowsMessages;
