// lunet-editor: the rule editor window over the plug-in folder given, or its own folder.
#include <windows.h>

// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>
#include <stdlib.h>

#include <string>

#include "closes_view.h"
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

// Milliseconds since the counter's reading start.
double MsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
}

// With LUNET_EDITOR_TIMING naming a file, the window appends to it how long its own start took,
// which only the program can tell: from entry to its rules read and listed, and to its first
// paint done. The benchmark asks for it; without the variable nothing is written.
void NoteStartTimes(double listedMs, double paintedMs) {
  const char* path = getenv("LUNET_EDITOR_TIMING");
  if (!path || !*path) return;
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string lines = "listed_us " + std::to_string(static_cast<long>(listedMs * 1000)) +
                      "\r\npainted_us " + std::to_string(static_cast<long>(paintedMs * 1000)) +
                      "\r\n";
  DWORD written = 0;
  WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, NULL);
  CloseHandle(file);
}

// The window's messages, the folder's change notification and, while the closes view listens,
// its reports: one wait for all, so that an idle window costs nothing. The first time the queue
// runs dry, every paint of the first showing is done.
int RunLoop(rule_editor::Editor& editor, const LARGE_INTEGER& entry, double listedMs) {
  bool painted = false;
  for (;;) {
    // Every message is taken before waiting: the wait wakes only for ones that arrive after.
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
      if (IsDialogMessageW(editor.dialog, &message)) continue;
      if (editor.closesView && IsDialogMessageW(editor.closesView, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (!painted) {
      painted = true;
      NoteStartTimes(listedMs, MsSince(entry));
    }
    HANDLE handles[2];
    DWORD count = 0;
    HANDLE change = editor.watch.Handle();
    if (change) handles[count++] = change;
    HANDLE ready = editor.feed ? editor.feed->Ready() : NULL;
    if (ready) handles[count++] = ready;
    DWORD woke = MsgWaitForMultipleObjects(count, handles, FALSE, INFINITE, QS_ALLINPUT);
    if (woke >= WAIT_OBJECT_0 + count) continue;  // messages
    if (handles[woke - WAIT_OBJECT_0] == change) {
      editor.watch.Rearm();
      rule_editor::FolderChanged(editor);
    } else {
      rule_editor::ClosesArrived(editor);
    }
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  LARGE_INTEGER entry;
  QueryPerformanceCounter(&entry);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  rule_editor::Editor editor;
  HWND window = rule_editor::OpenMainWindow(editor, FolderToEdit());
  if (!window) return 1;
  double listedMs = MsSince(entry);
  ShowWindow(window, show);
  return RunLoop(editor, entry, listedMs);
}
