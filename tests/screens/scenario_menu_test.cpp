// Switching menus, the intro that opens the first one, the scenario menu's
// lists and the loading screen behind its Start.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/sound.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "files/save_game.h"
#include "gui/dxut_button.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "screens/destroy_game.h"
#include "screens/screen_helpers.h"
#include "gui/dxut_frames.h"
#include "gui/gui_fixture.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "rules/worker_thread.h"
#include "screens/game_start.h"
#include "screens/intro.h"
#include "screens/loading_menu.h"
#include "screens/main_menu.h"
#include "screens/pause_menu.h"
#include "screens/menu.h"
#include "screens/scenario_menu.h"
#include "screens/scenario_settings_menu.h"
#include "support/fixture_scenario.h"
#include "world/jednostka_ladowa.h"
#include "world/unit_lists.h"
#include "world/world.h"

namespace {

std::string ScenarioIni(const std::string& name, int turns, int x, int y) {
  return "[General_ENG]\nName=" + name + "\nDescriptionLine1=First line\nDescriptionLine2=Second line\n" +
         "DescriptionLine4=after a gap\nObjectivesLine1=Hold the line\n[Misc]\nAuthor=Test Author\n" +
         "Version=1.2\n[Duration]\nStartDate=01.09.1939\nEndDate=08.05.1945\nTurns=" + std::to_string(turns) +
         "\n[Map]\nSizeX=" + std::to_string(x) + "\nSizeY=" + std::to_string(y) + "\n";
}

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
    const auto& r = renderer_.records;
    return std::count_if(r.begin(), r.end(),
                         [](const plat::DrawRecord& d) { return d.kind == plat::DrawRecord::kEnd; });
  }
};

// A scenario that cannot be read ends its loading, not the program: the
// loader's line comes back for the player and goes to stderr, and nothing
// of the game is left.
TEST_F(LoadingMenu, AFolderThatCannotBeReadEndsItsLoadingWithItsLineAndInputChangesNothing) {
  cScopedThrowingFatalHook throwing;
  twtest::LogCapture log;
  sGameStartSettings settings;
  settings.folderPattern = L"data\\scenarios\\Missing\\%s";
  std::optional<std::wstring> failure;
  ::testing::internal::CaptureStderr();
  ASSERT_NO_THROW(failure = LoadScenario(settings));
  const std::string toldOnStderr = ::testing::internal::GetCapturedStderr();
  ASSERT_TRUE(failure.has_value());
  EXPECT_FALSE(failure->empty());
  EXPECT_TRUE(log.Contains(*failure));
  // A player who started the game from a terminal reads it there too.
  EXPECT_EQ(toldOnStderr, plat::ToUtf8(*failure) + "\n");
  EXPECT_TRUE(log.Contains(L"-- The scenario data\\scenarios\\Missing cannot be loaded"));
  // The loading screen was made and shown progress; no world is left. Keys
  // and clicks change nothing there.
  auto* loading = dynamic_cast<cLoadingMenu*>(g_pCurrentMenu);
  ASSERT_NE(loading, nullptr);
  loading->OnKeyboard(plat::kVkEscape, true, false);
  loading->OnMouse(true, false, false, false, false, 0, 500, 670);
  EXPECT_EQ(g_pCurrentMenu, loading);
  EXPECT_EQ(std::tuple(g_pWorld, IsAiThreadRunning(), bool(g_OnWorldLoadingProgress)),
            std::tuple(nullptr, false, false));
  EXPECT_TRUE(log.Contains(L"----- Loading -----"));
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

  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_EQ(std::pair(g_pWorld->GetGameState(), IsAiThreadRunning()), std::pair(1, true));
  EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(g_pCurrentMenu), nullptr);
  // The steps in their order, the progress rising to 100 with a frame each.
  const auto lines = log.Lines();
  std::vector<std::wstring> progress;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(progress),
               [](const std::wstring& line) { return line.rfind(L" Progress = ", 0) == 0; });
  EXPECT_GE(progress.size(), 5u);
  EXPECT_EQ(std::pair(progress.back(), Scenes()), std::pair(std::wstring(L" Progress = 100%"), progress.size()));
  auto step = lines.begin();
  for (const wchar_t* next : {L"----- Loading -----", L"-- Loading new scenario done!", L"Creating next menu",
                              L"----- Scenario Settings Menu -----", L"Menu created"}) {
    step = std::find(step, lines.end(), next);
    EXPECT_NE(step, lines.end()) << next;
  }
  // The frame's lock is given back.
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
}

using ScenarioMenu = LoadingMenu;

TEST_F(ScenarioMenu, ListsOnlyFoldersWithAnInfoIniAndSurvivesAMalformedOne) {
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
  dir_.Write("data/save/autosave/Info.ini", "[General_ENG]\nName=Operation Beta\n[Save]\nScenarioName=Beta\n");
  // A save's half-written new folder and its old one stepped aside, of a
  // process still running (this one's parent): never saved games.
  const std::string parent = std::to_string(::getppid());
  dir_.Write("data/save/autosave.tmp-" + parent + "/Info.ini", "[General_ENG]\nName=Operation Beta\n");
  dir_.Write("data/pbem/duel.old-" + parent + "/Info.ini", "[General_ENG]\nName=Operation Beta\n");
  // The folder and the row of each entry of a tab.
  using Rows = std::vector<std::pair<std::wstring, std::wstring>>;
  const auto rows = [](int tab) {
    Rows rows;
    for (const auto& entry : ListScenarioEntries(tab, "ENG")) rows.emplace_back(entry.folder, entry.row);
    return rows;
  };
  // The malformed header still loads as a file: defaults throughout.
  EXPECT_EQ(rows(kScenarioTabNewGame), (Rows{{L"data\\scenarios\\Alpha\\", L"Case Alpha;12;100x80"},
                                             {L"data\\scenarios\\Beta\\", L"Operation Beta;30;40x20"},
                                             {L"data\\scenarios\\Broken\\", L"Unknown name;0;0x0"}}));
  // A folder name is text, never a format.
  EXPECT_EQ(rows(kScenarioTabSavedGame),
            (Rows{{L"data\\save\\50%s off\\", L"50%s off;Case Alpha;2026-12-06 20:15"},
                  {L"data\\save\\autosave\\", L"autosave;Operation Beta;--.--.-- --:--"}}));
  EXPECT_TRUE(rows(kScenarioTabPbemGame).empty());
  EXPECT_TRUE(std::filesystem::exists(dir_.Path() / ("data/save/autosave.tmp-" + parent)));
  std::filesystem::remove_all(dir_.Path() / "data/pbem");
  EXPECT_TRUE(rows(kScenarioTabPbemGame).empty());
  // Another language has other names.
  EXPECT_EQ(ListScenarioEntries(kScenarioTabNewGame, "DEU")[0].name, L"Unknown name");
}

