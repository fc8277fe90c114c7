// The land move: the order, the steps the main thread takes along the path,
// and the undo of the last move.
#include "rules/land_move.h"

#include <algorithm>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/capture.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/map_modes.h"
#include "world/turn_state.h"
#include "world/units_visibility.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

// The order mode of a selected land unit.

int PoliticalStrengthOf(const cWorld& world, int countryId) {
  const cCountry* country = world.GetCountry(countryId);
  return country ? country->politicalStrength : 0;
}

}  // namespace

const char* LandMoveRefusalKey(eLandMoveRefusal refusal) {
  switch (refusal) {
    case eLandMoveRefusal::kNone:
      return nullptr;
    case eLandMoveRefusal::kNoUnit:
      return "move_impossible_no_unit";
    case eLandMoveRefusal::kMoveInProgress:
      return "move_impossible_move_in_progress";
    case eLandMoveRefusal::kNotInRange:
      return "move_impossible_not_in_range";
    case eLandMoveRefusal::kTargetOccupied:
      return "move_impossible_hex_occupied";
    case eLandMoveRefusal::kNoPath:
      return "move_impossible_no_path";
  }
  return nullptr;
}

const char* UndoRefusalKey(eUndoRefusal refusal) {
  switch (refusal) {
    case eUndoRefusal::kNone:
      return nullptr;
    case eUndoRefusal::kNothingMoved:
      return "undo_impossible._no_unit_has_moved_yet!";
    case eUndoRefusal::kNotLastMovedUnit:
      return "undo_impossible._only_last_unit_moved_may_undo_its_movement.";
    case eUndoRefusal::kMoveInProgress:
      return "undo_impossible_move_in_progress";
    case eUndoRefusal::kStartHexTaken:
      return "undo_impossible_start_hex_taken";
  }
  return nullptr;
}

eLandMoveRefusal CheckLandMove(const cWorld& world, const cJednostkaLadowa& unit, int tx, int ty) {
  const cMap& map = world.GetMap();
  if (!map.IsInside(unit.x, unit.y) || unit.inReserve) return eLandMoveRefusal::kNoUnit;
  if (world.turnState.move.unit != nullptr) return eLandMoveRefusal::kMoveInProgress;
  const auto& range = unit.MoveRange();
  const bool inRange =
      std::any_of(range.begin(), range.end(), [&](const sLandMoveEntry& e) { return e.x == tx && e.y == ty; });
  if (!inRange || !map.IsInside(tx, ty)) return eLandMoveRefusal::kNotInRange;
  const sHex& target = map.GetHex(tx, ty);
  if (target.unit != nullptr && target.unit != &unit) return eLandMoveRefusal::kTargetOccupied;
  return eLandMoveRefusal::kNone;
}

eLandMoveRefusal OrderLandMove(cWorld& world, cJednostkaLadowa& unit, int tx, int ty, bool human) {
  const cFrameworkLockGuard lock;
  const eLandMoveRefusal refusal = CheckLandMove(world, unit, tx, ty);
  if (refusal != eLandMoveRefusal::kNone) return refusal;
  if (!world.turnState.FindLandPath(world, unit, tx, ty)) return eLandMoveRefusal::kNoPath;
  sHex& start = world.GetMap().GetHex(unit.x, unit.y);
  if (start.unit == &unit) start.unit = nullptr;
  world.SetGameState(human ? kPhaseHumanMove : kPhaseComputerMove);
  return eLandMoveRefusal::kNone;
}

bool StepLandMove(cWorld& world) { return world.turnState.move.Step(world); }

namespace {

// The path cut where the move must end: before the first hex off the map or
// held by an enemy (one the mover did not see), and then back to the last
// hex no other unit holds, since two units never share a hex at the end of
// a move. Friendly and neutral units are passed on the way.
void CutPathAtBlock(const cMap& map, const cWorld& world, const cJednostkaLadowa& mover,
                    std::list<sPathStep>& path) {
  for (auto it = path.begin(); it != path.end(); ++it) {
    const sHex* hex = map.IsInside(it->x, it->y) ? &map.GetHex(it->x, it->y) : nullptr;
    if (hex == nullptr ||
        (hex->unit != nullptr && hex->unit != &mover && AreAtWar(world, mover.countryId, hex->unit->countryId))) {
      path.erase(it, path.end());
      break;
    }
  }
  while (!path.empty()) {
    const sHex& last = map.GetHex(path.back().x, path.back().y);
    if (last.unit == nullptr || last.unit == &mover) break;
    path.pop_back();
  }
}

}  // namespace

