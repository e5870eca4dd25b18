// The window's words: texts of the message list made UTF-16 for the W functions, set on a
// dialog's controls by their ids, and rule bytes shown and read back in the rules' code page.
#pragma once

#include <windows.h>

#include <string>

#include "editor_messages.h"

namespace rule_editor {

// A control and the message that is its text.
struct ControlText {
  int control;
  editor_text::Id text;
};

// UTF-8 text (the message list's, or a message made of it) as the W functions take it.
std::wstring Wide(const std::string& utf8);
std::wstring WideText(editor_text::Id id);
// The same with its line ends as an edit control shows them.
std::wstring WithCrLf(const std::string& utf8);

// Sets each control's text from the list in the user's language, and the dialog's caption.
template <size_t kCount>
void SetDialogTexts(HWND dialog, editor_text::Id caption, const ControlText (&controls)[kCount]) {
  SetWindowTextW(dialog, WideText(caption).c_str());
  for (const ControlText& control : controls) {
    SetDlgItemTextW(dialog, control.control, WideText(control.text).c_str());
  }
}

// A list view's columns: their titles from the list, their widths in dialog units.
struct Column {
  editor_text::Id title;
  int width;
};
template <size_t kCount>
void AddColumns(HWND list, const Column (&columns)[kCount]);
void AddColumn(HWND list, int index, editor_text::Id title, int width);

// A new row of a list view at index, its lParam the index; the row's position as inserted.
int InsertRow(HWND list, size_t index);
// One cell of a list view, set from UTF-8 text.
void SetCell(HWND list, int row, int column, const std::string& utf8);

// A control's text as the user typed it, and that text in the code page; false when the code
// page lacks one of its characters.
std::wstring TypedText(HWND dialog, int control);
bool InCodePage(const std::wstring& wide, unsigned codePage, std::string* bytes);

template <size_t kCount>
void AddColumns(HWND list, const Column (&columns)[kCount]) {
  for (size_t i = 0; i < kCount; ++i) {
    AddColumn(list, static_cast<int>(i), columns[i].title, columns[i].width);
  }
}

}  // namespace rule_editor
