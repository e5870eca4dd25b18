// lunet-rules watch: prints each window the closer asks to close, as it happens, with the rules
// in DIR that match it. It reads the module's close reports from the debug-output buffer.
#include <stdio.h>
#include <time.h>
#include <windows.h>

#include "close_report.h"
#include "commands.h"
#include "console_text.h"

#ifdef _WIN32
#include <utility>

#include "desktop.h"
#include "debug_listener.h"

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
std::string MatchedBy(const std::vector<FileReport>& files, const CloseReport& report) {
  Verdict verdict = Judge(files, report.className, report.title);
  if (!verdict.Closes()) {
    return "matched by no rule in the files now (edited since the program read them?)";
  }
  return "by " + Told(verdict, Tell::Rules);
}

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
  ~ReportQueue() { CloseHandle(ready_); }
  ReportQueue(const ReportQueue&) = delete;
  ReportQueue& operator=(const ReportQueue&) = delete;

  void Push(const SYSTEMTIME& at, const char* text, size_t length) {
    {
      Hold hold(lock_);
      if (texts_.size() >= kCapacity) {
        if (missed_++ == 0) firstMissed_ = at;
        lastMissed_ = at;
        return;
      }
      texts_.push_back(ReadText{at, std::string(text, length)});
    }
    SetEvent(ready_);
  }
  // Waits up to ms for what was read since the last call; the reports missed meanwhile, with
  // the times of the first and the last, are handed over once.
  std::vector<ReadText> Take(DWORD ms, unsigned long& missed, SYSTEMTIME& first,
                             SYSTEMTIME& last) {
    WaitForSingleObject(ready_, ms);
    Hold hold(lock_);
    missed = missed_;
    first = firstMissed_;
    last = lastMissed_;
    missed_ = 0;
    return std::exchange(texts_, {});
  }
  void Wake() { SetEvent(ready_); }

 private:
  HANDLE ready_;
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
  unsigned long missed_ = 0;
  SYSTEMTIME firstMissed_ = {}, lastMissed_ = {};
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

// Each line goes to the file at once, so that the log is whole whenever the program ends.
void WriteLog(const std::string& line, FILE* log) {
  if (!log) return;
  fwrite(line.data(), 1, line.size(), log);
  fflush(log);
}

// Writes a line to the console and, when there is one, to the log.
void Print(const std::string& line, FILE* log) {
  Out(line);
  fflush(stdout);
  WriteLog(line, log);
}

std::string Plural(unsigned long count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

int RunWatch(const Arguments& args) {
  std::string dir = args.Folder(), logPath = args.Text("--log");
  long count = args.Has("--count") ? args.Number("--count") : -1;
  std::vector<FileReport> files;
  int used = UseDirectory(dir, files);
  if (used != kClean) return used;
  FILE* log = nullptr;
  if (!logPath.empty() && !(log = fopen(logPath.c_str(), "ab"))) {
    fprintf(stderr, "lunet-rules: %s: cannot be opened for appending\n", logPath.c_str());
    return kUnavailable;
  }
  DebugListener listener;
  std::string error;
  if (!listener.Open(error)) {
    fprintf(stderr, "lunet-rules: watch: %s\n", error.c_str());
    if (log) fclose(log);
    return kUnavailable;
  }
  finished = CreateEventA(NULL, TRUE, FALSE, NULL);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  ReportQueue queue;
  Reader reader = {&listener, &queue, 0};
  HANDLE readerThread = CreateThread(NULL, 0, ReadReports, &reader, 0, NULL);
  if (!readerThread) {
    fprintf(stderr, "lunet-rules: watch: cannot start the listening thread\n");
    if (log) fclose(log);
    return kInternal;
  }
  SYSTEMTIME started;
  GetLocalTime(&started);
  char date[16];
  snprintf(date, sizeof date, "%04u-%02u-%02u ", started.wYear, started.wMonth, started.wDay);
  const std::string header = "watching for windows the closer asks to close (rules in " +
                             WithSeparator(dir) + ": " + Counts(files) + ")";
  Out(header + "; Ctrl+C ends\n");
  fflush(stdout);
  WriteLog(date + ClockTime(started) + "  " + header + "\n", log);
  long seen = 0;
  unsigned long missedInAll = 0;
  // What the queue could not hold since it was last asked, said once.
  auto sayMissed = [&](unsigned long missed, const SYSTEMTIME& first, const SYSTEMTIME& last) {
    if (!missed) return;
    missedInAll += missed;
    Print(ClockTime(last) + "  missed " + Plural(missed, "report", "reports") + " between " +
              ClockTime(first) + " and " + ClockTime(last) +
              ": they came faster than they could be printed\n",
          log);
  };
  while (!stopRequested && seen != count) {
    unsigned long missed = 0;
    SYSTEMTIME first, last;
    std::vector<ReadText> texts = queue.Take(200, missed, first, last);
    sayMissed(missed, first, last);
    for (const ReadText& read : texts) {
      CloseReport report;
      if (seen == count || !ParseCloseReport(read.text, report)) continue;
      std::string line = ClockTime(read.at) + "  " +
                         ProcessName(static_cast<DWORD>(report.processId)) + "  closed class " +
                         Quote(report.className) + " title " + Quote(report.title) + "  " +
                         MatchedBy(files, report) + "\n";
      if (report.dropped) {
        missedInAll += report.dropped;
        line = ClockTime(read.at) + "  missed " + Plural(report.dropped, "close", "closes") +
               " of " + ProcessName(static_cast<DWORD>(report.processId)) +
               " before this one: the buffer was busy\n" + line;
      }
      Print(line, log);
      ++seen;
    }
  }
  InterlockedExchange(&reader.stop, 1);
  WaitForSingleObject(readerThread, INFINITE);
  CloseHandle(readerThread);
  unsigned long missed = 0;
  SYSTEMTIME first, last;
  queue.Take(0, missed, first, last);
  sayMissed(missed, first, last);
  std::string summary = Plural(static_cast<unsigned long>(seen), "close seen", "closes seen");
  if (missedInAll) summary += ", " + std::to_string(missedInAll) + " missed";
  Print(summary + "\n", log);
  if (log) fclose(log);
  SetEvent(finished);
  return kClean;
}

}  // namespace rules_cli

#endif
