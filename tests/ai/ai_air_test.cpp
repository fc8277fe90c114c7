// The computer's air war and line of defence on small worlds: which enemy a
// tactical bomber strikes (and which it leaves alone), where an air unit
// rebases when an enemy is near and when it is safe, the line of hexes laid
// between facing front nodes, and the units that walk onto it. Every phase
// ends after one pass over its units.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

#include "ai/ai_air.h"
#include "ai/ai_combat_display.h"
#include "ai/ai_fronts.h"
#include "ai/ai_main_thread.h"
#include "ai/ai_report_view.h"
#include "ai/ai_unit_lists.h"
#include "air_rules/air_fixture.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "rules/air_orders.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/topography.h"

namespace {

using namespace ai;

// Some line of the log holds the text.
bool Logged(const twtest::LogCapture& log, const std::wstring& text) {
  const std::vector<std::wstring> lines = log.Lines();
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::wstring& line) { return line.find(text) != std::wstring::npos; });
}

// Country 1 holds the west (x < 6), country 2 the east, at war.
class AirAi : public ::testing::Test {
 protected:
  explicit AirAi(std::vector<std::string> rows = {"pppppppppppp", "pppppppppppp", "pppppppppppp"}) : w(rows) {
    w.ThreeCountries();
    for (int id = 1; id <= 3; ++id) w.Country(id).active = true;
    w.world->turnState.showActions = false;
    for (sHex& hex : w.Map().Hexes()) {
      if (hex.x >= 6) hex.owner = hex.controller = hex.originalOwner = 2;
    }
    for (auto& row : w.world->constants.landBaseStrength) row.fill(10.0f);
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    plat::SetClock(&clock);
  }
  ~AirAi() override { plat::SetClock(nullptr); }

  cJednostkaLadowa& Enemy(int x, int y, int strength, const wchar_t* name) {
    cJednostkaLadowa& unit = w.AddUnit(x, y, 2, kUnitInfantryDivision);
    unit.strength = strength;  // effective strength: strength / 10
    unit.effectiveness = 100;
    unit.visible = true;
    unit.name = name;
    return unit;
  }
  cCity& City(int x, int y) {
    cCity& city = twtest::AddCity(*w.world, x, y, kCitySupply);
    w.Hex(x, y).city = &city;
    return city;
  }
  sAiUnitLists Lists() {
    sAiUnitLists lists;
    BuildUnitLists(*w.world, w.Country(1), lists);
    return lists;
  }

  twtest::AirWorld w;
  plat::ManualClock clock;
  twtest::LogCapture log;
};

TEST_F(AirAi, TacticalBomberStrikesTheStrongestWorthyEnemyInRangeOnlyOnce) {
  cJednostkaLotnicza& bomber = w.AddAir(4, 1, 1, kAirTacticalBomber, 10.0f);
  Enemy(6, 1, 20, L"Middling");
  Enemy(6, 0, 60, L"Strong");
  Enemy(11, 1, 90, L"Far away");  // beyond the range of 3
  const int ap = bomber.actionPoints;
  sAiUnitLists lists = Lists();
  EXPECT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_TRUE(Logged(log, L"Air 1 strikes Strong"));
  EXPECT_FALSE(Logged(log, L"strikes Far away"));
  EXPECT_FALSE(Logged(log, L"strikes Middling"));
  EXPECT_EQ(bomber.actionPoints, ap - 1);
  EXPECT_TRUE(log.Contains(L"bu bu bu koniec"));
}

TEST_F(AirAi, NoStrikeByAWeakBomberNorOnAnEnemyBelowHalfItsBaseStrength) {
  cJednostkaLotnicza& weak = w.AddAir(4, 1, 1, kAirTacticalBomber, 3.0f);
  Enemy(6, 1, 80, L"Target");
  sAiUnitLists lists = Lists();
  EXPECT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 0);
  EXPECT_EQ(weak.actionPoints, weak.startingActionPoints);

  weak.strength = 10.0f;
  lists.enemyLand.front()->strength = 40;  // 4: below half of 10
  EXPECT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 0);
  EXPECT_FALSE(Logged(log, L"strikes Target"));
}

