// A unit loaded during play on the fixture scenario is saved aboard its new
// ship and loaded back aboard it, beside the scenario's own cargo.
#include <gtest/gtest.h>

#include <string>

#include "files/save_game.h"
#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "rules/sea_transport.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/world.h"

namespace {

class TransportSave : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR"; }
  void TearDown() override {
    delete g_pWorld;
    g_pWorld = nullptr;
    LandUnitConstants() = sLandUnitConstants{};
  }

  static cJednostkaLadowa* FindLand(const cWorld& world, const wchar_t* name) {
    const sUnitLists& lists = world.Units();
    for (const auto* list : {&lists.landUnits, &lists.carriedUnitsA, &lists.carriedUnitsB}) {
      for (cJednostkaLadowa* unit : *list) {
        if (unit->name == name) return unit;
      }
    }
    return nullptr;
  }

  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
};

TEST_F(TransportSave, AUnitLoadedInPlayIsSavedAboardItsShipAndLoadedBack) {
  LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  cCountry& westland = *world.GetCountry(1);
  world.turnState.SetCurrentCountry(&westland);
  westland.seaTransportPoints = 20;

  // The 1st Infantry walks into Westport (4, 2) and goes aboard a transport.
  cJednostkaLadowa* infantry = FindLand(world, L"1st Infantry");
  ASSERT_NE(infantry, nullptr);
  cMap& map = world.GetMap();
  ASSERT_EQ(map.GetHex(4, 2).unit, nullptr);
  map.GetHex(infantry->x, infantry->y).unit = nullptr;
  infantry->x = 4;
  infantry->y = 2;
  map.GetHex(4, 2).unit = infantry;
  infantry->actionPoints = infantry->startingActionPoints = 3;
  infantry->freezeTime = 0;
  ASSERT_EQ(LoadOntoShip(world, *infantry, kUnitCargoShip), eTransportRefusal::kNone);
  const cJednostkaMorska* ship = infantry->transport;
  ASSERT_NE(ship, nullptr);
  const int shipId = ship->id;
  const int fleetId = ship->fleet->id;
  const int fleetNode = ship->fleet->seaNode;
  const std::wstring shipName = ship->name;
  const std::size_t ships = world.Units().navalUnits.size();
  const std::size_t fleets = world.Units().fleets.size();
  const int points = westland.seaTransportPoints;
  ASSERT_TRUE(SaveGame(world, L"Aboard", false).ok);

  twtest::LogCapture log;
  LoadWorld(sGameStartSettings{L"data\\save\\Aboard\\%s", 1});
  EXPECT_TRUE(log.Contains(L"loading_1st Infantry_into_" + shipName));
  ASSERT_NE(g_pWorld, nullptr);
  const cWorld& loaded = *g_pWorld;
  EXPECT_EQ(loaded.Units().navalUnits.size(), ships);
  EXPECT_EQ(loaded.Units().fleets.size(), fleets);
  EXPECT_EQ(loaded.GetCountry(1)->seaTransportPoints, points);
  const cJednostkaLadowa* back = FindLand(loaded, L"1st Infantry");
  ASSERT_NE(back, nullptr);
  ASSERT_NE(back->transport, nullptr);
  EXPECT_EQ(back->transport->id, shipId);
  EXPECT_EQ(back->transport->name, shipName);
  EXPECT_EQ(back->transport->type, kUnitCargoShip);
  EXPECT_EQ(back->transport->carriedUnit, back);
  ASSERT_NE(back->transport->fleet, nullptr);
  EXPECT_EQ(back->transport->fleet->id, fleetId);
  EXPECT_EQ(back->transport->fleet->seaNode, fleetNode);
  EXPECT_EQ(std::pair(back->x, back->y), std::pair(-1, -1));
  EXPECT_EQ(loaded.GetMap().GetHex(4, 2).unit, nullptr);
  EXPECT_FALSE(back->visible);
  // The scenario's marines are still aboard their own ship.
  const cJednostkaLadowa* marines = FindLand(loaded, L"Marines");
  ASSERT_NE(marines, nullptr);
  ASSERT_NE(marines->transport, nullptr);
  EXPECT_EQ(marines->transport->id, 3);
  EXPECT_EQ(marines->transport->carriedUnit, marines);
  EXPECT_EQ(loaded.Units().carriedUnitsA.size(), 2u);
  for (const cJednostkaLadowa* unit : loaded.Units().landUnits) EXPECT_EQ(unit->transport, nullptr) << unit->name;
}

}  // namespace
