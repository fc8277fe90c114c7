// The scenario settings menu, shown once a scenario or a saved game has been
// loaded: who controls each country (computer, human, and in a
// play-by-e-mail game which player) and at which difficulty, each country's
// statistics, the play-by-e-mail game and its players. Start checks the
// settings and starts the game on the map screen; back (and Esc) throws the
// loaded world away and returns to the scenario menu.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "screens/menu.h"
#include "screens/scenario_settings_rules.h"

class cCountry;
class cWorld;
class CDXUTComboBox;
class CDXUTEditBox;
class CDXUTImage;
class CDXUTListBox;
class CDXUTTabFrame;
struct sPbemPlayer;

// Control ids.
constexpr int kSettingsTitleId = 205;
constexpr int kSettingsPagesId = 208;
constexpr int kSettingsCountriesId = 216;
constexpr int kSettingsFlagFrameId = 218;
constexpr int kSettingsFlagId = 219;
constexpr int kSettingsStatsPagesId = 220;
constexpr int kSettingsStatsId = 221;
constexpr int kSettingsControlledById = 222;
constexpr int kSettingsComputerId = 224;
constexpr int kSettingsHumanId = 225;
constexpr int kSettingsPlayerComboId = 226;
constexpr int kSettingsDifficultyLabelId = 227;
constexpr int kSettingsVeryHardId = 229;  // 229..233: difficulty 0..4
constexpr int kSettingsVeryEasyId = 233;
constexpr int kSettingsPbemGameId = 234;
constexpr int kSettingsGameNameLabelId = 235;
constexpr int kSettingsGameNameId = 236;
constexpr int kSettingsPlayersLabelId = 237;
constexpr int kSettingsPlayersId = 238;
constexpr int kSettingsPlayerNameLabelId = 239;
constexpr int kSettingsPlayerNameId = 240;
constexpr int kSettingsPlayerEmailLabelId = 241;
constexpr int kSettingsPlayerEmailId = 242;
constexpr int kSettingsSavePlayerId = 243;
constexpr int kSettingsRemovePlayerId = 244;
constexpr int kSettingsStartId = 245;
constexpr int kSettingsBackId = 246;
// The designer's dump of the scenario's events (no layout entry: it stands
// left of the back button, in the back button's size).
constexpr int kSettingsDumpEventsId = 7000;
// The line that tells the player which countries he plays.
constexpr int kSettingsSideId = 247;
// The conversion of the old map "map.hmf" in the loaded game's folder into
// "output_map.tdw" beside it; shown only when the folder holds one.
constexpr int kSettingsConvertMapId = 248;

// Pages of 208 and of the statistics (220).
constexpr int kSettingsPageCountries = 0;
constexpr int kSettingsPagePbem = 1;
constexpr int kStatsPageGeneral = 0;
constexpr int kStatsPageResources = 1;
constexpr int kStatsPageUnits = 2;
constexpr int kStatsPageTechnology = 3;

class cScenarioSettingsMenu : public cMenu {
 public:
  cScenarioSettingsMenu();

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;
  void OnRender(float elapsed) override;

  cCountry* SelectedCountry() const { return selected_country_; }
  // The selected player's id; 0 for the new-player row or none.
  int SelectedPlayerId() const { return selected_player_id_; }

 private:
  void FillCountries();
  void ShowSide();
  void SelectCountryRow(int row);
  void ShowControlState();
  void ApplyControls();
  void ShowStatistics();
  void FillPlayers();
  void SelectPlayerRow();
  void SavePlayer();
  void RemovePlayer();
  void SetPbemGame(bool on);
  void Start();
  void Back();
  void ShowMessage(const sSettingsMessage& message);
  void ConvertOldMap();
  bool PbemPageShown() const;

  cCountry* selected_country_ = nullptr;
  // Players are named by id, not pointer: the vector moves when it grows.
  int selected_player_id_ = 0;
  CDXUTListBox* countries_ = nullptr;
  CDXUTListBox* stats_ = nullptr;
  CDXUTListBox* players_ = nullptr;
  CDXUTComboBox* player_combo_ = nullptr;
  CDXUTTabFrame* pages_ = nullptr;
  CDXUTTabFrame* stats_pages_ = nullptr;
  CDXUTImage* flag_ = nullptr;
  CDXUTEditBox* game_name_ = nullptr;
  CDXUTEditBox* player_name_ = nullptr;
  CDXUTEditBox* player_email_ = nullptr;
  CDXUTStatic* side_ = nullptr;
};
