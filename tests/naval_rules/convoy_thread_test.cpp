// The convoy step of the end of an impulse on the worker: the worker sails a
// human country's convoys in a locked step, then has the main thread show
// their results and waits until the player has closed them; the frame loop
// meanwhile reads the convoys and their results under the lock, as the
// screens do, and closes the results a few frames after they opened.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "files/world_loader.h"
#include "platform/clock.h"
#include "platform/recording_renderer.h"
#include "rules/convoys.h"
#include "support/fake_framework.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "support/recording_view.h"
#include "world/cities.h"
#include "world/convoy.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

constexpr int kImpulses = 12;

// The results "dialog": opened by a main-thread request, closed by the frame
// loop; both under the framework lock, as the dialog stack is.
class ConvoyResultsView : public twtest::RecordingView {
 public:
  using RecordingView::RecordingView;
  bool ShowConvoyResults(int countryId) override {
    EXPECT_TRUE(IsMainThread());
    EXPECT_GT(GetFrameworkLockHoldsOfThisThread(), 0);
    shownFor.push_back(countryId);
    open = true;
    framesOpen = 0;
    return true;
  }
  bool ConvoyResultsOpen() const override { return open; }
  std::vector<int> shownFor;
  bool open = false;
  int framesOpen = 0;
};

TEST(ConvoyThread, WorkerSailsConvoysAndWaitsForTheResultsTheFrameLoopShowsAndCloses) {
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
  twtest::TempDir dir;
  const sGameStartSettings settings = twtest::CopyFixtureScenario(dir.Path());
  twtest::ScopedWorkingFolder folder(dir.Path());
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  LoadWorld(settings);
  std::unique_ptr<cWorld> owned(g_pWorld);
  ASSERT_NE(owned, nullptr);
  cWorld& world = *owned;
  world.constants.maxSupply = 20;
  world.constants.convoyFactors.fill(1.0f);
  world.constants.convoyRouteFactors = {0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  world.ResetCitySupplyRows();
  for (auto& country : world.Countries()) country->human = country->id == kEastmark;
  cCity* eastport = ConvoyPortCityOfNode(world, kEastport);
  cCity* straitport = ConvoyPortCityOfNode(world, kStraitport);
  ASSERT_NE(eastport, nullptr);
  ASSERT_NE(straitport, nullptr);
  cConvoyStore& store = world.Units().convoys;
  store.ConvoysOf(kEastmark)->clear();
  cConvoy convoy(world, kEastmark, kConvoySupplies, eastport, straitport);
  convoy.value = 10;
  store.Add(convoy);
  const ConvoyCityGroups groups = {{eastport}, {straitport}};
  std::vector<sConvoySupplyDraw> draws;
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    if (unit->countryId == kEastmark) draws.push_back({unit, straitport});
  }
  auto view = std::make_unique<ConvoyResultsView>(world);
  ConvoyResultsView& results = *view;
  world.SetView(std::move(view));

  g_bRunning = true;
  CreateFrameworkLock();
  SetMainThreadToCurrent();
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int impulse = 1; impulse <= kImpulses; ++impulse) {
      LockedStep([&] {
        world.impulseCounters[0] = impulse;
        eastport->supplyInfo[kEastmark - 1] = 20;
        straitport->supplyInfo[kEastmark - 1] = 0;
        world.GetCountry(kEastmark)->seaTransportPoints = 5;
        ExecuteCountryConvoys(world, kEastmark, groups, draws);
      });
      ExecuteConvoys(world);
      // Each wait ended with the results closed.
      EXPECT_FALSE(LockedStep([&] { return results.open; }));
    }
    done = true;
  });
  int frames = 0;
  // At least one frame, however fast the worker is.
  do {
    DrainMainThreadRequests();
    {
      const cFrameworkLockGuard lock;
      // What the results dialog and the convoys dialog read.
      for (const sConvoyResult& result : *store.ResultsOf(kEastmark)) EXPECT_FALSE(result.resultText.empty());
      EXPECT_EQ(store.ConvoysOf(kEastmark)->size(), 1u);
      if (results.open && ++results.framesOpen >= 3) {
        results.open = false;
        results.TellDialogClosed();
      }
      ++frames;
    }
    plat::Sleep(1);
  } while (!done);
  worker.join();
  DiscardMainThreadRequests();
  DeleteFrameworkLock();
  g_bRunning = false;

  // Only the human country was shown its results, once an impulse.
  EXPECT_EQ(results.shownFor, std::vector<int>(kImpulses, kEastmark));
  EXPECT_EQ(straitport->supplyInfo[kEastmark - 1], 20);
  EXPECT_GT(frames, 0);
  owned.reset();
  g_pWorld = nullptr;
}

}  // namespace
