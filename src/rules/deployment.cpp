#include "rules/deployment.h"

#include <algorithm>

#include "app/framework_lock.h"
#include "world/hex.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/turn_state.h"
#include "world/unit.h"
#include "world/world.h"

const char* DeployRefusalKey(eDeployRefusal refusal) {
  switch (refusal) {
    case eDeployRefusal::kNone:
      return nullptr;
    case eDeployRefusal::kNotInReserve:
      return "deploy_impossible_not_in_reserve";
    case eDeployRefusal::kNotYetAvailable:
      return "deploy_impossible_not_yet_available";
    case eDeployRefusal::kNotOwnTurn:
      return "deploy_impossible_not_own_turn";
    case eDeployRefusal::kTargetOffMap:
      return "deploy_impossible_off_map";
    case eDeployRefusal::kTargetTaken:
      return "deploy_impossible_hex_occupied";
    case eDeployRefusal::kNoSupplyCity:
      return "deploy_impossible_no_supply_city";
    case eDeployRefusal::kNotAPort:
      return "deploy_impossible_not_a_port";
    case eDeployRefusal::kPortTooSmall:
      return "deploy_impossible_port_too_small";
    case eDeployRefusal::kPortNotHeld:
      return "deploy_impossible_port_not_held";
  }
  return nullptr;
}

eDeployRefusal CheckDeployFromReserve(const cWorld& world, const cJednostka& unit, int x, int y) {
  if (!unit.inReserve) return eDeployRefusal::kNotInReserve;
  if (unit.availableInTurns >= 1) return eDeployRefusal::kNotYetAvailable;
  if (unit.countryId != world.turnState.CurrentCountryId()) return eDeployRefusal::kNotOwnTurn;
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return eDeployRefusal::kTargetOffMap;
  if (map.GetHex(x, y).unit != nullptr) return eDeployRefusal::kTargetTaken;
  if (unit.FindDeploySupplyCity(world, x, y) == nullptr) return eDeployRefusal::kNoSupplyCity;
  return eDeployRefusal::kNone;
}

eDeployRefusal DeployFromReserve(cWorld& world, cJednostka& unit, int x, int y) {
  const cFrameworkLockGuard lock;
  const eDeployRefusal refusal = CheckDeployFromReserve(world, unit, x, y);
  if (refusal != eDeployRefusal::kNone) return refusal;
  unit.DeployFromReserve(world, x, y);
  // Seen or not by the country whose view the map shows, at once: the
  // counter is drawn (or hidden) from this frame on, not from the next
  // impulse's spotting.
  unit.visible = false;
  unit.UpdateSpottedBy(world, world.turnState.viewCountry);
  return eDeployRefusal::kNone;
}

eDeployRefusal CheckDeployShip(const cWorld& world, const cJednostkaMorska& ship, int seaNodeId) {
  const auto& pool = world.Units().navalReservePool;
  if (std::find(pool.begin(), pool.end(), &ship) == pool.end()) return eDeployRefusal::kNotInReserve;
  if (ship.availableInTurns >= 1) return eDeployRefusal::kNotYetAvailable;
  if (ship.countryId != world.turnState.CurrentCountryId()) return eDeployRefusal::kNotOwnTurn;
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(seaNodeId);
  if (node == nullptr) return eDeployRefusal::kNotAPort;
  switch (ship.DeployPortFit(*node)) {
    case eDeployPort::kFits: return eDeployRefusal::kNone;
    case eDeployPort::kNotAPort: return eDeployRefusal::kNotAPort;
    case eDeployPort::kTooSmall: return eDeployRefusal::kPortTooSmall;
    case eDeployPort::kNotHeld: return eDeployRefusal::kPortNotHeld;
  }
  return eDeployRefusal::kNotAPort;
}

eDeployRefusal DeployShip(cWorld& world, cJednostkaMorska& ship, int seaNodeId) {
  const cFrameworkLockGuard lock;
  const eDeployRefusal refusal = CheckDeployShip(world, ship, seaNodeId);
  if (refusal != eDeployRefusal::kNone) return refusal;
  ship.JoinFleetAtSeaNode(seaNodeId);
  return eDeployRefusal::kNone;
}
