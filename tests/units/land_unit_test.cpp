#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "app/settings.h"
#include "platform/clock.h"
#include "support/test_support.h"
#include "units/land_fixture.h"
#include "world/game_phase.h"

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
  corps.turnsWithoutSupply = tanks.turnsWithoutSupply = 0;
  corps.supply = 2;
  corps.movedOrDeployed = true;
  corps.ResetActionPoints();
  EXPECT_EQ(corps.actionPoints, 6);
  EXPECT_EQ(corps.startingActionPoints, 6);
  EXPECT_FALSE(corps.movedOrDeployed);

  corps.supply = 1;  // half lost
  corps.ResetActionPoints();
  EXPECT_EQ(corps.actionPoints, 3);
  corps.turnsWithoutSupply = 1;  // 3 x 0.75
  corps.ResetActionPoints();
  EXPECT_EQ(corps.actionPoints, 2);

  // Nothing left: infantry keeps one point, armour none.
  corps.supply = tanks.supply = 0;
  corps.turnsWithoutSupply = 0;
  corps.ResetActionPoints();
  tanks.ResetActionPoints();
  EXPECT_EQ(corps.actionPoints, 1);
  EXPECT_EQ(tanks.actionPoints, 0);
  tanks.supply = 2;
  tanks.turnsWithoutSupply = 4;  // at the cut-off limit
  tanks.ResetActionPoints();
  EXPECT_EQ(tanks.actionPoints, 0);
  // A supply level past the table reads its last entry.
  tanks.turnsWithoutSupply = 0;
  tanks.supply = 9;
  tanks.ResetActionPoints();
  EXPECT_EQ(tanks.actionPoints, 8);
}

TEST_F(LandUnitRules, EffectivenessCombinesDoctrineSupplyEventsAndShelling) {
  cJednostkaLadowa& unit = w_.AddUnit(0, 0, 1, kUnitArmouredDivision);
  unit.supply = 2;              // 100 %
  unit.eventsEffect = -50;      // 1.5 x 0.5 = 0.75
  unit.shoreBombardmentEffect = 2.5f;
  unit.turnsWithoutSupply = 0;
  unit.UpdateEffectiveness();
  EXPECT_EQ(unit.effectiveness, 72);  // 75 - 2.5, truncated
  unit.turnsWithoutSupply = 1;        // x 0.75
  unit.UpdateEffectiveness();
  EXPECT_EQ(unit.effectiveness, 54);
  unit.turnsWithoutSupply = 4;
  unit.UpdateEffectiveness();
  EXPECT_EQ(unit.effectiveness, 1);
  unit.turnsWithoutSupply = 0;
  unit.supply = 0;
  unit.UpdateEffectiveness();
  EXPECT_EQ(unit.effectiveness, 1);
  // A cut-off limit of 0 in the constants counts as cut off, not as a crash.
  LandUnitConstants().supplyCutOffLimit = 0;
  unit.supply = 2;
  unit.turnsWithoutSupply = 1;
  unit.UpdateEffectiveness();
  EXPECT_EQ(unit.effectiveness, 1);
}

