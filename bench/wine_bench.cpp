// Windows benchmark with real windows, under Wine: how soon the built lunet.dll closes a matching
// window after its title is redrawn, against a closer that polls every window on a timer; what
// each costs while nothing happens; and what mapping the module costs a process while the closer
// is on. Prints "key value" lines for the native benchmark's table.
//
//   lunet_wine_bench                        the whole run
//   lunet_wine_bench --poller MS FILE [STOP READY | --for MS]   a polling closer (child)
//   lunet_wine_bench --attach DLL           LoadLibrary of the module, timed (child)
#include <windows.h>
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forward_redraw.h"
#include "host_calls.h"
#include "rule_sets.h"

namespace {

typedef BOOL(__cdecl* LoadProc)(HGLOBAL block, LONG length);
typedef HGLOBAL(__cdecl* RequestProc)(HGLOBAL block, LONG* length);
typedef const char*(__cdecl* WineVersionProc)(void);

const int kHookTrials = 200;
const int kDesktopWindows = 50;
const DWORD kIdleMs = 6000;
const DWORD kPollerIdleMs = 8000;

[[noreturn]] void Fail(const std::string& message) {
  fprintf(stderr, "lunet_wine_bench: %s (error %lu)\n", message.c_str(), GetLastError());
  exit(1);
}

template <typename Proc>
Proc Lookup(HMODULE module, const char* name) {
  FARPROC found = GetProcAddress(module, name);
  if (!found) Fail(std::string("no export ") + name);
  Proc proc;
  memcpy(&proc, &found, sizeof proc);
  return proc;
}

double NowUs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double FileTimeMs(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 1e4;
}

// User plus kernel time of this process so far.
double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return FileTimeMs(kernel) + FileTimeMs(user);
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Max(const std::vector<double>& values) {
  return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

void Print(const std::string& key, double value) { printf("%s %.3f\n", key.c_str(), value); }

std::string ExePath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) Fail("no program path");
  return path;
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

// ---- windows of this process ----

HWND closedWindow = NULL, destroyedWindow = NULL;
double closedAt = 0, destroyedAt = 0;

// WM_CLOSE is where a closer's work ends; WM_DESTROY is where the window is gone.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE && closedWindow != window) {
    closedAt = NowUs();
    closedWindow = window;
  }
  if (message == WM_DESTROY) {
    destroyedAt = NowUs();
    destroyedWindow = window;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterWindowClass(const std::string& name) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(NULL);
  windowClass.lpszClassName = name.c_str();
  if (!RegisterClassA(&windowClass)) Fail("cannot register window class " + name);
}

HWND MakeWindow(const std::string& className, const std::string& title) {
  HWND window = CreateWindowExA(0, className.c_str(), title.c_str(), WS_POPUP | WS_VISIBLE, 0, 0,
                                160, 40, NULL, NULL, GetModuleHandleA(NULL), NULL);
  if (!window) Fail("cannot create a window of class " + className);
  return window;
}

