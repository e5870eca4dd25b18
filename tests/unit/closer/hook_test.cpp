// The window check: real windows on Windows, the stand-in desktop natively.
#include "closer/hook.h"

#include <stdio.h>

#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "owned.h"
#include "unit/closer/rules_fixture.h"
#include "unit/closer/test_desktop.h"

#ifndef _WIN32
#include "standin.h"
#endif

namespace {

class WindowCheck : public RulesFixture {
 protected:
  // One title-redraw notification for the window, as the system sends it.
  static void Redraw(const TestWindow& window) {
    ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(window.handle()), 0);
  }
  // One redraw of each window in turn; then the close requests each has had.
  static std::vector<int> RedrawEach(const std::vector<TestWindow*>& windows) {
    for (TestWindow* window : windows) Redraw(*window);
    std::vector<int> closes;
    for (TestWindow* window : windows) closes.push_back(window->CloseRequests());
    return closes;
  }
};
using Closes = std::vector<int>;

TEST_F(WindowCheck, MatchingWindowIsAskedToCloseOnEveryRedraw) {
  LoadFiles("class,AdFrame\ntitle,Special offer\n");
  TestWindow ad("AdFrame", "Today: Special offer!");
  Redraw(ad);
  EXPECT_EQ(1, ad.CloseRequests());
  Redraw(ad);
  EXPECT_EQ(2, ad.CloseRequests());
}

// Which windows one redraw each closes, under one pair of rule files.
struct CloseCase {
  const char* what;
  std::string rules, customRules;
  std::vector<std::pair<std::string, std::string>> windows;  // class, title
  Closes closes;
};

const std::string kLongClass = "C" + std::string(254, 'k');  // 255 bytes

const CloseCase kCloseCases[] = {
    {"class and fragment must both match; fragments keep letter case, class names do not",
     "class,AdFrame\ntitle,Special offer\n",
     "class,lunetcasepad\n",
     {{"AdFrame", "Ordinary page"},
      {"PlainFrame", "Special offer"},
      {"AdFrame", "special offer"},
      {"LunetCasePad", "Special offer inside"}},
     {0, 0, 0, 1}},
    {"an empty fragment closes every window of a listed class",
     "class,AdFrame\ntitle,",
     "",
     {{"AdFrame", "anything at all"}, {"AdFrame", ""}, {"PlainFrame", "anything at all"}},
     {1, 1, 0}},
    {"titles are cut after 254 bytes",
     "class," + kLongClass.substr(0, 254) + "\ntitle,AD\n",
     "",
     {{kLongClass, std::string(252, 'x') + "AD"},
      {kLongClass, std::string(253, 'x') + "AD"},
      {kLongClass, std::string(254, 'x') + "AD"}},
     {1, 0, 0}},
    {"a class name and a title of one character are read whole",
     "class,K\ntitle,X\n",
     "",
     {{"K", "X"}, {"K", "Y"}},
     {1, 0}},
    {"a class name is cut after 254 bytes too, so its full 255 are never seen",
     "class," + kLongClass + "\ntitle,AD\n",
     "",
     {{kLongClass, "AD"}},
     {0}},
};

TEST_F(WindowCheck, WhichWindowsClose) {
  for (const CloseCase& test : kCloseCases) {
    SCOPED_TRACE(test.what);
    LoadFiles(test.rules, test.customRules);
    std::vector<std::unique_ptr<TestWindow>> windows;
    std::vector<TestWindow*> each;
    for (const auto& window : test.windows) {
      windows.push_back(std::make_unique<TestWindow>(window.first, window.second));
      each.push_back(windows.back().get());
    }
    EXPECT_EQ(test.closes, RedrawEach(each));
  }
}

// The start of a close report for a window of that process.
std::string ReportStart(const TestWindow& window, DWORD processId = GetCurrentProcessId()) {
  char text[64];
  snprintf(text, sizeof text, "lunet: close pid=%lu hwnd=0x%llX ",
           static_cast<unsigned long>(processId),
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window.handle())));
  return text;
}

