// Interception and the air fight with laid-out dice, against the column and
// loss rules: defender losses are die + column + 4, attacker losses 5 - column
// in the fixture's tables.
#include <gtest/gtest.h>

#include <algorithm>

#include "air_rules/air_fixture.h"
#include "app/string_base.h"
#include "rules/air_orders.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"

namespace {

using twtest::AirWorld;
using twtest::Die;
using twtest::RandSequence;

bool InAirList(const cWorld& world, const cJednostkaLotnicza* unit) {
  const auto& list = world.Units().airUnits;
  return std::find(list.begin(), list.end(), unit) != list.end();
}

class Interception : public ::testing::Test {
 protected:
  Interception() : w({"ppppp", "ppppp", "ppppp"}) { w.ThreeCountries(); }
  AirWorld w;
  sBombardmentResult result;
};

TEST_F(Interception, StrongMissionTurnedBackWhenItLosesMore) {
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber, 20.0f);
  cJednostkaLotnicza& fighter = w.AddAir(4, 2, 2, kUnitFighter, 6.0f);
  fighter.level = 2;
  // Column 1 + 20 - 6 - 2 = 13, limited to 4: the interceptor loses 1, the
  // mission 1 + 4 + 4 = 9.
  RandSequence dice({Die(1)});
  EXPECT_TRUE(bomber.ResolveInterception(&fighter, result));
  EXPECT_FLOAT_EQ(bomber.strength, 11.0f);
  EXPECT_FLOAT_EQ(fighter.strength, 5.0f);
  EXPECT_EQ(result.kind, kCombatInterception);
  EXPECT_FLOAT_EQ(result.attackerLosses, 9.0f);
  EXPECT_FLOAT_EQ(result.defenderLosses, 1.0f);
  EXPECT_TRUE(result.Flag(kFlagIntercepted));
  EXPECT_TRUE(result.Flag(kFlagStoppedByInterception));
  EXPECT_FALSE(result.Flag(kFlagAttackerDestroyed));
  EXPECT_EQ(result.attackerCountry, 1);
  EXPECT_EQ(result.defenderCountry, 2);
  EXPECT_NE(result.attackerText2.find(g_StringBase.GetText("report_details_interception_succeeded_att")),
            std::wstring::npos);
  // The losses go into the relations both ways.
  EXPECT_FLOAT_EQ(w.world->GetRelations().GetLosses(2, 1), 9.0f);
  EXPECT_FLOAT_EQ(w.world->GetRelations().GetLosses(1, 2), 1.0f);
}

TEST_F(Interception, EqualLossesLetTheMissionGoOn) {
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber, 7.0f);
  cJednostkaLotnicza& fighter = w.AddAir(4, 2, 2, kUnitFighter, 6.0f);
  fighter.level = 2;
  // Column 1 + 7 - 6 - 2 = 0, die 1: both lose 5.
  RandSequence dice({Die(1)});
  EXPECT_FALSE(bomber.ResolveInterception(&fighter, result));
  EXPECT_FLOAT_EQ(bomber.strength, 2.0f);
  EXPECT_FLOAT_EQ(fighter.strength, 1.0f);
  EXPECT_TRUE(result.Flag(kFlagIntercepted));
  EXPECT_FALSE(result.Flag(kFlagStoppedByInterception));
  EXPECT_NE(result.defenderText2.find(g_StringBase.GetText("report_details_interception_failed")),
            std::wstring::npos);
}

TEST_F(Interception, DestroyedInterceptorLeavesTheWorldAndTheMissionGoesOn) {
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber, 2.0f);
  cJednostkaLotnicza* fighter = &w.AddAir(4, 2, 2, kUnitFighter, 2.0f);
  w.world->turnState.selectedUnit = fighter;
  // Column 1 + 2 - 2 - 1 = 0, die 1: both lose 5; the interceptor is checked
  // first.
  RandSequence dice({Die(1)});
  EXPECT_FALSE(bomber.ResolveInterception(fighter, result));
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_FALSE(InAirList(*w.world, fighter));
  EXPECT_EQ(w.Hex(4, 2).unit, nullptr);
  EXPECT_EQ(w.world->turnState.selectedUnit, nullptr);
  // The mission unit fell below 0.1 too but is only flagged by its caller's
  // rules, not removed here.
  EXPECT_TRUE(InAirList(*w.world, &bomber));
}

