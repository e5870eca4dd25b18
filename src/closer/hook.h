// The shell hook: on every title redraw, close the window if its class and title match.
#pragma once

#include <windows.h>

LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam);

// The count given to GetClassNameA and GetWindowTextA, the NUL included: the check reads at most
// kWindowTextCount - 1 (254) bytes of a class name or a title, and longer texts are cut there.
const int kWindowTextCount = 255;
typedef char WindowText[kWindowTextCount + 1];
// Read as the check reads them; a failed query (the window is already gone) reads as empty.
void ReadClassName(HWND window, WindowText text);
void ReadTitle(HWND window, WindowText text);

// The check itself, apart from the hook: posts WM_CLOSE to a matching window and reports it.
void CheckWindow(HWND window);
int MatchClass(const char* name);
int MatchTitle(const char* title);
