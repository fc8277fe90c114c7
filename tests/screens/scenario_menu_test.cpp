// The scenario menu over a fixture tree of scenario, save and e-mail game
// folders: what is listed, what a selection shows, start and back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/dialog_stack.h"
#include "app/game_start.h"
#include "app/gui_layout.h"
#include "dialogs/dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"
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
  cScenarioMenu* OpenMenu() {
    auto* menu = new cScenarioMenu();
    menu->FillList();
    return menu;
  }
  static std::wstring Field(cScenarioMenu* menu, int id) {
    auto* edit = static_cast<CDXUTEditBox*>(menu->Dialog().GetControl(id, DXUT_CONTROL_EDITBOX));
    return edit != nullptr ? edit->GetText() : L"(none)";
  }
  static std::wstring Memo(cScenarioMenu* menu, int id) {
    auto* memo = static_cast<CDXUTMemo*>(menu->Dialog().GetControl(id, DXUT_CONTROL_MEMO));
    return memo != nullptr ? memo->GetText() : L"(none)";
  }
  static CDXUTListBox* List(cScenarioMenu* menu) {
    return static_cast<CDXUTListBox*>(menu->Dialog().GetControl(kScenarioListId, DXUT_CONTROL_LISTBOX));
  }
  static void SelectTab(cScenarioMenu* menu, int tab) {
    auto* tabs = static_cast<CDXUTTabFrame*>(menu->Dialog().GetControl(kScenarioTabsId));
    tabs->SelectTab(tab, false);
    menu->OnGUIEvent(EVENT_TABFRAME_CHANGED, kScenarioTabsId, tabs);
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

TEST_F(ScenarioMenu, SelectionShowsTheEntryAndTabsKeepTheRememberedScenario) {
  cScenarioMenu* menu = OpenMenu();
  EXPECT_EQ(List(menu)->GetSize(), 3);
  EXPECT_EQ(List(menu)->GetSelectedIndex(), 0);
  EXPECT_TRUE(menu->Dialog().GetControlEnabled(kScenarioStartId));
  EXPECT_EQ(g_RememberedScenarioName, L"Case Alpha");
  EXPECT_EQ(Field(menu, kScenarioAuthorId), L"Test Author");
  EXPECT_EQ(Field(menu, kScenarioVersionId), L"1.2");
  EXPECT_EQ(Field(menu, kScenarioMapSizeId), L"100x80");
  EXPECT_NE(Field(menu, kScenarioDurationId).find(L"01.09.1939"), std::wstring::npos);
  EXPECT_EQ(Memo(menu, kScenarioDescriptionId), L"First line\nSecond line\n");
  EXPECT_EQ(Memo(menu, kScenarioObjectivesId), L"Hold the line\n");
  EXPECT_EQ(Field(menu, kScenarioSaveDateId), L"-");  // not on the new-game tab
  auto* picture = static_cast<CDXUTImage*>(menu->Dialog().GetControl(kScenarioPictureId));
  EXPECT_TRUE(picture->GetVisible());
  EXPECT_EQ(picture->m_rcSource.right, 256);  // a small picture is shown whole

  List(menu)->SelectItem(1, false);
  menu->OnGUIEvent(EVENT_LISTBOX_SELECTION, kScenarioListId, List(menu));
  EXPECT_EQ(g_RememberedScenarioName, L"Operation Beta");
  EXPECT_EQ(Field(menu, kScenarioMapSizeId), L"40x20");
  EXPECT_FALSE(picture->GetVisible());  // Beta has no picture

  // The saved games: the remembered name's row is preselected.
  SelectTab(menu, kScenarioTabSavedGame);
  EXPECT_EQ(menu->GetTab(), kScenarioTabSavedGame);
  ASSERT_EQ(List(menu)->GetSize(), 2);
  EXPECT_EQ(List(menu)->GetSelectedIndex(), 1);
  EXPECT_EQ(Field(menu, kScenarioSaveDateId), L"-");  // autosave has no save keys
  List(menu)->SelectItem(0, false);
  menu->OnGUIEvent(EVENT_LISTBOX_SELECTION, kScenarioListId, List(menu));
  EXPECT_EQ(Field(menu, kScenarioSaveDateId), L"2026-12-06 20:15");
  EXPECT_EQ(Field(menu, kScenarioSaveTurnId).find(L"39.10.03"), 0u);
  EXPECT_TRUE(picture->GetVisible());  // the saved game's scenario picture

  // An empty tab: no rows, start disabled, empty fields.
  SelectTab(menu, kScenarioTabPbemGame);
  EXPECT_EQ(List(menu)->GetSize(), 0);
  EXPECT_FALSE(menu->Dialog().GetControlEnabled(kScenarioStartId));
  EXPECT_EQ(Field(menu, kScenarioAuthorId), L"-");
  menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);  // nothing chosen: nothing happens
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(ScenarioMenu, DescriptionStopsAfter99Lines) {
  std::string ini = "[General_ENG]\nName=Long\n";
  for (int k = 1; k <= 120; ++k) ini += "DescriptionLine" + std::to_string(k) + "=x\n";
  dir_.Write("data/scenarios/Alpha/Info.ini", ini);
  cScenarioMenu* menu = OpenMenu();
  std::wstring expected;
  for (int k = 0; k < 99; ++k) expected += L"x\n";
  EXPECT_EQ(Memo(menu, kScenarioDescriptionId), expected);
}

TEST_F(ScenarioMenu, StartHandsTheEntryToTheGameStartAndStaysWhenLoadingFails) {
  cScenarioMenu* menu = OpenMenu();
  SelectTab(menu, kScenarioTabSavedGame);
  List(menu)->SelectItem(0, false);
  twtest::LogCapture log;
  menu->OnGUIEvent(EVENT_LISTBOX_ITEM_DBLCLK, kScenarioListId, List(menu));
  EXPECT_EQ(g_GameStartParams.folder, L"data\\save\\50%s off\\");
  EXPECT_TRUE(g_GameStartParams.savedGame);
  EXPECT_TRUE(log.Contains(L"loading_scenario_from_data\\save\\50%s off\\"));
  // Nothing can be loaded yet: the menu stays and a message says so.
  EXPECT_EQ(g_pCurrentMenu, menu);
  ASSERT_NE(g_pActiveDialog, nullptr);
  EXPECT_EQ(g_pActiveDialog->GetId(), cDialogTekstowy::kFrameId);
  // While it shows, the menu's keys go to it: Esc closes the message only.
  menu->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_EQ(g_pActiveDialog, nullptr);
  EXPECT_EQ(g_pCurrentMenu, menu);

  SelectTab(menu, kScenarioTabNewGame);
  menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);
  EXPECT_EQ(g_GameStartParams.folder, L"data\\scenarios\\Alpha\\");
  EXPECT_FALSE(g_GameStartParams.savedGame);
}

TEST_F(ScenarioMenu, EscapeAndBackReturnToTheMainMenu) {
  cScenarioMenu* menu = OpenMenu();
  menu->OnKeyboard(plat::kVkEscape, false, false);  // key up: stays
  EXPECT_EQ(g_pCurrentMenu, menu);
  menu->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
  DeleteRetiredMenus();

  auto* again = OpenMenu();
  again->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioBackId, nullptr);
  EXPECT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
}

}  // namespace
