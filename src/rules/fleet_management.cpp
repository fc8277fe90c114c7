#include "rules/fleet_management.h"

#include <algorithm>

#include "app/console_log.h"
#include "rules/fleet_orders.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/naval_spotting.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

constexpr std::size_t kNameMaxLength = 99;

int TypeIndex(const cJednostkaMorska& ship) { return std::clamp(ship.type - kUnitAircraftCarrier, 0, 5); }

// The ships are given, all of the fleet, and the fleet is the current
// country's.
eShipOrderRefusal CheckOwnShips(const cWorld& world, const cFleet& fleet, const ShipGroup& ships) {
  if (ships.empty()) return eShipOrderRefusal::kNoShipSelected;
  if (fleet.country != world.turnState.CurrentCountryId()) return eShipOrderRefusal::kNotOwnFleet;
  for (const cJednostkaMorska* ship : ships) {
    if (ship == nullptr || ship->fleet != &fleet) return eShipOrderRefusal::kNotOwnFleet;
  }
  return eShipOrderRefusal::kNone;
}

// Only the given ships are marked in the fleet.
void MarkOnly(cFleet& fleet, const ShipGroup& ships) {
  fleet.ClearShipMarks();
  for (cJednostkaMorska* ship : ships) ship->marked = true;
}

// The old fleet goes when its last ship has left; the country's sight is
// worked out again.
void AfterShipsLeft(cWorld& world, cFleet& fleet, int countryId) {
  if (fleet.ships.empty()) fleet.Delete(world);
  CalculateNavalVisibilityEverywhere(world, countryId, false);
}

std::wstring Cut(const std::wstring& name) {
  return name.size() > kNameMaxLength ? name.substr(0, kNameMaxLength) : name;
}

}  // namespace

std::vector<cFleet*> FleetsAtNode(const cWorld& world, int nodeId, int countryId) {
  std::vector<cFleet*> found;
  for (cFleet* fleet : world.Units().fleets) {
    if (fleet->seaNode == nodeId && fleet->country == countryId) found.push_back(fleet);
  }
  return found;
}

std::vector<cFleet*> DestinationFleets(const cWorld& world, const cFleet& fleet) {
  std::vector<cFleet*> found;
  for (cFleet* other : FleetsAtNode(world, fleet.seaNode, fleet.country)) {
    if (other != &fleet && !other->moved) found.push_back(other);
  }
  return found;
}

std::vector<int> CommonDestinations(const cWorld& world, const std::vector<cFleet*>& fleets) {
  std::vector<int> common;
  bool first = true;
  for (cFleet* fleet : fleets) {
    fleet->ComputeReachableNodes(world);
    std::vector<int> reach;
    for (int node : fleet->reachableNodes) {
      if (node != fleet->seaNode) reach.push_back(node);
    }
    if (first) {
      common = std::move(reach);
      first = false;
      continue;
    }
    std::erase_if(common, [&](int node) { return std::find(reach.begin(), reach.end(), node) == reach.end(); });
  }
  return common;
}

int FleetConditionPercent(int hitPoints, int maxHitPoints) {
  return hitPoints * 100 / (maxHitPoints == 0 ? 1 : maxHitPoints);
}

// --- split and merge ---

eShipOrderRefusal CheckSplitFleet(const cWorld& world, const cFleet& fleet, const ShipGroup& ships) {
  return CheckOwnShips(world, fleet, ships);
}

int SplitFleet(cWorld& world, cFleet& fleet, const ShipGroup& ships) {
  return LockedStep([&] {
    if (CheckSplitFleet(world, fleet, ships) != eShipOrderRefusal::kNone) return 0;
    MarkOnly(fleet, ships);
    auto* split = new cFleet(world, fleet);
    fleet.RemoveMarkedShips();
    split->ClearShipMarks();
    world.Units().fleets.push_back(split);
    LogLine(L"Player action: Fleet %s split off %s", split->name, fleet.name);
    const int countryId = fleet.country;
    AfterShipsLeft(world, fleet, countryId);
    return split->id;
  });
}

