// One air fight: a fighter attacks an enemy bomber on a small map with the
// scenario's air tables, the log lines, the relations' losses and the two
// reports it writes. Goal: under 20 microseconds.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "support/two_countries.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_lotnicza.h"
#include "world/map_text.h"
#include "world/world.h"

namespace {

struct sAirBenchWorld {
  sAirBenchWorld() {
    g_pWorld = &world;
    BuildSplitMap(world, 8, "pppppppp");
    AddTwoCountriesAtWar(world);
    sScenarioConstants& k = world.constants;
    k.airActionPoints = {6, 5, 4};
    k.airBaseStrength = {10, 10, 12};
    for (int die = 0; die < 6; ++die) {
      for (int c = 0; c < 9; ++c) {
        k.airCombatTable[die][c] = (die + c) % 3;
        k.airCombatTable[die + 6][c] = (8 - c + die) % 3;
      }
    }
    for (int s = 0; s < sScenarioConstants::kSupplyEntries; ++s) k.supplyEffectC[s] = s / 5;
    fighter = &Add(3, 4, 1, kUnitFighter);
    bomber = &Add(5, 4, 2, kUnitTacticalBomber);
  }
  ~sAirBenchWorld() { g_pWorld = nullptr; }

  cJednostkaLotnicza& Add(int x, int y, int country, int type) {
    auto* u = new cJednostkaLotnicza(&world);
    u->countryId = country;
    u->SetType(type);
    u->name = L"Air group";
    u->x = x;
    u->y = y;
    u->supply = 10;
    world.Units().airUnits.push_back(u);
    world.GetMap().GetHex(x, y).unit = u;
    return *u;
  }

  void Refresh() {
    for (cJednostkaLotnicza* unit : world.Units().airUnits) {
      unit->strength = 10.0f;
      unit->actionPoints = 6;
    }
    world.reports.Reports().clear();
  }

  cWorld world;
  cJednostkaLotnicza* fighter = nullptr;
  cJednostkaLotnicza* bomber = nullptr;
};

void BM_AirFight(benchmark::State& state) {
  sAirBenchWorld w;
  for (auto _ : state) {
    w.Refresh();
    sBombardmentResult result;
    w.bomber->AirFight(w.world, result, w.fighter);
    benchmark::DoNotOptimize(result.defenderLosses);
  }
}
BENCHMARK(BM_AirFight)->Unit(benchmark::kMicrosecond);

}  // namespace
