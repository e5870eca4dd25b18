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

}  // namespace
