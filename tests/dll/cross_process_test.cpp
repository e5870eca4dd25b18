// The closer across processes: a browser stand-in whose matching window the injected module
// closes, a second process that maps the module itself and shares the switch, and a second
// process that maps it at another address before the host switches on.
#include <gtest/gtest.h>
#include <stdio.h>

#include "debug_listener.h"
#include "dll/plugin_host.h"
#include "harness/captured_process.h"
#include "harness/forward_redraw.h"
#include "harness/japanese_system.h"
#include "harness/recording_window.h"
#include "harness/windows_kit.h"
#include "message_pump.h"
#include "owned.h"
#include "text.h"

namespace {

const char kRules[] =
    "// pop-ups of the test browser\r\n"
    "class,AdFrame\r\n"
    "title,Special offer\r\n";

class CrossProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    adwindows = BuiltFile("LUNET_ADWINDOWS");
    probe = BuiltFile("LUNET_PROBE");
    rules = BuiltFile("LUNET_RULES");
    ASSERT_FALSE(adwindows.empty()) << "LUNET_ADWINDOWS must name lunet-adwindows.exe";
    ASSERT_FALSE(probe.empty()) << "LUNET_PROBE must name lunet-probe.exe";
    ASSERT_FALSE(rules.empty()) << "LUNET_RULES must name lunet-rules.exe";
    ASSERT_FALSE(host.dllPath.empty()) << "LUNET_DLL must name the built lunet.dll";
    host.dir.Write("killwnd.txt", ruleText);
    ASSERT_TRUE(host.Map());
    ASSERT_EQ(1, host.Load());
  }
  void TearDown() override {
    // Leave the closer off and the module unmapped whatever happened above.
    if (host.handle()) host.Choose("off");
    host.Unmap();
  }

  static std::string CommandLine(const std::string& program,
                                 const std::vector<std::string>& arguments) {
    std::string commandLine = QuotedArgument(program);
    for (const std::string& argument : arguments) commandLine += " " + QuotedArgument(argument);
    return commandLine;
  }

  // Runs program with the arguments to its end; its standard output. It must succeed.
  static std::string Run(const std::string& program, const std::vector<std::string>& arguments) {
    CapturedProcess child(CommandLine(program, arguments));
    EXPECT_EQ(0u, child.Finish()) << child.output();
    return child.output();
  }

  std::vector<WindowFate> OpenWindows(const std::vector<std::string>& windows) {
    std::vector<std::string> arguments = {"--hold", "500"};
    arguments.insert(arguments.end(), windows.begin(), windows.end());
    return ParseWindowFates(Run(adwindows, arguments));
  }

  std::string Probe(const std::vector<std::string>& options) {
    std::vector<std::string> arguments = {host.dllPath};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return Run(probe, arguments);
  }

  // The closer switched on with the listener already taking its close reports.
  ::testing::AssertionResult ListenAndSwitchOn(DebugListener& listener) {
    std::string error;
    if (!listener.Open(error)) return ::testing::AssertionFailure() << error;
    host.Choose("on");
    return ::testing::AssertionSuccess();
  }

  std::string ruleText = kRules;
  PluginHost host;
  std::string adwindows;
  std::string probe;
  std::string rules;
};

const std::vector<std::string> kWindows = {
    "AdFrame=Special offer: 50% off",  // the one to close
    "NoteFrame=Special offer",         // other class
    "AdFrame=Weather today",           // right class, other title
};

void ExpectOnlyTheAdClosed(const std::vector<WindowFate>& fates) {
  EXPECT_EQ("closed", FateOf(fates, "AdFrame Special offer: 50% off"));
  EXPECT_EQ("open", FateOf(fates, "NoteFrame Special offer"));
  EXPECT_EQ("open", FateOf(fates, "AdFrame Weather today"));
}

