#include "world/fleet.h"

#include <algorithm>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/jednostka_morska.h"
#include "world/naval_spotting.h"
#include "world/world.h"

std::wstring MakeFleetName(int fleetId) {
  const wchar_t* format = g_StringBase.GetText("fleet_#%i");
  return plat::Format(format ? std::wstring(format) : std::wstring(L"Fleet #%i"), fleetId);
}

cFleet::cFleet(cWorld& world, const cFleet& source)
    : country(source.country),
      id(world.ids.Take(world, eIdKind::kFleet)),
      seaNode(source.seaNode),
      formation(source.formation),
      moved(source.moved),
      aiOrder(source.aiOrder),
      aiDestinationNode(source.aiDestinationNode),
      aiInvasionX(source.aiInvasionX),
      aiInvasionY(source.aiInvasionY),
      active(source.active) {
  name = MakeFleetName(id);
  for (cJednostkaMorska* ship : source.ships) {
    if (!ship->marked) continue;
    ships.push_back(ship);
    ship->fleet = this;
    ship->fleetId = id;
  }
}

void cFleet::Delete(cWorld& world) {
  if (cFleetWatcher* watcher = world.FleetWatcher()) watcher->RemoveFleet(this);
  world.Units().fleets.remove(this);
  delete this;
}

sWezelGrafuMorz* cFleet::GetSeaNode(cWorld& world) const { return world.GetSeaGraph().GetNode(seaNode); }

// --- sums ---

int cFleet::RollConvoyDamage(const cWorld& world) const {
  int sum = 0;
  for (const cJednostkaMorska* ship : ships) sum += ship->RollConvoyDamage(world);
  return sum;
}

float cFleet::GetCombatValue(const cWorld& world) const {
  float sum = 0.0f;
  for (const cJednostkaMorska* ship : ships) sum += ship->GetCombatValue(world);
  return sum;
}

int cFleet::GetTotalMaxHp() const {
  int sum = 0;
  for (const cJednostkaMorska* ship : ships) sum += ship->maxHitPoints;
  return sum;
}

int cFleet::SumHpAndClearZoneAssignments() {
  int sum = 0;
  for (cJednostkaMorska* ship : ships) {
    sum += ship->hitPoints;
    ship->seaZoneAssignment = -1;
  }
  return sum;
}

bool cFleet::ShipsShareSeaZone(int& zone) const {
  zone = -1;
  if (ships.empty()) return true;
  const int reference = ships.front()->seaZoneAssignment;
  if (reference == -1) LogLine(L"ERROR: Unexpected assignment of ship to seazone (-1)");
  for (const cJednostkaMorska* ship : ships) {
    if (ship->seaZoneAssignment != reference) {
      zone = ship->seaZoneAssignment;
      return false;
    }
  }
  return true;
}

void cFleet::ClearShipMarks() {
  for (cJednostkaMorska* ship : ships) ship->marked = false;
}

void cFleet::MarkShipsWithZone(int zone) {
  for (cJednostkaMorska* ship : ships) {
    if (ship->seaZoneAssignment == zone) ship->marked = true;
  }
}

void cFleet::RemoveMarkedShips() {
  ships.remove_if([](const cJednostkaMorska* ship) { return ship->marked; });
}

void cFleet::MoveMarkedShipsTo(cFleet& other) {
  for (cJednostkaMorska* ship : ships) {
    if (!ship->marked) continue;
    other.ships.push_back(ship);
    ship->fleet = &other;
    ship->fleetId = other.id;
  }
  RemoveMarkedShips();
}

// --- reach ---

namespace {

// The country or one of its allies holds the hex; a hex nobody holds is
// nobody's friend.
bool FriendlyHeld(const cWorld& world, const cCountry* country, int countryId, int x, int y) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return false;
  const int controller = map.GetHex(x, y).controller;
  if (controller == 0) return false;
  if (controller == countryId) return true;
  return country && controller <= world.GetCountryCount() && country->IsAlliedWith(controller);
}

}  // namespace

