#include "common_messages.h"

namespace {

const Message kRows[] = {
#define M(id, english, japanese) {english, japanese},
#include "common_messages.def"
#undef M
};

}  // namespace

const MessageTable kCommonMessages = MessagesOf<common_text::kCount>("common", kRows);
