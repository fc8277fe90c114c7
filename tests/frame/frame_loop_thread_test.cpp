// The frame loop on the main thread and the worker playing the fixture's
// computer phases at the same time: input, frame move and render hold the
// framework lock, the worker changes the world in short locked steps and
// hands the turn over through the main-thread queue. Run under
// ThreadSanitizer, any unguarded access of both shows up here.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "ai/ai_player.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "dialogs/cheats_dialog.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "files/world_loader.h"
#include "frame/device_events.h"
#include "frame/input_routing.h"
#include "gui/dxut_editbox.h"
#include "platform/recording_renderer.h"
#include "rules/land_move_orders.h"
#include "rules/worker_thread.h"
#include "rules/world_turn.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/menu.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/country.h"
#include "world/computer_player.h"
#include "world/game_phase.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

constexpr int kImpulses = 50;

plat::Message Key(unsigned key, bool down) { return {down ? plat::kWmKeyDown : plat::kWmKeyUp, key, 0}; }
plat::Message Mouse(unsigned msg, int x, int y, int wheel = 0) {
  return {msg, static_cast<std::uintptr_t>(static_cast<std::uint16_t>(wheel)) << 16, plat::MakeMouseLParam(x, y)};
}

// A computer player that really moves its land units, with the moves
// shown: to a hex two columns away, aside, and toward an ultimate target,
// in turn. Its changes go through the worker's locked steps.
class cMovingComputerPlayer : public cComputerPlayer {
 public:
  explicit cMovingComputerPlayer(int countryId) : id_(countryId) {}
  void PlayTurn(cWorld& world) override {
    std::vector<cJednostkaLadowa*> mine;
    for (cJednostkaLadowa* unit : world.Units().landUnits) {
      if (unit->countryId == id_ && world.GetMap().IsInside(unit->x, unit->y)) mine.push_back(unit);
    }
    for (cJednostkaLadowa* unit : mine) {
      if (WorkerStopping(world)) return;
      const int order = orders_++ % 3;
      const int toward = unit->x < world.GetMap().GetWidth() / 2 ? 2 : -2;
      LockedStep([&] {
        unit->visible = true;
        unit->actionPoints = unit->startingActionPoints;
        unit->aiUltimateTargetX = std::clamp(unit->x + 2 * toward, 0, world.GetMap().GetWidth() - 1);
        unit->aiUltimateTargetY = unit->y;
      });
      unit->ComputeMoveRange(true);
      if (order == 0) AiMoveToHex(world, *unit, unit->x + toward, unit->y);
      if (order == 1) MoveAside(world, *unit);
      if (order == 2) AiAdvanceToUltimateTarget(world, *unit);
    }
  }

 private:
  int id_;
  int orders_ = 0;
};

// Whether the information bar is back from the computer phase: its panel
// handles shown, the computer indicator hidden.
bool BarUnlocked() {
  cInfoPanel* bar = LoadedMapScreen()->InfoPanel();
  return bar->Dialog().GetControl(kInfoUnitHandleId)->GetVisible() &&
         !bar->Dialog().GetControl(kInfoComputerIndicatorId)->GetVisible();
}

struct sPlayResult {
  int handOvers = 0;
  int cheatsOpenInComputerPhase = 0;
  int selectedInComputerPhase = 0;
  int humanTurnWithBarLocked = 0;
  int stepped = 0;
};

