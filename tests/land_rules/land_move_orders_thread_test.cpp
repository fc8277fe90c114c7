// The computer's land move orders: the hex each picks, the player's move
// order they give (and its refusals), and the hand-over to the main thread
// that steps the unit while the worker waits outside the lock.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/framework_lock.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "platform/clock.h"
#include "rules/land_move.h"
#include "rules/land_move_orders.h"
#include "support/recording_view.h"
#include "support/test_support.h"
#include "units/land_fixture.h"
#include "world/game_phase.h"
#include "world/worker_steps.h"

namespace {

using twtest::LandWorld;

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::wstring& l) { return l.find(text) != std::wstring::npos; });
}

// The main thread's frame update: once the worker has set phase 10 and
// polled a few times, it steps the unit by the rule to the end of its path
// and returns the phase to 9.
class FakeMainThread {
 public:
  FakeMainThread(LandWorld& w, cJednostkaLadowa& unit, plat::ManualClock& clock)
      : thread_([&w, &unit, &clock, this] {
          while (w.world->GetGameState() != kPhaseComputerMove) std::this_thread::yield();
          startHexEmptyWhenStepping = w.Hex(unit.x, unit.y).unit == nullptr;
          while (clock.SleepCalls() < 3) std::this_thread::yield();
          while (StepLandMove(*w.world)) {
          }
          ++handedOver;
          w.world->SetGameState(kPhaseComputerPlayers);
        }) {}
  ~FakeMainThread() { thread_.join(); }
  std::atomic<bool> startHexEmptyWhenStepping{false};
  std::atomic<int> handedOver{0};

 private:
  std::thread thread_;
};

// A fresh world for each move: a 6 x 2 plain where every step costs 1.
class LandMoveThread : public ::testing::Test {
 protected:
  LandMoveThread() { plat::SetClock(&clock_); }
  ~LandMoveThread() override {
    plat::SetClock(nullptr);
    g_Delays[kDelayAIMoveAfter] = 0.0f;
  }
  LandWorld& Fresh() {
    w_.reset();  // the old world unsets g_pWorld as it goes
    w_ = std::make_unique<LandWorld>(std::vector<std::string>{"pppppp", "pppppp"});
    w_->AddCountries({kAllies});
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    g_Delays[kDelayAIMoveAfter] = 120.0f;
    w_->world->SetGameState(kPhaseComputerPlayers);
    return *w_;
  }
  plat::ManualClock clock_;
  std::unique_ptr<LandWorld> w_;
};

TEST_F(LandMoveThread, WorkerWaitsInTracedSleepsUntilTheMainThreadStepped) {
  LandWorld& w = Fresh();
  cJednostkaLadowa& unit = w.AddUnit(0, 0, 1);
  unit.actionPoints = unit.startingActionPoints = 3;
  unit.ComputeMoveRange(true);
  twtest::LogCapture log;
  bool moved = false;
  bool startHexEmpty = false;
  int handedOver = 0;
  {
    FakeMainThread main(w, unit, clock_);
    moved = AiMoveToHex(*w.world, unit, 3, 0);
    startHexEmpty = main.startHexEmptyWhenStepping;
    handedOver = main.handedOver;
  }
  EXPECT_TRUE(moved);
  EXPECT_TRUE(startHexEmpty);
  EXPECT_EQ(handedOver, 1);
  EXPECT_EQ(w.Hex(3, 0).unit, &unit);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_EQ(w.world->GetGameState(), kPhaseComputerPlayers);
  // Traced polls of 50 ms each, the last cut short when the move has ended,
  // then the after-move delay. The main thread steps after three sleeps,
  // but two threads logging at once add the log's own 25 ms waits to them,
  // so only the first poll is certain.
  const auto lines = log.Lines();
  const auto polls = static_cast<std::uint64_t>(std::count_if(lines.begin(), lines.end(), [](const std::wstring& l) {
    return l.rfind(L"S: ", 0) == 0 && l.find(L": 50 ms") != std::wstring::npos;
  }));
  EXPECT_GE(polls, 1u);
  ASSERT_GE(clock_.TotalSlept(), 50u * (polls - 1) + 120u);
  EXPECT_TRUE(HasLine(lines, L"---- Game state = 10"));
}

