// The player's orders on the map screen: selecting a unit marks its range,
// a click on a marked hex moves it, an attack is set up from either side,
// attackers join and leave, the defender's click fights the battle with its
// report, and any other click cancels; the attack panel shows the set-up.
#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_memo.h"
#include "platform/format.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "rules/land_move.h"
#include "screens/attack_panel.h"
#include "screens/test_screen_size.h"
#include "screens/unit_panel.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/info_panel.h"
#include "gui/dxut_static.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "units/land_fixture.h"
#include "world/game_phase.h"
#include "world/land_attack_plan.h"
#include "world/world.h"

namespace {


class MapOrders : public ::testing::Test {
 protected:
  MapOrders() : w_({"pppppppp", "pppppppp", "pppppppp", "pppppppp", "pppppppp", "pppppppp"}) {
    saved_delay_ = g_Delays[kDelayHumanCombatResult].load();
    g_Settings.MapZoom = 1.0f;
    w_.AddCountries({kAllies, kAxis});
    w_.War(1, 2);
    w_.Country(1).human = true;
    w_.Country(1).active = w_.Country(2).active = true;
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    World().turnState.SetCurrentCountry(&w_.Country(1));
    screen_.Open(World());
    World().SetGameState(kPhaseHumanTurn);
    twtest::LookAtHex(World().GetMap(), 3, 3);
  }
  ~MapOrders() override {
    g_Delays[kDelayHumanCombatResult] = saved_delay_;
  }
  cWorld& World() { return *w_.world; }
  cMapScreen& Screen() { return *LoadedMapScreen(); }
  cJednostkaLadowa& Unit(int x, int y, int country, const wchar_t* name, int points = 4) {
    cJednostkaLadowa& unit = w_.AddUnit(x, y, country);
    unit.name = name;
    unit.actionPoints = unit.startingActionPoints = points;
    return unit;
  }
  // A left click (press and release) on the middle of the hex.
  void Click(int column, int row) { twtest::ClickHex(World().GetMap(), column, row); }
  cAttackPanel& AttackPanel() { return *dynamic_cast<cAttackPanel*>(Screen().Panel(cMapScreen::kAttack)); }
  std::wstring PanelValue(int id) {
    auto* edit = dynamic_cast<CDXUTEditBox*>(AttackPanel().Dialog().GetControl(id));
    return edit != nullptr ? std::wstring(edit->GetText()) : L"<none>";
  }
  std::wstring PanelNames() {
    auto* memo = dynamic_cast<CDXUTMemo*>(AttackPanel().Dialog().GetControl(kAttackAttackersId));
    return memo != nullptr ? std::wstring(memo->GetText()) : L"<none>";
  }
  bool FlagShown(int id) { return AttackPanel().Dialog().GetControl(id)->GetVisible(); }