TEST_F(Interception, ColumnIsLimitedAtBothEnds) {
  cJednostkaLotnicza& weak = w.AddAir(0, 0, 1, kUnitTacticalBomber, 3.0f);
  cJednostkaLotnicza& strong = w.AddAir(4, 2, 2, kUnitFighter, 30.0f);
  strong.level = 3;
  // Column 1 + 3 - 30 - 3 = -29 -> -4: the interceptor loses 9, the mission
  // die + 0 = 2.
  RandSequence dice({Die(2)});
  EXPECT_FALSE(weak.ResolveInterception(&strong, result));
  EXPECT_FLOAT_EQ(strong.strength, 21.0f);
  EXPECT_FLOAT_EQ(weak.strength, 1.0f);
}

TEST_F(Interception, KilledMissionUnitIsFlaggedAndStopped) {
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber, 4.0f);
  cFleet& fleet = w.AddFleet(2, 1, {kUnitAircraftCarrier}, 10);
  cJednostkaMorska& carrier = *fleet.ships.front();
  w.Country(2).techLevel[kTechNavy] = 1;
  // Column 1 + 4 - 10 - 1 = -6 -> -4; die 5: the carrier loses 9, the
  // mission 5 and falls: it is flagged, not removed here.
  twtest::RandSequence dice({Die(5)});
  EXPECT_TRUE(bomber.ResolveInterception(&carrier, result));
  EXPECT_TRUE(result.Flag(kFlagAttackerDestroyed));
  EXPECT_TRUE(result.Flag(kFlagStoppedByInterception));
  EXPECT_FLOAT_EQ(bomber.strength, -1.0f);
  EXPECT_EQ(carrier.hitPoints, 1);
  EXPECT_TRUE(InAirList(*w.world, &bomber));
}

TEST_F(Interception, CarrierLossIsCutByItsFloorAndTheCutValueDecides) {
  w.world->constants.seaBattleValue155 = 50.0f;
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber, 7.0f);
  cFleet& fleet = w.AddFleet(2, 1, {kUnitAircraftCarrier}, 10);
  cJednostkaMorska& carrier = *fleet.ships.front();
  w.Country(2).techLevel[kTechNavy] = 1;
  // Column 1 + 7 - 10 - 1 = -3: the carrier would lose 8, its floor keeps 5
  // of 10 (a loss of 5); the mission loses 5 + 1 + 0 = 6 > 5: turned back.
  RandSequence dice({Die(5)});
  EXPECT_TRUE(bomber.ResolveInterception(&carrier, result));
  EXPECT_EQ(carrier.hitPoints, 5);
  EXPECT_FLOAT_EQ(result.defenderLosses, 5.0f);
  EXPECT_FLOAT_EQ(bomber.strength, 1.0f);
}

class AirFightTest : public ::testing::Test {
 protected:
  AirFightTest() : w({"ppppp", "ppppp", "ppppp"}) { w.ThreeCountries(); }
  AirWorld w;
  sBombardmentResult result;
};

