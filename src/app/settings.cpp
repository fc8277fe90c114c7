#include "app/settings.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/skins.h"
#include "app/string_base.h"
#include "platform/paths.h"

cIniFile g_SettingsIni;
sSettings g_Settings;

const sDelayKey g_DelayKeys[kDelayCount] = {
    {"Delay/ControlHint", "delay_control_hint", 157},
    {"Delay/AICombatResult", "delay_ai_combat_result", 160},
    {"Delay/HumanCombatResult", "delay_human_combat_result", 163},
    {"Delay/HumanDeployAfter", "delay_human_deploy_after", 166},
    {"Delay/HumanReconAfter", "delay_human_recon_after", 169},
    {"Delay/AIMoveBefore", "delay_ai_move_before", 116},
    {"Delay/AIMoveBetween", "delay_ai_move_between", 119},
    {"Delay/AIMoveAfter", "delay_ai_move_after", 122},
    {"Delay/AICombatBefore", "delay_ai_combat_before", 125},
    {"Delay/AICombatAfter", "delay_ai_combat_after", 128},
    {"Delay/AIDeployBefore", "delay_ai_deploy_before", 131},
    {"Delay/AIDeployAfter", "delay_ai_deploy_after", 134},
    {"Delay/AIReplacementBefore", "delay_ai_replacement_before", 137},
    {"Delay/AIReplacementAfter", "delay_ai_replacement_after", 140},
    {"Delay/HumanMoveBetween", "delay_human_move_between", 143},
};

std::atomic<float> g_Delays[kDelayCount];

namespace {

constexpr int kDefaultDelayMs = 1000;

// Per-cent settings are held as fractions.
float Fraction(int percent) { return static_cast<float>(percent / 100.0); }

// The text of a key as the file holds it (empty when it has none).
std::string RawValue(const cIniFile& ini, std::string_view path) {
  const auto it = ini.Entries().find(path);
  return it != ini.Entries().end() && it->second.value.has_value() ? *it->second.value : std::string();
}

// A number the preferences offer from a range: beyond it (a number mistyped
// in the file), the nearest end with a WARNING.
int ReadOfferedInt(cIniFile& ini, std::string_view path, int defaultValue, int least, int most) {
  const int read = ini.GetInt(path, defaultValue);
  const int taken = std::clamp(read, least, most);
  if (taken != read) {
    LogLine(L"WARNING: Settings.ini: %hs=%hs is beyond the values the preferences offer (%i to %i); taken as %i",
            std::string(path), RawValue(ini, path), least, most, taken);
  }
  return taken;
}

// A skin whose folder is missing (a name mistyped in the file): the default
// skin, when its folder is there, with a WARNING; the file keeps its text.
// The first map drawn has no skin before it to keep.
std::wstring InstalledSkin(const cIniFile& ini, std::string_view path, std::wstring name, const wchar_t* fallback,
                           std::wstring (*folderOf)(std::wstring_view)) {
  const auto installed = [folderOf](std::wstring_view skin) {
    return plat::FolderExists(plat::ResolvePath(std::wstring_view(folderOf(skin))));
  };
  if (name == fallback || installed(name) || !installed(fallback)) return name;
  LogLine(L"WARNING: Settings.ini: %hs=%hs names no skin folder (%s is missing); the default skin %s is taken",
          std::string(path), RawValue(ini, path), folderOf(name), fallback);
  return fallback;
}

// A screen size without a layout file (a number mistyped, a size the game
// has none for): the size every supported screen shows, when its layout is
// there, with a WARNING; the file keeps its text. The game would otherwise
// end before its window opened.
void TakeResolutionWithLayout(const cIniFile& ini, sSettings& s) {
  const auto hasLayout = [](int width, int height) {
    return plat::FileExists(plat::ResolvePath(std::wstring_view(GuiLayoutFileName(width, height))));
  };
  if (hasLayout(s.ResolutionX, s.ResolutionY) || !hasLayout(kFallbackResolutionX, kFallbackResolutionY)) return;
  LogLine(L"WARNING: Settings.ini: Main/ResolutionX=%hs, Main/ResolutionY=%hs is no screen size the game has a "
          L"layout for (%s is missing); %ix%i is taken",
          RawValue(ini, "Main/ResolutionX"), RawValue(ini, "Main/ResolutionY"),
          GuiLayoutFileName(s.ResolutionX, s.ResolutionY), kFallbackResolutionX, kFallbackResolutionY);
  s.ResolutionX = kFallbackResolutionX;
  s.ResolutionY = kFallbackResolutionY;
}

}  // namespace

int DelayMinimumMs(int delay) {
  return delay == kDelayAICombatResult || delay == kDelayHumanCombatResult ? kDelayUntilClickMs : 0;
}

void LoadSettings() { LoadSettingsFrom(L"Settings.ini"); }

