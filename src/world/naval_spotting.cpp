// Spotting at a sea node, the shown ships, the fleet commanders and the
// raids on convoys.
#include "world/naval_spotting.h"

#include <algorithm>
#include <set>
#include <vector>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/random.h"
#include "app/settings.h"
#include "platform/format.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/report_store.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {

enum class eRelation { kOwn, kAllied, kEnemy, kNone };

eRelation RelationTo(const cWorld& world, int viewer, int countryId) {
  if (countryId == viewer) return eRelation::kOwn;
  const cCountry* country = world.GetCountry(viewer);
  if (!country || countryId < 1 || countryId > world.GetCountryCount()) return eRelation::kNone;
  if (country->IsAlliedWith(countryId)) return eRelation::kAllied;
  if (country->IsAtWarWith(countryId)) return eRelation::kEnemy;
  return eRelation::kNone;
}

struct sNodeShips {
  std::vector<cJednostkaMorska*> friendly;
  std::vector<cJednostkaMorska*> enemy;
};

// The ships at the node by their relation to the viewing country, in fleet
// and ship order; calls visit(ship, relation) for each.
template <class Visit>
void WalkNodeShips(const cWorld& world, const sWezelGrafuMorz& node, Visit&& visit, const cFleet* skip = nullptr) {
  const int viewer = world.GetSeaGraph().GetViewingCountry();
  const bool hidePort = !node.IsSeaZone() && world.GetSeaGraph().hidePortFleets;
  for (cFleet* fleet : world.Units().fleets) {
    if (fleet->seaNode != node.id || fleet == skip) continue;
    const eRelation relation = RelationTo(world, viewer, fleet->country);
    if (relation == eRelation::kNone) continue;
    if (hidePort && relation != eRelation::kOwn) continue;
    for (cJednostkaMorska* ship : fleet->ships) visit(ship, relation);
  }
}

std::size_t TypeSlot(const sWezelGrafuMorz& node, const cJednostkaMorska& ship) {
  const int index = ship.type - kFirstNavalType;
  if (index < 0 || index >= kNavalTypeCount) {
    LogLine(L"ERROR: Unknown naval unit type (%i) while calculating ships for node id=%i", ship.type, node.id);
    FatalExit(1);
    return 0;
  }
  return static_cast<std::size_t>(index);
}

void PickShown(sWezelGrafuMorz& node, std::vector<cJednostkaMorska*> friendly, std::vector<cJednostkaMorska*> enemy,
               bool own, bool enemySide) {
  auto hidden = [](const cJednostkaMorska* ship) { return !ship->visible; };
  friendly.erase(std::remove_if(friendly.begin(), friendly.end(), hidden), friendly.end());
  enemy.erase(std::remove_if(enemy.begin(), enemy.end(), hidden), enemy.end());
  if (enemySide) {
    node.enemyShip = nullptr;
    if (node.IsSeaZone() && !enemy.empty()) {
      node.enemyShip = enemy[static_cast<std::size_t>(RandomIndex(static_cast<int>(enemy.size())))];
    }
  }
  if (own) {
    node.ownShip = nullptr;
    if (!friendly.empty()) {
      node.ownShip = friendly[static_cast<std::size_t>(RandomIndex(static_cast<int>(friendly.size())))];
    }
  }
}

// The ships at the node by side: each friendly one marked visible and
// counted in the own or allied counts; each enemy one listed, and with
// spotEnemy marked visible and counted as spotted too.
sNodeShips CountNodeShips(const cWorld& world, sWezelGrafuMorz& node, bool spotEnemy) {
  sNodeShips ships;
  WalkNodeShips(world, node, [&](cJednostkaMorska* ship, eRelation relation) {
    const std::size_t slot = TypeSlot(node, *ship);
    if (relation == eRelation::kEnemy) {
      ships.enemy.push_back(ship);
      if (spotEnemy) {
        ship->visible = true;
        ++node.enemyCounts[slot];
      }
      return;
    }
    ships.friendly.push_back(ship);
    ship->visible = true;
    ++(relation == eRelation::kOwn ? node.ownCounts : node.alliedCounts)[slot];
  });
  return ships;
}

}  // namespace