TEST_F(AirFightTest, FighterShootsDownABomberThroughTheOrder) {
  cJednostkaLotnicza& fighter = w.AddAir(0, 1, 1, kUnitFighter, 10.0f);
  fighter.level = 2;  // supply 10: bonus 2
  cJednostkaLotnicza* bomber = &w.AddAir(3, 1, 2, kUnitTacticalBomber, 8.0f);
  bomber->supply = 3;  // bonus 0
  w.world->turnState.selectedUnit = bomber;
  const std::size_t reports = w.world->reports.Reports().size();
  // Column 2 + 10 + 1 - (0 + 8 + 1) = 4; die 2: the attacker loses 1, the
  // defender 2 + 8 = 10.
  RandSequence dice({Die(2)});
  ASSERT_EQ(AirFight(*w.world, fighter, 3, 1, result), eAirOrderRefusal::kNone);
  EXPECT_EQ(result.kind, kCombatAirFight);
  EXPECT_FLOAT_EQ(fighter.strength, 9.0f);
  EXPECT_EQ(fighter.actionPoints, 5);
  EXPECT_FLOAT_EQ(result.attackerLosses, 1.0f);
  EXPECT_FLOAT_EQ(result.defenderLosses, 10.0f);
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_FALSE(result.Flag(kFlagAttackerDestroyed));
  EXPECT_FALSE(InAirList(*w.world, bomber));
  EXPECT_EQ(w.Hex(3, 1).unit, nullptr);
  EXPECT_EQ(w.world->turnState.selectedUnit, nullptr);
  ASSERT_EQ(w.world->reports.Reports().size(), reports + 2);
  EXPECT_EQ(w.world->reports.Reports().front().countryId, 1);
  EXPECT_EQ(w.world->reports.Reports().back().countryId, 2);
}

TEST_F(AirFightTest, BothFightersFallAndTheOrderRemovesItsOwnAttacker) {
  cJednostkaLotnicza& fighter = w.AddAir(0, 1, 1, kUnitFighter, 5.0f);
  cJednostkaLotnicza& other = w.AddAir(2, 1, 2, kUnitFighter, 5.0f);
  // Column 2 + 5 + 0 - (2 + 5 + 1) = -1; die 4: attacker 6, defender 4 + 3 = 7.
  RandSequence dice({Die(4)});
  ASSERT_EQ(AirFight(*w.world, fighter, 2, 1, result), eAirOrderRefusal::kNone);
  EXPECT_TRUE(result.Flag(kFlagAttackerDestroyed));
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  // The order removes its own destroyed attacker.
  EXPECT_FALSE(InAirList(*w.world, &fighter));
  (void)other;
}

TEST_F(AirFightTest, OrderChecks) {
  cJednostkaLotnicza& fighter = w.AddAir(0, 1, 1, kUnitFighter);
  cJednostkaLotnicza& bomber = w.AddAir(1, 1, 1, kUnitTacticalBomber);
  w.AddAir(4, 2, 2, kUnitFighter);           // distance 4: beyond range 3
  w.AddAir(2, 0, 2, kUnitFighter).visible = false;
  w.AddAir(0, 2, 3, kUnitFighter);           // an ally
  EXPECT_EQ(CheckAirFight(*w.world, bomber, 4, 2), eAirOrderRefusal::kNotFighter);
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 4, 2), eAirOrderRefusal::kOutOfRange);
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 2, 0), eAirOrderRefusal::kNoTarget);
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 0, 2), eAirOrderRefusal::kNoTarget);
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 9, 9), eAirOrderRefusal::kTargetOffMap);
  EXPECT_EQ(fighter.MarkAirFightTargets(false), 0);
  std::wstring hint;
  EXPECT_FALSE(fighter.CanAirFight(&hint));
  EXPECT_EQ(hint, g_StringBase.GetText("unitpanel_airfight_icon_hint_no_target"));
  w.AddAir(3, 1, 2, kUnitTacticalBomber);
  EXPECT_EQ(fighter.MarkAirFightTargets(true), 1);
  EXPECT_TRUE(w.Hex(3, 1).markBits & 8192u);
  EXPECT_TRUE(fighter.CanAirFight(&hint));
  fighter.actionPoints = 0;
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 3, 1), eAirOrderRefusal::kNoActionPoints);
  w.world->turnState.SetCurrentCountry(&w.Country(2));
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 3, 1), eAirOrderRefusal::kNotOwnUnit);
  // A refused order changes nothing.
  sBombardmentResult untouched;
  EXPECT_EQ(AirFight(*w.world, fighter, 3, 1, untouched), eAirOrderRefusal::kNotOwnUnit);
  EXPECT_EQ(untouched.kind, kCombatLandBattle);
}

