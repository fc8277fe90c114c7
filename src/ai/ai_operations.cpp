// The operational moves that carry the land units' orders out, the
// follow-up orders of idle units, and the small queries of the planning.
// Each pass walks the own land units once; a unit moves at most once a
// pass, and every move is made by the land move orders, which take their
// own lock and wait outside it while the main thread steps the unit.
#include <climits>
#include <vector>

#include "ai/ai_air.h"
#include "ai/ai_fronts.h"
#include "ai/ai_operations.h"
#include "ai/ai_order_steps.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "rules/land_move_orders.h"
#include "world/ai_orders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

bool OnTarget(const cJednostkaLadowa& unit) { return unit.x == unit.aiTargetX && unit.y == unit.aiTargetY; }

bool IsOwnOrAlly(const cCountry& country, int countryId) {
  return countryId == country.id || country.IsAlliedWith(countryId);
}

// A unit on a hex fortified above the country's hold level holds it at all
// cost instead of moving.
bool HoldsAtAllCost(cWorld& world, const cCountry& country, cJednostkaLadowa& unit) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(unit.x, unit.y)) return false;
  if (map.GetHex(unit.x, unit.y).fortification <= country.aiData.fortLevelToHoldAtAllCost) return false;
  LockedStep([&] { unit.aiOrder = kAiHold; });
  LogLine(L"[AI] %s: %s holds (%i, %i) at all cost", country.name.c_str(), unit.name.c_str(), unit.x, unit.y);
  return true;
}

// Where a unit stands and the points it has: what tells that an order
// moved it, whatever the order answered.
struct sUnitState {
  int x, y, actionPoints;
  explicit sUnitState(const cJednostkaLadowa& unit) : x(unit.x), y(unit.y), actionPoints(unit.actionPoints) {}
  bool ChangedIn(const cJednostkaLadowa& unit) const {
    return unit.x != x || unit.y != y || unit.actionPoints != actionPoints;
  }
};

// Toward the target: by rail toward the ultimate target when it lies a hop
// or more away, else a step of the land advance toward it, else on foot to
// the target hex or the free reachable hex nearest to it.
void MoveTowardTarget(cWorld& world, cCountry& country, cJednostkaLadowa& unit) {
  const sUnitState before(unit);
  TryStrategicMoveToCity(world, country, unit, unit.aiUltimateTargetX, unit.aiUltimateTargetY, 1);
  if (before.ChangedIn(unit)) return;
  AiAdvanceToUltimateTarget(world, unit);
  if (before.ChangedIn(unit)) return;
  if (!world.GetMap().IsInside(unit.aiTargetX, unit.aiTargetY)) return;
  RecomputeRange(unit);
  AiMoveToHex(world, unit, unit.aiTargetX, unit.aiTargetY);
}

// Order 1: a target in reach is taken, an own unit standing on it asked to
// make room first (and the stop-gap garrisons sent to that hex released);
// a target out of reach is approached.
void MoveGarrison(cWorld& world, cCountry& country, cJednostkaLadowa& unit, const std::vector<cJednostkaLadowa*>& own) {
  const int tx = unit.aiTargetX, ty = unit.aiTargetY;
  const cMap& map = world.GetMap();
  RecomputeRange(unit);
  if (!map.IsInside(tx, ty) || !unit.IsHexInMoveRange(tx, ty)) {
    MoveTowardTarget(world, country, unit);
    return;
  }
  auto* standing = dynamic_cast<cJednostkaLadowa*>(map.GetHex(tx, ty).unit);
  if (standing != nullptr && standing != &unit && standing->countryId == country.id) {
    MoveAside(world, *standing);
    // The stop-gaps go only when the hex was made free.
    if (map.GetHex(tx, ty).unit == nullptr) {
      for (cJednostkaLadowa* other : own) {
        if (!IsUnitInWorldLists(world, other) || other->aiOrder != kAiGarrisonStopGap) continue;
        if (other->aiTargetX != tx || other->aiTargetY != ty) continue;
        SetOrder(world, *other, kAiIdle, -1, -1, 0);
      }
      RecomputeRange(unit);
    }
  }
  AiMoveToHex(world, unit, tx, ty);
}

