// Loading a rule file through the module's mapped reader, against the loader most people would
// write first: std::ifstream, std::getline, and the line split on commas into strings.
#include <benchmark/benchmark.h>
#include <strings.h>

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

void SetBytes(benchmark::State& state, const LoadInput& input) {
  state.counters["file_bytes"] = static_cast<double>(input.rules.text.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(input.rules.text.size()));
}

void LoadWithModule(benchmark::State& state, uint32_t lines) {
  LoadInput& input = Input(lines);
  for (auto _ : state) {
    RulesExclusive hold;
    LoadRules(input.dir.path().c_str());
  }
  if (KillRules.ClassRules.count != input.rules.classes.size() ||
      KillRules.TitleRules.count != input.rules.titles.size()) {
    Fail("LoadRules read another number of rules than the file holds");
  }
  SetBytes(state, input);
  RulesExclusive hold;
  ClearRules();
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

void LoadWithStreams(benchmark::State& state, uint32_t lines, Splitter split) {
  LoadInput& input = Input(lines);
  GetlineRules rules;
  for (auto _ : state) {
    LoadWithGetline(input.dir.path(), split, rules);
    benchmark::DoNotOptimize(rules.titles.data());
  }
  if (rules.classes != input.rules.classes || rules.titles != input.rules.titles) {
    Fail("the getline loader read other rules than the file holds");
  }
  SetBytes(state, input);
}

}  // namespace

void RegisterLoadBenchmarks() {
  for (uint32_t lines : {100u, 10000u, 1000000u}) {
    std::string suffix = "/" + std::to_string(lines);
    benchmark::RegisterBenchmark(("load/lunet" + suffix).c_str(),
                                 [lines](benchmark::State& state) { LoadWithModule(state, lines); });
    benchmark::RegisterBenchmark(("load/getline" + suffix).c_str(), [lines](benchmark::State& state) {
      LoadWithStreams(state, lines, SplitWithFind);
    });
    benchmark::RegisterBenchmark(("load/stringstream" + suffix).c_str(),
                                 [lines](benchmark::State& state) {
                                   LoadWithStreams(state, lines, SplitWithStream);
                                 });
  }
}

}  // namespace bench
