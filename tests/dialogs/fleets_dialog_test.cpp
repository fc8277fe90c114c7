// The fleets dialog on the fixture scenario's North Sea: the rows of its
// fleet and ships, split and merge (an emptied fleet deleted while the
// dialog is open, and never touched again), rename with OK and Cancel,
// disband of the last ship, the buttons' reasons, and the destinations that
// several fleets share. No language base is loaded: a text is its key.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_stack.h"
#include "dialogs/fleets_dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "files/world_loader.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/recording_renderer.h"
#include "rules/fleet_management.h"
#include "support/fake_framework.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

// Node ids of the fixture: 1 North Sea, 2 Strait (zones), 3 Westport,
// 4 Eastport, 5 Straitport.

class FleetsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
    folder_ = std::make_unique<twtest::ScopedWorkingFolder>(dir_.Path());
    LoadWorld(settings);
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    sScenarioConstants& k = world_->constants;
    k.fleetReachSteps = 2;
    k.navalReachValue = {2, 2, 2, 2, 1, 1};
    k.minPortSize = {1, 1, 1, 1, 1, 1};
    k.navalRepairCost = {5, 5, 5, 5, 5, 5};
    Control(kWestport, 1);
    Control(kStraitport, 1);
    world_->turnState.SetCurrentCountry(world_->GetCountry(1));
    world_->GetCountry(1)->productionPoints = 100;
    home_ = FleetNamed(L"Home Fleet");
    ASSERT_NE(home_, nullptr);
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    world_.reset();
    g_pWorld = nullptr;
  }
  cFleet* FleetNamed(const wchar_t* name) {
    for (cFleet* fleet : world_->Units().fleets) {
      if (fleet->name == name) return fleet;
    }
    return nullptr;
  }
  cJednostkaMorska* Ship(const wchar_t* name) {
    for (cJednostkaMorska* ship : world_->Units().navalUnits) {
      if (ship->name == name) return ship;
    }
    return nullptr;
  }
  void Control(int node, int country) {
    const sWezelGrafuMorz& n = *world_->GetSeaGraph().GetNode(node);
    world_->GetMap().GetHex(n.x, n.y).controller = static_cast<std::uint8_t>(country);
  }
  bool IsFleet(const cFleet* fleet) {
    const auto& fleets = world_->Units().fleets;
    return std::find(fleets.begin(), fleets.end(), fleet) != fleets.end();
  }
  cDialogFlot& Open(int node = kNorthSea) {
    auto* d = new cDialogFlot(*world_, node);
    PushDialog(d);
    return *d;
  }
  static std::wstring Rows(const CDXUTListBox* list) {
    std::wstring out;
    for (int i = 0; i < list->GetSize(); ++i) out += list->GetItem(i)->strText + L"\n";
    return out;
  }
  // Marks exactly the ship rows given, as a click with Ctrl would, and
  // tells the dialog.
  static void SelectShips(cDialogFlot& d, std::initializer_list<int> rows) {
    for (int i = 0; i < d.ShipList()->GetSize(); ++i) d.ShipList()->GetItem(i)->bSelected = false;
    for (int row : rows) d.ShipList()->GetItem(row)->bSelected = true;
    d.OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogFlot::kShipListId, d.ShipList());
  }
  static void SelectFleetRow(cDialogFlot& d, int row) {
    d.FleetList()->SelectItem(row, false);
    d.OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogFlot::kFleetListId, d.FleetList());
  }
  static void Click(cDialogFlot& d, int id) { d.OnGUIEvent(EVENT_BUTTON_CLICKED, id, d.Dialog().GetControl(id)); }
  static std::wstring Hint(cDialogFlot& d, int id) {
    const wchar_t* hint = d.Dialog().GetControl(id)->GetHint();
    return hint != nullptr ? hint : L"";
  }
  static bool Enabled(cDialogFlot& d, int id) { return d.Dialog().GetControlEnabled(id); }

  twtest::TempDir dir_;
  std::unique_ptr<twtest::ScopedWorkingFolder> folder_;
  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  std::unique_ptr<cWorld> world_;
  cFleet* home_ = nullptr;
};

