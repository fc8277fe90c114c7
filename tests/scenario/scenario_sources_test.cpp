// The scenario tool's reading of its sources, the river sides it derives
// from a chain of hexes, and the flags it draws.
#include "make_scenario/scenario_sources.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "make_scenario/scenario_render.h"

namespace {

using scen::sHexPos;

std::string SmallMap(const std::string& terrainRow2, const std::string& ownerRow2, const std::string& zoneRow2) {
  return "size 3 2\nterrain\npp~\n" + terrainRow2 + "\nowner\nGG.\n" + ownerRow2 + "\nseazone\n..A\n" + zoneRow2 +
         "\nriver Little 0,0 1,0\nfort 3 Little Line: 0,0 1,0\n";
}

// Parses text with parse into a fresh out; true when it was accepted.
template <typename Out>
bool Accepts(bool (*parse)(const std::string&, Out&, std::string&), const std::string& text, Out* kept = nullptr) {
  Out out{};
  std::string error;
  const bool ok = parse(text, kept ? *kept : out, error);
  EXPECT_EQ(ok, error.empty()) << text << ": " << error;
  return ok;
}

TEST(ScenarioSources, MapGridsMustAgreeOnLandAndWater) {
  scen::sMapSource map;
  ASSERT_TRUE(Accepts(scen::ParseMap, SmallMap("p~~", "G..", ".AA"), &map));
  // A name of two words before the colon (rivers and forts of one word are
  // checked through the tool's built world).
  ASSERT_EQ(map.forts.size(), 1u);
  EXPECT_EQ(map.forts[0].name, "Little Line");
  EXPECT_EQ(map.forts[0].hexes.size(), 2u);

  const std::string grids = "size 3 2\nterrain\npp~\np~~\nowner\nGG.\nG..\nseazone\n..A\n.AA\n";
  const std::pair<std::string, const char*> bad[] = {
      {SmallMap("p~~", "GG.", ".AA"), "water hex with an owner"},
      {SmallMap("p~~", "G..", "..A"), "water hex without a sea zone"},
      {SmallMap("pp~", "GG.", ".AA"), "land hex with a sea zone"},
      {SmallMap("px~", "GG.", "..A"), "unknown terrain letter"},
      {SmallMap("p~", "G..", ".AA"), "short row"},
      {"terrain\n", "no size first"},
      {"size 3 2\nterrain\npp~\np~~\n", "grids missing"},
      {grids + "river R 0,0 2,1\n", "river hexes apart"},
      {grids + "river R 0,0 5,0\n", "river off the map"},
      {grids + "fort 2 F: 2,0\n", "fort on water"},
      {grids + "fort 6 F: 0,0\n", "fort level 6"},
  };
  for (const auto& [text, why] : bad) EXPECT_FALSE(Accepts(scen::ParseMap, text)) << why;
}

TEST(ScenarioSources, TablesRejectWhatTheGameCannotLoad) {
  std::vector<scen::sCountrySource> countries;
  const std::string germany =
      "country G DE 5 1 2 100 100 1 3 6E6E6E 60 10 2,3,2,2,2,2,0 h:000000,FFFFFF,DD0000 Germany\n";
  ASSERT_TRUE(Accepts(scen::ParseCountries, "# comment\n" + germany, &countries));
  ASSERT_EQ(countries.size(), 1u);
  EXPECT_EQ(countries[0].name, "Germany");
  EXPECT_EQ(countries[0].colour, 0xFF6E6E6Eu);
  EXPECT_EQ(countries[0].tech[1], 3);
  // Letter and code twice, alliance 7, a short colour, short tech levels.
  for (const std::string& text : {germany + germany, std::string("country G DE 7 1 2 100 100 1 3 6E6E6E 60 10 2,3,2,2,2,2,0 x Y\n"),
                                  std::string("country G DE 5 1 2 100 100 1 3 6E6E6 60 10 2,3,2,2,2,2,0 x Y\n"),
                                  std::string("country G DE 5 1 2 100 100 1 3 6E6E6E 60 10 2,3,2 x Y\n")}) {
    EXPECT_FALSE(Accepts(scen::ParseCountries, text));
  }

  std::vector<scen::sCitySource> cities;
  ASSERT_TRUE(Accepts(scen::ParseCities, "DE 10 20 0 10 6 Berlin\nPL 11 20 3 1 1 Port of Gdynia\n", &cities));
  EXPECT_EQ(cities[1].name, "Port of Gdynia");
  // Type 5, a name twice, a name that breaks a row.
  for (const char* text : {"DE 10 20 5 10 6 Berlin\n", "DE 10 20 0 10 6 Berlin\nDE 1 2 0 1 1 Berlin\n",
                           "DE 10 20 0 10 6 Ber;lin\n"}) {
    EXPECT_FALSE(Accepts(scen::ParseCities, text));
  }

  scen::sUnitsSource units;
  ASSERT_TRUE(Accepts(scen::ParseUnits,
                      "land DE 5 3 100 4 5 XIX Panzer Corps\nair DE 20 3 100 4 6 JG 2\n"
                      "fleet DE Kiel; Baltic Squadron\nship DE 42 Koln\n"
                      "raiders DE Wilhelmshaven; U-boat Arm\nship DE 43 U-boat Flotilla Lohs\n"
                      "commander DE 0 5 3 Heinz Guderian | XIX Panzer Corps\n",
                      &units));
  ASSERT_EQ(units.fleets.size(), 2u);
  EXPECT_FALSE(units.fleets[0].raiders);
  EXPECT_TRUE(units.fleets[1].raiders);
  EXPECT_EQ(units.fleets[1].ships.size(), 1u);
  // The fields of units, fleets, ships and commanders are checked through
  // the world the scenario tool builds of them.
  for (const char* text : {"land DE 20 3 100 4 5 Air as land\n", "air DE 5 3 100 4 5 Land as air\n",
                           "land DE 1 6 100 4 5 Level six\n", "ship DE 41 Before any fleet\n",
                           "fleet DE Kiel; F\nship IT 41 Foreign ship\n"}) {
    EXPECT_FALSE(Accepts(scen::ParseUnits, text));
  }

  scen::sSeaSource sea;
  ASSERT_TRUE(
      Accepts(scen::ParseSea, "zone A 1 2 North Sea\nzone B 3 4 Baltic\nlink North Sea | Baltic | Copenhagen\n", &sea));
  EXPECT_FALSE(Accepts(scen::ParseSea, "zone A 1 2 North Sea\nzone A 3 4 Baltic\n"));
  EXPECT_FALSE(Accepts(scen::ParseSea, "link North Sea\n"));

  std::vector<scen::sLandLinkSource> roads;
  ASSERT_TRUE(Accepts(scen::ParseLandLinks, "road Berlin | Stettin\nferry Rome | Tunis\n", &roads));
  EXPECT_EQ(roads[1].type, 1);
  EXPECT_FALSE(Accepts(scen::ParseLandLinks, "road Berlin | Berlin\n"));

  scen::ConstsSource consts;
  ASSERT_TRUE(Accepts(scen::ParseConsts, "1 TurnsPerMonth 2 2 2 2 2 2 2 2 2 2 2 2\n33 Fixed 2.5\n", &consts));
  EXPECT_DOUBLE_EQ(consts[33][0], 2.5);
  for (const char* text : {"185 Beyond 1\n", "1 A 1\n1 B 2\n", "2 Bad 1 x\n"}) {
    EXPECT_FALSE(Accepts(scen::ParseConsts, text));
  }
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
  // Heading north the river runs on the east (right) sides: see the tool's
  // built world.
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
  // {design, x, y, colour}: vertical and horizontal stripes; a Nordic cross
  // with its bar across and its upright left of the middle.
  const std::tuple<const char*, int, int, int> pixels[] = {
      {"v:0055A4,FFFFFF,EF4135", 2, 10, 0x0055A4}, {"v:0055A4,FFFFFF,EF4135", 15, 10, 0xFFFFFF},
      {"v:0055A4,FFFFFF,EF4135", 27, 10, 0xEF4135}, {"h:FFFFFF,DC143C", 15, 2, 0xFFFFFF},
      {"h:FFFFFF,DC143C", 15, 17, 0xDC143C},        {"nordic:006AA7,FECC00", 2, 2, 0x006AA7},
      {"nordic:006AA7,FECC00", 2, 10, 0xFECC00},    {"nordic:006AA7,FECC00", 10, 2, 0xFECC00},
      {"nordic:006AA7,FECC00", 25, 2, 0x006AA7}};
  for (const auto& [design, x, y, colour] : pixels) {
    ASSERT_TRUE(scen::DrawFlag(design, 30, 20, rgba));
    ASSERT_EQ(rgba.size(), 30u * 20u * 4u);
    EXPECT_EQ(at(x, y), colour) << design << " at " << x << "," << y;
  }
  for (const char* known : {"union", "greek", "swiss:D52B1E,FFFFFF", "crescent:E30A17,FFFFFF", "star:CC0000,FFD700",
                            "hoist:000000,FFFFFF,007A3D,CE1126", "plain:808080"}) {
    EXPECT_TRUE(scen::DrawFlag(known, 30, 20, rgba)) << known;
  }
  for (const char* bad : {"tartan:123456", "h:12345", "nordic:123456"}) EXPECT_FALSE(scen::DrawFlag(bad, 30, 20, rgba));
}

}  // namespace
