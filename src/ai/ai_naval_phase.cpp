// The computer's naval phase: carrier strikes, the transport fleets sailed
// and unloaded at their destination (or at the nearest own port when theirs
// was lost), the invasion fleets sailed with their escorts, the landings
// when the invasion node is safe, then carrier strikes and patrols again.
#include <string>
#include <vector>

#include "ai/ai_naval.h"
#include "ai/ai_sea_steps.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "rules/sea_transport.h"
#include "world/ai_orders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {

int UnloadTransportFleet(cWorld& world, cFleet& fleet) {
  const int fleetId = fleet.id;
  std::vector<cJednostkaMorska*> ships(fleet.ships.begin(), fleet.ships.end());
  int unloaded = 0;
  // One look at each ship: a ship that cannot put its unit ashore (no free
  // friendly hex at the node) stays aboard and is not tried again.
  for (cJednostkaMorska* ship : ships) {
    if (WorkerStopping(world)) break;
    const bool done = LockedStep([&] {
      if (FindFleetById(world, fleetId) == nullptr || !IsShipInWorld(world, ship)) return false;
      if (ship->type != kUnitCargoShip || ship->carriedUnit == nullptr) return false;
      // The ship is gone once its unit is ashore.
      const std::wstring shipName = ship->name;
      const std::wstring unitName = ship->carriedUnit->name;
      sLandingOutcome outcome;
      const eTransportRefusal refusal = UnloadToCoast(world, *ship, outcome);
      if (refusal != eTransportRefusal::kNone) {
        LogLine(L"Transport %s keeps %s aboard (%hs)", shipName.c_str(), unitName.c_str(),
                TransportRefusalKey(refusal));
        return false;
      }
      if (outcome.landed) LogLine(L"Transport %s unloaded %s", shipName.c_str(), unitName.c_str());
      return outcome.landed;
    });
    if (done) ++unloaded;
  }
  return unloaded;
}

namespace {

// A transport bound for a port its side no longer holds (taken while the
// transport was on its way) can never sail in: it makes for the nearest port
// of its side that it has a route to (fewest links; the first in node order
// of equals), and unloads there. Returns whether the destination changed.
bool RedirectFromLostPort(cWorld& world, const cCountry& country, cFleet& fleet) {
  return LockedStep([&] {
    cSeaGraph& sea = world.GetSeaGraph();
    const cMap& map = world.GetMap();
    const auto heldBySide = [&](const sWezelGrafuMorz& node) {
      return !node.IsSeaZone() && map.IsInside(node.x, node.y) &&
             IsControllerFriendlyTo(map.GetHex(node.x, node.y).controller, country);
    };
    const sWezelGrafuMorz* destination = sea.GetNode(fleet.aiDestinationNode);
    if (destination == nullptr || destination->IsSeaZone() || heldBySide(*destination)) return false;
    int best = -1;
    std::size_t bestLength = 0;
    std::vector<int> path;
    for (const sWezelGrafuMorz& node : sea.Nodes()) {
      if (!heldBySide(node)) continue;
      const bool here = node.id == fleet.seaNode;
      if (!here && !sea.FindPath(world, fleet.seaNode, node.id, country.id, true, path)) continue;
      const std::size_t length = here ? 0 : path.size();
      if (best < 0 || length < bestLength) {
        best = node.id;
        bestLength = length;
      }
    }
    if (best < 0) return false;
    LogLine(L"[AI] %s: %s's port %s is lost; it makes for %s", country.name.c_str(), fleet.name.c_str(),
            destination->name.c_str(), sea.GetNode(best)->name.c_str());
    fleet.aiDestinationNode = best;
    return true;
  });
}

}  // namespace

void PlayNavalPhase(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  // A strike may kill the unit it hits: the lists drop it at once.
  if (CarrierStrikes(world, country) > 0) DropDeadUnits(world, lists);
  if (WorkerStopping(world)) return;

  // An escort order lasts one naval phase.
  LockedStep([&] {
    for (cFleet* fleet : CollectOwnFleets(world, country.id)) {
      if (fleet->aiOrder == kAiFleetEscort) fleet->aiOrder = kAiFleetIdle;
    }
  });

  int invasionNode = -1;
  int invasionFleets = 0;
  for (int id : OwnFleetIds(world, country.id)) {
    if (WorkerStopping(world)) return;
    cFleet* fleet = FindFleetById(world, id);
    if (fleet == nullptr) continue;
    if (fleet->aiOrder == kAiFleetTransport) RedirectFromLostPort(world, country, *fleet);
    const int destination = fleet->aiDestinationNode;
    if (fleet->aiOrder == kAiFleetTransport) {
      if (destination > 0 && destination != fleet->seaNode) SailFleet(world, *fleet, destination);
      if (destination > 0 && fleet->seaNode == destination) UnloadTransportFleet(world, *fleet);
    } else if (fleet->aiOrder == kAiFleetInvasion) {
      ++invasionFleets;
      if (destination != fleet->seaNode) SailFleet(world, *fleet, destination);
      invasionNode = destination;
    }
  }

  if (invasionNode > 0 && invasionFleets > 0) {
    for (int id : OwnFleetIds(world, country.id)) {
      if (WorkerStopping(world)) return;
      cFleet* fleet = FindFleetById(world, id);
      if (fleet == nullptr) continue;
      const int order = fleet->aiOrder;
      if (order == kAiFleetMoved || order == kAiFleetInvasion || order == kAiFleetTransport) continue;
      std::vector<int> path;
      const bool reachable = LockedStep([&] {
        return fleet->seaNode == invasionNode ||
               world.GetSeaGraph().FindPath(world, fleet->seaNode, invasionNode, country.id, true, path);
      });
      if (!reachable) continue;
      LogLine(L"[AI] %s: fleet %s escorts the invasion to sea node %i", country.name.c_str(), fleet->name.c_str(),
              invasionNode);
      SetFleetOrder(world, *fleet, kAiFleetEscort, invasionNode);
      SailFleet(world, *fleet, invasionNode);
    }
    if (IsSeaNodeSafe(world, country, invasionNode)) {
      ExecuteAmphibiousInvasions(world, country, lists);
      DropDeadUnits(world, lists);
      LockedStep([&] {
        for (cFleet* fleet : CollectOwnFleets(world, country.id)) {
          if (fleet->aiOrder == kAiFleetEscort) fleet->aiOrder = kAiFleetIdle;
        }
      });
    } else {
      LogLine(L"[AI] %s: sea node %i is not safe for the landings", country.name.c_str(), invasionNode);
    }
  }
  if (WorkerStopping(world)) return;
  if (CarrierStrikes(world, country) > 0) DropDeadUnits(world, lists);
  if (WorkerStopping(world)) return;
  DistributePatrols(world, country);
}

}  // namespace ai
