#include <filesystem>
#include <memory>

#include "app/settings.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "files/event_loader.h"
#include "files/pbem_repository.h"
#include "gui/dxut_combobox.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"
#include "screens/scenario_menu.h"
#include "screens/scenario_settings_menu.h"
#include "screens/screen_helpers.h"
#include "support/world_builders.h"
#include "world/event_manager.h"
#include "world/map.h"
#include "world/map_text.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

struct sCountryRow {
  const wchar_t* name;
  int alliance, strength;
  bool active = true, human = false;
  int player = 0, specialFlags = 0;
};

// A world of countries alone, ids in the order given, with the players Anna (1) and Ben (2).
cWorld* MakeWorld(const std::vector<sCountryRow>& rows) {
  auto* world = new cWorld();
  for (const sCountryRow& row : rows) {
    cCountry& country = twtest::AddCountry(*world, row.alliance, row.name);
    country.politicalStrength = row.strength;
    country.active = row.active;
    country.human = row.human;
    country.pbemPlayerId = row.player;
    country.specialFlags = row.specialFlags;
  }
  world->pbemPlayers = {{1, L"Anna", L"Anna@mail"}, {2, L"Ben", L"Ben@mail"}};
  return world;
}

sPbemPlayer Player(int id, const wchar_t* name) { return sPbemPlayer{id, name, std::wstring(name) + L"@mail"}; }

TEST(ScenarioSettingsRules, OnlyActiveRealCountriesSortedByNameNewPlayerIdsNeverInUseAndNamesChecked) {
  std::unique_ptr<cWorld> world(MakeWorld({{L"Poland", kAllies, 40},
                                           {L"Dummy", kNeutral, -1},
                                           {L"Germany", kAxisLeader, 90, true, true},
                                           {L"Gone", kNeutral, 10, false},
                                           {L"Albania", kNeutral, 5},
                                           {L"\u00c9ire", kNeutral, 5},
                                           {L"Zeta", kNeutral, 0}}));
  // Characters compare as numbers: "Z" before the accented capital.
  std::vector<std::wstring> names;
  for (const cCountry* c : ListSettingsCountries(*world)) names.push_back(c->name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Albania", L"Germany", L"Poland", L"Zeta", L"\u00c9ire"}));

  // A difficulty out of range reads as the nearest one.
  world->GetCountry(3)->difficulty = -1;
  EXPECT_EQ(FormatSettingsCountryRow(*world->GetCountry(3), *world),
            L" Germany;scenario_settings_human_controlled;scenario_settings_very_hard");
  world->GetCountry(1)->difficulty = 9;
  EXPECT_EQ(FormatSettingsCountryRow(*world->GetCountry(1), *world),
            L" Poland;scenario_settings_ai_controlled;scenario_settings_very_easy");
  // After player 1 was removed the count would give 2 again, an id in use.
  EXPECT_EQ(std::tuple(NextPbemPlayerId({}), NextPbemPlayerId({Player(2, L"b")}),
                       NextPbemPlayerId({Player(4, L"d"), Player(1, L"a")})),
            std::tuple(1, 3, 5));
  for (const wchar_t* good : {L"New pbem", L"Game 1.2", L"x"}) EXPECT_TRUE(IsAcceptablePbemName(good)) << good;
  EXPECT_EQ(CleanPbemName(L"  Alpha \t"), L"Alpha");
  for (const wchar_t* bad : {L"", L"   ", L"..", L"a..b", L"50%s", L"a/b", L"a\\b", L"C:", L"a*", L"a?",
                             L"<a>", L"a;b", L"#1", L"a&b", L"a|b"}) {
    EXPECT_FALSE(IsAcceptablePbemName(bad)) << bad;
  }
}

// The menu over a world built here; the start rules, over worlds of their own,
// run in the same working folder.
class ScenarioSettingsMenu : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetPbemRepositoryPath(L"data\\pbem\\repo.dat");
    g_pWorld = MakeWorld({{L"Poland", kAllies, 40}, {L"Dummy", kNeutral, -1}, {L"Germany", kAxisLeader, 90},
                          {L"France", kAlliesLeader, 70}});
    g_pWorld->pbemPlayers = {Player(1, L"Anna"), Player(3, L"Carl")};
    menu_ = new cScenarioSettingsMenu();
  }
  void TearDown() override {
    CloseMessage();
    RetireCurrentMenu();
    DeleteRetiredMenus();
    delete g_pWorld;
    g_pWorld = nullptr;
    GuiTest::TearDown();
  }
  static void CloseMessage() {
    PopDialogs(-1);
    DeleteRetiredDialogs();
  }
  template <class T = CDXUTControl>
  T* Control(int id) {
    return static_cast<T*>(menu_->Dialog().GetControl(id));
  }
  void Send(unsigned event, int id) { menu_->OnGUIEvent(event, id, Control(id)); }
  std::wstring Row(int id, int row) { return Control<CDXUTListBox>(id)->GetItem(row)->strText; }
  void Select(int listId, int row) {
    Control<CDXUTListBox>(listId)->SelectItem(row, false);
    Send(EVENT_LISTBOX_SELECTION, listId);
  }
  void Page(int tabsId, int page) {
    Control<CDXUTTabFrame>(tabsId)->SelectTab(page, false);
    Send(EVENT_TABFRAME_CHANGED, tabsId);
  }
  void Check(int radioId) {
    Control<CDXUTRadioButton>(radioId)->SetChecked(true);
    Send(EVENT_RADIOBUTTON_CHANGED, radioId);
  }
  void SetPbem(bool on) {
    Control<CDXUTCheckBox>(kSettingsPbemGameId)->SetChecked(on);
    Send(EVENT_CHECKBOX_CHANGED, kSettingsPbemGameId);
  }
  bool MessageShown() const { return dynamic_cast<cDialogTekstowy*>(g_pActiveDialog) != nullptr; }

  cScenarioSettingsMenu* menu_ = nullptr;
};

