// The timed steps of a unit moving across the map, taken by the main
// thread's frame move for human and computer moves alike (phases 8 and 10):
// one hex each time the move delay of the settings has passed, so the pace
// is the player's and not the frame rate's. A frame that comes late takes
// every hex whose time has come; with a delay of 0 the whole path goes in
// one frame. When the path is used up, a human move selects its target hex (with the unit's
// range marked again when it can still move) and the phase goes back one
// (8 to 7, 10 to 9), which lets the waiting side go on.
#pragma once

#include <cstdint>

class cWorld;

class cMovingUnitClock {
 public:
  // Steps only in phases 8 and 10, only with a unit moving, and only when
  // more than the delay ("Delay/HumanMoveBetween" for a human unit,
  // "Delay/AIMoveBetween" otherwise) has passed since the last step (the
  // time wraps at 2^32 milliseconds). The first hex of a move is one step;
  // later in the same move every hex due by now is taken (a delay of 0: the
  // rest of the path). True when a step was taken.
  bool Step(cWorld& world, std::uint32_t nowMs);

  void SetLastStepMs(std::uint32_t ms) { last_step_ms_ = ms; }

 private:
  // One hex and what the unit sees from it; false when the path was used
  // up (the move is over and the phase handed back).
  bool StepOneHex(cWorld& world, int phase);

  std::uint32_t last_step_ms_ = 0;
  // A move is under way: its hexes are paced from its previous step, not
  // from the end of the move before it.
  bool in_move_ = false;
};