// A saved game whose Info.ini is missing or cannot be read is listed as
// damaged rather than vanishing, and starting it is refused with a message
// instead of a load that would end the program.
TEST_F(ScenarioMenu, ASaveWithoutAReadableInfoIniIsListedAsDamagedAndNotStarted) {
  dir_.Write("data/save/Damaged/land_units.csv", "#Land units\n");
  dir_.Write("data/save/Good/Info.ini",
             "[General_ENG]\nName=Case Alpha\n[Save]\nDate=2026-12-06 20:15\nScenarioName=Alpha\n");
  dir_.Write("data/pbem/Unread/map.tdw", "x");
  dir_.Write("data/scenarios/NoHeader/readme.txt", "no Info.ini here");
  const auto saves = ListScenarioEntries(kScenarioTabSavedGame, "ENG");
  ASSERT_EQ(saves.size(), 2u);
  EXPECT_EQ(std::tuple(saves[0].folderName, saves[0].damaged, saves[0].row),
            std::tuple(std::wstring(L"Damaged"), true, std::wstring(L"Damaged;scenario_damaged_save;--.--.-- --:--")));
  EXPECT_FALSE(saves[1].damaged);
  const auto pbem = ListScenarioEntries(kScenarioTabPbemGame, "ENG");
  ASSERT_EQ(pbem.size(), 1u);
  EXPECT_TRUE(pbem[0].damaged);
  // A scenario without its header is still left out.
  EXPECT_TRUE(ListScenarioEntries(kScenarioTabNewGame, "ENG").empty());

  g_RememberedScenarioName.clear();
  auto* menu = new cScenarioMenu();
  auto* tabs = dynamic_cast<CDXUTTabFrame*>(menu->Dialog().GetControl(kScenarioTabsId));
  ASSERT_NE(tabs, nullptr);
  tabs->SelectTab(kScenarioTabSavedGame, false);
  menu->OnGUIEvent(0, kScenarioTabsId, nullptr);
  ASSERT_EQ(menu->Entries().size(), 2u);
  menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);
  EXPECT_EQ(g_pCurrentMenu, menu);
  EXPECT_EQ(g_pWorld, nullptr);
  EXPECT_EQ(g_DialogStack.size(), 1u);
}

// The text of the message on top of the dialog stack, or "<none>".
std::wstring MessageOnTop() {
  auto* message = dynamic_cast<cDialogTekstowy*>(g_pActiveDialog);
  if (message == nullptr) return L"<none>";
  auto* text = dynamic_cast<CDXUTStatic*>(message->Dialog().GetControl(kMessageLayoutIndex + 3));
  return text != nullptr ? std::wstring(text->GetText()) : L"<no text>";
}

// The scenario menu on the saved games' tab (or another), as a click on it
// shows it.
cScenarioMenu* SavedGamesMenu(int tab = kScenarioTabSavedGame) {
  auto* menu = new cScenarioMenu();
  auto* tabs = dynamic_cast<CDXUTTabFrame*>(menu->Dialog().GetControl(kScenarioTabsId));
  if (tabs != nullptr) tabs->SelectTab(tab, false);
  menu->OnGUIEvent(0, kScenarioTabsId, nullptr);
  return menu;
}

// The fixture as the game saves it on its first turn, as "data\save\<name>"
// below the working folder root, after prepare changed its world; no world
// is left.
void SaveFixtureAs(const std::filesystem::path& root, const std::wstring& name,
                   const std::function<void(cWorld&)>& prepare = {}) {
  LoadWorld(twtest::CopyFixtureScenario(root));
  if (prepare) prepare(*g_pWorld);
  EXPECT_TRUE(SaveGame(*g_pWorld, name, false).ok);
  delete g_pWorld;
  g_pWorld = nullptr;
}

// Selects the row of the folder, as a click on it does.
void SelectSave(cScenarioMenu& menu, const std::wstring& folderName) {
  auto* list = dynamic_cast<CDXUTListBox*>(menu.Dialog().GetControl(kScenarioListId));
  ASSERT_NE(list, nullptr);
  for (std::size_t k = 0; k < menu.Entries().size(); ++k) {
    if (menu.Entries()[k].folderName == folderName) list->SelectItem(static_cast<int>(k), false);
  }
  menu.OnGUIEvent(EVENT_LISTBOX_SELECTION, kScenarioListId, nullptr);
}

// Selects the row of the folder and presses Start.
void StartSave(cScenarioMenu& menu, const std::wstring& folderName) {
  SelectSave(menu, folderName);
  menu.OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);
}

// A save the game wrote, copied and each copy damaged as a disk or a hand
// damages one: a copy without a file or a usable header is listed as
// damaged with the reason and refused at Start with it, the menu going on;
// one whose file was cut short is only changed. The save itself starts. A
// load that would end the program throws here and fails the test.
TEST_F(ScenarioMenu, DamagedCopiesOfASaveAreListedWithTheirReasonAndRefusedAtStart) {
  cScopedThrowingFatalHook throwing;
  SaveFixtureAs(dir_.Path(), L"Good");
  const std::filesystem::path saves = dir_.Path() / "data/save";
  for (const char* copy : {"No map", "Cut units", "No scenario", "Empty header"}) {
    std::filesystem::copy(saves / "Good", saves / copy, std::filesystem::copy_options::recursive);
  }
  std::filesystem::remove(saves / "No map/map.tdw");
  const auto units = std::filesystem::file_size(saves / "Cut units/land_units.csv");
  std::filesystem::resize_file(saves / "Cut units/land_units.csv", units / 2);
  std::string header = twtest::ReadFile((saves / "No scenario/Info.ini").string());
  const std::size_t key = header.find("ScenarioName = ");
  ASSERT_NE(key, std::string::npos);
  header.erase(key, header.find('\n', key) + 1 - key);
  dir_.Write("data/save/No scenario/Info.ini", header);
  std::filesystem::resize_file(saves / "Empty header/Info.ini", 0);

  using Rows = std::vector<std::tuple<std::wstring, bool, std::wstring>>;
  Rows rows;
  for (const auto& entry : ListScenarioEntries(kScenarioTabSavedGame, "ENG")) {
    rows.emplace_back(entry.folderName, entry.damaged, entry.damage);
    if (entry.folderName == L"Cut units") {
      EXPECT_EQ(entry.changedFiles, std::vector<std::wstring>{L"land_units.csv"});
    }
  }
  EXPECT_EQ(rows, (Rows{{L"Cut units", false, L""},
                        {L"Empty header", true, L"save_damage_no_scenario_name"},
                        {L"Good", false, L""},
                        {L"No map", true, L"save_damage_map.tdw_missing"},
                        {L"No scenario", true, L"save_damage_no_scenario_name"}}));

  g_RememberedScenarioName.clear();
  cScenarioMenu* menu = SavedGamesMenu();
  for (const auto& [folder, damaged, reason] : rows) {
    if (!damaged) continue;
    StartSave(*menu, folder);
    auto* memo = dynamic_cast<CDXUTMemo*>(menu->Dialog().GetControl(kScenarioDescriptionId));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(std::tuple(std::wstring(memo->GetText()), MessageOnTop(), g_pCurrentMenu, g_pWorld),
              std::tuple(L"scenario_damaged_save_" + reason, L"scenario_damaged_save_" + reason,
                         static_cast<cMenu*>(menu), static_cast<cWorld*>(nullptr)))
        << plat::NarrowBytes(folder);
    PopDialogs(-1);
  }
  StartSave(*menu, L"Good");
  EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(g_pCurrentMenu), nullptr);
  EXPECT_NE(g_pWorld, nullptr);
}

