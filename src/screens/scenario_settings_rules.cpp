#include "screens/scenario_settings_rules.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include "app/string_base.h"
#include "files/info_ini_file.h"
#include "files/pbem_repository.h"
#include "files/save_game.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "screens/screen_helpers.h"
#include "world/country.h"
#include "world/map.h"
#include "world/turn_state.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;


const char* const kDifficultyKeys[] = {"scenario_settings_very_hard", "scenario_settings_hard",
                                       "scenario_settings_normal", "scenario_settings_easy",
                                       "scenario_settings_very_easy"};

bool CreatePbemFolder(std::wstring_view gameName) {
  // Names go into paths by joining, never as formats.
  const std::string path = plat::ResolvePath(std::wstring(L"data\\pbem\\") + std::wstring(gameName));
  std::error_code error;
  // A fresh installation has no "data\pbem" yet.
  fs::create_directories(fs::path(path).parent_path(), error);
  error.clear();
  return fs::create_directory(path, error) && !error;
}

}  // namespace

const sPbemPlayer* FindPbemPlayer(const cWorld& world, int id) {
  for (const sPbemPlayer& player : world.pbemPlayers) {
    if (player.number == id) return &player;
  }
  return nullptr;
}

std::vector<cCountry*> ListSettingsCountries(const cWorld& world) {
  std::vector<cCountry*> countries;
  for (const auto& country : world.Countries()) {
    if (country && country->active && country->politicalStrength != -1) countries.push_back(country.get());
  }
  std::stable_sort(countries.begin(), countries.end(),
                   [](const cCountry* a, const cCountry* b) { return a->name < b->name; });
  return countries;
}

std::wstring FormatSettingsCountryRow(const cCountry& country, const cWorld& world) {
  std::wstring control;
  if (country.human) {
    const sPbemPlayer* player = world.playByEmail ? FindPbemPlayer(world, country.pbemPlayerId) : nullptr;
    control = player != nullptr ? player->name : Text("scenario_settings_human_controlled");
  } else {
    control = Text("scenario_settings_ai_controlled");
  }
  const int difficulty = std::clamp(country.difficulty, 0, 4);
  std::wstring row = L" ";
  row += country.name;
  row += L';';
  row += control;
  row += L';';
  row += Text(kDifficultyKeys[difficulty]);
  return row;
}

std::wstring FormatSettingsSideLine(const cWorld& world) {
  std::wstring names;
  for (const cCountry* country : ListSettingsCountries(world)) {
    if (!country->human) continue;
    if (!names.empty()) names += L", ";
    names += country->name;
  }
  if (names.empty()) return Text("scenario_settings_no_human_country");
  return plat::Format(Text("scenario_settings_you_play_%s"), names);
}

std::wstring FormatMapConversionMessage(const sMapConversion& outcome) {
  const std::wstring file = plat::FromUtf8(plat::ResolvePath(outcome.file));
  std::wstring reason;
  switch (outcome.result) {
    case eMapConversion::kDone:
      return plat::Format(Text("scenario_settings_convert_map_done_%s"), file);
    case eMapConversion::kCannotOpen: reason = Text("scenario_settings_convert_map_cannot_read"); break;
    case eMapConversion::kZeroSize: reason = Text("scenario_settings_convert_map_zero_size"); break;
    case eMapConversion::kBadSize:
      reason = plat::Format(Text("scenario_settings_convert_map_bad_size_%i_%i"), outcome.x, outcome.y);
      break;
    case eMapConversion::kTruncated: reason = Text("scenario_settings_convert_map_truncated"); break;
    case eMapConversion::kBadTerrain:
      reason = plat::Format(Text("scenario_settings_convert_map_bad_terrain_%i_%i_%i"), outcome.x, outcome.y,
                            outcome.code);
      break;
    case eMapConversion::kBadWeather:
      reason = plat::Format(Text("scenario_settings_convert_map_bad_weather_%i_%i"), outcome.line, outcome.code);
      break;
    case eMapConversion::kCannotWrite: reason = Text("scenario_settings_convert_map_cannot_write"); break;
  }
  return plat::Format(Text("scenario_settings_convert_map_failed_%s_%s"), file, reason);
}

