// The waits the worker thread makes give up once it is told to stop, and
// end as soon as what they wait for has happened; the wait for a dialog
// sleeps without the lock until a dialog closes or its poll ends.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "app/framework_lock.h"
#include "platform/clock.h"
#include "support/recording_view.h"
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

namespace {

// A message that stays open until the test closes it, counting the looks of
// the worker's wait (each under the framework lock). afterLook runs inside
// a look, after its answer was taken.
class WatchedMessageView final : public twtest::RecordingView {
 public:
  using RecordingView::RecordingView;
  bool IsMessageOpen() const override {
    EXPECT_GT(GetFrameworkLockHoldsOfThisThread(), 0);
    const bool answer = open;
    ++looks;
    if (afterLook) afterLook();
    return answer;
  }
  bool open = true;  // under the framework lock
  mutable std::atomic<int> looks{0};
  std::function<void()> afterLook;
};

// The world's view and its worker's stop flag, with the framework lock in
// use as while the game runs; a worker thread waits for the view's message.
class DialogWait : public ::testing::Test {
 protected:
  DialogWait() {
    CreateFrameworkLock();
    g_bRunning = true;
    auto owned = std::make_unique<WatchedMessageView>(world_);
    view_ = owned.get();
    world_.SetView(std::move(owned));
    world_.SetWorkerStopFlag(&stop_);
  }
  ~DialogWait() override {
    if (worker_.joinable()) {
      Stop();
      worker_.join();
    }
    g_bRunning = false;
    DeleteFrameworkLock();
  }
  void StartWaiting(int pollMs) {
    worker_ = std::thread([this, pollMs] {
      waited_ = WaitWhileViewShows(world_, &cWorldView::IsMessageOpen, pollMs, "src/m.cpp", 5) ? 1 : 0;
    });
  }
  // The wait's trace lines so far: one a poll.
  std::size_t Polls() const {
    std::size_t polls = 0;
    for (const std::wstring& line : log_.Lines()) polls += line.rfind(L"S: src/m.cpp : 5 :", 0) == 0 ? 1 : 0;
    return polls;
  }
  // What StopAiThread does with the world the worker plays.
  void Stop() {
    stop_ = true;
    world_.DialogCloses().WakeForStop();
  }
  // What the map screen does when the player closes a dialog.
  void CloseADialog(bool theMessage) {
    const cFrameworkLockGuard lock;
    if (theMessage) view_->open = false;
    view_->TellDialogClosed();
  }
  // Only a bound for a wait that never ends.
  static bool Within10s(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return condition();
  }

  twtest::LogCapture log_;
  cWorld world_;
  WatchedMessageView* view_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<int> waited_{-1};
  std::thread worker_;
};

// Between its looks the worker sleeps without the lock: within a poll (of a
// minute here) the view is asked again only when a dialog closed.
TEST_F(DialogWait, ThreadAsksTheViewAgainOnlyWhenADialogHasClosed) {
  StartWaiting(60000);
  ASSERT_TRUE(Within10s([this] { return Polls() == 1; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(view_->looks.load(), 1);
  CloseADialog(false);  // another dialog: the message stays open
  ASSERT_TRUE(Within10s([this] { return view_->looks.load() == 2; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(view_->looks.load(), 2);
  EXPECT_EQ(waited_.load(), -1);
  CloseADialog(true);
  worker_.join();
  EXPECT_EQ(waited_.load(), 1);
  EXPECT_EQ(view_->looks.load(), 3);
  EXPECT_EQ(Polls(), 1u);
}

// A dialog that leaves the screen without the signal is seen at the end of
// the poll it closed in: the wait ends with at most one more poll.
TEST_F(DialogWait, ThreadSeesAnUnsignalledCloseAtTheEndOfItsPoll) {
  StartWaiting(20);
  ASSERT_TRUE(Within10s([this] { return Polls() >= 2; }));
  const std::size_t polls = Polls();
  {
    const cFrameworkLockGuard lock;
    view_->open = false;
  }
  ASSERT_TRUE(Within10s([this] { return waited_.load() != -1; }));
  worker_.join();
  EXPECT_EQ(waited_.load(), 1);
  EXPECT_LE(Polls(), polls + 1);
}

// The message closes between the worker's look and its sleep: the close was
// counted after the count the worker read, so its sleep ends at once.
TEST_F(DialogWait, ThreadSeesACloseThatCameBetweenItsLookAndItsSleep) {
  view_->afterLook = [this] {
    if (view_->looks.load() != 1) return;
    view_->open = false;
    view_->TellDialogClosed();
  };
  StartWaiting(60000);
  ASSERT_TRUE(Within10s([this] { return waited_.load() != -1; }));
  worker_.join();
  EXPECT_EQ(waited_.load(), 1);
  EXPECT_EQ(view_->looks.load(), 2);
}

// A poll of a minute: the stop wakes the wait, which ends with the poll's
// one trace line written and no further look at the view.
TEST_F(DialogWait, ThreadGivesUpTheDialogWaitSoonAfterTheStop) {
  StartWaiting(60000);
  ASSERT_TRUE(Within10s([this] { return Polls() == 1; }));
  const auto start = std::chrono::steady_clock::now();
  Stop();
  worker_.join();
  EXPECT_LT(MsSince(start), 5000);
  EXPECT_EQ(waited_.load(), 0);
  EXPECT_EQ(Polls(), 1u);
  EXPECT_EQ(view_->looks.load(), 1);
}

}  // namespace
