// Many threads of one process in the window check while another keeps rebuilding the store.
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "closer/hook.h"
#include "unit/closer/rules_fixture.h"
#include "unit/closer/test_desktop.h"

namespace {

using HookStress = RulesFixture;
using Clock = std::chrono::steady_clock;

struct Counts {
  std::atomic<bool> stop{false};
  std::atomic<long> checks{0}, adCloses{0}, wrongCloses{0};
  std::atomic<int> ready{0};
};

// One scanner thread: redraws its own windows until told to stop.
void Scan(Counts& counts) {
  // Each thread owns its windows: asking a window of this process for its title from another
  // thread would wait for the owner to handle the request.
  TestWindow ad("AdFrame", "special offer");
  TestWindow plain("PlainFrame", "special offer");
  TestWindow harmless("Banner", "weather");
  const HWND windows[] = {ad.handle(), plain.handle(), harmless.handle()};
  counts.ready.fetch_add(1);
  for (long i = 0; !counts.stop.load(); ++i) {
    ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(windows[i % 3]), 0);
    counts.checks.fetch_add(1);
    if (i % 64 == 0) ad.CloseRequests();  // keep the queue from filling up
  }
  counts.adCloses += ad.CloseRequests();
  counts.wrongCloses += plain.CloseRequests() + harmless.CloseRequests();
}

// Loads and clears the store in turns; returns how many times. The clock starts once every
// scanner has its windows (slow to make on a loaded machine); then at least 2 s, 50 rebuilds and
// 1000 checks, however long the machine takes to give each side its turns.
long Rebuild(const std::string& dir, Counts& counts, int scanners) {
  auto start = Clock::now();
  while (counts.ready.load() < scanners && Clock::now() - start < std::chrono::seconds(60)) {
    std::this_thread::yield();
  }
  start = Clock::now();
  long reloads = 0;
  for (;;) {
    auto spent = Clock::now() - start;
    if (spent > std::chrono::seconds(60) ||
        (spent >= std::chrono::seconds(2) && reloads >= 50 && counts.checks.load() > 1000)) {
      return reloads;
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
}

TEST_F(HookStress, ScansNeverSeeAListBeingRebuilt) {
  LoadFiles("class,AdFrame\nclass,Banner\ntitle,offer\ntitle,win a prize\n");
  Counts counts;
  std::vector<std::thread> scanners;
  for (int t = 0; t < 8; ++t) scanners.emplace_back(Scan, std::ref(counts));
  long reloads = Rebuild(dir_.path(), counts, 8);
  counts.stop = true;
  for (std::thread& scanner : scanners) scanner.join();

  EXPECT_GT(counts.checks.load(), 1000);
  EXPECT_GE(reloads, 50);
  EXPECT_GT(counts.adCloses.load(), 0);
  EXPECT_EQ(0, counts.wrongCloses.load());
  // Whether the last rebuild loaded or cleared it, the store still answers whole.
  EXPECT_EQ(1, MatchClass("adframe"));
  EXPECT_EQ((Texts{"AdFrame", "Banner"}), Classes());
}

}  // namespace
