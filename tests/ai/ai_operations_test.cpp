// The computer's operational moves, follow-up orders and build-up on a small
// world, with the moves stepped by the land move rules: who holds instead of
// moving, who is ready when the build-up cannot go on, how a garrison takes
// a hex another unit stands on, where an approach ends, which enemy city an
// idle unit follows up on, and which units gather at a staging city.
#include <gtest/gtest.h>

#include "ai/ai_operations.h"
#include "ai/ai_operations_fixture.h"
#include "world/ai_orders.h"
#include "world/country.h"

namespace {

using twtest::OperationsTest;

class AiOperations : public OperationsTest {};

TEST_F(AiOperations, UnitsOnAStrongFortificationHoldInsteadOfMoving) {
  Finish({});
  cJednostkaLadowa& approach = Land(1, 0, 1, 100, L"Approach");
  Order(approach, kAiApproach, 5, 0);
  cJednostkaLadowa& toFront = Land(1, 2, 1, 100, L"ToFront");
  Order(toFront, kAiToFront, 5, 2);
  cJednostkaLadowa& buildUp = Land(1, 4, 1, 100, L"BuildUp");
  Order(buildUp, kAiBuildUp, 5, 4);
  Ai().aiData.currentTargets = {{9, 4, -1}};
  for (const cJednostkaLadowa* unit : {&approach, &toFront, &buildUp}) w.Hex(unit->x, unit->y).fortification = 6;
  // At the hold level itself a unit still moves.
  cJednostkaLadowa& mover = Land(0, 3, 1, 100, L"Mover");
  Order(mover, kAiToFront, 4, 3);
  w.Hex(0, 3).fortification = 5;

  EXPECT_EQ(ai::ExecuteOperationalMoves(*w.world, Ai(), Lists(), {}), 1);
  for (const cJednostkaLadowa* unit : {&approach, &toFront, &buildUp}) {
    EXPECT_EQ(unit->aiOrder, kAiHold) << unit->name;
    EXPECT_EQ(unit->actionPoints, 4) << unit->name;
    EXPECT_EQ(unit->x, 1) << unit->name;
    EXPECT_EQ(w.Hex(unit->x, unit->y).unit, unit) << unit->name;
  }
  EXPECT_TRUE(Logged(L"Approach holds (1, 0) at all cost"));
  EXPECT_EQ(mover.aiOrder, kAiToFront);
  EXPECT_EQ(mover.x, 4);
  EXPECT_EQ(mover.y, 3);
  EXPECT_EQ(w.Hex(4, 3).unit, &mover);
}

TEST_F(AiOperations, BuildUpWithoutUltimateTargetHeadsForTheTargetAndIsReadyWhenItCannotMove) {
  Finish({});
  Ai().aiData.currentTargets = {{10, 0, -1}, {9, 2, -1}};
  cJednostkaLadowa& walker = Land(2, 2, 1, 100, L"Walker");
  Order(walker, kAiBuildUp, 5, 0);
  // Hemmed in by enemies on every side: no hex to go to.
  cJednostkaLadowa& boxed = Land(3, 4, 1, 100, L"Boxed");
  Order(boxed, kAiBuildUp, 5, 4);
  for (int dir = 0; dir < 6; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(3, 4, dir, nx, ny);
    if (w.Map().IsInside(nx, ny)) Land(nx, ny, 2, 100, L"Guard");
  }

  ai::ExecuteOperationalMoves(*w.world, Ai(), Lists(), {});
  EXPECT_EQ(boxed.aiOrder, kAiBuildUpStuck);
  EXPECT_EQ(boxed.actionPoints, 4);
  EXPECT_EQ(boxed.x, 3);
  // The walker heads for the nearer target (9, 2), not its staging hex.
  EXPECT_EQ(walker.aiOrder, kAiBuildUp);
  EXPECT_LT(walker.actionPoints, 4);
  // Four points straight toward (9, 2); toward (5, 0) it would end 4 away.
  EXPECT_EQ(HexDistance(walker.x, walker.y, 9, 2), 3);
}

TEST_F(AiOperations, GarrisonTakesItsCityAfterTheUnitOnItStepsAsideAndReleasesTheStopGaps) {
  Finish({});
  cJednostkaLadowa& sitter = Land(4, 2, 1, 100, L"Sitter");
  Order(sitter, kAiGarrisonStopGap, 4, 2);
  cJednostkaLadowa& stopGap = Land(0, 4, 1, 100, L"StopGap");
  Order(stopGap, kAiGarrisonStopGap, 4, 2);
  cJednostkaLadowa& garrison = Land(1, 2, 1, 50, L"Garrison");
  Order(garrison, kAiGarrison, 4, 2);

  ai::ExecuteOperationalMoves(*w.world, Ai(), Lists(), {});
  EXPECT_EQ(garrison.x, 4);
  EXPECT_EQ(garrison.y, 2);
  EXPECT_EQ(w.Hex(4, 2).unit, &garrison);
  EXPECT_FALSE(sitter.x == 4 && sitter.y == 2);
  EXPECT_EQ(w.Hex(sitter.x, sitter.y).unit, &sitter);
  for (const cJednostkaLadowa* released : {&sitter, &stopGap}) {
    EXPECT_EQ(released->aiOrder, kAiIdle) << released->name;
    EXPECT_EQ(released->aiTargetX, -1) << released->name;
  }
  // Released before its pass, the far stop-gap did not set out.
  EXPECT_EQ(stopGap.x, 0);
  EXPECT_EQ(stopGap.actionPoints, 4);
}

TEST_F(AiOperations, AGarrisonWhoseCityCannotBeClearedStopsBesideItAndTheStopGapsStay) {
  Finish({});
  cJednostkaLadowa& sitter = Land(4, 2, 1, 100, L"Sitter");
  sitter.actionPoints = 0;  // spent: it cannot make room
  Order(sitter, kAiGarrisonStopGap, 4, 2);
  cJednostkaLadowa& stopGap = Land(4, 4, 1, 100, L"StopGap");
  Order(stopGap, kAiGarrisonStopGap, 4, 2);
  cJednostkaLadowa& garrison = Land(1, 2, 1, 50, L"Garrison");
  Order(garrison, kAiGarrison, 4, 2);

  ai::ExecuteOperationalMoves(*w.world, Ai(), Lists(), {});
  EXPECT_EQ(w.Hex(4, 2).unit, &sitter);
  EXPECT_EQ(HexDistance(garrison.x, garrison.y, 4, 2), 1);
  EXPECT_EQ(sitter.aiOrder, kAiGarrisonStopGap);
  EXPECT_EQ(stopGap.aiOrder, kAiGarrisonStopGap);
  EXPECT_EQ(stopGap.aiTargetX, 4);
}

TEST_F(AiOperations, ApproachEndsBesideTheEnemyNearestTheTargetElseOnTheTarget) {
  Finish({});
  Land(8, 0, 2, 100, L"North enemy");
  cJednostkaLadowa& south = Land(8, 4, 2, 100, L"South enemy");
  cJednostkaLadowa& approach = Land(5, 2, 1, 100, L"Approach");
  Order(approach, kAiApproach, 10, 4);
  cJednostkaLadowa& quiet = Land(1, 0, 1, 100, L"Quiet");
  Order(quiet, kAiApproach, 3, 1);

  ai::ExecuteOperationalMoves(*w.world, Ai(), Lists(), {});
  EXPECT_EQ(HexDistance(approach.x, approach.y, south.x, south.y), 1) << approach.x << "," << approach.y;
  EXPECT_GE(approach.x, 7);
  // Nobody outside its side within reach: straight to the target.
  EXPECT_EQ(quiet.x, 3);
  EXPECT_EQ(quiet.y, 1);
}

TEST_F(AiOperations, ToFrontGoesByRailWhenTheFrontIsAHopOrMoreAway) {
  cCity& a = City(0, 2, L"A");
  cCity& b = City(3, 0, L"B");
  cCity& d = City(6, 2, L"D");
  Finish({{&a, &b}, {&b, &d}});
  cJednostkaLadowa& unit = Land(0, 1, 1, 100, L"Rail", &a);
  Order(unit, kAiToFront, d.x, d.y, d.x, d.y);

  ai::ExecuteOperationalMoves(*w.world, Ai(), Lists(), {});
  EXPECT_LE(HexDistance(unit.x, unit.y, d.x, d.y), 1);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_EQ(Ai().strategicMovementPoints, 18);
}

TEST_F(AiOperations, FollowUpOnTheNearestEnemyCityWithinReachForIdleAndReserveUnitsThatCanMove) {
  City(1, 2, L"Home");
  cCity& target = City(9, 2, L"Target");
  City(8, 0, L"Mine", kCityResources);  // nearer, but resources
  cCity& neutral = City(5, 4, L"Neutral");
  w.Control(5, 4, 4);
  City(11, 4, L"Farther");
  Finish({});
  ASSERT_EQ(target.GetControllerId(), 2);
  ASSERT_EQ(neutral.GetControllerId(), 4);

  cJednostkaLadowa& idle = Land(5, 2, 1, 100, L"Idle");
  cJednostkaLadowa& reserve = Land(5, 1, 1, 100, L"Reserve");
  reserve.aiOrder = kAiReserve;
  cJednostkaLadowa& garrison = Land(3, 2, 1, 100, L"Garrison");
  Order(garrison, kAiGarrison, 1, 2);
  cJednostkaLadowa& spent = Land(4, 3, 1, 100, L"Spent");
  spent.actionPoints = 0;
  cJednostkaLadowa& far = Land(0, 0, 1, 100, L"Far");

  int x = -1, y = -1;
  ASSERT_TRUE(ai::FindFollowUpTarget(*w.world, idle, x, y));
  EXPECT_EQ(x, 9);
  EXPECT_EQ(y, 2);
  EXPECT_FALSE(ai::FindFollowUpTarget(*w.world, far, x, y));  // 9 hexes away

  EXPECT_TRUE(ai::AssignFollowUpMoves(*w.world, Ai(), Lists()));
  for (const cJednostkaLadowa* unit : {&idle, &reserve}) {
    EXPECT_EQ(unit->aiOrder, kAiApproach) << unit->name;
    EXPECT_EQ(unit->aiTargetX, 9) << unit->name;
    EXPECT_EQ(unit->aiTargetY, 2) << unit->name;
  }
  EXPECT_EQ(garrison.aiOrder, kAiGarrison);
  EXPECT_EQ(spent.aiOrder, kAiIdle);
  EXPECT_EQ(far.aiOrder, kAiIdle);
  // Nobody is left to give an order to.
  idle.aiOrder = reserve.aiOrder = kAiGarrison;
  EXPECT_FALSE(ai::AssignFollowUpMoves(*w.world, Ai(), Lists()));
}

TEST_F(AiOperations, AUnitKilledSinceTheListsWereBuiltIsNeitherMovedNorOrderedNorKept) {
  cCity& home = City(1, 2, L"Home");
  cCity& stage = City(5, 1, L"Stage");
  cCity& goal = City(9, 2, L"Goal");
  Finish({{&home, &stage}, {&stage, &goal}});
  Ai().aiData.currentTargets = {{9, 2, -1}};
  cJednostkaLadowa& living = Land(1, 1, 1, 100, L"Living", &home);
  Order(living, kAiToFront, 5, 1);
  cJednostkaLadowa& doomed = Land(2, 3, 1, 200, L"Doomed", &home);
  Order(doomed, kAiToFront, 5, 1);
  ai::sAiUnitLists& stale = Lists();
  ASSERT_EQ(stale.ownLand.size(), 2u);
  KillUnitInWorld(*w.world, &doomed);  // the lists still point at it

  EXPECT_EQ(ai::ExecuteOperationalMoves(*w.world, Ai(), stale, {}), 1);
  EXPECT_EQ(stale.ownLand, std::vector<cJednostkaLadowa*>{&living});
  EXPECT_TRUE(Logged(L"operational moves done, 1 of 1 land units moved"));

  cJednostkaLadowa& second = Land(2, 3, 1, 200, L"Second", &home);
  ai::BuildUnitLists(*w.world, Ai(), stale);
  KillUnitInWorld(*w.world, &second);
  living.aiOrder = kAiIdle;
  EXPECT_EQ(ai::BuildUpForInvasion(*w.world, Ai(), stale), 1);
  EXPECT_EQ(living.aiOrder, kAiBuildUp);

  cJednostkaLadowa& third = Land(2, 3, 1, 200, L"Third", &home);
  ai::BuildUnitLists(*w.world, Ai(), stale);
  KillUnitInWorld(*w.world, &third);
  living.aiOrder = kAiIdle;
  living.actionPoints = 4;
  EXPECT_TRUE(ai::AssignFollowUpMoves(*w.world, Ai(), stale));
  EXPECT_EQ(stale.ownLand, std::vector<cJednostkaLadowa*>{&living});
}

// --- build-up ---

class AiBuildUp : public OperationsTest {
 protected:
  AiBuildUp() {
    home = &City(1, 2, L"Home");
    stage = &City(5, 1, L"Stage");
    side = &City(4, 4, L"Side");
    goal = &City(9, 2, L"Goal");
    Finish({{home, stage}, {home, side}, {stage, goal}, {side, goal}});
  }
  cCity* home = nullptr;
  cCity* stage = nullptr;
  cCity* side = nullptr;
  cCity* goal = nullptr;
};

TEST_F(AiBuildUp, FreeUnitsGatherAtTheOwnCityLinkedNearestTheTarget) {
  cJednostkaLadowa& idle = Land(1, 1, 1, 100, L"Idle", home);
  cJednostkaLadowa& reserve = Land(2, 3, 1, 100, L"Reserve", home);
  reserve.aiOrder = kAiReserve;
  cJednostkaLadowa& attacker = Land(2, 1, 1, 100, L"Attacker", home);
  Order(attacker, kAiAgainstCity, 9, 2);
  cJednostkaLadowa& garrison = Land(1, 2, 1, 100, L"Garrison", home);
  Order(garrison, kAiGarrison, 1, 2);
  cJednostkaLadowa& unsupplied = Land(0, 0, 1, 100, L"Unsupplied");  // no rail without a supply city
  Ai().aiData.currentTargets = {{9, 2, -1}};

  EXPECT_EQ(ai::BuildUpForInvasion(*w.world, Ai(), Lists()), 3);
  for (const cJednostkaLadowa* unit : {&idle, &reserve, &attacker}) {
    EXPECT_EQ(unit->aiOrder, kAiBuildUp) << unit->name;
    EXPECT_EQ(unit->aiTargetX, stage->x) << unit->name;
    EXPECT_EQ(unit->aiTargetY, stage->y) << unit->name;
  }
  EXPECT_EQ(garrison.aiOrder, kAiGarrison);
  EXPECT_EQ(unsupplied.aiOrder, kAiIdle);
}

TEST_F(AiBuildUp, GatheringStopsOnceTheRequiredStrengthIsThere) {
  cJednostkaLadowa& strong = Land(1, 1, 1, 200, L"Strong", home);
  cJednostkaLadowa& weak = Land(2, 3, 1, 100, L"Weak", home);
  const float needed = strong.GetEffectiveCombatStrength();
  ASSERT_GT(needed, weak.GetEffectiveCombatStrength());
  Ai().aiData.currentTargets = {{9, 2, static_cast<int>(needed)}};

  EXPECT_EQ(ai::BuildUpForInvasion(*w.world, Ai(), Lists()), 1);
  EXPECT_EQ(strong.aiOrder, kAiBuildUp);
  EXPECT_EQ(weak.aiOrder, kAiIdle);
}

TEST_F(AiBuildUp, TargetsOfCountriesAtPeaceAreLeftOutAndWithoutStagingNothingGathers) {
  cJednostkaLadowa& idle = Land(1, 1, 1, 100, L"Idle", home);
  w.Control(9, 2, 4);  // the neutral's now
  Ai().aiData.currentTargets = {{9, 2, -1}};
  EXPECT_EQ(ai::BuildUpForInvasion(*w.world, Ai(), Lists()), 0);
  EXPECT_TRUE(Logged(L"WARNING: cannot build up forces for invasion! No own/allied cities near invasion target!"));
  EXPECT_EQ(idle.aiOrder, kAiIdle);
}

// A staging city the strategic move reaches (it lies in the side's land)
// but to which the cities graph has no road through the side's own cities
// is passed over for one that has: the order on it would be refused for
// want of a route.
TEST_F(AiOperations, BuildUpSendsAUnitOnlyToAStagingCityItsSidesCitiesLeadTo) {
  cCity& home = City(1, 2, L"Home");
  cCity& gap = City(3, 1, L"Gap");
  cCity& stage = City(5, 1, L"Stage");
  cCity& mid = City(2, 4, L"Mid");
  cCity& side = City(4, 4, L"Side");
  City(9, 1, L"North Goal");
  City(9, 4, L"South Goal");
  w.Control(3, 1, 2);  // the enemy's
  cCity& northGoal = *w.Hex(9, 1).city;
  cCity& southGoal = *w.Hex(9, 4).city;
  Finish({{&home, &gap}, {&gap, &stage}, {&stage, &northGoal}, {&home, &mid}, {&mid, &side}, {&side, &southGoal}});
  ASSERT_EQ(home.GetHopsTo(stage), home.GetHopsTo(side));  // the cut-off city would come first
  Ai().aiData.currentTargets = {{9, 1, -1}, {9, 4, -1}};
  cJednostkaLadowa& unit = Land(1, 1, 1, 100, L"Mover", &home);

  EXPECT_EQ(ai::BuildUpForInvasion(*w.world, Ai(), Lists()), 1);
  EXPECT_EQ(unit.aiOrder, kAiBuildUp);
  EXPECT_EQ(unit.aiUltimateTargetX, side.x);
  EXPECT_EQ(unit.aiUltimateTargetY, side.y);
  EXPECT_FALSE(Logged(L"Nie znaleziono sciezki"));
}

}  // namespace
