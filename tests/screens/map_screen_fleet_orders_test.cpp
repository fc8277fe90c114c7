// The map screen's side of the fleets dialog on the fixture scenario: a
// click on a sea zone where the player has a fleet opens the dialog, its
// move button hides it and marks the reachable nodes, and the click on a
// marked node moves every selected fleet there; the dialog then closes when
// no fleet is left, or comes back.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <optional>

#include "app/settings.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/fleets_dialog.h"
#include "dialogs/units_manager_dialog.h"
#include "files/world_loader.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "gui/hint_text.h"
#include "map_drawing/sea_graph_draw.h"
#include "platform/recording_renderer.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/menu.h"
#include "screens/test_screen_size.h"
#include "support/fake_framework.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "world/fleet.h"
#include "world/game_phase.h"
#include "world/jednostka_morska.h"
#include "world/map_modes.h"
#include "world/world.h"

namespace {

// The sea node whose hover box the hint display shows (null: no box).
const sWezelGrafuMorz* HoverBoxNode() {
  const auto* box = dynamic_cast<const cSeaNodeHoverBox*>(g_HintText.GetAnchor());
  return box != nullptr ? box->Node() : nullptr;
}

class FleetMapOrders : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    screen_.emplace();
    saved_delay_ = g_Delays[kDelayHumanReconAfter].load();
    g_Delays[kDelayHumanReconAfter] = 0.0f;
    g_Settings.MapZoom = 1.0f;
    const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
    folder_ = std::make_unique<twtest::ScopedWorkingFolder>(dir_.Path());
    LoadWorld(settings);
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    world_->constants.fleetReachSteps = 2;
    world_->constants.navalReachValue = {2, 2, 2, 2, 1, 1};
    world_->turnState.SetCurrentCountry(world_->GetCountry(1));
    screen_->Open(*world_);
    world_->SetGameState(kPhaseHumanTurn);
    twtest::LookAtHex(world_->GetMap(), 9, 3);
    for (cFleet* fleet : world_->Units().fleets) {
      if (fleet->name == L"Home Fleet") home_ = fleet;
    }
    ASSERT_NE(home_, nullptr);
  }
  void TearDown() override {
    screen_.reset();
    world_.reset();
    g_pWorld = nullptr;
    g_Delays[kDelayHumanReconAfter] = saved_delay_;
  }
  cMapScreen& Screen() { return *LoadedMapScreen(); }
  // A left click (press and release) on the middle of the hex.
  void Click(int column, int row) { twtest::ClickHex(world_->GetMap(), column, row); }
  // The mouse moved over the hex, no button down.
  void Hover(int column, int row) {
    int x = 0, y = 0;
    if (twtest::PointOfHex(world_->GetMap(), column, row, x, y)) {
      Screen().OnMouse(false, false, false, false, false, 0, x, y);
    }
  }
  cDialogFlot* FleetsDialog() { return dynamic_cast<cDialogFlot*>(g_pActiveDialog); }
  void ClickButton(cDialogFlot& d, int id) { d.OnGUIEvent(EVENT_BUTTON_CLICKED, id, d.Dialog().GetControl(id)); }

  twtest::TempDir dir_;
  std::unique_ptr<twtest::ScopedWorkingFolder> folder_;
  plat::RecordingRenderer renderer_{kScreenW, kScreenH};
  twtest::FakeFramework framework_{&renderer_};
  std::unique_ptr<cWorld> world_;
  std::optional<twtest::MapScreenScope> screen_;
  cFleet* home_ = nullptr;
  float saved_delay_ = 0;
};

TEST_F(FleetMapOrders, MovingTheOnlyFleetAwayClosesTheDialog) {
  const sWezelGrafuMorz& north = *world_->GetSeaGraph().GetNode(kNorthSea);
  const sWezelGrafuMorz& strait = *world_->GetSeaGraph().GetNode(kStrait);
  // The enemy's squadron in the Strait opens nothing.
  Click(strait.x, strait.y);
  EXPECT_EQ(g_pActiveDialog, nullptr);
  Click(north.x, north.y);
  cDialogFlot* dialog = FleetsDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->SeaNodeId(), kNorthSea);
  ASSERT_EQ(dialog->GetSelectedFleetAt(0), home_);

  ClickButton(*dialog, cDialogFlot::kMoveFleetId);
  EXPECT_FALSE(dialog->Dialog().GetVisible());
  EXPECT_EQ(world_->turnState.mode, kModeFleetMove);
  EXPECT_NE(world_->GetMap().GetHex(strait.x, strait.y).markBits & 0x8000u, 0u);
  Click(strait.x, strait.y);
  EXPECT_EQ(home_->seaNode, kStrait);
  EXPECT_TRUE(home_->moved);
  EXPECT_EQ(world_->turnState.mode, 0);
  // Nothing of the country is left in the North Sea: the dialog has gone,
  // and the click on the Strait did not open another.
  EXPECT_EQ(FindDialogById(cDialogFlot::kId), nullptr);
  EXPECT_EQ(g_pActiveDialog, nullptr);
}

