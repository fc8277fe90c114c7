// Fleets on the fixture scenario's sea graph loaded as a game: the reach
// with ports (own, enemy, too small) and a strait, the move order with its
// refusals, the leaving of a captured port, a save and load that keeps
// every ship at sea, in port and in the reserve, and the shore bombardment
// of the loaded map's coast.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

#include "files/save_game.h"
#include "files/world_loader.h"
#include "platform/rand.h"
#include "platform/recording_renderer.h"
#include "rules/capture.h"
#include "rules/fleet_orders.h"
#include "rules/hex_control.h"
#include "support/fake_framework.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/combat_result.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/naval_spotting.h"
#include "world/sea_graph.h"
#include "world/world.h"

namespace {

// Node ids of the fixture: 1 North Sea, 2 Strait (zones), 3 Westport,
// 4 Eastport, 5 Straitport; links 1-2, 1-3, 1-4, 2-5 both ways.

class FleetFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR"; }
  void TearDown() override { g_pWorld = nullptr; }
  cFleet* FleetNamed(cWorld& world, const wchar_t* name) {
    for (cFleet* fleet : world.Units().fleets) {
      if (fleet->name == name) return fleet;
    }
    return nullptr;
  }
  static std::vector<int> Reach(cWorld& world, cFleet& fleet) {
    fleet.ComputeReachableNodes(world);
    return {fleet.reachableNodes.begin(), fleet.reachableNodes.end()};
  }
  void Control(cWorld& world, int node, int country) {
    const sWezelGrafuMorz& n = *world.GetSeaGraph().GetNode(node);
    world.GetMap().GetHex(n.x, n.y).controller = static_cast<std::uint8_t>(country);
  }
  twtest::TempDir dir_;
};

