#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map_text.h"

namespace {

class WorldUnits : public ::testing::Test {
 protected:
  void SetUp() override {
    g_pWorld = &world;
    std::string error;
    ASSERT_TRUE(BuildMapFromText("size 4 4\nterrain\npppp\npppp\npppp\npppp\n", world.GetMap(), error)) << error;
    twtest::AddCountry(world);
    twtest::AddCountry(world);
    world.GetSeaGraph().Nodes().resize(3);
  }
  void TearDown() override { g_pWorld = nullptr; }

  cJednostkaMorska* AddShip(int id, int country, int type = kUnitCruiser) {
    auto* ship = new cJednostkaMorska();
    ship->id = id;
    ship->countryId = country;
    ship->SetType(type);
    ship->maxHitPoints = 10;
    ship->hitPoints = 10;
    ship->inReserve = true;
    world.Units().navalReservePool.push_back(ship);
    return ship;
  }
  cFleet* AddFleet(int id, int country, int node, bool moved = false) {
    auto* fleet = new cFleet();
    fleet->id = id;
    fleet->country = country;
    fleet->seaNode = node;
    fleet->moved = moved;
    world.Units().fleets.push_back(fleet);
    return fleet;
  }
  cJednostkaLotnicza* AddAir(int country) {
    auto* unit = new cJednostkaLotnicza();
    unit->countryId = country;
    unit->SetType(kUnitFighter);
    world.Units().airUnits.push_back(unit);
    return unit;
  }

