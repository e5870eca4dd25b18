// lunet-rules watch: prints each window the closer asks to close, as it happens, with the rules
// in DIR that match it. It reads the module's close reports from the debug-output buffer.
#include <stdio.h>
#include <time.h>
#include <windows.h>

#include "close_report_reader.h"
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "owned.h"
#include "rule_set.h"
#include "support/critical_section.h"

#ifdef _WIN32
#include <utility>

#include "debug_listener.h"
#include "desktop.h"

namespace rules_cli {

using namespace rule_engine;

namespace {

// The time a report was read, for its line: "15:25:34".
std::string ClockTime(const SYSTEMTIME& at) {
  char text[16];
  snprintf(text, sizeof text, "%02u:%02u:%02u", at.wHour, at.wMinute, at.wSecond);
  return text;
}

// A line of watch: said in the run's language, logged in English (the log stays one record,
// whoever reads it).
struct Line {
  std::string said, logged;
};
template <typename... Args>
Line Both(rules_text::Id id, const Args&... args) {
  return {Text(id, args...), TextIn(Language::kEnglish, id, args...)};
}

// The rules in DIR that match the closed window, as the module compares them; the running
// module may hold other rules, read before the files were last edited.
Line MatchedBy(const RuleSet& rules, const CloseReport& report) {
  Verdict verdict = rules.Judge(report.className, report.title);
  if (!verdict.Closes()) return Both(rules_text::kByNoRule);
  const LineReport* c = verdict.classRule;
  const LineReport* t = verdict.titleFragment;
  return Both(rules_text::kByRules, RuleText(Quote(c->text), rules.CodePage()),
              Located(rules.Files(), c), RuleText(Quote(t->text), rules.CodePage()),
              Located(rules.Files(), t));
}

// Reports the queue could not hold, with the times of the first and the last.
struct Missed {
  unsigned long count = 0;
  SYSTEMTIME first = {}, last = {};
};

struct ReadText {
  SYSTEMTIME at;
  std::string text;
};

// The reports read from the buffer and not printed yet. The reading thread never waits for the
// printing one: when the queue is full, the report is counted as missed instead.
class ReportQueue {
 public:
  static const size_t kCapacity = 256;

  // The spin-count form, as the module's store: on XP the plain one raises an exception when
  // memory is short. A queue that is not ready() is never used: no thread reads into it.
  ReportQueue() : ready_(CreateEventA(NULL, FALSE, FALSE, NULL)) {
    lockMade_ = InitializeCriticalSectionAndSpinCount(&lock_, 0) != 0;
  }
  ~ReportQueue() {
    if (lockMade_) DeleteCriticalSection(&lock_);
  }
  bool ready() const { return lockMade_ && ready_.valid(); }
  ReportQueue(const ReportQueue&) = delete;
  ReportQueue& operator=(const ReportQueue&) = delete;

  void Push(const SYSTEMTIME& at, const char* text, size_t length) {
    {
      ScopedCriticalSection hold(lock_);
      if (texts_.size() >= kCapacity) {
        if (missed_.count++ == 0) missed_.first = at;
        missed_.last = at;
        return;
      }
      texts_.push_back(ReadText{at, std::string(text, length)});
    }
    SetEvent(ready_.get());
  }
  // Waits up to ms for what was read since the last call; the reports missed meanwhile are
  // handed over once.
  std::vector<ReadText> Take(DWORD ms, Missed& missed) {
    WaitForSingleObject(ready_.get(), ms);
    ScopedCriticalSection hold(lock_);
    missed = std::exchange(missed_, {});
    return std::exchange(texts_, {});
  }

 private:
  KernelHandle ready_;
  // The one lock of this program, held only to move a text in or out: a critical section, as XP
  // has no slim reader/writer lock.
  CRITICAL_SECTION lock_;
  bool lockMade_ = false;
  std::vector<ReadText> texts_;
  Missed missed_;
};

// Set by Ctrl+C, Ctrl+Break, the console's close, logoff and shutdown: the printing ends,
// prints its summary and closes the log.
volatile LONG stopRequested = 0;
HANDLE finished = NULL;

BOOL WINAPI OnConsoleControl(DWORD event) {
  InterlockedExchange(&stopRequested, 1);
  // After the handler returns from these, the system ends the process: let the summary and the
  // log be written first.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    WaitForSingleObject(finished, 4000);
  }
  return TRUE;
}

// The listening thread: it only waits for the next text, copies it into the queue and hands the
// buffer back, so that a console that blocks or a slow log never holds up a writer.
struct Reader {
  DebugListener* listener;
  ReportQueue* queue;
  volatile LONG stop;
};

DWORD WINAPI ReadReports(LPVOID parameter) {
  Reader* reader = static_cast<Reader*>(parameter);
  DWORD processId = 0;
  std::string text;
  while (!reader->stop) {
    if (!reader->listener->Take(200, processId, text)) continue;
    SYSTEMTIME at;
    GetLocalTime(&at);
    reader->queue->Push(at, text.data(), text.size());
    reader->listener->HandBack();
  }
  return 0;
}

// What watch prints, to the console and, when there is one, to the log; each line goes to the
// log at once, so that the log is whole whenever the program ends.
class WatchOutput {
 public:
  WatchOutput(const RuleSet& rules, FILE* log) : rules_(rules), log_(log) {}

