// lunet-rules watch: prints each window the closer asks to close, as it happens, with the rules
// in DIR that match it. It reads the module's close reports from the debug-output buffer, through
// the feed that the rule editor's window reads them from too.
#include <stdio.h>
#include <time.h>
#include <windows.h>

#include "close_report_reader.h"
#include "commands.h"
#include "console_text.h"
#include "output.h"
#include "owned.h"
#include "rule_set.h"

#ifdef _WIN32
#include "close_feed.h"

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

// Set by Ctrl+C, Ctrl+Break, the console's close, logoff and shutdown: the printing ends,
// prints its summary and closes the log.
HANDLE stopped = NULL;
HANDLE finished = NULL;

BOOL WINAPI OnConsoleControl(DWORD event) {
  SetEvent(stopped);
  // After the handler returns from these, the system ends the process: let the summary and the
  // log be written first.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    WaitForSingleObject(finished, 4000);
  }
  return TRUE;
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
  // One close read by the feed.
  void Show(const FedClose& close) {
    const CloseReport& report = close.report;
    std::string at = ClockTime(close.at);
    std::string program = PathText(close.program);
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

// Prints the reports as they come until Ctrl+C or the count; returns how many were seen. It
// waits on the feed and on Ctrl+C alone: nothing wakes it in between.
long PrintReports(CloseFeed& feed, WatchOutput& output, long count) {
  long seen = 0;
  const HANDLE events[] = {stopped, feed.Ready()};
  while (seen != count && WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    Missed missed;
    std::vector<FedClose> closes = feed.Take(missed);
    output.SayMissed(missed);
    for (const FedClose& close : closes) {
      if (seen == count) break;
      output.Show(close);
      ++seen;
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
  KernelHandle stoppedEvent(CreateEventA(NULL, TRUE, FALSE, NULL));
  if (!stoppedEvent.valid()) {
    Complain(rules_text::kWatchError, Text(engine_text::kFeedCannotStart));
    return kInternal;
  }
  CloseFeed feed;
  std::string error;
  if (!feed.Start(error)) {
    Complain(rules_text::kWatchError, error);
    return kUnavailable;
  }
  KernelHandle finishedEvent(CreateEventA(NULL, TRUE, FALSE, NULL));
  stopped = stoppedEvent.get();
  finished = finishedEvent.get();
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  WatchOutput output(rules, log.get());
  StartWatching(dir, rules, output);
  long seen = PrintReports(feed, output, count);
  feed.Stop();
  Missed missed;
  feed.Take(missed);
  output.SayMissed(missed);
  output.Summary(seen);
  log.Close();
  SetEvent(finished);
  return kClean;
}

}  // namespace rules_cli

#endif
