// The soak's pass/fail as data: every condition with its measured figure and its limit. The run
// holds only when every condition does. Both targets.
#pragma once

#include <stdio.h>

#include <string>
#include <utility>
#include <vector>

#include "soak_score.h"

namespace soak {

// What the driver counted itself, beside the processes' logs.
struct RunFigures {
  long badAnswers = 0;   // requests the module answered with nothing
  long failedEdits = 0;  // rewrites of the custom rules that never got through
  unsigned long pollerExit = 0;
};

// How much each figure may grow per process after warm-up.
struct LeakLimits {
  double privateBytes = 1 << 20;
  double handles = 8;
  double heapBytes = 256 << 10;
};

struct Condition {
  enum Bound { kAtMost, kAtLeast };
  std::string name;
  double measured;
  Bound bound;
  double limit;

  bool Holds() const { return bound == kAtMost ? measured <= limit : measured >= limit; }
};

class Verdict {
 public:
  explicit Verdict(std::vector<Condition> conditions) : conditions_(std::move(conditions)) {}

  const std::vector<Condition>& conditions() const { return conditions_; }
  // The conjunction of the list.
  bool Holds() const;
  std::vector<std::string> Failed() const;
  // One row a condition, then "result held" or "result FAILED".
  void Print(FILE* out) const;

 private:
  std::vector<Condition> conditions_;
};

Verdict Judge(const Score& score, const RunFigures& run, const LeakLimits& limits);

}  // namespace soak
