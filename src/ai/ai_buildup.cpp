// The build-up for the country's current targets: each target gets a
// staging city of the own side (its own city when the side holds it, else
// the own-side city linked to it nearest the target), and the units free
// for it gather there, each at a staging city its side's cities lead to,
// until the target's required strength is met.
#include <climits>
#include <vector>

#include "ai/ai_operations.h"
#include "ai/ai_order_steps.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "world/ai_orders.h"
#include "world/cities.h"
#include "world/city_graph.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/strategic_movement.h"
#include "world/world.h"

namespace ai {
namespace {

struct sStagingCity {
  const cCity* city = nullptr;
  int required = -1;      // strength the target needs; -1 for no limit
  float gathered = 0.0f;  // strength sent so far
  bool WantsMore() const { return required < 0 || gathered < static_cast<float>(required); }
};

bool HeldByOwnSide(const cCity& city, const cCountry& country) {
  return IsControllerFriendlyTo(city.GetControllerId(), country);
}

// Of the cities linked to the target's city that the own side holds, the
// one nearest the target hex; null when none.
const cCity* NearestLinkedOwnCity(const cWorld& world, const cCity& city, const cCountry& country, int x, int y) {
  const auto& nodes = world.GetCityGraph().Nodes();
  if (city.graphNode < 0 || city.graphNode >= static_cast<int>(nodes.size())) return nullptr;
  const cCity* best = nullptr;
  int bestDistance = INT_MAX;
  for (const sCityGraphLink& link : nodes[static_cast<std::size_t>(city.graphNode)].links) {
    if (link.target < 0 || link.target >= static_cast<int>(nodes.size())) continue;
    const cCity* linked = nodes[static_cast<std::size_t>(link.target)].city;
    if (linked == nullptr || !HeldByOwnSide(*linked, country)) continue;
    const int d = HexDistance(linked->x, linked->y, x, y);
    if (d < bestDistance) {
      bestDistance = d;
      best = linked;
    }
  }
  return best;
}

std::vector<sStagingCity> CollectStagingCities(const cWorld& world, const cCountry& country) {
  std::vector<sStagingCity> out;
  const cMap& map = world.GetMap();
  for (const sAiTarget& target : country.aiData.currentTargets) {
    const int x = target.a, y = target.b;
    if (!map.IsInside(x, y)) {
      LogLine(L"WARNING: Target hex (%i,%i) lies outside the map!", x, y);
      continue;
    }
    // A target held by a country the computer is not at war with (nor
    // allied with) is not one to gather for.
    const int holder = map.GetHex(x, y).controller;
    if (holder != country.id && !country.IsAlliedWith(holder) && !country.IsAtWarWith(holder)) continue;
    const cCity* city = world.GetTopography().NearestCity(x, y);
    if (city == nullptr) {
      LogLine(L"WARNING: Target hex (%i,%i) does not belong to any city!", x, y);
      continue;
    }
    const cCity* staging = HeldByOwnSide(*city, country) ? city : NearestLinkedOwnCity(world, *city, country, x, y);
    if (staging != nullptr) out.push_back({staging, target.c, 0.0f});
  }
  return out;
}

}  // namespace

int BuildUpForInvasion(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  if (country.aiData.currentTargets.empty()) return 0;
  std::vector<sStagingCity> staging = CollectStagingCities(world, country);
  if (staging.empty()) {
    LogLine(L"WARNING: cannot build up forces for invasion! No own/allied cities near invasion target!");
    return 0;
  }
  DropDeadUnits(world, lists);
  const cStrategicMovement strategic(world);
  int sent = 0;
  for (cJednostkaLadowa* unit : lists.ownLand) {
    const int order = unit->aiOrder;
    if (order != kAiIdle && order != kAiReserve && order != kAiToFront && order != kAiAgainstCity) continue;
    if (!IsOrderable(*unit)) continue;
    const cCity* area = AreaCity(world, *unit);
    sStagingCity* best = nullptr;
    int bestHops = INT_MAX;
    for (sStagingCity& record : staging) {
      if (!record.WantsMore() || !strategic.IsCityReachable(*unit, *record.city)) continue;
      // The order goes by a route through the side's own cities: a staging
      // city cut off from the unit's (by the enemy, or beyond the sea) is
      // not one it can be sent to.
      if (!unit->HasOrderRouteTo(world, record.city->x, record.city->y)) continue;
      const int hops = area != nullptr ? GraphDistance(*area, *record.city) : INT_MAX;
      if (best == nullptr || hops < bestHops) {
        best = &record;
        bestHops = hops;
      }
    }
    if (best == nullptr) continue;
    SetOrderWithHops(world, *unit, kAiBuildUp, best->city->x, best->city->y, bestHops);
    if (best->required >= 0) best->gathered += unit->GetEffectiveCombatStrength();
    LogLine(L"[AI] %s: %s builds up at %s", country.name.c_str(), unit->name.c_str(), best->city->GetName().c_str());
    ++sent;
  }
  return sent;
}

}  // namespace ai
