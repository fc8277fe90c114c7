#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/framework_lock.h"
#include "app/settings.h"
#include "platform/clock.h"
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

class LandUnitRules : public ::testing::Test {
 protected:
  LandUnitRules() : w_({"ppp"}) {
    w_.AddCountries({kAllies});
    w_.Country(1).techLevel[kTechDoctrine] = 2;
    sLandUnitConstants& k = LandUnitConstants();
    k.actionPoints[2][kUnitInfantryCorps] = 6;
    k.actionPoints[2][kUnitArmouredDivision] = 8;
    k.supplyActionPointPenalty = {100, 50, 0};
    k.supplyEffectiveness = {0, 50, 100};
    k.supplyCutOffLimit = 4;
    k.doctrineEffectivenessBonus = 25;
    k.baseStrength[1][kUnitArmouredDivision] = 8.0f;
  }
  LandWorld w_;
};

TEST_F(LandUnitRules, ActionPointsFollowSupplyAndCutOff) {
  cJednostkaLadowa& corps = w_.AddUnit(0, 0, 1, kUnitInfantryCorps);
  cJednostkaLadowa& tanks = w_.AddUnit(1, 0, 1, kUnitArmouredDivision);
  corps.movedOrDeployed = true;
  // {infantry (else armour), supply, turns without supply, points}: half
  // lost at supply 1, three quarters of that a turn cut off; with nothing
  // left infantry keeps one point and armour none, at the cut-off limit
  // too; a supply level past the table reads its last entry.
  const int cases[][4] = {{1, 2, 0, 6}, {1, 1, 0, 3}, {1, 1, 1, 2}, {1, 0, 0, 1},
                          {0, 0, 0, 0}, {0, 2, 4, 0}, {0, 9, 0, 8}};
  for (const auto& [infantry, supply, cutOff, points] : cases) {
    cJednostkaLadowa& unit = infantry ? corps : tanks;
    unit.supply = supply;
    unit.turnsWithoutSupply = cutOff;
    unit.ResetActionPoints();
    EXPECT_EQ(unit.actionPoints, points) << infantry << " " << supply << " " << cutOff;
    EXPECT_EQ(unit.startingActionPoints, points);
  }
  EXPECT_FALSE(corps.movedOrDeployed);
}

TEST_F(LandUnitRules, EffectivenessCombinesDoctrineSupplyEventsAndShelling) {
  cJednostkaLadowa& unit = w_.AddUnit(0, 0, 1, kUnitArmouredDivision);
  unit.eventsEffect = -50;  // 1.5 x 0.5 = 0.75
  unit.shoreBombardmentEffect = 2.5f;
  // {supply, turns without supply, cut-off limit, effectiveness}: 75 - 2.5
  // truncated, x 0.75 a turn cut off; a limit of 0 counts as cut off, not as
  // a crash.
  const int cases[][4] = {{2, 0, 4, 72}, {2, 1, 4, 54}, {2, 4, 4, 1}, {0, 0, 4, 1}, {2, 1, 0, 1}};
  for (const auto& [supply, cutOff, limit, expected] : cases) {
    unit.supply = supply;
    unit.turnsWithoutSupply = cutOff;
    LandUnitConstants().supplyCutOffLimit = limit;
    unit.UpdateEffectiveness();
    EXPECT_EQ(unit.effectiveness, expected) << supply << " " << cutOff << " " << limit;
  }
}

TEST(LandUnit, OrdersWithoutRouteOrTargetAreRefused) {
  LandWorld w({"ppp", "ppp"});
  w.AddCountries({kAllies});
  cJednostkaLadowa& unit = w.AddUnit(0, 0, 1);
  twtest::LogCapture log;

  unit.SetAiOrder(4, 2, 1, 1);
  EXPECT_EQ(std::vector<int>({unit.aiOrder, unit.aiTargetX, unit.aiTargetY, unit.aiUltimateTargetX}),
            std::vector<int>({4, 2, 1, -1}));
  unit.SetAiOrder(7, 2, 1, 2);  // no city there: no route
  EXPECT_EQ(std::pair(unit.aiOrder, unit.aiTargetX), std::pair(0, -1));
  EXPECT_TRUE(HasLine(log.Lines(), L"ERROR: Nie znaleziono sciezki dla rozkazu nr 7"));

  // Sent to the city it draws its supply from: straight there, no route
  // asked for and none refused.
  cCity* source = w.AddCity(2, 1, kCityNormal);
  w.Map().GetHex(2, 1).city = source;
  unit.supplySourceX = 2;
  unit.supplySourceY = 1;
  const std::size_t refusals = log.Lines().size();
  unit.SetAiOrder(12, 2, 1, 3);
  EXPECT_EQ(std::vector<int>({unit.aiOrder, unit.aiTargetX, unit.aiTargetY, unit.aiUltimateTargetX}),
            std::vector<int>({12, 2, 1, -1}));
  EXPECT_EQ(log.Lines().size(), refusals);
  w.Map().GetHex(2, 1).city = nullptr;
  unit.supplySourceX = unit.supplySourceY = -1;

  // Hops: no city on the hex, or no nearest city for the unit's hex.
  unit.aiOrder = 3;
  unit.aiUltimateTargetX = 1;
  EXPECT_EQ(unit.GetHopsToCity(2, 1), -1);
  EXPECT_EQ(unit.aiOrder, 0);
  EXPECT_EQ(unit.aiUltimateTargetX, -1);
  EXPECT_TRUE(HasLine(log.Lines(), L"ERROR (Returining no. of hops - land unit): City is null"));
  EXPECT_EQ(unit.GetHopsToCity(-3, 99), -1);
  w.AddCity(2, 1, kCityNormal);
  unit.aiOrder = 3;
  EXPECT_EQ(unit.GetHopsToCity(2, 1), -1);  // the topography knows no nearest city
  EXPECT_EQ(unit.aiOrder, 3);

  // The ultimate target on the width or height line is outside the map.
  for (auto [x, y] : {std::pair{3, 0}, {0, 2}, {-1, 2}}) {
    unit.aiUltimateTargetX = x;
    unit.aiUltimateTargetY = y;
    EXPECT_FALSE(unit.AiAdvanceToUltimateTarget()) << x << "," << y;
  }

  // Onto its own hex: the note, nothing else.
  EXPECT_FALSE(unit.AiMoveToHex(0, 0));
  EXPECT_EQ(w.Hex(0, 0).unit, &unit);
  // Without a turn state to build the path nothing moves.
  unit.actionPoints = unit.startingActionPoints = 2;
  unit.ComputeMoveRange(true);
  EXPECT_FALSE(unit.AiMoveToHex(1, 0));
  EXPECT_EQ(w.Hex(0, 0).unit, &unit);
  EXPECT_EQ(w.world->GetGameState(), 0);
}

