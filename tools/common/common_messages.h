// Messages of the tools' shared kit, in English and Japanese.
#pragma once

#include "messages.h"

#define LUNET_MESSAGES_NAMESPACE common_text
#define LUNET_MESSAGES_TOOL "lunet"
#define LUNET_MESSAGES_LIST "common_messages.def"
#include "message_list.inc"
