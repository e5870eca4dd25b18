// The soak: the built lunet.dll held under load for minutes, under Wine. This program is the
// host side: it loads the module as the character host does, switches the closer off and on,
// rewrites the custom rule file between the two, ends one window-owning process at a time
// abruptly and starts another in its place, asks every process for an answer each second, and
// in the end scores what the processes logged. Beside the hook, a 100 ms polling closer closes
// the windows of a class of its own in the same processes, so both latencies come from one load.
// Exit status 0 only when every condition of the verdict holds (soak_verdict.h): nothing was
// missed, nothing wrong was closed, nobody hung, nothing grew.
//
//   lunet_soak [--processes P] [--windows W] [--rate R] [--seconds T] [--switch S] [--plot DIR]
//   lunet_soak --child WINDOWS RATE LOG STOP     one window-owning process (soak_child.cpp)
//   lunet_soak --poller MS FILE STOP READY       the polling closer (harness/polling_closer.h)
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>

#include "harness/captured_process.h"
#include "harness/polling_closer.h"
#include "harness/recording_window.h"
#include "harness/temp_dir.h"
#include "host_call.h"
#include "message_pump.h"
#include "owned.h"
#include "plugin_module.h"
#include "soak.h"
#include "soak_score.h"
#include "soak_verdict.h"

namespace soak {

namespace {

const double kMarginUs = 250e3;  // redraws this near a switch are not scored
const DWORD kOffMs = 500;        // how long the closer stays off in each cycle
const DWORD kAnswerMs = 1000;    // a process that takes longer to answer hangs

[[noreturn]] void Fail(const std::string& message) {
  fprintf(stderr, "lunet_soak: %s (error %lu)\n", message.c_str(), GetLastError());
  exit(1);
}

void Append(std::string& text, const char* format, ...) {
  char line[160];
  va_list arguments;
  va_start(arguments, format);
  int n = vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  if (n > 0) text.append(line, std::min(static_cast<size_t>(n), sizeof line - 1));
}

struct Options {
  int processes = 8, windows = 50;
  // 80 redraws a second in all is the most this 2-core machine keeps pace with across 8
  // processes under Wine (each forwarded redraw makes and destroys a window): --rate raises it.
  double rate = 80, seconds = 600, cycle = 5;
  std::string plot;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string name = argv[i];
    double value = atof(argv[i + 1]);
    if (name == "--processes")
      options.processes = static_cast<int>(value);
    else if (name == "--windows")
      options.windows = static_cast<int>(value);
    else if (name == "--rate")
      options.rate = value;
    else if (name == "--seconds")
      options.seconds = value;
    else if (name == "--switch")
      options.cycle = value;
    else if (name == "--plot")
      options.plot = argv[i + 1];
    else
      Fail("unknown option " + name);
  }
  if (options.processes < 1 || options.windows < 1 || options.rate <= 0 || options.seconds <= 0 ||
      options.cycle * 1e3 <= 2 * kOffMs) {
    Fail("bad options");
  }
  return options;
}

// Times in microseconds, reported in milliseconds.
struct Series {
  std::vector<double> values;
  // The value below which this share of the sorted values lies, in milliseconds; -1 if none.
  double At(double share) const {
    return values.empty() ? -1 : values[static_cast<size_t>(share * (values.size() - 1))] / 1e3;
  }
  void Print(const char* key) {
    std::sort(values.begin(), values.end());
    printf("%s_median_ms %.3f\n%s_p99_ms %.3f\n%s_max_ms %.3f\n%s_count %zu\n", key, At(0.5), key,
           At(0.99), key, At(1.0), key, values.size());
  }
};

// Closing latency of the hook and of the poller under the same load, side by side, and the
// poller's over the hook's. Both series printed (sorted) before.
void PrintSideBySide(const Series& hook, const Series& poller) {
  printf("latency_ms percentile hook poller\n");
  for (double share : {0.1, 0.25, 0.5, 0.75, 0.9, 0.99, 0.999, 1.0}) {
    printf("latency_ms p%g %.3f %.3f\n", share * 100, hook.At(share), poller.At(share));
  }
  auto ratio = [](double over, double under) { return under > 0 ? over / under : -1; };
  printf("poller_over_hook_median %.2f\npoller_over_hook_p99 %.2f\n",
         ratio(poller.At(0.5), hook.At(0.5)), ratio(poller.At(0.99), hook.At(0.99)));
}

class Module {
 public:
  explicit Module(const std::string& path) {
    if (!module_.Map(path) || !module_.load || !module_.request) Fail("cannot load " + path);
  }
  void Load(const std::string& directory) { CallLoad(module_.load, directory); }
  // Times the round trip into requests; false when the module gave no answer.
  bool Ask(const std::string& text, Series& requests) {
    double start = NowUs();
    LONG length = CallRequest(module_.request, text).length;
    requests.values.push_back(NowUs() - start);
    return length > 1;
  }

