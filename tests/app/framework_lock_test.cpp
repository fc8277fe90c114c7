#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "app/dialog_stack.h"
#include "app/framework_lock.h"
#include "dialogs/dialog.h"
#include "platform/clock.h"
#include "support/test_support.h"

// At global scope so that its demangled name is plain.
class cWaitProbeDialog : public cDialog {
 public:
  cWaitProbeDialog() : cDialog(321) {}
};

namespace {

using namespace std::chrono_literals;

class FrameworkLock : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateFrameworkLock();
    g_bRunning = true;
  }
  void TearDown() override {
    g_bRunning = false;
    DeleteFrameworkLock();
    plat::SetClock(nullptr);
  }
  twtest::LogCapture log_;
};

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

TEST_F(FrameworkLock, DoesNothingWhileNotRunning) {
  g_bRunning = false;
  AcquireFrameworkLock("src/a.cpp", 1);
  ReleaseFrameworkLock("src/a.cpp", 2);
  ReleaseFrameworkLock("src/a.cpp", 3);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  EXPECT_TRUE(log_.Lines().empty());
}

TEST_F(FrameworkLock, TracesNamedHoldsAndCountsEveryHold) {
  AcquireFrameworkLock("src/x.cpp", 42);
  AcquireFrameworkLock(nullptr, 0);  // the render path leaves no trace
  AcquireFrameworkLock("\xE9.cpp", 9);  // widened byte by byte
  EXPECT_EQ(GetFrameworkLockHoldCount(), 3);
  ReleaseFrameworkLock("\xE9.cpp", 10);
  ReleaseFrameworkLock(nullptr, 0);
  ReleaseFrameworkLock("src/x.cpp", 43);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  EXPECT_EQ(log_.Lines(), (std::vector<std::wstring>{L"AC:src/x.cpp:42", L"AC:\u00E9.cpp:9",
                                                     L"RC:\u00E9.cpp:10", L"RC:src/x.cpp:43"}));
}

TEST_F(FrameworkLock, TraceNamesTheSourceRelativeToTheTree) {
  const int line = __LINE__;
  AcquireFrameworkLock(__FILE__, line);
  ReleaseFrameworkLock(nullptr, 0);
  EXPECT_EQ(log_.Lines(), std::vector<std::wstring>{L"AC:tests/app/framework_lock_test.cpp:" +
                                                    std::to_wstring(line)});
}

TEST_F(FrameworkLock, ReleaseWithoutHoldIsLoggedAndChangesNothing) {
  ReleaseFrameworkLock("f.cpp", 5);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
  EXPECT_EQ(log_.Lines(), (std::vector<std::wstring>{L"RC:f.cpp:5", L"LCS przy C<=0"}));
  // The lock still works afterwards.
  AcquireFrameworkLock(nullptr, 0);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 1);
  ReleaseFrameworkLock(nullptr, 0);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
}

TEST_F(FrameworkLock, OtherThreadBlocksUntilEveryRecursiveHoldIsReleased) {
  AcquireFrameworkLock(nullptr, 0);
  AcquireFrameworkLock(nullptr, 0);
  std::atomic<bool> entered{false};
  std::thread other([&] {
    AcquireFrameworkLock(nullptr, 0);
    entered = true;
    ReleaseFrameworkLock(nullptr, 0);
  });
  std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(entered);
  ReleaseFrameworkLock(nullptr, 0);
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(entered);
  ReleaseFrameworkLock(nullptr, 0);
  other.join();
  EXPECT_TRUE(entered);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
}

TEST_F(FrameworkLock, TracedSleepWarnsOnlyAboveElevenSeconds) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  TracedSleep(11000, "src/w.cpp", 7);
  EXPECT_EQ(log_.Lines(), std::vector<std::wstring>{L"S: src/w.cpp : 7 : 11000 ms"});
  TracedSleep(11001, "src/w.cpp", 8);
  const auto lines = log_.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], std::wstring(L"Oj chyba b") + wchar_t(0x00C4) + wchar_t(0x2122) + L"dzie zwis");
  EXPECT_EQ(lines[2], L"S: src/w.cpp : 8 : 11001 ms");
  EXPECT_EQ(clock.TotalSlept(), 22001u);
}

TEST_F(FrameworkLock, TracedSleepNamesTheFileInTheOemCodePageCutTo256Units) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  TracedSleep(5, "a\x82.cpp", 1);  // 0x82 is e acute in code page 437
  TracedSleep(0, std::string(300, 'x').c_str(), 2);
  EXPECT_EQ(log_.Lines(), (std::vector<std::wstring>{L"S: a\u00E9.cpp : 1 : 5 ms",
                                                     L"S: " + std::wstring(256, L'x') + L" : 2 : 0 ms"}));
  EXPECT_EQ(clock.SleepCalls(), 2);
}

TEST_F(FrameworkLock, WaitForDialogNotOnStackTakesOnePass) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  auto dialog = std::make_unique<cWaitProbeDialog>();
  const int line = __LINE__;
  WaitForDialogClose(dialog.get(), "src/caller.cpp", line);
  const auto lines = log_.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(StartsWith(lines[0], L"AC:src/app/framework_lock.cpp:")) << lines[0];
  EXPECT_TRUE(StartsWith(lines[1], L"RC:src/app/framework_lock.cpp:")) << lines[1];
  EXPECT_EQ(lines[2], L"WBC:cWaitProbeDialog:src/caller.cpp:" + std::to_wstring(line));
  EXPECT_EQ(clock.TotalSlept(), 100u);
  EXPECT_EQ(clock.SleepCalls(), 1);
  EXPECT_EQ(GetFrameworkLockHoldCount(), 0);
}

TEST_F(FrameworkLock, WaitForDialogThreadReturnsOnceMainThreadClosesIt) {
  plat::ManualClock clock;
  plat::SetClock(&clock);
  g_DialogStack.clear();
  g_pActiveDialog = nullptr;
  PushDialog(new cWaitProbeDialog());
  cDialog* dialog = g_pActiveDialog;
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    WaitForDialogClose(dialog, "src/worker.cpp", 77);
    returned = true;
  });
  // The main thread lets a few passes go by, then closes the dialog under
  // the lock as an input handler would.
  while (clock.SleepCalls() < 3) std::this_thread::yield();
  EXPECT_FALSE(returned);
  AcquireFrameworkLock(nullptr, 0);
  PopDialogs(1);
  ReleaseFrameworkLock(nullptr, 0);
  worker.join();
  EXPECT_TRUE(g_DialogStack.empty());
  int waits = 0;
  for (const auto& text : log_.Lines()) {
    if (StartsWith(text, L"WBC:")) {
      EXPECT_EQ(text, L"WBC:cWaitProbeDialog:src/worker.cpp:77");
      ++waits;
    }
  }
  EXPECT_GE(waits, 4);  // at least three passes while open and the last one
  EXPECT_EQ(clock.TotalSlept(), 100u * static_cast<unsigned>(waits));
}

}  // namespace
