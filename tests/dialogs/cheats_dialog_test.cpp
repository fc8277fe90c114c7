// The developer dialog: the countries it lists and selects first, the
// control switch, the points typed into its boxes, and the event id it
// keeps between openings.
#include <gtest/gtest.h>

#include "dialogs/cheats_dialog.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "units/land_fixture.h"
#include "world/country.h"
#include "world/event_records.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {

class CheatsDialog : public ::testing::Test {
 protected:
  CheatsDialog() : w_({"ppp"}) {
    w_.AddCountries({kAllies, kAxis, kNeutral});
    w_.Country(2).politicalStrength = -1;  // a dummy: not listed
    World().turnState.SetCurrentCountry(&w_.Country(3));
    World().SetGameState(kPhaseHumanTurn);
  }
  ~CheatsDialog() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }
  cWorld& World() { return *w_.world; }
  void Type(cDialogCheatow& d, int id, const wchar_t* text) {
    d.Edit(id)->SetText(text);
    d.OnGUIEvent(EVENT_EDITBOX_CHANGE, id, d.Edit(id));
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
};

TEST_F(CheatsDialog, EditsTheSelectedCountryAndKeepsTheEventId) {
  for (int id : {1, 3}) w_.Country(id).active = true;
  w_.Country(3).productionPoints = 41.9;
  w_.Country(3).diplomaticPoints = 5;
  auto* d = new cDialogCheatow(World());
  PushDialog(d);
  ASSERT_EQ(d->List()->GetSize(), 2);
  EXPECT_EQ(d->SelectedCountry(), &w_.Country(3));
  EXPECT_EQ(d->List()->GetSelectedIndex(), 1);
  EXPECT_EQ(std::wstring(d->Edit(cDialogCheatow::kProductionId)->GetText()), L"41");
  EXPECT_EQ(std::wstring(d->Edit(cDialogCheatow::kDiplomacyId)->GetText()), L"5");

  // The points follow the text as it is typed; no number is 0.
  Type(*d, cDialogCheatow::kProductionId, L"2");
  EXPECT_EQ(w_.Country(3).productionPoints, 2.0);
  Type(*d, cDialogCheatow::kProductionId, L"250");
  EXPECT_EQ(w_.Country(3).productionPoints, 250.0);
  Type(*d, cDialogCheatow::kDiplomacyId, L"");
  EXPECT_EQ(w_.Country(3).diplomaticPoints, 0);
  Type(*d, cDialogCheatow::kDiplomacyId, L"-7x");
  EXPECT_EQ(w_.Country(3).diplomaticPoints, -7);
  EXPECT_EQ(CheatIntValue(L"99999999999"), 2147483647);

  d->OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, cDialogCheatow::kHumanId, nullptr);
  EXPECT_TRUE(w_.Country(3).human);
  d->OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, cDialogCheatow::kAiId, nullptr);
  EXPECT_FALSE(w_.Country(3).human);

  // Another row: that country, its points shown.
  d->List()->SelectItem(0, false);
  d->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogCheatow::kCountriesId, nullptr);
  EXPECT_EQ(d->SelectedCountry(), &w_.Country(1));

  Type(*d, cDialogCheatow::kEventId, L"12");
  twtest::LogCapture log;
  d->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogCheatow::kFireId, nullptr);
  EXPECT_TRUE(log.Contains(L"USER FORCED FIRING OF EVENT ID=12. Searching for this event..."));
  EXPECT_TRUE(log.Contains(L"Event was not found!"));
  EXPECT_EQ(World().eventManager.firedEvent.eventId, 0);

  // An event of that id (the second of two with it is not taken): the
  // manager keeps a copy as the event fired last, nothing else changes.
  for (const wchar_t* title : {L"Mobilisation", L"Second of the id"}) {
    sEvent event;
    event.eventId = 12;
    event.countryId = 3;
    event.title = title;
    World().eventManager.events.push_back(event);
  }
  d->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogCheatow::kFireId, nullptr);
  EXPECT_TRUE(log.Contains(L"Event found! Returning..."));
  EXPECT_EQ(World().eventManager.firedEvent.eventId, 12);
  EXPECT_EQ(World().eventManager.firedEvent.title, L"Mobilisation");
  EXPECT_TRUE(World().reports.Reports().empty());
  EXPECT_EQ(g_DialogStack.size(), 1u);
  d->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogCheatow::kCloseId, nullptr);
  EXPECT_TRUE(g_DialogStack.empty());

  auto* again = new cDialogCheatow(World());
  PushDialog(again);
  EXPECT_EQ(std::wstring(again->Edit(cDialogCheatow::kEventId)->GetText()), L"12");

  // While the computer plays, the points and the control are the worker's:
  // the dialog changes nothing, and still closes.
  World().SetGameState(kPhaseComputerPlayers);
  const double points = w_.Country(3).productionPoints;
  Type(*again, cDialogCheatow::kProductionId, L"999");
  again->OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, cDialogCheatow::kHumanId, nullptr);
  EXPECT_EQ(w_.Country(3).productionPoints, points);
  EXPECT_FALSE(w_.Country(3).human);
  again->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogCheatow::kCloseId, nullptr);
  EXPECT_TRUE(g_DialogStack.empty());
}

}  // namespace
