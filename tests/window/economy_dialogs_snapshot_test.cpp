// The units manager and the research dialog as the player sees them on the
// fixture scenario, drawn by the software renderer from the shipped GUI
// sheet, layout and English texts, and compared with their golden
// pictures (TW_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <memory>

#include "app/gui_layout.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/research_dialog.h"
#include "dialogs/units_manager_dialog.h"
#include "files/world_loader.h"
#include "frame/device_events.h"
#include "game_screen_fixture.h"
#include "gui/dxut_listbox.h"
#include "support/fixture_scenario.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

class EconomySnapshot : public twtest::GameScreenTest {
 protected:
  void Load() {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    world_->turnState.SetCurrentCountry(world_->GetCountry(1));
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    world_.reset();
    g_pWorld = nullptr;
    GameScreenTest::TearDown();
  }
  void Render() {
    for (int i = 0; i < 8; ++i) OnFrameRender(i * 0.5, 0.5f);
  }
  std::unique_ptr<cWorld> world_;
  sUnitsManagerView view_;
};

TEST_F(EconomySnapshot, UnitsManagerWithWestlandsLandUnits) {
  Load();
  // Strengths of a unit in the field, the widest the column has to show
  // (a strong commander and full effectiveness on a weakened corps).
  int effectiveness = 100;
  for (cJednostkaLadowa* unit : world_->Units().landUnits) {
    if (unit->countryId != 1) continue;
    unit->effectiveness = effectiveness;
    effectiveness += 900;
  }
  auto* dialog = new cDialogJednostek(*world_, view_, 1);
  PushDialog(dialog);
  ASSERT_EQ(dialog->List()->GetSize(), 4);
  dialog->SelectUnitInList(2);
  Render();
  // The list's rows are drawn: its first row differs from its empty bottom.
  const sLayoutRect& list = g_GuiLayout[cDialogJednostek::kListId];
  EXPECT_NE(Pixel(list.a + 20, list.b + 40), Pixel(list.a + 20, list.b + list.d - 20));
  ExpectGolden("units_manager_1024x768.png");
}

TEST_F(EconomySnapshot, ResearchWithInvestmentsAndAFullTechnology) {
  Load();
  sScenarioConstants& k = world_->constants;
  k.researchCost.fill(30);
  k.researchLimit.fill(5);
  k.researchFactors.fill(60.0f);
  cCountry& westland = *world_->GetCountry(1);
  westland.productionPoints = 75.0;
  westland.techLevel = {2, 1, 0, 3, 1, 5, 0};
  westland.techProgress = {12, 4, 0, 27, 0, 0, 9};
  westland.techInvestment = {2, 1, 0, 3, 0, 0, 0};
  PushDialog(new cDialogResearchu(*world_));
  Render();
  ExpectGolden("research_dialog_1024x768.png");
}

}  // namespace
