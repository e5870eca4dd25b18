// What mapping the module costs a process while the closer is on: a child that loads it and
// times LoadLibrary, run for rule files of growing size.
#include <stdio.h>

#include "harness/heap_in_use.h"
#include "harness/temp_dir.h"
#include "wine_bench.h"

namespace wine_bench {

//   --attach DLL
int RunAttach(int argc, char** argv) {
  if (argc < 3) Fail("attach: arguments");
  double heapBefore = HeapInUse();
  double start = NowUs();
  HMODULE module = LoadLibraryA(argv[2]);
  double us = NowUs() - start;
  if (!module) Fail("attach: cannot load the module");
  double heapAfter = HeapInUse();
  printf("us %.1f\nheap_bytes %.0f\n", us,
         heapBefore >= 0 && heapAfter >= 0 ? heapAfter - heapBefore : -1);
  FreeLibrary(module);
  return 0;
}

void MeasureAttach(const std::string& rulesPath, const std::string& dllPath) {
  for (uint32_t rules : {10u, 1000u, 100000u}) {
    if (!WriteFileBytes(rulesPath, bench::MakeRules(rules / 4, rules - rules / 4).text)) {
      Fail("cannot write the rules");
    }
    std::vector<double> times, heap;
    for (int run = 0; run < 3; ++run) {
      std::string output = RunSelf("--attach \"" + dllPath + "\"");
      times.push_back(Field(output, "us"));
      heap.push_back(Field(output, "heap_bytes"));
    }
    std::string key = "attach_" + std::to_string(rules);
    Print(key + "_us", Median(times));
    Print(key + "_heap_bytes", Median(heap));
  }
}

}  // namespace wine_bench
