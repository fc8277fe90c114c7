// The clicks that end a report over the map, through the window's message
// routing: no part of a click whose press a dialog took reaches the map, and
// a dialog takes only a click whose press it took, made once it was seen.
#include <gtest/gtest.h>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/turn_dialogs.h"
#include "frame/device_events.h"
#include "frame/input_routing.h"
#include "platform/recording_renderer.h"
#include "screens/map_screen_fixture.h"
#include "support/fake_framework.h"
#include "support/one_memory.h"
#include "units/land_fixture.h"
#include "world/combat_result.h"

namespace {

// Hex (2, 2) selected; the report's Close lies over hex (4, 4). A click on
// Close, one whose report the countdown closes while the button is held
// (moves with the button down, then the release), and a press the map took
// before a report came, released on the report: the selection stays.
TEST(DialogClicks, AClickOnAReportsCloseOverAHexLeavesTheSelection) {
  plat::RecordingRenderer renderer{kScreenW, kScreenH};
  twtest::FakeFramework frame{&renderer};
  frame.SetCallbackMsgProc(MsgProc);
  twtest::LandWorld w({"pppppp", "pppppp", "pppppp", "pppppp", "pppppp", "pppppp"});
  w.AddCountries({kAllies});
  cWorld& world = *w.world;
  world.turnState.SetCurrentCountry(&w.Country(1));
  twtest::MapScreenScope screen;
  screen.Open(world);
  LoadedMapScreen()->EnterMapState();
  g_Settings.MapZoom = 1.0f;
  twtest::LookAtHex(world.GetMap(), 3, 3);
  world.turnState.SelectHex(world, 2, 2);
  int x = 0, y = 0;
  ASSERT_TRUE(twtest::PointOfHex(world.GetMap(), 4, 4, x, y));
  const sLayoutRect kept[] = {g_GuiLayout[cDialogWynikuWalki::kId], g_GuiLayout[cDialogWynikuWalki::kCloseId]};
  g_GuiLayout[cDialogWynikuWalki::kId] = {x - 100, y - 100, 200, 150};
  g_GuiLayout[cDialogWynikuWalki::kCloseId] = {x - 10, y - 10, 20, 20};
  const auto send = [&](unsigned msg, unsigned buttons = 0) { frame.Send({msg, buttons, plat::MakeMouseLParam(x, y)}); };
  const auto report = [&world] { PushDialog(new cDialogWynikuWalki(world, sBombardmentResult{}, 5000.0f)); };

  report();
  send(plat::kWmLButtonDown);
  send(plat::kWmLButtonUp);
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(world.turnState.selectedHex, &w.Hex(2, 2)) << "a click on Close";
  report();
  send(plat::kWmLButtonDown);
  g_pActiveDialog->UpdateTimer(6.0f);
  send(plat::kWmMouseMove, plat::kMkLButton);
  send(plat::kWmLButtonUp);
  EXPECT_EQ(world.turnState.selectedHex, &w.Hex(2, 2)) << "a click on Close the countdown outran";
  send(plat::kWmLButtonDown);
  report();
  send(plat::kWmLButtonUp);
  g_pActiveDialog->UpdateTimer(6.0f);
  send(plat::kWmMouseMove);
  EXPECT_EQ(world.turnState.selectedHex, &w.Hex(2, 2)) << "a press the map took before the report";
  g_GuiLayout[cDialogWynikuWalki::kId] = kept[0];
  g_GuiLayout[cDialogWynikuWalki::kCloseId] = kept[1];
}

// Clicks at one point, where reports and the new-turn greeting close on a
// click (no control of theirs lies there), with no map beneath.
class ClickOwners : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_.SetCallbackMsgProc(MsgProc);
    frame_.SetCallbackMouse(WorldOnMouseThunk, true);
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }
  void Send(unsigned msg, unsigned buttons = 0) { frame_.Send({msg, buttons, plat::MakeMouseLParam(5, 5)}); }
  void Click() {
    Send(plat::kWmLButtonDown);
    Send(plat::kWmLButtonUp);
  }
  template <class Report = cDialogWynikuWalki>
  void Open() { PushDialog(new Report(world_, sBombardmentResult{}, 5000.0f)); }
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  cWorld world_;
};

// A report that takes the memory the last one left, as the allocator may.
using ReportInOneMemory = twtest::InOneMemory<cDialogWynikuWalki>;

TEST_F(ClickOwners, AReportInTheMemoryOfOneClosedUnderAHeldPressStaysOpenOnTheRelease) {
  Open<ReportInOneMemory>();
  Send(plat::kWmLButtonDown);
  g_pActiveDialog->UpdateTimer(6.0f);
  DeleteRetiredDialogs();
  Open<ReportInOneMemory>();
  Send(plat::kWmMouseMove, plat::kMkLButton);
  Send(plat::kWmLButtonUp);
  EXPECT_EQ(g_DialogStack.size(), 1u);
}

// Pressed before a report or the greeting came, released on it after a
// move with the button down.
TEST_F(ClickOwners, APressMadeBeforeADialogCameLeavesItOpenOnTheRelease) {
  for (bool greeting : {false, true}) {
    Send(plat::kWmLButtonDown);
    greeting ? PushDialog(new cDialogNowejTury(world_, 1)) : Open();
    Send(plat::kWmMouseMove, plat::kMkLButton);
    Send(plat::kWmLButtonUp);
    EXPECT_EQ(g_DialogStack.size(), 1u);
    PopDialogs(-1);
  }
}

// A click made before a picture showed the report gone (its countdown
// closed it) leaves the greeting beneath open; one on a report first drawn
// 0.2 s ago leaves it open, 0.26 s closes it.
TEST_F(ClickOwners, APressGoesOnlyToWhatThePlayerHasSeenOnTopForAQuarterOfASecond) {
  PushDialog(new cDialogNowejTury(world_, 1));
  Open();
  OnFrameRender(0.0, 0.0f);
  frame_.time = 1.0;
  g_pActiveDialog->UpdateTimer(6.0f);
  Click();
  Open();
  OnFrameRender(1.0, 0.0f);
  frame_.time = 1.2;
  Click();
  EXPECT_EQ(g_DialogStack.size(), 2u);
  frame_.time = 1.26;
  Click();
  EXPECT_EQ(g_DialogStack.size(), 1u);
}

// A report closed and freed with no frame drawn after it, and the next one
// given its memory: the new one was first seen at 1.0 s, so a click at
// 1.05 s leaves it open.
TEST_F(ClickOwners, AReportInTheMemoryOfAFreedOneIsSeenFromItsOwnFirstPicture) {
  Open<ReportInOneMemory>();
  OnFrameRender(0.0, 0.0f);
  frame_.time = 1.0;
  Click();
  ASSERT_TRUE(g_DialogStack.empty());
  DeleteRetiredDialogs();
  Open<ReportInOneMemory>();
  OnFrameRender(1.0, 0.0f);
  frame_.time = 1.05;
  Click();
  EXPECT_EQ(g_DialogStack.size(), 1u);
}

}  // namespace
