#include "lines_dialog.h"

#include <commctrl.h>
#include <stdint.h>
#include <stdio.h>

#include "actions.h"
#include "close_lines.h"
#include "code_page.h"
#include "desktop.h"
#include "dialog_text.h"
#include "editor_ids.h"
#include "text.h"
#include "windows_dialog.h"

namespace rule_editor {

using rule_engine::LineReport;
using rule_engine::OpenWindow;

namespace {

const ControlText kLinesTexts[] = {{IDC_LINE_EDIT, editor_text::kEditButton},
                                   {IDC_LINE_REMOVE, editor_text::kRemoveButton},
                                   {IDCANCEL, editor_text::kCloseButton}};

struct LinesState {
  Editor* editor;
  rule_engine::FedClose close;
  std::vector<RuleRow> rows;  // the lines listed, as the rules list holds them
};

HWND ClosedHandle(const CloseReport& report) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(report.window));
}

std::vector<OpenWindow> VisibleWindows() {
  std::vector<OpenWindow> visible;
  for (const OpenWindow& window : rule_engine::TopLevelWindows()) {
    if (window.visible) visible.push_back(window);
  }
  return visible;
}

// The line of the files that a row of the rules list shows; null when the files changed.
const LineReport* LineOf(const rule_engine::RuleSet& rules, const RuleRow& row) {
  if (row.file >= rules.Files().size()) return nullptr;
  for (const LineReport& line : rules.Files()[row.file].lines) {
    if (line.line == row.line) return &line;
  }
  return nullptr;
}

std::string WindowLines(const Editor& editor, const std::vector<OpenWindow>& windows) {
  std::string text;
  for (const OpenWindow& window : windows) {
    text += "\n    " + Text(editor_text::kWouldCloseWindow, ProgramOf(window.handle),
                            Shown(editor, window.className), Shown(editor, window.title));
  }
  return text;
}

// Said before a change of the row's line is saved: whether the closed window would still be
// closed and by which lines, and which open windows the change spares or newly closes.
std::string WhatChanges(const Editor& editor, const CloseReport& report, const RuleRow& row,
                        const std::string* value) {
  const rule_engine::RuleSet& rules = *editor.rules;
  rule_engine::LineEdit edit;
  edit.line = LineOf(rules, row);
  edit.kind = row.kind;
  edit.value = value;
  if (!edit.line) return "";
  rule_engine::MatchingLines after =
      rule_engine::LinesMatchingAfter(rules, edit, report.className, report.title);
  std::string text = after.Closes() ? Text(editor_text::kAfterStillClosed,
                                           LinesText(rules, after.classLines, &edit),
                                           LinesText(rules, after.titleLines, &edit))
                                    : Text(editor_text::kAfterNotClosed);
  rule_engine::EditEffect effect = rule_engine::EffectOf(rules, edit, VisibleWindows());
  if (!effect.spared.empty()) {
    text += "\n" + Text(editor_text::kSpares) + WindowLines(editor, effect.spared);
  }
  if (!effect.newlyClosed.empty()) {
    text += "\n" + Text(editor_text::kNewlyCloses) + WindowLines(editor, effect.newlyClosed);
  }
  if (effect.spared.empty() && effect.newlyClosed.empty()) {
    text += "\n" + Text(editor_text::kChangesNoOther);
  }
  return text;
}

// The notes under the list: that the files no longer close the window, and for each class that
// a line matches, the other open windows of that class.
std::string Notes(const Editor& editor, const CloseReport& report,
                  const rule_engine::MatchingLines& matching) {
  std::string notes;
  if (!matching.Closes()) {
    notes = Text(matching.classLines.empty() && matching.titleLines.empty()
                     ? editor_text::kNoLineMatches
                     : editor_text::kClosesNoMore);
  }
  if (matching.classLines.empty()) return notes;
  std::vector<OpenWindow> sharing =
      rule_engine::SharingClass(VisibleWindows(), report.className, ClosedHandle(report));
  std::string shown = Shown(editor, report.className);
  if (!notes.empty()) notes += "\n";
  notes += sharing.empty() ? Text(editor_text::kSharingNone, shown)
                           : Text(editor_text::kSharingClass, shown) + WindowLines(editor, sharing);
  return notes;
}

// The rows of the rules list that show these lines, in their order.
void AddRows(const Editor& editor, const std::vector<const LineReport*>& lines,
             std::vector<RuleRow>& rows) {
  const std::vector<rule_engine::FileReport>& files = editor.rules->Files();
  for (const LineReport* line : lines) {
    const rule_engine::FileReport* file = rule_engine::FileOf(files, line);
    for (const RuleRow& row : editor.rows) {
      if (file && row.file == static_cast<size_t>(file - &files[0]) && row.line == line->line) {
        rows.push_back(row);
      }
    }
  }
}

