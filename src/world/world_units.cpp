// The world's look-ups over its units, fleets and commanders.
#include <algorithm>

#include "app/console_log.h"
#include "app/random.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/country.h"
#include "world/cities.h"
#include "world/world.h"

cJednostkaMorska* cWorld::FindNavalUnitById(int unitId) const {
  for (cJednostkaMorska* ship : units_.navalUnits) {
    if (ship->id == unitId) return ship;
  }
  return nullptr;
}

cFleet* cWorld::FindFleetAtSeaNode(int seaNodeId, int countryId) const {
  for (cFleet* fleet : units_.fleets) {
    if (fleet->seaNode == seaNodeId && fleet->country == countryId) return fleet;
  }
  return nullptr;
}

cCommander* cWorld::FindCommanderById(int commanderId) const {
  if (commanderId < 0) return nullptr;
  for (cCommander* commander : units_.commanders) {
    if (commander->id == commanderId) return commander;
  }
  LogLine(L"Commander with ID=%i not found", commanderId);
  return nullptr;
}

bool cWorld::KillFirstLandUnitOfCountry(int countryId) {
  for (cJednostkaLadowa* unit : units_.landUnits) {
    if (unit->countryId != countryId) continue;
    unit->Kill();
    // A land unit whose own kill has not taken it off the list yet leaves the
    // world here, so the callers' kill-until-none loops always end. The
    // pointer is only compared, never read.
    if (std::find(units_.landUnits.begin(), units_.landUnits.end(), unit) != units_.landUnits.end()) {
      RemoveUnitFromWorld(*this, unit);
    }
    return true;
  }
  return false;
}

namespace {

// A unit leaving the world must not stay the unit of its commander nor the
// unit of its hex.
void ForgetUnit(cWorld& world, cUnit* unit) {
  if (unit->ownCommander && unit->ownCommander->ledUnit == unit) unit->ownCommander->ledUnit = nullptr;
  cMap& map = world.GetMap();
  if (!map.IsInside(unit->x, unit->y)) return;
  sHex& hex = map.GetHex(unit->x, unit->y);
  if (static_cast<const void*>(hex.unit) == static_cast<const void*>(unit)) hex.unit = nullptr;
}


// A carried unit dies with its ship; a carried unit whose ship is unknown
// dies on its own, so the surrender's loop still ends.
bool KillFirstCarried(cWorld& world, std::list<cJednostkaLadowa*>& list, int countryId) {
  for (cJednostkaLadowa* unit : list) {
    if (unit->countryId != countryId) continue;
    if (cJednostkaMorska* ship = unit->transport) {
      ship->Kill(true);
    } else {
      unit->Kill();
    }
    if (std::find(list.begin(), list.end(), unit) != list.end()) RemoveUnitFromWorld(world, unit);
    return true;
  }
  return false;
}

}  // namespace

bool cWorld::KillFirstCarriedUnitA(int countryId) { return KillFirstCarried(*this, units_.carriedUnitsA, countryId); }

bool cWorld::KillFirstCarriedUnitB(int countryId) { return KillFirstCarried(*this, units_.carriedUnitsB, countryId); }

bool cWorld::KillFirstAirUnitOfCountry(int countryId) {
  for (cJednostkaLotnicza* unit : units_.airUnits) {
    if (unit->countryId == countryId) {
      unit->Kill();
      return true;
    }
  }
  return false;
}

bool cWorld::KillFirstNavalUnitOfCountry(int countryId) {
  for (cJednostkaMorska* ship : units_.navalUnits) {
    if (ship->countryId == countryId) {
      ship->Kill(true);
      return true;
    }
  }
  return false;
}

cFleet* cWorld::SelectShoreBombardmentFleet(int countryId, int seaNodeId) {
  auto eligible = [](const cJednostkaMorska* ship) {
    return (ship->type == kUnitBattleship || ship->type == kUnitCruiser) && !ship->shoreBombardmentDone;
  };
  cFleet* best = nullptr;
  int bestCount = 0;
  for (cFleet* fleet : units_.fleets) {
    if (fleet->seaNode != seaNodeId) continue;
    bool hasOwn = false;
    int count = 0;
    for (const cJednostkaMorska* ship : fleet->ships) {
      if (!eligible(ship)) continue;
      ++count;
      if (ship->countryId == countryId) hasOwn = true;
    }
    if (!hasOwn) continue;
    if (count > bestCount || (count == bestCount && best && fleet->id < best->id)) {
      best = fleet;
      bestCount = count;
    }
  }
  if (!best) return nullptr;
  for (cJednostkaMorska* ship : units_.navalUnits) {
    ship->marked = ship->fleet == best && eligible(ship);
  }
  return best;
}