int NavalSpottingChance(const cWorld& world, const sWezelGrafuMorz& node) {
  const sScenarioConstants& k = world.constants;
  int friendly = 0, enemy = 0;
  for (int i = 0; i < kNavalTypeCount; ++i) {
    friendly += node.ownCounts[i] + node.alliedCounts[i];
    enemy += node.enemyCounts[i];
  }
  const int carriers = node.ownCounts[0] + node.alliedCounts[0];
  int chance = k.navalSpotBase;
  // A step of 0 would divide by nothing; it counts as no bonus.
  if (friendly > k.navalSpotFriendly[0] && k.navalSpotFriendly[1] != 0) {
    chance += ((friendly - k.navalSpotFriendly[0]) / k.navalSpotFriendly[1]) * k.navalSpotFriendly[2];
  }
  if (enemy > k.navalSpotEnemy[0] && k.navalSpotEnemy[1] != 0) {
    chance += ((enemy - k.navalSpotEnemy[0]) / k.navalSpotEnemy[1]) * k.navalSpotEnemy[2];
  }
  chance += carriers * k.navalSpotFriendly[3];
  if (chance > 100 || g_Settings.FogOfWar == 0) return 100;
  return std::max(0, chance);
}

void CalculateNavalVisibility(cWorld& world, sWezelGrafuMorz& node, bool roll) {
  LogLine(L"Calculating naval units visibility for zone %s (ID=%i)", node.name.c_str(), node.id);
  node.ResetShipCounts(roll);
  sNodeShips ships = CountNodeShips(world, node, !roll);
  const int chance = NavalSpottingChance(world, node);
  LogLine(L"Chance of spotting enemy unit = %i", chance);
  // A port keeps which ships the viewer's counts hold: the pass starts them
  // afresh, a roll adds what it sees.
  const int viewer = world.GetSeaGraph().GetViewingCountry();
  std::vector<int> counted = roll ? node.PortSightingsOf(viewer) : std::vector<int>{};
  for (cJednostkaMorska* ship : ships.enemy) {
    if (!roll) {
      if (RandomRange(0, 100) > chance) {
        ship->visible = false;
        --node.enemyCounts[TypeSlot(node, *ship)];
      } else {
        counted.push_back(ship->id);
      }
    } else if (!ship->visible && RandomRange(0, 100) <= chance) {
      ship->visible = true;
      ++node.enemyCounts[TypeSlot(node, *ship)];
      counted.push_back(ship->id);
    }
  }
  if (!node.IsSeaZone()) node.SetPortSightings(viewer, std::move(counted));
  PickShown(node, std::move(ships.friendly), std::move(ships.enemy), true, true);
}

namespace {

// A flight's look at a port for the viewing country: the friendly side as
// the pass counts it, then one draw for each enemy ship. The port's counts
// then hold the ships this flight saw and those the viewer's earlier looks
// at the port counted, never one another country's pass flagged visible.
// Answers the ships the draws saw.
sNavalTypeCounts FlyOverNode(cWorld& world, sWezelGrafuMorz& node) {
  LogLine(L"Calculating naval units visibility for zone %s (ID=%i)", node.name.c_str(), node.id);
  node.ResetShipCounts(true);
  sNodeShips ships = CountNodeShips(world, node, false);
  const int chance = NavalSpottingChance(world, node);
  LogLine(L"Chance of spotting enemy unit = %i", chance);
  const int viewer = world.GetSeaGraph().GetViewingCountry();
  const std::vector<int>& before = node.PortSightingsOf(viewer);
  std::vector<int> counted;
  sNavalTypeCounts seen{};
  std::fill(std::begin(node.enemyCounts), std::end(node.enemyCounts), 0);
  for (cJednostkaMorska* ship : ships.enemy) {
    const bool hit = RandomRange(0, 100) <= chance;
    if (hit) {
      ship->visible = true;
      ++seen[TypeSlot(node, *ship)];
    }
    if (!hit && std::find(before.begin(), before.end(), ship->id) == before.end()) continue;
    ++node.enemyCounts[TypeSlot(node, *ship)];
    counted.push_back(ship->id);
  }
  node.SetPortSightings(viewer, std::move(counted));
  PickShown(node, std::move(ships.friendly), std::move(ships.enemy), true, true);
  return seen;
}

}  // namespace

