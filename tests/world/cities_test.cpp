// The cities in a world: sieges, a country's cities, the topography of the
// cities on their land masses, and the land routes between them.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "city_fixture.h"
#include "support/test_support.h"
#include "world/city_graph.h"
#include "world/topography.h"

using twtest::CityWorld;

namespace {

// The city stands on (2, 2), an even column: its neighbours in directions
// 0..5 are (2, 1), (3, 2), (3, 3), (2, 3), (1, 3), (1, 2). Here (1, 2),
// (3, 2), (1, 3) and (3, 3) are water.
constexpr const char* kSiegeMap =
    "size 5 5\nterrain\nppppp\nppppp\np~p~p\np~p~p\nppppp\nowner\n"
    "1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n1 1 1 1 1\n";

// Cities: a row of five plain hexes.
constexpr const char* kRow = "size 5 1\nterrain\nppppp\nowner\n1 1 1 1 2\n";

// Two land masses in row 0 split by the water hex (3, 0), an island with a
// port at (0, 2) and a land hex without any city at (6, 2).
constexpr const char* kIslands = "size 7 3\nterrain\nppp~ppp\n~~~~~~~\np~~~~~p\n";

void Compute(CityWorld& w) {
  w.world.GetTopography().ComputeWorldTopography(w.world.GetMap(), w.world.Cities());
  w.world.GetTopography().BuildNearestCityGrid(w.world.GetMap(), w.world.Cities());
}

}  // namespace

TEST(City, BesiegedNeedsTwoWarringNeighboursAndNoEmptyLand) {
  // Country 1 Allies, 2 Axis (at war with 1), 3 neutral, 4 leader of the Allies.
  CityWorld w(kSiegeMap);
  w.AddCountries({1, 2, 0, 4});
  w.War(1, 2);
  cCity* c = w.AddCity(L"Modlin", 2, 2, kCityNormal);

  // Without a garrison there is no siege.
  w.PlaceUnit(2, 1, 2);
  w.PlaceUnit(2, 3, 2);
  EXPECT_FALSE(c->IsBesieged(w.world));

  w.PlaceUnit(2, 2, 1);
  EXPECT_TRUE(c->IsBesieged(w.world));

  // One besieger with only water besides it is not enough.
  w.world.GetMap().GetHex(2, 3).unit = nullptr;
  w.world.GetMap().GetHex(2, 3).terrain = kTerrainWater;
  EXPECT_FALSE(c->IsBesieged(w.world));

  // An empty land neighbour breaks any siege.
  w.world.GetMap().GetHex(2, 3).terrain = kTerrainPlain;
  w.PlaceUnit(2, 3, 2);
  w.world.GetMap().GetHex(3, 2).terrain = kTerrainPlain;
  EXPECT_FALSE(c->IsBesieged(w.world));
  w.world.GetMap().GetHex(3, 2).terrain = kTerrainWater;
  EXPECT_TRUE(c->IsBesieged(w.world));

  // A neighbour not at war with the holder (a neutral) breaks it too.
  w.PlaceUnit(2, 3, 3);
  EXPECT_FALSE(c->IsBesieged(w.world));

  // A hex without a controller is never besieged.
  w.PlaceUnit(2, 3, 2);
  ASSERT_TRUE(c->IsBesieged(w.world));
  w.Control(2, 2, 0);
  EXPECT_FALSE(c->IsBesieged(w.world));
}

TEST(City, EnclosedWhenNoNeighbourIsEmptyLand) {
  CityWorld w(kSiegeMap);
  cCity* c = w.AddCity(L"Hel", 2, 2, kCityPort);
  EXPECT_FALSE(c->IsEnclosed(w.world));
  w.PlaceUnit(2, 1, 1);
  EXPECT_FALSE(c->IsEnclosed(w.world));
  w.PlaceUnit(2, 3, 1);
  EXPECT_TRUE(c->IsEnclosed(w.world));
}

