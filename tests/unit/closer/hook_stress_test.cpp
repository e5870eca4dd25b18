// Many threads of one process in the window check while another keeps rebuilding the store.
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "closer/hook.h"
#include "unit/closer/rules_fixture.h"
#include "unit/closer/test_desktop.h"

namespace {

using HookStress = RulesFixture;

TEST_F(HookStress, ScansNeverSeeAListBeingRebuilt) {
  LoadFiles("class,AdFrame\nclass,Banner\ntitle,offer\ntitle,win a prize\n");
  std::atomic<bool> stop{false};
  std::atomic<long> checks{0}, adCloses{0}, wrongCloses{0};
  std::atomic<int> ready{0};
  std::vector<std::thread> scanners;
  for (int t = 0; t < 8; ++t) {
    scanners.emplace_back([&] {
      // Each thread owns its windows: asking a window of this process for its title from
      // another thread would wait for the owner to handle the request.
      TestWindow ad("AdFrame", "special offer");
      TestWindow plain("PlainFrame", "special offer");
      TestWindow harmless("Banner", "weather");
      const HWND windows[] = {ad.handle(), plain.handle(), harmless.handle()};
      ready.fetch_add(1);
      for (long i = 0; !stop.load(); ++i) {
        ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(windows[i % 3]), 0);
        checks.fetch_add(1);
        if (i % 64 == 0) ad.CloseRequests();  // keep the queue from filling up
      }
      adCloses += ad.CloseRequests();
      wrongCloses += plain.CloseRequests() + harmless.CloseRequests();
    });
  }
  long reloads = 0;
  const std::string dir = dir_.path();
  // The clock starts once every scanner has its windows (slow to make on a loaded machine);
  // then at least 2 s, 50 rebuilds and 1000 checks, however long the machine takes to give each
  // side its turns.
  auto start = std::chrono::steady_clock::now();
  while (ready.load() < 8 && std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
    std::this_thread::yield();
  }
  start = std::chrono::steady_clock::now();
  for (;;) {
    auto spent = std::chrono::steady_clock::now() - start;
    if (spent > std::chrono::seconds(60) ||
        (spent >= std::chrono::seconds(2) && reloads >= 50 && checks.load() > 1000)) {
      break;
    }
    {
      RulesHold hold;
      if (reloads % 2) {
        ClearRules();  // the next scan must load the files itself
      } else {
        LoadRules(dir.c_str());
      }
    }
    ++reloads;
    std::this_thread::yield();
  }
  stop = true;
  for (std::thread& scanner : scanners) scanner.join();

  EXPECT_GT(checks.load(), 1000);
  EXPECT_GE(reloads, 50);
  EXPECT_GT(adCloses.load(), 0);
  EXPECT_EQ(0, wrongCloses.load());
  // Whether the last rebuild loaded or cleared it, the store still answers whole.
  EXPECT_EQ(1, MatchClass("adframe"));
  EXPECT_EQ((Texts{"AdFrame", "Banner"}), Classes());
}

}  // namespace