TEST_F(CrossProcessTest, InjectedCloserClosesOnlyTheMatchingWindow) {
  std::vector<WindowFate> before = OpenWindows(kWindows);
  ASSERT_EQ(3u, before.size());
  EXPECT_EQ("open", FateOf(before, "AdFrame Special offer: 50% off"));

  EXPECT_EQ(Sent(answer::kNowEnabled), host.Choose("on").bytes);
  ExpectOnlyTheAdClosed(OpenWindows(kWindows));

  EXPECT_EQ(Sent(answer::kNowDisabled), host.Choose("off").bytes);
  EXPECT_EQ("open", FateOf(OpenWindows(kWindows), "AdFrame Special offer: 50% off"));
}

TEST_F(CrossProcessTest, SecondProcessSharesTheSwitchAndTheDirectory) {
  host.Choose("on");
  // Another directory whose marker and rules would change everything if load took it.
  TempDir other;
  other.Write("config.dat", "Enabled");
  other.Write("killwnd.txt", "class,NoteFrame\r\ntitle,Special offer\r\n");
  // The probe prints only the menu's length, which tells the two menus apart.
  const size_t menuOn = Sent(answer::Menu(true)).size();
  ASSERT_NE(Sent(answer::Menu(false)).size(), menuOn);
  std::string output = Probe({"--menu", "--load", other.path()});
  std::vector<std::string> lines = Lines(output);
  ASSERT_EQ(3u, lines.size()) << output;
  EXPECT_EQ("menu " + std::to_string(menuOn), lines[1]);  // the second process sees it on
  EXPECT_EQ("load 1", lines[2]);

  EXPECT_TRUE(Answered(host.AskId("OnMenuExec"), answer::Menu(true), static_cast<LONG>(menuOn)));
  ExpectOnlyTheAdClosed(OpenWindows(kWindows));
}

TEST_F(CrossProcessTest, SwitchOnWorksAfterAnotherProcessMappedTheModuleElsewhere) {
  const SharedStateRecord* shared = host.Shared();
  ASSERT_TRUE(shared);
  EXPECT_EQ(host.handle(), shared->module);

  std::string output = Probe({"--reserve-base"});
  unsigned long long preferred = 0, loaded = 0;
  ASSERT_EQ(2, sscanf(output.c_str(), "preferred 0x%llx loaded 0x%llx", &preferred, &loaded))
      << output;
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(host.handle()), preferred);
  ASSERT_NE(preferred, loaded) << "the loader did not relocate the module";

  // The second process's attach recorded its own address, which names no module here: a hook
  // installed with the shared handle would fail.
  EXPECT_EQ(loaded, reinterpret_cast<UINT_PTR>(shared->module));
  HOOKPROC procedure = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(host.notify));
  OwnedHook wrong(SetWindowsHookExA(WH_SHELL, procedure, shared->module, 0));
  EXPECT_FALSE(wrong.valid());

  EXPECT_EQ(Sent(answer::kNowEnabled), host.Choose("on").bytes);
  EXPECT_TRUE(shared->hook != NULL);
  ExpectOnlyTheAdClosed(OpenWindows(kWindows));
}

// True once a debug-output listener holds the desktop's buffer, within 10 s.
bool ListenerStarted() {
  for (int waited = 0; waited < 10000; waited += 20) {
    KernelHandle ready(OpenEventA(SYNCHRONIZE, FALSE, "DBWIN_BUFFER_READY"));
    if (ready.valid()) return true;
    Sleep(20);
  }
  return false;
}

