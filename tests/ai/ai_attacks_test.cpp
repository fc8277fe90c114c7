// The computer's attacks on small worlds: which defender it attacks, the
// obvious move onto an empty enemy city, the plan order and safety, and the
// phases ending. Moves are stepped by the land move rules on the worker's
// first poll (RuleSteppingClock stands in for the main thread).
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/ai_attacks.h"
#include "ai/ai_fixture.h"
#include "ai/ai_main_thread.h"
#include "ai/ai_report_view.h"
#include "ai/ai_test_units.h"
#include "ai/ai_unit_lists.h"
#include "app/main_thread_queue.h"
#include "world/cities.h"
#include "world/game_phase.h"
#include "world/land_attack_plan.h"
#include "world/land_movement.h"

namespace {

using twtest::AiWorld;
using twtest::ReportView;

class AiAttacks : public ::testing::Test {
 protected:
  AiAttacks() : stepper_(*w_.world) {
    saved_ = LandUnitConstants();
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    sScenarioConstants& k = w_.world->constants;
    twtest::SetSmallBattleTables(k);
    for (std::size_t i = 0; i < kDelays.size(); ++i) savedDelays_[i] = g_Delays[kDelays[i]].load();
  }
  ~AiAttacks() override {
    for (std::size_t i = 0; i < kDelays.size(); ++i) g_Delays[kDelays[i]] = savedDelays_[i];
    LandUnitConstants() = saved_;
  }
  cJednostkaLadowa& Unit(int x, int y, int country, int strength) {
    cJednostkaLadowa& unit = w_.Fresh(x, y, country, kUnitInfantryDivision, 1, strength);
    unit.effectiveness = 100;
    return unit;
  }
  cCountry& Ai() { return w_.Country(1); }
  ai::sAiUnitLists Lists() {
    ai::sAiUnitLists lists;
    ai::BuildUnitLists(*w_.world, Ai(), lists);
    return lists;
  }
  int Count(const wchar_t* line) {
    const auto lines = w_.log.Lines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), std::wstring(line)));
  }

  AiWorld w_;
  twtest::RuleSteppingClock stepper_;
  sLandUnitConstants saved_;
  static constexpr std::array<int, 3> kDelays{kDelayAICombatBefore, kDelayAICombatResult, kDelayAIMoveAfter};
  std::array<float, 3> savedDelays_{};
};

TEST_F(AiAttacks, AttacksTheWeakNeighbourAndLeavesTheStrongOne) {
  // Two attackers, each next to one enemy only, at the two ends of a
  // 5 x 3 plain.
  cJednostkaLadowa& weak = Unit(4, 1, 2, 1);
  cJednostkaLadowa& strong = Unit(0, 1, 2, 10);
  cJednostkaLadowa& nearWeak = Unit(4, 0, 1, 10);
  cJednostkaLadowa& nearStrong = Unit(0, 0, 1, 3);
  nearWeak.actionPoints = nearStrong.actionPoints = 2;  // no room to go elsewhere
  nearWeak.startingActionPoints = nearStrong.startingActionPoints = 2;
  w_.world->turnState.showActions = false;
  ai::sAiUnitLists lists = Lists();

  EXPECT_EQ(ai::OneSideAttacks(*w_.world, Ai(), lists), 1);
  EXPECT_TRUE(!IsUnitInWorldLists(*w_.world, &weak) || weak.wasAttacked);
  EXPECT_FALSE(strong.wasAttacked);
  // A one-sided battle costs the attacker its points (the flags are for
  // attacks from several sides). The next search finds only the plan on
  // the strong enemy, not good enough, and the phase ends.
  EXPECT_EQ(nearWeak.actionPoints, 0);
  EXPECT_EQ(nearStrong.actionPoints, 2);
  EXPECT_EQ(nearStrong.x, 0);
  EXPECT_EQ(Count(L"================= LISTA ATAKÓW JEDN. SORT !!!!============="), 2);
  // The lists never keep a unit the battle killed.
  for (cJednostkaLadowa* unit : lists.enemyLand) EXPECT_TRUE(IsUnitInWorldLists(*w_.world, unit));
  // Nobody watches: the battle's moment for the player is not waited.
  EXPECT_LT(stepper_.TickCount(), 1000u);
}