float cWorld::CollectFriendlyShipsAtSeaNode(int countryId, int seaNodeId, std::list<cJednostkaMorska*>& out,
                                            int& transports) {
  out.clear();
  transports = 0;
  float sum = 0.0f;
  const cCountry* current = turnState.currentCountry;
  for (cJednostkaMorska* ship : units_.navalUnits) {
    if (!ship->fleet || ship->fleet->seaNode != seaNodeId) continue;
    if (ship->countryId != countryId && !(current && current->IsAlliedWith(ship->countryId))) continue;
    if (RandomRange(1, 100) > constants.friendlyShipSpotChance) continue;
    out.push_back(ship);
    sum += ship->GetCombatValue(*this);
    if (ship->type == kUnitCargoShip || ship->type == kUnitAmphibiousShip) ++transports;
  }
  return sum;
}

float cWorld::CollectEnemyShipsNearSeaNode(int countryId, int seaNodeId, std::list<cJednostkaMorska*>& out) {
  out.clear();
  float sum = 0.0f;
  const int n = relations_.GetCount();
  for (cJednostkaMorska* ship : units_.navalUnits) {
    if (!ship->fleet) continue;
    const int at = ship->fleet->seaNode;
    if (at != seaNodeId && !sea_graph_.HasPassableLink(*this, at, seaNodeId, ship->countryId)) continue;
    if (ship->countryId < 1 || ship->countryId > n || countryId < 1 || countryId > n ||
        !relations_.IsAtWar(ship->countryId, countryId)) {
      continue;
    }
    if (RandomRange(1, 100) > constants.enemyShipSpotChance) continue;
    out.push_back(ship);
    sum += ship->GetCombatValue(*this);
  }
  return sum;
}

namespace {

int SideOfCountry(const cWorld& world, int countryId) {
  const cCountry* country = world.GetCountry(countryId);
  switch (country ? country->alliance : 0) {
    case 2: case 5: return 1;
    case 1: case 4: return 2;
    case 3: case 6: return 3;
    default: return 4;
  }
}

}  // namespace

void AddEventEffectInCountry(cWorld& world, int countryId, int side, int delta) {
  const cMap& map = world.GetMap();
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    if (SideOfCountry(world, unit->countryId) != side || !map.IsInside(unit->x, unit->y)) continue;
    if (map.GetHex(unit->x, unit->y).originalOwner == countryId) unit->eventsEffect += delta;
  }
}

void AddEventEffectInArea(cWorld& world, int x1, int y1, int x2, int y2, int side, int delta) {
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    if (SideOfCountry(world, unit->countryId) != side) continue;
    if (unit->x >= x1 && unit->x <= x2 && unit->y >= y1 && unit->y <= y2) unit->eventsEffect += delta;
  }
}

void cWorld::ResetCitySupplyRows() {
  const auto count = static_cast<std::size_t>(GetCountryCount());
  for (cCity* city : cities_) {
    city->supplyInfo.assign(count, 0);
    city->convoyInfo.assign(count, 0);
  }
}

void cWorld::RemoveCountryReserveUnits(int countryId) {
  std::vector<cJednostka*>& pool = units_.reservePool;
  auto keep = std::stable_partition(pool.begin(), pool.end(),
                                    [countryId](const cJednostka* unit) { return unit->countryId != countryId; });
  for (auto it = keep; it != pool.end(); ++it) {
    ForgetUnit(*this, *it);
    delete *it;
  }
  pool.erase(keep, pool.end());
}

void cWorld::RemoveCountryReserveShips(int countryId) {
  std::vector<cJednostkaMorska*>& pool = units_.navalReservePool;
  auto keep = std::stable_partition(pool.begin(), pool.end(),
                                    [countryId](const cJednostkaMorska* ship) { return ship->countryId != countryId; });
  for (auto it = keep; it != pool.end(); ++it) {
    cJednostkaMorska* ship = *it;
    ForgetUnit(*this, ship);
    if (ship->fleet) ship->fleet->RemoveShip(ship);
    delete ship;
  }
  pool.erase(keep, pool.end());
}
