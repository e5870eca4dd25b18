// One shell notification per iteration, through the whole hook procedure: the common case (no
// class rule matches), a listed class with no fragment in its title, and a full match.
#include <benchmark/benchmark.h>

#include <string_view>
#include <unordered_set>

#include "ascii_case.h"
#include "closer/hook.h"
#include "closer/rules.h"
#include "harness/heap_count.h"
#include "native_bench.h"
#include "rule_sets.h"
#include "scratch_dir.h"
#include "standin.h"

namespace bench {

namespace {

enum class HookCase { NoClass, ClassOnly, FullMatch };

const char* CaseName(HookCase kind) {
  switch (kind) {
    case HookCase::NoClass: return "no_class";
    case HookCase::ClassOnly: return "class_only";
    case HookCase::FullMatch: return "full_match";
  }
  return "";
}

// The stand-in logs every chained call, posted message and close report; emptied outside the
// timed region.
void DrainLogs() {
  standin::TakePostedMessages();
  standin::TakeNextHookCalls();
  standin::TakeDebugOutput();
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
      return standin::CreateWindow(rules.classes.back(),
                                   "Great news - " + rules.titles.back() + " - Browser");
  }
  return NULL;
}

void CheckOutcome(HWND window, HookCase kind) {
  DrainLogs();
  ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(window), 0);
  size_t closes = standin::TakePostedMessages().size();
  if (closes != (kind == HookCase::FullMatch ? 1u : 0u)) {
    Fail(std::string("hook case ") + CaseName(kind) + " closed the wrong windows");
  }
  DrainLogs();
}

void NotifyLoop(benchmark::State& state, HWND window) {
  HeapCounting counting;
  HeapCount before = CurrentHeap();
  uint64_t calls = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(window), 0));
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
    RulesExclusive hold;
    LoadRules(dir.path().c_str());
  }
  if (KillRules.ClassRules.count != rules || KillRules.TitleRules.count != rules) {
    Fail("the hook benchmark's rules did not load");
  }
  HWND window = MakeWindow(kind, file);
  CheckOutcome(window, kind);
  NotifyLoop(state, window);
  standin::DestroyWindow(window);
  RulesExclusive hold;
  ClearRules();
}

// What the stand-in itself costs per notification: the class query and the chained call.
void StandInFloor(benchmark::State& state) {
  HWND window = standin::CreateWindow(kPlainClass, kPlainTitle);
  char name[256];
  uint64_t calls = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetClassNameA(window, name, 255));
    benchmark::DoNotOptimize(CallNextHookEx(NULL, HSHELL_REDRAW, 0, 0));
    DrainNow(state, ++calls);
  }
  DrainLogs();
  standin::DestroyWindow(window);
}

// Not the module: what the common case would cost if the class list were a hash set of names
// folded to lower case. It gives the same answers as the scan (equal length, equal bytes after
// folding A to Z), so it is an option for very long lists.
void HashedClassLookup(benchmark::State& state, uint32_t rules) {
  RuleFile file = MakeRules(rules, rules);
  std::vector<std::string> folded;
  for (const std::string& name : file.classes) folded.push_back(FoldedAscii(name));
  std::unordered_set<std::string_view> lookup(folded.begin(), folded.end());
  HWND window = standin::CreateWindow(kPlainClass, kPlainTitle);
  char name[256];
  uint64_t calls = 0;
  for (auto _ : state) {
    int length = GetClassNameA(window, name, 255);
    if (length < 0) length = 0;
    for (int i = 0; i < length; ++i) {
      if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
    }
    {
      RulesShared hold;
      benchmark::DoNotOptimize(lookup.count(std::string_view(name, static_cast<size_t>(length))));
    }
    benchmark::DoNotOptimize(CallNextHookEx(NULL, HSHELL_REDRAW, 0, 0));
    DrainNow(state, ++calls);
  }
  DrainLogs();
  standin::DestroyWindow(window);
}

}  // namespace

void RegisterHookBenchmarks() {
  benchmark::RegisterBenchmark("hook/hashed_class/10000", [](benchmark::State& state) {
    HashedClassLookup(state, 10000);
  });
  benchmark::RegisterBenchmark("hook/floor", StandInFloor);
  for (HookCase kind : {HookCase::NoClass, HookCase::ClassOnly, HookCase::FullMatch}) {
    for (uint32_t rules : {10u, 100u, 10000u}) {
      std::string name = std::string("hook/") + CaseName(kind) + "/" + std::to_string(rules);
      benchmark::RegisterBenchmark(name.c_str(), [kind, rules](benchmark::State& state) {
        HookCheck(state, kind, rules);
      });
    }
  }
}

}  // namespace bench