void PumpPending() {
  MSG message;
  while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Serves this thread's messages until the handle is signalled (when given) or the time is up;
// true when the handle was signalled.
bool PumpWhileWaiting(HANDLE handle, DWORD ms) {
  double end = NowUs() + ms * 1e3;
  for (;;) {
    PumpPending();
    double left = (end - NowUs()) / 1e3;
    if (left <= 0) return false;
    DWORD count = handle ? 1 : 0;
    DWORD woke = MsgWaitForMultipleObjects(count, handle ? &handle : NULL, FALSE,
                                           static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    if (handle && woke == WAIT_OBJECT_0) return true;
  }
}

// Times from a start to the window's WM_CLOSE and to its WM_DESTROY, over many windows.
class Latencies {
 public:
  // Serves messages until the window is destroyed, or destroys it after the timeout.
  void Measure(HWND window, double start, DWORD timeoutMs) {
    double end = NowUs() + timeoutMs * 1e3;
    while (destroyedWindow != window) {
      PumpPending();
      if (destroyedWindow == window) break;
      double left = (end - NowUs()) / 1e3;
      if (left <= 0) {
        DestroyWindow(window);
        ++failures_;
        return;
      }
      MsgWaitForMultipleObjects(0, NULL, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
    close_.push_back(closedAt - start);
    destroy_.push_back(destroyedAt - start);
  }

  void Print(const std::string& prefix) const {
    ::Print(prefix + "_close_median_us", Median(close_));
    ::Print(prefix + "_close_max_us", Max(close_));
    ::Print(prefix + "_latency_median_us", Median(destroy_));
    ::Print(prefix + "_latency_max_us", Max(destroy_));
    ::Print(prefix + "_trials", static_cast<double>(destroy_.size()));
    ::Print(prefix + "_failures", failures_);
  }

 private:
  std::vector<double> close_, destroy_;
  int failures_ = 0;
};

// ---- the module through its exports, as the host drives it ----

class Module {
 public:
  explicit Module(const std::string& path) : path_(path) {
    handle_ = LoadLibraryA(path.c_str());
    if (!handle_) Fail("cannot load " + path);
    load_ = Lookup<LoadProc>(handle_, "load");
    request_ = Lookup<RequestProc>(handle_, "request");
  }
  ~Module() { FreeLibrary(handle_); }

  void Load(const std::string& directory) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, directory.size());
    memcpy(block, directory.data(), directory.size());
    load_(block, static_cast<LONG>(directory.size()));
  }

  void Switch(bool on) {
    if (bench::RoundTrip(request_, bench::ChoiceText(on ? "on" : "off")) != 72) {
      Fail("the closer did not answer the switch");
    }
  }

  void PrintSize() const {
    const BYTE* base = reinterpret_cast<const BYTE*>(handle_);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    Print("dll_image_bytes", nt->OptionalHeader.SizeOfImage);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &data)) {
      Print("dll_file_bytes", data.nFileSizeLow);
    }
  }

 private:
  std::string path_;
  HMODULE handle_;
  LoadProc load_;
  RequestProc request_;
};

// ---- child processes ----

