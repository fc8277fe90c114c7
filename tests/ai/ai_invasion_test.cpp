// The computer's sea invasion on a small sea: when it plans one, which
// target it takes, how many units it gathers, the loading, the crossing and
// the landing over several impulses, the artificial harbour behind the
// landings, the fleets it cannot send, and the transports that put their
// units ashore.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/ai_economy.h"
#include "ai/ai_fronts.h"
#include "ai/ai_naval.h"
#include "ai/ai_sea_fixture.h"
#include "ai/ai_sea_steps.h"
#include "ai/ai_unit_lists.h"
#include "rules/artificial_harbour.h"
#include "rules/sea_transport.h"
#include "world/ai_orders.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"

namespace {

using namespace ai;
using twtest::SeaAiWorld;

class SeaInvasion : public ::testing::Test {
 protected:
  SeaInvasion() : stepper(*w.world) {
    Ai().aiData.makesSeaInvasions = true;
    Ai().aiData.maxNumberOfFrontsForSeaInvasion = 2;
    Ai().amphibiousInvasionPoints = 5;
  }

  cCountry& Ai() { return w.Country(1); }
  sAiUnitLists Lists() {
    sAiUnitLists lists;
    BuildUnitLists(*w.world, Ai(), lists);
    return lists;
  }
  void Plan(const std::vector<sAiFront>& fronts = {}) {
    sAiUnitLists lists = Lists();
    PlanSeaInvasion(*w.world, Ai(), lists, fronts);
  }
  int CountWithOrder(int order) {
    const auto& units = w.world->Units().landUnits;
    return static_cast<int>(
        std::count_if(units.begin(), units.end(), [order](const cJednostkaLadowa* u) { return u->aiOrder == order; }));
  }
  int Harbours() {
    const auto& units = w.world->Units().landUnits;
    return static_cast<int>(
        std::count_if(units.begin(), units.end(), [](const cJednostkaLadowa* u) { return u->IsHarbour(); }));
  }
  int CountLines(const std::wstring& prefix) {
    const auto lines = w.log.Lines();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::wstring& l) { return l.rfind(prefix, 0) == 0; }));
  }

  SeaAiWorld w;
  twtest::SeaMoveStepper stepper;
};

// --- when and where ---

TEST_F(SeaInvasion, NothingIsPlannedWithMoreFrontsThanAllowedOrWithLandTargets) {
  w.Division(3, 2, 1, 100, L"Ready");
  Ai().aiData.currentSeaInvasionTarget = 7;
  Plan(std::vector<sAiFront>(3));
  EXPECT_EQ(Ai().aiData.currentSeaInvasionTarget, -1);
  EXPECT_EQ(CountLines(L"Westland plannning sea invasion"), 0);

  Ai().aiData.currentTargets.push_back({9, 2, -1});
  Plan();
  EXPECT_EQ(Ai().aiData.currentSeaInvasionTarget, -1);
  EXPECT_EQ(CountWithOrder(kAiToInvasionPort) + CountWithOrder(kAiAwaitInvasionShip), 0);

  Ai().aiData.currentTargets.clear();
  Plan(std::vector<sAiFront>(2));
  EXPECT_EQ(Ai().aiData.currentSeaInvasionTarget, SeaAiWorld::kEast);
  EXPECT_TRUE(w.log.Contains(L"Target for invasion: 2"));
}

TEST_F(SeaInvasion, AnObligatoryTargetNoLongerHeldByAnEnemyAtWarIsDropped) {
  w.Division(3, 2, 1, 100, L"Ready");
  // Home is its own; Far is held by country 3, at peace with it.
  w.Control(10, 2, 3);
  Ai().aiData.obligatorySeaInvasionTargets = {w.home, w.far};
  Plan();
  EXPECT_TRUE(Ai().aiData.obligatorySeaInvasionTargets.empty());
  // The target is chosen by the scores: the only enemy port.
  EXPECT_TRUE(w.log.Contains(L"Condition 2 passed"));
  EXPECT_EQ(Ai().aiData.currentSeaInvasionTarget, SeaAiWorld::kEast);
}

