// The user's preferences: "Settings.ini" in the working folder, read once at
// start-up into the values below. The preferences dialog and the map screen
// change the values and write them back through g_SettingsIni.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/ini_file.h"

// The settings file as loaded; it keeps every section and key, also those
// the program does not read, and is saved whole.
extern cIniFile g_SettingsIni;

// The skins of a missing key, and those a skin that is not installed falls
// back to.
inline constexpr const wchar_t* kDefaultUnitsSkin = L"Counters";
inline constexpr const wchar_t* kDefaultMapSkin = L"Normal";

// The values the program works with, in the form it holds them. The
// initial values are the defaults of a missing key.
struct sSettings {
  int ResolutionX = 1024;
  int ResolutionY = 768;
  bool Windowed = true;             // not "Main/Fullscreen"
  int FrameIntervalMs = 0;          // 1000 / "Main/FPSLimit"; 0 = no limit
  bool ShowUnitName = true;
  std::wstring UnitsSkin = kDefaultUnitsSkin;
  bool DynamicAppearance = true;    // switch unit appearance tables by zoom
  std::wstring MapSkin = kDefaultMapSkin;
  float MapZoom = 1.0f;             // the map's current scale; "MapDisplay/Zoom" / 100 at start-up
  bool ShowGrid = true;
  bool ShowCityName = true;
  bool ShowAPLeft = true;
  bool ShowWeather = true;
  bool ShowSeaZoneName = true;
  int MapOwnershipMode = 0;
  int MapMode = 0;
  int BorderMode = 0;
  bool ShowSeaZonesBorders = true;
  std::uint32_t BorderColor = 0xFFFFFFFFu;  // 0xAARRGGBB
  int FogOfWar = 0;
  bool ShowAlliesActions = true;
  int MinimapOwnershipMode = 0;
  bool SkipEndTurnConfirmation = false;  // not "InterfaceSettings/ConfirmEndTurn"
  int SeaBattleTimeout = 2;
  float MusicVolume = 1.0f;         // 0..1 for 0..100 per cent
  float SfxVolume = 1.0f;
};

extern sSettings g_Settings;

// One delay of the computer players' visible actions or of the feedback to
// the human player: its INI path, the text key of its label on the
// preferences dialog and the id of its control there (the dialog also uses
// id - 2 and id - 1 for the same row).
struct sDelayKey {
  constexpr sDelayKey(std::string_view key, std::string_view textKey, int controlId)
      : key(key), textKey(textKey), controlId(controlId) {}
  std::string_view key;
  std::string_view textKey;
  int controlId;
};

enum eDelay {
  kDelayControlHint,
  kDelayAICombatResult,
  kDelayHumanCombatResult,
  kDelayHumanDeployAfter,
  kDelayHumanReconAfter,
  kDelayAIMoveBefore,
  kDelayAIMoveBetween,
  kDelayAIMoveAfter,
  kDelayAICombatBefore,
  kDelayAICombatAfter,
  kDelayAIDeployBefore,
  kDelayAIDeployAfter,
  kDelayAIReplacementBefore,
  kDelayAIReplacementAfter,
  kDelayHumanMoveBetween,
  kDelayCount
};

extern const sDelayKey g_DelayKeys[kDelayCount];

// The longest countdown of a sea battle's round the preferences offer, in
// seconds (from 0).
constexpr int kSeaBattleTimeoutMaxS = 20;

// The delays the preferences offer, in milliseconds: up to 20 s, from 0, or
// for the two combat reports from "until a click" (a negative delay).
constexpr int kDelayMaximumMs = 20000;
constexpr int kDelayUntilClickMs = -1000;
int DelayMinimumMs(int delay);
// The current delays in milliseconds, parallel to g_DelayKeys. The worker
// thread reads them while the preferences dialog may change them, hence
// atomic.
extern std::atomic<float> g_Delays[kDelayCount];

// Logs "Loading settings...", loads "Settings.ini" (a missing file leaves
// the table empty, so every default applies) and reads every setting. A
// delay or sea-battle countdown beyond those offered is taken as the nearest
// offered one, and a skin whose folder is missing as the default skin, each
// with a WARNING.
void LoadSettings();
// The same from another file (tests).
void LoadSettingsFrom(std::wstring_view fileName);

// "MapDisplay/Zoom" as saved for a zoom factor: the factor in per cent,
// rounded up.
int ZoomToPercent(float zoom);
// "MapDisplay/Zoom" is the player's: the zoom a game opens at. It follows
// the player's own zooming of the map (the scale zoomed to), never the scale
// a loaded map is fitted with, so a game the player does not zoom leaves it
// as it was.
void SetZoomSetting(float scale);
// Saves the settings file with the player's zoom (nothing is written when
// the file could not be loaded at start-up).
void SaveZoomSetting();

// Whether the end of a turn is confirmed: the one place that changes it. It
// sets the value the end-turn button reads and "InterfaceSettings/
// ConfirmEndTurn", and writes the settings file, so the
// end-turn question's box and the preferences never disagree.
void SetEndTurnConfirmation(bool confirm);

// The same when the player keeps the preferences: a settings file that did
// not exist at start-up is made, so that the preferences are kept; one that
// exists but could not be read is left alone.
void SavePreferences();
