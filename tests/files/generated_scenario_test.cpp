// The benchmarks' generated scenario, at a small size: every file the game's
// writers make loads back as a new game and, once saved, as a saved game,
// with every unit, ship and fleet where the generator put it.
#include <gtest/gtest.h>

#include <string>

#include "app/fatal_exit.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "support/fake_audio.h"
#include "support/large_scenario.h"
#include "support/test_support.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

sLargeScenarioSize SmallSize() {
  sLargeScenarioSize size;
  size.width = 60;
  size.height = 40;
  size.countries = 6;
  size.landUnits = 150;
  size.landReserve = 10;
  size.airUnits = 30;
  size.airReserve = 5;
  size.ships = 26;
  size.shipReserve = 4;
  size.shipsPerFleet = 4;
  size.cities = 68;  // the third of four rows of cities falls on the coast
  size.seaNodes = 12;
  return size;
}

// The loaded world holds what the generator wrote, linked up.
void ExpectLoaded(const sLargeScenarioSize& size, const sLargeScenarioInfo& info) {
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  sUnitLists& units = world.Units();
  EXPECT_EQ(world.GetCountryCount(), size.countries);
  EXPECT_EQ(static_cast<int>(world.Cities().size()), info.cities);
  EXPECT_EQ(world.GetSeaGraph().GetNodeCount(), info.seaNodes);
  EXPECT_EQ(static_cast<int>(units.landUnits.size()), info.landOnMap);
  EXPECT_EQ(static_cast<int>(units.airUnits.size()), info.airOnMap);
  EXPECT_EQ(static_cast<int>(units.reservePool.size()),
            size.landUnits + size.airUnits - info.landOnMap - info.airOnMap);
  EXPECT_EQ(static_cast<int>(units.navalUnits.size()), info.shipsInFleets);
  EXPECT_EQ(static_cast<int>(units.navalReservePool.size()), size.shipReserve);
  EXPECT_EQ(static_cast<int>(units.fleets.size()), info.fleets);
  int convoys = 0;
  for (int id = 1; id <= size.countries; ++id) {
    convoys += static_cast<int>(units.convoys.ConvoysOf(id)->size());
  }
  EXPECT_EQ(convoys, info.convoys);
  int ports = 0;
  for (const cCity* city : world.Cities()) {
    if (!city->IsPort()) continue;
    ++ports;
    EXPECT_GT(city->GetSeaNodeId(), size.seaNodes) << city->GetName();
  }
  EXPECT_EQ(ports, info.ports);

  const cMap& map = world.GetMap();
  for (const cJednostkaLadowa* unit : units.landUnits) {
    ASSERT_TRUE(map.IsInside(unit->x, unit->y));
    EXPECT_EQ(map.GetHex(unit->x, unit->y).unit, unit);
  }
  for (const cJednostkaLotnicza* unit : units.airUnits) {
    ASSERT_TRUE(map.IsInside(unit->x, unit->y));
    EXPECT_EQ(map.GetHex(unit->x, unit->y).unit, unit);
  }
  int shipsInFleets = 0;
  for (const cFleet* fleet : units.fleets) {
    for (const cJednostkaMorska* ship : fleet->ships) {
      EXPECT_EQ(ship->fleet, fleet);
      EXPECT_EQ(ship->fleetId, fleet->id);
      ++shipsInFleets;
    }
  }
  EXPECT_EQ(shipsInFleets, info.shipsInFleets);
}

TEST(GeneratedScenario, LoadsAsANewGameAndAgainFromItsSave) {
  twtest::TempDir dir;
  twtest::ScopedWorkingFolder inside(dir.Path());
  const sLargeScenarioSize size = SmallSize();
  const sLargeScenarioInfo info = WriteLargeScenario(L"Generated", size);
  EXPECT_EQ(g_pWorld, nullptr);
  // Every unit has a hex or a place in reserve, and the sizes are kept.
  EXPECT_GT(info.landOnMap, size.landUnits / 2);
  EXPECT_EQ(info.fleets, (size.ships - size.shipReserve + size.shipsPerFleet - 1) / size.shipsPerFleet);
  EXPECT_EQ(info.cities, size.cities);
  EXPECT_GT(info.ports, 0);
  EXPECT_GT(info.convoys, 0);

  cScopedThrowingFatalHook hook;
  LoadWorld(sGameStartSettings{info.folderPattern, 0});
  ExpectLoaded(size, info);

  ASSERT_TRUE(SaveGame(*g_pWorld, L"GeneratedSave", false).ok);
  LoadWorld(sGameStartSettings{L"data\\save\\GeneratedSave\\%s", 1});
  ExpectLoaded(size, info);
  delete g_pWorld;
  g_pWorld = nullptr;
}

}  // namespace
