// The supply steps of the end of an impulse run on the worker, each change
// of the world in a short step under the framework lock, while the main
// thread's frames read what the panels and the map show (units' supply and
// sources, the cities' supply rows, the strategic-move groups and marks).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "land_rules/fixture_game.h"
#include "rules/hex_control.h"
#include "rules/supply.h"
#include "world/strategic_movement.h"

namespace {

using SupplyThread = twtest::FixtureGame;

TEST_F(SupplyThread, WorkerCalculatesSupplyWhileTheFrameReadsTheWorld) {
  cWorld& world = World();
  world.turnState.currentCountry = world.GetCountry(1);
  cJednostkaLadowa& infantry = Land(L"1st Infantry");
  cJednostkaLadowa& tanks = Land(L"2nd Armoured");
  Surround(6, 4, 2);  // a pocket that counts its impulses cut off
  const int range = world.constants.maxSupply;

  CreateFrameworkLock();
  g_bRunning = true;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 12; ++i) {
      CalculateSupply(world);
      PullSupplyFromMulberries(world);
      PullSupplyFromShips(world);
    }
    done = true;
  });
  int frames = 0;
  // At least one frame, however fast the worker is.
  do {
    {
      const cFrameworkLockGuard lock;
      for (const cJednostkaLadowa* unit : world.Units().landUnits) {
        EXPECT_GE(unit->supply, 0);
        EXPECT_LE(unit->supply, range);
        if (unit->supplySourceX != -1 && unit->category == kCategoryLand) {
          EXPECT_TRUE(world.GetMap().IsInside(unit->supplySourceX, unit->supplySourceY));
        }
      }
      for (const cCity* city : world.Cities()) {
        for (const int given : city->supplyInfo) EXPECT_LE(given, range);
      }
      std::size_t groups = 0;
      for (const Topography& topography : world.topographies) groups += topography.size();
      EXPECT_LE(groups, world.Cities().size() * world.topographies.size());
      cStrategicMovement(world).MarkStrategicMoveTargets(infantry);
    }
    DrainMainThreadRequests();
    ++frames;
  } while (!done);
  worker.join();
  g_bRunning = false;
  DeleteFrameworkLock();
  DrainMainThreadRequests();
  EXPECT_GT(frames, 0);
  EXPECT_EQ(infantry.supply, range - 1);
  EXPECT_EQ(tanks.supply, 0);
  EXPECT_EQ(tanks.supplySourceX, -1);
  EXPECT_EQ(tanks.turnsWithoutSupply, world.constants.noSupplyTurnsLimit - 1);
}

}  // namespace
