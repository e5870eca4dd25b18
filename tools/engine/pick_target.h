// Which windows may be the target of a new rule, and where the rule files' folder lies: what a
// front end checks before it proposes a rule for a window or writes into a folder.
#pragma once

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace rule_engine {

// Whether the folder (a path in the ANSI code page) is one that Explorer made to run a program
// from inside a zip file: what is written there is lost when the program ends.
bool InsideZip(const std::string& folder);

// Why a window may not be a rule's target: the desktop or the taskbar, a window of the caller's
// own process, or one of a process that holds the plug-in (a rule for the host's windows would
// close the host's own).
enum class TargetRefusal { kNone, kDesktop, kOwnProcess, kHost };

#ifdef _WIN32
// The processes that have the module (a file name such as "lunet.dll") loaded now.
std::vector<DWORD> ProcessesHolding(const char* module);
// Why the top-level window may not be a target.
TargetRefusal RefusalOf(HWND window, const std::vector<DWORD>& hosts);
#endif

}  // namespace rule_engine