TEST_F(FleetsDialog, RowsOfTheFixturesFleetAndShips) {
  // A ship without a maximum shows 0 per cent, and so does a fleet of such
  // ships (its maximum counts as 1).
  cJednostkaMorska* pigeon = Ship(L"WS Carrier Pigeon");
  pigeon->hitPoints = pigeon->maxHitPoints = 0;
  cDialogFlot& d = Open();
  ASSERT_EQ(d.SelectedFleetCount(), 1);
  EXPECT_EQ(d.GetSelectedFleetAt(5), home_);
  const std::wstring fleetRow = plat::Format(L"Home Fleet;3;90%% (9/10);%.1f;active;regular\n",
                                             static_cast<double>(home_->GetCombatValue(*world_)));
  EXPECT_EQ(Rows(d.FleetList()), fleetRow);
  const std::wstring shipRows =
      plat::Format(L"WS Resolute;83%% (5/6);%.1f;unit_subtype_battleship\n"
                   L"WS Swift;100%% (4/4);%.1f;unit_subtype_cruiser\n",
                   static_cast<double>(Ship(L"WS Resolute")->GetCombatValue(*world_)),
                   static_cast<double>(Ship(L"WS Swift")->GetCombatValue(*world_)));
  EXPECT_EQ(Rows(d.ShipList()).substr(0, shipRows.size()), shipRows);
  EXPECT_NE(Rows(d.ShipList()).find(L"WS Carrier Pigeon;0% (0/0);"), std::wstring::npos);
  // The first ship is taken when none is marked.
  EXPECT_EQ(d.SelectedShipCount(), 1);
  EXPECT_EQ(d.GetSelectedUnitAt(0)->name, L"WS Resolute");

  pigeon->maxHitPoints = 0;
  home_->ships.remove(Ship(L"WS Resolute"));
  home_->ships.remove(Ship(L"WS Swift"));
  EXPECT_EQ(FleetConditionPercent(0, home_->GetTotalMaxHp()), 0);
  home_->ships.push_front(Ship(L"WS Swift"));
  home_->ships.push_front(Ship(L"WS Resolute"));
  // Another country's fleet at a node is not listed.
  cDialogFlot& strait = Open(kStrait);
  EXPECT_EQ(strait.FleetList()->GetSize(), 0);
  EXPECT_EQ(strait.GetSelectedFleetAt(0), nullptr);
  EXPECT_EQ(strait.GetSelectedUnitAt(0), nullptr);
}

TEST_F(FleetsDialog, TheShipPictureFallsBackFromCountryToTypeToDefault) {
  namespace fs = std::filesystem;
  const fs::path source = twtest::FindSourceRoot("data/gfx/Units images/default.png") / "data/gfx/Units images";
  const fs::path pictures = dir_.Path() / "data/gfx/Units images";
  fs::create_directories(pictures);
  for (const char* name : {"default.png", "41_1_1.png", "42.png"}) {
    fs::copy_file(source / "default.png", pictures / name);
  }
  cDialogFlot& d = Open();
  CDXUTControl* image = d.Dialog().GetControl(cDialogFlot::kPictureId);
  EXPECT_EQ(d.PictureFile(), L"data\\gfx\\Units images\\41_1_1.png");
  EXPECT_TRUE(image->GetVisible());
  SelectShips(d, {1});
  EXPECT_EQ(d.PictureFile(), L"data\\gfx\\Units images\\42.png");
  SelectShips(d, {2});
  EXPECT_EQ(d.PictureFile(), L"data\\gfx\\Units images\\default.png");
  // Several ships: no picture.
  SelectShips(d, {0, 2});
  EXPECT_FALSE(image->GetVisible());
  // Nothing loads at all: no picture, and nothing breaks.
  fs::remove_all(pictures);
  SelectShips(d, {1});
  EXPECT_EQ(d.PictureFile(), L"");
}

