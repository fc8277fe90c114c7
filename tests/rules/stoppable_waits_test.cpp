// The waits the worker thread makes give up once it is told to stop: the
// traced sleep and the wait for a dialog to close.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "dialogs/dialog_stack.h"
#include "app/framework_lock.h"
#include "dialogs/dialog.h"
#include "platform/clock.h"
#include "support/test_support.h"

class cStopProbeDialog : public cDialog {
 public:
  cStopProbeDialog() : cDialog(322) {}
};

namespace {

long long MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

TEST(StoppableWaits, TracedSleepSleepsWholeUnlessStopped) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  twtest::LogCapture log;
  std::atomic<bool> stop{false};
  EXPECT_TRUE(TracedSleepUnlessStopped(50, "src/w.cpp", 9, stop));
  EXPECT_EQ(clock.TotalSlept(), 50u);
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{L"S: src/w.cpp : 9 : 50 ms"});
  stop = true;
  EXPECT_FALSE(TracedSleepUnlessStopped(200, "src/w.cpp", 10, stop));
  EXPECT_EQ(clock.TotalSlept(), 50u);
  EXPECT_EQ(log.Lines().size(), 1u);
  plat::SetClock(nullptr);
}

TEST(StoppableWaits, ThreadGivesUpASleepSoonAfterTheStop) {
  std::atomic<bool> stop{false};
  std::atomic<bool> result{true};
  const auto start = std::chrono::steady_clock::now();
  std::thread sleeper([&] { result = TracedSleepUnlessStopped(5000, "src/w.cpp", 1, stop); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  stop = true;
  sleeper.join();
  EXPECT_FALSE(result);
  EXPECT_LT(MsSince(start), 200);
}

TEST(StoppableWaits, ThreadWaitingForADialogGivesUpWhenStopped) {
  CreateFrameworkLock();
  g_bRunning = true;
  g_DialogStack.clear();
  g_pActiveDialog = nullptr;
  PushDialog(new cStopProbeDialog());
  cDialog* dialog = g_pActiveDialog;
  std::atomic<bool> stop{false};
  std::atomic<int> result{-1};
  std::thread worker([&] { result = WaitForDialogClose(dialog, "src/worker.cpp", 5, &stop) ? 1 : 0; });
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_EQ(result.load(), -1);  // still open: still waiting
  const auto start = std::chrono::steady_clock::now();
  stop = true;
  worker.join();
  EXPECT_LT(MsSince(start), 50);
  EXPECT_EQ(result.load(), 0);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);

  // A dialog that has gone ends the wait with success, stop flag or not.
  AcquireFrameworkLock(nullptr, 0);
  PopDialogs(1);
  ReleaseFrameworkLock(nullptr, 0);
  std::atomic<bool> noStop{false};
  EXPECT_TRUE(WaitForDialogClose(dialog, "src/worker.cpp", 6, &noStop));
  EXPECT_TRUE(WaitForDialogClose(dialog, "src/worker.cpp", 7, &stop));
  g_bRunning = false;
  DeleteRetiredDialogs();
  DeleteFrameworkLock();
}

}  // namespace
