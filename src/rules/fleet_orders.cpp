#include "rules/fleet_orders.h"

#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/worker_steps.h"
#include "world/world.h"

const char* FleetOrderRefusalKey(eFleetOrderRefusal refusal) {
  switch (refusal) {
    case eFleetOrderRefusal::kNone: return nullptr;
    case eFleetOrderRefusal::kNotOwnFleet: return "fleet_order_not_own_fleet";
    case eFleetOrderRefusal::kAlreadyMoved: return "fleet_order_already_moved";
    case eFleetOrderRefusal::kUnknownNode: return "fleet_order_unknown_node";
    case eFleetOrderRefusal::kNotReachable: return "fleet_order_not_reachable";
    case eFleetOrderRefusal::kNoFiringShips: return "fleet_order_no_firing_ships";
    case eFleetOrderRefusal::kTargetOffMap: return "fleet_order_target_off_map";
    case eFleetOrderRefusal::kNoTarget: return "fleet_order_no_target";
  }
  return nullptr;
}

namespace {

bool OwnFleet(const cWorld& world, const cFleet& fleet) {
  return world.turnState.CurrentCountryId() == fleet.country;
}

}  // namespace

eFleetOrderRefusal CheckFleetMove(const cWorld& world, cFleet& fleet, int nodeId) {
  if (!OwnFleet(world, fleet)) return eFleetOrderRefusal::kNotOwnFleet;
  if (fleet.moved) return eFleetOrderRefusal::kAlreadyMoved;
  if (!world.GetSeaGraph().GetNode(nodeId)) return eFleetOrderRefusal::kUnknownNode;
  if (!fleet.CanReach(world, nodeId)) return eFleetOrderRefusal::kNotReachable;
  return eFleetOrderRefusal::kNone;
}

eFleetOrderRefusal MoveFleet(cWorld& world, cFleet& fleet, int nodeId) {
  return LockedStep([&] {
    const eFleetOrderRefusal refusal = CheckFleetMove(world, fleet, nodeId);
    if (refusal == eFleetOrderRefusal::kNone) fleet.MoveTo(world, nodeId);
    return refusal;
  });
}

eFleetOrderRefusal CheckFleetMoveToward(const cWorld& world, cFleet& fleet, int nodeId, int* stepNode) {
  if (!OwnFleet(world, fleet)) return eFleetOrderRefusal::kNotOwnFleet;
  if (fleet.moved) return eFleetOrderRefusal::kAlreadyMoved;
  if (!world.GetSeaGraph().GetNode(nodeId)) return eFleetOrderRefusal::kUnknownNode;
  const int step = fleet.StepToward(world, nodeId);
  if (step < 0) return eFleetOrderRefusal::kNotReachable;
  const eFleetOrderRefusal refusal = CheckFleetMove(world, fleet, step);
  if (refusal == eFleetOrderRefusal::kNone && stepNode) *stepNode = step;
  return refusal;
}

eFleetOrderRefusal MoveFleetToward(cWorld& world, cFleet& fleet, int nodeId) {
  return LockedStep([&] {
    const eFleetOrderRefusal refusal = CheckFleetMoveToward(world, fleet, nodeId);
    // The move toward the node ends at the step just checked.
    if (refusal == eFleetOrderRefusal::kNone) fleet.MoveTo(world, nodeId);
    return refusal;
  });
}

eFleetOrderRefusal CheckShoreBombardment(const cWorld& world, const cFleet& fleet, int x, int y) {
  if (!OwnFleet(world, fleet)) return eFleetOrderRefusal::kNotOwnFleet;
  bool firing = false;
  for (const cJednostkaMorska* ship : fleet.ships) {
    firing = firing || ((ship->type == kUnitBattleship || ship->type == kUnitCruiser) && !ship->shoreBombardmentDone);
  }
  if (!firing) return eFleetOrderRefusal::kNoFiringShips;
  if (!world.GetMap().IsInside(x, y)) return eFleetOrderRefusal::kTargetOffMap;
  // The hexes the fleets dialog marks for the order, and no others.
  if (!fleet.IsShoreBombardmentTarget(world, x, y)) return eFleetOrderRefusal::kNoTarget;
  return eFleetOrderRefusal::kNone;
}

eFleetOrderRefusal ShoreBombard(cWorld& world, cFleet& fleet, int x, int y, sBombardmentResult& result) {
  return LockedStep([&] {
    const eFleetOrderRefusal refusal = CheckShoreBombardment(world, fleet, x, y);
    if (refusal != eFleetOrderRefusal::kNone) return refusal;
    // Every battleship and cruiser that has not fired takes part.
    fleet.ShoreBombardHex(world, x, y, result, true);
    return refusal;
  });
}
