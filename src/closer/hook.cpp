// The check runs inside every hooked process on every title redraw: it takes no heap memory
// unless a rule list is empty and the files must be read again.
#include "closer/hook.h"

#include <string.h>

#include "closer/close_report.h"
#include "closer/rules.h"
#include "shared/shared_state.h"

namespace {

int ScanClasses(const char* name) {
  return FirstMatchingRule(KillRules.ClassRules, ClassRuleMatches, name) != -1;
}

int ScanTitles(const char* title) {
  return FirstMatchingRule(KillRules.TitleRules, TitleRuleMatches, title) != -1;
}

// Scans the list under the store's lock, reloading the files first when it is empty.
int Match(const RuleList& list, int (*scan)(const char*), const char* text) {
  RulesHold hold;
  if (list.count == 0) LoadPluginRules();
  return scan(text);
}

}  // namespace

int MatchClass(const char* name) { return Match(KillRules.ClassRules, ScanClasses, name); }

int MatchTitle(const char* title) { return Match(KillRules.TitleRules, ScanTitles, title); }

// A window that is already gone answers 0 and may leave the buffer as it was.
void ReadClassName(HWND window, WindowText text) {
  if (GetClassNameA(window, text, kWindowTextCount) <= 0) text[0] = 0;
  text[kWindowTextCount - 1] = 0;
}

void ReadTitle(HWND window, WindowText text) {
  if (GetWindowTextA(window, text, kWindowTextCount) <= 0) text[0] = 0;
  text[kWindowTextCount - 1] = 0;
}

void CheckWindow(HWND window) {
  WindowText className;
  ReadClassName(window, className);
  if (!MatchClass(className)) return;
  WindowText title;
  ReadTitle(window, title);
  if (!MatchTitle(title)) return;
  // Posted, not sent: the window may still refuse to close.
  PostMessageA(window, WM_CLOSE, 0, 0);
  ReportClose(window, className, title);
}

LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HSHELL_REDRAW) CheckWindow(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(SharedState.hook, code, wParam, lParam);
}
