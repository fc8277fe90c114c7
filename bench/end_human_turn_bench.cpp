// The end of a human turn on "Europe, September 1939": the occupancy check,
// the log restarted, the autosave written through the save transaction
// (every file of the save into a fresh folder, swapped in by renaming), the
// hand-over to the computer players. Goal: under 30 ms in a Release build.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "files/world_loader.h"
#include "rules/end_human_turn.h"
#include "support/test_support.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

void BM_EndHumanTurnWithAutosaveEurope1939(benchmark::State& state) {
  const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
  if (root.empty()) {
    state.SkipWithError("data/scenarios/Europe1939 not found (set TW_SOURCE_DIR)");
    return;
  }
  twtest::TempDir folder;
  const fs::path previous = fs::current_path();
  fs::current_path(folder.Path());
  fs::create_directories("data/scenarios");
  fs::create_directories("data/save");
  fs::create_directory_symlink(root / "data/scenarios/Europe1939", "data/scenarios/Europe1939");
  fs::create_directory_symlink(root / "data/gfx", "data/gfx");
  LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
  cWorld& world = *g_pWorld;
  // The strongest Axis country is played by a person; everyone else is the
  // computer's.
  cCountry* human = PickCurrentCountry(world.Countries());
  if (human == nullptr) {
    state.SkipWithError("no country to play");
    return;
  }
  human->human = true;
  for (auto _ : state) {
    state.PauseTiming();
    for (auto& country : world.Countries()) country->finishedTurn = false;
    world.turnState.SetCurrentCountry(human);
    world.SetGameState(kPhaseHumanTurn);
    state.ResumeTiming();
    EndHumanTurn(world);
  }
  state.counters["autosave files"] =
      static_cast<double>(std::distance(fs::directory_iterator("data/save/autosave"), fs::directory_iterator{}));
  delete g_pWorld;
  g_pWorld = nullptr;
  fs::current_path(previous);
}
BENCHMARK(BM_EndHumanTurnWithAutosaveEurope1939)->Unit(benchmark::kMillisecond);

}  // namespace