bool cLandMove::Step(cWorld& world) {
  ExpectFrameworkLockHeld(__FILE__, __LINE__);
  if (!unit) {
    path.clear();
    return false;
  }
  cMap& map = world.GetMap();
  cJednostkaLadowa& mover = *unit;
  const int country = mover.countryId;
  CutPathAtBlock(map, world, mover, path);
  if (!path.empty() && map.IsInside(mover.x, mover.y)) {
    newController = map.GetHex(mover.x, mover.y).controller;
    const sPathStep step = path.front();
    const sHex* entered = &map.GetHex(step.x, step.y);
    const int left = map.GetHex(mover.x, mover.y).controller;
    mover.x = step.x;
    mover.y = step.y;
    mover.AddActionPoints(-step.cost);
    const int c = entered->controller;
    const int w = entered->owner;
    if (!AreAtWar(world, country, c)) newController = c;
    if (PoliticalStrengthOf(world, country) >=
        PoliticalStrengthOf(world, left) + world.constants.politicalStrengthMargin) {
      newController = country;
    }
    // Land of an ally taken back from the enemy goes back to its owner.
    if (c != w && newController != c && newController != w && w != 0 && newController != 0 &&
        AreAllied(world, w, newController)) {
      newController = w;
    }
    CaptureHexAndSurroundings(world, newController, step.x, step.y, &world.turnState.undo);
    path.pop_front();
  } else {
    path.clear();
  }
  if (!path.empty()) return true;

  // The move is over: the unit stands on its final hex.
  if (map.IsInside(mover.x, mover.y)) map.GetHex(mover.x, mover.y).unit = &mover;
  const cCountry* owner = world.GetCountry(country);
  // A human country sees anew from where its units now stand: what the
  // unit walked away from goes back into the fog.
  if (owner && owner->human) RecalculateUnitsVisibility(world, *owner);
  unit = nullptr;
  newController = 0;
  moveTargetX = mover.x;
  moveTargetY = mover.y;
  return false;
}

eUndoRefusal CheckUndoLandMove(const cWorld& world, const cJednostkaLadowa* unit) {
  const cTurnState& state = world.turnState;
  if (state.undo.unit == nullptr) return eUndoRefusal::kNothingMoved;
  if (state.undo.unit != unit) return eUndoRefusal::kNotLastMovedUnit;
  if (state.move.unit == unit) return eUndoRefusal::kMoveInProgress;
  const cMap& map = world.GetMap();
  if (!map.IsInside(state.undo.startX, state.undo.startY)) return eUndoRefusal::kStartHexTaken;
  const cJednostka* there = map.GetHex(state.undo.startX, state.undo.startY).unit;
  if (there != nullptr && there != unit) return eUndoRefusal::kStartHexTaken;
  return eUndoRefusal::kNone;
}

eUndoRefusal UndoLandMove(cWorld& world, cJednostkaLadowa* unit) {
  const cFrameworkLockGuard lock;
  const eUndoRefusal refusal = CheckUndoLandMove(world, unit);
  if (refusal != eUndoRefusal::kNone) {
    LogLine(g_StringBase.GetText(UndoRefusalKey(refusal)));
    return refusal;
  }
  cTurnState& state = world.turnState;
  cMoveUndo& undo = state.undo;
  cMap& map = world.GetMap();
  LogLine(plat::Format(g_StringBase.GetText("conducting_undo_movement._hexes_to_change:%i,_start_coords(%i,%i)"),
                       static_cast<int>(undo.changedHexes.size()), undo.startX, undo.startY));
  if (map.IsInside(unit->x, unit->y) && map.GetHex(unit->x, unit->y).unit == unit) {
    map.GetHex(unit->x, unit->y).unit = nullptr;
  }
  unit->x = undo.startX;
  unit->y = undo.startY;
  map.GetHex(unit->x, unit->y).unit = unit;
  unit->SetActionPoints(undo.savedActionPoints);
  unit->movedOrDeployed = undo.savedMovedOrDeployed;
  for (const sChangedHex& changed : undo.changedHexes) {
    if (map.IsInside(changed.x, changed.y)) {
      SetHexController(map, map.GetHex(changed.x, changed.y), changed.previousController);
    }
  }
  state.SelectHex(world, undo.startX, undo.startY);
  unit->ComputeMoveRange(false);
  state.mode = unit->category == kCategoryAir ? 12 : kModeMove;
  undo.Clear();
  return eUndoRefusal::kNone;
}
