// The supply steps of the end of an impulse on "Europe, September 1939": the
// city groups of the three alliances, every unit's nearest city, the supply
// of every country's units and the neutrals, then the harbours and the
// ships. They are the larger part of the end of an impulse, whose goal is
// under 20 ms in a Release build.
#include <benchmark/benchmark.h>

#include "app/main_thread_queue.h"
#include "files/world_loader.h"
#include "rules/supply.h"
#include "support/europe_folder.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

void BM_SupplyEurope1939(benchmark::State& state) {
  const cEuropeFolder europe;
  if (!europe.Found()) {
    state.SkipWithError(cEuropeFolder::kMissing);
    return;
  }
  LoadWorld(sGameStartSettings{cEuropeFolder::kPattern, 0});
  cWorld& world = *g_pWorld;
  for (auto _ : state) {
    CalculateSupply(world);
    PullSupplyFromMulberries(world);
    PullSupplyFromShips(world);
    state.PauseTiming();
    DrainMainThreadRequests();
    state.ResumeTiming();
  }
  int supplied = 0;
  for (const cJednostkaLadowa* unit : world.Units().landUnits) supplied += unit->supply > 0 ? 1 : 0;
  state.counters["land units"] = static_cast<double>(world.Units().landUnits.size());
  state.counters["supplied"] = supplied;
  delete g_pWorld;
  g_pWorld = nullptr;
}
BENCHMARK(BM_SupplyEurope1939)->Unit(benchmark::kMillisecond);

}  // namespace