  // A line of the log, in the rules' code page; its line end, CR LF as in every file the
  // tools write, added here.
  void Log(std::string line) {
    if (!log_) return;
    line += "\r\n";
    fwrite(line.data(), 1, line.size(), log_);
    fflush(log_);
  }
  void Print(const Line& line) {
    Say(line.said);
    fflush(stdout);
    Log(ToCodePage(line.logged, rules_.CodePage()));
  }
  // What the queue could not hold since it was last asked, said once.
  void SayMissed(const Missed& missed) {
    if (!missed.count) return;
    missedInAll_ += missed.count;
    Print(Both(missed.count == 1 ? rules_text::kMissedOneReport : rules_text::kMissedReports,
               ClockTime(missed.last), ClockTime(missed.first), ClockTime(missed.last),
               missed.count));
  }
  // One report read: false when it is some other program's debug output.
  bool Show(const ReadText& read) {
    CloseReport report;
    if (!ParseCloseReport(read.text, report)) return false;
    std::string at = ClockTime(read.at);
    std::string program = PathText(ProcessName(static_cast<DWORD>(report.processId)));
    if (report.dropped) {
      missedInAll_ += report.dropped;
      Print(Both(report.dropped == 1 ? rules_text::kMissedOneClose : rules_text::kMissedCloses, at,
                 program, report.dropped));
    }
    std::string className = RuleText(Quote(report.className), rules_.CodePage());
    std::string title = RuleText(Quote(report.title), rules_.CodePage());
    Line matched = MatchedBy(rules_, report);
    Print({Text(rules_text::kWatchClosed, at, program, className, title, matched.said),
           TextIn(Language::kEnglish, rules_text::kWatchClosed, at, program, className, title,
                  matched.logged)});
    return true;
  }
  void Summary(long seen) {
    Line summary = Both(seen == 1 ? rules_text::kOneCloseSeen : rules_text::kClosesSeen, seen);
    if (missedInAll_) {
      Line missed = Both(rules_text::kMissedInAll, missedInAll_);
      summary = {summary.said + missed.said, summary.logged + missed.logged};
    }
    Print(summary);
  }

 private:
  const RuleSet& rules_;
  FILE* log_;
  unsigned long missedInAll_ = 0;
};

// Prints the reports as they come until Ctrl+C or the count; returns how many were seen.
long PrintReports(ReportQueue& queue, WatchOutput& output, long count) {
  long seen = 0;
  while (!stopRequested && seen != count) {
    Missed missed;
    std::vector<ReadText> texts = queue.Take(200, missed);
    output.SayMissed(missed);
    for (const ReadText& read : texts) {
      if (seen != count && output.Show(read)) ++seen;
    }
  }
  return seen;
}

void StartWatching(const std::string& dir, const RuleSet& rules, WatchOutput& output) {
  SYSTEMTIME started;
  GetLocalTime(&started);
  char date[16];
  snprintf(date, sizeof date, "%04u-%02u-%02u ", started.wYear, started.wMonth, started.wDay);
  std::string folder = PathText(WithSeparator(dir));
  Say(Text(rules_text::kWatching, folder, Counts(rules)) + Text(rules_text::kCtrlCEnds));
  fflush(stdout);
  std::string header =
      TextIn(Language::kEnglish, rules_text::kWatching, folder, Counts(rules, Language::kEnglish));
  output.Log(date + ClockTime(started) + "  " + ToCodePage(header, rules.CodePage()));
}

}  // namespace

int RunWatch(Arguments& args) {
  std::string dir = args.Folder(), logPath = args.Text(OptionId::Log);
  long count = args.Has(OptionId::Count) ? args.Number(OptionId::Count) : -1;
  RuleSet rules(args.CodePage());
  int opened = OpenFolder(dir, rules);
  if (opened != kClean) return opened;
  OwnedFile log(logPath.empty() ? nullptr : fopen(logPath.c_str(), "ab"));
  if (!logPath.empty() && !log.get()) {
    Complain(rules_text::kLogCannotOpen, PathText(logPath));
    return kUnavailable;
  }
  DebugListener listener;
  std::string error;
  if (!listener.Open(error)) {
    Complain(rules_text::kWatchError, error);
    return kUnavailable;
  }
  KernelHandle finishedEvent(CreateEventA(NULL, TRUE, FALSE, NULL));
  finished = finishedEvent.get();
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  ReportQueue queue;
  Reader reader = {&listener, &queue, 0};
  KernelHandle readerThread(queue.ready() ? CreateThread(NULL, 0, ReadReports, &reader, 0, NULL)
                                          : NULL);
  if (!readerThread.valid()) {
    Complain(rules_text::kNoThread);
    return kInternal;
  }
  WatchOutput output(rules, log.get());
  StartWatching(dir, rules, output);
  long seen = PrintReports(queue, output, count);
  InterlockedExchange(&reader.stop, 1);
  WaitForSingleObject(readerThread.get(), INFINITE);
  Missed missed;
  queue.Take(0, missed);
  output.SayMissed(missed);
  output.Summary(seen);
  log.Close();
  SetEvent(finished);
  return kClean;
}

}  // namespace rules_cli

#endif
