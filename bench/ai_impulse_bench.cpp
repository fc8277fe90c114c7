// One whole impulse of computer play with every country computer-controlled
// and the delays at 0, as the headless runner plays it: the worker plays
// every country's turn and the end of the impulse while this thread serves
// as the main thread, stepping the computer's moves; the worker's waits
// cost no time (the fast clock). Goal in a Release build: under 0.5 s on
// "Europe, September 1939" on 2 cores; the large generated scenario is
// reported. Each iteration starts the worker for one impulse, seeded anew.
#include <benchmark/benchmark.h>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "headless_game/headless_play.h"
#include "support/bench_folder.h"
#include "support/europe_folder.h"
#include "world/country.h"
#include "world/world.h"

namespace {

void ComputerImpulses(benchmark::State& state, const std::wstring& pattern, bool leadAlliances) {
  const cHeadlessMainThread mainThread;
  cFastClock clock;
  cWorld* world = LoadHeadlessGame(pattern, false);
  if (world == nullptr) {
    state.SkipWithError("not loaded");
      return;
  }
  if (leadAlliances) {
    // The generated alliances have no leaders, which the game-over test
    // reads as every alliance beaten: each side's first country leads it.
    bool alliesLed = false, axisLed = false;
    for (auto& country : world->Countries()) {
      if (country->alliance == kAllies && !alliesLed) {
        country->alliance = kAlliesLeader;
        alliesLed = true;
      } else if (country->alliance == kAxis && !axisLed) {
        country->alliance = kAxisLeader;
        axisLed = true;
      }
    }
  }
  unsigned seed = 1;
  int impulses = 0, steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // The game must not run out of time while it is measured.
    world->turnsLeft = 1000;
    state.ResumeTiming();
    const sHeadlessPlay play = PlayHeadlessImpulses(*world, 1, seed++);
    impulses += play.impulses;
    steps += play.steps;
    if (play.gameOver || play.impulses != 1) {
      state.SkipWithError("the game ended");
      break;
    }
  }
  state.counters["impulses"] = impulses;
  state.counters["steps"] = steps;
  state.counters["year"] = world->GetDate().year;
  {
    const cFrameworkLockGuard lock;
    delete g_pWorld;
    g_pWorld = nullptr;
  }
}

void BM_ComputerImpulseEurope1939(benchmark::State& state) {
  const cEuropeFolder europe;
  if (!europe.Found()) {
    state.SkipWithError(cEuropeFolder::kMissing);
    return;
  }
  ComputerImpulses(state, cEuropeFolder::kPattern, false);
}
BENCHMARK(BM_ComputerImpulseEurope1939)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ComputerImpulseLargeScenario(benchmark::State& state) {
  const sLargeScenarioInfo& info = cBenchFolder::Scenario();
  cBenchFolder inside;
  ComputerImpulses(state, info.folderPattern, true);
}
BENCHMARK(BM_ComputerImpulseLargeScenario)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
