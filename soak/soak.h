// The soak run's shared parts: the rules it writes and the titles its windows carry. Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "soak_log.h"

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

// What a redrawn title under this owner's class is, judged from the rules ever present.
TitleKind KindOf(Owner owner, const std::string& title);

int RunChild(int argc, char** argv);

}  // namespace soak
