// The soak's verdict over planted logs: a clean run holds, and each planted fault fails exactly
// the condition that names it, so a dropped or misread condition shows.
#include "soak_verdict.h"

#include <gtest/gtest.h>

#include <sstream>

#include "harness/temp_dir.h"
#include "owned.h"

namespace soak {
namespace {

// Microseconds. The closer is on from 1 s to 60 s; the process starts at 0.
const std::vector<std::pair<double, double>> kOn = {{1e6, 60e6}};
const double kMarginUs = 250e3, kWarmUpUs = 5e6;

// Base titles closed within 2 ms, a polled one closed, an extra one left open (not scored), a
// plain one left alone, memory flat once a second, and a last line cut short by an abrupt end.
std::string CleanLog() {
  std::string log =
      "R 1 b 2000000\nC 1 2002000\nR 2 q 3000000\nC 2 3090000\nR 3 p 4000000\n"
      "R 4 c 5000000\nT 4\nR 5 b 30000000\nC 5 30001500\n";
  for (int second = 0; second < 20; ++second) {
    log += "S " + std::to_string(second * 1000000) + " 4000000 60 100000\n";
  }
  return log;
}

struct Planted {
  std::string lines;  // after the clean log
  long hangs;
  double endedAt;
};

Verdict JudgeLog(const Planted& run, Score* scored = nullptr) {
  TempDir dir;
  ProcessRecord record;
  record.log = dir.Write("process-0.log", CleanLog() + run.lines + "R 99 b");
  record.hangs = run.hangs;
  record.endedAt = run.endedAt;
  Score score = ScoreRun({record}, kOn, kMarginUs, kWarmUpUs, kWarmUpUs);
  if (scored) *scored = score;
  return Judge(score, RunFigures(), LeakLimits());
}

TEST(SoakVerdict, CleanLogHoldsOnEveryCondition) {
  Score score;
  Verdict verdict = JudgeLog({"", 0, 0}, &score);
  EXPECT_TRUE(verdict.Holds());
  EXPECT_EQ(verdict.Failed(), std::vector<std::string>());
  EXPECT_EQ(score.redraws, 5);  // the cut line is not one
  EXPECT_EQ(score.scored, 2);
  EXPECT_EQ(score.polledScored, 1);
  EXPECT_EQ(score.extraOpen, 1);
  EXPECT_GE(verdict.conditions().size(), 15u);
}

TEST(SoakVerdict, EachPlantedFaultFailsItsCondition) {
  const struct {
    const char* what;
    Planted run;
    const char* fails;  // null: the run still holds
  } kCases[] = {
      {"a base title that waited in vain", {"R 10 b 20000000\nT 10\n", 0, 0}, "misses"},
      {"a base title whose answer was lost", {"R 11 b 20000000\n", 0, 0}, "misses"},
      {"a plain window closed", {"R 12 p 20000000\nX 12 20001000\n", 0, 0}, "wrong_closes"},
      {"a process that did not answer", {"", 1, 0}, "hangs"},
      {"a redraw forwarded nowhere", {"R 13 p 20000000\nF 13\n", 0, 0}, "forward_failures"},
      {"a title closed while off",
       {"R 14 b 70000000\nC 14 70001000\n", 0, 0},
       "redrawn_while_off_closed"},
      {"handles that grow",
       {"S 21000000 4000000 90 100000\nS 22000000 4000000 90 100000\n"
        "S 23000000 4000000 90 100000\n",
        0, 0},
       "handle_drift_max"},
      {"heap that grows",
       {"S 21000000 4000000 60 900000\nS 22000000 4000000 60 900000\n"
        "S 23000000 4000000 60 900000\n",
        0, 0},
       "heap_in_use_drift_max_kib"},
      // Redrawn within the wait before the process was ended: it had no full wait.
      {"no answer just before an abrupt end", {"R 15 b 28000000\n", 0, 31e6}, nullptr},
      {"a title closed near a switch", {"R 16 b 60100000\nC 16 60102000\n", 0, 0}, nullptr},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> expected;
    if (c.fails) expected.push_back(c.fails);
    EXPECT_EQ(JudgeLog(c.run).Failed(), expected) << c.what;
  }
}

// One row a condition, from the list itself, and the conjunction last.
TEST(SoakVerdict, PrintsEveryConditionAndTheConjunction) {
  Verdict verdict = JudgeLog({"", 1, 0});
  TempDir dir;
  std::string path = dir.File("verdict.txt");
  {
    OwnedFile out(path.c_str(), "wb");
    ASSERT_NE(out.get(), nullptr);
    verdict.Print(out.get());
    ASSERT_TRUE(out.Close());
  }
  std::istringstream text(ReadFileBytes(path));
  std::vector<std::string> rows;
  for (std::string row; std::getline(text, row);) rows.push_back(row);
  ASSERT_EQ(rows.size(), verdict.conditions().size() + 2);
  for (size_t i = 0; i < verdict.conditions().size(); ++i) {
    const Condition& condition = verdict.conditions()[i];
    const std::string& row = rows[i + 1];
    EXPECT_EQ(row.rfind(condition.name + " ", 0), 0u) << row;
    std::string result = condition.name == "hangs" ? "FAIL" : "pass";
    EXPECT_EQ(row.substr(row.size() - 4), result) << row;
  }
  EXPECT_EQ(rows.back(), "result FAILED");
}

}  // namespace
}  // namespace soak
