// The shell hook: on every title redraw, close the window if its class and title match.
#pragma once

#include <windows.h>

LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam);

// The check itself, apart from the hook: posts WM_CLOSE to a matching window.
void CheckWindow(HWND window);
int MatchClass(const char* name);
int MatchTitle(const char* title);