  plat::RecordingRenderer renderer_{kScreenW, kScreenH};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  twtest::MapScreenScope screen_;
  float saved_delay_ = 0;
};

TEST_F(MapOrders, ClickOnOwnUnitMarksItsRangeAndAClickOnAMarkedHexStartsTheMove) {
  cJednostkaLadowa& unit = Unit(2, 2, 1, L"1st Infantry");
  Click(2, 2);
  EXPECT_EQ(World().turnState.selectedUnit, &unit);
  EXPECT_EQ(World().turnState.mode, 4);
  ASSERT_NE(World().GetMap().GetHex(4, 2).markBits & 0x0001FFFCu, 0u);

  twtest::LogCapture log;
  Click(4, 2);
  EXPECT_TRUE(log.Contains(L"Player action: Move / 1st Infantry from (2, 2) to (4, 2)"));
  EXPECT_EQ(World().GetGameState(), kPhaseHumanMove);
  EXPECT_EQ(World().GetMap().GetHex(2, 2).unit, nullptr);
  EXPECT_EQ(World().turnState.move.unit, &unit);
  EXPECT_EQ(World().turnState.mode, 0);
  // While it walks, clicks give no orders.
  Click(5, 5);
  EXPECT_EQ(World().turnState.move.unit, &unit);
}

TEST_F(MapOrders, ClickOnAnotherCountrysUnitSelectsItWithoutAnOrder) {
  cJednostkaLadowa& enemy = Unit(5, 2, 2, L"Guard");
  Click(5, 2);
  EXPECT_EQ(World().turnState.selectedUnit, &enemy);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_TRUE(enemy.reachableHexes.empty());
}

TEST_F(MapOrders, AttackFromOwnUnitGrowsShrinksAndIsFoughtByClickingTheDefender) {
  Unit(2, 2, 1, L"Armour");
  Unit(3, 3, 1, L"Rifles");
  cJednostkaLadowa& guard = Unit(3, 2, 2, L"Guard");
  g_Delays[kDelayHumanCombatResult] = 1500.0f;
  twtest::LogCapture log;

  Click(2, 2);
  Click(3, 2);  // the enemy next to the selected unit
  ASSERT_NE(World().turnState.attack, nullptr);
  EXPECT_TRUE(log.Contains(L"Player action: new assault plan created"));
  EXPECT_EQ(World().turnState.mode, 7);
  const cLandAttack& plan = *World().turnState.attack;
  EXPECT_EQ(plan.defender, &guard);
  EXPECT_EQ(plan.CountAttackingSides(), 1);
  EXPECT_EQ(PanelNames(), L"Armour");
  EXPECT_EQ(PanelValue(kAttackDefenderNameId), L"Guard");
  EXPECT_EQ(PanelValue(kAttackColumnId), plat::Format(L"%i : 1", plan.EstimateOddsColumn(World())));
  EXPECT_TRUE(FlagShown(kAttackAttackerFlagId));

  Click(3, 3);  // a second attacker
  EXPECT_TRUE(log.Contains(L"Player action: Unit added to assault plan"));
  EXPECT_EQ(World().turnState.attack->CountAttackingSides(), 2);
  EXPECT_EQ(World().turnState.mode, 7);
  // Names in side order, one a line.
  const std::wstring names = PanelNames();
  EXPECT_TRUE(names == L"Armour,\nRifles" || names == L"Rifles,\nArmour") << plat::NarrowBytes(names);

  Click(3, 3);  // and out again
  EXPECT_TRUE(log.Contains(L"Player action: Unit removed from assault"));
  EXPECT_EQ(World().turnState.attack->CountAttackingSides(), 1);
  EXPECT_EQ(World().turnState.mode, 7);

  Click(3, 2);  // the defender: the battle
  EXPECT_TRUE(log.Contains(L"Player action: Executing assault "));
  EXPECT_EQ(World().turnState.attack, nullptr);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_NE(dynamic_cast<cDialogWynikuWalki*>(g_pActiveDialog), nullptr);
  EXPECT_EQ(PanelValue(kAttackColumnId), L"-");
  EXPECT_EQ(PanelNames(), L"");
  EXPECT_FALSE(FlagShown(kAttackAttackerFlagId));
  EXPECT_FALSE(FlagShown(kAttackDefenderFlagId));
}

TEST_F(MapOrders, AttackFromTheSelectedEnemyAndCancelledByAClickElsewhere) {
  Unit(2, 2, 1, L"Armour");
  cJednostkaLadowa& guard = Unit(3, 2, 2, L"Guard");
  twtest::LogCapture log;
  Click(3, 2);  // the enemy first
  Click(2, 2);  // then an own unit next to it
  ASSERT_NE(World().turnState.attack, nullptr);
  EXPECT_EQ(World().turnState.attack->defender, &guard);
  EXPECT_EQ(World().turnState.mode, 7);
  Click(6, 5);
  EXPECT_TRUE(log.Contains(L"Player action: assault plan canceled"));
  EXPECT_EQ(World().turnState.attack, nullptr);
  EXPECT_EQ(World().turnState.mode, 0);
  EXPECT_EQ(PanelValue(kAttackDefenderNameId), L"");
}

// A click on an own unit next to the target that has already attacked
// cancels the plan, and the status line says why until the next click.
TEST_F(MapOrders, AnAttackerThatAlreadyAttackedCancelsThePlanWithANotice) {
  Unit(2, 2, 1, L"Armour");
  Unit(3, 2, 2, L"Guard");
  Unit(3, 3, 1, L"Rifles").attacked = true;
  const auto status = [this] {
    auto* line = dynamic_cast<CDXUTStatic*>(Screen().InfoPanel()->Dialog().GetControl(kInfoStatusId));
    return line != nullptr ? std::wstring(line->GetText()) : L"<none>";
  };
  Click(2, 2);
  Click(3, 2);
  ASSERT_NE(World().turnState.attack, nullptr);
  Click(3, 3);
  EXPECT_EQ(World().turnState.attack, nullptr);
  // Without a language base a text is its key.
  const std::wstring notice = L"statusbar_assault_canceled_already_attacked_Rifles";
  EXPECT_EQ(status(), notice);
  Screen().OnFrameMove(1.0, 0.02f);
  Screen().OnFrameMove(1.1, 0.02f);
  EXPECT_EQ(status(), notice);
  Click(6, 5);
  Screen().OnFrameMove(1.2, 0.02f);
  EXPECT_EQ(status(), L"statusbar_hint_no_action");
}

// A move the rule refuses on a marked hex (another unit stands there) is
// no order, and the status line says why until the next click.
TEST_F(MapOrders, AMoveRefusedOnAMarkedHexSaysWhy) {
  cJednostkaLadowa& unit = Unit(2, 2, 1, L"1st Infantry");
  Click(2, 2);
  ASSERT_NE(World().GetMap().GetHex(4, 2).markBits & 0x0001FFFCu, 0u);
  Unit(4, 2, 1, L"Newcomer");
  Click(4, 2);
  EXPECT_EQ(std::pair(unit.x, World().turnState.move.unit), std::pair(2, static_cast<cJednostkaLadowa*>(nullptr)));
  auto* line = dynamic_cast<CDXUTStatic*>(Screen().InfoPanel()->Dialog().GetControl(kInfoStatusId));
  ASSERT_NE(line, nullptr);
  Screen().OnFrameMove(1.0, 0.02f);
  // Without a language base a text is its key.
  EXPECT_EQ(std::wstring(line->GetText()), L"move_impossible_hex_occupied");
}

TEST_F(MapOrders, RemovingTheLastAttackerCancelsThePlan) {
  Unit(2, 2, 1, L"Armour");
  Unit(3, 2, 2, L"Guard");
  twtest::LogCapture log;
  Click(2, 2);
  Click(3, 2);
  ASSERT_NE(World().turnState.attack, nullptr);
  Click(2, 2);
  EXPECT_TRUE(log.Contains(L"Player action: Last unit removed from assault plan / assault plan canceled"));
  EXPECT_EQ(World().turnState.attack, nullptr);
  EXPECT_EQ(World().turnState.mode, 0);
}

TEST_F(MapOrders, NoCombatReportWhenItsDelayIsZero) {
  Unit(2, 2, 1, L"Armour");
  Unit(3, 2, 2, L"Guard");
  g_Delays[kDelayHumanCombatResult] = 0.0f;
  Click(2, 2);
  Click(3, 2);
  Click(3, 2);
  EXPECT_EQ(World().turnState.attack, nullptr);
  EXPECT_EQ(g_pActiveDialog, nullptr);
}

TEST_F(MapOrders, AttackPanelShowsOneSideAtATime) {
  cJednostkaLadowa& guard = Unit(3, 2, 2, L"Guard");
  cJednostkaLadowa& north = Unit(3, 1, 1, L"North");
  cJednostkaLadowa& south = Unit(3, 3, 1, L"South");
  AttackPanel().ShowAttack();
  for (int id : {kAttackAttackerStrengthId, kAttackAttackerModifierId, kAttackAttackerEffectiveId,
                 kAttackDefenderStrengthId, kAttackDefenderModifierId, kAttackDefenderEffectiveId, kAttackColumnId}) {
    EXPECT_EQ(PanelValue(id), L"-") << id;
  }
  EXPECT_EQ(PanelNames(), L"");
  EXPECT_FALSE(FlagShown(kAttackAttackerFlagId));
  EXPECT_FALSE(FlagShown(kAttackDefenderFlagId));

  // A defender without attackers: its side only.
  cLandAttack& plan = World().turnState.SetAttack(&guard, 3, 2);
  AttackPanel().ShowAttack();
  EXPECT_EQ(PanelValue(kAttackDefenderNameId), L"Guard");
  EXPECT_TRUE(FlagShown(kAttackDefenderFlagId));
  EXPECT_NE(PanelValue(kAttackDefenderStrengthId), L"-");
  EXPECT_EQ(PanelValue(kAttackAttackerStrengthId), L"-");
  EXPECT_EQ(PanelValue(kAttackColumnId), L"-");

  // Attackers on sides 2 and 5 only: two names, no leading separator.
  plan.SetAttacker(0, &north);
  plan.SetAttacker(3, &south);
  plan.ClearAttacker(0);
  plan.SetAttacker(2, &north);
  plan.SetAttacker(5, &south);
  plan.ClearAttacker(3);
  AttackPanel().ShowAttack();
  EXPECT_EQ(PanelNames(), L"North,\nSouth");
  EXPECT_EQ(PanelValue(kAttackAttackerStrengthId),
            plat::Format(L"%.2f", static_cast<double>(plan.GetAttackerStrength(World()))));
  EXPECT_EQ(PanelValue(kAttackAttackerModifierId),
            plat::Format(L"%.0f%%", 100.0 * plan.GetAttackerFactor(World())));
  EXPECT_EQ(PanelValue(kAttackColumnId), plat::Format(L"%i : 1", plan.EstimateOddsColumn(World())));
}

TEST_F(MapOrders, UnitPanelOffersTheUndoOnlyForTheUnitThatMovedLastAndUndoesIt) {
  cJednostkaLadowa& mover = Unit(2, 2, 1, L"1st Infantry");
  cJednostkaLadowa& other = Unit(5, 4, 1, L"2nd Armoured");
  auto& panel = *dynamic_cast<cUnitPanel*>(Screen().Panel(cMapScreen::kUnit));
  CDXUTControl* undo = panel.Dialog().GetControl(kUnitUndoIconId);
  ASSERT_NE(undo, nullptr);
  Click(2, 2);
  EXPECT_EQ(panel.ShownUnit(), &mover);
  EXPECT_FALSE(undo->GetEnabled());
  EXPECT_EQ(std::wstring(undo->GetHint()), L"unitpanel_undo_move_icon_hint_no_undo_possible");

  Click(4, 2);
  ASSERT_EQ(World().GetGameState(), kPhaseHumanMove);
  while (StepLandMove(World())) {
  }
  World().SetGameState(kPhaseHumanTurn);
  Click(4, 2);
  EXPECT_TRUE(undo->GetEnabled());
  EXPECT_EQ(std::wstring(undo->GetHint()), L"unitpanel_undo_move_icon_hint");
  Click(5, 4);
  EXPECT_EQ(panel.ShownUnit(), &other);
  EXPECT_FALSE(undo->GetEnabled());
  EXPECT_EQ(std::wstring(undo->GetHint()), L"unitpanel_undo_move_icon_hint_wrong_unit_selected");

  // Back on the mover, the icon puts it where it started with its points.
  Click(4, 2);
  panel.OnGUIEvent(EVENT_BUTTON_CLICKED, kUnitUndoIconId, undo);
  EXPECT_EQ(std::pair(mover.x, mover.y), std::pair(2, 2));
  EXPECT_EQ(mover.actionPoints, 4);
  EXPECT_EQ(World().GetMap().GetHex(2, 2).unit, &mover);
  EXPECT_EQ(World().GetMap().GetHex(4, 2).unit, nullptr);
  EXPECT_FALSE(undo->GetEnabled());
}

}  // namespace