TEST_F(FleetFixture, ReachMovesAndASavedGameKeepsEveryShip) {
  const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
  twtest::ScopedWorkingFolder folder(dir_.Path());
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  LoadWorld(settings);
  std::unique_ptr<cWorld> world(g_pWorld);
  ASSERT_NE(world, nullptr);
  sScenarioConstants& k = world->constants;
  k.fleetReachSteps = 2;
  k.navalReachValue = {2, 2, 2, 2, 1, 1};
  Control(*world, kWestport, 1);
  Control(*world, kEastport, 2);  // the enemy's
  Control(*world, kStraitport, 1);
  world->turnState.SetCurrentCountry(world->GetCountry(1));

  cFleet* home = FleetNamed(*world, L"Home Fleet");
  ASSERT_NE(home, nullptr);
  ASSERT_EQ(home->seaNode, kNorthSea);
  // At sea: the own port next door and the one two links away, not the
  // enemy's port; the start first.
  EXPECT_EQ(Reach(*world, *home), (std::vector<int>{kNorthSea, kStrait, kWestport, kStraitport}));
  // One link less: Straitport is beyond the reach.
  k.fleetReachSteps = 1;
  EXPECT_EQ(Reach(*world, *home), (std::vector<int>{kNorthSea, kStrait, kWestport}));
  k.fleetReachSteps = 2;
  // A port too small for one of the ships: the battleship needs 3, which
  // Westport (size 3) has and Straitport (size 2) has not.
  k.navalReachValue[1] = 3;
  EXPECT_EQ(Reach(*world, *home), (std::vector<int>{kNorthSea, kStrait, kWestport}));
  k.navalReachValue = {2, 2, 2, 2, 1, 1};
  // A strait held by the enemy closes its link; an ally's opens it again.
  for (sSeaLink& link : world->GetSeaGraph().GetNode(kNorthSea)->links) {
    if (link.node == kStrait) link.straitX = 9, link.straitY = 3;
  }
  world->GetMap().GetHex(9, 3).controller = 2;
  EXPECT_EQ(Reach(*world, *home), (std::vector<int>{kNorthSea, kWestport}));
  EXPECT_EQ(CheckFleetMove(*world, *home, kStrait), eFleetOrderRefusal::kNotReachable);
  world->GetMap().GetHex(9, 3).controller = 1;

  // From a port other ports lie only one sea zone away.
  k.fleetReachSteps = 3;
  home->seaNode = kWestport;
  Control(*world, kEastport, 1);
  EXPECT_EQ(Reach(*world, *home), (std::vector<int>{kWestport, kNorthSea, kStrait, kEastport}));
  home->seaNode = kNorthSea;
  EXPECT_EQ(Reach(*world, *home), (std::vector<int>{kNorthSea, kStrait, kWestport, kEastport, kStraitport}));
  Control(*world, kEastport, 2);
  k.fleetReachSteps = 1;

  // The move: beyond the reach the fleet goes as far as it can along the
  // route; then it has moved for this turn.
  EXPECT_EQ(CheckFleetMove(*world, *home, 99), eFleetOrderRefusal::kUnknownNode);
  EXPECT_EQ(CheckFleetMove(*world, *home, kStraitport), eFleetOrderRefusal::kNotReachable);
  EXPECT_EQ(home->MoveTo(*world, kStraitport), kStrait);
  EXPECT_TRUE(home->moved);
  EXPECT_EQ(CheckFleetMove(*world, *home, kNorthSea), eFleetOrderRefusal::kAlreadyMoved);
  EXPECT_EQ(home->MoveTo(*world, kNorthSea), kStrait);  // the warning, no move
  home->moved = false;
  // A move to the own node only spends the turn; another country's fleet
  // is not this country's to order.
  EXPECT_EQ(MoveFleet(*world, *home, kStrait), eFleetOrderRefusal::kNone);
  EXPECT_TRUE(home->moved);
  cFleet* squadron = FleetNamed(*world, L"Strait Squadron");
  ASSERT_NE(squadron, nullptr);
  EXPECT_EQ(CheckFleetMove(*world, *squadron, kNorthSea), eFleetOrderRefusal::kNotOwnFleet);
  home->moved = false;
  ASSERT_EQ(MoveFleet(*world, *home, kStraitport), eFleetOrderRefusal::kNone);
  EXPECT_EQ(home->seaNode, kStraitport);

  // The port falls: the fleet leaves for the sea zone in front of it.
  EXPECT_TRUE(home->LeaveEnemyPort(*world));
  EXPECT_EQ(home->seaNode, kStrait);
  home->seaNode = kWestport;  // in port for the save

  // The reserve cruiser joins a new fleet at sea and leaves the pool.
  cJednostkaMorska* reserve = nullptr;
  for (cJednostkaMorska* ship : world->Units().navalReservePool) {
    if (ship->name == L"EM Reserve Cruiser") reserve = ship;
  }
  ASSERT_NE(reserve, nullptr);
  const std::size_t fleets = world->Units().fleets.size();
  reserve->JoinFleetAtSeaNode(kNorthSea);
  EXPECT_TRUE(std::find(world->Units().navalReservePool.begin(), world->Units().navalReservePool.end(), reserve) ==
              world->Units().navalReservePool.end());
  EXPECT_EQ(world->Units().fleets.size(), fleets + 1);
  EXPECT_EQ(reserve->fleet->seaNode, kNorthSea);
  EXPECT_EQ(reserve->fleet->name, MakeFleetName(reserve->fleet->id));
  // A second reserve ship that stays in the pool.
  auto* spare = new cJednostkaMorska(*reserve);
  spare->id = 77;
  spare->name = L"EM Spare";
  spare->fleet = nullptr;
  spare->fleetId = -1;
  spare->inReserve = true;
  world->Units().navalReservePool.push_back(spare);

  struct sSeen {
    int id, fleetNode, hp;
    bool reserve;
    bool operator==(const sSeen&) const = default;
  };
  auto census = [](const cWorld& w) {
    std::vector<sSeen> out;
    for (const cJednostkaMorska* ship : w.Units().navalUnits) {
      out.push_back({ship->id, ship->fleet ? ship->fleet->seaNode : -1, ship->hitPoints, false});
    }
    for (const cJednostkaMorska* ship : w.Units().navalReservePool) out.push_back({ship->id, -1, ship->hitPoints, true});
    std::sort(out.begin(), out.end(), [](const sSeen& a, const sSeen& b) { return a.id < b.id; });
    return out;
  };
  const std::vector<sSeen> before = census(*world);
  ASSERT_EQ(before.size(), 7u);
  ASSERT_TRUE(SaveGame(*world, L"Naval", false).ok);
  world.reset();
  g_pWorld = nullptr;
  LoadWorld(sGameStartSettings{L"data\\save\\Naval\\%s", 1});
  world.reset(g_pWorld);
  ASSERT_NE(world, nullptr);
  EXPECT_EQ(census(*world), before);
  // Every ship on the map belongs to exactly one fleet that holds it.
  for (const cJednostkaMorska* ship : world->Units().navalUnits) {
    ASSERT_NE(ship->fleet, nullptr);
    EXPECT_EQ(std::count(ship->fleet->ships.begin(), ship->fleet->ships.end(), ship), 1);
  }
}

