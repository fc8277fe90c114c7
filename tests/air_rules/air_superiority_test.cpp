// Air power around a hex: the side's fighters within the country's air range
// against the enemy's fighters over land, or the enemy's carriers anywhere
// over a sea zone; the ratio of the two, -1 with no enemy power.
#include <gtest/gtest.h>

#include "air_rules/air_fixture.h"
#include "world/air_strikes.h"

namespace {

TEST(AirSuperiority, FightersInRangeOverLandAndEnemyCarriersAnywhereOverTheSea) {
  twtest::AirWorld w({"pppppppp", "pppppppp", "pppp~~~~", "pppp~~~~"});
  w.ThreeCountries();
  cWorld& world = *w.world;
  // Air range at aircraft level 1: 1.0 x 3 hexes.
  w.AddAir(0, 0, 1, kUnitFighter, 6.0f);
  w.AddAir(1, 0, 3, kUnitFighter, 4.0f);             // an ally's fighter counts as friendly
  w.AddAir(2, 0, 2, kUnitTacticalBomber, 9.0f);      // bombers are no air power
  EXPECT_FLOAT_EQ(GetAirSuperiorityRatio(world, 1, 1, 1), -1.0f);
  w.AddAir(3, 1, 2, kUnitFighter, 5.0f);
  w.AddAir(7, 0, 2, kUnitFighter, 7.0f);             // beyond the range of (1, 1)
  EXPECT_FLOAT_EQ(GetAirSuperiorityRatio(world, 1, 1, 1), 10.0f / 5.0f);
  // Land nobody holds changes nothing: the count follows the units.
  w.Control(1, 1, 0);
  EXPECT_FLOAT_EQ(GetAirSuperiorityRatio(world, 1, 1, 1), 10.0f / 5.0f);
  // From the other side.
  EXPECT_FLOAT_EQ(GetAirSuperiorityRatio(world, 2, 1, 1), 5.0f / 10.0f);

  // Over a sea zone enemy fighters count nothing; enemy carriers count their
  // hit points wherever they are, from the least carrier hit points on.
  w.AddSeaNode(true, 5, 2);
  w.AddSeaNode(true, 7, 3);
  world.constants.carrierMinStrength = 3;
  w.AddAir(6, 1, 1, kUnitFighter, 2.0f);
  EXPECT_FLOAT_EQ(GetAirSuperiorityRatio(world, 1, 6, 3), -1.0f);
  w.AddFleet(2, 2, {kUnitAircraftCarrier}, 4);
  w.AddFleet(2, 2, {kUnitAircraftCarrier}, 2);
  w.AddFleet(2, 2, {kUnitBattleship}, 6);
  EXPECT_FLOAT_EQ(GetAirSuperiorityRatio(world, 1, 6, 3), 2.0f / 4.0f);
}

}  // namespace
