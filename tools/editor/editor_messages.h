// Messages of lunet-editor, control texts among them, in English and Japanese.
#pragma once

#include "messages.h"

#define LUNET_MESSAGES_NAMESPACE editor_text
#define LUNET_MESSAGES_TOOL "lunet-editor"
#define LUNET_MESSAGES_LIST "editor_messages.def"
#include "message_list.inc"
