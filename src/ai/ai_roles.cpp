// The first planning pass: every own land unit gets its role for the turn.
// The cities the country must hold get a garrison of the size they ask for
// (a corps for supply cities and threatened fronts, a division elsewhere),
// and the units left over go against the enemy cities facing a held front,
// to the weak fronts, toward the nearest front or into the reserve.
#include <algorithm>
#include <climits>
#include <vector>

#include "ai/ai_fronts.h"
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

// The size of garrison a city asks for.
enum eGarrisonKind : int { kWantsDivision = 0, kWantsCorps = 1 };

struct sCityToHold {
  cCity* city = nullptr;
  int kind = kWantsDivision;
  bool held = false;     // a unit of the asked size garrisons it (order 1)
  bool stopGap = false;  // a unit of the other size garrisons it for now (order 2)
};

// A role given: the order set (see SetOrderWithHops) and logged.
void Give(cWorld& world, const cCountry& country, cJednostkaLadowa& unit, int code, int x, int y, int hops) {
  SetOrderWithHops(world, unit, code, x, y, hops);
  LogLine(L"[AI] %s: %s gets order %i on (%i, %i)", country.name.c_str(), unit.name.c_str(), unit.aiOrder,
          unit.aiTargetX, unit.aiTargetY);
}

bool IsDivisionSize(const cJednostkaLadowa& unit) {
  return unit.type == kUnitInfantryDivision || unit.type == kUnitMechanizedDivision ||
         unit.type == kUnitArmouredDivision;
}
bool IsCorpsSize(const cJednostkaLadowa& unit) { return unit.IsCorps(); }
bool FitsKind(const cJednostkaLadowa& unit, int kind) {
  return kind == kWantsCorps ? IsCorpsSize(unit) : IsDivisionSize(unit);
}

// The first rule that names the city decides its kind; -1 when none does.
int KindOfCityToHold(const cCity& city, const cCountry& country) {
  if (city.type == kCityResources) return -1;
  const bool controlled = city.GetControllerId() == country.id;
  const bool supplyCity = city.type == kCitySupply || city.type == kCitySupplyPort;
  if (supplyCity && controlled && city.GetOriginalOwnerId() == country.id) return kWantsCorps;
  if (controlled && (city.aiFrontState == kFrontWeak || city.aiFrontState == kFrontCritical)) return kWantsCorps;
  if (controlled && city.IsPort()) return kWantsDivision;
  if (controlled && city.GetOriginalOwnerId() != country.id && city.victoryPoints >= 1) return kWantsDivision;
  if (controlled && city.aiFrontState == kFrontHeld) return kWantsDivision;
  if (country.IsExtraCityToGarrison(city.x, city.y)) return kWantsDivision;
  return -1;
}

std::vector<sCityToHold> CollectCitiesToHold(const cWorld& world, const cCountry& country) {
  std::vector<sCityToHold> out;
  for (cCity* city : world.Cities()) {
    if (city == nullptr) continue;
    const int kind = KindOfCityToHold(*city, country);
    if (kind < 0) continue;
    out.push_back({city, kind, false, false});
    LogLine(L"[AI] %s: %s to hold (%s)", country.name.c_str(), city->GetName().c_str(),
            kind == kWantsCorps ? L"corps" : L"division");
  }
  return out;
}

// The nearest idle unit of one size that can reach the city by rail:
// fewest land hops from its area city, then fewest hexes.
struct sCandidate {
  cJednostkaLadowa* unit = nullptr;
  int hops = INT_MAX;
  int distance = INT_MAX;
  bool NearerThan(const sCandidate& other) const {
    return hops < other.hops || (hops == other.hops && distance < other.distance);
  }
};

sCandidate NearestIdle(cWorld& world, const std::vector<cJednostkaLadowa*>& own, const cCity& city,
                       bool (*fits)(const cJednostkaLadowa&)) {
  const cStrategicMovement strategic(world);
  sCandidate best;
  for (cJednostkaLadowa* unit : own) {
    if (unit->aiOrder != kAiIdle || !IsOrderable(*unit) || !fits(*unit)) continue;
    const cCity* area = AreaCity(world, *unit);
    if (area == nullptr) continue;
    const sCandidate here{unit, GraphDistance(*area, city), HexDistance(unit->x, unit->y, city.x, city.y)};
    if (best.unit != nullptr && !here.NearerThan(best)) continue;
    if (!strategic.IsCityReachable(*unit, city)) continue;
    best = here;
  }
  return best;
}

