// The scenario tool's world: a tiny scenario built in memory (owners, sea
// zones, the port node and its links, the strait, rivers and forts, units,
// fleet and commander), and the contradictions between the sources that the
// tool refuses before it writes anything.
#include "make_scenario/scenario_build.h"

#include <gtest/gtest.h>

#include <array>

#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/world_builders.h"
#include "world/cities.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

// Germany in the west, Poland in the east, a sea in two zones.
struct sTexts {
  std::string map =
      "size 6 4\nterrain\npppp~~\npppp~~\nppppp~\npppp~~\nowner\nGGPP..\nGGPP..\nGGPPP.\nGGPP..\n"
      "seazone\n....AA\n....AA\n.....B\n....BB\nriver Narrow 0,3 0,2 0,1\nfort 2 Line: 2,1 2,2\n";
  std::string countries =
      "country G DE 5 1 2 100 100 1 3 6E6E6E 60 10 2,3,2,2,2,2,0 h:000000,FFFFFF,DD0000 Germany\n"
      "country P PL 1 3 1 100 40 2 3 E8B030 10 3 1,1,1,1,1,1,0 h:FFFFFF,DC143C Poland\n"
      "country - XX 0 0 0 0 -1 3 3 808080 0 0 1,1,0,1,1,1,0 plain:808080 Dummy\n"
      "war DE PL\n";
  std::string cities = "DE 0 1 0 10 6 Berlin\nPL 3 1 3 1 1 Gdynia\nPL 2 3 0 5 2 Warsaw\n";
  std::string roads = "road Berlin | Warsaw\nroad Warsaw | Gdynia\n";
  std::string units =
      "land DE 5 3 100 1 2 Panzer Corps\nland PL 1 2 100 2 2 Army Poznan\nair PL 20 2 90 2 0 Pursuit Brigade\n"
      "fleet PL Gdynia; Polish Fleet\nship PL 42 Burza\ncommander PL 0 3 2 Tadeusz Kutrzeba | Army Poznan\n";
  std::string sea = "zone A 5 0 Baltic\nzone B 5 3 Gulf\nlink Baltic | Gulf | Gdynia\n";
  std::string consts = "48 MaxSupply 10\n73 NavalTypeStrength 12 15 8 4 3 3\n";
  std::string ai =
      "target DE 40 Warsaw\ntarget DE -1 Gdynia\npatrol DE 90 Gulf\npress DE PL\npatrol PL 50 Baltic\n"
      "attack DE 3 2 1 2\n";
};

template <typename Parser, typename Out>
void ParseOrFail(Parser parse, const std::string& text, Out& out) {
  std::string error;
  if (!parse(text, out, error)) throw std::runtime_error("test source: " + error);
}

scen::sScenario Sources(const sTexts& t) {
  scen::sScenario s;
  ParseOrFail(scen::ParseMap, t.map, s.map);
  ParseOrFail(scen::ParseCountries, t.countries, s.countries);
  ParseOrFail(scen::ParseWars, t.countries, s.wars);
  ParseOrFail(scen::ParseCities, t.cities, s.cities);
  ParseOrFail(scen::ParseLandLinks, t.roads, s.roads);
  ParseOrFail(scen::ParseUnits, t.units, s.units);
  ParseOrFail(scen::ParseSea, t.sea, s.sea);
  ParseOrFail(scen::ParseConsts, t.consts, s.consts);
  ParseOrFail(scen::ParseAiOrders, t.ai, s.ai);
  return s;
}

