// Units in a world: their types, commanders, hexes, strategic moves, fleets
// and deaths.
#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>
#include <thread>

#include "app/main_thread_queue.h"
#include "app/random.h"
#include "app/sound.h"
#include "platform/rand.h"
#include "support/fake_audio.h"
#include "support/recording_view.h"
#include "support/test_support.h"
#include "units/land_fixture.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"

namespace {

// The rand() value for which RandomRange(1, 100) gives r.
int RandFor(int r) {
  for (int v = 0; v <= 32767; ++v) {
    plat::ScopedRandOverride pin([v] { return v; });
    if (RandomRange(1, 100) == r) return v;
  }
  ADD_FAILURE() << "no rand value gives " << r;
  return 0;
}

// A 6 x 5 land map, two countries at peace, three sea nodes.
class WorldUnits : public ::testing::Test {
 protected:
  WorldUnits() {
    w_.AddCountries({0, 0});
    world.GetSeaGraph().Nodes().resize(3);
    world.constants.commanderRange[0] = 3;
    world.constants.maxSupply = 10;
    sUnitConstants& rules = world.unitConstants;
    rules.skillWeight = 100;
    rules.experienceWeight = 50;
    rules.distanceFalloff = 100;
    rules.lossPreventionWeight = 1;
    rules.damageDoublingWeight = 2;
    rules.bombardmentBonusWeight = 3;
  }

