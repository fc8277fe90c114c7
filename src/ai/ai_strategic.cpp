// The computer's strategic moves: one unit's move through the strategic move
// rule with its display, and the two procedures that send units to the
// fronts that need them. Every loop ends when a pass moves nobody: a moved
// unit has no action points left and a unit the rule refused is not tried
// again, so each unit moves at most once.
#include <algorithm>
#include <limits>
#include <set>

#include "ai/ai_fronts.h"
#include "ai/ai_helpers.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "app/settings.h"
#include "rules/rule_helpers.h"
#include "rules/strategic_move.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/topography.h"
#include "world/turn_state.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace ai {
namespace {

const char* RefusalText(eStrategicMoveRefusal refusal) {
  const char* key = StrategicMoveRefusalKey(refusal);
  return key != nullptr ? key : "";
}

const cCity* AreaCity(const cWorld& world, const cJednostkaLadowa& unit) {
  return world.GetTopography().NearestCity(unit.x, unit.y);
}

void Separator() { LogLine(L"----------------------------------------"); }

// The own land strength ratio of the front's strongest to its weakest node
// among the cities its side holds; hi and lo are null when it holds none.
// A weakest node without own strength makes the ratio infinite when the
// strongest has some, and 0 when neither has.
float PatchRatio(const cWorld& world, const sAiFront& front, int countryId, sCityGraphNode*& hi,
                 sCityGraphNode*& lo) {
  sAiFront held;
  for (sCityGraphNode* node : front.cities) {
    if (node->city != nullptr && IsControllerFriendlyTo(world, node->city->GetControllerId(), countryId)) {
      held.cities.push_back(node);
    }
  }
  hi = GetStrongestNode(held);
  lo = GetWeakestNode(held);
  if (hi == nullptr || lo == nullptr) return 0.0f;
  const float high = NodeLand(*hi, kNodeOwnLand);
  const float low = NodeLand(*lo, kNodeOwnLand);
  if (low > 0.0f) return high / low;
  return high > 0.0f ? std::numeric_limits<float>::infinity() : 0.0f;
}

}  // namespace

bool PrzeniesStrategicznieJednostke(cWorld& world, cCountry& country, cJednostkaLadowa& unit, const cCity& city,
                                    int x, int y) {
  LogLine(L"[AI] PrzeniesStrategicznieJednostke");
  bool shown = false;
  int fromX = -1, fromY = -1, points = 0;
  const eStrategicMoveRefusal refusal = LockedStep([&] {
    shown = unit.visible && world.turnState.showActions;
    fromX = unit.x;
    fromY = unit.y;
    points = country.strategicMovementPoints;
    return CheckStrategicMove(world, unit, x, y);
  });
  if (refusal != eStrategicMoveRefusal::kNone) {
    LogLine(L"[AI] %s: %s - strategic move to %s refused (%S)", country.name.c_str(), unit.name.c_str(),
            city.GetName().c_str(), RefusalText(refusal));
    return false;
  }
  LogLine(L"[AI] %s: %s - strategic move to %s (%i SMP left)", country.name.c_str(), unit.name.c_str(),
          city.GetName().c_str(), points);
  if (shown) {
    FollowHexInView(fromX, fromY);
    if (!StoppableDelay(world, DelayMs(kDelayAIMoveBefore), __FILE__, __LINE__)) return false;
    if (!StoppableDelay(world, DelayMs(kDelayAIMoveBetween), __FILE__, __LINE__)) return false;
    FollowHexInView(x, y);
    if (!StoppableDelay(world, DelayMs(kDelayAIMoveBetween), __FILE__, __LINE__)) return false;
  }
  // The rule checks again under its lock: the world may have changed
  // while the move was being shown.
  const eStrategicMoveRefusal done = OrderStrategicMove(world, unit, x, y);
  if (done != eStrategicMoveRefusal::kNone) {
    LogLine(L"[AI] %s: %s - strategic move to %s refused (%S)", country.name.c_str(), unit.name.c_str(),
            city.GetName().c_str(), RefusalText(done));
    return false;
  }
  StoppableDelay(world, DelayMs(kDelayAIMoveAfter), __FILE__, __LINE__);
  return true;
}

