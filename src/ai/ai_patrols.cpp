// The patrols of the computer's fleets: the ships of its idle fleets shared
// out over the sea zones its data lists, by hit points, each zone's ships
// split off into a fleet of their own and sent there.
#include <map>
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
    int total = 0;
    for (cFleet* fleet : idle) total += fleet->SumHpAndClearZoneAssignments();
    const int share = total / static_cast<int>(zones.size());
    std::size_t current = 0;
    int sum = 0;
    for (cFleet* fleet : idle) {
      for (cJednostkaMorska* ship : fleet->ships) {
        ship->seaZoneAssignment = zones[current];
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
