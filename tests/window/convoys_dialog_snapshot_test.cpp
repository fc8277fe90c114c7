// The convoys dialog as the player sees it on the fixture scenario, drawn by
// the software renderer from the shipped GUI sheet, layout and English
// texts, and compared with its golden picture: the list with a convoy
// selected, the cargo buttons, the value slider and its text, and the
// picture in the corner.
#include <gtest/gtest.h>

#include <memory>

#include "app/gui_layout.h"
#include "dialogs/convoys_dialog.h"
#include "dialogs/dialog_stack.h"
#include "files/world_loader.h"
#include "frame/device_events.h"
#include "game_screen_fixture.h"
#include "gui/dxut_listbox.h"
#include "support/fixture_scenario.h"
#include "world/convoy.h"
#include "world/world.h"

namespace {

class ConvoysSnapshot : public twtest::GameScreenTest {
 protected:
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    world_.reset();
    g_pWorld = nullptr;
    GameScreenTest::TearDown();
  }
  std::unique_ptr<cWorld> world_;
};

TEST_F(ConvoysSnapshot, ConvoysOfEastmarkWithOneSelected) {
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
  LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
  world_.reset(g_pWorld);
  ASSERT_NE(world_, nullptr);
  world_->constants.convoyValueStep = 5;
  world_->constants.convoyValueLimit = 50;
  cConvoyStore& store = world_->Units().convoys;
  // The fixture's convoy, one back and a production convoy.
  ASSERT_GE(store.AddConvoyBetweenSeaNodes(*world_, 5, 4, 2), 1);
  const int production = store.AddConvoyBetweenSeaNodes(*world_, 4, 5, 2);
  ASSERT_GE(production, 1);
  store.ConvoysOf(2)->back().type = kConvoyProduction;
  store.ConvoysOf(2)->back().value = 6;
  auto* dialog = new cDialogKonwojow(*world_, 2);
  PushDialog(dialog);
  dialog->FillConvoyList(production);
  ASSERT_EQ(dialog->SelectedIndex(), 2);
  for (int i = 0; i < 8; ++i) OnFrameRender(i * 0.5, 0.5f);
  // The picture sits in the bottom right of its entry.
  const sLayoutRect& picture = g_GuiLayout[cDialogKonwojow::kPictureId];
  EXPECT_NE(Pixel(picture.a + picture.c - 60, picture.b + picture.d - 60), Pixel(picture.a + 2, picture.b + 2));
  ExpectGolden("convoys_dialog_1024x768.png");
}

}  // namespace
