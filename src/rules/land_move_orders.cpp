// The computer opponent's land move orders: the choice of the hex, then the
// player's move order and the wait while the main thread steps the unit.
#include "rules/land_move_orders.h"

#include "app/console_log.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "rules/land_move.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/worker_steps.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

int AiMoveAfterDelayMs() { return static_cast<int>(g_Delays[kDelayAIMoveAfter].load()); }

bool Shown(const cWorld& world, const cJednostkaLadowa& unit) { return unit.visible && world.turnState.showActions; }

// The move order in one locked step (the check, the path, the unit off its
// start hex, phase 10), then the wait while the main thread steps it. A
// refused order is logged and changes nothing.
bool OrderAndWait(cWorld& world, cJednostkaLadowa& unit, int targetX, int targetY, bool centreStart) {
  const eLandMoveRefusal refusal = LockedStep([&] {
    // Once the phase is 10 the main thread may be stepping the unit: the
    // centring takes the start hex read before.
    const bool centre = centreStart && Shown(world, unit);
    const int startX = unit.x, startY = unit.y;
    const eLandMoveRefusal result = OrderLandMove(world, unit, targetX, targetY, false);
    if (result == eLandMoveRefusal::kNone && centre) FollowHexInView(startX, startY);
    return result;
  });
  if (refusal != eLandMoveRefusal::kNone) {
    LogLine(L"The move of %s to (%i, %i) is refused: %s", unit.name.c_str(), targetX, targetY,
            g_StringBase.GetText(LandMoveRefusalKey(refusal)));
    return false;
  }
  // The main thread steps the move; a stopping worker does not wait for it.
  WaitWhilePhase(world, kPhaseComputerMove, 50, __FILE__, __LINE__);
  return true;
}

// Whether a hex's controller lets the country's units in: nobody, the
// country itself, an ally or an enemy.
bool ControllerAdmits(const cWorld& world, const cCountry& country, int controller) {
  if (controller == 0 || controller == country.id) return true;
  if (world.GetCountry(controller) == nullptr) return false;
  return country.IsAtWarWith(controller) || country.IsAlliedWith(controller);
}

}  // namespace

bool AiMoveToHex(cWorld& world, cJednostkaLadowa& unit, int hexX, int hexY) {
  if (hexX == unit.x && hexY == unit.y) {
    LogLine(L"Jednostka %s dostala rozkaz ruchu na hex (%i, %i), na ktorym stoi", unit.name.c_str(), hexX, hexY);
    return false;
  }
  const cMap& map = world.GetMap();
  int targetX = -1, targetY = -1;
  if (unit.IsHexInMoveRange(hexX, hexY) && map.IsInside(hexX, hexY) && !map.GetHex(hexX, hexY).unit) {
    targetX = hexX;
    targetY = hexY;
  } else {
    int best = HexDistance(unit.x, unit.y, hexX, hexY);
    for (const sLandMoveEntry& e : unit.MoveRange()) {
      if (!map.IsInside(e.x, e.y) || map.GetHex(e.x, e.y).unit) continue;
      const int d = HexDistance(e.x, e.y, hexX, hexY);
      if (d < best) {
        best = d;
        targetX = e.x;
        targetY = e.y;
      }
    }
    if (targetX < 0) return false;
  }
  if (Shown(world, unit)) FollowHexInView(unit.x, unit.y);
  if (!OrderAndWait(world, unit, targetX, targetY, false)) return false;
  StoppableDelay(world, AiMoveAfterDelayMs(), __FILE__, __LINE__);
  return true;
}

bool MoveAside(cWorld& world, cJednostkaLadowa& unit) {
  unit.ComputeMoveRangeOnly(true);
  const cMap& map = world.GetMap();
  const sLandMoveEntry* best = nullptr;
  for (const sLandMoveEntry& e : unit.MoveRange()) {
    if (!map.IsInside(e.x, e.y) || map.GetHex(e.x, e.y).unit) continue;
    if (!best || e.cost < best->cost) best = &e;
  }
  if (!best) return false;
  if (!OrderAndWait(world, unit, best->x, best->y, true)) return false;
  if (Shown(world, unit)) StoppableDelay(world, AiMoveAfterDelayMs(), __FILE__, __LINE__);
  return true;
}

void AiMoveTowardHex(cWorld& world, cJednostkaLadowa& unit, int hexX, int hexY) {
  if (hexX == unit.x && hexY == unit.y) return;
  unit.ComputeMoveRangeOnly(true);
  const sLandMoveEntry* best = nullptr;
  int bestDistance = 0;
  for (const sLandMoveEntry& e : unit.MoveRange()) {
    if (unit.actionPoints - e.cost <= 0) continue;
    const int d = HexDistance(e.x, e.y, hexX, hexY);
    if (!best || d < bestDistance || (d == bestDistance && e.cost > best->cost)) {
      best = &e;
      bestDistance = d;
    }
  }
  if (!best) return;
  const int tx = best->x, ty = best->y;  // the move recomputes nothing, but keep copies
  AiMoveToHex(world, unit, tx, ty);
}

bool AiAdvanceToUltimateTarget(cWorld& world, cJednostkaLadowa& unit) {
  const cMap& map = world.GetMap();
  const int tx = unit.aiUltimateTargetX, ty = unit.aiUltimateTargetY;
  // A target on the width or height line lies outside the map as well.
  if (!map.IsInside(tx, ty)) return false;
  const cCountry* country = world.GetCountry(unit.countryId);
  if (!country) return false;
  int cx = unit.x, cy = unit.y;
  bool stepped = true;
  while (stepped) {
    stepped = false;
    const int here = HexDistance(cx, cy, tx, ty);
    for (int dir = 0; dir < 6; ++dir) {
      int nx = 0, ny = 0;
      HexNeighbourCoords(cx, cy, dir, nx, ny);
      if (nx == tx && ny == ty) {
        unit.ComputeMoveRangeOnly(true);
        AiMoveToHex(world, unit, tx, ty);
        return true;
      }
      if (!map.IsInside(nx, ny)) continue;
      const sHex& hex = map.GetHex(nx, ny);
      if (!hex.IsLand() || !ControllerAdmits(world, *country, hex.controller)) continue;
      if (HexDistance(nx, ny, tx, ty) < here) {
        cx = nx;
        cy = ny;
        stepped = true;
        break;
      }
    }
  }
  return false;
}
