// The readable sources of a scenario (map grids drawn as characters, tables
// of countries, cities, units, sea zones and constants) and the checks and
// derivations the scenario tool makes from them before it writes the game's
// files.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace scen {

struct sHexPos {
  int x = 0;
  int y = 0;
  bool operator==(const sHexPos&) const = default;
  bool operator<(const sHexPos& o) const { return x != o.x ? x < o.x : y < o.y; }
};

struct sRiver {
  std::string name;
  std::vector<sHexPos> hexes;  // from the mouth to the source
};

struct sFortLine {
  std::string name;
  int level = 1;
  std::vector<sHexPos> hexes;
};

// map.txt: the grids, the rivers and the fortified lines.
struct sMapSource {
  int width = 0;
  int height = 0;
  std::vector<std::string> terrain;  // rows of terrain letters
  std::vector<std::string> owner;    // rows of country letters, '.' water
  std::vector<std::string> seazone;  // rows of sea-zone letters, '.' land
  std::vector<sRiver> rivers;
  std::vector<sFortLine> forts;
};

// One line of countries.txt.
struct sCountrySource {
  char letter = '?';  // its letter in the owner grid ('-' for none)
  std::string code;   // short code used by the other tables
  std::string name;
  int alliance = 0;  // 0 neutral, 1-3 member, 4-6 leader
  int orientation = 0;
  int zone = 0;      // zone of influence
  int entry = 0;     // alliance entry level 0-100
  int strength = 0;  // political strength (-1 the dummy country)
  int power = 3;
  int region = 3;
  std::uint32_t colour = 0xFF808080;
  int productionPoints = 0;
  int diplomaticPoints = 0;
  std::array<int, 7> tech{};  // artillery, tanks, doctrine, aircraft, submarines, navy, nuclear
  std::string flag;           // the flag's design (see flags.cpp)
};

struct sCitySource {
  std::string code;
  sHexPos pos;
  int type = 1;
  int victoryPoints = 0;
  int productionPoints = 0;
  std::string name;
};

struct sLandSource {
  bool air = false;
  std::string code;
  int type = 0;
  int level = 1;
  int strength = 100;
  sHexPos pos;
  std::string name;
};

struct sShipSource {
  std::string code;
  int type = 41;
  std::string name;
};

struct sFleetSource {
  std::string code;
  std::string port;  // the port city it lies in
  std::string name;
  bool raiders = false;  // the raider formation (not active in battle)
  std::vector<sShipSource> ships;
};

struct sCommanderSource {
  std::string code;
  int kind = 0;  // 0 land, 1 air, 2 naval
  int skill = 1;
  int experience = 0;
  std::string name;
  std::string unit;  // the unit he leads; empty for none
};

struct sUnitsSource {
  std::vector<sLandSource> units;  // land and air
  std::vector<sFleetSource> fleets;
  std::vector<sCommanderSource> commanders;
};

struct sZoneSource {
  char letter = '?';
  sHexPos anchor;
  std::string name;
};

struct sSeaLinkSource {
  std::string from;
  std::string to;
  std::string strait;  // the city whose hex guards the passage; empty for none
};

struct sSeaSource {
  std::vector<sZoneSource> zones;
  std::vector<sSeaLinkSource> links;
};

struct sLandLinkSource {
  std::string from;
  std::string to;
  int type = 0;
};

// ai.txt: the computer opponent's standing orders of the countries that
// have any: the cities of its offensive, the sea zones its fleets patrol
// and the neutrals it presses.
struct sAiTargetSource {
  std::string code;
  int strength = -1;  // the strength to gather before it attacks; -1 none
  std::string city;
};
struct sAiPatrolSource {
  std::string code;
  int value = 0;
  std::string zone;
};
struct sAiPressSource {
  std::string code;
  std::vector<std::string> countries;
};
// The odds columns the country's attacks need: a multiple-direction attack
// without air support, with it (and the good air strikes that takes), and
// a one-side attack.
struct sAiAttackSource {
  std::string code;
  std::array<int, 3> multipleSide{};
  int oneSide = 0;
};
struct sAiOrdersSource {
  std::vector<sAiTargetSource> targets;
  std::vector<sAiAttackSource> attacks;
  std::vector<sAiPatrolSource> patrols;
  std::vector<sAiPressSource> presses;
};

// consts.txt: per data line number its values in column order.
using ConstsSource = std::map<int, std::vector<double>>;

// Each parser returns false with a message naming the line on bad input.
bool ParseMap(const std::string& text, sMapSource& out, std::string& error);
bool ParseCountries(const std::string& text, std::vector<sCountrySource>& out, std::string& error);
// The "war <code> <code>" lines of countries.txt (ParseCountries passes them over).
bool ParseWars(const std::string& text, std::vector<std::pair<std::string, std::string>>& out, std::string& error);
bool ParseCities(const std::string& text, std::vector<sCitySource>& out, std::string& error);
bool ParseUnits(const std::string& text, sUnitsSource& out, std::string& error);
bool ParseSea(const std::string& text, sSeaSource& out, std::string& error);
bool ParseLandLinks(const std::string& text, std::vector<sLandLinkSource>& out, std::string& error);
bool ParseConsts(const std::string& text, ConstsSource& out, std::string& error);
// "target <code> <strength> <city>", "patrol <code> <value> <zone>",
// "press <code> <code> [<code> ...]".
bool ParseAiOrders(const std::string& text, sAiOrdersSource& out, std::string& error);

// The neighbour of (x, y) on side dir (0 north, clockwise) of the
// offset-column grid.
sHexPos Neighbour(sHexPos p, int dir);
// The side of a that faces b, or -1 when they are not neighbours.
int SideTowards(sHexPos a, sHexPos b);

// The chain without its detours: a step there and back is dropped, and so is
// every hex whose two neighbours in the chain touch each other, so that the
// chain turns by at most one side at a time.
std::vector<sHexPos> SmoothChain(std::vector<sHexPos> chain);

// The river sides of a chain of hexes (smoothed first): the river runs along
// the sides on the right bank of the chain, so that consecutive sides meet at a corner. Each
// entry is a hex and a side 0-5; the same edge is listed once from the hex
// named first in the chain.
std::vector<std::pair<sHexPos, int>> RiverSides(const std::vector<sHexPos>& chain);

}  // namespace scen
