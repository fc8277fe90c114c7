// The units manager on the fixture scenario: the lists on the map (land
// units aboard ships included), in the reserve pools and of the ships, the
// filters and their keys, the act button's state and hint, and the map
// centred on the picked unit (the deploy through the map screen is in
// tests/screens/map_screen_units_manager_test.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/string_base.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/units_manager_dialog.h"
#include "files/world_loader.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_listbox.h"
#include "gui/gui_fixture.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {


std::vector<std::wstring> Cells(const std::wstring& row) {
  std::vector<std::wstring> cells;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = row.find(L';', start);
    cells.push_back(row.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) return cells;
    start = end + 1;
  }
}

class UnitsManager : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    world_->turnState.SetCurrentCountry(world_->GetCountry(kWestland));
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    world_.reset();
    g_pWorld = nullptr;
    GuiTest::TearDown();
  }
  cDialogJednostek* Open(int countryId) {
    auto* dialog = new cDialogJednostek(*world_, view_, countryId);
    PushDialog(dialog);
    return dialog;
  }
  static std::vector<std::wstring> Names(cDialogJednostek* dialog) {
    std::vector<std::wstring> names;
    for (int i = 0; i < dialog->List()->GetSize(); ++i) names.push_back(Cells(dialog->List()->GetItem(i)->strText)[0]);
    return names;
  }
  static std::wstring Row(cDialogJednostek* dialog, int index) { return dialog->List()->GetItem(index)->strText; }
  static CDXUTButton* Act(cDialogJednostek* dialog) {
    return dynamic_cast<CDXUTButton*>(dialog->Dialog().GetControl(cDialogJednostek::kActId));
  }
  static std::wstring ActHint(cDialogJednostek* dialog) {
    const wchar_t* hint = Act(dialog)->GetHint();
    return hint != nullptr ? hint : L"";
  }
  static void Key(cDialogJednostek* dialog, unsigned key) { dialog->OnKeyboard(key, true, false); }
  static void PickRow(cDialogJednostek* dialog, int index) {
    dialog->List()->SelectItem(index, false);
    dialog->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogJednostek::kListId, dialog->List());
  }
  static const wchar_t* Text(const char* key) { return g_StringBase.GetText(key); }
  // Whether the map is centred on the hex and it is the selected one.
  void ExpectCentredOn(int x, int y) {
    cMap& map = world_->GetMap();
    const float viewX = map.viewX, viewY = map.viewY;
    map.CenterAtHex(x, y);
    EXPECT_EQ(viewX, map.viewX);
    EXPECT_EQ(viewY, map.viewY);
    EXPECT_EQ(world_->turnState.selectedHex, &map.GetHex(x, y));
  }

  sUnitsManagerView view_;
  std::unique_ptr<cWorld> world_;
};

