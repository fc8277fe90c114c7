// The upkeep of a computer country's forces: replacements by their
// thresholds, weakest first, within the production points; ship repairs
// below the damage threshold; free commanders for the strongest land units.
#include <gtest/gtest.h>

#include "ai/ai_economy.h"
#include "ai/ai_fixture.h"
#include "world/commander.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"

namespace {

using twtest::AiWorld;

class AiUpkeep : public ::testing::Test {
 protected:
  AiUpkeep() {
    sScenarioConstants& k = w.world->constants;
    LandUnitConstants().baseStrength[0] = {10, 20, 10, 20, 10, 20, 10};
    k.replacementFactors = {20, 20, 20, 20, 20, 20, 20};  // 2 points per strength point
    k.supplyEffectE.fill(100);
    k.supplyEffectF.fill(20);
    k.airCostFactorsA = {1, 1, 1};
    Country().name = L"Eastmark";
  }
  cCountry& Country() { return w.Country(1); }
  cJednostkaLadowa& Land(int x, int strength) {
    cJednostkaLadowa& unit = w.Fresh(x, 0, 1, kUnitInfantryDivision, 1, strength);
    unit.supply = 10;
    unit.turnsWithoutSupply = 0;
    unit.effectiveness = 100;
    unit.name = L"Land " + std::to_wstring(x);
    return unit;
  }
  cJednostkaLotnicza& Air(int x, int type, float strength) {
    cJednostkaLotnicza& unit = w.AddAir(x, 1, 1, type, strength);
    unit.actionPoints = unit.startingActionPoints = 5;
    return unit;
  }

  AiWorld w;
};

TEST_F(AiUpkeep, LandUnitAtHalfStrengthWaitsForTheFinalCall) {
  cJednostkaLadowa& unit = Land(0, 50);
  Country().productionPoints = 1000.0;
  ai::ReplaceLandLosses(*w.world, Country(), 0.5f);
  EXPECT_EQ(unit.strength, 50);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 1000.0);
  ai::ReplaceLandLosses(*w.world, Country(), 0.98f);
  EXPECT_EQ(unit.strength, 100);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 900.0);
  EXPECT_TRUE(w.log.Contains(L"[AI]: Eastmark - Replacements for Land 0 (50 strength, cost 100.0 PP)"));
}

TEST_F(AiUpkeep, WeakestLandUnitFirstWithinThePointsAndTheSupplyAllowance) {
  cJednostkaLadowa& stronger = Land(0, 60);
  cJednostkaLadowa& weaker = Land(1, 40);
  cJednostkaLadowa& enemy = w.Fresh(2, 0, 2, kUnitInfantryDivision, 1, 10);
  enemy.supply = 10;
  enemy.turnsWithoutSupply = 0;
  Country().productionPoints = 100.0;  // 50 points
  ai::ReplaceLandLosses(*w.world, Country(), 0.98f);
  EXPECT_EQ(weaker.strength, 90);
  EXPECT_EQ(stronger.strength, 60);
  EXPECT_EQ(enemy.strength, 10);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 0.0);

  w.world->constants.supplyEffectE.fill(15);
  Country().productionPoints = 100.0;
  stronger.actionPoints = 4;
  ai::ReplaceLandLosses(*w.world, Country(), 0.98f);
  EXPECT_EQ(stronger.strength, 75);
}

// Air units fill up to their type's full strength (consts line 14): on a
// scale of 4 for fighters and 8 for bombers a fighter at 3 gets 1 point and
// a bomber at 3 gets 5; a fighter takes half the supply allowance.
TEST_F(AiUpkeep, AirUnitsFillToTheFullStrengthOfTheirType) {
  w.world->constants.airBaseStrength = {4, 8, 8};
  cJednostkaLotnicza& fighter = Air(0, kUnitFighter, 3.0f);
  cJednostkaLotnicza& bomber = Air(1, kUnitTacticalBomber, 3.0f);
  cJednostkaLotnicza& whole = Air(2, kUnitTacticalBomber, 8.0f);
  Country().productionPoints = 100.0;
  ai::ReplaceAirLosses(*w.world, Country(), 0.98f);
  EXPECT_FLOAT_EQ(fighter.strength, 4.0f);
  EXPECT_FLOAT_EQ(bomber.strength, 8.0f);
  EXPECT_FLOAT_EQ(whole.strength, 8.0f);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 94.0);
  EXPECT_TRUE(w.log.Contains(L"[AI]: Eastmark - air unit Air 2 replenished to 8 strength"));
}

