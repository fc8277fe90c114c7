// A small world for the computer at sea, and a stand-in for the main thread
// that steps the computer's land moves.
//
// The map, 12 x 5: country 1 holds the west (x 0-3), country 2 the east
// (x 8-11), between them two sea zones of two columns each:
//
//   x:  0 1 2 3 | 4 5 | 6 7 | 8 9 10 11
//       land 1  | West| East| land 2
//
// Home (1, 2) is country 1's supply city, joined by land to its port
// Westport (3, 2); Eastport (8, 2) is country 2's port, joined by land to
// Far (10, 2). The sea graph: Westport - West - East - Eastport. As in the
// scenarios' data, a port's hex names its port node as its sea zone, the
// other coastal hexes the zone in front of them. A fleet reaches one node a
// turn.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "air_rules/air_fixture.h"
#include "app/settings.h"
#include "platform/clock.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/city_graph.h"
#include "world/game_phase.h"
#include "world/strategic_movement.h"
#include "world/topography.h"

namespace twtest {

// The main thread's part of a computer move: StepPending, called with the
// lock held or by the only thread, puts the unit the move order left in the
// turn state on the end of its path while the worker waits in phase 10,
// makes it pay the cost of that hex in its range (or one point a hex), ends
// the move and hands the phase back.
class SeaMoveRecorder {
 public:
  // True when a unit was stepped.
  static bool StepPending(cWorld& world) {
    cLandMove& move = world.turnState.move;
    if (world.GetGameState() != kPhaseComputerMove || move.unit == nullptr) return false;
    cJednostkaLadowa& unit = *move.unit;
    const int tx = move.path.empty() ? unit.x : move.path.back().x;
    const int ty = move.path.empty() ? unit.y : move.path.back().y;
    int cost = HexDistance(unit.x, unit.y, tx, ty);
    for (const sLandMoveEntry& entry : unit.MoveRange()) {
      if (entry.x == tx && entry.y == ty) cost = entry.cost;
    }
    unit.actionPoints = std::max(0, unit.actionPoints - cost);
    unit.x = tx;
    unit.y = ty;
    world.GetMap().GetHex(tx, ty).unit = &unit;
    move.Clear();
    world.SetGameState(kPhaseComputerPlayers);
    return true;
  }
};

// The same on one thread: the clock the worker sleeps on steps the move at
// its first poll, and no sleep takes time.
class SeaMoveStepper final : public plat::Clock {
 public:
  explicit SeaMoveStepper(cWorld& world) : world_(world) { plat::SetClock(this); }
  ~SeaMoveStepper() override { plat::SetClock(nullptr); }
  SeaMoveStepper(const SeaMoveStepper&) = delete;
  SeaMoveStepper& operator=(const SeaMoveStepper&) = delete;

  std::uint32_t TickCount() override { return now_; }
  void Sleep(int ms) override {
    now_ += static_cast<std::uint32_t>(std::max(ms, 0));
    if (SeaMoveRecorder::StepPending(world_)) ++moves;
  }

  int moves = 0;

 private:
  cWorld& world_;
  std::uint32_t now_ = 0;
};

class SeaAiWorld : public AirWorld {
 public:
  static constexpr int kWest = 1, kEast = 2, kWestport = 3, kEastport = 4;

  SeaAiWorld()
      : AirWorld({"pppp~~~~pppp", "pppp~~~~pppp", "pppp~~~~pppp", "pppp~~~~pppp", "pppp~~~~pppp"}) {
    ThreeCountries();
    for (int id = 1; id <= 3; ++id) {
      Country(id).active = true;
      Country(id).techLevel[kTechNavy] = 1;
    }
    Country(1).name = L"Westland";
    Country(2).name = L"Eastmark";
    world->turnState.showActions = false;
    world->SetGameState(kPhaseComputerPlayers);
    for (sHex& hex : Map().Hexes()) {
      if (hex.x >= 8) hex.owner = hex.controller = hex.originalOwner = 2;
      if (hex.IsWater()) hex.owner = hex.controller = hex.originalOwner = 0;
    }
    SetUpConstants();
    SetUpSea();
    SetUpCities();
    for (std::size_t i = 0; i < kDelays.size(); ++i) {
      saved_[i] = g_Delays[kDelays[i]].load();
      g_Delays[kDelays[i]] = 0.0f;
    }
  }
  ~SeaAiWorld() {
    for (std::size_t i = 0; i < kDelays.size(); ++i) g_Delays[kDelays[i]] = saved_[i];
  }

  // An infantry division of the country, supplied, at full effectiveness
  // and with its action points.
  cJednostkaLadowa& Division(int x, int y, int country, int strength, const wchar_t* name, int actionPoints = 4) {
    cJednostkaLadowa& unit = AddUnit(x, y, country, kUnitInfantryDivision);
    unit.name = name;
    unit.level = 1;
    unit.strength = strength;  // effective strength: strength / 10
    unit.effectiveness = 100;
    unit.supply = 10;
    unit.turnsWithoutSupply = 0;
    unit.actionPoints = unit.startingActionPoints = actionPoints;
    return unit;
  }

  // A fleet whose ships are seen by everyone.
  cFleet& Fleet(int country, int node, std::vector<int> types, int hitPoints = 4) {
    cFleet& fleet = AddFleet(country, node, std::move(types), hitPoints);
    fleet.id = world->ids.nextFleetId++;
    for (cJednostkaMorska* ship : fleet.ships) {
      ship->visible = true;
      ship->id = world->ids.nextShipId++;
      ship->fleetId = fleet.id;
    }
    return fleet;
  }