// What an order may strike: the computer's in its own side's sight (with fog
// of war at 1 hex, a unit of its side next to the target, or its own
// reconnaissance), the player's in what the map shows (the flags, here left
// unset by a viewer who sees none of these units).
TEST_F(AirFightTest, TheComputerDecidesInItsOwnSightThePlayerInTheMapsView) {
  twtest::ScopedFogOfWar fog(1);
  cCountry& own = w.Country(1);
  cJednostkaLotnicza& fighter = w.AddAir(0, 1, 1, kUnitFighter);
  cJednostkaLotnicza& bomber = w.AddAir(0, 2, 1, kUnitTacticalBomber);
  cJednostkaLotnicza& watched = w.AddAir(3, 0, 2, kUnitTacticalBomber);
  cJednostkaLotnicza& unwatched = w.AddAir(3, 2, 2, kUnitTacticalBomber);
  w.AddUnit(4, 0, 1);  // next to the watched plane
  cJednostkaLadowa& tank = w.AddUnit(2, 2, 2);
  watched.visible = unwatched.visible = tank.visible = false;
  ASSERT_EQ(HexDistance(4, 0, 3, 0), 1);
  ASSERT_EQ(HexDistance(4, 0, 3, 2), 2);

  EXPECT_EQ(CheckAirFight(*w.world, fighter, 3, 0, &own), eAirOrderRefusal::kNone);
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 3, 2, &own), eAirOrderRefusal::kNoTarget);
  EXPECT_EQ(fighter.FindWeakestEnemyAirInRange(kUnitTacticalBomber, &own), &watched);
  EXPECT_EQ(CheckAirBombardment(*w.world, bomber, 2, 2, &own), eAirOrderRefusal::kNoTarget);
  // The map's view: nothing of the three.
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 3, 0), eAirOrderRefusal::kNoTarget);
  EXPECT_EQ(fighter.FindWeakestEnemyAirInRange(kUnitTacticalBomber), nullptr);
  EXPECT_EQ(fighter.MarkAirFightTargets(false), 0);
  // What its reconnaissance spotted the computer sees, flags or not.
  own.reconSpottedUnits.push_back(&tank);
  EXPECT_EQ(CheckAirBombardment(*w.world, bomber, 2, 2, &own), eAirOrderRefusal::kNone);
  EXPECT_EQ(CheckAirBombardment(*w.world, bomber, 2, 2), eAirOrderRefusal::kNoTarget);
  // Without fog of war the computer sees every unit.
  twtest::ScopedFogOfWar none(0);
  EXPECT_EQ(CheckAirFight(*w.world, fighter, 3, 2, &own), eAirOrderRefusal::kNone);
  sBombardmentResult fought;
  RandSequence dice({Die(3)});
  EXPECT_EQ(AirFight(*w.world, fighter, 3, 2, fought, &own), eAirOrderRefusal::kNone);
  EXPECT_EQ(fought.kind, kCombatAirFight);
}

TEST_F(AirFightTest, WeakestEnemyAndInterceptorSearchTreatNobodysLandAsNobodys) {
  cJednostkaLotnicza& fighter = w.AddAir(2, 1, 1, kUnitFighter);
  cJednostkaLotnicza& weak = w.AddAir(3, 1, 2, kUnitTacticalBomber, 4.0f);
  w.AddAir(1, 1, 2, kUnitTacticalBomber, 6.0f);
  EXPECT_EQ(fighter.FindWeakestEnemyAirInRange(kUnitTacticalBomber), &weak);
  // An unseen plane is no target of the fighter.
  weak.visible = false;
  EXPECT_NE(fighter.FindWeakestEnemyAirInRange(kUnitTacticalBomber), &weak);
  weak.visible = true;
  // Land nobody controls next to the target: searches go on.
  for (sHex& hex : w.Map().Hexes()) hex.controller = 0;
  EXPECT_EQ(fighter.MarkNuclearTargets(false), 0);
  EXPECT_EQ(fighter.MarkReconHexes(false), 0);
}

}  // namespace

