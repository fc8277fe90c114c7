// The unit panel: what it shows for land, air and enemy units and for
// hexes without one, that every icon follows the unit's own check, that the
// orders of later versions stay disabled, and that a unit killed while it is
// shown leaves the panel and is never acted on.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialogs/commanders_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "dialogs/replacements_dialog.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "dialogs/combat_result_dialog.h"
#include "support/test_support.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_static.h"
#include "platform/recording_renderer.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/menu.h"
#include "screens/unit_panel.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/commander.h"
#include "world/game_phase.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/sea_graph.h"
#include "world/strategic_movement.h"
#include "world/world.h"

namespace {

constexpr int kAllIcons[] = {kUnitRenameIconId,        kUnitUpgradeIconId,     kUnitLevelUpIconId,
                             kUnitSupplyIconId,        kUnitCommanderIconId,   kUnitReplacementsIconId,
                             kUnitDisbandIconId,       kUnitUndoIconId,        kUnitStrategicMoveIconId,
                             kUnitAirborneIconId,      kUnitAmphibiousIconId,  kUnitSeaTransportIconId,
                             kUnitAirFightIconId,      kUnitBombardIconId,     kUnitReconIconId,
                             kUnitNuclearIconId};
constexpr int kValues[] = {kUnitNameId,     kUnitOwnerId,    kUnitSizeId,          kUnitLevelId, kUnitSupplyId,
                           kUnitPointsId,   kUnitCommanderId, kUnitStrengthId, kUnitEffectivenessId, kUnitBonusId};

class UnitPanel : public ::testing::Test {
 protected:
  UnitPanel() : w_({"pppppp", "pppppp", "ppp~~~", "ppp~~~"}) {
    w_.AddCountries({kAllies, kAxis});
    w_.War(1, 2);
    w_.Country(1).human = true;
    w_.Country(1).active = w_.Country(2).active = true;
    w_.Country(1).productionPoints = 500.0;
    World().constants.noSupplyTurnsLimit = 4;
    World().constants.entrenchmentFactor = 2.5f;
    LandUnitConstants().baseStrength[0].fill(10.0f);
    World().turnState.SetCurrentCountry(&w_.Country(1));
    World().SetView(MakeMapScreen(World()));
    World().SetGameState(kPhaseHumanTurn);
    city_ = w_.AddCity(0, 0, 1);
    city_->name = L"Lyon";
  }
  ~UnitPanel() override {
    g_Settings.MapZoom = saved_zoom_;
    PopDialogs(-1);
    DeleteRetiredDialogs();
    World().SetView(nullptr);
    RetireCurrentMenu();
    DeleteRetiredMenus();
  }
  cWorld& World() { return *w_.world; }
  cUnitPanel& Panel() { return *dynamic_cast<cUnitPanel*>(LoadedMapScreen()->Panel(cMapScreen::kUnit)); }
  CDXUTDialog& Controls() { return Panel().Dialog(); }

