#include "rules/moving_unit_step.h"

#include "app/settings.h"
#include "rules/land_move.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/map_modes.h"
#include "world/relations.h"
#include "world/world.h"

bool cMovingUnitClock::Step(cWorld& world, std::uint32_t nowMs) {
  const int phase = world.GetGameState();
  if (phase != kPhaseHumanMove && phase != kPhaseComputerMove) {
    in_move_ = false;
    return false;
  }
  cTurnState& turn = world.turnState;
  const cJednostkaLadowa* unit = turn.move.unit;
  if (unit == nullptr) {
    // Nothing walks (the unit left the world meanwhile): the waiting side
    // must not wait for ever.
    in_move_ = false;
    world.SetGameState(phase - 1);
    return false;
  }
  // Unsigned arithmetic: a wrapped clock still gives the right difference.
  const std::uint32_t elapsed = nowMs - last_step_ms_;
  const cCountry* owner = world.GetCountry(unit->countryId);
  const bool human = owner != nullptr && owner->human;
  const double delay = g_Delays[human ? kDelayHumanMoveBetween : kDelayAIMoveBetween].load();
  if (static_cast<double>(elapsed) <= delay) return false;

  if (!in_move_) {
    // The first hex of a move: the time since the move before is no debt.
    last_step_ms_ = nowMs;
    if (!StepOneHex(world, phase)) return true;
    in_move_ = true;
    if (delay >= 1.0) return true;
  }
  if (delay < 1.0) {
    // No delay: the rest of the path in this frame.
    while (StepOneHex(world, phase)) {
    }
    last_step_ms_ = nowMs;
    return true;
  }
  // Every hex whose time has come; the part of a delay left over counts
  // towards the next one, so a late frame does not slow the pace.
  const auto delayMs = static_cast<std::uint32_t>(delay);
  for (std::uint32_t due = (nowMs - last_step_ms_) / delayMs; due > 0; --due) {
    last_step_ms_ += delayMs;
    if (!StepOneHex(world, phase)) {
      last_step_ms_ = nowMs;
      break;
    }
  }
  return true;
}

bool cMovingUnitClock::StepOneHex(cWorld& world, int phase) {
  cTurnState& turn = world.turnState;
  cJednostkaLadowa* unit = turn.move.unit;
  bool finished = false;
  if (!StepLandMove(world)) {
    finished = true;
    in_move_ = false;
    turn.move.unit = nullptr;
    if (phase == kPhaseHumanMove) {
      const int x = turn.move.moveTargetX, y = turn.move.moveTargetY;
      turn.SelectHex(world, x, y);
      cMap& map = world.GetMap();
      if (map.IsInside(x, y)) {
        if (cJednostka* standing = map.GetHex(x, y).unit; standing != nullptr && standing->ComputeMoveRange(false) > 0) {
          turn.mode = standing->category == kCategoryAir ? kModeRebase : kModeMove;
        }
      }
    }
  }
  // What the moving unit sees, and whether the viewer sees it.
  if (const cCountry* viewer = turn.viewCountry) {
    if (unit->countryId == viewer->id || viewer->IsAlliedWith(unit->countryId)) {
      unit->RevealUnitsAround(world, true);
    }
    if (viewer->IsAtWarWith(unit->countryId)) unit->UpdateSpottedBy(world, viewer);
  }
  // Last: the phase hands the unit back to the side that waits for the move
  // (the worker reads the unit as soon as it sees the phase).
  if (finished) world.SetGameState(phase - 1);
  return !finished;
}
