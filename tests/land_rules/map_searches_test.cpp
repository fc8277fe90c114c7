#include <gtest/gtest.h>

#include <stdexcept>

#include "land_rules/land_rules_fixture.h"
#include "world/cities.h"
#include "world/hex_ownership.h"
#include "world/map.h"

namespace {

// Land in columns 0-4, water in column 5 (sea zone 7); country 1 at war
// with 2, 3 neutral.
class MapSearches : public ::testing::Test {
 protected:
  MapSearches() : w_({"ppppp~", "ppppp~", "ppppp~", "ppppp~", "ppppp~", "ppppp~"}) {
    w_.AddCountries({kAllies, kAxis, kNeutral});
    w_.War(1, 2);
    for (sHex& hex : w_.Map().Hexes()) {
      if (hex.IsWater()) hex.seaZone = 7;
      if (hex.IsLand() && hex.x == 4) {
        hex.seaZone = 7;
        hex.coastal = 1;
      }
    }
  }
  cWorld& World() { return *w_.world; }
  twtest::LandWorld w_;
};

TEST_F(MapSearches, LandingSearchFindsTheNearestFreeCoastalHexOfTheZone) {
  int x = -1, y = -1;
  w_.AddUnit(4, 2, 1);
  w_.Control(4, 1, 3);  // a neutral's: not a landing place
  ASSERT_TRUE(w_.Map().FindLandingHex(World(), 1, 3, 1, 7, 5, x, y, false));
  EXPECT_EQ(x, 4);
  EXPECT_EQ(y, 0);
  // The start hex alone with own-only, and only the country's own.
  EXPECT_FALSE(w_.Map().FindLandingHex(World(), 1, 3, 1, 7, 5, x, y, true));
  EXPECT_TRUE(w_.Map().FindLandingHex(World(), 1, 4, 3, 7, 0, x, y, true));
  EXPECT_EQ(y, 3);
  w_.Control(4, 3, 2);
  EXPECT_FALSE(w_.Map().FindLandingHex(World(), 1, 4, 3, 7, 0, x, y, true));
  // Too far.
  EXPECT_FALSE(w_.Map().FindLandingHex(World(), 1, 0, 5, 7, 1, x, y, false));
}

TEST_F(MapSearches, WeakestEnemyIsTheFirstFoundAmongEquals) {
  for (sHex& hex : w_.Map().Hexes()) hex.controller = 2;
  cJednostkaLadowa& a = w_.AddUnit(2, 2, 2);
  cJednostkaLadowa& b = w_.AddUnit(0, 2, 2);
  cJednostkaLadowa& c = w_.AddUnit(2, 4, 2);
  for (cJednostkaLadowa* u : {&a, &b, &c}) u->effectiveness = 100;
  LandUnitConstants().baseStrength[0][0] = 10.0f;
  a.strength = 50;
  b.strength = 30;
  c.strength = 30;
  int x = -1, y = -1;
  ASSERT_TRUE(w_.Map().FindWeakestCoastalEnemy(World(), 1, 2, 3, 0, 5, x, y));
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 4) << "nearer than the equal one at (0, 2)";
  EXPECT_FALSE(w_.Map().FindWeakestCoastalEnemy(World(), 3, 2, 3, 0, 5, x, y)) << "no enemy of a neutral";
}

TEST_F(MapSearches, FrontNodesAreComputedOnceAndAfreshForANewDistance) {
  EXPECT_THROW(w_.Map().GetFrontNodeCoord(1, 1, 0), std::runtime_error);
  EXPECT_THROW(w_.Map().SetFrontNodeDistance(2), std::runtime_error);
  w_.Map().CreateFrontMarks();
  const std::size_t count3 = w_.Map().SetFrontNodeDistance(3).size();
  // Columns 0 and 3: rows 0, 3 in column 0; rows 2, 5 in column 3.
  EXPECT_EQ(count3, 4u);
  w_.Map().SetFrontMark(1, 1, 9);
  EXPECT_EQ(w_.Map().SetFrontNodeDistance(3).size(), count3);
  EXPECT_EQ(w_.Map().GetFrontMark(1, 1), 9) << "the same distance computes nothing";
  EXPECT_EQ(w_.Map().SetFrontNodeDistance(4).size(), 3u) << "the list starts empty (4 + 3 otherwise)";
  EXPECT_EQ(w_.Map().GetFrontMark(1, 1), 0);
  EXPECT_EQ(w_.Map().GetFrontMark(-1, 99), 0);
  w_.Map().SetFrontNodeDistance(3);
  EXPECT_EQ(w_.Map().GetFrontNodeCoord(4, 10, 1), (sMapCoord{7, 9}));
  EXPECT_EQ(w_.Map().GetFrontNodeCoord(5, 10, 1), (sMapCoord{8, 8}));
  EXPECT_THROW(w_.Map().GetFrontNodeCoord(5, 10, 6), std::runtime_error);
}

TEST_F(MapSearches, WeatherRollFollowsTheMonthsChances) {
  sHex& hex = w_.Hex(0, 0);
  hex.winterChance[0] = 30;
  hex.mudChance[0] = 50;
  w_.Hex(1, 0).hasWeather = 0;
  w_.Hex(1, 0).weather = 2;
  std::vector<int> draws;
  // Each land cell with weather draws once or twice: (0, 0) first.
  draws.push_back(twtest::RandFor(1, 100, 40));
  draws.push_back(twtest::RandFor(1, 100, 50));
  for (int i = 0; i < 200; ++i) draws.push_back(plat::kRandMax);
  {
    twtest::RandSequence sequence(draws);
    w_.Map().RollWeather(0);
  }
  EXPECT_EQ(hex.weather, 2u) << "no snow at 40, mud at 50";
  EXPECT_EQ(w_.Hex(1, 0).weather, 2u) << "no weather: unchanged";
  EXPECT_EQ(w_.Hex(2, 0).weather, 0u);
}