  cJednostkaLadowa& Land(int x, int y, int country) {
    cJednostkaLadowa& unit = w_.AddUnit(x, y, country);
    unit.name = L"3rd Division";
    unit.actionPoints = unit.startingActionPoints = 4;
    unit.supply = 8;
    unit.supplySourceX = unit.supplySourceY = 0;
    unit.turnsWithoutSupply = 0;
    unit.effectiveness = 90;
    return unit;
  }
  cJednostkaLotnicza& Air(int x, int y, int country, int type = kUnitFighter) {
    auto* unit = new cJednostkaLotnicza(&World());
    unit->countryId = country;
    unit->SetType(type);
    unit->x = x;
    unit->y = y;
    unit->visible = true;
    unit->strength = 3.0f;
    unit->name = L"JG 27";
    unit->actionPoints = unit->startingActionPoints = 2;
    unit->supply = 8;
    unit->turnsWithoutSupply = 0;
    World().Units().airUnits.push_back(unit);
    w_.Hex(x, y).unit = unit;
    return *unit;
  }
  // The map at zoom 1 with hex (3, 2) in the middle of the screen, so that
  // ClickHex finds the hexes around it.
  void ViewAtZoomOne() {
    g_Settings.MapZoom = 1.0f;
    cMap& map = World().GetMap();
    map.minViewX = map.minViewY = -100000;
    map.maxViewX = map.maxViewY = 100000;
    map.viewX = map.targetX = 3 * 83;
    map.viewY = map.targetY = 2 * 98;
  }
  void Select(int x, int y) {
    World().turnState.SelectHex(World(), x, y);
    DrainMainThreadRequests();
  }
  std::wstring Value(int id) {
    auto* edit = dynamic_cast<CDXUTEditBox*>(Controls().GetControl(id));
    return edit != nullptr ? std::wstring(edit->GetText()) : L"<none>";
  }
  std::wstring Hint(int id) {
    CDXUTControl* control = Controls().GetControl(id);
    return control != nullptr && control->GetHint() != nullptr ? std::wstring(control->GetHint()) : L"<none>";
  }
  bool On(int id) { return Controls().GetControlEnabled(id); }
  bool Shown(int id) { return Controls().GetControl(id)->GetVisible(); }
  std::set<int> EnabledIcons() {
    std::set<int> on;
    for (int id : kAllIcons)
      if (On(id)) on.insert(id);
    return on;
  }
  void Click(int id) { Panel().OnGUIEvent(EVENT_BUTTON_CLICKED, id, Controls().GetControl(id)); }
  // A left click (press and release) on the middle of the hex.
  void ClickHex(int column, int row) { twtest::ClickHex(World().GetMap(), column, row); }
  // Every icon must say what the unit's own check says.
  void ExpectIconsFollowChecks(cJednostka& unit) {
    std::wstring hint;
    struct {
      int id;
      bool (cJednostka::*check)(std::wstring*);
    } const checks[] = {{kUnitUpgradeIconId, &cJednostka::CanUpgradeToCorps},
                        {kUnitLevelUpIconId, &cJednostka::CanLevelUp},
                        {kUnitReplacementsIconId, &cJednostka::CanReplenish},
                        {kUnitAirFightIconId, &cJednostka::CanAirFight},
                        {kUnitBombardIconId, &cJednostka::CanBombard},
                        {kUnitNuclearIconId, &cJednostka::CanNuclearAttack},
                        {kUnitReconIconId, &cJednostka::CanAirRecon}};
    for (const auto& c : checks) {
      const bool allowed = (unit.*c.check)(&hint);
      EXPECT_EQ(On(c.id), allowed) << c.id;
      EXPECT_EQ(Hint(c.id), hint) << c.id;
    }
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  cCity* city_ = nullptr;
  const float saved_zoom_ = g_Settings.MapZoom;
};

TEST_F(UnitPanel, AnEmptyHexOrAnUnspottedUnitShowsNothingAndDisablesEveryIcon) {
  cJednostkaLadowa& hidden = Land(4, 0, 2);
  hidden.visible = false;
  for (int x : {2, 4}) {
    Select(x, 0);
    EXPECT_EQ(Panel().ShownUnit(), x == 4 ? &hidden : nullptr);
    for (int id : kValues) {
      EXPECT_EQ(Value(id), L"-") << id;
      EXPECT_EQ(Hint(id), L"unitpanel_no_unit_selected") << id;
    }
    EXPECT_FALSE(Shown(kUnitPictureId));
    EXPECT_FALSE(Shown(kUnitFlagId));
    for (int id : kAllIcons) {
      EXPECT_FALSE(On(id)) << id;
      EXPECT_EQ(Hint(id), L"unitpanel_no_unit_selected") << id;
    }
  }
}

TEST_F(UnitPanel, AnOwnLandUnitInSupplyShowsItsValuesAndItsChecksDecideTheIcons) {
  cJednostkaLadowa& unit = Land(1, 1, 1);
  unit.strength = 80;
  unit.level = 1;
  unit.entrenchment = 3;
  Select(1, 1);
  EXPECT_EQ(Value(kUnitNameId), L"3rd Division");
  EXPECT_EQ(Value(kUnitLevelId), L"1");
  EXPECT_EQ(Value(kUnitPointsId), L"4");
  EXPECT_EQ(Value(kUnitStrengthId), L"8.0 (7.2)");
  EXPECT_EQ(Value(kUnitEffectivenessId), L"90%");
  EXPECT_EQ(Value(kUnitBonusId), L"7%");  // whole part of 3 x 2.5
  EXPECT_EQ(Value(kUnitSupplyId), L"unitpanel_supply_value_from_city");
  EXPECT_TRUE(Shown(kUnitPictureId));
  EXPECT_EQ(Panel().SupplyHex(), &w_.Hex(0, 0));
  ExpectIconsFollowChecks(unit);
  // Replenishing a unit of strength 80 in supply with full points is allowed.
  EXPECT_TRUE(On(kUnitReplacementsIconId));
  EXPECT_TRUE(On(kUnitSupplyIconId));
  EXPECT_TRUE(On(kUnitCommanderIconId));
  EXPECT_TRUE(On(kUnitDisbandIconId));
  EXPECT_TRUE(On(kUnitRenameIconId));
  EXPECT_EQ(Hint(kUnitRenameIconId), L"unitpanel_rename_hint_allowed");
  // No move was made: nothing to undo.
  EXPECT_FALSE(On(kUnitUndoIconId));
  EXPECT_EQ(Hint(kUnitUndoIconId), L"unitpanel_undo_move_icon_hint_no_undo_possible");
}

TEST_F(UnitPanel, OrdersOfLaterVersionsStayDisabledEvenWhenTheirCheckAllows) {
  cJednostkaLadowa& unit = Land(1, 1, 1);
  unit.SetType(kUnitAirborneDivision);
  unit.turnsSinceParadrop = 99;
  World().constants.maxSupply = 10;
  World().constants.strategicMoveCost[kUnitAirborneDivision] = 2;
  w_.Country(1).strategicMovementPoints = 100;
  std::wstring hint;
  ASSERT_TRUE(unit.CanStrategicMove(&hint));
  ASSERT_TRUE(unit.CanAirborneAssault(&hint));
  Select(1, 1);
  // The strategic move follows its check.
  EXPECT_TRUE(On(kUnitStrategicMoveIconId));
  EXPECT_EQ(Hint(kUnitStrategicMoveIconId), L"unitpanel_strategic_move_icon_hint");
  // The airborne assault follows its check.
  EXPECT_TRUE(On(kUnitAirborneIconId));
  EXPECT_EQ(Hint(kUnitAirborneIconId), hint);
  w_.Country(1).strategicMovementPoints = 1;
  Panel().Refresh();
  EXPECT_FALSE(On(kUnitStrategicMoveIconId));
  EXPECT_EQ(Hint(kUnitStrategicMoveIconId), L"unitpanel_strategic_move_icon_hint_no_smp");
  // A refusing check still gives its reason.
  EXPECT_FALSE(On(kUnitSeaTransportIconId));
  EXPECT_EQ(Hint(kUnitSeaTransportIconId), L"unitpanel_sea_transport_icon_hint_not_in_or_near_friendly_port");
}

TEST_F(UnitPanel, TheStrategicMoveIconMarksTheDestinationsAndAClickOnOneMovesTheUnit) {
  ViewAtZoomOne();
  cCity* paris = w_.AddCity(4, 0, 1);
  paris->name = L"Paris";
  World().topographies.assign(2, Topography{});
  World().topographies[0] = {{city_, paris}};
  World().constants.strategicMoveCost[0] = 3;
  w_.Country(1).strategicMovementPoints = 5;
  cJednostkaLadowa& unit = Land(1, 1, 1);
  Select(1, 1);
  ASSERT_TRUE(On(kUnitStrategicMoveIconId)) << Hint(kUnitStrategicMoveIconId);
  Click(kUnitStrategicMoveIconId);
  EXPECT_EQ(World().turnState.mode, 5);
  EXPECT_NE(w_.Hex(4, 0).markBits & kMarkStrategicDestination, 0u);
  EXPECT_NE(w_.Hex(0, 0).markBits & kMarkStrategicDestination, 0u);
  EXPECT_EQ(w_.Hex(2, 1).markBits & kMarkStrategicDestination, 0u);  // next to no city
  EXPECT_EQ(w_.Hex(4, 2).markBits & kMarkStrategicDestination, 0u);  // water

  twtest::LogCapture log;
  ClickHex(4, 0);
  EXPECT_TRUE(log.Contains(L"Player action: Strategic move / 3rd Division from (1, 1) to (4, 0)"));
  EXPECT_EQ(w_.Hex(4, 0).unit, &unit);
  EXPECT_EQ(w_.Hex(1, 1).unit, nullptr);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_EQ(w_.Country(1).strategicMovementPoints, 2);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_EQ(w_.Hex(0, 0).markBits & kMarkStrategicDestination, 0u);
  EXPECT_FALSE(On(kUnitStrategicMoveIconId));
}

TEST_F(UnitPanel, SupplyAndActionPointTextsFollowTheUnitsState) {
  cJednostkaLadowa& unit = Land(1, 1, 1);
  struct Case {
    int supply, turnsCut, sourceX, freeze;
    const wchar_t* text;
    bool supplyIcon;
    const wchar_t* points;
  } const cases[] = {
      {0, 2, 0, 0, L"unitpanel_supply_out_of_supply_more", false, L"4"},  // supply 0 wins over the counter
      {5, 2, 0, 0, L"unitpanel_supply_out_of_supply", false, L"4"},
      {5, 0, -1, 0, L"unitpanel_supply_peace_time", false, L"4"},
      {5, 0, 0, 10000, L"unitpanel_supply_value_from_city", true, L"unitpanel_ap_frozen"},
      {5, 0, 2, 1, L"-! BUG !-", false, L"unitpanel_ap_frozen"},  // no city at the source
  };
  for (const Case& c : cases) {
    unit.supply = c.supply;
    unit.turnsWithoutSupply = c.turnsCut;
    unit.supplySourceX = c.sourceX;
    unit.freezeTime = c.freeze;
    Select(1, 1);
    EXPECT_EQ(Value(kUnitSupplyId), c.text);
    EXPECT_EQ(On(kUnitSupplyIconId), c.supplyIcon) << c.text;
    EXPECT_EQ(Value(kUnitPointsId), c.points) << c.text;
    EXPECT_EQ(Panel().SupplyHex() != nullptr, c.supplyIcon);
  }
  EXPECT_EQ(Hint(kUnitSupplyId), L"No city at given coordinates (2, 0)");
}

TEST_F(UnitPanel, AnAirUnitShowsNoBonusAndNeverFrozenPoints) {
  cJednostkaLotnicza& air = Air(2, 1, 1, kUnitTacticalBomber);
  Select(2, 1);
  EXPECT_EQ(Panel().ShownUnit(), &air);
  EXPECT_EQ(Value(kUnitBonusId), L"-");
  EXPECT_EQ(Hint(kUnitBonusId), L"unitpanel_bonus_hint");
  EXPECT_EQ(Value(kUnitPointsId), L"2");
  EXPECT_EQ(Value(kUnitStrengthId), L"3.0 (3.0)");
  ExpectIconsFollowChecks(air);
  for (int id : {kUnitStrategicMoveIconId, kUnitAirborneIconId, kUnitSeaTransportIconId, kUnitAmphibiousIconId}) {
    EXPECT_FALSE(On(id)) << id;
  }
  // Without action points, and out of supply.
  air.actionPoints = 0;
  air.supply = 0;
  Select(2, 1);
  ExpectIconsFollowChecks(air);
  EXPECT_EQ(Value(kUnitSupplyId), L"unitpanel_supply_out_of_supply_more");
}

TEST_F(UnitPanel, AnotherCountrysUnitShowsItsValuesButNoIconActs) {
  Land(4, 1, 2);
  Air(5, 1, 2);
  for (int x : {4, 5}) {
    Select(x, 1);
    EXPECT_NE(Value(kUnitNameId), L"-");
    EXPECT_NE(Value(kUnitStrengthId), L"-");
    EXPECT_TRUE(Shown(kUnitPictureId));
    EXPECT_TRUE(EnabledIcons().empty());
    for (int id : kAllIcons) EXPECT_EQ(Hint(id), L"unitpanel_not_owned_unit") << id;
  }
  // A click on a disabled icon does nothing.
  Click(kUnitDisbandIconId);
  EXPECT_EQ(Panel().PendingAction(), kPendingNone);
  EXPECT_EQ(VisibleActiveDialog(), nullptr);
}

TEST_F(UnitPanel, ASeaHexWithAFleetShowsNoUnit) {
  Select(4, 3);  // water: ships never stand on a hex
  EXPECT_EQ(Panel().ShownUnit(), nullptr);
  EXPECT_TRUE(EnabledIcons().empty());
}

TEST_F(UnitPanel, AKilledShownUnitLeavesThePanelAndIsNeverActedOn) {
  cJednostkaLadowa& unit = Land(1, 1, 1);
  Select(1, 1);
  ASSERT_EQ(Panel().ShownUnit(), &unit);
  ASSERT_TRUE(On(kUnitDisbandIconId));
  unit.Kill();
  // Before the posted refresh runs, a click must not reach the dead unit.
  Click(kUnitDisbandIconId);
  EXPECT_EQ(Panel().PendingAction(), kPendingNone);
  EXPECT_EQ(VisibleActiveDialog(), nullptr);
  EXPECT_EQ(Panel().ShownUnit(), nullptr);
  DrainMainThreadRequests();
  EXPECT_EQ(Panel().ShownUnit(), nullptr);
  EXPECT_EQ(Value(kUnitNameId), L"-");
  EXPECT_TRUE(EnabledIcons().empty());
}

TEST_F(UnitPanel, AKilledAirUnitLeavesThePanel) {
  cJednostkaLotnicza& air = Air(2, 1, 1);
  Select(2, 1);
  ASSERT_EQ(Panel().ShownUnit(), &air);
  // On the main thread the kill refreshes the panel while the unit still
  // stands on its hex; the next frame finds it gone.
  air.Kill();
  DrainMainThreadRequests();
  Panel().OnRender(0.0f);
  EXPECT_EQ(Panel().ShownUnit(), nullptr);
  Click(kUnitRenameIconId);
  EXPECT_EQ(VisibleActiveDialog(), nullptr);
}

TEST_F(UnitPanel, AUnitRemovedWithoutNoticeLeavesThePanelAtTheNextFrame) {
  cJednostkaLadowa& unit = Land(1, 1, 1);
  Select(1, 1);
  ASSERT_EQ(Panel().ShownUnit(), &unit);
  // RemoveUnitFromWorld alone tells the turn state nothing.
  RemoveUnitFromWorld(World(), &unit);
  Panel().OnRender(0.0f);
  EXPECT_EQ(Panel().ShownUnit(), nullptr);
  EXPECT_EQ(Value(kUnitNameId), L"-");
}

TEST_F(UnitPanel, DisbandingPaysHalfTheValueAndEmptiesThePanel) {
  cJednostkaLadowa& unit = Land(1, 1, 1);
  unit.strength = 100;  // combat strength 10
  World().constants.replacementFactors.fill(3.0f);
  const double before = w_.Country(1).productionPoints;
  Select(1, 1);
  Click(kUnitDisbandIconId);
  ASSERT_EQ(Panel().PendingAction(), kPendingDisband);
  ASSERT_NE(dynamic_cast<cDialogPotwierdzenia*>(VisibleActiveDialog()), nullptr);
  // A second prompt is refused while this one is open.
  Click(kUnitRenameIconId);
  Click(kUnitCommanderIconId);
  EXPECT_EQ(Panel().PendingAction(), kPendingDisband);
  VisibleActiveDialog()->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwierdzenia::kYesId, nullptr);
  DeleteRetiredDialogs();
  EXPECT_DOUBLE_EQ(w_.Country(1).productionPoints, before + 15.0);
  EXPECT_EQ(w_.Hex(1, 1).unit, nullptr);
  EXPECT_TRUE(World().Units().landUnits.empty());
  EXPECT_EQ(Panel().ShownUnit(), nullptr);
  EXPECT_EQ(Panel().PendingAction(), kPendingNone);
  EXPECT_EQ(World().turnState.selectedHex, nullptr);
}

TEST_F(UnitPanel, RenameKeepsTheNameOnCancelAndTakesTheTextOnOk) {
  cJednostkaLadowa& unit = Land(1, 1, 1);
  Select(1, 1);
  Click(kUnitRenameIconId);
  ASSERT_EQ(Panel().PendingAction(), kPendingRename);
  PromptTextResult = L"Afrika";
  Panel().OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPobraniaTekstu::kCancelId, nullptr);
  EXPECT_EQ(unit.name, L"3rd Division");
  EXPECT_EQ(Panel().PendingAction(), kPendingNone);
  PopDialogs(-1);
  Click(kUnitRenameIconId);
  PromptTextResult = L"";
  Panel().OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPobraniaTekstu::kOkId, nullptr);
  EXPECT_EQ(unit.name, L"");
  EXPECT_EQ(Value(kUnitNameId), L"");
}

