// One shell notification per iteration, through the whole hook procedure: the common case (no
// class rule matches), a listed class with no fragment in its title, and a full match, whose
// report nobody reads or (full_match_read) a debug-output listener reads at once.
#include <benchmark/benchmark.h>

#include <string_view>
#include <unordered_set>

#include "ascii_case.h"
#include "closer/hook.h"
#include "closer/rules.h"
#include "debug_listener.h"
#include "harness/heap_count.h"
#include "harness/windows_kit.h"
#include "native_bench.h"
#include "rule_sets.h"
#include "scratch_dir.h"
#include "standin.h"

namespace bench {

namespace {

enum class HookCase { NoClass, ClassOnly, FullMatch, FullMatchRead };

const char* CaseName(HookCase kind) {
  switch (kind) {
    case HookCase::NoClass: return "no_class";
    case HookCase::ClassOnly: return "class_only";
    case HookCase::FullMatch: return "full_match";
    case HookCase::FullMatchRead: return "full_match_read";
  }
  return "";
}

// The stand-in logs every chained call and posted message; emptied outside the timed region.
void DrainLogs() {
  standin::TakePostedMessages();
  standin::TakeNextHookCalls();
}

// Every 4096 notifications, with the clock stopped, so that the logs stay small.
void DrainNow(benchmark::State& state, uint64_t calls) {
  if (calls % 4096) return;
  state.PauseTiming();
  DrainLogs();
  state.ResumeTiming();
}

// The matching rules stand last in their lists, so every scan runs to the end.
HWND MakeWindow(HookCase kind, const RuleFile& rules) {
  switch (kind) {
    case HookCase::NoClass: return standin::CreateWindow(kPlainClass, kPlainTitle);
    case HookCase::ClassOnly: return standin::CreateWindow(rules.classes.back(), kPlainTitle);
    case HookCase::FullMatch:
    case HookCase::FullMatchRead:
      return standin::CreateWindow(rules.classes.back(),
                                   "Great news - " + rules.titles.back() + " - Browser");
  }
  return NULL;
}

// The listener's reading of a report, when there is one.
bool ReadReport(DebugListener* listener) {
  DWORD processId = 0;
  static std::string text;
  return !listener || NextReport(*listener, 0, processId, text);
}

void CheckOutcome(HWND window, HookCase kind, DebugListener* listener) {
  DrainLogs();
  ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(window), 0);
  size_t closes = standin::TakePostedMessages().size();
  bool closing = kind == HookCase::FullMatch || kind == HookCase::FullMatchRead;
  if (closes != (closing ? 1u : 0u) || !ReadReport(listener)) {
    Fail(std::string("hook case ") + CaseName(kind) + " closed or reported the wrong windows");
  }
  DrainLogs();
}

void NotifyLoop(benchmark::State& state, HWND window, DebugListener* listener) {
  HeapCounting counting;
  HeapCount before = CurrentHeap();
  uint64_t calls = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(window), 0));
    ReadReport(listener);
    DrainNow(state, ++calls);
  }
  HeapCount after = CurrentHeap();
  state.counters["allocs"] = static_cast<double>(after.allocations - before.allocations) /
                             static_cast<double>(calls ? calls : 1);
  DrainLogs();
}

void HookCheck(benchmark::State& state, HookCase kind, uint32_t rules) {
  RuleFile file = MakeRules(rules, rules);
  ScratchDir dir;
  dir.Write("killwnd.txt", file.text);
  SetPluginDir(dir.path());
  {
    RulesHold hold;
    LoadRules(dir.path().c_str());
  }
  if (KillRules.ClassRules.count != rules || KillRules.TitleRules.count != rules) {
    Fail("the hook benchmark's rules did not load");
  }
  HWND window = MakeWindow(kind, file);
  DebugListener listener;
  std::string error;
  if (kind == HookCase::FullMatchRead && !listener.Open(error)) Fail(error);
  DebugListener* reading = kind == HookCase::FullMatchRead ? &listener : nullptr;
  CheckOutcome(window, kind, reading);
  NotifyLoop(state, window, reading);
  standin::DestroyWindow(window);
  RulesHold hold;
  ClearRules();
}

// One notification per iteration over a plain window: look at its class, then the chained call.
template <typename Look>
void ChainedLoop(benchmark::State& state, Look look) {
  HWND window = standin::CreateWindow(kPlainClass, kPlainTitle);
  char name[256];
  uint64_t calls = 0;
  for (auto _ : state) {
    look(window, name);
    benchmark::DoNotOptimize(CallNextHookEx(NULL, HSHELL_REDRAW, 0, 0));
    DrainNow(state, ++calls);
  }
  DrainLogs();
  standin::DestroyWindow(window);
}

// What the stand-in itself costs per notification: the class query and the chained call.
void StandInFloor(benchmark::State& state) {
  ChainedLoop(state, [](HWND window, char* name) {
    benchmark::DoNotOptimize(GetClassNameA(window, name, 255));
  });
}

// Not the module: what the common case would cost if the class list were a hash set of names
// folded to lower case. It gives the same answers as the scan (equal length, equal bytes after
// folding A to Z), so it is an option for very long lists.
void HashedClassLookup(benchmark::State& state, uint32_t rules) {
  RuleFile file = MakeRules(rules, rules);
  std::vector<std::string> folded;
  for (const std::string& name : file.classes) folded.push_back(FoldedAscii(name));
  std::unordered_set<std::string_view> lookup(folded.begin(), folded.end());
  ChainedLoop(state, [&lookup](HWND window, char* name) {
    int length = GetClassNameA(window, name, 255);
    if (length < 0) length = 0;
    for (int i = 0; i < length; ++i) {
      if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
    }
    RulesHold hold;
    benchmark::DoNotOptimize(lookup.count(std::string_view(name, static_cast<size_t>(length))));
  });
}

}  // namespace

void RegisterHookBenchmarks() {
  benchmark::RegisterBenchmark("hook/hashed_class/10000",
                               [](benchmark::State& state) { HashedClassLookup(state, 10000); });
  benchmark::RegisterBenchmark("hook/floor", StandInFloor);
  for (HookCase kind :
       {HookCase::NoClass, HookCase::ClassOnly, HookCase::FullMatch, HookCase::FullMatchRead}) {
    for (uint32_t rules : {10u, 100u, 10000u}) {
      std::string name = std::string("hook/") + CaseName(kind) + "/" + std::to_string(rules);
      benchmark::RegisterBenchmark(
          name.c_str(), [kind, rules](benchmark::State& state) { HookCheck(state, kind, rules); });
    }
  }
}

}  // namespace bench
