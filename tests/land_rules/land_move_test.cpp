#include <gtest/gtest.h>

#include <numeric>

#include "app/framework_lock.h"
#include "app/settings.h"
#include "land_rules/land_rules_fixture.h"
#include "rules/capture.h"
#include "rules/land_move.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/fleet.h"
#include "world/game_phase.h"
#include "world/unit_lists.h"
#include "world/units_visibility.h"

namespace {

using Rows = std::vector<std::string>;

// Country 1 (Allies) at war with 2 (Axis); 3 is neutral, 4 the Allies'
// leader (at war with 2 too). Every land hex starts as country 1's.
class LandMoveRules : public ::testing::Test {
 protected:
  explicit LandMoveRules(Rows rows = {"pppppp", "pppppp", "pppppp", "pppppp"}) : w_(std::move(rows)) {
    w_.AddCountries({kAllies, kAxis, kNeutral, kAlliesLeader});
    w_.War(1, 2);
    w_.War(4, 2);
    LandUnitConstants().move.terrainCost = {1, 2, 3, 3, 2, 10, 1, 50};
  }
  cWorld& World() { return *w_.world; }
  // Columns x0 and beyond controlled and owned by the country.
  void GiveColumns(int x0, int country) {
    for (sHex& hex : w_.Map().Hexes()) {
      if (hex.x >= x0) hex.controller = hex.owner = static_cast<std::uint8_t>(country);
    }
  }
  cJednostkaLadowa& Mover(int x, int y, int points) {
    cJednostkaLadowa& unit = w_.AddUnit(x, y, 1);
    unit.actionPoints = unit.startingActionPoints = points;
    unit.ComputeMoveRange(false);
    return unit;
  }
  // Steps until the path is used up; returns the number of steps taken.
  int Walk() {
    int steps = 0;
    while (StepLandMove(World())) ++steps;
    return steps + 1;
  }
  std::vector<int> Controllers() {
    std::vector<int> out;
    for (const sHex& hex : w_.Map().Hexes()) out.push_back(hex.controller);
    return out;
  }
  int RangeCost(const cJednostkaLadowa& unit, int x, int y) {
    for (const sLandMoveEntry& e : unit.MoveRange()) {
      if (e.x == x && e.y == y) return e.cost;
    }
    return -1;
  }

  twtest::LandWorld w_;
};

TEST_F(LandMoveRules, PathAddsUpToTheTargetCostAndEveryStepIsNextToTheLast) {
  w_.Hex(2, 1).terrain = kTerrainForest;  // costs 2
  w_.Hex(2, 2).terrain = kTerrainForest;
  cJednostkaLadowa& unit = Mover(0, 1, 6);
  const int cost = RangeCost(unit, 4, 1);
  ASSERT_GT(cost, 0);
  ASSERT_EQ(OrderLandMove(World(), unit, 4, 1, true), eLandMoveRefusal::kNone);
  EXPECT_EQ(World().GetGameState(), kPhaseHumanMove);
  EXPECT_EQ(w_.Hex(0, 1).unit, nullptr) << "the unit leaves its start hex while it walks";
  const std::list<sPathStep>& path = World().turnState.move.path;
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.back(), (sPathStep{4, 1, path.back().cost}));
  int sum = 0, px = 0, py = 1;
  for (const sPathStep& step : path) {
    EXPECT_EQ(HexDistance(px, py, step.x, step.y), 1) << step.x << "," << step.y;
    EXPECT_GE(step.cost, 1);
    sum += step.cost;
    px = step.x;
    py = step.y;
  }
  EXPECT_EQ(sum, cost);
  const std::size_t steps = path.size();
  EXPECT_EQ(static_cast<std::size_t>(Walk()), steps);
  EXPECT_EQ(unit.x, 4);
  EXPECT_EQ(unit.y, 1);
  EXPECT_EQ(unit.actionPoints, 6 - cost);
  EXPECT_EQ(w_.Hex(4, 1).unit, &unit);
  EXPECT_EQ(World().turnState.move.unit, nullptr);
  EXPECT_EQ(World().turnState.move.moveTargetX, 4);
}

