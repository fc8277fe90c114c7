// The computer's carrier strikes: each carrier that may fly strikes the
// best target of the first kind, in the country's order of priorities, that
// has one the carrier's strike rule accepts.
#include <algorithm>
#include <numeric>

#include "ai/ai_helpers.h"
#include "ai/ai_naval.h"
#include "ai/ai_sea_steps.h"
#include "app/console_log.h"
#include "rules/fleet_management.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/jednostka_morska.h"
#include "world/naval_spotting.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

bool IsVisibleEnemy(const cCountry& country, const cJednostka* unit) {
  return unit != nullptr && unit->visible && AtWar(country, unit->countryId);
}

// A hex of the node to strike: a port's city hex, or the sea zone's main
// hex when it lies in the zone, else the zone's first water hex.
bool NodeHex(const cWorld& world, const sWezelGrafuMorz& node, int& x, int& y) {
  const cMap& map = world.GetMap();
  if (!node.IsSeaZone() || (map.IsInside(node.x, node.y) && map.GetHex(node.x, node.y).IsWater() &&
                            map.GetHex(node.x, node.y).seaZone == node.id)) {
    x = node.x;
    y = node.y;
    return map.IsInside(x, y);
  }
  for (const sHex& hex : map.Hexes()) {
    if (hex.IsWater() && hex.seaZone == node.id) {
      x = hex.x;
      y = hex.y;
      return true;
    }
  }
  return false;
}

// The enemy ships the country sees at the node, counted afresh.
int SpottedShips(cWorld& world, const cCountry& country, sWezelGrafuMorz& node) {
  CalculateNavalVisibilityFor(world, node, country.id, false);
  return node.GetSpottedEnemyShipCount();
}

void AddNodeTarget(const cWorld& world, const sWezelGrafuMorz& node, int ships, std::vector<sCarrierTarget>& out) {
  sCarrierTarget target;
  if (!NodeHex(world, node, target.x, target.y)) return;
  target.seaNode = node.id;
  target.value = static_cast<float>(ships);
  out.push_back(target);
}

// The coastal hexes of the carrier's zone that hold a unit of the kind.
void AddCoastTargets(const cWorld& world, const cCountry& country, int zone, int kind,
                     std::vector<sCarrierTarget>& out) {
  const bool air = kind == kCarrierCityAir || kind == kCarrierOpenAir;
  const bool city = kind == kCarrierCityAir || kind == kCarrierCityLand;
  for (const sHex& hex : world.GetMap().Hexes()) {
    if (!hex.IsLand() || !hex.coastal || hex.seaZone != zone || hex.unit == nullptr) continue;
    if ((hex.unit->category == kCategoryAir) != air) continue;
    if (city) {
      if (hex.city == nullptr || !AtWar(country, hex.controller)) continue;
    } else if (hex.city != nullptr || !IsVisibleEnemy(country, hex.unit)) {
      continue;
    }
    sCarrierTarget target;
    target.x = hex.x;
    target.y = hex.y;
    target.value = hex.unit->GetCombatStrength();
    out.push_back(target);
  }
}

}  // namespace

std::vector<int> CarrierTargetOrder(const cCountry& country) {
  std::vector<int> kinds(kCarrierTargetKinds);
  std::iota(kinds.begin(), kinds.end(), 0);
  const auto& priorities = country.aiData.carrierTargetsPriorities;
  std::stable_sort(kinds.begin(), kinds.end(), [&](int a, int b) {
    return priorities[static_cast<std::size_t>(a)] > priorities[static_cast<std::size_t>(b)];
  });
  return kinds;
}