// The computer strikes what its own side sees (fog of war at 1 hex: a unit
// of its side next to the enemy), whatever the map shows the player.
TEST_F(AirAi, AnEnemyItsSideDoesNotSeeIsNoTargetButOneItSeesIsStruck) {
  twtest::ScopedFogOfWar fog(1);
  cJednostkaLotnicza& bomber = w.AddAir(4, 1, 1, kAirTacticalBomber, 10.0f);
  Enemy(6, 1, 80, L"Hidden");  // two hexes from every unit of country 1; the map shows it
  sAiUnitLists lists = Lists();
  EXPECT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 0);
  EXPECT_EQ(bomber.actionPoints, bomber.startingActionPoints);
  EXPECT_TRUE(log.Contains(L"bu bu bu koniec"));

  // The strongest enemy its side sees, though a stronger one hides nearer
  // and the map shows the player neither.
  w.AddUnit(5, 0, 1);
  Enemy(6, 0, 50, L"Seen").visible = false;
  ASSERT_EQ(HexDistance(5, 0, 6, 0), 1);
  ASSERT_EQ(HexDistance(5, 0, 6, 1), 2);
  lists = Lists();
  EXPECT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_TRUE(Logged(log, L"Air 1 strikes Seen"));
  EXPECT_FALSE(Logged(log, L"refused"));
}

TEST_F(AirAi, FighterPassesOverAWeakerPlaneItsSideDoesNotSeeForOneItSees) {
  twtest::ScopedFogOfWar fog(1);
  cJednostkaLotnicza& fighter = w.AddAir(4, 1, 1, kAirFighter, 10.0f);
  w.AddAir(6, 1, 2, kAirTacticalBomber, 2.0f);
  cJednostkaLotnicza& seen = w.AddAir(6, 0, 2, kAirTacticalBomber, 8.0f);
  seen.visible = false;
  w.AddUnit(5, 0, 1);
  EXPECT_EQ(fighter.FindWeakestEnemyAirInRange(kAirTacticalBomber, &w.Country(1)), &seen);
  sAiUnitLists lists = Lists();
  EXPECT_TRUE(FightAirBattles(*w.world, w.Country(1), lists));
  EXPECT_TRUE(Logged(log, L"attacks Air 3"));
  EXPECT_FALSE(Logged(log, L"refused"));
}

// In a game of computers alone no viewer's sight sets the units' flags:
// without fog of war every computer sees every unit, and its fighters,
// tactical and strategic bombers find their targets.
TEST_F(AirAi, WithNoViewerTheComputersAirForceStillFindsItsTargets) {
  twtest::ScopedFogOfWar fog(0);
  cJednostkaLotnicza& fighter = w.AddAir(4, 1, 1, kAirFighter, 10.0f);
  cJednostkaLotnicza& bomber = w.AddAir(4, 2, 1, kAirTacticalBomber, 10.0f);
  w.AddAir(6, 1, 2, kAirTacticalBomber, 8.0f);
  Enemy(6, 2, 50, L"Target");
  for (cJednostkaLotnicza* unit : w.world->Units().airUnits) unit->visible = false;
  for (cJednostkaLadowa* unit : w.world->Units().landUnits) unit->visible = false;
  sAiUnitLists lists = Lists();
  EXPECT_TRUE(FightAirBattles(*w.world, w.Country(1), lists));
  EXPECT_LT(fighter.actionPoints, fighter.startingActionPoints);
  lists = Lists();
  EXPECT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_LT(bomber.actionPoints, bomber.startingActionPoints);
  EXPECT_FALSE(Logged(log, L"refused"));
}