TEST_F(FleetsDialog, SplitThenMoveEveryShipBackDeletesTheEmptiedFleetWhileOpen) {
  cDialogFlot& d = Open();
  SelectShips(d, {0, 1});
  Click(d, cDialogFlot::kCreateFleetId);
  // The new fleet stands beside the old one with the two ships; the old
  // one keeps the third.
  ASSERT_EQ(d.FleetList()->GetSize(), 2);
  cFleet* split = world_->Units().fleets.back();
  EXPECT_NE(split, home_);
  EXPECT_EQ(split->seaNode, kNorthSea);
  EXPECT_EQ(split->ships.size(), 2u);
  EXPECT_EQ(Ship(L"WS Resolute")->fleet, split);
  EXPECT_EQ(home_->ships.size(), 1u);
  EXPECT_EQ(home_->ships.front()->name, L"WS Carrier Pigeon");
  EXPECT_EQ(d.GetSelectedFleetAt(0), home_);

  // Move ships: the list prompt offers the other fleet by its id.
  Click(d, cDialogFlot::kMoveShipsId);
  auto* prompt = dynamic_cast<cDialogPobraniaListy*>(g_pActiveDialog);
  ASSERT_NE(prompt, nullptr);
  ASSERT_EQ(prompt->List()->GetSize(), 1);
  EXPECT_EQ(prompt->List()->GetItem(0)->strText, split->name);
  EXPECT_EQ(d.Pending(), cDialogFlot::kPendingMoveShips);
  // OK: the last ship of Home Fleet leaves it, Home Fleet is deleted, and
  // the dialog (shown again) holds the fleet that is left.
  prompt->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPobraniaListy::kOkId, nullptr);
  EXPECT_EQ(PromptListResult, std::vector<int>{split->id});
  EXPECT_FALSE(IsFleet(home_));
  EXPECT_EQ(g_pActiveDialog, &d);
  EXPECT_EQ(d.Pending(), cDialogFlot::kPendingNone);
  EXPECT_EQ(split->ships.size(), 3u);
  EXPECT_EQ(Ship(L"WS Carrier Pigeon")->fleet, split);
  ASSERT_EQ(d.FleetList()->GetSize(), 1);
  EXPECT_EQ(d.GetSelectedFleetAt(0), split);
  EXPECT_EQ(d.ShipList()->GetSize(), 3);

  // Every ship split off: the new fleet takes them all and the old one is
  // deleted under the dialog's hands.
  SelectShips(d, {0, 1, 2});
  Click(d, cDialogFlot::kCreateFleetId);
  EXPECT_FALSE(IsFleet(split));
  ASSERT_EQ(d.FleetList()->GetSize(), 1);
  split = d.GetSelectedFleetAt(0);
  EXPECT_EQ(split->ships.size(), 3u);
  // A fleet deleted elsewhere leaves the selection at once.
  d.RemoveFleet(split);
  EXPECT_EQ(d.SelectedFleetCount(), 0);
  EXPECT_EQ(d.SelectedShipCount(), 0);
}

TEST_F(FleetsDialog, MoveShipsRefusesMovedFleetsAndAStaleFleetId) {
  cDialogFlot& d = Open();
  EXPECT_FALSE(Enabled(d, cDialogFlot::kMoveShipsId));
  EXPECT_EQ(Hint(d, cDialogFlot::kMoveShipsId), L"fleets_move_group_hint_no_possible_destination_fleets");
  SelectShips(d, {2});
  Click(d, cDialogFlot::kCreateFleetId);
  cFleet* split = world_->Units().fleets.back();
  // A destination that has moved this turn is none.
  split->moved = true;
  SelectFleetRow(d, 0);
  EXPECT_FALSE(Enabled(d, cDialogFlot::kMoveShipsId));
  split->moved = false;
  SelectFleetRow(d, 0);
  EXPECT_TRUE(Enabled(d, cDialogFlot::kMoveShipsId));
  EXPECT_EQ(Hint(d, cDialogFlot::kMoveShipsId), L"fleets_move_group_hint");
  // The fleet itself has moved.
  home_->moved = true;
  SelectFleetRow(d, 0);
  EXPECT_EQ(Hint(d, cDialogFlot::kMoveShipsId), L"fleets_move_group_hint_fleet_already_moved");
  home_->moved = false;
  // An id that names no destination fleet moves nothing.
  const ShipGroup ships{Ship(L"WS Resolute")};
  EXPECT_EQ(MoveShipsToFleet(*world_, *home_, ships, home_->id), eShipOrderRefusal::kUnknownFleet);
  EXPECT_EQ(MoveShipsToFleet(*world_, *home_, ships, 9999), eShipOrderRefusal::kUnknownFleet);
  EXPECT_EQ(Ship(L"WS Resolute")->fleet, home_);
}