TEST_F(AiAttacks, AShownAttackMarksTheTargetAndShowsTheReportOnlyWithAResultDelay) {
  SetMainThreadToCurrent();
  auto* view = new ReportView(*w_.world);
  w_.world->SetView(std::unique_ptr<cWorldView>(view));
  w_.world->turnState.showActions = true;
  g_Delays[kDelayAICombatBefore] = 300.0f;
  g_Delays[kDelayAICombatResult] = 2500.0f;
  g_Delays[kDelayAIMoveAfter] = 0.0f;
  cJednostkaLadowa& first = Unit(0, 1, 2, 1);
  cJednostkaLadowa& second = Unit(4, 1, 2, 1);
  first.visible = second.visible = true;
  // One battle's points each, standing next to its target.
  for (int x : {0, 4}) Unit(x, 0, 1, 10).actionPoints = 2;
  ai::sAiUnitLists lists = Lists();

  EXPECT_EQ(ai::OneSideAttacks(*w_.world, Ai(), lists), 2);
  EXPECT_EQ(view->reports, 2);
  EXPECT_EQ(view->lastDisplayMs, 2500.0f);
  const auto followed = view->Followed();
  EXPECT_NE(std::find(followed.begin(), followed.end(), std::pair{0, 1}), followed.end());
  EXPECT_NE(std::find(followed.begin(), followed.end(), std::pair{4, 1}), followed.end());
  // Both pauses before each battle and the battle's second.
  EXPECT_GE(stepper_.TickCount(), 2u * (600u + 1000u));
  EXPECT_TRUE(w_.Hex(0, 1).HasNoMarks() && w_.Hex(4, 1).HasNoMarks()) << "the target's mark is taken off";

  // Without a result delay the report stays away, also for a visible attack.
  g_Delays[kDelayAICombatResult] = 0.0f;
  cJednostkaLadowa& third = Unit(2, 1, 2, 1);
  third.visible = true;
  Unit(2, 0, 1, 10).actionPoints = 2;
  lists = Lists();
  EXPECT_EQ(ai::OneSideAttacks(*w_.world, Ai(), lists), 1);
  EXPECT_EQ(view->reports, 2);
  w_.world->SetView(nullptr);
}

TEST_F(AiAttacks, AUnitWithNowhereToMakeRoomStillAttacksFromItsHex) {
  // Its two points would take it only to hexes next to the target or off
  // the map: it cannot make room, yet it attacks from where it stands.
  cJednostkaLadowa& defender = Unit(1, 1, 2, 1);
  cJednostkaLadowa& attacker = Unit(1, 0, 1, 10);
  attacker.actionPoints = 1;
  ai::sAiUnitLists lists = Lists();
  EXPECT_EQ(ai::OneSideAttacks(*w_.world, Ai(), lists), 1);
  EXPECT_TRUE(!IsUnitInWorldLists(*w_.world, &defender) || defender.strength < 1);
  EXPECT_EQ(stepper_.moves, 0);
}

TEST_F(AiAttacks, MultipleDirectionsGatherAttackersAndEndWhenNothingIsLeft) {
  // A defender in the middle, two attackers beside it (column 2 from two
  // sides) and a third a step away: the three sides together reach the
  // column 4 the preferences ask for, the two in place alone do not.
  cJednostkaLadowa& defender = Unit(2, 1, 2, 10);
  cJednostkaLadowa& left = Unit(1, 1, 1, 10);
  cJednostkaLadowa& right = Unit(3, 1, 1, 10);
  cJednostkaLadowa& walker = Unit(0, 2, 1, 10);
  Ai().aiData.multipleSideAttackPreferences = {4, 4, 99};
  ai::sAiUnitLists lists = Lists();

  EXPECT_EQ(ai::MultipleDirectionAttacks(*w_.world, Ai(), lists), 1);
  EXPECT_TRUE(!IsUnitInWorldLists(*w_.world, &defender) || defender.wasAttacked);
  EXPECT_TRUE(walker.attacked) << "the third attacker walked up to join";
  EXPECT_TRUE(left.attacked && right.attacked);
  EXPECT_EQ(left.x, 1) << "an attacker in place does not make room";
  EXPECT_EQ(stepper_.moves, 1);
  EXPECT_EQ(HexDistance(walker.x, walker.y, 2, 1), 1);
  EXPECT_EQ(Count(L"[AI] ATAKI WIELOKIERUNKOWE"), 1);
  EXPECT_EQ(Count(L"Nie było mozliwosci zrobienia ataku wielokier. na 5:1 lub lepiej, kończe wiec"), 1);
}