  // A ship of the fleet carrying the unit, which leaves the map for the
  // list of carried units.
  cJednostkaMorska& Carry(cFleet& fleet, cJednostkaLadowa& unit, int shipType) {
    auto* ship = new cJednostkaMorska(world.get());
    ship->countryId = fleet.country;
    ship->SetType(shipType);
    ship->name = L"Carrier of " + unit.name;
    ship->id = world->ids.nextShipId++;
    ship->hitPoints = ship->maxHitPoints = 2;
    ship->fleet = &fleet;
    ship->fleetId = fleet.id;
    ship->carriedUnit = &unit;
    fleet.ships.push_back(ship);
    world->Units().navalUnits.push_back(ship);
    if (Map().IsInside(unit.x, unit.y) && Hex(unit.x, unit.y).unit == &unit) Hex(unit.x, unit.y).unit = nullptr;
    unit.x = unit.y = -1;
    unit.transport = ship;
    unit.transporterId = ship->id;
    world->Units().landUnits.remove(&unit);
    (shipType == kUnitCargoShip ? world->Units().carriedUnitsA : world->Units().carriedUnitsB).push_back(&unit);
    return *ship;
  }

  // Every fleet may move again and every land unit has its points anew: what
  // the end of an impulse leaves the next one.
  void NextImpulse() {
    for (cFleet* fleet : world->Units().fleets) fleet->moved = false;
    for (cJednostkaLadowa* unit : world->Units().landUnits) unit->actionPoints = unit->startingActionPoints;
  }

  sWezelGrafuMorz& Node(int id) { return *world->GetSeaGraph().GetNode(id); }

  cCity* home = nullptr;
  cCity* westport = nullptr;
  cCity* eastport = nullptr;
  cCity* far = nullptr;
  LogCapture log;

 private:
  static constexpr std::array<int, 8> kDelays{kDelayAIMoveBefore,   kDelayAIMoveBetween, kDelayAIMoveAfter,
                                              kDelayAICombatBefore, kDelayAICombatAfter, kDelayAICombatResult,
                                              kDelayAIDeployBefore, kDelayAIDeployAfter};

  void SetUpConstants() {
    sScenarioConstants& k = world->constants;
    k.fleetReachSteps = 1;
    k.friendlyShipSpotChance = 100;
    k.enemyShipSpotChance = 100;
    k.carrierMinStrength = 3;
    k.amphibiousTransportCost.fill(2);
    k.seaTransportCost.fill(2);
    k.navalCombatA.fill(10);
    k.navalCombatB.fill(10);
    // Cargo and amphibious ships do not fight.
    k.navalCombatA[4] = k.navalCombatB[4] = k.navalCombatA[5] = k.navalCombatB[5] = 0;
    k.navalTypeStrength.fill(2);
    k.mulberryValues = {10.0f, 2.0f, 5.0f, 3.0f};
    k.landBaseStrength[0].fill(10.0f);
    for (auto& row : LandUnitConstants().baseStrength) row.fill(10.0f);
    LandUnitConstants().move.terrainCost = {1, 1, 1, 1, 1, 1, 1, 1};
    for (auto& row : LandUnitConstants().actionPoints) row.fill(3);
  }

  void SetUpSea() {
    AddSeaNode(true, 4, 2).name = L"West";
    sWezelGrafuMorz& east = AddSeaNode(true, 7, 2);
    east.name = L"East";
    for (sHex& hex : Map().Hexes()) {
      if (hex.IsWater() && hex.x >= 6) hex.seaZone = kEast;
    }
    AddSeaNode(false, 3, 2, 5).name = L"Westport";
    AddSeaNode(false, 8, 2, 5).name = L"Eastport";
    Map().AssignCoastalSeaZones();
    for (sHex& hex : Map().Hexes()) {
      if (hex.IsLand() && (hex.x == 3 || hex.x == 8)) hex.coastal = 1;
    }
    Hex(3, 2).seaZone = Hex(3, 2).seaNode = kWestport;
    Hex(8, 2).seaZone = Hex(8, 2).seaNode = kEastport;
    Link(kWestport, kWest);
    Link(kWest, kEast);
    Link(kEast, kEastport);
  }

  void Link(int a, int b) {
    Node(a).links.push_back({b, -1, -1});
    Node(b).links.push_back({a, -1, -1});
  }

  cCity* City(int x, int y, int type, const wchar_t* name) {
    cCity* city = AddCity(x, y, type);
    city->SetName(name);
    Hex(x, y).city = city;
    return city;
  }

  void SetUpCities() {
    home = City(1, 2, kCitySupply, L"Home");
    westport = City(3, 2, kCityPort, L"Westport");
    eastport = City(8, 2, kCityPort, L"Eastport");
    far = City(10, 2, kCitySupply, L"Far");
    cCityGraph& graph = world->GetCityGraph();
    graph.BuildNodes(world->Cities());
    for (auto [a, b] : {std::pair{home, westport}, {eastport, far}}) {
      graph.Nodes()[static_cast<std::size_t>(a->graphNode)].links.push_back({b->graphNode, kCityLinkLand});
      graph.Nodes()[static_cast<std::size_t>(b->graphNode)].links.push_back({a->graphNode, kCityLinkLand});
    }
    for (cCity* city : world->Cities()) city->ComputeHopCounts(*world);
    world->GetTopography().ComputeWorldTopography(Map(), world->Cities());
    world->GetTopography().BuildNearestCityGrid(Map(), world->Cities());
    cStrategicMovement strategic(*world);
    strategic.Init();
    strategic.SetCountryTopography(1, Topography{{home, westport}});
    strategic.SetCountryTopography(2, Topography{{eastport, far}});
  }

  std::array<float, kDelays.size()> saved_{};
};

}  // namespace twtest