TEST(CountryCities, MainCityPrefersSupply) {
  CityWorld w(kRow);
  w.AddCountries({4, 5});
  cCity* port = w.AddCity(L"Port", 0, 0, kCityPort);
  cCity* supplySmall = w.AddCity(L"SupplySmall", 1, 0, kCitySupply);
  cCity* supplyBig = w.AddCity(L"SupplyBig", 2, 0, kCitySupplyPort);
  cCity* resources = w.AddCity(L"Mine", 3, 0, kCityResources);
  cCity* foreign = w.AddCity(L"Foreign", 4, 0, kCitySupply);
  port->productionPoints = 50;
  supplySmall->productionPoints = 5;
  supplyBig->productionPoints = 5;  // a tie keeps the first
  resources->productionPoints = 100;
  foreign->productionPoints = 100;
  EXPECT_EQ(w.Country(1).FindMainCity(w.world), supplySmall);
  supplyBig->productionPoints = 6;
  EXPECT_EQ(w.Country(1).FindMainCity(w.world), supplyBig);
  // Without supply cities the port or normal city of most production.
  w.Control(1, 0, 2);
  w.Control(2, 0, 2);
  EXPECT_EQ(w.Country(1).FindMainCity(w.world), port);
  w.Control(0, 0, 2);
  EXPECT_EQ(w.Country(1).FindMainCity(w.world), nullptr);
}

TEST(CountryCities, LostAllOwnCities) {
  CityWorld w(kRow);
  w.AddCountries({4, 5});
  cCity* capital = w.AddCity(L"Capital", 0, 0, kCityNormal);
  // At peace: nothing lost, with or without cities.
  capital->victoryPoints = 0;
  EXPECT_FALSE(w.Country(1).HasLostAllOwnCities(w.world));
  w.War(1, 2);
  // A city worth no victory points does not count.
  EXPECT_TRUE(w.Country(1).HasLostAllOwnCities(w.world));
  capital->victoryPoints = 1;
  EXPECT_FALSE(w.Country(1).HasLostAllOwnCities(w.world));
  // Controlled by the enemy: lost.
  w.Control(0, 0, 2);
  EXPECT_TRUE(w.Country(1).HasLostAllOwnCities(w.world));
  // The enemy controls a city it does not own: not its own city.
  EXPECT_TRUE(w.Country(2).HasLostAllOwnCities(w.world));
  // A dummy country never loses.
  w.Country(1).politicalStrength = -1;
  EXPECT_FALSE(w.Country(1).HasLostAllOwnCities(w.world));
}

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
  // Water, land without a city, off the map.
  for (auto [x, y] : {std::pair{3, 0}, {0, 2}, {6, 2}, {-1, 0}, {7, 0}}) EXPECT_EQ(t.NearestCity(x, y), nullptr) << x;

  // (2, 0) is two steps from both (0, 0) and (4, 0): the earlier city in the
  // list wins, whichever it is.
  for (bool leftFirst : {true, false}) {
    CityWorld strip("size 5 1\nterrain\nppppp\n");
    cCity* first = strip.AddCity(L"First", leftFirst ? 0 : 4, 0, kCityNormal);
    cCity* second = strip.AddCity(L"Second", leftFirst ? 4 : 0, 0, kCityNormal);
    Compute(strip);
    EXPECT_EQ(strip.world.GetTopography().NearestCity(2, 0), first) << leftFirst;
    EXPECT_EQ(strip.world.GetTopography().NearestCity(leftFirst ? 3 : 1, 0), second);
  }
}

namespace {

// Cities A(0) B(2) C(4) E(6) D(8) in one row and a resource city R(1).
// Land links A->B->D (short) and A->C->E->D (long), none back; D->A is a
// link of the second kind. Country 1 Allies, 2 Axis, 3 neutral, 4 leader of
// the Allies.
struct GraphWorld {
  GraphWorld() : w("size 9 1\nterrain\nppppppppp\nowner\n1 1 1 1 1 1 1 1 1\n") {
    w.AddCountries({1, 2, 0, 4});
    w.War(1, 2);
    a = w.AddCity(L"A", 0, 0, kCitySupply);
    r = w.AddCity(L"R", 1, 0, kCityResources);
    b = w.AddCity(L"B", 2, 0, kCityNormal);
    c = w.AddCity(L"C", 4, 0, kCityNormal);
    e = w.AddCity(L"E", 6, 0, kCityPort);
    d = w.AddCity(L"D", 8, 0, kCitySupplyPort);
    graph().BuildNodes(w.world.Cities());
  }
  cCityGraph& graph() { return w.world.GetCityGraph(); }
  eCitiesDiagramResult Read(const char* text) { return graph().ReadCitiesDiagramText(w.world.GetMap(), text); }
  std::vector<cCity*> Route(cCity* from, cCity* to, int country, bool expectFound) {
    std::vector<cCity*> out{r};  // stale content must go
    EXPECT_EQ(graph().FindPath(w.world, from, to, country, out), expectFound);
    return out;
  }