eShipOrderRefusal CheckMoveShips(const cWorld& world, const cFleet& fleet, const ShipGroup& ships) {
  if (const eShipOrderRefusal own = CheckOwnShips(world, fleet, ships); own != eShipOrderRefusal::kNone) return own;
  if (fleet.moved) return eShipOrderRefusal::kFleetAlreadyMoved;
  if (DestinationFleets(world, fleet).empty()) return eShipOrderRefusal::kNoDestinationFleet;
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal MoveShipsToFleet(cWorld& world, cFleet& fleet, const ShipGroup& ships, int targetFleetId) {
  return LockedStep([&] {
    const eShipOrderRefusal refusal = CheckMoveShips(world, fleet, ships);
    if (refusal != eShipOrderRefusal::kNone) return refusal;
    const std::vector<cFleet*> targets = DestinationFleets(world, fleet);
    auto target = std::find_if(targets.begin(), targets.end(), [&](const cFleet* f) { return f->id == targetFleetId; });
    if (target == targets.end()) return eShipOrderRefusal::kUnknownFleet;
    MarkOnly(fleet, ships);
    fleet.MoveMarkedShipsTo(**target);
    (*target)->ClearShipMarks();
    LogLine(L"Player action: Ships of %s moved to %s", fleet.name, (*target)->name);
    AfterShipsLeft(world, fleet, fleet.country);
    return eShipOrderRefusal::kNone;
  });
}

// --- names, formation, readiness ---

void RenameFleet(cFleet& fleet, const std::wstring& name) { fleet.name = Cut(name); }
void RenameShip(cJednostkaMorska& ship, const std::wstring& name) { ship.name = Cut(name); }

void SetFleetFormation(const std::vector<cFleet*>& fleets, int formation) {
  for (cFleet* fleet : fleets) {
    fleet->formation = formation;
    if (formation == kFormationRaiders) fleet->active = false;
  }
}

void SetFleetReadiness(const std::vector<cFleet*>& fleets, bool active) {
  for (cFleet* fleet : fleets) {
    if (fleet->formation == kFormationRegular) fleet->active = active;
  }
}

// --- repair and disband ---

eShipOrderRefusal CheckRepairShip(const cWorld& world, const ShipGroup& ships) {
  if (ships.empty()) return eShipOrderRefusal::kNoShipSelected;
  if (ships.size() > 1) return eShipOrderRefusal::kMultipleSelection;
  const cJednostkaMorska& ship = *ships.front();
  if (ship.fleet == nullptr || ship.countryId != world.turnState.CurrentCountryId()) {
    return eShipOrderRefusal::kNotOwnFleet;
  }
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(ship.fleet->seaNode);
  if (node == nullptr || node->IsSeaZone()) return eShipOrderRefusal::kNotInPort;
  if (ship.hitPoints >= ship.maxHitPoints) return eShipOrderRefusal::kFullHitPoints;
  if (!ship.canBeRepaired) return eShipOrderRefusal::kAlreadyRepaired;
  const int index = TypeIndex(ship);
  const cCountry* country = world.GetCountry(ship.countryId);
  if (country == nullptr || world.constants.navalRepairCost[static_cast<std::size_t>(index)] > country->productionPoints) {
    return eShipOrderRefusal::kNotEnoughPoints;
  }
  if (node->size < world.constants.minPortSize[static_cast<std::size_t>(index)]) return eShipOrderRefusal::kPortTooSmall;
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal RepairShip(cWorld& world, cJednostkaMorska& ship) {
  return LockedStep([&] {
    const eShipOrderRefusal refusal = CheckRepairShip(world, {&ship});
    if (refusal != eShipOrderRefusal::kNone) return refusal;
    ship.AddHitPoints(1.0f);
    ship.canBeRepaired = false;
    const double cost = world.constants.navalRepairCost[static_cast<std::size_t>(TypeIndex(ship))];
    world.GetCountry(ship.countryId)->AddProductionPoints(-cost);
    LogLine(L"Player action: Repair / %s", ship.name);
    return refusal;
  });
}

void DisbandShips(cWorld& world, const ShipGroup& ships) {
  if (ships.empty()) return;
  const int countryId = ships.front()->countryId;
  // Each kill may delete the ship's fleet; nothing of a fleet is read after
  // its ships have gone.
  for (cJednostkaMorska* ship : ships) {
    LogLine(L"Player action: Disband / %s", ship->name);
    ship->Kill(true);
  }
  LockedStep([&] { CalculateNavalVisibilityEverywhere(world, countryId, false); });
}
