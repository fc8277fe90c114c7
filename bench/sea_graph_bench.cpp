// Route search over a sea graph of 500 nodes: a 25 x 20 mesh of sea zones
// linked both ways to their four neighbours (many equally short routes), a
// port on every tenth zone, and a strait on every seventh link, held by the
// searching country, an ally or an enemy. The route runs corner to corner.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "world/country.h"
#include "world/world.h"
#include "world/sea_graph.h"

namespace {

constexpr int kColumns = 25;
constexpr int kRows = 20;

struct BenchWorld {
  BenchWorld() {
    g_pWorld = &world;
    cMap& map = world.GetMap();
    map.SetWidth(kColumns);
    map.SetHeight(kRows);
    map.CreateHexes();
    for (int id = 1; id <= 3; ++id) {
      auto country = std::make_unique<cCountry>();
      country->id = id;
      country->alliance = id == 2 ? kAxis : kAllies;
      world.AddCountry(std::move(country));
    }
    world.GetRelations().Reset(3);
    world.GetRelations().SetAtWar(1, 2, true);
    world.GetRelations().SetAtWar(2, 1, true);

    cSeaGraph& graph = world.GetSeaGraph();
    int linkCount = 0;
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        sWezelGrafuMorz node;
        node.id = r * kColumns + c + 1;
        node.x = c;
        node.y = r;
        if (node.id % 10 == 5) {
          node.isSea = 0;
          node.maxSize = node.size = 3;
          map.GetHex(c, r).terrain = kTerrainPlain;
          map.GetHex(c, r).controller = static_cast<std::uint8_t>(1 + node.id % 3);
        }
        graph.Nodes().push_back(node);
      }
    }
    auto link = [&](int from, int to) {
      sSeaLink l{to, -1, -1};
      if (++linkCount % 7 == 0) {
        const sWezelGrafuMorz& n = graph.Nodes()[static_cast<std::size_t>(to - 1)];
        l.straitX = n.x;
        l.straitY = n.y;
        map.GetHex(n.x, n.y).controller = static_cast<std::uint8_t>(1 + linkCount % 3);
      }
      graph.Nodes()[static_cast<std::size_t>(from - 1)].links.push_back(l);
    };
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        const int id = r * kColumns + c + 1;
        if (c + 1 < kColumns) link(id, id + 1), link(id + 1, id);
        if (r + 1 < kRows) link(id, id + kColumns), link(id + kColumns, id);
      }
    }
  }
  ~BenchWorld() { g_pWorld = nullptr; }
  cWorld world;
};

void BM_SeaGraphFindPath(benchmark::State& state) {
  BenchWorld bench;
  cSeaGraph& graph = bench.world.GetSeaGraph();
  const bool friendlyOnly = state.range(0) != 0;
  std::vector<int> route;
  for (auto _ : state) {
    const bool found = graph.FindPath(bench.world, 1, kColumns * kRows, 1, friendlyOnly, route);
    benchmark::DoNotOptimize(found);
    benchmark::DoNotOptimize(route.data());
  }
  if (!graph.FindPath(bench.world, 1, kColumns * kRows, 1, friendlyOnly, route)) state.SkipWithError("no route");
  state.counters["hops"] = static_cast<double>(route.size() - 1);
}
BENCHMARK(BM_SeaGraphFindPath)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
