// The computer's ships on a small sea: which reserve ships it deploys and
// where, when it finds a sea node safe, from which ports it reaches a node,
// how it shares its ships out over its patrol zones, and which target each
// carrier strikes.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/ai_naval.h"
#include "ai/ai_sea_fixture.h"
#include "ai/ai_sea_steps.h"
#include "platform/text.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/ai_orders.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"

namespace {

using namespace ai;
using twtest::SeaAiWorld;

class SeaAi : public ::testing::Test {
 protected:
  SeaAi() : stepper(*w.world) {}

  cCountry& Ai() { return w.Country(1); }
  std::vector<cFleet*> Fleets(int country) { return CollectOwnFleets(*w.world, country); }
  bool Logged(const std::wstring& text) {
    const auto lines = w.log.Lines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::wstring& l) { return l.find(text) != l.npos; });
  }

  SeaAiWorld w;
  twtest::SeaMoveStepper stepper;
};

// --- deployment ---

cJednostkaMorska& Reserve(SeaAiWorld& w, int country, int type, int availableIn, const wchar_t* name) {
  auto* ship = new cJednostkaMorska(w.world.get());
  ship->countryId = country;
  ship->SetType(type);
  ship->name = name;
  ship->hitPoints = ship->maxHitPoints = 4;
  ship->inReserve = true;
  ship->availableInTurns = availableIn;
  w.world->Units().navalReservePool.push_back(ship);
  return *ship;
}

TEST_F(SeaAi, OnlyReadyShipsDeployAndOnlyAtAPortLargeEnoughForThem) {
  w.world->constants.minPortSize = {9, 0, 0, 0, 0, 0};  // a carrier needs a port of 9
  cJednostkaMorska& ready = Reserve(w, 1, kUnitCruiser, 0, L"Ready");
  cJednostkaMorska& building = Reserve(w, 1, kUnitBattleship, 2, L"Building");
  cJednostkaMorska& tooBig = Reserve(w, 1, kUnitAircraftCarrier, 0, L"Too big");
  cJednostkaMorska& foreign = Reserve(w, 2, kUnitCruiser, 0, L"Foreign");

  EXPECT_EQ(DeployNavalUnits(*w.world, Ai()), 1);
  ASSERT_NE(ready.fleet, nullptr);
  EXPECT_EQ(ready.fleet->seaNode, SeaAiWorld::kWestport);
  EXPECT_EQ(ready.fleet->country, 1);
  EXPECT_TRUE(w.log.Contains(L"Westland is deploying Ready in Westport"));
  EXPECT_TRUE(w.log.Contains(L"Deployment succesful."));
  const auto& pool = w.world->Units().navalReservePool;
  for (const cJednostkaMorska* ship : {&building, &tooBig, &foreign}) {
    EXPECT_NE(std::find(pool.begin(), pool.end(), ship), pool.end()) << ship->name;
    EXPECT_EQ(ship->fleet, nullptr);
  }
  // Nothing more is ready: a second call deploys nothing.
  EXPECT_EQ(DeployNavalUnits(*w.world, Ai()), 0);
}

// --- the safety of a node ---

TEST_F(SeaAi, SeaNodeSafetyFollowsTheStrengthRatioAndTheTransports) {
  const int node = SeaAiWorld::kWest;
  // A lone enemy ship never makes a node unsafe, however weak we are.
  w.Fleet(2, node, {kUnitCruiser});
  EXPECT_TRUE(IsSeaNodeSafe(*w.world, Ai(), node));
  // Two enemy ships against nothing of ours.
  w.Fleet(2, node, {kUnitCruiser});
  EXPECT_FALSE(IsSeaNodeSafe(*w.world, Ai(), node));

  // Enemy 10 against our 5: at least as strong.
  w.Fleet(1, node, {kUnitCruiser});
  EXPECT_FALSE(IsSeaNodeSafe(*w.world, Ai(), node));
  // Against our 20 (ratio 0.5) two transports are safe, three are not.
  w.Fleet(1, node, {kUnitCruiser, kUnitCruiser, kUnitCruiser});
  w.Fleet(1, node, {kUnitCargoShip, kUnitAmphibiousShip});
  EXPECT_TRUE(IsSeaNodeSafe(*w.world, Ai(), node));
  w.Fleet(1, node, {kUnitAmphibiousShip});
  EXPECT_FALSE(IsSeaNodeSafe(*w.world, Ai(), node));
}