// The message of the build's refusal, or "" when it built.
std::string BuildError(const sTexts& t) {
  scen::sScenario s = Sources(t);
  cWorld world;
  try {
    scen::BuildScenarioWorld(s, world);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return {};
}

TEST(ScenarioBuild, TinyScenarioBuildsEveryRecord) {
  scen::sScenario s = Sources(sTexts{});
  cWorld world;
  scen::BuildScenarioWorld(s, world);

  const cMap& map = world.GetMap();
  EXPECT_EQ(world.GetCountryCount(), 3);
  // {x, y, owner, original owner, sea zone, coastal, fortification}
  const int hexes[][7] = {{0, 0, 1, 1, 0, 0, 0}, {3, 3, 2, 2, 0, 1, 0}, {4, 0, 0, 0, 1, 0, 0},
                          {5, 3, 0, 0, 2, 0, 0}, {3, 1, 2, 2, 0, 1, 0}, {0, 1, 1, 1, 0, 0, 0},
                          {2, 1, 2, 2, 0, 0, 2}, {1, 1, 1, 1, 0, 0, 0}};
  for (const auto& [x, y, owner, original, zone, coastal, fort] : hexes) {
    const sHex& h = map.GetHex(x, y);
    EXPECT_EQ(std::vector<int>({h.owner, h.originalOwner, h.seaZone, h.coastal, h.fortification}),
              std::vector<int>({owner, original, zone, coastal, fort}))
        << x << "," << y;
  }
  // The river runs north along the east sides of column 0; each edge is
  // marked on both of its hexes, and the west bank is dry.
  for (auto [x, y, side] : {std::tuple{0, 3, 1}, {1, 3, 4}, {0, 2, 2}, {1, 3, 5}, {0, 2, 1}, {1, 2, 4}}) {
    EXPECT_TRUE(map.GetHex(x, y).HasRiverOnSide(side)) << x << "," << y << " side " << side;
  }
  EXPECT_FALSE(map.GetHex(0, 2).HasRiverOnSide(4));
  EXPECT_TRUE(world.GetRelations().IsAtWar(2, 1));
  EXPECT_EQ(world.GetCountry(3)->politicalStrength, -1);
  // Zones of the seas, then the port of Gdynia (ships in port shown on the
  // city) linked both ways with the zone in front of it; the passage
  // between the zones guarded by Gdynia.
  ASSERT_EQ(world.GetSeaGraph().GetNodeCount(), 3);
  const sWezelGrafuMorz* port = world.GetSeaGraph().GetNode(3);
  EXPECT_FALSE(port->IsSeaZone());
  EXPECT_EQ(std::tuple(port->x, port->y, port->ownShipX), std::tuple(3, 1, 3));
  for (const char* edge : {"\n3;1;-1;-1;\n", "\n1;3;-1;-1;\n", "\n1;2;3;1;\n", "\n2;1;3;1;\n"}) {
    EXPECT_NE(s.seaEdges.find(edge), std::string::npos) << edge;
  }
  // Both directions of each road.
  EXPECT_NE(s.citiesDiagram.find("\n0;1;2;3;0\n2;3;0;1;0\n"), std::string::npos);

  // The fleet in Gdynia with its cruiser of strength 8; the commander leads
  // his army; a port that is no supply source holds supply 5.
  const sUnitLists& u = world.Units();
  ASSERT_EQ(u.landUnits.size(), 2u);
  ASSERT_EQ(u.fleets.size(), 1u);
  ASSERT_EQ(u.navalUnits.size(), 1u);
  EXPECT_EQ(u.fleets.front()->seaNode, 3);
  EXPECT_EQ(std::pair(u.navalUnits.front()->fleetId, u.navalUnits.front()->maxHitPoints),
            std::pair(u.fleets.front()->id, 8));
  const cJednostkaLadowa* army = u.landUnits.back();
  ASSERT_NE(army->ownCommander, nullptr);
  EXPECT_EQ(army->ownCommander->state, kCommanderAssigned);
  EXPECT_EQ(army->supply, 10);
  EXPECT_EQ(world.Cities()[1]->supply, 5);
}

TEST(ScenarioBuild, ContradictionsBetweenSourcesAreRefused) {
  const struct {
    std::string sTexts::*field;
    std::string from;
    std::string to;
    const char* expected;
  } cases[] = {
      {&sTexts::cities, "DE 0 1 0 10 6 Berlin", "DE 3 0 0 10 6 Berlin", "another country"},
      {&sTexts::cities, "PL 2 3 0 5 2 Warsaw", "PL 2 3 3 5 2 Warsaw", "without water"},
      {&sTexts::cities, "PL 2 3 0 5 2 Warsaw", "PL 3 1 0 5 2 Warsaw", "shares its hex"},
      {&sTexts::cities, "PL 2 3 0 5 2 Warsaw", "PL 4 0 0 5 2 Warsaw", "on water"},
      {&sTexts::units, "land DE 5 3 100 1 2", "land DE 5 3 100 3 2", "outside its country"},
      {&sTexts::units, "air PL 20 2 90 2 0", "air PL 20 2 90 2 2", "shares its hex"},
      {&sTexts::units, "fleet PL Gdynia", "fleet PL Warsaw", "is no port"},
      {&sTexts::units, "commander PL 0", "commander PL 1", "another arm"},
      {&sTexts::units, "| Army Poznan", "| Panzer Corps", "unknown unit"},
      {&sTexts::map, "GGPP..\nGGPPP.", "GGPP..\nGXPPP.", "names no country"},
      {&sTexts::sea, "link Baltic | Gulf", "link Baltic | Bay", "unknown zone"},
      {&sTexts::sea, "zone A 5 0 Baltic", "zone A 5 3 Baltic", "another zone"},
      {&sTexts::sea, "| Gdynia", "| Danzig", "no city named"},
      {&sTexts::roads, "road Warsaw | Gdynia", "road Warsaw | Posen", "no city named"},
      {&sTexts::roads, "road Berlin | Warsaw", "road Berlin | Warsaw\nroad Warsaw | Berlin", "given twice"},
      {&sTexts::countries, "war DE PL", "war DE RU", "unknown country code"},
      {&sTexts::countries, "0 0 0 0 -1 3 3", "0 0 0 0 5 3 3", "the dummy"},
      {&sTexts::ai, "target DE 40 Warsaw", "target DE 40 Posen", "no city named"},
      {&sTexts::ai, "target DE 40 Warsaw", "target RU 40 Warsaw", "unknown country code"},
      {&sTexts::ai, "patrol DE 90 Gulf", "patrol DE 90 Bay", "no sea zone named"},
      {&sTexts::ai, "patrol PL 50 Baltic", "patrol DE 50 Gulf", "twice"},
      {&sTexts::ai, "press DE PL", "press DE PL DE", "press itself"},
      {&sTexts::ai, "press DE PL", "press DE XY", "unknown country code"},
  };
  EXPECT_EQ(BuildError(sTexts{}), "");
  for (const auto& c : cases) {
    sTexts t;
    std::string& text = t.*(c.field);
    const std::size_t at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    text.replace(at, c.from.size(), c.to);
    const std::string error = BuildError(t);
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.to << " gave \"" << error << "\"";
  }
  // A fleet in a foreign port, and a road into a resource city.
  sTexts foreign;
  foreign.units += "fleet DE Gdynia; Raiders\nship DE 43 U-1\n";
  EXPECT_NE(BuildError(foreign).find("foreign port"), std::string::npos);
  sTexts mine;
  mine.cities += "PL 2 0 4 0 2 Mine\n";
  mine.roads += "road Warsaw | Mine\n";
  EXPECT_NE(BuildError(mine).find("resource city"), std::string::npos);
  sTexts aimed;
  aimed.cities += "PL 2 0 4 0 2 Mine\n";
  aimed.ai += "target DE 10 Mine\n";
  EXPECT_NE(BuildError(aimed).find("resources city"), std::string::npos);
}

TEST(ScenarioBuild, StandingOrdersBecomeTheComputersTargetsPatrolsAndPressure) {
  scen::sScenario s = Sources(sTexts{});
  cWorld world;
  scen::BuildScenarioWorld(s, world);
  const sCountryAiData& de = world.GetCountry(1)->aiData;
  ASSERT_EQ(de.currentTargets.size(), 2u);
  // Warsaw (2, 3) with the strength to gather, then Gdynia (3, 1) without one.
  EXPECT_EQ(std::tie(de.currentTargets[0].a, de.currentTargets[0].b, de.currentTargets[0].c), std::tuple(2, 3, 40));
  EXPECT_EQ(std::tie(de.currentTargets[1].a, de.currentTargets[1].b, de.currentTargets[1].c), std::tuple(3, 1, -1));
  EXPECT_EQ(de.seaZonesToPatrol, twtest::PatrolZones({{2, 90}}));
  EXPECT_EQ(de.countriesToPress, std::vector<int>{2});
  // The attack line sets the odds the attacks need; the one-side attack's
  // other two values keep their defaults, as does a country without a line.
  EXPECT_EQ(de.multipleSideAttackPreferences, (std::array<int, 3>{3, 2, 1}));
  EXPECT_EQ(de.oneSideAttackPreferences, (std::array<int, 3>{2, 2, 2}));
  const sCountryAiData& pl = world.GetCountry(2)->aiData;
  EXPECT_EQ(pl.multipleSideAttackPreferences, (std::array<int, 3>{5, 3, 4}));
  EXPECT_EQ(pl.oneSideAttackPreferences, (std::array<int, 3>{4, 2, 2}));
  EXPECT_TRUE(pl.currentTargets.empty());
  EXPECT_EQ(pl.seaZonesToPatrol, twtest::PatrolZones({{1, 50}}));
  EXPECT_TRUE(pl.countriesToPress.empty());
  // A scenario without standing orders leaves the lists empty.
  sTexts none;
  none.ai.clear();
  scen::sScenario plain = Sources(none);
  cWorld bare;
  scen::BuildScenarioWorld(plain, bare);
  EXPECT_TRUE(bare.GetCountry(1)->aiData.currentTargets.empty());
  EXPECT_TRUE(bare.GetCountry(1)->aiData.seaZonesToPatrol.empty());
}

TEST(ScenarioSources, StandingOrdersRejectBadNumbers) {
  scen::sAiOrdersSource orders;
  std::string error;
  for (const char* bad : {"target DE 0 Warsaw", "target DE -2 Warsaw", "target DE x Warsaw", "target DE 40",
                          "patrol DE 0 Gulf", "press DE", "attack DE PL", "attack DE 3 2 2", "attack DE 8 2 2 3",
                          "attack DE 3 2 -1 3", "attack DE 3 2 2 0"}) {
    EXPECT_FALSE(scen::ParseAiOrders(bad, orders, error)) << bad;
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
  }
  ASSERT_TRUE(scen::ParseAiOrders("# comment\ntarget DE -1 Mersa Matruh\npress UK TR GR\nattack IT 4 3 2 3\n", orders,
                                  error))
      << error;
  ASSERT_EQ(orders.attacks.size(), 1u);
  EXPECT_EQ(orders.attacks[0].code, "IT");
  EXPECT_EQ(orders.attacks[0].multipleSide, (std::array<int, 3>{4, 3, 2}));
  EXPECT_EQ(orders.attacks[0].oneSide, 3);
  ASSERT_EQ(orders.targets.size(), 1u);
  EXPECT_EQ(orders.targets[0].city, "Mersa Matruh");
  EXPECT_EQ(orders.presses[0].countries, (std::vector<std::string>{"TR", "GR"}));
}

}  // namespace