using ScenarioSettingsStart = ScenarioSettingsMenu;

TEST_F(ScenarioSettingsStart, RefusalsInOrderWithMessagesAndALoadedEmailGameOnlyForThePlayerWhoseTurnItIs) {
  using enum eSettingsStartRefusal;
  const sCountryRow a1{L"A", kAxis, 10, true, true, 1}, b2{L"B", kAllies, 10, true, true, 2};
  const std::vector<sCountryRow> full = {a1, b2, {L"C", kNeutral, 3, true, false, 0, 1}};
  const struct { const char* what; std::vector<sCountryRow> countries; bool pbem; const wchar_t* gameName;
                 eSettingsStartRefusal expected; } cases[] = {
      {"no human", {{L"A", kAxis, 10}, {L"B", kAllies, 10}}, false, L"g", kNoHumanCountry},
      {"inactive human only", {{L"A", kAxis, 10, false, true}}, false, L"g", kNoHumanCountry},
      {"human", {{L"A", kAxis, 10, true, true}}, false, L"g", kNone},
      {"human too weak ever to move", {{L"A", kAxis, -5, true, true}, {L"B", kAllies, 10}}, false, L"g",
       kNoHumanCountryCanMove},
      {"human of an unknown alliance", {{L"A", 7, 10, true, true}, {L"B", kAllies, 10}}, false, L"g",
       kNoHumanCountryCanMove},
      {"one of two humans can move", {{L"A", 7, 10, true, true}, {L"B", kAllies, -4, true, true}}, false, L"g",
       kNone},
      {"e-mail, one player", {a1, {L"B", kAllies, 10, true, true, 1}}, true, L"g1", kPbemSettingsIncorrect},
      {"e-mail, no players", {{L"A", kAxis, 10, true, true}}, true, L"g2", kPbemSettingsIncorrect},
      {"e-mail, second player only on a computer country", {a1, {L"B", kAllies, 10, true, false, 2}}, true, L"g3",
       kPbemSettingsIncorrect},
      {"e-mail, bad game name", {a1, b2}, true, L"..", kPbemNameRefused},
      {"e-mail, blank game name", {a1, b2}, true, L"  ", kPbemNameRefused},
      {"e-mail, game name with a colon", {a1, b2}, true, L"c:x", kPbemNameRefused},
      {"e-mail, folder exists under the trimmed name", {a1, b2}, true, L" Taken ", kPbemFolderFailed},
      {"e-mail, folder exists", {a1, b2}, true, L"Taken", kPbemFolderFailed},
      {"e-mail, two players", full, true, L"Fresh", kNone},
  };
  fs::create_directories(dir_.Path() / "data/pbem/Taken");
  for (const auto& c : cases) {
    std::unique_ptr<cWorld> world(MakeWorld(c.countries));
    EXPECT_EQ(PrepareSettingsStart(*world, c.pbem, c.gameName), c.expected) << c.what;
    // A refused start changes nothing.
    EXPECT_TRUE(c.expected == kNone || !world->playByEmail) << c.what;
  }
  // The accepted e-mail game: its folder, its name, and the country marked
  // with special flags 1 made human.
  EXPECT_TRUE(fs::is_directory(dir_.Path() / "data/pbem/Fresh"));
  std::unique_ptr<cWorld> world(MakeWorld(full));
  EXPECT_EQ(PrepareSettingsStart(*world, true, L"Second"), kNone);
  EXPECT_EQ(std::tuple(world->playByEmail, world->playByEmailGameName, world->GetCountry(3)->human),
            std::tuple(true, std::wstring(L"Second"), true));
  // A player name that cannot stand in the game's header refuses the start.
  world.reset(MakeWorld(full));
  world->pbemPlayers[1].name = L"B%sn";
  EXPECT_EQ(PrepareSettingsStart(*world, true, L"Third"), kPbemNameRefused);
  // The game is kept under its trimmed name.
  world.reset(MakeWorld(full));
  EXPECT_EQ(PrepareSettingsStart(*world, true, L"  Fourth "), kNone);
  EXPECT_EQ(world->playByEmailGameName, L"Fourth");
  EXPECT_TRUE(fs::is_directory(dir_.Path() / "data/pbem/Fourth"));
  EXPECT_NE(std::wstring(SettingsStartMessage(kPbemNameRefused).text).find(L"colon"), std::wstring::npos);

  // Each refusal has its own message.
  EXPECT_EQ(std::wstring(SettingsStartMessage(kNoHumanCountry).text),
            L"At least one country must be controlled by human.");
  EXPECT_EQ(std::wstring(SettingsStartMessage(kPbemFolderFailed).text), L"Problems with creating PBEM game directory.");
  EXPECT_EQ(std::wstring(SettingsStartMessage(kNoHumanCountryCanMove).title), L"Game settings");
  EXPECT_EQ(std::wstring(SettingsStartMessage(kPbemTurnAlreadyPlayed).title), L"PBEM saved game");

  // A loaded e-mail game: Germany (player 1) has the turn; Poland (player 2)
  // is the next human.
  world.reset(MakeWorld({{L"Germany", kAxisLeader, 90, true, true, 1}, {L"Poland", kAllies, 40, true, true, 2}}));
  world->savedGame = world->playByEmail = true;
  world->playByEmailGameName = L"Duel";
  world->turnState.currentCountry = world->GetCountry(1);
  world->GetCountry(1)->finishedTurn = true;
  // No record yet: the next human's player is recorded and may start.
  EXPECT_EQ(PrepareSettingsStart(*world, false, L""), kNone);
  // The record names another player: refused, unless the current country
  // is exempt from the hand-over check.
  UpdatePbemRepository(1, L"Duel");
  EXPECT_EQ(PrepareSettingsStart(*world, false, L""), kPbemTurnAlreadyPlayed);
  world->GetCountry(1)->specialFlags = 1;
  EXPECT_EQ(PrepareSettingsStart(*world, false, L""), kNone);
  // A saved game never makes an e-mail folder, whatever the box says.
  world->GetCountry(1)->specialFlags = 0;
  UpdatePbemRepository(2, L"Duel");
  EXPECT_EQ(PrepareSettingsStart(*world, true, L"Elsewhere"), kNone);
  EXPECT_FALSE(fs::exists(dir_.Path() / "data/pbem/Elsewhere"));
}

