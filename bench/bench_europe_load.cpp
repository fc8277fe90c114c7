// Loading the default scenario "Europe, September 1939" (100 x 70 hexes,
// 31 countries, 286 cities, about 240 units) as a new game, the way the
// scenario menu starts it. Goal: under 100 ms in a Release build.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "files/world_loader.h"
#include "support/europe_folder.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

void BM_LoadEurope1939(benchmark::State& state) {
  const cEuropeFolder europe;
  if (!europe.Found()) {
    state.SkipWithError(cEuropeFolder::kMissing);
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    delete g_pWorld;
    g_pWorld = nullptr;
    state.ResumeTiming();
    LoadWorld(sGameStartSettings{cEuropeFolder::kPattern, 0});
  }
  if (g_pWorld) {
    state.counters["cities"] = static_cast<double>(g_pWorld->Cities().size());
    state.counters["land"] = static_cast<double>(g_pWorld->Units().landUnits.size());
  }
  delete g_pWorld;
  g_pWorld = nullptr;
}
BENCHMARK(BM_LoadEurope1939)->Unit(benchmark::kMillisecond);

}  // namespace
