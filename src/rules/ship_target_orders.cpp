// The fleet and ship orders that take their target on the map: the checks
// that enable them (asked with the target searches' counts) and the carrier's
// air strike and reconnaissance on the picked hex. The shore bombardment on
// the picked hex is the fleet's order (rules/fleet_orders.h).
#include <algorithm>

#include "app/console_log.h"
#include "rules/fleet_management.h"
#include "world/air_strikes.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

bool IsBombardingType(int type) { return type == kUnitBattleship || type == kUnitCruiser; }

bool OwnShip(const cWorld& world, const cJednostkaMorska& ship) {
  return ship.fleet != nullptr && ship.countryId == world.turnState.CurrentCountryId();
}

// The one-carrier checks of the air strike, before its targets.
eShipOrderRefusal CheckCarrierReady(const cWorld& world, const cJednostkaMorska& ship) {
  if (!OwnShip(world, ship)) return eShipOrderRefusal::kNotOwnFleet;
  if (ship.type != kUnitAircraftCarrier) return eShipOrderRefusal::kNotCarrier;
  if (ship.hitPoints < world.constants.carrierMinStrength) return eShipOrderRefusal::kHitPointsTooLow;
  if (ship.airstrikeDone) return eShipOrderRefusal::kPlanesUsed;
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal CheckCarrierRecon(const cWorld& world, const cJednostkaMorska& ship) {
  if (!OwnShip(world, ship)) return eShipOrderRefusal::kNotOwnFleet;
  if (ship.type != kUnitAircraftCarrier) return eShipOrderRefusal::kNoCarrierGiven;
  if (ship.reconDone) return eShipOrderRefusal::kAllReconDone;
  return eShipOrderRefusal::kNone;
}

}  // namespace

eShipOrderRefusal CheckUnloadOrder(cWorld& world, const ShipGroup& ships) {
  if (ships.empty()) return eShipOrderRefusal::kNoShipSelected;
  if (ships.size() > 1) return eShipOrderRefusal::kMultipleSelection;
  cJednostkaMorska& ship = *ships.front();
  if (ship.type != kUnitCargoShip && ship.type != kUnitAmphibiousShip) return eShipOrderRefusal::kNotTransport;
  if (ship.carriedUnit == nullptr) return eShipOrderRefusal::kNoCargo;
  if (ship.MarkUnloadHexes(false) == 0) {
    const sWezelGrafuMorz* node = ship.fleet ? ship.fleet->GetSeaNode(world) : nullptr;
    const bool inPort = node != nullptr && !node->IsSeaZone();
    // A cargo ship lands its unit in a port, an amphibious ship on a coast
    // of a sea zone.
    if (ship.type == kUnitCargoShip && !inPort) return eShipOrderRefusal::kMoveToPort;
    if (ship.type == kUnitAmphibiousShip && inPort) return eShipOrderRefusal::kMoveToSeaZone;
    return eShipOrderRefusal::kNoLandingHex;
  }
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal CheckCarrierStrikeOrder(cWorld& world, const ShipGroup& ships) {
  if (ships.empty()) return eShipOrderRefusal::kNoShipSelected;
  if (ships.size() > 1) return eShipOrderRefusal::kMultipleSelection;
  cJednostkaMorska& ship = *ships.front();
  if (const eShipOrderRefusal ready = CheckCarrierReady(world, ship); ready != eShipOrderRefusal::kNone) return ready;
  if (ship.fleet->MarkAttackHexTargets(world, false) == 0) return eShipOrderRefusal::kNoTargets;
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal CheckShoreBombardmentOrder(cWorld& world, const ShipGroup& ships) {
  if (ships.empty()) return eShipOrderRefusal::kNoShipSelected;
  bool any = false, ready = false;
  for (const cJednostkaMorska* ship : ships) {
    if (!IsBombardingType(ship->type)) continue;
    any = true;
    ready = ready || !ship->shoreBombardmentDone;
  }
  if (!any) return eShipOrderRefusal::kNoBombardingShip;
  if (!ready) return eShipOrderRefusal::kAllBombarded;
  cFleet* fleet = ships.front()->fleet;
  if (fleet == nullptr || fleet->MarkShoreBombardmentTargets(world, false) == 0) return eShipOrderRefusal::kNoTargets;
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal CheckReconOrder(cWorld& world, const ShipGroup& ships) {
  if (ships.empty()) return eShipOrderRefusal::kNoShipSelected;
  bool any = false, ready = false;
  for (const cJednostkaMorska* ship : ships) {
    if (ship->type != kUnitAircraftCarrier) continue;
    any = true;
    ready = ready || !ship->reconDone;
  }
  if (!any) return eShipOrderRefusal::kNoCarrierGiven;
  if (!ready) return eShipOrderRefusal::kAllReconDone;
  cFleet* fleet = ships.front()->fleet;
  if (fleet == nullptr || fleet->MarkReconHexes(world, false) == 0) return eShipOrderRefusal::kNoTargets;
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal CheckCarrierStrike(cWorld& world, cJednostkaMorska& ship, int x, int y) {
  if (const eShipOrderRefusal ready = CheckCarrierReady(world, ship); ready != eShipOrderRefusal::kNone) return ready;
  if (!ship.fleet->IsAttackHexTarget(world, x, y)) return eShipOrderRefusal::kTargetNotInRange;
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal CarrierStrike(cWorld& world, cJednostkaMorska& ship, int x, int y, sBombardmentResult& result) {
  return LockedStep([&] {
    const eShipOrderRefusal refusal = CheckCarrierStrike(world, ship, x, y);
    if (refusal != eShipOrderRefusal::kNone) return refusal;
    LogLine(L"Player action: Carrier air strike / %s on (%i, %i)", ship.name, x, y);
    ResolveHexAirBombardment(world, x, y, ship, result);
    return refusal;
  });
}

eShipOrderRefusal CheckShipRecon(cWorld& world, cJednostkaMorska& ship, int x, int y) {
  if (const eShipOrderRefusal ready = CheckCarrierRecon(world, ship); ready != eShipOrderRefusal::kNone) return ready;
  if (!ship.fleet->IsReconHex(world, x, y)) return eShipOrderRefusal::kTargetNotInRange;
  return eShipOrderRefusal::kNone;
}

eShipOrderRefusal ShipRecon(cWorld& world, cJednostkaMorska& ship, int x, int y, sBombardmentResult& result) {
  return LockedStep([&] {
    const eShipOrderRefusal refusal = CheckShipRecon(world, ship, x, y);
    if (refusal != eShipOrderRefusal::kNone) return refusal;
    LogLine(L"Player action: Naval recon / %s on (%i, %i)", ship.name, x, y);
    const sHex& hex = world.GetMap().GetHex(x, y);
    if (hex.IsWater()) {
      ship.ReconSeaZone(world, hex.seaZone, result);
    } else {
      ship.ReconHex(world, x, y, result);
      // A port's harbour is seen with it.
      if (hex.city != nullptr && hex.city->IsPort() && hex.seaNode != 0) ship.ReconSeaZone(world, hex.seaNode, result);
    }
    return refusal;
  });
}