int NextPbemPlayerId(const std::vector<sPbemPlayer>& players) {
  int highest = 0;
  for (const sPbemPlayer& player : players) highest = std::max(highest, player.number);
  return highest + 1;
}

std::wstring CleanPbemName(std::wstring_view typed) { return CleanSaveName(typed); }

bool IsAcceptablePbemName(std::wstring_view name) {
  if (!IsValidSaveName(CleanSaveName(name))) return false;
  return name.find_first_of(kPbemGameNameRefusedChars) == std::wstring_view::npos;
}

sSettingsMessage SettingsStartMessage(eSettingsStartRefusal refusal) {
  switch (refusal) {
    case eSettingsStartRefusal::kPbemTurnAlreadyPlayed:
      return {L"You already played your turn in this PBEM game. Wait for other players to finish their turns.",
              L"PBEM saved game"};
    case eSettingsStartRefusal::kNoHumanCountry:
      return {L"At least one country must be controlled by human.", L"Game settings"};
    case eSettingsStartRefusal::kNoHumanCountryCanMove:
      return {L"No country controlled by human can ever move: each has a political strength of -5 or below or an "
              L"unknown alliance. Choose another country.",
              L"Game settings"};
    case eSettingsStartRefusal::kPbemSettingsIncorrect:
      return {L"Settings for PBEM game are incorrect.", L"PBEM game settings"};
    case eSettingsStartRefusal::kPbemNameRefused:
      return {L"The names of a PBEM game and of its players may not be empty nor hold a slash, a backslash, a "
              L"colon, a per cent sign, two dots in a row or any of * ? < > ; # & |.",
              L"PBEM game settings"};
    case eSettingsStartRefusal::kPbemFolderFailed:
      return {L"Problems with creating PBEM game directory.", L"PBEM game settings"};
    case eSettingsStartRefusal::kNone: break;
  }
  return {L"", L""};
}

eSettingsStartRefusal PrepareSettingsStart(cWorld& world, bool pbemChecked, std::wstring_view typedGameName) {
  if (world.savedGame && world.playByEmail) {
    const cCountry* current = world.turnState.currentCountry;
    const cCountry* next = world.turnState.FindNextHumanCountry(world.Countries());
    const std::uint32_t nextId = next != nullptr ? static_cast<std::uint32_t>(next->pbemPlayerId) : 0u;
    const bool exempt = current != nullptr && current->specialFlags == 1;
    // The record is kept under the name the game's folder has.
    const std::wstring gameName = CleanPbemName(world.playByEmailGameName);
    if (!exempt && GetPbemRepositoryValue(gameName, [nextId] { return nextId; }) != nextId) {
      return eSettingsStartRefusal::kPbemTurnAlreadyPlayed;
    }
  }
  if (!world.HasActiveHumanCountry()) return eSettingsStartRefusal::kNoHumanCountry;
  if (!AnyHumanCountryCanMove(world.Countries())) return eSettingsStartRefusal::kNoHumanCountryCanMove;
  if (world.savedGame || !pbemChecked) return eSettingsStartRefusal::kNone;

  // Two different players among the human countries, and names that can
  // stand in a folder name and in the game's header.
  std::set<int> players;
  for (const auto& country : world.Countries()) {
    if (country && country->human && country->pbemPlayerId > 0) players.insert(country->pbemPlayerId);
  }
  if (players.size() < 2) return eSettingsStartRefusal::kPbemSettingsIncorrect;
  const std::wstring gameName = CleanPbemName(typedGameName);
  bool namesOk = IsAcceptablePbemName(gameName);
  for (const sPbemPlayer& player : world.pbemPlayers) namesOk = namesOk && IsAcceptablePbemName(player.name);
  if (!namesOk) return eSettingsStartRefusal::kPbemNameRefused;

  if (!CreatePbemFolder(gameName)) return eSettingsStartRefusal::kPbemFolderFailed;

  world.playByEmail = true;
  world.playByEmailGameName = gameName;
  for (const auto& country : world.Countries()) {
    if (country && country->specialFlags == 1) country->human = true;
  }
  return eSettingsStartRefusal::kNone;
}
