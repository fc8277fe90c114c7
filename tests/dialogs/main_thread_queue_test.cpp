// The worker's requests to the main thread: a worker thread posts the
// construction and push of a dialog and waits; the main thread drains the
// queue in its frame loop. Named "Thread" for the ThreadSanitizer run.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "dialogs/dialog_stack.h"
#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "dialogs/dialog.h"
#include "support/test_support.h"

namespace {

class MainThreadQueueThread : public ::testing::Test {
 protected:
  void SetUp() override {
    g_bRunning = true;
    CreateFrameworkLock();
    SetMainThreadToCurrent();
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    g_bRunning = false;
    DeleteFrameworkLock();
  }
};

TEST_F(MainThreadQueueThread, WorkerWaitsUntilTheMainThreadHasBuiltAndPushedItsDialog) {
  std::atomic<bool> returned{false};
  std::thread::id builtOn;
  cDialog* pushed = nullptr;
  std::thread worker([&] {
    const bool ran = RunOnMainThread([&] {
      builtOn = std::this_thread::get_id();
      pushed = new cDialog(77);
      PushDialog(pushed);
    });
    EXPECT_TRUE(ran);
    returned = true;
  });
  // The main thread's frames: nothing is built outside a drain.
  while (PendingMainThreadRequests() == 0) std::this_thread::yield();
  EXPECT_FALSE(returned.load());
  EXPECT_TRUE(g_DialogStack.empty());
  DrainMainThreadRequests();
  worker.join();
  EXPECT_TRUE(returned.load());
  EXPECT_EQ(builtOn, std::this_thread::get_id());
  ASSERT_EQ(g_DialogStack.size(), 1u);
  EXPECT_EQ(g_DialogStack.back(), pushed);
  EXPECT_EQ(PendingMainThreadRequests(), 0);
}

TEST_F(MainThreadQueueThread, StopFlagWithdrawsARequestTheMainThreadNeverDrained) {
  std::atomic<bool> stop{false};
  std::atomic<int> runs{0};
  bool ran = true;
  std::thread worker([&] { ran = RunOnMainThread([&] { ++runs; }, &stop); });
  while (PendingMainThreadRequests() == 0) std::this_thread::yield();
  stop = true;
  worker.join();
  EXPECT_FALSE(ran);
  EXPECT_EQ(PendingMainThreadRequests(), 0);
  DrainMainThreadRequests();
  EXPECT_EQ(runs.load(), 0);
}

TEST_F(MainThreadQueueThread, RequestsRunInPostingOrderAndOnTheMainThreadAtOnce) {
  std::vector<int> order;
  std::atomic<int> done{0};
  std::thread first([&] { RunOnMainThread([&] { order.push_back(1); }); ++done; });
  while (PendingMainThreadRequests() < 1) std::this_thread::yield();
  std::thread second([&] { RunOnMainThread([&] { order.push_back(2); }); ++done; });
  while (PendingMainThreadRequests() < 2) std::this_thread::yield();
  DrainMainThreadRequests();
  first.join();
  second.join();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  // Posted from the main thread itself it cannot wait for a drain: it runs.
  EXPECT_TRUE(RunOnMainThread([&] { order.push_back(3); }));
  EXPECT_EQ(order.back(), 3);
}

// A worker that holds the framework lock could never see its request run
// (the main thread's frame needs the lock): the request is refused with a
// log line, and nothing is queued.
TEST_F(MainThreadQueueThread, RequestsOfAThreadHoldingTheLockAreRefused) {
  twtest::LogCapture log;
  std::atomic<int> runs{0};
  bool ran = true;
  std::thread worker([&] {
    const cFrameworkLockGuard lock;
    ran = RunOnMainThread([&] { ++runs; });
  });
  worker.join();
  EXPECT_FALSE(ran);
  EXPECT_EQ(PendingMainThreadRequests(), 0);
  EXPECT_TRUE(log.Contains(L"ERROR: RunOnMainThread asked by a thread that holds the framework lock; refused"));
  // The main thread inside its frame still runs its own requests at once.
  const cFrameworkLockGuard frame;
  EXPECT_TRUE(RunOnMainThread([&] { ++runs; }));
  EXPECT_EQ(runs.load(), 1);
}

// A fatal data error on the worker: the worker's work unwinds (the thread
// catches sThreadFatalStop), and the fatal exit itself happens on the main
// thread at its next drain, where the test's throwing hook takes the
// process's place. A request posted after it stays queued. The error's line
// goes to stderr once, from the worker that wrote it.
TEST_F(MainThreadQueueThread, FatalExitOnAWorkerEndsTheGameThroughTheMainThread) {
  const cScopedThrowingFatalHook hook;
  twtest::LogCapture log;
  ::testing::internal::CaptureStderr();
  int stoppedWith = 0;
  std::thread worker([&] {
    try {
      const cFrameworkLockGuard step;
      FatalExit(L"bad data", 1);
    } catch (const sThreadFatalStop& stop) {
      stoppedWith = stop.exitCode;
    }
    PostToMainThread([] {});
  });
  worker.join();
  EXPECT_EQ(stoppedWith, 1);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  EXPECT_EQ(PendingMainThreadRequests(), 2);
  int exitCode = 0;
  try {
    DrainMainThreadRequests();
  } catch (const sFatalExitError& error) {
    exitCode = error.exitCode;
  }
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(PendingMainThreadRequests(), 1);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  DrainMainThreadRequests();
  EXPECT_TRUE(log.Contains(L"bad data"));
  EXPECT_TRUE(log.Contains(L"Fatal error on a worker thread: the main thread ends the game (exit code 1)"));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "bad data\n");
}

}  // namespace
