// Rows name what was measured and the figure it is set against, so the table reads on its own.
#include "table.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <vector>

namespace bench {

namespace {

struct Row {
  std::string area, what, lunet, alternative, comparison;
};

std::string Format(const char* format, double value) {
  char text[64];
  snprintf(text, sizeof text, format, value);
  return text;
}

std::string Duration(double ns) {
  if (ns < 1e3) return Format("%.0f ns", ns);
  if (ns < 1e6) return Format("%.1f µs", ns / 1e3);
  if (ns < 1e9) return Format("%.2f ms", ns / 1e6);
  return Format("%.2f s", ns / 1e9);
}

std::string Bytes(double bytes) {
  if (bytes < 10 * 1024) return Format("%.0f B", bytes);
  if (bytes < 10 * 1024 * 1024) return Format("%.1f KiB", bytes / 1024);
  return Format("%.1f MiB", bytes / (1024 * 1024));
}

std::string Count(uint32_t n) {
  std::string digits = std::to_string(n), grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string CpuModel() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, 10, "model name") != 0) continue;
    size_t colon = line.find(':');
    if (colon != std::string::npos) return line.substr(line.find_first_not_of(' ', colon + 1));
  }
  return "unknown";
}

class Table {
 public:
  explicit Table(const Results& results) : results_(results) {}

  const Figure* Native(const std::string& name) const {
    auto found = results_.native.find(name);
    return found == results_.native.end() ? nullptr : &found->second;
  }

  // A Wine figure as a number, or a negative value when the run did not give it.
  double Wine(const std::string& key) const {
    auto found = results_.wine.find(key);
    return found == results_.wine.end() ? -1 : atof(found->second.c_str());
  }

  // "Wine, 32-bit build": which Windows build gave the Wine figures.
  std::string WineLabel() const {
    auto found = results_.wine.find("wine_build");
    return found == results_.wine.end() ? "Wine" : "Wine, " + found->second + " build";
  }

  std::string WineText(const std::string& key) const {
    auto found = results_.wine.find(key);
    return found == results_.wine.end() ? "not run" : found->second;
  }

  void Add(Row row) { rows_.push_back(row); }

  void AddHookRows() {
    if (const Figure* floor = Native("hook/floor")) {
      Add({"hook check, native", "stand-in calls alone (class query, chained call)",
           Duration(floor->ns), "", "floor of every row below"});
    }
    const char* cases[][2] = {
        {"no_class", "no class matches"},
        {"class_only", "class matches, no fragment in the title"},
        {"full_match", "class and fragment match, WM_CLOSE posted"},
        {"full_match_read", "the same, its report read at once by a listener"}};
    for (const auto& kind : cases) {
      for (uint32_t rules : {10u, 100u, 10000u}) {
        const Figure* figure = Native(std::string("hook/") + kind[0] + "/" + std::to_string(rules));
        if (!figure) continue;
        double allocs = figure->counters.count("allocs") ? figure->counters.at("allocs") : -1;
        std::string goal;
        if (rules == 100 && std::string(kind[0]) == "no_class") {
          goal = figure->ns < 1000 && allocs == 0 ? "goal < 1 µs and no allocation: met"
                                                  : "goal < 1 µs and no allocation: missed";
        }
        Add({"hook check, native", std::string(kind[1]) + ", " + Count(rules) + " rules per list",
             Duration(figure->ns) + ", " + Format("%.2f", allocs) + " allocs", "", goal});
      }
    }
  }

  void AddPrototypeRows() {
    const Figure* hashed = Native("hook/hashed_class/10000");
    const Figure* scan = Native("hook/no_class/10000");
    if (!hashed || !scan) return;
    Add({"hook check, native", "no class matches, 10,000 rules: hashed class set (not shipped)",
         Duration(hashed->ns), "the module's scan: " + Duration(scan->ns),
         Format("%.0f× faster, same answers", scan->ns / hashed->ns)});
  }

  void AddLoadRows() {
    for (uint32_t lines : {100u, 10000u, 1000000u}) {
      const Figure* paired = Native("load/paired/" + std::to_string(lines));
      if (!paired) continue;
      const std::map<std::string, double>& c = paired->counters;
      double bytes = c.at("file_bytes");
      // MB/s from bytes per nanosecond.
      double ours = bytes / c.at("lunet_ns") * 1e3, byFind = bytes / c.at("find_ns") * 1e3,
             byStream = bytes / c.at("stream_ns") * 1e3;
      Add({"rule loading, native", Count(lines) + " lines (" + Bytes(bytes) + ")",
           Format("%.0f MB/s", ours) + " (" + Duration(c.at("lunet_ns")) + ")",
           "getline, split by find: " + Format("%.0f MB/s", byFind) +
               "; split by stringstream: " + Format("%.0f MB/s", byStream),
           Format("%.2f× / ", c.at("find_ratio")) + Format("%.2f×", c.at("stream_ratio"))});
    }
  }