// lunet-rules watch while the injected closer works in another process: each close with the
// process, the texts the hook read and the rules that matched; a second listener is turned away.
TEST_F(CrossProcessTest, WatchShowsEachCloseWithTheRulesThatMatched) {
  CapturedProcess watch(CommandLine(rules, {"watch", host.dir.path(), "--count", "2"}));
  EXPECT_TRUE(ListenerStarted());
  CapturedProcess second(CommandLine(rules, {"watch", host.dir.path()}), true);
  // Refused with the status for "cannot be done here" and a word of why, in whatever wording.
  EXPECT_EQ(4u, second.Finish()) << second.output();
  EXPECT_FALSE(second.output().empty());
  host.Choose("on");
  std::vector<WindowFate> fates =
      OpenWindows({"AdFrame=Special offer: 50% off", "AdFrame=Weather today",
                   "AdFrame=Special offer \"now\" C:\\ads\\"});
  EXPECT_EQ("open", FateOf(fates, "AdFrame Weather today"));
  EXPECT_EQ(0u, watch.Finish());
  std::vector<std::string> lines = Lines(watch.output());
  ASSERT_EQ(4u, lines.size()) << watch.output();
  const std::string rulesAt = " by class rule \"AdFrame\" (" + host.dir.path() +
                              "killwnd.txt:2) and title fragment \"Special offer\" (" +
                              host.dir.path() + "killwnd.txt:3)";
  EXPECT_NE(std::string::npos, lines[1].find("  lunet-adwindows.exe (pid ")) << lines[1];
  EXPECT_NE(
      std::string::npos,
      lines[1].find(")  closed class \"AdFrame\" title \"Special offer: 50% off\" " + rulesAt))
      << lines[1];
  EXPECT_NE(std::string::npos,
            lines[2].find(" title \"Special offer \"now\" C:\\ads\\\" " + rulesAt))
      << lines[2];
  EXPECT_EQ("2 closes seen", lines[3]);
}

// After the rules are edited, a program that already runs keeps the rules it read, even when the
// closer is switched off and on again: Wine keeps a hook's module mapped in every process it
// reached (Windows may unmap it some time after unhooking, so that a later switch-on reads the
// files anew). Users are told to restart such programs, which holds on both; a program started
// after the edit uses the new rules.
TEST_F(CrossProcessTest, RunningProgramsKeepTheirRulesUntilRestarted) {
  DebugListener listener;
  ASSERT_TRUE(ListenAndSwitchOn(listener));
  CapturedProcess running(
      CommandLine(adwindows, {"--hold", "4000", "--again", "3000", "AdFrame=Special offer: 50% off",
                              "AdFrame=Deal of the day"}));
  // Its first close report: the module has read the rules in that process.
  DWORD processId = 0;
  std::string report;
  EXPECT_TRUE(NextReport(listener, 5000, processId, report));
  host.dir.Write("killwnd_custom.txt", "title,Deal of the day\r\n");
  host.Choose("off");
  host.Choose("on");
  EXPECT_EQ(0u, running.Finish());
  std::vector<WindowFate> fates = ParseWindowFates(running.output());
  EXPECT_EQ("closed", FateOf(fates, "AdFrame Special offer: 50% off")) << running.output();
  EXPECT_EQ("open", FateOf(fates, "AdFrame Deal of the day")) << running.output();
  EXPECT_EQ("closed", FateOf(OpenWindows({"AdFrame=Deal of the day"}), "AdFrame Deal of the day"));
}

// Closes the window through this process's own copy of the hook, as the system does for a
// program of the other bitness; the milliseconds until WM_CLOSE arrived.
double CloseHere(RecordingWindow& window) {
  double start = NowUs();
  EXPECT_TRUE(ForwardRedraw(window.handle()));
  for (int waited = 0; waited < 20000 && !window.closedAt(); ++waited) PumpMessages(1);
  EXPECT_NE(0, window.closedAt()) << "no WM_CLOSE came";
  return (window.closedAt() - start) / 1000;
}