TEST_F(FleetsDialog, RenameKeepsTheNameOnCancelAndCutsItAt99) {
  cDialogFlot& d = Open();
  Click(d, cDialogFlot::kRenameFleetId);
  auto* prompt = dynamic_cast<cDialogPobraniaTekstu*>(g_pActiveDialog);
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(std::wstring(prompt->EditBox()->GetText()), L"Home Fleet");
  prompt->EditBox()->SetText(L"Channel Fleet");
  prompt->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPobraniaTekstu::kCancelId, nullptr);
  EXPECT_EQ(home_->name, L"Home Fleet");
  Click(d, cDialogFlot::kRenameFleetId);
  prompt = dynamic_cast<cDialogPobraniaTekstu*>(g_pActiveDialog);
  ASSERT_NE(prompt, nullptr);
  prompt->EditBox()->SetText(L"Channel Fleet");
  prompt->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPobraniaTekstu::kOkId, nullptr);
  EXPECT_EQ(home_->name, L"Channel Fleet");
  EXPECT_EQ(d.FleetList()->GetItem(0)->strText.substr(0, 14), L"Channel Fleet;");

  // The ship's name: one ship only.
  SelectShips(d, {1});
  Click(d, cDialogFlot::kRenameShipId);
  prompt = dynamic_cast<cDialogPobraniaTekstu*>(g_pActiveDialog);
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(std::wstring(prompt->EditBox()->GetText()), L"WS Swift");
  prompt->EditBox()->SetText(L"WS Swiftsure");
  prompt->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPobraniaTekstu::kOkId, nullptr);
  EXPECT_EQ(Ship(L"WS Swiftsure")->fleet, home_);
  RenameFleet(*home_, std::wstring(150, L'x'));
  EXPECT_EQ(home_->name.size(), 99u);
}

TEST_F(FleetsDialog, DisbandingTheLastShipDeletesTheFleetAndClosesTheDialog) {
  // Two ships go to a fleet of their own; the third is disbanded.
  cDialogFlot& d = Open();
  SelectShips(d, {0, 1});
  Click(d, cDialogFlot::kCreateFleetId);
  cFleet* split = world_->Units().fleets.back();
  SelectFleetRow(d, 0);
  ASSERT_EQ(d.GetSelectedFleetAt(0), home_);
  Click(d, cDialogFlot::kDisbandId);
  auto* question = dynamic_cast<cDialogPotwierdzenia*>(g_pActiveDialog);
  ASSERT_NE(question, nullptr);
  question->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwierdzenia::kNoId, nullptr);
  EXPECT_EQ(home_->ships.size(), 1u);
  Click(d, cDialogFlot::kDisbandId);
  question = dynamic_cast<cDialogPotwierdzenia*>(g_pActiveDialog);
  ASSERT_NE(question, nullptr);
  question->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwierdzenia::kYesId, nullptr);
  EXPECT_FALSE(IsFleet(home_));
  EXPECT_EQ(Ship(L"WS Carrier Pigeon"), nullptr);
  EXPECT_EQ(d.FleetList()->GetSize(), 1);
  EXPECT_EQ(d.GetSelectedFleetAt(0), split);

  // The last two ships: the dialog has nothing left to show and closes.
  SelectShips(d, {0, 1});
  Click(d, cDialogFlot::kDisbandId);
  question = dynamic_cast<cDialogPotwierdzenia*>(g_pActiveDialog);
  ASSERT_NE(question, nullptr);
  question->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwierdzenia::kYesId, nullptr);
  EXPECT_FALSE(IsFleet(split));
  EXPECT_EQ(FindDialogById(cDialogFlot::kId), nullptr);
  EXPECT_EQ(world_->FleetWatcher(), nullptr);
  EXPECT_TRUE(FleetsAtNode(*world_, kNorthSea, 1).empty());
}

TEST_F(FleetsDialog, AClosedDialogFreedAfterTheWorldNeverReachesIt) {
  Open();
  EXPECT_NE(world_->FleetWatcher(), nullptr);
  // As when a game ends: the dialogs close, the world goes, and the closed
  // dialogs are freed at the end of the frame.
  PopDialogs(-1);
  EXPECT_EQ(world_->FleetWatcher(), nullptr);
  world_.reset();
  g_pWorld = nullptr;
  DeleteRetiredDialogs();
}

