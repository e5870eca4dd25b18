// One "PLUGIN/2.0" round trip per iteration, as the host makes it: the request copied into a
// fixed global block, request called, the answer block taken and freed.
#include <benchmark/benchmark.h>

#include <chrono>

#include "harness/heap_count.h"
#include "host/request.h"
#include "host_call.h"
#include "native_bench.h"
#include "scratch_dir.h"
#include "shared/shared_state.h"

namespace bench {

namespace {

void Expect(const std::string& text, LONG length, const char* what) {
  if (CallRequest(request, text).length != length) {
    Fail(std::string("unexpected answer length for ") + what);
  }
}

void Answer(benchmark::State& state, std::string text, LONG length, const char* what) {
  Expect(text, length, what);
  HeapCounting counting;
  HeapCount before = CurrentHeap();
  for (auto _ : state) benchmark::DoNotOptimize(CallRequest(request, text).length);
  state.counters["allocs"] = static_cast<double>(CurrentHeap().allocations - before.allocations) /
                             static_cast<double>(state.iterations());
}

// Switching writes or deletes the marker file and installs or removes the hook; only the named
// direction is timed, the way back is not.
void Toggle(benchmark::State& state, bool on) {
  ScratchDir dir;
  SetPluginDir(dir.path());
  AttachModule();
  std::string timed = ChoiceText(on ? "on" : "off"), back = ChoiceText(on ? "off" : "on");
  if (!on) CallRequest(request, back);
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    LONG length = CallRequest(request, timed).length;
    auto stop = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    if (length != 72 || SharedState.enabled != (on ? 1 : 0)) Fail("the toggle did not switch");
    CallRequest(request, back);
  }
  if (SharedState.enabled) CallRequest(request, ChoiceText("off"));
  SetPluginDir("");
}

}  // namespace

void RegisterRequestBenchmarks() {
  benchmark::RegisterBenchmark("request/no_content", [](benchmark::State& state) {
    Answer(state, RequestText("OnSecondChange", "1"), 50, "NoContent");
  });
  benchmark::RegisterBenchmark("request/version", [](benchmark::State& state) {
    Answer(state, RequestText("version"), 61, "Version");
  });
  benchmark::RegisterBenchmark("request/menu", [](benchmark::State& state) {
    Answer(state, RequestText("OnMenuExec"), 303, "Menu");
  });
  benchmark::RegisterBenchmark("request/cancelled", [](benchmark::State& state) {
    Answer(state, ChoiceText("cancel"), 70, "Cancelled");
  });
  benchmark::RegisterBenchmark("request/on", [](benchmark::State& state) {
    Toggle(state, true);
  })->UseManualTime();
  benchmark::RegisterBenchmark("request/off", [](benchmark::State& state) {
    Toggle(state, false);
  })->UseManualTime();
}

}  // namespace bench
