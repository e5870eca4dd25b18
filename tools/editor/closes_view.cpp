#include "closes_view.h"

#include <commctrl.h>

#include "close_lines.h"
#include "code_page.h"
#include "dialog_text.h"
#include "editor_ids.h"
#include "lines_dialog.h"
#include "text.h"

namespace rule_editor {

namespace {

// As wide as the list together, so that a close reads whole without scrolling sideways.
const Column kCloseColumns[] = {{editor_text::kColumnTime, 40},
                                {editor_text::kColumnProgram, 70},
                                {editor_text::kColumnClass, 60},
                                {editor_text::kColumnTitle, 94},
                                {editor_text::kColumnLines, 196}};
const int kLinesColumn = 4;

const ControlText kClosesTexts[] = {{IDC_CLOSE_LINES, editor_text::kLinesButton},
                                    {IDCANCEL, editor_text::kCloseButton}};

void SetState(Editor& editor, const std::string& utf8) {
  SetDlgItemTextW(editor.closesView, IDC_CLOSE_STATE, Wide(utf8).c_str());
}

void AddRow(Editor& editor, const rule_engine::FedClose& close) {
  HWND list = GetDlgItem(editor.closesView, IDC_CLOSE_LIST);
  unsigned codePage = editor.rules->CodePage();
  int row = InsertRow(list, editor.closes.size());
  SetCell(list, row, 0, ClockTime(close.at));
  SetCell(list, row, 1, PathText(close.program));
  SetCell(list, row, 2, RuleText(close.report.className, codePage));
  SetCell(list, row, 3, RuleText(close.report.title, codePage));
  SetCell(list, row, kLinesColumn, MatchText(*editor.rules, close.report));
  SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
  editor.closes.push_back(close);
}

// The close of the list's chosen row; null when none is chosen.
const rule_engine::FedClose* ChosenClose(const Editor& editor) {
  int chosen = ChosenRow(GetDlgItem(editor.closesView, IDC_CLOSE_LIST));
  return chosen >= 0 ? &editor.closes[chosen] : nullptr;
}

void ShowLines(Editor& editor) {
  const rule_engine::FedClose* chosen = ChosenClose(editor);
  if (!chosen) {
    MessageBoxW(editor.closesView, WideText(editor_text::kNoCloseChosen).c_str(),
                WideText(editor_text::kCaption).c_str(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  rule_engine::FedClose close = *chosen;  // the list may grow meanwhile
  ShowClosingLines(editor, editor.closesView, close);
}

// Listening ends with the view: the buffer goes back to the desktop at once.
void CloseView(Editor& editor) {
  if (editor.feed) editor.feed->Stop();
  editor.feed.reset();
  editor.closes.clear();
  HWND view = editor.closesView;
  editor.closesView = NULL;
  DestroyWindow(view);
}

void StartListening(Editor& editor) {
  editor.feed.reset(new rule_engine::CloseFeed);
  std::string error;
  if (editor.feed->Start(error)) {
    SetState(editor, Text(editor_text::kListening));
    return;
  }
  editor.feed.reset();
  SetState(editor, Text(editor_text::kNotListening, error));
}

INT_PTR CALLBACK ClosesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    Editor& editor = *reinterpret_cast<Editor*>(lParam);
    editor.closesView = dialog;
    SetDialogTexts(dialog, editor_text::kClosesCaption, kClosesTexts);
    HWND list = GetDlgItem(dialog, IDC_CLOSE_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    AddColumns(list, kCloseColumns);
    StartListening(editor);
    return TRUE;
  }
  Editor* editor = reinterpret_cast<Editor*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!editor) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_CLOSE_LINES) ShowLines(*editor);
      if (LOWORD(wParam) == IDCANCEL) CloseView(*editor);
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_CLOSE_LIST && header->code == NM_DBLCLK) ShowLines(*editor);
      return TRUE;
    }
    case WM_CLOSE: CloseView(*editor); return TRUE;
  }
  return FALSE;
}

std::string MissedText(const rule_engine::Missed& missed) {
  std::string first = ClockTime(missed.first), last = ClockTime(missed.last);
  return missed.count == 1 ? Text(editor_text::kMissedOne, first, last)
                           : Text(editor_text::kMissedMany, first, last, missed.count);
}

}  // namespace

void ShowCloses(Editor& editor) {
  if (editor.closesView) {  // the focus on its list brings it to the front, active
    SetFocus(GetDlgItem(editor.closesView, IDC_CLOSE_LIST));
    return;
  }
  HWND view = CreateDialogParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_CLOSES),
                                 editor.dialog, ClosesProc, reinterpret_cast<LPARAM>(&editor));
  if (view) ShowWindow(view, SW_SHOW);
}

void ClosesArrived(Editor& editor) {
  if (!editor.feed || !editor.closesView) return;
  rule_engine::Missed missed;
  unsigned long unreported = 0;
  for (const rule_engine::FedClose& close : editor.feed->Take(missed)) {
    unreported += close.report.dropped;
    AddRow(editor, close);
  }
  std::string state;
  if (missed.count) state = MissedText(missed);
  if (unreported) {
    state += (state.empty() ? "" : " ") + Text(editor_text::kUnreported, unreported);
  }
  if (!state.empty()) SetState(editor, state);
}

void RelistCloseLines(Editor& editor) {
  if (!editor.closesView) return;
  HWND list = GetDlgItem(editor.closesView, IDC_CLOSE_LIST);
  for (size_t i = 0; i < editor.closes.size(); ++i) {
    SetCell(list, static_cast<int>(i), kLinesColumn,
            MatchText(*editor.rules, editor.closes[i].report));
  }
}

}  // namespace rule_editor
