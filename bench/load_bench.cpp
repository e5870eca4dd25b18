// Loading a rule file through the module's mapped reader, against the loader most people would
// write first: std::ifstream, std::getline, and the line split on commas into strings.
#include <benchmark/benchmark.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "closer/rules.h"
#include "native_bench.h"
#include "rule_sets.h"
#include "scratch_dir.h"

namespace bench {

namespace {

// Generating a million lines takes a while; each size is written once per run.
struct LoadInput {
  ScratchDir dir;
  RuleFile rules;
};

LoadInput& Input(uint32_t lines) {
  static std::map<uint32_t, std::unique_ptr<LoadInput>> inputs;
  std::unique_ptr<LoadInput>& input = inputs[lines];
  if (!input) {
    input.reset(new LoadInput);
    input->rules = MakeRuleLines(lines);
    input->dir.Write("killwnd.txt", input->rules.text);
  }
  return *input;
}

// The module's way: the store emptied, then both files through the mapped reader.
void LoadWithModule(const LoadInput& input) {
  RulesHold hold;
  LoadRules(input.dir.path().c_str());
}

struct GetlineRules {
  std::vector<std::string> classes;
  std::vector<std::string> titles;
};

// Splitting at commas by hand, the fields into one vector kept across lines.
void SplitWithFind(const std::string& line, std::vector<std::string>& fields) {
  fields.clear();
  size_t start = 0;
  for (;;) {
    size_t comma = line.find(',', start);
    if (comma == std::string::npos) {
      fields.emplace_back(line, start);
      return;
    }
    fields.emplace_back(line, start, comma - start);
    start = comma + 1;
  }
}

// The idiom most often written: a string stream over the line and std::getline to the comma.
// Unlike the module, it drops an empty last field ("title," yields one field).
void SplitWithStream(const std::string& line, std::vector<std::string>& fields) {
  fields.clear();
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, ',')) fields.push_back(field);
}

using Splitter = void (*)(const std::string&, std::vector<std::string>&);

void LoadFileWithGetline(const std::string& path, Splitter split, GetlineRules& rules) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  std::vector<std::string> fields;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    split(line, fields);
    if (fields.size() < 2) continue;
    if (strcasecmp(fields[0].c_str(), "class") == 0) {
      rules.classes.push_back(fields[1]);
    } else if (strcasecmp(fields[0].c_str(), "title") == 0) {
      rules.titles.push_back(fields[1]);
    }
  }
}

// The same job as LoadRules: empty the lists, then both files of the directory.
void LoadWithGetline(const std::string& directory, Splitter split, GetlineRules& rules) {
  rules.classes.clear();
  rules.titles.clear();
  LoadFileWithGetline(directory + "killwnd.txt", split, rules);
  LoadFileWithGetline(directory + "killwnd_custom.txt", split, rules);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs one loader alone, iterations times, in a child process: every loader starts from the
// same heap, and none inherits the blocks another one freed. Returns the child's median time
// per load in nanoseconds. Like LoadRules, each load first empties what the last one filled.
double TimeInChild(int which, const LoadInput& input, int iterations) {
  double median = InChild([which, &input, iterations] {
    GetlineRules rules;
    std::vector<double> times;
    for (int i = 0; i < iterations; ++i) {
      auto start = std::chrono::steady_clock::now();
      if (which == 0) LoadWithModule(input);
      if (which == 1) LoadWithGetline(input.dir.path(), SplitWithFind, rules);
      if (which == 2) LoadWithGetline(input.dir.path(), SplitWithStream, rules);
      times.push_back(
          std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
              .count());
    }
    bool complete =
        which == 0 ? KillRules.ClassRules.count == input.rules.classes.size() &&
                         KillRules.TitleRules.count == input.rules.titles.size()
                   : rules.classes == input.rules.classes && rules.titles == input.rules.titles;
    return complete ? Median(times) : -1.0;
  });
  if (median < 0) Fail("a loader read other rules than the file holds");
  return median;
}

// Rounds of the three loaders one after the other, in turns of order, so that a busy machine
// slows all of them alike; each ratio is taken within one round.
void LoadPaired(benchmark::State& state, uint32_t lines, int iterations) {
  const LoadInput& input = Input(lines);
  std::vector<double> module, find, stream, findRatio, streamRatio;
  for (auto _ : state) {
    for (int round = 0; round < 5; ++round) {
      double took[3] = {0, 0, 0};
      for (int step = 0; step < 3; ++step) {
        int which = (round + step) % 3;
        took[which] = TimeInChild(which, input, iterations);
      }
      module.push_back(took[0]);
      find.push_back(took[1]);
      stream.push_back(took[2]);
      findRatio.push_back(took[1] / took[0]);
      streamRatio.push_back(took[2] / took[0]);
    }
    state.SetIterationTime(Median(module) / 1e9);
  }
  state.counters["file_bytes"] = static_cast<double>(input.rules.text.size());
  state.counters["lunet_ns"] = Median(module);
  state.counters["find_ns"] = Median(find);
  state.counters["stream_ns"] = Median(stream);
  state.counters["find_ratio"] = Median(findRatio);
  state.counters["stream_ratio"] = Median(streamRatio);
}

}  // namespace

void RegisterLoadBenchmarks() {
  // Loads per child process: a few tens of milliseconds of work for the smaller files.
  const std::pair<uint32_t, int> sizes[] = {{100, 1000}, {10000, 20}, {1000000, 3}};
  for (const auto& size : sizes) {
    uint32_t lines = size.first;
    int iterations = size.second;
    benchmark::RegisterBenchmark(
        ("load/paired/" + std::to_string(lines)).c_str(),
        [lines, iterations](benchmark::State& state) { LoadPaired(state, lines, iterations); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(1);
  }
}

}  // namespace bench