// Order 4: of the reachable free hexes beyond the own side's land that
// touch a unit of a country outside it, the one nearest the target; else
// the target itself.
void Approach(cWorld& world, cCountry& country, cJednostkaLadowa& unit) {
  if (HoldsAtAllCost(world, country, unit)) return;
  if (RecomputeRange(unit) == 0) return;
  const cMap& map = world.GetMap();
  const int tx = unit.aiTargetX, ty = unit.aiTargetY;
  int bestX = -1, bestY = -1, bestDistance = INT_MAX;
  for (const sLandMoveEntry& entry : unit.MoveRange()) {
    if (!map.IsInside(entry.x, entry.y)) continue;
    const sHex& hex = map.GetHex(entry.x, entry.y);
    if (hex.unit != nullptr || IsControllerFriendlyTo(hex.controller, country)) continue;
    bool touchesOutsider = false;
    for (int dir = 0; dir < 6 && !touchesOutsider; ++dir) {
      const sHex* near = map.GetNeighbour(entry.x, entry.y, dir);
      touchesOutsider = near != nullptr && near->unit != nullptr && near->unit != &unit &&
                        !IsOwnOrAlly(country, near->unit->countryId);
    }
    if (!touchesOutsider) continue;
    const int d = HexDistance(entry.x, entry.y, tx, ty);
    if (d < bestDistance) {
      bestDistance = d;
      bestX = entry.x;
      bestY = entry.y;
    }
  }
  if (bestX >= 0) {
    AiMoveToHex(world, unit, bestX, bestY);
  } else if (map.IsInside(tx, ty)) {
    AiMoveToHex(world, unit, tx, ty);
  }
}

// Order 6: toward the front city (straight to the target without an
// ultimate target).
void MoveToFront(cWorld& world, cCountry& country, cJednostkaLadowa& unit) {
  if (HoldsAtAllCost(world, country, unit)) return;
  MoveTowardTarget(world, country, unit);
}

// Order 12: toward the staging city; a unit sent without an ultimate target
// (its staging city lies a hop or less away) heads for the nearest target
// hex itself, and when it could not spend a point on that it is ready (13).
void BuildUp(cWorld& world, cCountry& country, cJednostkaLadowa& unit) {
  if (HoldsAtAllCost(world, country, unit)) return;
  if (unit.aiUltimateTargetX >= 0 && unit.aiUltimateTargetY >= 0) {
    MoveTowardTarget(world, country, unit);
    return;
  }
  const sAiTarget* nearest = nullptr;
  int bestDistance = INT_MAX;
  for (const sAiTarget& target : country.aiData.currentTargets) {
    const int d = HexDistance(unit.x, unit.y, target.a, target.b);
    if (d < bestDistance) {
      bestDistance = d;
      nearest = &target;
    }
  }
  if (nearest == nullptr) return;
  const int before = unit.actionPoints;
  RecomputeRange(unit);
  AiMoveToHex(world, unit, nearest->a, nearest->b);
  if (before > 0 && IsUnitInWorldLists(world, &unit) && unit.actionPoints == before) {
    LockedStep([&] { unit.aiOrder = kAiBuildUpStuck; });
    LogLine(L"[AI] %s: %s cannot move further toward (%i, %i): ready", country.name.c_str(), unit.name.c_str(),
            nearest->a, nearest->b);
  }
}

}  // namespace

