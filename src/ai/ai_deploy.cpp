// Deployment of the computer's new land and air units from the reserve:
// land units to the weakest-held front city, air units to the richest city
// away from the fronts. A city is only chosen when the placing rule will
// find the city it takes the unit's supply from, so a deployment is never
// refused half-way; a city that is refused all the same is left out and
// the next one tried, and each round deploys a unit or drops a city.
#include <algorithm>
#include <set>
#include <vector>

#include "ai/ai_fronts.h"
#include "ai/ai_operations.h"
#include "app/console_log.h"
#include "app/settings.h"
#include "rules/deployment.h"
#include "rules/rule_helpers.h"
#include "world/cities.h"
#include "world/city_graph.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/turn_state.h"
#include "world/unit_lists.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace ai {
namespace {


// The first unit of the country and category in the reserve that is ready
// to be placed; null when none.
cJednostka* FirstReadyReserveUnit(const cWorld& world, const cCountry& country, int category) {
  for (cJednostka* unit : world.Units().reservePool) {
    if (unit != nullptr && unit->countryId == country.id && unit->category == category &&
        unit->availableInTurns < 1) {
      return unit;
    }
  }
  return nullptr;
}

bool InReservePool(const cWorld& world, const cJednostka* unit) {
  const auto& pool = world.Units().reservePool;
  return std::find(pool.begin(), pool.end(), unit) != pool.end();
}

// A city counts as on a front only for a country at war: the front states
// are those of the last country whose fronts were worked out.
bool OnFront(const cCountry& country, const cCity& city) {
  return country.IsAtWarWithAnyone() && IsCityOnFront(city);
}

sCityGraphNode* NodeOf(cWorld& world, const cCity& city) {
  auto& nodes = world.GetCityGraph().Nodes();
  if (city.graphNode < 0 || city.graphNode >= static_cast<int>(nodes.size())) return nullptr;
  return &nodes[static_cast<std::size_t>(city.graphNode)];
}

float OwnLandAt(cWorld& world, const cCity& city) {
  const sCityGraphNode* node = NodeOf(world, city);
  return node != nullptr ? NodeLand(*node, kNodeOwnLand) : 0.0f;
}

cCity* Richest(const std::vector<cCity*>& cities) {
  cCity* best = nullptr;
  for (cCity* city : cities) {
    if (best == nullptr || city->productionPoints > best->productionPoints) best = city;
  }
  return best;
}

cCity* ChooseLandCity(cWorld& world, const cCountry& country, const std::vector<cCity*>& candidates) {
  cCity* weakest = nullptr;
  for (cCity* city : candidates) {
    if (!OnFront(country, *city)) continue;
    if (weakest == nullptr || OwnLandAt(world, *city) < OwnLandAt(world, *weakest)) weakest = city;
  }
  return weakest != nullptr ? weakest : Richest(candidates);
}

cCity* ChooseAirCity(const cCountry& country, const std::vector<cCity*>& candidates) {
  std::vector<cCity*> away;
  for (cCity* city : candidates) {
    if (!OnFront(country, *city)) away.push_back(city);
  }
  return Richest(away.empty() ? candidates : away);
}

// Places the unit at or next to the city and shows it when the player sees
// it. False (logged) when no hex there takes it.
bool PlaceFromReserve(cWorld& world, cCountry& country, cJednostka& unit, cCity& city) {
  int x = -1, y = -1;
  bool shown = false;
  const bool placed = LockedStep([&] {
    city.FindFreeFriendlyHex(world, x, y, country);
    if (x < 0 || DeployFromReserve(world, unit, x, y) != eDeployRefusal::kNone) return false;
    shown = unit.visible && world.turnState.showActions;
    return true;
  });
  if (!placed) {
    LogLine(L"[AI] %s: cannot deploy %s at %s (%i, %i)", country.name.c_str(), unit.name.c_str(),
            city.GetName().c_str(), x, y);
    return false;
  }
  LogLine(L"[AI] %s: %s deployed at %s (%i, %i)", country.name.c_str(), unit.name.c_str(), city.GetName().c_str(),
          x, y);
  if (shown) {
    FollowHexInView(x, y);
    if (StoppableDelay(world, DelayMs(kDelayAIDeployBefore), __FILE__, __LINE__)) {
      StoppableDelay(world, DelayMs(kDelayAIDeployAfter), __FILE__, __LINE__);
    }
  }
  return true;
}

// Deploys ready reserve units of the category one at a time: each round
// places a unit (it leaves the reserve) or leaves a city out, so the rounds
// end. placed counts a deployed unit into the picture of the next choice.
template <class Choose, class Placed>
int DeployCategory(cWorld& world, cCountry& country, int category, Choose&& choose, Placed&& placed) {
  std::set<const cCity*> refused;
  int deployed = 0;
  while (!WorkerStopping(world)) {
    cJednostka* unit = FirstReadyReserveUnit(world, country, category);
    if (unit == nullptr) break;
    std::vector<cCity*> candidates = CollectDeployCities(world, country);
    std::erase_if(candidates, [&](const cCity* city) { return refused.count(city) != 0; });
    if (candidates.empty()) {
      LogLine(L"[AI] %s: no city left to deploy %s", country.name.c_str(), unit->name.c_str());
      break;
    }
    cCity* city = choose(candidates);
    if (!PlaceFromReserve(world, country, *unit, *city)) {
      refused.insert(city);
      continue;
    }
    if (InReservePool(world, unit)) {
      LogLine(L"[AI] %s: %s stayed in the reserve; deployment ends", country.name.c_str(), unit->name.c_str());
      break;
    }
    placed(*unit, *city);
    ++deployed;
  }
  return deployed;
}

}  // namespace

