// A small world for the computer opponent's economy: the air fixture's map
// and countries (country 1 the current country, at war with 2), a manual
// clock so the opponent's pauses cost nothing, its delays at 0, and the log
// written to the test's own folder.
#pragma once

#include <gtest/gtest.h>

#include "air_rules/air_fixture.h"
#include "app/settings.h"
#include "platform/clock.h"
#include "support/test_support.h"
#include "world/country.h"

namespace twtest {

class AiWorld : public AirWorld {
 public:
  AiWorld() : AirWorld({"ppppp", "ppppp", "ppppp"}) {
    ThreeCountries();
    for (int id = 1; id <= 3; ++id) Country(id).active = true;
    plat::SetClock(&clock);
    for (int d : {kDelayAIReplacementBefore, kDelayAIReplacementAfter}) {
      saved_[d == kDelayAIReplacementBefore ? 0 : 1] = g_Delays[d].load();
      g_Delays[d] = 0.0f;
    }
  }
  ~AiWorld() {
    g_Delays[kDelayAIReplacementBefore] = saved_[0];
    g_Delays[kDelayAIReplacementAfter] = saved_[1];
    plat::SetClock(nullptr);
  }

  // A land unit that has not acted in this impulse.
  cJednostkaLadowa& Fresh(int x, int y, int country, int type, int level, int strength) {
    cJednostkaLadowa& unit = AddUnit(x, y, country, type);
    unit.level = level;
    unit.strength = strength;
    unit.actionPoints = unit.startingActionPoints = 4;
    return unit;
  }

  plat::ManualClock clock;
  LogCapture log;

 private:
  float saved_[2] = {0.0f, 0.0f};
};

}  // namespace twtest