  cWorld world;
};

TEST_F(WorldUnits, ShipsJoinTheLastUnmovedFleetOrANewOne) {
  cFleet* early = AddFleet(1, 1, 2);
  cFleet* late = AddFleet(2, 1, 2);
  AddFleet(3, 1, 2, /*moved=*/true);
  AddFleet(4, 2, 2);
  world.ids.nextFleetId = 5;
  cJednostkaMorska* a = AddShip(100, 1);
  a->JoinFleetAtSeaNode(2);
  EXPECT_EQ(a->fleet, late);
  EXPECT_TRUE(early->ships.empty());
  EXPECT_FALSE(a->inReserve);
  EXPECT_TRUE(world.Units().navalReservePool.empty());
  EXPECT_EQ(world.Units().navalUnits.back(), a);

  cJednostkaMorska* b = AddShip(101, 1);
  b->JoinFleetAtSeaNode(3);
  ASSERT_NE(b->fleet, nullptr);
  EXPECT_EQ(b->fleet->id, 5);
  EXPECT_EQ(b->fleetId, 5);  // the id the save writes
  EXPECT_EQ(b->fleet->seaNode, 3);
  EXPECT_EQ(b->fleet->country, 1);
  EXPECT_FALSE(b->fleet->moved);
  EXPECT_EQ(b->fleet->name, L"fleet_#5");  // the key reads as itself here
  EXPECT_EQ(world.Units().fleets.back(), b->fleet);

  // The scripts' form takes a moved fleet too, and makes new fleets moved.
  cJednostkaMorska* c = AddShip(102, 1);
  c->AssignToFleetAtNode(2);
  EXPECT_EQ(c->fleet->id, 3);
  cJednostkaMorska* d = AddShip(103, 2);
  d->AssignToFleetAtNode(1);
  EXPECT_TRUE(d->fleet->moved);

  EXPECT_EQ(world.FindNavalUnitById(102), c);
  EXPECT_EQ(world.FindNavalUnitById(999), nullptr);
  EXPECT_EQ(world.FindFleetAtSeaNode(2, 1), early);
  EXPECT_EQ(world.FindFleetAtSeaNode(2, 2)->id, 4);
  EXPECT_EQ(world.FindFleetAtSeaNode(3, 2), nullptr);
}

TEST_F(WorldUnits, KillingAShipLeavesTheFleetAndTheLastOneTakesTheFleet) {
  cFleet* fleet = AddFleet(1, 1, 1);
  cJednostkaMorska* a = AddShip(1, 1);
  cJednostkaMorska* b = AddShip(2, 1);
  a->JoinFleetAtSeaNode(1);
  b->JoinFleetAtSeaNode(1);
  ASSERT_EQ(fleet->ships.size(), 2u);
  auto* commander = new cCommander();
  commander->id = 3;
  commander->state = kCommanderAssigned;
  commander->ledUnit = a;
  a->ownCommander = commander;
  world.Units().commanders.push_back(commander);
  world.GetSeaGraph().Nodes()[0].ownShip = a;

  a->Kill(true);
  EXPECT_EQ(world.GetSeaGraph().Nodes()[0].ownShip, nullptr);
  EXPECT_EQ(commander->state, kCommanderOnHisWay);
  EXPECT_EQ(commander->ledUnit, nullptr);
  ASSERT_EQ(fleet->ships.size(), 1u);
  EXPECT_EQ(fleet->ships.front(), b);
  EXPECT_EQ(world.FindNavalUnitById(1), nullptr);

  b->Kill(true);
  EXPECT_TRUE(world.Units().fleets.empty());
  EXPECT_TRUE(world.Units().navalUnits.empty());
}

TEST_F(WorldUnits, KillFirstLoopsEndAndEmptyTheLists) {
  for (int i = 0; i < 3; ++i) AddAir(1);
  cJednostkaLotnicza* other = AddAir(2);
  auto* commander = new cCommander();
  commander->id = 1;
  commander->ledUnit = world.Units().airUnits.front();
  commander->state = kCommanderAssigned;
  world.Units().airUnits.front()->ownCommander = commander;
  world.Units().commanders.push_back(commander);
  int kills = 0;
  while (world.KillFirstAirUnitOfCountry(1)) ++kills;
  EXPECT_EQ(kills, 3);
  ASSERT_EQ(world.Units().airUnits.size(), 1u);
  EXPECT_EQ(world.Units().airUnits.front(), other);
  EXPECT_EQ(commander->state, kCommanderOnHisWay);
  EXPECT_EQ(commander->ledUnit, nullptr);

  for (int id = 1; id <= 2; ++id) AddShip(id, 2)->JoinFleetAtSeaNode(1);
  kills = 0;
  while (world.KillFirstNavalUnitOfCountry(2)) ++kills;
  EXPECT_EQ(kills, 2);
  EXPECT_TRUE(world.Units().fleets.empty());

  cMap& map = world.GetMap();
  for (int x = 0; x < 3; ++x) {
    auto* unit = new cJednostkaLadowa();
    unit->countryId = 1;
    world.Units().landUnits.push_back(unit);
    ASSERT_TRUE(unit->PlaceOnHex(x, 1));
  }
  kills = 0;
  while (world.KillFirstLandUnitOfCountry(1)) ++kills;
  EXPECT_EQ(kills, 3);
  EXPECT_TRUE(world.Units().landUnits.empty());
  for (int x = 0; x < 3; ++x) EXPECT_EQ(map.GetHex(x, 1).unit, nullptr);
}

TEST_F(WorldUnits, ShoreBombardmentFleetHasTheMostEligibleShips) {
  cFleet* low = AddFleet(3, 1, 2);
  cFleet* high = AddFleet(1, 1, 2);
  cFleet* elsewhere = AddFleet(2, 1, 1);
  auto put = [&](int id, int type, cFleet* fleet) {
    cJednostkaMorska* ship = AddShip(id, 1, type);
    ship->AssignToFleetAtNode(fleet->seaNode);
    // AssignToFleetAtNode takes the last fleet at the node; put it where asked.
    ship->fleet->RemoveShip(ship);
    ship->fleet = fleet;
    fleet->ships.push_back(ship);
    return ship;
  };
  put(1, kUnitBattleship, low);
  put(2, kUnitCruiser, low);
  cJednostkaMorska* sub = put(3, kUnitSubmarine, high);
  put(4, kUnitCruiser, high);
  cJednostkaMorska* done = put(5, kUnitBattleship, high);
  done->shoreBombardmentDone = true;
  cJednostkaMorska* away = put(6, kUnitBattleship, elsewhere);
  away->marked = true;
  EXPECT_EQ(world.SelectShoreBombardmentFleet(1, 2), low);  // 2 eligible against 1
  for (cJednostkaMorska* ship : world.Units().navalUnits) {
    EXPECT_EQ(ship->marked, ship->fleet == low) << ship->id;
  }
  put(7, kUnitCruiser, high);  // now 2 against 2: the lower id
  EXPECT_EQ(world.SelectShoreBombardmentFleet(1, 2), high);
  EXPECT_FALSE(sub->marked);
  EXPECT_FALSE(done->marked);
  EXPECT_TRUE(world.FindNavalUnitById(7)->marked);
  EXPECT_EQ(world.SelectShoreBombardmentFleet(2, 2), nullptr);  // no ship of country 2
  EXPECT_TRUE(world.FindNavalUnitById(7)->marked);              // marks kept
}

}  // namespace
