// The reports button of the map screen: R or the information bar's icon
// opens the reports and statistics dialog in the human turn; the icon
// closes it again with every dialog above it, in any phase.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/reports_dialog.h"
#include "gui/dxut_listbox.h"
#include "platform/recording_renderer.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/menu.h"
#include "screens/test_screen_size.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {


class MapReports : public ::testing::Test {
 protected:
  MapReports() : w_({"pppp", "pppp"}) {
    w_.AddCountries({kAllies, kAxis});
    w_.Country(1).human = true;
    w_.Country(1).active = w_.Country(2).active = true;
    World().turnState.SetCurrentCountry(&w_.Country(1));
    screen_.Open(World());
    World().SetGameState(kPhaseHumanTurn);
  }
  cWorld& World() { return *w_.world; }
  cMapScreen& Screen() { return *LoadedMapScreen(); }
  static cDialogStatystyk* Reports() {
    return dynamic_cast<cDialogStatystyk*>(FindDialogById(cDialogStatystyk::kId));
  }

  plat::RecordingRenderer renderer_{kScreenW, kScreenH};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  twtest::MapScreenScope screen_;
};

TEST_F(MapReports, TheButtonOpensInTheHumanTurnAndClosesWithTheDialogsAbove) {
  World().SetGameState(kPhaseComputerPlayers);
  Screen().OnGUIEvent(0, kCmdReports, nullptr);
  Screen().OnKeyboard('R', true, false);
  EXPECT_EQ(Reports(), nullptr) << "a computer player's turn shows no reports";

  World().SetGameState(kPhaseHumanTurn);
  Screen().OnKeyboard('R', true, false);
  cDialogStatystyk* reports = Reports();
  ASSERT_NE(reports, nullptr);
  ASSERT_EQ(g_DialogStack.size(), 1u);
  EXPECT_EQ(reports->CountryList()->GetSize(), 1) << "the current country, without allies";
  EXPECT_EQ(reports->SelectedType(), cDialogStatystyk::kNoType);

  // A dialog over it goes with it; the button toggles in any phase.
  PushDialog(new cDialog(675));
  ASSERT_EQ(g_DialogStack.size(), 2u);
  World().SetGameState(kPhaseComputerPlayers);
  Screen().OnGUIEvent(0, kCmdReports, nullptr);
  EXPECT_EQ(Reports(), nullptr);
  EXPECT_TRUE(g_DialogStack.empty());
  DeleteRetiredDialogs();

  World().SetGameState(kPhaseHumanTurn);
  Screen().OnGUIEvent(0, kCmdReports, nullptr);
  EXPECT_NE(Reports(), nullptr);
}

}  // namespace