sNavalTypeCounts ReconNodeShips(cWorld& world, sWezelGrafuMorz& node, int countryId, bool roll) {
  cSeaGraph& graph = world.GetSeaGraph();
  const bool hidden = graph.hidePortFleets;
  graph.hidePortFleets = false;
  sNavalTypeCounts seen{};
  if (roll && !node.isSea) {
    graph.SetViewingCountry(countryId);
    seen = FlyOverNode(world, node);
  } else {
    CalculateNavalVisibilityFor(world, node, countryId, roll);
    std::copy(std::begin(node.enemyCounts), std::end(node.enemyCounts), seen.begin());
  }
  graph.hidePortFleets = hidden;
  return seen;
}

void CalculateNavalVisibilityFor(cWorld& world, sWezelGrafuMorz& node, int countryId, bool roll) {
  world.GetSeaGraph().SetViewingCountry(countryId);
  CalculateNavalVisibility(world, node, roll);
}

void CalculateNavalVisibilityEverywhere(cWorld& world, int countryId, bool roll) {
  world.GetSeaGraph().SetViewingCountry(countryId);
  for (sWezelGrafuMorz& node : world.GetSeaGraph().Nodes()) CalculateNavalVisibility(world, node, roll);
}

namespace {

void PickDisplayedShipsWithout(cWorld& world, sWezelGrafuMorz& node, bool own, bool enemy, const cFleet* skip) {
  sNodeShips ships;
  WalkNodeShips(
      world, node,
      [&](cJednostkaMorska* ship, eRelation relation) {
        (relation == eRelation::kEnemy ? ships.enemy : ships.friendly).push_back(ship);
      },
      skip);
  PickShown(node, std::move(ships.friendly), std::move(ships.enemy), own, enemy);
}

}  // namespace

void PickDisplayedShips(cWorld& world, sWezelGrafuMorz& node, bool own, bool enemy) {
  PickDisplayedShipsWithout(world, node, own, enemy, nullptr);
}

void RemoveFleetFromOwnCounts(cWorld& world, sWezelGrafuMorz& node, const cFleet& fleet) {
  if (fleet.country != world.GetSeaGraph().GetViewingCountry()) return;
  for (const cJednostkaMorska* ship : fleet.ships) {
    int& count = node.ownCounts[TypeSlot(node, *ship)];
    count = std::max(0, count - 1);
  }
  // The leaving fleet no longer stands here for the pick.
  PickDisplayedShipsWithout(world, node, true, false, &fleet);
}

void PropagateFleetCommanders(cWorld& world, const sWezelGrafuMorz& node, int countryId) {
  if (countryId < 1) {
    std::set<int> countries;
    for (const cFleet* fleet : world.Units().fleets) {
      if (fleet->seaNode == node.id) countries.insert(fleet->country);
    }
    for (int id : countries) PropagateFleetCommanders(world, node, id);
    return;
  }
  int bestSkill = -1, bestId = -1;
  for (const cFleet* fleet : world.Units().fleets) {
    if (fleet->seaNode != node.id || fleet->country != countryId) continue;
    for (const cJednostkaMorska* ship : fleet->ships) {
      if (ship->ownCommander && ship->ownCommander->skill > bestSkill) {
        bestSkill = ship->ownCommander->skill;
        bestId = ship->ownCommander->id;
      }
    }
  }
  for (cFleet* fleet : world.Units().fleets) {
    if (fleet->seaNode != node.id || fleet->country != countryId) continue;
    for (cJednostkaMorska* ship : fleet->ships) {
      if (!ship->ownCommander) ship->hqCommanderId = bestId;
    }
  }
}