// Loads the fixture with country 1 human and the others played by make,
// runs the frame loop with a player's input every frame until the human's
// turn has come impulses times (ending it each time), and frees the world
// inside a frame, as the pause menu's exit does.
// With pressF12, the player also presses F12 in every frame and, while the
// developer dialog is open, types production and diplomacy points into it.
sPlayResult PlayFrames(const ComputerPlayerMaker& make, int impulses, bool pressF12 = false) {
  sPlayResult result;
  twtest::TempWorkingFolder folder;
  EXPECT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
  const sGameStartSettings start = twtest::CopyFixtureScenario(folder.Path());
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
  hooks.makeComputerPlayer = make;
  hooks.makeView = MakeMapScreen;
  hooks.endImpulse = [](cWorld& world) { EndImpulse(world, false); };
  {
    const cFrameworkLockGuard lock;
    LoadWorld(start, hooks);
  }
  EXPECT_NE(g_pWorld, nullptr);
  if (g_pWorld == nullptr) return result;
  cWorld& world = *g_pWorld;
  // One human country; the others are the worker's to play.
  for (auto& country : world.Countries()) country->human = false;
  world.GetCountry(1)->human = true;
  // The game runs past the scenario's length: the test counts impulses.
  world.turnsLeft = 10 * impulses;
  // The worker's moves are stepped by the map screen's frame move; count
  // the steps it finishes.
  StartAiThread(world);
  {
    const cFrameworkLockGuard lock;
    LoadedMapScreen()->StartGame();
  }

  int frameNumber = 0;
  int lastPhase = 0;
  frame.framesToRun = 1000000;
  frame.beforeFrame = [&] {
    ++frameNumber;
    // The player reads and closes what the ends of impulses show.
    if (LoadedMapScreen()->IsMessageOpen()) PopDialogs(1);
    const int phase = world.GetGameState();
    if (phase == kPhaseComputerPlayers && lastPhase == kPhaseComputerMove) ++result.stepped;
    lastPhase = phase;
    for (unsigned key : {9u, 37u, 39u, unsigned{'Q'}, unsigned{'U'}, 107u, 109u}) {
      frame.Send(Key(key, true));
      frame.Send(Key(key, false));
    }
    frame.Send(Mouse(plat::kWmMouseMove, 300 + frameNumber % 200, 300));
    frame.Send(Mouse(plat::kWmMouseWheel, 400, 300, frameNumber % 2 == 0 ? 120 : -120));
    frame.Send(Mouse(plat::kWmLButtonDown, 500, 400));
    frame.Send(Mouse(plat::kWmLButtonUp, 500, 400));
    const sMinimapRect& minimap = world.GetMap().minimapRect;
    if (frameNumber % 3 == 0 && minimap.width > 0) {
      const int mx = minimap.x + minimap.width / 2, my = minimap.y + minimap.height / 2;
      frame.Send(Mouse(plat::kWmLButtonDown, mx, my));
      frame.Send(Mouse(plat::kWmLButtonUp, mx, my));
    }
    if (pressF12) {
      frame.Send(Key(123, true));
      frame.Send(Key(123, false));
      auto* cheats = dynamic_cast<cDialogCheatow*>(FindDialogById(cDialogCheatow::kId));
      if (cheats != nullptr) {
        if (world.GetGameState() != kPhaseHumanTurn) ++result.cheatsOpenInComputerPhase;
        // Typing reaches the dialog with the framework lock held, as all input.
        const cFrameworkLockGuard lock;
        for (int id : {cDialogCheatow::kProductionId, cDialogCheatow::kDiplomacyId}) {
          cheats->Edit(id)->SetText(std::to_wstring(100 + frameNumber % 50).c_str());
          cheats->OnGUIEvent(EVENT_EDITBOX_CHANGE, id, cheats->Edit(id));
        }
      }
    }
    if (phase == kPhaseComputerPlayers && world.turnState.selectedHex != nullptr) ++result.selectedInComputerPhase;
    if (phase != kPhaseHumanTurn) return;
    if (!BarUnlocked()) ++result.humanTurnWithBarLocked;
    if (++result.handOvers >= impulses) {
      frame.Shutdown(0);
      return;
    }
    world.turnState.Deselect(world);
    LoadedMapScreen()->EnterComputerPhase();
  };
  frame.MainLoop();

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
  return result;
}

TEST(FrameLoopThread, InputAndFramesDuringFiftyImpulsesOfComputerPlay) {
  for (auto& delay : g_Delays) delay = 0.0f;
  const sPlayResult result = PlayFrames(MakeAiPlayer, kImpulses);
  EXPECT_EQ(result.handOvers, kImpulses);
  EXPECT_EQ(result.selectedInComputerPhase, 0);
  EXPECT_EQ(result.humanTurnWithBarLocked, 0);
}

// F12 pressed in every frame, and points typed into the developer dialog
// whenever it is open, while the computer plays real turns: the dialog
// belongs to the human turn, so the worker's reads of the points never
// meet the dialog's writes.
TEST(FrameLoopThread, DeveloperDialogKeyDuringTheComputersTurns) {
  for (auto& delay : g_Delays) delay = 0.0f;
  const sPlayResult result = PlayFrames(MakeAiPlayer, 30, true);
  EXPECT_EQ(result.handOvers, 30);
  EXPECT_EQ(result.cheatsOpenInComputerPhase, 0);
}

// The computer moves units with the moves shown while the player scrolls,
// zooms and clicks the minimap; the map screen's frame move steps every
// move along the path the land-move rules built. With the
// after-move delay at 0 and at a few milliseconds.
TEST(FrameLoopThread, ComputerMovesShownWhileThePlayerScrollsAndZooms) {
  for (auto [delayMs, impulses] : {std::pair{0.0f, 8}, {3.0f, 4}}) {
    for (auto& delay : g_Delays) delay = 0.0f;
    g_Delays[kDelayAIMoveAfter] = delayMs;
    const sPlayResult result =
        PlayFrames([](int id) { return std::make_unique<cMovingComputerPlayer>(id); }, impulses);
    EXPECT_EQ(result.handOvers, impulses) << delayMs;
    EXPECT_GE(result.stepped, impulses - 1) << delayMs;
    EXPECT_EQ(result.selectedInComputerPhase, 0) << delayMs;
    EXPECT_EQ(result.humanTurnWithBarLocked, 0) << delayMs;
  }
  g_Delays[kDelayAIMoveAfter] = 0.0f;
}

}  // namespace