TEST_F(ScenarioSettingsMenu, AppliesTheControlsAndEscapeLeaves) {
  ASSERT_EQ(Control<CDXUTListBox>(kSettingsCountriesId)->GetSize(), 3);
  // France, the first row: computer-controlled at "normal", no player to choose.
  EXPECT_EQ(menu_->SelectedCountry(), g_pWorld->GetCountry(4));
  EXPECT_EQ(std::tuple(Control<CDXUTRadioButton>(kSettingsComputerId)->GetChecked(),
                       Control<CDXUTRadioButton>(kSettingsVeryEasyId - 2)->GetChecked(),
                       Control(kSettingsPlayerComboId)->GetEnabled()),
            std::tuple(true, true, false));
  // The general statistics of France.
  EXPECT_EQ(std::pair(Control<CDXUTListBox>(kSettingsStatsId)->GetSize(), Row(kSettingsStatsId, 4)),
            std::pair(9, std::wstring(L"country_stats_political_strength;70")));

  // Germany, made human at "hard".
  Select(kSettingsCountriesId, 1);
  Check(kSettingsHumanId);
  Check(kSettingsVeryHardId + 1);
  EXPECT_EQ(g_pWorld->GetCountry(3)->difficulty, 1);
  EXPECT_EQ(Row(kSettingsCountriesId, 1), L" Germany;scenario_settings_human_controlled;scenario_settings_hard");
  // The units page has one row per unit type.
  Page(kSettingsStatsPagesId, kStatsPageUnits);
  EXPECT_EQ(Control<CDXUTListBox>(kSettingsStatsId)->GetSize(), 16);
  // On the e-mail page the country controls are off; back, they are on.
  Page(kSettingsPagesId, kSettingsPagePbem);
  for (int id : {kSettingsComputerId, kSettingsHumanId, kSettingsPlayerComboId, 229, 233}) {
    EXPECT_FALSE(Control(id)->GetEnabled()) << id;
  }
  Page(kSettingsPagesId, kSettingsPageCountries);
  EXPECT_TRUE(Control(kSettingsHumanId)->GetEnabled());

  // Starting a game with no human country: the message, the menu stays.
  Check(kSettingsComputerId);
  Send(EVENT_BUTTON_CLICKED, kSettingsStartId);
  EXPECT_EQ(std::pair(MessageShown(), g_pCurrentMenu), std::pair(true, static_cast<cMenu*>(menu_)));
  // With the message gone, Escape throws the world away and returns to the scenario menu.
  CloseMessage();
  menu_->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_EQ(std::tuple(g_pWorld, dynamic_cast<cScenarioMenu*>(g_pCurrentMenu) != nullptr), std::tuple(nullptr, true));
}

