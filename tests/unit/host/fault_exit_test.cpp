// DllMain's detach when the process is ending: the system has stopped the other threads wherever
// they were, so the store's lock may be held for ever. Both targets.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <future>
#include <thread>

#include "closer/rules.h"
#include "harness/temp_dir.h"
#include "host/exports.h"
#include "shared/shared_state.h"

namespace {

// A thread stopped inside a reload: it holds the store's lock and never gives it back.
TEST(ProcessEnd, DetachDoesNotWaitForALockHeldByAStoppedThread) {
  TempDir dir;
  dir.Write("killwnd.txt", "class,Kept\r\n");
  ASSERT_EQ(1, LoadRules(dir.path().c_str()));
  ScopedValue<LONG> enabled(SharedState.enabled, 1);

  std::promise<void> held, release;
  std::thread stopped([&] {
    EnterCriticalSection(&KillRules.lock);
    held.set_value();
    release.get_future().wait();
    LeaveCriticalSection(&KillRules.lock);
  });
  held.get_future().wait();

  LPVOID processEnding = reinterpret_cast<LPVOID>(1);
  auto detach = std::async(std::launch::async, [&] {
    return DllMain(reinterpret_cast<HINSTANCE>(0x10000000), DLL_PROCESS_DETACH, processEnding);
  });
  bool returned = detach.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  release.set_value();
  stopped.join();
  EXPECT_TRUE(returned) << "DllMain waited for the lock at process end";
  EXPECT_EQ(TRUE, detach.get());
  // Left as it was: nothing freed that a stopped thread may still point into.
  EXPECT_EQ(1u, KillRules.ClassRules.count);
  EXPECT_EQ(1, KillRules.abandoned);
}

}  // namespace