TEST_F(SeaInvasion, AnObligatoryTargetWithoutASeaZoneGivesNoInvasionAndTheGameGoesOn) {
  cJednostkaLadowa& unit = w.Division(3, 2, 1, 100, L"Ready");
  Ai().aiData.obligatorySeaInvasionTargets = {w.far};  // inland, held by the enemy
  Plan();
  EXPECT_TRUE(w.log.Contains(L"Error! Hex(10,2) was targeted for amphib invasion but tasksIt has no seazone attribute"));
  EXPECT_EQ(Ai().aiData.currentSeaInvasionTarget, -1);
  EXPECT_EQ(unit.aiOrder, kAiIdle);
  EXPECT_TRUE(w.world->Units().fleets.empty());
  // The next planning takes the best port.
  Plan();
  EXPECT_EQ(Ai().aiData.currentSeaInvasionTarget, SeaAiWorld::kEast);
}

// --- the force ---

TEST_F(SeaInvasion, UnitsAreGatheredUntilTwelveTimesTheDefendersStrength) {
  w.Division(8, 2, 2, 20, L"Garrison");  // 2: enough at 24
  for (int y : {0, 1, 3, 4}) w.Division(0, y, 1, 100, L"Infantry", 0);  // 10 each, unable to move yet
  Plan();
  EXPECT_EQ(CountWithOrder(kAiToInvasionPort), 3);
  for (const cJednostkaLadowa* unit : w.world->Units().landUnits) {
    if (unit->aiOrder != kAiToInvasionPort) continue;
    EXPECT_EQ(unit->aiTargetX, 3);
    EXPECT_EQ(unit->aiTargetY, 2);
  }
  EXPECT_FALSE(w.log.Contains(L"All units ready for invasion!"));
}

TEST_F(SeaInvasion, AnEmptyTargetCountsATenthAndOneUnitIsEnough) {
  for (int y : {0, 1, 3, 4}) w.Division(0, y, 1, 100, L"Infantry", 0);
  Plan();
  EXPECT_EQ(CountWithOrder(kAiToInvasionPort), 1);
}

TEST_F(SeaInvasion, WithoutAUnitThatCanReachAPortNothingIsGathered) {
  w.Division(9, 0, 1, 100, L"Stranded");  // on the enemy's side of the sea
  Plan();
  EXPECT_TRUE(w.log.Contains(L"No land units applicable for invasion. Exiting sea invasion procedure."));
  EXPECT_EQ(CountWithOrder(kAiToInvasionPort), 0);
}

TEST_F(SeaInvasion, ShortAmphibiousPointsAreQueuedForPurchaseAndNobodyIsLoaded) {
  cJednostkaLadowa& unit = w.Division(3, 2, 1, 100, L"At the port");
  Ai().amphibiousInvasionPoints = 1;  // the division needs 2
  Plan();
  EXPECT_EQ(unit.aiOrder, kAiAwaitInvasionShip);
  EXPECT_TRUE(w.log.Contains(L"Need to buy more AIP for invasion! Exiting sea invasion procedure"));
  EXPECT_EQ(Ai().aiData.purchaseQueue, std::vector<int>{kAiBuyAmphibiousPoint});
  EXPECT_EQ(unit.transport, nullptr);
  EXPECT_TRUE(w.world->Units().fleets.empty());
}

// --- the whole invasion ---

