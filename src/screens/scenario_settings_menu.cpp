#include "screens/scenario_settings_menu.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "app/console_log.h"
#include "screens/destroy_game.h"
#include "dialogs/dialog_stack.h"
#include "app/gui_layout.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "dialogs/dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "files/event_loader.h"
#include "files/info_ini_file.h"
#include "gui/dxut_button.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_combobox.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "screens/main_menu.h"
#include "screens/scenario_menu.h"
#include "screens/screen_helpers.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/country.h"
#include "world/map.h"
#include "world/world.h"
#include "screens/map_screen.h"

namespace {

// A game's header holds this many players.
constexpr std::size_t kMaxPbemPlayers = 8;
constexpr const wchar_t* kNewPlayerName = L"new player name";
constexpr const wchar_t* kNewPlayerEmail = L"player@example.com";


// The radio buttons' keys (the first is spelt so in the texts).
const char* const kDifficultyRadioKeys[] = {"scenario_settings_vary_hard", "scenario_settings_hard",
                                            "scenario_settings_normal", "scenario_settings_easy",
                                            "scenario_settings_very_easy"};

void* IdData(int id) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(id)); }
int DataId(void* data) { return static_cast<int>(reinterpret_cast<std::intptr_t>(data)); }

}  // namespace

cScenarioSettingsMenu::cScenarioSettingsMenu() {
  LogLine(L"----- Scenario Settings Menu -----");
  g_Textures[kMenuWallpaperSlot].Release();
  g_Textures[kMenuWallpaperSlot].Load(L"data\\gfx\\wallpaper_scenariosettings.png", cTexture::kFromFile, 1);
  cWorld* world = g_pWorld;

  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kSettingsTitleId, g_RememberedScenarioName.c_str(), &title);
  if (title != nullptr) {
    title->SetEnabled(true);
    if (CDXUTElement* element = title->GetElement(0)) {
      element->iFont = kTitleFont;
      element->FontColor.Init(g_GuiFonts[kTitleFont].color);
    }
  }
  auto label = [this](int id, const char* key) {
    CDXUTStatic* created = nullptr;
    dialog_.AddStaticFromLayout(id, key != nullptr ? Text(key) : L"", &created);
    if (created != nullptr) created->SetEnabled(true);
  };

  // The page frames first: the controls of the pages stand on them.
  dialog_.AddTabFrameFromLayout(kSettingsPagesId, &pages_);
  dialog_.AddListBoxFromLayout(kSettingsCountriesId, 0, &countries_);
  if (countries_ != nullptr) countries_->SetColumns(3, Text("scenario_settings_countries_columns"), 40, 30, 30);
  label(kSettingsFlagFrameId, nullptr);
  dialog_.AddImageFromLayout(kSettingsFlagId, nullptr, 0, 0, 64, 40, Text("scenario_settings_flag_hint"),
                             0xFFFFFFFFu, &flag_);
  dialog_.AddTabFrameFromLayout(kSettingsStatsPagesId, &stats_pages_);
  dialog_.AddListBoxFromLayout(kSettingsStatsId, 0, &stats_);
  label(kSettingsControlledById, "scenario_settings_controlled_by");
  dialog_.AddRadioButtonFromLayout(kSettingsComputerId, 1, Text("scenario_settings_ai_controlled"),
                                   Text("scenario_settings_ai_controlled_hint"), false);
  dialog_.AddRadioButtonFromLayout(kSettingsHumanId, 1, Text("scenario_settings_human_controlled"),
                                   Text("scenario_settings_human_controlled_hint"), false);
  dialog_.AddComboBoxFromLayout(kSettingsPlayerComboId, Text("scenario_settings_pbem_player_hint"), &player_combo_);
  label(kSettingsDifficultyLabelId, "scenario_settings_difficulty");
  for (int level = 0; level < 5; ++level) {
    const std::string hint = std::string(kDifficultyRadioKeys[level]) + "_hint";
    dialog_.AddRadioButtonFromLayout(kSettingsVeryHardId + level, 2, Text(kDifficultyRadioKeys[level]),
                                     Text(hint.c_str()), false);
  }

  dialog_.AddCheckBoxFromLayout(kSettingsPbemGameId, Text("scenario_settings_pbem_game"),
                                Text("scenario_settings_pbem_game_hint"), world != nullptr && world->playByEmail);
  label(kSettingsGameNameLabelId, "scenario_settings_pbem_game_name");
  dialog_.AddEditBoxFromLayout(kSettingsGameNameId, L"New pbem", Text("scenario_settings_pbem_game_name_hint"),
                               &game_name_);
  if (game_name_ != nullptr) {
    game_name_->m_pRefusedChars = std::make_unique<std::wstring>(kPbemGameNameRefusedChars);
    if (world != nullptr && world->savedGame) game_name_->SetText(world->playByEmailGameName.c_str());
    game_name_->SetEnabled(world == nullptr || !world->savedGame);
  }
  label(kSettingsPlayersLabelId, "scenario_settings_pbem_players");
  dialog_.AddListBoxFromLayout(kSettingsPlayersId, 0, &players_);
  if (players_ != nullptr) players_->SetColumns(2, Text("scenario_settings_pbem_players_columns"), 40, 60);
  label(kSettingsPlayerNameLabelId, "scenario_settings_pbem_player_name");
  dialog_.AddEditBoxFromLayout(kSettingsPlayerNameId, L"", nullptr, &player_name_);
  label(kSettingsPlayerEmailLabelId, "scenario_settings_pbem_player_name");
  dialog_.AddEditBoxFromLayout(kSettingsPlayerEmailId, L"", nullptr, &player_email_);
  dialog_.AddButtonFromLayout(kSettingsSavePlayerId, Text("scenario_settings_pbem_player_save"),
                              Text("scenario_settings_pbem_player_save_hint"));
  dialog_.AddButtonFromLayout(kSettingsRemovePlayerId, Text("scenario_settings_pbem_player_remove"),
                              Text("scenario_settings_pbem_player_remove_hint"));
  dialog_.AddButtonFromLayout(kSettingsStartId, Text("scenario_settings_ok"), Text("scenario_settings_ok_hint"));
  dialog_.AddButtonFromLayout(kSettingsBackId, Text("scenario_settings_back"), Text("scenario_settings_back_hint"));
  {
    const plat::RectI back = DXUTLayoutRect(kSettingsBackId);          // {x, y, width, height}
    const plat::RectI start = DXUTLayoutRect(kSettingsStartId);
    const int step = start.left > back.left ? start.left - back.left : back.right + 10;
    CDXUTButton* dump = nullptr;
    dialog_.AddButton(kSettingsDumpEventsId, Text("scenario_settings_dump_events"), back.left - step, back.top,
                      back.right, back.bottom, 0, false, &dump);
    if (dump != nullptr) dump->SetHint(Text("scenario_settings_dump_events_hint"));
  }
  CDXUTButton* convert = nullptr;
  dialog_.AddButtonFromLayout(kSettingsConvertMapId, Text("scenario_settings_convert_map"),
                              Text("scenario_settings_convert_map_hint"), 0, &convert);
  if (convert != nullptr) {
    convert->SetVisible(world != nullptr &&
                        plat::FileExists(plat::ResolvePath(plat::Format(world->folderPattern, kOldMapFileName))));
  }
  dialog_.AddStaticFromLayout(kSettingsSideId, L"", &side_);
  if (side_ != nullptr) {
    side_->SetEnabled(true);
    side_->SetTextFormat(plat::kTextLeft | plat::kTextVCenter | plat::kTextWordBreak);
  }
  AddVersionLine(dialog_);

  if (world != nullptr) {
    // A saved game's own folder holds no minimap: its scenario's does.
    std::wstring minimap;
    if (world->savedGame) {
      minimap = L"data\\scenarios\\" + world->scenarioName + L"\\minimap.png";
    } else {
      // The folder's pattern ends in the "%s" of the file name.
      minimap = world->folderPattern;
      const std::size_t slot = minimap.rfind(L"%s");
      if (slot != std::wstring::npos) minimap.replace(slot, 2, L"minimap.png");
    }
    world->GetMap().LoadMinimapImage(minimap);
    LogLine(L"Minimap loaded");
  }

  if (pages_ != nullptr) {
    pages_->AddTab(Text("scenario_settings_tab_countries"), kSettingsPageCountries, 209, 233);
    pages_->AddTab(Text("scenario_settings_tab_pbem"), kSettingsPagePbem, 234, 244);
    pages_->SelectTab(kSettingsPageCountries, false);
  }
  if (stats_pages_ != nullptr) {
    stats_pages_->AddTab(Text("scenario_settings_tab_stats_general"), kStatsPageGeneral, 0, -1);
    stats_pages_->AddTab(Text("scenario_settings_tab_stats_resources"), kStatsPageResources, 0, -1);
    stats_pages_->AddTab(Text("scenario_settings_tab_stats_units"), kStatsPageUnits, 0, -1);
    stats_pages_->AddTab(Text("scenario_settings_tab_stats_technology"), kStatsPageTechnology, 0, -1);
    stats_pages_->SelectTab(kStatsPageGeneral, false);
  }
  LogLine(L"Tabs added");
  FillPlayers();
  FillCountries();
  LogLine(L"Countries updated");
  SelectCountryRow(0);
  LogLine(L"Country selected");
  dialog_.SetVisible(true);
  LogLine(L"Menu created");
}

