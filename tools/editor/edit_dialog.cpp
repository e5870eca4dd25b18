#include "edit_dialog.h"

#include "dialog_text.h"
#include "editor_ids.h"

namespace rule_editor {

namespace {

struct EditState {
  editor_text::Id kind;
  std::wstring* value;
};

INT_PTR CALLBACK EditProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    EditState& state = *reinterpret_cast<EditState*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    const ControlText texts[] = {{IDC_EDIT_KIND, state.kind},
                                 {IDC_EDIT_VALUE_LABEL, editor_text::kEditValueLabel},
                                 {IDCANCEL, editor_text::kCancelButton}};
    SetDialogTexts(dialog, editor_text::kEditCaption, texts);
    SetDlgItemTextW(dialog, IDC_EDIT_VALUE, state.value->c_str());
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  int command = LOWORD(wParam);
  if (command == IDOK) {
    EditState& state = *reinterpret_cast<EditState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    *state.value = TypedText(dialog, IDC_EDIT_VALUE);
  }
  if (command == IDOK || command == IDCANCEL) EndDialog(dialog, command);
  return TRUE;
}

}  // namespace

bool EditValue(HWND owner, editor_text::Id kind, std::wstring* value) {
  EditState state = {kind, value};
  return DialogBoxParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_EDIT), owner, EditProc,
                         reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace rule_editor
