#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_support.h"
#include "units/land_fixture.h"

namespace {

using twtest::LandWorld;

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& text) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::wstring& l) { return l.find(text) != std::wstring::npos; });
}

class LandUnitRules : public ::testing::Test {
 protected:
  LandUnitRules() : w_({"ppp"}) {
    w_.AddCountries({kAllies});
    w_.Country(1).techLevel[kTechDoctrine] = 2;
    sLandUnitConstants& k = LandUnitConstants();
    k.actionPoints[2][kUnitInfantryCorps] = 6;
    k.actionPoints[2][kUnitArmouredDivision] = 8;
    k.supplyActionPointPenalty = {100, 50, 0};
    k.supplyEffectiveness = {0, 50, 100};
    k.supplyCutOffLimit = 4;
    k.doctrineEffectivenessBonus = 25;
    k.baseStrength[1][kUnitArmouredDivision] = 8.0f;
  }
  LandWorld w_;
};

TEST_F(LandUnitRules, ActionPointsFollowSupplyAndCutOff) {
  cJednostkaLadowa& corps = w_.AddUnit(0, 0, 1, kUnitInfantryCorps);
  cJednostkaLadowa& tanks = w_.AddUnit(1, 0, 1, kUnitArmouredDivision);
  corps.movedOrDeployed = true;
  // {infantry (else armour), supply, turns without supply, points}: half
  // lost at supply 1, three quarters of that a turn cut off; with nothing
  // left infantry keeps one point and armour none, at the cut-off limit
  // too; a supply level past the table reads its last entry.
  const int cases[][4] = {{1, 2, 0, 6}, {1, 1, 0, 3}, {1, 1, 1, 2}, {1, 0, 0, 1},
                          {0, 0, 0, 0}, {0, 2, 4, 0}, {0, 9, 0, 8}};
  for (const auto& [infantry, supply, cutOff, points] : cases) {
    cJednostkaLadowa& unit = infantry ? corps : tanks;
    unit.supply = supply;
    unit.turnsWithoutSupply = cutOff;
    unit.ResetActionPoints();
    EXPECT_EQ(unit.actionPoints, points) << infantry << " " << supply << " " << cutOff;
    EXPECT_EQ(unit.startingActionPoints, points);
  }
  EXPECT_FALSE(corps.movedOrDeployed);
}

TEST_F(LandUnitRules, EffectivenessCombinesDoctrineSupplyEventsAndShelling) {
  cJednostkaLadowa& unit = w_.AddUnit(0, 0, 1, kUnitArmouredDivision);
  unit.eventsEffect = -50;  // 1.5 x 0.5 = 0.75
  unit.shoreBombardmentEffect = 2.5f;
  // {supply, turns without supply, cut-off limit, effectiveness}: 75 - 2.5
  // truncated, x 0.75 a turn cut off; a limit of 0 counts as cut off, not as
  // a crash.
  const int cases[][4] = {{2, 0, 4, 72}, {2, 1, 4, 54}, {2, 4, 4, 1}, {0, 0, 4, 1}, {2, 1, 0, 1}};
  for (const auto& [supply, cutOff, limit, expected] : cases) {
    unit.supply = supply;
    unit.turnsWithoutSupply = cutOff;
    LandUnitConstants().supplyCutOffLimit = limit;
    unit.UpdateEffectiveness();
    EXPECT_EQ(unit.effectiveness, expected) << supply << " " << cutOff << " " << limit;
  }
}

TEST(LandUnit, OrdersWithoutRouteOrTargetAreRefused) {
  LandWorld w({"ppp", "ppp"});
  w.AddCountries({kAllies});
  cJednostkaLadowa& unit = w.AddUnit(0, 0, 1);
  twtest::LogCapture log;

  unit.SetAiOrder(*w.world, 4, 2, 1, 1);
  EXPECT_EQ(std::vector<int>({unit.aiOrder, unit.aiTargetX, unit.aiTargetY, unit.aiUltimateTargetX}),
            std::vector<int>({4, 2, 1, -1}));
  unit.SetAiOrder(*w.world, 7, 2, 1, 2);  // no city there: no route
  EXPECT_EQ(std::pair(unit.aiOrder, unit.aiTargetX), std::pair(0, -1));
  EXPECT_TRUE(HasLine(log.Lines(), L"ERROR: Nie znaleziono sciezki dla rozkazu nr 7"));

  // Sent to the city it draws its supply from: straight there, no route
  // asked for and none refused.
  cCity* source = w.AddCity(2, 1, kCityNormal);
  w.Map().GetHex(2, 1).city = source;
  unit.supplySourceX = 2;
  unit.supplySourceY = 1;
  const std::size_t refusals = log.Lines().size();
  unit.SetAiOrder(*w.world, 12, 2, 1, 3);
  EXPECT_EQ(std::vector<int>({unit.aiOrder, unit.aiTargetX, unit.aiTargetY, unit.aiUltimateTargetX}),
            std::vector<int>({12, 2, 1, -1}));
  EXPECT_EQ(log.Lines().size(), refusals);
  w.Map().GetHex(2, 1).city = nullptr;
  unit.supplySourceX = unit.supplySourceY = -1;

  // Hops: no city on the hex, or no nearest city for the unit's hex.
  unit.aiOrder = 3;
  unit.aiUltimateTargetX = 1;
  EXPECT_EQ(unit.GetHopsToCity(*w.world, 2, 1), -1);
  EXPECT_EQ(unit.aiOrder, 0);
  EXPECT_EQ(unit.aiUltimateTargetX, -1);
  EXPECT_TRUE(HasLine(log.Lines(), L"ERROR (Returining no. of hops - land unit): City is null"));
  EXPECT_EQ(unit.GetHopsToCity(*w.world, -3, 99), -1);
  w.AddCity(2, 1, kCityNormal);
  unit.aiOrder = 3;
  EXPECT_EQ(unit.GetHopsToCity(*w.world, 2, 1), -1);  // the topography knows no nearest city
  EXPECT_EQ(unit.aiOrder, 3);
}

}  // namespace