TEST_F(AiAttacks, BombersMakeAWeakAttackFromSeveralSidesAcceptable) {
  cJednostkaLadowa& defender = Unit(2, 1, 2, 10);
  defender.visible = true;
  cJednostkaLadowa& attacker = Unit(1, 1, 1, 10);
  Ai().aiData.multipleSideAttackPreferences = {7, 1, 1};
  ai::sAiUnitLists lists = Lists();
  // Without air support the column-1 plan is below every preference.
  EXPECT_EQ(ai::MultipleDirectionAttacks(*w_.world, Ai(), lists), 0);
  EXPECT_EQ(attacker.actionPoints, 4);

  cJednostkaLotnicza& bomber = w_.AddAir(0, 0, 1, kUnitTacticalBomber, 10.0f);
  const int points = bomber.actionPoints;
  ASSERT_GT(points, 0);
  lists = Lists();
  ai::sAttackPlan plan = ai::BuildPlanFromPlace(*w_.world, Ai(), lists, defender);
  plan.CollectStrikeUnits(*w_.world, lists);
  plan.CollectInterceptors(*w_.world);
  plan.CountGoodStrikes();
  ASSERT_EQ(plan.strikeUnits, std::vector<cJednostkaLotnicza*>{&bomber});
  EXPECT_TRUE(plan.interceptors.empty());
  EXPECT_EQ(plan.goodStrikes, points) << "every point of an unopposed bomber counts";

  EXPECT_EQ(ai::MultipleDirectionAttacks(*w_.world, Ai(), lists), 1);
  EXPECT_TRUE(!IsUnitInWorldLists(*w_.world, &bomber) || bomber.actionPoints < points);
  for (cJednostkaLotnicza* unit : lists.ownAir) EXPECT_TRUE(IsUnitInWorldLists(*w_.world, unit));
}

TEST_F(AiAttacks, NoAcceptablePlanEndsThePhaseWithoutAMove) {
  Unit(2, 1, 2, 10);
  cJednostkaLadowa& attacker = Unit(0, 1, 1, 1);
  ai::sAiUnitLists lists = Lists();
  EXPECT_EQ(ai::MultipleDirectionAttacks(*w_.world, Ai(), lists), 0);
  EXPECT_EQ(ai::OneSideAttacks(*w_.world, Ai(), lists), 0);
  EXPECT_EQ(attacker.x, 0);
  EXPECT_FALSE(attacker.attacked);
  EXPECT_EQ(stepper_.moves, 0);
}

TEST_F(AiAttacks, ObviousMoveTakesTheNearestEmptyEnemyCityOnly) {
  cCity* resources = w_.AddCity(1, 0, kCityResources);
  cCity* held = w_.AddCity(3, 2, kCityNormal);
  cCity* empty = w_.AddCity(3, 0, kCityNormal);
  for (cCity* c : {resources, held, empty}) w_.Hex(c->x, c->y).controller = 2;
  Unit(3, 2, 2, 5);  // holds its city
  cJednostkaLadowa& unit = Unit(1, 1, 1, 5);
  cJednostkaLadowa& inCity = Unit(0, 0, 1, 5);
  w_.AddCity(0, 0, kCityNormal);
  w_.Hex(0, 0).controller = 1;
  ai::sAiUnitLists lists = Lists();
  // Only the free enemy city is a goal: not the resources, the held one nor
  // the own one.
  EXPECT_EQ(ai::FreeEnemyCityHexes(*w_.world, Ai()), (std::vector<sMapCoord>{{3, 0}}));

  std::vector<sReachableHex> reachable =
      ai::CollectReachableHexesNear(*w_.world, lists, false, ai::FreeEnemyCityHexes(*w_.world, Ai()), 0);
  EXPECT_TRUE(std::none_of(reachable.begin(), reachable.end(),
                           [&](const sReachableHex& e) { return e.unit == &inCity; }));
  EXPECT_TRUE(ai::FindObviousMove(*w_.world, Ai(), reachable));
  EXPECT_EQ(unit.x, 3);
  EXPECT_EQ(unit.y, 0);
  EXPECT_EQ(unit.aiOrder, 7);
  EXPECT_EQ(inCity.x, 0);
  // Nothing is left to take: the search says so, and nothing moves.
  EXPECT_TRUE(ai::FreeEnemyCityHexes(*w_.world, Ai()).empty());
  reachable = ai::CollectReachableHexesNear(*w_.world, lists, false, ai::FreeEnemyCityHexes(*w_.world, Ai()), 0);
  EXPECT_TRUE(reachable.empty());
  EXPECT_FALSE(ai::FindObviousMove(*w_.world, Ai(), reachable));
  EXPECT_EQ(stepper_.moves, 1);
  EXPECT_EQ(Count(L"[AI-RO] SZUKANIE RUCHÓW OCZYWISTYCH"), 2);
}

