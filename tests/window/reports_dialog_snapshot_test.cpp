// The reports and statistics dialog as the player sees it on the fixture
// scenario after two ends of an impulse, drawn by the software renderer
// from the shipped GUI sheet, layout and English texts, and compared with
// its golden pictures: the units page of a country's statistics with its
// bar graph, and a production report with its counter, slider and date.
#include <gtest/gtest.h>

#include <memory>

#include "app/gui_layout.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/reports_dialog.h"
#include "files/world_loader.h"
#include "frame/device_events.h"
#include "game_screen_fixture.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "rules/world_turn.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "world/world.h"

namespace {


class ReportsSnapshot : public twtest::GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    world_->constants.upkeepFactor = 0.05f;
    EndImpulse(*world_, true);
    EndImpulse(*world_, true);
    world_->turnState.SetCurrentCountry(world_->GetCountry(kEastmark));
    dialog_ = new cDialogStatystyk(*world_);
    PushDialog(dialog_);
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    world_.reset();
    g_pWorld = nullptr;
    GameScreenTest::TearDown();
  }
  void PickType(int row) {
    dialog_->TypeList()->SelectItem(row, false);
    dialog_->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogStatystyk::kTypeListId, dialog_->TypeList());
  }
  void Draw() {
    for (int i = 0; i < 8; ++i) OnFrameRender(i * 0.5, 0.5f);
  }
  std::unique_ptr<cWorld> world_;
  cDialogStatystyk* dialog_ = nullptr;
};

TEST_F(ReportsSnapshot, UnitsOfEastmarkWithTheirGraph) {
  PickType(0);
  dialog_->TablePages()->SelectTab(2, false);
  dialog_->OnGUIEvent(EVENT_TABFRAME_CHANGED, cDialogStatystyk::kTablePagesId, dialog_->TablePages());
  ASSERT_FALSE(dialog_->Graph()->Bars().empty());
  Draw();
  // The first bar is drawn in the statistics' colour left of the graph's
  // middle; its track is lighter than the graph's ground.
  const sLayoutRect& graph = g_GuiLayout[cDialogStatystyk::kGraphId];
  EXPECT_NE(Pixel(graph.a + graph.c / 2, graph.b + graph.d - 3), Pixel(graph.a + graph.c / 2 + 2, graph.b + 56));
  ExpectGolden("reports_dialog_units_1024x768.png");
}

TEST_F(ReportsSnapshot, VictoryPointsByCountry) {
  PickType(5);
  dialog_->TablePages()->SelectTab(cDialogStatystyk::kVpByPoints, false);
  dialog_->OnGUIEvent(EVENT_TABFRAME_CHANGED, cDialogStatystyk::kTablePagesId, dialog_->TablePages());
  Draw();
  ExpectGolden("reports_dialog_victory_points_1024x768.png");
}

TEST_F(ReportsSnapshot, NewestProductionReport) {
  PickType(1);
  ASSERT_EQ(dialog_->ShownReports().size(), 2u);
  Draw();
  ExpectGolden("reports_dialog_production_1024x768.png");
}

}  // namespace