TEST_F(UnitPanel, BuyingReplacementsDropsThePendingOrderAndClosingKeepsIt) {
  cJednostkaLadowa& unit = Land(1, 1, 1);
  unit.strength = 60;
  World().constants.replacementFactors.fill(10.0f);
  World().constants.supplyEffectE.fill(20);
  Select(1, 1);
  Click(kUnitReplacementsIconId);
  auto* dialog = dynamic_cast<cDialogUzupelnien*>(VisibleActiveDialog());
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(Panel().PendingAction(), kPendingReplacements);
  World().turnState.mode = 8;
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUzupelnien::kCancelId, nullptr);
  EXPECT_EQ(World().turnState.mode, 8);
  EXPECT_EQ(unit.strength, 60);
  DeleteRetiredDialogs();

  Click(kUnitReplacementsIconId);
  dialog = dynamic_cast<cDialogUzupelnien*>(VisibleActiveDialog());
  ASSERT_NE(dialog, nullptr);
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUzupelnien::kMaxId, nullptr);
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogUzupelnien::kOkId, nullptr);
  DeleteRetiredDialogs();
  EXPECT_EQ(unit.strength, 80);  // the supply limit of 20
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_EQ(Panel().PendingAction(), kPendingNone);
  EXPECT_EQ(Value(kUnitStrengthId), L"8.0 (7.2)");
  EXPECT_FALSE(On(kUnitReplacementsIconId));  // no points left this turn
}

