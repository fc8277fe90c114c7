#include <gtest/gtest.h>

#include "city_fixture.h"
#include "support/test_support.h"
#include "world/topography.h"

using twtest::CityWorld;

namespace {

// Two land masses in row 0 split by the water hex (3, 0), an island with a
// port at (0, 2) and a land hex without any city at (6, 2).
constexpr const char* kIslands = "size 7 3\nterrain\nppp~ppp\n~~~~~~~\np~~~~~p\n";

void Compute(CityWorld& w) {
  w.world.GetTopography().ComputeWorldTopography(w.world.GetMap(), w.world.Cities());
  w.world.GetTopography().BuildNearestCityGrid(w.world.GetMap(), w.world.Cities());
}

}  // namespace

TEST(Topography, GroupsFollowLandMassesAndFloodOrder) {
  CityWorld w(kIslands);
  cCity* b = w.AddCity(L"B", 2, 0, kCityNormal);
  cCity* a = w.AddCity(L"A", 0, 0, kCitySupply);
  cCity* c = w.AddCity(L"C", 6, 0, kCityNormal);
  w.AddCity(L"D", 4, 0, kCityResources);
  cCity* e = w.AddCity(L"E", 0, 2, kCityPort);
  Compute(w);
  // A lies on land B's flood reached first: it joins B's group and starts none.
  const Topography expected{{b, a}, {c}, {e}};
  EXPECT_EQ(w.world.GetTopography().WorldTopography(), expected);

  // Joining the masses by one land hex makes one group in flood order; the
  // resource city D never takes part.
  w.world.GetMap().GetHex(3, 0).terrain = kTerrainPlain;
  Compute(w);
  const Topography joined{{b, a, c}, {e}};
  EXPECT_EQ(w.world.GetTopography().WorldTopography(), joined);
}

TEST(Topography, NearestCityGridNullsAndTies) {
  CityWorld w(kIslands);
  cCity* a = w.AddCity(L"A", 0, 0, kCityNormal);
  w.AddCity(L"D", 4, 0, kCityResources);
  cCity* c = w.AddCity(L"C", 6, 0, kCityNormal);
  Compute(w);
  const cWorldTopography& t = w.world.GetTopography();
  EXPECT_EQ(t.NearestCity(2, 0), a);
  EXPECT_EQ(t.NearestCity(4, 0), c);  // a resource city's own hex goes to C
  EXPECT_EQ(t.NearestCity(3, 0), nullptr);   // water
  EXPECT_EQ(t.NearestCity(0, 2), nullptr);   // island without a city
  EXPECT_EQ(t.NearestCity(6, 2), nullptr);
  EXPECT_EQ(t.NearestCity(-1, 0), nullptr);
  EXPECT_EQ(t.NearestCity(7, 0), nullptr);

  // (2, 0) is two steps from both (0, 0) and (4, 0): the earlier city in the
  // list wins, whichever it is.
  CityWorld strip("size 5 1\nterrain\nppppp\n");
  cCity* left = strip.AddCity(L"L", 0, 0, kCityNormal);
  cCity* right = strip.AddCity(L"R", 4, 0, kCityNormal);
  Compute(strip);
  EXPECT_EQ(strip.world.GetTopography().NearestCity(2, 0), left);
  CityWorld strip2("size 5 1\nterrain\nppppp\n");
  right = strip2.AddCity(L"R", 4, 0, kCityNormal);
  left = strip2.AddCity(L"L", 0, 0, kCityNormal);
  Compute(strip2);
  EXPECT_EQ(strip2.world.GetTopography().NearestCity(2, 0), right);
  EXPECT_EQ(strip2.world.GetTopography().NearestCity(1, 0), left);
}
