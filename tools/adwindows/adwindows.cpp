// lunet-adwindows: a stand-in for a browser that opens pop-up windows, to see which of them a
// closer running in the desktop-wide shell hooks closes.
//
// It loads no module itself: a closer that is on reaches it through its global hook. The help
// text below says what it does.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

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

const char kHelp[] =
    "usage: lunet-adwindows [--hold MS] [--again MS] CLASS=TITLE ...\n"
    "\n"
    "A stand-in for a browser that opens pop-up windows, to see which of them a closer in the\n"
    "desktop-wide shell hooks closes. For each CLASS=TITLE (split at the first '='; the title\n"
    "may be empty or hold '='), it opens a visible top-level window of that class with that\n"
    "title, then hands each window, in argument order, one \"title redrawn\" notification.\n"
    "\n"
    "  --hold MS   how long to keep the windows open and answer messages (default 1000)\n"
    "  --again MS  after MS (less than the hold), notify every window still open once more,\n"
    "              as a browser redraws a title\n"
    "\n"
    "Window N (counting from 0, in argument order) is 320x200 with its top left corner at\n"
    "X = Y = 40 + 24 * (N mod 16) on the screen: the first one's middle is at 200,140, the\n"
    "second one's at 224,164 (for lunet-rules pick --at X,Y). Window classes are\n"
    "case-insensitive: classes that differ only in letter case are one class, registered\n"
    "once under the first spelling, which the windows then report.\n"
    "\n"
    "Then it prints one line per window, in argument order, class (as registered) and title:\n"
    "  closed MS CLASS TITLE   WM_CLOSE arrived MS milliseconds (3 decimals) after the\n"
    "                          window's latest notification\n"
    "  open CLASS TITLE        no WM_CLOSE came while the windows were held\n"
    "\n"
    "Exit status: 0 when every window was made and notified, 1 when one could not be, 2 for\n"
    "bad arguments.\n";

int Usage(const char* problem) {
  fprintf(stderr, "lunet-adwindows: %s\n%s", problem, kHelp);
  return 2;
}

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
      fprintf(stderr, "lunet-adwindows: cannot notify %s=%s\n", ad.className.c_str(),
              ad.title.c_str());
      all = false;
    }
  }
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  DWORD hold = 1000, again = 0;
  int first = 1;
  for (; first < argc && argv[first][0] == '-'; ++first) {
    if (strcmp(argv[first], "--help") == 0 || strcmp(argv[first], "-h") == 0) {
      fputs(kHelp, stdout);
      return 0;
    }
    bool isHold = strcmp(argv[first], "--hold") == 0;
    if (!isHold && strcmp(argv[first], "--again") != 0) return Usage("unknown option");
    if (first + 1 >= argc || !ParseHold(argv[first + 1], isHold ? hold : again)) {
      return Usage("--hold and --again need a whole number of milliseconds");
    }
    ++first;
  }
  if (again >= hold && again) return Usage("--again must come before the hold ends");
  if (first >= argc) return Usage("no CLASS=TITLE given");
  for (int i = first; i < argc; ++i) {
    const char* split = strchr(argv[i], '=');
    if (!split || split == argv[i]) return Usage("each window is CLASS=TITLE, CLASS not empty");
    if (split - argv[i] > 255) return Usage("a class name is at most 255 bytes");
    AdWindow ad;
    ad.className.assign(argv[i], split - argv[i]);
    for (const AdWindow& earlier : windows) {
      if (earlier.className == ad.className ||
          FoldedAscii(earlier.className) != FoldedAscii(ad.className)) {
        continue;
      }
      fprintf(stderr, "lunet-adwindows: %s and %s are one class to Windows (letter case aside):"
              " both windows are of class %s\n", earlier.className.c_str(),
              ad.className.c_str(), earlier.className.c_str());
      ad.className = earlier.className;
      break;
    }
    ad.title = split + 1;
    windows.push_back(std::move(ad));
  }

  for (size_t i = 0; i < windows.size(); ++i) {
    if (!MakeWindow(i)) {
      fprintf(stderr, "lunet-adwindows: cannot create window %s=%s (error %lu)\n",
              windows[i].className.c_str(), windows[i].title.c_str(), GetLastError());
      return 1;
    }
  }
  if (!StartRedrawForwarding()) {
    fprintf(stderr, "lunet-adwindows: cannot install the redraw forwarder (error %lu)\n",
            GetLastError());
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
