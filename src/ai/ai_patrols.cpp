// The patrols of the computer's fleets: the ships of its idle fleets shared
// out over the sea zones its data lists, by hit points, each zone's ships
// split off into a fleet of their own and sent there. A fleet is sent only
// to a zone it has a route to (a fleet of the Black Sea is not sent to the
// Baltic).
#include <map>
#include <utility>
#include <vector>

#include "ai/ai_naval.h"
#include "ai/ai_sea_steps.h"
#include "app/console_log.h"
#include "world/ai_orders.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

// Splits ships off the fleet until every fleet holds the ships of one zone;
// the new fleets join the world's list and out. Each split takes at least
// the one ship that differs, so it ends.
void SplitByZone(cWorld& world, cFleet& fleet, std::vector<cFleet*>& out) {
  int zone = -1;
  while (!fleet.ShipsShareSeaZone(zone)) {
    fleet.ClearShipMarks();
    fleet.MarkShipsWithZone(zone);
    auto* split = new cFleet(world, fleet);
    fleet.RemoveMarkedShips();
    split->ClearShipMarks();
    world.Units().fleets.push_back(split);
    out.push_back(split);
  }
}

}  // namespace

void DistributePatrols(cWorld& world, cCountry& country) {
  LockedStep([&] {
    for (cFleet* fleet : CollectOwnFleets(world, country.id)) {
      if (fleet->aiOrder == kAiFleetPatrol) fleet->aiOrder = kAiFleetIdle;
    }
  });
  const cPatrolZones& listed = country.aiData.seaZonesToPatrol;
  if (listed.empty()) return;
  std::vector<int> zones;
  for (const auto& [zone, value] : listed) zones.push_back(zone);

  // The sharing out and the splits are one step: the main thread never sees
  // a fleet half split.
  std::vector<int> patrols;
  LockedStep([&] {
    std::vector<cFleet*> idle;
    for (cFleet* fleet : CollectOwnFleets(world, country.id)) {
      if (fleet->aiOrder == kAiFleetIdle) idle.push_back(fleet);
    }
    // A zone a fleet has no route to (another sea's) is not given to its
    // ships: they take the first listed zone they reach; a fleet that
    // reaches none stays idle where it is.
    std::map<std::pair<int, int>, bool> routes;
    auto reaches = [&](const cFleet& fleet, int zone) {
      const auto key = std::make_pair(fleet.seaNode, zone);
      const auto found = routes.find(key);
      if (found != routes.end()) return found->second;
      std::vector<int> path;
      const bool route =
          fleet.seaNode == zone || world.GetSeaGraph().FindPath(world, fleet.seaNode, zone, country.id, true, path);
      routes.emplace(key, route);
      return route;
    };
    auto reachesAny = [&](const cFleet& fleet) {
      for (int zone : zones) {
        if (reaches(fleet, zone)) return true;
      }
      return false;
    };
    int total = 0;
    for (cFleet* fleet : idle) {
      const int hitPoints = fleet->SumHpAndClearZoneAssignments();
      if (fleet->ships.empty() || reachesAny(*fleet)) total += hitPoints;
    }
    std::erase_if(idle, [&](const cFleet* fleet) { return !fleet->ships.empty() && !reachesAny(*fleet); });
    const int share = total / static_cast<int>(zones.size());
    std::size_t current = 0;
    int sum = 0;
    for (cFleet* fleet : idle) {
      for (cJednostkaMorska* ship : fleet->ships) {
        int zone = zones[current];
        if (!reaches(*fleet, zone)) {
          for (int other : zones) {
            if (reaches(*fleet, other)) {
              zone = other;
              break;
            }
          }
        }
        ship->seaZoneAssignment = zone;
        sum += ship->hitPoints;
        if (sum > share && current + 1 < zones.size()) {
          sum = 0;
          ++current;
        }
      }
    }
    std::vector<cFleet*> all = idle;
    for (cFleet* fleet : idle) SplitByZone(world, *fleet, all);
    for (cFleet* fleet : all) {
      if (fleet->ships.empty()) {
        fleet->Delete(world);
        continue;
      }
      patrols.push_back(fleet->id);
    }
  });

  for (int id : patrols) {
    if (WorkerStopping(world)) return;
    cFleet* fleet = FindFleetById(world, id);
    if (fleet == nullptr || fleet->ships.empty()) continue;
    const int zone = fleet->ships.front()->seaZoneAssignment;
    LogLine(L"[AI] %s: fleet %s patrols sea zone %i", country.name.c_str(), fleet->name.c_str(), zone);
    SetFleetOrder(world, *fleet, kAiFleetPatrol, zone);
    SailFleet(world, *fleet, zone);
  }
}

}  // namespace ai
