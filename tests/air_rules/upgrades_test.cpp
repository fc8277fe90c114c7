// Corps upgrades and level-ups with their costs and what they change; the
// replacements' price and maximum; commander assignment.
#include <gtest/gtest.h>

#include "air_rules/air_fixture.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/commander_assignment.h"
#include "rules/replacements.h"
#include "rules/unit_upgrade.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/hex_changes.h"
#include "world/replacement_prices.h"

namespace {

using twtest::AirWorld;

class Upgrades : public ::testing::Test {
 protected:
  Upgrades() : w({"ppppp", "ppppp", "ppppp"}) {
    w.ThreeCountries();
    w.PricedUpgrades();
  }
  cJednostkaLadowa& Fresh(int x, int y, int type, int level, int strength) {
    cJednostkaLadowa& unit = w.AddUnit(x, y, 1, type);
    unit.level = level;
    unit.strength = strength;
    unit.actionPoints = unit.startingActionPoints = 4;
    return unit;
  }
  AirWorld w;
};

TEST_F(Upgrades, DivisionBecomesACorpsKeepingItsCombatStrength) {
  // B(2, 0) = 10 would be the rule's example; here B(2, 0) = 12.5 and
  // B(2, 1) = 20: 7.5 x 100 / 20 + 50 x 12.5 / 20 = 37.5 + 31.25 -> 68.
  cJednostkaLadowa& unit = Fresh(1, 1, kUnitInfantryDivision, 2, 50);
  // f = 4 x (20 - 12.5) + 6.25 x (4 - 2) = 42.5; x (1 + 10 x 1 / 100) = 46.75.
  EXPECT_FLOAT_EQ(unit.GetUpgradeToCorpsCost(), 46.75f);
  std::wstring hint;
  EXPECT_TRUE(unit.CanUpgradeToCorps(&hint));
  EXPECT_EQ(hint, plat::Format(g_StringBase.GetText("unitpanel_upgrade_hint"), cUnit::GetSubtypeText(w.world.get(), 0).c_str(),
                               cUnit::GetSubtypeText(w.world.get(), 1).c_str(), 46.75, 53.25));
  unit.ComputeMoveRange(true);
  ASSERT_EQ(UpgradeToCorps(*w.world, unit), eUpgradeRefusal::kNone);
  EXPECT_EQ(unit.type, kUnitInfantryCorps);
  EXPECT_EQ(unit.strength, 68);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_TRUE(unit.reachableHexes.empty());
  EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, 100.0 - 46.75);
  EXPECT_EQ(CheckUpgradeToCorps(*w.world, unit), eUpgradeRefusal::kAlreadyCorps);
}

TEST_F(Upgrades, RuleExampleStrengthSeventyFive) {
  LandUnitConstants().baseStrength[1][0] = 10.0f;
  cJednostkaLadowa& unit = Fresh(1, 1, kUnitInfantryDivision, 2, 50);
  ASSERT_EQ(UpgradeToCorps(*w.world, unit), eUpgradeRefusal::kNone);
  EXPECT_EQ(unit.strength, 75);
}

TEST_F(Upgrades, RefusalsCostNothingAndEndNothing) {
  cJednostkaLadowa& moved = Fresh(0, 0, kUnitInfantryDivision, 1, 100);
  moved.actionPoints = 2;
  EXPECT_EQ(CheckUpgradeToCorps(*w.world, moved), eUpgradeRefusal::kNotFullActionPoints);
  EXPECT_EQ(CheckLevelUp(*w.world, moved), eUpgradeRefusal::kNotFullActionPoints);
  EXPECT_FALSE(moved.CanReplenish(nullptr));
  cJednostkaLadowa& away = Fresh(1, 0, kUnitInfantryDivision, 1, 100);
  w.Hex(1, 0).owner = 2;
  EXPECT_EQ(CheckUpgradeToCorps(*w.world, away), eUpgradeRefusal::kNotInOwnedHex);
  cJednostkaLadowa& airborne = Fresh(2, 0, kUnitAirborneDivision, 1, 100);
  EXPECT_EQ(UpgradeToCorps(*w.world, airborne), eUpgradeRefusal::kAirborne);
  // A type without a corps form prices at nothing: logged, refused, and the
  // game goes on.
  EXPECT_LT(airborne.GetUpgradeToCorpsCost(), 0.0f);
  EXPECT_EQ(airborne.type, kUnitAirborneDivision);
  cJednostkaLotnicza& air = w.AddAir(3, 0, 1, kUnitFighter);
  EXPECT_EQ(UpgradeToCorps(*w.world, air), eUpgradeRefusal::kAirUnit);
  EXPECT_EQ(air.type, kUnitFighter);
  w.Country(1).productionPoints = 10.0;
  cJednostkaLadowa& poor = Fresh(4, 0, kUnitInfantryDivision, 2, 50);
  std::wstring hint;
  EXPECT_FALSE(poor.CanUpgradeToCorps(&hint));
  EXPECT_EQ(hint, plat::Format(g_StringBase.GetText("unitpanel_upgrade_hint_not_enough_pp"), 46.75, 36.75));
  EXPECT_EQ(UpgradeToCorps(*w.world, poor), eUpgradeRefusal::kNotEnoughProduction);
  EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, 10.0);
}

