// A city: a named place on one hex that gives its holder victory points,
// production, supply, a harbour or resources. The city keeps no holder of its
// own; controller, owner and original owner are those of its hex, so taking
// the hex takes the city. The world owns every city in one list in file
// order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class cCountry;
class cWorld;
class cJednostka;

// City types.
enum eCityType : int {
  kCitySupply = 0,
  kCityNormal = 1,
  kCitySupplyPort = 2,
  kCityPort = 3,
  kCityResources = 4,
};

class cCity {
 public:
  // All numbers 0, no name, empty vectors, no cities-graph node.
  cCity();
  // Copies the numbers, the node index and the name; the supply, convoy and
  // hop vectors start empty.
  cCity(const cCity& other);
  cCity& operator=(const cCity&) = delete;

  const std::wstring& GetName() const { return name; }
  void SetName(std::wstring_view text);

  // The world the city was added to (cWorld::AddCity sets it); null for a
  // city of none.
  const cWorld* World() const { return world_; }
  void SetWorld(const cWorld* world) { world_ = world; }

  // Country ids of the city's hex in its world (0 = nobody, also for a hex
  // off the map or a city of no world).
  int GetControllerId() const;
  int GetOwnerId() const;
  int GetOriginalOwnerId() const;

  bool IsPort() const { return type == kCitySupplyPort || type == kCityPort; }

  // A hex at or next to the city that the country or one of its allies
  // controls and that no unit stands on: the city hex first, then the
  // neighbours in direction order 0..5. (-1, -1) when there is none.
  void FindFreeFriendlyHex(const cWorld& world, int& outX, int& outY, const cCountry& country) const;
  // True when no neighbouring hex is an empty land hex.
  bool IsEnclosed(const cWorld& world) const;
  // A garrisoned city whose every neighbour is water or holds a unit at war
  // with the city's controller, with at least two such units.
  bool IsBesieged(const cWorld& world) const;

  // Hop count from this city to the other city's graph node; -1 for no land
  // route (or when either city has no node).
  int GetHopsTo(const cCity& other) const;
  // Breadth-first over the land links of the world's cities graph; fills
  // hopCounts with one entry per node.
  void ComputeHopCounts(cWorld& world);

  // Hex position and file values.
  int x = 0;
  int y = 0;
  std::wstring name;
  int type = 0;
  int victoryPoints = 0;
  float productionPoints = 0.0f;
  int supply = 0;
  // Working data of the supply rules and the convoys, per country.
  std::vector<std::int32_t> supplyInfo;
  std::vector<std::uint8_t> convoyInfo;
  int productionLostToBombing = 0;
  // Index of the city's node in the cities graph; -1 for none.
  int graphNode = -1;
  // Per cities-graph node: the number of land links on the shortest land
  // route to that node's city, -1 when there is none.
  std::vector<std::int32_t> hopCounts;
  std::uint8_t visited = 0;
  // The computer opponent may attack the city (not on its list of cities
  // it leaves alone); worked out afresh each turn, never saved.
  std::uint8_t aiAttackable = 1;
  // The computer opponent's state of the front the city is on (0 held,
  // 1 weak, 2 critical), 3 on no front; worked out afresh, never saved.
  int aiFrontState = 3;
  // The computer opponent's strength already sent against the city in this
  // turn (reset every turn, never saved).
  float aiTurnCounter = 0.0f;

 private:
  const cWorld* world_ = nullptr;
};

// The names shown for a city; longer names are cut to this many characters.
constexpr std::size_t kCityNameMax = 100;

// The holder tests of the city queries and the cities graph. A hex without
// controller (0) is friendly to nobody and allied with nobody.
// Friendly: the controller is the country itself or a country allied with it.
bool IsControllerFriendlyTo(int controller, const cCountry& country);
// The country looked up in the world (none: friendly to nobody).
bool IsControllerFriendlyTo(const cWorld& world, int controller, int countryId);
// Allied only: the alliance test of the country (a neutral is allied with
// nobody, not even itself).
bool IsControllerAlliedTo(const cWorld& world, int controller, int countryId);

// The country of the land or air unit standing on a hex. The units are not
// part of the world yet: until their code installs the real look-up, every
// unit counts as belonging to nobody (0), which is never at war with anyone.
using LandUnitCountryFn = int (*)(const cJednostka* unit);
void SetLandUnitCountryFn(LandUnitCountryFn fn);
int LandUnitCountryId(const cJednostka* unit);
