// Windows only: lunet-editor.exe driven from another process as a user drives it: its controls
// read and set through their messages, its list views read in its own memory, its message boxes
// found, read and answered, the mouse and the keys as real input.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "code_page.h"

// A window's text in UTF-8, for the story's log.
inline std::string Utf8(const std::wstring& text) { return Narrow(text, CP_UTF8); }

// One modal window the editor showed: a message box, or one of its own dialogs.
struct SeenDialog {
  HWND handle = NULL;
  std::wstring caption;
  std::wstring text;  // a message box's text; "" for the editor's dialogs
  int buttons = 0;    // visible push buttons among OK, Cancel, Yes, No
};

class EditorDriver {
 public:
  // Starts the editor on folder; Ready() then waits for its main window.
  EditorDriver(const std::string& editorPath, const std::string& folder);
  ~EditorDriver();
  EditorDriver(const EditorDriver&) = delete;
  EditorDriver& operator=(const EditorDriver&) = delete;

  // Waits up to ms for the visible main window; false when none came.
  bool Ready(DWORD ms);
  HWND main() const { return main_; }
  DWORD processId() const { return child_->id(); }
  HANDLE process() const { return child_->handle(); }
  HWND Control(int id) const { return GetDlgItem(main_, id); }

  std::wstring Text(int id) const { return TextOf(Control(id)); }
  static std::wstring TextOf(HWND window);
  static void SetTextOf(HWND window, const std::wstring& text);
  void SetText(int id, const std::wstring& text) const;
  // Presses a button of the main window as a click does; returns at once, so that the modal
  // box it may open does not hold this thread.
  void Click(int id) const;

  // The rows of a list view of the editor, each cell's text, columns 0 to columns - 1.
  std::vector<std::vector<std::wstring>> Rows(HWND list, int columns) const;
  // Waits up to ms until a list view has at least rows rows; the count it has.
  LRESULT WaitRowCount(HWND list, LRESULT rows, DWORD ms) const;
  // Selects and focuses one row (and no other), as a click on it does.
  bool SelectRow(HWND list, int row) const;

  // The next modal window the editor's main window owns, other than skip, waited for up to ms;
  // handle NULL when none came.
  SeenDialog WaitDialog(DWORD ms, HWND skip = NULL) const { return WaitDialogOf(main_, ms, skip); }
  // The same for a window that another of the editor's dialogs owns.
  SeenDialog WaitDialogOf(HWND owner, DWORD ms, HWND skip = NULL) const;
  // Presses a button of one of the editor's dialogs as a click does, returning at once.
  static void ClickIn(HWND dialog, int id);
  // Presses a button of a message box or dialog; with waitGone, waits until it is gone.
  bool Answer(const SeenDialog& dialog, int button, bool waitGone = true) const;
  // Waits until IDC_MESSAGES holds something other than before; its text.
  std::wstring WaitMessages(const std::wstring& before, DWORD ms) const;

  // The control that has the keyboard focus in the editor.
  HWND Focus() const;

  // WM_CLOSE to the main window and the exit code (STILL_ACTIVE if it did not end in ms).
  DWORD Close(DWORD ms);

 private:
  std::unique_ptr<ChildProcess> child_;
  HWND main_ = NULL;
};

// Real input, through the system's queue as a mouse and a keyboard give it.
void MouseTo(int x, int y);
void MouseButton(bool down);
// The left button pressed at from and the mouse moved to to in steps, as a hand drags; the
// button is still held.
void DragHeld(POINT from, POINT to);
void Key(WORD virtualKey);
// Messages of this thread served and the rest of ms slept: the plug-in's hook may belong to it.
void Serve(DWORD ms);
// The centre of a window on the screen.
POINT CentreOf(HWND window);
