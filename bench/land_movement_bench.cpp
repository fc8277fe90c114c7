// The movement range of a land unit with 20 action points in the middle of a
// 400 x 250 map with mixed terrain, enemy and friendly units around it.
// Goal: under 50 microseconds a query and no allocation per query once the
// scratch buffers and the unit's list have grown.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "world/jednostka_ladowa.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map_text.h"

// Every allocation of this program is counted (the allocation tracker's own
// operators are not linked into the benchmarks). The operators are malloc
// and free on both sides; g++ cannot see that once it inlines them into the
// callers of this file, and warns of a mismatch that is not there.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<long long> g_allocations{0};
}

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 250;

struct sLandBenchWorld {
  sLandBenchWorld() {
    g_pWorld = &world;
    std::string text = "size " + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\nterrain\n";
    const char kTerrain[] = "pppfprphpsppmdpp";
    unsigned seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        seed = seed * 1103515245u + 12345u;
        text += kTerrain[(seed >> 16) % 16];
      }
      text += '\n';
    }
    text += "owner\n";
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) text += x < kWidth / 2 + 3 ? (x ? " 1" : "1") : " 2";
      text += '\n';
    }
    std::string error;
    BuildMapFromText(text, world.GetMap(), error);
    for (int id = 1; id <= 3; ++id) {
      auto country = std::make_unique<cCountry>();
      country->id = id;
      country->alliance = id == 1 ? kAllies : (id == 2 ? kAxis : kAlliesLeader);
      country->mudMove = 50.0f;
      country->winterMove = 30.0f;
      world.AddCountry(std::move(country));
    }
    world.GetRelations().Reset(3);
    world.GetRelations().SetAtWar(1, 2, true);
    world.GetRelations().SetAtWar(2, 1, true);
    sLandUnitConstants& k = LandUnitConstants();
    k.move.terrainCost = {1, 2, 2, 3, 2, 4, 1, 99};
    k.move.zoneOfControlCost = 2;
    k.move.mudFactor = 100.0f;
    k.move.winterFactor = 100.0f;
    k.move.fewPointsThreshold = {2, 2, 2, 2, 2, 2};
    // Units every few hexes around the front line, some of them unseen,
    // friendly and allied ones behind it, and weather here and there.
    for (int y = 0; y < kHeight; y += 3) {
      for (int x = kWidth / 2 - 30; x < kWidth / 2 + 30; x += 4) {
        const int country = x > kWidth / 2 + 3 ? 2 : (x % 8 == 0 ? 3 : 1);
        Add(x, y, country).visible = (x + y) % 3 != 0;
      }
    }
    for (int y = 0; y < kHeight; y += 5) {
      for (int x = 0; x < kWidth; x += 7) world.GetMap().GetHex(x, y).weather = (x + y) % 2 + 1;
    }
    world.GetMap().GetHex(kWidth / 2, kHeight / 2).unit = nullptr;
    unit = &Add(kWidth / 2, kHeight / 2, 1);
    unit->type = kUnitArmouredDivision;
    unit->actionPoints = 20;
    unit->startingActionPoints = 20;
  }
  ~sLandBenchWorld() { g_pWorld = nullptr; }

  cJednostkaLadowa& Add(int x, int y, int country) {
    sHex& hex = world.GetMap().GetHex(x, y);
    if (hex.unit) return *static_cast<cJednostkaLadowa*>(hex.unit);
    auto* u = new cJednostkaLadowa(&world);
    u->countryId = country;
    u->x = x;
    u->y = y;
    world.Units().landUnits.push_back(u);
    hex.unit = u;
    return *u;
  }

  cWorld world;
  cJednostkaLadowa* unit = nullptr;
};

void BM_LandMoveRange(benchmark::State& state) {
  sLandBenchWorld w;
  const bool countOnly = state.range(0) != 0;
  int entries = 0;
  for (int i = 0; i < 3; ++i) entries = w.unit->ComputeMoveRange(countOnly);  // warm-up
  const long long before = g_allocations.load();
  for (auto _ : state) {
    benchmark::DoNotOptimize(w.unit->ComputeMoveRange(countOnly));
  }
  const long long allocations = g_allocations.load() - before;
  state.counters["entries"] = entries;
  state.counters["allocs_per_query"] =
      benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_LandMoveRange)->Arg(1)->ArgName("countOnly")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LandMoveRange)->Arg(0)->ArgName("countOnly")->Unit(benchmark::kMicrosecond);

}  // namespace
