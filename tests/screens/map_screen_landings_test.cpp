// The map screen's unload click (mode 16): the ship the active (hidden)
// dialog names as its single selection puts its cargo on the clicked marked
// hex, in port or as a landing with its combat report; the dialog is
// refreshed and nothing stays selected.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "platform/recording_renderer.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/menu.h"
#include "screens/test_screen_size.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "units/land_fixture.h"
#include "world/cities.h"
#include "world/fleet.h"
#include "world/game_phase.h"
#include "world/jednostka_morska.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {


// Stands for the fleets dialog: hidden while its order is completed on the
// map, one ship selected.
class ShipPicker : public cDialog {
 public:
  explicit ShipPicker(cJednostkaMorska* ship) : cDialog(550), ship_(ship) { Dialog().SetVisible(false); }
  cJednostkaMorska* GetSingleSelectedShip() override { return ship_; }
  void OnReactivate() override {
    ++refreshed;
    ship_ = nullptr;  // the ship is gone
  }
  int refreshed = 0;

 private:
  cJednostkaMorska* ship_;
};

class LandingOrders : public ::testing::Test {
 protected:
  LandingOrders() : w_({"pppppppp", "pppppppp", "pppppppp", "pppppppp", "pppppppp", "pppppppp"}) {
    saved_delay_ = g_Delays[kDelayHumanCombatResult].load();
    g_Settings.MapZoom = 1.0f;
    w_.AddCountries({kAllies, kAxis});
    w_.War(1, 2);
    w_.Country(1).human = true;
    World().turnState.SetCurrentCountry(&w_.Country(1));
    screen_.Open(World());
    World().SetGameState(kPhaseHumanTurn);
    twtest::LookAtHex(World().GetMap(), 3, 3);
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    // Sea zone 1 and the port of (2, 2) as node 2.
    for (int id : {1, 2}) {
      sWezelGrafuMorz node;
      node.id = id;
      node.isSea = id == 1 ? 1 : 0;
      node.x = id == 1 ? 7 : 2;
      node.y = id == 1 ? 0 : 2;
      node.name = id == 1 ? L"North Sea" : L"Port";
      World().GetSeaGraph().Nodes().push_back(node);
    }
    w_.AddCity(2, 2, kCityPort);
  }
  ~LandingOrders() override {
    g_Delays[kDelayHumanCombatResult] = saved_delay_;
  }
  cWorld& World() { return *w_.world; }

  // A land unit of country 1 aboard a new ship of the type at the node.
  cJednostkaMorska& Loaded(int shipType, int node) {
    auto* fleet = new cFleet();
    fleet->country = 1;
    fleet->seaNode = node;
    World().Units().fleets.push_back(fleet);
    auto* ship = new cJednostkaMorska(&World());
    ship->countryId = 1;
    ship->SetType(shipType);
    ship->name = L"Transport";
    ship->fleet = fleet;
    fleet->ships.push_back(ship);
    World().Units().navalUnits.push_back(ship);
    cJednostkaLadowa& unit = w_.AddUnit(-1, -1, 1);
    unit.name = L"Marines";
    unit.level = 1;
    World().Units().landUnits.remove(&unit);
    World().Units().carriedUnitsA.push_back(&unit);
    ship->carriedUnit = &unit;
    unit.transport = ship;
    return *ship;
  }

  void Click(int column, int row) { twtest::ClickHex(World().GetMap(), column, row); }

  plat::RecordingRenderer renderer_{kScreenW, kScreenH};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  twtest::MapScreenScope screen_;
  float saved_delay_ = 0;
};

TEST_F(LandingOrders, AClickOnAMarkedHexUnloadsTheSelectedShipInPort) {
  cJednostkaMorska& ship = Loaded(kUnitCargoShip, 2);
  cJednostkaLadowa* cargo = ship.carriedUnit;
  auto* picker = new ShipPicker(&ship);
  PushDialog(picker);
  ASSERT_GT(ship.MarkUnloadHexes(true), 0);
  World().turnState.mode = 16;

  // An unmarked hex: nothing lands, the order ends all the same.
  Click(5, 5);
  EXPECT_EQ(cargo->transport, &ship);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_EQ(picker->refreshed, 1);

  ship.MarkUnloadHexes(true);
  World().turnState.mode = 16;
  picker = new ShipPicker(&ship);
  PushDialog(picker);
  twtest::LogCapture log;
  Click(2, 3);
  EXPECT_TRUE(log.Contains(L"Player action: Unload / Transport on (2, 3)"));
  EXPECT_EQ(w_.Hex(2, 3).unit, cargo);
  EXPECT_TRUE(cargo->visible);
  EXPECT_TRUE(World().Units().navalUnits.empty());
  EXPECT_EQ(picker->refreshed, 1);
  EXPECT_EQ(World().turnState.selectedHex, nullptr);
  EXPECT_EQ(w_.Hex(2, 2).markBits & 64u, 0u);
  EXPECT_EQ(World().turnState.mode, 0);
}

TEST_F(LandingOrders, AnOpposedLandingFromTheSeaShowsItsCombatReport) {
  g_Delays[kDelayHumanCombatResult] = 5000.0f;
  w_.Hex(5, 2).owner = w_.Hex(5, 2).controller = 2;
  w_.Hex(5, 2).seaZone = 1;
  w_.Hex(5, 2).coastal = 1;
  cJednostkaLadowa& defender = w_.AddUnit(5, 2, 2);
  defender.level = 1;
  cJednostkaMorska& ship = Loaded(kUnitAmphibiousShip, 1);
  PushDialog(new ShipPicker(&ship));
  ASSERT_EQ(ship.MarkUnloadHexes(true), 1);
  World().turnState.mode = 16;
  Click(5, 2);
  EXPECT_NE(dynamic_cast<cDialogWynikuWalki*>(VisibleActiveDialog()), nullptr);
  EXPECT_TRUE(World().Units().navalUnits.empty());
  EXPECT_TRUE(World().Units().carriedUnitsA.empty());
}

}  // namespace
