// A computer country's purchases: the weighted draw over its preferences,
// new units bought by its profile into the reserve, points bought lot by
// lot, research and level-ups, and the prices and weights that must buy
// nothing instead of buying without end.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "ai/ai_economy.h"
#include "ai/ai_fixture.h"
#include "world/jednostka_ladowa.h"

namespace {

using twtest::AiWorld;
using twtest::RandSequence;

// The rand() value whose draw r = rand() / 32767 is share.
int DrawFor(float share) { return static_cast<int>(share * plat::kRandMax); }

std::array<int, 14> Weights(std::initializer_list<std::pair<int, int>> entries) {
  std::array<int, 14> weights{};
  for (const auto& [index, weight] : entries) weights[static_cast<std::size_t>(index)] = weight;
  return weights;
}

TEST(AiPurchaseDraw, PicksByCumulativeShareAndSkipsZeroWeights) {
  const std::array<int, 14> weights = Weights({{1, 1}, {8, 1}, {12, 2}});
  {
    // r = 0 reaches the first cumulative share at once, but index 0 weighs
    // nothing: the first weighted index is taken.
    RandSequence draws({0});
    EXPECT_EQ(ai::ChoosePurchasePreference(weights), 1);
  }
  {
    RandSequence draws({DrawFor(0.3f)});
    EXPECT_EQ(ai::ChoosePurchasePreference(weights), 8);
  }
  {
    RandSequence draws({DrawFor(0.6f)});
    EXPECT_EQ(ai::ChoosePurchasePreference(weights), 12);
  }
  {
    RandSequence draws({plat::kRandMax});
    EXPECT_EQ(ai::ChoosePurchasePreference(weights), 12);
  }
}

TEST(AiPurchaseDraw, NoPositiveWeightDrawsNothing) {
  RandSequence draws(std::vector<int>{});  // a draw would fail the test
  EXPECT_EQ(ai::ChoosePurchasePreference({}), -1);
  EXPECT_EQ(ai::ChoosePurchasePreference(Weights({{3, -4}})), -1);
}

class AiPurchases : public ::testing::Test {
 protected:
  AiPurchases() {
    sScenarioConstants& k = w.world->constants;
    k.landBaseStrength[0] = {10, 20, 10, 20, 12, 24, 10};
    k.levelCostFactors = {2, 2, 2, 2, 2, 2, 2};
    k.purchaseFactors = {30, 40, 50, 60};
    Country().techLevel[kTechArtillery] = 1;
    Country().techLevel[kTechTanks] = 1;
    Data().newUnitPurchasePreferences = {};
  }
  cCountry& Country() { return w.Country(1); }
  sCountryAiData& Data() { return Country().aiData; }
  std::size_t Reserve() const { return w.world->Units().reservePool.size(); }

  AiWorld w;
};

TEST_F(AiPurchases, BuysNewUnitsByItsProfileUntilThePriceIsBeyondItsPoints) {
  Data().newUnitPurchasePreferences = Weights({{1, 1}, {4, 1}});
  Country().productionPoints = 70.0;
  // Pass 1: r 0.2 -> type 1 (price 40), its name; pass 2: r 0.9 -> type 4
  // (24) and its name; pass 3: r 0.9 -> type 4 again, 6 points left: queued.
  RandSequence draws({DrawFor(0.2f), 0, DrawFor(0.9f), 0, DrawFor(0.9f)});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 2);
  EXPECT_EQ(draws.Left(), 0u);
  ASSERT_EQ(Reserve(), 2u);
  EXPECT_EQ(w.world->Units().reservePool[0]->type, 1);
  EXPECT_EQ(w.world->Units().reservePool[1]->type, 4);
  EXPECT_EQ(w.world->Units().reservePool[0]->countryId, 1);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 6.0);
  // The unaffordable unit waits in the queue with its type and price, and
  // blocks new decisions until it is bought.
  EXPECT_EQ(Data().purchaseQueue, std::vector<int>{ai::kAiBuyLandUnit});
  EXPECT_EQ(Data().newUnitPurchaseCounts[0], 4);
  EXPECT_FLOAT_EQ(Data().newUnitPurchaseWeights[0], 24.0f);
  RandSequence none(std::vector<int>{});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 0);
  Country().productionPoints = 30.0;
  RandSequence name({0, DrawFor(0.9f)});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 1);
  EXPECT_EQ(Reserve(), 3u);
}

