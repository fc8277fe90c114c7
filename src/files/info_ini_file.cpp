#include "files/info_ini_file.h"

#include <climits>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/ini_file.h"
#include "app/version.h"
#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/text.h"
#include "world/world.h"

namespace {

constexpr int kMaxPbemPlayers = 8;

bool HasKey(const cIniFile& ini, std::string_view path) {
  const auto it = ini.Entries().find(path);
  return it != ini.Entries().end() && it->second.value.has_value();
}

std::string PlayerKey(int number, const char* what) {
  std::string key = "Save/PBEMPlayer";
  key += std::to_string(number);
  key += what;
  return key;
}

// A unit-size setting: the stored value minus 1, the fallback unless 1 to 5.
int UnitSize(int value, int fallback) {
  const long long size = static_cast<long long>(value) - 1;
  return size >= 1 && size <= 5 ? static_cast<int>(size) : fallback;
}

// A name that stays one folder below "data\scenarios\".
bool IsPlainFolderName(std::wstring_view name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  return name.find_first_of(L"\\/") == std::wstring_view::npos;
}

// Folder names compare without regard to ASCII case, as paths are looked up.
bool SameFolderName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

sInfoHeader ReadInfoHeader(cIniFile& ini) {
  sInfoHeader h;
  h.impulse = ini.GetInt("Save/Impulse", 0);
  h.gameMonth = ini.GetInt("Save/GameMonth", 0);
  h.gameYear = ini.GetInt("Save/GameYear", 0);
  h.scenarioName = ini.GetString("Save/ScenarioName", L"unknown");
  h.turn = ini.GetInt("Save/Turn", 0);
  const long long turns = ini.GetInt("Duration/Turns", h.turn);
  const long long left = turns - h.turn;
  h.turnsLeft = left > INT32_MAX ? INT32_MAX : left < INT32_MIN ? INT32_MIN : static_cast<int>(left);
  h.playByEmail = HasKey(ini, "Save/PBEMGameName");
  h.pbemGameName = L"unknown";
  if (h.playByEmail) {
    h.pbemGameName = ini.GetString("Save/PBEMGameName", L"unknown");
    for (int n = 1; n <= kMaxPbemPlayers; ++n) {
      const std::string nameKey = PlayerKey(n, "Name");
      const std::string emailKey = PlayerKey(n, "Email");
      if (!HasKey(ini, nameKey) || !HasKey(ini, emailKey)) break;
      sPbemPlayer player;
      player.number = n;
      player.name = ini.GetString(nameKey, L"should_not_see_this");
      player.email = ini.GetString(emailKey, L"should_not_see_this");
      h.pbemPlayers.push_back(std::move(player));
    }
  }
  h.gameVersion = files::ParseFloat(ini.GetString("Save/GameVersion", L"1.0"));
  h.gameDay = ini.GetInt("Save/GameDay", 1);
  h.displayedDay = ini.GetInt("Save/GameDayDisplayed", h.gameDay);
  h.displayedMonth = ini.GetInt("Save/GameMonthDisplayed", h.gameMonth);
  h.displayedYear = ini.GetInt("Save/GameYearDisplayed", h.gameYear);
  // A save keeps the turns its game had left.
  if (HasKey(ini, "Save/TurnsLeft")) h.turnsLeft = ini.GetInt("Save/TurnsLeft", h.turnsLeft);
  h.smallUnitsSize = UnitSize(ini.GetInt("Map/SmallUnitsSize", 1), 0);
  h.largeUnitsSize = UnitSize(ini.GetInt("Map/LargeUnitsSize", 2), 1);
  return h;
}

namespace {

// A number key of the header as the file holds it: a key that is there must
// hold a whole number; outside [min, max] it is a fatal data error, or with
// clamp a WARNING and the nearer end. An absent key keeps its default.
void CheckNumberKey(const cIniFile& ini, const std::wstring& path, std::string_view key, int& value, int min, int max,
                    bool clamp) {
  const auto it = ini.Entries().find(key);
  const bool present = it != ini.Entries().end() && it->second.value.has_value();
  const std::wstring keyText = plat::WidenAnsi(key);
  if (present) {
    const std::wstring text = plat::WidenAnsi(*it->second.value);
    if (!files::ParseWholeInt(text, value)) {
      FatalExit(plat::Format(L"ERROR: %s: %s \"%s\" is not a whole number", path, keyText, text));
    }
  }
  if (value >= min && value <= max) return;
  if (!clamp) {
    FatalExit(plat::Format(present ? L"ERROR: %s: %s %i is out of range (%i to %i)"
                                   : L"ERROR: %s: %s is missing (taken as %i, outside %i to %i)",
                           path, keyText, value, min, max));
  }
  const int taken = value < min ? min : max;
  LogLine(L"WARNING: %s: %s %i is out of range (%i to %i); taken as %i", path, keyText, value, min, max, taken);
  value = taken;
}

}  // namespace

bool NamesScenarioFolder(const cIniFile& ini) {
  const auto it = ini.Entries().find(std::string_view("Save/ScenarioName"));
  if (it == ini.Entries().end() || !it->second.value.has_value()) return false;
  return IsPlainFolderName(plat::WidenBytes(*it->second.value));
}

sInfoHeader LoadInfoHeader(std::wstring_view folderPattern) {
  const std::wstring path = files::PathFromPattern(folderPattern, L"Info.ini");
  cIniFile ini;
  ini.Load(path);
  // The header falls back to its defaults; the checks below then name the
  // file when those defaults cannot make a game.
  if (!ini.IsLoaded()) LogLine(L"WARNING: %s cannot be read; the header's defaults are taken", path);
  // The getters add a missing key with its default: look first.
  const bool named = NamesScenarioFolder(ini);
  const cIniFile asRead = ini;
  sInfoHeader h = ReadInfoHeader(ini);
  // The scenario's own files are found by this name.
  if (!named) {
    FatalExit(plat::Format(L"ERROR: %s: Save/ScenarioName \"%s\" names no scenario folder", path, h.scenarioName));
  }
  CheckNumberKey(asRead, path, "Save/GameMonth", h.gameMonth, 1, 12, false);
  CheckNumberKey(asRead, path, "Save/GameYear", h.gameYear, 1, 9999, false);
  CheckNumberKey(asRead, path, "Save/GameDay", h.gameDay, 1, 31, true);
  CheckNumberKey(asRead, path, "Save/Turn", h.turn, 0, INT_MAX, true);
  CheckNumberKey(asRead, path, "Save/Impulse", h.impulse, 0, INT_MAX, true);
  if (HasKey(asRead, "Duration/Turns")) {
    int turns = 0;
    CheckNumberKey(asRead, path, "Duration/Turns", turns, 0, INT_MAX, true);
    h.turnsLeft = turns - h.turn;  // both at least 0
  }
  if (HasKey(asRead, "Save/TurnsLeft")) CheckNumberKey(asRead, path, "Save/TurnsLeft", h.turnsLeft, 0, INT_MAX, true);
  if (HasKey(asRead, "Save/GameDayDisplayed")) {
    CheckNumberKey(asRead, path, "Save/GameDayDisplayed", h.displayedDay, 1, 31, true);
  } else {
    h.displayedDay = h.gameDay;
  }
  if (HasKey(asRead, "Save/GameMonthDisplayed")) {
    CheckNumberKey(asRead, path, "Save/GameMonthDisplayed", h.displayedMonth, 1, 12, true);
  } else {
    h.displayedMonth = h.gameMonth;
  }
  if (HasKey(asRead, "Save/GameYearDisplayed")) {
    CheckNumberKey(asRead, path, "Save/GameYearDisplayed", h.displayedYear, 1, 9999, true);
  } else {
    h.displayedYear = h.gameYear;
  }
  return h;
}

std::optional<std::wstring> ScenarioFolderRefusal(std::wstring_view folderPattern, const sInfoHeader& header) {
  // The pattern's folders: "...", "scenarios", <folder>, "%s".
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t c : folderPattern) {
    if (c == L'\\' || c == L'/') {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(part);
  if (parts.size() < 3 || !SameFolderName(parts[parts.size() - 3], L"scenarios")) return std::nullopt;
  const std::wstring& folder = parts[parts.size() - 2];
  if (SameFolderName(folder, header.scenarioName)) return std::nullopt;
  const std::wstring path = files::PathFromPattern(folderPattern, L"Info.ini");
  return plat::Format(L"ERROR: %s: Save/ScenarioName \"%s\" is not the scenario's own folder \"%s\": the game would "
                      L"read the events, constants, cities diagram and sea edges of scenario \"%s\". Set "
                      L"ScenarioName=%s in the [Save] section, or give the folder the name \"%s\".",
                      path, header.scenarioName, folder, header.scenarioName, folder, header.scenarioName);
}

void CheckScenarioNamesItsFolder(std::wstring_view folderPattern, const sInfoHeader& header) {
  if (const std::optional<std::wstring> refusal = ScenarioFolderRefusal(folderPattern, header)) {
    FatalExit(*refusal + L" Exiting...");
  }
}

void ApplyInfoHeader(const sInfoHeader& header, cWorld& world) {
  world.impulseCounters[0] = header.impulse;
  world.GetDate().month = header.gameMonth;
  world.GetDate().year = header.gameYear;
  world.scenarioName = header.scenarioName;
  world.playByEmail = header.playByEmail;
  world.playByEmailGameName = header.pbemGameName;
  world.smallUnitsSize = header.smallUnitsSize;
  world.largeUnitsSize = header.largeUnitsSize;
}

void RestoreDateFromHeader(const sInfoHeader& header, cWorld& world) {
  sGameDate& date = world.GetDate();
  date.month = header.gameMonth;
  date.year = header.gameYear;
  date.turn = TurnFromDay(world.TurnsPerMonth(), header.gameMonth, header.gameDay);
}

sInfoHeader HeaderFromWorld(const cWorld& world, int turn, int turnsLeft,
                            const std::vector<sPbemPlayer>& pbemPlayers) {
  sInfoHeader h;
  h.impulse = world.impulseCounters[0];
  h.gameMonth = world.GetDate().month;
  h.gameYear = world.GetDate().year;
  h.gameDay = world.GetDate().GetDay(world.TurnsPerMonth());
  // The date line shows the start date on the first turn and the game date
  // after it; the save keeps what it showed.
  const bool showsStart = turn == 1 && world.startDay > 0;
  h.displayedDay = showsStart ? world.startDay : h.gameDay;
  h.displayedMonth = showsStart ? world.startMonth : h.gameMonth;
  h.displayedYear = showsStart ? world.startYear : h.gameYear;
  h.scenarioName = world.scenarioName;
  h.turn = turn;
  h.turnsLeft = turnsLeft;
  h.playByEmail = world.playByEmail;
  h.pbemGameName = world.playByEmailGameName;
  h.pbemPlayers = pbemPlayers;
  h.gameVersion = kGameVersion;
  h.smallUnitsSize = world.smallUnitsSize;
  h.largeUnitsSize = world.largeUnitsSize;
  return h;
}

bool WriteInfoIni(std::wstring_view folder, const sInfoHeader& header) {
  const std::wstring path = files::JoinPath(folder, L"Info.ini");
  // The scenario's own header is copied into place first and the save keys
  // are set on the copy, so every other key of it is carried over.
  std::string scenarioHeader;
  bool fromScenario = false;
  if (IsPlainFolderName(header.scenarioName)) {
    std::wstring scenarioPath = L"data\\scenarios\\";
    scenarioPath += header.scenarioName;
    scenarioPath += L"\\Info.ini";
    fromScenario = files::ReadBytes(scenarioPath, scenarioHeader);
  }
  if (!fromScenario) scenarioHeader.clear();
  if (!files::WriteBytes(path, scenarioHeader)) {
    LogLine(L"Error opening file for writing");
    g_ConsoleLog.WriteLine(path);
    return false;
  }
  cIniFile ini;
  ini.Load(path);
  if (!ini.IsLoaded()) {
    LogLine(L"Error opening file for writing");
    g_ConsoleLog.WriteLine(path);
    return false;
  }
  if (!fromScenario) {
    // Without the scenario's header the save still has to load on its own:
    // the keys a load takes from the scenario come from the game.
    g_ConsoleLog.WriteLine(L"Scenario Info.ini not readable, header made from the game: " + header.scenarioName);
    const long long turns = static_cast<long long>(header.turn) + header.turnsLeft;
    ini.SetInt("Duration/Turns", turns > INT32_MAX ? INT32_MAX : turns < INT32_MIN ? INT32_MIN : static_cast<int>(turns));
    ini.SetInt("Map/SmallUnitsSize", header.smallUnitsSize + 1);
    ini.SetInt("Map/LargeUnitsSize", header.largeUnitsSize + 1);
  }

  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  ini.SetString("Save/Date", plat::Format(L"%02d.%02d.%02d %02d:%02d", (local.tm_year + 1900) % 100, local.tm_mon + 1,
                                          local.tm_mday, local.tm_hour, local.tm_min));
  ini.SetInt("Save/Turn", header.turn);
  ini.SetInt("Save/Impulse", header.impulse);
  ini.SetInt("Save/GameDay", header.gameDay);
  ini.SetInt("Save/GameMonth", header.gameMonth);
  ini.SetInt("Save/GameYear", header.gameYear);
  ini.SetString("Save/ScenarioName", header.scenarioName);
  ini.SetInt("Save/GameDayDisplayed", header.displayedDay);
  ini.SetInt("Save/GameMonthDisplayed", header.displayedMonth);
  ini.SetInt("Save/GameYearDisplayed", header.displayedYear);
  ini.SetInt("Save/TurnsLeft", header.turnsLeft);
  ini.SetString("Save/GameVersion", plat::Format(L"%.2f", static_cast<double>(header.gameVersion)));
  if (header.playByEmail) {
    ini.SetString("Save/PBEMGameName", header.pbemGameName);
    int n = 1;
    for (const sPbemPlayer& player : header.pbemPlayers) {
      if (n > kMaxPbemPlayers) break;
      ini.SetString(PlayerKey(n, "Name"), player.name);
      ini.SetString(PlayerKey(n, "Email"), player.email);
      ++n;
    }
  }
  ini.Save();

  // cIniFile::Save reports nothing: read the file back to know it is there.
  cIniFile check;
  check.Load(path);
  if (!check.IsLoaded() || !HasKey(check, "Save/ScenarioName")) {
    LogLine(L"Error opening file for writing");
    g_ConsoleLog.WriteLine(path);
    return false;
  }
  return true;
}