TEST_F(SeaAi, AgainstAWeakEnemyOnlyTransportsWithoutEnoughEscortAreUnsafe) {
  const int node = SeaAiWorld::kEast;
  w.world->constants.navalCombatA[1] = w.world->constants.navalCombatB[1] = 120;  // a battleship: 60
  w.Fleet(2, node, {kUnitCruiser, kUnitCruiser});                               // 10: a ratio of 1/6
  w.Fleet(1, node, {kUnitBattleship, kUnitCargoShip, kUnitAmphibiousShip});
  // Two transports of three ships: more than half.
  EXPECT_FALSE(IsSeaNodeSafe(*w.world, Ai(), node));
  w.Fleet(1, node, {kUnitBattleship});
  // Two of four: not more than half.
  EXPECT_TRUE(IsSeaNodeSafe(*w.world, Ai(), node));
}

// --- ports reaching a node ---

TEST_F(SeaAi, StagingPortsAreFriendlyPortsWithARouteOverFriendlyWaters) {
  EXPECT_EQ(FindStagingPorts(*w.world, Ai(), SeaAiWorld::kEast), std::vector<cCity*>{w.westport});
  // An ally's ports serve it too; the enemy's port serves only its owner.
  EXPECT_EQ(FindStagingPorts(*w.world, w.Country(3), SeaAiWorld::kEast), std::vector<cCity*>{w.westport});
  EXPECT_EQ(FindStagingPorts(*w.world, w.Country(2), SeaAiWorld::kWest), std::vector<cCity*>{w.eastport});
  // A strait between the zones held by the enemy closes the way east.
  for (int id : {SeaAiWorld::kWest, SeaAiWorld::kEast}) {
    for (sSeaLink& link : w.Node(id).links) {
      if (link.node == SeaAiWorld::kWest || link.node == SeaAiWorld::kEast) link.straitX = 9, link.straitY = 0;
    }
  }
  EXPECT_TRUE(FindStagingPorts(*w.world, Ai(), SeaAiWorld::kEast).empty());
  EXPECT_EQ(FindStagingPorts(*w.world, Ai(), SeaAiWorld::kWest), std::vector<cCity*>{w.westport});
  EXPECT_TRUE(FindStagingPorts(*w.world, Ai(), 99).empty());
}

// --- patrols ---

TEST_F(SeaAi, WithoutPatrolZonesPatrolOrdersAreClearedAndNoFleetMoves) {
  cFleet& patrol = w.Fleet(1, SeaAiWorld::kWestport, {kUnitCruiser});
  patrol.aiOrder = kAiFleetPatrol;
  patrol.aiDestinationNode = SeaAiWorld::kEast;
  cFleet& invasion = w.Fleet(1, SeaAiWorld::kWestport, {kUnitAmphibiousShip});
  invasion.aiOrder = kAiFleetInvasion;
  DistributePatrols(*w.world, Ai());
  EXPECT_EQ(patrol.aiOrder, kAiFleetIdle);
  EXPECT_EQ(invasion.aiOrder, kAiFleetInvasion);
  EXPECT_EQ(patrol.seaNode, SeaAiWorld::kWestport);
  EXPECT_FALSE(patrol.moved);
}

TEST_F(SeaAi, PatrolShipsAreSharedOutByHitPointsAndEachZoneGetsItsOwnFleet) {
  Ai().aiData.seaZonesToPatrol = twtest::PatrolZones({{SeaAiWorld::kWest, 1}, {SeaAiWorld::kEast, 1}});
  // 16 hit points, 8 a zone: the first zone takes ships until their sum
  // passes 8 (three ships), the last zone the rest.
  cFleet& fleet = w.Fleet(1, SeaAiWorld::kWestport, {kUnitCruiser, kUnitCruiser, kUnitCruiser, kUnitBattleship}, 4);
  cJednostkaMorska* last = fleet.ships.back();
  cFleet& empty = w.Fleet(1, SeaAiWorld::kWestport, {});
  const int emptyId = empty.id;
  cFleet& busy = w.Fleet(1, SeaAiWorld::kWestport, {kUnitCruiser});
  busy.aiOrder = kAiFleetEscort;

  DistributePatrols(*w.world, Ai());

  const std::vector<cFleet*> fleets = Fleets(1);
  EXPECT_TRUE(std::none_of(fleets.begin(), fleets.end(), [&](const cFleet* f) { return f->id == emptyId; }));
  ASSERT_EQ(fleets.size(), 3u);
  EXPECT_EQ(fleet.GetShipCount(), 3);
  EXPECT_EQ(fleet.aiOrder, kAiFleetPatrol);
  EXPECT_EQ(fleet.aiDestinationNode, SeaAiWorld::kWest);
  EXPECT_EQ(fleet.seaNode, SeaAiWorld::kWest);
  ASSERT_NE(last->fleet, &fleet);
  cFleet& split = *last->fleet;
  EXPECT_EQ(split.GetShipCount(), 1);
  EXPECT_EQ(split.aiOrder, kAiFleetPatrol);
  EXPECT_EQ(split.aiDestinationNode, SeaAiWorld::kEast);
  // One node a turn: on its way, in the first zone.
  EXPECT_EQ(split.seaNode, SeaAiWorld::kWest);
  EXPECT_EQ(busy.aiOrder, kAiFleetEscort);
  EXPECT_EQ(busy.GetShipCount(), 1);
  EXPECT_EQ(busy.seaNode, SeaAiWorld::kWestport);
}

