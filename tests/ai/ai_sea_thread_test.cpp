// The computer's sea invasion and a transport's return, and its deployment
// of new ships, played on a worker thread while the main thread runs frames:
// it drains the worker's requests, steps the land moves the worker hands
// over in phase 10 and, holding the lock as its frames do, reads the map,
// the units and the fleets, which must be whole at every frame.
#include <gtest/gtest.h>

#include <memory>

#include "ai/ai_fronts.h"
#include "ai/ai_naval.h"
#include "ai/ai_sea_fixture.h"
#include "ai/ai_unit_lists.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "support/recording_view.h"
#include "support/worker_frames.h"
#include "world/ai_orders.h"
#include "world/worker_steps.h"

namespace {

using twtest::SeaAiWorld;

// Every unit on the map stands on its hex, every carried unit on its ship,
// every fleet holds ships that name it.
void ExpectWholeWorld(SeaAiWorld& w) {
  const sUnitLists& lists = w.world->Units();
  for (const cJednostkaLadowa* unit : lists.landUnits) {
    if (w.Map().IsInside(unit->x, unit->y)) {
      EXPECT_EQ(w.Hex(unit->x, unit->y).unit, unit);
    }
  }
  for (const cJednostkaLadowa* unit : lists.carriedUnitsB) {
    ASSERT_NE(unit->transport, nullptr);
    EXPECT_EQ(unit->transport->carriedUnit, unit);
  }
  for (const cFleet* fleet : lists.fleets) {
    EXPECT_FALSE(fleet->ships.empty());
    for (const cJednostkaMorska* ship : fleet->ships) EXPECT_EQ(ship->fleet, fleet);
  }
}

TEST(SeaInvasionThread, WorkerInvadesWithItsActionsShownWhileTheFrameReadsTheWorld) {
  SetMainThreadToCurrent();
  SeaAiWorld w;
  cWorld& world = *w.world;
  cCountry& ai = w.Country(1);
  ai.aiData.makesSeaInvasions = true;
  ai.amphibiousInvasionPoints = 10;
  ai.productionPoints = 100.0;
  world.turnState.showActions = true;
  world.turnState.viewCountry = &ai;
  for (int slot : {kDelayAIMoveBefore, kDelayAIMoveAfter, kDelayAICombatBefore, kDelayAICombatAfter}) {
    g_Delays[slot] = 1.0f;
  }
  auto* view = new twtest::RecordingView(world);
  world.SetView(std::unique_ptr<cWorldView>(view));
  cJednostkaLadowa& unit = w.Division(0, 2, 1, 100, L"Landing force", 2);
  // A transport at sea bound for the own port: it sails in and unloads.
  cFleet& convoy = w.Fleet(1, SeaAiWorld::kWest, {});
  cJednostkaLadowa& passenger = w.Division(0, 0, 1, 100, L"Passenger");
  w.Carry(convoy, passenger, kUnitCargoShip);
  convoy.aiOrder = kAiFleetTransport;
  convoy.aiDestinationNode = SeaAiWorld::kWestport;

  const int frames = twtest::RunWorkerWithFrames(
      [&] {
        for (int impulse = 0; impulse < 4 && !WorkerStopping(world); ++impulse) {
          ai::sAiUnitLists lists;
          LockedStep([&] {
            w.NextImpulse();
            // What the roles pass does first in a turn: every order anew.
            for (cJednostkaLadowa* unit : world.Units().landUnits) unit->aiOrder = kAiIdle;
            ai::BuildUnitLists(world, ai, lists);
          });
          ai::PlanSeaInvasion(world, ai, lists, {});
          ai::PlayNavalPhase(world, ai, lists);
        }
      },
      [&] {
        twtest::SeaMoveRecorder::StepPending(world);
        ExpectWholeWorld(w);
      });

  EXPECT_GT(frames, 0);
  // It went aboard, crossed and landed beside the undefended port; its ship
  // is used up.
  EXPECT_TRUE(world.Units().carriedUnitsB.empty());
  EXPECT_TRUE(world.Units().fleets.empty());
  EXPECT_LE(HexDistance(unit.x, unit.y, 8, 2), 1);
  EXPECT_TRUE(world.Units().carriedUnitsA.empty());
  EXPECT_EQ(passenger.transport, nullptr);
  EXPECT_LE(HexDistance(passenger.x, passenger.y, 3, 2), 1);
  // The loading and the landing were shown.
  EXPECT_FALSE(view->Followed().empty());
  world.SetView(nullptr);
  DiscardMainThreadRequests();
}

// Each ship the worker deploys leaves the reserve and joins the fleet at the
// port in one step: a frame finds every ship either waiting, without a
// fleet, or in a fleet at the port and among the ships of the map.
TEST(ShipDeploymentThread, WorkerDeploysTheReserveWhileTheFrameSeesEveryShipOnce) {
  SetMainThreadToCurrent();
  SeaAiWorld w;
  cWorld& world = *w.world;
  constexpr int kShips = 40;
  for (int i = 0; i < kShips; ++i) {
    auto* ship = new cJednostkaMorska(&world);
    ship->countryId = 1;
    ship->SetType(i % 2 == 0 ? kUnitCruiser : kUnitBattleship);
    ship->name = L"New ship";
    ship->hitPoints = ship->maxHitPoints = 4;
    ship->inReserve = true;
    world.Units().navalReservePool.push_back(ship);
  }

  // A frame sees every ship once: waiting, or in a fleet at the port.
  const auto frame = [&] {
    const sUnitLists& lists = world.Units();
    for (const cJednostkaMorska* ship : lists.navalReservePool) EXPECT_EQ(ship->fleet, nullptr);
    std::size_t afloat = 0;
    for (const cFleet* fleet : lists.fleets) {
      EXPECT_EQ(fleet->seaNode, SeaAiWorld::kWestport);
      afloat += fleet->ships.size();
    }
    EXPECT_EQ(afloat, lists.navalUnits.size());
    EXPECT_EQ(afloat + lists.navalReservePool.size(), static_cast<std::size_t>(kShips));
  };
  int deployed = 0;
  const int frames = twtest::RunWorkerWithFrames([&] { deployed = ai::DeployNavalUnits(world, w.Country(1)); }, frame);

  EXPECT_GT(frames, 0);
  EXPECT_EQ(deployed, kShips);
  EXPECT_TRUE(world.Units().navalReservePool.empty());
  ASSERT_EQ(world.Units().fleets.size(), 1u);
  EXPECT_EQ(world.Units().fleets.front()->ships.size(), static_cast<std::size_t>(kShips));
  DiscardMainThreadRequests();
}

}  // namespace
