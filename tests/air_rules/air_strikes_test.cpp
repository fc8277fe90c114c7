// Each kind of strike from the air against a worked example: a land unit, a
// port, the ships of a sea zone, a city's production and a nuclear strike.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "air_rules/air_fixture.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/air_orders.h"
#include "support/test_support.h"
#include "world/air_strikes.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"

namespace {

using twtest::AirWorld;
using twtest::Die;
using twtest::Percent;
using twtest::RandFor;
using twtest::RandSequence;

std::wstring StrikeText(const char* key) { return g_StringBase.GetText(key); }

// Where in the text a key's text stands; npos when it does not.
std::size_t At(const std::wstring& text, const char* key) { return text.find(StrikeText(key)); }

class Strikes : public ::testing::Test {
 protected:
  Strikes() : w({"ppppp", "ppppp", "pp~~~"}) {
    w.ThreeCountries();
    sScenarioConstants& k = w.world->constants;
    // Every factor of the bombardment of a land unit at 100.
    k.bombardTable58.fill(100);
    k.supplyEffectD.fill(100);
    k.bombardTerrainTable.fill(100);
    k.bombardTable59.fill(100);
    k.bombardFactors = {1, 2, 3, 4, 5, 6};
    k.navalRows[1] = {2, 2, 2, 2, 2};
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
  }
  AirWorld w;
  sBombardmentResult result;
};

TEST_F(Strikes, BomberStrikesALandUnitAndFindsNoPort) {
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber);
  cJednostkaLadowa& target = w.AddUnit(2, 1, 2);
  w.Control(2, 1, 2);
  const std::size_t reports = w.world->reports.Reports().size();
  // Full strength, every factor 100: effectiveness 100. The attacker's die
  // 2 costs it 2; the defender's die 3 is a loss of 3, 30 points of a base
  // strength of 10.
  RandSequence dice({RandFor(1, 6, 2), RandFor(1, 6, 3)});
  ASSERT_EQ(AirBombardment(*w.world, bomber, 2, 1, result), eAirOrderRefusal::kNone);
  EXPECT_EQ(result.kind, kCombatAirStrikeLand);
  EXPECT_EQ(bomber.actionPoints, 4);
  EXPECT_FLOAT_EQ(bomber.strength, 8.0f);
  EXPECT_EQ(target.strength, 70);
  EXPECT_EQ(w.world->reports.Reports().size(), reports + 2);
  const std::size_t unit = At(result.attackerText1, "report_bombardment_affected_unit");
  const std::size_t port = At(result.attackerText1, "report_bombardment_no_port");
  ASSERT_NE(unit, std::wstring::npos);
  ASSERT_NE(port, std::wstring::npos);
  EXPECT_LT(unit, port);
  // A tactical bomber never strikes the city.
  EXPECT_EQ(At(result.attackerText1, "report_bombardment_no_city"), std::wstring::npos);
}

TEST_F(Strikes, InterceptionThatTurnsTheBomberBackSpendsNoPoint) {
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber, 20.0f);
  w.AddUnit(2, 1, 2);
  w.Control(2, 1, 2);
  cJednostkaLotnicza& fighter = w.AddAir(4, 1, 2, kUnitFighter, 6.0f);
  fighter.level = 2;
  // Column 4, die 1: the mission loses 9 and the interceptor 1.
  RandSequence dice({Die(1)});
  ASSERT_EQ(AirBombardment(*w.world, bomber, 2, 1, result), eAirOrderRefusal::kNone);
  EXPECT_TRUE(result.Flag(kFlagStoppedByInterception));
  EXPECT_EQ(bomber.actionPoints, 5);
  EXPECT_TRUE(result.attackerText1.find(StrikeText("report_bombardment_affected_unit")) == std::wstring::npos);
}

