#include <gtest/gtest.h>

#include "city_fixture.h"
#include "support/test_support.h"
#include "world/cities.h"

using twtest::CityWorld;

namespace {

// The city stands on (2, 2), an even column: its neighbours in directions
// 0..5 are (2, 1), (3, 2), (3, 3), (2, 3), (1, 3), (1, 2). Here (1, 2),
// (3, 2), (1, 3) and (3, 3) are water.
constexpr const char* kSiegeMap =
    "size 5 5\nterrain\nppppp\nppppp\np~p~p\np~p~p\nppppp\nowner\n"
    "1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n";

// Country 1 Allies, 2 Axis (at war with 1), 3 neutral, 4 leader of the Allies.
void SetUpSides(CityWorld& w) {
  w.AddCountries({1, 2, 0, 4});
  w.War(1, 2);
}

}  // namespace

TEST(City, BesiegedNeedsTwoWarringNeighboursAndNoEmptyLand) {
  CityWorld w(kSiegeMap);
  SetUpSides(w);
  cCity* c = w.AddCity(L"Modlin", 2, 2, kCityNormal);

  // Without a garrison there is no siege.
  w.PlaceUnit(2, 1, 2);
  w.PlaceUnit(2, 3, 2);
  EXPECT_FALSE(c->IsBesieged());

  w.PlaceUnit(2, 2, 1);
  EXPECT_TRUE(c->IsBesieged());

  // One besieger with only water besides it is not enough.
  w.world.GetMap().GetHex(2, 3).unit = nullptr;
  w.world.GetMap().GetHex(2, 3).terrain = kTerrainWater;
  EXPECT_FALSE(c->IsBesieged());

  // An empty land neighbour breaks any siege.
  w.world.GetMap().GetHex(2, 3).terrain = kTerrainPlain;
  w.PlaceUnit(2, 3, 2);
  w.world.GetMap().GetHex(3, 2).terrain = kTerrainPlain;
  EXPECT_FALSE(c->IsBesieged());
  w.world.GetMap().GetHex(3, 2).terrain = kTerrainWater;
  EXPECT_TRUE(c->IsBesieged());

  // A neighbour not at war with the holder (a neutral) breaks it too.
  w.PlaceUnit(2, 3, 3);
  EXPECT_FALSE(c->IsBesieged());

  // A hex without a controller is never besieged.
  w.PlaceUnit(2, 3, 2);
  ASSERT_TRUE(c->IsBesieged());
  w.Control(2, 2, 0);
  EXPECT_FALSE(c->IsBesieged());
}

TEST(City, EnclosedWhenNoNeighbourIsEmptyLand) {
  CityWorld w(kSiegeMap);
  cCity* c = w.AddCity(L"Hel", 2, 2, kCityPort);
  EXPECT_FALSE(c->IsEnclosed());
  w.PlaceUnit(2, 1, 1);
  EXPECT_FALSE(c->IsEnclosed());
  w.PlaceUnit(2, 3, 1);
  EXPECT_TRUE(c->IsEnclosed());
}
