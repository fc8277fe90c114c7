// A whole real end of an impulse, every country played by the computer and
// no view (so no message is put up or waited for): harbours, weather,
// entrenchment, surrenders, sieges, production, upkeep, research, the
// game-over test, supply with the convoys, the hexes cut off, the units
// refreshed, the sea battles and the date. Goals in a Release build: under
// 20 ms on "Europe, September 1939", under 100 ms on the large generated
// scenario.
#include <benchmark/benchmark.h>

#include "app/main_thread_queue.h"
#include "files/world_loader.h"
#include "platform/rand.h"
#include "rules/world_turn.h"
#include "support/bench_folder.h"
#include "support/europe_folder.h"
#include "world/country.h"
#include "world/world.h"

namespace {

void EndImpulses(benchmark::State& state) {
  cWorld& world = *g_pWorld;
  for (auto& country : world.Countries()) country->human = false;
  plat::Srand(1);
  const int firstCounter = world.impulseCounters[0];
  for (auto _ : state) {
    state.PauseTiming();
    // The game must not run out of time while it is measured.
    world.turnsLeft = 1000;
    state.ResumeTiming();
    EndImpulse(world, true);
    state.PauseTiming();
    DrainMainThreadRequests();
    const bool over = world.gameOver;
    state.ResumeTiming();
    if (over) {
      state.SkipWithError("the game ended");
      break;
    }
  }
  state.counters["impulses"] = world.impulseCounters[0] - firstCounter;
  state.counters["year"] = world.GetDate().year;
  delete g_pWorld;
  g_pWorld = nullptr;
}

void BM_EndImpulseEurope1939(benchmark::State& state) {
  const cEuropeFolder europe;
  if (!europe.Found()) {
    state.SkipWithError(cEuropeFolder::kMissing);
    return;
  }
  LoadWorld(sGameStartSettings{cEuropeFolder::kPattern, 0});
  EndImpulses(state);
}
BENCHMARK(BM_EndImpulseEurope1939)->Unit(benchmark::kMillisecond);

void BM_EndImpulseLargeScenario(benchmark::State& state) {
  const sLargeScenarioInfo& info = cBenchFolder::Scenario();
  cBenchFolder inside;
  LoadWorld(sGameStartSettings{info.folderPattern, 0});
  // The generated alliances have no leaders, which the game-over test reads
  // as every alliance beaten: each side's first country leads it.
  bool alliesLed = false, axisLed = false;
  for (auto& country : g_pWorld->Countries()) {
    if (country->alliance == kAllies && !alliesLed) {
      country->alliance = kAlliesLeader;
      alliesLed = true;
    } else if (country->alliance == kAxis && !axisLed) {
      country->alliance = kAxisLeader;
      axisLed = true;
    }
  }
  EndImpulses(state);
}
BENCHMARK(BM_EndImpulseLargeScenario)->Unit(benchmark::kMillisecond);

}  // namespace
