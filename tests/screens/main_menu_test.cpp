#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "gui/dxut_control.h"
#include "gui/dxut_element.h"
#include "gui/dxut_static.h"
#include "platform/recording_renderer.h"
#include "app/dialog_stack.h"
#include "dialogs/dialog.h"
#include "screens/main_menu.h"
#include "screens/pause_menu.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace {

class MainMenu : public ::testing::Test {
 protected:
  void SetUp() override { framework_.desc = {1024, 768}; }
  void TearDown() override {
    RetireCurrentMenu();
    DeleteRetiredMenus();
  }
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework framework_{&renderer_};
  twtest::LogCapture log_;
};

TEST_F(MainMenu, BuildsItsControlsAndShowsItself) {
  auto* menu = new cMainMenu();
  EXPECT_EQ(log_.Lines().at(0), L"-- Setting callbacks");
  EXPECT_EQ(log_.Lines().at(1), L"----- Main Menu -----");
  for (int id : {kMainMenuFrame, kMainMenuStart, kMainMenuPreferences, kMainMenuCredits, kMainMenuExit,
                 kVersionLineId}) {
    EXPECT_NE(menu->Dialog().GetControl(id), nullptr) << id;
  }
  EXPECT_TRUE(menu->Dialog().GetVisible());
}

TEST_F(MainMenu, ExitShutsTheFrameDown) {
  auto* menu = new cMainMenu();
  menu->Dialog().SendEvent(EVENT_BUTTON_CLICKED, true, menu->Dialog().GetControl(kMainMenuExit), false);
  EXPECT_TRUE(framework_.shutdown);
  EXPECT_EQ(framework_.exitCode, 0);
}

TEST_F(MainMenu, CreditsWithoutTheMovieReturnToTheMenu) {
  auto* menu = new cMainMenu();
  menu->Dialog().SendEvent(EVENT_BUTTON_CLICKED, true, menu->Dialog().GetControl(kMainMenuCredits), false);
  EXPECT_TRUE(log_.Contains(L"Loading credits movie from datacredits.avi [FAILED]"));
  EXPECT_FALSE(menu->CreditsPlaying());
  EXPECT_TRUE(menu->Dialog().GetVisible());
}

TEST_F(MainMenu, PauseMenuClosesTheTopDialogAndResumeLeavesNoMenu) {
  PushDialog(new cDialog(1));
  PushDialog(new cDialog(2));
  auto* pause = new cPauseMenu();
  EXPECT_TRUE(log_.Contains(L"----- Pause Menu -----"));
  ASSERT_EQ(g_DialogStack.size(), 1u);  // only the top one closed
  EXPECT_EQ(g_pActiveDialog->GetId(), 1);
  for (int id : {kPauseMenuFrame, kPauseResume, kPauseSave, kPausePreferences, kPauseAbort, kPauseExit,
                 kVersionLineId}) {
    EXPECT_NE(pause->Dialog().GetControl(id), nullptr) << id;
  }
  pause->Dialog().SendEvent(EVENT_BUTTON_CLICKED, true, pause->Dialog().GetControl(kPauseResume), false);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  DeleteRetiredMenus();
  PopDialogs(-1);
  DeleteRetiredDialogs();
}

TEST(StartUp, TitleShowsTheBuildOnlyWhenItIsNoMultipleOf100) {
  EXPECT_EQ(VersionTitle(1.01f, 200), L"Tidewrack v1.01");
  EXPECT_EQ(VersionTitle(1.01f, 201), L"Tidewrack v1.01 [build 201]");
  EXPECT_EQ(VersionTitle(1.01f, 5), L"Tidewrack v1.01 [build   5]");
  EXPECT_EQ(VersionTitle(1.01f, 0), L"Tidewrack v1.01");
}

TEST(StartUp, MissingUnicodeLayerWritesErrorTxtAndEndsWithCodeZero) {
  twtest::TempDir dir;
  dir.Write("error.txt", "an older, longer error text\r\n");
  twtest::ScopedWorkingFolder folder(dir.Path());
  twtest::LogCapture log;
  EXPECT_EXIT(ExitUnicodeLayerMissing(), ::testing::ExitedWithCode(0), "");
  // Overwritten: the one text, no line end.
  EXPECT_EQ(twtest::ReadFile(dir.File("error.txt")), "unicows.dll not found! cannot load game");
  EXPECT_TRUE(log.Contains(L"unicows.dll_not_found,_cannot_start_application"));
}

}  // namespace
