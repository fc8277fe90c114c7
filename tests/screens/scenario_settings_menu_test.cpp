#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_stack.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "files/pbem_repository.h"
#include "gui/dxut_button.h"
#include "gui/dxut_combobox.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"
#include "screens/scenario_menu.h"
#include "screens/scenario_settings_menu.h"
#include "support/world_builders.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

struct sCountryRow {
  const wchar_t* name;
  int alliance;
  int strength;
  bool active = true;
  bool human = false;
  int player = 0;
  int specialFlags = 0;
};

// A world of countries alone, ids in the order given.
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
  return world;
}

std::vector<std::wstring> Names(const std::vector<cCountry*>& countries) {
  std::vector<std::wstring> names;
  for (const cCountry* c : countries) names.push_back(c->name);
  return names;
}

sPbemPlayer Player(int id, const wchar_t* name) { return sPbemPlayer{id, name, std::wstring(name) + L"@mail"}; }

TEST(ScenarioSettingsCountries, OnlyActiveRealCountriesSortedByNameWithTheirRows) {
  std::unique_ptr<cWorld> world(MakeWorld({{L"Poland", kAllies, 40},
                                           {L"Dummy", kNeutral, -1},
                                           {L"Germany", kAxisLeader, 90, true, true},
                                           {L"Gone", kNeutral, 10, false},
                                           {L"Albania", kNeutral, 5},
                                           {L"\u00c9ire", kNeutral, 5},
                                           {L"Zeta", kNeutral, 0}}));
  // Characters compare as numbers: "Z" before the accented capital.
  EXPECT_EQ(Names(ListSettingsCountries(*world)),
            (std::vector<std::wstring>{L"Albania", L"Germany", L"Poland", L"Zeta", L"\u00c9ire"}));

  cCountry& germany = *world->GetCountry(3);
  germany.difficulty = 0;
  EXPECT_EQ(FormatSettingsCountryRow(germany, *world),
            L" Germany;scenario_settings_human_controlled;scenario_settings_very_hard");
  // In an e-mail game a human country shows its player, found by id.
  world->playByEmail = true;
  world->pbemPlayers = {Player(5, L"Anna"), Player(2, L"Ben")};
  germany.pbemPlayerId = 2;
  EXPECT_EQ(FormatSettingsCountryRow(germany, *world),
            L" Germany;Ben;scenario_settings_very_hard");
  // A difficulty out of range reads as the nearest one.
  cCountry& poland = *world->GetCountry(1);
  poland.difficulty = 9;
  EXPECT_EQ(FormatSettingsCountryRow(poland, *world),
            L" Poland;scenario_settings_ai_controlled;scenario_settings_very_easy");
}

TEST(ScenarioSettingsPlayers, NewIdsAreNeverInUseAndNamesAreChecked) {
  EXPECT_EQ(NextPbemPlayerId({}), 1);
  // After player 1 was removed the count would give 2 again, an id in use.
  EXPECT_EQ(NextPbemPlayerId({Player(2, L"b")}), 3);
  EXPECT_EQ(NextPbemPlayerId({Player(4, L"d"), Player(1, L"a")}), 5);

  for (const wchar_t* good : {L"New pbem", L"Anna", L"Game 1.2", L"x"}) {
    EXPECT_TRUE(IsAcceptablePbemName(good)) << good;
  }
  for (const wchar_t* bad : {L"", L"   ", L"..", L"a..b", L"50%s", L"a/b", L"a\\b", L"C:", L"a*", L"a?",
                             L"<a>", L"a;b", L"#1", L"a&b", L"a|b"}) {
    EXPECT_FALSE(IsAcceptablePbemName(bad)) << bad;
  }
}

class ScenarioSettingsStart : public ::testing::Test {
 protected:
  void SetUp() override { SetPbemRepositoryPath(L"data\\pbem\\repo.dat"); }
  twtest::TempDir dir_;
  twtest::ScopedWorkingFolder folder_{dir_.Path()};
};

