// The timed steps of a moving unit: one hex per delay, the clock's wrap,
// the end of a human and of a computer move, and the pace kept by late
// frames and by a delay of 0.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "rules/moving_unit_step.h"
#include "support/world_builders.h"
#include "world/game_phase.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

struct MovingUnitTest : ::testing::Test {
  MovingUnitTest() {
    g_pWorld = &world;
    cMap& map = world.GetMap();
    map.SetWidth(8);
    map.SetHeight(6);
    map.CreateHexes();
    for (sHex& hex : map.Hexes()) hex.terrain = 1;
    saved_human = g_Delays[kDelayHumanMoveBetween].load();
    saved_ai = g_Delays[kDelayAIMoveBetween].load();
    g_Delays[kDelayHumanMoveBetween] = 100.0f;
    g_Delays[kDelayAIMoveBetween] = 300.0f;
  }
  ~MovingUnitTest() override {
    g_Delays[kDelayHumanMoveBetween] = saved_human;
    g_Delays[kDelayAIMoveBetween] = saved_ai;
    for (sHex& hex : world.GetMap().Hexes()) hex.unit = nullptr;
    delete unit;
    g_pWorld = nullptr;
  }
  // A unit of the country on (1, 1), off its hex, walking (2, 1), (3, 1),
  // or on to (hexes, 1).
  void StartMove(bool human, int phase, int hexes = 3) {
    cCountry& country = twtest::AddCountry(world, 4, L"West");
    country.human = human;
    world.GetRelations().Reset(1);
    unit = new cJednostkaLadowa(&world);
    unit->countryId = country.id;
    unit->x = 1;
    unit->y = 1;
    unit->actionPoints = 8;
    cLandMove& move = world.turnState.move;
    move.unit = unit;
    for (int x = 2; x <= hexes; ++x) move.path.push_back({x, 1, 1});
    world.SetGameState(phase);
  }

  cWorld world;
  cJednostkaLadowa* unit = nullptr;
  float saved_human = 0, saved_ai = 0;
};

TEST_F(MovingUnitTest, OneHexPerHumanDelayThenTheTargetIsSelectedAndPhaseSevenReturns) {
  StartMove(true, kPhaseHumanMove);
  cMovingUnitClock clock;
  clock.SetLastStepMs(1000);
  EXPECT_FALSE(clock.Step(world, 1100));  // exactly the delay: not yet
  EXPECT_EQ(unit->x, 1);
  EXPECT_TRUE(clock.Step(world, 1101));
  EXPECT_EQ(unit->x, 2);
  EXPECT_EQ(unit->actionPoints, 7);
  EXPECT_EQ(world.GetGameState(), kPhaseHumanMove);
  EXPECT_FALSE(clock.Step(world, 1150));  // one hex per delay
  EXPECT_TRUE(clock.Step(world, 1202));
  EXPECT_EQ(unit->x, 3);
  EXPECT_EQ(world.GetGameState(), kPhaseHumanTurn);
  EXPECT_EQ(world.turnState.move.unit, nullptr);
  EXPECT_EQ(world.GetMap().GetHex(3, 1).unit, unit);
  EXPECT_EQ(world.turnState.selectedHex, &world.GetMap().GetHex(3, 1));
}

TEST_F(MovingUnitTest, ComputerMoveUsesItsOwnDelayAndGoesBackToPhaseNine) {
  StartMove(false, kPhaseComputerMove);
  cMovingUnitClock clock;
  clock.SetLastStepMs(0);
  EXPECT_FALSE(clock.Step(world, 200));
  EXPECT_TRUE(clock.Step(world, 301));
  EXPECT_TRUE(clock.Step(world, 602));
  EXPECT_EQ(world.GetGameState(), kPhaseComputerPlayers);
  // A computer move selects nothing.
  EXPECT_EQ(world.turnState.selectedHex, nullptr);
}

