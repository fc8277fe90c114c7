#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "app/framework_lock.h"
#include "platform/clock.h"
#include "support/test_support.h"

namespace {

using Lines = std::vector<std::wstring>;

class FrameworkLock : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateFrameworkLock();
    g_bRunning = true;
    plat::SetClock(&clock_);
  }
  void TearDown() override {
    g_bRunning = false;
    DeleteFrameworkLock();
    plat::SetClock(nullptr);
  }
  twtest::LogCapture log_;
  plat::ManualClock clock_;
};

TEST_F(FrameworkLock, TracesHoldsWhileRunningAndAReleaseTooMany) {
  g_bRunning = false;
  AcquireFrameworkLock("src/a.cpp", 1);
  ReleaseFrameworkLock("src/a.cpp", 2);
  ReleaseFrameworkLock("src/a.cpp", 3);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  g_bRunning = true;
  const int line = __LINE__;
  AcquireFrameworkLock(__FILE__, line);  // named relative to the source tree
  AcquireFrameworkLock(nullptr, 0);      // the render path leaves no trace
  EXPECT_EQ(GetFrameworkLockHoldCount(), 2);
  ReleaseFrameworkLock(nullptr, 0);
  ReleaseFrameworkLock("src/x.cpp", 43);
  ReleaseFrameworkLock("f.cpp", 5);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  EXPECT_EQ(log_.Lines(), (Lines{L"AC:tests/app/framework_lock_test.cpp:" + std::to_wstring(line), L"RC:src/x.cpp:43",
                                 L"RC:f.cpp:5", L"LCS przy C<=0"}));
  AcquireFrameworkLock(nullptr, 0);  // still usable afterwards
  EXPECT_EQ(GetFrameworkLockHoldCount(), 1);
  ReleaseFrameworkLock(nullptr, 0);
}

TEST_F(FrameworkLock, OtherThreadBlocksUntilEveryRecursiveHoldIsReleased) {
  AcquireFrameworkLock(nullptr, 0);
  AcquireFrameworkLock(nullptr, 0);
  std::atomic<bool> entered{false};
  std::thread other([&] {
    AcquireFrameworkLock(nullptr, 0);
    entered = true;
    ReleaseFrameworkLock(nullptr, 0);
  });
  ReleaseFrameworkLock(nullptr, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(entered);
  ReleaseFrameworkLock(nullptr, 0);
  other.join();
  EXPECT_TRUE(entered);
}

TEST_F(FrameworkLock, TracedSleepWarnsAboveElevenSecondsAndNamesTheFileInOem) {
  TracedSleep(11000, "src/w.cpp", 7);
  TracedSleep(11001, "src/w.cpp", 8);
  TracedSleep(5, "a\x82.cpp", 1);                    // 0x82 is e acute in code page 437
  TracedSleep(0, std::string(300, 'x').c_str(), 2);  // cut to 256 units
  EXPECT_EQ(log_.Lines(), (Lines{L"S: src/w.cpp : 7 : 11000 ms", L"Oj chyba b\u00C4\u2122dzie zwis",
                                 L"S: src/w.cpp : 8 : 11001 ms", L"S: a\u00E9.cpp : 1 : 5 ms",
                                 L"S: " + std::wstring(256, L'x') + L" : 2 : 0 ms"}));
  EXPECT_EQ(clock_.TotalSlept(), 22006u);
  EXPECT_EQ(clock_.SleepCalls(), 4);
}

TEST_F(FrameworkLock, ThreadSuspensionLetsAnotherThreadInAndTakesEveryHoldBack) {
  AcquireFrameworkLock(nullptr, 0);
  {
    const cFrameworkLockGuard guard;
    EXPECT_EQ(GetFrameworkLockHoldsOfThisThread(), 2);
    std::atomic<bool> entered{false};
    std::thread other([&] {
      const cFrameworkLockGuard inner;
      entered = true;
    });
    {
      // As the main thread joins the worker: every hold is let go meanwhile.
      const cFrameworkLockSuspension suspension;
      EXPECT_EQ(GetFrameworkLockHoldsOfThisThread(), 0);
      other.join();
    }
    EXPECT_TRUE(entered);
    EXPECT_EQ(GetFrameworkLockHoldsOfThisThread(), 2);
  }
  EXPECT_EQ(GetFrameworkLockHoldsOfThisThread(), 1);
  ReleaseFrameworkLock(nullptr, 0);
  // A release on a thread that holds nothing is refused, not passed on.
  std::thread stranger([] { ReleaseFrameworkLock(nullptr, 0); });
  stranger.join();
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
}

}  // namespace
