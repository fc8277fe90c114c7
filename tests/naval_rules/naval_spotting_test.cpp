// Spotting at a sea node with laid-out draws, the surprise attack before the
// sea battles, the interception of a carrier's strike, the fleet's sums and
// split, and the shore bombardment of a coastal unit.
#include <gtest/gtest.h>

#include <numeric>

#include "air_rules/air_fixture.h"
#include "app/settings.h"
#include "rules/fleet_orders.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/naval_spotting.h"
#include "world/report_store.h"

namespace {

using twtest::AirWorld;
using twtest::RandFor;
using twtest::RandSequence;

class NavalNode : public ::testing::Test {
 protected:
  NavalNode() : w({"~~~~~", "~~~~~", "ppppp"}) {
    w.ThreeCountries();
    for (int id = 1; id <= 3; ++id) w.Country(id).techLevel[kTechNavy] = 1;
    zone = w.AddSeaNode(true, 1, 1).id;
    fog_ = g_Settings.FogOfWar;
    g_Settings.FogOfWar = 3;
    sScenarioConstants& k = w.world->constants;
    k.navalSpotBase = 40;
    k.navalSpotFriendly = {1, 1, 10, 5};
    k.navalSpotEnemy = {10, 1, 10};
  }
  ~NavalNode() override { g_Settings.FogOfWar = fog_; }
  sWezelGrafuMorz& Node() { return *w.world->GetSeaGraph().GetNode(zone); }
  cJednostkaMorska& Ship(cFleet& fleet, std::size_t index) {
    auto it = fleet.ships.begin();
    std::advance(it, static_cast<long>(index));
    return **it;
  }
  AirWorld w;
  int zone = 0;
  int fog_ = 0;
};

TEST_F(NavalNode, SpottingChanceFromTheCounts) {
  sScenarioConstants& k = w.world->constants;
  k.navalSpotFriendly = {10, 5, 10, 5};
  k.navalSpotEnemy = {10, 5, 10};
  sWezelGrafuMorz& node = Node();
  // 16 friendly ships, one a carrier, against 3 enemies: 40 + 10 + 0 + 5.
  node.ownCounts[0] = 1;
  node.ownCounts[1] = 10;
  node.alliedCounts[2] = 5;
  node.enemyCounts[1] = 3;
  EXPECT_EQ(NavalSpottingChance(*w.world, node), 55);
  node.enemyCounts[1] = 20;  // (20 - 10) / 5 x 10 more
  EXPECT_EQ(NavalSpottingChance(*w.world, node), 75);
  node.enemyCounts[1] = 100;
  EXPECT_EQ(NavalSpottingChance(*w.world, node), 100);
  k.navalSpotBase = -500;
  EXPECT_EQ(NavalSpottingChance(*w.world, node), 0);
  g_Settings.FogOfWar = 0;  // no fog: everything is seen
  EXPECT_EQ(NavalSpottingChance(*w.world, node), 100);
  // A step of 0 adds nothing instead of dividing by it.
  g_Settings.FogOfWar = 3;
  k.navalSpotBase = 40;
  k.navalSpotEnemy = {10, 0, 10};
  EXPECT_EQ(NavalSpottingChance(*w.world, node), 55);
}

TEST_F(NavalNode, SpottingPassWithAndWithoutTheRoll) {
  cFleet& own = w.AddFleet(1, zone, {kUnitAircraftCarrier, kUnitCruiser, kUnitCruiser});
  cFleet& enemy = w.AddFleet(2, zone, {kUnitBattleship, kUnitSubmarine});
  cJednostkaMorska& battleship = Ship(enemy, 0);
  cJednostkaMorska& submarine = Ship(enemy, 1);
  // A neutral's fleet is neither counted nor shown.
  w.AddCountries({kNeutral});
  w.War(1, 2);  // the relations were made anew for four countries
  w.AddFleet(4, zone, {kUnitCruiser});
  // Three friendly ships (chance 40 + (3 - 1) x 10), one carrier (+5): 65.
  RandSequence dice({RandFor(0, 100, 66), RandFor(0, 100, 65),  // the battleship escapes, the submarine is seen
                     0});                                          // the shown own ship: the first
  CalculateNavalVisibilityFor(*w.world, Node(), 1, false);
  EXPECT_EQ(dice.Left(), 0u);
  EXPECT_FALSE(battleship.visible);
  EXPECT_TRUE(submarine.visible);
  EXPECT_EQ(Node().GetSpottedEnemyShipCount(), 1);
  EXPECT_EQ(Node().enemyCounts[3], 1);
  EXPECT_EQ(std::accumulate(std::begin(Node().ownCounts), std::end(Node().ownCounts), 0), 3);
  EXPECT_EQ(Node().enemyShip, &submarine);
  EXPECT_EQ(Node().ownShip, &Ship(own, 0));

  // With the roll the sightings stay and the unseen battleship gets its
  // draw; the two visible enemies are then picked between evenly.
  RandSequence again({RandFor(0, 100, 65), 32767, 32767});
  CalculateNavalVisibility(*w.world, Node(), true);
  EXPECT_EQ(again.Left(), 0u);
  EXPECT_TRUE(battleship.visible);
  EXPECT_EQ(Node().GetSpottedEnemyShipCount(), 2);
  EXPECT_EQ(Node().enemyShip, &submarine);  // the last of two for the top draw
  EXPECT_EQ(Node().ownShip, &Ship(own, 2));

  // A port hides the allied and enemy fleets lying in it.
  sWezelGrafuMorz& port = w.AddSeaNode(false, 0, 2, 3);
  enemy.seaNode = port.id;
  RandSequence none({});
  CalculateNavalVisibilityFor(*w.world, port, 1, false);
  EXPECT_EQ(port.GetSpottedEnemyShipCount(), 0);
  EXPECT_EQ(port.enemyShip, nullptr);
}

TEST_F(NavalNode, SurpriseAttackOfACarrier) {
  w.world->constants.navalSeaBattleValue[6] = 300;
  cFleet& own = w.AddFleet(1, zone, {kUnitAircraftCarrier});
  cFleet& enemy = w.AddFleet(2, zone, {kUnitCruiser}, 1);
  std::vector<cJednostkaMorska*> ships(w.world->Units().navalUnits.begin(), w.world->Units().navalUnits.end());
  std::wstring message;
  {
    RandSequence fails({RandFor(1, 1000, 301)});
    EXPECT_FALSE(Ship(own, 0).TrySurpriseAttack(*w.world, ships, message));
  }
  // One candidate: no draw for the pick. A shot of 0 damage still reports
  // the target as damaged.
  RandSequence dice({RandFor(1, 1000, 300), RandFor(0, 100, 60), RandFor(1, 100, 40)});
  ASSERT_TRUE(Ship(own, 0).TrySurpriseAttack(*w.world, ships, message));
  EXPECT_EQ(Ship(enemy, 0).hitPoints, 1);
  EXPECT_NE(message.find(L"damaged"), std::wstring::npos);
  ASSERT_FALSE(w.world->reports.Reports().empty());
  EXPECT_EQ(w.world->reports.Reports().back().countryId, 2);
  EXPECT_EQ(w.world->reports.Reports().back().type, 20);
}

TEST_F(NavalNode, ValuesByTypeAndTechnology) {
  sScenarioConstants& k = w.world->constants;
  k.navalCombatA = {8, 10, 6, 4, 0, 1};
  k.navalCombatB = {10, 9, 5, 6, 0, 1};
  w.Country(1).techLevel[kTechNavy] = 3;
  w.Country(1).techLevel[kTechSubmarines] = 1;
  cFleet& fleet = w.AddFleet(1, zone, {kUnitBattleship, kUnitSubmarine}, 5);
  cJednostkaMorska& battleship = Ship(fleet, 0);
  cJednostkaMorska& submarine = Ship(fleet, 1);
  // (10 + 9) / 2 = 9, x (0.5 + 0.2); the submarine by its own level.
  EXPECT_FLOAT_EQ(battleship.GetCombatValue(*w.world), 9 * 0.7f);
  EXPECT_FLOAT_EQ(submarine.GetCombatValue(*w.world), 5 * 0.5f);
  EXPECT_FLOAT_EQ(fleet.GetCombatValue(*w.world), 9 * 0.7f + 5 * 0.5f);
  EXPECT_EQ(battleship.GetHitChance(), 60);
  EXPECT_EQ(submarine.GetHitChance(), 40);
  EXPECT_EQ(fleet.GetTotalMaxHp(), 10);
  battleship.AddHitPoints(-7.0f);
  EXPECT_EQ(battleship.hitPoints, 0);
  battleship.AddHitPoints(10.0f);
  EXPECT_EQ(battleship.hitPoints, 5);
  EXPECT_EQ(battleship.GetHitPointPercent(), 100);
  battleship.AddHitPoints(-3.0f);
  EXPECT_EQ(battleship.GetHitPointPercent(), 40);
  // A ship without hit points to its name stays at 0 and shows 0 per cent.
  battleship.maxHitPoints = 0;
  EXPECT_EQ(battleship.AddHitPoints(3.0f), 0);
  EXPECT_EQ(battleship.GetHitPointPercent(), 0);
}

TEST_F(NavalNode, SplitGivesTheNextIdAndTheMarkedShips) {
  w.world->ids.nextFleetId = 7;
  cFleet& fleet = w.AddFleet(1, zone, {kUnitBattleship, kUnitCruiser, kUnitCruiser});
  fleet.aiOrder = 3;
  fleet.moved = true;
  Ship(fleet, 1).marked = true;
  Ship(fleet, 2).marked = true;
  auto* split = new cFleet(*w.world, fleet);
  fleet.RemoveMarkedShips();
  w.world->Units().fleets.push_back(split);
  EXPECT_EQ(split->id, 7);
  EXPECT_EQ(split->name, MakeFleetName(7));
  EXPECT_EQ(split->seaNode, zone);
  EXPECT_EQ(split->aiOrder, 3);
  EXPECT_TRUE(split->moved);
  EXPECT_EQ(split->ships.size(), 2u);
  EXPECT_EQ(fleet.ships.size(), 1u);
  for (cJednostkaMorska* ship : split->ships) EXPECT_EQ(ship->fleet, split);
}

TEST_F(NavalNode, ShoreBombardmentOfACoastalUnit) {
  sScenarioConstants& k = w.world->constants;
  k.shoreBombardmentExponent = 1.0f;
  k.battleshipFire = {2, 2, 2, 2, 2, 2};
  k.cruiserFire = {1, 1, 1, 1, 1, 1};
  k.navalTypeStrength = {4, 4, 4, 4, 4, 4};
  k.navyTechFactors = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
  for (int x = 0; x < 5; ++x) w.Hex(x, 2).seaZone = static_cast<std::uint16_t>(zone);
  cFleet& fleet = w.AddFleet(1, zone, {kUnitBattleship, kUnitCruiser, kUnitSubmarine}, 4);
  cJednostkaLadowa& unit = w.AddUnit(2, 2, 2);
  w.Control(2, 2, 2);
  w.world->turnState.SetCurrentCountry(&w.Country(1));
  unit.effectiveness = 100;
  const float strength = unit.GetCombatStrength();
  ASSERT_GT(strength, 3.0f);
  // A friendly unit, or a hex off the fleet's zone, is no target.
  EXPECT_EQ(CheckShoreBombardment(*w.world, fleet, 2, 1), eFleetOrderRefusal::kNoTarget);
  // Two firing ships: scale 2^-1; the battleship 2 x 0.5, the cruiser 1 x 0.5.
  sBombardmentResult result;
  RandSequence dice({RandFor(1, 6, 4)});
  ASSERT_EQ(ShoreBombard(*w.world, fleet, 2, 2, result), eFleetOrderRefusal::kNone);
  EXPECT_EQ(result.kind, kCombatShoreBombardment);
  EXPECT_FLOAT_EQ(unit.shoreBombardmentEffect, 1.5f / strength * 100.0f);
  EXPECT_TRUE(Ship(fleet, 0).shoreBombardmentDone);
  EXPECT_TRUE(Ship(fleet, 1).shoreBombardmentDone);
  EXPECT_FALSE(Ship(fleet, 2).shoreBombardmentDone);  // submarines do not fire
  EXPECT_NE(result.attackerText2.find(L" Battleships:\n  " + Ship(fleet, 0).name), std::wstring::npos);
  // Once per impulse: the unit is not bombarded twice, and nobody is left
  // to fire.
  EXPECT_EQ(CheckShoreBombardment(*w.world, fleet, 2, 2), eFleetOrderRefusal::kNoFiringShips);
  Ship(fleet, 0).shoreBombardmentDone = false;
  EXPECT_EQ(CheckShoreBombardment(*w.world, fleet, 2, 2), eFleetOrderRefusal::kNoTarget);
}

}  // namespace
