#include "windows_dialog.h"

#include <commctrl.h>

#include "code_page.h"
#include "dialog_text.h"
#include "editor_ids.h"
#include "pick_target.h"
#include "window_reach.h"

namespace rule_editor {

using rule_engine::OpenWindow;

namespace {

const Column kWindowColumns[] = {{editor_text::kColumnClass, 80},
                                 {editor_text::kColumnTitle, 110},
                                 {editor_text::kColumnProgram, 80},
                                 {editor_text::kColumnRules, 200}};

struct WindowsState {
  const rule_engine::RuleSet* rules;
  const std::vector<DWORD>* hosts;
  std::vector<OpenWindow> windows;
  OpenWindow* chosen;
};

void FillWindows(HWND dialog, WindowsState& state) {
  HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  AddColumns(list, kWindowColumns);
  unsigned codePage = state.rules->CodePage();
  for (const OpenWindow& window : rule_engine::TopLevelWindows()) {
    if (!window.visible) continue;
    if (rule_engine::RefusalOf(window.handle, *state.hosts) != rule_engine::TargetRefusal::kNone) {
      continue;
    }
    int row = InsertRow(list, state.windows.size());
    SetCell(list, row, 0, RuleText(window.className, codePage));
    SetCell(list, row, 1, RuleText(window.title, codePage));
    SetCell(list, row, 2, ProgramOf(window.handle));
    SetCell(list, row, 3, RulesOnWindow(*state.rules, window));
    state.windows.push_back(window);
  }
  LVITEMW first = {};
  first.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  first.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
}

// The window of the list's chosen row, or false when none is chosen.
bool Picked(HWND dialog, const WindowsState& state, OpenWindow* window) {
  HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
  int item = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
  if (item < 0) return false;
  LVITEMW request = {};
  request.mask = LVIF_PARAM;
  request.iItem = item;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&request));
  *window = state.windows[static_cast<size_t>(request.lParam)];
  return true;
}

INT_PTR CALLBACK WindowsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    const ControlText texts[] = {{IDOK, editor_text::kPickButton},
                                 {IDCANCEL, editor_text::kCancelButton}};
    SetDialogTexts(dialog, editor_text::kWindowsCaption, texts);
    FillWindows(dialog, *reinterpret_cast<WindowsState*>(lParam));
    SetFocus(GetDlgItem(dialog, IDC_WINDOW_LIST));
    return FALSE;  // the focus is set
  }
  WindowsState* state = reinterpret_cast<WindowsState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == NM_DBLCLK) {
    if (Picked(dialog, *state, state->chosen)) EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == IDOK) {
    if (!Picked(dialog, *state, state->chosen)) {
      MessageBoxW(dialog, WideText(editor_text::kNoWindowChosen).c_str(),
                  WideText(editor_text::kCaption).c_str(), MB_OK | MB_ICONINFORMATION);
      return TRUE;
    }
    EndDialog(dialog, IDOK);
  } else if (LOWORD(wParam) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
  }
  return TRUE;
}

}  // namespace

std::string RulesOnWindow(const rule_engine::RuleSet& rules, const OpenWindow& window) {
  rule_engine::Verdict verdict = rules.Judge(window.className, window.title);
  std::string said = verdict.Closes() ? Text(editor_text::kClosedByRules,
                                             Located(rules.Files(), verdict.classRule),
                                             Located(rules.Files(), verdict.titleFragment))
                                      : Text(editor_text::kNotClosed);
  std::string reach = rule_engine::ReachText(rule_engine::ReachOf(window.handle));
  return reach.empty() ? said : said + Text(editor_text::kNoteSeparator) + reach;
}

std::string ProgramOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return PathText(rule_engine::ProcessName(processId));
}

bool ChooseOpenWindow(HWND owner, const rule_engine::RuleSet& rules,
                      const std::vector<DWORD>& hosts, OpenWindow* chosen) {
  WindowsState state = {&rules, &hosts, {}, chosen};
  return DialogBoxParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_WINDOWS), owner, WindowsProc,
                         reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace rule_editor
