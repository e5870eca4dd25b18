// lunet-rules watch: prints each window the closer asks to close, as it happens, with the rules
// in DIR that match it. It reads the module's close reports from the debug-output buffer.
#include <stdio.h>
#include <time.h>
#include <windows.h>

#include "close_report.h"
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "owned.h"
#include "rule_set.h"

#ifdef _WIN32
#include <utility>

#include "debug_listener.h"
#include "desktop.h"

namespace rules_cli {

namespace {

// The time a report was read, for its line: "15:25:34".
std::string ClockTime(const SYSTEMTIME& at) {
  char text[16];
  snprintf(text, sizeof text, "%02u:%02u:%02u", at.wHour, at.wMinute, at.wSecond);
  return text;
}

// The rules in DIR that match the closed window, as the module compares them; the running
// module may hold other rules, read before the files were last edited.
std::string MatchedBy(const RuleSet& rules, const CloseReport& report) {
  Verdict verdict = rules.Judge(report.className, report.title);
  if (!verdict.Closes()) {
    return "matched by no rule in the files now (edited since the program read them?)";
  }
  return "by " + Told(verdict);
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

  ReportQueue() : ready_(CreateEventA(NULL, FALSE, FALSE, NULL)) {}
  ReportQueue(const ReportQueue&) = delete;
  ReportQueue& operator=(const ReportQueue&) = delete;

  void Push(const SYSTEMTIME& at, const char* text, size_t length) {
    {
      Hold hold(lock_);
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
    Hold hold(lock_);
    missed = std::exchange(missed_, {});
    return std::exchange(texts_, {});
  }
  void Wake() { SetEvent(ready_.get()); }

 private:
  EventHandle ready_;
  // The one lock of this program, held only to move a text in or out.
  class Hold {
   public:
    explicit Hold(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Hold() { ReleaseSRWLockExclusive(&lock_); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    SRWLOCK& lock_;
  };
  SRWLOCK lock_ = SRWLOCK_INIT;
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

  void Log(const std::string& line) {
    if (!log_) return;
    fwrite(line.data(), 1, line.size(), log_);
    fflush(log_);
  }
  void Print(const std::string& line) {
    rules_.Out(line);
    fflush(stdout);
    Log(line);
  }
  // What the queue could not hold since it was last asked, said once.
  void SayMissed(const Missed& missed) {
    if (!missed.count) return;
    missedInAll_ += missed.count;
    Print(ClockTime(missed.last) + "  missed " + Plural(missed.count, "report") + " between " +
          ClockTime(missed.first) + " and " + ClockTime(missed.last) +
          ": they came faster than they could be printed\n");
  }
  // One report read: false when it is some other program's debug output.
  bool Show(const ReadText& read) {
    CloseReport report;
    if (!ParseCloseReport(read.text, report)) return false;
    std::string program = ProcessName(static_cast<DWORD>(report.processId));
    std::string line = ClockTime(read.at) + "  " + program + "  closed class " +
                       Quote(report.className) + " title " + Quote(report.title) + "  " +
                       MatchedBy(rules_, report) + "\n";
    if (report.dropped) {
      missedInAll_ += report.dropped;
      line = ClockTime(read.at) + "  missed " + Plural(report.dropped, "close") + " of " + program +
             " before this one: the buffer was busy\n" + line;
    }
    Print(line);
    return true;
  }
  void Summary(long seen) {
    std::string summary = Plural(static_cast<unsigned long>(seen), "close") + " seen";
    if (missedInAll_) summary += ", " + std::to_string(missedInAll_) + " missed";
    Print(summary + "\n");
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
  const std::string header = "watching for windows the closer asks to close (rules in " +
                             WithSeparator(dir) + ": " + Counts(rules) + ")";
  rules.Out(header + "; Ctrl+C ends\n");
  fflush(stdout);
  output.Log(date + ClockTime(started) + "  " + header + "\n");
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
    fprintf(stderr, "lunet-rules: %s: cannot be opened for appending\n", logPath.c_str());
    return kUnavailable;
  }
  DebugListener listener;
  std::string error;
  if (!listener.Open(error)) {
    fprintf(stderr, "lunet-rules: watch: %s\n", error.c_str());
    return kUnavailable;
  }
  EventHandle finishedEvent(CreateEventA(NULL, TRUE, FALSE, NULL));
  finished = finishedEvent.get();
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  ReportQueue queue;
  Reader reader = {&listener, &queue, 0};
  ProcessHandle readerThread(CreateThread(NULL, 0, ReadReports, &reader, 0, NULL));
  if (!readerThread.valid()) {
    fprintf(stderr, "lunet-rules: watch: cannot start the listening thread\n");
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
