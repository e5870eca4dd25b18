// The shell hook: on every title redraw, close the window if its class and title match.
#pragma once

#include <string.h>
#include <windows.h>

#include "closer/rules.h"

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

// One rule against a window's text, as the check compares them: a class name equal to the class
// rule with ASCII letter case folded; a title that holds the fragment byte for byte.
inline int ClassRuleMatches(const char* name, const char* rule) {
  return CompareNoCaseAscii(name, rule) == 0;
}
inline int TitleRuleMatches(const char* title, const char* fragment) {
  return strstr(title, fragment) != nullptr;
}
// The position of the first rule of the list that the text matches, or -1; the caller holds the
// store's lock. The check scans with it, and so can a tool that must name the rule. A template,
// so that the check's own scans compare inline: they run on every title redraw.
template <typename Test>
int FirstMatchingRule(const RuleList& list, Test matches, const char* text) {
  for (uint32_t i = 0; i < list.count; ++i) {
    if (list.items[i] && matches(text, list.items[i]->data)) return static_cast<int>(i);
  }
  return -1;
}
