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

namespace {

// Order modes the end of a human move leaves: move a land unit, rebase an
// air unit.

}  // namespace

bool cMovingUnitClock::Step(cWorld& world, std::uint32_t nowMs) {
  const int phase = world.GetGameState();
  if (phase != kPhaseHumanMove && phase != kPhaseComputerMove) return false;
  cTurnState& turn = world.turnState;
  cJednostkaLadowa* unit = turn.move.unit;
  if (unit == nullptr) {
    // Nothing walks (the unit left the world meanwhile): the waiting side
    // must not wait for ever.
    world.SetGameState(phase - 1);
    return false;
  }
  // Unsigned arithmetic: a wrapped clock still gives the right difference.
  const std::uint32_t elapsed = nowMs - last_step_ms_;
  const cCountry* owner = world.GetCountry(unit->countryId);
  const bool human = owner != nullptr && owner->human;
  const float delay = g_Delays[human ? kDelayHumanMoveBetween : kDelayAIMoveBetween].load();
  if (static_cast<double>(elapsed) <= static_cast<double>(delay)) return false;

  bool finished = false;
  if (StepLandMove(world)) {
    last_step_ms_ = nowMs;
  } else {
    finished = true;
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
      unit->RevealUnitsAround(true);
    }
    if (viewer->IsAtWarWith(unit->countryId)) unit->UpdateSpottedBy(viewer);
  }
  // Last: the phase hands the unit back to the side that waits for the move
  // (the worker reads the unit as soon as it sees the phase).
  if (finished) world.SetGameState(phase - 1);
  return true;
}