TEST_F(LandMoveRules, AHumanMoveEndsWithTheFogRecalculatedFromTheNewHex) {
  const int fog = g_Settings.FogOfWar;
  g_Settings.FogOfWar = 2;
  w_.Country(1).human = true;
  cJednostkaLadowa& unit = Mover(0, 1, 6);
  cJednostkaLadowa& left = w_.AddUnit(0, 3, 2);     // two hexes from the start
  cJednostkaLadowa& reached = w_.AddUnit(5, 3, 2);  // two hexes from the target
  RecalculateUnitsVisibility(World(), w_.Country(1));
  ASSERT_TRUE(left.visible);
  ASSERT_FALSE(reached.visible);
  ASSERT_EQ(OrderLandMove(World(), unit, 5, 1, true), eLandMoveRefusal::kNone);
  Walk();
  EXPECT_EQ(unit.x, 5);
  EXPECT_TRUE(unit.visible);
  EXPECT_TRUE(reached.visible) << "seen from the new hex";
  EXPECT_FALSE(left.visible) << "out of sight once the unit has gone";
  g_Settings.FogOfWar = fog;
}

TEST_F(LandMoveRules, AdjacentMoveIsOneStepOfThatHexCostAndZeroPointUnitIsFlagged) {
  cJednostkaLadowa& unit = Mover(1, 1, 0);  // a unit without points steps once
  ASSERT_EQ(unit.MoveRange().size(), 6u);
  ASSERT_EQ(OrderLandMove(World(), unit, 1, 2, true), eLandMoveRefusal::kNone);
  EXPECT_EQ(World().turnState.move.path, (std::list<sPathStep>{{1, 2, 0}}));
  EXPECT_TRUE(unit.movedOrDeployed);
  Walk();
  // The undo puts the flag back as it was before the move.
  EXPECT_EQ(UndoLandMove(World(), &unit), eUndoRefusal::kNone);
  EXPECT_FALSE(unit.movedOrDeployed);
}

TEST_F(LandMoveRules, RefusedOrdersChangeNothing) {
  cJednostkaLadowa& unit = Mover(0, 1, 2);
  w_.AddUnit(1, 1, 1);  // added after the range: the range still lists its hex
  EXPECT_EQ(CheckLandMove(World(), unit, 5, 3), eLandMoveRefusal::kNotInRange);
  EXPECT_EQ(CheckLandMove(World(), unit, 40, 1), eLandMoveRefusal::kNotInRange);
  EXPECT_EQ(CheckLandMove(World(), unit, 1, 1), eLandMoveRefusal::kTargetOccupied);
  EXPECT_FALSE(World().turnState.FindLandPath(World(), unit, 5, 3));
  EXPECT_EQ(World().turnState.undo.unit, nullptr);
  EXPECT_EQ(World().turnState.move.unit, nullptr);
  EXPECT_EQ(w_.Hex(0, 1).unit, &unit);
  EXPECT_STREQ(LandMoveRefusalKey(eLandMoveRefusal::kNotInRange), "move_impossible_not_in_range");
  EXPECT_EQ(LandMoveRefusalKey(eLandMoveRefusal::kNone), nullptr);
}

