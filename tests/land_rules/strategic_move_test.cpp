// The strategic move on the fixture scenario after the supply calculation:
// by rail within the group of cities joined over the side's land, by air to
// any city the side holds, its costs, its refusals, and the marks that show
// the destinations.
#include <gtest/gtest.h>

#include "land_rules/fixture_game.h"
#include "rules/strategic_move.h"
#include "rules/supply.h"
#include "support/fixture_ids.h"
#include "world/strategic_movement.h"

namespace {


class StrategicMove : public twtest::FixtureGame {
 protected:
  void SetUp() override {
    FixtureGame::SetUp();
    if (HasFatalFailure()) return;
    CalculateSupply(World());
    World().turnState.currentCountry = &Country(kWestland);
  }
};

using R = eStrategicMoveRefusal;

TEST_F(StrategicMove, ByRailToACityOfTheSameGroupForItsPoints) {
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  ASSERT_EQ(infantry.supplySourceX, 2);
  ASSERT_EQ(infantry.actionPoints, infantry.startingActionPoints);
  ASSERT_GT(infantry.actionPoints, 0);
  const int points = Country(kWestland).strategicMovementPoints;
  const int cost = World().constants.strategicMoveCost[0];
  ASSERT_GE(points, cost);
  cStrategicMovement strategic(World());
  EXPECT_TRUE(strategic.IsCityReachable(infantry, City(L"Millbrook")));

  EXPECT_EQ(OrderStrategicMove(World(), infantry, 6, 8), R::kNone);
  EXPECT_EQ(infantry.x, 6);
  EXPECT_EQ(infantry.y, 8);
  EXPECT_EQ(Hex(6, 8).unit, &infantry);
  EXPECT_EQ(Hex(3, 5).unit, nullptr);
  EXPECT_EQ(infantry.actionPoints, 0);
  EXPECT_EQ(Country(kWestland).strategicMovementPoints, points - cost);
  // Once is all an impulse allows.
  EXPECT_EQ(OrderStrategicMove(World(), infantry, 4, 2), R::kNotFullActionPoints);
  EXPECT_EQ(infantry.x, 6);
}

TEST_F(StrategicMove, RefusalsLeaveTheWorldAsItWas) {
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  const int points = Country(kWestland).strategicMovementPoints;
  // Not a destination: an enemy city, a hex next to no city, a city of
  // another group (a port the side holds across the strait).
  EXPECT_EQ(CheckStrategicMove(World(), infantry, 16, 5), R::kNotDestination);
  EXPECT_EQ(CheckStrategicMove(World(), infantry, 5, 5), R::kNotDestination);
  EXPECT_EQ(CheckStrategicMove(World(), infantry, -1, 3), R::kTargetOffMap);
  cCity& straitport = City(L"Straitport");
  Hex(straitport.x, straitport.y).controller = kWestland;
  CalculateSupply(World());
  EXPECT_FALSE(cStrategicMovement(World()).IsCityReachable(infantry, straitport));
  EXPECT_EQ(OrderStrategicMove(World(), infantry, straitport.x, straitport.y), R::kNotDestination);
  // A free friendly hex next to a destination is one.
  EXPECT_EQ(CheckStrategicMove(World(), infantry, 6, 7), R::kNone);
  // Another country's unit.
  EXPECT_EQ(CheckStrategicMove(World(), Land(L"Eastmark Guard"), 16, 5), R::kNotOwnUnit);
  // The unit's own state, in the order of the checks.
  Country(kWestland).strategicMovementPoints = World().constants.strategicMoveCost[0] - 1;
  EXPECT_EQ(OrderStrategicMove(World(), infantry, 6, 8), R::kNoPoints);
  Country(kWestland).strategicMovementPoints = points;
  infantry.freezeTime = 1;
  EXPECT_EQ(CheckStrategicMove(World(), infantry, 6, 8), R::kNotFullActionPoints);
  infantry.freezeTime = 0;
  infantry.turnsWithoutSupply = 1;
  EXPECT_EQ(CheckStrategicMove(World(), infantry, 6, 8), R::kOutOfSupply);
  infantry.supplySourceX = -1;
  EXPECT_EQ(CheckStrategicMove(World(), infantry, 6, 8), R::kNoSupplySource);
  EXPECT_EQ(infantry.x, 3);
  EXPECT_EQ(Hex(3, 5).unit, &infantry);
  EXPECT_EQ(Country(kWestland).strategicMovementPoints, points);
  for (R refusal : {R::kNotOnMap, R::kNotOwnUnit, R::kNoPoints, R::kNotFullActionPoints, R::kNoSupplySource,
                    R::kOutOfSupply, R::kTargetOffMap, R::kNotDestination}) {
    EXPECT_NE(StrategicMoveRefusalKey(refusal), nullptr);
  }
}

TEST_F(StrategicMove, AnAirUnitGoesToAnyCityItsSideHoldsForProductionPoints) {
  cJednostkaLotnicza& fighters = Air(L"Westland Fighters");
  ASSERT_NE(fighters.supplySourceX, -1);
  fighters.actionPoints = fighters.startingActionPoints;
  cCity& straitport = City(L"Straitport");
  EXPECT_EQ(CheckStrategicMove(World(), fighters, straitport.x, straitport.y), R::kNotDestination);
  Hex(straitport.x, straitport.y).controller = kWestland;
  const double pp = Country(kWestland).productionPoints;
  const int smp = Country(kWestland).strategicMovementPoints;
  const int cost = World().constants.airStrategicMoveCost[0];
  Country(kWestland).productionPoints = cost - 1;
  EXPECT_EQ(CheckStrategicMove(World(), fighters, straitport.x, straitport.y), R::kNoPoints);
  EXPECT_FALSE(fighters.CanStrategicMove(nullptr));
  Country(kWestland).productionPoints = pp;
  EXPECT_TRUE(fighters.CanStrategicMove(nullptr));
  EXPECT_EQ(OrderStrategicMove(World(), fighters, straitport.x, straitport.y), R::kNone);
  EXPECT_EQ(Hex(straitport.x, straitport.y).unit, &fighters);
  EXPECT_DOUBLE_EQ(Country(kWestland).productionPoints, pp - cost);
  EXPECT_EQ(Country(kWestland).strategicMovementPoints, smp);
}

TEST_F(StrategicMove, TheMarksShowExactlyTheHexesTheRuleAccepts) {
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  // Millbrook taken by another unit: only its free neighbours are offered.
  Place(Land(L"2nd Armoured"), 6, 8);
  Hex(5, 8).controller = 2;
  const int marked = cStrategicMovement(World()).MarkStrategicMoveTargets(infantry);
  EXPECT_GT(marked, 0);
  int counted = 0;
  for (const sHex& hex : Map().Hexes()) {
    const bool mark = (hex.markBits & kMarkStrategicDestination) != 0;
    counted += mark ? 1 : 0;
    EXPECT_EQ(mark, CheckStrategicMove(World(), infantry, hex.x, hex.y) == R::kNone) << hex.x << "," << hex.y;
  }
  EXPECT_EQ(counted, marked);
  EXPECT_EQ(Hex(6, 8).markBits & kMarkStrategicDestination, 0u);
  EXPECT_NE(Hex(6, 7).markBits & kMarkStrategicDestination, 0u);
  EXPECT_EQ(Hex(5, 8).markBits & kMarkStrategicDestination, 0u);
  EXPECT_NE(Hex(2, 4).markBits & kMarkStrategicDestination, 0u);
  EXPECT_EQ(Hex(3, 5).markBits & kMarkStrategicDestination, 0u) << "the unit's own hex is taken";
  // The computer's search gives the first free friendly neighbour.
  int x = -1, y = -1;
  ASSERT_TRUE(infantry.FindStrategicMoveDestination(World(), City(L"Millbrook"), x, y));
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 7);
  ASSERT_TRUE(infantry.FindStrategicMoveDestination(World(), City(L"Westport"), x, y));
  EXPECT_EQ(x, 4);
  EXPECT_EQ(y, 2);
  EXPECT_FALSE(infantry.FindStrategicMoveDestination(World(), City(L"Ostburg"), x, y));
}

}  // namespace
