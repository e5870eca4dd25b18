// The polling closer, as users run one instead of a hook: a child that looks at every window on
// a timer, and the measurement of its cost while idle and of its latency against the hook's.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "child_process.h"
#include "harness/seeded_random.h"
#include "message_pump.h"
#include "wine_bench.h"

namespace wine_bench {

namespace {

const DWORD kPollerIdleMs = 8000;

struct Poller {
  std::vector<std::string> classes;
  std::vector<std::string> titles;
  HANDLE ready = NULL;
  int windows = 0;
  int polls = -1;  // the first poll warms up and is not counted
  double busyUs = 0, startUs = 0, startCpu = 0, lastWindows = 0;
};
Poller poller;

void ReadPollRules(const char* path) {
  FILE* in = fopen(path, "rb");
  if (!in) Fail(std::string("poller: no rules at ") + path);
  char line[1024];
  while (fgets(line, sizeof line, in)) {
    line[strcspn(line, "\r\n")] = 0;
    char* comma = strchr(line, ',');
    if (!comma) continue;
    *comma = 0;
    char* value = comma + 1;
    value[strcspn(value, ",")] = 0;
    if (_stricmp(line, "class") == 0) poller.classes.push_back(value);
    if (_stricmp(line, "title") == 0) poller.titles.push_back(value);
  }
  fclose(in);
}

// The same test as the hook's: the class first, the title only for a listed class.
BOOL CALLBACK PollWindow(HWND window, LPARAM) {
  ++poller.windows;
  char name[256];
  if (GetClassNameA(window, name, sizeof name) <= 0) return TRUE;
  bool listed = false;
  for (const std::string& rule : poller.classes) {
    if (_stricmp(name, rule.c_str()) == 0) {
      listed = true;
      break;
    }
  }
  if (!listed) return TRUE;
  char title[256];
  if (GetWindowTextA(window, title, sizeof title) <= 0) title[0] = 0;
  for (const std::string& fragment : poller.titles) {
    if (strstr(title, fragment.c_str())) {
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    }
  }
  return TRUE;
}

VOID CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
  double before = NowUs();
  poller.windows = 0;
  EnumWindows(PollWindow, 0);
  poller.lastWindows = poller.windows;
  if (poller.polls < 0) {
    poller.startUs = NowUs();
    poller.startCpu = ProcessCpuMs();
    if (poller.ready) SetEvent(poller.ready);
  } else {
    poller.busyUs += NowUs() - before;
  }
  ++poller.polls;
}

}  // namespace

// Polls every period until the stop event (latency runs) or for a fixed time (idle runs), and
// prints its polls, the time they took by the clock, and the CPU time of the process.
//   --poller MS FILE (STOP READY | --for MS)
int RunPoller(int argc, char** argv) {
  if (argc < 6) Fail("poller: arguments");
  ReadPollRules(argv[3]);
  bool timed = strcmp(argv[4], "--for") == 0;
  HANDLE stop = timed ? NULL : OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
  // A timed run counts from the end of the warm-up poll, which sets ready.
  poller.ready = timed ? CreateEventA(NULL, TRUE, FALSE, NULL)
                       : OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[5]);
  if (!poller.ready || (!timed && !stop)) Fail("poller: no events");
  if (!SetTimer(NULL, 0, static_cast<UINT>(atoi(argv[2])), Poll)) Fail("poller: no timer");
  if (timed) {
    PumpUntil(poller.ready, INFINITE);
    PumpMessages(static_cast<DWORD>(atoi(argv[5])));
  } else {
    PumpUntil(stop, INFINITE);
  }
  double elapsedMs = (NowUs() - poller.startUs) / 1e3;
  printf("polls %d\nbusy_us %.1f\ncpu_ms %.3f\nelapsed_ms %.1f\nwindows %.0f\n", poller.polls,
         poller.busyUs, ProcessCpuMs() - poller.startCpu, elapsedMs, poller.lastWindows);
  return 0;
}

void MeasurePoller(int period, const bench::RuleFile& rules, const std::string& rulesPath) {
  std::string key = "poll" + std::to_string(period);
  std::string arguments = "--poller " + std::to_string(period) + " \"" + rulesPath + "\" ";
  std::string output = RunSelf(arguments + "--for " + std::to_string(kPollerIdleMs));
  double elapsed = Field(output, "elapsed_ms"), polls = Field(output, "polls");
  Print(key + "_idle_cpu_ms_per_min", Field(output, "cpu_ms") * 60000.0 / elapsed);
  Print(key + "_busy_ms_per_min", Field(output, "busy_us") / 1e3 * 60000.0 / elapsed);
  Print(key + "_busy_us_per_poll", polls > 0 ? Field(output, "busy_us") / polls : -1);
  Print(key + "_windows", Field(output, "windows"));

  std::string suffix = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(period);
  std::string stopName = "lunet-bench-stop-" + suffix, readyName = "lunet-bench-ready-" + suffix;
  HANDLE stop = CreateEventA(NULL, TRUE, FALSE, stopName.c_str());
  HANDLE ready = CreateEventA(NULL, TRUE, FALSE, readyName.c_str());
  ChildProcess child(SelfCommand(arguments + stopName + " " + readyName), ChildProcess::kCapture);
  if (!child.started() || !PumpUntil(ready, 10000)) Fail("the poller did not start");
  Latencies latencies;
  int trials = period <= 100 ? 30 : 16;
  SeededRandom phase(12345);
  for (int trial = 0; trial < trials; ++trial) {
    // A random phase against the poller's timer, as an ad appears whenever it likes.
    PumpMessages(phase.Below(static_cast<uint32_t>(period)));
    RecordingWindow ad = OpenAd(rules);
    latencies.Measure(ad, NowUs(), 10 * period + 2000);
  }
  SetEvent(stop);
  if (child.Finish(true) != 0) Fail("the poller failed: " + child.output());
  CloseHandle(stop);
  CloseHandle(ready);
  latencies.Print(key);
}

}  // namespace wine_bench
