// The units manager and the research dialog on the map screen: both open
// from their keys and the information bar in the human turn only and close
// again the same way, and a
// reserve unit picked in the units manager is deployed by a click on a
// marked hex while the dialog waits hidden, which then comes back.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/research_dialog.h"
#include "dialogs/units_manager_dialog.h"
#include "gui/dxut_listbox.h"
#include "platform/recording_renderer.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/unit_panel.h"
#include "app/skins.h"
#include "app/texture.h"
#include "gui/dxut_editbox.h"
#include "map_drawing/hex_drawing.h"
#include "screens/menu.h"
#include "screens/test_screen_size.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "rules/deployment.h"
#include "app/string_base.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/sea_graph.h"
#include "support/test_support.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {

class MapUnitsManager : public ::testing::Test {
 protected:
  MapUnitsManager() : w_({"pppppppp", "pppppppp", "pppppppp", "pppppppp", "pppppppp", "pppppppp"}) {
    g_Settings.MapZoom = 1.0f;
    w_.AddCountries({kAllies, kAxis});
    w_.Country(1).human = true;
    // A city of country 1 with its land around it.
    w_.AddCity(3, 3, kCityNormal);
    for (int x = 2; x <= 4; ++x) {
      for (int y = 2; y <= 4; ++y) w_.Hex(x, y).controller = w_.Hex(x, y).owner = 1;
    }
    reserve_ = &w_.AddUnit(-1, -1, 1);
    World().Units().landUnits.remove(reserve_);
    reserve_->inReserve = true;
    reserve_->name = L"Reserve Rifles";
    World().Units().reservePool.push_back(reserve_);
    World().turnState.SetCurrentCountry(&w_.Country(1));
    screen_.Open(World());
    World().SetGameState(kPhaseHumanTurn);
    twtest::LookAtHex(World().GetMap(), 3, 3);
  }
  cWorld& World() { return *w_.world; }
  cMapScreen& Screen() { return *LoadedMapScreen(); }
  cDialogJednostek* Manager() { return dynamic_cast<cDialogJednostek*>(FindDialogById(cDialogJednostek::kId)); }
  bool Marked(int x, int y) { return (w_.Hex(x, y).markBits & 64u) != 0; }
  void Click(int column, int row) { twtest::ClickHex(World().GetMap(), column, row); }

  plat::RecordingRenderer renderer_{kScreenW, kScreenH};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  twtest::MapScreenScope screen_;
  cJednostkaLadowa* reserve_ = nullptr;
};

