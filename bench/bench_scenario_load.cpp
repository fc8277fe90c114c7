// Loading and saving a large game: a generated scenario of a 400 x 250 map,
// 60 countries, 3,000 land units, 500 air units, 400 ships and 1,000
// cities, loaded as a new game and as a saved game, and the loaded world
// saved. Goals: a load under 150 ms, a save under 150 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "files/save_game.h"
#include "files/world_loader.h"
#include "support/bench_folder.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

constexpr wchar_t kSaveName[] = L"LargeBenchSave";

void DropWorld() {
  delete g_pWorld;
  g_pWorld = nullptr;
}

void ReportCounts(benchmark::State& state) {
  if (!g_pWorld) {
    state.SkipWithError("no world was loaded");
    return;
  }
  const sUnitLists& units = g_pWorld->Units();
  state.counters["land"] = static_cast<double>(units.landUnits.size());
  state.counters["air"] = static_cast<double>(units.airUnits.size());
  state.counters["ships"] = static_cast<double>(units.navalUnits.size());
  state.counters["reserve"] = static_cast<double>(units.reservePool.size() + units.navalReservePool.size());
  state.counters["cities"] = static_cast<double>(g_pWorld->Cities().size());
}

void Load(benchmark::State& state, const std::wstring& pattern, int savedGame) {
  for (auto _ : state) {
    state.PauseTiming();
    DropWorld();
    state.ResumeTiming();
    LoadWorld(sGameStartSettings{pattern, savedGame});
  }
  ReportCounts(state);
  DropWorld();
}

void BM_LoadLargeScenario(benchmark::State& state) {
  const sLargeScenarioInfo& info = cBenchFolder::Scenario();
  cBenchFolder inside;
  Load(state, info.folderPattern, 0);
}
BENCHMARK(BM_LoadLargeScenario)->Unit(benchmark::kMillisecond);

void BM_SaveLargeGame(benchmark::State& state) {
  const sLargeScenarioInfo& info = cBenchFolder::Scenario();
  cBenchFolder inside;
  LoadWorld(sGameStartSettings{info.folderPattern, 0});
  for (auto _ : state) {
    const sSaveResult result = SaveGame(*g_pWorld, kSaveName, false);
    if (!result.ok) {
      state.SkipWithError("the save failed");
      break;
    }
  }
  ReportCounts(state);
  DropWorld();
}
BENCHMARK(BM_SaveLargeGame)->Unit(benchmark::kMillisecond);

void BM_LoadLargeSavedGame(benchmark::State& state) {
  const sLargeScenarioInfo& info = cBenchFolder::Scenario();
  cBenchFolder inside;
  LoadWorld(sGameStartSettings{info.folderPattern, 0});
  if (!SaveGame(*g_pWorld, kSaveName, false).ok) {
    state.SkipWithError("the save failed");
    DropWorld();
    return;
  }
  Load(state, std::wstring(L"data\\save\\") + kSaveName + L"\\%s", 1);
}
BENCHMARK(BM_LoadLargeSavedGame)->Unit(benchmark::kMillisecond);

}  // namespace