  CityWorld w;
  cCity *a, *r, *b, *c, *e, *d;
};

constexpr const char* kDiagram =
    "# from x;y;to x;y;type\n"
    "0;0;2;0;0\n"
    "\n"
    "2;0;8;0;0\r\n"
    "0;0;4;0;0\n"
    "4;0;6;0;0\n"
    "8;0;0;0;1\n"
    "1;0;0;0;0\n"  // a resource city gets no link
    "6;0;8;0;0";   // no line end: still read

}  // namespace

TEST(CityGraph, NodesLinksAndHopCounts) {
  GraphWorld g;
  EXPECT_EQ(g.r->graphNode, -1);
  EXPECT_EQ(g.b->graphNode, 1);
  ASSERT_EQ(g.graph().Nodes().size(), 5u);
  ASSERT_EQ(g.Read(kDiagram), eCitiesDiagramResult::kOk);
  EXPECT_EQ(g.graph().Nodes()[g.e->graphNode].links.size(), 1u);  // the unterminated last line
  g.w.world.ComputeCityHopDistances();

  // One-way links: nothing leads back, and the type-1 link D->A never counts.
  const std::tuple<cCity*, cCity*, int> hops[] = {{g.a, g.a, 0},  {g.a, g.b, 1},  {g.a, g.c, 1}, {g.a, g.d, 2},
                                                  {g.a, g.e, 2},  {g.b, g.a, -1}, {g.d, g.a, -1}, {g.a, g.r, -1}};
  for (const auto& [from, to, n] : hops) EXPECT_EQ(from->GetHopsTo(*to), n) << from->x << "->" << to->x;
  EXPECT_TRUE(g.r->hopCounts.empty());
}

TEST(CityGraph, RoutesAvoidCitiesNotHeldByFriends) {
  GraphWorld g;
  ASSERT_EQ(g.Read(kDiagram), eCitiesDiagramResult::kOk);
  g.w.world.ComputeCityHopDistances();
  using V = std::vector<cCity*>;

  EXPECT_EQ(g.Route(g.a, g.d, 1, true), (V{g.d, g.b, g.a}));
  g.w.Control(2, 0, 4);  // the allied leader's city is fine
  EXPECT_EQ(g.Route(g.a, g.d, 1, true), (V{g.d, g.b, g.a}));
  for (int holder : {2, 3, 0}) {  // enemy, neutral, nobody: the long way
    g.w.Control(2, 0, holder);
    EXPECT_EQ(g.Route(g.a, g.d, 1, true), (V{g.d, g.e, g.c, g.a})) << holder;
  }
  g.w.Control(4, 0, 2);
  EXPECT_TRUE(g.Route(g.a, g.d, 1, false).empty());

  // No land route back, no route to itself, none from an enemy-held start.
  g.w.Control(2, 0, 1);
  g.w.Control(4, 0, 1);
  EXPECT_TRUE(g.Route(g.d, g.a, 1, false).empty());
  EXPECT_TRUE(g.Route(g.a, g.a, 1, false).empty());
  g.w.Control(0, 0, 2);
  EXPECT_TRUE(g.Route(g.a, g.b, 1, false).empty());
  EXPECT_TRUE(g.Route(g.a, g.b, 2, false).empty());  // B is held by 1, the enemy of 2
  std::vector<cCity*> out;
  EXPECT_FALSE(g.graph().FindPath(g.w.world, nullptr, g.a, 1, out));
}