// A lake listed among the zones: the fleet outside it is not sent there
// (it has no route), the fleet on it patrols it, and no fleet asks for a
// route it has not.
TEST_F(SeaAi, FleetsAreSentOnlyToPatrolZonesTheyHaveARouteTo) {
  const twtest::LogCapture log;
  const int lake = w.AddSeaNode(true, 10, 4).id;
  Ai().aiData.seaZonesToPatrol = twtest::PatrolZones({{SeaAiWorld::kWest, 1}, {lake, 1}});
  cFleet& fleet = w.Fleet(1, SeaAiWorld::kWestport, {kUnitCruiser, kUnitCruiser, kUnitCruiser, kUnitBattleship}, 4);
  cFleet& onLake = w.Fleet(1, lake, {kUnitCruiser}, 4);

  DistributePatrols(*w.world, Ai());

  EXPECT_EQ(fleet.GetShipCount(), 4);
  EXPECT_EQ(fleet.aiOrder, kAiFleetPatrol);
  EXPECT_EQ(fleet.aiDestinationNode, SeaAiWorld::kWest);
  EXPECT_EQ(onLake.GetShipCount(), 1);
  EXPECT_EQ(onLake.aiDestinationNode, lake);
  EXPECT_EQ(Fleets(1).size(), 2u);
  for (const std::wstring& line : log.Lines()) {
    EXPECT_EQ(line.find(L"no path"), std::wstring::npos) << plat::NarrowBytes(line);
  }
}

// --- carriers ---

class CarrierAi : public SeaAi {
 protected:
  CarrierAi() {
    carrierFleet = &w.Fleet(1, SeaAiWorld::kEast, {kUnitAircraftCarrier}, 4);
    carrier = carrierFleet->ships.front();
    w.Fleet(2, SeaAiWorld::kEast, {kUnitCruiser, kUnitCruiser}, 4);
    enemy = &w.Division(8, 1, 2, 60, L"Coast guard");
    enemy->visible = true;
  }
  cFleet* carrierFleet = nullptr;
  cJednostkaMorska* carrier = nullptr;
  cJednostkaLadowa* enemy = nullptr;
};

TEST_F(CarrierAi, TargetKindsAreTriedInTheOrderOfTheCountrysPriorities) {
  EXPECT_EQ(CarrierTargetOrder(Ai()), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  Ai().aiData.carrierTargetsPriorities = {5, 5, 9, 0, 0, 0, 0, 0, 100};
  EXPECT_EQ(CarrierTargetOrder(Ai()), (std::vector<int>{8, 2, 0, 1, 3, 4, 5, 6, 7}));
  // The open coast's visible enemy unit is a target of kind 8, the ships at
  // the carrier's own zone of kind 3 (and 4 for none: the zone is not linked
  // to itself).
  EXPECT_EQ(FindCarrierTargets(*w.world, Ai(), *carrier, kCarrierOpenLand).size(), 1u);
  EXPECT_EQ(FindCarrierTargets(*w.world, Ai(), *carrier, kCarrierOwnZoneShips).size(), 1u);
  EXPECT_TRUE(FindCarrierTargets(*w.world, Ai(), *carrier, kCarrierCityLand).empty());

  EXPECT_EQ(CarrierStrikes(*w.world, Ai()), 1);
  EXPECT_TRUE(w.log.Contains(L"[AI] Westland: carrier " + carrier->name + L" strikes (8, 1), target kind 8"));
}

TEST_F(CarrierAi, ByDefaultTheShipsInItsZoneComeBeforeTheCoast) {
  EXPECT_EQ(CarrierStrikes(*w.world, Ai()), 1);
  EXPECT_TRUE(Logged(L"target kind 3"));
  EXPECT_FALSE(Logged(L"(8, 1)"));
}

TEST_F(CarrierAi, ADamagedCarrierDoesNotStrikeAndNoCarrierStrikesTwiceInAnImpulse) {
  carrier->hitPoints = 2;  // below the least hit points of 3
  EXPECT_EQ(CarrierStrikes(*w.world, Ai()), 0);
  EXPECT_FALSE(carrier->airstrikeDone);

  carrier->hitPoints = 3;
  EXPECT_EQ(CarrierStrikes(*w.world, Ai()), 1);
  ASSERT_TRUE(IsShipInWorld(*w.world, carrier)) << "no interceptor can reach it here";
  EXPECT_TRUE(carrier->airstrikeDone);
  EXPECT_EQ(CarrierStrikes(*w.world, Ai()), 0);
}

}  // namespace
