// The combat report (title, flags, texts, outcome icons, countdown and
// pause), the convoy results, the new-turn greeting and the end-turn
// question.
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/settings.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/convoy_result_dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/turn_dialogs.h"
#include "gui/dxut_button.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"
#include "support/world_builders.h"
#include "world/combat_result.h"
#include "world/convoy.h"
#include "world/world.h"

namespace {

class ResultDialogs : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
    twtest::AddCountry(world, 5, L"Eastmark");
    twtest::AddCountry(world, 4, L"Westland");
    g_GuiLayout[cDialogWynikuWalki::kAttackerTextId] = {200, 300, 260, 110};
    g_GuiLayout[cDialogWynikuWalki::kDefenderTextId] = {524, 300, 300, 110};
    g_GuiLayout[cDialogWynikuWalki::kPauseId] = {262, 508, 180, 36};
    g_GuiLayout[cDialogWynikuWalki::kCloseId] = {582, 508, 180, 36};
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    GuiTest::TearDown();
  }
  cDialogWynikuWalki* Push(const sBombardmentResult& result, float ms) {
    auto* dialog = new cDialogWynikuWalki(world, result, ms);
    PushDialog(dialog);
    return dialog;
  }
  static std::wstring StaticText(cDialog& dialog, int id) {
    auto* label = dynamic_cast<CDXUTStatic*>(dialog.Dialog().GetControl(id));
    return label != nullptr ? std::wstring(label->GetText()) : L"<none>";
  }
  cWorld world;
};

TEST_F(ResultDialogs, CombatReportShowsTitleTextsAndOnlyTheFlagsOfRealCountries) {
  sBombardmentResult result;
  result.kind = kCombatLandBattle;
  result.attackerLosses = 12.5f;
  result.attackerText1 = L"lost 2";
  result.attackerText2 = L"3 units";
  result.attackerCountry = 2;
  result.defenderCountry = -1;
  cDialogWynikuWalki* dialog = Push(result, 1000.0f);
  EXPECT_EQ(StaticText(*dialog, cDialogWynikuWalki::kTitleId), L"combatresult_land_battle_title");
  auto* memo = dynamic_cast<CDXUTMemo*>(dialog->Dialog().GetControl(cDialogWynikuWalki::kAttackerTextId));
  ASSERT_NE(memo, nullptr);
  EXPECT_NE(dialog->Dialog().GetControl(cDialogWynikuWalki::kAttackerFlagId), nullptr);
  EXPECT_EQ(dialog->Dialog().GetControl(cDialogWynikuWalki::kDefenderFlagId), nullptr);
  // The defender's text is there even without its flag.
  EXPECT_NE(dialog->Dialog().GetControl(cDialogWynikuWalki::kDefenderTextId), nullptr);

  // An attacker id the world does not have shows no flag.
  result.attackerCountry = 9;
  result.defenderCountry = 1;
  cDialogWynikuWalki* second = Push(result, 1000.0f);
  EXPECT_EQ(second->Dialog().GetControl(cDialogWynikuWalki::kAttackerFlagId), nullptr);
  EXPECT_NE(second->Dialog().GetControl(cDialogWynikuWalki::kDefenderFlagId), nullptr);
  EXPECT_STREQ(cDialogWynikuWalki::TitleKey(12), "combatresult_unknown_battle_title");
  EXPECT_STREQ(cDialogWynikuWalki::TitleKey(9), "combatresult_carrier_airstrike_sea_zone_title");
}

TEST_F(ResultDialogs, OnlySetOutcomesGetIconsAndTheDefendersCloseUpFromTheLeft) {
  sBombardmentResult result;
  result.SetFlag(kFlagDefenderSurrendered);
  result.SetFlag(kFlagPortAffected);
  cDialogWynikuWalki* dialog = Push(result, -1.0f);
  CDXUTDialog& d = dialog->Dialog();
  for (int id : {7500, 7501, 7503, 7504, 7506}) EXPECT_EQ(d.GetControl(id), nullptr) << id;
  CDXUTControl* surrender = d.GetControl(7502);
  CDXUTControl* port = d.GetControl(7505);
  ASSERT_NE(surrender, nullptr);
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(surrender->m_x, 524);
  EXPECT_EQ(port->m_x, 574);
  EXPECT_EQ(surrender->m_y, 415);

  sBombardmentResult killed;
  killed.SetFlag(kFlagAttackerDestroyed);
  killed.SetFlag(kFlagDefenderDestroyed);
  killed.SetFlag(kFlagDefenderRetreated);
  cDialogWynikuWalki* second = Push(killed, -1.0f);
  EXPECT_EQ(second->Dialog().GetControl(7500)->m_x, 200);
  EXPECT_EQ(second->Dialog().GetControl(7501)->m_x, 524);
  EXPECT_EQ(second->Dialog().GetControl(7503)->m_x, 594);
}

