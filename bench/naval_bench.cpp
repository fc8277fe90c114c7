// The naval war: the reach of every fleet of "Europe, September 1939" over
// its sea graph (goal: under 50 us a fleet), and a full sea battle of 10
// against 10 ships without a screen (goal: under 1 ms).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "files/world_loader.h"
#include "rules/sea_battle.h"
#include "support/europe_folder.h"
#include "support/two_countries.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

void BM_FleetReachEurope1939(benchmark::State& state) {
  const cEuropeFolder europe;
  if (!europe.Found()) {
    state.SkipWithError(cEuropeFolder::kMissing);
    return;
  }
  LoadWorld(sGameStartSettings{cEuropeFolder::kPattern, 0});
  std::unique_ptr<cWorld> world(g_pWorld);
  if (!world || world->Units().fleets.empty()) {
    state.SkipWithError("no fleets loaded");
    return;
  }
  const std::vector<cFleet*> fleets(world->Units().fleets.begin(), world->Units().fleets.end());
  std::size_t next = 0, reached = 0;
  for (auto _ : state) {
    cFleet& fleet = *fleets[next];
    next = (next + 1) % fleets.size();
    fleet.ComputeReachableNodes(*world);
    reached += fleet.reachableNodes.size();
  }
  state.counters["fleets"] = static_cast<double>(fleets.size());
  state.counters["nodes"] = static_cast<double>(world->GetSeaGraph().GetNodeCount());
  state.counters["reached_avg"] =
      benchmark::Counter(static_cast<double>(reached), benchmark::Counter::kAvgIterations);
  world.reset();
  g_pWorld = nullptr;
}
BENCHMARK(BM_FleetReachEurope1939)->Unit(benchmark::kMicrosecond);

void BM_SeaBattle10Against10(benchmark::State& state) {
  cWorld world;
  g_pWorld = &world;
  AddTwoCountriesAtWar(world, L"Westland", L"Eastmark");
  for (auto& country : world.Countries()) {
    country->techLevel[kTechNavy] = 3;
    country->techLevel[kTechSubmarines] = 3;
  }
  sWezelGrafuMorz node;
  node.id = 1;
  node.name = L"Open Sea";
  world.GetSeaGraph().Nodes().push_back(node);
  world.constants.seaBattleRoundWeights = {0, 0, 0, 0, 1};  // the longest battles
  const int types[10] = {kUnitAircraftCarrier, kUnitBattleship, kUnitBattleship, kUnitCruiser, kUnitCruiser,
                         kUnitCruiser, kUnitCruiser, kUnitSubmarine, kUnitSubmarine, kUnitCruiser};
  std::size_t events = 0, sunk = 0;
  for (auto _ : state) {
    state.PauseTiming();
    world.reports = cReportStore();
    std::vector<cJednostkaMorska*> sides[2];
    int id = 0;
    for (int country = 1; country <= 2; ++country) {
      auto* fleet = new cFleet();
      fleet->country = country;
      fleet->seaNode = 1;
      fleet->name = L"Fleet";
      world.Units().fleets.push_back(fleet);
      for (int type : types) {
        auto* ship = new cJednostkaMorska(&world);
        ship->id = ++id;
        ship->countryId = country;
        ship->SetType(type);
        ship->name = L"Ship " + std::to_wstring(id);
        ship->hitPoints = ship->maxHitPoints = 6;
        ship->visible = true;
        ship->fleet = fleet;
        fleet->ships.push_back(ship);
        world.Units().navalUnits.push_back(ship);
        sides[country - 1].push_back(ship);
      }
    }
    state.ResumeTiming();
    cSeaBattle battle(world, sides[0], sides[1]);
    battle.Fight();
    state.PauseTiming();
    events += battle.events.size();
    sunk += 20 - world.Units().navalUnits.size();
    while (!world.Units().navalUnits.empty()) world.Units().navalUnits.front()->Kill(true);
    state.ResumeTiming();
  }
  state.counters["events_avg"] = benchmark::Counter(static_cast<double>(events), benchmark::Counter::kAvgIterations);
  state.counters["sunk_avg"] = benchmark::Counter(static_cast<double>(sunk), benchmark::Counter::kAvgIterations);
  g_pWorld = nullptr;
}
BENCHMARK(BM_SeaBattle10Against10)->Unit(benchmark::kMicrosecond);

}  // namespace