TEST(CityGraph, AlliedLinkOfType1) {
  GraphWorld g;
  ASSERT_EQ(g.Read(kDiagram), eCitiesDiagramResult::kOk);
  const int nodeD = g.d->graphNode;
  for (int country : {1, 4}) EXPECT_TRUE(g.graph().HasAlliedLinkOfType1(g.w.world, nodeD, country)) << country;
  EXPECT_FALSE(g.graph().HasAlliedLinkOfType1(g.w.world, nodeD, 2));
  g.w.Control(0, 0, 3);  // a neutral is allied with nobody, itself included
  EXPECT_FALSE(g.graph().HasAlliedLinkOfType1(g.w.world, nodeD, 3));
  EXPECT_FALSE(g.graph().HasAlliedLinkOfType1(g.w.world, g.a->graphNode, 1));  // only land links there
  EXPECT_FALSE(g.graph().HasAlliedLinkOfType1(g.w.world, 99, 1));
}

TEST(CityGraph, BadLinesAreReportedWithTheirLineNumber) {
  GraphWorld g;
  twtest::LogCapture log;
  EXPECT_EQ(g.Read("0;0;2;0;0\n# x\n3;0;2;0;0\n"), eCitiesDiagramResult::kNoCity);
  EXPECT_TRUE(log.Contains(L"critical_error_at_line_3._no_city_at_given_coordinates"));
  EXPECT_TRUE(log.Contains(L"ERROR: cities_diagram.csv line 3: cities.csv has no city at (3, 0)"));
  EXPECT_EQ(g.Read("0;0;1;0;0\n"), eCitiesDiagramResult::kNoNode);
  EXPECT_TRUE(log.Contains(L"critical_error._cannot_find_node_index_for_city_R_(line_1)"));
  // Hexes off the map hold no city.
  EXPECT_EQ(g.Read("0;0;-1;0;0\n"), eCitiesDiagramResult::kNoCity);
  // A number beyond 32 bits, a short line, text or an unknown link type is
  // refused with file, line and column, never read as 0 or wrapped.
  const std::pair<const char*, const wchar_t*> bad[] = {
      {"0;0;2;5000000000;0\n", L"ERROR: cities_diagram.csv line 1 column 4: a link needs five whole numbers (from "
                               L"x;y;to x;y;type): \"0;0;2;5000000000;0\""},
      {"# c\r0;0;2;0\r", L"ERROR: cities_diagram.csv line 2 column 5: a link needs five whole numbers (from x;y;to "
                         L"x;y;type): \"0;0;2;0\""},
      {"\nA\n", L"ERROR: cities_diagram.csv line 2 column 1: a link needs five whole numbers (from x;y;to x;y;type): "
                 L"\"A\""},
      {"0;0;2;0;7;\n", L"ERROR: cities_diagram.csv line 1 column 5: link type 7 is not 0 or 1"},
  };
  for (const auto& [text, line] : bad) {
    EXPECT_EQ(g.Read(text), eCitiesDiagramResult::kBadLine) << text;
    EXPECT_EQ(log.Lines().back(), line);
  }
}

// The file read in a whole game: see the default scenario's land routes.
TEST(CityGraph, LoadingEndsTheProcessOnErrors) {
  GraphWorld g;
  twtest::TempWorkingFolder folder;
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(g.graph().LoadCitiesDiagram(g.w.world, L"NoSuchScenario"), ::testing::ExitedWithCode(1), "");
  // A world without a map cannot place the links of a good file: the end,
  // not a silent empty graph.
  folder.Write("data/scenarios/GraphTest/cities_diagram.csv", kDiagram);
  cWorld noMap;
  g_pWorld = &noMap;
  EXPECT_EXIT(noMap.GetCityGraph().LoadCitiesDiagram(noMap, L"GraphTest"), ::testing::ExitedWithCode(1), "");
  g_pWorld = &g.w.world;
  folder.Write("data/scenarios/GraphTest/cities_diagram.csv", "0;0;3;0;0\n");
  EXPECT_EXIT(g.graph().LoadCitiesDiagram(g.w.world, L"GraphTest"), ::testing::ExitedWithCode(1), "");
}
