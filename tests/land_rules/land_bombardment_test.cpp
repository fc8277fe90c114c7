#include <gtest/gtest.h>

#include "land_rules/land_rules_fixture.h"
#include "support/test_support.h"
#include "world/combat_result.h"
#include "world/commander.h"
#include "world/jednostka_lotnicza.h"

namespace {

using twtest::RandFor;
using twtest::RandSequence;

// A bomber of country 1 attacks an infantry of country 2 on (1, 1); every
// factor is 100 per cent unless a test changes it.
class LandBombardment : public ::testing::Test {
 protected:
  LandBombardment() : w_({"ppp", "ppp", "ppp"}) {
    w_.AddCountries({kAllies, kAxis});
    w_.War(1, 2);
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    sScenarioConstants& k = World().constants;
    k.airBaseStrength = {10, 10, 10};
    k.bombardTable58.fill(100);
    k.supplyEffectD.fill(100);
    k.bombardTerrainTable.fill(100);
    k.bombardTable59.fill(100);
    k.bombardValue60 = 100;
    k.bombardFactors = {1, 2, 3, 4, 5, 6};
    for (int die = 0; die < 6; ++die) {
      for (int column = 0; column < 5; ++column) k.navalRows[die][column] = 10 * (die + 1) + column + 1;
    }
    bomber_ = new cJednostkaLotnicza(&World());
    bomber_->countryId = 1;
    bomber_->SetType(kUnitTacticalBomber);
    bomber_->strength = 100;
    bomber_->level = 1;
    World().Units().airUnits.push_back(bomber_);
  }
  cWorld& World() { return *w_.world; }

  twtest::LandWorld w_;
  cJednostkaLotnicza* bomber_ = nullptr;
};

TEST_F(LandBombardment, ColumnFromLevelAndStrengthPicksTheAttackersLoss) {
  struct Case {
    int level, strength, column;
  };
  for (const Case c : {Case{3, 45, 1}, Case{1, 100, 1}, Case{5, 100, 5}, Case{4, 70, 3}}) {
    cJednostkaLadowa& target = w_.AddUnit(1, 1, 2);
    target.level = c.level;
    target.strength = c.strength;
    bomber_->strength = 10;  // full strength
    RandSequence draws({RandFor(1, 6, 2), RandFor(1, 6, 4)});
    sBombardmentResult result;
    target.ResolveAttack(result, bomber_, nullptr);
    EXPECT_FLOAT_EQ(result.attackerLosses, static_cast<float>(20 + c.column)) << c.level << " " << c.strength;
    EXPECT_FLOAT_EQ(bomber_->strength, 10.0f - static_cast<float>(20 + c.column));
    EXPECT_TRUE(result.Flag(kFlagAttackerDestroyed)) << "left for the caller to kill";
    // Effectiveness 100 per cent of the die's loss 4: 4, or 40 points of
    // base strength 10.
    EXPECT_FLOAT_EQ(result.defenderLosses, 4.0f);
    EXPECT_EQ(result.kind, kCombatAirStrikeLand);
    EXPECT_FALSE(result.Flag(kFlagDefenderDestroyed));
    EXPECT_EQ(target.strength, c.strength - 40);
    target.Kill();
  }
}

TEST_F(LandBombardment, SmallFactorsStillHitAtLeastOnePerCentAndADeadTargetLeaves) {
  sScenarioConstants& k = World().constants;
  k.bombardTerrainTable.fill(1);
  k.bombardTable59.fill(1);
  cJednostkaLadowa& target = w_.AddUnit(1, 1, 2);
  target.strength = 100;
  bomber_->strength = 10;
  World().turnState.selectedUnit = &target;
  {
    RandSequence draws({RandFor(1, 6, 1), RandFor(1, 6, 6)});
    sBombardmentResult result;
    twtest::LogCapture log;
    target.ResolveAttack(result, bomber_, nullptr);
    EXPECT_TRUE(log.Contains(L"Attack effectiveness = 1.0"));
    EXPECT_FLOAT_EQ(result.defenderLosses, 0.06f);  // 6 x 1 / 100
    EXPECT_EQ(target.strength, 100);                  // 0.6 points: none
    EXPECT_EQ(World().reports.Reports().size(), 2u);
  }
  k.bombardTerrainTable.fill(100);
  k.bombardTable59.fill(100);
  target.strength = 5;
  bomber_->strength = 10;
  RandSequence draws({RandFor(1, 6, 1), RandFor(1, 6, 6)});
  sBombardmentResult result;
  target.ResolveAttack(result, bomber_, nullptr);
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_EQ(w_.Hex(1, 1).unit, nullptr);
  EXPECT_EQ(World().turnState.selectedUnit, nullptr);
  EXPECT_TRUE(World().Units().landUnits.empty());
}

TEST_F(LandBombardment, TheBombersCommanderDoublesTheDamageAndSparesItsLosses) {
  // Weights 1 and skill 60: each check passes on a roll below 60.
  World().unitConstants.damageDoublingWeight = 1;
  World().unitConstants.lossPreventionWeight = 1;
  cCommander commander;
  commander.skill = 60;
  bomber_->ownCommander = &commander;
  for (int roll : {59, 60}) {
    cJednostkaLadowa& target = w_.AddUnit(1, 1, 2);
    target.strength = 100;
    bomber_->strength = 10;
    RandSequence draws({RandFor(1, 6, 1), RandFor(1, 6, 2), RandFor(1, 100, roll), RandFor(1, 100, roll)});
    sBombardmentResult result;
    target.ResolveAttack(result, bomber_, nullptr);
    const bool helped = roll < 60;
    EXPECT_FLOAT_EQ(result.defenderLosses, helped ? 4.0f : 2.0f) << roll;
    EXPECT_FLOAT_EQ(result.attackerLosses, helped ? 0.0f : 11.0f) << roll;
    EXPECT_EQ(draws.Left(), 0u);
    target.Kill();
  }
  bomber_->ownCommander = nullptr;
}

}  // namespace
