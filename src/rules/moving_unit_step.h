// The timed step of a unit moving across the map, taken by the main
// thread's frame move for human and computer moves alike (phases 8 and 10):
// one hex each time the move delay of the settings has passed. When the
// path is used up, a human move selects its target hex (with the unit's
// range marked again when it can still move) and the phase goes back one
// (8 to 7, 10 to 9), which lets the waiting side go on.
#pragma once

#include <cstdint>

class cWorld;

class cMovingUnitClock {
 public:
  // Takes at most one step: only in phases 8 and 10, only with a unit
  // moving, and only when more than the delay ("Delay/HumanMoveBetween" for
  // a human unit, "Delay/AIMoveBetween" otherwise) has passed since the last
  // step (the time wraps at 2^32 milliseconds). True when a step was taken.
  bool Step(cWorld& world, std::uint32_t nowMs);

  std::uint32_t LastStepMs() const { return last_step_ms_; }
  void SetLastStepMs(std::uint32_t ms) { last_step_ms_ = ms; }

 private:
  std::uint32_t last_step_ms_ = 0;
};
