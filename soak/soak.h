// The soak run's shared parts: the rules it writes, the titles its windows carry, and the log
// lines a window-owning process writes for the driver to score. Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace soak {

// Base rules sit in killwnd.txt for the whole run; the custom file is rewritten while it runs,
// each time holding some of the extra fragments.
extern const char* const kListedClass;
extern const char* const kPlainClass;
extern const std::vector<std::string> kBaseFragments;
extern const std::vector<std::string> kExtraFragments;
std::string BaseRules();
// The custom file after the edit-th rewrite: the extra fragments in turn, one added or removed.
std::string CustomRules(int edit);

// What a redrawn title is, judged from the rules ever present:
//   'b' a listed class with a base fragment: must be closed while the closer is on
//   'c' a listed class with an extra fragment: depends on what the process read, not scored
//   'p' matches no rule ever present (plain text, or a fragment under an unlisted class)
char TitleKind(bool listedClass, const std::string& title);

// The window-owning process's log, one line per event, written through at once so that a
// process ended abruptly leaves every line it finished:
//   R serial kind us   a title redrawn (kind as above), NowUs() just before the forwarding
//   C serial us        WM_CLOSE arrived at a window that waits for it (kind b or c)
//   T serial           such a window got no WM_CLOSE within the wait, and was destroyed
//   X serial us        WM_CLOSE arrived at a window whose titles matched no rule: wrong
//   F serial           the redraw could not be forwarded
//   S us private handles heap   private bytes, handle count, runtime heap bytes in use
//   L us               behind schedule by more than a second: the pace was reset
const DWORD kCloseWaitMs = 5000;

int RunChild(int argc, char** argv);

}  // namespace soak
