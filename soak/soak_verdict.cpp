#include "soak_verdict.h"

namespace soak {

bool Verdict::Holds() const {
  for (const Condition& condition : conditions_) {
    if (!condition.Holds()) return false;
  }
  return true;
}

std::vector<std::string> Verdict::Failed() const {
  std::vector<std::string> failed;
  for (const Condition& condition : conditions_) {
    if (!condition.Holds()) failed.push_back(condition.name);
  }
  return failed;
}

void Verdict::Print(FILE* out) const {
  fprintf(out, "%-26s %12s %12s  %s\n", "condition", "measured", "limit", "result");
  for (const Condition& condition : conditions_) {
    fprintf(out, "%-26s %12.6g %2s %9.6g  %s\n", condition.name.c_str(), condition.measured,
            condition.bound == Condition::kAtMost ? "<=" : ">=", condition.limit,
            condition.Holds() ? "pass" : "FAIL");
  }
  fprintf(out, "result %s\n", Holds() ? "held" : "FAILED");
}

Verdict Judge(const Score& score, const RunFigures& run, const LeakLimits& limits) {
  int measured = 0;
  Score::Drift worst = score.WorstDrift(measured);
  const Condition::Bound most = Condition::kAtMost, least = Condition::kAtLeast;
  Verdict verdict({
      // The closer's work: every listed window closed, no other, none while off.
      {"misses", double(score.misses), most, 0},
      {"wrong_closes", double(score.wrongCloses), most, 0},
      {"redrawn_while_off_closed", double(score.offClosed), most, 0},
      // The processes it runs in: each answered, lived and forwarded.
      {"hangs", double(score.hangs), most, 0},
      {"processes_failed", double(score.failedProcesses), most, 0},
      {"forward_failures", double(score.forwardFailures), most, 0},
      // A run that scored or measured nothing proves nothing.
      {"scored_matching", double(score.scored), least, 1},
      {"poller_scored", double(score.polledScored), least, 1},
      {"leak_checked_processes", double(measured), least, 1},
      // The host's side: answers, rule rewrites, the poller beside it.
      {"bad_answers", double(run.badAnswers), most, 0},
      {"rule_edits_failed", double(run.failedEdits), most, 0},
      {"poller_exit", double(run.pollerExit), most, 0},
      // Growth per process after warm-up.
      {"private_drift_max_kib", worst.privateBytes / 1024, most, limits.privateBytes / 1024},
      {"handle_drift_max", worst.handles, most, limits.handles},
      {"heap_in_use_drift_max_kib", worst.heapBytes / 1024, most, limits.heapBytes / 1024},
  });
  return verdict;
}

}  // namespace soak