const sCityGraphNode* NodeOf(const cWorld& world, const cCity& city) {
  const auto& nodes = world.GetCityGraph().Nodes();
  if (city.graphNode < 0 || city.graphNode >= static_cast<int>(nodes.size())) return nullptr;
  return &nodes[static_cast<std::size_t>(city.graphNode)];
}

// The front whose cities hold the city's node; null when none.
const sAiFront* FrontOf(const cWorld& world, const std::vector<sAiFront>& fronts, const cCity& city) {
  const sCityGraphNode* node = NodeOf(world, city);
  if (node == nullptr) return nullptr;
  for (const sAiFront& front : fronts) {
    if (std::find(front.cities.begin(), front.cities.end(), node) != front.cities.end()) return &front;
  }
  return nullptr;
}

// Held front: the attackable enemy city (the area city or one linked to it
// by land) with room for another own unit that has had the least strength
// sent against it this turn.
cCity* ChooseCityToAttack(const cWorld& world, const cCountry& country, cCity& area) {
  std::vector<cCity*> candidates{&area};
  if (const sCityGraphNode* node = NodeOf(world, area)) {
    const auto& nodes = world.GetCityGraph().Nodes();
    for (const sCityGraphLink& link : node->links) {
      if (link.type != kCityLinkLand || link.target < 0 || link.target >= static_cast<int>(nodes.size())) continue;
      if (cCity* linked = nodes[static_cast<std::size_t>(link.target)].city) candidates.push_back(linked);
    }
  }
  cCity* best = nullptr;
  for (cCity* city : candidates) {
    if (city->aiAttackable == 0) continue;
    const int controller = city->GetControllerId();
    if (controller == 0 || !country.IsAtWarWith(controller)) continue;
    const sCityGraphNode* node = NodeOf(world, *city);
    if (node == nullptr || NodeCount(*node, kNodeOwnUnits) > country.aiData.maxUnitCountOnFront) continue;
    if (best == nullptr || city->aiTurnCounter < best->aiTurnCounter) best = city;
  }
  return best;
}

// Weak or critical front: its city held by the own side nearest the unit.
const cCity* NearestFriendlyFrontCity(const cWorld& world, const sAiFront& front, const cCountry& country,
                                      const cJednostkaLadowa& unit) {
  const cCity* best = nullptr;
  int bestDistance = INT_MAX;
  for (const cCity* city : CollectFrontCitiesOf(world, front, country.id)) {
    const int d = HexDistance(unit.x, unit.y, city->x, city->y);
    if (d < bestDistance) {
      bestDistance = d;
      best = city;
    }
  }
  return best;
}

void GarrisonCitiesAlreadyHeld(cWorld& world, const cCountry& country, std::vector<sCityToHold>& cities) {
  const cMap& map = world.GetMap();
  for (sCityToHold& record : cities) {
    const cCity& city = *record.city;
    if (!map.IsInside(city.x, city.y)) continue;
    auto* unit = dynamic_cast<cJednostkaLadowa*>(map.GetHex(city.x, city.y).unit);
    if (unit == nullptr || unit->countryId != country.id || !IsOrderable(*unit)) continue;
    if (FitsKind(*unit, record.kind)) {
      Give(world, country, *unit, kAiGarrison, city.x, city.y, 0);
      record.held = true;
    } else {
      Give(world, country, *unit, kAiGarrisonStopGap, city.x, city.y, 0);
      record.stopGap = true;
    }
  }
}

