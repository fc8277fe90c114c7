#include "world/sea_graph.h"

#include <gtest/gtest.h>

#include "app/fatal_exit.h"

#include <deque>
#include <filesystem>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "city_fixture.h"
#include "support/test_support.h"

using twtest::CityWorld;

namespace {

// A 6 x 4 map: water except the land column 5; country 1 everywhere.
constexpr const char* kMap =
    "size 6 4\nterrain\n~~~~~p\n~~~~~p\n~~~~~p\n~~~~~p\nowner\n"
    "1 1 1 1 1 1\n1 1 1 1 1 1\n1 1 1 1 1 1\n1 1 1 1 1 1\n";

std::wstring SeaGraphPattern(const twtest::TempDir& dir) { return std::filesystem::path(dir.File("%s")).wstring(); }

// A graph of sea zones (and ports) built in memory, linked by (from, to,
// strait x, strait y).
struct Link {
  int from, to, sx = -1, sy = -1;
};

void Build(cSeaGraph& graph, int count, const std::vector<Link>& links, const std::vector<int>& ports = {}) {
  graph.Nodes().clear();
  for (int id = 1; id <= count; ++id) {
    sWezelGrafuMorz node;
    node.id = id;
    node.x = node.y = -5;  // off the map unless a test places it
    graph.Nodes().push_back(node);
  }
  for (int id : ports) {
    graph.GetNode(id)->isSea = 0;
    graph.GetNode(id)->maxSize = graph.GetNode(id)->size = 1;
  }
  for (const Link& l : links) graph.GetNode(l.from)->links.push_back({l.to, l.sx, l.sy});
}

std::vector<int> Route(cWorld& world, int from, int to, int country, bool friendly = false) {
  std::vector<int> out{99};
  const bool found = world.GetSeaGraph().FindPath(world, from, to, country, friendly, out);
  EXPECT_EQ(found, !out.empty());
  return out;
}

// The search exactly as designed: a node is queued again whenever another
// node of the previous level reaches it. Sea zones only, no straits.
std::vector<int> ReferenceRoute(const cSeaGraph& graph, int from, int to) {
  const int n = graph.GetNodeCount();
  std::vector<int> dist(n + 1, -1), prev(n + 1, -1);
  std::deque<int> queue{from};
  dist[from] = 0;
  prev[from] = 0;
  for (std::size_t i = 0; i < queue.size(); ++i) {
    const int cur = queue[i];
    for (const sSeaLink& l : graph.GetNode(cur)->links) {
      if (dist[l.node] != -1 && dist[l.node] <= dist[cur]) continue;
      queue.push_back(l.node);
      dist[l.node] = dist[cur] + 1;
      prev[l.node] = cur;
    }
  }
  std::vector<int> out;
  if (dist[to] < 0) return out;
  for (int id = to;; id = prev[id]) {
    out.push_back(id);
    if (id == from) break;
  }
  return out;
}

}  // namespace

