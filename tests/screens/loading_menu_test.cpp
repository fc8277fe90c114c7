#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/dialog_stack.h"
#include "dialogs/dialog.h"
#include "app/framework_lock.h"
#include "screens/game_start.h"
#include "app/fatal_exit.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"
#include "rules/worker_thread.h"
#include "screens/loading_menu.h"
#include "screens/scenario_menu.h"
#include "support/fixture_scenario.h"
#include "screens/scenario_settings_menu.h"
#include "world/world.h"

namespace {

class LoadingMenu : public guitest::GuiTest {
 protected:
  void TearDown() override {
    StopAiThread();
    PopDialogs(-1);
    DeleteRetiredDialogs();
    RetireCurrentMenu();
    DeleteRetiredMenus();
    delete g_pWorld;
    g_pWorld = nullptr;
    g_OnWorldLoadingProgress = nullptr;
    GuiTest::TearDown();
  }
  std::size_t Scenes() const {
    return static_cast<std::size_t>(std::count_if(renderer_.records.begin(), renderer_.records.end(),
                                                  [](const plat::DrawRecord& r) {
                                                    return r.kind == plat::DrawRecord::kEnd;
                                                  }));
  }
};

TEST_F(LoadingMenu, EachStepSetsTheClampedBarLogsTheValueAndDrawsAFrame) {
  auto* menu = new cLoadingMenu();
  twtest::LogCapture log;
  renderer_.records.clear();
  for (int percent : {5, 150, 45, -7, 100}) menu->SetProgress(percent);
  EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{L" Progress = 5%", L" Progress = 150%", L" Progress = 45%",
                                                    L" Progress = -7%", L" Progress = 100%"}));
  EXPECT_EQ(Scenes(), 5u);
  menu->SetProgress(150);
  EXPECT_EQ(menu->GetProgress(), 100);
  menu->SetProgress(-7);
  EXPECT_EQ(menu->GetProgress(), 0);

  // Keys and clicks while loading change nothing.
  menu->OnKeyboard(plat::kVkEscape, true, false);
  menu->OnMouse(true, false, false, false, false, 0, 500, 670);
  EXPECT_EQ(g_pCurrentMenu, menu);
}

TEST_F(LoadingMenu, AFolderThatCannotBeReadEndsTheProcessWithCode1) {
  cScopedThrowingFatalHook throwing;
  twtest::LogCapture log;
  sGameStartSettings settings;
  settings.folderPattern = L"data\\scenarios\\Missing\\%s";
  try {
    LoadScenario(settings);
    ADD_FAILURE() << "a missing folder loaded";
  } catch (const sFatalExitError& error) {
    EXPECT_EQ(error.exitCode, 1);
  }
  // The loading screen was made and shown progress; no world is left.
  EXPECT_NE(dynamic_cast<cLoadingMenu*>(g_pCurrentMenu), nullptr);
  EXPECT_EQ(g_pWorld, nullptr);
  EXPECT_FALSE(IsAiThreadRunning());
  EXPECT_TRUE(log.Contains(L"----- Loading -----"));
  EXPECT_FALSE(g_OnWorldLoadingProgress);
}

TEST_F(LoadingMenu, StartInTheScenarioMenuLoadsTheFixtureAndOpensTheSettings) {
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty());
  twtest::CopyFixtureScenario(dir_.Path());
  g_RememberedScenarioName.clear();
  auto* scenarios = new cScenarioMenu();
  scenarios->FillList();
  ASSERT_EQ(scenarios->Entries().size(), 1u);
  twtest::LogCapture log;
  renderer_.records.clear();
  scenarios->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);

  EXPECT_EQ(g_GameStartSettings.folderPattern, L"data\\scenarios\\Fixture\\%s");
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_EQ(g_pWorld->GetGameState(), 1);
  EXPECT_TRUE(IsAiThreadRunning());
  EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(g_pCurrentMenu), nullptr);
  // The steps in their order, the progress rising to 100 with a frame each.
  const std::vector<std::wstring> expected = {L"----- Loading -----", L"-- Loading new scenario done!",
                                              L"Creating next menu", L"----- Scenario Settings Menu -----",
                                              L"Menu created"};
  std::vector<std::wstring> steps;
  int progressLines = 0, lastPercent = 0;
  for (const std::wstring& line : log.Lines()) {
    if (line.rfind(L" Progress = ", 0) == 0) {
      ++progressLines;
      lastPercent = std::stoi(line.substr(12));
    } else if (std::find(expected.begin(), expected.end(), line) != expected.end()) {
      steps.push_back(line);
    }
  }
  EXPECT_EQ(steps, expected);
  EXPECT_GE(progressLines, 5);
  EXPECT_EQ(lastPercent, 100);
  EXPECT_EQ(Scenes(), static_cast<std::size_t>(progressLines));
  // The frame's lock is given back.
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
}

}  // namespace