class Child {
 public:
  explicit Child(const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE write;
    if (!CreatePipe(&read_, &write, &inherit, 0)) Fail("no pipe");
    SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = "\"" + ExePath() + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, TRUE, 0, NULL, NULL, &startup, &info_)) {
      Fail("cannot start " + command);
    }
    CloseHandle(write);
    CloseHandle(info_.hThread);
  }
  ~Child() {
    CloseHandle(info_.hProcess);
    CloseHandle(read_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Waits for the child's end while serving this thread's windows; returns what it printed.
  std::string Finish() {
    std::string output;
    char buffer[512];
    for (;;) {
      if (PumpWhileWaiting(info_.hProcess, 1000)) break;
      DWORD available = 0;
      // Keep the pipe drained so a talkative child never blocks.
      while (PeekNamedPipe(read_, NULL, 0, NULL, &available, NULL) && available) {
        DWORD got = 0;
        if (!ReadFile(read_, buffer, sizeof buffer, &got, NULL) || !got) break;
        output.append(buffer, got);
      }
    }
    DWORD got = 0;
    while (ReadFile(read_, buffer, sizeof buffer, &got, NULL) && got) output.append(buffer, got);
    DWORD code = 1;
    GetExitCodeProcess(info_.hProcess, &code);
    if (code != 0) Fail("a child process failed: " + output);
    return output;
  }

 private:
  HANDLE read_;
  PROCESS_INFORMATION info_;
};

// The value after "key " in a child's output, or -1.
double Field(const std::string& output, const std::string& key) {
  size_t at = output.find(key + " ");
  return at == std::string::npos ? -1 : atof(output.c_str() + at + key.size() + 1);
}

// ---- the polling closer, as users run one instead of a hook ----

struct PollRules {
  std::vector<std::string> classes;
  std::vector<std::string> titles;
};

PollRules ReadPollRules(const char* path) {
  PollRules rules;
  FILE* in = fopen(path, "rb");
  if (!in) Fail(std::string("poller: no rules at ") + path);
  char line[1024];
  while (fgets(line, sizeof line, in)) {
    line[strcspn(line, "\r\n")] = 0;
    char* comma = strchr(line, ',');
    if (!comma) continue;
    *comma = 0;
    char* value = comma + 1;
    value[strcspn(value, ",")] = 0;
    if (_stricmp(line, "class") == 0) rules.classes.push_back(value);
    if (_stricmp(line, "title") == 0) rules.titles.push_back(value);
  }
  fclose(in);
  return rules;
}

struct Poll {
  const PollRules* rules;
  int windows;
};

// The same test as the hook's: the class first, the title only for a listed class.
BOOL CALLBACK PollWindow(HWND window, LPARAM context) {
  Poll* poll = reinterpret_cast<Poll*>(context);
  ++poll->windows;
  char name[256];
  if (GetClassNameA(window, name, sizeof name) <= 0) return TRUE;
  bool listed = false;
  for (const std::string& rule : poll->rules->classes) {
    if (_stricmp(name, rule.c_str()) == 0) {
      listed = true;
      break;
    }
  }
  if (!listed) return TRUE;
  char title[256];
  if (GetWindowTextA(window, title, sizeof title) <= 0) title[0] = 0;
  for (const std::string& fragment : poll->rules->titles) {
    if (strstr(title, fragment.c_str())) {
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    }
  }
  return TRUE;
}

// Polls every period until the stop event (latency runs) or for a fixed time (idle runs), and
// prints its polls, the time they took by the clock, and the CPU time of the process.
int RunPoller(int argc, char** argv) {
  if (argc < 5) Fail("poller: arguments");
  UINT period = static_cast<UINT>(atoi(argv[2]));
  PollRules rules = ReadPollRules(argv[3]);
  bool timed = strcmp(argv[4], "--for") == 0;
  DWORD forMs = timed ? static_cast<DWORD>(atoi(argv[5])) : 0;
  HANDLE stop = timed ? NULL : OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
  HANDLE ready = timed || argc < 6 ? NULL : OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[5]);
  if (!timed && (!stop || !ready)) Fail("poller: no events");

  if (!SetTimer(NULL, 0, period, NULL)) Fail("poller: no timer");
  Poll poll = {&rules, 0};
  int polls = -1;  // the first poll warms up and is not counted
  double busyUs = 0, startUs = 0, startCpu = 0, lastWindows = 0;
  for (;;) {
    DWORD wait = INFINITE;
    if (timed && polls >= 0) {
      double left = forMs - (NowUs() - startUs) / 1e3;
      if (left <= 0) break;
      wait = static_cast<DWORD>(left) + 1;
    }
    DWORD woke = MsgWaitForMultipleObjects(stop ? 1 : 0, stop ? &stop : NULL, FALSE, wait,
                                           QS_ALLINPUT);
    if (stop && woke == WAIT_OBJECT_0) break;
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
      if (message.message != WM_TIMER) continue;
      double before = NowUs();
      poll.windows = 0;
      EnumWindows(PollWindow, reinterpret_cast<LPARAM>(&poll));
      lastWindows = poll.windows;
      if (polls < 0) {
        startUs = NowUs();
        startCpu = ProcessCpuMs();
        if (ready) SetEvent(ready);
      } else {
        busyUs += NowUs() - before;
      }
      ++polls;
    }
  }
  double elapsedMs = (NowUs() - startUs) / 1e3;
  printf("polls %d\nbusy_us %.1f\ncpu_ms %.3f\nelapsed_ms %.1f\nwindows %.0f\n", polls, busyUs,
         ProcessCpuMs() - startCpu, elapsedMs, lastWindows);
  return 0;
}

// ---- mapping the module into a process while the closer is on ----

