// The diplomacy panel: what it shows for a hex without a controller, an own
// and a foreign hex; the war list; and its actions through the rules: the
// pressure on a neutral, the declaration of war with its question, and the
// elections with the choice dialog, each leaving its result on screen.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/main_thread_queue.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/orientation_choice_dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/rand.h"
#include "platform/recording_renderer.h"
#include "screens/diplomacy_panel.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {

constexpr int kForeign[] = {kDiplomacyDeclareWarId, kDiplomacyPressureId, kDiplomacyCoupId};
constexpr int kOwn[] = {kDiplomacyDelayEntryId, kDiplomacyHastenEntryId, kDiplomacyElectionsId,
                        kDiplomacyOrientationId};

class DiplomacyPanel : public ::testing::Test {
 protected:
  DiplomacyPanel() : w_({"pppp", "pppp"}) {
    w_.AddCountries({kAlliesLeader, kAxisLeader, kNeutral, kNeutral});
    const int orientation[] = {0, 1, 3, 4};
    for (int id = 1; id <= 4; ++id) {
      cCountry& c = w_.Country(id);
      c.active = true;
      c.orientation = orientation[id - 1];
      c.politicalStrength = 30;
      c.allianceEntry = 50;
      c.diplomaticPoints = 200;
      c.name = std::vector<std::wstring>{L"Westland", L"Eastmark", L"Neutralia", L"Hillmark"}[id - 1];
    }
    w_.Country(1).human = true;
    w_.Control(1, 0, 2);
    w_.Control(2, 0, 3);
    w_.Control(3, 0, 0);
    for (auto& row : World().constants.diplomacyTableA) row.fill(100);
    World().constants.diplomacyFactors113 = {1.0f, 10.0f, 5.0f, 0.5f, 0.8f, 2.0f};
    World().constants.diplomacyFactors93 = {1.0f, 10.0f, 5.0f};
    World().turnState.SetCurrentCountry(&w_.Country(1));
    screen_.Open(World());
    World().SetGameState(kPhaseHumanTurn);
  }
  cWorld& World() { return *w_.world; }
  cDiplomacyPanel& Panel() {
    return *dynamic_cast<cDiplomacyPanel*>(LoadedMapScreen()->Panel(cMapScreen::kDiplomacy));
  }
  CDXUTDialog& Controls() { return Panel().Dialog(); }
  void Select(int x, int y) {
    World().turnState.SelectHex(World(), x, y);
    DrainMainThreadRequests();
  }
  void Click(int id) { Panel().OnGUIEvent(EVENT_BUTTON_CLICKED, id, Controls().GetControl(id)); }
  // The active dialog's button clicked (the prompt or the choice).
  void Answer(int id) {
    ASSERT_NE(g_pActiveDialog, nullptr);
    g_pActiveDialog->OnGUIEvent(EVENT_BUTTON_CLICKED, id, g_pActiveDialog->Dialog().GetControl(id));
    DeleteRetiredDialogs();
  }
  std::wstring Value(int id) {
    auto* edit = dynamic_cast<CDXUTEditBox*>(Controls().GetControl(id));
    return edit != nullptr ? std::wstring(edit->GetText()) : L"<none>";
  }
  bool Shown(int id) { return Controls().GetControl(id)->GetVisible(); }
  // The message on top of the stack, or "<none>".
  std::wstring MessageOnTop() {
    auto* message = dynamic_cast<cDialogTekstowy*>(g_pActiveDialog);
    if (message == nullptr) return L"<none>";
    auto* text = dynamic_cast<CDXUTStatic*>(message->Dialog().GetControl(687));
    return text != nullptr ? std::wstring(text->GetText()) : L"<no text>";
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  twtest::MapScreenScope screen_;
};

TEST_F(DiplomacyPanel, ButtonsAndValuesFollowTheSelectedHexsController) {
  Select(3, 0);  // no controller
  for (int id : kForeign) EXPECT_FALSE(Shown(id)) << id;
  for (int id : kOwn) EXPECT_FALSE(Shown(id)) << id;
  EXPECT_FALSE(Shown(kDiplomacyFlagId));
  for (int id : {kDiplomacyCountryId, kDiplomacyUnrestId, kDiplomacyEntryId, kDiplomacyStrengthId}) {
    EXPECT_EQ(Value(id), L"-") << id;
  }

  Select(0, 0);  // own
  for (int id : kForeign) EXPECT_FALSE(Shown(id)) << id;
  for (int id : kOwn) EXPECT_TRUE(Shown(id)) << id;
  // An alliance leader cannot delay or hasten: the check's text is the hint.
  EXPECT_FALSE(Controls().GetControlEnabled(kDiplomacyDelayEntryId));
  EXPECT_EQ(std::wstring(Controls().GetControl(kDiplomacyDelayEntryId)->GetHint()),
            L"diplomacy_country_already_in_alliance");

  w_.Country(3).socialUnrest = 12.3f;
  w_.War(3, 4);
  w_.War(3, 2);
  w_.War(3, 1);
  w_.Country(2).active = false;  // an inactive country is not listed
  Select(2, 0);  // the neutral Neutralia
  for (int id : kForeign) EXPECT_TRUE(Shown(id)) << id;
  for (int id : kOwn) EXPECT_FALSE(Shown(id)) << id;
  EXPECT_EQ(Value(kDiplomacyCountryId), L"Neutralia");
  EXPECT_EQ(Value(kDiplomacyUnrestId), L"12.3%");
  EXPECT_EQ(Value(kDiplomacyAllianceId), L"diplomacy_country_neutral");
  EXPECT_EQ(Value(kDiplomacyEntryId), L"50%");
  EXPECT_EQ(Value(kDiplomacyStrengthId), L"30");
  auto* list = dynamic_cast<CDXUTListBox*>(Controls().GetControl(kDiplomacyWarListId));
  ASSERT_NE(list, nullptr);
  std::vector<std::wstring> rows;
  for (int k = 0; k < list->GetSize(); ++k) rows.emplace_back(list->GetItem(k)->strText);
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"Westland", L"Hillmark"}));
}

