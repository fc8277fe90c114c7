// The purchases dialog on the map screen: P and the information bar's icon
// open it in the human turn only, and the icon closes it again.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/purchases_dialog.h"
#include "platform/recording_renderer.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {

class MapPurchases : public ::testing::Test {
 protected:
  MapPurchases() : w_({"pppp", "pppp"}) {
    w_.AddCountries({kAllies, kAxis});
    w_.Country(1).human = true;
    w_.Country(1).active = true;
    World().turnState.SetCurrentCountry(&w_.Country(1));
    screen_.Open(World());
  }
  cWorld& World() { return *w_.world; }
  cMapScreen& Screen() { return *LoadedMapScreen(); }
  static cDialogZakupow* Dialog() { return dynamic_cast<cDialogZakupow*>(FindDialogById(cDialogZakupow::kId)); }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  twtest::MapScreenScope screen_;
};

TEST_F(MapPurchases, TheDialogOpensInTheHumanTurnOnlyAndTheIconClosesIt) {
  World().SetGameState(kPhaseComputerPlayers);
  Screen().OnKeyboard('P', true, false);
  Screen().OnGUIEvent(0, kCmdPurchases, nullptr);
  EXPECT_EQ(Dialog(), nullptr);
  World().SetGameState(kPhaseHumanTurn);
  Screen().OnKeyboard('P', true, false);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(Dialog()->CountryId(), 1);
  Screen().OnGUIEvent(0, kCmdPurchases, nullptr);
  EXPECT_EQ(Dialog(), nullptr);
}

}  // namespace
