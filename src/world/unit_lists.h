// The world's units, fleets and commanders. Every pointer here is owned by
// the lists (a unit sits in exactly one of the unit lists or pools); the
// destructor frees them all.
#pragma once

#include <list>
#include <vector>

#include "world/convoy.h"

class cCommander;
class cFleet;
class cJednostka;
class cJednostkaLadowa;
class cJednostkaLotnicza;
class cJednostkaMorska;

struct sUnitLists {
  sUnitLists() = default;
  ~sUnitLists();
  sUnitLists(const sUnitLists&) = delete;
  sUnitLists& operator=(const sUnitLists&) = delete;

  // Frees everything and leaves the lists empty.
  void Clear();

  std::list<cJednostkaLadowa*> landUnits;     // on the map
  std::list<cJednostkaLadowa*> carriedUnitsA;  // on board ships
  std::list<cJednostkaLadowa*> carriedUnitsB;  // a second group on board ships
  std::list<cJednostkaLotnicza*> airUnits;
  std::list<cJednostkaMorska*> navalUnits;
  std::vector<cJednostka*> reservePool;  // land and air units not on the map
  std::vector<cJednostkaMorska*> navalReservePool;
  std::list<cFleet*> fleets;
  std::vector<cCommander*> commanders;
  // The convoys of every country.
  cConvoyStore convoys;
};
