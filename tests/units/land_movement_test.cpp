// Movement ranges of land units on small maps, against tables worked out by
// hand. Map rows are listed top first; in an even column the north-east and
// north-west neighbours share the row, in an odd column they are a row up.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_support.h"
#include "units/land_fixture.h"
#include "world/hex.h"

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
  twtest::LandWorld& W() { return *w_; }

  std::unique_ptr<twtest::LandWorld> w_;
};

// A corridor in column 1 beside an enemy at (2,1): (1,1) and (1,2) both lie
// in its zone of control, so the step between them pays the extra 2.
const Rows kCorridor = {"~pp", "~pp", "~pp", "~pp"};

TEST_F(LandMovement, ZoneOfControlAddsItsCostOnlyBetweenTwoZoneHexes) {
  UseMap(kCorridor);
  cJednostkaLadowa& unit = Mover(1, 0, 6);
  W().AddUnit(2, 1, 2);
  EXPECT_EQ(unit.ComputeMoveRange(false), 6);
  EXPECT_EQ(W().CostTable(unit), (Rows{".*1", ".1.", ".46", ".56"}));

  // Without the extra cost the corridor is plain ground again; the river on
  // it changes nothing.
  LandUnitConstants().move.zoneOfControlCost = 0;
  W().Hex(1, 1).riverMask = 1 | 8;
  EXPECT_EQ(unit.ComputeMoveRange(true), 6);
  EXPECT_EQ(W().CostTable(unit), (Rows{".*1", ".1.", ".23", ".34"}));
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

  // After a step the smaller range replaces the marks.
  unit.actionPoints = 1;
  EXPECT_EQ(unit.ComputeMoveRange(false), 1);
  EXPECT_EQ(W().MarkTable(), (Rows{".n...."}));
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

TEST_F(LandMovement, HexesOfCountriesAtPeaceAreNeverEntered) {
  UseMap({"ppppp"});
  W().Control(1, 0, 4);  // an ally's hex
  W().Control(2, 0, 2);  // the enemy's hex
  W().Control(3, 0, 3);  // a neutral's hex
  cJednostkaLadowa& unit = Mover(0, 0, 4);
  unit.ComputeMoveRange(true);
  EXPECT_EQ(W().CostTable(unit), (Rows{"*12.."}));

  W().Control(1, 0, 3);  // even the free neighbour of a fresh unit
  EXPECT_EQ(unit.ComputeMoveRange(true), 0);
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

TEST_F(LandMovement, UnitOffTheMapHasNoRange) {
  UseMap({"ppp"});
  cJednostkaLadowa& unit = Mover(0, 0, 3);
  W().Hex(0, 0).unit = nullptr;
  unit.x = -1;
  unit.y = -1;
  EXPECT_EQ(unit.ComputeMoveRange(false), 0);
  EXPECT_EQ(W().MarkTable(), (Rows{"..."}));
}

TEST_F(LandMovement, HexInRangeIsAnsweredFromTheLastComputation) {
  UseMap({"ppp"});
  cJednostkaLadowa& unit = Mover(0, 0, 1);
  twtest::LogCapture log;
  EXPECT_FALSE(unit.IsHexInMoveRange(1, 0));  // nothing computed yet
  unit.ComputeMoveRange(true);
  EXPECT_TRUE(unit.IsHexInMoveRange(1, 0));
  EXPECT_FALSE(unit.IsHexInMoveRange(2, 0));
  EXPECT_EQ(log.Lines().size(), 3u);
}

}  // namespace

namespace {

// The relaxation written the plain recursive way, for countOnly ranges:
// every enemy unit blocks its hex, its neighbours are zones of control.
struct sReference {
  const cMap& map;
  const sLandMoveRules& rules;
  int ux, uy, points, r, n;
  float winter, mud;
  std::vector<int> cost, back, block;

  int Index(int x, int y) const { return (y - uy + r) * n + (x - ux + r); }
  bool InGrid(int x, int y) const { return std::abs(x - ux) <= r && std::abs(y - uy) <= r; }
  void Relax(int x, int y, int c) {
    if (c > points) return;
    for (int dir : {0, 3, 1, 2, 4, 5}) {
      int nx = 0, ny = 0;
      HexNeighbourCoords(x, y, dir, nx, ny);
      if (!map.IsInside(nx, ny) || !InGrid(nx, ny)) continue;
      const int i = Index(nx, ny);
      int step = 99999;
      if (block[i] != 2) {
        const int t = map.GetHex(nx, ny).terrain;
        double s = t >= 1 && t <= 7 ? rules.terrainCost[t - 1] : rules.terrainCost[7];
        if (block[Index(x, y)] == 1 && block[i] == 1) s += rules.zoneOfControlCost;
        if (map.GetHex(nx, ny).weather == 1) s *= 1.0f + winter / 100.0f * rules.winterFactor / 100.0f;
        if (map.GetHex(nx, ny).weather == 2) s *= 1.0f + mud / 100.0f * rules.mudFactor / 100.0f;
        step = static_cast<int>(s);
      }
      if (c + step < cost[i] && c + step <= points) {
        cost[i] = c + step;
        back[i] = (dir + 3) % 6;
        Relax(nx, ny, c + step);
      }
    }
  }
};

TEST_F(LandMovement, FastSearchMatchesThePlainRelaxationOnRandomMaps) {
  const char kLetters[] = "ppfrshmdp~";
  unsigned seed = 7;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7fff;
  };
  for (int round = 0; round < 20; ++round) {
    Rows rows(15, std::string(20, 'p'));
    for (auto& row : rows) {
      for (char& c : row) c = kLetters[next() % 10];
    }
    UseMap(rows);
    W().Country(1).mudMove = 50.0f;
    W().Country(1).winterMove = 30.0f;
    LandUnitConstants().move.mudFactor = 100.0f;
    LandUnitConstants().move.winterFactor = 70.0f;
    LandUnitConstants().move.terrainCost = {1, 2, 2, 3, 2, 4, 1, 5};
    for (int y = 0; y < 15; ++y) {
      for (int x = 0; x < 20; ++x) {
        W().Hex(x, y).weather = next() % 5 == 0 ? 1 + next() % 2 : 0;
        if (next() % 9 == 0 && !(x == 10 && y == 7)) W().AddUnit(x, y, 1 + next() % 2);
      }
    }
    W().Hex(10, 7).terrain = kTerrainPlain;
    cJednostkaLadowa& unit = Mover(10, 7, 6 + round % 4);
    unit.startingActionPoints = 99;  // no full-points entries
    unit.ComputeMoveRange(true);

    sReference ref{W().Map(), LandUnitConstants().move, 10, 7, unit.actionPoints, unit.actionPoints + 1,
                   2 * unit.actionPoints + 3, 30.0f, 50.0f, {}, {}, {}};
    ref.cost.assign(ref.n * ref.n, 999999);
    ref.back.assign(ref.n * ref.n, 0);
    ref.block.assign(ref.n * ref.n, 0);
    for (int x = 10 - ref.r; x <= 10 + ref.r; ++x) {
      for (int y = 7 - ref.r; y <= 7 + ref.r; ++y) {
        if (!W().Map().IsInside(x, y)) continue;
        const sHex& hex = W().Hex(x, y);
        if (!hex.unit || hex.unit->countryId != 2) continue;
        ref.block[ref.Index(x, y)] = 2;
        for (int dir = 0; dir < 6; ++dir) {
          int nx = 0, ny = 0;
          HexNeighbourCoords(x, y, dir, nx, ny);
          if (ref.InGrid(nx, ny) && ref.block[ref.Index(nx, ny)] != 2) ref.block[ref.Index(nx, ny)] = 1;
        }
      }
    }
    ref.cost[ref.Index(10, 7)] = 0;
    ref.Relax(10, 7, 0);
    std::vector<sReachableHex> expected;
    for (int y = 7 - ref.r; y <= 7 + ref.r; ++y) {
      for (int x = 10 - ref.r; x <= 10 + ref.r; ++x) {
        const int i = ref.Index(x, y);
        if (ref.cost[i] > 0 && ref.cost[i] <= ref.points) expected.push_back({&unit, x, y, ref.back[i], ref.cost[i]});
      }
    }
    ASSERT_EQ(unit.reachableHexes.size(), expected.size()) << "round " << round;
    auto it = unit.reachableHexes.begin();
    for (const sReachableHex& e : expected) {
      EXPECT_EQ(it->x, e.x) << "round " << round;
      EXPECT_EQ(it->y, e.y);
      EXPECT_EQ(it->cost, e.cost) << e.x << "," << e.y;
      EXPECT_EQ(it->direction, e.direction) << e.x << "," << e.y;
      ++it;
    }
  }
}

}  // namespace
