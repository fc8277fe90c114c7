// A step under the framework lock waits for the main thread's frame to end,
// so a computer country's turn in which nothing changes must not take one:
// while a frame holds the lock, a country without convoys and without
// queued purchase codes plans its convoys and purchases to the end.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ai/ai_economy.h"
#include "ai/ai_fixture.h"
#include "app/framework_lock.h"

namespace {

TEST(AiIdleTurnThread, NothingToChangeTakesNoStepUnderTheLock) {
  twtest::AiWorld w;
  cCountry& country = w.Country(1);
  country.productionPoints = 0.0;
  ASSERT_TRUE(country.aiData.purchaseQueue.empty());

  CreateFrameworkLock();
  g_bRunning = true;
  AcquireFrameworkLock(nullptr, 0);  // a frame of the main thread
  std::atomic<bool> done{false};
  std::thread worker([&] {
    ai::PlanSupplyConvoys(*w.world, country);
    ai::BuyNewUnits(*w.world, country);
    done = true;
  });
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const bool doneInTheFrame = done;
  ReleaseFrameworkLock(nullptr, 0);
  worker.join();
  g_bRunning = false;
  DeleteFrameworkLock();
  EXPECT_TRUE(doneInTheFrame) << "the idle turn waited for the frame";
}

}  // namespace