TEST_F(SeaInvasion, InvadesAnUndefendedCoastOverTheImpulsesItTakes) {
  cJednostkaLadowa& unit = w.Division(0, 2, 1, 100, L"Landing force", 2);
  auto impulse = [&] {
    sAiUnitLists lists = Lists();
    PlanSeaInvasion(*w.world, Ai(), lists, {});
    PlayNavalPhase(*w.world, Ai(), lists);
  };

  // 1: on its way to the port, three hexes off with two points.
  impulse();
  EXPECT_EQ(unit.aiOrder, kAiToInvasionPort);
  EXPECT_EQ(HexDistance(unit.x, unit.y, 3, 2), 1);
  EXPECT_EQ(unit.transport, nullptr);

  // 2: the roles pass has reset its order; chosen again, it reaches the
  // port (15), is loaded and its fleet sails one zone.
  w.NextImpulse();
  unit.aiOrder = kAiIdle;
  impulse();
  ASSERT_NE(unit.transport, nullptr);
  EXPECT_EQ(unit.aiOrder, kAiAwaitInvasionShip);
  cFleet* fleet = unit.transport->fleet;
  ASSERT_NE(fleet, nullptr);
  const int fleetId = fleet->id;
  EXPECT_EQ(fleet->aiOrder, kAiFleetInvasion);
  EXPECT_EQ(fleet->aiDestinationNode, SeaAiWorld::kEast);
  EXPECT_EQ(fleet->aiInvasionX, 8);
  EXPECT_EQ(fleet->aiInvasionY, 2);
  EXPECT_EQ(fleet->seaNode, SeaAiWorld::kWest);
  EXPECT_EQ(Ai().amphibiousInvasionPoints, 3);

  // 3: the fleet crosses into the target's zone and the unit lands beside
  // the port; its ship is used up and the fleet with it.
  w.NextImpulse();
  impulse();
  EXPECT_EQ(FindFleetById(*w.world, fleetId), nullptr);
  EXPECT_EQ(unit.transport, nullptr);
  const auto& land = w.world->Units().landUnits;
  EXPECT_NE(std::find(land.begin(), land.end(), &unit), land.end());
  EXPECT_GE(unit.x, 8);
  EXPECT_LE(HexDistance(unit.x, unit.y, 8, 2), 1);
  EXPECT_EQ(w.Hex(unit.x, unit.y).unit, &unit);
  EXPECT_TRUE(w.log.Contains(L"[AI] Westland: Amphibious invasion - unloading Landing force"));
  EXPECT_TRUE(w.log.Contains(L"Not enough PP for Mulberry purcharse"));
}

// --- landings ---

TEST_F(SeaInvasion, AnInvasionHexOffTheMapGivesThatFleetNoInvasion) {
  cFleet& fleet = w.Fleet(1, SeaAiWorld::kEast, {});
  cJednostkaLadowa& unit = w.Division(0, 0, 1, 100, L"Aboard");
  cJednostkaMorska& ship = w.Carry(fleet, unit, kUnitAmphibiousShip);
  fleet.aiOrder = kAiFleetInvasion;
  fleet.aiDestinationNode = SeaAiWorld::kEast;
  fleet.aiInvasionX = 40;
  fleet.aiInvasionY = 2;
  sAiUnitLists lists = Lists();
  EXPECT_EQ(ExecuteAmphibiousInvasions(*w.world, Ai(), lists), 0);
  EXPECT_TRUE(w.log.Contains(L"ERROR Amphibious invasion of Fleet (ID=" + std::to_wstring(fleet.id) +
                             L") destination hex (40, 2) out of map!"));
  EXPECT_EQ(fleet.aiOrder, kAiFleetIdle);
  EXPECT_EQ(ship.carriedUnit, &unit);
  // The naval phase goes on with the fleet as an idle one.
  PlayNavalPhase(*w.world, Ai(), lists);
  EXPECT_EQ(ship.carriedUnit, &unit);
}

TEST_F(SeaInvasion, NoSecondHarbourAtTheSameSeaNodeInOneCall) {
  Ai().productionPoints = 25.0;
  for (const wchar_t* name : {L"First", L"Second"}) {
    cFleet& fleet = w.Fleet(1, SeaAiWorld::kEast, {});
    w.Carry(fleet, w.Division(0, 0, 1, 100, name), kUnitAmphibiousShip);
    fleet.aiOrder = kAiFleetInvasion;
    fleet.aiDestinationNode = SeaAiWorld::kEast;
    fleet.aiInvasionX = 9;  // inland, free: the units land beside it
    fleet.aiInvasionY = 2;
  }
  sAiUnitLists lists = Lists();
  EXPECT_EQ(ExecuteAmphibiousInvasions(*w.world, Ai(), lists), 2);
  EXPECT_EQ(Harbours(), 1);
  EXPECT_EQ(CountLines(L"Mulberry created at"), 1);
  EXPECT_DOUBLE_EQ(Ai().productionPoints, 15.0);
  EXPECT_TRUE(w.world->Units().fleets.empty());
  // The passes end with the ships, and say so.
  EXPECT_TRUE(w.log.Contains(L"[AI] Westland: no more units to land (2 landed)"));
  for (const cJednostkaLadowa* unit : lists.ownLand) EXPECT_TRUE(IsUnitInWorldLists(*w.world, unit));
}

