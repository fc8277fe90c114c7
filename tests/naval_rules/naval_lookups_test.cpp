// The world's ship look-ups at a sea node and the death of a ship: its
// fleet, the nodes that showed it and the commanders of its country's ships.
#include <gtest/gtest.h>

#include "air_rules/air_fixture.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/naval_spotting.h"

namespace {

using twtest::AirWorld;
using twtest::RandFor;
using twtest::RandSequence;

class Lookups : public ::testing::Test {
 protected:
  Lookups() : w({"~~~~~", "~~~~~", "ppppp"}) {
    w.ThreeCountries();
    zone = w.AddSeaNode(true, 1, 1).id;
    other = w.AddSeaNode(true, 4, 0).id;
    // other -> zone is open, zone -> other is not linked.
    w.world->GetSeaGraph().GetNode(other)->links.push_back({zone, -1, -1});
    w.world->constants.friendlyShipSpotChance = 70;
    w.world->constants.enemyShipSpotChance = 50;
    w.world->constants.navalCombatA = {2, 2, 2, 2, 2, 2};
    w.world->constants.navalCombatB = {2, 2, 2, 2, 2, 2};
  }
  AirWorld w;
  int zone = 0, other = 0;
};

TEST_F(Lookups, FriendlyAndEnemyShipsTakePartByTheirDraws) {
  w.AddFleet(1, zone, {kUnitCruiser, kUnitCargoShip, kUnitAmphibiousShip});
  w.AddFleet(3, zone, {kUnitBattleship});  // the current country's ally
  w.AddFleet(2, zone, {kUnitCruiser});
  w.AddFleet(2, other, {kUnitSubmarine});  // one open link away
  std::list<cJednostkaMorska*> out;
  int transports = -1;
  // Level 0: each value (2 + 2) / 2 x 0.4 = 0.8.
  RandSequence dice({RandFor(1, 100, 70), RandFor(1, 100, 71), RandFor(1, 100, 1), RandFor(1, 100, 2)});
  EXPECT_FLOAT_EQ(w.world->CollectFriendlyShipsAtSeaNode(1, zone, out, transports), 3 * 0.8f);
  EXPECT_EQ(out.size(), 3u);
  EXPECT_EQ(transports, 1);  // the cargo ship lost its draw
  RandSequence enemies({RandFor(1, 100, 50), RandFor(1, 100, 51)});
  EXPECT_FLOAT_EQ(w.world->CollectEnemyShipsNearSeaNode(1, zone, out), 0.8f);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out.front()->type, kUnitCruiser);
  // Seen from the other zone, the cruiser's zone has no link back: only the
  // submarine is near.
  RandSequence far({RandFor(1, 100, 1)});
  w.world->CollectEnemyShipsNearSeaNode(1, other, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out.front()->type, kUnitSubmarine);
}

TEST_F(Lookups, SunkShipLeavesItsNodeItsFleetAndItsCommanders) {
  cFleet& fleet = w.AddFleet(1, zone, {kUnitBattleship, kUnitCruiser});
  cJednostkaMorska* flagship = fleet.ships.front();
  cJednostkaMorska* cruiser = fleet.ships.back();
  cCommander best, second;
  best.id = 11;
  best.skill = 5;
  second.id = 12;
  second.skill = 3;
  flagship->ownCommander = &best;
  best.ledUnit = flagship;
  cFleet& escort = w.AddFleet(1, zone, {kUnitCruiser});
  escort.ships.front()->ownCommander = &second;
  PropagateFleetCommanders(*w.world, *w.world->GetSeaGraph().GetNode(zone), 1);
  EXPECT_EQ(cruiser->hqCommanderId, 11);
  w.world->GetSeaGraph().SetViewingCountry(1);
  for (cJednostkaMorska* ship : w.world->Units().navalUnits) ship->visible = true;
  sWezelGrafuMorz& node = *w.world->GetSeaGraph().GetNode(zone);
  node.ownShip = flagship;
  w.world->turnState.selectedUnit = flagship;

  // The node that showed the flagship picks again among the two own ships
  // left: one even draw, rand() 0 takes the first.
  RandSequence dice({0});
  flagship->Kill(true);
  EXPECT_EQ(dice.Left(), 0u);
  EXPECT_EQ(w.world->turnState.selectedUnit, nullptr);
  EXPECT_EQ(best.state, kCommanderOnHisWay);
  EXPECT_EQ(best.ledUnit, nullptr);
  EXPECT_EQ(cruiser->hqCommanderId, 12);  // the best commander left
  EXPECT_EQ(node.ownShip, cruiser);
  EXPECT_EQ(fleet.ships.size(), 1u);
  escort.ships.front()->ownCommander = nullptr;
  // The last ship takes its fleet with it.
  const std::size_t fleets = w.world->Units().fleets.size();
  RandSequence last({});
  escort.ships.front()->Kill(true);
  EXPECT_EQ(w.world->Units().fleets.size(), fleets - 1);
  EXPECT_EQ(w.world->Units().navalUnits.size(), 1u);
}

}  // namespace
