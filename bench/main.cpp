// Runs the native benchmarks and prints one Markdown table of them, together with the figures
// of the Windows benchmark under Wine when its result file is given (--wine=FILE).
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "native_bench.h"
#include "table.h"
#include "text.h"

namespace {

// Keeps the median over repetitions of each benchmark's time per iteration and its counters.
class Collector : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
      // Benchmarks timed by hand carry a "/manual_time" suffix; the table does not need it.
      std::string name = run.run_name.function_name;
      fprintf(stderr, "  %s\n", name.c_str());
      double ns = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
      samples_[name].push_back(ns);
      for (const auto& counter : run.counters)
        counters_[name][counter.first] = counter.second.value;
    }
  }

  bench::Results Results() const {
    bench::Results results;
    for (const auto& entry : samples_) {
      std::vector<double> values = entry.second;
      std::sort(values.begin(), values.end());
      bench::Figure& figure = results.native[entry.first];
      figure.ns = values[values.size() / 2];
      auto counters = counters_.find(entry.first);
      if (counters != counters_.end()) figure.counters = counters->second;
    }
    return results;
  }

 private:
  std::map<std::string, std::vector<double>> samples_;
  std::map<std::string, std::map<std::string, double>> counters_;
};

// "key value" lines; the value runs to the end of the line.
std::map<std::string, std::string> ReadWineResults(const std::string& path) {
  std::map<std::string, std::string> values;
  std::string content;
  ReadWholeFile(path, content);
  for (const std::string& line : Lines(content)) {
    size_t space = line.find(' ');
    if (space != std::string::npos) values[line.substr(0, space)] = line.substr(space + 1);
  }
  return values;
}

}  // namespace

int main(int argc, char** argv) {
  std::string winePath;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (strncmp(argv[i], "--wine=", 7) == 0) {
      winePath = argv[i] + 7;
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());

  // Before any benchmark grows the rule lists of this process.
  std::map<uint32_t, int64_t> storeBytes;
  for (uint32_t rules : {10u, 1000u, 100000u})
    storeBytes[rules] = bench::StoreBytesAfterAttach(rules);

  bench::AttachModule();
  bench::RegisterHookBenchmarks();
  bench::RegisterLoadBenchmarks();
  bench::RegisterRequestBenchmarks();
  bench::RegisterAttachBenchmarks();

  Collector collector;
  fprintf(stderr, "lunet_bench: running\n");
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  bench::Results results = collector.Results();
  results.storeBytes = storeBytes;
  if (!winePath.empty()) {
    results.wine = ReadWineResults(winePath);
    if (results.wine.empty())
      fprintf(stderr, "lunet_bench: no Wine results in %s\n", winePath.c_str());
  }
  bench::PrintTable(results, stdout);
  return 0;
}