// Against a bomber the computer's fighter meets the bomber's escort first
// (the best fighter of its side over the bomber's hex): turned back, it
// never reaches the bomber and has spent its point; let through, it fights
// the bomber.
TEST_F(AirAi, AnEscortMeetsTheHunterOfABomberFirst) {
  cJednostkaLotnicza& hunter = w.AddAir(4, 1, 1, kAirFighter, 10.0f);
  cJednostkaLotnicza& bomber = w.AddAir(6, 1, 2, kAirTacticalBomber, 8.0f);
  cJednostkaLotnicza& escort = w.AddAir(8, 1, 2, kAirFighter, 10.0f);
  ASSERT_GT(HexDistance(4, 1, 8, 1), hunter.GetRange());  // the escort itself is out of the hunter's reach
  ASSERT_LE(HexDistance(8, 1, 6, 1), escort.GetRange());
  {
    // Column 0, die 3: the hunter loses 7, the escort 5: turned back.
    twtest::RandSequence dice({twtest::Die(3)});
    sAiUnitLists lists = Lists();
    EXPECT_TRUE(FightAirBattles(*w.world, w.Country(1), lists));
  }
  EXPECT_TRUE(Logged(log, L"tries to intercept"));
  EXPECT_FALSE(Logged(log, L"airfight with"));
  EXPECT_FLOAT_EQ(bomber.strength, 8.0f);
  EXPECT_FLOAT_EQ(hunter.strength, 3.0f);
  EXPECT_FLOAT_EQ(escort.strength, 5.0f);
  EXPECT_EQ(hunter.actionPoints, hunter.startingActionPoints - 1);

  // Column 0, die 1: both lose 5, the hunter flies on; the fight (column
  // -4, die 4) costs the bomber 4.
  hunter.strength = 10.0f;
  hunter.ResetActionPoints();
  escort.strength = 10.0f;
  {
    twtest::RandSequence dice({twtest::Die(1), twtest::Die(4)});
    sAiUnitLists lists = Lists();
    EXPECT_TRUE(FightAirBattles(*w.world, w.Country(1), lists));
  }
  EXPECT_TRUE(Logged(log, L"airfight with"));
  EXPECT_FLOAT_EQ(bomber.strength, 4.0f);
  EXPECT_FLOAT_EQ(escort.strength, 5.0f);
}

TEST_F(AirAi, ARefusedRaidNamesTheCountryAndTheReason) {
  w.AddAir(4, 1, 1, kAirStrategicBomber, 12.0f);
  City(7, 1).productionPoints = 5.0f;
  // Not the bomber's country's turn: the rule refuses every order.
  w.world->turnState.SetCurrentCountry(&w.Country(2));
  sAiUnitLists lists = Lists();
  EXPECT_EQ(BombardWithAir(*w.world, w.Country(1), lists), 0);
  EXPECT_TRUE(log.Contains(L"[AI]: " + w.Country(1).name + L" - strategic bombing refused (" +
                           plat::FromUtf8(AirOrderRefusalKey(eAirOrderRefusal::kNotOwnUnit)) + L")"));
}

TEST_F(AirAi, FighterNeverAttacksWithStrengthOne) {
  cJednostkaLotnicza& fighter = w.AddAir(4, 1, 1, kAirFighter, 1.0f);
  w.AddAir(6, 1, 2, kAirTacticalBomber, 10.0f);
  sAiUnitLists lists = Lists();
  EXPECT_FALSE(FightAirBattles(*w.world, w.Country(1), lists));
  EXPECT_EQ(fighter.actionPoints, fighter.startingActionPoints);
}