bool cScenarioSettingsMenu::PbemPageShown() const {
  return pages_ != nullptr && pages_->GetSelectedTab() == kSettingsPagePbem;
}

void cScenarioSettingsMenu::FillCountries() {
  if (countries_ == nullptr) return;
  const int selected = countries_->GetSelectedIndex();
  countries_->RemoveAllItems();
  if (g_pWorld == nullptr) return;
  for (cCountry* country : ListSettingsCountries(*g_pWorld)) {
    countries_->AddItem(FormatSettingsCountryRow(*country, *g_pWorld).c_str(), country);
  }
  if (selected >= 0 && countries_->GetSize() > 0) countries_->SelectItem(selected, false);
  ShowSide();
}

void cScenarioSettingsMenu::ShowSide() {
  if (side_ == nullptr || g_pWorld == nullptr) return;
  side_->SetText(FormatSettingsSideLine(*g_pWorld).c_str());
}

void cScenarioSettingsMenu::SelectCountryRow(int row) {
  selected_country_ = nullptr;
  if (countries_ != nullptr && countries_->GetSize() > 0) {
    countries_->SelectItem(row, false);
    selected_country_ = static_cast<cCountry*>(countries_->GetSelectedData());
  }
  ShowStatistics();
  ShowControlState();
}

void cScenarioSettingsMenu::ShowControlState() {
  const int ids[] = {kSettingsComputerId, kSettingsHumanId, kSettingsPlayerComboId, 229, 230, 231, 232, 233};
  if (selected_country_ == nullptr || PbemPageShown()) {
    for (int id : ids) dialog_.SetControlEnabled(id, false);
    return;
  }
  for (int id : ids) dialog_.SetControlEnabled(id, true);
  const cCountry& country = *selected_country_;
  const bool pbem = g_pWorld != nullptr && g_pWorld->playByEmail;
  auto radio = [this](int id) {
    return static_cast<CDXUTRadioButton*>(dialog_.GetControl(id, DXUT_CONTROL_RADIOBUTTON));
  };
  if (CDXUTRadioButton* button = radio(country.human ? kSettingsHumanId : kSettingsComputerId)) {
    button->SetChecked(true);
  }
  dialog_.SetControlEnabled(kSettingsPlayerComboId, country.human && pbem);
  const int difficulty = std::clamp(country.difficulty, 0, 4);
  if (CDXUTRadioButton* button = radio(kSettingsVeryHardId + difficulty)) button->SetChecked(true);
  // By the player's id, whatever the order of the list.
  if (player_combo_ != nullptr && country.pbemPlayerId >= 1) player_combo_->SetSelectedByData(IdData(country.pbemPlayerId));
}

