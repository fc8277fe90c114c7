#include <gtest/gtest.h>

#include <vector>

#include "city_fixture.h"
#include "support/test_support.h"
#include "world/city_graph.h"

using twtest::CityWorld;

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
  eCitiesDiagramResult Read(const char* text) { return graph().ReadCitiesDiagramText(text); }
  std::vector<cCity*> Route(cCity* from, cCity* to, int country, bool expectFound) {
    std::vector<cCity*> out{r};  // stale content must go
    EXPECT_EQ(graph().FindPath(from, to, country, out), expectFound);
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

  EXPECT_EQ(g.a->GetHopsTo(*g.a), 0);
  EXPECT_EQ(g.a->GetHopsTo(*g.b), 1);
  EXPECT_EQ(g.a->GetHopsTo(*g.c), 1);
  EXPECT_EQ(g.a->GetHopsTo(*g.d), 2);
  EXPECT_EQ(g.a->GetHopsTo(*g.e), 2);
  // One-way links: nothing leads back, and the type-1 link D->A never counts.
  EXPECT_EQ(g.b->GetHopsTo(*g.a), -1);
  EXPECT_EQ(g.d->GetHopsTo(*g.a), -1);
  EXPECT_EQ(g.a->GetHopsTo(*g.r), -1);
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
  EXPECT_FALSE(g.graph().FindPath(nullptr, g.a, 1, out));
}

TEST(CityGraph, AlliedLinkOfType1) {
  GraphWorld g;
  ASSERT_EQ(g.Read(kDiagram), eCitiesDiagramResult::kOk);
  const int nodeD = g.d->graphNode;
  EXPECT_TRUE(g.graph().HasAlliedLinkOfType1(nodeD, 1));
  EXPECT_TRUE(g.graph().HasAlliedLinkOfType1(nodeD, 4));
  EXPECT_FALSE(g.graph().HasAlliedLinkOfType1(nodeD, 2));
  g.w.Control(0, 0, 3);  // a neutral is allied with nobody, itself included
  EXPECT_FALSE(g.graph().HasAlliedLinkOfType1(nodeD, 3));
  EXPECT_FALSE(g.graph().HasAlliedLinkOfType1(g.a->graphNode, 1));  // only land links there
  EXPECT_FALSE(g.graph().HasAlliedLinkOfType1(99, 1));

}

TEST(CityGraph, BadLinesAreReportedWithTheirLineNumber) {
  {
    GraphWorld g;
    twtest::LogCapture log;
    EXPECT_EQ(g.Read("0;0;2;0;0\n# x\n3;0;2;0;0\n"), eCitiesDiagramResult::kNoCity);
    EXPECT_TRUE(log.Contains(L"critical_error_at_line_3._no_city_at_given_coordinates"));
  }
  {
    GraphWorld g;
    twtest::LogCapture log;
    EXPECT_EQ(g.Read("0;0;1;0;0\n"), eCitiesDiagramResult::kNoNode);
    EXPECT_TRUE(log.Contains(L"critical_error._cannot_find_node_index_for_city_R_(line_1)"));
  }
  {
    GraphWorld g;  // hexes off the map hold no city
    EXPECT_EQ(g.Read("0;0;-1;0;0\n"), eCitiesDiagramResult::kNoCity);
    EXPECT_EQ(g.Read("0;0;2;5000000000;0\n"), eCitiesDiagramResult::kNoCity);
  }
}

TEST(CityGraph, LoadingReadsTheScenarioFileAndEndsTheProcessOnErrors) {
  GraphWorld g;
  twtest::TempWorkingFolder folder;
  folder.Write("data/scenarios/GraphTest/cities_diagram.csv", kDiagram);
  {
    twtest::LogCapture log;
    g.graph().LoadCitiesDiagram(L"GraphTest");
    EXPECT_TRUE(log.Contains(L"Otwarcie OK"));
  }
  EXPECT_EQ(g.graph().Nodes()[g.a->graphNode].links.size(), 2u);

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(g.graph().LoadCitiesDiagram(L"NoSuchScenario"), ::testing::ExitedWithCode(1), "");
  folder.Write("data/scenarios/GraphTest/cities_diagram.csv", "0;0;3;0;0\n");
  EXPECT_EXIT(g.graph().LoadCitiesDiagram(L"GraphTest"), ::testing::ExitedWithCode(1), "");

  // A world without a map cannot place the links: the end, not a silent
  // empty graph.
  cWorld noMap;
  g_pWorld = &noMap;
  EXPECT_EXIT(noMap.GetCityGraph().LoadCitiesDiagram(L"GraphTest"), ::testing::ExitedWithCode(1), "");
  g_pWorld = &g.w.world;
}