TEST_F(ResultDialogs, CountdownClosesPausesAndResumesFromTheSecondsLeft) {
  sBombardmentResult result;
  // Display time 0: gone at the next frame.
  Push(result, 0.0f);
  g_pActiveDialog->UpdateTimer(0.016f);
  EXPECT_TRUE(g_DialogStack.empty());

  // Negative: it waits for the player, with the waiting line.
  cDialogWynikuWalki* waiting = Push(result, -1.0f);
  waiting->UpdateTimer(100.0f);
  EXPECT_EQ(g_DialogStack.size(), 1u);
  EXPECT_EQ(StaticText(*waiting, cDialogWynikuWalki::kCountdownId), L"combatresult_waiting_for_click");
  PopDialogs(-1);

  cDialogWynikuWalki* timed = Push(result, 4000.0f);
  timed->UpdateTimer(1.5f);
  timed->OnKeyboard(plat::kVkSpace, true, false);  // pause at 2.5 s left
  EXPECT_TRUE(timed->IsTimerStopped());
  auto* pause = dynamic_cast<CDXUTButton*>(timed->Dialog().GetControl(cDialogWynikuWalki::kPauseId));
  ASSERT_NE(pause, nullptr);
  EXPECT_EQ(std::wstring(pause->GetText()), L"combat_result_resume");
  timed->UpdateTimer(30.0f);
  EXPECT_FLOAT_EQ(timed->GetCountdown(), 2.5f);
  timed->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogWynikuWalki::kPauseId, pause);  // resume
  EXPECT_EQ(std::wstring(pause->GetText()), L"combat_result_pause");
  timed->UpdateTimer(2.0f);
  EXPECT_EQ(g_DialogStack.size(), 1u);
  timed->UpdateTimer(0.6f);
  EXPECT_TRUE(g_DialogStack.empty());
}

// Space pauses and resumes from anywhere: the Pause button's own hint
// changes with its text, and shows only with the mouse over the button.
TEST_F(ResultDialogs, SpaceChangesThePauseButtonsHintAndShowsNoneAtThePointer) {
  cDialogWynikuWalki* report = Push(sBombardmentResult{}, 4000.0f);
  report->OnKeyboard(plat::kVkSpace, true, false);
  EXPECT_EQ(g_HintText.GetText(), nullptr);
  g_HintText.SetControl(report->Dialog().GetControl(cDialogWynikuWalki::kPauseId));
  report->OnKeyboard(plat::kVkSpace, true, false);
  EXPECT_STREQ(g_HintText.GetText(), L"combat_result_pause_hint");
}

TEST_F(ResultDialogs, EnterEscapeAndTheCloseButtonCloseTheReport) {
  sBombardmentResult result;
  for (unsigned key : {plat::kVkReturn, plat::kVkEscape}) {
    cDialogWynikuWalki* dialog = Push(result, -1.0f);
    dialog->OnKeyboard(key, false, false);  // key up does nothing
    EXPECT_EQ(g_DialogStack.size(), 1u);
    dialog->OnKeyboard(key, true, false);
    EXPECT_TRUE(g_DialogStack.empty()) << key;
  }
  cDialogWynikuWalki* dialog = Push(result, -1.0f);
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogWynikuWalki::kCloseId, nullptr);
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(ResultDialogs, ClickOutsideTheControlsDismissesTheReportAndOnAControlDoesNot) {
  sBombardmentResult result;
  cDialogWynikuWalki* dialog = Push(result, 5000.0f);
  const sLayoutRect& close = g_GuiLayout[cDialogWynikuWalki::kCloseId];
  const int bx = close.a + close.c / 2, by = close.b + close.d / 2;
  // A release over a button is the button's, not the dialog's.
  g_HintText.UpdateMouse(true, false, bx, by);
  g_HintText.UpdateMouse(false, false, bx, by);
  dialog->OnMouse(false, false, false, false, false, 0, bx, by);
  EXPECT_EQ(g_DialogStack.size(), 1u);
  // Moving without a click does nothing either.
  g_HintText.UpdateMouse(false, false, 5, 5);
  dialog->OnMouse(false, false, false, false, false, 0, 5, 5);
  EXPECT_EQ(g_DialogStack.size(), 1u);
  // A click beside the report closes it, countdown stopped.
  g_HintText.UpdateMouse(true, false, 5, 5);
  g_HintText.UpdateMouse(false, false, 5, 5);
  dialog->OnMouse(false, false, false, false, false, 0, 5, 5);
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_LT(dialog->GetCountdown(), 0.0f);
  g_HintText.UpdateMouse(false, false, 0, 0);
}

