// The lines that closed a window (IDD_LINES), modal: every class line and every title line of
// the rule files that match it, each to edit or remove as the main window does, with what the
// change does to it and to the other open windows said before saving.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "close_feed.h"
#include "close_lines.h"
#include "editor_state.h"

namespace rule_editor {

void ShowClosingLines(Editor& editor, HWND owner, const rule_engine::FedClose& close);

// "killwnd_custom.txt:3 title,広告, killwnd.txt:2 class,AdWindow" in UTF-8; the edited line
// with its new value.
std::string LinesText(const rule_engine::RuleSet& rules,
                      const std::vector<const rule_engine::LineReport*>& lines,
                      const rule_engine::LineEdit* edit = nullptr);
// What the files as they are now say of a closed window: the lines that match it, and that they
// no longer close it when so.
std::string MatchText(const rule_engine::RuleSet& rules, const CloseReport& report);
// "15:25:34", the time a close was read.
std::string ClockTime(const SYSTEMTIME& at);

}  // namespace rule_editor
