// Windows benchmark with real windows, under Wine: how soon the built lunet.dll closes a matching
// window after its title is redrawn, against a closer that polls every window on a timer; what
// each costs while nothing happens; and what mapping the module costs a process while the closer
// is on. Prints "key value" lines for the native benchmark's table.
//
//   lunet_wine_bench                        the whole run (this file)
//   lunet_wine_bench --poller MS FILE (STOP READY | --for MS)   a polling closer (wine_poller.cpp)
//   lunet_wine_bench --attach DLL           LoadLibrary of the module, timed (wine_attach.cpp)
#include "wine_bench.h"

#include <stdio.h>
#include <string.h>

#include <memory>

#include "harness/captured_process.h"
#include "harness/forward_redraw.h"
#include "harness/polling_closer.h"
#include "harness/temp_dir.h"
#include "harness/windows_kit.h"
#include "host_call.h"
#include "message_pump.h"
#include "plugin_module.h"

namespace wine_bench {

namespace {

const int kHookTrials = 200;
const int kDesktopWindows = 50;
const DWORD kIdleMs = 6000;

// The module through its exports, as the host drives it.
class Module {
 public:
  explicit Module(const std::string& path) : path_(path) {
    if (!module_.Map(path) || !module_.load || !module_.request) Fail("cannot load " + path);
  }

  void Load(const std::string& directory) { CallLoad(module_.load, directory); }

  void Switch(bool on) {
    if (CallRequest(module_.request, ChoiceText(on ? "on" : "off")).length != 72) {
      Fail("the closer did not answer the switch");
    }
  }

  void PrintSize() const {
    const BYTE* base = reinterpret_cast<const BYTE*>(module_.handle());
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
  PluginModule module_;
};

// Time from the forwarded redraw to WM_CLOSE and WM_DESTROY of a matching window, closer on.
void MeasureHook(const bench::RuleFile& rules) {
  Latencies warmUp, latencies;
  // The first trials load the rules into this process, which mapped the module while off.
  for (int trial = -3; trial < kHookTrials; ++trial) {
    RecordingWindow ad = OpenAd(rules);
    PumpPending();
    double start = NowUs();
    if (!ForwardRedraw(ad.handle())) Fail("the redraw was not forwarded");
    (trial < 0 ? warmUp : latencies).Measure(ad, start, 2000);
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
  PumpMessages(kIdleMs);
  Print(key, (ProcessCpuMs() - startCpu) * 60000.0 / kIdleMs);
}

void PrintWineVersion() {
  typedef const char*(__cdecl * WineVersionProc)(void);
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  FARPROC version = ntdll ? GetProcAddress(ntdll, "wine_get_version") : NULL;
  if (version) {
    WineVersionProc wineVersion;
    memcpy(&wineVersion, &version, sizeof wineVersion);
    printf("wine_version Wine %s\n", wineVersion());
  }
  printf("wine_build %d-bit\n", static_cast<int>(sizeof(void*) * 8));
}

int RunAll() {
  PrintWineVersion();
  std::string program = ProgramPath();
  std::string dllPath = program.substr(0, program.rfind('\\') + 1) + "lunet.dll";
  TempDir dir;
  if (dir.path().empty()) Fail("cannot make a plug-in directory");
  std::string rulesPath = dir.File("killwnd.txt");
  bench::RuleFile rules = bench::MakeRules(100, 100);
  if (!WriteFileBytes(rulesPath, rules.text)) Fail("cannot write the rules");

  Module module(dllPath);
  module.PrintSize();
  module.Load(dir.path());
  module.Switch(true);
  if (!StartRedrawForwarding()) Fail("cannot forward redraws");

  MeasureHook(rules);
  std::vector<std::unique_ptr<RecordingWindow>> desktop;
  for (int i = 0; i < kDesktopWindows; ++i) {
    desktop.push_back(std::make_unique<RecordingWindow>(
        bench::kPlainClass, "Document " + std::to_string(i), RecordingWindow::kDestroy,
        WS_POPUP | WS_VISIBLE, 0, 0, 160, 40));
    if (!desktop.back()->handle()) Fail("cannot create a window");
  }
  PumpPending();
  Print("forward_plain_on_median_us", ForwardPlainMedianUs(desktop[0]->handle()));
  MeasureIdle("hook_idle_cpu_ms_per_min");
  MeasureAttach(rulesPath, dllPath);
  if (!WriteFileBytes(rulesPath, rules.text)) Fail("cannot write the rules");

  module.Switch(false);
  Print("forward_only_median_us", ForwardPlainMedianUs(desktop[0]->handle()));
  MeasurePoller(100, rules, rulesPath);
  MeasurePoller(250, rules, rulesPath);

  desktop.clear();
  PumpPending();
  StopRedrawForwarding();
  fflush(stdout);
  return 0;
}

}  // namespace

}  // namespace wine_bench

int main(int argc, char** argv) {
  if (argc > 1 && strcmp(argv[1], "--poller") == 0) return RunPoller(argc, argv);
  if (argc > 1 && strcmp(argv[1], "--attach") == 0) return wine_bench::RunAttach(argc, argv);
  return wine_bench::RunAll();
}