// The zoom a game opens at is the player's: the loading fits the map to the
// screen, and going Back throws that world away without touching the setting.
TEST_F(ScenarioSettingsMenu, BackLeavesThePlayersZoomSetting) {
  const float zoom = g_Settings.MapZoom, target = g_MapTargetScale;
  g_SettingsIni.SetInt("MapDisplay/Zoom", 60);
  g_pWorld->GetMap().ComputeFitScale();  // as the loading does
  ASSERT_NE(ZoomToPercent(g_Settings.MapZoom), 60);
  menu_->OnKeyboard(plat::kVkEscape, true, false);
  ASSERT_EQ(g_pWorld, nullptr);
  EXPECT_EQ(g_SettingsIni.GetInt("MapDisplay/Zoom", 0), 60);
  g_SettingsIni.SetInt("MapDisplay/Zoom", 100);
  g_Settings.MapZoom = zoom;
  g_MapTargetScale = target;
}

// The designer's button writes the loaded scenario's events as text into the
// working folder's dump folder.
TEST_F(ScenarioSettingsMenu, TheDumpButtonWritesTheScenariosEvents) {
  dir_.Write("data/scenarios/S/event_files.txt", "data\\scenarios\\S\\story.xml\r\n");
  dir_.Write("data/scenarios/S/story.xml",
             "<events><event eventID=\"5\" countryID=\"3\" visibleByPlayer=\"1\" oneTimeChecking=\"0\">"
             "<title>Pact</title></event></events>\n");
  LoadEventFiles(g_pWorld->eventManager, "S");
  ASSERT_NE(Control(kSettingsDumpEventsId), nullptr);
  EXPECT_FALSE(fs::exists(dir_.Path() / "dump/story"));
  Send(EVENT_BUTTON_CLICKED, kSettingsDumpEventsId);
  ASSERT_TRUE(fs::exists(dir_.Path() / "dump/story"));
  const std::string dump = twtest::ReadFile((dir_.Path() / "dump/story").string());
  EXPECT_NE(dump.find("Title: Pact (Pact)\r\nID: 5\r\nCountry: Germany (ID = 3)"), std::string::npos) << dump;
}