TEST_F(LandMoveRules, StepPassesFriendsStopsBeforeAnEnemyAndNeverEndsOnAnotherUnit) {
  twtest::LandWorld& w = w_;
  // A friendly (1) and a neutral (3) unit on the way are passed.
  for (int blocker : {1, 3}) {
    cJednostkaLadowa& unit = Mover(0, 1, 6);
    ASSERT_EQ(OrderLandMove(World(), unit, 4, 1, true), eLandMoveRefusal::kNone);
    const sPathStep first = World().turnState.move.path.front();
    cJednostkaLadowa& other = w.AddUnit(first.x, first.y, blocker);
    Walk();
    EXPECT_EQ(unit.x, 4) << blocker;
    EXPECT_EQ(w.Hex(4, 1).unit, &unit) << blocker;
    EXPECT_EQ(w.Hex(first.x, first.y).unit, &other) << "the passed unit keeps its hex";
    other.Kill();
    unit.Kill();
  }
  // An enemy that stepped into the path after it was built stops the move
  // before it, keeping the remaining points; the start hex is taken back.
  {
    cJednostkaLadowa& unit = Mover(0, 1, 6);
    ASSERT_EQ(OrderLandMove(World(), unit, 4, 1, true), eLandMoveRefusal::kNone);
    const sPathStep first = World().turnState.move.path.front();
    cJednostkaLadowa& enemy = w.AddUnit(first.x, first.y, 2);
    EXPECT_FALSE(StepLandMove(World()));
    EXPECT_EQ(unit.x, 0);
    EXPECT_EQ(unit.actionPoints, 6) << "no points are spent";
    EXPECT_EQ(w.Hex(0, 1).unit, &unit) << "back on its hex";
    EXPECT_EQ(w.Hex(first.x, first.y).unit, &enemy);
    enemy.Kill();
    unit.Kill();
  }
  // A friend that took the target hex: the move ends on the last free hex
  // before it, so two units never share a hex.
  {
    cJednostkaLadowa& unit = Mover(0, 1, 6);
    ASSERT_EQ(OrderLandMove(World(), unit, 4, 1, true), eLandMoveRefusal::kNone);
    std::list<sPathStep> path = World().turnState.move.path;
    ASSERT_GE(path.size(), 2u);
    cJednostkaLadowa& friendOnTarget = w.AddUnit(4, 1, 1);
    path.pop_back();
    Walk();
    EXPECT_EQ(unit.x, path.back().x);
    EXPECT_EQ(unit.y, path.back().y);
    EXPECT_EQ(w.Hex(unit.x, unit.y).unit, &unit);
    EXPECT_EQ(w.Hex(4, 1).unit, &friendOnTarget);
    friendOnTarget.Kill();
    unit.Kill();
  }
}

TEST_F(LandMoveRules, CaptureTakesTheHexAndUnguardedEnemyNeighboursButNoCityAndUndoRestoresAll) {
  GiveColumns(2, 2);
  cCity* city = w_.AddCity(3, 0, kCityNormal);
  city->victoryPoints = 5;
  w_.AddUnit(5, 1, 2);  // guards its hex and its neighbours
  const std::vector<int> before = Controllers();
  cJednostkaLadowa& unit = Mover(1, 1, 4);
  ASSERT_EQ(OrderLandMove(World(), unit, 3, 1, true), eLandMoveRefusal::kNone);
  Walk();
  EXPECT_EQ(w_.Hex(3, 1).controller, 1);
  EXPECT_EQ(w_.Hex(2, 1).controller, 1);
  EXPECT_EQ(w_.Hex(3, 2).controller, 1) << "unguarded neighbour";
  EXPECT_EQ(w_.Hex(3, 0).controller, 2) << "a city is taken only by entering it";
  EXPECT_EQ(w_.Hex(4, 1).controller, 2) << "next to an enemy unit";
  EXPECT_EQ(w_.Hex(3, 1).owner, 2) << "owners never change";
  EXPECT_EQ(World().CountCountryVictoryPoints(1), 0);
  const std::vector<sChangedHex> changed = World().turnState.undo.changedHexes;
  EXPECT_FALSE(changed.empty());
  for (const sChangedHex& c : changed) EXPECT_EQ(c.previousController, 2);

  // The second move takes the city and its victory points.
  cJednostkaLadowa& second = Mover(2, 0, 2);
  ASSERT_EQ(OrderLandMove(World(), second, 3, 0, true), eLandMoveRefusal::kNone);
  Walk();
  EXPECT_EQ(w_.Hex(3, 0).controller, 1);
  EXPECT_EQ(World().CountCountryVictoryPoints(1), 5);
  EXPECT_EQ(World().CountCountryVictoryPoints(2), 0);

  // Only the last moved unit may undo; its undo gives back the city.
  {
    twtest::LogCapture log;
    EXPECT_EQ(UndoLandMove(World(), &unit), eUndoRefusal::kNotLastMovedUnit);
    EXPECT_TRUE(log.Contains(L"undo_impossible._only_last_unit_moved_may_undo_its_movement."));
  }
  EXPECT_EQ(unit.x, 3);
  twtest::LogCapture log;
  EXPECT_EQ(UndoLandMove(World(), &second), eUndoRefusal::kNone);
  EXPECT_TRUE(log.Contains(L"conducting_undo_movement._hexes_to_change:1,_start_coords(2,0)"));
  EXPECT_EQ(second.x, 2);
  EXPECT_EQ(second.y, 0);
  EXPECT_EQ(second.actionPoints, 2);
  EXPECT_EQ(w_.Hex(2, 0).unit, &second);
  EXPECT_EQ(w_.Hex(3, 0).unit, nullptr);
  EXPECT_EQ(w_.Hex(3, 0).controller, 2);
  EXPECT_EQ(World().CountCountryVictoryPoints(2), 5);
  EXPECT_EQ(World().turnState.selectedHex, &w_.Hex(2, 0));
  EXPECT_EQ(World().turnState.selectedUnit, &second);
  EXPECT_EQ(World().turnState.mode, 4);
  EXPECT_FALSE(second.MoveRange().empty()) << "the range is computed again";

  // A second undo has nothing to undo.
  EXPECT_EQ(UndoLandMove(World(), &second), eUndoRefusal::kNothingMoved);
  EXPECT_TRUE(log.Contains(L"undo_impossible._no_unit_has_moved_yet!"));
}

