// Map rows are listed top first; in an even column the north-east and
// north-west neighbours share the row, in an odd column they are a row up.
#include <gtest/gtest.h>
#include <algorithm>
#include <utility>
#include <vector>

#include "units/land_fixture.h"
#include "world/hex_changes.h"
#include "world/jednostka_lotnicza.h"

namespace {

using Rows = std::vector<std::string>;

class LandMovement : public ::testing::Test {
 protected:
  void UseMap(Rows rows) {
    w_.reset();  // the old world unsets g_pWorld as it goes
    w_ = std::make_unique<twtest::LandWorld>(std::move(rows));
    w_->AddCountries({kAllies, kAxis, kNeutral, kAlliesLeader});
    w_->War(1, 2);
    sLandMoveRules& rules = LandUnitConstants().move;
    rules.terrainCost = {1, 2, 3, 3, 2, 10, 1, 50};  // water 50
    rules.zoneOfControlCost = 2;
  }
  cJednostkaLadowa& Mover(int x, int y, int points, int type = kUnitInfantryDivision) {
    cJednostkaLadowa& unit = w_->AddUnit(x, y, 1, type);
    unit.actionPoints = points;
    unit.startingActionPoints = points;
    return unit;
  }
  // A fighter of the country on (x, y): it shares the hex cells with land units.
  cJednostkaLotnicza* AddAir(int x, int y, int country) {
    auto* air = new cJednostkaLotnicza(w_->world.get());
    air->countryId = country;
    air->SetType(kUnitFighter);
    air->visible = true;
    w_->world->Units().airUnits.push_back(air);
    EXPECT_TRUE(air->PlaceOnHex(*w_->world, x, y));
    return air;
  }
  twtest::LandWorld& W() { return *w_; }