// The question of a changed save on top of the dialog stack, or "<none>".
std::wstring QuestionOnTop() {
  auto* question = dynamic_cast<cDialogPotwierdzenia*>(g_pActiveDialog);
  if (question == nullptr) return L"<none>";
  auto* text = dynamic_cast<CDXUTStatic*>(question->Dialog().GetControl(cDialogPotwierdzenia::kQuestionId));
  return text != nullptr ? std::wstring(text->GetText()) : L"<no text>";
}

// The fixture saved with its 2nd Armoured at strength 98, and copies of the
// save edited by hand: "Stronger" with that strength 100 in land_units.csv
// (one byte longer), "Renamed" with another display name in Info.ini and
// "No map" without map.tdw.
class ChangedSaves : public LoadingMenu {
 protected:
  void SetUp() override {
    LoadingMenu::SetUp();
    SaveFixtureAs(dir_.Path(), L"Saved", [](cWorld& world) {
      for (cJednostkaLadowa* unit : world.Units().landUnits) {
        if (unit->name == L"2nd Armoured") unit->strength = 98;
      }
    });
    for (const char* copy : {"No map", "Renamed", "Stronger"}) {
      std::filesystem::copy(saves_ / "Saved", saves_ / copy, std::filesystem::copy_options::recursive);
    }
    std::filesystem::remove(saves_ / "No map/map.tdw");
    Edit("Stronger/land_units.csv", "\n2;2nd Armoured;1;6;4;4;1;98;", "\n2;2nd Armoured;1;6;4;4;1;100;");
    Edit("Renamed/Info.ini", "Name = Fixture: two alliances at a strait", "Name = My own war");
    g_RememberedScenarioName.clear();
  }
  // Replaces the text in the save's file, which must hold it once.
  void Edit(const std::string& file, const std::string& from, const std::string& to) {
    std::string bytes = twtest::ReadFile((saves_ / file).string());
    const std::size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << file;
    ASSERT_EQ(bytes.find(from, at + 1), std::string::npos) << file;
    dir_.Write("data/save/" + file, bytes.replace(at, from.size(), to));
  }
  // Clicks the question's button ("load it" or "back"); the menu acts on
  // the answer in the frame that follows.
  void Answer(bool load) {
    auto* question = dynamic_cast<cDialogPotwierdzenia*>(g_pActiveDialog);
    ASSERT_NE(question, nullptr);
    const int button = load ? cDialogPotwierdzenia::kYesId : cDialogPotwierdzenia::kNoId;
    question->Dialog().SendEvent(EVENT_BUTTON_CLICKED, true, question->Dialog().GetControl(button), false);
    frame_.frameMove(0.0, 0.1f);
  }
  // The text of the first save's file up to the end of its first lines
  // (without the last line end).
  std::string FirstLines(const std::string& file, int lines) const {
    const std::string text = twtest::ReadFile((saves_ / "Saved" / file).string());
    std::size_t end = 0;
    for (int k = 0; k < lines; ++k) end = text.find("\r\n", end + (k > 0 ? 2 : 0));
    return text.substr(0, end);
  }
  std::wstring Memo(cScenarioMenu& menu) {
    auto* memo = dynamic_cast<CDXUTMemo*>(menu.Dialog().GetControl(kScenarioDescriptionId));
    return memo != nullptr ? std::wstring(memo->GetText()) : L"<no memo>";
  }
  const std::filesystem::path saves_ = dir_.Path() / "data/save";
};

// The two hand edits change their file's size: listed as changed, naming
// the file, not as damaged; the copy without its map stays damaged. Start
// asks; "back" leaves the player in the menu on the save, even when a click
// under the question picked another row; "load it" loads the save as it is
// now; the list's double click asks too, and Enter loads.
TEST_F(ChangedSaves, TheTwoHandEditsLoadAfterTheQuestionWhileAMissingMapStaysRefused) {
  cScopedThrowingFatalHook throwing;
  using Rows = std::vector<std::tuple<std::wstring, bool, std::vector<std::wstring>>>;
  Rows rows;
  for (const auto& entry : ListScenarioEntries(kScenarioTabSavedGame, "ENG")) {
    rows.emplace_back(entry.folderName, entry.damaged, entry.changedFiles);
  }
  EXPECT_EQ(rows, (Rows{{L"No map", true, {}},
                        {L"Renamed", false, {L"Info.ini"}},
                        {L"Saved", false, {}},
                        {L"Stronger", false, {L"land_units.csv"}}}));
  cScenarioMenu* menu = SavedGamesMenu();
  StartSave(*menu, L"No map");
  EXPECT_EQ(MessageOnTop(), L"scenario_damaged_save_save_damage_map.tdw_missing");
  PopDialogs(-1);

  StartSave(*menu, L"Stronger");
  EXPECT_EQ(QuestionOnTop(), L"scenario_changed_save_question");
  EXPECT_EQ(Memo(*menu).rfind(L"scenario_changed_save_note_land_units.csv", 0), 0u);
  auto* list = dynamic_cast<CDXUTListBox*>(menu->Dialog().GetControl(kScenarioListId));
  ASSERT_NE(list, nullptr);
  list->SelectItem(0, false);
  Answer(false);
  const sScenarioEntry* selected = static_cast<const sScenarioEntry*>(list->GetSelectedItem()->pData);
  EXPECT_EQ(std::tuple(g_pCurrentMenu, g_pWorld, g_DialogStack.size(), selected->folderName),
            std::tuple(static_cast<cMenu*>(menu), static_cast<cWorld*>(nullptr), std::size_t{0},
                       std::wstring(L"Stronger")));
  menu->OnGUIEvent(EVENT_BUTTON_CLICKED, kScenarioStartId, nullptr);
  Answer(true);
  ASSERT_NE(g_pWorld, nullptr);
  std::vector<int> strengths;
  for (cJednostkaLadowa* unit : g_pWorld->Units().landUnits) {
    if (unit->name == L"2nd Armoured") strengths.push_back(unit->GetStrength());
  }
  EXPECT_EQ(strengths, std::vector<int>{100});

  DestroyGame();
  menu = SavedGamesMenu();
  SelectSave(*menu, L"Renamed");
  menu->OnGUIEvent(EVENT_LISTBOX_ITEM_DBLCLK, kScenarioListId, nullptr);
  EXPECT_EQ(QuestionOnTop(), L"scenario_changed_save_question");
  g_pActiveDialog->OnKeyboard(plat::kVkReturn, true, false);
  frame_.frameMove(0.0, 0.1f);
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(g_pCurrentMenu), nullptr);
}