TEST_F(AiAttacks, TheNearSearchLeavesOutOnlyUnitsThatCannotEndNextToAnEnemy) {
  Unit(4, 1, 2, 5);
  cJednostkaLadowa& slow = Unit(0, 1, 1, 5);
  cJednostkaLadowa& quick = Unit(0, 0, 1, 5);
  slow.actionPoints = slow.startingActionPoints = 2;
  quick.actionPoints = quick.startingActionPoints = 3;
  ASSERT_EQ(HexDistance(0, 1, 4, 1), 4);
  ASSERT_EQ(HexDistance(0, 0, 4, 1), 4);
  ai::sAiUnitLists lists = Lists();
  const std::vector<sMapCoord> enemies = ai::EnemyUnitHexes(*w_.world, Ai());
  EXPECT_EQ(enemies, (std::vector<sMapCoord>{{4, 1}}));

  auto entriesOf = [](const std::vector<sReachableHex>& all, const cJednostka* unit) {
    std::vector<std::array<int, 3>> out;
    for (const sReachableHex& e : all) {
      if (e.unit == unit) out.push_back({e.x, e.y, e.cost});
    }
    return out;
  };
  // A reach across the whole map leaves no unit out: the full search.
  const std::vector<sReachableHex> full = ai::CollectReachableHexesNear(*w_.world, lists, true, enemies, 1000);
  const std::vector<sReachableHex> near = ai::CollectReachableHexesNear(*w_.world, lists, true, enemies, 1);
  // Three points end a move at most three hexes on, next to the enemy four
  // away: the whole range is searched. Two points cannot get next to it.
  EXPECT_FALSE(entriesOf(full, &quick).empty());
  EXPECT_EQ(entriesOf(near, &quick), entriesOf(full, &quick));
  EXPECT_FALSE(entriesOf(full, &slow).empty());
  EXPECT_TRUE(entriesOf(near, &slow).empty());
  // Onto the goal itself the quick unit falls one step short as well.
  EXPECT_TRUE(ai::CollectReachableHexesNear(*w_.world, lists, true, enemies, 0).empty());
  // No goals, no search.
  EXPECT_TRUE(ai::CollectReachableHexesNear(*w_.world, lists, true, {}, 1).empty());
}

TEST_F(AiAttacks, PlansSortBestLastAndUnsafeOnlyWithoutCover) {
  cJednostkaLadowa& a = Unit(0, 1, 2, 5);
  cJednostkaLadowa& b = Unit(4, 1, 2, 5);
  w_.AddCity(4, 1, kCityNormal);
  ai::sAttackPlan low, high, city, cheap;
  for (auto* p : {&low, &high, &city, &cheap}) p->Reset(&a);
  low.column = 3;
  high.column = 5;
  high.cost = 4;
  city.Reset(&b);
  city.column = 5;
  city.cost = 6;
  cheap.column = 5;
  cheap.cost = 1;
  std::vector<ai::sAttackPlan> plans{city, cheap, high, low};
  std::stable_sort(plans.begin(), plans.end(), [&](const auto& x, const auto& y) {
    return ai::CompareAttackPlans(*w_.world, x, y);
  });
  EXPECT_EQ(plans.front().column, 3);
  EXPECT_EQ(plans[1].cost, 4);
  EXPECT_EQ(plans[2].cost, 1);
  EXPECT_EQ(plans.back().defender, &b) << "a city target beats a cheaper one";

  Ai().aiData.maxCoveringUnitDistance = 1;
  Ai().aiData.maxSafeMoveCost = 3;
  ai::sAttackPlan far;
  far.Reset(&a);
  far.approaches[0] = {nullptr, 0, 0, 0, 3};
  EXPECT_TRUE(ai::IsPlanUnsafe(*w_.world, Ai(), far));
  far.approaches[0].cost = 2;
  EXPECT_FALSE(ai::IsPlanUnsafe(*w_.world, Ai(), far));
  far.approaches[0].cost = 3;
  Unit(1, 1, 3, 5);  // an ally next to the target covers it
  EXPECT_FALSE(ai::IsPlanUnsafe(*w_.world, Ai(), far));
}

TEST_F(AiAttacks, AttackableCitiesLeaveOutTheListedOnes) {
  cCity* spared = w_.AddCity(1, 1, kCityNormal);
  cCity* other = w_.AddCity(3, 1, kCityNormal);
  spared->aiAttackable = other->aiAttackable = 0;
  Ai().aiData.doNotAttackCities = {spared};
  ai::MarkAttackableCities(*w_.world, Ai());
  EXPECT_EQ(spared->aiAttackable, 0);
  EXPECT_EQ(other->aiAttackable, 1);
}

}  // namespace
