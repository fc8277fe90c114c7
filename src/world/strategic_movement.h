// Strategic movement: a unit moves by rail (or an air unit by transfer) from
// the city it draws its supply from to a distant city of its side. A land
// unit may only go to a city of the same group of cities joined over land
// held by its side; the supply calculation sets those groups per country at
// every end of an impulse, and saved games keep them ("topography.csv").
// The groups live in the world (cWorld::topographies); this module reads
// and sets them.
#pragma once

#include "world/topography.h"

class cCity;
class cJednostka;
class cWorld;

// What keeps a unit from a strategic move now, whatever the destination.
enum class eStrategicMoveBlock {
  kNone = 0,
  kNoPoints,              // its country cannot pay the move
  kNotFullActionPoints,   // it has acted in this impulse, or it is frozen
  kNoSupplySource,        // it draws from no city (cut off, or peace-time supply)
  kOutOfSupply,           // no supply, or cut off for an impulse or more
};
// The unit panel's hint key of each (kNone: the icon's own hint).
const char* StrategicMoveBlockKey(eStrategicMoveBlock block);
// The checks in their order: for a land unit the points (strategic movement
// points by its type), the action points and freeze, the supply source, the
// supply; for an air unit the supply source, the supply, the action points,
// then the production points its transfer costs (by air type), since that
// is what it pays with.
eStrategicMoveBlock GetStrategicMoveBlock(const cWorld& world, const cJednostka& unit);
// What the move costs the unit's country: strategic movement points for a
// land unit, production points for an air unit.
int StrategicMoveCost(const cWorld& world, const cJednostka& unit);

// The mark bit of a strategic-move destination on the map.
constexpr unsigned kMarkStrategicDestination = 32;

class cStrategicMovement {
 public:
  explicit cStrategicMovement(cWorld& world) : world_(world) {}

  // One topography per country of the world: new countries start with
  // none, existing ones keep theirs, surplus entries go.
  void Init();
  // The country's groups become a copy of the given ones (logged); an id
  // outside the world's countries changes nothing.
  void SetCountryTopography(int countryId, const Topography& groups);
  // The country's groups; empty for an unknown id.
  const Topography& CountryTopography(int countryId) const;

  // Whether the city is a strategic destination of the unit: the unit has a
  // supply source with a city on it, the destination is held by the unit's
  // country or an ally (never land nobody holds); an air unit needs no more,
  // a land unit needs the destination in the first group of its country's
  // topography (the world's land masses for a neutral country) that holds
  // the destination, together with its supply city.
  bool IsCityReachable(const cJednostka& unit, const cCity& target) const;
  // Clears every mark but the selection, then marks (bit 32) every free
  // destination city of the unit and the free land neighbours of each
  // destination that its holder or an ally of it holds. Returns the number
  // of hexes marked.
  int MarkStrategicMoveTargets(const cJednostka& unit);

 private:
  cWorld& world_;
};

// The world's answers behind the module, for readers that hold the world
// const (the checks of the rules).
bool IsStrategicDestinationCity(const cWorld& world, const cJednostka& unit, const cCity& target);
// Whether (x, y) is a hex MarkStrategicMoveTargets would mark for the unit.
bool IsStrategicMoveTarget(const cWorld& world, const cJednostka& unit, int x, int y);