TEST(SeaGraphLoad, NodesFieldsNamesSizesAndHexStamps) {
  CityWorld w(kMap);
  w.AddCity(L"Gdynia", 5, 1, kCityPort);
  twtest::TempDir dir;
  dir.Write("sea_nodes.csv",
            "#ID;Name (seas only);Size max (0-sea / 1 to 9-port);Size current;Hex X;Hex Y;Player unit hex X;Player "
            "unit hex Y;Enemy unit hex X;Enemy unit hex Y\r\n"
            "1;Baltic;0;0;1;1;2;1;3;1\r\n"
            "2;-;2;3;5;1;4;1;4;2\r\n"            // port at the city: its name, size 2
            "3;-;5;0;0;3;0;2;9;9\r\n"            // current 0: a sea zone; no city: keeps "-"
            "4;Copy;0;0;1;1;-1;0;1;0;extra\r\n"  // same main hex as node 1
            "5;Tail;0;0;2;3;2;2;3;3");           // last line without a line end
  twtest::LogCapture log;
  cScopedThrowingFatalHook fatal;
  cSeaGraph& graph = w.world.GetSeaGraph();
  graph.LoadSeaNodes(w.world, SeaGraphPattern(dir));
  ASSERT_EQ(graph.GetNodeCount(), 5);
  const sWezelGrafuMorz& port = *graph.GetNode(2);
  EXPECT_EQ(port.name, L"Gdynia");
  EXPECT_EQ((std::tuple(port.size, port.maxSize, port.isSea)), std::tuple(2, 2, 0));
  const sWezelGrafuMorz& zone = *graph.GetNode(3);
  EXPECT_EQ(zone.name, L"-");
  EXPECT_EQ(std::tuple(zone.maxSize, zone.isSea), std::tuple(5, 1));

  // {x, y, node, zone}: every node hex gets the node id; a port's ship hexes
  // also take its id as their sea zone, a sea zone's keep their zone.
  const int stamps[][4] = {{5, 1, 2, 0}, {4, 1, 2, 2}, {4, 2, 2, 2}, {2, 1, 1, 0}, {3, 3, 5, 0}};
  for (const auto& [x, y, node, zone] : stamps) {
    const sHex& hex = w.world.GetMap().GetHex(x, y);
    EXPECT_EQ((std::pair<int, int>(hex.seaNode, hex.seaZone)), std::pair(node, zone)) << x << "," << y;
  }
  EXPECT_TRUE(log.Contains(L"WARNING. Enemy unit in sea node - (ID=3) is placed outside the map!"));
  // The same with file and line, and the size above its maximum and the
  // extra field, each warned about with the row's line.
  const std::wstring path = std::filesystem::path(dir.File("sea_nodes.csv")).wstring();
  for (const std::wstring line : {L"line 4: the enemy unit's hex is outside the map",
                                  L"line 3: column 4: port size \"3\" is out of range (0 to 2); taken as 2",
                                  L"line 5: 11 fields where 10 are read; the fields from column 11 on are ignored"}) {
    EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" " + line)) << ::testing::PrintToString(line);
  }

  // Look-ups: the lower id of two nodes on one hex; the world's sea-node kinds.
  EXPECT_EQ(graph.FindNodeIdByMainHex(1, 1), 1);
  EXPECT_EQ(graph.FindNodeIdByMainHex(4, 0), -1);
  const std::pair<int, eSeaNodeKind> kinds[] = {
      {1, eSeaNodeKind::kOpenSea}, {2, eSeaNodeKind::kPort}, {0, eSeaNodeKind::kNone}, {6, eSeaNodeKind::kNone}};
  for (const auto& [id, kind] : kinds) EXPECT_EQ(w.world.GetSeaNodeKind(id), kind) << id;
}

TEST(SeaGraphLoad, FatalDataErrorsEndWithCodeOne) {
  CityWorld w(kMap);
  twtest::TempDir dir;
  cScopedThrowingFatalHook fatal;
  twtest::LogCapture log;
  // An empty name leaves nine fields: the record is passed over and the
  // next one is out of sequence.
  dir.Write("sea_nodes.csv", "1;A;0;0;1;1;1;1;1;1\r\n2;;0;0;1;1;1;1;1;1\r\n3;C;0;0;1;1;1;1;1;1\r\n");
  EXPECT_THROW(w.world.GetSeaGraph().LoadSeaNodes(w.world, SeaGraphPattern(dir)), sFatalExitError);
  EXPECT_TRUE(log.Contains(L"ERROR. Sea node 2 has ID=3 (should be equal!)"));
  // An id given again names both its lines.
  dir.Write("sea_nodes.csv", "1;A;0;0;1;1;1;1;1;1\r\n#c\r\n1;B;0;0;1;1;1;1;1;1\r\n");
  EXPECT_THROW(w.world.GetSeaGraph().LoadSeaNodes(w.world, SeaGraphPattern(dir)), sFatalExitError);
  EXPECT_EQ(log.Lines().back(), L"ERROR: " + std::filesystem::path(dir.File("sea_nodes.csv")).wstring() +
                                    L" line 3: sea node id 1 is given twice, on lines 1 and 3");
  w.AddCity(L"Hel", 5, 2, kCitySupplyPort);
  w.AddCity(L"Inland", 5, 3, kCityNormal);  // not a port: needs no node
  dir.Write("sea_nodes.csv", "1;A;0;0;1;1;1;1;1;1\r\n");
  EXPECT_THROW(w.world.GetSeaGraph().LoadSeaNodes(w.world, SeaGraphPattern(dir)), sFatalExitError);
  EXPECT_TRUE(log.Contains(L"ERROR. There is no sea node for port city Hel (5, 2)"));
  EXPECT_TRUE(log.Contains(L"ERROR: " + std::filesystem::path(dir.File("sea_nodes.csv")).wstring() +
                           L": no sea node stands on the port city Hel (5, 2)"));
  twtest::TempDir empty;
  EXPECT_THROW(w.world.GetSeaGraph().LoadSeaNodes(w.world, SeaGraphPattern(empty)), sFatalExitError);
}