// The harbour behind a landing is the player's build order: where the hex
// panel's check refuses it (points short of the price by a hair; equal
// points suffice, as the test above shows) the computer is refused alike
// and pays nothing.
TEST_F(SeaInvasion, AHarbourBehindALandingIsRefusedWhatThePlayersCheckRefuses) {
  Ai().productionPoints = 9.99;
  cFleet& fleet = w.Fleet(1, SeaAiWorld::kEast, {});
  cJednostkaLadowa& unit = w.Division(0, 0, 1, 100, L"Ashore");
  w.Carry(fleet, unit, kUnitAmphibiousShip);
  fleet.aiOrder = kAiFleetInvasion;
  fleet.aiDestinationNode = SeaAiWorld::kEast;
  fleet.aiInvasionX = 9;
  fleet.aiInvasionY = 2;
  sAiUnitLists lists = Lists();
  EXPECT_EQ(ExecuteAmphibiousInvasions(*w.world, Ai(), lists), 1);
  ASSERT_TRUE(w.Map().IsInside(unit.x, unit.y));
  // The player is refused on every hex of the coast the units landed on.
  for (const sHex& hex : w.Map().Hexes()) {
    if (hex.x >= 8) {
      EXPECT_NE(CheckBuildHarbour(*w.world, hex, Ai()), eHarbourRefusal::kNone) << hex.x << "," << hex.y;
    }
  }
  EXPECT_EQ(Harbours(), 0);
  EXPECT_TRUE(w.log.Contains(L"Not enough PP for Mulberry purcharse"));
  EXPECT_DOUBLE_EQ(Ai().productionPoints, 9.99);
}

TEST_F(SeaInvasion, AnUnsafeNodeKeepsTheInvasionAboardAndTheEscortsOnTheirWay) {
  cFleet& invasion = w.Fleet(1, SeaAiWorld::kEast, {});
  cJednostkaLadowa& unit = w.Division(0, 0, 1, 100, L"Aboard");
  w.Carry(invasion, unit, kUnitAmphibiousShip);
  invasion.aiOrder = kAiFleetInvasion;
  invasion.aiDestinationNode = SeaAiWorld::kEast;
  invasion.aiInvasionX = 9;
  invasion.aiInvasionY = 2;
  cFleet& escort = w.Fleet(1, SeaAiWorld::kWest, {kUnitCruiser});
  w.Fleet(2, SeaAiWorld::kEast, {kUnitCruiser, kUnitCruiser, kUnitCruiser});
  sAiUnitLists lists = Lists();
  PlayNavalPhase(*w.world, Ai(), lists);
  EXPECT_EQ(escort.aiOrder, kAiFleetEscort);
  EXPECT_EQ(escort.seaNode, SeaAiWorld::kEast);
  EXPECT_TRUE(w.log.Contains(L"[AI] Westland: sea node 2 is not safe for the landings"));
  EXPECT_NE(unit.transport, nullptr);
}

// --- transports ---

TEST_F(SeaInvasion, ATransportFleetAtItsDestinationLosesEveryTransportThatUnloaded) {
  cFleet& fleet = w.Fleet(1, SeaAiWorld::kWestport, {});
  std::vector<cJednostkaLadowa*> units;
  for (const wchar_t* name : {L"A", L"B", L"C"}) {
    units.push_back(&w.Division(0, 0, 1, 100, name));
    w.Carry(fleet, *units.back(), kUnitCargoShip);
  }
  fleet.aiOrder = kAiFleetTransport;
  fleet.aiDestinationNode = SeaAiWorld::kWestport;
  const int fleetId = fleet.id;
  sAiUnitLists lists = Lists();
  PlayNavalPhase(*w.world, Ai(), lists);
  EXPECT_EQ(FindFleetById(*w.world, fleetId), nullptr);
  EXPECT_TRUE(w.world->Units().navalUnits.empty());
  for (cJednostkaLadowa* unit : units) {
    EXPECT_EQ(unit->transport, nullptr);
    ASSERT_TRUE(w.Map().IsInside(unit->x, unit->y)) << unit->name;
    EXPECT_EQ(w.Hex(unit->x, unit->y).unit, unit);
    EXPECT_LE(HexDistance(unit->x, unit->y, 3, 2), 1);
  }
}