TEST_F(Upgrades, LevelUpCostsTheDifferenceOfTwoPricesAndRaisesTheStrength) {
  cJednostkaLadowa& unit = Fresh(1, 1, kUnitInfantryDivision, 1, 60);
  // V(1) = 10 x 2 = 20, V(2) = 12.5 x 2 x 1.1 = 27.5.
  EXPECT_FLOAT_EQ(unit.GetLevelUpCost(), 7.5f);
  ASSERT_EQ(LevelUp(*w.world, unit), eUpgradeRefusal::kNone);
  // ceil(2.5 x 100 / 12.5 + 60 x 10 / 12.5) = ceil(20 + 48) = 68.
  EXPECT_EQ(unit.level, 2);
  EXPECT_EQ(unit.strength, 68);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, 92.5);
}

TEST_F(Upgrades, ArmourNeedsTanksResearchForTheNextLevel) {
  cJednostkaLadowa& tanks = Fresh(1, 1, kUnitArmouredDivision, 2, 100);
  std::wstring hint;
  EXPECT_FALSE(tanks.CanLevelUp(&hint));
  EXPECT_EQ(hint, plat::Format(g_StringBase.GetText("unitpanel_levelup_hint_no_technology"), 3,
                               g_StringBase.GetText("research_tanks")));
  EXPECT_EQ(CheckLevelUp(*w.world, tanks), eUpgradeRefusal::kNoTechnology);
  cJednostkaLadowa& top = Fresh(2, 1, kUnitInfantryDivision, 5, 100);
  EXPECT_FALSE(top.CanLevelUp(&hint));
  EXPECT_EQ(hint, g_StringBase.GetText("unitpanel_levelup_hint_max_level"));
}

TEST_F(Upgrades, AirLevelUpPricesEachLevelAlike) {
  sScenarioConstants& k = w.world->constants;
  k.airCostFactorsB = {2.0f, 3.0f, 4.0f};
  k.replacementMultiplier = 10;
  w.Country(1).techLevel[kTechAircraft] = 3;
  cJednostkaLotnicza& fighter = w.AddAir(1, 1, 1, kUnitFighter);
  // B = 10 x 2 = 20; P(L) = 20 + 20 x 10 x L / 100: each level costs 2.
  EXPECT_FLOAT_EQ(fighter.GetLevelUpCost(), 2.0f);
  ASSERT_EQ(LevelUp(*w.world, fighter), eUpgradeRefusal::kNone);
  EXPECT_EQ(fighter.level, 2);
  EXPECT_EQ(fighter.actionPoints, 0);
  EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, 98.0);
  EXPECT_FLOAT_EQ(fighter.GetLevelUpCost(), 2.0f);
  // Level 2 of research 3 may go on, but the points are spent.
  EXPECT_EQ(CheckLevelUp(*w.world, fighter), eUpgradeRefusal::kNotFullActionPoints);
  std::wstring hint;
  EXPECT_FALSE(fighter.CanUpgradeToCorps(&hint));
  EXPECT_EQ(hint, g_StringBase.GetText("unitpanel_upgrade_hint_air_unit"));
}

TEST_F(Upgrades, ReplacementsMaximumAndPrice) {
  sScenarioConstants& k = w.world->constants;
  k.replacementFactors = {20, 20, 20, 20, 20, 20, 20};
  k.supplyEffectE.fill(20);
  k.supplyEffectF.fill(5);
  k.airCostFactorsA = {1.5f, 1.5f, 1.5f};
  k.replacementMultiplier = 10;
  cJednostkaLadowa& unit = Fresh(1, 1, kUnitInfantryDivision, 1, 95);
  unit.supply = 5;
  // 10 x 20 / 100 = 2 per point at level 1.
  EXPECT_FLOAT_EQ(ReplacementPricePerPoint(*w.world, unit), 2.0f);
  EXPECT_EQ(ReplacementMaximum(*w.world, unit), 5);
  w.Country(1).productionPoints = 7.5;
  unit.strength = 50;
  EXPECT_EQ(ReplacementMaximum(*w.world, unit), 3);
  // Off its own soil the cap is 10.
  w.Country(1).productionPoints = 1000.0;
  w.Hex(1, 1).owner = 2;
  EXPECT_EQ(ReplacementMaximum(*w.world, unit), 10);
  // An air unit fills up to its type's full strength (10), at most the cap
  // at a time; one at full strength gets nothing, never a negative count.
  cJednostkaLotnicza& air = w.AddAir(2, 2, 1, kUnitFighter, 8.0f);
  air.level = 2;
  EXPECT_FLOAT_EQ(ReplacementPricePerPoint(*w.world, air), 1.5f * 10 * 1 / 100 + 1.5f);
  EXPECT_EQ(ReplacementMaximum(*w.world, air), 2);
  air.strength = 3.0f;
  EXPECT_EQ(ReplacementMaximum(*w.world, air), 5);
  air.strength = 10.0f;
  EXPECT_EQ(ReplacementMaximum(*w.world, air), 0);
}