namespace {

TEST(AirComputerOrders, RebaseOfAnUnseenUnitMovesItWithoutDelays) {
  twtest::AirWorld w({"ppppp", "ppppp", "ppppp"});
  w.ThreeCountries();
  cJednostkaLotnicza& plane = w.AddAir(0, 1, 1, kUnitFighter);
  plane.visible = false;
  EXPECT_EQ(AiRebase(*w.world, plane, 9, 9), eAirOrderRefusal::kTargetOffMap);
  ASSERT_EQ(AiRebase(*w.world, plane, 3, 1), eAirOrderRefusal::kNone);
  EXPECT_EQ(w.Hex(0, 1).unit, nullptr);
  EXPECT_EQ(w.Hex(3, 1).unit, &plane);
  EXPECT_EQ(plane.x, 3);
  EXPECT_EQ(plane.actionPoints, 0);
}

// The computer's rebase is refused what the player's is, for the same
// reason, and a refused one leaves the plane, its points and the hexes be.
TEST(AirComputerOrders, RebaseIsRefusedWhatThePlayersCheckRefuses) {
  enum { kActed, kLowSupply, kTaken, kEnemyLand, kWater, kOffMap, kFree };
  const int cases[][4] = {{kActed, 2, 1, static_cast<int>(eAirOrderRefusal::kNotFullActionPoints)},
                          {kLowSupply, 2, 1, static_cast<int>(eAirOrderRefusal::kSupplyTooLow)},
                          {kTaken, 2, 1, static_cast<int>(eAirOrderRefusal::kTargetNotFree)},
                          {kEnemyLand, 2, 1, static_cast<int>(eAirOrderRefusal::kTargetNotFriendly)},
                          {kWater, 4, 0, static_cast<int>(eAirOrderRefusal::kTargetNotFriendly)},
                          {kOffMap, 7, 1, static_cast<int>(eAirOrderRefusal::kTargetOffMap)},
                          {kFree, 2, 1, static_cast<int>(eAirOrderRefusal::kNone)}};
  for (const auto& [setting, x, y, refusal] : cases) {
    twtest::AirWorld w({"pppp~", "ppppp", "ppppp"});
    w.ThreeCountries();
    w.world->SetGameState(kPhaseComputerPlayers);
    cJednostkaLotnicza& plane = w.AddAir(0, 1, 1, kUnitFighter);
    plane.visible = false;
    if (setting == kActed) plane.actionPoints -= 1;
    if (setting == kLowSupply) plane.supply = 1;
    if (setting == kTaken) w.AddAir(2, 1, 1, kUnitFighter);
    if (setting == kEnemyLand) w.Control(2, 1, 2);
    const int points = plane.actionPoints;
    const auto expected = static_cast<eAirOrderRefusal>(refusal);
    EXPECT_EQ(CheckRebase(*w.world, plane, x, y), expected) << setting;
    EXPECT_EQ(AiRebase(*w.world, plane, x, y), expected) << setting;
    if (expected != eAirOrderRefusal::kNone) {
      EXPECT_EQ(std::pair(plane.x, plane.y), std::pair(0, 1)) << setting;
      EXPECT_EQ(w.Hex(0, 1).unit, &plane) << setting;
      EXPECT_EQ(plane.actionPoints, points) << setting;
    } else {
      EXPECT_EQ(w.Hex(x, y).unit, &plane);
      EXPECT_EQ(w.Hex(0, 1).unit, nullptr);
      // Once moved, it has no points for a second rebase: refused alike.
      EXPECT_EQ(AiRebase(*w.world, plane, 1, 1), CheckRebase(*w.world, plane, 1, 1));
      EXPECT_EQ(CheckRebase(*w.world, plane, 1, 1), eAirOrderRefusal::kNotFullActionPoints);
    }
  }
}

}  // namespace
