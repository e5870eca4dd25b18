// A window-owning process of the soak: W windows whose titles change and are redrawn at a steady
// pace, about one title in seven matching a rule (the hook's, or the poller's). A window given a
// matching title waits for its WM_CLOSE and a fresh one takes its place, so W windows keep
// changing all the time. It logs what happens to them (soak_log.h).
//   lunet_soak --child WINDOWS RATE LOG STOP
#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "harness/forward_redraw.h"
#include "harness/heap_in_use.h"
#include "harness/recording_window.h"
#include "harness/seeded_random.h"
#include "harness/windows_kit.h"
#include "message_pump.h"
#include "owned.h"
#include "soak.h"

namespace soak {

namespace {

const double kUsPerMs = 1e3;
const double kUsPerSecond = 1e6;
// Of every 100 titles: this many carry a fragment of the window's own closer, and this many
// more one of the extra fragments, which the custom file holds only at times.
const unsigned kMatchingPercent = 16;
const unsigned kExtraPercent = 4;

class Log {
 public:
  explicit Log(const char* path)
      : file_(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, 0, NULL)) {}
  bool ok() const { return file_.valid(); }
  // The event's letter, then its fields as format gives them, as one line.
  void Line(Event event, const char* format, ...) {
    char line[160];
    line[0] = static_cast<char>(event);
    line[1] = ' ';
    va_list arguments;
    va_start(arguments, format);
    int n = vsnprintf(line + 2, sizeof line - 3, format, arguments);
    va_end(arguments);
    if (n < 0) return;
    n = std::min(n, static_cast<int>(sizeof line - 4)) + 2;
    line[n++] = '\n';
    DWORD written;
    WriteFile(file_.get(), line, static_cast<DWORD>(n), &written, NULL);
  }

 private:
  FileHandle file_;
};

struct Window {
  std::unique_ptr<RecordingWindow> window;
  unsigned serial = 0;
  Owner owner = Owner::kNobody;
  double redrawnAt = 0;
};

class Desktop {
 public:
  // Seeded apart per process: the process id spread by Knuth's multiplicative constant, odd.
  Desktop(Log& log, int count) : log_(log), random_(GetCurrentProcessId() * 2654435761u | 1) {
    // Half the windows the hook's class, a quarter the poller's, a quarter nobody's.
    const Owner owners[] = {Owner::kHook, Owner::kPoller, Owner::kHook, Owner::kNobody};
    for (int i = 0; i < count; ++i) pool_.push_back(Fresh(owners[i % 4]));
  }

  void Redraw() {
    Window& slot = pool_[Next() % pool_.size()];
    unsigned roll = Next() % 100;  // a percentile
    char title[128];
    // The poller's windows carry its fragments where the others carry the base ones.
    const std::vector<std::string>& fragments =
        slot.owner == Owner::kPoller ? kPolledFragments : kBaseFragments;
    if (roll < kMatchingPercent) {
      snprintf(title, sizeof title, "Win %u - %s - Browser", slot.serial,
               fragments[Next() % fragments.size()].c_str());
    } else if (roll < kMatchingPercent + kExtraPercent) {
      snprintf(title, sizeof title, "Win %u - %s - Browser", slot.serial,
               kExtraFragments[Next() % kExtraFragments.size()].c_str());
    } else {
      snprintf(title, sizeof title, "Report %u-%u - Editor", slot.serial, Next() % 100000);
    }
    TitleKind kind = KindOf(slot.owner, title);
    SetWindowTextA(slot.window->handle(), title);
    slot.redrawnAt = NowUs();
    int forwarded = ForwardRedraw(slot.window->handle());
    // A close posted by the hook is taken at once, before the slow making of a new window.
    PumpPending();
    log_.Line(Event::kRedrawn, "%u %c %.0f", slot.serial, static_cast<char>(kind), slot.redrawnAt);
    if (!forwarded) log_.Line(Event::kForwardFailed, "%u", slot.serial);
    // It keeps the matching title until its WM_CLOSE comes: no later title could be blamed.
    if (kind != TitleKind::kPlain) {
      Owner owner = slot.owner;
      waiting_.push_back(std::move(slot));
      slot = Fresh(owner);
    }
  }