  // A commander, leading the unit when one is given.
  cCommander* AddCommander(int id, int type, int skill, cUnit* led = nullptr) {
    auto* commander = new cCommander();
    commander->id = id;
    commander->type = type;
    commander->skill = skill;
    if (led) {
      commander->state = kCommanderAssigned;
      commander->ledUnit = led;
      led->ownCommander = commander;
    }
    world.Units().commanders.push_back(commander);
    return commander;
  }
  // An infantry division on the map (linked to its hex).
  cJednostkaLadowa* AddLand(int country, int x, int y) { return &w_.AddUnit(x, y, country, kUnitInfantryDivision); }
  // A ship in the reserve pool.
  cJednostkaMorska* AddShip(int id, int country, int type = kUnitCruiser) {
    auto* ship = new cJednostkaMorska(&world);
    ship->id = id;
    ship->countryId = country;
    ship->SetType(type);
    ship->maxHitPoints = ship->hitPoints = 10;
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
  // A fighter, on (x, y) when given.
  cJednostkaLotnicza* AddAir(int country, int x = -1, int y = -1) {
    auto* unit = new cJednostkaLotnicza(&world);
    unit->countryId = country;
    unit->SetType(kUnitFighter);
    world.Units().airUnits.push_back(unit);
    if (x >= 0) { EXPECT_TRUE(unit->PlaceOnHex(world, x, y)); }
    return unit;
  }
  sHex& Hex(int x, int y) { return world.GetMap().GetHex(x, y); }

  twtest::LandWorld w_{{"pppppp", "pppppp", "pppppp", "pppppp", "pppppp"}};
  cWorld& world = *w_.world;
};

TEST(UnitType, CategoryFollowsKnownCodesAndStaysForUnknownOnes) {
  cJednostkaMorska ship(nullptr);
  // Known codes of each arm, then unknown ones that keep the last category.
  const std::pair<int, int> types[] = {{kUnitArtificialHarbour, kCategoryLand}, {kUnitTacticalBomber, kCategoryAir},
                                       {kUnitAmphibiousShip, kCategoryNaval},   {7, kCategoryNaval},
                                       {19, kCategoryNaval}, {23, kCategoryNaval}, {39, kCategoryNaval},
                                       {46, kCategoryNaval}, {59, kCategoryNaval}, {61, kCategoryNaval},
                                       {-1, kCategoryNaval}, {kUnitArmouredCorps, kCategoryLand}};
  for (const auto& [type, category] : types) {
    ship.SetType(type);
    EXPECT_EQ(std::pair(ship.type, ship.category), std::pair(type, category)) << type;
  }
}

TEST_F(WorldUnits, HqSearchTakesTheBestAndTheFirstOnATie) {
  // The units that carry a commander, gathered once in the world's order as
  // the end of an impulse gathers them.
  const auto commanders = [this] {
    std::vector<const cJednostkaLadowa*> commanded;
    for (const cJednostkaLadowa* land : world.Units().landUnits) {
      if (land->ownCommander != nullptr) commanded.push_back(land);
    }
    return commanded;
  };
  AddCommander(11, kCategoryLand, 4, AddLand(1, 0, 0));  // distance 2 from (2, 1)
  AddCommander(12, kCategoryLand, 4, AddLand(1, 2, 3));  // distance 2 as well
  cJednostkaLadowa* unit = AddLand(1, 2, 1);
  unit->AssignBestHQCommanderAmong(world, commanders());
  EXPECT_EQ(unit->hqCommanderId, 11) << "the first of equals";

  // A better commander further away, exactly at the command range, wins.
  AddCommander(13, kCategoryLand, 9, AddLand(1, 2, 4));
  std::vector<const cJednostkaLadowa*> commanded = commanders();
  ASSERT_EQ(commanded.size(), 3u);
  unit->AssignBestHQCommanderAmong(world, commanded);
  EXPECT_EQ(unit->hqCommanderId, 13);
  EXPECT_EQ(unit->GetHqCommanderBonus(), static_cast<int>(100 * 0.01f / 3 * 9.0f));

  // Only the units given count; none leaves the unit without one.
  commanded.pop_back();
  unit->AssignBestHQCommanderAmong(world, commanded);
  EXPECT_EQ(unit->hqCommanderId, 11);
  unit->AssignBestHQCommanderAmong(world, {});
  EXPECT_EQ(unit->hqCommanderId, -1);
}

TEST_F(WorldUnits, OwnCommanderCheckSucceedsOnlyBelowTheThreshold) {
  cJednostkaLadowa* unit = AddLand(1, 1, 1);
  cCommander* c = AddCommander(41, kCategoryLand, 1, unit);
  // {skill, weight, roll 1..100, doubles damage (else prevents losses),
  // succeeds}: the threshold is skill x weight, and the roll must stay below it.
  const int cases[][5] = {{1, 1, 1, 0, 0},     {1, 2, 1, 0, 1},     {1, 2, 2, 0, 0},
                          {50, 2, 100, 1, 0}, {101, 1, 100, 0, 1}};
  for (const auto& [skill, weight, roll, doubles, succeeds] : cases) {
    c->skill = skill;
    world.unitConstants.lossPreventionWeight = world.unitConstants.damageDoublingWeight = weight;
    const int value = RandFor(roll);
    plat::ScopedRandOverride dice([value] { return value; });
    EXPECT_EQ(doubles ? unit->CommanderDoublesDamage() : unit->CommanderPreventsLosses(), succeeds == 1)
        << skill << " x " << weight << ", roll " << roll;
  }
  EXPECT_EQ(unit->GetCommanderBonus(), 3 * 101);
  EXPECT_FLOAT_EQ(unit->GetCommanderDistanceFactor(), 1.0f);
}

TEST_F(WorldUnits, HqCommanderIsWeakenedByDistance) {
  cCommander* c = AddCommander(51, kCategoryLand, 10, AddLand(1, 0, 1));
  cJednostkaLadowa* unit = AddLand(1, 3, 1);  // 3 hexes away
  unit->hqCommanderId = 51;
  world.unitConstants.distanceFalloff = 1;
  EXPECT_EQ(unit->GetCommanderDistance(), 3);
  EXPECT_FLOAT_EQ(unit->GetCommanderDistanceFactor(), 1.0f / 3.0f);
  world.unitConstants.bombardmentBonusWeight = 7;  // w = 70, t = trunc(70 / 3)
  EXPECT_EQ(unit->GetCommanderBonus(), 23);

  // His unit gone: distance 100.
  c->ledUnit = nullptr;
  EXPECT_EQ(unit->GetCommanderDistance(), 100);
  EXPECT_FLOAT_EQ(unit->GetCommanderDistanceFactor(), 0.01f);
}

TEST_F(WorldUnits, PlaceOnHexRefusesOutsideAndOccupiedHexes) {
  cJednostkaLadowa* unit = AddLand(1, 1, 1);
  cJednostkaLadowa* other = AddLand(1, 2, 2);
  cMap& map = world.GetMap();
  for (auto [px, py] : {std::pair{-1, 0}, {0, -1}, {-3, -3}, {6, 0}, {0, 5}}) {
    EXPECT_FALSE(unit->PlaceOnHex(world, px, py)) << px << "," << py;
    EXPECT_EQ(std::pair(unit->x, unit->y), std::pair(1, 1));
  }
  EXPECT_EQ(map.GetHex(0, 0).unit, nullptr);  // never the first cell
  EXPECT_FALSE(unit->PlaceOnHex(world, 2, 2));
  EXPECT_EQ(map.GetHex(2, 2).unit, other);
  EXPECT_EQ(map.GetHex(1, 1).unit, unit);

  EXPECT_TRUE(unit->PlaceOnHex(world, 5, 4));
  EXPECT_EQ(map.GetHex(1, 1).unit, nullptr);
  EXPECT_EQ(map.GetHex(5, 4).unit, unit);
  EXPECT_EQ(std::pair(unit->x, unit->y), std::pair(5, 4));
}

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