TEST_F(AirAi, StrategicBomberBombsTheRichestEnemyCityInReach) {
  cJednostkaLotnicza& bomber = w.AddAir(4, 1, 1, kAirStrategicBomber, 12.0f);
  cCity& poor = City(7, 1);
  poor.productionPoints = 5.0f;
  poor.name = L"Poor";
  cCity& rich = City(8, 2);
  rich.productionPoints = 50.0f;
  rich.name = L"Rich";
  cCity& own = City(2, 1);
  own.productionPoints = 500.0f;
  own.name = L"Own";
  sAiUnitLists lists = Lists();
  EXPECT_EQ(BombardWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_TRUE(Logged(log, L"bombs Rich"));
  EXPECT_LT(bomber.actionPoints, bomber.startingActionPoints);
}

// --- what the player sees of the computer's air war ---

class ShownAirAi : public AirAi {
 protected:
  ShownAirAi() {
    for (std::size_t i = 0; i < kDelays.size(); ++i) saved_[i] = g_Delays[kDelays[i]].load();
    g_Delays[kDelayAICombatBefore] = 300.0f;
    g_Delays[kDelayAICombatAfter] = 200.0f;
    g_Delays[kDelayAICombatResult] = 2500.0f;
    SetMainThreadToCurrent();
    view = new twtest::ReportView(*w.world);
    w.world->SetView(std::unique_ptr<cWorldView>(view));
  }
  ~ShownAirAi() override {
    w.world->SetView(nullptr);
    for (std::size_t i = 0; i < kDelays.size(); ++i) g_Delays[kDelays[i]] = saved_[i];
  }
  // Reports put up while (x, y) carries the attack mark.
  void CountMarkedReports(int x, int y) {
    view->onReport = [this, x, y] {
      if ((w.Hex(x, y).markBits & kMarkAttacked) != 0) ++markedReports;
    };
  }
  std::size_t Follows(int x, int y) const {
    const auto followed = view->Followed();
    return static_cast<std::size_t>(std::count(followed.begin(), followed.end(), std::pair{x, y}));
  }

  twtest::ReportView* view = nullptr;
  int markedReports = 0;
  static constexpr std::array<int, 3> kDelays{kDelayAICombatBefore, kDelayAICombatAfter, kDelayAICombatResult};
  std::array<float, 3> saved_{};
};

TEST_F(ShownAirAi, ShownStrikeMarksItsTargetAndReportsOnlyWithAResultDelay) {
  w.world->turnState.showActions = true;
  cJednostkaLotnicza& first = w.AddAir(4, 1, 1, kAirTacticalBomber, 10.0f);
  Enemy(6, 1, 90, L"Target");
  CountMarkedReports(6, 1);
  sAiUnitLists lists = Lists();
  ASSERT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_EQ(Follows(6, 1), 1u);
  EXPECT_EQ(view->reports, 1);
  EXPECT_EQ(markedReports, 1) << "the report is up while the target carries the mark";
  EXPECT_EQ(view->lastDisplayMs, 2500.0f);
  // Both pauses before the strike, the one after it before the report.
  EXPECT_GE(clock.TotalSlept(), 300u + 300u + 200u);
  EXPECT_TRUE(w.Hex(6, 1).HasNoMarks());
  first.actionPoints = 0;

  // Without a result delay: the target shown and marked, no report and no
  // pause after it.
  g_Delays[kDelayAICombatResult] = 0.0f;
  cJednostkaLotnicza& second = w.AddAir(4, 2, 1, kAirTacticalBomber, 10.0f);
  lists = Lists();
  const std::uint64_t before = clock.TotalSlept();
  ASSERT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_EQ(Follows(6, 1), 2u);
  EXPECT_EQ(view->reports, 1);
  EXPECT_EQ(clock.TotalSlept() - before, 600u);
  EXPECT_TRUE(w.Hex(6, 1).HasNoMarks());
  second.actionPoints = 0;

  // Actions not shown and a computer defender: nothing to see.
  g_Delays[kDelayAICombatResult] = 2500.0f;
  w.world->turnState.showActions = false;
  w.AddAir(4, 0, 1, kAirTacticalBomber, 10.0f);
  lists = Lists();
  const std::uint64_t hidden = clock.TotalSlept();
  ASSERT_EQ(StrikeWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_EQ(Follows(6, 1), 2u);
  EXPECT_EQ(view->reports, 1);
  EXPECT_EQ(clock.TotalSlept(), hidden);
}

TEST_F(ShownAirAi, HumanDefenderSeesTheFightsAndOnlyAHumanCityOwnerTheRaidReport) {
  // A raid on a computer country's city is shown to a player watching the
  // computer's actions, but its report goes only to a human owner.
  w.world->turnState.showActions = true;
  cCity& city = City(8, 1);
  city.productionPoints = 20.0f;
  cJednostkaLotnicza& first = w.AddAir(4, 2, 1, kAirStrategicBomber, 12.0f);
  CountMarkedReports(8, 1);
  sAiUnitLists lists = Lists();
  ASSERT_EQ(BombardWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_EQ(Follows(8, 1), 1u);
  EXPECT_EQ(view->reports, 0);
  EXPECT_TRUE(w.Hex(8, 1).HasNoMarks());

  first.actionPoints = 0;
  w.Country(2).human = true;
  cJednostkaLotnicza& second = w.AddAir(4, 0, 1, kAirStrategicBomber, 12.0f);
  lists = Lists();
  ASSERT_EQ(BombardWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_EQ(Follows(8, 1), 2u);
  EXPECT_EQ(view->reports, 1);
  EXPECT_EQ(markedReports, 1);
  EXPECT_TRUE(w.Hex(8, 1).HasNoMarks());
  second.actionPoints = 0;

  // The computer's actions are not shown, but the attacked country is the
  // player's: the fight is shown with its report.
  w.world->turnState.showActions = false;
  w.AddAir(6, 1, 2, kAirTacticalBomber, 10.0f);
  w.AddAir(4, 1, 1, kAirFighter, 10.0f);
  CountMarkedReports(6, 1);
  lists = Lists();
  EXPECT_TRUE(FightAirBattles(*w.world, w.Country(1), lists));
  EXPECT_EQ(Follows(6, 1), 1u);
  EXPECT_EQ(view->reports, 2);
  EXPECT_EQ(markedReports, 2);
  EXPECT_TRUE(w.Hex(6, 1).HasNoMarks());
}

TEST_F(AirAi, AirUnitNearAnEnemyRebasesToTheNearestSafeHex) {
  w.world->constants.SetValue(4, 6, 3.0);
  City(2, 1);
  cJednostkaLotnicza& fighter = w.AddAir(5, 1, 1, kAirFighter);
  Enemy(7, 1, 40, L"Threat");
  sAiUnitLists lists = Lists();
  ASSERT_EQ(fighter.actionPoints, fighter.startingActionPoints);
  ASSERT_GT(fighter.actionPoints, 0);
  EXPECT_EQ(RebaseAirUnits(*w.world, w.Country(1), lists), 1);
  EXPECT_FALSE(fighter.x == 5 && fighter.y == 1);
  // At least 1.3 x 3 (whole: 3) from the enemy, and no farther than needed.
  EXPECT_EQ(HexDistance(fighter.x, fighter.y, 7, 1), 3);
  EXPECT_EQ(w.Hex(fighter.x, fighter.y).unit, &fighter);
}

TEST_F(AirAi, SafeAirUnitRebasesTowardTheEnemiesOnlyWhenThatPays) {
  w.world->constants.SetValue(4, 6, 1.0);
  City(2, 1);
  cJednostkaLotnicza& fighter = w.AddAir(0, 0, 1, kAirFighter);
  sAiUnitLists lists = Lists();
  // No enemy in reach of any candidate: it stays.
  EXPECT_EQ(RebaseAirUnits(*w.world, w.Country(1), lists), 0);
  EXPECT_EQ(fighter.x, 0);

  Enemy(6, 0, 40, L"E1");
  Enemy(6, 1, 40, L"E2");
  Enemy(6, 2, 40, L"E3");
  lists = Lists();
  EXPECT_EQ(RebaseAirUnits(*w.world, w.Country(1), lists), 1);
  // The first hex with all three in reach, (3,1): column and row differ.
  EXPECT_EQ(fighter.x, 3);
  EXPECT_EQ(fighter.y, 1);
  EXPECT_EQ(CountEnemyLandUnitsWithin(*w.world, lists, fighter.x, fighter.y, fighter.GetRange()), 3);
  // Having rebased it has no action points: not moved again.
  EXPECT_EQ(RebaseAirUnits(*w.world, w.Country(1), lists), 0);
}

// Two cities whose rings overlap: each free hex is a candidate once, and
// the figures a cache hands on are those worked out afresh.
TEST_F(AirAi, RebaseCandidatesAreEachHexOnceAndTheCacheChangesNoFigure) {
  City(2, 1);
  City(3, 2);
  cJednostkaLotnicza& fighter = w.AddAir(0, 0, 1, kAirFighter);
  Enemy(6, 0, 40, L"E1");
  Enemy(7, 2, 40, L"E2");
  const sAiUnitLists lists = Lists();
  const std::vector<sRebaseHex> plain = CollectRebaseHexes(*w.world, fighter, lists);
  ASSERT_FALSE(plain.empty());
  std::set<std::pair<int, int>> hexes;
  for (const sRebaseHex& c : plain) {
    EXPECT_TRUE(hexes.insert({c.x, c.y}).second) << c.x << "," << c.y;
    EXPECT_EQ(c.enemiesNear, CountEnemyLandUnitsWithin(*w.world, lists, c.x, c.y, fighter.GetRange()));
    EXPECT_EQ(c.enemyDistance, GetDistanceToNearestEnemyLandUnit(lists, c.x, c.y));
  }
  sRebaseHexCache cache;
  for (int pass = 0; pass < 2; ++pass) {  // filling the cache, then reading it
    const std::vector<sRebaseHex> cached = CollectRebaseHexes(*w.world, fighter, lists, &cache);
    ASSERT_EQ(cached.size(), plain.size()) << pass;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      EXPECT_EQ(std::tie(cached[i].x, cached[i].y, cached[i].enemiesNear, cached[i].enemyDistance),
                std::tie(plain[i].x, plain[i].y, plain[i].enemiesNear, plain[i].enemyDistance));
    }
  }
  EXPECT_EQ(cache.figures.size(), plain.size());
}

// --- the line of defence ---

class DefenceLine : public AirAi {
 protected:
  DefenceLine()
      : AirAi({"pppppppppppp", "pppppppppppp", "pppppppppppp", "pppppppppppp", "pppppppppppp", "pppppppppppp",
               "pppppppppppp", "pppppppppppp", "pppppppppppp"}) {
    w.Map().CreateFrontMarks();  // as the map's loader does
  }
};

TEST_F(DefenceLine, BestPathTakesTheDetourThroughAFriendlyCityOnlyWhenItPays) {
  const std::vector<sMapCoord> bare = FindBestDefencePath(*w.world, 1, 2, 1, 2, 5, 0);
  ASSERT_EQ(bare.size(), 5u);
  for (const sMapCoord& c : bare) EXPECT_EQ(c.x, 2);

  City(1, 3);  // beside the straight line: one hex more, 15 for the city
  const std::vector<sMapCoord> detour = FindBestDefencePath(*w.world, 1, 2, 1, 2, 5, 0);
  EXPECT_LE(detour.size(), 6u);
  EXPECT_NE(std::find(detour.begin(), detour.end(), sMapCoord{1, 3}), detour.end());
  EXPECT_EQ(detour.front(), (sMapCoord{2, 1}));
  EXPECT_EQ(detour.back(), (sMapCoord{2, 5}));
}

TEST_F(DefenceLine, NoLineWithoutAWeakOrCriticalFront) {
  std::vector<sAiFront> fronts(2);
  EXPECT_FALSE(ShouldBuildLineOfDefence(fronts));
  fronts[1].state = kFrontWeak;
  EXPECT_TRUE(ShouldBuildLineOfDefence(fronts));
}

TEST_F(DefenceLine, LineRunsAlongTheOwnSideOfTheBorder) {
  City(1, 4);
  City(10, 4);
  w.world->GetTopography().ComputeWorldTopography(w.Map(), w.world->Cities());
  w.world->GetTopography().BuildNearestCityGrid(w.Map(), w.world->Cities());
  const std::vector<sMapCoord> line = BuildLineOfDefence(*w.world, w.Country(1));
  ASSERT_GE(line.size(), 3u);
  for (const sMapCoord& c : line) {
    EXPECT_EQ(w.Map().GetFrontMark(c.x, c.y), 3) << c.x << "," << c.y;
    EXPECT_LT(c.x, 6) << "line on the enemy's side at " << c.x << "," << c.y;
    // A continuous line: every hex touches another.
    int neighbours = 0;
    for (const sMapCoord& o : line) neighbours += HexDistance(c.x, c.y, o.x, o.y) == 1 ? 1 : 0;
    EXPECT_GE(neighbours, 1) << c.x << "," << c.y;
  }
}

}  // namespace

namespace {

// --- the units that hold the line, moved by the land move rules ---

class HoldLine : public AirAi {
 protected:
  HoldLine() {
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    w.world->SetGameState(kPhaseComputerPlayers);
    for (int y = 0; y < 3; ++y) line.push_back({4, y});
  }

  cJednostkaLadowa& Ordered(int x, int y, int tx, int ty) {
    cJednostkaLadowa& unit = w.AddUnit(x, y, 1, kUnitInfantryDivision);
    unit.strength = 100;
    unit.effectiveness = 100;
    unit.actionPoints = unit.startingActionPoints = 4;
    unit.aiOrder = 5;
    unit.aiTargetX = tx;
    unit.aiTargetY = ty;
    return unit;
  }

  std::vector<sMapCoord> line;
};

TEST_F(HoldLine, UnitsWalkOntoTheLineNearestTheirTargetAndHoldThere) {
  cJednostkaLadowa& walker = Ordered(1, 1, 5, 1);
  cJednostkaLadowa& fortified = Ordered(1, 2, 5, 2);
  w.Hex(1, 2).fortification = 6;  // above the hold-at-all-cost level of 5
  cJednostkaLadowa& arrived = Ordered(5, 0, 5, 0);
  sAiUnitLists lists = Lists();
  int handled = 0;
  int moves = 0;
  {
    twtest::RuleSteppingClock main(*w.world);
    handled = HoldLineOfDefence(*w.world, w.Country(1), lists, line);
    moves = main.moves;
  }
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(moves, 1);
  // On the line, next to its target (the first such line hex).
  EXPECT_EQ(walker.x, 4);
  EXPECT_EQ(HexDistance(walker.x, walker.y, 5, 1), 1);
  EXPECT_EQ(w.Hex(walker.x, walker.y).unit, &walker);
  EXPECT_EQ(walker.aiOrder, 9);
  EXPECT_EQ(fortified.x, 1);
  EXPECT_EQ(fortified.aiOrder, 5);
  EXPECT_EQ(arrived.aiOrder, 5);
  // Nobody is left to send: a second call moves no one.
  EXPECT_EQ(HoldLineOfDefence(*w.world, w.Country(1), lists, line), 0);
}

TEST_F(HoldLine, UnitAlreadyOnTheLineWithNoBetterHexJustHolds) {
  cJednostkaLadowa& onLine = Ordered(4, 1, 9, 1);
  w.Hex(4, 0).unit = &w.AddUnit(4, 0, 1);  // the rest of the line is taken
  w.Hex(4, 2).unit = &w.AddUnit(4, 2, 1);
  sAiUnitLists lists = Lists();
  EXPECT_EQ(HoldLineOfDefence(*w.world, w.Country(1), lists, line), 1);
  EXPECT_EQ(onLine.x, 4);
  EXPECT_EQ(onLine.y, 1);
  EXPECT_EQ(onLine.aiOrder, 9);
}

// --- strikes on ships ---

class ShipStrikes : public AirAi {
 protected:
  ShipStrikes() : AirAi({"pppppp~~~~~~", "pppppp~~~~~~", "pppppp~~~~~~"}) {
    w.world->constants.bombardmentRange = 2;
    sWezelGrafuMorz& zone = w.AddSeaNode(true, 8, 1);
    zoneId = zone.id;
    cFleet& fleet = w.AddFleet(2, zone.id, {kUnitCruiser, kUnitCruiser}, 4);
    for (cJednostkaMorska* ship : fleet.ships) ship->visible = true;
    zone.enemyCounts[1] = 2;
  }
  int zoneId = 0;
};

TEST_F(ShipStrikes, EachBomberInReachStrikesTheShipsOnceAndTheOthersNot) {
  cJednostkaLotnicza& first = w.AddAir(5, 1, 1, kAirTacticalBomber);
  cJednostkaLotnicza& second = w.AddAir(4, 0, 1, kAirTacticalBomber);
  cJednostkaLotnicza& far = w.AddAir(0, 1, 1, kAirTacticalBomber);
  const int ap = first.actionPoints;
  ASSERT_GT(ap, 1);
  sAiUnitLists lists = Lists();
  EXPECT_EQ(AttackShipsWithAir(*w.world, w.Country(1), lists), 2);
  for (cJednostkaLotnicza* bomber : {&first, &second}) {
    if (IsUnitInWorldLists(bomber)) {
      EXPECT_EQ(bomber->actionPoints, ap - 1);
    }
  }
  EXPECT_EQ(far.actionPoints, ap);
  EXPECT_TRUE(log.Contains(L"bu bu bu bu 20"));
}

// A bomber the enemy's carrier shoots down over the ships is gone when the
// strike returns: the phase neither reads it again nor stops.
TEST_F(ShipStrikes, ABomberShotDownOverTheShipsIsNotReadAgain) {
  cJednostkaLotnicza& doomed = w.AddAir(5, 1, 1, kAirTacticalBomber, 0.05f);
  doomed.name = L"Doomed Squadron";
  const cJednostkaLotnicza* gone = &doomed;
  w.AddFleet(2, zoneId, {kUnitAircraftCarrier}, 20);
  sAiUnitLists lists = Lists();
  EXPECT_EQ(AttackShipsWithAir(*w.world, w.Country(1), lists), 1);
  EXPECT_FALSE(IsUnitInWorldLists(gone));
  EXPECT_TRUE(log.Contains(L"Przechwycenie przy bombowaniu heksa udane, ataker zabijany"));
  EXPECT_TRUE(log.Contains(L"[AI]: " + w.Country(1).name + L" - Doomed Squadron struck the ships of sea zone 1"));
  EXPECT_TRUE(log.Contains(L"bu bu bu bu 20"));
}

}  // namespace