TEST(SeaGraphLoad, EdgesAreDirectedAndUnknownNodesAreFatal) {
  cSeaGraph graph;
  Build(graph, 4, {});
  twtest::LogCapture log;
  // "1;2" is too short to be a link; the strait is kept; the last line counts.
  EXPECT_TRUE(graph.ReadSeaEdgesText(nullptr, "# from;to;strait x;strait y\n3;4;-1;0\r\n1;2\n\n1;2;3;1\n2;1;-1;-1"));
  auto links = [&](int id) {
    std::vector<std::tuple<int, int, int>> out;
    for (const sSeaLink& l : graph.GetNode(id)->links) out.emplace_back(l.node, l.straitX, l.straitY);
    return out;
  };
  using Links = std::vector<std::tuple<int, int, int>>;
  EXPECT_EQ(links(1), (Links{{2, 3, 1}}));
  EXPECT_EQ(links(2), (Links{{1, -1, -1}}));
  EXPECT_EQ(links(3), (Links{{4, -1, 0}}));
  EXPECT_TRUE(links(4).empty());

  EXPECT_FALSE(graph.ReadSeaEdgesText(nullptr, "1;2;-1;-1\n2;7;-1;-1\n"));
  EXPECT_TRUE(log.Contains(L"ERROR. Sea edge in line 2 links sea node 2 to sea node 7, but no such node was loaded!"));
  EXPECT_FALSE(graph.ReadSeaEdgesText(nullptr, "0;1;-1;-1\n"));
  // The short line above was warned about; a field that is no whole number
  // (nor one within 32 bits: 4294967299 is no node 3) is refused.
  EXPECT_TRUE(log.Contains(L"WARNING: sea_edges.csv line 3: \"1;2\" is too short to hold a link; the row is skipped"));
  EXPECT_FALSE(graph.ReadSeaEdgesText(nullptr, "1;4294967299;-1;-1\n", L"e.csv"));
  EXPECT_EQ(log.Lines().back(), L"ERROR: e.csv line 1 column 2: \"4294967299\" is not a whole number");
  EXPECT_FALSE(graph.ReadSeaEdgesText(nullptr, "1;2;-1;-1\r2;1;x;-1", L"e.csv"));
  EXPECT_EQ(log.Lines().back(), L"ERROR: e.csv line 2 column 3: \"x\" is not a whole number");

  // Through the scenario folder of the working folder (a temporary one).
  cScopedThrowingFatalHook fatal;
  twtest::TempWorkingFolder folder;
  folder.Write("data/scenarios/Test/sea_edges.csv", "1;9;-1;-1\r\n");
  const cWorld world;
  EXPECT_THROW(graph.LoadSeaEdges(world, L"Test"), sFatalExitError);
  EXPECT_THROW(graph.LoadSeaEdges(world, L"Missing"), sFatalExitError);
}

// Countries: 1 Allies, 2 Axis (at war with 1), 3 neutral, 4 Allies leader.
struct SeaGraphRoute : ::testing::Test {
  SeaGraphRoute() {
    w.AddCountries({1, 2, 0, 4});
    w.War(1, 2);
  }
  CityWorld w{kMap};
  cSeaGraph& graph = w.world.GetSeaGraph();
};

