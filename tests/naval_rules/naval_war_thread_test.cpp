// Sea battles change the world under the framework lock: a worker fights
// battle after battle in which ships sink and take their fleets with them,
// while the main thread, holding the lock as its frames do, selects a ship
// of the sea zone and reads the fleets and the node's shown ships.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "air_rules/air_fixture.h"
#include "app/framework_lock.h"
#include "rules/sea_battle.h"
#include "world/country.h"

namespace {

TEST(NavalWarThread, WorkerSinksShipsWhileTheFrameSelectsThem) {
  twtest::AirWorld w({"~~~~~", "~~~~~", "ppppp"});
  w.ThreeCountries();
  for (int id = 1; id <= 3; ++id) w.Country(id).techLevel[kTechNavy] = 5;
  w.world->constants.seaBattleRoundWeights = {0, 0, 0, 0, 1};
  const int zone = w.AddSeaNode(true, 1, 1).id;
  cFleet& home = w.AddFleet(1, zone, {kUnitBattleship, kUnitBattleship}, 1000);
  cWorld& world = *w.world;

  CreateFrameworkLock();
  g_bRunning = true;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) {
      cFleet* enemy = nullptr;
      {
        const cFrameworkLockGuard lock;
        enemy = &w.AddFleet(2, zone, {kUnitCruiser}, 1);
        int id = 0;
        for (cJednostkaMorska* ship : world.Units().navalUnits) {
          ship->id = ++id;
          ship->visible = true;
        }
      }
      std::vector<cJednostkaMorska*> ours(home.ships.begin(), home.ships.end());
      std::vector<cJednostkaMorska*> theirs(enemy->ships.begin(), enemy->ships.end());
      cSeaBattle battle(world, ours, theirs);
      battle.Fight();
    }
    done = true;
  });
  int frames = 0;
  // At least one frame, however fast the worker is.
  do {
    const cFrameworkLockGuard lock;
    const auto& ships = world.Units().navalUnits;
    if (!ships.empty()) world.turnState.selectedUnit = ships.back();
    if (cUnit* selected = world.turnState.selectedUnit) {
      EXPECT_NE(std::find(ships.begin(), ships.end(), selected), ships.end());
    }
    for (const cFleet* fleet : world.Units().fleets) EXPECT_FALSE(fleet->ships.empty());
    ++frames;
  } while (!done);
  worker.join();
  g_bRunning = false;
  DeleteFrameworkLock();
  // Every fleet left holds ships that point back to it.
  for (const cFleet* fleet : world.Units().fleets) {
    for (const cJednostkaMorska* ship : fleet->ships) EXPECT_EQ(ship->fleet, fleet);
  }
  EXPECT_EQ(home.ships.size(), 2u);
  EXPECT_GT(frames, 0);
}

}  // namespace