// One line per close, with the texts as the hook read them (at most 254 bytes) and every byte
// that could break the line or its quoting escaped; nothing for the windows left open.
TEST_F(WindowCheck, EachCloseIsReportedInOneLine) {
  CloseReports reports;
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow plain("AdFrame", "weather");
  TestWindow other("PlainFrame", "offer");
  TestWindow ad("AdFrame", "a \"special\" offer\tC:\\x\x01\x7F\xE9");
  TestWindow longTitle("AdFrame", std::string(249, 'x') + "offer" + "cut");
  std::vector<std::string> lines;
  for (TestWindow* window : {&plain, &other, &ad, &longTitle}) {
    Redraw(*window);
    for (const std::string& line : reports.Take()) lines.push_back(line);
  }
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(
      ReportStart(ad) +
          "class=\"AdFrame\" title=\"a \\x22special\\x22 offer\\x09C:\\x5Cx\\x01\\x7F\xE9\"\n",
      lines[0]);
  EXPECT_EQ(
      ReportStart(longTitle) + "class=\"AdFrame\" title=\"" + std::string(249, 'x') + "offer\"\n",
      lines[1]);
}

// A listener that keeps the buffer never holds up a close: the reports it cannot take are
// counted, and the next one that goes through carries the count. Without a listener nothing is
// counted, since nothing is lost to anyone.
TEST_F(WindowCheck, BusyListenerCostsReportsNotCloses) {
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  Redraw(ad);  // nobody listens
  CloseReports reports;
  DWORD processId = 0;
  std::string held;
  Redraw(ad);
  ASSERT_TRUE(reports.listener().Take(0, processId, held));
  EXPECT_EQ(GetCurrentProcessId(), processId);
  EXPECT_EQ(ReportStart(ad) + "class=\"AdFrame\" title=\"offer\"\n", held);
  for (int i = 0; i < 3; ++i) Redraw(ad);
  EXPECT_EQ(5, ad.CloseRequests());
  EXPECT_TRUE(reports.Take().empty());
  reports.listener().HandBack();
  Redraw(ad);
  EXPECT_EQ(
      (std::vector<std::string>{ReportStart(ad) + "class=\"AdFrame\" title=\"offer\" dropped=3\n"}),
      reports.Take());
  Redraw(ad);
  EXPECT_EQ((std::vector<std::string>{ReportStart(ad) + "class=\"AdFrame\" title=\"offer\"\n"}),
            reports.Take());
}

// A reading thread waits with no timeout: its stop event alone ends a wait with nothing to read,
// and wins over a report waiting, so that a reader flooded with reports still stops. The report
// stays for the next reader.
TEST_F(WindowCheck, StopEventEndsTheListenersWait) {
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  CloseReports reports;
  KernelHandle stop(CreateEventA(NULL, TRUE, FALSE, NULL));
  DWORD processId = 0;
  std::string text;
  Redraw(ad);
  ASSERT_TRUE(reports.listener().Take(INFINITE, processId, text, stop.get()));
  EXPECT_EQ(ReportStart(ad) + "class=\"AdFrame\" title=\"offer\"\n", text);
  reports.listener().HandBack();
  std::thread stopper([&] {
    Sleep(50);
    SetEvent(stop.get());
  });
  EXPECT_FALSE(reports.listener().Take(INFINITE, processId, text, stop.get()));
  stopper.join();
  Redraw(ad);
  EXPECT_FALSE(reports.listener().Take(INFINITE, processId, text, stop.get()));
  EXPECT_EQ(1u, reports.Take().size());
}

TEST_F(WindowCheck, OnlyTitleRedrawsAreChecked) {
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  for (int code : {HSHELL_WINDOWCREATED, HSHELL_WINDOWACTIVATED, HSHELL_WINDOWDESTROYED, 5, 7}) {
    ShellHookProc(code, reinterpret_cast<WPARAM>(ad.handle()), 0);
  }
  EXPECT_EQ(0, ad.CloseRequests());
}