void cScenarioSettingsMenu::ApplyControls() {
  if (selected_country_ == nullptr || PbemPageShown() || g_pWorld == nullptr) return;
  cCountry& country = *selected_country_;
  auto checked = [this](int id) {
    const auto* button = static_cast<const CDXUTRadioButton*>(dialog_.GetControl(id, DXUT_CONTROL_RADIOBUTTON));
    return button != nullptr && button->GetChecked();
  };
  if (checked(kSettingsHumanId)) {
    country.human = true;
    if (g_pWorld->playByEmail) {
      dialog_.SetControlEnabled(kSettingsPlayerComboId, true);
      const DXUTComboBoxItem* item = player_combo_ != nullptr ? player_combo_->GetSelectedItem() : nullptr;
      country.pbemPlayerId = item != nullptr ? DataId(item->pData) : 0;
    }
  } else if (checked(kSettingsComputerId)) {
    country.human = false;
    // A computer country belongs to no player.
    country.pbemPlayerId = 0;
    dialog_.SetControlEnabled(kSettingsPlayerComboId, false);
  }
  int difficulty = 4;
  for (int level = 0; level < 4; ++level) {
    if (checked(kSettingsVeryHardId + level)) {
      difficulty = level;
      break;
    }
  }
  country.difficulty = difficulty;
  if (countries_ != nullptr) {
    for (int row = 0; row < countries_->GetSize(); ++row) {
      DXUTListBoxItem* item = countries_->GetItem(row);
      if (item != nullptr && item->pData == &country) item->strText = FormatSettingsCountryRow(country, *g_pWorld);
    }
  }
  ShowSide();
}

