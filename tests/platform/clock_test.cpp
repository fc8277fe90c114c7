#include "platform/clock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace plat;

namespace {

// Other files' static objects may read the clock before main: the real clock
// must already be there (UBSan checks the virtual call).
const std::uint32_t g_tickBeforeMain = GetTickCount();

class ScopedClock {
 public:
  explicit ScopedClock(Clock* clock) { SetClock(clock); }
  ~ScopedClock() { SetClock(nullptr); }
};

}  // namespace

TEST(Clock, RealClockCountsMilliseconds) {
  const std::uint32_t start = GetTickCount();
  EXPECT_LE(static_cast<std::uint32_t>(start - g_tickBeforeMain), 60u * 60u * 1000u);
  Sleep(25);
  const std::uint32_t elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 24u);
  EXPECT_LT(elapsed, 5000u);
  Sleep(0);
  Sleep(-5);  // yields only
}

TEST(Clock, ManualClockAdvancesWithoutBlocking) {
  ManualClock manual;
  {
    ScopedClock use(&manual);
    EXPECT_EQ(&GetClock(), &manual);
    EXPECT_EQ(GetTickCount(), 0u);
    Sleep(5000);
    Sleep(0);
    Sleep(-3);
    EXPECT_EQ(GetTickCount(), 5000u);
    manual.Advance(250);
    EXPECT_EQ(GetTickCount(), 5250u);
    EXPECT_EQ(manual.TotalSlept(), 5000u);
    EXPECT_EQ(manual.SleepCalls(), 3);
  }
  EXPECT_NE(&GetClock(), &manual);
}

TEST(Clock, ManualTickCountWrapsAt32Bits) {
  ManualClock manual;
  for (int i = 0; i < 4; ++i) manual.Advance(0x40000000);
  manual.Advance(7);
  EXPECT_EQ(manual.TickCount(), 7u);
}

TEST(Clock, ManualClockCountsSleepsFromSeveralThreads) {
  ManualClock manual;
  ScopedClock use(&manual);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 1000; ++i) Sleep(2);
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(manual.SleepCalls(), 4000);
  EXPECT_EQ(manual.TotalSlept(), 8000u);
  EXPECT_EQ(GetTickCount(), 8000u);
}
