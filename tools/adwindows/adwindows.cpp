// lunet-adwindows: a stand-in for a browser that opens pop-up windows, to see which of them a
// closer running in the desktop-wide shell hooks closes.
//
// It loads no module itself: a closer that is on reaches it through its global hook. The help
// text, in adwindows_messages.cpp, says what it does.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "adwindows_messages.h"
#include "ascii_case.h"
#include "console_text.h"
#include "forward_redraw.h"
#include "message_pump.h"
#include "recording_window.h"

namespace {

struct AdWindow {
  std::string className;
  std::string title;
  std::unique_ptr<RecordingWindow> window;
  double notified = 0;  // NowUs() when the notification was handed on
};

std::vector<AdWindow> windows;

using namespace adwindows_text;

// "lunet-adwindows: " and the message, a line on stderr.
template <typename... Args>
void Complain(Id id, const Args&... args) {
  PrintError(kAdWindowsMessages, Format(kAdWindowsMessages, id, args...));
}

int Usage(Id problem) {
  Complain(problem);
  PrintLine(stderr, Format(kAdWindowsMessages, kHelp));
  return 2;
}

// Class names and titles are ANSI code page text, as typed.
std::string Shown(const std::string& ansi) { return AsUtf8(ansi, CP_ACP); }

// A whole decimal number of milliseconds, at most a day.
bool ParseHold(const char* text, DWORD& hold) {
  if (!*text) return false;
  char* end = NULL;
  unsigned long value = strtoul(text, &end, 10);
  if (*end || text[0] == '-' || value > 86400000ul) return false;
  hold = static_cast<DWORD>(value);
  return true;
}

bool MakeWindow(size_t index) {
  AdWindow& ad = windows[index];
  int offset = static_cast<int>(index % 16) * 24;
  ad.window.reset(new RecordingWindow(ad.className, ad.title, RecordingWindow::kDestroy,
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40 + offset, 40 + offset,
                                      320, 200));
  return ad.window->handle() != NULL;
}

// Hands each window not closed yet a title-redraw notification; false if one could not be.
bool NotifyOpenWindows() {
  bool all = true;
  for (AdWindow& ad : windows) {
    if (ad.window->closes()) continue;
    ad.notified = NowUs();
    if (!ForwardRedraw(ad.window->handle())) {
      Complain(kCannotNotify, Shown(ad.className), Shown(ad.title));
      all = false;
    }
  }
  return all;
}

// The windows CLASS=TITLE from argv[first] on; 0, or the exit status of a refusal.
int AddWindows(int argc, char** argv, int first) {
  for (int i = first; i < argc; ++i) {
    const char* split = strchr(argv[i], '=');
    if (!split || split == argv[i]) return Usage(kNotClassTitle);
    if (split - argv[i] > 255) return Usage(kClassTooLong);
    AdWindow ad;
    ad.className.assign(argv[i], split - argv[i]);
    for (const AdWindow& earlier : windows) {
      if (earlier.className == ad.className ||
          FoldedAscii(earlier.className) != FoldedAscii(ad.className)) {
        continue;
      }
      Complain(kOneClass, Shown(earlier.className), Shown(ad.className));
      ad.className = earlier.className;
      break;
    }
    ad.title = split + 1;
    windows.push_back(std::move(ad));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  DWORD hold = 1000, again = 0;
  int first = 1;
  for (; first < argc && argv[first][0] == '-'; ++first) {
    if (strcmp(argv[first], "--help") == 0 || strcmp(argv[first], "-h") == 0) {
      PrintLine(stdout, Format(kAdWindowsMessages, kHelp));
      return 0;
    }
    bool isHold = strcmp(argv[first], "--hold") == 0;
    if (!isHold && strcmp(argv[first], "--again") != 0) return Usage(kUnknownOption);
    if (first + 1 >= argc || !ParseHold(argv[first + 1], isHold ? hold : again)) {
      return Usage(kNeedsMilliseconds);
    }
    ++first;
  }
  if (again >= hold && again) return Usage(kAgainTooLate);
  if (first >= argc) return Usage(kNoWindows);
  int refused = AddWindows(argc, argv, first);
  if (refused) return refused;

  for (size_t i = 0; i < windows.size(); ++i) {
    if (!MakeWindow(i)) {
      DWORD error = GetLastError();
      Complain(kCannotCreate, Shown(windows[i].className), Shown(windows[i].title), error);
      return 1;
    }
  }
  if (!StartRedrawForwarding()) {
    Complain(kCannotForward, GetLastError());
    return 1;
  }
  int status = NotifyOpenWindows() ? 0 : 1;
  if (again) {
    PumpMessages(again);
    if (!NotifyOpenWindows()) status = 1;
  }
  PumpMessages(hold - again);
  StopRedrawForwarding();

  // Class names and titles are ANSI code page text: shown converted for the console or pipe.
  for (const AdWindow& ad : windows) {
    std::string line = "open ";
    if (ad.window->closes()) {
      char ms[32];
      snprintf(ms, sizeof ms, "%.3f", (ad.window->closedAt() - ad.notified) / 1000.0);
      line = std::string("closed ") + ms + " ";
    }
    WriteText(stdout, line + ad.className + " " + ad.title + "\n", CP_ACP);
  }
  fflush(stdout);
  return status;
}