void cScenarioSettingsMenu::ShowStatistics() {
  if (flag_ != nullptr) {
    flag_->m_pTexture = selected_country_ != nullptr ? selected_country_->GetFlagTexture() : nullptr;
    if (flag_->m_pTexture != nullptr) {
      flag_->m_rcSource = {0, 0, flag_->m_pTexture->Width(), flag_->m_pTexture->Height()};
    }
  }
  if (stats_ == nullptr) return;
  stats_->RemoveAllItems();
  const int page = stats_pages_ != nullptr ? stats_pages_->GetSelectedTab() : kStatsPageGeneral;
  switch (page) {
    case kStatsPageResources:
      stats_->SetColumns(2, Text("scenario_settings_country_stats_resources_columns"), 50, 50);
      break;
    case kStatsPageUnits:
      stats_->SetColumns(3, Text("scenario_settings_country_stats_units_columns"), 60, 20, 20);
      break;
    case kStatsPageTechnology:
      stats_->SetColumns(2, Text("scenario_settings_country_stats_technology_columns"), 50, 50);
      break;
    default:
      stats_->SetColumns(2, Text("scenario_settings_country_stats_general_columns"), 50, 50);
      break;
  }
  if (selected_country_ == nullptr || g_pWorld == nullptr) return;
  const cCountry& c = *selected_country_;
  auto row = [this](const std::wstring& text) { stats_->AddItem(text.c_str(), nullptr); };
  auto intRow = [&](const char* key, int value) { row(plat::Format(L"%s;%i", Text(key), value)); };
  auto textRow = [&](const char* key, const std::wstring& value) { row(plat::Format(L"%s;%s", Text(key), value)); };
  switch (page) {
    case kStatsPageResources:
      row(plat::Format(L"%s;%.0f", Text("country_stats_production_points"), c.productionPoints));
      intRow("country_stats_diplomacy_points", c.diplomaticPoints);
      intRow("country_stats_diplomacy_points_value", c.diplomaticPointsPerMonth);
      intRow("country_stats_strategic_movement_points", c.strategicMovementPoints);
      intRow("country_stats_sea_transport_points", c.seaTransportPoints);
      intRow("country_stats_amphibious_invasion_points", c.amphibiousInvasionPoints);
      break;
    case kStatsPageUnits: {
      const auto counts = c.CountUnitsByType(*g_pWorld).b;
      for (std::size_t i = 0; i < kStatisticsUnitTypes.size(); ++i) {
        row(plat::Format(L"%s;%i;%i", cUnit::GetSubtypeText(g_pWorld, kStatisticsUnitTypes[i]), counts[i].first,
                         counts[i].second));
      }
      break;
    }
    case kStatsPageTechnology:
      intRow("country_stats_technology_artillery", c.techLevel[kTechArtillery]);
      intRow("country_stats_technology_tanks", c.techLevel[kTechTanks]);
      intRow("country_stats_technology_aircrafts", c.techLevel[kTechAircraft]);
      intRow("country_stats_technology_submarines", c.techLevel[kTechSubmarines]);
      intRow("country_stats_technology_warships", c.techLevel[kTechNavy]);
      intRow("country_stats_technology_nuclear_bomb", c.techLevel[kTechNuclear]);
      break;
    default: {
      std::wstring text;
      c.FormatAllianceName(text, false);
      textRow("country_stats_alliance", text);
      intRow("country_stats_alliance_entry", c.allianceEntry);
      text.clear();
      c.FormatOrientationName(text, false);
      textRow("country_stats_political_orientation", text);
      text.clear();
      c.FormatZoneOfInfluenceName(text, false);
      textRow("country_stats_zone_of_influence", text);
      intRow("country_stats_political_strength", c.politicalStrength);
      row(plat::Format(L"%s;%.0f%%", Text("country_stats_social_unrest"), c.socialUnrest));
      row(plat::Format(L"%s;%.0f%%", Text("country_stats_war_economy"), c.warEconomy));
      intRow("country_stats_land_warfare_doctrine_level", c.techLevel[kTechDoctrine]);
      intRow("country_stats_nuclear_bombs", c.nuclearBombs);
      break;
    }
  }
}

