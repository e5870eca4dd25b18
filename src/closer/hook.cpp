// The check runs inside every hooked process on every title redraw: it takes no heap memory
// unless a rule list is empty and the files must be read again.
#include "closer/hook.h"

#include <string.h>

#include "closer/rules.h"
#include "shared/shared_state.h"

namespace {

// Rebuilds the store when the list is still empty once no scan is running.
void ReloadIfEmpty(const RuleList& list) {
  RulesExclusive hold;
  if (list.count == 0) LoadPluginRules();
}

// Scans the list under the shared lock, reloading the files first when it is empty.
int Match(const RuleList& list, RuleTest matches, const char* text) {
  {
    RulesShared hold;
    if (list.count != 0) return FirstMatchingRule(list, matches, text) >= 0;
  }
  ReloadIfEmpty(list);
  RulesShared hold;
  return FirstMatchingRule(list, matches, text) >= 0;
}

// Builds the close report in a caller's buffer: no heap in the hooked process, never past the end.
class ReportLine {
 public:
  ReportLine(char* buffer, size_t size) : at_(buffer), start_(buffer), end_(buffer + size - 1) {}

  void PutChar(char c) {
    if (at_ < end_) *at_++ = c;
  }
  void Put(const char* text) {
    while (*text) PutChar(*text++);
  }
  // The value's digits in base 10 or 16, most significant first, without leading zeros.
  void PutNumber(UINT_PTR value, unsigned base) {
    char digits[3 * sizeof value];
    int count = 0;
    do {
      digits[count++] = kHexDigits[value % base];
      value /= base;
    } while (value);
    while (count) PutChar(digits[--count]);
  }
  void PutQuoted(const char* text) {
    for (const unsigned char* b = reinterpret_cast<const unsigned char*>(text); *b; ++b) {
      if (*b < 0x20 || *b == 0x7F || *b == '"' || *b == '\\') {
        PutChar('\\');
        PutChar('x');
        PutChar(kHexDigits[*b >> 4]);
        PutChar(kHexDigits[*b & 0xF]);
      } else {
        PutChar(static_cast<char>(*b));
      }
    }
  }
  const char* Finish() {
    *at_ = 0;
    return start_;
  }

 private:
  static constexpr const char* kHexDigits = "0123456789ABCDEF";
  char* at_;
  char* start_;
  char* end_;
};

}  // namespace

int ClassRuleMatches(const char* name, const char* rule) {
  return CompareNoCaseAscii(name, rule) == 0;
}

int TitleRuleMatches(const char* title, const char* fragment) {
  return strstr(title, fragment) != nullptr;
}

int FirstMatchingRule(const RuleList& list, RuleTest matches, const char* text) {
  for (uint32_t i = 0; i < list.count; ++i) {
    if (list.items[i] && matches(text, list.items[i]->data)) return static_cast<int>(i);
  }
  return -1;
}

int MatchClass(const char* name) { return Match(KillRules.ClassRules, ClassRuleMatches, name); }

int MatchTitle(const char* title) { return Match(KillRules.TitleRules, TitleRuleMatches, title); }

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

void ReportClose(HWND window, const char* className, const char* title) {
  // Each text byte takes at most four characters; the rest of the line fits in 80.
  char line[80 + 2 * 4 * (kWindowTextCount - 1)];
  ReportLine out(line, sizeof line);
  out.Put("lunet: close pid=");
  out.PutNumber(GetCurrentProcessId(), 10);
  out.Put(" hwnd=0x");
  out.PutNumber(reinterpret_cast<UINT_PTR>(window), 16);
  out.Put(" class=\"");
  out.PutQuoted(className);
  out.Put("\" title=\"");
  out.PutQuoted(title);
  out.Put("\"\n");
  OutputDebugStringA(out.Finish());
}

LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HSHELL_REDRAW) CheckWindow(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(SharedState.hook, code, wParam, lParam);
}