TEST_F(ScenarioSettingsStart, RefusalsComeInOrderWithTheirMessages) {
  struct sCase {
    const char* what;
    std::vector<sCountryRow> countries;
    bool pbem;
    const wchar_t* gameName;
    eSettingsStartRefusal expected;
  };
  const std::vector<sCase> cases = {
      {"no human", {{L"A", kAxis, 10}, {L"B", kAllies, 10}}, false, L"g", eSettingsStartRefusal::kNoHumanCountry},
      {"inactive human only", {{L"A", kAxis, 10, false, true}}, false, L"g", eSettingsStartRefusal::kNoHumanCountry},
      {"human", {{L"A", kAxis, 10, true, true}}, false, L"g", eSettingsStartRefusal::kNone},
      {"e-mail, one player",
       {{L"A", kAxis, 10, true, true, 1}, {L"B", kAllies, 10, true, true, 1}},
       true, L"g1", eSettingsStartRefusal::kPbemSettingsIncorrect},
      {"e-mail, no players", {{L"A", kAxis, 10, true, true}}, true, L"g2",
       eSettingsStartRefusal::kPbemSettingsIncorrect},
      {"e-mail, second player only on a computer country",
       {{L"A", kAxis, 10, true, true, 1}, {L"B", kAllies, 10, true, false, 2}},
       true, L"g3", eSettingsStartRefusal::kPbemSettingsIncorrect},
      {"e-mail, bad game name",
       {{L"A", kAxis, 10, true, true, 1}, {L"B", kAllies, 10, true, true, 2}},
       true, L"..", eSettingsStartRefusal::kPbemSettingsIncorrect},
      {"e-mail, folder exists",
       {{L"A", kAxis, 10, true, true, 1}, {L"B", kAllies, 10, true, true, 2}},
       true, L"Taken", eSettingsStartRefusal::kPbemFolderFailed},
      {"e-mail, two players",
       {{L"A", kAxis, 10, true, true, 1}, {L"B", kAllies, 10, true, true, 2}, {L"C", kNeutral, 3, true, false, 0, 1}},
       true, L"Fresh", eSettingsStartRefusal::kNone},
  };
  fs::create_directories(dir_.Path() / "data/pbem/Taken");
  for (const sCase& c : cases) {
    std::unique_ptr<cWorld> world(MakeWorld(c.countries));
    world->pbemPlayers = {Player(1, L"Anna"), Player(2, L"Ben")};
    EXPECT_EQ(PrepareSettingsStart(*world, c.pbem, c.gameName), c.expected) << c.what;
    if (c.expected != eSettingsStartRefusal::kNone) {
      // A refused start changes nothing.
      EXPECT_FALSE(world->playByEmail) << c.what;
    }
  }
  // The accepted e-mail game: its folder, its name, and the country marked
  // with special flags 1 made human.
  EXPECT_TRUE(fs::is_directory(dir_.Path() / "data/pbem/Fresh"));
  std::unique_ptr<cWorld> world(MakeWorld(cases.back().countries));
  world->pbemPlayers = {Player(1, L"Anna"), Player(2, L"Ben")};
  EXPECT_EQ(PrepareSettingsStart(*world, true, L"Second"), eSettingsStartRefusal::kNone);
  EXPECT_TRUE(world->playByEmail);
  EXPECT_EQ(world->playByEmailGameName, L"Second");
  EXPECT_TRUE(world->GetCountry(3)->human);
  // A player name that cannot stand in the game's header refuses the start.
  world.reset(MakeWorld(cases.back().countries));
  world->pbemPlayers = {Player(1, L"Anna"), Player(2, L"B%sn")};
  EXPECT_EQ(PrepareSettingsStart(*world, true, L"Third"), eSettingsStartRefusal::kPbemSettingsIncorrect);

  // Each refusal has its own message.
  EXPECT_EQ(std::wstring(SettingsStartMessage(eSettingsStartRefusal::kNoHumanCountry).text),
            L"At least one country must be controlled by human.");
  EXPECT_EQ(std::wstring(SettingsStartMessage(eSettingsStartRefusal::kPbemFolderFailed).text),
            L"Problems with creating PBEM game directory.");
  EXPECT_EQ(std::wstring(SettingsStartMessage(eSettingsStartRefusal::kPbemTurnAlreadyPlayed).title),
            L"PBEM saved game");
}