// A debug viewer that takes a report and stalls (another process) costs the closing program
// nothing: each close is as quick as without it, the reports it could not take are counted,
// and the first report after it lets go says how many.
TEST_F(CrossProcessTest, StalledListenerHoldsUpNoClose) {
  KernelHandle letGo(CreateEventA(NULL, TRUE, FALSE, "lunet-test-let-go"));
  ASSERT_TRUE(letGo.valid());
  CapturedProcess viewer(CommandLine(probe, {"--stall-debug-output", "lunet-test-let-go"}), true);
  EXPECT_TRUE(ListenerStarted());
  host.Choose("on");
  auto forwarding = std::make_unique<RedrawForwarding>();
  ASSERT_TRUE(forwarding->started());
  std::vector<std::unique_ptr<RecordingWindow>> ads;
  for (int i = 0; i < 6; ++i) {
    ads.emplace_back(new RecordingWindow("AdFrame", "Special offer " + std::to_string(i),
                                         RecordingWindow::kDestroy));
  }
  EXPECT_LT(CloseHere(*ads[0]), 1000);  // its report is the one the viewer keeps
  for (int i = 1; i <= 4; ++i) EXPECT_LT(CloseHere(*ads[i]), 1000) << "ad " << i;
  // The viewer hands the buffer back once let go; taken here and handed on again, so that the
  // next report finds it free.
  KernelHandle bufferReady(
      OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, "DBWIN_BUFFER_READY"));
  ASSERT_TRUE(bufferReady.valid());
  SetEvent(letGo.get());
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(bufferReady.get(), 10000))
      << "the viewer never handed the buffer back";
  SetEvent(bufferReady.get());
  EXPECT_LT(CloseHere(*ads[5]), 1000);
  forwarding.reset();
  EXPECT_EQ(0u, viewer.Finish()) << viewer.output();
  std::vector<std::string> lines = Lines(viewer.output());
  ASSERT_EQ(3u, lines.size()) << viewer.output();
  const std::string mine = "text " + std::to_string(GetCurrentProcessId()) +
                           " lunet: close pid=" + std::to_string(GetCurrentProcessId()) + " ";
  EXPECT_EQ(0u, lines[1].find(mine)) << lines[1];
  EXPECT_NE(std::string::npos, lines[1].find(" title=\"Special offer 0\"")) << lines[1];
  EXPECT_EQ(std::string::npos, lines[1].find("dropped")) << lines[1];
  EXPECT_EQ(0u, lines[2].find(mine)) << lines[2];
  EXPECT_NE(std::string::npos, lines[2].find(" title=\"Special offer 5\" dropped=4")) << lines[2];
}

// A window of another process checked here, as the host checks those of the other bitness: the
// report names the window's process, while the buffer names the writer.
TEST_F(CrossProcessTest, ReportNamesTheWindowsOwnProcess) {
  CapturedProcess browser(
      CommandLine(adwindows, {"--hold", "3000", "AdFrame=Special offer elsewhere"}));
  HWND window = NULL;
  for (int waited = 0; waited < 10000 && !window; waited += 20) {
    window = FindWindowA("AdFrame", "Special offer elsewhere");
    if (!window) Sleep(20);
  }
  ASSERT_TRUE(window);
  // Answered once the browser reads its messages, which it first does after its own
  // notification has gone by, while the closer was off (WaitForInputIdle refuses a console
  // program).
  DWORD_PTR ignored = 0;
  ASSERT_TRUE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored))
      << "the browser never read its messages";
  DebugListener listener;
  ASSERT_TRUE(ListenAndSwitchOn(listener));
  {
    RedrawForwarding forwarding;
    ASSERT_TRUE(forwarding.started());
    EXPECT_TRUE(ForwardRedraw(window));
  }
  DWORD writer = 0;
  std::string report;
  ASSERT_TRUE(NextReport(listener, 5000, writer, report));
  EXPECT_EQ(GetCurrentProcessId(), writer);
  EXPECT_EQ(0u, report.find("lunet: close pid=" + std::to_string(browser.id()) + " ")) << report;
  EXPECT_EQ(0u, browser.Finish());
  EXPECT_EQ("closed",
            FateOf(ParseWindowFates(browser.output()), "AdFrame Special offer elsewhere"));
}