// The question of a changed save is modal: a click on the new games' tab
// beside it changes neither the tab nor the list, and "back" leaves the
// saved games' tab on the save.
TEST_F(ChangedSaves, AClickOnATabUnderTheQuestionChangesNothing) {
  const sLayoutRect kept = g_GuiLayout[kScenarioTabsId];
  g_GuiLayout[kScenarioTabsId] = {10, 10, 400, 300};
  cScenarioMenu* menu = SavedGamesMenu();
  StartSave(*menu, L"Stronger");
  for (unsigned msg : {plat::kWmMouseMove, plat::kWmLButtonDown, plat::kWmLButtonUp}) {
    EXPECT_FALSE(menu->OfferMessage({msg, 0, plat::MakeMouseLParam(15, 15)}));
  }
  Answer(false);
  auto* tabs = dynamic_cast<CDXUTTabFrame*>(menu->Dialog().GetControl(kScenarioTabsId));
  auto* list = dynamic_cast<CDXUTListBox*>(menu->Dialog().GetControl(kScenarioListId));
  const auto* selected = static_cast<const sScenarioEntry*>(list->GetSelectedItem()->pData);
  EXPECT_EQ(std::tuple(tabs->GetSelectedTab(), menu->GetTab(), selected->folderName),
            std::tuple(kScenarioTabSavedGame, kScenarioTabSavedGame, std::wstring(L"Stronger")));
  g_GuiLayout[kScenarioTabsId] = kept;
}

using MenuUnderADialog = guitest::GuiTest;

// Under a dialog the menu takes no press, but the release of a press it
// took before the dialog came lets its button go.
TEST_F(MenuUnderADialog, TakesOnlyTheReleaseOfItsOwnPress) {
  cMenu menu;
  menu.Dialog().SetVisible(true);
  menu.Dialog().AddButton(1, L"Go", 0, 0, 50, 20);
  const auto offer = [&menu](unsigned msg) { return menu.OfferMessage({msg, 0, plat::MakeMouseLParam(5, 5)}); };
  EXPECT_TRUE(offer(plat::kWmLButtonDown));
  PushDialog(new cDialog(5));
  EXPECT_FALSE(offer(plat::kWmLButtonDblClk));
  EXPECT_TRUE(offer(plat::kWmLButtonUp));
  PopDialogs(-1);
  DeleteRetiredDialogs();
}

// The save is looked at again when the answer comes: one damaged while the
// question was open is refused; "load it" never loads it.
TEST_F(ChangedSaves, ASaveDamagedWhileTheQuestionIsOpenIsRefusedAtTheAnswer) {
  cScopedThrowingFatalHook throwing;
  cScenarioMenu* menu = SavedGamesMenu();
  StartSave(*menu, L"Stronger");
  std::filesystem::remove(saves_ / "Stronger/map.tdw");
  Answer(true);
  EXPECT_EQ(std::tuple(MessageOnTop(), g_pCurrentMenu, g_pWorld),
            std::tuple(std::wstring(L"scenario_damaged_save_save_damage_map.tdw_missing"), static_cast<cMenu*>(menu),
                       static_cast<cWorld*>(nullptr)));
}

