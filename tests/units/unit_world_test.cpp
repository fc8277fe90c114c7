// The world's unit lists: look-ups, ships joining fleets, and death taking a
// unit out of every list, its hex and its commander.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/test_support.h"
#include "units/commander.h"
#include "units/convoy.h"
#include "units/fleet.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/gra.h"
#include "world/map_text.h"

namespace {

class WorldUnits : public ::testing::Test {
 protected:
  void SetUp() override {
    g_pWorld = &world;
    std::string error;
    ASSERT_TRUE(BuildMapFromText("size 4 4\nterrain\npppp\npppp\npppp\npppp\n", world.GetMap(), error)) << error;
    for (int id = 1; id <= 2; ++id) {
      auto country = std::make_unique<cCountry>();
      country->id = id;
      world.Countries().push_back(std::move(country));
    }
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

TEST_F(WorldUnits, NewAirUnitsTakeTheNextIds) {
  world.nextAirUnitId = 41;
  cJednostkaLotnicza* a = AddAir(1);
  cJednostkaLotnicza* b = AddAir(1);
  EXPECT_EQ(a->id, 42);
  EXPECT_EQ(b->id, 43);
  EXPECT_EQ(a->category, kCategoryAir);
  cJednostkaLotnicza copy(*a);
  EXPECT_EQ(copy.id, 42);
  EXPECT_EQ(world.nextAirUnitId, 43);
}

TEST_F(WorldUnits, CommanderLookUpLogsOnlyUnknownIds) {
  auto* commander = new cCommander();
  commander->id = 7;
  world.Units().commanders.push_back(commander);
  twtest::LogCapture log;
  EXPECT_EQ(world.FindCommanderById(7), commander);
  EXPECT_EQ(world.FindCommanderById(-1), nullptr);
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(world.FindCommanderById(8), nullptr);
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.Lines()[0], L"Commander with ID=8 not found");
}

TEST_F(WorldUnits, ShipsJoinTheLastUnmovedFleetOrANewOne) {
  cFleet* early = AddFleet(1, 1, 2);
  cFleet* late = AddFleet(2, 1, 2);
  AddFleet(3, 1, 2, /*moved=*/true);
  AddFleet(4, 2, 2);
  world.nextFleetId = 4;
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

TEST_F(WorldUnits, AssigningToAnUnknownNodeWarnsAndChangesNothing) {
  cJednostkaMorska* ship = AddShip(5, 1);
  ship->SetName(L"Ajax");
  twtest::LogCapture log;
  ship->AssignToFleetAtNode(4);
  ship->AssignToFleetAtNode(0);
  EXPECT_TRUE(log.Contains(L"WARNING: Could not find sea node with ID = 4 while assigning ship Ajax (ID = 5)"));
  EXPECT_EQ(ship->fleet, nullptr);
  EXPECT_TRUE(world.Units().fleets.empty());
  EXPECT_TRUE(ship->inReserve);
}

TEST_F(WorldUnits, HitPointsAreTruncatedAndClamped) {
  cJednostkaMorska* ship = AddShip(1, 1);
  ship->hitPoints = 3;
  EXPECT_EQ(ship->AddHitPoints(-5.0f), 0);
  ship->hitPoints = 8;
  EXPECT_EQ(ship->AddHitPoints(10.0f), 10);
  ship->hitPoints = 5;
  EXPECT_EQ(ship->AddHitPoints(-1.9f), 4);  // toward zero
  EXPECT_EQ(ship->AddHitPoints(1.9f), 5);
  EXPECT_EQ(ship->AddHitPoints(-1e12f), 0);
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

TEST_F(WorldUnits, ATransportKilledWithoutItsCargoLeavesTheUnitAlive) {
  cJednostkaMorska* ship = AddShip(1, 1, kUnitCargoShip);
  ship->JoinFleetAtSeaNode(1);
  auto* cargo = new cJednostkaLadowa();
  cargo->countryId = 1;
  cargo->transport = ship;
  ship->carriedUnit = cargo;
  world.Units().carriedUnitsA.push_back(cargo);
  ship->Kill(false);
  ASSERT_EQ(world.Units().carriedUnitsA.size(), 1u);
  EXPECT_EQ(cargo->transport, nullptr);
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

TEST_F(WorldUnits, CarriedUnitsDieWithTheirShips) {
  cJednostkaMorska* ship = AddShip(9, 1, kUnitAmphibiousShip);
  ship->JoinFleetAtSeaNode(2);
  auto* cargo = new cJednostkaLadowa();
  cargo->countryId = 1;
  cargo->transport = ship;
  ship->carriedUnit = cargo;
  world.Units().carriedUnitsB.push_back(cargo);
  EXPECT_FALSE(world.KillFirstCarriedUnitA(1));
  EXPECT_TRUE(world.KillFirstCarriedUnitB(1));
  EXPECT_TRUE(world.Units().carriedUnitsB.empty());
  EXPECT_TRUE(world.Units().navalUnits.empty());
  EXPECT_FALSE(world.KillFirstCarriedUnitB(1));
}

TEST_F(WorldUnits, AirUnitGoesToTheReservePool) {
  cJednostkaLotnicza* unit = AddAir(1);
  unit->SetName(L"JG 26");
  unit->x = 2;
  unit->y = 2;
  twtest::LogCapture log;
  unit->MoveToReservePool();
  EXPECT_TRUE(log.Contains(L"map --> reserve pool: JG 26"));
  EXPECT_TRUE(world.Units().airUnits.empty());
  ASSERT_EQ(world.Units().reservePool.size(), 1u);
  EXPECT_EQ(world.Units().reservePool[0], unit);
  EXPECT_TRUE(unit->inReserve);
  EXPECT_EQ(unit->x, -1);
  EXPECT_EQ(unit->y, -1);
  unit->Kill();
  EXPECT_TRUE(world.Units().reservePool.empty());
}

TEST_F(WorldUnits, ConvoysTakeTheCounterAndThePortSize) {
  auto city = std::make_unique<cCity>();
  city->x = 1;
  city->y = 2;
  cCity* port = city.get();
  world.AddCity(std::move(city));
  sWezelGrafuMorz& node = world.GetSeaGraph().Nodes()[1];
  node.id = 2;
  node.isSea = 0;
  node.x = 1;
  node.y = 2;
  node.maxSize = 5;
  node.size = 4;
  world.GetSeaGraph().Nodes()[0].id = 1;
  world.GetSeaGraph().Nodes()[2].id = 3;
  world.nextConvoyId = 9;
  cConvoy convoy(2, kConvoyProduction, port, nullptr);
  EXPECT_EQ(convoy.id, 10);
  EXPECT_EQ(world.nextConvoyId, 10);
  EXPECT_EQ(convoy.value, 0);
  EXPECT_EQ(convoy.departurePortSize, 4);

  cConvoyStore& store = world.Units().convoys;
  store.Resize(2);
  EXPECT_TRUE(store.Add(convoy));
  cConvoy second(2, kConvoySupplies, nullptr, port);
  EXPECT_EQ(second.departurePortSize, 0);
  EXPECT_TRUE(store.Add(second));
  cConvoy stray(3, kConvoySupplies, nullptr, nullptr);
  EXPECT_FALSE(store.Add(stray));
  EXPECT_TRUE(store.RemoveFirstConvoyOf(2));
  ASSERT_EQ(store.ConvoysOf(2)->size(), 1u);
  EXPECT_EQ(store.ConvoysOf(2)->front().id, second.id);
  EXPECT_FALSE(store.RemoveFirstConvoyOf(1));
  EXPECT_EQ(store.ConvoysOf(0), nullptr);
  EXPECT_EQ(store.ResultsOf(3), nullptr);
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

TEST_F(WorldUnits, EventEffectsReachTheUnitsOfOneSide) {
  world.GetCountry(1)->alliance = 2;  // side 1
  world.GetCountry(2)->alliance = 4;  // side 2
  world.GetMap().GetHex(1, 1).originalOwner = 2;
  world.GetMap().GetHex(2, 1).originalOwner = 2;
  auto add = [&](int country, int x, int y) {
    auto* unit = new cJednostkaLadowa();
    unit->countryId = country;
    world.Units().landUnits.push_back(unit);
    EXPECT_TRUE(unit->PlaceOnHex(x, y));
    return unit;
  };
  cJednostkaLadowa* a = add(1, 1, 1);
  cJednostkaLadowa* b = add(2, 2, 1);
  cJednostkaLadowa* c = add(1, 3, 3);
  AddEventEffectInCountry(2, 1, 5);
  EXPECT_EQ(a->eventsEffect, 5);
  EXPECT_EQ(b->eventsEffect, 0);
  EXPECT_EQ(c->eventsEffect, 0);
  AddEventEffectInArea(1, 1, 3, 3, 1, -2);
  EXPECT_EQ(a->eventsEffect, 3);
  EXPECT_EQ(c->eventsEffect, -2);
  AddEventEffectInArea(0, 0, 2, 2, 2, 4);
  EXPECT_EQ(b->eventsEffect, 4);
}

}  // namespace
