// The price of the module in each process it is mapped into while the closer is on: DllMain's
// attach, which loads both rule files, and the heap the loaded store keeps.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <string.h>

#include <chrono>

#include "closer/rules.h"
#include "harness/heap_count.h"
#include "host/exports.h"
#include "native_bench.h"
#include "rule_sets.h"
#include "scratch_dir.h"
#include "shared/shared_state.h"

namespace bench {

namespace {

HINSTANCE FakeInstance() { return reinterpret_cast<HINSTANCE>(uintptr_t{0x10000000}); }

// One class line in four, as in a long list.
RuleFile AttachRules(uint32_t rules) { return MakeRules(rules / 4, rules - rules / 4); }

void Attach(benchmark::State& state, uint32_t rules) {
  ScratchDir dir;
  dir.Write("killwnd.txt", AttachRules(rules).text);
  SetPluginDir(dir.path());
  SharedState.enabled = 1;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    DllMain(FakeInstance(), DLL_PROCESS_ATTACH, nullptr);
    auto stop = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    if (KillRules.ClassRules.count + KillRules.TitleRules.count != rules) {
      Fail("attach loaded another number of rules");
    }
    DllMain(FakeInstance(), DLL_PROCESS_DETACH, nullptr);
  }
  SharedState.enabled = 0;
  SetPluginDir("");
}

int64_t Usable(void* block) { return block ? static_cast<int64_t>(malloc_usable_size(block)) : 0; }

}  // namespace

void SetPluginDir(const std::string& directory) {
  if (directory.size() >= sizeof SharedState.PluginDir) Fail("plug-in directory too long");
  memcpy(SharedState.PluginDir, directory.c_str(), directory.size() + 1);
}

void AttachModule() { DllMain(FakeInstance(), DLL_PROCESS_ATTACH, nullptr); }

int64_t StoreBytesAfterAttach(uint32_t rules) {
  ScratchDir dir;
  dir.Write("killwnd.txt", AttachRules(rules).text);
  double bytes = InChild([&dir, rules] {
    // Nothing has touched the store yet in this run, so it holds only its two first arrays.
    HeapCounting counting;
    int64_t arrays = Usable(KillRules.ClassRules.items) + Usable(KillRules.TitleRules.items);
    int64_t before = CurrentHeap().liveBytes - arrays;
    SetPluginDir(dir.path());
    SharedState.enabled = 1;
    DllMain(FakeInstance(), DLL_PROCESS_ATTACH, nullptr);
    if (KillRules.ClassRules.count + KillRules.TitleRules.count != rules) return -1.0;
    return static_cast<double>(CurrentHeap().liveBytes - before);
  });
  if (bytes < 0) Fail("the store could not be measured");
  return static_cast<int64_t>(bytes);
}

void RegisterAttachBenchmarks() {
  for (uint32_t rules : {10u, 1000u, 100000u}) {
    benchmark::RegisterBenchmark(("attach/" + std::to_string(rules)).c_str(),
                                 [rules](benchmark::State& state) { Attach(state, rules); })
        ->UseManualTime();
  }
}

}  // namespace bench