TEST_F(Strikes, PortLosesASizeStepOnAWinningDraw) {
  sScenarioConstants& k = w.world->constants;
  k.airNavalBombard = {20, 10};
  w.Country(1).techLevel[kTechAircraft] = 3;
  w.Country(2).techLevel[kTechArtillery] = 2;
  w.Control(1, 1, 2);
  sWezelGrafuMorz& port = w.AddSeaNode(false, 1, 1, 2);
  port.maxSize = 5;
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber);
  // Chance 20 x 3 - 10 x 2 = 40: a draw of 39 damages the port.
  {
    RandSequence dice({Percent(39)});
    ResolveSeaNodeAirBombardment(*w.world, port, bomber, 1, 1, result);
  }
  EXPECT_EQ(port.size, 1);
  EXPECT_TRUE(result.Flag(kFlagPortAffected));
  EXPECT_NE(At(result.defenderText2, "report_bombardment_port_no_naval_units_affected"), std::wstring::npos);
  // At size 1 the draw is still made and the port stays.
  sBombardmentResult again;
  RandSequence dice({Percent(1)});
  ResolveSeaNodeAirBombardment(*w.world, port, bomber, 1, 1, again);
  EXPECT_EQ(port.size, 1);
  EXPECT_FALSE(again.Flag(kFlagPortAffected));
}

TEST_F(Strikes, ShipsOfASeaZoneAreHitWithFallingChances) {
  sScenarioConstants& k = w.world->constants;
  k.portBombardValues = {10, 5, 10, 50};
  k.bombardmentRange = 2;
  sWezelGrafuMorz& zone = w.AddSeaNode(true, 3, 2);
  cFleet& fleet = w.AddFleet(2, zone.id, {kUnitCruiser, kUnitCruiser, kUnitCruiser}, 4);
  for (cJednostkaMorska* ship : fleet.ships) ship->visible = true;
  w.AddFleet(3, zone.id, {kUnitBattleship}, 4);  // an ally's ships are never hit
  w.AddAir(1, 1, 1, kUnitTacticalBomber);
  cJednostkaLotnicza& bomber = *w.world->Units().airUnits.back();
  zone.enemyCounts[1] = 3;
  EXPECT_TRUE(bomber.IsBombardmentTarget(*w.world, 3, 2));
  const std::size_t reports = w.world->reports.Reports().size();
  // Raw chance 4 x 10 + 10 = 50 each. First ship 50 (drawn 10: hit); second
  // 50 - 0.25 x 1 x 50 = 37 (drawn 37: missed); third 50 - 0.25 x 1 x 37 =
  // 40 (drawn 39: hit). Each hit ship then takes its bombardment: a second
  // hit and a sinking draw (both chances 0) and the attacker's loss draw.
  RandSequence dice({Percent(10), Percent(37), Percent(39),                     //
                     Percent(50), Percent(50), RandFor(0, 100, 90),             // third ship
                     Percent(50), Percent(50), RandFor(0, 100, 90)});           // first ship
  ASSERT_EQ(AirBombardment(*w.world, bomber, 3, 2, result), eAirOrderRefusal::kNone);
  EXPECT_EQ(result.kind, kCombatAirStrikeSea);
  auto it = fleet.ships.begin();
  EXPECT_EQ((*it++)->hitPoints, 3);
  EXPECT_EQ((*it++)->hitPoints, 4);
  EXPECT_EQ((*it++)->hitPoints, 3);
  EXPECT_EQ(w.world->Units().navalUnits.back()->hitPoints, 4);
  EXPECT_NE(result.attackerText1.find(plat::Format(StrikeText("report_looses_sea_zone_port_bombardment"), 2.0f)),
            std::wstring::npos);
  // The attacker and the country whose ships were hit get the report.
  EXPECT_EQ(w.world->reports.Reports().size(), reports + 2);
}

TEST_F(Strikes, SeaZoneWithoutEnemyShipsReportsOnlyToTheAttacker) {
  sWezelGrafuMorz& zone = w.AddSeaNode(true, 3, 2);
  cJednostkaLotnicza& bomber = w.AddAir(1, 1, 1, kUnitTacticalBomber);
  const std::size_t reports = w.world->reports.Reports().size();
  ResolveSeaNodeAirBombardment(*w.world, zone, bomber, 3, 2, result);
  EXPECT_NE(At(result.defenderText2, "report_bombardment_sea_zone_no_naval_units_affected"), std::wstring::npos);
  EXPECT_EQ(w.world->reports.Reports().size(), reports + 1);
}