// An air unit's mission, its report held for 5 s.
class UnitPanelAirMission : public UnitPanel {
 protected:
  UnitPanelAirMission() {
    g_Delays[kDelayHumanCombatResult] = 5000.0f;
    ViewAtZoomOne();
    World().constants.airRangeBase = {4, 0, 6, 6, 3};
    World().constants.aircraftRangeFactors.fill(1.0f);
    w_.Country(1).techLevel[kTechAircraft] = 1;
  }
  ~UnitPanelAirMission() override { g_Delays[kDelayHumanCombatResult] = saved_delay_; }
  const float saved_delay_ = g_Delays[kDelayHumanCombatResult].load();
};

TEST_F(UnitPanelAirMission, ABombersIconMarksItsTargetsAndAClickOnOneStrikesWithItsReport) {
  cJednostkaLotnicza& bomber = Air(1, 1, 1, kUnitTacticalBomber);
  cJednostkaLadowa& enemy = Land(3, 1, 2);
  enemy.visible = true;
  Select(1, 1);
  ASSERT_TRUE(On(kUnitBombardIconId)) << Hint(kUnitBombardIconId);
  Click(kUnitBombardIconId);
  EXPECT_EQ(World().turnState.mode, 8);
  EXPECT_NE(w_.Hex(3, 1).markBits & 0x0001FFFCu, 0u);
  EXPECT_EQ(w_.Hex(2, 0).markBits & 0x0001FFFCu, 0u);  // an empty hex is no target

  twtest::LogCapture log;
  ClickHex(3, 1);
  EXPECT_TRUE(log.Contains(L"Player action: Air bombardment / JG 27 on (3, 1)"));
  EXPECT_NE(dynamic_cast<cDialogWynikuWalki*>(VisibleActiveDialog()), nullptr);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_LT(bomber.actionPoints, 2);
  EXPECT_EQ(w_.Hex(3, 1).markBits & 0x0001FFFCu, 0u);
}

