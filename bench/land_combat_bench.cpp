// One land battle: three infantry attack an entrenched infantry on a
// fortified forest hex of a small map, with the scenario's tables, the log
// lines and the two reports it writes. Goal: under 20 microseconds.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "support/two_countries.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/land_attack_plan.h"
#include "world/map_text.h"
#include "world/world.h"

namespace {

struct sCombatBenchWorld {
  sCombatBenchWorld() {
    g_pWorld = &world;
    BuildSplitMap(world, 8, "ppppffpp");
    AddTwoCountriesAtWar(world);
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    sScenarioConstants& k = world.constants;
    k.landCombatFactors = {0.5f, 0.8f, 1.0f, 1.2f, 1.4f, 1.6f, 1.8f, 2.0f, 0, 0, 0, 0.5f, 10.0f};
    k.terrainCombatFactors = {0, 1.0f, 1.5f, 1.3f, 1.2f, 1.4f, 2.0f, 0.9f, 2.0f};
    k.entrenchmentFactor = 5.0f;
    k.attackActionPointCost = {2, 2, 2, 2, 2, 2};
    for (int die = 0; die < 6; ++die) {
      for (int column = 0; column < 7; ++column) {
        k.combatResultInt[die][column] = 5 * (die + column);
        k.combatResultLoss[die][column] = 0.5f + 0.1f * static_cast<float>(die - column);
      }
    }
    world.GetMap().GetHex(4, 4).fortification = 1;
    defender = &Add(4, 4, 2);
    defender->entrenchment = 2;
    plan.Clear();
    plan.defender = defender;
    plan.defenderX = 4;
    plan.defenderY = 4;
    for (int side : {kDirNorthWest, kDirSouthWest, kDirSouth}) {
      int x = 0, y = 0;
      HexNeighbourCoords(4, 4, side, x, y);
      plan.SetAttacker(side, &Add(x, y, 1));
    }
  }
  ~sCombatBenchWorld() { g_pWorld = nullptr; }

  cJednostkaLadowa& Add(int x, int y, int country) {
    auto* u = new cJednostkaLadowa(&world);
    u->countryId = country;
    u->name = L"Division";
    u->x = x;
    u->y = y;
    world.Units().landUnits.push_back(u);
    world.GetMap().GetHex(x, y).unit = u;
    return *u;
  }

  // Everyone back to full strength and points, no flags.
  void Refresh() {
    for (cJednostkaLadowa* unit : world.Units().landUnits) {
      unit->strength = 100;
      unit->effectiveness = 100;
      unit->actionPoints = 6;
      unit->attacked = unit->wasAttacked = false;
    }
    world.reports.Reports().clear();
  }

  cWorld world;
  cJednostkaLadowa* defender = nullptr;
  cLandAttack plan;
};

void BM_LandCombatResolve(benchmark::State& state) {
  sCombatBenchWorld w;
  sBombardmentResult result;
  for (auto _ : state) {
    w.Refresh();
    cLandAttack plan = w.plan;
    benchmark::DoNotOptimize(plan.Resolve(w.world, result));
  }
}
BENCHMARK(BM_LandCombatResolve)->Unit(benchmark::kMicrosecond);

}  // namespace