TEST_F(FleetMapOrders, EverySelectedFleetMovesAndTheDialogComesBackForThoseLeft) {
  const sWezelGrafuMorz& north = *world_->GetSeaGraph().GetNode(kNorthSea);
  const sWezelGrafuMorz& strait = *world_->GetSeaGraph().GetNode(kStrait);
  Click(north.x, north.y);
  cDialogFlot* dialog = FleetsDialog();
  ASSERT_NE(dialog, nullptr);
  // The cargo ship forms a fleet of its own, which stays.
  for (int i = 0; i < dialog->ShipList()->GetSize(); ++i) dialog->ShipList()->GetItem(i)->bSelected = i == 2;
  dialog->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogFlot::kShipListId, dialog->ShipList());
  ClickButton(*dialog, cDialogFlot::kCreateFleetId);
  cFleet* cargo = world_->Units().fleets.back();
  ASSERT_EQ(dialog->GetSelectedFleetAt(0), home_);

  ClickButton(*dialog, cDialogFlot::kMoveFleetId);
  // A click on an unmarked hex ends the pick: nothing moves, the dialog
  // comes back.
  Click(north.x + 3, north.y + 6);
  EXPECT_EQ(home_->seaNode, kNorthSea);
  EXPECT_EQ(world_->turnState.mode, 0);
  WorldOnFrameMoveThunk(0.0, 0.05f);
  EXPECT_TRUE(dialog->Dialog().GetVisible());

  // A key that changes the pending order (Tab selects a unit) does not
  // strand the hidden dialog: the next click brings it back.
  ClickButton(*dialog, cDialogFlot::kMoveFleetId);
  world_->turnState.mode = 4;
  Click(strait.x, strait.y);
  EXPECT_EQ(home_->seaNode, kNorthSea);
  WorldOnFrameMoveThunk(0.05, 0.05f);
  EXPECT_TRUE(dialog->Dialog().GetVisible());

  ClickButton(*dialog, cDialogFlot::kMoveFleetId);
  Click(strait.x, strait.y);
  EXPECT_EQ(home_->seaNode, kStrait);
  EXPECT_EQ(cargo->seaNode, kNorthSea);
  EXPECT_FALSE(cargo->moved);
  EXPECT_EQ(HoverBoxNode(), &strait) << "the clicked node's hover box";
  // The dialog shows what is left after the delay (0 here: the next frame),
  // with no hover box of the map over it.
  ASSERT_EQ(FleetsDialog(), dialog);
  EXPECT_EQ(dialog->FleetList()->GetSize(), 1);
  EXPECT_EQ(dialog->GetSelectedFleetAt(0), cargo);
  WorldOnFrameMoveThunk(0.1, 0.05f);
  EXPECT_TRUE(dialog->Dialog().GetVisible());
  EXPECT_EQ(g_HintText.GetAnchor(), nullptr);
}


// A fleet in port: the port is a land hex (the city's) that carries the
// port's node. The click on it and the units manager's Select on one of its
// ships both open the port's fleets dialog, and the fleet sails out.
TEST_F(FleetMapOrders, AFleetInPortIsCommandedFromThePortHexAndTheUnitsManagerAndSailsOut) {
  const sWezelGrafuMorz& port = *world_->GetSeaGraph().GetNode(kWestport);
  const sWezelGrafuMorz& north = *world_->GetSeaGraph().GetNode(kNorthSea);
  ASSERT_TRUE(world_->GetMap().GetHex(port.x, port.y).IsLand());
  home_->seaNode = kWestport;

  Click(port.x, port.y);
  cDialogFlot* dialog = FleetsDialog();
  ASSERT_NE(dialog, nullptr) << "the port's hex opens its fleets";
  EXPECT_EQ(dialog->SeaNodeId(), kWestport);
  ASSERT_EQ(dialog->GetSelectedFleetAt(0), home_);
  ClickButton(*dialog, cDialogFlot::kMoveFleetId);
  EXPECT_EQ(world_->turnState.mode, kModeFleetMove);
  Click(north.x, north.y);
  EXPECT_EQ(home_->seaNode, kNorthSea) << "the fleet sailed out of port";
  EXPECT_EQ(FindDialogById(cDialogFlot::kId), nullptr);

  // Back in port: the units manager's Select on one of its ships.
  home_->seaNode = kWestport;
  home_->moved = false;
  Screen().OnKeyboard('U', true, false);
  auto* manager = dynamic_cast<cDialogJednostek*>(g_pActiveDialog);
  ASSERT_NE(manager, nullptr);
  manager->OnKeyboard(plat::kVkRight, true, false);
  manager->OnKeyboard(plat::kVkRight, true, false);  // the naval tab
  ASSERT_GT(manager->List()->GetSize(), 0);
  manager->OnKeyboard(plat::kVkReturn, true, false);
  EXPECT_EQ(FindDialogById(cDialogJednostek::kId), nullptr);
  dialog = FleetsDialog();
  ASSERT_NE(dialog, nullptr) << "Select on a ship opens its fleet's dialog";
  EXPECT_EQ(dialog->SeaNodeId(), kWestport);
  EXPECT_EQ(dialog->GetSelectedFleetAt(0), home_);
}

