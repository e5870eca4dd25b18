// The windows the plug-in closes, as they happen (IDD_CLOSES): modeless, owned by the main
// window. The debug-output buffer has one listener on a desktop, and a slow one holds up every
// program's debug output, so the feed listens on its own thread and only while this is shown.
#pragma once

#include "editor_state.h"

namespace rule_editor {

// Shows the view, or brings it to the front; listening starts with it.
void ShowCloses(Editor& editor);
// The feed's Ready() was signalled: what it read, listed.
void ClosesArrived(Editor& editor);
// After the rules were read again: each close's lines worked out from the files as they are.
void RelistCloseLines(Editor& editor);

}  // namespace rule_editor
