// What the main window's buttons do, each through the rule engine: the checks and the plan
// first, a question, then the one writer; every refusal and result said in the window.
#pragma once

#include <functional>
#include <string>

#include "editor_state.h"

namespace rule_editor {

// Appends the class and title fragment of IDC_CLASS and IDC_FRAGMENT to killwnd_custom.txt.
void AddRule(Editor& editor);
// Changes or removes the chosen rule's line where it is.
void EditRule(Editor& editor);
void RemoveRule(Editor& editor);
// What a change of the row's line to value (null: its removal) does beyond the file, added to
// the question before saving; "" adds nothing.
using Consequences = std::function<std::string(const RuleRow& row, const std::string* value)>;
// The same for a row chosen elsewhere (the lines that closed a window), with every check,
// question and warning of the main window's Edit and Remove, and Undo after.
void EditRow(Editor& editor, RuleRow row, const Consequences& consequences = nullptr);
void RemoveRow(Editor& editor, RuleRow row, const Consequences& consequences = nullptr);
// Takes back the last change, when the files still hold what the window wrote.
void UndoChange(Editor& editor);
// Converts a rule file saved in UTF-8 (or with a byte order mark) to the code page.
void ConvertFiles(Editor& editor);
// Whether a window of IDC_CLASS and IDC_TITLE (or IDC_FRAGMENT) would be closed, and by which
// lines.
void TestWindow(Editor& editor);

}  // namespace rule_editor