TEST_F(UnitsManager, LandListHoldsTheMapThenAboardAndFiltersByType) {
  cDialogJednostek* dialog = Open(kWestland);
  EXPECT_EQ(Names(dialog), (std::vector<std::wstring>{L"1st Infantry", L"2nd Armoured", L"1st Airborne", L"Marines"}));
  // Fourteen cells: the state, then eight marks.
  const std::vector<std::wstring> armour = Cells(Row(dialog, 1));
  ASSERT_EQ(armour.size(), 14u);
  EXPECT_EQ(armour[3], L"4");  // action points
  EXPECT_EQ(armour[4], cUnit::GetSubtypeText(world_.get(), 4));
  EXPECT_EQ(armour[5], L"1");  // level
  for (std::size_t i = 6; i < 14; ++i) EXPECT_TRUE(armour[i] == L"+" || armour[i] == L" ") << i;
  // The unit with its own commander says so.
  EXPECT_EQ(Cells(Row(dialog, 0))[8], L"+");
  // Aboard a ship a unit can do nothing of it.
  const std::vector<std::wstring> marines = Cells(Row(dialog, 3));
  for (std::size_t i = 6; i < 14; ++i) EXPECT_EQ(marines[i], L" ") << i;
  // The first row is picked and can be selected.
  EXPECT_EQ(view_.selectedUnit->name, L"1st Infantry");
  EXPECT_TRUE(Act(dialog)->GetEnabled());
  EXPECT_EQ(ActHint(dialog), Text("units_mgr_select_hint"));
  // The filter caption counts the type on the map and in the reserve.
  auto* infantry = dynamic_cast<CDXUTCheckBox*>(dialog->Dialog().GetControl(cDialogJednostek::kFirstLandFilterId));
  EXPECT_EQ(std::wstring(infantry->GetText()), cUnit::GetSubtypeText(world_.get(), 0) + L" (2+[1])");

  // Key 1 drops infantry (the marines too); the pick moves to the first row.
  PickRow(dialog, 2);
  Key(dialog, '1');
  EXPECT_FALSE(infantry->GetChecked());
  EXPECT_EQ(Names(dialog), (std::vector<std::wstring>{L"2nd Armoured", L"1st Airborne"}));
  EXPECT_EQ(view_.selectedUnit->name, L"2nd Armoured");
  // 0 empties the list, 9 brings every type back.
  Key(dialog, '0');
  EXPECT_EQ(dialog->List()->GetSize(), 0);
  EXPECT_EQ(view_.selectedUnit, nullptr);
  EXPECT_FALSE(Act(dialog)->GetEnabled());
  EXPECT_EQ(ActHint(dialog), Text("units_mgr_select_hint_no_unit_selected"));
  Key(dialog, 0x60 + 9);
  EXPECT_EQ(dialog->List()->GetSize(), 4);
  EXPECT_EQ(view_.landFilter & 0x7Fu, 0x7Fu);
  // A carried unit is listed but has no hex to be selected on.
  PickRow(dialog, 3);
  EXPECT_FALSE(Act(dialog)->GetEnabled());
  EXPECT_EQ(ActHint(dialog), Text("units_mgr_select_hint_unit_aboard"));
}

TEST_F(UnitsManager, ReserveListsTellWhenAUnitCanDeploy) {
  cDialogJednostek* dialog = Open(kWestland);
  Key(dialog, 'D');
  EXPECT_EQ(view_.listMode, kUnitsListToDeploy);
  ASSERT_EQ(dialog->List()->GetSize(), 1);
  EXPECT_EQ(Row(dialog, 0), L"Reserve Infantry;" + cUnit::GetSubtypeText(world_.get(), 0) + L";1;" +
                                std::wstring(Text("units_mgr_units_list_avail_now")));
  EXPECT_EQ(std::wstring(Act(dialog)->GetText()), Text("units_mgr_deploy"));
  cUnit* reserve = view_.selectedUnit;
  ASSERT_NE(reserve, nullptr);
  const bool canDeploy = reserve->MarkDeployHexes(false) > 0;
  EXPECT_EQ(Act(dialog)->GetEnabled(), canDeploy);
  EXPECT_EQ(ActHint(dialog), Text(canDeploy ? "units_mgr_deploy_hint" : "units_mgr_deploy_hint_no_destination_hexes"));
  // Two turns to wait: shown, and no deploy yet.
  reserve->availableInTurns = 2;
  dialog->FillUnitList(-1);
  EXPECT_EQ(Cells(Row(dialog, 0))[3], plat::Format(std::wstring(Text("units_mgr_units_list_avail_in_%i_turns")), 2));
  EXPECT_FALSE(Act(dialog)->GetEnabled());
  EXPECT_EQ(ActHint(dialog), Text("units_mgr_deploy_hint_not_ready_to_deploy"));
  // The air reserve of Westland is empty; the list mode outlives the dialog.
  Key(dialog, plat::kVkRight);
  EXPECT_EQ(dialog->Category(), kCategoryAir);
  EXPECT_EQ(dialog->List()->GetSize(), 0);
  Key(dialog, plat::kVkEscape);
  DeleteRetiredDialogs();
  cDialogJednostek* eastmark = Open(kEastmark);
  EXPECT_EQ(view_.listMode, kUnitsListToDeploy);
  Key(eastmark, plat::kVkRight);
  EXPECT_EQ(Names(eastmark), std::vector<std::wstring>{L"Eastmark Bombers"});
  Key(eastmark, plat::kVkRight);
  ASSERT_EQ(eastmark->List()->GetSize(), 1);
  EXPECT_EQ(Row(eastmark, 0), L"EM Reserve Cruiser;" + cUnit::GetSubtypeText(world_.get(), 42) + L";" +
                                  std::wstring(Text("units_mgr_units_list_avail_now")));
  // Past the last tab the frame stays on it.
  Key(eastmark, plat::kVkRight);
  EXPECT_EQ(eastmark->Category(), kCategoryNaval);
}