TEST_F(AiPurchases, ShipsAndAircraftComeFromTheirOwnPreferences) {
  Data().newUnitPurchasePreferences = Weights({{11, 1}});
  Country().productionPoints = 45.0;
  RandSequence draws({DrawFor(0.5f), 0, DrawFor(0.5f)});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 1);
  ASSERT_EQ(w.world->Units().navalReservePool.size(), 1u);
  EXPECT_EQ(w.world->Units().navalReservePool[0]->type, 41);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 5.0);
  EXPECT_EQ(Data().purchaseQueue, std::vector<int>{ai::kAiBuyShip});
  EXPECT_EQ(Data().newUnitPurchaseCounts[2], 41);
}

TEST_F(AiPurchases, AllWeightsZeroBuysNothing) {
  Country().productionPoints = 1000.0;
  RandSequence draws(std::vector<int>{});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 0);
  EXPECT_EQ(Reserve(), 0u);
  EXPECT_TRUE(Data().purchaseQueue.empty());
  EXPECT_DOUBLE_EQ(Country().productionPoints, 1000.0);
}

TEST_F(AiPurchases, APriceOfZeroIsNeverBought) {
  // Type 2 costs nothing: drawn, it is not queued, and the loop ends.
  w.world->constants.levelCostFactors[2] = 0.0f;
  Data().newUnitPurchasePreferences = Weights({{2, 1}});
  Country().productionPoints = 100.0;
  {
    RandSequence draws({DrawFor(0.5f)});
    EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 0);
  }
  EXPECT_EQ(Reserve(), 0u);
  EXPECT_TRUE(Data().purchaseQueue.empty());
  // A queue saved with such a unit, and point lots whose price is 0, are
  // dropped instead of buying without end.
  Data().newUnitPurchasePreferences = {};
  Data().newUnitPurchaseCounts[0] = 2;
  Data().purchaseQueue = {ai::kAiBuyAmphibiousPoint, ai::kAiBuySeaTransportLot, ai::kAiBuyLandUnit};
  RandSequence none(std::vector<int>{});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 0);
  EXPECT_TRUE(Data().purchaseQueue.empty());
  EXPECT_EQ(Reserve(), 0u);
  EXPECT_EQ(Country().amphibiousInvasionPoints, 0);
  EXPECT_EQ(Country().seaTransportPoints, 0);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 100.0);
}

TEST_F(AiPurchases, QueuedPointsAreBoughtLotByLotWhileThePriceRises) {
  sScenarioConstants& k = w.world->constants;
  k.purchaseOffsets = {0, 0, 10};
  k.purchaseSlopes = {0, 0, 5};
  Data().purchaseQueue = {ai::kAiBuyAmphibiousPoint};
  Country().productionPoints = 50.0;
  RandSequence none(std::vector<int>{});
  // 10 + 15 + 20 = 45; the next (25) is beyond the 5 left: the code goes.
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 3);
  EXPECT_EQ(Country().amphibiousInvasionPoints, 3);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 5.0);
  EXPECT_TRUE(Data().purchaseQueue.empty());
}

TEST_F(AiPurchases, StrategicPointsUpToTheDesiredNumber) {
  sScenarioConstants& k = w.world->constants;
  k.purchaseOffsets = {4, 0, 0};
  k.purchaseSlopes = {2, 0, 0};
  Data().desiredStrategicMovementPoints = 2;
  Country().productionPoints = 100.0;
  RandSequence none(std::vector<int>{});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 2);
  EXPECT_EQ(Country().strategicMovementPurchases, 2);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 100.0 - 4 - 6);
}