TEST_F(LandMoveThread, OrdersChooseTheHexTheMainThreadSteps) {
  // Toward (5, 0) with 3 points: (3, 0) would spend them all, and the best
  // hex that keeps one is 2 away. To (5, 1), outside a range of 2 with
  // (2, 0) taken: the nearest free entry (2, 1). Advancing to the
  // neighbouring ultimate target (1, 0): straight there.
  enum { kToward, kTo, kAdvance };
  const int cases[][5] = {{kToward, 3, 3, 2, 0}, {kTo, 2, 3, 2, 1}, {kAdvance, 2, 2, 1, 0}};
  for (const auto& [order, points, starting, x, y] : cases) {
    LandWorld& w = Fresh();
    cJednostkaLadowa& unit = w.AddUnit(0, 0, 1);
    unit.actionPoints = points;
    unit.startingActionPoints = starting;
    unit.aiUltimateTargetX = 1;
    unit.aiUltimateTargetY = 0;
    if (order == kTo) {
      w.AddUnit(2, 0, 1);
      unit.ComputeMoveRange(true);
    }
    int handedOver = 0;
    {
      FakeMainThread main(w, unit, clock_);
      if (order == kToward) AiMoveTowardHex(*w.world, unit, 5, 0);
      if (order == kTo) {
        EXPECT_TRUE(AiMoveToHex(*w.world, unit, 5, 1));
      }
      if (order == kAdvance) {
        EXPECT_TRUE(AiAdvanceToUltimateTarget(*w.world, unit));
      }
      handedOver = main.handedOver;
    }
    EXPECT_EQ(handedOver, 1) << order;
    EXPECT_EQ(std::pair(unit.x, unit.y), std::pair(x, y)) << order;
  }
}

// The computer's land moves are shown (the view asked to follow the unit)
// exactly when the turn state says the current country's actions are shown
// and the unit is visible. The worker never moves the camera itself.
TEST_F(LandMoveThread, MovesAskTheViewToFollowOnlyWhenActionsAreShown) {
  // {actions shown, unit visible, move aside (else to a hex), followed}
  const bool cases[][4] = {{true, true, false, true}, {false, true, false, false}, {true, false, false, false},
                           {true, true, true, true},  {false, true, true, false}};
  for (const auto& [shown, visible, aside, followed] : cases) {
    LandWorld& w = Fresh();
    auto* view = new twtest::RecordingView(*w.world);
    w.world->SetView(std::unique_ptr<cWorldView>(view));
    w.world->turnState.showActions = shown;
    cJednostkaLadowa& unit = w.AddUnit(1, 0, 1);
    unit.visible = visible;
    unit.actionPoints = unit.startingActionPoints = 3;
    unit.ComputeMoveRange(true);
    const float viewX = w.world->GetMap().targetX;
    {
      FakeMainThread main(w, unit, clock_);
      EXPECT_TRUE(aside ? MoveAside(*w.world, unit) : AiMoveToHex(*w.world, unit, 3, 0));
    }
    EXPECT_NE(unit.x, 1);
    using Hexes = std::vector<std::pair<int, int>>;
    const Hexes expected = followed ? Hexes{{1, 0}} : Hexes{};
    EXPECT_EQ(view->Followed(), expected)
        << "shown " << shown << ", visible " << visible << ", aside " << aside;
    EXPECT_EQ(w.world->GetMap().targetX, viewX);
  }
}

// Abandoning the game while the worker sits in a long after-move delay: the
// delay ends within a few of its slices once the stop flag is set, and a
// worker that is already stopping does not wait for the step either.
TEST(LandMoveStopThread, AfterMoveDelayEndsAtTheStopFlag) {
  LandWorld w(std::vector<std::string>{"pppppp", "pppppp"});
  w.AddCountries({kAllies});
  LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
  std::atomic<bool> stop{false};
  w.world->SetWorkerStopFlag(&stop);
  w.world->SetGameState(kPhaseComputerPlayers);
  g_Delays[kDelayAIMoveAfter] = 600000.0f;
  cJednostkaLadowa& unit = w.AddUnit(0, 0, 1);
  unit.visible = false;  // nothing to show: no request for the main thread
  unit.actionPoints = unit.startingActionPoints = 3;
  unit.ComputeMoveRange(true);

  std::atomic<bool> returned{false};
  std::thread worker([&] {
    AiMoveToHex(*w.world, unit, 3, 0);
    returned = true;
  });
  // The main thread's part: step the unit, hand the phase back.
  while (w.world->GetGameState() != kPhaseComputerMove) std::this_thread::yield();
  while (StepLandMove(*w.world)) {
  }
  w.world->SetGameState(kPhaseComputerPlayers);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(returned.load());
  const auto stopped = std::chrono::steady_clock::now();
  stop = true;
  worker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::milliseconds(100));

  // Already stopping: the order sets the phase and returns without waiting
  // for a main thread that no longer steps it.
  EXPECT_EQ(w.Hex(3, 0).unit, &unit);
  unit.actionPoints = 3;
  unit.ComputeMoveRange(true);
  EXPECT_TRUE(AiMoveToHex(*w.world, unit, 0, 0));
  EXPECT_EQ(w.world->GetGameState(), kPhaseComputerMove);
  while (StepLandMove(*w.world)) {
  }
  // A wait asked while holding the lock would stop the frames: refused.
  stop = false;
  {
    const bool wasRunning = g_bRunning.exchange(true);
    CreateFrameworkLock();
    {
      const cFrameworkLockGuard lock;
      EXPECT_FALSE(WaitWhilePhase(*w.world, kPhaseComputerMove, 50, __FILE__, __LINE__));
      EXPECT_FALSE(StoppableDelay(*w.world, 10, __FILE__, __LINE__));
    }
    EXPECT_TRUE(StoppableDelay(*w.world, 1, __FILE__, __LINE__));
    DeleteFrameworkLock();
    g_bRunning = wasRunning;
  }
  g_Delays[kDelayAIMoveAfter] = 0.0f;
  w.world->SetWorkerStopFlag(nullptr);
}