void cScenarioSettingsMenu::FillPlayers() {
  if (players_ == nullptr || player_combo_ == nullptr) return;
  players_->RemoveAllItems();
  player_combo_->RemoveAllItems();
  if (g_pWorld != nullptr) {
    for (const sPbemPlayer& player : g_pWorld->pbemPlayers) {
      players_->AddItem(plat::Format(L"%s;%s", player.name, player.email).c_str(), IdData(player.number));
      player_combo_->AddItem(player.name.c_str(), IdData(player.number));
    }
  }
  players_->AddItem(Text("scenario_settings_pbem_player_new"), nullptr);
  // The selected player stays selected; else the new-player row.
  int row = players_->GetSize() - 1;
  for (int i = 0; i + 1 < players_->GetSize(); ++i) {
    if (DataId(players_->GetItem(i)->pData) == selected_player_id_) row = i;
  }
  players_->SelectItem(row, false);
  SelectPlayerRow();
}

void cScenarioSettingsMenu::SelectPlayerRow() {
  selected_player_id_ = 0;
  const sPbemPlayer* player = nullptr;
  if (players_ != nullptr && g_pWorld != nullptr) {
    selected_player_id_ = DataId(players_->GetSelectedData());
    player = FindPbemPlayer(*g_pWorld, selected_player_id_);
    if (player == nullptr) selected_player_id_ = 0;
  }
  if (player_name_ != nullptr) player_name_->SetText(player != nullptr ? player->name.c_str() : kNewPlayerName);
  if (player_email_ != nullptr) player_email_->SetText(player != nullptr ? player->email.c_str() : kNewPlayerEmail);
  dialog_.SetControlEnabled(kSettingsRemovePlayerId, player != nullptr);
}

void cScenarioSettingsMenu::SavePlayer() {
  if (g_pWorld == nullptr || player_name_ == nullptr || player_email_ == nullptr) return;
  const std::wstring name = CleanPbemName(player_name_->GetText());
  std::vector<sPbemPlayer>& players = g_pWorld->pbemPlayers;
  sPbemPlayer* existing = nullptr;
  for (sPbemPlayer& player : players) {
    if (player.number == selected_player_id_ && selected_player_id_ > 0) existing = &player;
  }
  if (!IsAcceptablePbemName(name)) {
    ShowMessage(SettingsStartMessage(eSettingsStartRefusal::kPbemNameRefused));
    return;
  }
  if (existing == nullptr && players.size() >= kMaxPbemPlayers) {
    ShowMessage(SettingsStartMessage(eSettingsStartRefusal::kPbemSettingsIncorrect));
    return;
  }
  if (existing != nullptr) {
    existing->name = name;
    existing->email = player_email_->GetText();
  } else {
    sPbemPlayer player;
    player.number = NextPbemPlayerId(players);
    player.name = name;
    player.email = player_email_->GetText();
    players.push_back(std::move(player));
  }
  FillPlayers();
  FillCountries();
}

void cScenarioSettingsMenu::RemovePlayer() {
  if (g_pWorld == nullptr || selected_player_id_ <= 0) return;
  const int id = selected_player_id_;
  std::vector<sPbemPlayer>& players = g_pWorld->pbemPlayers;
  players.erase(std::remove_if(players.begin(), players.end(), [id](const sPbemPlayer& p) { return p.number == id; }),
                players.end());
  // No country keeps a player that is gone.
  for (const auto& country : g_pWorld->Countries()) {
    if (country && country->pbemPlayerId == id) country->pbemPlayerId = 0;
  }
  // A saved game numbers its players by their place in the list: the ones
  // after the removed player move up one number, and so do their countries.
  for (std::size_t i = 0; i < players.size(); ++i) {
    const int oldNumber = players[i].number;
    const int newNumber = static_cast<int>(i) + 1;
    if (oldNumber == newNumber) continue;
    players[i].number = newNumber;
    for (const auto& country : g_pWorld->Countries()) {
      if (country && country->pbemPlayerId == oldNumber) country->pbemPlayerId = newNumber;
    }
  }
  selected_player_id_ = 0;
  FillPlayers();
  FillCountries();
}

void cScenarioSettingsMenu::SetPbemGame(bool on) {
  if (g_pWorld == nullptr) return;
  g_pWorld->playByEmail = on;
  dialog_.SetControlEnabled(kSettingsPlayerComboId, on);
  for (const auto& country : g_pWorld->Countries()) {
    if (!country) continue;
    country->human = false;
    country->pbemPlayerId = 0;
  }
  FillCountries();
}

