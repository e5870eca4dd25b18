// The main window (IDD_MAIN): its controls' texts, the finder and the buttons wired to the
// actions, and the notes on the folder said as it opens.
#pragma once

#include <windows.h>

#include "editor_state.h"

namespace rule_editor {

// The main window, modeless, over the folder (with its separator, in the ANSI code page); NULL
// when it cannot be made.
HWND OpenMainWindow(Editor& editor, const std::string& folder);

// After a change notification on the folder: the list read again.
void FolderChanged(Editor& editor);

}  // namespace rule_editor
