#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "dialogs/dialog_stack.h"
#include "dialogs/dialog.h"
#include "gui/gui_fixture.h"
#include "screens/main_menu.h"
#include "screens/scenario_menu.h"

namespace {

std::string ScenarioIni(const std::string& name, int turns, int x, int y) {
  return "[General_ENG]\nName=" + name + "\nDescriptionLine1=First line\nDescriptionLine2=Second line\n" +
         "DescriptionLine4=after a gap\nObjectivesLine1=Hold the line\n[Misc]\nAuthor=Test Author\n" +
         "Version=1.2\n[Duration]\nStartDate=01.09.1939\nEndDate=08.05.1945\nTurns=" + std::to_string(turns) +
         "\n[Map]\nSizeX=" + std::to_string(x) + "\nSizeY=" + std::to_string(y) + "\n";
}

class ScenarioMenu : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_RememberedScenarioName.clear();
    dir_.Write("data/scenarios/Beta/Info.ini", ScenarioIni("Operation Beta", 30, 40, 20));
    dir_.Write("data/scenarios/Alpha/Info.ini", ScenarioIni("Case Alpha", 12, 100, 80));
    // A malformed header: no sections, stray bytes, a line without '='.
    dir_.Write("data/scenarios/Broken/Info.ini", std::string("\xff\xfe\x00garbage\n[unclosed\n=\nName\n", 28));
    dir_.Write("data/scenarios/NoHeader/readme.txt", "no Info.ini here");
    dir_.Write("data/scenarios/.hidden/Info.ini", ScenarioIni("Hidden", 1, 1, 1));
    dir_.Write("data/scenarios/loose_file.ini", ScenarioIni("File", 1, 1, 1));
    dir_.Write("data/save/50%s off/Info.ini",
               "[General_ENG]\nName=Case Alpha\n[Save]\nDate=2026-12-06 20:15\nTurn=7\n"
               "GameYearDisplayed=39\nGameMonthDisplayed=10\nGameDayDisplayed=3\nScenarioName=Alpha\n");
    dir_.Write("data/save/autosave/Info.ini", "[General_ENG]\nName=Operation Beta\n");
    dir_.Write("data/scenarios/Alpha/image.png", guitest::PngHeader(256, 256));
    std::filesystem::create_directories(dir_.Path() / "data/pbem");
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    DeleteRetiredMenus();
    delete g_pCurrentMenu;
    GuiTest::TearDown();
  }
};

TEST_F(ScenarioMenu, ListsOnlyFoldersWithAnInfoIniAndSurvivesAMalformedOne) {
  const auto entries = ListScenarioEntries(kScenarioTabNewGame, "ENG");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].row, L"Case Alpha;12;100x80");
  EXPECT_EQ(entries[0].folder, L"data\\scenarios\\Alpha\\");
  EXPECT_EQ(entries[1].folderName, L"Beta");
  EXPECT_EQ(entries[1].row, L"Operation Beta;30;40x20");
  // The malformed header still loads as a file: defaults throughout.
  EXPECT_EQ(entries[2].folderName, L"Broken");
  EXPECT_EQ(entries[2].row, L"Unknown name;0;0x0");

  const auto saves = ListScenarioEntries(kScenarioTabSavedGame, "ENG");
  ASSERT_EQ(saves.size(), 2u);
  // A folder name is text, never a format.
  EXPECT_EQ(saves[0].row, L"50%s off;Case Alpha;2026-12-06 20:15");
  EXPECT_EQ(saves[0].folder, L"data\\save\\50%s off\\");
  EXPECT_EQ(saves[1].row, L"autosave;Operation Beta;--.--.-- --:--");

  EXPECT_TRUE(ListScenarioEntries(kScenarioTabPbemGame, "ENG").empty());
  std::filesystem::remove_all(dir_.Path() / "data/pbem");
  EXPECT_TRUE(ListScenarioEntries(kScenarioTabPbemGame, "ENG").empty());
  // Another language has other names.
  EXPECT_EQ(ListScenarioEntries(kScenarioTabNewGame, "DEU")[0].name, L"Unknown name");
}

}  // namespace
