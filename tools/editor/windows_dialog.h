// The open windows to pick from without a mouse (IDD_WINDOWS): the visible top-level windows
// that may be a rule's target, each with what the rules do to it now.
#pragma once

#include <windows.h>

#include <vector>

#include "desktop.h"
#include "rule_set.h"

namespace rule_editor {

// True with the window picked; hosts are the processes that hold the plug-in.
bool ChooseOpenWindow(HWND owner, const rule_engine::RuleSet& rules,
                      const std::vector<DWORD>& hosts, rule_engine::OpenWindow* chosen);

// What the rules and the plug-in make of the window, in words for the list and the program line.
std::string RulesOnWindow(const rule_engine::RuleSet& rules, const rule_engine::OpenWindow& window);
std::string ProgramOf(HWND window);

}  // namespace rule_editor