// A save's rows lost as a cut or a careless copy loses them: its land units
// cut inside a row, its air units emptied, and (a play-by-e-mail game's) a
// land unit's id given to a second unit, the file's size kept. Each is
// listed as changed; "load it" finds it damaged: the menu comes back on it
// with a message naming the file and the row, and no world. An edit of the
// same size (strength 98 -> 99) is listed as changed too and loads.
TEST_F(ChangedSaves, LostRowsAreRefusedAfterTheQuestionWhileASameSizeEditLoads) {
  cScopedThrowingFatalHook throwing;
  for (const char* copy : {"Cut row", "No air", "Same size"}) {
    std::filesystem::copy(saves_ / "Saved", saves_ / copy, std::filesystem::copy_options::recursive);
  }
  std::filesystem::create_directories(dir_.Path() / "data/pbem");
  std::filesystem::copy(saves_ / "Saved", dir_.Path() / "data/pbem/Twice", std::filesystem::copy_options::recursive);
  const std::string units = twtest::ReadFile((saves_ / "Saved/land_units.csv").string());
  const std::string armoured = "\n2;2nd Armoured;1;6;4;4;1;98;", airborne = "\n3;1st Airborne;",
                    infantry = "\n1;1st Infantry;";
  const auto lineOf = [&units](const std::string& row) {
    const std::size_t at = units.find(row);
    return at == std::string::npos ? -1 : static_cast<int>(std::count(units.begin(), units.begin() + at + 1, '\n')) + 1;
  };
  ASSERT_GT(lineOf(airborne), 0);
  ASSERT_GT(lineOf(infantry), 0);
  dir_.Write("data/save/Cut row/land_units.csv", units.substr(0, units.find(armoured) + armoured.size()));
  dir_.Write("data/save/No air/air_units.csv", "");
  dir_.Write("data/pbem/Twice/land_units.csv",
             std::string(units).replace(units.find(airborne), airborne.size(), "\n1;1st Airborne;"));
  Edit("Same size/land_units.csv", armoured, "\n2;2nd Armoured;1;6;4;4;1;99;");

  using Rows = std::vector<std::tuple<int, std::wstring, bool, std::vector<std::wstring>>>;
  Rows rows;
  for (const int tab : {kScenarioTabSavedGame, kScenarioTabPbemGame}) {
    for (const auto& entry : ListScenarioEntries(tab, "ENG")) {
      if (entry.folderName != L"Saved" && !entry.changedFiles.empty()) {
        rows.emplace_back(tab, entry.folderName, entry.damaged, entry.changedFiles);
      }
    }
  }
  const std::vector<std::wstring> land{L"land_units.csv"};
  EXPECT_EQ(rows, (Rows{{kScenarioTabSavedGame, L"Cut row", false, land},
                        {kScenarioTabSavedGame, L"No air", false, {L"air_units.csv"}},
                        {kScenarioTabSavedGame, L"Renamed", false, {L"Info.ini"}},
                        {kScenarioTabSavedGame, L"Same size", false, land},
                        {kScenarioTabSavedGame, L"Stronger", false, land},
                        {kScenarioTabPbemGame, L"Twice", false, land}}));

  const std::wstring damaged = L"; the saved game is damaged";
  const std::vector<std::tuple<int, std::wstring, std::wstring>> refused{
      {kScenarioTabSavedGame, L"Cut row",
       plat::Format(L"ERROR: data\\save\\Cut row\\land_units.csv line %i: 8 fields where 33 are needed",
                    lineOf(armoured)) + damaged},
      {kScenarioTabSavedGame, L"No air",
       L"ERROR: data\\save\\No air\\air_units.csv: no air units: the file is empty" + damaged},
      {kScenarioTabPbemGame, L"Twice",
       plat::Format(L"ERROR: data\\pbem\\Twice\\land_units.csv line %i: land unit id 1 is given twice, on lines "
                    L"%i and %i",
                    lineOf(airborne), lineOf(infantry), lineOf(airborne)) + damaged}};
  for (const auto& [tab, folder, reason] : refused) {
    StartSave(*SavedGamesMenu(tab), folder);
    EXPECT_EQ(QuestionOnTop().rfind(L"scenario_changed_save_", 0), 0u);
    Answer(true);
    auto* back = dynamic_cast<cScenarioMenu*>(g_pCurrentMenu);
    ASSERT_NE(back, nullptr) << plat::NarrowBytes(folder);
    auto* list = dynamic_cast<CDXUTListBox*>(back->Dialog().GetControl(kScenarioListId));
    ASSERT_TRUE(list != nullptr && list->GetSelectedItem() != nullptr);
    const auto* selected = static_cast<const sScenarioEntry*>(list->GetSelectedItem()->pData);
    EXPECT_EQ(std::tuple(MessageOnTop(), back->GetTab(), selected->folderName, g_pWorld),
              std::tuple(L"scenario_save_load_failed_" + reason, tab, folder, static_cast<cWorld*>(nullptr)));
    PopDialogs(-1);
    DeleteRetiredMenus();
  }

  StartSave(*SavedGamesMenu(), L"Same size");
  EXPECT_EQ(QuestionOnTop(), L"scenario_changed_save_question");
  Answer(true);
  ASSERT_NE(g_pWorld, nullptr);
  std::vector<int> strengths;
  for (cJednostkaLadowa* unit : g_pWorld->Units().landUnits) {
    if (unit->name == L"2nd Armoured") strengths.push_back(unit->GetStrength());
  }
  EXPECT_EQ(strengths, std::vector<int>{99});
}

// Rows lost where no row is cut (a file cut at a row boundary) are told
// file by file in the list, the description and the question, and the save
// loads after it as it is; a commanders row cut short and a ships file cut
// before its "#In reserve" line are refused after the question; a record of
// the files that does not read (garbled, emptied) lists the save as changed.
TEST_F(ChangedSaves, RowsLostAreToldFileByFileWhileARowCutShortIsRefused) {
  cScopedThrowingFatalHook throwing;
  const auto firstLines = [this](const char* file, int lines) { return FirstLines(file, lines); };
  const std::string record = twtest::ReadFile((saves_ / "Saved/save_complete.txt").string());
  const std::pair<const char*, std::pair<std::string, std::string>> copies[] = {
      {"Fewer units", {"land_units.csv", firstLines("land_units.csv", 5)}},
      {"Cut commander", {"commanders.csv", firstLines("commanders.csv", 3) + "\r\n2;Gen. Br"}},
      {"Cut ships", {"naval_units.csv", firstLines("naval_units.csv", 5)}},
      {"Garbled record", {"save_complete.txt", std::string(record).replace(record.find("fnv1a64=") + 8, 1, "g")}},
      {"Empty record", {"save_complete.txt", ""}}};
  for (const auto& [copy, file] : copies) {
    std::filesystem::copy(saves_ / "Saved", saves_ / copy, std::filesystem::copy_options::recursive);
    dir_.Write("data/save/" + std::string(copy) + "/" + file.first, file.second);
  }
  using Rows = std::vector<std::tuple<std::wstring, bool, std::vector<std::wstring>, std::vector<sLostRows>>>;
  Rows rows;
  std::wstring fewerRow;
  for (const auto& entry : ListScenarioEntries(kScenarioTabSavedGame, "ENG")) {
    if (entry.folderName == L"Fewer units") fewerRow = entry.row;
    if (entry.folderName == L"Renamed" || entry.folderName == L"Stronger" || entry.changedFiles.empty()) continue;
    rows.emplace_back(entry.folderName, entry.damaged, entry.changedFiles, entry.lostRows);
  }
  const std::vector<std::wstring> record_{L"save_complete.txt"};
  // The commander cut inside its row is no row of the count.
  EXPECT_EQ(rows, (Rows{{L"Cut commander", false, {L"commanders.csv"}, {{L"commanders.csv", 1, 5}}},
                        {L"Cut ships", false, {L"naval_units.csv"}, {{L"naval_units.csv", 2, 6}}},
                        {L"Empty record", false, record_, {}},
                        {L"Fewer units", false, {L"land_units.csv"}, {{L"land_units.csv", 3, 9}}},
                        {L"Garbled record", false, record_, {}}}));
  EXPECT_NE(fewerRow.find(L"scenario_changed_save_save_rows_lost_land_units.csv_3_of_9"), std::wstring::npos);

  const std::wstring damaged = L"; the saved game is damaged";
  const std::pair<std::wstring, std::wstring> refused[] = {
      {L"Cut commander", L"ERROR: data\\save\\Cut commander\\commanders.csv line 4: 2 fields where 7 are needed" + damaged},
      {L"Cut ships", L"ERROR: data\\save\\Cut ships\\naval_units.csv: the rows end without the line \"#In reserve\" "
                     L"its writer puts after them: the file was cut" + damaged}};
  for (const auto& [folder, reason] : refused) {
    StartSave(*SavedGamesMenu(), folder);
    Answer(true);
    EXPECT_EQ(std::tuple(MessageOnTop(), g_pWorld),
              std::tuple(L"scenario_save_load_failed_" + reason, static_cast<cWorld*>(nullptr)));
    PopDialogs(-1);
    DeleteRetiredMenus();
  }
  cScenarioMenu* menu = SavedGamesMenu();
  StartSave(*menu, L"Fewer units");
  EXPECT_EQ(QuestionOnTop(), L"scenario_changed_save_rows_question_save_rows_lost_land_units.csv_3_of_9");
  EXPECT_EQ(Memo(*menu).rfind(L"scenario_changed_save_note_save_rows_lost_land_units.csv_3_of_9", 0), 0u);
  Answer(true);
  ASSERT_NE(g_pWorld, nullptr);
  const sUnitLists& units = g_pWorld->Units();
  EXPECT_EQ(units.landUnits.size() + units.carriedUnitsA.size() + units.carriedUnitsB.size(), 3u);
}

