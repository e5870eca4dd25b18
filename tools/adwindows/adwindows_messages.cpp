#include "adwindows_messages.h"

namespace {

const Message kRows[] = {
#define M(id, english, japanese) {english, japanese},
#include "adwindows_messages.def"
#undef M
};

}  // namespace

const MessageTable kAdWindowsMessages =
    MessagesOf<adwindows_text::kCount>("lunet-adwindows", kRows);
