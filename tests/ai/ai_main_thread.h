// The main thread's part of a computer move, for tests that run the worker's
// code on the test thread: a clock whose sleeps cost no time and, whenever
// the world waits in phase 10, step the moving unit along its path by the
// same rule the frame loop uses (cMovingUnitClock), so the unit spends its
// points, takes the hexes it passes and stops before an enemy. The clock
// and the phase before it come back at its end.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/clock.h"
#include "rules/land_move.h"
#include "rules/moving_unit_step.h"
#include "world/game_phase.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace twtest {

class RuleSteppingClock final : public plat::Clock {
 public:
  explicit RuleSteppingClock(cWorld& world)
      : world_(world), saved_clock_(&plat::GetClock()) {
    saved_phase_ = world_.GetGameState();
    world_.SetGameState(kPhaseComputerPlayers);
    plat::SetClock(this);
  }
  ~RuleSteppingClock() override {
    plat::SetClock(saved_clock_);
    world_.SetGameState(saved_phase_);
  }
  RuleSteppingClock(const RuleSteppingClock&) = delete;
  RuleSteppingClock& operator=(const RuleSteppingClock&) = delete;

  std::uint32_t TickCount() override { return now_; }
  void Sleep(int ms) override {
    now_ += static_cast<std::uint32_t>(ms > 0 ? ms : 0);
    if (world_.GetGameState() != kPhaseComputerMove) return;
    ++moves;
    // A path is never longer than the map is wide and high together; a
    // stepper that does not end is a fault of the move.
    for (int step = 0; step < 10000 && world_.GetGameState() == kPhaseComputerMove; ++step) {
      step_ms_ += 100000;
      stepper_.Step(world_, step_ms_);
    }
    EXPECT_NE(world_.GetGameState(), kPhaseComputerMove) << "the move never ended";
  }

  // Moves handed to the main thread.
  int moves = 0;

 private:
  cWorld& world_;
  plat::Clock* saved_clock_ = nullptr;
  int saved_phase_ = 0;
  // What the worker slept; the steps have a clock of their own, always
  // past the move delay.
  std::uint32_t now_ = 0;
  std::uint32_t step_ms_ = 0;
  cMovingUnitClock stepper_;
};

}  // namespace twtest