// Bytes in use on the runtime heap, which both this program and the module allocate from.
double HeapInUse() {
  _HEAPINFO entry = {};
  double bytes = 0;
  int status;
  while ((status = _heapwalk(&entry)) == _HEAPOK) {
    if (entry._useflag == _USEDENTRY) bytes += static_cast<double>(entry._size);
  }
  return status == _HEAPEND ? bytes : -1;
}

int RunAttach(int argc, char** argv) {
  if (argc < 3) Fail("attach: arguments");
  double heapBefore = HeapInUse();
  double start = NowUs();
  HMODULE module = LoadLibraryA(argv[2]);
  double us = NowUs() - start;
  if (!module) Fail("attach: cannot load the module");
  double heapAfter = HeapInUse();
  printf("us %.1f\nheap_bytes %.0f\n", us,
         heapBefore >= 0 && heapAfter >= 0 ? heapAfter - heapBefore : -1);
  FreeLibrary(module);
  return 0;
}

// ---- the whole run ----

class PluginDir {
 public:
  PluginDir() {
    char temp[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, temp)) Fail("no temp directory");
    path_ = std::string(temp) + "lunet-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    if (!CreateDirectoryA(path_.c_str(), NULL)) Fail("cannot make " + path_);
  }
  ~PluginDir() {
    DeleteFileA(File("killwnd.txt").c_str());
    DeleteFileA(File("config.dat").c_str());
    RemoveDirectoryA(path_.c_str());
  }
  PluginDir(const PluginDir&) = delete;
  PluginDir& operator=(const PluginDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const char* name) const { return path_ + name; }
  void WriteRules(const std::string& text) const {
    if (!bench::WriteFile(File("killwnd.txt"), text)) Fail("cannot write the rules");
  }

 private:
  std::string path_;
};

// Time from the forwarded redraw to WM_CLOSE and WM_DESTROY of a matching window, closer on.
void MeasureHook(const bench::RuleFile& rules) {
  const std::string& adClass = rules.classes.back();
  std::string adTitle = "Great news - " + rules.titles.back() + " - Browser";
  Latencies warmUp, latencies;
  // The first trials load the rules into this process, which mapped the module while off.
  for (int trial = -3; trial < kHookTrials; ++trial) {
    HWND window = MakeWindow(adClass, adTitle);
    PumpPending();
    double start = NowUs();
    if (!ForwardRedraw(window)) Fail("the redraw was not forwarded");
    (trial < 0 ? warmUp : latencies).Measure(window, start, 2000);
  }
  latencies.Print("hook");
}

// The forwarder's own cost, and with the closer on the hook's work on a window it leaves alone.
double ForwardPlainMedianUs(HWND plain) {
  std::vector<double> times;
  for (int i = 0; i < 100; ++i) {
    double start = NowUs();
    ForwardRedraw(plain);
    times.push_back(NowUs() - start);
    PumpPending();
  }
  return Median(times);
}

void MeasureIdle(const char* key) {
  double startCpu = ProcessCpuMs();
  PumpWhileWaiting(NULL, kIdleMs);
  Print(key, (ProcessCpuMs() - startCpu) * 60000.0 / kIdleMs);
}

void MeasureAttach(const PluginDir& dir, const std::string& dllPath) {
  for (uint32_t rules : {10u, 1000u, 100000u}) {
    dir.WriteRules(bench::MakeRules(rules / 4, rules - rules / 4).text);
    std::vector<double> times, heap;
    for (int run = 0; run < 3; ++run) {
      Child child("--attach \"" + dllPath + "\"");
      std::string output = child.Finish();
      times.push_back(Field(output, "us"));
      heap.push_back(Field(output, "heap_bytes"));
    }
    std::string key = "attach_" + std::to_string(rules);
    Print(key + "_us", Median(times));
    Print(key + "_heap_bytes", Median(heap));
  }
}