TEST_F(Upgrades, BuyingReplacementsPaysAndSpendsThePoints) {
  sScenarioConstants& k = w.world->constants;
  k.replacementFactors = {20, 20, 20, 20, 20, 20, 20};
  k.supplyEffectE.fill(20);
  cJednostkaLadowa& unit = Fresh(1, 1, kUnitInfantryDivision, 1, 80);
  unit.supply = 5;
  unit.turnsWithoutSupply = 0;
  EXPECT_EQ(BuyReplacements(*w.world, unit, 21), eReplacementRefusal::kAboveMaximum);
  EXPECT_EQ(BuyReplacements(*w.world, unit, 0), eReplacementRefusal::kNothingToBuy);
  ASSERT_EQ(BuyReplacements(*w.world, unit, 15), eReplacementRefusal::kNone);
  EXPECT_EQ(unit.strength, 95);
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, 70.0);
  EXPECT_EQ(BuyReplacements(*w.world, unit, 1), eReplacementRefusal::kCannotReplenish);
}

TEST_F(Upgrades, CommandersByKindAndSkillAssignedAndRecalled) {
  auto add = [&](int id, int country, int type, int skill, int state) {
    auto* c = new cCommander();
    c->id = id;
    c->countryId = country;
    c->type = type;
    c->skill = skill;
    c->state = state;
    c->name = L"C" + std::to_wstring(id);
    w.world->Units().commanders.push_back(c);
    return c;
  };
  cCommander* a = add(1, 1, 0, 3, kCommanderNotAssigned);
  cCommander* b = add(2, 1, 0, 5, kCommanderNotAssigned);
  cCommander* c = add(3, 1, 0, 3, kCommanderOnHisWay);
  add(4, 1, 1, 9, kCommanderNotAssigned);  // an air commander
  add(5, 2, 0, 9, kCommanderNotAssigned);  // another country's
  cJednostkaLadowa& unit = Fresh(1, 1, kUnitInfantryDivision, 1, 100);
  const std::vector<cCommander*> list = CommandersForUnit(*w.world, unit);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], b);
  EXPECT_EQ(list[1], a);
  EXPECT_EQ(list[2], c);
  EXPECT_EQ(CheckAssignCommander(*w.world, unit, *c), eCommanderRefusal::kNotFree);
  EXPECT_EQ(CheckRecallCommander(*w.world, unit), eCommanderRefusal::kNoCommander);
  ASSERT_EQ(AssignCommander(*w.world, unit, *b), eCommanderRefusal::kNone);
  EXPECT_EQ(unit.ownCommander, b);
  EXPECT_EQ(unit.hqCommanderId, -1);
  EXPECT_EQ(b->ledUnit, &unit);
  EXPECT_EQ(b->state, kCommanderAssigned);
  EXPECT_EQ(CheckAssignCommander(*w.world, unit, *a), eCommanderRefusal::kHasCommander);
  ASSERT_EQ(RecallCommander(*w.world, unit), eCommanderRefusal::kNone);
  EXPECT_EQ(unit.ownCommander, nullptr);
  EXPECT_EQ(b->ledUnit, nullptr);
  EXPECT_EQ(b->state, kCommanderOnHisWay);
}

}  // namespace

namespace {

TEST_F(Upgrades, ComputerLevelUpPaysAndKeepsThePlayersMarks) {
  const float before = g_Delays[kDelayAIReplacementBefore].load();
  const float after = g_Delays[kDelayAIReplacementAfter].load();
  g_Delays[kDelayAIReplacementBefore] = 0.0f;
  g_Delays[kDelayAIReplacementAfter] = 0.0f;
  cJednostkaLadowa& unit = Fresh(1, 1, kUnitInfantryDivision, 1, 60);
  SetHexMark(w.Map(), w.Hex(0, 0), 4, 3);
  ASSERT_EQ(AiLevelUp(*w.world, unit), eUpgradeRefusal::kNone);
  EXPECT_EQ(unit.level, 2);
  EXPECT_EQ(unit.strength, 68);
  EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, 92.5);
  EXPECT_TRUE(w.Hex(0, 0).markBits & 4u);
  EXPECT_EQ(AiLevelUp(*w.world, unit), eUpgradeRefusal::kNotFullActionPoints);
  g_Delays[kDelayAIReplacementBefore] = before;
  g_Delays[kDelayAIReplacementAfter] = after;
}

}  // namespace
