// The convoys on the map screen: the dialog opens from the information bar
// and the C key in the human turn only, and a new convoy's ports are picked
// with two clicks on the map while the dialog waits hidden.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "dialogs/convoys_dialog.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_listbox.h"
#include "platform/recording_renderer.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/menu.h"
#include "screens/test_screen_size.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/convoy.h"
#include "world/game_phase.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {


class MapConvoys : public ::testing::Test {
 protected:
  MapConvoys() : w_({"pppppppp", "pppppppp", "pppppppp", "pppppppp", "pppppppp", "pppppppp"}) {
    g_Settings.MapZoom = 1.0f;
    w_.AddCountries({kAllies, kAxis});
    w_.War(1, 2);
    w_.Country(1).human = true;
    World().Units().convoys.Resize(2);
    // Two own ports and the enemy's, each with its harbour node.
    Port(1, 1, 1);
    Port(5, 1, 1);
    Port(3, 4, 2);
    World().turnState.SetCurrentCountry(&w_.Country(1));
    screen_.Open(World());
    World().SetGameState(kPhaseHumanTurn);
    twtest::LookAtHex(World().GetMap(), 3, 3);
  }
  cWorld& World() { return *w_.world; }
  cMapScreen& Screen() { return *LoadedMapScreen(); }
  void Port(int x, int y, int country) {
    w_.AddCity(x, y, kCityPort);
    w_.Hex(x, y).controller = static_cast<std::uint8_t>(country);
    sWezelGrafuMorz node;
    node.id = World().GetSeaGraph().GetNodeCount() + 1;
    node.isSea = 0;
    node.maxSize = node.size = 3;
    node.x = node.ownShipX = node.enemyShipX = x;
    node.y = node.ownShipY = node.enemyShipY = y;
    World().GetSeaGraph().Nodes().push_back(node);
    w_.Hex(x, y).seaNode = static_cast<std::uint16_t>(node.id);
  }
  bool Marked(int x, int y) { return (w_.Hex(x, y).markBits & 0x8000u) != 0; }
  cDialogKonwojow* Dialog() { return dynamic_cast<cDialogKonwojow*>(FindDialogById(cDialogKonwojow::kId)); }
  // A left click (press and release) well inside the hex.
  void Click(int column, int row) { twtest::ClickHex(World().GetMap(), column, row); }

  plat::RecordingRenderer renderer_{kScreenW, kScreenH};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  twtest::MapScreenScope screen_;
};

TEST_F(MapConvoys, TheDialogOpensInTheHumanTurnOnlyAndItsIconAndKeyCloseIt) {
  World().SetGameState(kPhaseComputerPlayers);
  Screen().OnGUIEvent(0, kCmdConvoys, nullptr);
  Screen().OnKeyboard('C', true, false);
  EXPECT_EQ(Dialog(), nullptr);
  World().SetGameState(kPhaseHumanTurn);
  Screen().OnKeyboard('C', true, false);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(Dialog()->CountryId(), 1);
  Screen().OnGUIEvent(0, kCmdConvoys, nullptr);
  EXPECT_EQ(Dialog(), nullptr);
  Screen().OnGUIEvent(0, kCmdConvoys, nullptr);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(g_DialogStack.size(), 1u);
  Screen().OnKeyboard('C', true, false);
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(MapConvoys, TwoClicksPickThePortsOfANewConvoy) {
  Screen().OnGUIEvent(0, kCmdConvoys, nullptr);
  cDialogKonwojow* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogKonwojow::kNewId, nullptr);
  EXPECT_FALSE(dialog->Dialog().GetVisible());
  EXPECT_TRUE(Marked(1, 1));
  EXPECT_TRUE(Marked(5, 1));
  EXPECT_FALSE(Marked(3, 4));  // the enemy's

  Click(1, 1);
  EXPECT_EQ(World().turnState.mode, kModeConvoyDestination);
  EXPECT_FALSE(Marked(1, 1));  // no convoy to its own departure
  EXPECT_TRUE(Marked(5, 1));
  Click(5, 1);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_TRUE(dialog->Dialog().GetVisible());
  EXPECT_FALSE(Marked(5, 1));
  const std::vector<cConvoy>& convoys = *World().Units().convoys.ConvoysOf(1);
  ASSERT_EQ(convoys.size(), 1u);
  EXPECT_EQ(convoys.front().departure, w_.Hex(1, 1).city);
  EXPECT_EQ(convoys.front().destination, w_.Hex(5, 1).city);
  EXPECT_EQ(dialog->SelectedIndex(), 0);

  // A first click beside every port still leads to the second pick, which
  // then makes nothing.
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogKonwojow::kNewId, nullptr);
  Click(3, 3);
  EXPECT_EQ(World().turnState.mode, kModeConvoyDestination);
  Click(5, 1);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_TRUE(dialog->Dialog().GetVisible());
  EXPECT_EQ(convoys.size(), 1u);
  EXPECT_EQ(dialog->SelectedIndex(), -1);
  EXPECT_EQ(dialog->List()->GetSize(), 1);

  // A pick that another order interrupts: the convoys command brings the
  // hidden dialog back instead of leaving it behind the map.
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogKonwojow::kNewId, nullptr);
  World().turnState.mode = 4;
  Screen().OnKeyboard('C', true, false);
  EXPECT_EQ(Dialog(), dialog);
  EXPECT_TRUE(dialog->Dialog().GetVisible());
  EXPECT_FALSE(Marked(1, 1));
  EXPECT_EQ(g_DialogStack.size(), 1u);
}

}  // namespace
