// The polling closer (harness/polling_closer.h) measured: its cost while idle, and its latency
// against the hook's.
#include "harness/captured_process.h"
#include "harness/polling_closer.h"
#include "harness/seeded_random.h"
#include "message_pump.h"
#include "owned.h"
#include "wine_bench.h"

namespace wine_bench {

namespace {

const DWORD kPollerIdleMs = 8000;

}  // namespace

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
  KernelHandle stop(CreateEventA(NULL, TRUE, FALSE, stopName.c_str()));
  KernelHandle ready(CreateEventA(NULL, TRUE, FALSE, readyName.c_str()));
  if (!stop.valid() || !ready.valid()) Fail("cannot make the poller's events");
  CapturedProcess child(SelfCommand(arguments + stopName + " " + readyName));
  if (!child.started() || !PumpUntil(ready.get(), 10000)) Fail("the poller did not start");
  Latencies latencies;
  int trials = period <= 100 ? 30 : 16;
  SeededRandom phase(12345);
  for (int trial = 0; trial < trials; ++trial) {
    // A random phase against the poller's timer, as an ad appears whenever it likes.
    PumpMessages(phase.Below(static_cast<uint32_t>(period)));
    RecordingWindow ad = OpenAd(rules);
    latencies.Measure(ad, NowUs(), 10 * period + 2000);
  }
  SetEvent(stop.get());
  if (child.Finish(true) != 0) Fail("the poller failed: " + child.output());
  latencies.Print(key);
}

}  // namespace wine_bench
