// Which windows the plug-in can ever close. The shell hook hears of a title redraw only for
// top-level windows with a taskbar button, and a program running at a higher integrity level than
// the host (an elevated one) gets no hook and refuses the host's WM_CLOSE.
#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace rule_engine {

enum class Reach { kReached, kNoTaskbarButton, kElevated };

// Whether a top-level window has a taskbar button: unowned and without WS_EX_TOOLWINDOW, or with
// WS_EX_APPWINDOW whatever its owner.
bool HasTaskbarButton(unsigned long exStyle, bool owned);

#ifdef _WIN32
// The window's reach from this process: its styles, then its process's integrity level against
// this one's. Where the level cannot be read (XP has none), it is taken for the same.
Reach ReachOf(HWND window);
#endif

// Why the plug-in will never close such a window, in this run's language; "" for kReached.
std::string ReachText(Reach reach);

}  // namespace rule_engine