// Europe 1939's scale: full strength 100 for every type, a supply allowance
// of 20 at full supply, air units that stand at 90 to 100.
TEST_F(AiUpkeep, AirUnitsAtAHundredAreReplenishedWithinTheSupplyAllowance) {
  w.world->constants.airBaseStrength = {100, 100, 100};
  cJednostkaLotnicza& fighter = Air(0, kUnitFighter, 90.0f);
  cJednostkaLotnicza& bomber = Air(1, kUnitTacticalBomber, 40.0f);
  cJednostkaLotnicza& strategic = Air(2, kUnitStrategicBomber, 97.0f);
  cJednostkaLotnicza& nearlyWhole = Air(3, kUnitStrategicBomber, 99.0f);
  Country().productionPoints = 1000.0;
  ai::ReplaceAirLosses(*w.world, Country(), 0.5f);
  EXPECT_FLOAT_EQ(bomber.strength, 60.0f);  // the allowance of 20
  EXPECT_FLOAT_EQ(fighter.strength, 90.0f);  // above half: waits for the final call
  bomber.actionPoints = bomber.startingActionPoints;
  ai::ReplaceAirLosses(*w.world, Country(), 0.98f);
  EXPECT_FLOAT_EQ(fighter.strength, 100.0f);  // half the allowance: 10
  EXPECT_FLOAT_EQ(bomber.strength, 80.0f);
  EXPECT_FLOAT_EQ(strategic.strength, 100.0f);
  EXPECT_FLOAT_EQ(nearlyWhole.strength, 99.0f);  // above 98
  EXPECT_DOUBLE_EQ(Country().productionPoints, 1000.0 - 20 - 10 - 20 - 3);
}

TEST_F(AiUpkeep, NothingBoughtWithoutPointsOrAtAPriceOfZero) {
  cJednostkaLadowa& unit = Land(0, 30);
  ai::ReplaceLandLosses(*w.world, Country(), 0.98f);
  EXPECT_EQ(unit.strength, 30);
  w.world->constants.replacementFactors.fill(0.0f);
  Country().productionPoints = 100.0;
  ai::ReplaceLandLosses(*w.world, Country(), 0.98f);
  EXPECT_EQ(unit.strength, 30);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 100.0);
}

TEST_F(AiUpkeep, ShipsBelowTheThresholdAreRepairedAsFarAsThePointsPay) {
  sScenarioConstants& k = w.world->constants;
  k.repairThreshold = 50.0f;
  k.navalRepairCost = {2.0, 2.0, 2.0, 2.0, 2.0, 2.0};
  cFleet& fleet = w.AddFleet(1, 1, {41, 42}, 10);
  cJednostkaMorska& damaged = *fleet.ships.front();
  cJednostkaMorska& scratched = *fleet.ships.back();
  damaged.hitPoints = 3;
  scratched.hitPoints = 6;  // above ceil(10 x 50 %)
  Country().productionPoints = 9.0;
  ai::RepairShips(*w.world, Country());
  EXPECT_EQ(damaged.hitPoints, 7);
  EXPECT_EQ(scratched.hitPoints, 6);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 1.0);
  // A cost per point not below the points at hand repairs nothing.
  damaged.hitPoints = 3;
  ai::RepairShips(*w.world, Country());
  EXPECT_EQ(damaged.hitPoints, 3);
  Country().productionPoints = 100.0;
  ai::RepairShips(*w.world, Country());
  EXPECT_EQ(damaged.hitPoints, 10);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 86.0);
}

TEST_F(AiUpkeep, BestFreeCommandersGoToTheStrongestUnitsWithoutOne) {
  const auto add = [&](int id, int country, int type, int skill) {
    auto* c = new cCommander();
    c->id = id;
    c->countryId = country;
    c->type = type;
    c->skill = skill;
    c->name = L"Commander " + std::to_wstring(id);
    w.world->Units().commanders.push_back(c);
    return c;
  };
  cCommander* fair = add(1, 1, 0, 3);
  cCommander* best = add(2, 1, 0, 5);
  cCommander* airman = add(3, 1, 1, 9);
  cCommander* foreign = add(4, 2, 0, 9);
  cJednostkaLadowa& weak = Land(0, 40);
  cJednostkaLadowa& strong = Land(1, 100);
  cJednostkaLadowa& middle = Land(2, 70);
  ai::AssignCommanders(*w.world, Country());
  EXPECT_EQ(strong.ownCommander, best);
  EXPECT_EQ(middle.ownCommander, fair);
  EXPECT_EQ(weak.ownCommander, nullptr);
  EXPECT_EQ(best->state, kCommanderAssigned);
  EXPECT_EQ(airman->state, kCommanderNotAssigned);
  EXPECT_EQ(foreign->state, kCommanderNotAssigned);

  // With every unit led, a new commander stays free.
  cCommander* third = add(5, 1, 0, 1);
  cCommander* fourth = add(6, 1, 0, 2);
  ai::AssignCommanders(*w.world, Country());
  EXPECT_EQ(weak.ownCommander, fourth);
  EXPECT_EQ(third->state, kCommanderNotAssigned);
  EXPECT_TRUE(w.log.Contains(L"Commander 2 has been assigned to command " + strong.name));
}

}  // namespace