  std::unique_ptr<twtest::LandWorld> w_;
};

// A corridor in column 1 beside an enemy at (2,1): (1,1) and (1,2) both lie
// in its zone of control, so the step between them pays the extra 2.
const Rows kCorridor = {"~pp", "~pp", "~pp", "~pp"};

TEST_F(LandMovement, ZoneOfControlAddsItsCostOnlyBetweenTwoZoneHexes) {
  // An enemy air unit closes its hex and casts its zone like a land unit.
  cJednostkaLadowa* unit = nullptr;
  for (bool air : {false, true}) {
    UseMap(kCorridor);
    unit = &Mover(1, 0, 6);
    if (air) AddAir(2, 1, 2);
    if (!air) W().AddUnit(2, 1, 2);
    EXPECT_EQ(unit->ComputeMoveRange(false), 6);
    EXPECT_EQ(W().CostTable(*unit), (Rows{".*1", ".1.", ".46", ".56"})) << air;
  }

  // Without the extra cost the corridor is plain ground again; the river on
  // it changes nothing.
  LandUnitConstants().move.zoneOfControlCost = 0;
  W().Hex(1, 1).riverMask = 1 | 8;
  EXPECT_EQ(unit->ComputeMoveRange(true), 6);
  EXPECT_EQ(W().CostTable(*unit), (Rows{".*1", ".1.", ".23", ".34"}));
}

TEST_F(LandMovement, AFriendlyAirUnitCastsNoZoneAndItsHexStaysUnmarked) {
  UseMap(kCorridor);
  cJednostkaLadowa& unit = Mover(1, 0, 6);
  AddAir(2, 1, 1);
  // The range runs through the friend's hex (the path builder never stops
  // there), but the hex is not marked as a destination.
  EXPECT_EQ(unit.ComputeMoveRange(false), 7);
  EXPECT_EQ(W().CostTable(unit), (Rows{".*1", ".12", ".23", ".34"}));
  EXPECT_EQ(W().Hex(2, 1).markBits & kMarkMoveAll, 0u);
  EXPECT_EQ(W().Hex(2, 2).markBits & kMarkMoveAll, kMarkMoveSpare);
}

TEST_F(LandMovement, UnseenEnemyLeavesItsHexOpenButKeepsItsZone) {
  UseMap(kCorridor);
  cJednostkaLadowa& unit = Mover(1, 0, 6);
  W().AddUnit(2, 1, 2).visible = false;
  EXPECT_EQ(unit.ComputeMoveRange(false), 7);
  EXPECT_EQ(W().CostTable(unit), (Rows{".*1", ".12", ".33", ".44"}));
  // The unseen unit's hex is marked like an empty one.
  EXPECT_EQ(W().Hex(2, 1).markBits & kMarkMoveAll, kMarkMoveSpare);
  EXPECT_EQ(W().Hex(2, 1).markValue, 4);

  // Counting only, every enemy is seen.
  EXPECT_EQ(unit.ComputeMoveRange(true), 6);
  EXPECT_EQ(W().CostTable(unit), (Rows{".*1", ".1.", ".46", ".56"}));
}

TEST_F(LandMovement, MudAndSnowMultiplyTheStepAndTruncate) {
  UseMap({"ppppp"});
  LandUnitConstants().move.terrainCost[0] = 2;
  LandUnitConstants().move.mudFactor = 100.0f;
  LandUnitConstants().move.winterFactor = 100.0f;
  W().Country(1).mudMove = 50.0f;     // x 1.5: 2 -> 3
  W().Country(1).winterMove = 25.0f;  // x 1.25: 2 -> 2.5 -> 2
  W().Hex(1, 0).weather = 2;
  W().Hex(3, 0).weather = 1;
  cJednostkaLadowa& unit = Mover(0, 0, 9);
  unit.ComputeMoveRange(true);
  EXPECT_EQ(W().CostTable(unit), (Rows{"*3579"}));
  unit.actionPoints = unit.startingActionPoints = 8;
  unit.ComputeMoveRange(true);
  EXPECT_EQ(W().CostTable(unit), (Rows{"*357."}));

  // The scenario's factor scales the country's percentage.
  LandUnitConstants().move.mudFactor = 0.0f;
  unit.ComputeMoveRange(true);
  EXPECT_EQ(W().CostTable(unit), (Rows{"*2468"}));
}

TEST_F(LandMovement, MarksFollowTheRemainingPointsAndReplaceTheOldOnes) {
  UseMap({"pppppp"});
  W().Country(1).techLevel[kTechDoctrine] = 2;
  LandUnitConstants().move.fewPointsThreshold = {0, 0, 1, 0, 0, 0};
  SetHexMark(W().Map(), W().Hex(5, 0), kMarkMoveSpare | 1, 7);
  cJednostkaLadowa& unit = Mover(0, 0, 4);
  W().AddUnit(2, 0, 1);  // a friendly unit: passed through, listed, not marked
  EXPECT_EQ(unit.ComputeMoveRange(false), 4);
  EXPECT_EQ(W().CostTable(unit), (Rows{"*1234."}));
  EXPECT_EQ(W().MarkTable(), (Rows{".s.fn."}));
  EXPECT_EQ(W().Hex(1, 0).markValue, 3);
  EXPECT_EQ(W().Hex(3, 0).markValue, 1);
  EXPECT_EQ(W().Hex(4, 0).markValue, 0);
  EXPECT_EQ(W().Hex(5, 0).markBits, 1u);  // other bits survive the clearing

  // After a step the smaller range replaces the marks, and the cleared
  // hexes keep no value to draw.
  unit.actionPoints = 1;
  EXPECT_EQ(unit.ComputeMoveRange(false), 1);
  EXPECT_EQ(W().MarkTable(), (Rows{".n...."}));
  EXPECT_EQ(W().Hex(3, 0).markValue, -1);
  // Counting only leaves the marks as they are.
  unit.actionPoints = 4;
  unit.ComputeMoveRange(true);
  EXPECT_EQ(W().MarkTable(), (Rows{".n...."}));
}

TEST_F(LandMovement, FullPointsLetAFreshUnitEnterAnyFreeNeighbour) {
  UseMap({"pmp"});
  cJednostkaLadowa& unit = Mover(0, 0, 3);  // the mountain costs 10
  ASSERT_EQ(unit.ComputeMoveRange(false), 1);
  const sReachableHex& entry = unit.reachableHexes.front();
  EXPECT_EQ(entry.unit, &unit);
  EXPECT_EQ(entry.x, 1);
  EXPECT_EQ(entry.direction, kDirNorthEast);
  EXPECT_EQ(entry.cost, 3);
  EXPECT_EQ(W().MarkTable(), (Rows{".n."}));
  EXPECT_EQ(W().Hex(1, 0).markValue, 0);

  unit.actionPoints = 2;  // spent a point: the rule no longer holds
  EXPECT_EQ(unit.ComputeMoveRange(false), 0);
  EXPECT_EQ(W().MarkTable(), (Rows{"..."}));
  unit.actionPoints = 3;
  unit.freezeTime = 1;
  EXPECT_EQ(unit.ComputeMoveRange(true), 0);
}

TEST_F(LandMovement, UnitWithoutPointsStepsOnceOnlyWhenItStartedWithNone) {
  UseMap({"~pp", "ppp", "ppp"});
  cJednostkaLadowa& unit = Mover(1, 1, 0, kUnitMechanizedDivision);
  W().AddUnit(2, 1, 1);
  // Neighbours of (1,1): (1,0) (2,0) (2,1)=unit (1,2) (0,1) (0,0)=water.
  EXPECT_EQ(unit.ComputeMoveRange(false), 4);
  EXPECT_EQ(W().CostTable(unit), (Rows{".00", "0*.", ".0."}));
  for (const sReachableHex& e : unit.reachableHexes) EXPECT_EQ(e.direction, 0);
  EXPECT_EQ(W().MarkTable(), (Rows{".nn", "n..", ".n."}));

  unit.movedOrDeployed = true;
  EXPECT_EQ(unit.ComputeMoveRange(true), 0);
  unit.movedOrDeployed = false;
  unit.startingActionPoints = 3;  // spent down to nothing
  EXPECT_EQ(unit.ComputeMoveRange(true), 0);
  EXPECT_TRUE(unit.reachableHexes.empty());
}

TEST_F(LandMovement, BadCostsAndHugePointsStayInsideTheMap) {
  UseMap({"pf~pp~", "ppmpp~", "pppsp~", "~ppppp", "pppppp"});
  LandUnitConstants().move.terrainCost = {0, -5, 0, -7, 0, -1, 0, -3};
  LandUnitConstants().move.zoneOfControlCost = -100;
  LandUnitConstants().move.mudFactor = -1e30f;
  W().Country(1).mudMove = 1e30f;
  W().Hex(3, 3).weather = 2;
  cJednostkaLadowa& unit = Mover(2, 2, 1000000);
  W().AddUnit(5, 4, 2);
  // Every step costs at least one point, so each hex costs its distance.
  EXPECT_EQ(unit.ComputeMoveRange(true), 28);
  for (const sReachableHex& e : unit.reachableHexes) {
    EXPECT_EQ(e.cost, HexDistance(2, 2, e.x, e.y)) << e.x << "," << e.y;
  }
  EXPECT_EQ(W().CostTable(unit)[4][5], '.');  // the enemy
}

TEST_F(LandMovement, RangeOnlySearchMatchesTheFullOneAndKeepsTheReachableList) {
  UseMap({"pmpp", "pppp", "~ppp"});
  cJednostkaLadowa& unit = Mover(1, 1, 3);
  W().AddUnit(2, 1, 2);
  const int full = unit.ComputeMoveRange(true);
  ASSERT_GT(full, 0);
  const std::vector<sLandMoveEntry> range = unit.MoveRange();
  std::vector<std::pair<int, int>> listed;
  for (const sReachableHex& e : unit.reachableHexes) listed.emplace_back(e.x, e.y);

  // With fewer points the range-only search shrinks MoveRange() exactly as
  // the full search would, but the reachable list stays the last full one.
  unit.actionPoints = 1;
  const int fewer = unit.ComputeMoveRangeOnly(true);
  EXPECT_LT(fewer, full);
  std::vector<std::pair<int, int>> kept;
  for (const sReachableHex& e : unit.reachableHexes) kept.emplace_back(e.x, e.y);
  EXPECT_EQ(kept, listed);
  const std::vector<sLandMoveEntry> shrunk = unit.MoveRange();
  EXPECT_EQ(unit.ComputeMoveRange(true), fewer);
  ASSERT_EQ(unit.MoveRange().size(), shrunk.size());
  for (std::size_t i = 0; i < shrunk.size(); ++i) {
    EXPECT_EQ(unit.MoveRange()[i].x, shrunk[i].x);
    EXPECT_EQ(unit.MoveRange()[i].y, shrunk[i].y);
    EXPECT_EQ(unit.MoveRange()[i].cost, shrunk[i].cost);
  }
  EXPECT_EQ(unit.reachableHexes.size(), shrunk.size());

  // Back at full points both searches give the first range again.
  unit.actionPoints = 3;
  EXPECT_EQ(unit.ComputeMoveRangeOnly(true), full);
  EXPECT_EQ(unit.MoveRange().size(), range.size());
}

TEST_F(LandMovement, FreeHexAwayFromTargetIsTheCheapestUntakenOne) {
  UseMap({"ppppp", "ppppp", "ppppp", "ppppp"});
  cJednostkaLadowa& unit = Mover(2, 2, 6);
  W().AddUnit(2, 1, 2);  // the target
  int taken[6][2];
  for (auto& t : taken) t[0] = t[1] = -1;
  // The picks of the six sides are free hexes of the range not next to the
  // target, each hex once, the cheaper first, each marked as taken for its
  // side.
  std::vector<std::pair<int, int>> picked;
  int lastCost = -1;
  for (int side = 0; side < 6; ++side) {
    sReachableHex away;
    if (!unit.FindFreeHexAwayFromTarget(2, 1, taken, away, side)) break;
    EXPECT_EQ(away.unit, &unit);
    EXPECT_GE(HexDistance(2, 1, away.x, away.y), 2);
    EXPECT_EQ(W().world->GetMap().GetHex(away.x, away.y).unit, nullptr);
    EXPECT_GE(away.cost, lastCost);
    lastCost = away.cost;
    EXPECT_EQ(taken[side][0], away.x);
    EXPECT_EQ(taken[side][1], away.y);
    picked.emplace_back(away.x, away.y);
  }
  EXPECT_EQ(picked.size(), 6u);
  std::vector<std::pair<int, int>> unique = picked;
  std::sort(unique.begin(), unique.end());
  EXPECT_EQ(std::unique(unique.begin(), unique.end()), unique.end());
  sReachableHex none;
  EXPECT_FALSE(unit.FindFreeHexAwayFromTarget(2, 1, taken, none, 6));
  EXPECT_FALSE(unit.FindFreeHexAwayFromTarget(2, 1, taken, none, -1));
}

}  // namespace
