// The attack actions change the world under the framework lock: a worker
// sets up and fights battles while the main thread, holding the lock as its
// frames do, reads what the map draws (the units on their hexes, the
// pending attack's arrows, the reports).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/framework_lock.h"
#include "land_rules/land_rules_fixture.h"
#include "rules/land_attack.h"
#include "world/combat_result.h"

namespace {

TEST(LandBattleThread, WorkerFightsWhileTheFrameReadsUnderTheLock) {
  twtest::LandWorld w({"ppppp", "ppppp", "ppppp", "ppppp", "ppppp"});
  w.AddCountries({kAllies, kAxis});
  w.War(1, 2);
  for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
  sScenarioConstants& k = w.world->constants;
  k.landCombatFactors = {0.5f, 0.8f, 1.0f, 1.2f, 1.4f, 1.6f, 1.8f, 2.0f, 0, 0, 0, 0.5f, 0.0f};
  k.terrainCombatFactors.fill(1.0f);
  for (auto& row : k.combatResultInt) row.fill(30);
  for (auto& row : k.combatResultLoss) row.fill(0.5f);
  w.Hex(2, 2).fortification = 1;  // the defender holds: no retreat
  cJednostkaLadowa& defender = w.AddUnit(2, 2, 2);
  cJednostkaLadowa& north = w.AddUnit(2, 1, 1);
  cJednostkaLadowa& south = w.AddUnit(2, 3, 1);
  cWorld& world = *w.world;

  CreateFrameworkLock();
  g_bRunning = true;
  std::atomic<bool> done{false};
  std::atomic<int> fought{0};
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) {
      {
        const cFrameworkLockGuard lock;
        for (cJednostkaLadowa* unit : {&defender, &north, &south}) {
          unit->strength = 100;
          unit->effectiveness = 100;
          unit->actionPoints = 5;
          unit->attacked = unit->wasAttacked = false;
        }
      }
      if (NewAttack(world, defender, north, true) != eAttackRefusal::kNone) continue;
      if (AddAttacker(world, south) != eAttackRefusal::kNone) continue;
      sBombardmentResult result;
      if (ExecuteAttack(world, result) == eAttackRefusal::kNone) ++fought;
    }
    done = true;
  });
  int frames = 0;
  // At least one frame, however fast the worker is.
  do {
    const cFrameworkLockGuard lock;
    int arrows = 0;
    if (const cLandAttack* attack = world.turnState.attack.get()) arrows = attack->CountAttackingSides();
    EXPECT_LE(arrows, 2);
    EXPECT_EQ(w.Hex(2, 2).unit, &defender);
    EXPECT_GE(defender.strength, 70);
    EXPECT_LE(world.reports.Reports().size(), 200u);
    ++frames;
  } while (!done);
  worker.join();
  g_bRunning = false;
  DeleteFrameworkLock();
  EXPECT_EQ(fought.load(), 100);
  EXPECT_EQ(world.reports.Reports().size(), 200u);
  EXPECT_GT(frames, 0);
}

}  // namespace
