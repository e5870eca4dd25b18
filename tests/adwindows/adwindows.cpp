// lunet-adwindows: a stand-in for a browser that opens pop-up windows, to see which of them a
// closer running in the desktop-wide shell hooks closes (the tests, the benchmarks and the demo).
//
// It loads no module itself: a closer that is on reaches it through its global hook. It ships
// to no one, so it speaks English only; the demo shows only its fates, which are not words.
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ascii_case.h"
#include "console_text.h"
#include "harness/forward_redraw.h"
#include "harness/recording_window.h"
#include "message_pump.h"
#include "whole_number.h"

namespace {

const char kHelp[] =
    "usage: lunet-adwindows [--hold MS] [--again MS] CLASS=TITLE ...\n"
    "\n"
    "A stand-in for a browser that opens pop-up windows, to see which of them a\n"
    "closer in the desktop-wide shell hooks closes. For each CLASS=TITLE (split at\n"
    "the first '='; the title may be empty or hold '='), it opens a visible\n"
    "top-level window of that class with that title, then hands each window, in\n"
    "argument order, one \"title redrawn\" notification.\n"
    "\n"
    "  --hold MS   how long to keep the windows open and answer messages (default\n"
    "              1000)\n"
    "  --again MS  after MS (less than the hold), notify every window still open\n"
    "              once more, as a browser redraws a title\n"
    "\n"
    "Window N (counting from 0, in argument order) is 320x200 with its top left\n"
    "corner at X = Y = 40 + 24 * (N mod 16) on the screen: the first one's middle is\n"
    "at 200,140, the second one's at 224,164 (for lunet-rules pick --at X,Y). Window\n"
    "classes are case-insensitive: classes that differ only in letter case are one\n"
    "class, registered once under the first spelling, which the windows then report.\n"
    "\n"
    "Then it prints one line per window, in argument order, class (as registered)\n"
    "and title:\n"
    "  closed MS CLASS TITLE   WM_CLOSE arrived MS milliseconds (3 decimals) after\n"
    "                          the window's latest notification\n"
    "  open CLASS TITLE        no WM_CLOSE came while the windows were held\n"
    "\n"
    "Exit status: 0 when every window was made and notified, 1 when one could not\n"
    "be, 2 for bad arguments.\n";

const long kMostMs = 86400000;  // a day

struct AdWindow {
  std::string className;  // ANSI code page text, as typed, as are titles
  std::string title;
  std::unique_ptr<RecordingWindow> window;
  double notified = 0;  // NowUs() when the notification was handed on
};

struct Options {
  DWORD hold = 1000;
  DWORD again = 0;
  std::vector<AdWindow> windows;
};

// "lunet-adwindows: " and the text (which may quote ANSI class names and titles), on stderr.
void Complain(const std::string& ansi) {
  fflush(stdout);
  WriteText(stderr, "lunet-adwindows: " + ansi + "\n", CP_ACP);
}

int Usage(const char* problem) {
  Complain(problem);
  fputs(kHelp, stderr);
  return 2;
}

std::string Named(const AdWindow& ad) { return ad.className + "=" + ad.title; }

// The windows CLASS=TITLE from argv[first] on; 0, or the exit status of a refusal.
int AddWindows(int argc, char** argv, int first, std::vector<AdWindow>& windows) {
  for (int i = first; i < argc; ++i) {
    const char* split = strchr(argv[i], '=');
    if (!split || split == argv[i]) return Usage("each window is CLASS=TITLE, CLASS not empty");
    if (split - argv[i] > 255) return Usage("a class name is at most 255 bytes");
    AdWindow ad;
    ad.className.assign(argv[i], split - argv[i]);
    ad.title = split + 1;
    for (const AdWindow& earlier : windows) {
      if (earlier.className == ad.className ||
          FoldedAscii(earlier.className) != FoldedAscii(ad.className)) {
        continue;
      }
      Complain(earlier.className + " and " + ad.className + " are one class to Windows (letter " +
               "case aside): both windows are of class " + earlier.className);
      ad.className = earlier.className;
      break;
    }
    windows.push_back(std::move(ad));
  }
  return 0;
}

// The options, then the windows; -1 to go on, else the exit status (0 after --help).
int ReadOptions(int argc, char** argv, Options& options) {
  int first = 1;
  for (; first < argc && argv[first][0] == '-'; first += 2) {
    if (strcmp(argv[first], "--help") == 0 || strcmp(argv[first], "-h") == 0) {
      fputs(kHelp, stdout);
      return 0;
    }
    DWORD* ms = strcmp(argv[first], "--hold") == 0    ? &options.hold
                : strcmp(argv[first], "--again") == 0 ? &options.again
                                                      : NULL;
    if (!ms) return Usage("unknown option");
    long value;
    if (first + 1 >= argc || !ParseNumber(argv[first + 1], 0, kMostMs, value)) {
      return Usage("--hold and --again need a whole number of milliseconds");
    }
    *ms = static_cast<DWORD>(value);
  }
  if (options.again && options.again >= options.hold) {
    return Usage("--again must come before the hold ends");
  }
  if (first >= argc) return Usage("no CLASS=TITLE given");
  int refused = AddWindows(argc, argv, first, options.windows);
  return refused ? refused : -1;
}

// Window N at 40 + 24 * (N mod 16), as the help says; false, said, when one cannot be made.
bool MakeWindows(std::vector<AdWindow>& windows) {
  for (size_t i = 0; i < windows.size(); ++i) {
    AdWindow& ad = windows[i];
    int at = 40 + static_cast<int>(i % 16) * 24;
    ad.window.reset(new RecordingWindow(ad.className, ad.title, RecordingWindow::kDestroy,
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, at, at, 320, 200));
    if (!ad.window->handle()) {
      Complain("cannot create window " + Named(ad) + " (error " + std::to_string(GetLastError()) +
               ")");
      return false;
    }
  }
  return true;
}

// Hands each window not closed yet a title-redraw notification; false if one could not be.
bool NotifyOpenWindows(std::vector<AdWindow>& windows) {
  bool all = true;
  for (AdWindow& ad : windows) {
    if (ad.window->closes()) continue;
    ad.notified = NowUs();
    if (!ForwardRedraw(ad.window->handle())) {
      Complain("cannot notify " + Named(ad));
      all = false;
    }
  }
  return all;
}

// Notifies the windows, again after options.again if set, and answers messages for the hold;
// false when a notification could not be handed on.
bool HoldWindows(Options& options) {
  bool all = NotifyOpenWindows(options.windows);
  if (options.again) {
    PumpMessages(options.again);
    all = NotifyOpenWindows(options.windows) && all;
  }
  PumpMessages(options.hold - options.again);
  return all;
}

// One line a window, in argument order: "closed MS CLASS TITLE" or "open CLASS TITLE".
void PrintFates(const std::vector<AdWindow>& windows) {
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
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  int status = ReadOptions(argc, argv, options);
  if (status >= 0) return status;
  if (!MakeWindows(options.windows)) return 1;
  if (!StartRedrawForwarding()) {
    Complain("cannot install the redraw forwarder (error " + std::to_string(GetLastError()) + ")");
    return 1;
  }
  status = HoldWindows(options) ? 0 : 1;
  StopRedrawForwarding();
  PrintFates(options.windows);
  return status;
}