TEST(LandUnit, OrdersWithoutRouteOrTargetAreRefused) {
  LandWorld w({"ppp", "ppp"});
  w.AddCountries({kAllies});
  cJednostkaLadowa& unit = w.AddUnit(0, 0, 1);
  twtest::LogCapture log;

  unit.SetAiOrder(4, 2, 1, 1);
  EXPECT_EQ(unit.aiOrder, 4);
  EXPECT_EQ(unit.aiTargetX, 2);
  EXPECT_EQ(unit.aiTargetY, 1);
  EXPECT_EQ(unit.aiUltimateTargetX, -1);
  unit.SetAiOrder(7, 2, 1, 2);  // no city there: no route
  EXPECT_EQ(unit.aiOrder, 0);
  EXPECT_EQ(unit.aiTargetX, -1);
  EXPECT_TRUE(HasLine(log.Lines(), L"ERROR: Nie znaleziono sciezki dla rozkazu nr 7"));

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
  unit.aiUltimateTargetX = 3;
  unit.aiUltimateTargetY = 0;
  EXPECT_FALSE(unit.AiAdvanceToUltimateTarget());
  unit.aiUltimateTargetX = 0;
  unit.aiUltimateTargetY = 2;
  EXPECT_FALSE(unit.AiAdvanceToUltimateTarget());
  unit.aiUltimateTargetX = -1;
  EXPECT_FALSE(unit.AiAdvanceToUltimateTarget());

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

void RecordPath(cJednostkaLadowa&, int x, int y) {
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

class LandMoveThread : public ::testing::Test {
 protected:
  LandMoveThread() : w_({"pppppp", "pppppp"}) {
    w_.AddCountries({kAllies});
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    g_LandTurnHooks.buildPath = &RecordPath;
    g_request.calls = 0;
    plat::SetClock(&clock_);
    g_Delays[kDelayAIMoveAfter] = 120.0f;
    w_.world->SetGameState(kPhaseComputerPlayers);
  }
  ~LandMoveThread() override { plat::SetClock(nullptr); }
  LandWorld w_;
  plat::ManualClock clock_;
};

TEST_F(LandMoveThread, WorkerWaitsInTracedSleepsUntilTheMainThreadStepped) {
  cJednostkaLadowa& unit = w_.AddUnit(0, 0, 1);
  unit.actionPoints = unit.startingActionPoints = 3;
  unit.ComputeMoveRange(true);
  twtest::LogCapture log;
  bool moved = false;
  bool startHexEmpty = false;
  {
    FakeMainThread main(w_, unit, clock_);
    moved = unit.AiMoveToHex(3, 0);
    startHexEmpty = main.startHexEmptyWhenStepping;
  }
  EXPECT_TRUE(moved);
  EXPECT_TRUE(startHexEmpty);
  EXPECT_EQ(g_request.calls, 1);
  EXPECT_EQ(unit.x, 3);
  EXPECT_EQ(w_.Hex(0, 0).unit, nullptr);
  EXPECT_EQ(w_.world->GetGameState(), kPhaseComputerPlayers);
  // Traced polls of 50 ms each, then the after-move delay. (Two threads
  // logging at once may add the log's own 25 ms waits.)
  const auto lines = log.Lines();
  const auto polls = static_cast<std::uint64_t>(std::count_if(lines.begin(), lines.end(), [](const std::wstring& l) {
    return l.rfind(L"S: ", 0) == 0 && l.find(L": 50 ms") != std::wstring::npos;
  }));
  EXPECT_GE(polls, 3u);
  ASSERT_GE(clock_.TotalSlept(), 50u * polls + 120u);
  EXPECT_EQ((clock_.TotalSlept() - 50u * polls - 120u) % 25u, 0u);
  EXPECT_TRUE(HasLine(lines, L"---- Game state = 10"));
}

TEST_F(LandMoveThread, TowardHexStopsShortOfSpendingEveryPoint) {
  cJednostkaLadowa& unit = w_.AddUnit(0, 0, 1);
  unit.actionPoints = unit.startingActionPoints = 3;
  {
    FakeMainThread main(w_, unit, clock_);
    unit.AiMoveTowardHex(5, 0);
  }
  // (3,0) costs all 3 points; the best hex that keeps one is 2 away.
  EXPECT_EQ(g_request.x, 2);
  EXPECT_EQ(g_request.y, 0);
  EXPECT_EQ(unit.x, 2);
}

TEST_F(LandMoveThread, TargetOutsideTheRangeTakesTheNearestFreeEntry) {
  cJednostkaLadowa& unit = w_.AddUnit(0, 0, 1);
  unit.actionPoints = 2;
  unit.startingActionPoints = 3;
  w_.AddUnit(2, 0, 1);  // occupied: skipped
  unit.ComputeMoveRange(true);
  {
    FakeMainThread main(w_, unit, clock_);
    EXPECT_TRUE(unit.AiMoveToHex(5, 1));
  }
  // Range: (1,0) (0,1) (1,1) cost 1, (2,0) taken, (2,1) (0,...) cost 2;
  // (2,1) is the nearest free entry to (5,1).
  EXPECT_EQ(g_request.x, 2);
  EXPECT_EQ(g_request.y, 1);
}

TEST_F(LandMoveThread, AdvanceWalksGreedilyToANeighbouringTarget) {
  cJednostkaLadowa& unit = w_.AddUnit(0, 0, 1);
  unit.actionPoints = unit.startingActionPoints = 2;
  unit.aiUltimateTargetX = 1;
  unit.aiUltimateTargetY = 0;
  {
    FakeMainThread main(w_, unit, clock_);
    EXPECT_TRUE(unit.AiAdvanceToUltimateTarget());
  }
  EXPECT_EQ(g_request.x, 1);
  EXPECT_EQ(unit.x, 1);
}

}  // namespace