TEST_F(ResultDialogs, ConvoyResultsSelectTheFirstAndShowTheDetailsOfTheSelection) {
  cConvoyStore& store = world.Units().convoys;
  store.Resize(2);
  store.ResultsOf(2)->push_back({L"Westport", L"Millbrook", L"Supplies", 4, 3, 1, L"Arrived", L"One ship sunk"});
  store.ResultsOf(2)->push_back({L"Westport", L"Eastport", L"Production", 2, 2, 0, L"Arrived", L"Quiet crossing"});
  auto* dialog = new cDialogWynikuKonwojow(world, 2);
  PushDialog(dialog);
  ASSERT_NE(dialog->List(), nullptr);
  EXPECT_EQ(dialog->List()->GetSize(), 2);
  EXPECT_EQ(dialog->List()->GetSelectedIndex(), 0);
  EXPECT_EQ(std::wstring(dialog->List()->GetItem(0)->strText), L"Westport;Millbrook;Supplies;4;3;1;Arrived");
  EXPECT_EQ(std::wstring(dialog->Details()->GetText()), L"One ship sunk");
  dialog->List()->SelectItem(1, false);
  dialog->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogWynikuKonwojow::kListId, dialog->List());
  EXPECT_EQ(std::wstring(dialog->Details()->GetText()), L"Quiet crossing");
  dialog->OnKeyboard(plat::kVkReturn, true, false);
  EXPECT_TRUE(g_DialogStack.empty());

  auto* empty = new cDialogWynikuKonwojow(world, 1);
  PushDialog(empty);
  EXPECT_EQ(empty->List()->GetSize(), 0);
  EXPECT_EQ(std::wstring(empty->Details()->GetText()), L"");
}

TEST_F(ResultDialogs, NewTurnGreetsTheCountryByNameAndGoesOnEnterOrEscape) {
  auto* dialog = new cDialogNowejTury(world, 2);
  PushDialog(dialog);
  // The text key stands for its text here.
  EXPECT_EQ(StaticText(*dialog, cDialogNowejTury::kTitleId), L"new_turn_title_countryWestland");
  EXPECT_NE(dialog->Dialog().GetControl(cDialogNowejTury::kFlagId), nullptr);
  dialog->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(ResultDialogs, EndTurnQuestionRemembersDontAskOnlyWhenTheTurnIsEnded) {
  std::ofstream("Settings.ini", std::ios::binary) << "[InterfaceSettings]\r\nConfirmEndTurn=true\r\n";
  const sSettings saved = g_Settings;
  LoadSettingsFrom(L"Settings.ini");
  ASSERT_FALSE(g_Settings.SkipEndTurnConfirmation);
  g_pWorld = &world;
  world.Countries().clear();
  cCountry& west = twtest::AddCountry(world, 4, L"Westland");
  west.active = true;
  west.human = true;
  west.politicalStrength = 60;
  cCountry& dummy = twtest::AddCountry(world, 0, L"Dummy");
  dummy.active = true;
  dummy.politicalStrength = -1;
  world.GetRelations().Reset(2);
  world.turnState.SetCurrentCountry(&west);

  // The end-turn command asks first.
  RequestEndOfHumanTurn(world);
  auto* question = dynamic_cast<cDialogPotwKoncaTury*>(g_pActiveDialog);
  ASSERT_NE(question, nullptr);
  auto* box = dynamic_cast<CDXUTCheckBox*>(question->Dialog().GetControl(cDialogPotwKoncaTury::kDontAskId));
  ASSERT_NE(box, nullptr);
  // No, with the box ticked, changes nothing.
  box->SetChecked(true);
  question->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPotwKoncaTury::kNoId, nullptr);
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_FALSE(g_Settings.SkipEndTurnConfirmation);
  EXPECT_FALSE(west.finishedTurn);

  // Yes with the box ticked: the turn ends and the file says not to ask.
  RequestEndOfHumanTurn(world);
  question = dynamic_cast<cDialogPotwKoncaTury*>(g_pActiveDialog);
  ASSERT_NE(question, nullptr);
  dynamic_cast<CDXUTCheckBox*>(question->Dialog().GetControl(cDialogPotwKoncaTury::kDontAskId))->SetChecked(true);
  question->OnKeyboard(plat::kVkReturn, true, false);
  EXPECT_TRUE(west.finishedTurn);
  EXPECT_EQ(world.turnState.currentCountry, &dummy);
  EXPECT_TRUE(g_Settings.SkipEndTurnConfirmation);
  cIniFile written;
  written.Load(L"Settings.ini");
  EXPECT_FALSE(written.GetBool("InterfaceSettings/ConfirmEndTurn", true));

  // From now on the command ends the turn without a question.
  world.turnState.SetCurrentCountry(&west);
  west.finishedTurn = false;
  RequestEndOfHumanTurn(world);
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_TRUE(west.finishedTurn);
  g_Settings = saved;
  g_pWorld = nullptr;
}

}  // namespace