// A record of the files that lost its tail (cut at a line end, or inside a
// line so that a line of the older form stays) no longer vouches for the
// files it left out: the save is listed as changed and asked, even where
// each file it still names is as saved. A garbled line hides no other
// table's lost rows, and a record that lost a file's line with the file is
// a change too. A record of the older form that names every file reads, as
// does one behind a byte-order mark.
TEST_F(ChangedSaves, ARecordThatLostLinesIsAChangeAndItsOtherLinesStillTellLostRows) {
  const std::string record = twtest::ReadFile((saves_ / "Saved/save_complete.txt").string());
  const std::size_t land = record.find("land_units.csv;");
  const std::size_t landSize = record.find(';', land + 15);
  const std::size_t landRows = record.find(";rows=", land);
  const std::size_t aiChecksum = record.find("fnv1a64=", record.find("ai_data.csv;")) + 8;
  const std::size_t airship = record.find("airship_attacks.csv;");
  std::string older;  // every line as the first version wrote it, its size alone
  for (std::size_t at = 0; at < record.size(); at = record.find('\n', at) + 1) {
    older += record.substr(at, record.find(';', record.find(';', at) + 1) - at) + "\r\n";
  }
  const std::string fewerUnits = FirstLines("land_units.csv", 4) + "\r\n";
  const std::pair<const char*, std::string> copies[] = {
      {"Cut at a line", record.substr(0, land)},
      {"Cut in a line", record.substr(0, landSize)},
      {"Garbled line", std::string(record).replace(aiChecksum, 1, "g")},
      {"Line without rows", std::string(record).erase(landRows, record.find("\r\n", land) - landRows)},
      {"Marked", "\xEF\xBB\xBF" + record},
      {"Older", older},
      {"No airship reports", std::string(record).erase(airship, record.find('\n', airship) + 1 - airship)}};
  for (const auto& [copy, marker] : copies) {
    std::filesystem::copy(saves_ / "Saved", saves_ / copy, std::filesystem::copy_options::recursive);
    dir_.Write("data/save/" + std::string(copy) + "/save_complete.txt", marker);
    if (std::string(copy) != "Marked" && std::string(copy) != "Older" && std::string(copy) != "No airship reports") {
      dir_.Write("data/save/" + std::string(copy) + "/land_units.csv", fewerUnits);
    }
  }
  // The reports deleted with their line: a record of the current form names
  // every file a save writes.
  std::filesystem::remove(saves_ / "No airship reports/airship_attacks.csv");
  using Rows = std::vector<std::tuple<std::wstring, bool, std::vector<std::wstring>, std::vector<sLostRows>>>;
  Rows rows;
  for (const auto& entry : ListScenarioEntries(kScenarioTabSavedGame, "ENG")) {
    if (entry.folderName == L"Renamed" || entry.folderName == L"Stronger" || entry.folderName == L"No map") continue;
    rows.emplace_back(entry.folderName, entry.damaged, entry.changedFiles, entry.lostRows);
  }
  const std::wstring kRecord = L"save_complete.txt", kLand = L"land_units.csv";
  EXPECT_EQ(rows, (Rows{{L"Cut at a line", false, {kRecord}, {}},
                        {L"Cut in a line", false, {kRecord, kLand}, {}},
                        {L"Garbled line", false, {kRecord, kLand}, {{kLand, 2, 9}}},
                        {L"Line without rows", false, {kRecord, kLand}, {}},
                        {L"Marked", false, {}, {}},
                        {L"No airship reports", false, {kRecord}, {}},
                        {L"Older", false, {}, {}},
                        {L"Saved", false, {}, {}}}));
  StartSave(*SavedGamesMenu(), L"Cut at a line");
  EXPECT_EQ(QuestionOnTop(), L"scenario_changed_save_question");
}

// A save the list cannot judge (one without the marker, as a game that
// wrote none left it) whose map is gone: its loading meets the missing file
// and ends; the player is back in the scenario menu on the save with the
// reason, not out of the game.
TEST_F(ScenarioMenu, ASaveWhoseLoadingFailsReturnsToTheMenuWithTheReason) {
  cScopedThrowingFatalHook throwing;
  SaveFixtureAs(dir_.Path(), L"Older");
  std::filesystem::remove(dir_.Path() / "data/save/Older/save_complete.txt");
  std::filesystem::remove(dir_.Path() / "data/save/Older/map.tdw");
  g_RememberedScenarioName.clear();
  cScenarioMenu* menu = SavedGamesMenu();
  ASSERT_EQ(menu->Entries().size(), 1u);
  EXPECT_FALSE(menu->Entries()[0].damaged);
  twtest::LogCapture log;
  StartSave(*menu, L"Older");
  auto* back = dynamic_cast<cScenarioMenu*>(g_pCurrentMenu);
  ASSERT_NE(back, nullptr);
  EXPECT_NE(back, menu);
  EXPECT_EQ(std::tuple(back->GetTab(), back->Entries().size(), g_pWorld, IsAiThreadRunning()),
            std::tuple(kScenarioTabSavedGame, std::size_t{1}, static_cast<cWorld*>(nullptr), false));
  EXPECT_EQ(MessageOnTop(), L"scenario_save_load_failed_Loading from data\\save\\Older\\map.tdw... FAILED");
  EXPECT_TRUE(log.Contains(L"-- The saved game data\\save\\Older cannot be loaded"));
  // The frame goes on: the menu left behind goes at its end, the new one
  // shows the save's picture, the message closes and the menu takes keys.
  DeleteRetiredMenus();
  auto* picture = dynamic_cast<CDXUTImage*>(back->Dialog().GetControl(kScenarioPictureId));
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(picture->GetVisible());
  EXPECT_NE(g_Textures[kScenarioPictureSlot].Get(), nullptr);
  EXPECT_EQ(picture->m_pTexture, g_Textures[kScenarioPictureSlot].Get());
  PopDialogs(-1);
  back->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
}

