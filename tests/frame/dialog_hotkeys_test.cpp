// The map screen's dialog keys as the window delivers them: the message
// first (frame/input_routing), then the key to the installed callback. A
// second press of a dialog's key closes the open dialog, with every dialog
// above it, unless a text field takes the key.
#include <gtest/gtest.h>

#include <utility>

#include "app/settings.h"
#include "dialogs/convoys_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/hotkeys_dialog.h"
#include "dialogs/purchases_dialog.h"
#include "dialogs/reports_dialog.h"
#include "dialogs/research_dialog.h"
#include "dialogs/units_manager_dialog.h"
#include "frame/input_routing.h"
#include "gui/dxut_editbox.h"
#include "platform/recording_renderer.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"

namespace {

class DialogHotkeys : public ::testing::Test {
 protected:
  DialogHotkeys() : w_({"pppp", "pppp"}) {
    saved_ = g_Settings;
    w_.AddCountries({kAllies, kAxis});
    w_.Country(1).human = true;
    w_.Country(1).active = w_.Country(2).active = true;
    w_.world->turnState.SetCurrentCountry(&w_.Country(1));
    w_.world->SetView(MakeMapScreen(*w_.world));
    LoadedMapScreen()->EnterMapState();
    framework_.msgProc = ::MsgProc;
  }
  ~DialogHotkeys() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    w_.world->SetView(nullptr);
    RetireCurrentMenu();
    DeleteRetiredMenus();
    g_Settings = saved_;
  }
  // A press and release of the key, as the window sends them.
  void Press(unsigned key) {
    framework_.Send({plat::kWmKeyDown, key, 1});
    framework_.Send({plat::kWmKeyUp, key, 1});
    DeleteRetiredDialogs();
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  sSettings saved_;
};

TEST_F(DialogHotkeys, ASecondPressClosesTheDialogWithThoseAboveItUnlessATextFieldTakesTheKey) {
  const std::pair<char, int> keys[] = {{'P', cDialogZakupow::kId},   {'U', cDialogJednostek::kId},
                                       {'T', cDialogResearchu::kId}, {'R', cDialogStatystyk::kId},
                                       {'C', cDialogKonwojow::kId},  {'I', cDialogSkrotowKlawiszowych::kId}};
  for (auto [key, id] : keys) {
    Press(static_cast<unsigned>(key));
    ASSERT_NE(VisibleActiveDialog(), nullptr) << key;
    EXPECT_EQ(VisibleActiveDialog()->GetId(), id);
    Press(static_cast<unsigned>(key));
    EXPECT_TRUE(g_DialogStack.empty()) << key;
  }
  // A question over the purchases goes with them; a name typed over them
  // keeps its letters.
  Press('P');
  PushDialog(new cDialog(675));
  Press('P');
  EXPECT_TRUE(g_DialogStack.empty());
  Press('P');
  auto* naming = new cDialog(694);
  CDXUTEditBox* edit = nullptr;
  naming->Dialog().AddEditBox(695, L"", 0, 0, 200, 30, false, &edit);
  PushDialog(naming);
  CDXUTDialog::RequestFocus(edit);
  Press('P');
  EXPECT_EQ(g_DialogStack.size(), 2u);
}

}  // namespace
