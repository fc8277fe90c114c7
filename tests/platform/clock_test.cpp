#include "platform/clock.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace plat;

// Other files' static objects may read the clock before main: the real clock
// must already be there (UBSan checks the virtual call).
static const std::uint32_t g_tickBeforeMain = GetTickCount();

TEST(Clock, RealClockCountsMilliseconds) {
  const std::uint32_t start = GetTickCount();
  EXPECT_LE(static_cast<std::uint32_t>(start - g_tickBeforeMain), 60u * 60u * 1000u);
  Sleep(25);
  const std::uint32_t elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 24u);
  EXPECT_LT(elapsed, 5000u);
  Sleep(-5);  // yields only
}

TEST(Clock, ManualClockAdvancesWithoutBlockingAndWrapsAt32Bits) {
  ManualClock manual;
  SetClock(&manual);
  Sleep(5000);
  Sleep(-3);
  for (int i = 0; i < 4; ++i) manual.Advance(0x40000000);
  manual.Advance(250);
  EXPECT_EQ(std::tuple(GetTickCount(), manual.TotalSlept(), manual.SleepCalls()), std::tuple(5250u, 5000u, 2));
  SetClock(nullptr);
  EXPECT_NE(&GetClock(), &manual);
}
