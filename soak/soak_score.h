// Scoring a soak run from what the driver did (switches, ends, pings) and what each
// window-owning process logged (soak_log.h). Both targets.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace soak {

// One window-owning process, from its start to its end.
struct ProcessRecord {
  int slot = 0;
  std::string log;
  double startedAt = 0;
  double endedAt = 0;   // NowUs() when it was ended abruptly, 0 if it ran to the end
  bool failed = false;  // it crashed, or did not end when told to
  long hangs = 0;       // the driver's pings it did not answer in time
};

struct MemorySample {
  double at;
  double privateBytes;
  double handles;
  double heapBytes;
};

struct Score {
  long redraws = 0, steadyRedraws = 0, scored = 0, misses = 0, wrongCloses = 0;
  long extraClosed = 0, extraOpen = 0, offClosed = 0, offOpen = 0, unscored = 0;
  long forwardFailures = 0, paceResets = 0, hangs = 0, failedProcesses = 0;
  std::vector<std::pair<double, double>> latencies;  // (redrawn at, close latency), microseconds
  // The poller's windows, scored at any time but near an abrupt end: closed, and how fast.
  long polledScored = 0, polledMisses = 0;
  std::vector<std::pair<double, double>> polledLatencies;
  // Per process: warm-up and end figures, and every sample for the picture.
  struct Drift {
    int slot;
    double privateBytes, handles, heapBytes;
    bool measured;
  };
  std::vector<Drift> drifts;
  std::vector<std::vector<MemorySample>> memory;

  // The largest growth of each figure over the measured processes, and how many were measured.
  Drift WorstDrift(int& measured) const;
};

// on holds the closer's on-intervals (from the switch's answer to the next switch's request);
// redraws closer than margin to either end, or too late to be answered before a process was
// ended, are not scored. warmUp is measured from each process's start; redraws from steadyFrom
// on are counted apart, for the pace the run kept once every process was up.
Score ScoreRun(const std::vector<ProcessRecord>& processes,
               const std::vector<std::pair<double, double>>& on, double marginUs, double warmUpUs,
               double steadyFrom);

}  // namespace soak