TEST_F(SeaGraphRoute, StraitsFollowTheirController) {
  // 1 -> 2 -> 3 through the strait (0, 0); 1 -> 4 -> 5 -> 3 is longer.
  Build(graph, 5, {{1, 2}, {2, 3, 0, 0}, {1, 4}, {4, 5}, {5, 3}});
  w.Control(0, 0, 2);  // held by the enemy: the long way round
  EXPECT_EQ(Route(w.world, 1, 3, 1), (std::vector<int>{3, 5, 4, 1}));
  EXPECT_EQ(graph.GetNode(3)->searchDistance, 3);
  EXPECT_EQ(graph.GetNode(3)->previousNode, 5);
  EXPECT_EQ(Route(w.world, 1, 3, 2), (std::vector<int>{3, 2, 1}));
  // {holder of the strait, country, route length}: an ally's strait is open,
  // a neutral's only to the neutral, nobody's to none.
  const int cases[][3] = {{4, 1, 3}, {3, 1, 4}, {3, 3, 3}, {0, 3, 4}};
  for (const auto& [holder, country, length] : cases) {
    w.Control(0, 0, holder);
    EXPECT_EQ(Route(w.world, 1, 3, country).size(), static_cast<std::size_t>(length)) << holder << " " << country;
    EXPECT_EQ(graph.HasPassableLink(w.world, 2, 3, country), length == 3);
  }
  EXPECT_TRUE(graph.HasPassableLink(w.world, 1, 2, 3));
  EXPECT_FALSE(graph.HasPassableLink(w.world, 2, 1, 3));  // no link that way

  // With the long way cut as well there is no route at all.
  graph.GetNode(5)->links.clear();
  EXPECT_TRUE(Route(w.world, 1, 3, 1).empty());
  EXPECT_EQ(graph.GetNode(3)->searchDistance, -1);
  EXPECT_EQ(graph.GetNode(1)->previousNode, 0);
}

TEST_F(SeaGraphRoute, PortsNeutralFriendlyAndHostile) {
  // 1 -> 2 (a port at (5, 0)) -> 3; the long way 1 -> 4 -> 5 -> 3.
  Build(graph, 5, {{1, 2}, {2, 3}, {1, 4}, {4, 5}, {5, 3}, {2, 1}}, {2});
  graph.GetNode(2)->x = 5;
  graph.GetNode(2)->y = 0;
  // {holder of the port, only friendly ports, route length}: a neutral's or
  // nobody's port is passable unless only friendly ports count; an enemy's never.
  const int cases[][3] = {{3, 0, 3}, {3, 1, 4}, {1, 1, 3}, {0, 0, 3}, {0, 1, 4}, {2, 0, 4}};
  for (const auto& [holder, friendly, length] : cases) {
    w.Control(5, 0, holder);
    EXPECT_EQ(Route(w.world, 1, 3, 1, friendly == 1).size(), static_cast<std::size_t>(length)) << holder << friendly;
  }
  // Starting in the enemy port is allowed: the start is never re-entered.
  EXPECT_EQ(Route(w.world, 2, 1, 1), (std::vector<int>{1, 2}));

  // The port's adjacent sea: its first linked sea zone.
  EXPECT_EQ(graph.GetAdjacentSeaZoneId(2), 3);
  graph.GetNode(4)->links = {{2, -1, -1}};
  EXPECT_EQ(graph.GetAdjacentSeaZoneId(4), -1);
  EXPECT_EQ(graph.GetAdjacentSeaZoneId(99), -1);
}

TEST_F(SeaGraphRoute, SameRoutesAsTheDesignedSearchOnRandomGraphs) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    const int n = 3 + static_cast<int>(rng() % 10);
    std::vector<Link> links(rng() % (3 * n));
    for (Link& l : links) l = {1 + static_cast<int>(rng() % n), 1 + static_cast<int>(rng() % n)};
    Build(graph, n, links);
    for (int from = 1; from <= n; ++from) {
      for (int to = 1; to <= n; ++to) {
        ASSERT_EQ(Route(w.world, from, to, 0), ReferenceRoute(graph, from, to))
            << "round " << round << " from " << from << " to " << to;
      }
    }
  }
  // Ids outside the graph find nothing.
  Build(graph, 4, {{1, 2}});
  EXPECT_TRUE(Route(w.world, 0, 2, 0).empty());
  EXPECT_TRUE(Route(w.world, 1, 5, 0).empty());
}