// The flight's report is shown as a fight's is: the enemy it found (here
// one hidden until now) on the other side.
TEST_F(UnitPanelAirMission, TheReconIconsFlightOverEnemyLandEndsInItsReport) {
  for (int x = 3; x < 6; ++x) w_.Hex(x, 1).controller = 2;
  cJednostkaLotnicza& plane = Air(1, 1, 1, kUnitFighter);
  cJednostkaLadowa& enemy = Land(4, 1, 2);
  enemy.visible = false;
  enemy.name = L"Hidden Army";
  Select(1, 1);
  ASSERT_TRUE(On(kUnitReconIconId)) << Hint(kUnitReconIconId);
  Click(kUnitReconIconId);
  EXPECT_EQ(World().turnState.mode, 11);
  EXPECT_NE(w_.Hex(4, 1).markBits & 0x0001FFFCu, 0u);

  twtest::LogCapture log;
  ClickHex(4, 1);
  EXPECT_TRUE(log.Contains(L"Player action: Air recon / JG 27 on (4, 1)"));
  EXPECT_TRUE(plane.reconDone);
  EXPECT_TRUE(enemy.visible);
  auto* report = dynamic_cast<cDialogWynikuWalki*>(VisibleActiveDialog());
  ASSERT_NE(report, nullptr) << "the flight is reported";
  auto* title = dynamic_cast<CDXUTStatic*>(report->Dialog().GetControl(cDialogWynikuWalki::kTitleId));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(std::wstring(title->GetText()), L"combatresult_recon_title");
  EXPECT_EQ(World().turnState.mode, 0);
}