// A copy of the fixture in a folder of its own, started from the list while
// it still names the original's folder, first in its header, then, that
// mended, in two lines of its event list: each start is refused with the
// line that says what to change (every list line, in its own slashes), in
// the log and on screen, the player staying in the menu; mended, it starts.
// A start that would end the program throws here.
TEST_F(ScenarioMenu, ACopiedScenarioNamingTheOriginalIsRefusedAtStartUntilMended) {
  cScopedThrowingFatalHook throwing;
  twtest::CopyFixtureScenario(dir_.Path());
  const std::filesystem::path copy = dir_.Path() / "data/scenarios/My war";
  std::filesystem::copy(dir_.Path() / "data/scenarios/Fixture", copy, std::filesystem::copy_options::recursive);
  std::string header = twtest::ReadFile((copy / "Info.ini").string());
  ASSERT_NE(header.find("ScenarioName=Fixture"), std::string::npos);
  // The event list as a copy of a scenario with events keeps it, its lines
  // written with either slash.
  dir_.Write("data/scenarios/My war/event_files.txt",
             "; the events\r\ndata/scenarios/Fixture/events/story.xml\r\ndata\\scenarios\\Fixture\\story.xml\r\n");
  const std::wstring refusals[] = {
      L"ERROR: data\\scenarios\\My war\\Info.ini: Save/ScenarioName \"Fixture\" is not the scenario's own folder "
      L"\"My war\": the game would read the events, constants, cities diagram and sea edges of scenario \"Fixture\". "
      L"Set ScenarioName=My war in the [Save] section, or give the folder the name \"Fixture\".",
      L"ERROR: data\\scenarios\\My war\\event_files.txt lines 2, 3: event files not inside the scenario folder "
      L"data\\scenarios\\My war\\; the events of a scenario are read from its own folder only: line 2: write it as "
      L"data/scenarios/My war/events/story.xml; line 3: write it as data\\scenarios\\My war\\story.xml."};
  g_RememberedScenarioName.clear();
  cScenarioMenu* menu = SavedGamesMenu(kScenarioTabNewGame);
  for (const std::wstring& refusal : refusals) {
    twtest::LogCapture log;
    StartSave(*menu, L"My war");
    EXPECT_EQ(std::tuple(MessageOnTop(), g_pCurrentMenu, g_pWorld),
              std::tuple(L"scenario_start_refused_" + refusal, static_cast<cMenu*>(menu), static_cast<cWorld*>(nullptr)));
    EXPECT_TRUE(log.Contains(refusal));
    PopDialogs(-1);
    // The player mends what the message names.
    if (&refusal == &refusals[0]) {
      dir_.Write("data/scenarios/My war/Info.ini",
                 header.replace(header.find("ScenarioName=Fixture"), 20, "ScenarioName=My war"));
    } else {
      std::filesystem::remove(copy / "event_files.txt");
    }
  }
  StartSave(*menu, L"My war");
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_EQ(g_pWorld->scenarioName, L"My war");
  EXPECT_NE(dynamic_cast<cScenarioSettingsMenu*>(g_pCurrentMenu), nullptr);
}

using Events = std::vector<std::string>;

// Notes its construction, its events and its destruction.
struct NotedMenu : cMenu {
  NotedMenu(std::string name, Events& events) : name(std::move(name)), events(events) {
    events.push_back(this->name + " built, current " + (g_pCurrentMenu == this ? "self" : "other") + ", visible " +
                     (dialog_.GetVisible() ? "yes" : "no"));
  }
  ~NotedMenu() override { events.push_back(name + " deleted"); }
  void OnGUIEvent(unsigned, int controlId, CDXUTControl*) override {
    events.push_back(name + " event " + std::to_string(controlId));
    // Opens the next menu from inside its own handler and keeps using its
    // own members afterwards: the object must still be alive.
    new NotedMenu(name + "+", events);
    events.push_back(name + " still here");
  }
  void OnKeyboard(unsigned key, bool, bool) override { events.push_back(name + " key " + std::to_string(key)); }
  std::string name;
  Events& events;
};

class MenuSwitching : public ::testing::Test {
 protected:
  void TearDown() override {
    RetireCurrentMenu();
    DeleteRetiredMenus();
  }
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework framework_{&renderer_};
  twtest::LogCapture log_;
  Events events_;
};

// A menu deleted directly by its owner while retired is not freed again.
TEST_F(MenuSwitching, SecondMenuRetiresTheFirstAndFreesItAtTheEndOfTheFrame) {
  new NotedMenu("A", events_);
  auto* b = new NotedMenu("B", events_);
  new NotedMenu("C", events_);
  auto* d = new NotedMenu("D", events_);
  // Nobody is deleted yet.
  EXPECT_EQ(std::pair(g_pCurrentMenu, events_.size()), std::pair(static_cast<cMenu*>(d), std::size_t{4}));
  delete b;
  // The frame render ends by freeing the replaced menus.
  framework_.frameRender(0.0, 0.0f);
  EXPECT_EQ(events_, (Events{"A built, current self, visible no", "B built, current self, visible no",
                             "C built, current self, visible no", "D built, current self, visible no", "B deleted",
                             "C deleted", "A deleted"}));
  EXPECT_EQ(g_pCurrentMenu, d);
}

TEST_F(MenuSwitching, AHandlerMayOpenTheNextMenuAndGoOnRunning) {
  auto* a = new NotedMenu("A", events_);
  // The dialog reports its controls' events through the menu thunk.
  framework_.keyboard(65, true, false);
  a->Dialog().AddButton(1, L"next", 0, 0, 10, 10);
  a->Dialog().SendEvent(EVENT_BUTTON_CLICKED, true, a->Dialog().GetControl(1), false);
  ASSERT_NE(g_pCurrentMenu, a);
  // Input now goes to the new menu.
  framework_.keyboard(66, true, false);
  DeleteRetiredMenus();
  EXPECT_EQ(events_, (Events{"A built, current self, visible no", "A key 65", "A event 1",
                             "A+ built, current self, visible no", "A still here", "A+ key 66",
                             "A deleted"}));
}

