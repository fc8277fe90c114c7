// The scenario tool's reading of its sources, the river sides it derives
// from a chain of hexes, and the flags it draws.
#include "make_scenario/scenario_sources.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "make_scenario/scenario_render.h"

namespace {

using scen::sHexPos;

std::string SmallMap(const std::string& terrainRow2, const std::string& ownerRow2, const std::string& zoneRow2) {
  return "size 3 2\nterrain\npp~\n" + terrainRow2 + "\nowner\nGG.\n" + ownerRow2 + "\nseazone\n..A\n" + zoneRow2 +
         "\nriver Little 0,0 1,0\nfort 3 Little Line: 0,0 1,0\n";
}

TEST(ScenarioSources, MapGridsMustAgreeOnLandAndWater) {
  scen::sMapSource map;
  std::string error;
  ASSERT_TRUE(scen::ParseMap(SmallMap("p~~", "G..", ".AA"), map, error)) << error;
  EXPECT_EQ(map.width, 3);
  ASSERT_EQ(map.rivers.size(), 1u);
  EXPECT_EQ(map.rivers[0].hexes, (std::vector<sHexPos>{{0, 0}, {1, 0}}));
  ASSERT_EQ(map.forts.size(), 1u);
  EXPECT_EQ(map.forts[0].name, "Little Line");
  EXPECT_EQ(map.forts[0].level, 3);
  EXPECT_EQ(map.forts[0].hexes.size(), 2u);

  const struct {
    std::string text;
    const char* why;
  } bad[] = {
      {SmallMap("p~~", "GG.", ".AA"), "water hex with an owner"},
      {SmallMap("p~~", "G..", "..A"), "water hex without a sea zone"},
      {SmallMap("pp~", "GG.", ".AA"), "land hex with a sea zone"},
      {SmallMap("px~", "GG.", "..A"), "unknown terrain letter"},
      {SmallMap("p~", "G..", ".AA"), "short row"},
      {"terrain\n", "no size first"},
      {"size 3 2\nterrain\npp~\np~~\n", "grids missing"},
      {"size 3 2\nterrain\npp~\np~~\nowner\nGG.\nG..\nseazone\n..A\n.AA\nriver R 0,0 2,1\n", "river hexes apart"},
      {"size 3 2\nterrain\npp~\np~~\nowner\nGG.\nG..\nseazone\n..A\n.AA\nriver R 0,0 5,0\n", "river off the map"},
      {"size 3 2\nterrain\npp~\np~~\nowner\nGG.\nG..\nseazone\n..A\n.AA\nfort 2 F: 2,0\n", "fort on water"},
      {"size 3 2\nterrain\npp~\np~~\nowner\nGG.\nG..\nseazone\n..A\n.AA\nfort 6 F: 0,0\n", "fort level 6"},
  };
  for (const auto& b : bad) {
    EXPECT_FALSE(scen::ParseMap(b.text, map, error)) << b.why;
    EXPECT_FALSE(error.empty()) << b.why;
  }
}

TEST(ScenarioSources, TablesRejectWhatTheGameCannotLoad) {
  std::string error;
  std::vector<scen::sCountrySource> countries;
  const std::string germany =
      "country G DE 5 1 2 100 100 1 3 6E6E6E 60 10 2,3,2,2,2,2,0 h:000000,FFFFFF,DD0000 Germany\n";
  ASSERT_TRUE(scen::ParseCountries("# comment\n" + germany, countries, error)) << error;
  ASSERT_EQ(countries.size(), 1u);
  EXPECT_EQ(countries[0].name, "Germany");
  EXPECT_EQ(countries[0].colour, 0xFF6E6E6Eu);
  EXPECT_EQ(countries[0].tech[1], 3);
  EXPECT_FALSE(scen::ParseCountries(germany + germany, countries, error));  // letter and code twice
  EXPECT_FALSE(
      scen::ParseCountries("country G DE 7 1 2 100 100 1 3 6E6E6E 60 10 2,3,2,2,2,2,0 x Y\n", countries, error));
  EXPECT_FALSE(
      scen::ParseCountries("country G DE 5 1 2 100 100 1 3 6E6E6 60 10 2,3,2,2,2,2,0 x Y\n", countries, error));
  EXPECT_FALSE(scen::ParseCountries("country G DE 5 1 2 100 100 1 3 6E6E6E 60 10 2,3,2 x Y\n", countries, error));

  std::vector<scen::sCitySource> cities;
  ASSERT_TRUE(scen::ParseCities("DE 10 20 0 10 6 Berlin\nPL 11 20 3 1 1 Port of Gdynia\n", cities, error)) << error;
  EXPECT_EQ(cities[1].name, "Port of Gdynia");
  EXPECT_FALSE(scen::ParseCities("DE 10 20 5 10 6 Berlin\n", cities, error));                       // type 5
  EXPECT_FALSE(scen::ParseCities("DE 10 20 0 10 6 Berlin\nDE 1 2 0 1 1 Berlin\n", cities, error));  // twice
  EXPECT_FALSE(scen::ParseCities("DE 10 20 0 10 6 Ber;lin\n", cities, error));                      // breaks a row

  scen::sUnitsSource units;
  ASSERT_TRUE(
      scen::ParseUnits("land DE 5 3 100 4 5 XIX Panzer Corps\nair DE 20 3 100 4 6 JG 2\n"
                       "fleet DE Kiel; Baltic Squadron\nship DE 42 Koln\n"
                       "commander DE 0 5 3 Heinz Guderian | XIX Panzer Corps\n",
                       units, error))
      << error;
  EXPECT_EQ(units.units[0].name, "XIX Panzer Corps");
  EXPECT_TRUE(units.units[1].air);
  EXPECT_EQ(units.fleets[0].port, "Kiel");
  EXPECT_EQ(units.fleets[0].name, "Baltic Squadron");
  EXPECT_EQ(units.fleets[0].ships[0].name, "Koln");
  EXPECT_EQ(units.commanders[0].unit, "XIX Panzer Corps");
  EXPECT_FALSE(scen::ParseUnits("land DE 20 3 100 4 5 Air as land\n", units, error));
  EXPECT_FALSE(scen::ParseUnits("air DE 5 3 100 4 5 Land as air\n", units, error));
  EXPECT_FALSE(scen::ParseUnits("land DE 1 6 100 4 5 Level six\n", units, error));
  EXPECT_FALSE(scen::ParseUnits("ship DE 41 Before any fleet\n", units, error));
  EXPECT_FALSE(scen::ParseUnits("fleet DE Kiel; F\nship IT 41 Foreign ship\n", units, error));

  scen::sSeaSource sea;
  ASSERT_TRUE(
      scen::ParseSea("zone A 1 2 North Sea\nzone B 3 4 Baltic\nlink North Sea | Baltic | Copenhagen\n", sea, error))
      << error;
  EXPECT_EQ(sea.links[0].strait, "Copenhagen");
  EXPECT_FALSE(scen::ParseSea("zone A 1 2 North Sea\nzone A 3 4 Baltic\n", sea, error));
  EXPECT_FALSE(scen::ParseSea("link North Sea\n", sea, error));

  std::vector<scen::sLandLinkSource> roads;
  ASSERT_TRUE(scen::ParseLandLinks("road Berlin | Stettin\nferry Rome | Tunis\n", roads, error)) << error;
  EXPECT_EQ(roads[1].type, 1);
  EXPECT_FALSE(scen::ParseLandLinks("road Berlin | Berlin\n", roads, error));

  scen::ConstsSource consts;
  ASSERT_TRUE(scen::ParseConsts("1 TurnsPerMonth 2 2 2 2 2 2 2 2 2 2 2 2\n33 Fixed 2.5\n", consts, error)) << error;
  EXPECT_DOUBLE_EQ(consts[33][0], 2.5);
  EXPECT_FALSE(scen::ParseConsts("185 Beyond 1\n", consts, error));
  EXPECT_FALSE(scen::ParseConsts("1 A 1\n1 B 2\n", consts, error));
  EXPECT_FALSE(scen::ParseConsts("2 Bad 1 x\n", consts, error));
}

// Two sides meet when they share a corner: the corners of side d of a hex
// are corners d and d + 1 counted from the north-west one, and a neighbour
// shares two of them.
using Corner = std::pair<int, int>;  // doubled coordinates of the corner

std::pair<Corner, Corner> SideCorners(sHexPos h, int side) {
  // Centre of a flat-topped hex in units where a column is 3 wide and a row
  // 2 high (even columns one lower); corners clockwise from the north-west.
  const int cx = h.x * 3;
  const int cy = h.y * 2 + (h.x % 2 == 0 ? 1 : 0);
  const Corner c[6] = {{cx - 1, cy - 1}, {cx + 1, cy - 1}, {cx + 2, cy},
                       {cx + 1, cy + 1}, {cx - 1, cy + 1}, {cx - 2, cy}};
  return {c[side], c[(side + 1) % 6]};
}

TEST(ScenarioSources, RiverRunsAlongConnectedSidesOnTheRightBank) {
  for (const auto& chain : std::vector<std::vector<sHexPos>>{
           {{5, 8}, {5, 7}, {5, 6}, {5, 5}},                  // straight north
           {{4, 6}, {5, 6}, {6, 5}, {7, 5}, {8, 4}},          // north-east, zigzagging columns
           {{5, 8}, {5, 7}, {6, 6}, {6, 5}, {5, 5}, {4, 4}},  // bending right, then left
       }) {
    const auto sides = scen::RiverSides(chain);
    ASSERT_FALSE(sides.empty());
    // Each edge is listed once, and each links up with the one before it.
    std::set<std::pair<Corner, Corner>> edges;
    for (std::size_t i = 0; i < sides.size(); ++i) {
      auto [a, b] = SideCorners(sides[i].first, sides[i].second);
      if (b < a) std::swap(a, b);
      EXPECT_TRUE(edges.insert({a, b}).second) << "edge listed twice";
      if (i == 0) continue;
      const auto [p, q] = SideCorners(sides[i - 1].first, sides[i - 1].second);
      EXPECT_TRUE(a == p || a == q || b == p || b == q) << "gap before side " << i;
    }
  }
  // Heading north, the river runs on the east (right) sides.
  const auto north = scen::RiverSides({{5, 8}, {5, 7}});
  EXPECT_EQ(north, (std::vector<std::pair<sHexPos, int>>{{{5, 8}, 1}, {{5, 7}, 2}}));
}

TEST(ScenarioSources, DetoursAreCutFromTheRiverChain) {
  // A step there and back, and a corner whose ends touch, are both dropped.
  EXPECT_EQ(scen::SmoothChain({{5, 8}, {5, 7}, {5, 8}, {5, 7}, {5, 6}}),
            (std::vector<sHexPos>{{5, 8}, {5, 7}, {5, 6}}));
  EXPECT_EQ(scen::SmoothChain({{4, 4}, {5, 4}, {4, 3}}), (std::vector<sHexPos>{{4, 4}, {4, 3}}));
  // A gentle bend stays as it is.
  EXPECT_EQ(scen::SmoothChain({{5, 6}, {6, 5}, {6, 4}}).size(), 3u);
}

TEST(ScenarioSources, FlagsAreDrawnFromTheirDesigns) {
  std::vector<unsigned char> rgba;
  auto at = [&](int x, int y) {
    const unsigned char* p = &rgba[static_cast<std::size_t>(y * 30 + x) * 4];
    return (p[0] << 16) | (p[1] << 8) | p[2];
  };
  ASSERT_TRUE(scen::DrawFlag("v:0055A4,FFFFFF,EF4135", 30, 20, rgba));
  ASSERT_EQ(rgba.size(), 30u * 20u * 4u);
  EXPECT_EQ(at(2, 10), 0x0055A4);
  EXPECT_EQ(at(15, 10), 0xFFFFFF);
  EXPECT_EQ(at(27, 10), 0xEF4135);
  ASSERT_TRUE(scen::DrawFlag("h:FFFFFF,DC143C", 30, 20, rgba));
  EXPECT_EQ(at(15, 2), 0xFFFFFF);
  EXPECT_EQ(at(15, 17), 0xDC143C);
  ASSERT_TRUE(scen::DrawFlag("nordic:006AA7,FECC00", 30, 20, rgba));
  EXPECT_EQ(at(2, 2), 0x006AA7);
  EXPECT_EQ(at(2, 10), 0xFECC00);  // the bar across
  EXPECT_EQ(at(10, 2), 0xFECC00);  // the upright, left of the middle
  EXPECT_EQ(at(25, 2), 0x006AA7);
  for (const char* known : {"union", "greek", "swiss:D52B1E,FFFFFF", "crescent:E30A17,FFFFFF", "star:CC0000,FFD700",
                            "hoist:000000,FFFFFF,007A3D,CE1126", "plain:808080"}) {
    EXPECT_TRUE(scen::DrawFlag(known, 30, 20, rgba)) << known;
  }
  EXPECT_FALSE(scen::DrawFlag("tartan:123456", 30, 20, rgba));
  EXPECT_FALSE(scen::DrawFlag("h:12345", 30, 20, rgba));
  EXPECT_FALSE(scen::DrawFlag("nordic:123456", 30, 20, rgba));
}

}  // namespace