// The list and the notes worked out from the rules as they are now.
void Fill(HWND dialog, LinesState& state) {
  const Editor& editor = *state.editor;
  const CloseReport& report = state.close.report;
  rule_engine::MatchingLines matching =
      rule_engine::LinesMatching(*editor.rules, report.className, report.title);
  state.rows.clear();
  AddRows(editor, matching.classLines, state.rows);
  AddRows(editor, matching.titleLines, state.rows);
  HWND list = GetDlgItem(dialog, IDC_LINE_LIST);
  FillRulesList(list, state.rows);
  if (!state.rows.empty()) {
    LVITEMW first = {};
    first.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    first.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
  }
  SetDlgItemTextW(dialog, IDC_LINE_NOTES, WithCrLf(Notes(editor, report, matching)).c_str());
}

void Change(HWND dialog, LinesState& state, bool remove) {
  Editor& editor = *state.editor;
  int chosen = ChosenRow(GetDlgItem(dialog, IDC_LINE_LIST));
  if (chosen < 0) {
    MessageBoxW(dialog, WideText(editor_text::kNoSelection).c_str(),
                WideText(editor_text::kCaption).c_str(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  CloseReport report = state.close.report;
  Consequences consequences = [&editor, report](const RuleRow& row, const std::string* value) {
    return WhatChanges(editor, report, row, value);
  };
  HWND owner = editor.boxOwner;
  editor.boxOwner = dialog;
  ClearMessages(editor);
  if (remove) {
    RemoveRow(editor, state.rows[chosen], consequences);
  } else {
    EditRow(editor, state.rows[chosen], consequences);
  }
  editor.boxOwner = owner;
  Fill(dialog, state);
}

INT_PTR CALLBACK LinesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    LinesState& state = *reinterpret_cast<LinesState*>(lParam);
    const Editor& editor = *state.editor;
    const rule_engine::FedClose& close = state.close;
    SetDialogTexts(dialog, editor_text::kLinesCaption, kLinesTexts);
    std::string about =
        Text(editor_text::kLinesWindow, PathText(close.program), ClockTime(close.at),
             Shown(editor, close.report.className), Shown(editor, close.report.title));
    SetDlgItemTextW(dialog, IDC_LINE_WINDOW, Wide(about).c_str());
    HWND list = GetDlgItem(dialog, IDC_LINE_LIST);
    // Its rows are the rules list's (FillRulesList), under the same columns.
    AddRuleColumns(list);
    Fill(dialog, state);
    SetFocus(list);
    return FALSE;  // the focus is set
  }
  LinesState* state = reinterpret_cast<LinesState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_NOTIFY) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_LINE_LIST && header->code == NM_DBLCLK) Change(dialog, *state, false);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_LINE_EDIT: Change(dialog, *state, false); break;
    case IDC_LINE_REMOVE: Change(dialog, *state, true); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
  }
  return TRUE;
}

}  // namespace

void ShowClosingLines(Editor& editor, HWND owner, const rule_engine::FedClose& close) {
  LinesState state = {&editor, close, {}};
  DialogBoxParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_LINES), owner, LinesProc,
                  reinterpret_cast<LPARAM>(&state));
}

std::string LinesText(const rule_engine::RuleSet& rules,
                      const std::vector<const LineReport*>& lines,
                      const rule_engine::LineEdit* edit) {
  std::string text;
  for (const LineReport* line : lines) {
    const rule_engine::RuleKind& kind = rule_engine::KindOfRule(line->effect);
    bool edited = edit && edit->line == line && edit->value;
    const rule_engine::FileReport* file = rule_engine::FileOf(rules.Files(), line);
    text += (text.empty() ? "" : Text(engine_text::kListSeparator)) +
            (file ? FileName(file->path) : "?") + ":" + std::to_string(line->line) + " " +
            kind.keyword + "," + RuleText(edited ? *edit->value : line->text, rules.CodePage());
  }
  return text;
}

std::string MatchText(const rule_engine::RuleSet& rules, const CloseReport& report) {
  rule_engine::MatchingLines matching =
      rule_engine::LinesMatching(rules, report.className, report.title);
  std::vector<const LineReport*> lines = matching.classLines;
  lines.insert(lines.end(), matching.titleLines.begin(), matching.titleLines.end());
  if (lines.empty()) return Text(editor_text::kNoLineMatches);
  std::string text = LinesText(rules, lines);
  if (!matching.Closes())
    text += Text(editor_text::kNoteSeparator) + Text(editor_text::kClosesNoMore);
  return text;
}

std::string ClockTime(const SYSTEMTIME& at) {
  char text[16];
  snprintf(text, sizeof text, "%02u:%02u:%02u", at.wHour, at.wMinute, at.wSecond);
  return text;
}

}  // namespace rule_editor
