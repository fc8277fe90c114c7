// The small steps the land operations share: a unit's order set in one
// locked step, its area city, the cities-graph distance between two cities
// as a sortable number, and the units the operations may give orders to.
#pragma once

#include <climits>

#include "world/cities.h"
#include "world/jednostka_ladowa.h"
#include "world/topography.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {

// SetAiOrder under the framework lock (the panels read the order).
inline void SetOrder(cWorld& world, cJednostkaLadowa& unit, int code, int x, int y, int mode) {
  LockedStep([&] { unit.SetAiOrder(world, code, x, y, mode); });
}

// An order on a target so many land hops away (INT_MAX: no land route).
// Two hops or more make the target a route, which lets the unit go by
// rail; where the cities graph finds no route (from the city the unit draws
// supply from, which may be the target itself) the order stays, on a plain
// target.
inline void SetOrderWithHops(cWorld& world, cJednostkaLadowa& unit, int code, int x, int y, int hops) {
  SetOrder(world, unit, code, x, y, hops == INT_MAX ? 0 : hops);
  if (unit.aiOrder != code) SetOrder(world, unit, code, x, y, 0);
}

// The range rebuilt under the lock (the panels read the reachable list).
// Returns the number of reachable hexes.
inline int RecomputeRange(cJednostkaLadowa& unit) {
  return LockedStep([&] { return unit.ComputeMoveRange(true); });
}

// The city of the unit's area (the nearest city of its hex); null when none.
inline const cCity* AreaCity(const cWorld& world, const cJednostkaLadowa& unit) {
  return world.GetTopography().NearestCity(unit.x, unit.y);
}

// Land hops between the cities; INT_MAX when there is no land route.
inline int GraphDistance(const cCity& from, const cCity& to) {
  const int hops = from.GetHopsTo(to);
  return hops < 0 ? INT_MAX : hops;
}

// A unit the operations give orders to and move: on the map, not aboard a
// ship and not an artificial harbour (which never moves).
inline bool IsOrderable(const cJednostkaLadowa& unit) {
  return unit.transport == nullptr && !unit.IsHarbour() && unit.IsOnMap();
}

}  // namespace ai