TEST_F(ScenarioSettingsStart, LoadedEmailGameStartsOnlyForThePlayerWhoseTurnItIs) {
  // Germany (player 1) has the turn; Poland (player 2) is the next human.
  std::unique_ptr<cWorld> world(MakeWorld({{L"Germany", kAxisLeader, 90, true, true, 1},
                                           {L"Poland", kAllies, 40, true, true, 2}}));
  world->savedGame = true;
  world->playByEmail = true;
  world->playByEmailGameName = L"Duel";
  world->turnState.currentCountry = world->GetCountry(1);
  world->GetCountry(1)->finishedTurn = true;
  fs::create_directories(dir_.Path() / "data/pbem");

  // No record yet: the next human's player is recorded and may start.
  EXPECT_EQ(PrepareSettingsStart(*world, false, L""), eSettingsStartRefusal::kNone);
  // The record names another player: refused, unless the current country
  // is exempt from the hand-over check.
  UpdatePbemRepository(1, L"Duel");
  EXPECT_EQ(PrepareSettingsStart(*world, false, L""), eSettingsStartRefusal::kPbemTurnAlreadyPlayed);
  world->GetCountry(1)->specialFlags = 1;
  EXPECT_EQ(PrepareSettingsStart(*world, false, L""), eSettingsStartRefusal::kNone);
  // A saved game never makes an e-mail folder, whatever the box says.
  world->GetCountry(1)->specialFlags = 0;
  UpdatePbemRepository(2, L"Duel");
  EXPECT_EQ(PrepareSettingsStart(*world, true, L"Elsewhere"), eSettingsStartRefusal::kNone);
  EXPECT_FALSE(fs::exists(dir_.Path() / "data/pbem/Elsewhere"));
}

// The menu itself over a world built here.
class ScenarioSettingsMenu : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_pWorld = MakeWorld({{L"Poland", kAllies, 40},
                          {L"Dummy", kNeutral, -1},
                          {L"Germany", kAxisLeader, 90},
                          {L"France", kAlliesLeader, 70}});
    g_pWorld->pbemPlayers = {Player(1, L"Anna"), Player(3, L"Carl")};
    menu_ = new cScenarioSettingsMenu();
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    RetireCurrentMenu();
    DeleteRetiredMenus();
    delete g_pWorld;
    g_pWorld = nullptr;
    GuiTest::TearDown();
  }
  template <class T>
  T* Control(int id) {
    return static_cast<T*>(menu_->Dialog().GetControl(id));
  }
  std::wstring Row(int id, int row) { return Control<CDXUTListBox>(id)->GetItem(row)->strText; }
  void Click(int id) { menu_->OnGUIEvent(EVENT_BUTTON_CLICKED, id, Control<CDXUTControl>(id)); }
  void Check(int radioId) {
    Control<CDXUTRadioButton>(radioId)->SetChecked(true);
    menu_->OnGUIEvent(EVENT_RADIOBUTTON_CHANGED, radioId, Control<CDXUTControl>(radioId));
  }
  void SetPbem(bool on) {
    Control<CDXUTCheckBox>(kSettingsPbemGameId)->SetChecked(on);
    menu_->OnGUIEvent(EVENT_CHECKBOX_CHANGED, kSettingsPbemGameId, Control<CDXUTControl>(kSettingsPbemGameId));
  }
  void SelectPlayerRow(int row) {
    Control<CDXUTListBox>(kSettingsPlayersId)->SelectItem(row, false);
    menu_->OnGUIEvent(EVENT_LISTBOX_SELECTION, kSettingsPlayersId, nullptr);
  }

  cScenarioSettingsMenu* menu_ = nullptr;
  twtest::LogCapture log_;
};

