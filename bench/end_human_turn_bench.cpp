// The end of a human turn on "Europe, September 1939": the occupancy check,
// the log restarted, the autosave written through the save transaction
// (every file of the save into a fresh folder, swapped in by renaming), the
// hand-over to the computer players. Goal: under 30 ms in a Release build.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "files/world_loader.h"
#include "rules/end_human_turn.h"
#include "support/europe_folder.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

void BM_EndHumanTurnWithAutosaveEurope1939(benchmark::State& state) {
  const cEuropeFolder europe;
  if (!europe.Found()) {
    state.SkipWithError(cEuropeFolder::kMissing);
    return;
  }
  LoadWorld(sGameStartSettings{cEuropeFolder::kPattern, 0});
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
}
BENCHMARK(BM_EndHumanTurnWithAutosaveEurope1939)->Unit(benchmark::kMillisecond);

}  // namespace