void cScenarioSettingsMenu::ShowMessage(const sSettingsMessage& message) {
  PushDialog(new cDialogTekstowy(message.text, message.title, kMessageLayoutIndex));
}

void cScenarioSettingsMenu::ConvertOldMap() {
  if (g_pWorld == nullptr) return;
  const std::wstring& pattern = g_pWorld->folderPattern;
  // The conversion fills a map of its own: the loaded world's units, cities
  // and sea nodes point into the cells of the world's map, which must stay.
  cMap converted;
  const std::wstring text = FormatMapConversionMessage(converted.ConvertHmfMap(pattern));
  PushDialog(new cDialogTekstowy(text.c_str(), Text("scenario_settings_convert_map_title"), kMessageLayoutIndex));
}

void cScenarioSettingsMenu::Start() {
  if (g_pWorld == nullptr) return;
  const auto* check = static_cast<const CDXUTCheckBox*>(dialog_.GetControl(kSettingsPbemGameId, DXUT_CONTROL_CHECKBOX));
  const bool pbemChecked = check != nullptr && check->GetChecked();
  const std::wstring gameName = game_name_ != nullptr ? game_name_->GetText() : L"";
  const eSettingsStartRefusal refusal = PrepareSettingsStart(*g_pWorld, pbemChecked, gameName);
  if (refusal != eSettingsStartRefusal::kNone) {
    ShowMessage(SettingsStartMessage(refusal));
    return;
  }
  g_Textures[kMenuWallpaperSlot].Release();
  // The map screen takes over; this menu is retired and nothing of it is
  // touched afterwards.
  if (cMapScreen* screen = LoadedMapScreen()) screen->StartGame();
}

void cScenarioSettingsMenu::Back() {
  DestroyGame();
  g_Textures[kMenuWallpaperSlot].Release();
  // The new menu retires this one.
  cScenarioMenu* menu = new cScenarioMenu();
  menu->FillList();
}

void cScenarioSettingsMenu::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  // A message shown over this screen is modal.
  if (g_pActiveDialog != nullptr) return;
  switch (controlId) {
    case kSettingsPagesId:
      ShowControlState();
      return;
    case kSettingsCountriesId:
      if (event == EVENT_LISTBOX_SELECTION && countries_ != nullptr) SelectCountryRow(countries_->GetSelectedIndex());
      return;
    case kSettingsStatsPagesId:
      ShowStatistics();
      return;
    case kSettingsComputerId:
    case kSettingsHumanId:
    case kSettingsPlayerComboId:
    case 229:
    case 230:
    case 231:
    case 232:
    case 233:
      ApplyControls();
      return;
    case kSettingsPbemGameId:
      if (event == EVENT_CHECKBOX_CHANGED && control != nullptr) {
        SetPbemGame(static_cast<CDXUTCheckBox*>(control)->GetChecked());
      }
      return;
    case kSettingsPlayersId:
      if (event == EVENT_LISTBOX_SELECTION) SelectPlayerRow();
      return;
    case kSettingsSavePlayerId:
      if (event == EVENT_BUTTON_CLICKED) SavePlayer();
      return;
    case kSettingsRemovePlayerId:
      if (event == EVENT_BUTTON_CLICKED) RemovePlayer();
      return;
    case kSettingsStartId:
      if (event == EVENT_BUTTON_CLICKED) Start();
      return;
    case kSettingsBackId:
      if (event == EVENT_BUTTON_CLICKED) Back();
      return;
    case kSettingsConvertMapId:
      if (event == EVENT_BUTTON_CLICKED) ConvertOldMap();
      return;
    case kSettingsDumpEventsId:
      if (event == EVENT_BUTTON_CLICKED && g_pWorld != nullptr) DumpAllEvents(g_pWorld->eventManager, *g_pWorld);
      return;
    default: return;
  }
}

void cScenarioSettingsMenu::OnKeyboard(unsigned key, bool keyDown, bool altDown) {
  // Keys belong to a message shown over this screen.
  if (g_pActiveDialog != nullptr) {
    if (g_pActiveDialog->Dialog().GetVisible()) g_pActiveDialog->OnKeyboard(key, keyDown, altDown);
    return;
  }
  if (keyDown && key == plat::kVkEscape) Back();
}

void cScenarioSettingsMenu::OnRender(float elapsed) {
  DrawMenuWallpaper(kMenuWallpaperSlot);
  dialog_.OnRender(elapsed);
}