TEST_F(AiPurchases, ResearchByDesireLimitAndProgress) {
  sScenarioConstants& k = w.world->constants;
  k.researchLimit = {3, 3, 3, 3, 0, 0, 0};
  k.researchCost = {100, 100, 100, 100, 100, 100, 100};
  k.researchFactors = {10, 10, 10, 10, 10, 10, 10};
  Data().desiredTechLevels = {2, 1, 5, 2, 1, 1, 0};
  Country().techLevel = {1, 1, 0, 1, 0, 0, 0};
  EXPECT_EQ(ai::ChooseResearch(*w.world, Country()), kTechArtillery);
  // Progress of a quarter allows two investments, of a half one, from three
  // quarters none; tanks are at their desired level and the doctrine is
  // never researched.
  Country().techProgress[kTechArtillery] = 25;
  Country().techInvestment[kTechArtillery] = 2;
  EXPECT_EQ(ai::ChooseResearch(*w.world, Country()), kTechAircraft);
  Country().techProgress[kTechAircraft] = 75;
  EXPECT_EQ(ai::ChooseResearch(*w.world, Country()), -1);
  Country().techProgress[kTechAircraft] = 50;
  EXPECT_EQ(ai::ChooseResearch(*w.world, Country()), kTechAircraft);

  // Bought one investment at a time: aircraft (none yet at half progress)
  // takes one, artillery none more at a quarter. A research code left from
  // an earlier turn is decided afresh.
  Country().productionPoints = 100.0;
  Data().purchaseQueue = {ai::kAiBuyResearch};
  RandSequence none(std::vector<int>{});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 1);
  EXPECT_EQ(Country().techInvestment[kTechAircraft], 1);
  EXPECT_EQ(Country().techInvestment[kTechArtillery], 2);
  EXPECT_DOUBLE_EQ(Country().productionPoints, 95.0);
}

class AiLevelUps : public AiPurchases {
 protected:
  AiLevelUps() {
    auto& base = LandUnitConstants().baseStrength;
    base[0] = {10, 20, 10, 20, 10, 20, 10};
    base[1] = {12.5f, 20, 12, 24, 12.5f, 24, 12};
    base[2] = {15, 30, 15, 30, 15, 30, 15};
    w.world->constants.replacementBase = 10;
    Country().productionPoints = 100.0;
  }
};

TEST_F(AiLevelUps, ArmourFirstThenTheForcesStructure) {
  Country().techLevel[kTechArtillery] = 2;
  Country().techLevel[kTechTanks] = 2;
  cJednostkaLadowa& moved = w.Fresh(0, 0, 1, kUnitArmouredDivision, 1, 100);
  moved.actionPoints = 1;  // has acted: not levelled up
  cJednostkaLadowa& tank = w.Fresh(1, 0, 1, kUnitArmouredDivision, 1, 100);
  cJednostkaLadowa& infantry = w.Fresh(2, 0, 1, kUnitInfantryDivision, 1, 100);
  w.Fresh(3, 0, 2, kUnitArmouredDivision, 1, 100);  // the enemy's
  EXPECT_EQ(ai::FindArmourToLevelUp(*w.world, Country()), &tank);
  // Level 2 wants 20 of 30 and has nobody: a level-1 unit goes up.
  EXPECT_EQ(ai::FindLandUnitToLevelUpByStructure(*w.world, Country()), &infantry);

  RandSequence none(std::vector<int>{});
  EXPECT_EQ(ai::BuyNewUnits(*w.world, Country()), 2);
  EXPECT_EQ(tank.level, 2);
  EXPECT_EQ(infantry.level, 2);
  EXPECT_EQ(moved.level, 1);
  EXPECT_EQ(tank.actionPoints, 0);
  EXPECT_LT(Country().productionPoints, 100.0);
  // Level-ups are decided afresh each turn: none is left queued.
  EXPECT_TRUE(Data().purchaseQueue.empty());
}

TEST_F(AiLevelUps, StructureMetOrNoTechnologyLevelsNobodyUp) {
  Country().techLevel[kTechArtillery] = 2;
  Data().desiredLandForcesStructure = {1, 1, 0, 0, 0};
  w.Fresh(0, 0, 1, kUnitInfantryDivision, 1, 100);
  w.Fresh(1, 0, 1, kUnitInfantryDivision, 2, 100);
  EXPECT_EQ(ai::FindLandUnitToLevelUpByStructure(*w.world, Country()), nullptr);
  Country().techLevel[kTechArtillery] = 1;
  Data().desiredLandForcesStructure = {0, 0, 0, 0, 0};
  EXPECT_EQ(ai::FindLandUnitToLevelUpByStructure(*w.world, Country()), nullptr);
}

}  // namespace
