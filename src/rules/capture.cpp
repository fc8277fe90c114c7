#include "rules/capture.h"

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "world/cities.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/land_move_records.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

// The neighbours in the order the capture visits them: north, south, then
// north-east, south-east, south-west, north-west.
constexpr int kCaptureOrder[6] = {kDirNorth, kDirSouth, kDirNorthEast, kDirSouthEast, kDirSouthWest, kDirNorthWest};

void TakeHex(cWorld& world, int countryId, int x, int y, cMoveUndo* undo) {
  cMap& map = world.GetMap();
  sHex& hex = map.GetHex(x, y);
  EvacuatePort(world, x, y);
  if (undo) undo->changedHexes.push_back({x, y, hex.controller});
  SetHexController(map, hex, countryId);
}

}  // namespace

bool IsEnemyUnitOnOrNextTo(const cWorld& world, int countryId, int x, int y) {
  const cMap& map = world.GetMap();
  auto enemyOn = [&](int hx, int hy) {
    if (!map.IsInside(hx, hy)) return false;
    const cJednostka* unit = map.GetHex(hx, hy).unit;
    return unit && AreAtWar(world, countryId, unit->countryId);
  };
  if (enemyOn(x, y)) return true;
  for (int dir = 0; dir < 6; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(x, y, dir, nx, ny);
    if (enemyOn(nx, ny)) return true;
  }
  return false;
}

void CaptureHexAndSurroundings(cWorld& world, int countryId, int x, int y, cMoveUndo* undo) {
  ExpectFrameworkLockHeld(__FILE__, __LINE__);
  cMap& map = world.GetMap();
  if (!map.IsInside(x, y) || countryId == 0) return;
  if (AreAtWar(world, countryId, map.GetHex(x, y).controller)) TakeHex(world, countryId, x, y, undo);
  for (int dir : kCaptureOrder) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(x, y, dir, nx, ny);
    if (!map.IsInside(nx, ny)) continue;
    const sHex& near = map.GetHex(nx, ny);
    if (near.controller == 0 || near.city != nullptr) continue;
    if (!AreAtWar(world, countryId, near.controller)) continue;
    if (IsEnemyUnitOnOrNextTo(world, countryId, nx, ny)) continue;
    TakeHex(world, countryId, nx, ny, undo);
  }
}

void EvacuatePort(cWorld& world, int x, int y) {
  cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return;
  const cCity* city = map.GetHex(x, y).city;
  if (!city || !city->IsPort()) return;
  cSeaGraph& graph = world.GetSeaGraph();
  const int node = graph.FindNodeIdByMainHex(x, y);
  if (node < 0) {
    LogLine(plat::Format(g_StringBase.GetText("critical_error!_port_%s_(%i,%i)_not_found_in_sea_graph!"),
                         city->GetName(), x, y));
    FatalExit(1);
  }
  for (cFleet* fleet : world.Units().fleets) {
    if (!fleet || fleet->seaNode != node) continue;
    // The fleet puts to sea in the first sea zone linked to the port.
    if (!fleet->LeaveEnemyPort(world)) {
      LogLine(L"ERROR: %s cannot retreat to adjacent seazone from captured port!", fleet->name);
      FatalExit(1);
    }
  }
}
