// The dialog that edits one rule's value (IDD_EDIT).
#pragma once

#include <windows.h>

#include <string>

#include "editor_messages.h"

namespace rule_editor {

// Shows the value for editing under the kind's description; true with the new value on OK.
bool EditValue(HWND owner, editor_text::Id kind, std::wstring* value);

}  // namespace rule_editor
