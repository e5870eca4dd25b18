// lunet-rules watch: prints each window the closer asks to close, as it happens, with the rules
// in DIR that match it. It reads the module's close reports from the debug-output buffer.
#include <stdio.h>
#include <time.h>
#include <windows.h>

#include "close_report.h"
#include "commands.h"
#include "console_text.h"

#ifdef _WIN32
#include "desktop.h"
#include "harness/debug_listener.h"

namespace rules_cli {

namespace {

volatile LONG stopRequested = 0;

BOOL WINAPI OnConsoleControl(DWORD) {
  InterlockedExchange(&stopRequested, 1);
  return TRUE;  // ends the loop below instead of the process, so the log is closed cleanly
}

std::string LocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  snprintf(text, sizeof text, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
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
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  Out("watching for windows the closer asks to close (rules in " + WithSeparator(dir) + ": " +
      Counts(files) + "); Ctrl+C ends\n");
  fflush(stdout);
  long seen = 0;
  DWORD processId = 0;
  std::string text;
  while (!stopRequested && seen != count) {
    CloseReport report;
    if (!listener.Next(200, processId, text) || !ParseCloseReport(text, report)) continue;
    // The writer's id from the buffer, not the report's: the buffer's is the system's word.
    std::string line = LocalTime() + "  " + ProcessName(processId) + "  closed class " +
                       Quote(report.className) + " title " + Quote(report.title) + "  " +
                       MatchedBy(files, report) + "\n";
    Out(line);
    fflush(stdout);
    if (log) {
      fwrite(line.data(), 1, line.size(), log);
      fflush(log);
    }
    ++seen;
  }
  if (log) fclose(log);
  Out(std::to_string(seen) + (seen == 1 ? " close seen\n" : " closes seen\n"));
  return kClean;
}

}  // namespace rules_cli

#endif