TEST_F(ScenarioSettingsMenu, EmailGameClearsHumanChoicesAndPlayersAreNumberedByTheirPlace) {
  Check(kSettingsHumanId);
  ASSERT_TRUE(menu_->SelectedCountry()->human);
  SetPbem(true);
  EXPECT_TRUE(g_pWorld->playByEmail);
  for (const auto& country : g_pWorld->Countries()) EXPECT_FALSE(country->human);
  // Players list: the two players and the new-player row, selected.
  ASSERT_EQ(Control<CDXUTListBox>(kSettingsPlayersId)->GetSize(), 3);
  EXPECT_EQ(Row(kSettingsPlayersId, 0), L"Anna;Anna@mail");
  EXPECT_EQ(std::pair(menu_->SelectedPlayerId(), Control(kSettingsRemovePlayerId)->GetEnabled()), std::pair(0, false));

  // Remove Anna (1): Carl moves up to 1 and his country follows him; Dora
  // then gets 2, never an id in use.
  g_pWorld->GetCountry(3)->pbemPlayerId = 3;
  Select(kSettingsPlayersId, 0);
  EXPECT_STREQ(Control<CDXUTEditBox>(kSettingsPlayerNameId)->GetText(), L"Anna");
  Send(EVENT_BUTTON_CLICKED, kSettingsRemovePlayerId);
  ASSERT_EQ(g_pWorld->pbemPlayers.size(), 1u);
  EXPECT_EQ(std::pair(g_pWorld->pbemPlayers[0].number, g_pWorld->GetCountry(3)->pbemPlayerId), std::pair(1, 1));
  const auto save = [&](const wchar_t* name) {
    Control<CDXUTEditBox>(kSettingsPlayerNameId)->SetText(name);
    Control<CDXUTEditBox>(kSettingsPlayerEmailId)->SetText(L"dora@mail");
    Send(EVENT_BUTTON_CLICKED, kSettingsSavePlayerId);
  };
  save(L"Dora");
  ASSERT_EQ(g_pWorld->pbemPlayers.size(), 2u);
  EXPECT_EQ(g_pWorld->pbemPlayers[1].number, 2);
  // A name with a path in it is refused with the menu's message.
  save(L"../x");
  EXPECT_EQ(std::pair(g_pWorld->pbemPlayers.size(), MessageShown()), std::pair(std::size_t{2}, true));
  CloseMessage();

  // The combo lists Carl (1) then Dora (2); a country of Dora's shows her
  // by id, whatever her place in the list.
  auto* combo = Control<CDXUTComboBox>(kSettingsPlayerComboId);
  ASSERT_EQ(combo->GetNumItems(), 2);
  Check(kSettingsHumanId);
  combo->SetSelectedByIndex(1);
  Send(EVENT_COMBOBOX_SELECTION_CHANGED, kSettingsPlayerComboId);
  EXPECT_EQ(menu_->SelectedCountry()->pbemPlayerId, 2);
  EXPECT_EQ(Row(kSettingsCountriesId, 0), L" France;Dora;scenario_settings_normal");
  combo->SetSelectedByIndex(0);
  Select(kSettingsCountriesId, 0);
  EXPECT_EQ(combo->GetSelectedIndex(), 1);
  // Removing Dora leaves France human but with no player.
  Select(kSettingsPlayersId, 1);
  ASSERT_EQ(menu_->SelectedPlayerId(), 2);
  Send(EVENT_BUTTON_CLICKED, kSettingsRemovePlayerId);
  EXPECT_EQ(g_pWorld->GetCountry(4)->pbemPlayerId, 0);
  // Unticking the box clears every human choice again.
  SetPbem(false);
  EXPECT_FALSE(g_pWorld->GetCountry(4)->human);
}

}  // namespace

