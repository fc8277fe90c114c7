// The worker waits for a computer's combat report that the map screen put
// up, while the frame loop runs: the player's Enter or the report's own
// countdown ends the wait. The map screen tells the world of every dialog
// that leaves the stack; without that the wait below would never end.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "files/world_loader.h"
#include "frame/device_events.h"
#include "frame/input_routing.h"
#include "frame/window_rest.h"
#include "platform/recording_renderer.h"
#include "rules/worker_messages.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/combat_result.h"
#include "world/world.h"

namespace {

class DialogWaitThread : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
    const sGameStartSettings start = twtest::CopyFixtureScenario(folder_.Path());
    CreateFrameworkLock();
    g_bRunning = true;
    SetMainThreadToCurrent();
    renderer_.SetStoreRecords(false);
    frame_.SetFrameGuard(GuardFrameWithFrameworkLock);
    frame_.SetCallbackMsgProc(MsgProc);
    frame_.SetCallbackFrameRender(OnFrameRender);
    sWorldLoadHooks hooks;
    hooks.makeView = MakeMapScreen;
    const cFrameworkLockGuard lock;
    LoadWorld(start, hooks);
    ASSERT_NE(g_pWorld, nullptr);
    g_pWorld->SetWorkerStopFlag(&stop_);
    LoadedMapScreen()->EnterMapState();
    LoadedMapScreen()->EnterComputerPhase();
  }
  void TearDown() override {
    {
      const cFrameworkLockGuard lock;
      delete g_pWorld;
      g_pWorld = nullptr;
    }
    RetireCurrentMenu();
    DeleteRetiredMenus();
    DeleteRetiredDialogs();
    g_Delays[kDelayAICombatResult] = saved_delay_;
    g_bRunning = false;
    DeleteFrameworkLock();
  }

  // Runs the frame loop while the worker shows its reports one by one, each
  // held for the time given; player() acts in every frame (under the lock,
  // as input does). Ends when the worker has, or after 20 s (a failure).
  void PlayFrames(std::initializer_list<float> reportsMs, const std::function<void()>& player) {
    sBombardmentResult result;
    result.attackerCountry = 1;
    result.defenderCountry = 2;
    const std::vector<float> times(reportsMs);
    std::thread worker([&] {
      for (const float ms : times) {
        g_Delays[kDelayAICombatResult] = ms;
        ShowComputerCombatResultAndWait(*g_pWorld, result);
        ++reported_;
      }
      done_ = true;
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    frame_.framesToRun = 1000000;
    frame_.beforeFrame = [&] {
      if (done_ || std::chrono::steady_clock::now() > end) {
        frame_.Shutdown(0);
        return;
      }
      player();
    };
    frame_.MainLoop();
    if (!done_) {
      ADD_FAILURE() << "the worker's wait did not end";
      stop_ = true;
    }
    worker.join();
  }

  // The report is up and the worker sleeps in its wait (its first trace
  // line is written).
  bool WorkerWaitsForTheReport() const {
    if (FindDialogById(cDialogWynikuWalki::kId) == nullptr) return false;
    for (const std::wstring& line : log_.Lines()) {
      if (line.rfind(L"S: ", 0) == 0 && line.find(L"worker_messages.cpp") != std::wstring::npos) return true;
    }
    return false;
  }

  void PressEnter() {
    frame_.Send({plat::kWmKeyDown, plat::kVkReturn, 0});
    frame_.Send({plat::kWmKeyUp, plat::kVkReturn, 0});
  }

  twtest::TempWorkingFolder folder_;
  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework frame_{&renderer_};
  twtest::LogCapture log_;
  const float saved_delay_ = g_Delays[kDelayAICombatResult].load();
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<int> reported_{0};
};

// A report that waits for a click, closed with Enter once the worker
// sleeps in its wait; then one of 300 ms that its countdown closes (three
// frames of 100 ms). The window may rest under the first, not while the
// second counts down.
TEST_F(DialogWaitThread, WaitEndsWhenThePlayerOrTheCountdownClosesTheReport) {
  int presses = 0;
  bool restUnderTheHeldReport = false;
  bool restUnderTheCountdown = false;
  PlayFrames({-1000.0f, 300.0f}, [&] {
    const bool mayRest = WindowMayRest(g_pWorld);
    if (reported_ > 0) {
      restUnderTheCountdown |= mayRest && FindDialogById(cDialogWynikuWalki::kId) != nullptr;
      return;
    }
    if (!WorkerWaitsForTheReport()) return;
    restUnderTheHeldReport = mayRest;
    ++presses;
    PressEnter();
  });
  EXPECT_EQ(reported_.load(), 2);
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(FindDialogById(cDialogWynikuWalki::kId), nullptr);
  EXPECT_TRUE(restUnderTheHeldReport);
  EXPECT_FALSE(restUnderTheCountdown);
}

}  // namespace
