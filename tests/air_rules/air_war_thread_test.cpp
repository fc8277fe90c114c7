// The air orders change the world under the framework lock: a worker sends a
// fighter against bombers that fall, each one through the same rule function
// the player's order calls, while the main thread, holding the lock as its
// frames do, selects and reads the unit on the target hex.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "air_rules/air_fixture.h"
#include "app/framework_lock.h"
#include "rules/air_orders.h"
#include "world/combat_result.h"

namespace {

TEST(AirWarThread, WorkerShootsDownBombersWhileTheFrameReadsAndSelects) {
  twtest::AirWorld w({"ppppp", "ppppp", "ppppp"});
  w.ThreeCountries();
  sScenarioConstants& k = w.world->constants;
  for (int row = 0; row < 12; ++row) k.airCombatTable[static_cast<std::size_t>(row)].fill(row < 6 ? 5 : 0);
  cJednostkaLotnicza& fighter = w.AddAir(0, 1, 1, kUnitFighter, 10.0f);
  cWorld& world = *w.world;

  CreateFrameworkLock();
  g_bRunning = true;
  std::atomic<bool> done{false};
  std::atomic<int> shotDown{0};
  std::thread worker([&] {
    for (int i = 0; i < 200; ++i) {
      {
        const cFrameworkLockGuard lock;
        fighter.actionPoints = 6;
        auto* bomber = new cJednostkaLotnicza(w.world.get());
        bomber->countryId = 2;
        bomber->SetType(kUnitTacticalBomber);
        bomber->name = L"Bomber";
        bomber->x = 2;
        bomber->y = 1;
        bomber->visible = true;
        bomber->strength = 3.0f;
        world.Units().airUnits.push_back(bomber);
        world.GetMap().GetHex(2, 1).unit = bomber;
      }
      sBombardmentResult result;
      if (AirFight(world, fighter, 2, 1, result) == eAirOrderRefusal::kNone &&
          result.Flag(kFlagDefenderDestroyed)) {
        ++shotDown;
      }
    }
    done = true;
  });
  int frames = 0;
  // At least one frame, however fast the worker is.
  do {
    const cFrameworkLockGuard lock;
    cJednostka* onHex = world.GetMap().GetHex(2, 1).unit;
    if (onHex) {
      EXPECT_GT(onHex->GetStrength(), 0);
      world.turnState.selectedUnit = onHex;
    }
    if (cUnit* selected = world.turnState.selectedUnit) {
      const auto& list = world.Units().airUnits;
      EXPECT_NE(std::find(list.begin(), list.end(), selected), list.end());
    }
    ++frames;
  } while (!done);
  worker.join();
  g_bRunning = false;
  DeleteFrameworkLock();
  EXPECT_EQ(shotDown.load(), 200);
  EXPECT_EQ(world.Units().airUnits.size(), 1u);
  EXPECT_EQ(world.GetMap().GetHex(2, 1).unit, nullptr);
  EXPECT_GT(frames, 0);
}

}  // namespace