int GetConvoyRaidChance(const cWorld& world, const sConvoyVoyage& voyage) {
  const auto& f = world.constants.convoyRouteFactors;
  const int left = voyage.stpCarried - voyage.stpLost;
  const float factor = left <= 10 ? f[1] : (left <= 20 ? f[2] : f[3]);
  return static_cast<int>(static_cast<float>(static_cast<int>(f[0])) * factor);
}

void ResolveConvoyAttacks(cWorld& world, int ownerId, int nodeId, sConvoyVoyage& voyage, bool lastNode) {
  sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(nodeId);
  if (!node) return;
  const sScenarioConstants& k = world.constants;
  const int chance = GetConvoyRaidChance(world, voyage);
  voyage.routeText += L"\n>>> " + node->name;
  const cRelationsMatrix& relations = world.GetRelations();
  auto atWar = [&](int country) {
    const int n = relations.GetCount();
    return country >= 1 && country <= n && ownerId >= 1 && ownerId <= n && relations.IsAtWar(country, ownerId);
  };
  auto report = [&](int country, const std::wstring& who, int loss) {
    if (world.impulseCounters[0] <= 0) return;
    FileReport(world, kReportConvoyRaid, country,
               plat::Format(std::wstring(L"%s attacked convoys on %s, inflicted %d STP loss"), who.c_str(),
                            node->name.c_str(), loss));
  };
  if (node->IsSeaZone() && voyage.stpLost < voyage.stpCarried) {
    std::vector<cFleet*> enemies;
    for (cFleet* fleet : world.Units().fleets) {
      if (fleet->seaNode == nodeId && atWar(fleet->country)) enemies.push_back(fleet);
    }
    if (!enemies.empty()) {
      cFleet& fleet = *enemies[static_cast<std::size_t>(RandomIndex(static_cast<int>(enemies.size())))];
      int fleetChance = chance;
      if (!fleet.ships.empty() && fleet.ships.front()->ownCommander) {
        fleetChance += k.convoyAttackValues[1] * fleet.ships.front()->ownCommander->skill;
      }
      if (RandomRange(1, 100) <= fleetChance) {
        const int loss = std::min(fleet.RollConvoyDamage(world), voyage.stpCarried - voyage.stpLost);
        voyage.stpLost += loss;
        voyage.routeText += plat::Format(std::wstring(L"[ATTACKED by enemy FLEET (%i ships), lost %i STP] "),
                                         fleet.GetShipCount(), loss);
        report(fleet.country, fleet.name, loss);
      }
    }
    std::vector<cJednostkaMorska*> raiders;
    for (cJednostkaMorska* ship : world.Units().navalUnits) {
      if (ship->fleet && ship->fleet->seaNode == nodeId && ship->fleet->formation == kFormationRaiders &&
          atWar(ship->countryId)) {
        raiders.push_back(ship);
      }
    }
    for (cJednostkaMorska* raider : raiders) {
      if (voyage.stpLost >= voyage.stpCarried) break;
      int raiderChance = static_cast<int>(static_cast<float>(chance) * k.convoyRouteFactors[4]);
      if (raider->ownCommander) raiderChance += k.convoyAttackValues[1] * raider->ownCommander->skill;
      if (RandomRange(1, 100) > raiderChance) continue;
      const int loss = std::min(raider->RollConvoyDamage(world), voyage.stpCarried - voyage.stpLost);
      voyage.stpLost += loss;
      voyage.routeText += plat::Format(std::wstring(L"[ATTACKED by enemy RAIDER, lost %i STP] "), loss);
      report(raider->countryId, raider->name, loss);
    }
  }
  if (lastNode) voyage.routeText += L"\n";
}
