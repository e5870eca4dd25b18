#include "soak_score.h"

#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <map>
#include <sstream>

#include "soak.h"

namespace soak {

namespace {

struct Redraw {
  char kind;
  double at;
  bool answered = false;
};

bool DuringOn(const std::vector<std::pair<double, double>>& on, double at, double margin) {
  for (const auto& interval : on) {
    if (at >= interval.first + margin && at <= interval.second - margin) return true;
  }
  return false;
}

// The growth of one figure from the first samples after warm-up to the last ones.
double Growth(const std::vector<MemorySample>& samples, size_t first,
              double MemorySample::*figure) {
  double start = 0, end = 0;
  for (size_t i = 0; i < 3; ++i) {
    start += samples[first + i].*figure;
    end += samples[samples.size() - 1 - i].*figure;
  }
  return (end - start) / 3;
}

}  // namespace

Score ScoreRun(const std::vector<ProcessRecord>& processes,
               const std::vector<std::pair<double, double>>& on, double marginUs, double warmUpUs,
               double steadyFrom) {
  Score score;
  for (const ProcessRecord& process : processes) {
    std::map<unsigned, Redraw> redraws;
    std::vector<MemorySample> memory;
    // A matching window redrawn too near the abrupt end had no full wait for its WM_CLOSE.
    double lastScored = process.endedAt ? process.endedAt - kCloseWaitMs * 1e3 : 1e300;
    auto scored = [&](const Redraw& redraw) {
      return redraw.kind == 'b' && redraw.at <= lastScored && DuringOn(on, redraw.at, marginUs);
    };
    auto polled = [&](const Redraw& redraw) {
      return redraw.kind == 'q' && redraw.at <= lastScored;
    };
    std::ifstream in(process.log);
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      char type = 0;
      fields >> type;
      unsigned serial = 0;
      if (type == 'R') {
        Redraw redraw;
        fields >> serial >> redraw.kind >> redraw.at;
        if (!fields) continue;  // a line cut short by the abrupt end
        ++score.redraws;
        score.steadyRedraws += redraw.at >= steadyFrom;
        redraws[serial] = redraw;
      } else if (type == 'C' || type == 'T') {
        double closedAt = 0;
        fields >> serial >> closedAt;
        auto found = redraws.find(serial);
        if (found == redraws.end()) continue;
        Redraw& redraw = found->second;
        redraw.answered = true;
        bool closed = type == 'C';
        if (redraw.kind == 'q') {
          if (!polled(redraw)) continue;
          ++score.polledScored;
          if (closed) {
            score.polledLatencies.push_back({redraw.at, closedAt - redraw.at});
          } else {
            ++score.polledMisses;
          }
        } else if (redraw.kind == 'c') {
          ++(closed ? score.extraClosed : score.extraOpen);
        } else if (scored(redraw)) {
          ++score.scored;
          if (closed) {
            score.latencies.push_back({redraw.at, closedAt - redraw.at});
          } else {
            ++score.misses;
          }
        } else if (!DuringOn(on, redraw.at, -marginUs)) {
          ++(closed ? score.offClosed : score.offOpen);
        } else {
          ++score.unscored;
        }
      } else if (type == 'X') {
        ++score.wrongCloses;
      } else if (type == 'F') {
        ++score.forwardFailures;
      } else if (type == 'L') {
        ++score.paceResets;
      } else if (type == 'S') {
        MemorySample sample;
        fields >> sample.at >> sample.privateBytes >> sample.handles >> sample.heapBytes;
        if (fields) memory.push_back(sample);
      }
    }
    // A matching window that waited and got no answer at all: the process was ended first, or
    // its log was lost.
    for (const auto& entry : redraws) {
      if (entry.second.answered) continue;
      if (scored(entry.second)) {
        ++score.scored;
        ++score.misses;
      } else if (polled(entry.second)) {
        ++score.polledScored;
        ++score.polledMisses;
      }
    }

    Score::Drift drift = {process.slot, 0, 0, 0, false};
    size_t first = 0;
    while (first < memory.size() && memory[first].at < process.startedAt + warmUpUs) ++first;
    // Three samples at each end smooth the allocator's steps; the run after warm-up must be long
    // enough to tell them apart.
    if (memory.size() >= first + 8) {
      drift.privateBytes = Growth(memory, first, &MemorySample::privateBytes);
      drift.handles = Growth(memory, first, &MemorySample::handles);
      drift.heapBytes = Growth(memory, first, &MemorySample::heapBytes);
      drift.measured = true;
    }
    score.drifts.push_back(drift);
    score.memory.push_back(std::move(memory));
  }
  return score;
}

}  // namespace soak