  // Logs what arrived since the last look; windows done with are replaced or dropped.
  void Look(double now) {
    for (Window& slot : pool_) {
      if (!slot.window->closes()) continue;
      log_.Line(Event::kWrongClose, "%u %.0f", slot.serial, slot.window->closedAt());
      slot = Fresh(slot.owner);
    }
    for (size_t i = 0; i < waiting_.size();) {
      Window& ad = waiting_[i];
      if (ad.window->closes()) {
        log_.Line(Event::kClosed, "%u %.0f", ad.serial, ad.window->closedAt());
      } else if (now - ad.redrawnAt > kCloseWaitMs * kUsPerMs) {
        log_.Line(Event::kTimedOut, "%u", ad.serial);
      } else {
        ++i;
        continue;
      }
      waiting_[i] = std::move(waiting_.back());
      waiting_.pop_back();
    }
  }

  bool AllAnswered() const { return waiting_.empty(); }

 private:
  Window Fresh(Owner owner) {
    Window made;
    made.serial = ++serial_;
    made.owner = owner;
    made.window =
        std::make_unique<RecordingWindow>(ClassOf(owner), "Starting " + std::to_string(made.serial),
                                          RecordingWindow::kKeep, WS_POPUP, 0, 0, 40, 20);
    return made;
  }
  unsigned Next() { return random_.Next(); }

  Log& log_;
  SeededRandom random_;
  unsigned serial_ = 0;
  std::vector<Window> pool_;
  std::vector<Window> waiting_;
};

// Committed private memory, summed over the address space: Wine answers the process counters
// with zero private bytes and zero handles, so both are counted here.
double PrivateBytes() {
  double bytes = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
      bytes += static_cast<double>(region.RegionSize);
    }
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return bytes;
}

// Handle values are multiples of four handed out lowest first; past a long run of unused values
// there are no more.
int HandleCount() {
  const UINT_PTR kStep = 4, kLongRun = 256;
  int count = 0;
  for (UINT_PTR value = kStep, unused = 0; unused < kLongRun; value += kStep) {
    DWORD flags;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++count;
      unused = 0;
    } else {
      ++unused;
    }
  }
  return count;
}

void LogUsage(Log& log) {
  log.Line(Event::kSample, "%.0f %.0f %d %.0f", NowUs(), PrivateBytes(), HandleCount(),
           HeapInUse());
}

// Told by the driver just before it ends this process: forwards redraws of a listed window back
// to back, so that the end finds a thread inside the hook.
void Hammer(HANDLE start) {
  WaitForSingleObject(start, INFINITE);
  StartRedrawForwarding();
  RecordingWindow target(kListedClass, "Quarterly figures - Editor", RecordingWindow::kKeep);
  for (;;) ForwardRedraw(target.handle());
}

// Exit statuses of a window-owning process; the driver counts any but kChildDone as failed.
enum ChildExit { kChildDone = 0, kChildCannotRun = 1, kChildUsage = 2 };

// What the driver asks of this process: lunet_soak --child WINDOWS RATE LOG STOP.
struct ChildOptions {
  long windows = 0;
  double rate = 0;             // title redraws a second
  const char* log = nullptr;   // the log to write (soak_log.h)
  const char* stop = nullptr;  // the name of the driver's event that ends the run
};
// Beyond these a process is no soak of the closer: Windows gives a process 10,000 window handles,
// and the pacing counts in microseconds.
const long kMostWindows = 10000;
const double kHighestRate = kUsPerSecond;

// What is wrong with the command line, on stderr; kChildUsage.
int ChildUsage(const char* format, ...) {
  fprintf(stderr, "lunet_soak --child: ");
  va_list arguments;
  va_start(arguments, format);
  vfprintf(stderr, format, arguments);
  va_end(arguments);
  fprintf(stderr, "\n  usage: lunet_soak --child WINDOWS RATE LOG STOP\n");
  return kChildUsage;
}

// Whole texts only: "12x" and "" are no numbers.
bool WholeNumber(const char* text, long low, long high, long& number) {
  char* end = nullptr;
  errno = 0;
  number = strtol(text, &end, 10);
  return end != text && *end == 0 && errno == 0 && number >= low && number <= high;
}

bool Rate(const char* text, double& rate) {
  char* end = nullptr;
  errno = 0;
  rate = strtod(text, &end);
  return end != text && *end == 0 && errno == 0 && rate > 0 && rate <= kHighestRate;
}

