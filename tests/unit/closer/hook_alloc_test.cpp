// The check in a hooked process allocates nothing while its rules are loaded. Native only: the
// heap calls of the product code are counted through the linker's --wrap.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "closer/hook.h"
#include "harness/heap_count.h"
#include "unit/closer/rules_fixture.h"
#include "unit/closer/test_desktop.h"

namespace {

using HookHeap = RulesFixture;

long HeapCallsDuring(void (*work)(HWND), HWND window) {
  HeapCount before = CurrentHeap();
  {
    HeapCounting counting;
    work(window);
  }
  HeapCount after = CurrentHeap();
  return static_cast<long>(after.allocations - before.allocations + after.frees - before.frees);
}

void RedrawTenTimes(HWND window) {
  for (int i = 0; i < 10; ++i) ShellHookProc(HSHELL_REDRAW, reinterpret_cast<WPARAM>(window), 0);
}

TEST_F(HookHeap, LoadedRulesMeanNoHeapCalls) {
  LoadFiles("class,AdFrame\nclass,Banner\ntitle,offer\n");
  TestWindow other("PlainFrame", "offer");
  TestWindow noFragment("AdFrame", "weather");
  TestWindow ad("AdFrame", "special offer");
  EXPECT_EQ(0, HeapCallsDuring(RedrawTenTimes, other.handle()));
  EXPECT_EQ(0, HeapCallsDuring(RedrawTenTimes, noFragment.handle()));
  EXPECT_EQ(0, HeapCallsDuring(RedrawTenTimes, ad.handle()));
  EXPECT_EQ(10, ad.CloseRequests());
}

TEST_F(HookHeap, AnEmptyListIsReloadedAndThatIsCounted) {
  WriteRules("class,AdFrame\ntitle,offer\n");
  TestWindow ad("AdFrame", "special offer");
  EXPECT_GT(HeapCallsDuring(RedrawTenTimes, ad.handle()), 0);
  EXPECT_EQ(0, HeapCallsDuring(RedrawTenTimes, ad.handle()));
}

// The plug-in is unloaded and loaded again in the host over a session: each store's end must give
// back every rule of both lists, or each unload leaks them.
TEST_F(HookHeap, AStoreGivesBackEveryRuleAtItsEnd) {
  WriteRules("class,AdFrame\ntitle,offer\ntitle,sale\n", "class,Banner\ntitle,deal\n");
  HeapCount before = CurrentHeap();
  {
    HeapCounting counting;
    RuleStore store;
    LoadRules(dir_.path().c_str(), store);
    ASSERT_EQ(2u, store.ClassRules.count);
    ASSERT_EQ(3u, store.TitleRules.count);
  }
  HeapCount after = CurrentHeap();
  EXPECT_EQ(before.liveBytes, after.liveBytes);
}

}  // namespace
