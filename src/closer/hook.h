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
// The close report, one line through OutputDebugStringA:
//   lunet: close pid=<decimal> hwnd=0x<hex> class="<text>" title="<text>"\n
// In each text, the bytes below 0x20, 0x7F, the quote and the backslash are written as \xHH
// (two upper-case hex digits); every other byte is the window's own, in the ANSI code page.
void ReportClose(HWND window, const char* className, const char* title);
int MatchClass(const char* name);
int MatchTitle(const char* title);

// One rule against a window's text, as the check compares them: a class name equal to the class
// rule with ASCII letter case folded; a title that holds the fragment byte for byte.
int ClassRuleMatches(const char* name, const char* rule);
int TitleRuleMatches(const char* title, const char* fragment);
typedef int (*RuleTest)(const char* text, const char* rule);
// The position of the first rule of the list that the text matches, or -1; the caller holds the
// store's lock. The check scans with it, and so can a tool that must name the rule.
struct RuleList;
int FirstMatchingRule(const RuleList& list, RuleTest matches, const char* text);
