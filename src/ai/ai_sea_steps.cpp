#include "ai/ai_sea_steps.h"

#include <algorithm>

#include "ai/ai_combat_display.h"
#include "ai/ai_fronts.h"
#include "app/console_log.h"
#include "app/settings.h"
#include "rules/fleet_orders.h"
#include "rules/land_move_orders.h"
#include "rules/rule_helpers.h"
#include "rules/worker_messages.h"
#include "world/cities.h"
#include "world/city_graph.h"
#include "world/combat_result.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/topography.h"
#include "world/turn_state.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace ai {

cFleet* FindFleetById(cWorld& world, int fleetId) {
  for (cFleet* fleet : world.Units().fleets) {
    if (fleet->id == fleetId) return fleet;
  }
  return nullptr;
}

std::vector<int> OwnFleetIds(cWorld& world, int countryId) {
  std::vector<int> ids;
  for (const cFleet* fleet : world.Units().fleets) {
    if (fleet->country == countryId) ids.push_back(fleet->id);
  }
  return ids;
}

bool IsShipInWorld(const cWorld& world, const cJednostkaMorska* ship) {
  const auto& ships = world.Units().navalUnits;
  return std::find(ships.begin(), ships.end(), ship) != ships.end();
}

int SailFleet(cWorld& world, cFleet& fleet, int nodeId) {
  const eFleetOrderRefusal refusal = MoveFleetToward(world, fleet, nodeId);
  if (refusal != eFleetOrderRefusal::kNone) {
    LogLine(L"WARNING: fleet %s (at node %i) does not sail toward sea node %i: %hs", fleet.name.c_str(),
            fleet.seaNode, nodeId, FleetOrderRefusalKey(refusal));
  }
  return fleet.seaNode;
}

void SetFleetOrder(cWorld&, cFleet& fleet, int order, int destination) {
  LockedStep([&] {
    fleet.aiOrder = order;
    fleet.aiDestinationNode = destination;
  });
}

cCity* NearestPortOverCityGraph(cWorld& world, const cJednostkaLadowa& unit, const std::vector<cCity*>& ports,
                                const std::function<bool(const cCity&)>& usable) {
  const cCity* area = world.GetTopography().NearestCity(unit.x, unit.y);
  if (area == nullptr) return nullptr;
  cCity* best = nullptr;
  std::size_t bestHops = 0;
  std::vector<cCity*> route;
  for (cCity* port : ports) {
    if (usable && !usable(*port)) continue;
    std::size_t hops = 0;
    if (port != area) {
      if (!world.GetCityGraph().FindPath(world, area, port, unit.countryId, route)) continue;
      hops = route.size();
    }
    if (best == nullptr || hops < bestHops) {
      best = port;
      bestHops = hops;
    }
  }
  return best;
}

void SetUnitOrder(cJednostkaLadowa& unit, int order, int targetX, int targetY, int ultimateX, int ultimateY) {
  LockedStep([&] {
    unit.aiOrder = order;
    unit.aiTargetX = targetX;
    unit.aiTargetY = targetY;
    unit.aiUltimateTargetX = ultimateX;
    unit.aiUltimateTargetY = ultimateY;
  });
}

void MoveTowardPort(cWorld& world, cCountry& country, cJednostkaLadowa& unit, int nextOrder) {
  const int tx = unit.aiTargetX, ty = unit.aiTargetY;
  const int ux = unit.aiUltimateTargetX, uy = unit.aiUltimateTargetY;
  if (unit.x == tx && unit.y == ty) {
    SetUnitOrder(unit, nextOrder, tx, ty, ux, uy);
    return;
  }
  const int before = unit.actionPoints;
  const bool hasUltimate = world.GetMap().IsInside(ux, uy);
  bool moved = hasUltimate && TryStrategicMoveToCity(world, country, unit, ux, uy, 1);
  if (!moved && hasUltimate && IsUnitInWorldLists(world, &unit)) moved = AiAdvanceToUltimateTarget(world, unit);
  if (!moved && (tx != ux || ty != uy) && IsUnitInWorldLists(world, &unit)) {
    moved = TryStrategicMoveToCity(world, country, unit, tx, ty, 1);
  }
  if (!moved && IsUnitInWorldLists(world, &unit) && world.GetMap().IsInside(tx, ty)) {
    unit.ComputeMoveRangeOnly(true);
    AiMoveToHex(world, unit, tx, ty);
  }
  if (!IsUnitInWorldLists(world, &unit)) return;
  if ((unit.x == tx && unit.y == ty) || (before > 0 && unit.actionPoints == before)) {
    SetUnitOrder(unit, nextOrder, tx, ty, ux, uy);
  }
}

bool IsActionShown(const cWorld& world, const cJednostkaLadowa& unit) {
  return unit.visible && world.turnState.showActions;
}

void ReportAction(const std::wstring& text, bool shown) {
  if (shown) {
    ShowStatusText(text);
  }
  LogLine(text);
}

void ShowMoveBefore(cWorld& world, int x, int y) {
  FollowHexInView(x, y);
  StoppableDelay(world, DelayMs(kDelayAIMoveBefore), __FILE__, __LINE__);
}

void ShowMoveAfter(cWorld& world) { StoppableDelay(world, DelayMs(kDelayAIMoveAfter), __FILE__, __LINE__); }

void ShowStrikeResult(cWorld& world, int x, int y, const sBombardmentResult& result) {
  if (!world.GetMap().IsInside(x, y)) return;
  ShowCombatTarget(world, x, y);
  StoppableDelay(world, DelayMs(kDelayAICombatAfter), __FILE__, __LINE__);
  ShowComputerCombatResultAndWait(world, result);
  ClearCombatTarget(world, x, y);
}

}  // namespace ai
