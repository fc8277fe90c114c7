#include "world/hex_ownership.h"

#include "world/country.h"
#include "world/hex.h"
#include "world/relations.h"
#include "world/unit.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

// The controller is the country, an ally or an enemy.
bool AdmitsCountry(const cWorld& world, int controller, int countryId) {
  if (controller == 0) return false;
  return controller == countryId || AreAllied(world, controller, countryId) || AreAtWar(world, countryId, controller);
}

}  // namespace

bool AreAllied(const cWorld& world, int a, int b) {
  const cCountry* first = world.GetCountry(a);
  const cCountry* second = world.GetCountry(b);
  if (!first || !second) return false;
  const int group = GroupOf(first->alliance);
  return group != 0 && group == GroupOf(second->alliance);
}

bool AreAtWar(const cWorld& world, int a, int b) { return world.GetRelations().IsAtWar(a, b); }

bool IsHexLandNotNeutralFor(const cWorld& world, const sHex& hex, int countryId) {
  return hex.IsLand() && AdmitsCountry(world, hex.controller, countryId);
}

bool IsHexAirborneDropTarget(const cWorld& world, const sHex& hex, int countryId) {
  if (hex.unit && hex.unit->visible) return false;
  if (!hex.IsLand() || hex.terrain == kTerrainMountain) return false;
  return hex.controller == 0 || AdmitsCountry(world, hex.controller, countryId);
}

bool IsHexOwnerAtWarWith(const cWorld& world, const sHex& hex, int countryId) {
  return hex.owner != 0 && hex.owner != countryId && AreAtWar(world, hex.owner, countryId);
}

bool IsHexControllerFriendly(const cWorld& world, const sHex& hex, int countryId) {
  if (hex.controller == countryId) return true;
  return hex.controller != 0 && AreAllied(world, hex.controller, countryId);
}

bool IsHexFullyFriendly(const cWorld& world, const sHex& hex, int countryId) {
  if (hex.controller == countryId && hex.owner == countryId) return true;
  if (hex.controller == 0 || hex.owner == 0) return false;
  const bool controllerFriendly = hex.controller == countryId || AreAllied(world, hex.controller, countryId);
  const bool ownerFriendly = hex.owner == countryId || AreAllied(world, hex.owner, countryId);
  return controllerFriendly && ownerFriendly;
}
