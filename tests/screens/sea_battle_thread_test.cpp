// The sea-battle step across the two threads: the worker runs the step for
// real (the generator finds the meetings, each battle a human fights is
// asked of the main thread and waited for), while the main thread serves the
// request queue in its frames, reads the preliminary report, drives the
// sea-battle screen to the end and closes it. A worker told to stop gives up
// its wait for the screen.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "air_rules/air_fixture.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_element.h"
#include "platform/recording_renderer.h"
#include "rules/sea_battle.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "screens/sea_battle_menu.h"
#include "support/fake_framework.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/report_store.h"

namespace {

class SeaBattleThread : public ::testing::Test {
 protected:
  SeaBattleThread() : w({"~~~~~", "~~~~~", "ppppp"}) {
    w.ThreeCountries();
    w.Country(1).alliance = kAlliesLeader;
    w.Country(2).alliance = kAxisLeader;
    w.Country(1).human = true;
    for (int id = 1; id <= 3; ++id) w.Country(id).techLevel[kTechNavy] = 1;
    sScenarioConstants& k = w.world->constants;
    k.navalSeaBattleValue = {1000, 1000, 1000, 1000, 1000, 1000, 0, 0};  // every meeting is a battle
    k.seaBattleJoinChance = 100;
    k.seaBattleRoundWeights = {0, 1, 0, 0, 0};
    const int zone = w.AddSeaNode(true, 1, 1).id;
    w.AddFleet(1, zone, {kUnitBattleship, kUnitCruiser}, 50);
    w.AddFleet(2, zone, {kUnitCruiser}, 50);
    int id = 0;
    for (cJednostkaMorska* ship : w.world->Units().navalUnits) {
      ship->id = ++id;
      ship->visible = true;
    }
    saved_ = g_Settings;
    g_Settings.SeaBattleTimeout = 0;
    g_pWorld = w.world.get();
    w.world->SetView(MakeMapScreen(*w.world));
    LoadedMapScreen()->EnterMapState();
    w.world->SetWorkerStopFlag(&stop_);
    SetMainThreadToCurrent();
    CreateFrameworkLock();
    g_bRunning = true;
  }
  ~SeaBattleThread() override {
    g_bRunning = false;
    DeleteFrameworkLock();
    RetireCurrentMenu();
    DeleteRetiredMenus();
    PopDialogs(-1);
    DeleteRetiredDialogs();
    DiscardMainThreadRequests();
    w.world->SetView(nullptr);
    w.world->SetWorkerStopFlag(nullptr);
    g_pWorld = nullptr;
    g_Settings = saved_;
  }

  // One frame of the main thread under the lock, as the game's loop runs
  // it: the frame move (which serves the worker's requests), a player who
  // reads every message and presses the screen's buttons, the drawing.
  // Returns the sea-battle screen that was current, if any.
  cSeaBattleMenu* Frame(double time, bool press) {
    const cFrameworkLockGuard lock;
    if (framework_.frameMove) framework_.frameMove(time, 0.05f);
    if (press && !g_DialogStack.empty()) {
      ++messagesRead_;
      PopDialogs(1);
    }
    auto* screen = dynamic_cast<cSeaBattleMenu*>(g_pCurrentMenu);
    if (screen != nullptr) {
      EXPECT_EQ(w.world->GetGameState(), kPhaseSeaBattleScreen);
      screen->OnRender(0.05f);
      CDXUTDialog& dialog = screen->Dialog();
      if (press && dialog.GetControlEnabled(kSeaBattleCloseId)) {
        ++closed_;
        screen->OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleCloseId, nullptr);
      } else if (press && dialog.GetControlEnabled(kSeaBattleAutoEndId)) {
        screen->OnGUIEvent(EVENT_BUTTON_CLICKED, kSeaBattleAutoEndId, nullptr);
      }
    }
    DeleteRetiredMenus();
    DeleteRetiredDialogs();
    return screen;
  }

  plat::RecordingRenderer renderer_{1024, 768};
  twtest::FakeFramework framework_{&renderer_};
  twtest::AirWorld w;
  std::atomic<bool> stop_{false};
  sSettings saved_;
  int messagesRead_ = 0;
  int closed_ = 0;
};

TEST_F(SeaBattleThread, WorkerRunsTheStepWhileTheMainThreadDrivesTheScreen) {
  cWorld& world = *w.world;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    RunSeaBattles(world);
    done = true;
  });
  int frames = 0;
  for (; !done && frames < 20000; ++frames) {
    Frame(frames * 0.05, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  Frame(frames * 0.05, true);  // the status text posted last
  // The Allies met the Axis and the Axis the Allies: two battles a human
  // fought, each shown on its screen and closed by the player; the step
  // ends in phase 4 with the map screen's callbacks back.
  EXPECT_EQ(closed_, 2);
  EXPECT_EQ(g_pCurrentMenu, nullptr);
  EXPECT_EQ(world.GetGameState(), kPhaseSeaBattles);
  int finalReports = 0;
  for (const sReport& report : world.reports.Reports()) {
    finalReports += report.type == 20 && report.text.find(L"Destroyed ships:") != std::wstring::npos ? 1 : 0;
  }
  EXPECT_EQ(finalReports, 2 * 2);  // each battle reported to both countries
  using FrameMove = void (*)(double, float);
  ASSERT_TRUE(framework_.frameMove);
  EXPECT_EQ(*framework_.frameMove.target<FrameMove>(), &WorldOnFrameMoveThunk);
}

TEST_F(SeaBattleThread, WorkerWaitsUntilThePlayerHasReadTheReportOfACancelledBattle) {
  cWorld& world = *w.world;
  // Cargo ships alone never reach the rounds: each meeting ends with its
  // first stage's report, which the player must read before the step goes on.
  const int zone = 1;
  for (cFleet* fleet : world.Units().fleets) fleet->seaNode = zone + 1;  // the warships sail elsewhere
  w.AddFleet(1, zone, {kUnitCargoShip}, 5);
  w.AddFleet(2, zone, {kUnitCargoShip}, 5);
  int id = 0;
  for (cJednostkaMorska* ship : world.Units().navalUnits) ship->id = ++id;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    RunSeaBattles(world);
    done = true;
  });
  // Frames without a reader: the worker stays in the step.
  for (int frames = 0; frames < 50; ++frames) {
    EXPECT_EQ(Frame(frames * 0.05, false), nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_FALSE(done);
  int frames = 0;
  for (; !done && frames < 20000; ++frames) {
    EXPECT_EQ(Frame(frames * 0.05, true), nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  worker.join();
  EXPECT_EQ(messagesRead_, 2);  // the Allies' meeting and the Axis' one
  EXPECT_EQ(closed_, 0);
  EXPECT_EQ(world.GetGameState(), kPhaseSeaBattles);
}

TEST_F(SeaBattleThread, StopFlagEndsTheWorkersWaitForTheScreen) {
  cWorld& world = *w.world;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    RunSeaBattles(world);
    done = true;
  });
  // The screen comes up; nobody presses anything.
  cSeaBattleMenu* shown = nullptr;
  for (int frames = 0; shown == nullptr && frames < 20000; ++frames) {
    shown = Frame(frames * 0.05, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_NE(shown, nullptr);
  EXPECT_FALSE(done);
  // The game is being left: the worker is told to stop and joined without
  // the lock, as the game's own stop does; it fights no further battle.
  stop_ = true;
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(closed_, 0);
  // The screen goes with the game, without touching the battle it showed.
  RetireCurrentMenu();
  DeleteRetiredMenus();
}

}  // namespace
