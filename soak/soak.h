// The soak run's shared parts: the rules it writes, the titles its windows carry, and the log
// lines a window-owning process writes for the driver to score. Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace soak {

// Base rules sit in killwnd.txt for the whole run; the custom file is rewritten while it runs,
// each time holding some of the extra fragments. A polling closer runs beside the hook for the
// whole run with rules of its own, which the hook's never list: a class and its fragments.
extern const char* const kListedClass;
extern const char* const kPolledClass;
extern const char* const kPlainClass;
extern const std::vector<std::string> kBaseFragments;
extern const std::vector<std::string> kExtraFragments;
extern const std::vector<std::string> kPolledFragments;
std::string BaseRules();
// The custom file after the edit-th rewrite: the extra fragments in turn, one added or removed.
std::string CustomRules(int edit);
std::string PollerRules();
const DWORD kPollMs = 100;

// Whose rules list a window's class: the hook's, the poller's, or nobody's.
enum class Owner { kHook, kPoller, kNobody };
const char* ClassOf(Owner owner);

// What a redrawn title is, judged from the rules ever present:
//   'b' a hook-listed class with a base fragment: must be closed while the closer is on
//   'c' a hook-listed class with an extra fragment: depends on what the process read, not scored
//   'q' the poller's class with one of its fragments: must be closed by the poller, at any time
//   'p' matches no rule ever present (plain text, or a fragment under another owner's class)
char TitleKind(Owner owner, const std::string& title);

// The window-owning process's log, one line per event, written through at once so that a
// process ended abruptly leaves every line it finished:
//   R serial kind us   a title redrawn (kind as above), NowUs() just before the forwarding
//   C serial us        WM_CLOSE arrived at a window that waits for it (kind b, c or q)
//   T serial           such a window got no WM_CLOSE within the wait, and was destroyed
//   X serial us        WM_CLOSE arrived at a window whose titles matched no rule: wrong
//   F serial           the redraw could not be forwarded
//   S us private handles heap   private bytes, handle count, runtime heap bytes in use
//   L us               behind schedule by more than a second: the pace was reset
const DWORD kCloseWaitMs = 5000;

int RunChild(int argc, char** argv);

}  // namespace soak