class Intro : public MenuSwitching {
 protected:
  void SetUp() override {
    plat::SetClock(&clock_);
    clock_.Advance(50000);
    SetAudioDevice(&audio_);
    for (auto slot : {SND_INTRO_SOUND_LOGO, SND_INTRO_SOUND_GAME_LOGO, SND_MAIN_MENU_MUSIC_LOOP}) {
      g_Sounds[slot] = audio_.LoadSound(dir_.Write(std::to_string(slot) + ".wav", "RIFF"), 1);
    }
  }
  void TearDown() override {
    MenuSwitching::TearDown();
    for (auto& sound : g_Sounds) sound.reset();
    SetAudioDevice(nullptr);
    plat::SetClock(nullptr);
  }
  void Frame(int advanceMs) {
    clock_.Advance(advanceMs);
    if (framework_.frameMove) framework_.frameMove(0.0, 0.0f);
    if (framework_.frameRender) framework_.frameRender(0.0, 0.0f);
  }
  std::shared_ptr<twtest::FakeSoundRecord> Sound(int slot) {
    return audio_.SoundOf(dir_.File(std::to_string(slot) + ".wav"));
  }

  plat::ManualClock clock_;
  twtest::TempDir dir_;
  twtest::FakeAudioDevice audio_;
};

TEST_F(Intro, MissingMoviesAreLoggedThenTheLogosRunEightSecondsEachAndTheMainMenuOpens) {
  StartIntro();  // the test's working folder has no data/
  for (const wchar_t* movie : {L"", L"2", L"3"}) {
    EXPECT_TRUE(log_.Contains(std::wstring(L"Loading intro movie from dataintro") + movie + L".avi [FAILED]"));
  }
  EXPECT_FALSE(framework_.mouseMoves);
  Frame(0);
  EXPECT_EQ(std::pair(g_Intro.logoState, Sound(SND_INTRO_SOUND_LOGO)->plays.size()), std::pair(1, std::size_t{1}));

  // Each logo runs eight seconds, then the main menu opens.
  const std::uint32_t begun = g_Intro.startTime;
  Frame(8000);  // not over 8000 yet
  EXPECT_EQ(g_Intro.logoState, 1);
  Frame(1);
  EXPECT_EQ(std::pair(g_Intro.logoState, g_Intro.startTime), std::pair(2, begun + 8001));
  Frame(8001);
  // State 3 ends the intro in the same frame.
  EXPECT_EQ(g_Intro.logoState, 0);
  ASSERT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
  // The game logo's sound played twice, the menu music repeats.
  EXPECT_EQ(std::pair(Sound(SND_INTRO_SOUND_GAME_LOGO)->plays.size(), Sound(SND_MAIN_MENU_MUSIC_LOOP)->loops.size()),
            std::pair(std::size_t{2}, std::size_t{1}));
  // The intro's frame move is gone: the menu installed its own.
  EXPECT_TRUE(framework_.frameMove);
}

TEST_F(Intro, AKeyDuringTheFirstLogoEndsBothLogos) {
  StartIntro();
  Frame(0);
  Frame(500);
  framework_.keyboard(plat::kVkSpace, false, false);  // a key-up is no skip
  EXPECT_EQ(g_Intro.logoState, 1);
  framework_.keyboard(plat::kVkSpace, true, false);
  // The next frame opens the menu.
  EXPECT_EQ(std::pair(g_Intro.logoState, g_pCurrentMenu), std::pair(2, static_cast<cMenu*>(nullptr)));
  Frame(16);
  EXPECT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
}

TEST_F(Intro, AClickDuringTheSecondLogoEndsTheIntro) {
  StartIntro();
  Frame(0);
  Frame(8001);
  framework_.mouse(false, true, false, false, false, 0, 5, 5);  // right button: nothing
  EXPECT_EQ(g_Intro.logoState, 2);
  framework_.mouse(true, false, false, false, false, 0, 5, 5);
  EXPECT_EQ(g_Intro.logoState, 3);
  Frame(16);
  EXPECT_NE(dynamic_cast<cMainMenu*>(g_pCurrentMenu), nullptr);
}

// Abandoning the game from the pause menu frees the world and goes back to
// the scenario menu with the menu music repeating, as the main menu plays it.
TEST_F(Intro, AbandoningFromThePauseMenuFreesTheWorldAndRepeatsTheMenuMusic) {
  g_pWorld = new cWorld();
  auto* pause = new cPauseMenu();
  pause->Dialog().SendEvent(EVENT_BUTTON_CLICKED, true, pause->Dialog().GetControl(kPauseAbort), false);
  EXPECT_EQ(g_pWorld, nullptr);
  EXPECT_NE(dynamic_cast<cScenarioMenu*>(g_pCurrentMenu), nullptr);
  const auto music = Sound(SND_MAIN_MENU_MUSIC_LOOP);
  EXPECT_EQ(std::pair(music->loops.size(), music->plays.size()), std::pair(std::size_t{1}, std::size_t{0}));
}

// A dialog over the game that notes whether the world still existed when it
// was closed.
struct sInGameDialog : cDialog {
  explicit sInGameDialog(std::vector<bool>& closes) : cDialog(77), closes(closes) {}
  void Close() override {
    closes.push_back(g_pWorld != nullptr);
    cDialog::Close();
  }
  std::vector<bool>& closes;
};

// Abandoning the game closes every dialog opened over it while the world
// they show still exists, and leaves the stack empty.
TEST_F(Intro, AbandoningClosesTheDialogsOverTheGameBeforeTheWorldGoes) {
  g_pWorld = new cWorld();
  std::vector<bool> closes;
  PushDialog(new sInGameDialog(closes));
  PushDialog(new sInGameDialog(closes));
  auto* pause = new cPauseMenu();  // closes the top one
  pause->Dialog().SendEvent(EVENT_BUTTON_CLICKED, true, pause->Dialog().GetControl(kPauseAbort), false);
  EXPECT_EQ(closes, (std::vector<bool>{true, true}));
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_EQ(std::pair(g_pActiveDialog, g_pWorld), std::pair(static_cast<cDialog*>(nullptr), static_cast<cWorld*>(nullptr)));
  DeleteRetiredDialogs();
}

}  // namespace
