// The check in a hooked process allocates nothing while its rules are loaded. Native only: the
// heap calls of the product code are counted through the linker's --wrap.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>

#include "closer/hook.h"
#include "closer/rules_fixture.h"
#include "closer/test_desktop.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> heapCalls{0};

void Count() {
  if (counting.load()) heapCalls.fetch_add(1);
}
}  // namespace

extern "C" {
void* __real_malloc(size_t bytes);
void* __real_realloc(void* block, size_t bytes);
void* __real_calloc(size_t count, size_t bytes);
void __real_free(void* block);
void* __wrap_malloc(size_t bytes) {
  Count();
  return __real_malloc(bytes);
}
void* __wrap_realloc(void* block, size_t bytes) {
  Count();
  return __real_realloc(block, bytes);
}
void* __wrap_calloc(size_t count, size_t bytes) {
  Count();
  return __real_calloc(count, bytes);
}
void __wrap_free(void* block) {
  Count();
  __real_free(block);
}
}

namespace {

using HookHeap = RulesFixture;

long HeapCallsDuring(void (*work)(HWND), HWND window) {
  heapCalls = 0;
  counting = true;
  work(window);
  counting = false;
  return heapCalls.load();
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
