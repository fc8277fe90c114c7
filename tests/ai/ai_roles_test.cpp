// The roles the computer gives its land units at the start of its planning,
// on a small world with a home supply city, a port, a front city and two
// enemy cities facing it: garrisons of the size each city asks for, the
// stop-gap garrison, the units sent against the enemy city that has had the
// least sent against it, to a weak front, toward the front, or kept back.
#include <gtest/gtest.h>

#include "ai/ai_operations.h"
#include "ai/ai_operations_fixture.h"
#include "world/ai_orders.h"
#include "world/country.h"

namespace {

using twtest::OperationsTest;

// Home (supply, 1, 2) and Front (5, 2) are Westland's, Port (2, 4) too;
// North (8, 1) and South (8, 3) Eastmark's. Land links Home-Front,
// Home-Port, Front-North, Front-South.
class AiRoles : public OperationsTest {
 protected:
  AiRoles() {
    home = &City(1, 2, L"Home", kCitySupply);
    port = &City(2, 4, L"Port", kCityPort);
    front = &City(5, 2, L"Front", kCityNormal);
    north = &City(8, 1, L"North", kCityNormal);
    south = &City(8, 3, L"South", kCityNormal);
    Finish({{home, front}, {home, port}, {front, north}, {front, south}});
  }
  void Assign() {
    Fronts();
    ai::ResetCityCounters(*w.world);
    ai::AssignUnitRoles(*w.world, Ai(), lists, fronts);
  }
  void ExpectOrder(const cJednostkaLadowa& unit, int order, const cCity* target) {
    EXPECT_EQ(unit.aiOrder, order) << unit.name;
    EXPECT_EQ(unit.aiTargetX, target != nullptr ? target->x : -1) << unit.name;
    EXPECT_EQ(unit.aiTargetY, target != nullptr ? target->y : -1) << unit.name;
  }

