#include "rules_messages.h"

namespace {

const Message kRows[] = {
#define M(id, english, japanese) {english, japanese},
#include "rules_messages.def"
#undef M
};

}  // namespace

const MessageTable kRulesMessages = MessagesOf<rules_text::kCount>("lunet-rules", kRows);
