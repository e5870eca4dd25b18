// Messages of lunet-rules, usage and help among them, in English and Japanese.
#pragma once

#include "messages.h"

#define LUNET_MESSAGES_NAMESPACE rules_text
#define LUNET_MESSAGES_TOOL "lunet-rules"
#define LUNET_MESSAGES_LIST "rules_messages.def"
#include "message_list.inc"