  // A new fleet: b's fleet id is the one the save writes; the name's key
  // reads as itself here.
  cJednostkaMorska* b = AddShip(101, 1);
  b->JoinFleetAtSeaNode(3);
  ASSERT_EQ(world.Units().fleets.back(), b->fleet);
  const cFleet& f = *b->fleet;
  EXPECT_EQ(std::vector<int>({f.id, b->fleetId, f.seaNode, f.country, f.moved}), std::vector<int>({5, 5, 3, 1, 0}));
  EXPECT_EQ(f.name, L"fleet_#5");

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

// A country's sea transport points: its own points, those in convoys and
// the cost of each unit its loaded cargo ships carry (not another
// country's, nor an amphibious ship's cargo).
TEST_F(WorldUnits, SeaTransportPointsCountTheLoadedTransports) {
  world.constants.seaTransportCost = {3, 4, 5, 6, 7, 8, 9};
  cCountry& country = *world.GetCountry(1);
  country.seaTransportPoints = 10;
  country.seaTransportPointsInConvoys = 2;
  EXPECT_EQ(country.GetTotalSeaTransportPoints(world), 12);
  auto load = [&](int shipId, int shipCountry, int shipType, int cargoType) {
    cJednostkaMorska* ship = AddShip(shipId, shipCountry, shipType);
    ship->JoinFleetAtSeaNode(1);
    auto* cargo = new cJednostkaLadowa(&world);
    cargo->countryId = shipCountry;
    cargo->SetType(cargoType);
    cargo->transport = ship;
    ship->carriedUnit = cargo;
    world.Units().carriedUnitsA.push_back(cargo);
  };
  load(1, 1, kUnitCargoShip, kUnitInfantryDivision);  // 3
  load(2, 1, kUnitCargoShip, 5);                      // 8
  load(3, 2, kUnitCargoShip, 0);                      // another country's
  load(4, 1, kUnitAmphibiousShip, 0);                 // not a sea transport
  AddShip(5, 1, kUnitCargoShip)->JoinFleetAtSeaNode(1);  // empty
  EXPECT_EQ(country.GetTotalSeaTransportPoints(world), 23);
}

// Both tables count every unit of the country once, on the map or in a
// reserve pool; they differ only in the order of the air rows and the first
// three naval rows.
TEST_F(WorldUnits, UnitCountsGiveTwoTablesThatOrderTheAirAndNavalRowsApart) {
  AddLand(1, 0, 0);
  AddLand(2, 1, 0);  // another country's
  AddAir(1, 2, 2);
  cJednostkaLotnicza* bomber = AddAir(1);
  bomber->SetType(kUnitStrategicBomber);
  world.Units().airUnits.remove(bomber);
  world.Units().reservePool.push_back(bomber);
  AddShip(1, 1, kUnitAircraftCarrier);  // in the naval reserve
  AddShip(2, 1, kUnitCruiser)->JoinFleetAtSeaNode(1);
  auto* harbour = new cMulberry(&world);
  harbour->countryId = 1;
  world.Units().landUnits.push_back(harbour);  // no row
  const sUnitCountsByType counts = world.GetCountry(1)->CountUnitsByType(world);
  using Row = std::pair<int, int>;
  EXPECT_EQ(counts.a[0], Row(1, 0));
  EXPECT_EQ(counts.b[0], Row(1, 0));
  // Fighters and strategic bombers, cruisers and carriers change places.
  EXPECT_EQ(counts.a[9], Row(1, 0));
  EXPECT_EQ(counts.b[7], Row(1, 0));
  EXPECT_EQ(counts.a[7], Row(0, 1));
  EXPECT_EQ(counts.b[9], Row(0, 1));
  EXPECT_EQ(counts.a[10], Row(1, 0));
  EXPECT_EQ(counts.b[12], Row(1, 0));
  EXPECT_EQ(counts.a[12], Row(0, 1));
  EXPECT_EQ(counts.b[10], Row(0, 1));
  int total = 0;
  for (const auto& table : {counts.a, counts.b}) {
    for (const Row& row : table) total += row.first + row.second;
  }
  EXPECT_EQ(total, 2 * 5);
}

TEST_F(WorldUnits, KillingAShipLeavesTheFleetAndTheLastOneTakesTheFleet) {
  cFleet* fleet = AddFleet(1, 1, 1);
  cJednostkaMorska* a = AddShip(1, 1);
  cJednostkaMorska* b = AddShip(2, 1);
  a->JoinFleetAtSeaNode(1);
  b->JoinFleetAtSeaNode(1);
  cCommander* commander = AddCommander(3, kCategoryNaval, 1, a);
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
  cCommander* commander = AddCommander(1, kCategoryAir, 1, world.Units().airUnits.front());
  auto killAll = [](auto kill) {
    int kills = 0;
    while (kill()) ++kills;
    return kills;
  };
  EXPECT_EQ(killAll([&] { return world.KillFirstAirUnitOfCountry(1); }), 3);
  EXPECT_EQ(world.Units().airUnits, std::list<cJednostkaLotnicza*>{other});
  EXPECT_EQ(commander->state, kCommanderOnHisWay);
  EXPECT_EQ(commander->ledUnit, nullptr);

  for (int id = 1; id <= 2; ++id) AddShip(id, 2)->JoinFleetAtSeaNode(1);
  EXPECT_EQ(killAll([&] { return world.KillFirstNavalUnitOfCountry(2); }), 2);
  EXPECT_TRUE(world.Units().fleets.empty());

  for (int x = 0; x < 3; ++x) AddLand(1, x, 1);
  EXPECT_EQ(killAll([&] { return world.KillFirstLandUnitOfCountry(1); }), 3);
  EXPECT_TRUE(world.Units().landUnits.empty());
  for (int x = 0; x < 3; ++x) EXPECT_EQ(world.GetMap().GetHex(x, 1).unit, nullptr);
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

// Placing and the way to the reserve pool are shared with the land units;
// death is the air unit's own.
TEST_F(WorldUnits, TheAirUnitsHexLinkFollowsPlacementReserveAndDeath) {
  cJednostkaLotnicza* air = AddAir(1, 1, 3);
  cJednostkaLadowa* land = AddLand(1, 4, 3);
  EXPECT_EQ(Hex(1, 3).unit, air);
  for (cJednostka* unit : {static_cast<cJednostka*>(air), static_cast<cJednostka*>(land)}) unit->MoveToReservePool();
  EXPECT_EQ(Hex(1, 3).unit, nullptr);
  EXPECT_EQ(Hex(4, 3).unit, nullptr);
  EXPECT_EQ(std::pair(air->x, land->x), std::pair(-1, -1));
  EXPECT_TRUE(air->inReserve && land->inReserve);
  EXPECT_TRUE(world.Units().airUnits.empty());
  EXPECT_TRUE(world.Units().landUnits.empty());
  EXPECT_EQ(world.Units().reservePool, (std::vector<cJednostka*>{air, land}));

  // A killed selected unit: the selection's refresh (at once, on the main
  // thread) already finds its hex empty.
  cJednostkaLotnicza* other = AddAir(2, 2, 3);
  auto* view = new twtest::RecordingView(world);
  world.SetView(std::unique_ptr<cWorldView>(view));
  world.turnState.selectedUnit = other;
  int refreshes = 0;
  view->onRefreshSelection = [&] {
    ++refreshes;
    EXPECT_EQ(Hex(2, 3).unit, nullptr);
  };
  other->Kill();
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(world.turnState.selectedUnit, nullptr);
  EXPECT_EQ(Hex(2, 3).unit, nullptr);
  EXPECT_TRUE(world.Units().airUnits.empty());
  world.SetView(nullptr);
}

TEST_F(WorldUnits, StrategicMovesPayTheScenarioCostOfTheType) {
  sScenarioConstants& k = world.constants;
  k.strategicMoveCost = {1, 2, 3, 4, 5, 6, 7};
  k.airStrategicMoveCost = {11, 12, 13};
  cCountry& country = *world.GetCountry(1);
  country.strategicMovementPoints = 100;
  country.productionPoints = 100.0;

  cJednostkaLadowa* land = AddLand(1, 1, 0);
  land->SetType(kUnitMechanizedCorps);
  ASSERT_TRUE(land->StrategicMove(world, 2, 3));
  EXPECT_EQ(country.strategicMovementPoints, 96);
  EXPECT_EQ(Hex(2, 3).unit, land);

  cJednostkaLotnicza* air = AddAir(1, 1, 1);
  air->SetType(kUnitTacticalBomber);
  ASSERT_TRUE(air->StrategicMove(world, 2, 0));
  EXPECT_DOUBLE_EQ(country.productionPoints, 88.0);
  EXPECT_EQ(country.strategicMovementPoints, 96);
  EXPECT_EQ(Hex(1, 1).unit, nullptr);
  EXPECT_EQ(Hex(2, 0).unit, air);

  // A ship's type has no column in the land table: it costs nothing and
  // never enters a hex.
  cJednostkaMorska ship(&world);
  ship.countryId = 1;
  ship.SetType(kUnitBattleship);
  ASSERT_TRUE(ship.StrategicMove(world, 1, 2));
  EXPECT_EQ(country.strategicMovementPoints, 96);
  EXPECT_EQ(Hex(1, 2).unit, nullptr);
}

// The computer's strategic moves run on the worker: their sound is played
// by the main thread, through the world's view.
TEST_F(WorldUnits, AStrategicMoveOnTheWorkerPlaysItsSoundOnTheMainThread) {
  SetMainThreadToCurrent();
  twtest::TempDir folder;
  twtest::FakeAudioDevice device;
  g_Sounds[SND_STRATEGIC_DEPLOY_LAND] = device.LoadSound(folder.Write("deploy.wav", "RIFF"), 1);
  ASSERT_NE(g_Sounds[SND_STRATEGIC_DEPLOY_LAND], nullptr);
  world.SetView(std::make_unique<twtest::RecordingView>(world));
  world.constants.strategicMoveCost = {1, 1, 1, 1, 1, 1, 1};
  world.GetCountry(1)->strategicMovementPoints = 10;
  cJednostkaLadowa* land = AddLand(1, 1, 0);
  land->visible = true;
  std::thread worker([&] { EXPECT_TRUE(land->StrategicMove(world, 3, 3)); });
  worker.join();
  EXPECT_TRUE(device.sounds.front()->plays.empty());
  DrainMainThreadRequests();
  EXPECT_EQ(device.sounds.front()->plays.size(), 1u);
  g_Sounds[SND_STRATEGIC_DEPLOY_LAND].reset();
  world.SetView(nullptr);
}

TEST_F(WorldUnits, TheHarbourTakesItsStrengthAndSupplyFromTheConstants) {
  world.constants.mulberryValues = {30.0f, 4.0f, 7.9f, 12.0f};
  world.constants.maxSupply = 25;
  cMulberry harbour(&world);
  harbour.SetStrength(99);
  harbour.SetSupply(1);
  EXPECT_EQ(harbour.GetStrength(), 7);
  EXPECT_EQ(harbour.supply, 25);
}

}  // namespace