TEST_F(UnitPanel, TheUndoIconBelongsToTheUnitThatMovedLast) {
  cJednostkaLadowa& mover = Land(1, 1, 1);
  cJednostkaLadowa& other = Land(2, 2, 1);
  World().turnState.undo.unit = &mover;
  Select(2, 2);
  EXPECT_FALSE(On(kUnitUndoIconId));
  EXPECT_EQ(Hint(kUnitUndoIconId), L"unitpanel_undo_move_icon_hint_wrong_unit_selected");
  Select(1, 1);
  EXPECT_TRUE(On(kUnitUndoIconId));
  mover.newEnemyContact = true;
  Select(1, 1);
  EXPECT_FALSE(On(kUnitUndoIconId));
  EXPECT_EQ(Hint(kUnitUndoIconId), L"unitpanel_undo_move_icon_hint_enemy_unit_discovered");
  (void)other;
}

TEST_F(UnitPanel, TheAirborneIconMarksTheDropTargetsAndAClickDropsWithItsMessage) {
  ViewAtZoomOne();
  World().constants.maxSupply = 10;
  World().constants.value172 = 1;
  World().constants.aircraftRangeFactors.fill(1.0f);
  w_.Country(1).techLevel[kTechAircraft] = 1;
  cJednostkaLadowa& para = Land(1, 1, 1);
  para.SetType(kUnitAirborneDivision);
  para.turnsSinceParadrop = 99;
  Select(1, 1);
  ASSERT_TRUE(On(kUnitAirborneIconId)) << Hint(kUnitAirborneIconId);
  Click(kUnitAirborneIconId);
  EXPECT_EQ(World().turnState.mode, 6);
  EXPECT_EQ(w_.Hex(2, 1).markBits & 4u, 4u);
  EXPECT_EQ(w_.Hex(4, 1).markBits & 4u, 0u);  // beyond the range of one hex

  twtest::LogCapture log;
  ClickHex(2, 1);
  EXPECT_TRUE(log.Contains(L"Player action: Airborne assault / 3rd Division on (2, 1)"));
  EXPECT_NE(dynamic_cast<cDialogTekstowy*>(VisibleActiveDialog()), nullptr);
  EXPECT_EQ(w_.Hex(2, 1).unit, &para);
  EXPECT_EQ(para.actionPoints, 3);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_EQ(w_.Hex(2, 2).markBits & 0x0001FFFCu, 0u);
}