  void AddRequestRows() {
    const char* kinds[][2] = {{"no_content", "NoContent (unserved event)"},
                              {"version", "Version"},
                              {"menu", "Menu"},
                              {"cancelled", "Cancelled"},
                              {"on", "NowEnabled: hook installed, marker written"},
                              {"off", "NowDisabled: hook removed, marker deleted"}};
    for (const auto& kind : kinds) {
      const Figure* figure = Native(std::string("request/") + kind[0]);
      if (!figure) continue;
      std::string text = Duration(figure->ns);
      if (figure->counters.count("allocs")) {
        text += ", " + Format("%.0f", figure->counters.at("allocs")) + " allocs";
      }
      Add({"request round trip, native", kind[1], text, "", ""});
    }
  }

  void AddAttachRows() {
    for (uint32_t rules : {10u, 1000u, 100000u}) {
      const Figure* figure = Native("attach/" + std::to_string(rules));
      std::string text = figure ? Duration(figure->ns) : "not run";
      auto store = results_.storeBytes.find(rules);
      if (store != results_.storeBytes.end()) text += ", store " + Bytes(store->second);
      std::string key = "attach_" + std::to_string(rules);
      std::string wine = WineLabel() + ", LoadLibrary: ";
      wine += Wine(key + "_us") >= 0 ? Duration(Wine(key + "_us") * 1e3) : "not run";
      if (Wine(key + "_heap_bytes") >= 0) wine += ", store " + Bytes(Wine(key + "_heap_bytes"));
      Add({"process attach", Count(rules) + " rules (DllMain attach / LoadLibrary)",
           "native: " + text, wine, ""});
    }
  }

  void AddWineRows() {
    // To WM_CLOSE: the closer's own part. To WM_DESTROY: the window is gone, which adds what
    // the window system takes to tear a visible window down, the same for both closers.
    const char* ends[][2] = {{"close", "to WM_CLOSE (the closer's part)"},
                             {"latency", "to WM_DESTROY (window gone)"}};
    for (const auto& end : ends) {
      double hookMedian = Wine(std::string("hook_") + end[0] + "_median_us");
      double hookMax = Wine(std::string("hook_") + end[0] + "_max_us");
      for (int period : {100, 250}) {
        std::string key = "poll" + std::to_string(period) + "_" + end[0];
        double median = Wine(key + "_median_us"), worst = Wine(key + "_max_us");
        Add({"latency to close, " + WineLabel(),
             std::string(end[1]) + ", median / worst, vs poller every " + std::to_string(period) +
                 " ms",
             Duration(hookMedian * 1e3) + " / " + Duration(hookMax * 1e3),
             Duration(median * 1e3) + " / " + Duration(worst * 1e3),
             hookMedian > 0 && median > 0 ? Format("%.0f× lower median", median / hookMedian)
                                          : ""});
      }
    }
    Add({"latency to close, " + WineLabel(), "of which the redraw forwarder alone (closer off)",
         Duration(Wine("forward_only_median_us") * 1e3), "",
         "test harness; with the closer on, a window it leaves alone: " +
             Duration(Wine("forward_plain_on_median_us") * 1e3)});
    for (int period : {100, 250}) {
      std::string key = "poll" + std::to_string(period);
      double cpu = Wine(key + "_idle_cpu_ms_per_min");
      Add({"idle CPU per minute, " + WineLabel(),
           "nothing happens; poller every " + std::to_string(period) + " ms over " +
               Format("%.0f", Wine(key + "_windows")) + " top-level windows",
           Format("%.1f ms", Wine("hook_idle_cpu_ms_per_min")),
           Format("%.0f ms CPU", cpu) + " (" + Format("%.2f ms", cpu * period / 60000.0) +
               " per poll); " + Format("%.0f ms", Wine(key + "_busy_ms_per_min")) +
               " busy by the clock",
           "the hook has no thread and no timer"});
    }
    double file = Wine("dll_file_bytes");
    Add({"module size, " + WineLabel(), "lunet.dll file, stripped", Bytes(file), "",
         file <= 0           ? ""
         : file <= 32 * 1024 ? "goal ≤ 64 KiB met, aim 32 KiB met"
         : file <= 64 * 1024 ? "goal ≤ 64 KiB met, aim 32 KiB missed"
                             : "goal ≤ 64 KiB missed"});
    Add({"module size, " + WineLabel(), "image mapped per process (SizeOfImage)",
         Bytes(Wine("dll_image_bytes")), "", ""});
  }

  void Print(FILE* out) const {
    fprintf(out, "Machine: %ld CPUs (nproc), %s; %s\n\n", sysconf(_SC_NPROCESSORS_ONLN),
            CpuModel().c_str(), WineText("wine_version").c_str());
    fprintf(out, "| Area | Case | lunet | Alternative | Comparison |\n");
    fprintf(out, "|---|---|---|---|---|\n");
    for (const Row& row : rows_) {
      fprintf(out, "| %s | %s | %s | %s | %s |\n", row.area.c_str(), row.what.c_str(),
              row.lunet.c_str(), row.alternative.c_str(), row.comparison.c_str());
    }
  }

 private:
  const Results& results_;
  std::vector<Row> rows_;
};

}  // namespace

void PrintTable(const Results& results, FILE* out) {
  Table table(results);
  table.AddHookRows();
  table.AddPrototypeRows();
  table.AddLoadRows();
  table.AddRequestRows();
  table.AddAttachRows();
  if (!results.wine.empty()) table.AddWineRows();
  table.Print(out);
}

}  // namespace bench