TEST_F(FleetsDialog, ButtonsTellWhyTheyAreDisabled) {
  cDialogFlot& d = Open();
  // One ship (the battleship, at sea).
  EXPECT_EQ(Hint(d, cDialogFlot::kRepairId), L"fleets_repair_group_hint_move_to_port");
  EXPECT_EQ(Hint(d, cDialogFlot::kUnloadId), L"fleets_unload_hint_not_a_transport_unit");
  EXPECT_EQ(Hint(d, cDialogFlot::kAirStrikeId), L"fleets_attack_hex_hint_not_a_carrier_unit");
  EXPECT_EQ(Hint(d, cDialogFlot::kReconId), L"fleets_recon_hint_no_aircraft_carrier_selected");
  EXPECT_EQ(Hint(d, cDialogFlot::kShoreBombardmentId), L"fleets_shorebombardment_hint_no_target_hexes_in_range");
  EXPECT_TRUE(Enabled(d, cDialogFlot::kCreateFleetId));
  EXPECT_TRUE(Enabled(d, cDialogFlot::kDisbandId));
  EXPECT_TRUE(Enabled(d, cDialogFlot::kRenameShipId));
  Ship(L"WS Resolute")->shoreBombardmentDone = true;
  SelectShips(d, {0});
  EXPECT_EQ(Hint(d, cDialogFlot::kShoreBombardmentId),
            L"fleets_shorebombardment_hint_all_selected_battleships_and_cruisers_already_bombed");
  // The cargo ship carries the marines, shown below the list; at sea it
  // must go to a port to land them.
  SelectShips(d, {2});
  auto* aboard = dynamic_cast<CDXUTStatic*>(d.Dialog().GetControl(cDialogFlot::kTransportedId));
  ASSERT_NE(Ship(L"WS Carrier Pigeon")->carriedUnit, nullptr);
  EXPECT_EQ(std::wstring(aboard->GetText()).substr(0, 8), L"Marines_");
  EXPECT_EQ(Hint(d, cDialogFlot::kUnloadId), L"fleets_unload_hint_move_to_port");
  cJednostkaLadowa* marines = Ship(L"WS Carrier Pigeon")->carriedUnit;
  Ship(L"WS Carrier Pigeon")->carriedUnit = nullptr;
  SelectShips(d, {2});
  EXPECT_EQ(Hint(d, cDialogFlot::kUnloadId), L"fleets_unload_hint_no_cargo");
  EXPECT_EQ(std::wstring(aboard->GetText()), L"fleets_transported_none");
  Ship(L"WS Carrier Pigeon")->carriedUnit = marines;
  EXPECT_EQ(Hint(d, cDialogFlot::kShoreBombardmentId),
            L"fleets_shorebombardment_hint_no_battleship_or_cruiser_selected");
  // Several ships.
  SelectShips(d, {0, 1});
  for (int id : {cDialogFlot::kRenameShipId, cDialogFlot::kCommanderId, cDialogFlot::kRepairId}) {
    EXPECT_FALSE(Enabled(d, id)) << id;
  }
  EXPECT_EQ(Hint(d, cDialogFlot::kRenameShipId), L"fleets_rename_group_hint_multiple_selection");
  EXPECT_EQ(Hint(d, cDialogFlot::kCommanderId), L"fleets_group_commander_hint_multiple_selection");
  EXPECT_EQ(Hint(d, cDialogFlot::kRepairId), L"fleets_repair_group_hint_multiple_selection");
  EXPECT_EQ(Hint(d, cDialogFlot::kUnloadId), L"fleets_unload_hint_multiple_selection");
  EXPECT_EQ(Hint(d, cDialogFlot::kAirStrikeId), L"fleets_attack_hex_hint_multiple_selection");
  EXPECT_FALSE(d.Dialog().GetControl(cDialogFlot::kPictureId)->GetVisible());

  // In port: full hit points, then the repair itself and its second try.
  PopDialogs(-1);
  home_->seaNode = kWestport;
  cDialogFlot& port = Open(kWestport);
  SelectShips(port, {1});
  EXPECT_EQ(Hint(port, cDialogFlot::kRepairId), L"fleets_repair_group_hint_full_hp");
  SelectShips(port, {0});
  EXPECT_TRUE(Enabled(port, cDialogFlot::kRepairId));
  world_->GetCountry(1)->productionPoints = 4;
  SelectShips(port, {0});
  EXPECT_EQ(Hint(port, cDialogFlot::kRepairId), L"fleets_repair_group_hint_not_enough_pp");
  world_->constants.minPortSize[1] = 9;
  world_->GetCountry(1)->productionPoints = 100;
  SelectShips(port, {0});
  EXPECT_EQ(Hint(port, cDialogFlot::kRepairId), L"fleets_repair_group_hint_port_to_small");
  world_->constants.minPortSize[1] = 1;
  SelectShips(port, {0});
  Click(port, cDialogFlot::kRepairId);
  EXPECT_EQ(Ship(L"WS Resolute")->hitPoints, 6);
  EXPECT_DOUBLE_EQ(world_->GetCountry(1)->productionPoints, 95.0);
  // The selection stays on the repaired ship, now undamaged; a second
  // repair in the same turn is refused by the rule.
  EXPECT_EQ(port.GetSelectedUnitAt(0), Ship(L"WS Resolute"));
  EXPECT_EQ(Hint(port, cDialogFlot::kRepairId), L"fleets_repair_group_hint_full_hp");
  Ship(L"WS Resolute")->hitPoints = 5;
  SelectShips(port, {0});
  EXPECT_EQ(Hint(port, cDialogFlot::kRepairId), L"fleets_repair_group_hint_already_repaired");
  EXPECT_EQ(RepairShip(*world_, *Ship(L"WS Resolute")), eShipOrderRefusal::kAlreadyRepaired);

  // The fleet has moved: no move, with its reason.
  home_->moved = true;
  SelectFleetRow(port, 0);
  EXPECT_FALSE(Enabled(port, cDialogFlot::kMoveFleetId));
  EXPECT_EQ(Hint(port, cDialogFlot::kMoveFleetId), L"fleets_move_fleet_hint_already_moved");
}