 private:
  PluginModule module_;
};

struct Process {
  ProcessRecord record;
  std::unique_ptr<ChildProcess> child;
  HWND ping = NULL;
};

class Driver {
 public:
  explicit Driver(const Options& options)
      : options_(options),
        program_(ProgramPath()),
        module_(program_.substr(0, program_.rfind('\\') + 1) + "lunet.dll") {
    if (dir_.path().empty()) Fail("cannot make a plug-in directory");
    stopName_ = "lunet-soak-stop-" + std::to_string(GetCurrentProcessId());
    stop_.reset(CreateEventA(NULL, TRUE, FALSE, stopName_.c_str()));
    if (!stop_.valid() || !WriteFileBytes(dir_.File("killwnd.txt"), BaseRules()) ||
        !WriteFileBytes(dir_.File("killwnd_custom.txt"), CustomRules(0))) {
      Fail("cannot set up the plug-in directory");
    }
  }

  int Run() {
    module_.Load(dir_.path());
    StartPoller();
    Switch(true);
    for (int slot = 0; slot < options_.processes; ++slot) Start(slot);
    double start = runStart_ = NowUs(), end = start + options_.seconds * 1e6,
           cycleUs = options_.cycle * 1e6;
    double nextSwitch = start + cycleUs, nextEnd = start + 1.5 * cycleUs, nextPing = start + 1e6;
    double nextRequest = start;
    int ended = 0;
    for (double now = start; now < end; now = NowUs()) {
      if (now >= nextSwitch) {
        Cycle();
        nextSwitch += cycleUs;
      } else if (now >= nextEnd) {
        EndAbruptly(ended++ % options_.processes);
        nextEnd += 2 * cycleUs;
      } else if (now >= nextPing) {
        PingAll();
        nextPing += 1e6;
      } else if (now >= nextRequest) {
        if (!module_.Ask(RequestText("OnMenuExec"), requests_)) ++run_.badAnswers;
        nextRequest += 250e3;
      }
      PumpMessages(5);
    }
    Switch(false);
    SetEvent(stop_.get());
    for (Process& process : processes_) {
      if (process.record.endedAt) continue;
      if (process.child->Wait(kCloseWaitMs + 20000) != 0) {
        process.record.failed = true;
        TerminateProcess(process.child->handle(), 1);
      }
    }
    // The poller stops only now: the last windows waited for it too.
    SetEvent(pollStop_.get());
    run_.pollerExit = poller_->Finish(true);
    return Report(ended);
  }

 private:
  void Switch(bool on) {
    double before = NowUs();
    if (!on && onSince_) on_.push_back({onSince_, before});
    onSince_ = 0;
    if (!module_.Ask(ChoiceText(on ? "on" : "off"), requests_)) ++run_.badAnswers;
    if (on) onSince_ = NowUs();
    ++switches_;
  }

  // Running, with its first look at the windows done, before any window-owning process starts.
  void StartPoller() {
    std::string rules = dir_.File("poller.txt"), suffix = std::to_string(GetCurrentProcessId());
    std::string stopName = "lunet-soak-poll-stop-" + suffix;
    std::string readyName = "lunet-soak-poll-ready-" + suffix;
    pollStop_.reset(CreateEventA(NULL, TRUE, FALSE, stopName.c_str()));
    KernelHandle ready(CreateEventA(NULL, TRUE, FALSE, readyName.c_str()));
    if (!pollStop_.valid() || !ready.valid() || !WriteFileBytes(rules, PollerRules()))
      Fail("cannot set up the poller");
    std::string command = QuotedArgument(program_) + " --poller " + std::to_string(kPollMs) + " " +
                          QuotedArgument(rules) + " " + stopName + " " + readyName;
    poller_ = std::make_unique<CapturedProcess>(command, true);
    if (!poller_->started() || !PumpUntil(ready.get(), 30000)) Fail("the poller did not start");
  }

  // Off, the custom rules rewritten while off, on again.
  void Cycle() {
    Switch(false);
    Sleep(kOffMs / 2);
    // A process reading the file just now maps it, and a mapped file cannot be cut short.
    std::string text = CustomRules(++edits_);
    bool written = false;
    for (int attempt = 0; attempt < 50 && !written; ++attempt) {
      written = WriteFileBytes(dir_.File("killwnd_custom.txt"), text);
      if (!written) Sleep(10);
    }
    if (!written) ++run_.failedEdits;
    Sleep(kOffMs / 2);
    Switch(true);
  }

