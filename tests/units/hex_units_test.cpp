// Land and air units share the hex cells: an air unit blocks its hex and,
// as an enemy, casts a zone of control; its hex link follows placement,
// the reserve pool and death. The scenario constants the units read come
// from the world's record.
#include <gtest/gtest.h>

#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "units/land_fixture.h"

namespace {

using Rows = std::vector<std::string>;

class HexUnits : public ::testing::Test {
 protected:
  HexUnits() : w_({"~pp", "~pp", "~pp", "~pp"}) {
    w_.AddCountries({kAllies, kAxis});
    w_.War(1, 2);
    sLandMoveRules& rules = LandUnitConstants().move;
    rules.terrainCost = {1, 2, 3, 3, 2, 10, 1, 50};
    rules.zoneOfControlCost = 2;
  }
  cJednostkaLotnicza* AddAir(int x, int y, int country) {
    auto* air = new cJednostkaLotnicza();
    air->countryId = country;
    air->SetType(kUnitFighter);
    air->visible = true;
    w_.world->Units().airUnits.push_back(air);
    EXPECT_TRUE(air->PlaceOnHex(x, y));
    return air;
  }
  cJednostkaLadowa& Mover() {
    cJednostkaLadowa& unit = w_.AddUnit(1, 0, 1);
    unit.actionPoints = 6;
    unit.startingActionPoints = 6;
    return unit;
  }

  twtest::LandWorld w_;
};

TEST_F(HexUnits, AnEnemyAirUnitBlocksAndCastsAZoneLikeALandUnit) {
  cJednostkaLadowa& unit = Mover();
  AddAir(2, 1, 2);
  // The same table an enemy land unit on (2,1) gives: its hex is closed and
  // the step between the two corridor hexes in its zone pays 2 more.
  EXPECT_EQ(unit.ComputeMoveRange(false), 6);
  EXPECT_EQ(w_.CostTable(unit), (Rows{".*1", ".1.", ".46", ".56"}));
}

TEST_F(HexUnits, AFriendlyAirUnitCastsNoZoneAndItsHexStaysUnmarked) {
  cJednostkaLadowa& unit = Mover();
  AddAir(2, 1, 1);
  // The range runs through the friend's hex (the path builder never stops
  // there), but the hex is not marked as a destination.
  EXPECT_EQ(unit.ComputeMoveRange(false), 7);
  EXPECT_EQ(w_.CostTable(unit), (Rows{".*1", ".12", ".23", ".34"}));
  EXPECT_EQ(w_.Hex(2, 1).markBits & kMarkMoveAll, 0u);
  EXPECT_EQ(w_.Hex(2, 2).markBits & kMarkMoveAll, kMarkMoveSpare);
}

TEST_F(HexUnits, TheAirUnitsHexLinkFollowsPlacementReserveAndDeath) {
  cJednostkaLotnicza* air = AddAir(2, 2, 1);
  EXPECT_EQ(w_.Hex(2, 2).unit, air);
  // Nobody else lands on its hex, and a move frees the old one.
  cJednostkaLadowa& land = w_.AddUnit(-1, -1, 1);
  EXPECT_FALSE(land.PlaceOnHex(2, 2));
  EXPECT_TRUE(air->PlaceOnHex(1, 3));
  EXPECT_EQ(w_.Hex(2, 2).unit, nullptr);
  EXPECT_EQ(w_.Hex(1, 3).unit, air);

  air->MoveToReservePool();
  EXPECT_EQ(w_.Hex(1, 3).unit, nullptr);
  EXPECT_EQ(air->x, -1);

  cJednostkaLotnicza* other = AddAir(2, 3, 2);
  other->Kill();
  EXPECT_EQ(w_.Hex(2, 3).unit, nullptr);
  EXPECT_TRUE(w_.world->Units().airUnits.empty());
}

TEST_F(HexUnits, StrategicMovesPayTheScenarioCostOfTheType) {
  sScenarioConstants& k = w_.world->constants;
  k.strategicMoveCost = {1, 2, 3, 4, 5, 6, 7};
  k.airStrategicMoveCost = {11, 12, 13};
  cCountry& country = w_.Country(1);
  country.strategicMovementPoints = 100;
  country.productionPoints = 100.0;

  cJednostkaLadowa& land = w_.AddUnit(1, 0, 1, kUnitMechanizedCorps);
  ASSERT_TRUE(land.StrategicMove(2, 3));
  EXPECT_EQ(country.strategicMovementPoints, 96);
  EXPECT_EQ(w_.Hex(2, 3).unit, &land);

  cJednostkaLotnicza* air = AddAir(1, 1, 1);
  air->SetType(kUnitTacticalBomber);
  ASSERT_TRUE(air->StrategicMove(2, 0));
  EXPECT_DOUBLE_EQ(country.productionPoints, 88.0);
  EXPECT_EQ(country.strategicMovementPoints, 96);
  EXPECT_EQ(w_.Hex(1, 1).unit, nullptr);
  EXPECT_EQ(w_.Hex(2, 0).unit, air);

  // A ship's type has no column in the land table: it costs nothing and
  // never enters a hex.
  cJednostkaMorska ship;
  ship.countryId = 1;
  ship.SetType(kUnitBattleship);
  ASSERT_TRUE(ship.StrategicMove(1, 2));
  EXPECT_EQ(country.strategicMovementPoints, 96);
  EXPECT_EQ(w_.Hex(1, 2).unit, nullptr);
}

TEST_F(HexUnits, TheHarbourTakesItsStrengthAndSupplyFromTheConstants) {
  w_.world->constants.mulberryValues = {30.0f, 4.0f, 7.9f, 12.0f};
  w_.world->constants.maxSupply = 25;
  cMulberry harbour;
  harbour.SetStrength(99);
  harbour.SetSupply(1);
  EXPECT_EQ(harbour.GetStrength(), 7);
  EXPECT_EQ(harbour.supply, 25);
}

}  // namespace