TEST_F(LandMoveRules, UndoRestoresEveryCapturedHex) {
  GiveColumns(2, 2);
  const std::vector<int> before = Controllers();
  cJednostkaLadowa& unit = Mover(1, 1, 4);
  ASSERT_EQ(OrderLandMove(World(), unit, 4, 2, true), eLandMoveRefusal::kNone);
  Walk();
  EXPECT_NE(Controllers(), before);
  EXPECT_EQ(UndoLandMove(World(), &unit), eUndoRefusal::kNone);
  EXPECT_EQ(Controllers(), before);
  EXPECT_EQ(unit.actionPoints, 4);
  EXPECT_EQ(w_.Hex(4, 2).unit, nullptr);
}

TEST_F(LandMoveRules, EnemyHexOwnedByAnAllyGoesBackToItsOwner) {
  w_.Hex(2, 1).controller = 2;
  w_.Hex(2, 1).owner = 4;
  cJednostkaLadowa& unit = Mover(1, 1, 2);
  ASSERT_EQ(OrderLandMove(World(), unit, 2, 1, true), eLandMoveRefusal::kNone);
  Walk();
  EXPECT_EQ(w_.Hex(2, 1).controller, 4);
  ASSERT_EQ(World().turnState.undo.changedHexes.size(), 1u);
  EXPECT_EQ(World().turnState.undo.changedHexes[0], (sChangedHex{2, 1, 2}));
}

TEST_F(LandMoveRules, AWeakerCountryMovingFromAnAllysHexTakesForTheAlly) {
  // A unit of 1 leaves a hex of its strong ally 4 for an enemy hex: the ally
  // takes it, unless 1 is at least as strong as 4 by the margin.
  for (int strength : {0, 20}) {
    GiveColumns(2, 2);
    w_.Hex(1, 1).controller = 4;
    World().constants.politicalStrengthMargin = 5;
    w_.Country(4).politicalStrength = 10;
    w_.Country(1).politicalStrength = strength;
    cJednostkaLadowa& unit = Mover(1, 1, 2);
    ASSERT_EQ(OrderLandMove(World(), unit, 2, 1, true), eLandMoveRefusal::kNone);
    Walk();
    EXPECT_EQ(w_.Hex(2, 1).controller, strength == 0 ? 4 : 1) << strength;
    unit.Kill();
  }
}

