// The shell hook: on every title redraw, close the window if its class and title match.
#pragma once

#include <windows.h>

LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam);

// The check itself, apart from the hook: posts WM_CLOSE to a matching window and reports it.
void CheckWindow(HWND window);
// The close report, one line through OutputDebugStringA:
//   lunet: close pid=<decimal> hwnd=0x<hex> class="<text>" title="<text>"\n
// In each text, the bytes below 0x20, 0x7F, the quote and the backslash are written as \xHH
// (two upper-case hex digits); every other byte is the window's own, in the ANSI code page.
void ReportClose(HWND window, const char* className, const char* title);
int MatchClass(const char* name);
int MatchTitle(const char* title);