void MeasurePoller(int period, const bench::RuleFile& rules, const PluginDir& dir) {
  std::string key = "poll" + std::to_string(period);
  std::string rulesPath = "\"" + dir.File("killwnd.txt") + "\"";
  {
    Child idle("--poller " + std::to_string(period) + " " + rulesPath + " --for " +
               std::to_string(kPollerIdleMs));
    std::string output = idle.Finish();
    double elapsed = Field(output, "elapsed_ms"), polls = Field(output, "polls");
    Print(key + "_idle_cpu_ms_per_min", Field(output, "cpu_ms") * 60000.0 / elapsed);
    Print(key + "_busy_ms_per_min", Field(output, "busy_us") / 1e3 * 60000.0 / elapsed);
    Print(key + "_busy_us_per_poll", polls > 0 ? Field(output, "busy_us") / polls : -1);
    Print(key + "_windows", Field(output, "windows"));
  }
  std::string suffix = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(period);
  std::string stopName = "lunet-bench-stop-" + suffix, readyName = "lunet-bench-ready-" + suffix;
  HANDLE stop = CreateEventA(NULL, TRUE, FALSE, stopName.c_str());
  HANDLE ready = CreateEventA(NULL, TRUE, FALSE, readyName.c_str());
  Child poller("--poller " + std::to_string(period) + " " + rulesPath + " " + stopName + " " +
               readyName);
  if (!PumpWhileWaiting(ready, 10000)) Fail("the poller did not start");
  const std::string& adClass = rules.classes.back();
  std::string adTitle = "Great news - " + rules.titles.back() + " - Browser";
  Latencies latencies;
  int trials = period <= 100 ? 30 : 16;
  uint32_t seed = 12345;
  for (int trial = 0; trial < trials; ++trial) {
    // A random phase against the poller's timer, as an ad appears whenever it likes.
    seed = seed * 1103515245u + 12345u;
    PumpWhileWaiting(NULL, (seed >> 8) % static_cast<uint32_t>(period));
    HWND window = MakeWindow(adClass, adTitle);
    latencies.Measure(window, NowUs(), 10 * period + 2000);
  }
  SetEvent(stop);
  poller.Finish();
  CloseHandle(stop);
  CloseHandle(ready);
  latencies.Print(key);
}

int RunAll() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  FARPROC version = ntdll ? GetProcAddress(ntdll, "wine_get_version") : NULL;
  if (version) {
    WineVersionProc wineVersion;
    memcpy(&wineVersion, &version, sizeof wineVersion);
    printf("wine_version Wine %s\n", wineVersion());
  }
  printf("wine_build %d-bit\n", static_cast<int>(sizeof(void*) * 8));
  std::string dllPath = DirectoryOf(ExePath()) + "lunet.dll";
  PluginDir dir;
  bench::RuleFile rules = bench::MakeRules(100, 100);
  dir.WriteRules(rules.text);

  Module module(dllPath);
  module.PrintSize();
  module.Load(dir.path());
  module.Switch(true);
  RegisterWindowClass(rules.classes.back());
  RegisterWindowClass(bench::kPlainClass);
  if (!StartRedrawForwarding()) Fail("cannot forward redraws");

  MeasureHook(rules);
  std::vector<HWND> desktop;
  for (int i = 0; i < kDesktopWindows; ++i) {
    desktop.push_back(MakeWindow(bench::kPlainClass, "Document " + std::to_string(i)));
  }
  PumpPending();
  Print("forward_plain_on_median_us", ForwardPlainMedianUs(desktop[0]));
  MeasureIdle("hook_idle_cpu_ms_per_min");
  MeasureAttach(dir, dllPath);
  dir.WriteRules(rules.text);

  module.Switch(false);
  Print("forward_only_median_us", ForwardPlainMedianUs(desktop[0]));
  MeasurePoller(100, rules, dir);
  MeasurePoller(250, rules, dir);

  for (HWND window : desktop) DestroyWindow(window);
  PumpPending();
  StopRedrawForwarding();
  fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && strcmp(argv[1], "--poller") == 0) return RunPoller(argc, argv);
  if (argc > 1 && strcmp(argv[1], "--attach") == 0) return RunAttach(argc, argv);
  return RunAll();
}
