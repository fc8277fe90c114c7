// The event dialog: its height and place from the layout with and without a
// picture, one button per option with the option's texts, the fourth button
// of a play-by-e-mail game; the report a click writes before the option is
// applied, the save-and-exit request, and a failed save that keeps the game
// going.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>

#include "app/gui_layout.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/event_dialog.h"
#include "files/save_game.h"
#include "gui/dxut_button.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/recording_view.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/event_records.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

class EventDialog : public ::testing::Test {
 protected:
  EventDialog() {
    for (int id = cDialogEventu::kId; id <= cDialogEventu::kRowId; ++id) saved_[id - cDialogEventu::kId] = g_GuiLayout[id];
    // The middle line of the frame entry is y 400.
    g_GuiLayout[780] = {100, 0, 600, 800};
    g_GuiLayout[781] = {110, 10, 580, 30};
    g_GuiLayout[782] = {120, 50, 128, 85};
    g_GuiLayout[783] = {120, 140, 300, 100};  // text bottom 240
    g_GuiLayout[784] = {440, 50, 250, 300};   // a square of 250 at y 75
    g_GuiLayout[785] = {120, 250, 300, 36};
    g_GuiLayout[786] = {120, 290, 300, 40};   // rows 40 apart
    twtest::AddCountry(world_, 1, L"Westland");
    twtest::AddCountry(world_, 2, L"Eastmark");
    world_.GetDate().year = 1939;
    world_.GetDate().month = 9;
    world_.impulseCounters[0] = 3;
    event_.eventId = 17;
    event_.countryId = 2;
    event_.visibleByPlayer = 1;
    event_.title = L"Mobilisation";
    event_.description = L"The army calls up its reserves.";
    for (const wchar_t* name : {L"Call them up", L"Wait", L"Ask the allies"}) {
      sEventOption option;
      option.description = name;
      option.tooltip = std::wstring(name) + L" (tooltip)";
      event_.options.push_back(option);
    }
  }
  ~EventDialog() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    for (int id = cDialogEventu::kId; id <= cDialogEventu::kRowId; ++id) g_GuiLayout[id] = saved_[id - cDialogEventu::kId];
  }
  cDialogEventu& Open() {
    auto* d = new cDialogEventu(world_, event_);
    PushDialog(d);
    return *d;
  }
  static CDXUTControl* Control(cDialogEventu& d, int id) { return d.Dialog().GetControl(id); }
  static std::wstring Caption(cDialogEventu& d, int id) {
    auto* button = dynamic_cast<CDXUTButton*>(Control(d, id));
    return button != nullptr ? std::wstring(button->GetText()) : L"<none>";
  }
  static void Click(cDialogEventu& d, int id) { d.OnGUIEvent(EVENT_BUTTON_CLICKED, id, Control(d, id)); }

  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  cWorld world_;
  sEvent event_;
  sLayoutRect saved_[7];
};

TEST_F(EventDialog, WithoutPictureThreeOptionsBelowTheTextCentredOnTheFrameLine) {
  event_.image = L"missing.png";  // named, but no such file
  cDialogEventu& d = Open();
  EXPECT_FALSE(d.HasPicture());
  EXPECT_EQ(Control(d, cDialogEventu::kPictureId), nullptr);
  // Lowest part: the third row, 3 x 40 + 250 = 370; the title's margin 10
  // below; centred on 400.
  EXPECT_EQ(d.TotalHeight(), 380);
  EXPECT_EQ(d.OffsetY(), 210);
  CDXUTControl* frame = Control(d, cDialogEventu::kId);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->GetY(), 210);
  EXPECT_EQ(frame->GetHeight(), 380);
  EXPECT_EQ(frame->GetX(), 100);
  EXPECT_FALSE(frame->GetDraggable());

  auto* title = dynamic_cast<CDXUTStatic*>(Control(d, cDialogEventu::kTitleId));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(std::wstring(title->GetText()), L"Mobilisation");
  EXPECT_EQ(title->GetY(), 220);
  auto* text = dynamic_cast<CDXUTMemo*>(Control(d, cDialogEventu::kTextId));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::wstring(text->GetText()), L"The army calls up its reserves.");
  EXPECT_EQ(text->GetY(), 350);
  ASSERT_NE(Control(d, cDialogEventu::kFlagId), nullptr);
  EXPECT_EQ(Control(d, cDialogEventu::kFlagId)->GetY(), 260);

  EXPECT_EQ(d.OptionCount(), 3);
  EXPECT_EQ(d.SaveAndExitId(), 0);
  const wchar_t* captions[] = {L"Call them up", L"Wait", L"Ask the allies"};
  for (int n = 1; n <= 3; ++n) {
    CDXUTControl* button = Control(d, 4000 + n);
    ASSERT_NE(button, nullptr) << n;
    EXPECT_EQ(Caption(d, 4000 + n), captions[n - 1]);
    EXPECT_EQ(std::wstring(button->GetHint()), std::wstring(captions[n - 1]) + L" (tooltip)");
    EXPECT_EQ(button->GetX(), 120);
    EXPECT_EQ(button->GetY(), 460 + (n - 1) * 40);
    EXPECT_EQ(button->GetHeight(), 36);
  }
  EXPECT_EQ(Control(d, 4004), nullptr);
}

