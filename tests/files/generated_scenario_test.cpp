// The benchmarks' generated scenario, at a small size: every file the game's
// writers make loads back as a new game and, once saved, as a saved game,
// with every unit, ship and fleet where the generator put it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/fatal_exit.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "support/large_scenario.h"
#include "support/test_support.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

// The third of four rows of cities falls on the coast.
const sLargeScenarioSize kSmall{60, 40, 6, 150, 10, 30, 5, 26, 4, 4, 68, 12};

// The loaded world holds what the generator wrote, linked up.
void ExpectLoaded(const sLargeScenarioSize& size, const sLargeScenarioInfo& info) {
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  sUnitLists& units = world.Units();
  // Ships are linked to their fleets by the loader; the fixture's test
  // checks the links both ways, here that every ship found its fleet.
  std::size_t convoys = 0, shipsInFleets = 0;
  for (int id = 1; id <= size.countries; ++id) convoys += units.convoys.ConvoysOf(id)->size();
  for (const cFleet* fleet : units.fleets) shipsInFleets += fleet->ships.size();
  const auto ports = static_cast<std::size_t>(
      std::count_if(world.Cities().begin(), world.Cities().end(), [](const cCity* c) { return c->IsPort(); }));
  const std::pair<std::size_t, int> counts[] = {
      {world.Countries().size(), size.countries},
      {world.Cities().size(), info.cities},
      {static_cast<std::size_t>(world.GetSeaGraph().GetNodeCount()), info.seaNodes},
      {units.landUnits.size(), info.landOnMap},
      {units.airUnits.size(), info.airOnMap},
      {units.reservePool.size(), size.landUnits + size.airUnits - info.landOnMap - info.airOnMap},
      {units.navalUnits.size(), info.shipsInFleets},
      {units.navalReservePool.size(), size.shipReserve},
      {units.fleets.size(), info.fleets},
      {convoys, info.convoys},
      {ports, info.ports},
      {shipsInFleets, info.shipsInFleets},
  };
  for (std::size_t i = 0; i < std::size(counts); ++i) {
    EXPECT_EQ(counts[i].first, static_cast<std::size_t>(counts[i].second)) << "count " << i;
  }

  const auto onTheirHexes = [&](const auto& list) {
    for (const auto* unit : list) {
      ASSERT_TRUE(world.GetMap().IsInside(unit->x, unit->y));
      EXPECT_EQ(world.GetMap().GetHex(unit->x, unit->y).unit, unit);
    }
  };
  onTheirHexes(units.landUnits);
  onTheirHexes(units.airUnits);
}

TEST(GeneratedScenario, LoadsAsANewGameAndAgainFromItsSave) {
  twtest::TempDir dir;
  twtest::ScopedWorkingFolder inside(dir.Path());
  const sLargeScenarioSize& size = kSmall;
  const sLargeScenarioInfo info = WriteLargeScenario(L"Generated", size);
  // Most units have a hex, and the scenario has ports and convoys to link.
  EXPECT_TRUE(info.landOnMap > size.landUnits / 2 && info.ports > 0 && info.convoys > 0);

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
