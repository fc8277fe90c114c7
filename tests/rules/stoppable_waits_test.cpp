// The waits the worker thread makes give up once it is told to stop, and
// end as soon as what they wait for has happened.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/framework_lock.h"
#include "platform/clock.h"
#include "support/test_support.h"
#include "world/game_phase.h"
#include "world/worker_steps.h"
#include "world/world.h"

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

namespace {

// A clock on which the main thread finishes the move after flipAfterMs of
// the worker's sleeping: the phase goes from 10 back to 9.
class MoveEndingClock final : public plat::Clock {
 public:
  MoveEndingClock(cWorld& world, std::uint64_t flipAfterMs) : world_(world), flip_after_(flipAfterMs) {}
  std::uint32_t TickCount() override { return static_cast<std::uint32_t>(slept); }
  void Sleep(int ms) override {
    slept += static_cast<std::uint64_t>(ms > 0 ? ms : 0);
    if (slept >= flip_after_) world_.SetGameState(kPhaseComputerPlayers);
  }
  std::uint64_t slept = 0;

 private:
  cWorld& world_;
  std::uint64_t flip_after_;
};

TEST(StoppableWaits, AWaitForAMoveEndsWithTheMoveNotWithItsPoll) {
  cWorld world;
  world.SetGameState(kPhaseComputerMove);
  MoveEndingClock clock(world, 3);
  plat::SetClock(&clock);
  twtest::LogCapture log;
  EXPECT_TRUE(WaitWhilePhase(world, kPhaseComputerMove, 50, "src/w.cpp", 7));
  plat::SetClock(nullptr);
  // Within a few milliseconds of the move's end, not a whole poll of 50;
  // the log still has the poll's one trace line.
  EXPECT_LE(clock.slept, 5u);
  EXPECT_EQ(world.GetGameState(), kPhaseComputerPlayers);
  std::size_t traces = 0;
  for (const std::wstring& line : log.Lines()) traces += line.rfind(L"S: src/w.cpp : 7 : 50 ms", 0) == 0 ? 1 : 0;
  EXPECT_EQ(traces, 1u);
}

}  // namespace