TEST_F(EventDialog, PlayByEmailAddsSaveAndExitAsTheNextRow) {
  world_.playByEmail = true;
  cDialogEventu& d = Open();
  // Four rows: 4 x 40 + 250 = 410, total 420, centred on 400.
  EXPECT_EQ(d.TotalHeight(), 420);
  EXPECT_EQ(d.OffsetY(), 190);
  EXPECT_EQ(d.SaveAndExitId(), 4004);
  ASSERT_NE(Control(d, 4004), nullptr);
  EXPECT_EQ(Caption(d, 4004), L"event_save_and_exit");
  EXPECT_EQ(std::wstring(Control(d, 4004)->GetHint()), L"event_save_and_exit_hint");
  EXPECT_EQ(Control(d, 4004)->GetY(), 250 + 3 * 40 + 190);
  EXPECT_EQ(Control(d, 4005), nullptr);
}

TEST_F(EventDialog, PictureIsTheLargestSquareOfItsPlaceAndCanSetTheHeight) {
  dir_.Write("data/events/mobilisation.png", twtest::PngHeader(512, 512));
  event_.image = L"mobilisation.png";
  event_.options.resize(1);
  cDialogEventu& d = Open();
  ASSERT_TRUE(d.HasPicture());
  // The square's bottom (75 + 250 = 325) lies below the text and the one
  // row (290): total 335, centred on 400 with integer halves.
  EXPECT_EQ(d.TotalHeight(), 335);
  EXPECT_EQ(d.OffsetY(), 233);
  CDXUTControl* picture = Control(d, cDialogEventu::kPictureId);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetX(), 440);
  EXPECT_EQ(picture->GetY(), 75 + 233);
  EXPECT_EQ(picture->GetWidth(), 250);
  EXPECT_EQ(picture->GetHeight(), 250);
}

TEST_F(EventDialog, PictureNamesOutsideTheFolderAreNotLoaded) {
  dir_.Write("data/outside.png", twtest::PngHeader(512, 512));
  for (const wchar_t* name : {L"../outside.png", L"..\\outside.png", L"sub/../../outside.png", L"/etc/x.png",
                              L"C:x.png", L""}) {
    EXPECT_FALSE(IsEventPictureName(name)) << plat::NarrowBytes(name);
    event_.image = name;
    cDialogEventu& d = Open();
    EXPECT_FALSE(d.HasPicture());
    PopDialogs(1);
  }
  EXPECT_TRUE(IsEventPictureName(L"1939/poland..png"));
}

TEST_F(EventDialog, ChosenOptionIsReportedForTheEventsCountryThenTheDialogCloses) {
  cDialogEventu& d = Open();
  // Other ids and other events do nothing.
  d.OnGUIEvent(EVENT_BUTTON_CLICKED, 4000, nullptr);
  d.OnGUIEvent(EVENT_BUTTON_CLICKED, 4004, nullptr);
  d.OnGUIEvent(EVENT_CHECKBOX_CHANGED, 4002, nullptr);
  EXPECT_TRUE(world_.reports.Reports().empty());
  ASSERT_EQ(g_DialogStack.size(), 1u);

  Click(d, 4002);
  EXPECT_TRUE(g_DialogStack.empty());
  ASSERT_EQ(world_.reports.Reports().size(), 1u);
  const sReport& report = world_.reports.Reports().front();
  EXPECT_EQ(report.type, 25);
  EXPECT_EQ(report.countryId, 2);
  EXPECT_EQ(report.year, 1939);
  EXPECT_EQ(report.month, 9);
  EXPECT_EQ(report.impulse, 3);
  EXPECT_EQ(report.text,
            L"Event for country Eastmark: Mobilisation\n\nThe army calls up its reserves.\n\n"
            L"Chosen option: Wait (Wait (tooltip))");
  EXPECT_FALSE(world_.eventSaveAndExitRequested);
}

TEST_F(EventDialog, SaveAndExitSavesForTheNextPlayerAndStopsTheEvents) {
  world_.playByEmail = true;
  world_.playByEmailGameName = L"  Duel  ";
  world_.GetMap().SetWidth(4);
  world_.GetMap().SetHeight(3);
  world_.GetMap().CreateHexes();
  cDialogEventu& d = Open();
  Click(d, d.SaveAndExitId());
  EXPECT_TRUE(world_.eventSaveAndExitRequested);
  EXPECT_TRUE(fs::is_regular_file(dir_.Path() / "data/pbem/Duel/Info.ini"));
  EXPECT_TRUE(g_DialogStack.empty());
  // No option was chosen.
  EXPECT_TRUE(world_.reports.Reports().empty());
}

TEST_F(EventDialog, FailedSaveIsToldAndTheDialogStaysForAnOption) {
  world_.playByEmail = true;
  world_.playByEmailGameName = L"Duel";
  world_.GetMap().SetWidth(4);
  world_.GetMap().SetHeight(3);
  world_.GetMap().CreateHexes();
  auto view = std::make_unique<twtest::RecordingView>(world_);
  twtest::RecordingView& seen = *view;
  world_.SetView(std::move(view));
  SaveStepHook previous = SetSaveStepHook([](eSaveStage stage, const std::wstring&, const std::wstring&) {
    return stage == eSaveStage::kWriteMarker ? ENOSPC : 0;
  });
  cDialogEventu& d = Open();
  Click(d, d.SaveAndExitId());
  SetSaveStepHook(std::move(previous));
  EXPECT_FALSE(world_.eventSaveAndExitRequested);
  ASSERT_EQ(seen.Calls().size(), 1u);
  EXPECT_EQ(seen.Calls()[0].first, "message");
  ASSERT_EQ(g_DialogStack.size(), 1u);
  Click(d, 4001);
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(world_.reports.Reports().size(), 1u);
  world_.SetView(nullptr);
}

}  // namespace