// Beside start the menu says which countries the player has, or that he has
// none yet, as the choices change.
TEST_F(ScenarioSettingsMenu, SaysWhichCountriesThePlayerHas) {
  auto side = [this] { return std::wstring(Control<CDXUTStatic>(kSettingsSideId)->GetText()); };
  EXPECT_EQ(side(), L"scenario_settings_no_human_country");
  Select(kSettingsCountriesId, 1);
  Check(kSettingsHumanId);
  EXPECT_EQ(side(), L"scenario_settings_you_play_Germany");
  Select(kSettingsCountriesId, 0);
  Check(kSettingsHumanId);
  EXPECT_EQ(side(), L"scenario_settings_you_play_France, Germany");
  Check(kSettingsComputerId);
  EXPECT_EQ(side(), L"scenario_settings_you_play_Germany");
  // An e-mail game starts again without human countries.
  SetPbem(true);
  EXPECT_EQ(side(), L"scenario_settings_no_human_country");
}

// The old map's conversion: its button shows only when the loaded game's
// folder holds "map.hmf"; it writes "output_map.tdw" beside it and says
// where, or names the file that stopped it and says why, and the world's own
// map stays as it was.
TEST_F(ScenarioSettingsMenu, ConvertsTheOldMapOfTheFolderBesideItLeavingTheWorldsMapAlone) {
  std::string error;
  ASSERT_TRUE(BuildMapFromText("size 3 2\n", g_pWorld->GetMap(), error)) << error;
  const sHex* cells = g_pWorld->GetMap().Hexes().data();
  g_pWorld->folderPattern = L"data\\scenarios\\Old\\%s";
  const fs::path folder = dir_.Path() / "data/scenarios/Old";
  fs::create_directories(folder);
  const auto reopen = [this] {
    menu_ = new cScenarioSettingsMenu();
    DeleteRetiredMenus();
  };
  const auto message = [] {
    const auto* text = static_cast<const CDXUTStatic*>(g_pActiveDialog->Dialog().GetControl(kMessageLayoutIndex + 3));
    return std::wstring(text->GetText());
  };
  reopen();
  ASSERT_NE(Control(kSettingsConvertMapId), nullptr);
  EXPECT_FALSE(Control(kSettingsConvertMapId)->GetVisible());

  // An old map of 2 x 1 plain hexes: 4148 bytes of header, 20 a record.
  std::string hmf(4148 + 2 * 20, '\0');
  hmf[4132] = 2;
  hmf[4136] = 1;
  hmf[4148] = hmf[4168] = 1;
  dir_.Write("data/scenarios/Old/map.hmf", hmf);
  reopen();
  ASSERT_TRUE(Control(kSettingsConvertMapId)->GetVisible());
  Send(EVENT_BUTTON_CLICKED, kSettingsConvertMapId);
  ASSERT_TRUE(MessageShown());
  EXPECT_EQ(message(), L"scenario_settings_convert_map_done_data/scenarios/Old/output_map.tdw");
  EXPECT_EQ(fs::file_size(folder / "output_map.tdw"), 268u + 2 * 37);
  const cMap& worldMap = g_pWorld->GetMap();
  EXPECT_EQ(std::tuple(worldMap.GetWidth(), worldMap.GetHeight(), worldMap.Hexes().data()), std::tuple(3, 2, cells));
  CloseMessage();

  // A header of no size, then a hex of terrain 9: the message names the
  // file that stopped the conversion, in the written file's path style, and
  // why; the former "output_map.tdw" stays.
  dir_.Write("data/scenarios/Old/map.hmf", std::string(4148, '\0'));
  Send(EVENT_BUTTON_CLICKED, kSettingsConvertMapId);
  ASSERT_TRUE(MessageShown());
  EXPECT_EQ(message(), L"scenario_settings_convert_map_failed_data/scenarios/Old/map.hmf_"
                       L"scenario_settings_convert_map_zero_size");
  CloseMessage();
  hmf[4168] = 9;
  dir_.Write("data/scenarios/Old/map.hmf", hmf);
  Send(EVENT_BUTTON_CLICKED, kSettingsConvertMapId);
  ASSERT_TRUE(MessageShown());
  EXPECT_EQ(message(), L"scenario_settings_convert_map_failed_data/scenarios/Old/map.hmf_"
                       L"scenario_settings_convert_map_bad_terrain_1_0_9");
  EXPECT_EQ(fs::file_size(folder / "output_map.tdw"), 268u + 2 * 37);
  EXPECT_EQ(g_pWorld->GetMap().Hexes().data(), cells);
}
