// lunet-editor-probe: starts lunet-editor.exe on a folder as a double-click does, waits for its
// window and its list, prints what it shows and what it cost, and closes it. For check-install
// and the benchmark; English only: it ships to no one.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <string>

#include "editor/editor_driver.h"
#include "editor_ids.h"
#include "harness/recording_window.h"

namespace {

const char kHelp[] =
    "usage: lunet-editor-probe EDITOR.exe [FOLDER] [--rows N] [--idle MS]\n"
    "\n"
    "Starts EDITOR on FOLDER (none: the editor's own folder), waits up to 30 s for\n"
    "its main window (and with --rows for N rows in its rules list), then prints:\n"
    "  shown_ms MS      from the start to the window (and the rows) shown\n"
    "  rows N           the rows of the rules list\n"
    "  caption TEXT     the window's caption (UTF-8)\n"
    "  messages TEXT    what the window says (UTF-8, one line)\n"
    "  idle_cpu_ms MS   with --idle: the processor time it used over MS ms of idling\n"
    "  exit CODE        after WM_CLOSE\n"
    "Exit status: 0 when the window showed and the editor ended with 0, else 1;\n"
    "2 for bad arguments.\n";

double ProcessorMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
  ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
  return (k.QuadPart + u.QuadPart) / 10000.0;
}

std::string OneLine(const std::wstring& text) {
  std::string line = Utf8(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  std::string editorPath, folder;
  long rows = -1, idle = 0;
  for (int i = 1; i < argc; ++i) {
    if ((!strcmp(argv[i], "--rows") || !strcmp(argv[i], "--idle")) && i + 1 < argc) {
      (!strcmp(argv[i], "--rows") ? rows : idle) = strtol(argv[i + 1], NULL, 10);
      ++i;
    } else if (argv[i][0] == '-') {
      fputs(kHelp, stderr);
      return 2;
    } else {
      (editorPath.empty() ? editorPath : folder) = argv[i];
    }
  }
  if (editorPath.empty()) {
    fputs(kHelp, stderr);
    return 2;
  }
  double start = NowUs();
  EditorDriver editor(editorPath, folder);
  bool shown = editor.Ready(30000);
  LRESULT count = shown ? editor.WaitRowCount(editor.Control(IDC_RULES), rows, 30000) : 0;
  printf("shown_ms %.1f\n", (NowUs() - start) / 1000.0);
  if (!shown) {
    printf("no window\n");
    return 1;
  }
  printf("rows %ld\ncaption %s\nmessages %s\n", static_cast<long>(count),
         OneLine(EditorDriver::TextOf(editor.main())).c_str(),
         OneLine(editor.Text(IDC_MESSAGES)).c_str());
  if (idle > 0) {
    Serve(500);  // what the start left to do
    double before = ProcessorMs(editor.process());
    Sleep(static_cast<DWORD>(idle));
    printf("idle_cpu_ms %.1f\n", ProcessorMs(editor.process()) - before);
  }
  DWORD code = editor.Close(10000);
  printf("exit %lu\n", code);
  fflush(stdout);
  return code == 0 ? 0 : 1;
}