// The computer's move toward a node beyond the reach goes through the
// player's check of the step it ends at: whatever the player's move is
// refused for (another country's fleet, one that has moved, an unknown node,
// a route cut by an enemy strait) the computer's is refused for too, and
// the fleet stays.
TEST_F(FleetFixture, TheComputersMoveTowardANodeIsRefusedAsThePlayersMove) {
  const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
  twtest::ScopedWorkingFolder folder(dir_.Path());
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  LoadWorld(settings);
  std::unique_ptr<cWorld> world(g_pWorld);
  ASSERT_NE(world, nullptr);
  sScenarioConstants& k = world->constants;
  k.fleetReachSteps = 1;
  k.navalReachValue = {2, 2, 2, 2, 1, 1};
  Control(*world, kWestport, 1);
  Control(*world, kStraitport, 1);
  world->turnState.SetCurrentCountry(world->GetCountry(1));
  cFleet* home = FleetNamed(*world, L"Home Fleet");
  cFleet* squadron = FleetNamed(*world, L"Strait Squadron");
  ASSERT_NE(home, nullptr);
  ASSERT_NE(squadron, nullptr);
  const int squadronNode = squadron->seaNode;

  const auto refusedAlike = [&](cFleet& fleet, int playersNode, int target, eFleetOrderRefusal expected) {
    const int node = fleet.seaNode;
    const bool moved = fleet.moved;
    EXPECT_EQ(CheckFleetMove(*world, fleet, playersNode), expected);
    EXPECT_EQ(CheckFleetMoveToward(*world, fleet, target), expected);
    EXPECT_EQ(MoveFleetToward(*world, fleet, target), expected);
    EXPECT_EQ(fleet.seaNode, node);
    EXPECT_EQ(fleet.moved, moved);
  };
  refusedAlike(*squadron, kNorthSea, kNorthSea, eFleetOrderRefusal::kNotOwnFleet);
  EXPECT_EQ(squadron->seaNode, squadronNode);
  refusedAlike(*home, 99, 99, eFleetOrderRefusal::kUnknownNode);
  // The strait held by the enemy: the route to Straitport is cut at its
  // first link, so no node of it is reached.
  for (sSeaLink& link : world->GetSeaGraph().GetNode(kNorthSea)->links) {
    if (link.node == kStrait) link.straitX = 9, link.straitY = 3;
  }
  world->GetMap().GetHex(9, 3).controller = 2;
  refusedAlike(*home, kStrait, kStraitport, eFleetOrderRefusal::kNotReachable);
  world->GetMap().GetHex(9, 3).controller = 1;

  // Open again: the move goes as far as the reach allows, then the fleet
  // has moved and both moves are refused for that.
  int step = -1;
  EXPECT_EQ(CheckFleetMoveToward(*world, *home, kStraitport, &step), eFleetOrderRefusal::kNone);
  EXPECT_EQ(step, kStrait);
  ASSERT_EQ(MoveFleetToward(*world, *home, kStraitport), eFleetOrderRefusal::kNone);
  EXPECT_EQ(home->seaNode, kStrait);
  EXPECT_TRUE(home->moved);
  refusedAlike(*home, kStraitport, kStraitport, eFleetOrderRefusal::kAlreadyMoved);
}