  cCity* home = nullptr;
  cCity* port = nullptr;
  cCity* front = nullptr;
  cCity* north = nullptr;
  cCity* south = nullptr;
};

TEST_F(AiRoles, GarrisonsAreOfTheSizeEachCityAsksFor) {
  // Held front: Westland's strength there is far above the enemy's.
  Land(9, 1, 2, 10, L"Enemy");
  cJednostkaLadowa& onPort = Land(2, 4, 1, 100, L"DivisionOnPort", home);
  cJednostkaLadowa& onHome = Land(1, 2, 1, 100, L"DivisionOnHome", home);
  cJednostkaLadowa& onFront = Land(5, 2, 1, 100, L"DivisionOnFront", home);
  cJednostkaLadowa& corps = Land(0, 1, 1, 100, L"CorpsNearHome", home, kUnitInfantryCorps);
  onHome.aiOrder = kAiHold;  // last turn's orders go
  Assign();
  ASSERT_EQ(front->aiFrontState, ai::kFrontHeld);

  ExpectOrder(onPort, kAiGarrison, port);       // a port asks for a division
  ExpectOrder(onHome, kAiGarrisonStopGap, home);  // a supply city for a corps
  ExpectOrder(corps, kAiGarrison, home);
  ExpectOrder(onFront, kAiGarrison, front);      // a held front city for a division
  EXPECT_TRUE(log.Contains(L"bu bu 1"));
  EXPECT_TRUE(log.Contains(L"bu bu 7"));
}

TEST_F(AiRoles, TheNearerUnitOfTheOtherSizeHoldsTheCityUntilTheRightOneArrives) {
  Land(9, 1, 2, 10, L"Enemy");
  Land(5, 2, 1, 100, L"DivisionOnFront", home);
  Land(2, 4, 1, 100, L"DivisionOnPort", home);
  // The only corps stands by the front, five hexes from Home: beyond its
  // four points.
  cJednostkaLadowa& corps = Land(6, 2, 1, 100, L"FarCorps", home, kUnitInfantryCorps);
  cJednostkaLadowa& division = Land(0, 2, 1, 100, L"NearDivision", home);
  Assign();
  ExpectOrder(corps, kAiGarrison, home);
  ExpectOrder(division, kAiGarrisonStopGap, home);
}

TEST_F(AiRoles, HeldFrontSendsEachUnitAgainstTheEnemyCityWithTheLeastSentAgainstIt) {
  Land(9, 1, 2, 10, L"Enemy");
  Land(5, 2, 1, 100, L"DivisionOnFront", home);
  Land(2, 4, 1, 100, L"DivisionOnPort", home);
  Land(1, 2, 1, 100, L"CorpsOnHome", home, kUnitInfantryCorps);
  cJednostkaLadowa& first = Land(5, 1, 1, 120, L"First", home);
  cJednostkaLadowa& second = Land(5, 3, 1, 100, L"Second", home);
  Fronts();
  ai::ResetCityCounters(*w.world);
  north->aiTurnCounter = 5.0f;  // already something sent north
  ASSERT_GT(first.GetEffectiveCombatStrength(), 5.0f);
  ai::AssignUnitRoles(*w.world, Ai(), lists, fronts);

  ExpectOrder(first, kAiAgainstCity, south);
  EXPECT_FLOAT_EQ(south->aiTurnCounter, first.GetEffectiveCombatStrength());
  ExpectOrder(second, kAiAgainstCity, north);
  EXPECT_FLOAT_EQ(north->aiTurnCounter, 5.0f + second.GetEffectiveCombatStrength());
}

TEST_F(AiRoles, NoAttackOnACityLeftAloneOrFullAndAUnitWithNoRoleIsLogged) {
  Land(9, 1, 2, 10, L"Enemy");
  Land(5, 2, 1, 100, L"DivisionOnFront", home);
  Land(2, 4, 1, 100, L"DivisionOnPort", home);
  Land(1, 2, 1, 100, L"CorpsOnHome", home, kUnitInfantryCorps);
  cJednostkaLadowa& unit = Land(5, 1, 1, 100, L"Waiting", home);
  north->aiAttackable = 0;
  Fronts();
  ai::ResetCityCounters(*w.world);
  ai::AssignUnitRoles(*w.world, Ai(), lists, fronts);
  ExpectOrder(unit, kAiAgainstCity, south);

  // South's node already counts more own units than a front city may take.
  Ai().aiData.maxUnitCountOnFront = -1;
  Assign();
  ExpectOrder(unit, kAiIdle, nullptr);
  EXPECT_TRUE(log.Contains(L"ERROR: Jednostka Waiting nieprzyporządkowana do żadnego przypadku!"));
}

TEST_F(AiRoles, WeakFrontGetsSupportAndTheUnitsBehindGoTowardTheFrontOrStayInReserve) {
  // Eastmark is far stronger at the front: the front is weak or critical.
  Land(8, 1, 2, 900, L"Enemy north");
  Land(8, 3, 2, 900, L"Enemy south");
  Land(5, 2, 1, 100, L"CorpsOnFront", home, kUnitInfantryCorps);
  Land(1, 2, 1, 100, L"CorpsOnHome", home, kUnitInfantryCorps);
  Land(2, 4, 1, 100, L"DivisionOnPort", home);
  cJednostkaLadowa& support = Land(5, 1, 1, 100, L"Support", home);
  cJednostkaLadowa& behind = Land(0, 1, 1, 100, L"Behind", home);
  cJednostkaLadowa& cutOff = Land(0, 3, 1, 100, L"CutOff");  // no supply city: no rail to the front
  cJednostkaLadowa& tookCity = Land(3, 0, 1, 100, L"TookCity", home);
  Order(tookCity, kAiTookCity, 3, 0);
  Assign();
  ASSERT_NE(front->aiFrontState, ai::kFrontHeld);
  ASSERT_EQ(home->aiFrontState, ai::kNoFront);

  ExpectOrder(support, kAiToLine, front);
  ExpectOrder(behind, kAiToFront, front);
  ExpectOrder(cutOff, kAiReserve, nullptr);
  // A city taken last turn is held on as a stop-gap, its target kept.
  EXPECT_EQ(tookCity.aiOrder, kAiGarrisonStopGap);
  EXPECT_EQ(tookCity.aiTargetX, 3);
  EXPECT_EQ(tookCity.aiTargetY, 0);
}

}  // namespace