void cFleet::ComputeReachableNodes(const cWorld& world) {
  const sScenarioConstants& k = world.constants;
  const cSeaGraph& graph = world.GetSeaGraph();
  const cCountry* own = world.GetCountry(country);
  int required = 0;
  for (const cJednostkaMorska* ship : ships) {
    const int index = ship->type - kUnitAircraftCarrier;
    if (index >= 0 && index < 6) required = std::max(required, k.navalReachValue[static_cast<std::size_t>(index)]);
  }
  reachableNodes.clear();
  const sWezelGrafuMorz* start = graph.GetNode(seaNode);
  if (!start) return;
  const bool startsInPort = !start->IsSeaZone();
  // The depths live here, not in the shared nodes: the main thread may be
  // drawing the graph while a fleet's reach is worked out.
  std::vector<int> depth(static_cast<std::size_t>(graph.GetNodeCount()), 0);
  std::vector<int> order{seaNode};
  for (std::size_t head = 0; head < order.size(); ++head) {
    const int current = order[head];
    const int currentDepth = depth[static_cast<std::size_t>(current - 1)];
    if (currentDepth >= k.fleetReachSteps) continue;
    const sWezelGrafuMorz* node = graph.GetNode(current);
    for (const sSeaLink& link : node->links) {
      const sWezelGrafuMorz* next = graph.GetNode(link.node);
      if (!next || link.node == seaNode || depth[static_cast<std::size_t>(link.node - 1)] != 0) continue;
      if (!next->IsSeaZone()) {
        if (next->size < required || !FriendlyHeld(world, own, country, next->x, next->y)) continue;
        if (startsInPort && currentDepth != 1) continue;
      }
      if (link.straitX != -1 && !FriendlyHeld(world, own, country, link.straitX, link.straitY)) continue;
      depth[static_cast<std::size_t>(link.node - 1)] = currentDepth + 1;
      order.push_back(link.node);
    }
  }
  reachableNodes.assign(order.begin(), order.end());
}

bool cFleet::CanReach(const cWorld& world, int nodeId) {
  ComputeReachableNodes(world);
  return std::find(reachableNodes.begin(), reachableNodes.end(), nodeId) != reachableNodes.end();
}

// --- movement ---

void cFleet::StandAt(cWorld& world, int nodeId) {
  cSeaGraph& graph = world.GetSeaGraph();
  if (sWezelGrafuMorz* old = graph.GetNode(seaNode); old && country == graph.GetViewingCountry()) {
    RemoveFleetFromOwnCounts(world, *old, *this);
  }
  seaNode = nodeId;
}

int cFleet::StepToward(const cWorld& world, int targetNodeId, bool* routed) {
  if (routed) *routed = true;
  if (targetNodeId == seaNode) return seaNode;
  std::vector<int> path;
  // The route search keeps working storage in the graph; the graph's nodes
  // and links are left as they were.
  if (!const_cast<cWorld&>(world).GetSeaGraph().FindPath(world, seaNode, targetNodeId, country, true, path)) {
    if (routed) *routed = false;
    return -1;
  }
  ComputeReachableNodes(world);
  auto reachable = [this](int node) {
    return std::find(reachableNodes.begin(), reachableNodes.end(), node) != reachableNodes.end();
  };
  if (reachable(targetNodeId)) return targetNodeId;
  // The path runs from the target back to the start: the first reachable
  // node met from the target's end is the farthest one the fleet gets to.
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    if (reachable(path[i])) return path[i];
  }
  return -1;
}

int cFleet::MoveTo(cWorld& world, int targetNodeId) {
  ExpectFrameworkLockHeld(__FILE__, __LINE__);
  if (moved) {
    LogLine(L"WARNING: Fleet %s wanted to go: node %i -> %i, but it already moved this turn.", name.c_str(), seaNode,
            targetNodeId);
    return seaNode;
  }
  if (targetNodeId == seaNode) {
    moved = true;
    return seaNode;
  }
  bool routed = false;
  const int destination = StepToward(world, targetNodeId, &routed);
  if (!routed) {
    LogLine(L"WARNING: fleet %s (at node %i) wants to go to node %i but there's no path", name.c_str(), seaNode,
            targetNodeId);
    return seaNode;
  }
  if (destination == -1) {
    LogLine(L"WARNING: Fleet %s wanted to go: node %i -> %i, but theres no path!", name.c_str(), seaNode,
            targetNodeId);
    return seaNode;
  }
  if (destination == targetNodeId) {
    LogLine(L"Fleet %s going: node %i -> %i, movement finished.", name.c_str(), seaNode, targetNodeId);
  } else {
    LogLine(L"Fleet %s going: node %i -> %i, final destination = %i.", name.c_str(), seaNode, destination,
            targetNodeId);
  }
  StandAt(world, destination);
  moved = true;
  if (sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(destination)) CalculateNavalVisibility(world, *node, true);
  return seaNode;
}

bool cFleet::LeaveEnemyPort(cWorld& world) {
  const int zone = world.GetSeaGraph().GetAdjacentSeaZoneId(seaNode);
  if (zone < 1) return false;
  StandAt(world, zone);
  const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(zone);
  LogLine(L"%s left port which became enemy controlled and moved to %s", name.c_str(),
          node ? node->name.c_str() : L"");
  return true;
}