// The enemy took the port a transport was bound for: it makes for the
// nearest port of its own side and puts its unit ashore there, instead of
// asking every impulse for a route into the lost port.
TEST_F(SeaInvasion, ATransportWhosePortWasLostSailsToTheNearestOwnPortAndUnloads) {
  cFleet& fleet = w.Fleet(1, SeaAiWorld::kWest, {});
  cJednostkaLadowa& unit = w.Division(0, 0, 1, 100, L"Aboard");
  w.Carry(fleet, unit, kUnitCargoShip);
  fleet.aiOrder = kAiFleetTransport;
  fleet.aiDestinationNode = SeaAiWorld::kEastport;  // Eastmark's
  const int fleetId = fleet.id;
  const std::wstring name = fleet.name;
  sAiUnitLists lists = Lists();
  PlayNavalPhase(*w.world, Ai(), lists);  // the fleet is gone once unloaded
  EXPECT_EQ(CountLines(L"[AI] Westland: " + name + L"'s port Eastport is lost; it makes for Westport"), 1);
  EXPECT_EQ(CountLines(L"WARNING: fleet"), 0);
  EXPECT_EQ(FindFleetById(*w.world, fleetId), nullptr);
  EXPECT_EQ(unit.transport, nullptr);
  ASSERT_TRUE(w.Map().IsInside(unit.x, unit.y));
  EXPECT_LE(HexDistance(unit.x, unit.y, 3, 2), 1);
}

TEST_F(SeaInvasion, ATransportThatCannotUnloadStaysAndThePhaseEnds) {
  // Every land hex at and around the port is taken.
  for (int y = 0; y < 5; ++y) {
    for (int x = 2; x <= 3; ++x) {
      if (w.Hex(x, y).unit == nullptr && HexDistance(x, y, 3, 2) <= 1) w.Division(x, y, 1, 100, L"Ashore");
    }
  }
  cFleet& fleet = w.Fleet(1, SeaAiWorld::kWestport, {});
  cJednostkaLadowa& unit = w.Division(0, 0, 1, 100, L"Aboard");
  cJednostkaMorska& ship = w.Carry(fleet, unit, kUnitCargoShip);
  fleet.aiOrder = kAiFleetTransport;
  fleet.aiDestinationNode = SeaAiWorld::kWestport;
  EXPECT_EQ(UnloadTransportFleet(*w.world, fleet), 0);
  sAiUnitLists lists = Lists();
  PlayNavalPhase(*w.world, Ai(), lists);
  EXPECT_EQ(ship.carriedUnit, &unit);
  EXPECT_EQ(ship.fleet, &fleet);
  EXPECT_EQ(fleet.aiOrder, kAiFleetTransport);
}

// Out at sea a cargo ship may not put its unit ashore even next to a
// friendly coast: the computer's transport is refused as the player's
// unload order on that hex is, and keeps its unit.
TEST_F(SeaInvasion, ATransportAtSeaIsRefusedTheUnloadingAsThePlayersOrderIs) {
  cFleet& fleet = w.Fleet(1, SeaAiWorld::kWest, {});
  cJednostkaLadowa& unit = w.Division(0, 0, 1, 100, L"Aboard");
  cJednostkaMorska& ship = w.Carry(fleet, unit, kUnitCargoShip);
  fleet.aiOrder = kAiFleetTransport;
  fleet.aiDestinationNode = SeaAiWorld::kWest;
  int x = -1, y = -1;
  ASSERT_TRUE(ship.FindCoastUnloadHex(*w.world, x, y));  // the friendly coast in front of the zone
  sLandingOutcome outcome;
  EXPECT_EQ(CheckUnloadShip(*w.world, ship, x, y), eTransportRefusal::kNotUnloadHex);
  EXPECT_EQ(UnloadTransportFleet(*w.world, fleet), 0);
  EXPECT_EQ(ship.carriedUnit, &unit);
  EXPECT_EQ(unit.transport, &ship);
  EXPECT_EQ(w.Hex(x, y).unit, nullptr);
}

