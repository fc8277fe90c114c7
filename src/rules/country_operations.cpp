#include "rules/country_operations.h"

#include <vector>

#include "rules/hex_control.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/world.h"

namespace {

// The wars the relations matrix gives the country (its own direction, the
// one ClearWarsOf ends).
bool IsAtWarWithAnyone(const cWorld& world, int countryId) {
  const cRelationsMatrix& relations = world.GetRelations();
  for (int other = 1; other <= relations.GetCount(); ++other) {
    if (relations.IsAtWar(countryId, other)) return true;
  }
  return false;
}

// A unit standing on land that another country controls, where one of the
// two is the country making peace, leaves the map.
template <typename Unit>
void SendStrangersToReserve(cWorld& world, const std::vector<Unit*>& units, int countryId) {
  const cMap& map = world.GetMap();
  for (Unit* unit : units) {
    if (!map.IsInside(unit->x, unit->y)) continue;
    const int controller = map.GetHex(unit->x, unit->y).controller;
    if (controller == unit->countryId) continue;
    if (controller != countryId && unit->countryId != countryId) continue;
    world.turnState.ForgetUnit(unit);
    unit->MoveToReservePool();
  }
}

}  // namespace

void KillAllLandUnits(cWorld& world, int countryId) {
  while (world.KillFirstLandUnitOfCountry(countryId)) {
  }
  while (world.KillFirstCarriedUnitA(countryId)) {
  }
  while (world.KillFirstCarriedUnitB(countryId)) {
  }
}

void KillAllAirUnits(cWorld& world, int countryId) {
  while (world.KillFirstAirUnitOfCountry(countryId)) {
  }
}

void KillAllNavalUnits(cWorld& world, int countryId) {
  while (world.KillFirstNavalUnitOfCountry(countryId)) {
  }
}

void ChangeOwnershipOfAllNavalUnits(cWorld& world, int countryId, int newCountryId) {
  sUnitLists& units = world.Units();
  for (cFleet* fleet : units.fleets) {
    if (fleet->country == countryId) fleet->country = newCountryId;
  }
  for (cJednostkaMorska* ship : units.navalUnits) {
    if (ship->countryId != countryId) continue;
    ship->countryId = newCountryId;
    if (ship->carriedUnit != nullptr) ship->carriedUnit->countryId = newCountryId;
  }
  for (cJednostkaMorska* ship : units.navalReservePool) {
    if (ship->countryId == countryId) ship->countryId = newCountryId;
  }
}

void UnFreezeAllUnits(cWorld& world, int countryId) {
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    if (unit->countryId == countryId && unit->freezeTime > 0) unit->Unfreeze();
  }
}

void SetFreezeLevelForAllFreezedUnits(cWorld& world, int countryId, int turns) {
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    if (unit->countryId == countryId && unit->freezeTime >= 1) unit->freezeTime = turns;
  }
}

void MakePeaceWithAll(cWorld& world, int countryId, bool returnOccupied) {
  if (!IsAtWarWithAnyone(world, countryId)) return;
  if (returnOccupied) ReturnOccupiedHexes(world, countryId);
  // Copies: a unit sent to the reserve leaves the list being walked.
  const sUnitLists& units = world.Units();
  SendStrangersToReserve(world, std::vector<cJednostkaLadowa*>(units.landUnits.begin(), units.landUnits.end()),
                         countryId);
  SendStrangersToReserve(world, std::vector<cJednostkaLotnicza*>(units.airUnits.begin(), units.airUnits.end()),
                         countryId);
  world.GetRelations().ClearWarsOf(countryId);
  if (cCountry* country = world.GetCountry(countryId)) country->alliance = kNeutral;
}