TEST_F(UnitPanel, TheSeaTransportIconLoadsTheUnitEmptiesThePanelAndNamesTheNextStep) {
  w_.AddCity(2, 2, kCityPort);
  World().constants.seaTransportCost.fill(2);
  w_.Country(1).seaTransportPoints = 10;
  // A port without moorings: the unit's own check allows, the rule refuses.
  Land(2, 1, 1);
  Select(2, 1);
  EXPECT_FALSE(On(kUnitSeaTransportIconId));
  EXPECT_EQ(Hint(kUnitSeaTransportIconId), L"transport_impossible_no_sea_node");
  sWezelGrafuMorz port;
  port.id = 1;
  port.isSea = 0;
  port.x = 2;
  port.y = 2;
  port.name = L"Marseille";
  World().GetSeaGraph().Nodes().push_back(port);
  cJednostkaLadowa& unit = *dynamic_cast<cJednostkaLadowa*>(w_.Hex(2, 1).unit);
  Select(2, 1);
  World().turnState.mode = 4;  // as a click on the own unit leaves it: its move offered
  ASSERT_TRUE(On(kUnitSeaTransportIconId)) << Hint(kUnitSeaTransportIconId);
  Click(kUnitSeaTransportIconId);
  DrainMainThreadRequests();
  EXPECT_EQ(w_.Country(1).seaTransportPoints, 8);
  EXPECT_EQ(w_.Hex(2, 1).unit, nullptr);
  EXPECT_EQ(World().turnState.selectedHex, nullptr);
  EXPECT_EQ(Panel().ShownUnit(), nullptr);
  ASSERT_EQ(World().Units().navalUnits.size(), 1u);
  const cJednostkaMorska& ship = *World().Units().navalUnits.front();
  EXPECT_EQ(ship.carriedUnit, &unit);
  // No move is offered any more; the status line names the port to click,
  // and keeps doing so over the next frames.
  EXPECT_EQ(World().turnState.mode, 0);
  WorldOnFrameMoveThunk(0.0, 0.05f);
  WorldOnFrameMoveThunk(0.05, 0.05f);
  auto* status = dynamic_cast<CDXUTStatic*>(LoadedMapScreen()->InfoPanel()->Dialog().GetControl(kInfoStatusId));
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(std::wstring(status->GetText()), L"statusbar_aboard_" + ship.name + L"_click_Marseille_to_sail_it");
}

}  // namespace
