// A purchase is one step under the framework lock: a worker buys units
// through the same rule function the purchases dialog calls while the main
// thread, holding the lock as its frames do, reads the reserve pool and the
// country's points and never sees a unit without its payment.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/framework_lock.h"
#include "rules/purchases.h"
#include "units/land_fixture.h"

namespace {

TEST(PurchasesThread, WorkerBuysWhileTheFrameSeesEveryUnitPaidFor) {
  twtest::LandWorld w({"ppp", "ppp"});
  w.AddCountries({kAllies});
  cCountry& country = w.Country(1);
  country.active = true;
  country.techLevel.fill(1);
  country.productionPoints = 1000.0;
  cWorld& world = *w.world;
  world.constants.levelCostFactors.fill(1.0f);
  world.constants.landBaseStrength[0].fill(2.0f);  // 2 PP a unit

  CreateFrameworkLock();
  g_bRunning = true;
  std::atomic<bool> done{false};
  std::atomic<int> bought{0};
  std::atomic<bool> drawing{false};
  std::thread worker([&] {
    // The purchases begin once the frames do, so the two threads meet.
    while (!drawing) std::this_thread::yield();
    for (int i = 0; i < 300; ++i) {
      if (Purchase(world, sPurchaseOrder{1, i % 7, 1, std::wstring()}) == ePurchaseRefusal::kNone) ++bought;
    }
    done = true;
  });
  int frames = 0;
  do {
    {
      const cFrameworkLockGuard lock;
      const auto units = static_cast<double>(world.Units().reservePool.size());
      EXPECT_DOUBLE_EQ(country.productionPoints, 1000.0 - 2.0 * units);
    }
    ++frames;
    drawing = true;
  } while (!done);
  worker.join();
  g_bRunning = false;
  DeleteFrameworkLock();
  EXPECT_EQ(bought.load(), 300);
  ASSERT_EQ(world.Units().reservePool.size(), 300u);
  EXPECT_EQ(world.Units().reservePool.back()->id - world.Units().reservePool.front()->id, 299);
  EXPECT_DOUBLE_EQ(country.productionPoints, 400.0);
  EXPECT_GT(frames, 0);
}

}  // namespace