std::vector<sCarrierTarget> FindCarrierTargets(cWorld& world, const cCountry& country, cJednostkaMorska& carrier,
                                               int kind) {
  std::vector<sCarrierTarget> found;
  if (carrier.fleet == nullptr) return found;
  cSeaGraph& graph = world.GetSeaGraph();
  sWezelGrafuMorz* own = graph.GetNode(carrier.fleet->seaNode);
  if (own == nullptr) return found;
  const cMap& map = world.GetMap();
  std::vector<int> linked;
  for (const sSeaLink& link : own->links) linked.push_back(link.node);
  switch (kind) {
    case kCarrierPortShipsAndUnit:
    case kCarrierPortShips:
    case kCarrierPortUnit:
      for (int id : linked) {
        sWezelGrafuMorz* node = graph.GetNode(id);
        if (node == nullptr || node->IsSeaZone() || !map.IsInside(node->x, node->y)) continue;
        const int ships = SpottedShips(world, country, *node);
        cJednostka* unit = map.GetHex(node->x, node->y).unit;
        const bool enemyUnit = IsVisibleEnemy(country, unit);
        const bool fits = (kind == kCarrierPortShipsAndUnit && ships > 0 && enemyUnit) ||
                          (kind == kCarrierPortShips && ships > 0 && unit == nullptr) ||
                          (kind == kCarrierPortUnit && ships == 0 && enemyUnit);
        if (!fits) continue;
        if (kind == kCarrierPortShipsAndUnit) {
          sCarrierTarget target;
          target.x = node->x;
          target.y = node->y;
          target.value = unit->GetCombatStrength();
          found.push_back(target);
        } else {
          AddNodeTarget(world, *node, ships, found);
        }
      }
      break;
    case kCarrierOwnZoneShips:
      if (own->IsSeaZone()) {
        const int ships = SpottedShips(world, country, *own);
        if (ships > 0) AddNodeTarget(world, *own, ships, found);
      }
      break;
    case kCarrierLinkedShips:
      for (int id : linked) {
        sWezelGrafuMorz* node = graph.GetNode(id);
        if (node == nullptr) continue;
        const int ships = SpottedShips(world, country, *node);
        if (ships > 0) AddNodeTarget(world, *node, ships, found);
      }
      break;
    case kCarrierCityAir:
    case kCarrierOpenAir:
    case kCarrierCityLand:
    case kCarrierOpenLand:
      AddCoastTargets(world, country, own->id, kind, found);
      break;
    default:
      break;
  }
  // The best first; the first found among equals.
  std::stable_sort(found.begin(), found.end(),
                   [](const sCarrierTarget& a, const sCarrierTarget& b) { return a.value > b.value; });
  return found;
}

int CarrierStrikes(cWorld& world, cCountry& country) {
  const std::vector<int> order = CarrierTargetOrder(country);
  std::vector<cJednostkaMorska*> carriers;
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    if (ship->countryId == country.id && ship->type == kUnitAircraftCarrier && ship->fleet != nullptr) {
      carriers.push_back(ship);
    }
  }
  int strikes = 0;
  for (cJednostkaMorska* carrier : carriers) {
    if (WorkerStopping(world)) break;
    // A carrier lost in an earlier strike (or its interception) is gone.
    if (!IsShipInWorld(world, carrier)) continue;
    if (carrier->airstrikeDone || carrier->hitPoints < world.constants.carrierMinStrength) continue;
    for (int kind : order) {
      const std::vector<sCarrierTarget> targets =
          LockedStep([&] { return FindCarrierTargets(world, country, *carrier, kind); });
      const sCarrierTarget* chosen = nullptr;
      for (const sCarrierTarget& target : targets) {
        if (CheckCarrierStrike(world, *carrier, target.x, target.y) == eShipOrderRefusal::kNone) {
          chosen = &target;
          break;
        }
      }
      if (chosen == nullptr) continue;
      const int x = chosen->x, y = chosen->y;
      const cJednostka* unit = world.GetMap().GetHex(x, y).unit;
      const bool shown = world.turnState.showActions && (carrier->visible || (unit != nullptr && unit->visible));
      LogLine(L"[AI] %s: carrier %s strikes (%i, %i), target kind %i", country.name.c_str(), carrier->name.c_str(),
              x, y, kind);
      sBombardmentResult result;
      const eShipOrderRefusal refusal = CarrierStrike(world, *carrier, x, y, result);
      if (refusal != eShipOrderRefusal::kNone) {
        LogLine(L"[AI] %s: carrier strike refused", country.name.c_str());
        break;
      }
      ++strikes;
      // One strike in the impulse, whatever the interception made of it.
      LockedStep([&] {
        if (IsShipInWorld(world, carrier)) carrier->airstrikeDone = true;
      });
      if (shown) ShowStrikeResult(world, x, y, result);
      break;
    }
  }
  return strikes;
}

}  // namespace ai