TEST_F(FleetsDialog, FormationAndReadiness) {
  cDialogFlot& d = Open();
  auto* active = dynamic_cast<CDXUTCheckBox*>(d.Dialog().GetControl(cDialogFlot::kActiveId));
  auto* raiders = dynamic_cast<CDXUTCheckBox*>(d.Dialog().GetControl(cDialogFlot::kRaidersId));
  ASSERT_NE(active, nullptr);
  EXPECT_TRUE(active->GetChecked());
  active->SetChecked(false);
  d.OnGUIEvent(EVENT_CHECKBOX_CHANGED, cDialogFlot::kActiveId, active);
  EXPECT_FALSE(home_->active);
  EXPECT_EQ(Hint(d, cDialogFlot::kActiveId), L"fleets_passive_hint");
  raiders->SetChecked(true);
  d.OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, cDialogFlot::kRaidersId, raiders);
  EXPECT_EQ(home_->formation, kFormationRaiders);
  EXPECT_FALSE(Enabled(d, cDialogFlot::kActiveId));
  EXPECT_NE(d.FleetList()->GetItem(0)->strText.find(L";passive;raider"), std::wstring::npos);
  // The regular button reported as unchecked by the group's clearing
  // changes nothing.
  d.OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, cDialogFlot::kRegularId, d.Dialog().GetControl(cDialogFlot::kRegularId));
  EXPECT_EQ(home_->formation, kFormationRaiders);
}

TEST_F(FleetsDialog, FleetsMoveOnlyWhereEveryOneOfThemCanGo) {
  // A second fleet at sea of carriers too big for any port here.
  cDialogFlot& d = Open();
  SelectShips(d, {0});
  Click(d, cDialogFlot::kCreateFleetId);
  cFleet* battleship = world_->Units().fleets.back();
  EXPECT_EQ(CommonDestinations(*world_, {home_}), (std::vector<int>{kStrait, kWestport, kStraitport}));
  world_->constants.navalReachValue[1] = 9;
  EXPECT_EQ(CommonDestinations(*world_, {battleship}), (std::vector<int>{kStrait}));
  EXPECT_EQ(CommonDestinations(*world_, {home_, battleship}), (std::vector<int>{kStrait}));
  // A strait held by the enemy closes the one way both shared.
  for (sSeaLink& link : world_->GetSeaGraph().GetNode(kNorthSea)->links) {
    if (link.node == kStrait) link.straitX = 9, link.straitY = 3;
  }
  world_->GetMap().GetHex(9, 3).controller = 2;
  EXPECT_TRUE(CommonDestinations(*world_, {home_, battleship}).empty());
  SelectFleetRow(d, 1);
  ASSERT_EQ(d.GetSelectedFleetAt(0), battleship);
  EXPECT_FALSE(Enabled(d, cDialogFlot::kMoveFleetId));
  EXPECT_EQ(Hint(d, cDialogFlot::kMoveFleetId), L"fleets_move_fleet_hint_no_destination_available");
  SelectFleetRow(d, 0);
  EXPECT_TRUE(Enabled(d, cDialogFlot::kMoveFleetId));
}

}  // namespace