// The loaded map gives the land along a sea zone that zone's number, so the
// Home Fleet's guns reach Eastmark's coast on the North Sea: a unit put on
// the beach is marked, accepted and bombarded once; the unit behind the
// coast only within the aircraft range of a coastal target.
TEST_F(FleetFixture, HomeFleetBombardsEastmarksCoastOnTheNorthSea) {
  const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
  twtest::ScopedWorkingFolder folder(dir_.Path());
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  LoadWorld(settings);
  std::unique_ptr<cWorld> world(g_pWorld);
  ASSERT_NE(world, nullptr);
  sScenarioConstants& k = world->constants;
  k.shoreBombardmentExponent = 1.0f;
  k.battleshipFire = {2, 2, 2, 2, 2, 2};
  k.cruiserFire = {1, 1, 1, 1, 1, 1};
  k.navalTypeStrength = {4, 4, 4, 4, 4, 4};
  k.navyTechFactors = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  k.aircraftRangeFactors = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  k.fleetValue157 = 0;
  world->turnState.SetCurrentCountry(world->GetCountry(1));
  cMap& map = world->GetMap();
  EXPECT_EQ(map.GetHex(12, 2).seaZone, kNorthSea);
  EXPECT_EQ(map.GetHex(12, 3).seaZone, 0);
  cFleet* home = FleetNamed(*world, L"Home Fleet");
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(home->MarkShoreBombardmentTargets(*world, false), 0) << "nobody of Eastmark on the coast yet";

  // The Eastmark Guard walks onto the beach.
  cJednostka* guard = map.GetHex(13, 4).unit;
  ASSERT_NE(guard, nullptr);
  map.GetHex(13, 4).unit = nullptr;
  map.GetHex(12, 2).unit = guard;
  guard->x = 12;
  guard->y = 2;
  guard->visible = true;
  guard->effectiveness = 100;
  ASSERT_EQ(home->MarkShoreBombardmentTargets(*world, true), 1);
  EXPECT_NE(map.GetHex(12, 2).markBits & 512u, 0u);
  EXPECT_EQ(CheckShoreBombardment(*world, *home, 12, 2), eFleetOrderRefusal::kNone);
  // Eastmark Panzer at (15, 6), inland: out of range 0, a target within
  // a range of 8 from the Guard's beach (Southia's rifles at (12, 11), nine
  // rows south, stay out of it).
  cJednostka* panzer = map.GetHex(15, 6).unit;
  ASSERT_NE(panzer, nullptr);
  panzer->visible = true;
  EXPECT_EQ(CheckShoreBombardment(*world, *home, 15, 6), eFleetOrderRefusal::kNoTarget);
  k.fleetValue157 = 8;
  EXPECT_EQ(CheckShoreBombardment(*world, *home, 15, 6), eFleetOrderRefusal::kNone);
  EXPECT_EQ(home->MarkShoreBombardmentTargets(*world, false), 2);
  k.fleetValue157 = 0;

  const plat::ScopedRandOverride dice([] { return 0; });
  sBombardmentResult result;
  ASSERT_EQ(ShoreBombard(*world, *home, 12, 2, result), eFleetOrderRefusal::kNone);
  EXPECT_EQ(result.kind, kCombatShoreBombardment);
  EXPECT_GT(guard->shoreBombardmentEffect, 0.0f);
  EXPECT_FALSE(home->IsShoreBombardmentTarget(*world, 12, 2)) << "once per impulse";
  EXPECT_EQ(CheckShoreBombardment(*world, *home, 12, 2), eFleetOrderRefusal::kNoFiringShips);
}

// Westport passes to the enemy with the Home Fleet in it, taken by a unit
// or handed over by a scripted stripe: either way the fleet puts to sea in
// front of the port, says so in the log, and the viewer's count of ships at
// the port loses them.
TEST_F(FleetFixture, AFleetInAPortLostToTheEnemyPutsToSeaAndLeavesThePortsCounts) {
  const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
  twtest::ScopedWorkingFolder folder(dir_.Path());
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  for (const bool stripe : {false, true}) {
    LoadWorld(settings);
    std::unique_ptr<cWorld> world(g_pWorld);
    ASSERT_NE(world, nullptr);
    cFleet* home = FleetNamed(*world, L"Home Fleet");
    ASSERT_NE(home, nullptr);
    home->seaNode = kWestport;
    const plat::ScopedRandOverride dice([] { return 0; });
    CalculateNavalVisibilityEverywhere(*world, kWestland, false);
    const sWezelGrafuMorz& port = *world->GetSeaGraph().GetNode(kWestport);
    // The viewer's ship count of the port.
    const auto ownShips = [&port] { return std::accumulate(std::begin(port.ownCounts), std::end(port.ownCounts), 0); };
    ASSERT_EQ(ownShips(), static_cast<int>(home->ships.size())) << stripe;
    twtest::LogCapture log;
    const sWezelGrafuMorz& north = *world->GetSeaGraph().GetNode(kNorthSea);
    if (stripe) {
      ASSERT_TRUE(ChangeHexStripeControllerAndOwner(*world, port.x, port.y, 1, kEastmark));
    } else {
      EvacuatePort(*world, port.x, port.y);
    }
    EXPECT_EQ(home->seaNode, kNorthSea) << stripe;
    EXPECT_FALSE(home->moved) << stripe;
    EXPECT_TRUE(log.Contains(L"Home Fleet left port which became enemy controlled and moved to " + north.name))
        << stripe;
    EXPECT_EQ(ownShips(), 0) << stripe;
    EXPECT_EQ(port.ownShip, nullptr) << stripe;
    g_pWorld = nullptr;
  }
}

}  // namespace