// The options from argv[2] on; kChildDone, or kChildUsage once it has said what is wrong.
int ReadChildOptions(int argc, char** argv, ChildOptions& options) {
  if (argc != 6) return ChildUsage("four arguments, not %d", argc - 2);
  if (!WholeNumber(argv[2], 1, kMostWindows, options.windows)) {
    return ChildUsage("WINDOWS must be a whole number from 1 to %ld, not \"%s\"", kMostWindows,
                      argv[2]);
  }
  if (!Rate(argv[3], options.rate)) {
    return ChildUsage("RATE must be redraws a second, above 0 and at most %.0f, not \"%s\"",
                      kHighestRate, argv[3]);
  }
  options.log = argv[4];
  options.stop = argv[5];
  return kChildDone;
}

// What stops this process from running, on stderr; kChildCannotRun.
int CannotRun(const char* what, const char* name) {
  fprintf(stderr, "lunet_soak --child: cannot %s %s (error %lu)\n", what, name, GetLastError());
  return kChildCannotRun;
}

// The thread that hammers the hook when the driver sets this process's hammer event.
bool StartHammer() {
  std::string name = "lunet-soak-hammer-" + std::to_string(GetCurrentProcessId());
  // Never closed: the hammering thread waits on it until the process is ended.
  HANDLE hammer = CreateEventA(NULL, TRUE, FALSE, name.c_str());
  if (!hammer) return false;
  std::thread(Hammer, hammer).detach();
  return true;
}

// Redraws at the rate until the stop event is set: late redraws are caught up a few at a time,
// a pace more than a second behind starts afresh, and usage is logged every second.
void RedrawAtPace(Desktop& desktop, Log& log, HANDLE stop, double rate) {
  const int kMostAtOnce = 8;
  const double interval = kUsPerSecond / rate;
  double due = NowUs(), nextUsage = due;
  for (;;) {
    double now = NowUs();
    for (int batch = 0; due <= now && batch < kMostAtOnce; ++batch, due += interval) {
      desktop.Redraw();
    }
    if (now - due > kUsPerSecond) {
      log.Line(Event::kPaceReset, "%.0f", now);
      due = now;
    }
    desktop.Look(now);
    if (now >= nextUsage) {
      LogUsage(log);
      nextUsage += kUsPerSecond;
    }
    double waitMs = (due - NowUs()) / kUsPerMs;
    DWORD wait = waitMs > 0 ? static_cast<DWORD>(waitMs) : 0;
    if (MsgWaitForMultipleObjects(1, &stop, FALSE, wait, QS_ALLINPUT) == WAIT_OBJECT_0) return;
    PumpPending();
  }
}

// The last matching windows get their full wait and half a second more, so that every redraw
// is answered.
void AwaitTheLastCloses(Desktop& desktop) {
  const DWORD kPumpMs = 20;
  const double kSlackUs = 500e3;
  for (double end = NowUs() + kCloseWaitMs * kUsPerMs + kSlackUs; !desktop.AllAnswered();) {
    PumpMessages(kPumpMs);
    desktop.Look(NowUs());
    if (NowUs() > end) break;
  }
}

}  // namespace

int RunChild(int argc, char** argv) {
  ChildOptions options;
  int read = ReadChildOptions(argc, argv, options);
  if (read != kChildDone) return read;
  Log log(options.log);
  if (!log.ok()) return CannotRun("write the log", options.log);
  KernelHandle stop(OpenEventA(SYNCHRONIZE, FALSE, options.stop));
  if (!stop.valid()) return CannotRun("open the stop event", options.stop);
  if (!StartRedrawForwarding()) return CannotRun("forward redraws", "into the shell hooks");
  if (!StartHammer()) return CannotRun("make the hammer event", "of this process");

  Desktop desktop(log, static_cast<int>(options.windows));
  // The driver's asking starts once the windows are made: making 50 under load takes longer
  // than the second a process is given to answer, as any program's start may.
  std::string pingTitle = "lunet-soak-ping-" + std::to_string(GetCurrentProcessId());
  RecordingWindow ping("LunetSoakPing", pingTitle, RecordingWindow::kKeep);
  if (!ping.handle()) return CannotRun("make the window", pingTitle.c_str());
  RedrawAtPace(desktop, log, stop.get(), options.rate);
  AwaitTheLastCloses(desktop);
  LogUsage(log);
  return kChildDone;
}

}  // namespace soak
