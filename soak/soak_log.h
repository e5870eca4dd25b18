// The log a window-owning process writes for the driver to score: one event a line, named by its
// first letter. Both targets, so that scoring is tested natively.
#pragma once

namespace soak {

// What a redrawn title is, judged from the rules ever present; written as its letter.
enum class TitleKind : char {
  // a hook-listed class with a base fragment: must be closed while the closer is on
  kBase = 'b',
  // a hook-listed class with an extra fragment: depends on what the process read, not scored
  kExtra = 'c',
  // the poller's class with one of its fragments: must be closed by the poller, at any time
  kPolled = 'q',
  // matches no rule ever present (plain text, or a fragment under another owner's class)
  kPlain = 'p',
};

// Each line is the event's letter and its fields, written through at once so that a process
// ended abruptly leaves every line it finished.
enum class Event : char {
  kRedrawn = 'R',        // serial kind us: a title redrawn, NowUs() just before the forwarding
  kClosed = 'C',         // serial us: WM_CLOSE arrived at a window that waits for it (not plain)
  kTimedOut = 'T',       // serial: no WM_CLOSE within the wait, and the window was destroyed
  kWrongClose = 'X',     // serial us: WM_CLOSE arrived at a window whose titles matched no rule
  kForwardFailed = 'F',  // serial: the redraw could not be forwarded
  kSample = 'S',         // us private handles heap: private bytes, handle count, heap in use
  kPaceReset = 'L',      // us: behind schedule by more than a second, the pace was reset
};

// How long a window with a matching title waits for its WM_CLOSE.
const unsigned long kCloseWaitMs = 5000;

}  // namespace soak