// The store reads the files only while a list is empty: on the first check, and on every check
// of a matching class while the title list is empty. One window through every step.
TEST_F(WindowCheck, FilesAreReadOnlyWhileAListIsEmpty) {
  const struct {
    const char* what;
    bool load;  // loaded now, else only written for the hook to find
    const char* rules;
    int closes;  // so far
    Texts classes, titles;
  } kSteps[] = {
      {"an empty store is loaded from the plug-in folder",
       false,
       "class,AdFrame\ntitle,offer\n",
       1,
       {"AdFrame"},
       {"offer"}},
      {"while both lists hold rules, edits to the files do not reach the store",
       false,
       "class,Other\ntitle,nothing\n",
       2,
       {"AdFrame"},
       {"offer"}},
      {"class rules alone close nothing", true, "class,AdFrame\n", 2, {"AdFrame"}, {}},
      {"the empty title list makes a matching class re-read both files",
       false,
       "class,AdFrame\ntitle,offer\n",
       3,
       {"AdFrame"},
       {"offer"}},
  };
  TestWindow ad("AdFrame", "offer");
  for (const auto& step : kSteps) {
    SCOPED_TRACE(step.what);
    if (step.load) {
      LoadFiles(step.rules);
    } else {
      WriteRules(step.rules);
    }
    Redraw(ad);
    EXPECT_EQ(step.closes, ad.CloseRequests());
    EXPECT_EQ(step.classes, Classes());
    EXPECT_EQ(step.titles, Titles());
  }
}

TEST_F(WindowCheck, WindowThatIsGoneReadsAsEmptyText) {
  LoadFiles("class,\ntitle,\n");  // an empty class rule matches only an empty class name
  TestWindow gone("AdFrame", "offer");
  HWND handle = gone.handle();
  gone.Destroy();
  // Whatever the buffer held before, the check sees no text at all, neither class nor title.
  for (void (*read)(HWND, WindowText) : {ReadClassName, ReadTitle}) {
    WindowText text;
    memset(text, 'x', sizeof text - 1);
    text[sizeof text - 1] = 0;
    read(handle, text);
    EXPECT_STREQ("", text);
  }
  ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(handle), 0);
  EXPECT_EQ(1, MatchClass(""));
  EXPECT_EQ(0, MatchClass("AdFrame"));
}

#ifndef _WIN32
TEST_F(WindowCheck, EveryNotificationIsPassedOnUnchanged) {
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  ScopedValue<HHOOK> hook(SharedState.hook, reinterpret_cast<HHOOK>(0x1234));
  standin::TakeNextHookCalls();
  standin::ArmedFailures disarm;
  standin::SetNextHookResult(42);
  EXPECT_EQ(42, ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(ad.handle()), 7));
  EXPECT_EQ(42, ShellHookProc(HSHELL_WINDOWCREATED, 99, 8));
  std::vector<standin::NextHookCall> calls = standin::TakeNextHookCalls();
  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ(SharedState.hook, calls[0].hook);
  EXPECT_EQ(HSHELL_REDRAW, calls[0].code);
  EXPECT_EQ(reinterpret_cast<WPARAM>(ad.handle()), calls[0].wParam);
  EXPECT_EQ(7, calls[0].lParam);
  EXPECT_EQ(HSHELL_WINDOWCREATED, calls[1].code);
  EXPECT_EQ(99u, calls[1].wParam);
  EXPECT_EQ(8, calls[1].lParam);
  EXPECT_EQ(1, ad.CloseRequests());
}

// The report names the window's own process, not the one the check runs in: a 32-bit hook runs
// for 64-bit programs on the thread that installed it.
TEST_F(WindowCheck, ReportNamesTheWindowsProcess) {
  CloseReports reports;
  LoadFiles("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "offer");
  standin::SetWindowProcess(ad.handle(), 4242);
  Redraw(ad);
  EXPECT_EQ(
      (std::vector<std::string>{ReportStart(ad, 4242) + "class=\"AdFrame\" title=\"offer\"\n"}),
      reports.Take());
}
#endif

}  // namespace
