// A game saved from the pause menu through the save dialog is the same game
// when the scenario menu loads it back: saved again, every file reads the
// same but the save's own time stamp.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/save_game_dialog.h"
#include "files/save_game.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"
#include "rules/worker_thread.h"
#include "screens/destroy_game.h"
#include "screens/menu.h"
#include "screens/pause_menu.h"
#include "screens/scenario_menu.h"
#include "support/fixture_scenario.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

// Every file of a save with its bytes; the save's date line left out.
std::map<std::string, std::string> SaveFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string bytes = twtest::ReadFile(entry.path().string());
    if (entry.path().filename() == "Info.ini") {
      std::istringstream in(bytes);
      std::string line, kept;
      while (std::getline(in, line)) {
        if (line.rfind("Date=", 0) != 0) kept += line + "\n";
      }
      bytes = kept;
    }
    files[entry.path().filename().string()] = bytes;
  }
  return files;
}

class SaveFromPauseMenu : public guitest::GuiTest {
 protected:
  void TearDown() override {
    if (g_pWorld != nullptr) DestroyGame();
    PopDialogs(-1);
    DeleteRetiredDialogs();
    RetireCurrentMenu();
    DeleteRetiredMenus();
    GuiTest::TearDown();
  }
  // Starts the first entry of the scenario menu's tab.
  static void StartFromScenarioMenu(int tab) {
    auto* menu = new cScenarioMenu();
    auto* tabs = dynamic_cast<CDXUTTabFrame*>(menu->Dialog().GetControl(kScenarioTabsId));
    ASSERT_NE(tabs, nullptr);
    tabs->SelectTab(tab, false);
    menu->OnGUIEvent(0, kScenarioTabsId, tabs);
    ASSERT_EQ(menu->Entries().size(), 1u);
    menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);
    ASSERT_NE(g_pWorld, nullptr);
  }
};

TEST_F(SaveFromPauseMenu, TheSaveLoadsBackThroughTheScenarioMenuAsTheSameGame) {
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty());
  twtest::CopyFixtureScenario(dir_.Path());
  g_RememberedScenarioName.clear();
  StartFromScenarioMenu(kScenarioTabNewGame);

  auto* pause = new cPauseMenu();
  pause->OnGUIEvent(EVENT_BUTTON_CLICKED, kPauseSave, nullptr);
  auto* dialog = dynamic_cast<cDialogZapisuGry*>(g_pActiveDialog);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(g_pCurrentMenu, nullptr);  // the pause menu is gone
  dialog->NameBox()->SetText(L" From pause ");
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogZapisuGry::kSaveId, nullptr);
  ASSERT_TRUE(fs::is_directory("data/save/From pause"));
  // The map is in its menu state: Enter reaches the message over the dialog.
  ASSERT_NE(g_pActiveDialog, dialog);
  MenuOnKeyboardThunk(plat::kVkReturn, true, false);
  ASSERT_EQ(g_pActiveDialog, dialog);
  dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogZapisuGry::kExitId, nullptr);
  EXPECT_TRUE(g_DialogStack.empty());
  DeleteRetiredDialogs();

  DestroyGame();
  StartFromScenarioMenu(kScenarioTabSavedGame);
  EXPECT_EQ(g_pWorld->savedGame, true);
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Again", false).ok);
  const auto first = SaveFiles("data/save/From pause");
  const auto again = SaveFiles("data/save/Again");
  ASSERT_GE(first.size(), 20u);
  for (const auto& [name, bytes] : first) {
    const auto it = again.find(name);
    ASSERT_NE(it, again.end()) << name;
    EXPECT_TRUE(it->second == bytes) << name << " differs after loading the save back";
  }
  EXPECT_EQ(first.size(), again.size());
}

}  // namespace