TEST_F(UnitsManager, ShipsShowHitPointsFleetAndSeaZone) {
  cDialogJednostek* dialog = Open(kWestland);
  Key(dialog, plat::kVkRight);
  Key(dialog, plat::kVkRight);
  ASSERT_EQ(dialog->List()->GetSize(), 3);
  const std::wstring northSea = world_->GetSeaGraph().GetNode(kNorthSea)->name;
  EXPECT_EQ(Row(dialog, 0), L"WS Resolute;83% (5/6);" + cUnit::GetSubtypeText(world_.get(), 41) + L";Home Fleet;" + northSea);
  // Whole per cents, truncated; no maximum counts as 0 per cent.
  cJednostkaMorska* swift = world_->Units().navalUnits.front();
  swift->hitPoints = 7;
  swift->maxHitPoints = 9;
  dialog->FillUnitList(-1);
  EXPECT_EQ(Cells(Row(dialog, 0))[1], L"77% (7/9)");
  swift->maxHitPoints = 0;
  dialog->FillUnitList(-1);
  EXPECT_EQ(Cells(Row(dialog, 0))[1], L"0% (7/0)");
  // Key 5 toggles the fifth naval filter (transports); on the air tab, with
  // three filters, it does nothing.
  Key(dialog, '5');
  EXPECT_EQ(dialog->List()->GetSize(), 2);
  Key(dialog, plat::kVkLeft);
  const std::uint32_t air = view_.airFilter;
  Key(dialog, '5');
  EXPECT_EQ(view_.airFilter, air);
}

TEST_F(UnitsManager, PickingARowCentresTheMapAndSelectTakesTheUnit) {
  cDialogJednostek* dialog = Open(kWestland);
  PickRow(dialog, 1);
  ExpectCentredOn(6, 4);
  // A unit aboard: its ship's fleet's sea zone, where the player's ships are
  // drawn.
  const sWezelGrafuMorz* node = world_->GetSeaGraph().GetNode(kNorthSea);
  PickRow(dialog, 3);
  ExpectCentredOn(node->ownShipX, node->ownShipY);
  // Without auto-centre (key A) the map stays.
  Key(dialog, 'A');
  EXPECT_FALSE(view_.autoCentre);
  PickRow(dialog, 0);
  ExpectCentredOn(node->ownShipX, node->ownShipY);
  // Switching it on centres on the pick at once.
  Key(dialog, 'A');
  ExpectCentredOn(3, 5);
  // Select: the unit's hex, its move range, the move mode; the dialog goes.
  PickRow(dialog, 1);
  Key(dialog, plat::kVkReturn);
  EXPECT_EQ(world_->turnState.mode, cDialogJednostek::kModeMoveLand);
  EXPECT_EQ(world_->turnState.selectedHex, &world_->GetMap().GetHex(6, 4));
  EXPECT_TRUE(IsRetiredDialog(dialog));
}

}  // namespace