// What the player's check refuses, the computer's order is refused too, for
// the same reason: the unit stays where it is, nothing is handed to the main
// thread, and the log names the refusal's text.
TEST(LandMoveOrders, TheComputerIsRefusedWhatThePlayersCheckRefuses) {
  enum { kInReserve, kOtherUnitWalking, kOffTheMap };
  for (const int setting : {kInReserve, kOtherUnitWalking, kOffTheMap}) {
    LandWorld w(std::vector<std::string>{"pppppp", "pppppp"});
    w.AddCountries({kAllies});
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    w.world->SetGameState(kPhaseComputerPlayers);
    cJednostkaLadowa& unit = w.AddUnit(1, 0, 1);
    cJednostkaLadowa& other = w.AddUnit(0, 1, 1);
    unit.actionPoints = unit.startingActionPoints = 3;
    unit.ComputeMoveRange(true);
    eLandMoveRefusal expected = eLandMoveRefusal::kNoUnit;
    if (setting == kInReserve) unit.inReserve = true;
    if (setting == kOtherUnitWalking) {
      other.actionPoints = 2;
      other.ComputeMoveRange(true);
      ASSERT_EQ(OrderLandMove(*w.world, other, 2, 1, false), eLandMoveRefusal::kNone);
      w.world->SetGameState(kPhaseComputerPlayers);
      expected = eLandMoveRefusal::kMoveInProgress;
    }
    if (setting == kOffTheMap) {
      w.Hex(1, 0).unit = nullptr;
      unit.x = -1;
    }
    ASSERT_EQ(CheckLandMove(*w.world, unit, 3, 0), expected) << setting;
    twtest::LogCapture log;
    EXPECT_FALSE(AiMoveToHex(*w.world, unit, 3, 0)) << setting;
    EXPECT_FALSE(MoveAside(*w.world, unit)) << setting;
    EXPECT_EQ(w.world->GetGameState(), kPhaseComputerPlayers) << setting;
    EXPECT_NE(w.world->turnState.move.unit, &unit) << setting;
    if (setting != kOffTheMap) {
      EXPECT_EQ(w.Hex(1, 0).unit, &unit) << setting;
    }
    EXPECT_TRUE(HasLine(log.Lines(), g_StringBase.GetText(LandMoveRefusalKey(expected)))) << setting;
    EXPECT_TRUE(HasLine(log.Lines(), L"is refused")) << setting;
  }
}

TEST(LandMoveOrders, OrdersWithNowhereToGoMoveNothing) {
  LandWorld w({"ppp", "ppp"});
  w.AddCountries({kAllies});
  cJednostkaLadowa& unit = w.AddUnit(0, 0, 1);
  twtest::LogCapture log;
  // The ultimate target on the width or height line is outside the map.
  for (auto [x, y] : {std::pair{3, 0}, {0, 2}, {-1, 2}}) {
    unit.aiUltimateTargetX = x;
    unit.aiUltimateTargetY = y;
    EXPECT_FALSE(AiAdvanceToUltimateTarget(*w.world, unit)) << x << "," << y;
  }
  // Onto its own hex: the note, nothing else.
  EXPECT_FALSE(AiMoveToHex(*w.world, unit, 0, 0));
  EXPECT_TRUE(HasLine(log.Lines(), L"na ktorym stoi"));
  // Every other hex taken: no free hex to go to, no order.
  for (auto [x, y] : {std::pair{1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}) w.AddUnit(x, y, 1);
  unit.actionPoints = unit.startingActionPoints = 3;
  unit.ComputeMoveRange(true);
  EXPECT_FALSE(AiMoveToHex(*w.world, unit, 2, 1));
  EXPECT_FALSE(MoveAside(*w.world, unit));
  EXPECT_EQ(w.Hex(0, 0).unit, &unit);
  EXPECT_EQ(w.world->GetGameState(), 0);
}

}  // namespace