void SendGarrisons(cWorld& world, const cCountry& country, const std::vector<cJednostkaLadowa*>& own,
                   std::vector<sCityToHold>& cities) {
  for (sCityToHold& record : cities) {
    if (record.held) continue;
    const cCity& city = *record.city;
    const sCandidate division = NearestIdle(world, own, city, &IsDivisionSize);
    const sCandidate corps = NearestIdle(world, own, city, &IsCorpsSize);
    const sCandidate& preferred = record.kind == kWantsCorps ? corps : division;
    const sCandidate& other = record.kind == kWantsCorps ? division : corps;
    if (preferred.unit == nullptr && other.unit == nullptr) continue;
    if (preferred.unit == nullptr || other.unit == nullptr) {
      const sCandidate& only = preferred.unit != nullptr ? preferred : other;
      Give(world, country, *only.unit, kAiGarrison, city.x, city.y, 0);
      record.held = true;
      continue;
    }
    Give(world, country, *preferred.unit, kAiGarrison, city.x, city.y, 0);
    record.held = true;
    if (!other.NearerThan(preferred)) continue;
    // The nearer unit of the other size holds the city until the preferred
    // one arrives, when that one cannot reach it in this impulse.
    RecomputeRange(*preferred.unit);
    if (!preferred.unit->IsHexInMoveRange(city.x, city.y) && !record.stopGap) {
      Give(world, country, *other.unit, kAiGarrisonStopGap, city.x, city.y, 0);
      record.stopGap = true;
    }
  }
}

void GiveFrontRoles(cWorld& world, const cCountry& country, const std::vector<cJednostkaLadowa*>& own,
                    const std::vector<sAiFront>& fronts) {
  for (cJednostkaLadowa* unit : own) {
    if (unit->aiOrder != kAiIdle || !IsOrderable(*unit)) continue;
    cCity* areaCity = world.GetTopography().NearestCity(unit->x, unit->y);
    if (areaCity == nullptr) continue;
    cCity& area = *areaCity;
    bool placed = false;
    if (area.aiFrontState == kFrontHeld) {
      if (cCity* target = ChooseCityToAttack(world, country, area)) {
        const float strength = unit->GetEffectiveCombatStrength();
        LockedStep([&] { target->aiTurnCounter += strength; });
        Give(world, country, *unit, kAiAgainstCity, target->x, target->y, 0);
        placed = true;
      }
    } else if (area.aiFrontState == kFrontWeak || area.aiFrontState == kFrontCritical) {
      const sAiFront* front = FrontOf(world, fronts, area);
      if (const cCity* city = front != nullptr ? NearestFriendlyFrontCity(world, *front, country, *unit) : nullptr) {
        Give(world, country, *unit, kAiToLine, city->x, city->y, 0);
        placed = true;
      }
    } else {
      if (const cCity* city = FindFrontCityForUnit(world, fronts, *unit)) {
        Give(world, country, *unit, kAiToFront, city->x, city->y, GraphDistance(area, *city));
      } else {
        Give(world, country, *unit, kAiReserve, -1, -1, 0);
      }
      placed = true;
    }
    if (!placed) LogLine(L"ERROR: Jednostka %s nieprzyporządkowana do żadnego przypadku!", unit->name.c_str());
  }
}

}  // namespace

void AssignUnitRoles(cWorld& world, cCountry& country, sAiUnitLists& lists, const std::vector<sAiFront>& fronts) {
  LogLine(L"bu bu 1");
  BuildUnitLists(world, country, lists);
  const std::vector<cJednostkaLadowa*> own = lists.ownLand;
  for (cJednostkaLadowa* unit : own) {
    if (unit->aiOrder == kAiTookCity) {
      LockedStep([&] { unit->aiOrder = kAiGarrisonStopGap; });
    } else {
      SetOrder(world, *unit, kAiIdle, -1, -1, 0);
    }
  }
  LogLine(L"bu bu 2");
  std::vector<sCityToHold> cities = CollectCitiesToHold(world, country);
  LogLine(L"bu bu 3");
  GarrisonCitiesAlreadyHeld(world, country, cities);
  LogLine(L"bu bu 4");
  SendGarrisons(world, country, own, cities);
  LogLine(L"bu bu 5");
  GiveFrontRoles(world, country, own, fronts);
  LogLine(L"bu bu 6");
  for (cJednostkaLadowa* unit : own) {
    if (unit->aiOrder == kAiTookCity) SetOrder(world, *unit, kAiIdle, -1, -1, 0);
  }
  LogLine(L"bu bu 7");
}

}  // namespace ai