int ExecuteOperationalMoves(cWorld& world, cCountry& country, sAiUnitLists& lists,
                            const std::vector<sMapCoord>& line) {
  DropDeadUnits(world, lists);
  const std::vector<cJednostkaLadowa*> own = lists.ownLand;
  std::vector<sUnitState> start;
  start.reserve(own.size());
  for (const cJednostkaLadowa* unit : own) start.emplace_back(*unit);

  // One pass over the units of an order; returns false once the worker
  // is told to stop.
  auto pass = [&](int order, auto&& move) {
    for (cJednostkaLadowa* unit : own) {
      if (WorkerStopping(world)) return false;
      if (!IsUnitInWorldLists(world, unit) || !IsOrderable(*unit)) continue;
      if (unit->aiOrder != order || OnTarget(*unit)) continue;
      LogLine(L"[AI] %s: %s at (%i, %i), order %i toward (%i, %i)", country.name.c_str(), unit->name.c_str(),
              unit->x, unit->y, order, unit->aiTargetX, unit->aiTargetY);
      move(*unit);
    }
    return !WorkerStopping(world);
  };
  bool done = pass(kAiGarrison, [&](cJednostkaLadowa& u) { MoveGarrison(world, country, u, own); }) &&
              pass(kAiGarrisonStopGap, [&](cJednostkaLadowa& u) { MoveTowardTarget(world, country, u); }) &&
              pass(kAiApproach, [&](cJednostkaLadowa& u) { Approach(world, country, u); });
  if (done) {
    HoldLineOfDefence(world, country, lists, line);
    done = !WorkerStopping(world) &&
           pass(kAiToFront, [&](cJednostkaLadowa& u) { MoveToFront(world, country, u); }) &&
           pass(kAiBuildUp, [&](cJednostkaLadowa& u) { BuildUp(world, country, u); });
  }

  int moved = 0;
  for (std::size_t i = 0; i < own.size(); ++i) {
    if (!IsUnitInWorldLists(world, own[i])) continue;
    if (own[i]->x != start[i].x || own[i]->y != start[i].y) ++moved;
  }
  DropDeadUnits(world, lists);
  LogLine(L"[AI] %s: operational moves %s, %i of %i land units moved", country.name.c_str(),
          done ? L"done" : L"stopped", moved, static_cast<int>(own.size()));
  return moved;
}

bool FindFollowUpTarget(const cWorld& world, const cJednostkaLadowa& unit, int& x, int& y) {
  x = -1;
  y = -1;
  const cMap& map = world.GetMap();
  const cCountry* own = world.GetCountry(unit.countryId);
  if (own == nullptr) return false;
  int best = kFollowUpSearchDistance + 1;
  const int reach = kFollowUpSearchDistance;
  for (int hy = unit.y - reach; hy <= unit.y + reach; ++hy) {
    for (int hx = unit.x - reach; hx <= unit.x + reach; ++hx) {
      if (!map.IsInside(hx, hy)) continue;
      const sHex& hex = map.GetHex(hx, hy);
      if (hex.city == nullptr || hex.city->type == kCityResources) continue;
      if (hex.controller == 0 || !own->IsAtWarWith(hex.controller)) continue;
      const int d = HexDistance(unit.x, unit.y, hx, hy);
      if (d < best) {
        best = d;
        x = hx;
        y = hy;
      }
    }
  }
  return x >= 0;
}

bool AssignFollowUpMoves(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  DropDeadUnits(world, lists);
  bool any = false;
  for (cJednostkaLadowa* unit : lists.ownLand) {
    if (!IsOrderable(*unit) || (unit->aiOrder != kAiIdle && unit->aiOrder != kAiReserve)) continue;
    if (unit->actionPoints <= 0 || RecomputeRange(*unit) == 0) continue;
    int x = -1, y = -1;
    if (!FindFollowUpTarget(world, *unit, x, y)) continue;
    SetOrder(world, *unit, kAiApproach, x, y, 0);
    LogLine(L"[AI] %s: %s follows up on (%i, %i)", country.name.c_str(), unit->name.c_str(), x, y);
    any = true;
  }
  return any;
}

void ResetCityCounters(cWorld& world) {
  LockedStep([&] {
    for (cCity* city : world.Cities()) city->aiTurnCounter = 0.0f;
  });
}

bool IsCityOnFront(const cCity& city) { return city.aiFrontState != kNoFront; }

}  // namespace ai