TEST_F(MapUnitsManager, TheDialogsOpenInTheHumanTurnOnlyAndTheirIconAndKeyCloseThemAgain) {
  World().SetGameState(kPhaseComputerPlayers);
  Screen().OnKeyboard('U', true, false);
  Screen().OnKeyboard('T', true, false);
  Screen().OnGUIEvent(0, kCmdUnits, nullptr);
  Screen().OnGUIEvent(0, kCmdResearch, nullptr);
  EXPECT_TRUE(g_DialogStack.empty());
  World().SetGameState(kPhaseHumanTurn);
  Screen().OnKeyboard('U', true, false);
  ASSERT_NE(Manager(), nullptr);
  EXPECT_EQ(Manager()->CountryId(), 1);
  // A second press of the icon closes the dialog, the key opens it and the
  // key closes it.
  Screen().OnGUIEvent(0, kCmdUnits, nullptr);
  EXPECT_EQ(Manager(), nullptr);
  Screen().OnGUIEvent(0, kCmdUnits, nullptr);
  ASSERT_NE(Manager(), nullptr);
  EXPECT_EQ(g_DialogStack.size(), 1u);
  Screen().OnKeyboard('U', true, false);
  EXPECT_TRUE(g_DialogStack.empty());

  Screen().OnKeyboard('T', true, false);
  auto* research = dynamic_cast<cDialogResearchu*>(FindDialogById(cDialogResearchu::kId));
  ASSERT_NE(research, nullptr);
  EXPECT_EQ(research->CountryId(), 1);
  Screen().OnKeyboard('T', true, false);
  EXPECT_EQ(FindDialogById(cDialogResearchu::kId), nullptr);
  Screen().OnGUIEvent(0, kCmdResearch, nullptr);
  ASSERT_NE(FindDialogById(cDialogResearchu::kId), nullptr);
  // The units manager opened over the research dialog closes with it.
  Screen().OnGUIEvent(0, kCmdUnits, nullptr);
  EXPECT_EQ(g_DialogStack.size(), 2u);
  Screen().OnGUIEvent(0, kCmdResearch, nullptr);
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(MapUnitsManager, AReserveUnitIsDeployedOnTheClickedMarkedHex) {
  Screen().OnKeyboard('U', true, false);
  cDialogJednostek* dialog = Manager();
  ASSERT_NE(dialog, nullptr);
  dialog->OnKeyboard('D', true, false);
  dialog->OnKeyboard(plat::kVkReturn, true, false);
  EXPECT_EQ(World().turnState.mode, cDialogJednostek::kModeDeployLand);
  EXPECT_FALSE(dialog->Dialog().GetVisible());
  EXPECT_TRUE(Marked(3, 3));
  EXPECT_TRUE(Marked(2, 3));
  EXPECT_FALSE(Marked(6, 3));  // not the country's

  Click(3, 3);
  EXPECT_EQ(reserve_->x, 3);
  EXPECT_EQ(reserve_->y, 3);
  EXPECT_EQ(w_.Hex(3, 3).unit, reserve_);
  const auto& pool = World().Units().reservePool;
  EXPECT_EQ(std::find(pool.begin(), pool.end(), reserve_), pool.end());
  const auto& map = World().Units().landUnits;
  EXPECT_NE(std::find(map.begin(), map.end(), reserve_), map.end());
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_FALSE(Marked(2, 3));
  // The dialog shows again after the deploy delay, with an empty reserve.
  EXPECT_EQ(dialog->GetExpiryAction(), cDialog::kExpiryShow);
  EXPECT_EQ(dialog->List()->GetSize(), 0);
}

// Under fog of war the deployed unit is seen at once: its counter is drawn
// on the hex and a click on it fills the unit panel (it stayed hidden until
// the next impulse's spotting, its panel all "-").
TEST_F(MapUnitsManager, ADeployedUnitIsSeenAtOnceAndItsPanelFilled) {
  const sSettings saved = g_Settings;
  g_Settings.FogOfWar = 2;
  World().turnState.viewCountry = &w_.Country(1);
  reserve_->visible = false;
  Screen().OnKeyboard('U', true, false);
  ASSERT_NE(Manager(), nullptr);
  Manager()->OnKeyboard('D', true, false);
  Manager()->OnKeyboard(plat::kVkReturn, true, false);
  Click(3, 3);
  ASSERT_EQ(w_.Hex(3, 3).unit, reserve_);
  EXPECT_TRUE(reserve_->visible);

  // The counter's background box of a skin, on a sheet of its own.
  g_Textures[kSlotUnits].Create(1024, 1000);
  sUnitAppearance& look = g_LandAppearance.entries[0];
  for (int box = 0; box < 14; ++box) {
    look.box[box] = {0, 0, 40, 40};
    look.valid[box] = true;
  }
  g_LandAppearance.current = &look;
  plat::SpriteBatch batch(renderer_);
  renderer_.records.clear();
  batch.Begin();
  g_MapDrawHooks.drawUnit(batch, w_.Hex(3, 3), {10.0f, 10.0f, 0.3f}, 0);
  batch.End();
  const auto counters = std::count_if(renderer_.records.begin(), renderer_.records.end(), [](const auto& r) {
    return r.kind == plat::DrawRecord::kQuad && r.texture == g_Textures[kSlotUnits].Get()->Id();
  });
  g_Textures[kSlotUnits].Release();
  g_LandAppearance.Reset();
  EXPECT_GT(counters, 0);

  Click(3, 3);
  auto* panel = dynamic_cast<cUnitPanel*>(Screen().Panel(cMapScreen::kUnit));
  ASSERT_NE(panel, nullptr);
  auto* name = dynamic_cast<CDXUTEditBox*>(panel->Dialog().GetControl(kUnitNameId));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(std::wstring(name->GetText()), L"Reserve Rifles");
  g_Settings = saved;
}

TEST_F(MapUnitsManager, AClickOffTheMarksDeploysNothingAndTheKeyBringsTheDialogBack) {
  Screen().OnKeyboard('U', true, false);
  cDialogJednostek* dialog = Manager();
  ASSERT_NE(dialog, nullptr);
  dialog->OnKeyboard('D', true, false);
  dialog->OnKeyboard(plat::kVkReturn, true, false);
  Click(6, 3);
  EXPECT_FALSE(reserve_->IsOnMap());
  EXPECT_EQ(World().turnState.mode, 0);
  // Hidden again by another order: the key shows it at once.
  dialog->OnKeyboard(plat::kVkReturn, true, false);
  EXPECT_FALSE(dialog->Dialog().GetVisible());
  Screen().OnKeyboard('U', true, false);
  EXPECT_TRUE(dialog->Dialog().GetVisible());
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_FALSE(Marked(3, 3));
}

// A reserve ship goes to the port the click picks through the deployment
// rule: a port the country has lost since the marks were made refuses it,
// the refusal's text in the log, and the ship waits on; the port held again,
// the next click puts the ship into a fleet there.
TEST_F(MapUnitsManager, AReserveShipJoinsAFleetOnlyAtAClickedPortTheRuleLetsItInto) {
  sWezelGrafuMorz port;
  port.id = 1;
  port.isSea = 0;
  port.size = port.maxSize = 3;
  port.x = port.ownShipX = 4;
  port.y = port.ownShipY = 4;
  port.name = L"Harbour";
  World().GetSeaGraph().Nodes().push_back(port);
  auto* ship = new cJednostkaMorska(&World());
  ship->countryId = 1;
  ship->SetType(kUnitCruiser);
  ship->name = L"Reserve Cruiser";
  ship->hitPoints = ship->maxHitPoints = 4;
  ship->inReserve = true;
  World().Units().navalReservePool.push_back(ship);
  twtest::LogCapture log;

  Screen().OnKeyboard('U', true, false);
  cDialogJednostek* dialog = Manager();
  ASSERT_NE(dialog, nullptr);
  dialog->OnKeyboard(plat::kVkRight, true, false);
  dialog->OnKeyboard(plat::kVkRight, true, false);  // the naval tab
  dialog->OnKeyboard('D', true, false);
  for (const bool held : {false, true}) {
    dialog->OnKeyboard(plat::kVkReturn, true, false);
    ASSERT_EQ(World().turnState.mode, cDialogJednostek::kModeDeployNaval) << held;
    ASSERT_TRUE(Marked(4, 4)) << held;
    if (!held) w_.Hex(4, 4).controller = 2;  // lost after the marks were made
    Click(4, 4);
    EXPECT_EQ(World().turnState.mode, 0) << held;
    const auto& pool = World().Units().navalReservePool;
    EXPECT_EQ(std::find(pool.begin(), pool.end(), ship) != pool.end(), !held);
    if (!held) {
      EXPECT_EQ(ship->fleet, nullptr);
      EXPECT_TRUE(log.Contains(g_StringBase.GetText(DeployRefusalKey(eDeployRefusal::kPortNotHeld))));
      // Held again; the dialog, filled anew, shows when its countdown ends.
      w_.Hex(4, 4).controller = 1;
      dialog->OnReactivate();
      dialog->Dialog().SetVisible(true);
    }
  }
  ASSERT_NE(ship->fleet, nullptr);
  EXPECT_EQ(std::pair(ship->fleet->seaNode, ship->fleet->country), std::pair(1, 1));
}

}  // namespace
