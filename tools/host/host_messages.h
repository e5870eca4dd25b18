// Messages of lunet-host, usage and help among them, in English and Japanese.
#pragma once

#include "messages.h"

#define LUNET_MESSAGES_NAMESPACE host_text
#define LUNET_MESSAGES_TOOL "lunet-host"
#define LUNET_MESSAGES_LIST "host_messages.def"
#include "message_list.inc"
