#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/framework_lock.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "platform/clock.h"
#include "support/test_support.h"

// At global scope so that its demangled name is plain.
class cWaitProbeDialog : public cDialog {
 public:
  cWaitProbeDialog() : cDialog(321) {}
};

namespace {

class DialogWait : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateFrameworkLock();
    g_bRunning = true;
    plat::SetClock(&clock_);
  }
  void TearDown() override {
    g_bRunning = false;
    DeleteRetiredDialogs();
    DeleteFrameworkLock();
    plat::SetClock(nullptr);
  }
  twtest::LogCapture log_;
  plat::ManualClock clock_;
};

TEST_F(DialogWait, WaitForDialogThreadReturnsOnceMainThreadClosesIt) {
  g_DialogStack.clear();
  g_pActiveDialog = nullptr;
  PushDialog(new cWaitProbeDialog());
  cDialog* dialog = g_pActiveDialog;
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    WaitForDialogClose(dialog, "src/worker.cpp", 77);
    returned = true;
  });
  // A few passes go by, then the dialog is closed under the lock as an input handler would.
  while (clock_.SleepCalls() < 3) std::this_thread::yield();
  EXPECT_FALSE(returned);
  AcquireFrameworkLock(nullptr, 0);
  PopDialogs(1);
  ReleaseFrameworkLock(nullptr, 0);
  worker.join();
  EXPECT_TRUE(g_DialogStack.empty());
  EXPECT_TRUE(log_.Contains(L"WBC:cWaitProbeDialog:src/worker.cpp:77"));
  EXPECT_GE(clock_.SleepCalls(), 4);  // three passes while open and the last one
  EXPECT_EQ(clock_.TotalSlept(), 100u * static_cast<unsigned>(clock_.SleepCalls()));

  // A stopped worker gives up on a dialog still open; one that has gone
  // (and been freed) ends the wait with success, stop flag or not, without
  // being touched.
  const std::atomic<bool> stop{true};
  PushDialog(new cWaitProbeDialog());
  EXPECT_FALSE(WaitForDialogClose(g_pActiveDialog, "src/worker.cpp", 5, &stop));
  DeleteRetiredDialogs();
  EXPECT_TRUE(WaitForDialogClose(dialog, "src/worker.cpp", 6, &stop));
  EXPECT_TRUE(log_.Contains(L"WBC:cDialog:src/worker.cpp:6"));
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  PopDialogs(1);
}

}  // namespace
