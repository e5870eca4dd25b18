// lunet-adwindows: a stand-in for a browser that opens pop-up windows, to see which of them a
// closer running in the desktop-wide shell hooks closes.
//
// Usage: lunet-adwindows [--hold MS] CLASS=TITLE ...
//
// For each CLASS=TITLE argument (split at the first '='; the title may be empty or hold '='),
// registers CLASS once and creates a visible top-level window of that class with that title.
// Then, in argument order, hands one "title redrawn" shell notification per window to the
// desktop-wide shell hooks, pumps messages for MS milliseconds (default 1000) and prints one
// line per window, in argument order, class and title as given:
//
//   closed <ms> <CLASS> <TITLE>   WM_CLOSE arrived <ms> milliseconds (3 decimals, '.' as the
//                                 separator) after this window's notification was handed on
//   open <CLASS> <TITLE>          no WM_CLOSE came while the program held its windows
//
// Exit status: 0 when every window was made and notified; 2 for bad arguments (with a usage
// message on stderr); 1 when a window could not be made or notified.
//
// It loads no module itself: a closer that is on reaches it through its global hook.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "harness/forward_redraw.h"
#include "harness/message_pump.h"
#include "harness/recording_window.h"

namespace {

struct AdWindow {
  std::string className;
  std::string title;
  std::unique_ptr<RecordingWindow> window;
  double notified = 0;  // NowUs() when the notification was handed on
};

std::vector<AdWindow> windows;

int Usage(const char* problem) {
  fprintf(stderr, "lunet-adwindows: %s\nusage: lunet-adwindows [--hold MS] CLASS=TITLE ...\n",
          problem);
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

}  // namespace

int main(int argc, char** argv) {
  DWORD hold = 1000;
  int first = 1;
  if (first < argc && strcmp(argv[first], "--hold") == 0) {
    if (first + 1 >= argc || !ParseHold(argv[first + 1], hold)) {
      return Usage("--hold needs a whole number of milliseconds");
    }
    first += 2;
  }
  if (first >= argc) return Usage("no CLASS=TITLE given");
  for (int i = first; i < argc; ++i) {
    const char* split = strchr(argv[i], '=');
    if (!split || split == argv[i]) return Usage("each window is CLASS=TITLE, CLASS not empty");
    if (split - argv[i] > 255) return Usage("a class name is at most 255 bytes");
    AdWindow ad;
    ad.className.assign(argv[i], split - argv[i]);
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
  int status = 0;
  for (AdWindow& ad : windows) {
    ad.notified = NowUs();
    if (!ForwardRedraw(ad.window->handle())) {
      fprintf(stderr, "lunet-adwindows: cannot notify %s=%s\n", ad.className.c_str(),
              ad.title.c_str());
      status = 1;
    }
  }
  PumpMessages(hold);
  StopRedrawForwarding();

  for (const AdWindow& ad : windows) {
    if (ad.window->closes()) {
      double ms = (ad.window->closedAt() - ad.notified) / 1000.0;
      printf("closed %.3f %s %s\n", ms, ad.className.c_str(), ad.title.c_str());
    } else {
      printf("open %s %s\n", ad.className.c_str(), ad.title.c_str());
    }
  }
  fflush(stdout);
  return status;
}