// Water that belongs to no sea node: the search for a carrier ends at once
// and says so, and the strike goes on without an interception.
TEST_F(Strikes, WaterOfNoSeaNodeHasNoInterceptorAndTheSearchSaysSo) {
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitTacticalBomber);
  ASSERT_EQ(w.Hex(3, 2).seaZone, 0);
  twtest::LogCapture log;
  EXPECT_TRUE(ResolveHexAirBombardment(*w.world, 3, 2, bomber, result));
  EXPECT_TRUE(log.Contains(L"Searching for interceptor finished, no interceptor found"));
  EXPECT_NE(At(result.attackerText1, "report_bombardment_sea_zone_affected"), std::wstring::npos);
}

TEST_F(Strikes, StrategicBomberBurnsTheTruncatedProductionOfACity) {
  sScenarioConstants& k = w.world->constants;
  k.strategicBombingB = {1000, 1000, 1000, 1000, 1000};
  k.strategicBombingA = {1, 1, 1, 1, 1, 1};
  k.bombingStep = 12;
  cCity* city = w.AddCity(3, 0, kCityNormal);
  city->productionPoints = 3.5f;
  w.Control(3, 0, 2);
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitStrategicBomber, 12.0f);
  const std::size_t reports = w.world->reports.Reports().size();
  // Strength 12 of 12: one bombing step; a loss of 10 cut to the 3 whole
  // points. Country 2 has no fighters: column -4 + 1 - 0 + 0 = -3, die 2:
  // the bomber loses 5 - (-3) = 8.
  RandSequence dice({Die(1), Die(2)});
  ASSERT_EQ(AirBombardment(*w.world, bomber, 3, 0, result), eAirOrderRefusal::kNone);
  EXPECT_FLOAT_EQ(city->productionPoints, 0.5f);
  EXPECT_EQ(city->productionLostToBombing, 3);
  EXPECT_FLOAT_EQ(bomber.strength, 4.0f);
  EXPECT_TRUE(result.Flag(kFlagCityAffected));
  EXPECT_EQ(w.world->reports.Reports().size(), reports + 2);
  // The texts of an empty hex: no unit, the city, no port; in that order.
  const std::size_t noUnit = At(result.attackerText1, "report_bombardment_no_unit");
  const std::size_t cityAt = At(result.attackerText1, "report_bombardment_affected_city");
  const std::size_t noPort = At(result.attackerText1, "report_bombardment_no_port");
  EXPECT_LT(noUnit, cityAt);
  EXPECT_LT(cityAt, noPort);
  EXPECT_NE(noPort, std::wstring::npos);
}

// A raid flies one bombing step (the scenario's own, line 15 column 1) for
// each whole step of the bomber's strength, whatever the full strength of
// its type; a step of 0 is no step at all. Each step here burns 10 points.
TEST_F(Strikes, ARaidFliesOneBombingStepForEachWholeStepOfItsStrength) {
  sScenarioConstants& k = w.world->constants;
  k.airBaseStrength = {100, 100, 100};
  k.strategicBombingB = {100, 100, 100, 100, 100};
  k.strategicBombingA = {10, 10, 10, 10, 10, 10};
  cCity* city = w.AddCity(3, 0, kCityNormal);
  w.Control(3, 0, 2);
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitStrategicBomber, 100.0f);
  const int cases[][3] = {{50, 100, 20}, {50, 99, 10}, {50, 49, 0}, {0, 100, 0}, {100, 100, 10}, {30, 100, 30}};
  for (const auto& [step, strength, burnt] : cases) {
    k.bombingStep = step;
    bomber.strength = static_cast<float>(strength);
    bomber.ResetActionPoints();
    city->productionPoints = 100.0f;
    sBombardmentResult raid;
    RandSequence dice({Die(1), Die(6)});
    ASSERT_EQ(AirBombardment(*w.world, bomber, 3, 0, raid), eAirOrderRefusal::kNone);
    EXPECT_FLOAT_EQ(city->productionPoints, 100.0f - static_cast<float>(burnt)) << step << " " << strength;
    EXPECT_EQ(raid.Flag(kFlagCityAffected), burnt > 0) << step << " " << strength;
  }
}