TEST_F(DiplomacyPanel, PressureOnANeutralPaysRollsAndShowsTheResult) {
  Select(2, 0);
  ASSERT_TRUE(Controls().GetControlEnabled(kDiplomacyPressureId));
  {
    // Same leaning: certain; the entry rises by 1d10 + 5 (here 10 + 5).
    plat::ScopedRandOverride draws([] { return plat::kRandMax; });
    Click(kDiplomacyPressureId);
  }
  EXPECT_EQ(std::tuple(w_.Country(3).allianceEntry, w_.Country(1).diplomaticPoints), std::tuple(65, 170));
  EXPECT_EQ(MessageOnTop(), L"diplomacy_exert_pressure_alliance_entry_of_country_changed_pressure_from_country");
  // Refreshed: once an impulse.
  EXPECT_FALSE(Controls().GetControlEnabled(kDiplomacyPressureId));
  // Outside the human turn the buttons do nothing.
  PopDialogs(-1);
  w_.Country(3).doneExertPressureAllied = false;
  World().SetGameState(kPhaseComputerPlayers);
  Click(kDiplomacyPressureId);
  EXPECT_EQ(w_.Country(1).diplomaticPoints, 170);
}

TEST_F(DiplomacyPanel, DeclaringWarAsksFirstAndTheResultOutlivesTheQuestion) {
  Select(1, 0);  // Eastmark, the Axis leader
  Click(kDiplomacyDeclareWarId);
  EXPECT_EQ(Panel().Pending(), cDiplomacyPanel::kDeclareWarAnswer);
  ASSERT_NE(dynamic_cast<cDialogPotwierdzenia*>(g_pActiveDialog), nullptr);
  Answer(cDialogPotwierdzenia::kNoId);
  EXPECT_EQ(Panel().Pending(), cDiplomacyPanel::kNone);
  EXPECT_FALSE(World().GetRelations().IsAtWar(1, 2));
  EXPECT_TRUE(g_DialogStack.empty());

  Click(kDiplomacyDeclareWarId);
  Answer(cDialogPotwierdzenia::kYesId);
  EXPECT_TRUE(World().GetRelations().IsAtWar(1, 2) && World().GetRelations().IsAtWar(2, 1));
  EXPECT_EQ(w_.Country(1).diplomaticPoints, 170);
  EXPECT_EQ(MessageOnTop(), L"diplomacy_country_declare_war_on_country_alliance_at_war_with_alliance");
  EXPECT_EQ(g_DialogStack.size(), 1u);
  EXPECT_FALSE(Controls().GetControlEnabled(kDiplomacyDeclareWarId));
}

TEST_F(DiplomacyPanel, ElectionsOfALeaningCountryAreChosenInTheDialog) {
  World().turnState.SetCurrentCountry(&w_.Country(4));  // pro-axis Hillmark plays
  w_.Control(0, 1, 4);
  Select(0, 1);
  ASSERT_TRUE(Controls().GetControlEnabled(kDiplomacyElectionsId));
  // A choice that arrives while none is awaited does nothing.
  Panel().OnGUIEvent(EVENT_BUTTON_CLICKED, 3, nullptr);
  EXPECT_EQ(w_.Country(4).orientation, 4);

  Click(kDiplomacyElectionsId);
  EXPECT_EQ(Panel().Pending(), cDiplomacyPanel::kElectionsChoice);
  ASSERT_NE(dynamic_cast<cDialogWyborow*>(g_pActiveDialog), nullptr);
  Answer(cDialogWyborow::kCancelId);
  EXPECT_EQ(std::tuple(w_.Country(4).orientation, w_.Country(4).doneParliamentaryElections), std::tuple(4, false));

  Click(kDiplomacyElectionsId);
  {
    plat::ScopedRandOverride draws([] { return 0; });  // the drop: 1 + 5
    Answer(3);
  }
  EXPECT_EQ(std::tuple(w_.Country(4).orientation, w_.Country(4).allianceEntry), std::tuple(3, 44));
  EXPECT_EQ(MessageOnTop(), L"diplomacy_elections_in_country_orientation_changed_to_pro_allied_alliance_entry_dropped");
  EXPECT_EQ(Panel().Pending(), cDiplomacyPanel::kNone);
  EXPECT_FALSE(Controls().GetControlEnabled(kDiplomacyElectionsId));
}

}  // namespace
