// The event dialog over the map screen: the screen keeps its own copy of the
// event for the dialog, so the caller's copy may go at once, and tells the
// waiting events check whether the dialog is still open.
#include <gtest/gtest.h>

#include <optional>

#include "app/settings.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/event_dialog.h"
#include "gui/dxut_button.h"
#include "platform/recording_renderer.h"
#include "screens/map_screen.h"
#include "screens/map_screen_fixture.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "units/land_fixture.h"
#include "world/event_records.h"
#include "world/world.h"

namespace {

class MapEvents : public ::testing::Test {
 protected:
  MapEvents() : w_({"pppp", "pppp"}) {
    w_.AddCountries({kAllies, kAxis});
    w_.Country(1).human = true;
    World().turnState.SetCurrentCountry(&w_.Country(1));
    screen_.Open(World());
  }
  cWorld& World() { return *w_.world; }
  cMapScreen& Screen() { return *LoadedMapScreen(); }
  static sEvent Event(int id, const wchar_t* title) {
    sEvent event;
    event.eventId = id;
    event.countryId = 1;
    event.visibleByPlayer = 1;
    event.title = title;
    event.description = L"Text";
    for (const wchar_t* name : {L"Yes", L"No"}) {
      sEventOption option;
      option.description = name;
      option.tooltip = name;
      event.options.push_back(option);
    }
    return event;
  }
  static void ClickTop(int id) {
    ASSERT_NE(g_pActiveDialog, nullptr);
    g_pActiveDialog->OnGUIEvent(EVENT_BUTTON_CLICKED, id, g_pActiveDialog->Dialog().GetControl(id));
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::LandWorld w_;
  twtest::MapScreenScope screen_;
};

TEST_F(MapEvents, DialogOutlivesTheCallersEventAndIsReportedOpenUntilAnOptionIsChosen) {
  EXPECT_FALSE(Screen().EventDialogOpen());
  {
    std::optional<sEvent> event = Event(5, L"First");
    ASSERT_TRUE(World().View()->ShowEventDialog(*event));
    event.reset();  // the events check's own copy may change or go
  }
  ASSERT_NE(FindDialogById(cDialogEventu::kId), nullptr);
  EXPECT_TRUE(Screen().EventDialogOpen());
  auto* yes = dynamic_cast<CDXUTButton*>(g_pActiveDialog->Dialog().GetControl(4001));
  ASSERT_NE(yes, nullptr);
  EXPECT_EQ(std::wstring(yes->GetText()), L"Yes");

  ClickTop(4002);
  EXPECT_FALSE(Screen().EventDialogOpen());
  ASSERT_EQ(World().reports.Reports().size(), 1u);
  EXPECT_NE(World().reports.Reports().back().text.find(L": First\n\nText\n\nChosen option: No (No)"),
            std::wstring::npos);
  DeleteRetiredDialogs();

  // A second event gets a dialog of its own; one still open counts, and a
  // dialog pushed above it does not hide it.
  ASSERT_TRUE(World().View()->ShowEventDialog(Event(6, L"Second")));
  PushDialog(new cDialogEventu(World(), World().eventManager.firedEvent));
  EXPECT_TRUE(Screen().EventDialogOpen());
  PopDialogs(1);
  EXPECT_TRUE(Screen().EventDialogOpen());
  ClickTop(4001);
  EXPECT_FALSE(Screen().EventDialogOpen());
  EXPECT_NE(World().reports.Reports().back().text.find(L": Second\n\nText\n\nChosen option: Yes (Yes)"),
            std::wstring::npos);
}

}  // namespace