// A carrier lying in port: its reconnaissance marks the sea before the port,
// a click there flies it, the report tells what it found, and the fleets
// dialog comes back when the report closes.
TEST_F(FleetMapOrders, ACarrierInPortReconnoitresTheSeaAndReportsIt) {
  const float savedDelay = g_Delays[kDelayHumanCombatResult].load();
  g_Delays[kDelayHumanCombatResult] = 5000.0f;
  const sWezelGrafuMorz& port = *world_->GetSeaGraph().GetNode(kWestport);
  const sWezelGrafuMorz& north = *world_->GetSeaGraph().GetNode(kNorthSea);
  home_->seaNode = kWestport;
  cJednostkaMorska& carrier = **std::next(home_->ships.begin());
  carrier.SetType(kUnitAircraftCarrier);
  Click(port.x, port.y);
  cDialogFlot* dialog = FleetsDialog();
  ASSERT_NE(dialog, nullptr);
  for (int i = 0; i < dialog->ShipList()->GetSize(); ++i) dialog->ShipList()->GetItem(i)->bSelected = i == 1;
  dialog->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogFlot::kShipListId, dialog->ShipList());
  ASSERT_TRUE(dialog->Dialog().GetControlEnabled(cDialogFlot::kReconId));
  ClickButton(*dialog, cDialogFlot::kReconId);
  EXPECT_EQ(world_->turnState.mode, kModeRecon);
  EXPECT_NE(world_->GetMap().GetHex(north.x, north.y).markBits & 0x4000u, 0u) << "the sea before the port";

  Click(north.x, north.y);
  EXPECT_TRUE(carrier.reconDone);
  auto* report = dynamic_cast<cDialogWynikuWalki*>(g_pActiveDialog);
  ASSERT_NE(report, nullptr) << "the flight is reported";
  auto* title = dynamic_cast<CDXUTStatic*>(report->Dialog().GetControl(cDialogWynikuWalki::kTitleId));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(std::wstring(title->GetText()), L"combatresult_recon_title");
  EXPECT_EQ(world_->turnState.mode, 0);
  PopDialogs(1);
  WorldOnFrameMoveThunk(0.0, 0.05f);
  EXPECT_EQ(FleetsDialog(), dialog);
  EXPECT_TRUE(dialog->Dialog().GetVisible());
  g_Delays[kDelayHumanCombatResult] = savedDelay;
}

// The mouse over a hex that carries a sea node (its marker, its ships, a
// port's city) shows the node's hover box with its ship counts; over any
// other hex the map shows no box.
TEST_F(FleetMapOrders, TheHoveredSeaNodeShowsItsHoverBox) {
  sWezelGrafuMorz& north = *world_->GetSeaGraph().GetNode(kNorthSea);
  sWezelGrafuMorz& port = *world_->GetSeaGraph().GetNode(kWestport);
  Hover(north.ownShipX, north.ownShipY);
  EXPECT_EQ(HoverBoxNode(), &north);
  Hover(port.x, port.y);
  EXPECT_EQ(HoverBoxNode(), &port);
  // A hex of the zone without the node's marker or ships.
  Hover(8, 2);
  ASSERT_EQ(world_->GetMap().GetHex(8, 2).seaNode, 0);
  EXPECT_EQ(g_HintText.GetAnchor(), nullptr);
  Hover(north.x, north.y);
  EXPECT_EQ(HoverBoxNode(), &north);
  // The box goes with the map screen.
  world_->SetView(nullptr);
  EXPECT_EQ(g_HintText.GetAnchor(), nullptr);
}

}  // namespace
