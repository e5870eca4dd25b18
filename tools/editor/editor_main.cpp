// lunet-editor: the rule editor window over the plug-in folder given, or its own folder.
#include <windows.h>

// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include "code_page.h"
#include "main_dialog.h"
#include "own_console.h"

namespace {

// The folder named on the command line, or the program's own; with its separator.
std::string FolderToEdit() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring given = arguments && count > 1 ? arguments[1] : L"";
  LocalFree(arguments);
  if (given.empty()) return ProgramFolder();
  std::string folder = Narrow(given, CP_ACP);
  return rule_engine::WithSeparator(folder);
}

// The window's messages, and the folder's change notification beside them: one wait for both,
// so that an idle window costs nothing.
int RunLoop(rule_editor::Editor& editor) {
  for (;;) {
    // Every message is taken before waiting: the wait wakes only for ones that arrive after.
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
      if (IsDialogMessageW(editor.dialog, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    HANDLE change = editor.watch.Handle();
    DWORD count = change ? 1 : 0;
    if (MsgWaitForMultipleObjects(count, &change, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 &&
        count) {
      editor.watch.Rearm();
      rule_editor::FolderChanged(editor);
    }
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  rule_editor::Editor editor;
  HWND window = rule_editor::OpenMainWindow(editor, FolderToEdit());
  if (!window) return 1;
  ShowWindow(window, show);
  return RunLoop(editor);
}
