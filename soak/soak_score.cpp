#include "soak_score.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "soak_log.h"

namespace soak {

namespace {

using Intervals = std::vector<std::pair<double, double>>;

struct Redraw {
  TitleKind kind;
  double at;
  bool answered = false;
};

bool DuringOn(const Intervals& on, double at, double margin) {
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

// A window that waited for its WM_CLOSE, counted once it is scored: closed and how fast, or not.
void Tally(const Redraw& redraw, bool closed, double closedAt, long& scored, long& misses,
           Intervals& latencies) {
  ++scored;
  if (closed) {
    latencies.push_back({redraw.at, closedAt - redraw.at});
  } else {
    ++misses;
  }
}

// One process's log, added to the run's score line by line.
class LogScorer {
 public:
  LogScorer(const ProcessRecord& process, const Intervals& on, double marginUs, double steadyFrom,
            Score& score)
      : on_(on), marginUs_(marginUs), steadyFrom_(steadyFrom), score_(score) {
    // A matching window redrawn too near the abrupt end had no full wait for its WM_CLOSE.
    lastScored_ = process.endedAt ? process.endedAt - kCloseWaitMs * 1e3 : 1e300;
  }

  void Line(const std::string& line) {
    std::istringstream fields(line);
    char letter = 0;
    fields >> letter;
    unsigned serial = 0;
    double at = 0;
    switch (static_cast<Event>(letter)) {
      case Event::kRedrawn: Redrawn(fields); break;
      case Event::kClosed:
      case Event::kTimedOut:
        fields >> serial >> at;
        Answered(serial, static_cast<Event>(letter) == Event::kClosed, at);
        break;
      case Event::kWrongClose: ++score_.wrongCloses; break;
      case Event::kForwardFailed: ++score_.forwardFailures; break;
      case Event::kPaceReset: ++score_.paceResets; break;
      case Event::kSample: Sampled(fields); break;
    }
  }

  // A matching window that waited and got no answer at all: the process was ended first, or
  // its log was lost.
  void Unanswered() {
    for (const auto& entry : redraws_) {
      const Redraw& redraw = entry.second;
      if (redraw.answered) continue;
      if (Scored(redraw)) {
        Tally(redraw, false, 0, score_.scored, score_.misses, score_.latencies);
      } else if (Polled(redraw)) {
        Tally(redraw, false, 0, score_.polledScored, score_.polledMisses, score_.polledLatencies);
      }
    }
  }

  std::vector<MemorySample>& memory() { return memory_; }

 private:
  bool Scored(const Redraw& redraw) const {
    return redraw.kind == TitleKind::kBase && redraw.at <= lastScored_ &&
           DuringOn(on_, redraw.at, marginUs_);
  }
  bool Polled(const Redraw& redraw) const {
    return redraw.kind == TitleKind::kPolled && redraw.at <= lastScored_;
  }

  void Redrawn(std::istringstream& fields) {
    unsigned serial = 0;
    char kind = 0;
    Redraw redraw;
    fields >> serial >> kind >> redraw.at;
    if (!fields) return;  // a line cut short by the abrupt end
    redraw.kind = static_cast<TitleKind>(kind);
    ++score_.redraws;
    score_.steadyRedraws += redraw.at >= steadyFrom_;
    redraws_[serial] = redraw;
  }

  void Answered(unsigned serial, bool closed, double closedAt) {
    auto found = redraws_.find(serial);
    if (found == redraws_.end()) return;
    Redraw& redraw = found->second;
    redraw.answered = true;
    if (redraw.kind == TitleKind::kPolled) {
      if (Polled(redraw)) {
        Tally(redraw, closed, closedAt, score_.polledScored, score_.polledMisses,
              score_.polledLatencies);
      }
    } else if (redraw.kind == TitleKind::kExtra) {
      ++(closed ? score_.extraClosed : score_.extraOpen);
    } else if (Scored(redraw)) {
      Tally(redraw, closed, closedAt, score_.scored, score_.misses, score_.latencies);
    } else if (!DuringOn(on_, redraw.at, -marginUs_)) {
      ++(closed ? score_.offClosed : score_.offOpen);
    } else {
      ++score_.unscored;
    }
  }

  void Sampled(std::istringstream& fields) {
    MemorySample sample;
    fields >> sample.at >> sample.privateBytes >> sample.handles >> sample.heapBytes;
    if (fields) memory_.push_back(sample);
  }

  const Intervals& on_;
  double marginUs_, steadyFrom_, lastScored_;
  Score& score_;
  std::map<unsigned, Redraw> redraws_;
  std::vector<MemorySample> memory_;
};

Score::Drift DriftOf(const ProcessRecord& process, const std::vector<MemorySample>& memory,
                     double warmUpUs) {
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
  return drift;
}

}  // namespace

Score::Drift Score::WorstDrift(int& measured) const {
  Drift worst = {0, 0, 0, 0, false};
  measured = 0;
  for (const Drift& drift : drifts) {
    if (!drift.measured) continue;
    ++measured;
    worst.privateBytes = std::max(worst.privateBytes, drift.privateBytes);
    worst.handles = std::max(worst.handles, drift.handles);
    worst.heapBytes = std::max(worst.heapBytes, drift.heapBytes);
    worst.measured = true;
  }
  return worst;
}

Score ScoreRun(const std::vector<ProcessRecord>& processes, const Intervals& on, double marginUs,
               double warmUpUs, double steadyFrom) {
  Score score;
  for (const ProcessRecord& process : processes) {
    score.hangs += process.hangs;
    score.failedProcesses += process.failed;
    LogScorer scorer(process, on, marginUs, steadyFrom, score);
    std::ifstream in(process.log);
    std::string line;
    while (std::getline(in, line)) scorer.Line(line);
    scorer.Unanswered();
    score.drifts.push_back(DriftOf(process, scorer.memory(), warmUpUs));
    score.memory.push_back(std::move(scorer.memory()));
  }
  return score;
}

}  // namespace soak
