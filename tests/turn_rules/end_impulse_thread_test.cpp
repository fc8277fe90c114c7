// The end of an impulse played for real on a worker thread while the main
// thread reads the world under the framework lock, serves the request
// queue and closes the messages the worker waits for.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "rules/end_impulse.h"
#include "rules/world_turn.h"
#include "support/fake_platform_framework.h"
#include "turn_rules/turn_world.h"
#include "world/jednostka_ladowa.h"

namespace {

// Messages stay open until the main thread closes them.
class ClosableView : public twtest::MessageView {
 public:
  using MessageView::MessageView;
  void ShowMessage(std::wstring_view text, std::wstring_view title) override {
    MessageView::ShowMessage(text, title);
    open = true;
    ++shown;
  }
  bool IsMessageOpen() const override { return open; }
  bool open = false;  // under the framework lock
  std::atomic<int> shown{0};
};

// The framework lock switched on, as while the game runs.
struct RunningLock {
  RunningLock() {
    CreateFrameworkLock();
    g_bRunning = true;
  }
  ~RunningLock() {
    g_bRunning = false;
    DeleteFrameworkLock();
  }
};

TEST(EndImpulseThread, WorkerEndsImpulsesWhileTheMainThreadReadsAndServesItsRequests) {
  SetMainThreadToCurrent();
  const RunningLock running;
  twtest::FakePlatformFramework frame;
  twtest::TurnWorld w({"~~~~~~~", "~ppppp~", "~~~~~~~"}, {kAlliesLeader, kAxisLeader, kAxis});
  cWorld& world = *w.world;
  auto owned = std::make_unique<ClosableView>(world);
  ClosableView& view = *owned;
  world.SetView(std::move(owned));
  std::atomic<bool> stop{false};
  world.SetWorkerStopFlag(&stop);
  w.War(1, 2);
  w.War(1, 3);
  LandUnitConstants().baseStrength.fill({10, 10, 10, 10, 10, 10, 10});
  world.constants.siegeFactors = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f};  // a siege that never ends
  world.constants.upkeepFactor = 0.1f;
  world.constants.researchCost.fill(20);
  world.constants.researchLimit.fill(5);
  w.Country(1).techInvestment[kTechArtillery] = 2;
  w.Country(1).doctrineMonths = {1, 2, 3, 4, 5};
  w.Country(3).techInvestment[kTechTanks] = 1;
  // A's city besieged by two units of C; B holds no city and surrenders at
  // the first end; C's city stands at the east end.
  for (int x = 1; x <= 5; ++x) w.Hex(x, 1).controller = w.Hex(x, 1).owner = 3;
  w.City(2, 1, 1, kCitySupply, 1, 10.0f);
  w.AddUnit(2, 1, 1).level = 1;
  w.AddUnit(1, 1, 3);
  w.AddUnit(3, 1, 3);
  w.AddUnit(4, 1, 2);
  w.City(5, 1, 3, kCitySupply, 2, 10.0f);
  constexpr int kImpulses = 12;
  world.turnsLeft = kImpulses - 1;  // the last end finds the time run out

  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < kImpulses && !world.gameOver; ++i) EndImpulse(world, true);
    done = true;
  });
  double seen = 0.0;
  int frames = 0;
  while (!done) {
    {
      const cFrameworkLockGuard lock;
      for (const cJednostkaLadowa* unit : world.Units().landUnits) seen += unit->entrenchment + unit->actionPoints;
      for (const auto& country : world.Countries()) seen += country->productionPoints + country->techLevel[0];
      seen += static_cast<double>(world.reports.Reports().size()) + world.GetDate().turn;
      if (view.open && ++frames % 3 == 0) {  // the player reads and closes it
        view.open = false;
        view.TellDialogClosed();
      }
    }
    DrainMainThreadRequests();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  DrainMainThreadRequests();
  EXPECT_GT(seen, 0.0);
  EXPECT_TRUE(world.gameOver);
  EXPECT_FALSE(frame.shutdown) << "the ended game stays open";
  EXPECT_FALSE(w.Country(2).active);
  EXPECT_EQ(w.Country(3).alliance, kAxisLeader);
  EXPECT_EQ(world.impulseCounters[0], kImpulses - 1);
  // The surrender (two messages), a siege every impulse and the end.
  EXPECT_GE(view.shown.load(), 2 + kImpulses);
  EXPECT_EQ(w.Reports(kReportSiege).size(), static_cast<std::size_t>(kImpulses * 3));
}

}  // namespace