TEST_F(LandMoveRules, CapturedPortSendsItsFleetsToSea) {
  GiveColumns(2, 2);
  w_.AddCity(2, 1, kCityPort);
  cSeaGraph& graph = World().GetSeaGraph();
  graph.Nodes().clear();
  sWezelGrafuMorz sea;
  sea.id = 1;
  sea.isSea = 1;
  sWezelGrafuMorz port;
  port.id = 2;
  port.isSea = 0;
  port.x = 2;
  port.y = 1;
  port.links.push_back({1, 0, 0});
  graph.Nodes().push_back(sea);
  graph.Nodes().push_back(port);
  auto* fleet = new cFleet();
  fleet->country = 2;
  fleet->seaNode = 2;
  World().Units().fleets.push_back(fleet);
  cJednostkaLadowa& unit = Mover(1, 1, 2);
  ASSERT_EQ(OrderLandMove(World(), unit, 2, 1, true), eLandMoveRefusal::kNone);
  Walk();
  EXPECT_EQ(w_.Hex(2, 1).controller, 1);
  EXPECT_EQ(fleet->seaNode, 1);
}

TEST_F(LandMoveRules, KilledUnitLeavesSelectionUndoMoveAndAttack) {
  cJednostkaLadowa& unit = Mover(1, 1, 3);
  cJednostkaLadowa& enemy = w_.AddUnit(1, 3, 2);
  ASSERT_EQ(OrderLandMove(World(), unit, 2, 1, true), eLandMoveRefusal::kNone);
  World().turnState.selectedUnit = &unit;
  World().turnState.SetAttack(&enemy, 1, 3, nullptr, nullptr, nullptr, &unit);
  unit.Kill();
  const cTurnState& state = World().turnState;
  EXPECT_EQ(state.selectedUnit, nullptr);
  EXPECT_EQ(state.undo.unit, nullptr);
  EXPECT_EQ(state.move.unit, nullptr);
  EXPECT_TRUE(state.move.path.empty());
  ASSERT_NE(state.attack, nullptr);
  EXPECT_EQ(state.attack->CountAttackingSides(), 0);
  EXPECT_EQ(state.attack->defender, &enemy);
  EXPECT_TRUE(World().Units().landUnits.size() == 1);
  EXPECT_FALSE(StepLandMove(World()));
}

}  // namespace

namespace {

TEST_F(LandMoveRules, TheComputersOrderTakesThePlayersPathAndARefusedOneLeavesTheUnitWhereItIs) {
  cJednostkaLadowa& unit = Mover(1, 1, 2);
  // Out of range: refused by the check, the unit still on its hex.
  EXPECT_EQ(OrderLandMove(World(), unit, 5, 3, false), eLandMoveRefusal::kNotInRange);
  EXPECT_EQ(w_.Hex(1, 1).unit, &unit);
  EXPECT_EQ(World().turnState.move.unit, nullptr);
  ASSERT_EQ(OrderLandMove(World(), unit, 2, 1, false), eLandMoveRefusal::kNone);
  EXPECT_EQ(World().GetGameState(), kPhaseComputerMove);
  EXPECT_EQ(w_.Hex(1, 1).unit, nullptr);
  EXPECT_EQ(Walk(), 1);
  EXPECT_EQ(w_.Hex(2, 1).unit, &unit);
}

#if defined(TW_SANITIZED)
// In the test builds a rule's change of the world made without the
// framework lock, while the lock is in use, ends the process at once.
TEST_F(LandMoveRules, AStepWithoutTheFrameworkLockEndsTheTestBuild) {
  cJednostkaLadowa& unit = Mover(1, 1, 2);
  ASSERT_EQ(OrderLandMove(World(), unit, 2, 1, false), eLandMoveRefusal::kNone);
  EXPECT_DEATH(
      {
        g_bRunning = true;
        CreateFrameworkLock();
        StepLandMove(World());
      },
      "without the framework lock");
  // With the lock held the same step goes on.
  const bool wasRunning = g_bRunning.exchange(true);
  CreateFrameworkLock();
  {
    const cFrameworkLockGuard lock;
    EXPECT_EQ(Walk(), 1);
  }
  DeleteFrameworkLock();
  g_bRunning = wasRunning;
  EXPECT_EQ(w_.Hex(2, 1).unit, &unit);
}
#endif

}  // namespace
