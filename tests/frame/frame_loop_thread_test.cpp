// The frame loop on the main thread and the worker playing the fixture's
// computer phases at the same time: input, frame move and render hold the
// framework lock, the worker changes the world in short locked steps and
// hands the turn over through the main-thread queue. Run under
// ThreadSanitizer, any unguarded access of both shows up here.
#include <gtest/gtest.h>

#include <atomic>

#include "ai/ai_player.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "files/world_loader.h"
#include "frame/device_events.h"
#include "frame/input_routing.h"
#include "platform/recording_renderer.h"
#include "rules/worker_thread.h"
#include "rules/world_turn.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {

constexpr int kImpulses = 50;

plat::Message Key(unsigned key, bool down) { return {down ? plat::kWmKeyDown : plat::kWmKeyUp, key, 0}; }
plat::Message Mouse(unsigned msg, int x, int y, int wheel = 0) {
  return {msg, static_cast<std::uintptr_t>(static_cast<std::uint16_t>(wheel)) << 16, plat::MakeMouseLParam(x, y)};
}

TEST(FrameLoopThread, InputAndFramesDuringFiftyImpulsesOfComputerPlay) {
  twtest::TempWorkingFolder folder;
  ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
  const sGameStartSettings start = twtest::CopyFixtureScenario(folder.Path());
  for (auto& delay : g_Delays) delay = 0.0f;
  CreateFrameworkLock();
  g_bRunning = true;
  SetMainThreadToCurrent();
  plat::RecordingRenderer renderer{1024, 768};
  renderer.SetStoreRecords(false);
  twtest::FakeFramework frame{&renderer};
  frame.SetFrameGuard(GuardFrameWithFrameworkLock);
  frame.SetCallbackMsgProc(MsgProc);
  frame.SetCallbackFrameRender(OnFrameRender);

  sWorldLoadHooks hooks;
  hooks.makeComputerPlayer = MakeAiPlayer;
  hooks.makeView = MakeMapScreen;
  hooks.endImpulse = [](cWorld& world) { EndImpulse(world, false); };
  {
    const cFrameworkLockGuard lock;
    LoadWorld(start, hooks);
  }
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& world = *g_pWorld;
  // One human country; the others are the worker's to play.
  for (auto& country : world.Countries()) country->human = false;
  cCountry* human = world.GetCountry(1);
  ASSERT_NE(human, nullptr);
  human->human = true;
  StartAiThread();
  {
    const cFrameworkLockGuard lock;
    LoadedMapScreen()->StartGame();
  }

  // Every frame offers the keys, the wheel and clicks a player would use;
  // each time the human's turn comes, the turn is ended again.
  int handOvers = 0;
  int frameNumber = 0;
  std::atomic<int> selectedInComputerPhase{0};
  frame.framesToRun = 1000000;
  frame.beforeFrame = [&] {
    ++frameNumber;
    const int phase = world.GetGameState();
    for (unsigned key : {9u, 37u, 39u, unsigned{'Q'}, unsigned{'U'}, 107u, 109u}) {
      frame.Send(Key(key, true));
      frame.Send(Key(key, false));
    }
    frame.Send(Mouse(plat::kWmMouseMove, 300 + frameNumber % 200, 300));
    frame.Send(Mouse(plat::kWmMouseWheel, 400, 300, frameNumber % 2 == 0 ? 120 : -120));
    frame.Send(Mouse(plat::kWmLButtonDown, 500, 400));
    frame.Send(Mouse(plat::kWmLButtonUp, 500, 400));
    if (phase == kPhaseComputerPlayers && world.turnState.selectedHex != nullptr) ++selectedInComputerPhase;
    if (phase != kPhaseHumanTurn) return;
    if (++handOvers >= kImpulses) {
      frame.Shutdown(0);
      return;
    }
    world.turnState.Deselect();
    LoadedMapScreen()->EnterComputerPhase();
  };
  frame.MainLoop();
  EXPECT_EQ(handOvers, kImpulses);
  EXPECT_EQ(selectedInComputerPhase.load(), 0);

  // Freed inside a frame, as the pause menu's exit does: the world stops the
  // worker while the main thread holds the lock.
  {
    const cFrameworkLockGuard lock;
    delete g_pWorld;
    g_pWorld = nullptr;
  }
  EXPECT_FALSE(IsAiThreadRunning());
  RetireCurrentMenu();
  DeleteRetiredMenus();
  // The greetings the hand-overs pushed closed with the map screen.
  EXPECT_TRUE(g_DialogStack.empty());
  DeleteRetiredDialogs();
  g_bRunning = false;
  DeleteFrameworkLock();
}

}  // namespace
