// The scripted events' map effects run on the worker, each under the
// framework lock that ExecuteEventEffect takes, while the main thread's
// frames read the map, the units and the fleets as the map screen draws
// them and apply what the effects ask of the view (the panels, the
// minimap's ownership layer) from the main-thread queue.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "land_rules/fixture_game.h"
#include "rules/event_effects.h"
#include "support/recording_view.h"
#include "world/event_records.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"

namespace {

sEventEffect Effect(const wchar_t* method, const std::vector<double>& params, const wchar_t* name = L"") {
  sEventEffect effect;
  effect.method = method;
  effect.line = 1;
  std::size_t i = 0;
  for (double value : params) effect.param[i++] = value;
  effect.paramString[0] = name;
  return effect;
}

using EventMapEffectThread = twtest::FixtureGame;

TEST_F(EventMapEffectThread, WorkerChangesTheMapWhileTheFrameDrawsIt) {
  cWorld& world = World();
  auto view = std::make_unique<twtest::RecordingView>(world);
  std::atomic<int> refreshes{0};
  view->onRefreshSelection = [&] {
    EXPECT_TRUE(IsMainThread());
    ++refreshes;
  };
  // A stripe handed over changes control: the minimap's layer is painted
  // again by the view, on the main thread.
  std::atomic<int> minimapRepaints{0};
  view->onRefreshMinimapOwnership = [&] {
    EXPECT_TRUE(IsMainThread());
    ++minimapRepaints;
  };
  world.SetView(std::move(view));
  const std::vector<sEventEffect> round = {
      Effect(L"Hex.AddUnitAndPassControlOverHexIfEmpty", {12, 8, 1, 0, 1, 70}, L"Raiders"),
      Effect(L"Unit.Teleport", {12, 8, 14, 9}),
      Effect(L"HexStripe.ChangeControllerAndOwner", {12, 7, 3, 2}),
      Effect(L"Hex.AddMulberry", {1, 12, 8}, L"Harbour"),
      Effect(L"SeaNode.AddNavalUnit", {1, 1, 42, 4}, L"Patrol"),
      Effect(L"SeaNode.AddLandUnit", {1, 44, 1, 0, 1, 100}, L"Convoy"),
      Effect(L"Country.DamageRandomShipsInSeaZone", {1, 1, 1, 1}),
      Effect(L"Hex.KillUnit", {14, 9}),
      Effect(L"Hex.KillUnit", {12, 8}),
  };
  constexpr int kRounds = 8;

  CreateFrameworkLock();
  SetMainThreadToCurrent();
  g_bRunning = true;
  std::atomic<bool> done{false};
  std::atomic<bool> drawing{false};
  std::thread worker([&] {
    // The effects begin once the frames do, so the two threads meet.
    while (!drawing) std::this_thread::yield();
    for (int i = 0; i < kRounds; ++i) {
      for (const sEventEffect& effect : round) ExecuteEventEffect(world, effect, 7);
    }
    done = true;
  });
  int frames = 0;
  do {
    DrainMainThreadRequests();
    {
      const cFrameworkLockGuard lock;
      // What the map draws: every unit on the map stands on its own hex.
      for (const cJednostkaLadowa* unit : world.Units().landUnits) {
        const bool onMap = Map().IsInside(unit->x, unit->y);
        EXPECT_TRUE(onMap);
        if (onMap) {
          EXPECT_EQ(Hex(unit->x, unit->y).unit, unit);
        }
      }
      for (const cFleet* fleet : world.Units().fleets) {
        for (const cJednostkaMorska* ship : fleet->ships) EXPECT_EQ(ship->fleet, fleet);
      }
    }
    ++frames;
    drawing = true;
  } while (!done);
  worker.join();
  DrainMainThreadRequests();
  g_bRunning = false;
  DeleteFrameworkLock();
  DiscardMainThreadRequests();

  EXPECT_GT(frames, 0);
  EXPECT_GT(refreshes.load(), 0);
  EXPECT_GT(minimapRepaints.load(), 0);
  // Each round ends as it began on land; the ships of the North Sea sank.
  EXPECT_EQ(Hex(12, 8).unit, nullptr);
  EXPECT_EQ(Hex(14, 9).unit, nullptr);
  EXPECT_EQ(world.FindFleetAtSeaNode(1, 1), nullptr);
  for (const cJednostkaMorska* ship : world.Units().navalReservePool) EXPECT_EQ(ship->fleet, nullptr);
}

}  // namespace
