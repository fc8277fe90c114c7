// The path of a land move, built backwards from the target over the unit's
// movement range, and the plain parts of the move and undo records.
#include <algorithm>
#include <vector>

#include "app/console_log.h"
#include "app/sound.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/land_move_records.h"
#include "world/map.h"
#include "world/turn_state.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// One cell of the path grid: a hex of the range and how it is reached.
struct sPathCell {
  bool filled = false;
  int direction = 0;
  int cost = 0;
};

int MarchingSound(int type) {
  switch (type) {
    case kUnitInfantryDivision:
    case kUnitInfantryCorps:
      return SND_INFANTRY_MARCHING;
    case kUnitMechanizedDivision:
    case kUnitMechanizedCorps:
      return SND_TRUCK_DRIVING;
    case kUnitArmouredDivision:
    case kUnitArmouredCorps:
      return SND_TANK_ROLLING;
    default:
      return -1;
  }
}

}  // namespace

void cLandMove::Clear() {
  unit = nullptr;
  newController = 0;
  path.clear();
}

void cMoveUndo::Clear() {
  unit = nullptr;
  changedHexes.clear();
  ChangeWorldView([](cWorldView& view) { view.RefreshSelection(); });
}

bool cTurnState::FindLandPath(cWorld& world, cJednostkaLadowa& unit, int tx, int ty) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(unit.x, unit.y) || !map.IsInside(tx, ty)) return false;
  const std::vector<sLandMoveEntry>& range = unit.MoveRange();
  const auto target = std::find_if(range.begin(), range.end(),
                                   [&](const sLandMoveEntry& e) { return e.x == tx && e.y == ty; });
  if (target == range.end()) {
    LogLine(L"Hex (%i, %i) is not in the movement range of %s: no path", tx, ty, unit.name.c_str());
    return false;
  }

  std::list<sPathStep> path;
  if (HexDistance(unit.x, unit.y, tx, ty) == 1) {
    path.push_back({tx, ty, target->cost});
  } else {
    // The grid covers the square the points can reach (no wider than the
    // map); cells outside it are never written, and the walk back takes at
    // most as many steps as the range has hexes.
    const int reach = std::min(std::max(unit.actionPoints, 0), std::max(map.GetWidth(), map.GetHeight()));
    const int half = reach + 1;
    const int side = 2 * half + 1;
    std::vector<sPathCell> grid(static_cast<std::size_t>(side) * side);
    auto cellAt = [&](int x, int y) -> sPathCell* {
      const int column = x - unit.x + half;
      const int row = y - unit.y + half;
      if (column < 0 || column >= side || row < 0 || row >= side) return nullptr;
      return &grid[static_cast<std::size_t>(row) * side + column];
    };
    *cellAt(unit.x, unit.y) = {true, 0, 0};
    for (const sLandMoveEntry& e : range) {
      if (e.x == unit.x && e.y == unit.y) continue;
      if (sPathCell* cell = cellAt(e.x, e.y)) *cell = {true, e.direction, e.cost};
    }
    int x = tx, y = ty;
    bool reached = false;
    for (std::size_t walked = 0; walked <= range.size(); ++walked) {
      const sPathCell* cell = cellAt(x, y);
      if (!cell || !cell->filled) break;
      int px = 0, py = 0;
      HexNeighbourCoords(x, y, cell->direction, px, py);
      const sPathCell* previous = cellAt(px, py);
      if (!previous || !previous->filled) break;
      const int cost = cell->cost - previous->cost;
      path.push_front({x, y, cost});
      LogLine(L"Adding hex (%i,%i) to path (cost %i)", x, y, cost);
      if (px == unit.x && py == unit.y) {
        reached = true;
        break;
      }
      x = px;
      y = py;
    }
    if (!reached) {
      LogLine(L"The path of %s to hex (%i, %i) does not lead back to it: no move", unit.name.c_str(), tx, ty);
      return false;
    }
  }

  unit.newEnemyContact = false;
  undo.unit = &unit;
  undo.savedActionPoints = unit.actionPoints;
  undo.startX = unit.x;
  undo.startY = unit.y;
  undo.savedMovedOrDeployed = unit.movedOrDeployed;
  undo.changedHexes.clear();
  move.newController = map.GetHex(unit.x, unit.y).controller;
  move.unit = &unit;
  move.path = std::move(path);
  if (HexDistance(unit.x, unit.y, tx, ty) == 1 && unit.startingActionPoints == 0) unit.movedOrDeployed = true;
  if (unit.visible) {
    const int sound = MarchingSound(unit.type);
    // The main thread plays it: the worker's orders build paths too.
    if (sound >= 0) ChangeWorldView([sound](cWorldView&) { PlaySoundEffect(sound); });
  }
  return true;
}
