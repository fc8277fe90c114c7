// The settings menu's rules that need no screen: which countries it offers
// and how their rows read, play-by-e-mail player ids and names, and the
// checks and preparations of start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class cCountry;
class cWorld;
struct sMapConversion;
struct sPbemPlayer;

// Characters the game-name box refuses as they are typed.
constexpr const wchar_t* kPbemGameNameRefusedChars = L"\\/:*?<>;#&|";

// The countries offered: active, not dummies (political strength -1),
// sorted by name (characters compared as numbers; equal names keep their
// order).
std::vector<cCountry*> ListSettingsCountries(const cWorld& world);
// " <name>;<control>;<difficulty>" for the countries list.
std::wstring FormatSettingsCountryRow(const cCountry& country, const cWorld& world);

// The line that tells the player his side: the countries of the list that
// a human plays ("You play: Germany, Italy."), or, when there are none,
// that nobody plays and how to choose.
std::wstring FormatSettingsSideLine(const cWorld& world);

// The message after the old map's conversion: the file written, or the
// file that stopped it and why. Paths are shown as the disk has them.
std::wstring FormatMapConversionMessage(const sMapConversion& outcome);

// The play-by-e-mail player with the id, or null.
const sPbemPlayer* FindPbemPlayer(const cWorld& world, int id);
// The id a new play-by-e-mail player gets: one more than the highest id in
// use (1 for the first), so that no id is ever given twice.
int NextPbemPlayerId(const std::vector<sPbemPlayer>& players);
// A game or player name as it is kept: blanks cut from both ends, cut to
// the length of a save's name (so " Alpha" and "Alpha" are one game).
std::wstring CleanPbemName(std::wstring_view typed);
// A game or player name that can be used: cleaned, a valid save name (not
// empty, no path separator, "..", ":" or "%"), and without the game name's
// refused characters.
bool IsAcceptablePbemName(std::wstring_view name);

// Why a start is refused.
enum class eSettingsStartRefusal {
  kNone,
  kPbemTurnAlreadyPlayed,
  kNoHumanCountry,
  kNoHumanCountryCanMove,
  kPbemSettingsIncorrect,
  kPbemNameRefused,
  kPbemFolderFailed,
};
struct sSettingsMessage {
  const wchar_t* text;
  const wchar_t* title;
};
sSettingsMessage SettingsStartMessage(eSettingsStartRefusal refusal);

// The checks and preparations of start, in order, on the world: for a
// loaded play-by-e-mail game the player whose turn it is; one human
// country, and one that can ever move (see CanCountryEverMove); for a new play-by-e-mail game (pbemChecked) at least two
// players among the countries, acceptable game and player names (the game
// name cleaned first), the game's folder under "data\pbem" made, then the
// world turned into that game under the cleaned name. Nothing changes when a start is refused (a folder made at the
// last check stays).
eSettingsStartRefusal PrepareSettingsStart(cWorld& world, bool pbemChecked, std::wstring_view gameName);