bool TryStrategicMoveToCity(cWorld& world, cCountry& country, cJednostkaLadowa& unit, int x, int y, int minHops) {
  if (x == -1 || y == -1 || unit.freezeTime > 0) return false;
  const cMap& map = world.GetMap();
  if (!map.IsInside(x, y) || map.GetHex(x, y).city == nullptr) return false;
  const int hops = unit.GetHopsToCity(world, x, y);
  if (hops == -1 || hops < minHops) return false;
  const cCity& city = *map.GetHex(x, y).city;
  int toX = -1, toY = -1;
  if (!unit.FindStrategicMoveDestination(world, city, toX, toY)) return false;
  return PrzeniesStrategicznieJednostke(world, country, unit, city, toX, toY);
}

int SavePoorlyDefendedFronts(cWorld& world, cCountry& country, sAiUnitLists& lists, std::vector<sAiFront>& fronts) {
  std::set<const cJednostkaLadowa*> refused;
  int moved = 0;
  while (!WorkerStopping(world)) {
    DropDeadUnits(world, lists);
    SortUnitsByStrength(lists.ownLand);
    LogLine(L"[AI] %s: Saving poorly defended fronts", country.name.c_str());
    RefreshFronts(world, country, lists, fronts);
    {
      const cConsoleLogBatch batch;
      for (const sAiFront& front : fronts) {
        Separator();
        front.Dump();
        Separator();
      }
    }
    bool movedOne = false;
    for (sAiFront& front : fronts) {
      if (front.state != kFrontCritical) continue;
      std::stable_sort(front.cities.begin(), front.cities.end(), CompareNodesByStrength);
      for (const sCityGraphNode* node : front.cities) {
        Separator();
        if (node->city == nullptr) continue;
        for (cJednostkaLadowa* unit : lists.ownLand) {
          if (refused.count(unit) != 0) continue;
          const cCity* area = AreaCity(world, *unit);
          if (area == nullptr) {
            LogLine(L"oj nieladnie");
            continue;
          }
          if (area->aiFrontState == kFrontCritical || unit->aiOrder == 2) continue;
          int x = -1, y = -1;
          if (!unit->FindStrategicMoveDestination(world, *node->city, x, y)) continue;
          if (PrzeniesStrategicznieJednostke(world, country, *unit, *node->city, x, y)) {
            movedOne = true;
            break;
          }
          refused.insert(unit);
          if (WorkerStopping(world)) return moved;
        }
        if (movedOne) break;
      }
      if (movedOne) break;
    }
    if (!movedOne) {
      LogLine(L"Cannot find other units. Ending saving poorly defended front procedure.");
      break;
    }
    ++moved;
  }
  return moved;
}

int PatchWeakFronts(cWorld& world, cCountry& country, sAiUnitLists& lists, std::vector<sAiFront>& fronts) {
  const float limit = country.aiData.minRatioToPatchFront;
  std::set<const cJednostkaLadowa*> refused;
  int moved = 0;
  DropDeadUnits(world, lists);
  for (const sAiFront& front : fronts) {
    sCityGraphNode* hi = nullptr;
    sCityGraphNode* lo = nullptr;
    float ratio = PatchRatio(world, front, country.id, hi, lo);
    while (ratio > limit && lo != nullptr && lo->city != nullptr) {
      if (WorkerStopping(world)) return moved;
      bool movedOne = false;
      for (cJednostkaLadowa* unit : lists.ownLand) {
        if (refused.count(unit) != 0) continue;
        // A unit already at the weakest city adds nothing there.
        if (AreaCity(world, *unit) == lo->city) continue;
        int x = -1, y = -1;
        if (!unit->FindStrategicMoveDestination(world, *lo->city, x, y)) continue;
        if (PrzeniesStrategicznieJednostke(world, country, *unit, *lo->city, x, y)) {
          movedOne = true;
          break;
        }
        refused.insert(unit);
      }
      if (!movedOne) {
        LogLine(L"[AI] %s: no unit can patch %s (ratio %.2f), ending", country.name.c_str(), front.name.c_str(),
                static_cast<double>(ratio));
        break;
      }
      ++moved;
      ComputeNodeStrengths(world, country, lists);
      ratio = PatchRatio(world, front, country.id, hi, lo);
    }
  }
  // The fronts' sums and states follow the strengths the moves changed.
  if (moved > 0) EvaluateFronts(world, fronts);
  return moved;
}

}  // namespace ai