void LoadSettingsFrom(std::wstring_view fileName) {
  LogLine(L"Loading settings...");
  cIniFile& ini = g_SettingsIni;
  ini.Load(fileName);
  sSettings& s = g_Settings;

  s.ResolutionX = ini.GetInt("Main/ResolutionX", kFallbackResolutionX);
  s.ResolutionY = ini.GetInt("Main/ResolutionY", kFallbackResolutionY);
  TakeResolutionWithLayout(ini, s);
  s.Windowed = !ini.GetBool("Main/Fullscreen", false);
  g_StringBase.SetLanguageCode(L"ENG");

  const int fps = ini.GetInt("Main/FPSLimit", 0);
  s.FrameIntervalMs = fps >= 1 ? static_cast<int>(1000u / static_cast<unsigned>(fps)) : 0;

  s.ShowUnitName = ini.GetBool("UnitsDisplay/ShowName", true);
  s.UnitsSkin = InstalledSkin(ini, "UnitsDisplay/Skin", ini.GetString("UnitsDisplay/Skin", kDefaultUnitsSkin),
                              kDefaultUnitsSkin, UnitsSkinFolder);
  s.DynamicAppearance = ini.GetBool("UnitsDisplay/DynamicAppearance", true);
  s.MapSkin =
      InstalledSkin(ini, "MapDisplay/Skin", ini.GetString("MapDisplay/Skin", kDefaultMapSkin), kDefaultMapSkin, MapSkinFolder);
  s.MapZoom = Fraction(ini.GetInt("MapDisplay/Zoom", 100));
  s.ShowGrid = ini.GetBool("MapDisplay/ShowGrid", true);
  s.ShowCityName = ini.GetBool("MapDisplay/ShowCityName", true);
  s.ShowAPLeft = ini.GetBool("MapDisplay/ShowAPLeft", true);
  s.ShowWeather = ini.GetBool("MapDisplay/ShowWeather", true);
  s.ShowSeaZoneName = ini.GetBool("MapDisplay/ShowSeaZoneName", true);
  s.MapOwnershipMode = ini.GetInt("MapDisplay/OwnershipMode", 0);
  s.MapMode = ini.GetInt("MapDisplay/Mode", 0);
  s.BorderMode = ini.GetInt("Border/Mode", 0);
  s.ShowSeaZonesBorders = ini.GetBool("Border/ShowSeaZonesBorders", true);

  // The components are not clamped: a value above 255 carries into the next
  // component, and what leaves the top of the 32 bits is lost (unsigned
  // arithmetic, so the wrap is well defined).
  std::uint32_t color = static_cast<std::uint32_t>(ini.GetInt("Border/ColorA", 255));
  for (const char* key : {"Border/ColorR", "Border/ColorG", "Border/ColorB"}) {
    color = color * 256u + static_cast<std::uint32_t>(ini.GetInt(key, 255));
  }
  s.BorderColor = color;

  s.FogOfWar = ini.GetInt("Gameplay/FogOfWar", 0);
  s.ShowAlliesActions = ini.GetBool("Gameplay/ShowAlliesActions", true);
  s.MinimapOwnershipMode = ini.GetInt("MinimapDisplay/OwnershipMode", 0);
  s.SkipEndTurnConfirmation = !ini.GetBool("InterfaceSettings/ConfirmEndTurn", true);
  // The countdown of a sea battle's round: the screen waits it out with its
  // buttons off.
  s.SeaBattleTimeout = ReadOfferedInt(ini, "InterfaceSettings/SeaBattleTimeout", 2, 0, kSeaBattleTimeoutMaxS);
  s.MusicVolume = Fraction(ini.GetInt("Audio/MusicVolume", 100));
  s.SfxVolume = Fraction(ini.GetInt("Audio/SFXVolume", 100));

  // A delay beyond those the preferences offer is taken as the nearest one
  // they offer: a mistyped number of milliseconds could otherwise hold the
  // computer's move for days.
  for (int i = 0; i < kDelayCount; ++i) {
    g_Delays[i] = static_cast<float>(ReadOfferedInt(ini, g_DelayKeys[i].key, kDefaultDelayMs, DelayMinimumMs(i),
                                                    kDelayMaximumMs));
  }
}

int ZoomToPercent(float zoom) {
  // Rounded up, but a product that misses a whole number only by the float
  // representation of the factor (1.11f * 100 = 111.0000014) keeps that
  // number; otherwise every load and save would add one per cent.
  const double percent = std::ceil(static_cast<double>(zoom) * 100.0 - 1e-3);
  if (!(percent > INT_MIN)) return percent < 0 ? INT_MIN : 0;  // also NaN
  if (percent >= INT_MAX) return INT_MAX;
  return static_cast<int>(percent);
}

void SetZoomSetting(float scale) { g_SettingsIni.SetInt("MapDisplay/Zoom", ZoomToPercent(scale)); }

void SaveZoomSetting() { g_SettingsIni.Save(); }

void SetEndTurnConfirmation(bool confirm) {
  g_Settings.SkipEndTurnConfirmation = !confirm;
  g_SettingsIni.SetBool("InterfaceSettings/ConfirmEndTurn", confirm);
  SaveZoomSetting();
}

void SavePreferences() {
  g_SettingsIni.Save(true);
}