std::vector<cCity*> CollectDeployCities(const cWorld& world, const cCountry& country) {
  std::vector<cCity*> out;
  const cMap& map = world.GetMap();
  const bool atWar = country.IsAtWarWithAnyone();
  const int halfSupply = world.constants.maxSupply / 2;
  const std::size_t slot = static_cast<std::size_t>(country.id - 1);
  for (cCity* city : world.Cities()) {
    if (city == nullptr || city->type == kCityResources || !map.IsInside(city->x, city->y)) continue;
    const sHex& hex = map.GetHex(city->x, city->y);
    if (hex.controller != country.id) continue;
    if (atWar) {
      const int supply = slot < city->supplyInfo.size() ? city->supplyInfo[slot] : 0;
      if (supply < halfSupply) continue;
    }
    bool room = hex.unit == nullptr;
    for (int dir = 0; dir < 6 && !room; ++dir) {
      const sHex* near = map.GetNeighbour(city->x, city->y, dir);
      room = near != nullptr && near->IsLand() && near->unit == nullptr && near->controller == country.id;
    }
    if (room) out.push_back(city);
  }
  return out;
}

int DeployLandUnits(cWorld& world, cCountry& country) {
  return DeployCategory(
      world, country, kCategoryLand, [&](const std::vector<cCity*>& c) { return ChooseLandCity(world, country, c); },
      [&](cJednostka& unit, const cCity& city) {
        // The new unit counts at its city for the next choice.
        if (sCityGraphNode* node = NodeOf(world, city)) {
          const float strength = unit.GetEffectiveCombatStrength();
          LockedStep([&] {
            NodeLand(*node, kNodeOwnLand) += strength;
            NodeLand(*node, kNodeOurLand) += strength;
            NodeCount(*node, kNodeOwnUnits) += 1;
          });
        }
      });
}

int DeployAirUnits(cWorld& world, cCountry& country) {
  return DeployCategory(
      world, country, kCategoryAir, [&](const std::vector<cCity*>& c) { return ChooseAirCity(country, c); },
      [](cJednostka&, const cCity&) {});
}

}  // namespace ai