  void Start(int slot) {
    Process process;
    process.record.slot = slot;
    process.record.log = dir_.File("process-" + std::to_string(processes_.size()) + ".log");
    std::string command = QuotedArgument(program_) + " --child " +
                          std::to_string(options_.windows) + " " +
                          std::to_string(options_.rate / options_.processes) + " " +
                          QuotedArgument(process.record.log) + " " + stopName_;
    process.record.startedAt = NowUs();
    process.child = std::make_unique<ChildProcess>(command);
    if (!process.child->started()) Fail("cannot start " + command);
    processes_.push_back(std::move(process));
  }

  // While its threads forward redraws back to back, so that some thread is in the hook.
  void EndAbruptly(int slot) {
    for (Process& process : processes_) {
      if (process.record.slot != slot || process.record.endedAt || process.record.failed) continue;
      std::string name = "lunet-soak-hammer-" + std::to_string(process.child->id());
      KernelHandle hammer(OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str()));
      if (hammer.valid()) {
        SetEvent(hammer.get());
        Sleep(50);
      }
      process.record.endedAt = NowUs();
      TerminateProcess(process.child->handle(), 9);
      process.child->Wait(5000);
      Start(slot);
      return;
    }
  }

  void PingAll() {
    for (Process& process : processes_) {
      if (process.record.endedAt || process.record.failed) continue;
      if (process.child->Wait(0) != STILL_ACTIVE) {
        process.record.failed = true;  // it ended by itself: a crash
        continue;
      }
      if (!process.ping) {
        std::string title = "lunet-soak-ping-" + std::to_string(process.child->id());
        process.ping = FindWindowA("LunetSoakPing", title.c_str());
      }
      double start = NowUs();
      DWORD_PTR result;
      if (process.ping &&
          SendMessageTimeoutA(process.ping, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result)) {
        answers_.values.push_back(NowUs() - start);
      } else if (process.ping || start - process.record.startedAt > 10e6) {
        fprintf(stderr, "lunet_soak: process %lu (slot %d, %.1f s old) %s\n", process.child->id(),
                process.record.slot, (start - process.record.startedAt) / 1e6,
                process.ping ? "did not answer within a second" : "showed no window in 10 s");
        ++process.record.hangs;
      }
    }
  }

  int Report(int ended) {
    std::vector<ProcessRecord> records;
    for (const Process& process : processes_) records.push_back(process.record);
    double warmUp = std::min(60.0, std::max(5.0, options_.seconds / 5)) * 1e6;
    Score score = ScoreRun(records, on_, kMarginUs, warmUp, runStart_ + warmUp);
    Series latency, polled;
    for (const auto& sample : score.latencies) latency.values.push_back(sample.second);
    for (const auto& sample : score.polledLatencies) polled.values.push_back(sample.second);
    PrintFigures(score, warmUp, ended);
    latency.Print("close_latency");
    PrintPollerFigures(score);
    polled.Print("poller_close_latency");
    PrintSideBySide(latency, polled);
    requests_.Print("request_round_trip");
    answers_.Print("process_answer");
    if (!options_.plot.empty()) WritePlotData(score, latency, polled);
    Verdict verdict = Judge(score, run_, LeakLimits());
    verdict.Print(stdout);
    fflush(stdout);
    return verdict.Holds() ? 0 : 1;
  }

  // What the run did, beside the verdict's figures.
  void PrintFigures(const Score& score, double warmUp, int ended) {
    printf("processes %d\nwindows_per_process %d\nseconds %.0f\nswitch_every_s %.1f\n",
           options_.processes, options_.windows, options_.seconds, options_.cycle);
    printf("redraws %ld\nredraws_per_s %.0f\nredraws_per_s_after_warm_up %.0f\n", score.redraws,
           score.redraws / options_.seconds,
           score.steadyRedraws / (options_.seconds - warmUp / 1e6));
    printf("extra_fragment_closed %ld\nextra_fragment_open %ld\n", score.extraClosed,
           score.extraOpen);
    printf("redrawn_while_off_open %ld\nnear_switch_unscored %ld\n", score.offOpen, score.unscored);
    printf("switches %d\nrule_edits %d\nended_abruptly %d\npace_resets %ld\n", switches_, edits_,
           ended, score.paceResets);
  }

