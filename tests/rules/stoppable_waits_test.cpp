// The waits the worker thread makes give up once it is told to stop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/framework_lock.h"
#include "platform/clock.h"
#include "support/test_support.h"

namespace {

long long MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

TEST(StoppableWaits, TracedSleepSleepsWholeUnlessStopped) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  twtest::LogCapture log;
  std::atomic<bool> stop{false};
  EXPECT_TRUE(TracedSleepUnlessStopped(50, "src/w.cpp", 9, stop));
  EXPECT_EQ(clock.TotalSlept(), 50u);
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"S: src/w.cpp : 9 : 50 ms"});
  stop = true;
  EXPECT_FALSE(TracedSleepUnlessStopped(200, "src/w.cpp", 10, stop));
  EXPECT_EQ(clock.TotalSlept(), 50u);
  EXPECT_EQ(log.Lines().size(), 1u);
  plat::SetClock(nullptr);
}

TEST(StoppableWaits, ThreadGivesUpASleepSoonAfterTheStop) {
  std::atomic<bool> stop{false};
  std::atomic<bool> result{true};
  const auto start = std::chrono::steady_clock::now();
  std::thread sleeper([&] { result = TracedSleepUnlessStopped(5000, "src/w.cpp", 1, stop); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  stop = true;
  sleeper.join();
  EXPECT_FALSE(result);
  EXPECT_LT(MsSince(start), 200);
}

}  // namespace
