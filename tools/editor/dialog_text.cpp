#include "dialog_text.h"

#include <commctrl.h>

#include "code_page.h"

namespace rule_editor {

std::wstring Wide(const std::string& utf8) { return Widen(utf8, CP_UTF8); }

std::wstring WideText(editor_text::Id id) { return Wide(Text(id)); }

std::wstring WithCrLf(const std::string& utf8) {
  std::wstring wide;
  for (wchar_t c : Wide(utf8)) {
    if (c == L'\n') wide += L'\r';
    wide += c;
  }
  return wide;
}

void AddColumn(HWND list, int index, editor_text::Id title, int width) {
  // Dialog units to pixels, so that the columns follow the font and DPI as the dialog does.
  RECT units = {0, 0, width, 0};
  MapDialogRect(GetParent(list), &units);
  std::wstring text = WideText(title);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = &text[0];
  column.cx = units.right;
  column.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

int InsertRow(HWND list, size_t index) {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = static_cast<int>(index);
  item.lParam = static_cast<LPARAM>(index);
  return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetCell(HWND list, int row, int column, const std::string& utf8) {
  std::wstring text = Wide(utf8);
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = &text[0];
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::wstring TypedText(HWND dialog, int control) {
  HWND window = GetDlgItem(dialog, control);
  int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  text.resize(GetWindowTextW(window, &text[0], length + 1));
  return text;
}

bool InCodePage(const std::wstring& wide, unsigned codePage, std::string* bytes) {
  *bytes = Narrow(wide, codePage);
  // What the code page lacks comes back as '?' or a look-alike: the round trip shows it.
  return Widen(*bytes, codePage) == wide;
}

}  // namespace rule_editor
