// The Windows benchmark's shared parts: failing, printing "key value" lines, medians, child runs
// of this program, and close latencies of real windows. Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "harness/recording_window.h"
#include "rule_sets.h"

namespace wine_bench {

// Stops the run with a message and the last error: a failed setup would measure nothing.
[[noreturn]] void Fail(const std::string& message);
void Print(const std::string& key, double value);
double Median(std::vector<double> values);

// The command line that runs this program again with arguments.
std::string SelfCommand(const std::string& arguments);
// Runs this program again with arguments, serving this thread's windows meanwhile; its output.
// A child that fails stops the run.
std::string RunSelf(const std::string& arguments);
// The value after "key " in a child's output, or -1.
double Field(const std::string& output, const std::string& key);

// A window the rules close (the last class rule, a title with the last fragment), which
// destroys itself on WM_CLOSE as a browser's pop-up does.
RecordingWindow OpenAd(const bench::RuleFile& rules);

// Times from a start to a window's WM_CLOSE and to its WM_DESTROY, over many windows.
class Latencies {
 public:
  // Serves messages until the window is destroyed, or destroys it after the timeout.
  void Measure(RecordingWindow& window, double start, DWORD timeoutMs);
  void Print(const std::string& prefix) const;

 private:
  std::vector<double> close_, destroy_;
  int failures_ = 0;
};

// The polling closer's measurement (the poller is in the harness), and the attach timing: the
// measurement, and the child that it runs.
void MeasurePoller(int period, const bench::RuleFile& rules, const std::string& rulesPath);
void MeasureAttach(const std::string& rulesPath, const std::string& dllPath);
int RunAttach(int argc, char** argv);

}  // namespace wine_bench
