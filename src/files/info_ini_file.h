// "Info.ini", the header of a scenario or a saved game: the date, turn,
// scenario name, play-by-e-mail players and map settings read at the start
// of a load, and written into every save on top of the scenario's own
// header so that its description and settings travel with the save.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "world/pbem_player.h"

class cIniFile;
class cWorld;

// Every value of the header a game uses.
struct sInfoHeader {
  int impulse = 0;
  int gameMonth = 0;
  int gameYear = 0;
  std::wstring scenarioName = L"unknown";
  int turn = 0;
  int turnsLeft = 0;
  bool playByEmail = false;
  std::wstring pbemGameName = L"unknown";
  std::vector<sPbemPlayer> pbemPlayers;
  float gameVersion = 1.0f;
  // The day of the game date (the impulse within the month comes back from
  // it); its month and year are gameMonth and gameYear.
  int gameDay = 1;
  // The date the date line showed when the game was saved (on the first
  // turn the start date, later the game date); a header without these keys
  // takes the game's day, month and year.
  int displayedDay = 1;
  int displayedMonth = 0;
  int displayedYear = 0;
  // Unit-size settings, stored as the value minus 1.
  int smallUnitsSize = 0;
  int largeUnitsSize = 1;
};

// The header from a loaded INI (missing keys take their defaults).
sInfoHeader ReadInfoHeader(cIniFile& ini);
// True when the header's "Save/ScenarioName" is there and names a folder
// one below "data\scenarios" (not empty, no path), as a load needs it.
bool NamesScenarioFolder(const cIniFile& ini);
// "Info.ini" found through a folder pattern ("data\save\x\%s") for a load:
// a missing file gives every default (with a WARNING). A scenario name that
// is missing or names no folder, a month outside 1-12, a year outside
// 1-9999 or a number key that holds no whole number is a fatal data error
// naming the file; a day outside 1-31 or a negative turn, impulse or
// duration is clamped with a WARNING, as is a displayed date outside those
// ranges or a negative "Save/TurnsLeft".
sInfoHeader LoadInfoHeader(std::wstring_view folderPattern);

// Puts the header's values into the world fields that hold them: impulse
// counter, month and year of the date, scenario name, play-by-e-mail flag
// and name, unit sizes.
void ApplyInfoHeader(const sInfoHeader& header, cWorld& world);
// A scenario loaded from "...\scenarios\<folder>\" must name that folder in
// its header: the game reads the scenario's events, constants, cities
// diagram and sea edges from the folder its ScenarioName names, and a copy
// that kept the original's name would play the original's events. The
// ERROR line that refuses such a header, naming the key to change; none for
// a header that names its own folder and for other folder patterns (saved
// games).
std::optional<std::wstring> ScenarioFolderRefusal(std::wstring_view folderPattern, const sInfoHeader& header);
// Ends the program with that line when there is one.
void CheckScenarioNamesItsFolder(std::wstring_view folderPattern, const sInfoHeader& header);
// The impulse within the month from the stored shown day. Needs the
// impulses of each month, so it runs once the scenario constants are read.
void RestoreDateFromHeader(const sInfoHeader& header, cWorld& world);

// The header a save of this world writes; turn, turns left and players are
// kept outside the world for now and come from the caller.
sInfoHeader HeaderFromWorld(const cWorld& world, int turn, int turnsLeft,
                            const std::vector<sPbemPlayer>& pbemPlayers);

// Writes "<folder>\Info.ini": the scenario's own "Info.ini"
// ("data\scenarios\<name>\Info.ini") with the save keys set on it. When that
// file cannot be read, the header is made from the game alone (duration and
// unit sizes included) so the save still loads. False when the file could
// not be written.
bool WriteInfoIni(std::wstring_view folder, const sInfoHeader& header);
