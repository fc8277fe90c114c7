// The scripted events' effects at sea, run through ExecuteEventEffect on the
// fixture scenario (1 North Sea and 2 Strait are sea zones; 3 Westport is
// Westland's port, 4 Eastport and 5 Straitport Eastmark's; the Home Fleet
// of Westland lies in the North Sea, Eastmark's Strait Squadron in the
// Strait): new ships in the reserve and at sea nodes, each in a fleet or in
// the reserve pool and never in both; land units put to sea and landing
// fleets; ports; convoys; damage to the ships of a zone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "land_rules/fixture_game.h"
#include "platform/rand.h"
#include "rules/event_effects.h"
#include "support/fixture_ids.h"
#include "support/test_support.h"
#include "world/convoy.h"
#include "world/event_records.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/sea_graph.h"

namespace {


sEventEffect SeaEffect(const wchar_t* method, const std::vector<double>& params, const wchar_t* name = L"") {
  sEventEffect effect;
  effect.method = method;
  effect.line = 17;
  std::size_t i = 0;
  for (double value : params) effect.param[i++] = value;
  effect.paramString[0] = name;
  return effect;
}

bool HasError(const twtest::LogCapture& log, const std::wstring& method) {
  const std::wstring start = L"ERR: event 42, " + method + L" (line 17): ";
  const auto lines = log.Lines();
  return std::any_of(lines.begin(), lines.end(), [&](const std::wstring& line) { return line.rfind(start, 0) == 0; });
}

class EventSeaEffects : public twtest::FixtureGame {
 protected:
  void SetUp() override {
    FixtureGame::SetUp();
    World().constants.navalTypeStrength = {12, 15, 8, 4, 3, 5};
  }
  void Run(const sEventEffect& effect) { ExecuteEventEffect(World(), effect, 42); }
  sUnitLists& Units() { return World().Units(); }
  sWezelGrafuMorz& Node(int id) { return *World().GetSeaGraph().GetNode(id); }
  cJednostkaMorska* ShipNamed(const std::wstring& name) {
    for (cJednostkaMorska* ship : Units().navalUnits) {
      if (ship->name == name) return ship;
    }
    for (cJednostkaMorska* ship : Units().navalReservePool) {
      if (ship->name == name) return ship;
    }
    return nullptr;
  }
  int InNavalList(const cJednostkaMorska* ship) {
    return static_cast<int>(std::count(Units().navalUnits.begin(), Units().navalUnits.end(), ship));
  }
  int InReservePool(const cJednostkaMorska* ship) {
    return static_cast<int>(std::count(Units().navalReservePool.begin(), Units().navalReservePool.end(), ship));
  }
  // A ship in a fleet stands on the naval list and in its fleet; a ship in
  // the reserve pool has no fleet. Never both.
  void ExpectInFleet(const cJednostkaMorska& ship) {
    EXPECT_EQ(InNavalList(&ship), 1);
    EXPECT_EQ(InReservePool(&ship), 0);
    ASSERT_NE(ship.fleet, nullptr);
    EXPECT_EQ(std::count(ship.fleet->ships.begin(), ship.fleet->ships.end(), &ship), 1);
    EXPECT_FALSE(ship.inReserve);
  }
  void ExpectInReserve(const cJednostkaMorska& ship) {
    EXPECT_EQ(InNavalList(&ship), 0);
    EXPECT_EQ(InReservePool(&ship), 1);
    EXPECT_EQ(ship.fleet, nullptr);
    EXPECT_TRUE(ship.inReserve);
    for (const cFleet* fleet : Units().fleets) {
      EXPECT_EQ(std::count(fleet->ships.begin(), fleet->ships.end(), &ship), 0);
    }
  }
};

TEST_F(EventSeaEffects, ShipsJoinAFleetOrTheReservePoolNeverBoth) {
  const int nextId = World().ids.nextShipId;
  // "Hex.AddNavalUnit": the reserve pool, full hit points of the type.
  Run(SeaEffect(L"Hex.AddNavalUnit", {1, 44}, L"WS Reserve Freighter"));
  cJednostkaMorska* freighter = ShipNamed(L"WS Reserve Freighter");
  ASSERT_NE(freighter, nullptr);
  ExpectInReserve(*freighter);
  EXPECT_EQ(freighter->id, nextId);
  EXPECT_EQ(freighter->type, kUnitCargoShip);
  EXPECT_EQ(freighter->hitPoints, 3);
  EXPECT_EQ(freighter->maxHitPoints, 3);

  // At an open sea zone: the country's fleet there.
  cFleet* home = World().FindFleetAtSeaNode(kNorthSea, 1);
  ASSERT_NE(home, nullptr);
  Run(SeaEffect(L"SeaNode.AddNavalUnit", {kNorthSea, 1, 41, 9}, L"WS Valiant"));
  cJednostkaMorska* valiant = ShipNamed(L"WS Valiant");
  ASSERT_NE(valiant, nullptr);
  ExpectInFleet(*valiant);
  EXPECT_EQ(valiant->fleet, home);
  EXPECT_EQ(valiant->hitPoints, 9);
  EXPECT_EQ(valiant->maxHitPoints, 15);

  // At a port the country holds: a fleet at the port (a new one here).
  const std::size_t fleets = Units().fleets.size();
  Run(SeaEffect(L"SeaNode.AddNavalUnit", {kWestport, 1, 42, 99}, L"WS Harbour Guard"));
  cJednostkaMorska* guard = ShipNamed(L"WS Harbour Guard");
  ASSERT_NE(guard, nullptr);
  ExpectInFleet(*guard);
  EXPECT_EQ(guard->fleet->seaNode, kWestport);
  EXPECT_EQ(guard->hitPoints, 8);  // at most the full hit points
  EXPECT_EQ(Units().fleets.size(), fleets + 1);

  // At an enemy's port: the reserve pool.
  Run(SeaEffect(L"SeaNode.AddNavalUnit", {kEastport, 1, 43, 2}, L"WS Stray"));
  cJednostkaMorska* stray = ShipNamed(L"WS Stray");
  ASSERT_NE(stray, nullptr);
  ExpectInReserve(*stray);
  EXPECT_EQ(Units().fleets.size(), fleets + 1);
}

TEST_F(EventSeaEffects, AShipWithoutItsHitPointsGetsThemAllAfterTheLogLine) {
  twtest::LogCapture log;
  Run(SeaEffect(L"SeaNode.AddNavalUnit", {kStrait, 2, 42}, L"EM Nameless"));
  EXPECT_TRUE(log.Contains(L"ERROR: param3 for effect at line 17 is not defined!"));
  cJednostkaMorska* ship = ShipNamed(L"EM Nameless");
  ASSERT_NE(ship, nullptr);
  EXPECT_EQ(ship->hitPoints, 8);
  ExpectInFleet(*ship);
  EXPECT_EQ(ship->fleet, World().FindFleetAtSeaNode(kStrait, 2));
  // A ship is never made already sunk.
  Run(SeaEffect(L"SeaNode.AddNavalUnit", {kStrait, 2, 42, -4}, L"EM Wreck"));
  ASSERT_NE(ShipNamed(L"EM Wreck"), nullptr);
  EXPECT_EQ(ShipNamed(L"EM Wreck")->hitPoints, 1);
}

TEST_F(EventSeaEffects, BadShipsAreRefusedWithTheEventNamed) {
  const std::size_t ships = Units().navalUnits.size();
  const std::size_t pool = Units().navalReservePool.size();
  const std::size_t carried = Units().carriedUnitsA.size() + Units().carriedUnitsB.size();
  const int nextShip = World().ids.nextShipId;
  const struct {
    const wchar_t* method;
    std::vector<double> params;
  } bad[] = {
      {L"Hex.AddNavalUnit", {1, 39}},
      {L"Hex.AddNavalUnit", {6, 41}},
      {L"SeaNode.AddNavalUnit", {6, 1, 41, 5}},
      {L"SeaNode.AddNavalUnit", {0, 1, 41, 5}},
      {L"SeaNode.AddNavalUnit", {kNorthSea, 1, 46, 5}},
      {L"SeaNode.AddLandUnit", {kNorthSea, 41, 1, 0, 1, 100}},   // a battleship carries nobody
      {L"SeaNode.AddLandUnit", {kNorthSea, 44, 1, 22, 1, 100}},  // no land type
      {L"SeaNode.AddLandUnit", {kNorthSea, 44, 1, 0, 9, 100}},   // level 9
      {L"SeaNode.AddLandUnit", {kNorthSea, 44, 0, 0, 1, 100}},
      {L"SeaNode.AddLandingLandUnit", {kNorthSea, 45, 1, 0, 1, 100, 40, 3}},
      {L"Country.DamageRandomShipsInSeaZone", {1, 9, 1, 1}},
  };
  for (const auto& entry : bad) {
    twtest::LogCapture log;
    Run(SeaEffect(entry.method, entry.params, L"Never"));
    EXPECT_TRUE(HasError(log, entry.method)) << std::wstring(entry.method);
  }
  EXPECT_EQ(Units().navalUnits.size(), ships);
  EXPECT_EQ(Units().navalReservePool.size(), pool);
  EXPECT_EQ(Units().carriedUnitsA.size() + Units().carriedUnitsB.size(), carried);
  EXPECT_EQ(World().ids.nextShipId, nextShip);
}

TEST_F(EventSeaEffects, LandUnitsPutToSeaAboardANewShipOfTheirType) {
  cFleet* home = World().FindFleetAtSeaNode(kNorthSea, 1);
  ASSERT_NE(home, nullptr);
  const std::size_t homeShips = home->ships.size();
  const std::size_t carriedA = Units().carriedUnitsA.size();
  const std::size_t carriedB = Units().carriedUnitsB.size();

  Run(SeaEffect(L"SeaNode.AddLandUnit", {kNorthSea, 44, 1, 2, 2, 90}, L"Sea Mechanised"));
  ASSERT_EQ(Units().carriedUnitsA.size(), carriedA + 1);
  cJednostkaLadowa& cargo = *Units().carriedUnitsA.back();
  EXPECT_EQ(cargo.name, L"Sea Mechanised");
  EXPECT_EQ(cargo.type, kUnitMechanizedDivision);
  EXPECT_EQ(cargo.level, 2);
  EXPECT_EQ(cargo.strength, 90);
  EXPECT_EQ(cargo.x, -1);
  EXPECT_FALSE(cargo.inReserve);
  ASSERT_NE(cargo.transport, nullptr);
  cJednostkaMorska& ship = *cargo.transport;
  EXPECT_EQ(ship.carriedUnit, &cargo);
  EXPECT_EQ(cargo.transporterId, ship.id);
  EXPECT_EQ(ship.type, kUnitCargoShip);
  EXPECT_EQ(ship.name, L"Sea Mechanised");
  EXPECT_EQ(ship.hitPoints, 3);
  ExpectInFleet(ship);
  EXPECT_EQ(ship.fleet, home);  // the country's fleet at the node
  EXPECT_EQ(home->ships.size(), homeShips + 1);

  // A landing ship carries its unit in the second list; in the Strait
  // Westland has no fleet yet.
  Run(SeaEffect(L"SeaNode.AddLandUnit", {kStrait, 45, 1, 0, 1, 100}, L"Sea Infantry"));
  ASSERT_EQ(Units().carriedUnitsB.size(), carriedB + 1);
  cJednostkaMorska& lander = *Units().carriedUnitsB.back()->transport;
  EXPECT_EQ(lander.type, kUnitAmphibiousShip);
  ExpectInFleet(lander);
  EXPECT_EQ(lander.fleet->seaNode, kStrait);
  EXPECT_EQ(lander.fleet->country, 1);
  EXPECT_EQ(lander.fleet->name, L"new_transporter_fleet_#" + std::to_wstring(lander.fleet->id));

  // An enemy's port takes no one aboard.
  Run(SeaEffect(L"SeaNode.AddLandUnit", {kEastport, 44, 1, 0, 1, 100}, L"Never"));
  EXPECT_EQ(Units().carriedUnitsA.size(), carriedA + 1);
}

TEST_F(EventSeaEffects, LandingUnitsGatherInAnInvasionFleetForTheirTarget) {
  // A coastal land hex of a sea zone, and an inland one.
  int coastX = -1, coastY = -1;
  for (int y = 0; y < Map().GetHeight() && coastX < 0; ++y) {
    for (int x = 11; x < Map().GetWidth(); ++x) {
      if (Hex(x, y).IsLand() && Hex(x, y).seaZone != 0) {
        coastX = x, coastY = y;
        break;
      }
    }
  }
  ASSERT_GE(coastX, 0);
  Run(SeaEffect(L"SeaNode.AddLandingLandUnit", {kNorthSea, 45, 1, 0, 1, 100, double(coastX), double(coastY)}, L"Wave 1"));
  Run(SeaEffect(L"SeaNode.AddLandingLandUnit", {kNorthSea, 45, 1, 4, 1, 100, double(coastX), double(coastY)}, L"Wave 2"));
  cJednostkaMorska* first = ShipNamed(L"Wave 1");
  cJednostkaMorska* second = ShipNamed(L"Wave 2");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ExpectInFleet(*first);
  cFleet& invasion = *first->fleet;
  EXPECT_EQ(second->fleet, &invasion);
  EXPECT_EQ(invasion.aiOrder, 2);
  EXPECT_EQ(invasion.aiInvasionX, coastX);
  EXPECT_EQ(invasion.aiInvasionY, coastY);
  EXPECT_EQ(invasion.aiDestinationNode, Hex(coastX, coastY).seaZone);
  EXPECT_EQ(invasion.seaNode, kNorthSea);
  // The Home Fleet has no invasion order: it takes neither wave.
  cFleet* home = nullptr;
  for (cFleet* fleet : Units().fleets) {
    if (fleet->name == L"Home Fleet") home = fleet;
  }
  ASSERT_NE(home, nullptr);
  EXPECT_NE(&invasion, home);

  twtest::LogCapture log;
  Run(SeaEffect(L"SeaNode.AddLandingLandUnit", {kNorthSea, 45, 1, 0, 1, 100, 6, 10}, L"Lost Wave"));
  EXPECT_TRUE(log.Contains(
      L"Nieprawidłowy event SeaNode.AddLandingLandUnit: chce inwazji na hex 6, 10 ktory jest srodladowy"));
  cJednostkaMorska* lost = ShipNamed(L"Lost Wave");
  ASSERT_NE(lost, nullptr);
  ExpectInFleet(*lost);
  EXPECT_NE(lost->fleet, &invasion);
  EXPECT_EQ(lost->fleet->aiDestinationNode, -1);
  EXPECT_EQ(lost->fleet->aiInvasionX, 6);
}

TEST_F(EventSeaEffects, PortsKeepTheirSizeWithinWhatAPortCanBe) {
  sWezelGrafuMorz& westport = Node(kWestport);  // size 3 of 3
  Run(SeaEffect(L"Port.SetSize", {kWestport, 0}));
  EXPECT_EQ(westport.size, 1);
  EXPECT_EQ(westport.maxSize, 3);
  Run(SeaEffect(L"Port.ChangeSize", {kWestport, 1}));
  EXPECT_EQ(westport.size, 2);
  Run(SeaEffect(L"Port.ChangeSize", {kWestport, -5}));
  EXPECT_EQ(westport.size, 1);
  // Above its maximum the port grows for good, up to the largest port (9)
  // the sea-node file and the port marker know.
  Run(SeaEffect(L"Port.SetSize", {kWestport, 5}));
  EXPECT_EQ(westport.size, 5);
  EXPECT_EQ(westport.maxSize, 5);
  Run(SeaEffect(L"Port.SetSize", {kWestport, 15}));
  EXPECT_EQ(westport.size, 9);
  EXPECT_EQ(westport.maxSize, 9);

  twtest::LogCapture log;
  Run(SeaEffect(L"Port.SetSize", {kNorthSea, 4}));
  Run(SeaEffect(L"Port.ChangeSize", {6, 1}));
  EXPECT_TRUE(HasError(log, L"Port.SetSize"));
  EXPECT_TRUE(HasError(log, L"Port.ChangeSize"));
  EXPECT_EQ(Node(kNorthSea).size, 0);
  EXPECT_TRUE(Node(kNorthSea).IsSeaZone());
}

TEST_F(EventSeaEffects, ConvoysAreAddedAndRemovedBetweenPortCities) {
  cConvoyStore& store = Units().convoys;
  const std::size_t before = store.ConvoysOf(1)->size();
  // Westport (4, 2) to Straitport (11, 6).
  Run(SeaEffect(L"Country.AddConvoy", {1, 1, 7, 4, 2, 11, 6}));
  Run(SeaEffect(L"Country.AddConvoy", {1, 0, 3, 4, 2, 11, 6}));
  ASSERT_EQ(store.ConvoysOf(1)->size(), before + 2);
  const cConvoy& added = store.ConvoysOf(1)->at(before);
  EXPECT_EQ(added.type, 1);
  EXPECT_EQ(added.value, 7);
  EXPECT_EQ(added.departure->GetName(), L"Westport");
  EXPECT_EQ(added.destination->GetName(), L"Straitport");

  twtest::LogCapture log;
  Run(SeaEffect(L"Country.AddConvoy", {1, 2, 7, 4, 2, 11, 6}));   // no such cargo
  Run(SeaEffect(L"Country.AddConvoy", {1, 0, 7, 6, 8, 11, 6}));   // Millbrook is no port
  Run(SeaEffect(L"Country.AddConvoy", {1, 0, 7, 4, 2, 7, 8}));    // no city there
  Run(SeaEffect(L"Country.AddConvoy", {8, 0, 7, 4, 2, 11, 6}));   // no such country
  Run(SeaEffect(L"Country.AddConvoy", {1, 0, -7, 4, 2, 11, 6}));  // a negative value
  EXPECT_TRUE(HasError(log, L"Country.AddConvoy"));
  EXPECT_EQ(store.ConvoysOf(1)->size(), before + 2);

  // The removal takes those of the type between the two cities only.
  Run(SeaEffect(L"Country.RemoveConvoy", {1, 1, 4, 2, 11, 6}));
  ASSERT_EQ(store.ConvoysOf(1)->size(), before + 1);
  EXPECT_EQ(store.ConvoysOf(1)->back().type, 0);
  Run(SeaEffect(L"Country.RemoveConvoy", {1, 0, 11, 6, 4, 2}));  // the other way round
  EXPECT_EQ(store.ConvoysOf(1)->size(), before + 1);
  Run(SeaEffect(L"Country.RemoveConvoy", {1, 0, 4, 2, 11, 6}));
  EXPECT_EQ(store.ConvoysOf(1)->size(), before);
  Run(SeaEffect(L"Country.RemoveConvoy", {1, 0, 4, 3, 11, 6}));
  EXPECT_TRUE(HasError(log, L"Country.RemoveConvoy"));
}

TEST_F(EventSeaEffects, DamageStrikesEveryShipOfTheZoneAndSinksTheLost) {
  cFleet* squadron = World().FindFleetAtSeaNode(kStrait, 2);
  cFleet* home = World().FindFleetAtSeaNode(kNorthSea, 1);
  ASSERT_NE(squadron, nullptr);
  ASSERT_NE(home, nullptr);
  std::vector<std::pair<cJednostkaMorska*, int>> homeShips;
  for (cJednostkaMorska* ship : home->ships) homeShips.emplace_back(ship, ship->hitPoints);
  const std::size_t ships = Units().navalUnits.size();
  const std::size_t squadronShips = squadron->ships.size();
  const std::size_t fleets = Units().fleets.size();

  // Half of each ship's hit points in the North Sea, the p0 country
  // whatever it is; nothing elsewhere.
  Run(SeaEffect(L"Country.DamageRandomShipsInSeaZone", {kEventUnsetParam, kNorthSea, 0.5, 0.5}));
  for (const auto& [ship, before] : homeShips) EXPECT_EQ(ship->hitPoints, before - before / 2);
  EXPECT_EQ(Units().navalUnits.size(), ships);
  // A negative share never heals a ship beyond its full hit points.
  Run(SeaEffect(L"Country.DamageRandomShipsInSeaZone", {1, kNorthSea, -5, -5}));
  for (const auto& [ship, before] : homeShips) EXPECT_EQ(ship->hitPoints, ship->maxHitPoints);

  // The whole of them in the Strait: every ship there sinks and its fleet
  // goes with the last one.
  Run(SeaEffect(L"Country.DamageRandomShipsInSeaZone", {1, kStrait, 1, 1}));
  EXPECT_EQ(Units().navalUnits.size(), ships - squadronShips);
  EXPECT_EQ(Units().fleets.size(), fleets - 1);
  EXPECT_EQ(World().FindFleetAtSeaNode(kStrait, 2), nullptr);
}

}  // namespace
