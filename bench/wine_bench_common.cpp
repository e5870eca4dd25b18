#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "harness/captured_process.h"
#include "harness/windows_kit.h"
#include "message_pump.h"
#include "wine_bench.h"

namespace wine_bench {

void Fail(const std::string& message) {
  fprintf(stderr, "lunet_wine_bench: %s (error %lu)\n", message.c_str(), GetLastError());
  exit(1);
}

void Print(const std::string& key, double value) { printf("%s %.3f\n", key.c_str(), value); }

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

namespace {

double Max(const std::vector<double>& values) {
  return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

}  // namespace

std::string SelfCommand(const std::string& arguments) {
  return QuotedArgument(ProgramPath()) + " " + arguments;
}

std::string RunSelf(const std::string& arguments) {
  std::string command = SelfCommand(arguments);
  CapturedProcess child(command);
  if (!child.started()) Fail("cannot start " + command);
  if (child.Finish(true) != 0) Fail("a child process failed: " + child.output());
  return child.output();
}

double Field(const std::string& output, const std::string& key) {
  size_t at = output.find(key + " ");
  return at == std::string::npos ? -1 : atof(output.c_str() + at + key.size() + 1);
}

RecordingWindow OpenAd(const bench::RuleFile& rules) {
  return RecordingWindow(rules.classes.back(), "Great news - " + rules.titles.back() + " - Browser",
                         RecordingWindow::kDestroy, WS_POPUP | WS_VISIBLE, 0, 0, 160, 40);
}

void Latencies::Measure(RecordingWindow& window, double start, DWORD timeoutMs) {
  if (!window.handle()) Fail("cannot create a window");
  double end = NowUs() + timeoutMs * 1e3;
  for (;;) {
    PumpPending();
    if (window.destroyedAt()) break;
    double left = (end - NowUs()) / 1e3;
    if (left <= 0) {
      window.Destroy();
      ++failures_;
      return;
    }
    MsgWaitForMultipleObjects(0, NULL, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
  }
  close_.push_back(window.closedAt() - start);
  destroy_.push_back(window.destroyedAt() - start);
}

void Latencies::Print(const std::string& prefix) const {
  wine_bench::Print(prefix + "_close_median_us", Median(close_));
  wine_bench::Print(prefix + "_close_max_us", Max(close_));
  wine_bench::Print(prefix + "_latency_median_us", Median(destroy_));
  wine_bench::Print(prefix + "_latency_max_us", Max(destroy_));
  wine_bench::Print(prefix + "_trials", static_cast<double>(destroy_.size()));
  wine_bench::Print(prefix + "_failures", failures_);
  // Every time to WM_CLOSE, for the picture of the whole distribution.
  printf("%s_close_samples_us", prefix.c_str());
  for (double sample : close_) printf(" %.1f", sample);
  printf("\n");
}

}  // namespace wine_bench