TEST_F(MapSearches, WeatherFollowsEachAreasChancesOfTheGivenMonth) {
  // Three areas by column: the north (0, 1), the middle (2, 3) and the
  // coast (4). April (index 3) is winter in the north, mud in the middle
  // and good weather on the coast; May (index 4) reverses north and coast.
  for (sHex& hex : w_.Map().Hexes()) {
    if (!hex.IsLand()) continue;
    hex.hasWeather = 1;
    hex.weather = 0;
    const int area = hex.x < 2 ? 0 : hex.x < 4 ? 1 : 2;
    hex.winterChance[3] = area == 0 ? 50 : 30;
    hex.mudChance[3] = area == 1 ? 50 : 30;
    hex.winterChance[4] = area == 2 ? 50 : 30;
    hex.mudChance[4] = 30;
  }
  w_.Hex(5, 0).weather = 2;  // water keeps its value
  // Every draw is 40: a chance of 50 is met, one of 30 is not.
  const std::vector<int> draws(200, twtest::RandFor(1, 100, 40));
  {
    twtest::RandSequence sequence(draws);
    w_.Map().RollWeather(3);
  }
  for (int y = 0; y < 6; ++y) {
    EXPECT_EQ(w_.Hex(0, y).weather, 1u) << "north snows, row " << y;
    EXPECT_EQ(w_.Hex(1, y).weather, 1u);
    EXPECT_EQ(w_.Hex(2, y).weather, 2u) << "middle is mud, row " << y;
    EXPECT_EQ(w_.Hex(3, y).weather, 2u);
    EXPECT_EQ(w_.Hex(4, y).weather, 0u) << "coast is good, row " << y;
  }
  EXPECT_EQ(w_.Hex(5, 0).weather, 2u);
  {
    twtest::RandSequence sequence(draws);
    w_.Map().RollWeather(4);
  }
  EXPECT_EQ(w_.Hex(0, 0).weather, 0u) << "May's chances, not April's";
  EXPECT_EQ(w_.Hex(2, 0).weather, 0u);
  EXPECT_EQ(w_.Hex(4, 0).weather, 1u);
  // A month outside 0..11 rolls nothing.
  EXPECT_NO_THROW(w_.Map().RollWeather(12));
  EXPECT_EQ(w_.Hex(4, 0).weather, 1u);
}

}  // namespace

namespace {

TEST_F(MapSearches, OwnershipQuestionsOfAHex) {
  // 1 Allies at war with 2 Axis; 3 neutral; a fourth country, Allies too.
  w_.AddCountries({kAlliesLeader});  // the relations start afresh
  w_.War(1, 2);
  sHex& hex = w_.Hex(1, 1);
  hex.controller = 2;
  hex.owner = 4;
  EXPECT_TRUE(IsHexLandNotNeutralFor(World(), hex, 1)) << "enemy-held";
  EXPECT_FALSE(IsHexLandNotNeutralFor(World(), hex, 3)) << "a neutral at peace";
  EXPECT_FALSE(IsHexOwnerAtWarWith(World(), hex, 2)) << "4 is not at war with 2";
  w_.War(4, 2);
  EXPECT_TRUE(IsHexOwnerAtWarWith(World(), hex, 2));
  EXPECT_FALSE(IsHexControllerFriendly(World(), hex, 1));
  hex.controller = 4;
  EXPECT_TRUE(IsHexControllerFriendly(World(), hex, 1));
  EXPECT_TRUE(IsHexFullyFriendly(World(), hex, 1)) << "both allied";
  hex.owner = 3;
  EXPECT_FALSE(IsHexFullyFriendly(World(), hex, 1));
  EXPECT_FALSE(AreAllied(World(), 3, 3)) << "a neutral is allied with no one";
  hex.controller = 0;
  EXPECT_FALSE(IsHexLandNotNeutralFor(World(), hex, 1));
  EXPECT_TRUE(IsHexAirborneDropTarget(World(), hex, 1)) << "nobody's land";
  hex.terrain = kTerrainMountain;
  EXPECT_FALSE(IsHexAirborneDropTarget(World(), hex, 1));
  hex.terrain = kTerrainPlain;
  w_.AddUnit(1, 1, 2);
  EXPECT_FALSE(IsHexAirborneDropTarget(World(), hex, 1)) << "a visible unit on it";
}

TEST(SameLandMass, HexesAreInOneGroupWhenTheirNearestCitiesAre) {
  // Two islands; the first has two cities, the second one, and a lake.
  twtest::LandWorld w({"ppp~pp", "ppp~pp", "ppp~p~"});
  w.AddCountries({kAllies});
  w.AddCity(0, 0, kCityNormal);
  w.AddCity(2, 2, kCitySupply);
  w.AddCity(5, 0, kCityNormal);
  cWorld& world = *w.world;
  world.GetTopography().ComputeWorldTopography(world.GetMap(), world.Cities());
  world.GetTopography().BuildNearestCityGrid(world.GetMap(), world.Cities());
  EXPECT_TRUE(HexesInSameTopographyGroup(world, 0, 1, 2, 1));
  EXPECT_FALSE(HexesInSameTopographyGroup(world, 1, 1, 4, 1));
  EXPECT_FALSE(HexesInSameTopographyGroup(world, 3, 1, 1, 1)) << "water has no nearest city";
  EXPECT_FALSE(HexesInSameTopographyGroup(world, 1, 1, 40, 1));
}

}  // namespace
