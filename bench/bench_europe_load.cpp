// Loading the default scenario "Europe, September 1939" (100 x 70 hexes,
// 31 countries, 286 cities, about 240 units) as a new game, the way the
// scenario menu starts it. Goal: under 100 ms in a Release build.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "files/world_loader.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

void BM_LoadEurope1939(benchmark::State& state) {
  const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
  if (root.empty()) {
    state.SkipWithError("data/scenarios/Europe1939 not found (set TW_SOURCE_DIR)");
    return;
  }
  // The game reads below its working folder: the scenario and the skins are
  // linked into a scratch folder of the benchmark's own.
  twtest::TempDir folder;
  const fs::path previous = fs::current_path();
  fs::current_path(folder.Path());
  fs::create_directories("data/scenarios");
  fs::create_directory_symlink(root / "data/scenarios/Europe1939", "data/scenarios/Europe1939");
  fs::create_directory_symlink(root / "data/gfx", "data/gfx");
  for (auto _ : state) {
    state.PauseTiming();
    delete g_pWorld;
    g_pWorld = nullptr;
    state.ResumeTiming();
    LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
  }
  if (g_pWorld) {
    state.counters["cities"] = static_cast<double>(g_pWorld->Cities().size());
    state.counters["land"] = static_cast<double>(g_pWorld->Units().landUnits.size());
  }
  delete g_pWorld;
  g_pWorld = nullptr;
  fs::current_path(previous);
}
BENCHMARK(BM_LoadEurope1939)->Unit(benchmark::kMillisecond);

}  // namespace
