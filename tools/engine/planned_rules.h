// What rules not yet written would do: the windows they would close once they join the rules
// loaded, shown before the user says yes.
#pragma once

#include <string>
#include <vector>

#include "rule_set.h"

#ifdef _WIN32
#include "desktop.h"
#endif

namespace rule_engine {

// Whether a window of these texts (as the hook reads them) is closed once lines, "class,NAME"
// and "title,TEXT" as they would be appended, join the rules.
bool ClosedWith(const RuleSet& rules, const std::vector<std::string>& lines,
                const std::string& className, const std::string& title);

#ifdef _WIN32
// The open windows that the lines would close and the rules alone do not.
std::vector<OpenWindow> WouldNewlyClose(const RuleSet& rules,
                                        const std::vector<std::string>& lines);
#endif

}  // namespace rule_engine
