#include "host_messages.h"

namespace {

const Message kRows[] = {
#define M(id, english, japanese) {english, japanese},
#include "host_messages.def"
#undef M
};

}  // namespace

const MessageTable kHostMessages = MessagesOf<host_text::kCount>("lunet-host", kRows);