// watch whose output nobody reads (a frozen console, a full pipe) still hands the buffer back
// at once, so closes go on undelayed; it counts what its queue could not hold and says so.
TEST_F(CrossProcessTest, WatchWithBlockedOutputHoldsUpNoClose) {
  CapturedProcess watch(CommandLine(rules, {"watch", host.dir.path(), "--count", "40"}));
  ASSERT_TRUE(ListenerStarted());
  KernelHandle bufferReady(
      OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, "DBWIN_BUFFER_READY"));
  ASSERT_TRUE(bufferReady.valid());
  host.Choose("on");
  auto forwarding = std::make_unique<RedrawForwarding>();
  ASSERT_TRUE(forwarding->started());
  RecordingWindow ad("AdFrame", "Special offer, again and again", RecordingWindow::kKeep);
  double slowest = 0;
  const int kCloses = 1000;  // more than the pipe and the queue hold
  for (int i = 0; i < kCloses; ++i) {
    // Paced by the listener: each report is read before the next close, so none is dropped in
    // the module and every one reaches watch's queue.
    if (WaitForSingleObject(bufferReady.get(), 5000) != WAIT_OBJECT_0) {
      ADD_FAILURE() << "watch stopped handing the buffer back after " << i << " reports";
      break;
    }
    SetEvent(bufferReady.get());
    double start = NowUs();
    ForwardRedraw(ad.handle());
    slowest = std::max(slowest, (NowUs() - start) / 1000);
  }
  PumpPending();
  forwarding.reset();
  EXPECT_EQ(kCloses, ad.closes());
  EXPECT_LT(slowest, 1000);
  EXPECT_EQ(0u, watch.Finish());
  std::vector<std::string> lines = Lines(watch.output());
  ASSERT_GE(lines.size(), 3u) << watch.output();
  std::string missed;
  for (const std::string& line : lines) {
    if (line.find("  missed ") != std::string::npos) missed = line;
  }
  EXPECT_NE(std::string::npos, missed.find(" reports between ")) << watch.output();
  EXPECT_EQ(0u, lines.back().find("40 closes seen, ")) << lines.back();
  EXPECT_NE(std::string::npos, lines.back().find(" missed")) << lines.back();
}

// The same road on a Japanese system, as most users have it: the rule saved in Shift_JIS, as
// Notepad saves "ANSI" there, and titles in it.
class JapaneseCrossProcess : public CrossProcessTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OnJapaneseSystem());
    ruleText = std::string("class,AdFrame\r\ntitle,") + kLimitedTime.shiftJis + "\r\n";
    CrossProcessTest::SetUp();
  }
};

TEST_F(JapaneseCrossProcess, InjectedCloserClosesShiftJisTitlesWithTheRule) {
  host.Choose("on");
  const std::string ad = std::string("AdFrame=") + kSaleTitle.shiftJis;
  std::vector<WindowFate> fates = OpenWindows({ad, std::string("NoteFrame=") + kSaleTitle.shiftJis,
                                               std::string("AdFrame=") + kWeatherTitle.shiftJis});
  EXPECT_EQ("closed", FateOf(fates, std::string("AdFrame ") + kSaleTitle.utf8));
  EXPECT_EQ("open", FateOf(fates, std::string("NoteFrame ") + kSaleTitle.utf8));
  EXPECT_EQ("open", FateOf(fates, std::string("AdFrame ") + kWeatherTitle.utf8));
}

// watch prints the title as the console shows it, and logs it in the system's code page, as
// the rule files are written; the messages around it may be in either language.
TEST_F(JapaneseCrossProcess, WatchPrintsAndLogsTheTitle) {
  const std::string log = host.dir.File("watch.log");
  CapturedProcess watch(
      CommandLine(rules, {"watch", host.dir.path(), "--count", "1", "--log", log}));
  ASSERT_TRUE(ListenerStarted());
  host.Choose("on");
  EXPECT_EQ("closed", FateOf(OpenWindows({std::string("AdFrame=") + kSaleTitle.shiftJis}),
                             std::string("AdFrame ") + kSaleTitle.utf8));
  // Without a close watch would wait for one for ever.
  if (watch.Wait(10000) == STILL_ACTIVE) watch.Terminate(1);
  EXPECT_EQ(0u, watch.Finish());
  const std::string& printed = watch.output();
  EXPECT_NE(std::string::npos, printed.find(kSaleTitle.utf8)) << printed;
  EXPECT_NE(std::string::npos, printed.find(kLimitedTime.utf8)) << printed;
  EXPECT_NE(std::string::npos, printed.find("killwnd.txt:2")) << printed;
  const std::string logged = ReadFileBytes(log);
  EXPECT_NE(std::string::npos, logged.find(kSaleTitle.shiftJis)) << logged;
  EXPECT_NE(std::string::npos, logged.find(kLimitedTime.shiftJis)) << logged;
  EXPECT_EQ(std::string::npos, logged.find(kSaleTitle.utf8)) << logged;
}

}  // namespace
