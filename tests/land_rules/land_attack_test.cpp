#include <gtest/gtest.h>

#include "land_rules/land_rules_fixture.h"
#include "rules/land_attack.h"
#include "rules/land_move.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/commander.h"
#include "world/jednostka_lotnicza.h"
#include "world/land_attack_plan.h"

namespace {

using twtest::RandFor;
using twtest::RandSequence;

// A 5 x 5 plain map; country 1 (Allies) at war with 2 (Axis), 3 neutral.
// The defender of country 2 stands on (2, 2); attackers of country 1 stand
// on its sides. Every land unit has base strength 10 at level 1.
class LandAttackTest : public ::testing::Test {
 protected:
  LandAttackTest() : w_({"ppppp", "ppppp", "ppppp", "ppppp", "ppppp"}) {
    w_.AddCountries({kAllies, kAxis, kNeutral});
    w_.War(1, 2);
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    sScenarioConstants& k = World().constants;
    // Line 31: armour, not land, directions for 1..6 sides, three unused,
    // river, fortification step.
    k.landCombatFactors = {0.5f, 0.8f, 1.0f, 1.2f, 1.4f, 1.6f, 1.8f, 2.0f, 0, 0, 0, 0.5f, 10.0f};
    // Line 32: (unused), terrains 1..7, city.
    k.terrainCombatFactors = {0, 1.0f, 1.5f, 1.3f, 1.2f, 1.4f, 2.0f, 0.9f, 2.0f};
    k.fixedDefenderStrength = 5.0f;
    k.winterBattleFactor = 50.0f;
    k.mudBattleFactor = 25.0f;
    k.entrenchmentFactor = 5.0f;
    k.attackActionPointCost = {2, 2, 2, 2, 2, 2};
    // p = 10 x die + column, r = 0.1 x die + 0.01 x column.
    for (int die = 1; die <= 6; ++die) {
      for (int column = 1; column <= 7; ++column) {
        k.combatResultInt[die - 1][column - 1] = 10 * die + column;
        k.combatResultLoss[die - 1][column - 1] = 0.1f * die + 0.01f * column;
      }
    }
    k.retreatBase = 100;
    k.retreatOddsFactors.fill(1.0f);
    k.retreatTerrainFactors.fill(1.0f);
  }
  cWorld& World() { return *w_.world; }
  cJednostkaLadowa& Unit(int x, int y, int country, int type = kUnitInfantryDivision) {
    cJednostkaLadowa& unit = w_.AddUnit(x, y, country, type);
    unit.effectiveness = 100;
    unit.actionPoints = unit.startingActionPoints = 5;
    return unit;
  }
  // An attacker of country 1 on side d of the defender's hex (2, 2).
  cJednostkaLadowa& Attacker(int side, int type = kUnitInfantryDivision) {
    int x = 0, y = 0;
    HexNeighbourCoords(2, 2, side, x, y);
    return Unit(x, y, 1, type);
  }
  cLandAttack Plan(cJednostka* defender) {
    cLandAttack plan;
    plan.Clear();
    plan.defender = defender;
    plan.defenderX = 2;
    plan.defenderY = 2;
    return plan;
  }
  // The draws of a battle without commanders: the two dice and the
  // computer-side chance (both sides play alike: no die changes).
  static std::vector<int> Dice(int attackDie, int defenceDie) {
    return {RandFor(1, 6, attackDie), RandFor(1, 6, defenceDie), 0};
  }

