// Messages of the rule engine, in English and Japanese: what both front ends show.
#pragma once

#include "messages.h"

#define LUNET_MESSAGES_NAMESPACE engine_text
#define LUNET_MESSAGES_TOOL "lunet"
#define LUNET_MESSAGES_LIST "engine_messages.def"
#include "message_list.inc"