  void PrintPollerFigures(const Score& score) {
    printf("poller_period_ms %lu\npoller_misses %ld\n", kPollMs, score.polledMisses);
    // The poller's own figures (polls, busy_us, cpu_ms, elapsed_ms, windows), one a line.
    double polls = 0, elapsedMs = 0;
    for (size_t at = 0, end; at < poller_->output().size(); at = end + 1) {
      end = poller_->output().find('\n', at);
      if (end == std::string::npos) end = poller_->output().size();
      std::string line = poller_->output().substr(at, end - at);
      printf("poller_%s\n", line.c_str());
      sscanf(line.c_str(), "polls %lf", &polls);
      sscanf(line.c_str(), "elapsed_ms %lf", &elapsedMs);
    }
    // Under load a poll of every window takes longer than the period: the pace it really kept.
    printf("poller_mean_interval_ms %.1f\n", polls > 0 ? elapsedMs / polls : -1);
  }

  void WritePlot(const char* name, const std::string& text) {
    if (!WriteFileBytes(options_.plot + "\\" + name, text)) Fail("cannot write the plot data");
  }

  // Latency binned over the run (median, 99th percentile, worst), the hook's and the poller's
  // apart; both distributions by percentile; and every process's memory, one block per slot,
  // its successive processes apart by a blank line.
  void WritePlotData(const Score& score, const Series& hook, const Series& poller) {
    WritePlot("soak-latency.dat", Bins(score.latencies));
    WritePlot("soak-poller-latency.dat", Bins(score.polledLatencies));
    std::string text = "# percentile hook_ms poller_ms\n";
    for (int tenths = 0; tenths <= 1000; tenths += tenths < 990 ? 10 : 1) {
      Append(text, "%.1f %.4f %.4f\n", tenths / 10.0, hook.At(tenths / 1000.0),
             poller.At(tenths / 1000.0));
    }
    WritePlot("soak-distribution.dat", text);
    WritePlot("soak-memory.dat", Memory(score));
  }

  std::string Bins(const std::vector<std::pair<double, double>>& latencies) {
    double binUs = std::max(1.0, options_.seconds / 100) * 1e6, start = runStart_;
    std::vector<std::vector<double>> bins(static_cast<size_t>(options_.seconds * 1e6 / binUs) + 2);
    for (const auto& sample : latencies) {
      size_t bin = static_cast<size_t>(std::max(0.0, sample.first - start) / binUs);
      if (bin < bins.size()) bins[bin].push_back(sample.second / 1e3);
    }
    std::string text = "# seconds median_ms p99_ms max_ms\n";
    for (size_t i = 0; i < bins.size(); ++i) {
      std::vector<double>& bin = bins[i];
      if (bin.empty()) continue;
      std::sort(bin.begin(), bin.end());
      Append(text, "%.1f %.4f %.4f %.4f\n", (i + 0.5) * binUs / 1e6, bin[bin.size() / 2],
             bin[static_cast<size_t>(0.99 * (bin.size() - 1))], bin.back());
    }
    return text;
  }

  std::string Memory(const Score& score) {
    std::string text;
    for (int slot = 0; slot < options_.processes; ++slot) {
      Append(text, "\"process %d\"\n", slot + 1);
      for (size_t i = 0; i < processes_.size(); ++i) {
        if (processes_[i].record.slot != slot) continue;
        for (const MemorySample& sample : score.memory[i]) {
          Append(text, "%.1f %.3f %.0f %.1f\n", (sample.at - runStart_) / 1e6,
                 sample.privateBytes / 1048576.0, sample.handles, sample.heapBytes / 1024);
        }
        text += "\n";
      }
      text += "\n";
    }
    return text;
  }

  Options options_;
  TempDir dir_;
  std::string program_;
  Module module_;
  std::string stopName_;
  KernelHandle stop_;
  std::vector<Process> processes_;
  std::unique_ptr<CapturedProcess> poller_;
  KernelHandle pollStop_;
  RunFigures run_;
  std::vector<std::pair<double, double>> on_;
  double onSince_ = 0, runStart_ = 0;
  Series requests_, answers_;
  int edits_ = 0, switches_ = 0;
};

}  // namespace

}  // namespace soak

int main(int argc, char** argv) {
  if (argc > 1 && strcmp(argv[1], "--child") == 0) return soak::RunChild(argc, argv);
  if (argc > 1 && strcmp(argv[1], "--poller") == 0) return RunPoller(argc, argv);
  soak::Driver driver(soak::ParseOptions(argc, argv));
  return driver.Run();
}
