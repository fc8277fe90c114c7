// The computer opponent's loading and landing run on the worker: each change
// of the world is a locked step, the delays of a landing the player sees are
// slept outside the lock, and the combat report is opened by the main thread
// and waited for until the main thread's next frame closes it. The main
// thread meanwhile drains its requests and, holding the lock as its frames
// do, reads the map, the units and the fleets.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "naval_rules/transport_fixture.h"
#include "rules/amphibious_invasion.h"
#include "rules/sea_transport.h"
#include "support/recording_view.h"
#include "world/worker_steps.h"

namespace {

// A combat report that stays open until the main thread's next frame closes
// it; opened and counted on the main thread, looked at by the worker under
// the framework lock.
class ReportView : public twtest::RecordingView {
 public:
  using RecordingView::RecordingView;
  bool ShowComputerCombatResult(const sBombardmentResult&, float) override {
    EXPECT_TRUE(IsMainThread());
    ++shown;
    open = true;
    return true;
  }
  bool ComputerCombatResultOpen() const override {
    EXPECT_GT(GetFrameworkLockHoldsOfThisThread(), 0);
    return open;
  }
  // Main thread; read by the worker under the lock.
  bool open = false;
  std::atomic<int> shown{0};
};

TEST(LandingThread, WorkerLoadsAndLandsWhileTheFrameReadsTheWorld) {
  SetMainThreadToCurrent();
  twtest::TransportWorld w;
  w.AddPortNode();
  cWorld& world = *w.world;
  w.Country(1).amphibiousInvasionPoints = 1000000;
  world.turnState.showActions = true;
  world.turnState.viewCountry = &w.Country(1);
  for (int slot : {kDelayAIMoveBefore, kDelayAIMoveAfter, kDelayAICombatBefore, kDelayAICombatAfter,
                   kDelayHumanCombatResult, kDelayAICombatResult}) {
    g_Delays[slot] = 1.0f;
  }
  auto* view = new ReportView(world);
  world.SetView(std::unique_ptr<cWorldView>(view));
  constexpr int kBeachX = 4, kBeachY = 2;

  CreateFrameworkLock();
  g_bRunning = true;
  std::atomic<bool> done{false};
  std::atomic<int> loaded{0};
  std::atomic<int> landings{0};
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i) {
      cJednostkaLadowa* unit = LockedStep([&] {
        // The beach is cleared; every other landing meets a defender.
        if (cJednostka* there = w.Hex(kBeachX, kBeachY).unit) there->Kill();
        if (i % 2 == 0) w.Unit(kBeachX, kBeachY, 2).strength = 100;
        return &w.Unit(1, 3, 1, 2);
      });
      if (AiLoadOntoTransport(world, *unit, kUnitAmphibiousShip, 2) != eTransportRefusal::kNone) continue;
      ++loaded;
      if (AiAmphibiousInvasion(world, *unit, kBeachX, kBeachY)) ++landings;
    }
    done = true;
  });
  int frames = 0;
  // At least one frame, however fast the worker is.
  do {
    DrainMainThreadRequests();
    const cFrameworkLockGuard lock;
    const sUnitLists& lists = world.Units();
    for (const cJednostkaLadowa* unit : lists.landUnits) {
      if (world.GetMap().IsInside(unit->x, unit->y)) {
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
    world.turnState.SelectHex(world, kBeachX, kBeachY);
    if (view->open) {  // the player reads the report and closes it
      view->open = false;
      view->TellDialogClosed();
    }
    ++frames;
  } while (!done);
  worker.join();
  DrainMainThreadRequests();
  g_bRunning = false;
  DeleteFrameworkLock();
  EXPECT_EQ(loaded.load(), 20);
  EXPECT_GT(landings.load(), 0);
  EXPECT_GT(view->shown.load(), 0);
  EXPECT_TRUE(world.Units().carriedUnitsB.empty());
  EXPECT_TRUE(world.Units().fleets.empty());
  EXPECT_GT(frames, 0);
  world.SetView(nullptr);
  DiscardMainThreadRequests();
}

}  // namespace