TEST_F(MovingUnitTest, ClockWrapBetweenTwoStepsStillCountsTheTimeThatPassed) {
  StartMove(true, kPhaseHumanMove);
  cMovingUnitClock clock;
  clock.SetLastStepMs(0xFFFFFFF0u);
  EXPECT_FALSE(clock.Step(world, 0x00000040u));  // 80 ms later
  EXPECT_TRUE(clock.Step(world, 0x00000060u));   // 112 ms later
  EXPECT_EQ(unit->x, 2);
}

TEST_F(MovingUnitTest, NothingStepsOutsideTheMovePhases) {
  StartMove(true, kPhaseHumanTurn);
  cMovingUnitClock clock;
  EXPECT_FALSE(clock.Step(world, 5000));
  EXPECT_EQ(unit->x, 1);
  EXPECT_EQ(world.GetGameState(), kPhaseHumanTurn);
}

TEST_F(MovingUnitTest, MovePhaseWithoutAMovingUnitEndsInsteadOfWaitingForEver) {
  StartMove(false, kPhaseComputerMove);
  world.turnState.move.unit = nullptr;
  cMovingUnitClock clock;
  EXPECT_FALSE(clock.Step(world, 5000));
  EXPECT_EQ(world.GetGameState(), kPhaseComputerPlayers);
}

// With no delay a move of any length is over in the frame that takes its
// first hex, and the unit stands on its last hex with every hex paid.
void ExpectWholePathInOneFrame(MovingUnitTest& test, bool human) {
  const int phase = human ? kPhaseHumanMove : kPhaseComputerMove;
  test.StartMove(human, phase, 7);
  g_Delays[human ? kDelayHumanMoveBetween : kDelayAIMoveBetween] = 0.0f;
  cMovingUnitClock clock;
  clock.SetLastStepMs(1000);
  EXPECT_FALSE(clock.Step(test.world, 1000));  // no time has passed at all
  EXPECT_TRUE(clock.Step(test.world, 1001));
  EXPECT_EQ(test.unit->x, 7);
  EXPECT_EQ(test.unit->actionPoints, 2);
  EXPECT_EQ(test.world.GetGameState(), phase - 1);
  EXPECT_EQ(test.world.turnState.move.unit, nullptr);
  EXPECT_EQ(test.world.GetMap().GetHex(7, 1).unit, test.unit);
}

TEST_F(MovingUnitTest, WithoutADelayAComputerMoveIsOverInOneFrame) { ExpectWholePathInOneFrame(*this, false); }

TEST_F(MovingUnitTest, WithoutADelayAHumanMoveIsOverInOneFrame) {
  ExpectWholePathInOneFrame(*this, true);
  EXPECT_EQ(world.turnState.selectedHex, &world.GetMap().GetHex(7, 1));
}

TEST_F(MovingUnitTest, ALateFrameTakesEveryHexDueButTheFirstHexOfAMoveIsOne) {
  StartMove(false, kPhaseComputerMove, 7);  // 300 ms a hex
  cMovingUnitClock clock;
  clock.SetLastStepMs(0);
  // The move before ended long ago: its time is no debt of this one.
  EXPECT_TRUE(clock.Step(world, 10000));
  EXPECT_EQ(unit->x, 2);
  // A frame 950 ms later: three hexes were due; the 50 ms left count on.
  EXPECT_TRUE(clock.Step(world, 10950));
  EXPECT_EQ(unit->x, 5);
  EXPECT_FALSE(clock.Step(world, 11200));
  EXPECT_TRUE(clock.Step(world, 11251));
  EXPECT_EQ(unit->x, 6);
  // The path ends within a late frame: the phase goes back at once.
  EXPECT_TRUE(clock.Step(world, 13000));
  EXPECT_EQ(unit->x, 7);
  EXPECT_EQ(world.GetGameState(), kPhaseComputerPlayers);
}

}  // namespace
