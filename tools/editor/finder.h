// The finder: a static control made into a drag source. Pressing the left button on it captures
// the mouse; while dragging, the top-level window under the pointer is outlined by a frame window
// of its own (class LunetFinderFrame: layered, click-through, topmost, owned by the finder's
// dialog), since XOR drawing on the target shows unreliably under a compositor. It reports
// through one callback: the drag's start, each new window under the pointer, and the window at
// release.
#pragma once

#include <windows.h>

namespace rule_editor {

enum class FinderEvent { kStarted, kOver, kReleased };
// window is the top-level window under the pointer, NULL over none (and at the start and at a
// cancelled drag).
using FinderCallback = void (*)(void* context, FinderEvent event, HWND window);

// Makes the static control (SS_NOTIFY) a finder. Its frame is made when a drag first starts; a
// drag goes on without an outline should it fail.
void AttachFinder(HWND control, FinderCallback callback, void* context);

}  // namespace rule_editor