TEST_F(SeaInvasion, SeaTransportNeedsFrontsAndReserveUnits) {
  sAiUnitLists lists = Lists();
  std::vector<sAiFront> fronts;
  TransportUnitsToFronts(*w.world, Ai(), lists, fronts);
  EXPECT_TRUE(w.log.Contains(L"No open fronts... aborting procedure."));
  fronts.resize(1);
  w.Division(1, 1, 1, 100, L"Busy").aiOrder = kAiGarrison;
  lists = Lists();
  TransportUnitsToFronts(*w.world, Ai(), lists, fronts);
  EXPECT_TRUE(w.log.Contains(L"No own idle land units (idle = no order). Aborting procedure."));
}

}  // namespace

namespace {

// Country 1 holds the east coast too: Eastport serves the front at Far.
class SeaTransportAi : public SeaInvasion {
 protected:
  SeaTransportAi() {
    for (sHex& hex : w.Map().Hexes()) {
      if (hex.x >= 8) hex.controller = 1;
    }
    cCityGraph& graph = w.world->GetCityGraph();
    fronts.resize(1);
    fronts[0].cities.push_back(&graph.Nodes()[static_cast<std::size_t>(w.far->graphNode)]);
    Ai().seaTransportPoints = 5;
    // No strategic movement points: the units walk to the port.
    w.world->constants.strategicMoveCost.fill(2);
    Ai().strategicMovementPoints = 0;
  }
  std::vector<sAiFront> fronts;
};

TEST_F(SeaTransportAi, AReserveUnitIsCarriedToThePortOfItsFront) {
  cJednostkaLadowa& unit = w.Division(2, 2, 1, 100, L"Reserve");
  unit.supplySourceX = w.home->x;
  unit.supplySourceY = w.home->y;
  unit.aiOrder = kAiReserve;
  sAiUnitLists lists = Lists();
  TransportUnitsToFronts(*w.world, Ai(), lists, fronts);
  EXPECT_TRUE(w.log.Contains(L"Connection by sea: Westport -> Eastport"));
  EXPECT_TRUE(w.log.Contains(L"Reserve meets all conditions and will be loaded onto transport to go to front"));
  ASSERT_NE(unit.transport, nullptr);
  EXPECT_EQ(unit.aiOrder, kAiAwaitTransport);
  cFleet& fleet = *unit.transport->fleet;
  EXPECT_EQ(fleet.aiOrder, kAiFleetTransport);
  EXPECT_EQ(fleet.aiDestinationNode, SeaAiWorld::kEastport);
  EXPECT_EQ(Ai().seaTransportPoints, 3);
  for (const cJednostkaLadowa* listed : lists.ownLand) EXPECT_NE(listed, &unit);

  // One node an impulse: the open sea, the far zone, then the port, where
  // the unit goes ashore and its ship is gone.
  const int fleetId = fleet.id;
  for (int node : {SeaAiWorld::kWest, SeaAiWorld::kEast}) {
    PlayNavalPhase(*w.world, Ai(), lists);
    ASSERT_NE(FindFleetById(*w.world, fleetId), nullptr);
    EXPECT_EQ(fleet.seaNode, node);
    w.NextImpulse();
  }
  PlayNavalPhase(*w.world, Ai(), lists);
  EXPECT_EQ(FindFleetById(*w.world, fleetId), nullptr);
  EXPECT_EQ(unit.transport, nullptr);
  EXPECT_LE(HexDistance(unit.x, unit.y, 8, 2), 1);
  EXPECT_EQ(w.Hex(unit.x, unit.y).unit, &unit);
}

TEST_F(SeaTransportAi, ShortSeaTransportPointsQueueOnePurchaseAtTheEnd) {
  cJednostkaLadowa& unit = w.Division(3, 2, 1, 100, L"Waiting");
  unit.supplySourceX = w.home->x;
  unit.supplySourceY = w.home->y;
  Ai().seaTransportPoints = 1;
  Ai().aiData.purchaseQueue = {kAiBuySeaTransportLot, kAiBuyLandUnit};
  for (int call = 0; call < 2; ++call) {
    unit.aiOrder = kAiReserve;
    sAiUnitLists lists = Lists();
    TransportUnitsToFronts(*w.world, Ai(), lists, fronts);
  }
  EXPECT_EQ(unit.aiOrder, kAiAwaitTransport);
  EXPECT_EQ(unit.transport, nullptr);
  EXPECT_EQ(Ai().aiData.purchaseQueue, (std::vector<int>{kAiBuyLandUnit, kAiBuySeaTransportLot}));
}

}  // namespace
