// Node strengths, fronts, their evaluation and the queries on them.
#include "ai/ai_fronts.h"

#include <algorithm>
#include <limits>

#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/strategic_movement.h"
#include "world/topography.h"
#include "world/world.h"

namespace ai {
namespace {

// The node of the unit's area city (the nearest city of its hex); null when
// the hex has none or the city has no node.
sCityGraphNode* AreaNode(cWorld& world, const cJednostka& unit) {
  const cCity* city = world.GetTopography().NearestCity(unit.x, unit.y);
  std::vector<sCityGraphNode>& nodes = world.GetCityGraph().Nodes();
  if (city == nullptr || city->graphNode < 0 || city->graphNode >= static_cast<int>(nodes.size())) return nullptr;
  return &nodes[static_cast<std::size_t>(city->graphNode)];
}

const wchar_t* CityName(const sCityGraphNode& node) { return node.city ? node.city->GetName().c_str() : L""; }

int ControllerOf(const sCityGraphNode& node) { return node.city ? node.city->GetControllerId() : 0; }

bool IsOurSide(const cCountry& country, int controller) {
  return controller != 0 && (controller == country.id || country.IsAlliedWith(controller));
}

void CountLand(cWorld& world, const std::vector<cJednostkaLadowa*>& units, const wchar_t* side, bool own,
               bool enemy) {
  for (cJednostkaLadowa* unit : units) {
    if (enemy) unit->secondHexes.clear();
    sCityGraphNode* node = AreaNode(world, *unit);
    if (node == nullptr) {
      if (own) LogLine(L"Wlasna %s nie ma połączenia z zadnym miastem", unit->name.c_str());
      continue;
    }
    const float strength = unit->GetEffectiveCombatStrength();
    float* total = &NodeLand(*node, kNodeEnemyLand);
    if (!enemy) {
      total = &NodeLand(*node, kNodeOurLand);
      if (own) {
        NodeLand(*node, kNodeOwnLand) += strength;
        ++NodeCount(*node, kNodeOwnUnits);
      }
    }
    *total += strength;
    LogLine(L"%s %s Wezel %s. Dod.sile %5.2f. Silawezla=%5.2f", side, unit->name.c_str(), CityName(*node),
            static_cast<double>(strength), static_cast<double>(*total));
  }
}

void CountAir(cWorld& world, const std::vector<cJednostkaLotnicza*>& units, const wchar_t* side, bool own,
              bool enemy) {
  for (cJednostkaLotnicza* unit : units) {
    if (unit->type == kUnitStrategicBomber) continue;
    if (enemy) unit->secondHexes.clear();
    sCityGraphNode* node = AreaNode(world, *unit);
    if (node == nullptr) continue;
    const int strength = static_cast<int>(unit->strength);
    std::int32_t* total = &NodeCount(*node, kNodeEnemyAirStrength);
    if (enemy) {
      ++NodeCount(*node, kNodeEnemyAirUnits);
    } else {
      total = &NodeCount(*node, kNodeOurAirStrength);
      ++NodeCount(*node, kNodeOurAirUnits);
      if (own) {
        ++NodeCount(*node, kNodeOwnAirUnits);
        ++NodeCount(*node, kNodeOwnUnits);
        NodeCount(*node, kNodeOwnAirStrength) += strength;
      }
    }
    *total += strength;
    LogLine(L"%s %s Wezel %s. Dod.PS %i. Silawezla=%i", side, unit->name.c_str(), CityName(*node), strength,
            static_cast<int>(*total));
  }
}

bool HeldBySide(const cWorld& world, const cCity* city, int countryId) {
  return city != nullptr && IsControllerFriendlyTo(world, city->GetControllerId(), countryId);
}

}  // namespace

// --- node strengths ---

void ComputeNodeStrengths(cWorld& world, const cCountry&, sAiUnitLists& lists) {
  // A line per unit: written together when the sums are done.
  const cConsoleLogBatch batch;
  world.GetCityGraph().ResetSearchData();
  CountLand(world, lists.ownLand, L"Wlasna", true, false);
  CountLand(world, lists.alliedLand, L"Nasza", false, false);
  CountLand(world, lists.enemyLand, L"Wroga", false, true);
  LogLine(L"==Lotnicze:");
  CountAir(world, lists.ownAir, L"Wlasna", true, false);
  CountAir(world, lists.alliedAir, L"Nasza", false, false);
  CountAir(world, lists.enemyAir, L"Wroga", false, true);
}

// --- fronts ---

void BuildFronts(cWorld& world, const cCountry& country, std::vector<sAiFront>& fronts) {
  fronts.clear();
  std::vector<sCityGraphNode>& nodes = world.GetCityGraph().Nodes();
  const cRelationsMatrix& relations = world.GetRelations();
  const auto nodeAt = [&](int index) -> sCityGraphNode* {
    return index >= 0 && index < static_cast<int>(nodes.size()) ? &nodes[static_cast<std::size_t>(index)] : nullptr;
  };
  for (sCityGraphNode& start : nodes) {
    if (IsNodeOnFront(start) || !IsOurSide(country, ControllerOf(start))) continue;
    const bool facesEnemy = std::any_of(start.links.begin(), start.links.end(), [&](const sCityGraphLink& link) {
      const sCityGraphNode* next = nodeAt(link.target);
      return link.type == kCityLinkLand && next != nullptr && !IsNodeOnFront(*next) &&
             relations.IsAtWar(country.id, ControllerOf(*next));
    });
    if (!facesEnemy) continue;
    sAiFront front;
    front.name = L"Front miasta " + std::wstring(CityName(start));
    start.searchFlag = 1;
    front.cities.push_back(&start);
    // The list grows while it is walked.
    for (std::size_t i = 0; i < front.cities.size(); ++i) {
      sCityGraphNode& from = *front.cities[i];
      const int a = ControllerOf(from);
      for (const sCityGraphLink& link : from.links) {
        sCityGraphNode* next = nodeAt(link.target);
        if (link.type != kCityLinkLand || next == nullptr || IsNodeOnFront(*next)) continue;
        const int b = ControllerOf(*next);
        if (!relations.IsAtWar(a, b) || !(IsOurSide(country, a) || IsOurSide(country, b))) continue;
        next->searchFlag = 1;
        front.cities.push_back(next);
      }
    }
    fronts.push_back(front);
  }
  LogLine(L"Kraj ID = %d (%s) zaktualizowal liste frontow do liczby %d", country.id, country.name.c_str(),
          static_cast<int>(fronts.size()));
}

float FrontAdvantage(float ours, float enemy) {
  if (enemy == 0.0f) return ours == 0.0f ? 1.0f : kUncontestedAdvantage;
  return ours / enemy;
}

int FrontStateOf(float advantage) {
  if (advantage < kCriticalAdvantage) return kFrontCritical;
  if (advantage < kWeakAdvantage) return kFrontWeak;
  return kFrontHeld;
}

void EvaluateFronts(cWorld& world, std::vector<sAiFront>& fronts) {
  for (sAiFront& front : fronts) {
    front.ourLand = front.ownLand = front.enemyLand = 0.0f;
    front.ourAirUnits = front.ownAirUnits = front.enemyAirUnits = 0;
    front.ourAirStrength = front.ownAirStrength = front.enemyAirStrength = 0;
    for (const sCityGraphNode* node : front.cities) {
      front.ourLand += NodeLand(*node, kNodeOurLand);
      front.ownLand += NodeLand(*node, kNodeOwnLand);
      front.enemyLand += NodeLand(*node, kNodeEnemyLand);
      front.ourAirUnits += NodeCount(*node, kNodeOurAirUnits);
      front.ownAirUnits += NodeCount(*node, kNodeOwnAirUnits);
      front.enemyAirUnits += NodeCount(*node, kNodeEnemyAirUnits);
      front.ourAirStrength += NodeCount(*node, kNodeOurAirStrength);
      front.ownAirStrength += NodeCount(*node, kNodeOwnAirStrength);
      front.enemyAirStrength += NodeCount(*node, kNodeEnemyAirStrength);
    }
    front.advantage = FrontAdvantage(front.ourLand, front.enemyLand);
    front.state = FrontStateOf(front.advantage);
  }
  for (cCity* city : world.Cities()) {
    if (city != nullptr) city->aiFrontState = kNoFront;
  }
  for (const sAiFront& front : fronts) {
    for (sCityGraphNode* node : front.cities) {
      if (node->city != nullptr) node->city->aiFrontState = front.state;
    }
  }
}

void RefreshFronts(cWorld& world, const cCountry& country, sAiUnitLists& lists, std::vector<sAiFront>& fronts) {
  ComputeNodeStrengths(world, country, lists);
  BuildFronts(world, country, fronts);
  EvaluateFronts(world, fronts);
}

void sAiFront::Dump() const {
  LogLine(L"FRONT: %s", name.c_str());
  LogLine(L"Jedn lotn: Nasze=%i Wlasne=%i Wrogie=%i", ourAirUnits, ownAirUnits, enemyAirUnits);
  LogLine(L"Sila lotn: Nasza=%i Wlasna=%i Wroga=%i", ourAirStrength, ownAirStrength, enemyAirStrength);
  LogLine(L"Siła lądowa: Nasza=%.2f Wlasna=%.2f Wroga=%.2f", static_cast<double>(ourLand),
          static_cast<double>(ownLand), static_cast<double>(enemyLand));
  LogLine(L"Stan frontu = %i", state);
  for (const sCityGraphNode* node : cities) LogLine(L"%s", CityName(*node));
}

void sAiFront::DumpSummary() const {
  LogLine(L"Front (%s), miasta: %i, Przewaga=%.2f", cities.empty() ? L"" : CityName(*cities.front()),
          static_cast<int>(cities.size()), static_cast<double>(advantage));
}

// --- queries ---

sCityGraphNode* GetStrongestNode(const sAiFront& front) {
  sCityGraphNode* best = nullptr;
  for (sCityGraphNode* node : front.cities) {
    if (best == nullptr || NodeLand(*node, kNodeOurLand) > NodeLand(*best, kNodeOurLand)) best = node;
  }
  return best;
}

sCityGraphNode* GetWeakestNode(const sAiFront& front) {
  sCityGraphNode* best = nullptr;
  for (sCityGraphNode* node : front.cities) {
    if (best == nullptr || NodeLand(*node, kNodeOurLand) < NodeLand(*best, kNodeOurLand)) best = node;
  }
  return best;
}

std::vector<cCity*> CollectFrontCitiesOf(const cWorld& world, const sAiFront& front, int countryId) {
  std::vector<cCity*> out;
  for (const sCityGraphNode* node : front.cities) {
    if (HeldBySide(world, node->city, countryId)) out.push_back(node->city);
  }
  return out;
}

bool IsFrontSingleEnclosedCity(const cWorld& world, const sAiFront& front, int countryId) {
  const std::vector<cCity*> held = CollectFrontCitiesOf(world, front, countryId);
  return held.size() == 1 && held.front()->IsEnclosed(world);
}

cCity* FindFrontCityForUnit(cWorld& world, const std::vector<sAiFront>& fronts, const cJednostkaLadowa& unit) {
  const cCity* area = world.GetTopography().NearestCity(unit.x, unit.y);
  if (area == nullptr) return nullptr;
  const cStrategicMovement strategic(world);
  const std::vector<sCityGraphNode>& nodes = world.GetCityGraph().Nodes();
  cCity* best = nullptr;
  int bestHops = 0, bestDistance = 0;
  // A city the unit's order could not reach by a route through its side's
  // cities (the order would be refused) is no candidate.
  const auto consider = [&](cCity* city) {
    if (!HeldBySide(world, city, unit.countryId) || !strategic.IsCityReachable(unit, *city)) return;
    if (!unit.HasOrderRouteTo(world, city->x, city->y)) return;
    int hops = area->GetHopsTo(*city);
    if (hops < 0) hops = std::numeric_limits<int>::max();
    const int distance = HexDistance(unit.x, unit.y, city->x, city->y);
    if (best == nullptr || hops < bestHops || (hops == bestHops && distance < bestDistance)) {
      best = city;
      bestHops = hops;
      bestDistance = distance;
    }
  };
  for (const sAiFront& front : fronts) {
    for (const sCityGraphNode* node : front.cities) {
      if (!HeldBySide(world, node->city, unit.countryId)) continue;
      if (strategic.IsCityReachable(unit, *node->city)) {
        consider(node->city);
        continue;
      }
      for (const sCityGraphLink& link : node->links) {
        if (link.type != kCityLinkLand || link.target < 0 || link.target >= static_cast<int>(nodes.size())) continue;
        consider(nodes[static_cast<std::size_t>(link.target)].city);
      }
    }
  }
  return best;
}

bool CompareNodesByStrength(const sCityGraphNode* a, const sCityGraphNode* b) {
  return NodeLand(*a, kNodeOurLand) < NodeLand(*b, kNodeOurLand);
}

bool CompareFrontsByAdvantage(const sAiFront& a, const sAiFront& b) { return a.advantage < b.advantage; }

}  // namespace ai