TEST_F(ScenarioSettingsMenu, BuildsInOrderAppliesTheControlsAndEscapeLeaves) {
  delete g_pCurrentMenu;
  twtest::LogCapture log;
  menu_ = new cScenarioSettingsMenu();
  std::vector<std::wstring> steps;
  for (const std::wstring& line : log.Lines()) {
    if (line.rfind(L"Loading file", 0) != 0) steps.push_back(line);
  }
  EXPECT_EQ(steps, (std::vector<std::wstring>{L"-- Setting callbacks", L"----- Scenario Settings Menu -----",
                                              L"Minimap loaded", L"Tabs added", L"Countries updated",
                                              L"Country selected", L"Menu created"}));
  auto* list = Control<CDXUTListBox>(kSettingsCountriesId);
  ASSERT_EQ(list->GetSize(), 3);
  ASSERT_NE(menu_->SelectedCountry(), nullptr);
  EXPECT_EQ(menu_->SelectedCountry()->name, L"France");
  EXPECT_TRUE(Control<CDXUTRadioButton>(kSettingsComputerId)->GetChecked());
  EXPECT_TRUE(Control<CDXUTRadioButton>(233 - 2)->GetChecked());  // normal
  EXPECT_FALSE(Control<CDXUTControl>(kSettingsPlayerComboId)->GetEnabled());
  // The general statistics of France.
  EXPECT_EQ(Control<CDXUTListBox>(kSettingsStatsId)->GetSize(), 9);
  EXPECT_EQ(Row(kSettingsStatsId, 4), L"country_stats_political_strength;70");

  // Germany, made human at "hard".
  list->SelectItem(1, false);
  menu_->OnGUIEvent(EVENT_LISTBOX_SELECTION, kSettingsCountriesId, list);
  EXPECT_EQ(menu_->SelectedCountry()->name, L"Germany");
  Check(kSettingsHumanId);
  Check(kSettingsVeryHardId + 1);
  EXPECT_EQ(g_pWorld->GetCountry(3)->difficulty, 1);
  EXPECT_EQ(Row(kSettingsCountriesId, 1), L" Germany;scenario_settings_human_controlled;scenario_settings_hard");

  // The units page has one row per unit type.
  Control<CDXUTTabFrame>(kSettingsStatsPagesId)->SelectTab(kStatsPageUnits, false);
  menu_->OnGUIEvent(EVENT_TABFRAME_CHANGED, kSettingsStatsPagesId, nullptr);
  EXPECT_EQ(Control<CDXUTListBox>(kSettingsStatsId)->GetSize(), 16);

  // On the e-mail page the country controls are off; back, they are on.
  Control<CDXUTTabFrame>(kSettingsPagesId)->SelectTab(kSettingsPagePbem, false);
  menu_->OnGUIEvent(EVENT_TABFRAME_CHANGED, kSettingsPagesId, nullptr);
  for (int id : {kSettingsComputerId, kSettingsHumanId, kSettingsPlayerComboId, 229, 233}) {
    EXPECT_FALSE(Control<CDXUTControl>(id)->GetEnabled()) << id;
  }
  Control<CDXUTTabFrame>(kSettingsPagesId)->SelectTab(kSettingsPageCountries, false);
  menu_->OnGUIEvent(EVENT_TABFRAME_CHANGED, kSettingsPagesId, nullptr);
  EXPECT_TRUE(Control<CDXUTControl>(kSettingsHumanId)->GetEnabled());

  // Starting a game with no human country: the message, the menu stays.
  Check(kSettingsComputerId);
  Click(kSettingsStartId);
  EXPECT_NE(dynamic_cast<cDialogTekstowy*>(g_pActiveDialog), nullptr);
  EXPECT_EQ(g_pCurrentMenu, menu_);
  // With the message gone, Escape throws the world away and returns to the scenario menu.
  PopDialogs(-1);
  DeleteRetiredDialogs();
  menu_->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_EQ(g_pWorld, nullptr);
  EXPECT_NE(dynamic_cast<cScenarioMenu*>(g_pCurrentMenu), nullptr);
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
  EXPECT_EQ(menu_->SelectedPlayerId(), 0);
  EXPECT_FALSE(Control<CDXUTControl>(kSettingsRemovePlayerId)->GetEnabled());

  // Remove Anna (1): Carl moves up to 1 and his country follows him; Dora
  // then gets 2, never an id in use.
  g_pWorld->GetCountry(3)->pbemPlayerId = 3;
  SelectPlayerRow(0);
  EXPECT_EQ(menu_->SelectedPlayerId(), 1);
  EXPECT_STREQ(Control<CDXUTEditBox>(kSettingsPlayerNameId)->GetText(), L"Anna");
  Click(kSettingsRemovePlayerId);
  ASSERT_EQ(g_pWorld->pbemPlayers.size(), 1u);
  EXPECT_EQ(g_pWorld->pbemPlayers[0].number, 1);
  EXPECT_EQ(g_pWorld->GetCountry(3)->pbemPlayerId, 1);
  Control<CDXUTEditBox>(kSettingsPlayerNameId)->SetText(L"Dora");
  Control<CDXUTEditBox>(kSettingsPlayerEmailId)->SetText(L"dora@mail");
  Click(kSettingsSavePlayerId);
  ASSERT_EQ(g_pWorld->pbemPlayers.size(), 2u);
  EXPECT_EQ(g_pWorld->pbemPlayers[1].number, 2);
  // A name with a path in it is refused with the menu's message.
  Control<CDXUTEditBox>(kSettingsPlayerNameId)->SetText(L"../x");
  Click(kSettingsSavePlayerId);
  EXPECT_EQ(g_pWorld->pbemPlayers.size(), 2u);
  ASSERT_NE(dynamic_cast<cDialogTekstowy*>(g_pActiveDialog), nullptr);
  PopDialogs(-1);
  DeleteRetiredDialogs();

  // The combo lists Carl (1) then Dora (2); a country of Dora's shows her
  // by id, whatever her place in the list.
  auto* combo = Control<CDXUTComboBox>(kSettingsPlayerComboId);
  ASSERT_EQ(combo->GetNumItems(), 2);
  Check(kSettingsHumanId);
  combo->SetSelectedByIndex(1);
  menu_->OnGUIEvent(EVENT_COMBOBOX_SELECTION_CHANGED, kSettingsPlayerComboId, combo);
  EXPECT_EQ(menu_->SelectedCountry()->pbemPlayerId, 2);
  EXPECT_EQ(Row(kSettingsCountriesId, 0), L" France;Dora;scenario_settings_normal");
  combo->SetSelectedByIndex(0);
  auto* list = Control<CDXUTListBox>(kSettingsCountriesId);
  list->SelectItem(0, false);
  menu_->OnGUIEvent(EVENT_LISTBOX_SELECTION, kSettingsCountriesId, list);
  EXPECT_EQ(combo->GetSelectedIndex(), 1);

  // Removing Dora leaves France human but with no player.
  SelectPlayerRow(1);
  ASSERT_EQ(menu_->SelectedPlayerId(), 2);
  Click(kSettingsRemovePlayerId);
  EXPECT_EQ(g_pWorld->GetCountry(4)->pbemPlayerId, 0);

  // Unticking the box clears every human choice again.
  SetPbem(false);
  EXPECT_FALSE(g_pWorld->GetCountry(4)->human);
}

}  // namespace