TEST_F(Strikes, NuclearStrikeClipsAtTheCornerSparesTheBomberAndRaisesUnrest) {
  sScenarioConstants& k = w.world->constants;
  k.value175 = 1;
  k.nuclearValues = {50, 10, 5};
  w.Country(1).nuclearBombs = 1;
  w.Country(2).socialUnrest = 95.0f;
  for (int x = 1; x < 5; ++x) {
    for (int y = 0; y < 2; ++y) w.Control(x, y, 2);
  }
  cJednostkaLotnicza& bomber = w.AddAir(0, 0, 1, kUnitStrategicBomber, 12.0f);
  cJednostkaLadowa* victim = &w.AddUnit(2, 1, 2);
  cJednostkaLadowa* far = &w.AddUnit(4, 0, 2);
  cCity* city = w.AddCity(1, 1, kCityPort);
  city->productionPoints = 10.0f;
  sWezelGrafuMorz& port = w.AddSeaNode(false, 1, 1, 9);
  cFleet& fleet = w.AddFleet(2, port.id, {kUnitCruiser, kUnitCruiser});
  cJednostkaMorska* first = fleet.ships.front();
  cJednostkaMorska* second = fleet.ships.back();
  w.world->turnState.selectedUnit = victim;
  ASSERT_EQ(CheckNuclearStrike(*w.world, bomber, 1, 1), eAirOrderRefusal::kNone);
  // The port's ships: 10 sinks the first, 60 spares the second.
  RandSequence dice({Percent(10), Percent(60)});
  ASSERT_EQ(NuclearStrike(*w.world, bomber, 1, 1, result), eAirOrderRefusal::kNone);
  // Columns -1..3 clipped to 0..3, rows 0..2: the bomber at (0, 0) stands
  // inside and lives; the unit at (4, 0) stands outside.
  const auto& land = w.world->Units().landUnits;
  EXPECT_EQ(std::find(land.begin(), land.end(), victim), land.end());
  EXPECT_NE(std::find(land.begin(), land.end(), far), land.end());
  EXPECT_EQ(w.world->turnState.selectedUnit, nullptr);
  EXPECT_EQ(w.Hex(0, 0).unit, &bomber);
  EXPECT_FLOAT_EQ(city->productionPoints, 5.0f);
  EXPECT_EQ(port.size, 1);
  const auto& ships = w.world->Units().navalUnits;
  EXPECT_EQ(std::find(ships.begin(), ships.end(), first), ships.end());
  EXPECT_NE(std::find(ships.begin(), ships.end(), second), ships.end());
  EXPECT_FLOAT_EQ(w.Country(2).socialUnrest, 100.0f);
  EXPECT_FLOAT_EQ(w.Country(1).socialUnrest, 10.0f);
  EXPECT_FLOAT_EQ(w.Country(3).socialUnrest, 5.0f);
  EXPECT_EQ(w.Country(1).nuclearBombs, 0);
  EXPECT_EQ(bomber.actionPoints, 3);
  EXPECT_EQ(result.kind, kCombatNuclear);
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_TRUE(result.Flag(kFlagNavalDefenceDestroyed));
  // No bomb left: the order is refused.
  EXPECT_EQ(CheckNuclearStrike(*w.world, bomber, 1, 1), eAirOrderRefusal::kNoNuclearBomb);
}

}  // namespace

namespace {

TEST(StrikeInterception, BomberAndInterceptorBothFallingEndsTheStrike) {
  twtest::AirWorld w({"ppppp", "ppppp", "ppppp"});
  w.ThreeCountries();
  w.Control(2, 1, 2);
  cJednostkaLotnicza* bomber = &w.AddAir(0, 0, 1, kUnitTacticalBomber, 2.0f);
  cJednostkaLadowa& target = w.AddUnit(2, 1, 2);
  w.AddAir(4, 1, 2, kUnitFighter, 3.0f);
  // Column 1 + 2 - 3 - 1 = -1, die 1: the fighter loses 6 and goes first,
  // the bomber loses 4 and flies no further.
  twtest::RandSequence dice({Die(1)});
  sBombardmentResult result;
  ASSERT_EQ(AirBombardment(*w.world, *bomber, 2, 1, result), eAirOrderRefusal::kNone);
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_TRUE(result.Flag(kFlagAttackerDestroyed));
  EXPECT_TRUE(w.world->Units().airUnits.empty());
  EXPECT_EQ(w.Hex(0, 0).unit, nullptr);
  EXPECT_EQ(target.strength, 100);
}

}  // namespace