  twtest::LandWorld w_;
};

// --- Factors and odds ---

TEST_F(LandAttackTest, FactorsOfAWorkedExample) {
  // Two infantry attack from north and south (a river on the south side)
  // an entrenched infantry on fortified forest; the northern attacker
  // stands in snow, its country's winter modifier 40 per cent.
  w_.Hex(2, 2).terrain = kTerrainForest;
  w_.Hex(2, 2).fortification = 1;
  w_.Hex(2, 2).riverMask = 1u << kDirSouth;
  w_.Hex(2, 1).weather = 1;
  w_.Country(1).winterBattle = 40.0f;
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  defender.entrenchment = 2;
  cLandAttack plan = Plan(&defender);
  plan.SetAttacker(kDirNorth, &Attacker(kDirNorth));
  plan.SetAttacker(kDirSouth, &Attacker(kDirSouth));

  EXPECT_EQ(plan.CountAttackingSides(), 2);
  EXPECT_FLOAT_EQ(plan.GetAttackersCombatStrength(), 20.0f);
  EXPECT_FLOAT_EQ(plan.GetAttackerStrength(World()), 15.0f);  // 10 + 10 x 0.5
  EXPECT_FLOAT_EQ(plan.GetDirectionsFactor(World()), 1.2f);
  EXPECT_FLOAT_EQ(plan.GetArmourFactor(World()), 1.0f);
  EXPECT_FLOAT_EQ(plan.GetAttackerWeatherFactor(World()), 0.9f);  // (0.8 + 1) / 2
  EXPECT_FLOAT_EQ(plan.GetFortificationFactor(World()), 0.9f);
  EXPECT_NEAR(plan.GetAttackerFactor(World()), 1.2 * 0.9 * 0.9, 1e-5);
  EXPECT_FLOAT_EQ(plan.GetDefenderStrength(World()), 10.0f);
  EXPECT_FLOAT_EQ(plan.GetTerrainFactor(World()), 1.5f);
  EXPECT_FLOAT_EQ(plan.GetCityFactor(World()), 1.0f);
  EXPECT_FLOAT_EQ(plan.GetDefenderWeatherFactor(World()), 1.0f);
  EXPECT_FLOAT_EQ(plan.GetEntrenchmentFactor(World()), 1.1f);
  EXPECT_NEAR(plan.GetDefenderFactor(World()), 1.65, 1e-5);
  EXPECT_EQ(plan.EstimateOddsColumn(World()), 1);  // 14.58 : 16.5

  // A city and winter on the defender's hex (its country's modifier 20).
  w_.AddCity(2, 2, kCityNormal);
  w_.Hex(2, 2).weather = 1;
  w_.Country(2).winterBattle = 20.0f;
  EXPECT_FLOAT_EQ(plan.GetCityFactor(World()), 2.0f);
  EXPECT_FLOAT_EQ(plan.GetDefenderWeatherFactor(World()), 0.9f);
}

TEST_F(LandAttackTest, DirectionsArmourAndTheDefenderThatIsNoLandUnit) {
  cJednostkaLadowa& defender = Unit(2, 2, 2, kUnitArmouredDivision);
  cLandAttack plan = Plan(&defender);
  EXPECT_FLOAT_EQ(plan.GetDirectionsFactor(World()), 1.0f) << "no side attacks";
  for (int side = 0; side < 6; ++side) plan.SetAttacker(side, &Attacker(side));
  EXPECT_FLOAT_EQ(plan.GetDirectionsFactor(World()), 2.0f) << "six sides: column 8";
  EXPECT_FLOAT_EQ(plan.GetArmourFactor(World()), 0.5f) << "armour attacked without armour";
  plan.SetAttacker(3, &Unit(10, 10, 1, kUnitArmouredCorps));  // off the map: weather 1.0
  EXPECT_FLOAT_EQ(plan.GetArmourFactor(World()), 1.0f);
  EXPECT_FLOAT_EQ(plan.GetAttackerWeatherFactor(World()), 1.0f);

  // An air unit on the ground: the fixed strength, the factor against a
  // defender that is no land unit, no fortification nor entrenchment.
  auto* air = new cJednostkaLotnicza(&World());
  air->countryId = 2;
  air->SetType(kUnitFighter);
  World().Units().airUnits.push_back(air);
  w_.Hex(2, 2).fortification = 3;
  plan.defender = air;
  EXPECT_FLOAT_EQ(plan.GetDefenderStrength(World()), 5.0f);
  EXPECT_FLOAT_EQ(plan.GetArmourFactor(World()), 0.8f);
  EXPECT_FLOAT_EQ(plan.GetFortificationFactor(World()), 1.0f);
  EXPECT_FLOAT_EQ(plan.GetEntrenchmentFactor(World()), 1.0f);
}

TEST_F(LandAttackTest, OddsColumnIsClampedAndNeverDividesByZero) {
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  cLandAttack plan = Plan(&defender);
  cJednostkaLadowa& attacker = Attacker(0);
  plan.SetAttacker(0, &attacker);
  EXPECT_EQ(plan.EstimateOddsColumn(World()), 1);  // 1 : 1
  attacker.effectiveness = 399;
  EXPECT_EQ(plan.EstimateOddsColumn(World()), 3);
  defender.strength = 0;  // no defence at all
  EXPECT_EQ(plan.EstimateOddsColumn(World()), 7);
  World().constants.terrainCombatFactors[1] = 0.0f;  // a zero factor as well
  defender.strength = 100;
  EXPECT_EQ(plan.EstimateOddsColumn(World()), 7);
  attacker.strength = 0;
  EXPECT_EQ(plan.EstimateOddsColumn(World()), 1) << "0 : 0 is the weakest column";
}

// --- Checks of the set-up ---

TEST_F(LandAttackTest, SetUpChecksWhoMayAttackWhom) {
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  cJednostkaLadowa& first = Attacker(0);
  World().turnState.SetCurrentCountry(&w_.Country(1));
  cJednostkaLadowa& far = Unit(4, 4, 1);
  EXPECT_EQ(CheckNewAttack(World(), defender, far, true), eAttackRefusal::kNotAdjacent);
  cJednostkaLadowa& neutral = Unit(0, 0, 3);
  EXPECT_EQ(CheckNewAttack(World(), neutral, Unit(1, 0, 1), true), eAttackRefusal::kNotAtWar);
  first.actionPoints = 0;
  EXPECT_EQ(CheckNewAttack(World(), defender, first, true), eAttackRefusal::kNoActionPoints);
  first.actionPoints = 3;
  defender.wasAttacked = true;
  EXPECT_EQ(CheckNewAttack(World(), defender, first, true), eAttackRefusal::kDefenderWasAttacked);
  EXPECT_EQ(CheckNewAttack(World(), defender, first, false), eAttackRefusal::kNone);
  ASSERT_EQ(NewAttack(World(), defender, first, false), eAttackRefusal::kNone);
  ASSERT_NE(World().turnState.attack, nullptr);
  EXPECT_EQ(World().turnState.attack->attackers[kDirNorth], &first);

  // A second side turns the plan into a multi-side attack on a defender that
  // was already attacked: the plan is dropped.
  cJednostkaLadowa& second = Attacker(kDirSouth);
  EXPECT_EQ(AddAttacker(World(), second), eAttackRefusal::kNone);
  EXPECT_EQ(World().turnState.attack, nullptr);

  defender.wasAttacked = false;
  ASSERT_EQ(NewAttack(World(), defender, first, true), eAttackRefusal::kNone);
  second.attacked = true;
  EXPECT_EQ(CheckAddAttacker(World(), second), eAttackRefusal::kAlreadyAttacked);
  second.attacked = false;
  EXPECT_EQ(CheckAddAttacker(World(), Unit(3, 2, 2)), eAttackRefusal::kNotOwnUnit);
  EXPECT_EQ(AddAttacker(World(), second), eAttackRefusal::kNone);
  EXPECT_EQ(World().turnState.attack->CountAttackingSides(), 2);
  EXPECT_EQ(CheckExecuteAttack(World()), eAttackRefusal::kNone);

  // Removing attackers; the last one takes the plan with it.
  EXPECT_EQ(RemoveAttacker(World(), far), eAttackRefusal::kNotAnAttacker);
  EXPECT_EQ(RemoveAttacker(World(), first), eAttackRefusal::kNone);
  ASSERT_NE(World().turnState.attack, nullptr);
  EXPECT_EQ(RemoveAttacker(World(), second), eAttackRefusal::kNone);
  EXPECT_EQ(World().turnState.attack, nullptr);
  EXPECT_EQ(CheckExecuteAttack(World()), eAttackRefusal::kNoPlan);
  EXPECT_STREQ(AttackRefusalKey(eAttackRefusal::kNoPlan), "attack_impossible_no_plan");
}

TEST_F(LandAttackTest, OneSidedAttackStaysWhenItsDefenderWasAttacked) {
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  defender.wasAttacked = true;
  World().turnState.SetAttack(&defender, 2, 2, &Attacker(0));
  World().turnState.DropInvalidAttack();
  EXPECT_NE(World().turnState.attack, nullptr);
}

// --- The battle ---

// Each row of the defender's table: the first die picks the percentage of
// the defender's strength lost (column 2 here: 25 : 10).
TEST_F(LandAttackTest, EachRowOfTheDefendersLossTable) {
  for (int die = 1; die <= 6; ++die) {
    cJednostkaLadowa& defender = Unit(2, 2, 2);
    w_.Hex(2, 2).fortification = 1;  // holds: no retreat check
    World().constants.landCombatFactors[12] = 0.0f;
    cJednostkaLadowa& attacker = Attacker(0);
    attacker.effectiveness = 250;
    cLandAttack plan = Plan(&defender);
    plan.SetAttacker(0, &attacker);
    RandSequence draws(Dice(die, 1));
    sBombardmentResult result;
    ASSERT_TRUE(plan.Resolve(World(), result));
    const int p = 10 * die + 2;
    EXPECT_EQ(defender.strength, 100 - p) << die;
    EXPECT_FLOAT_EQ(result.defenderLosses, 10.0f * p / 100.0f) << die;
    EXPECT_EQ(result.kind, kCombatLandBattle);
    EXPECT_EQ(result.attackerCountry, 1);
    EXPECT_EQ(result.defenderCountry, 2);
    EXPECT_EQ(attacker.actionPoints, 3) << "the attack costs 2 points";
    EXPECT_FALSE(defender.wasAttacked) << "a one-sided attack leaves the flags";
    EXPECT_FALSE(attacker.attacked);
    EXPECT_EQ(draws.Left(), 0u);
    defender.Kill();
    attacker.Kill();
  }
}

// Each row of the attackers' table: the second die picks the ratio of the
// attackers' loss to the defender's calculated loss, scaled by the
// defender's effectiveness.
TEST_F(LandAttackTest, EachRowOfTheAttackersLossTable) {
  for (int die = 1; die <= 6; ++die) {
    cJednostkaLadowa& defender = Unit(2, 2, 2);
    defender.effectiveness = 80;
    w_.Hex(2, 2).fortification = 1;
    World().constants.landCombatFactors[12] = 0.0f;
    cJednostkaLadowa& attacker = Attacker(0);
    cLandAttack plan = Plan(&defender);
    plan.SetAttacker(0, &attacker);
    attacker.effectiveness = 80;  // 8 : 8, column 1
    RandSequence draws(Dice(4, die));
    sBombardmentResult result;
    ASSERT_TRUE(plan.Resolve(World(), result));
    const float value = 10.0f * 41 / 100.0f;                      // p = 41
    const float ratio = (0.1f * die + 0.01f) * 0.8f;              // r x effectiveness
    EXPECT_NEAR(result.attackerLosses, ratio * value, 1e-4) << die;
    EXPECT_EQ(attacker.strength, 100 - static_cast<int>(ratio * value * 100.0f / 10.0f)) << die;
    EXPECT_NEAR(World().GetRelations().GetLosses(2, 1), result.attackerLosses, 1e-4);
    World().GetRelations().Reset(3);
    w_.War(1, 2);
    defender.Kill();
    attacker.Kill();
  }
}

TEST_F(LandAttackTest, WeakerThanOneToOneSparesTheDefenderButNotTheAttackers) {
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  cJednostkaLadowa& attacker = Attacker(0);
  attacker.strength = 50;  // 5 : 10
  cLandAttack plan = Plan(&defender);
  plan.SetAttacker(0, &attacker);
  RandSequence draws(Dice(2, 3));
  sBombardmentResult result;
  twtest::LogCapture log;
  ASSERT_TRUE(plan.Resolve(World(), result));
  EXPECT_EQ(defender.strength, 100);
  EXPECT_FLOAT_EQ(result.defenderLosses, 0.0f);
  // p = 21 of column 1: V = 2.1; r = 0.31; all of it falls on the attacker.
  EXPECT_NEAR(result.attackerLosses, 0.31 * 2.1, 1e-4);
  EXPECT_EQ(attacker.strength, 50 - 6);
  EXPECT_FLOAT_EQ(World().GetRelations().GetLosses(1, 2), 0.0f);
  EXPECT_TRUE(log.Contains(
      L"attack_was_weaker_than_1:1,_losses_will_be_calculated_for_defender_but_won't_be_inflicted!"));
  EXPECT_TRUE(log.Contains(L"===BATTLE END==="));
}

TEST_F(LandAttackTest, EightToOneIsAnOverrunAndJustBelowIsColumnSeven) {
  for (bool overrun : {true, false}) {
    cJednostkaLadowa& defender = Unit(2, 2, 2);
    defender.strength = 10;  // 1.0 combat strength
    cJednostkaLadowa& attacker = Attacker(0);
    attacker.effectiveness = overrun ? 80 : 79;  // 8 : 1 or 7.9 : 1
    w_.Hex(2, 2).fortification = 1;
    World().constants.landCombatFactors[12] = 0.0f;
    cLandAttack plan = Plan(&defender);
    plan.SetAttacker(0, &attacker);
    World().turnState.selectedUnit = &defender;
    RandSequence draws(Dice(1, 1));
    sBombardmentResult result;
    ASSERT_TRUE(plan.Resolve(World(), result));
    EXPECT_EQ(result.Flag(kFlagDefenderDestroyed), overrun);
    if (overrun) {
      EXPECT_EQ(plan.defender, nullptr);
      EXPECT_EQ(w_.Hex(2, 2).unit, nullptr);
      EXPECT_EQ(World().turnState.selectedUnit, nullptr) << "the killed unit leaves the selection";
      EXPECT_FLOAT_EQ(result.defenderLosses, 1.0f);
      EXPECT_EQ(attacker.strength, 100) << "an overrun costs the attackers nothing";
    } else {
      EXPECT_EQ(defender.strength, 10 - 1) << "p = 17 of column 7";
      defender.Kill();
    }
    attacker.Kill();
  }
}

TEST_F(LandAttackTest, AWeakDefenderRetreatsAwayFromTheAttack) {
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  defender.strength = 60;
  cJednostkaLadowa& attacker = Attacker(kDirNorth);
  attacker.effectiveness = 400;  // 40 : 6, column 6
  cLandAttack plan = Plan(&defender);
  plan.SetAttacker(kDirNorth, &attacker);
  // p = 16: strength 60 - 9 = 51 keeps it from retreating...
  {
    RandSequence draws(Dice(1, 1));
    sBombardmentResult result;
    ASSERT_TRUE(plan.Resolve(World(), result));
    EXPECT_EQ(defender.strength, 51);
    EXPECT_FALSE(result.Flag(kFlagDefenderRetreated));
  }
  // ...and 51 - 8 = 43 (7.8 : 1, p = 17) retreats: chance 100 - 43 = 57,
  // roll 10; the side opposite the attacker scores 100.
  w_.Hex(2, 3).controller = 2;
  RandSequence draws({RandFor(1, 6, 1), RandFor(1, 6, 1), 0, RandFor(1, 100, 10)});
  sBombardmentResult result;
  twtest::LogCapture log;
  ASSERT_TRUE(plan.Resolve(World(), result));
  EXPECT_TRUE(log.Contains(L"Retreat chance: Base=57.00% Modifiers: Column=1.00 Terrain=1.00. CHANCE=57%"));
  EXPECT_TRUE(result.Flag(kFlagDefenderRetreated));
  EXPECT_EQ(defender.x, 2);
  EXPECT_EQ(defender.y, 3);
  EXPECT_EQ(w_.Hex(2, 3).unit, &defender);
  EXPECT_EQ(w_.Hex(2, 2).unit, nullptr);
  EXPECT_EQ(w_.Hex(2, 3).controller, 2);
  EXPECT_EQ(draws.Left(), 0u);
}

TEST_F(LandAttackTest, RetreatIntoEnemyLandRetakesItAndNoSideMeansSurrender) {
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  defender.strength = 30;
  cJednostkaLadowa& attacker = Attacker(kDirNorth);
  cLandAttack plan = Plan(&defender);
  plan.SetAttacker(kDirNorth, &attacker);
  // Every side but the south is closed: neutral land or a unit.
  w_.Hex(3, 2).controller = 3;
  w_.Hex(3, 3).controller = 3;
  Unit(1, 3, 2);
  w_.Hex(1, 2).controller = 3;
  {
    RandSequence draws({RandFor(1, 6, 1), RandFor(1, 6, 1), 0, RandFor(1, 100, 1)});
    sBombardmentResult result;
    ASSERT_TRUE(plan.Resolve(World(), result));
    EXPECT_TRUE(result.Flag(kFlagDefenderRetreated));
    EXPECT_EQ(defender.y, 3);
    EXPECT_EQ(w_.Hex(2, 3).controller, 2) << "the enemy's hex is taken back";
  }
  // Now nothing is open but the hex it came from, which the attacker takes.
  w_.Hex(2, 4).controller = 3;
  w_.Hex(3, 4).controller = 3;
  w_.Hex(1, 4).controller = 3;
  w_.Hex(3, 3).controller = 3;
  w_.Hex(1, 3).controller = 3;
  w_.Hex(2, 2).controller = 3;
  plan.defenderY = 3;
  defender.name = L"Ulan";
  HexNeighbourCoords(2, 3, kDirNorth, attacker.x, attacker.y);
  RandSequence draws({RandFor(1, 6, 1), RandFor(1, 6, 1), 0, RandFor(1, 100, 1)});
  sBombardmentResult result;
  twtest::LogCapture log;
  ASSERT_TRUE(plan.Resolve(World(), result));
  EXPECT_TRUE(result.Flag(kFlagDefenderSurrendered));
  EXPECT_EQ(plan.defender, nullptr);
  EXPECT_EQ(w_.Hex(2, 3).unit, nullptr);
  EXPECT_TRUE(log.Contains(L"retreat_check_passed,_but_retreat_impossible._Ulan_surrenders!"));
}

TEST_F(LandAttackTest, EqualRetreatSidesArePickedEvenly) {
  // A defender in the corner attacked from the side that has no hex (a
  // landing from the sea): its three free sides all score 0. The k-th equal
  // side replaces the choice when the even pick among k gives 0: never (the
  // first side stays), or always (the last one wins).
  for (bool replace : {false, true}) {
    cJednostkaLadowa& defender = Unit(0, 0, 2);
    defender.strength = 30;
    cJednostkaLadowa& attacker = Unit(4, 4, 1);
    cLandAttack plan = Plan(&defender);
    plan.defenderX = plan.defenderY = 0;
    plan.SetAttacker(kDirNorth, &attacker);
    std::vector<int> draws = {RandFor(1, 6, 1), RandFor(1, 6, 1), 0, RandFor(1, 100, 1)};
    for (int k = 2; k <= 3; ++k) draws.push_back(replace ? 0 : plat::kRandMax);
    RandSequence sequence(draws);
    sBombardmentResult result;
    ASSERT_TRUE(plan.Resolve(World(), result));
    EXPECT_TRUE(result.Flag(kFlagDefenderRetreated));
    int x = 0, y = 0;
    HexNeighbourCoords(0, 0, replace ? kDirSouth : kDirNorthEast, x, y);
    EXPECT_EQ(defender.x, x) << replace;
    EXPECT_EQ(defender.y, y) << replace;
    EXPECT_EQ(sequence.Left(), 0u);
    defender.Kill();
    attacker.Kill();
  }
}

TEST_F(LandAttackTest, KilledAttackerLeavesTheWorldAndMultiSideFlagsAreSet) {
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  w_.Hex(2, 2).fortification = 1;
  World().constants.landCombatFactors[12] = 0.0f;
  // Losses fall on the attackers in proportion; a weak unit of base strength
  // 1 loses 3 of its 10 points and is gone (0.07), the strong one keeps 62.
  LandUnitConstants().baseStrength[1].fill(1.0f);
  cJednostkaLadowa& weak = Attacker(kDirNorth);
  weak.level = 2;
  weak.strength = 10;
  cJednostkaLadowa& strong = Attacker(kDirSouth);
  strong.effectiveness = 200;
  World().turnState.SetAttack(&defender, 2, 2, &weak, nullptr, nullptr, &strong);
  World().turnState.undo.unit = &strong;  // a move before the battle
  RandSequence draws(Dice(6, 6));
  sBombardmentResult result;
  twtest::LogCapture log;
  ASSERT_EQ(ExecuteAttack(World(), result), eAttackRefusal::kNone);
  EXPECT_TRUE(result.Flag(kFlagAttackerDestroyed));
  EXPECT_EQ(World().Units().landUnits.size(), 2u);
  EXPECT_EQ(w_.Hex(2, 1).unit, nullptr);
  EXPECT_EQ(World().turnState.attack, nullptr);
  EXPECT_EQ(strong.strength, 62);
  EXPECT_EQ(defender.strength, 38);
  EXPECT_TRUE(defender.wasAttacked);
  EXPECT_TRUE(strong.attacked);
  EXPECT_TRUE(log.Contains(L"attacker_destroyed!"));
  // The battle clears the undo record.
  EXPECT_EQ(World().turnState.undo.unit, nullptr);
  EXPECT_EQ(UndoLandMove(World(), &strong), eUndoRefusal::kNothingMoved);
  // The two reports: the attack for country 1, the defence for country 2.
  ASSERT_EQ(World().reports.Reports().size(), 2u);
  EXPECT_EQ(World().reports.Reports().front().type, 0);
  EXPECT_EQ(World().reports.Reports().front().countryId, 1);
  EXPECT_EQ(World().reports.Reports().back().type, 1);
  EXPECT_EQ(World().reports.Reports().back().countryId, 2);
  const std::wstring& attack = World().reports.Reports().front().text;
  EXPECT_EQ(attack.rfind(L"Attacked unit  () [10.00] on hex (2, 2) with unit(s)  [0.10],  [10.00]\n\n", 0), 0u)
      << std::string(attack.begin(), attack.end());
  EXPECT_NE(attack.find(L"destroyed!\n"), std::wstring::npos);
  EXPECT_EQ(result.attackerText2, attack);
}

TEST_F(LandAttackTest, AirUnitOnTheGroundLosesAFixedShareAndAttackersNothing) {
  auto* air = new cJednostkaLotnicza(&World());
  air->countryId = 2;
  air->SetType(kUnitFighter);
  air->strength = 100;
  World().Units().airUnits.push_back(air);
  ASSERT_TRUE(air->PlaceOnHex(World(), 2, 2));
  cJednostkaLadowa& attacker = Attacker(0);
  cLandAttack plan = Plan(air);
  plan.SetAttacker(0, &attacker);  // 10 x 0.8 : 5, column 1
  RandSequence draws(Dice(6, 1));  // p = 61: 0.25 - 0.1525 < 0.1
  sBombardmentResult result;
  ASSERT_TRUE(plan.Resolve(World(), result));
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_NEAR(result.defenderLosses, 0.1525, 1e-5);
  EXPECT_TRUE(World().Units().airUnits.empty());
  EXPECT_EQ(attacker.strength, 100);
}

TEST_F(LandAttackTest, CommandersGainExperienceUpToTheLimit) {
  // Line 130: limit 3, defender's chance 40, attacker's chance 70.
  World().constants.commanderExperienceValues = {3, 0, 40, 70};
  cJednostkaLadowa& defender = Unit(2, 2, 2);
  w_.Hex(2, 2).fortification = 1;
  World().constants.landCombatFactors[12] = 0.0f;
  cJednostkaLadowa& attacker = Attacker(0);
  cCommander attackerCommander;
  attackerCommander.experience = 2;
  cCommander defenderCommander;
  defenderCommander.experience = 3;  // at the limit: no roll
  attacker.ownCommander = &attackerCommander;
  defender.ownCommander = &defenderCommander;
  cLandAttack plan = Plan(&defender);
  plan.SetAttacker(0, &attacker);
  std::vector<int> draws = {RandFor(1, 100, 70)};
  for (int d : Dice(1, 1)) draws.push_back(d);
  {
    RandSequence sequence(draws);
    sBombardmentResult result;
    ASSERT_TRUE(plan.Resolve(World(), result));
    EXPECT_EQ(sequence.Left(), 0u);
  }
  EXPECT_EQ(attackerCommander.experience, 3);
  EXPECT_EQ(defenderCommander.experience, 3);
  // A roll above the chance gains nothing.
  defenderCommander.experience = 0;
  draws = {RandFor(1, 100, 41)};  // the attacker's commander is at the limit now
  for (int d : Dice(1, 1)) draws.push_back(d);
  RandSequence sequence(draws);
  sBombardmentResult result;
  ASSERT_TRUE(plan.Resolve(World(), result));
  EXPECT_EQ(defenderCommander.experience, 0);
  attacker.ownCommander = nullptr;
  defender.ownCommander = nullptr;
}

TEST_F(LandAttackTest, AComputerSideFightingAHumanOneRollsOneMoreNineTimesInTen) {
  // Country 1 is the computer's, 2 a human player's.
  w_.Country(2).human = true;
  for (bool chance : {true, false}) {
    cJednostkaLadowa& defender = Unit(2, 2, 2);
    w_.Hex(2, 2).fortification = 1;
    World().constants.landCombatFactors[12] = 0.0f;
    cJednostkaLadowa& attacker = Attacker(0);
    attacker.effectiveness = 250;  // column 2
    cLandAttack plan = Plan(&defender);
    plan.SetAttacker(0, &attacker);
    // The fraction above 0.1 turns the first die's 5 into 6.
    RandSequence draws({RandFor(1, 6, 5), RandFor(1, 6, 1), chance ? plat::kRandMax : 3000});
    sBombardmentResult result;
    ASSERT_TRUE(plan.Resolve(World(), result));
    EXPECT_EQ(defender.strength, 100 - (chance ? 62 : 52)) << chance;
    defender.Kill();
    attacker.Kill();
  }
}

}  // namespace