// --- the move handshake against a fake main thread ---

struct sPathRequest {
  std::atomic<int> calls{0};
  std::atomic<int> x{-1}, y{-1};
};
sPathRequest g_request;

void RecordPath(cWorld&, cJednostkaLadowa&, int x, int y) {
  g_request.x = x;
  g_request.y = y;
  ++g_request.calls;
}

// The main thread's frame update: once the worker has set phase 10 and
// polled a few times, it steps the unit onto the requested hex and returns
// the phase to 9.
class FakeMainThread {
 public:
  FakeMainThread(LandWorld& w, cJednostkaLadowa& unit, plat::ManualClock& clock)
      : thread_([&w, &unit, &clock, this] {
          while (w.world->GetGameState() != kPhaseComputerMove) std::this_thread::yield();
          startHexEmptyWhenStepping = w.Hex(unit.x, unit.y).unit == nullptr;
          while (clock.SleepCalls() < 3) std::this_thread::yield();
          unit.x = g_request.x;
          unit.y = g_request.y;
          w.Hex(unit.x, unit.y).unit = &unit;
          w.world->SetGameState(kPhaseComputerPlayers);
        }) {}
  ~FakeMainThread() { thread_.join(); }
  std::atomic<bool> startHexEmptyWhenStepping{false};

 private:
  std::thread thread_;
};

// A fresh world for each move: a 6 x 2 plain where every step costs 1.
class LandMoveThread : public ::testing::Test {
 protected:
  LandMoveThread() { plat::SetClock(&clock_); }
  ~LandMoveThread() override { plat::SetClock(nullptr); }
  LandWorld& Fresh() {
    w_.reset();  // the old world unsets g_pWorld as it goes
    w_ = std::make_unique<LandWorld>(std::vector<std::string>{"pppppp", "pppppp"});
    w_->AddCountries({kAllies});
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    g_LandTurnHooks.buildPath = &RecordPath;
    g_request.calls = 0;
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
  {
    FakeMainThread main(w, unit, clock_);
    moved = unit.AiMoveToHex(3, 0);
    startHexEmpty = main.startHexEmptyWhenStepping;
  }
  EXPECT_TRUE(moved);
  EXPECT_TRUE(startHexEmpty);
  EXPECT_EQ(g_request.calls, 1);
  EXPECT_EQ(w.Hex(3, 0).unit, &unit);
  EXPECT_EQ(w.world->GetGameState(), kPhaseComputerPlayers);
  // Traced polls of 50 ms each, the last cut short when the move has ended,
  // then the after-move delay. (Two threads logging at once may add the
  // log's own 25 ms waits.)
  const auto lines = log.Lines();
  const auto polls = static_cast<std::uint64_t>(std::count_if(lines.begin(), lines.end(), [](const std::wstring& l) {
    return l.rfind(L"S: ", 0) == 0 && l.find(L": 50 ms") != std::wstring::npos;
  }));
  EXPECT_GE(polls, 3u);
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
    {
      FakeMainThread main(w, unit, clock_);
      if (order == kToward) unit.AiMoveTowardHex(5, 0);
      if (order != kToward) { EXPECT_TRUE(order == kTo ? unit.AiMoveToHex(5, 1) : unit.AiAdvanceToUltimateTarget()); }
    }
    EXPECT_EQ(g_request.calls, 1) << order;
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
      EXPECT_TRUE(aside ? unit.MoveAside() : unit.AiMoveToHex(3, 0));
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
  g_LandTurnHooks.buildPath = &RecordPath;
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
    unit.AiMoveToHex(3, 0);
    returned = true;
  });
  // The main thread's part: step the unit, hand the phase back.
  while (w.world->GetGameState() != kPhaseComputerMove) std::this_thread::yield();
  unit.x = 3;
  w.world->SetGameState(kPhaseComputerPlayers);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(returned.load());
  const auto stopped = std::chrono::steady_clock::now();
  stop = true;
  worker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::milliseconds(100));

  // Already stopping: the order sets the phase and returns without waiting
  // for a main thread that no longer steps it.
  unit.x = 0;
  w.Hex(3, 0).unit = nullptr;
  w.Hex(0, 0).unit = &unit;
  unit.ComputeMoveRange(true);
  EXPECT_TRUE(unit.AiMoveToHex(3, 0));
  EXPECT_EQ(w.world->GetGameState(), kPhaseComputerMove);
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

}  // namespace
