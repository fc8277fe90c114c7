#include "rules/worker_thread.h"

#include <thread>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/string_base.h"
#include "platform/clock.h"
#include "platform/rand.h"
#include "rules/world_turn.h"
#include "world/country.h"
#include "world/turn_state.h"
#include "world/world.h"
#include "world/world_view.h"

std::atomic<bool> g_bEventsCheckRequested{false};

namespace {

// The run flag and its negation (the form the stoppable waits take). Both
// are written by the thread that starts and stops the worker and read by
// the worker at every pass and in every wait.
std::atomic<bool> g_AiThreadRun{false};
std::atomic<bool> g_AiThreadStop{true};

// Started and joined by the main thread only.
std::thread g_AiThread;
// Counts the threads started, so that a world's stop hook only stops the
// thread that was started for it.
std::atomic<unsigned> g_AiThreadGeneration{0};

// Between idle passes: short enough that a phase change is taken up at
// once, long enough not to burn a core.
constexpr int kIdlePassMs = 2;
// The wait for the main thread's step of a computer move.
constexpr int kMoveWaitMs = 50;
// The wait while the main thread holds the end of an impulse in phase 3.
constexpr int kEndOfImpulseWaitMs = 200;

constexpr int kDummyStrength = -1;
// Country type flags of a country whose turn is the events check only.
constexpr int kEventsOnlyCountry = 1;

// The run flag is cleared, or the world is already being destroyed (its
// destruction clears the flag right after).
bool Stopping(const cWorld& world) {
  return !g_AiThreadRun.load() || world.GetGameState() == kPhaseWorldDestroyed;
}

// Human countries none of which can ever be handed a turn: the impulses
// would follow each other without pause. The computer phase ends with no
// country current, as when nobody can move.
bool StopWhenNoHumanCanMove(cWorld& world) {
  if (!HumanCountriesStalled(world.Countries())) return false;
  LogLine(L"No human country can ever move: the computer players stop");
  const cFrameworkLockGuard lock;
  world.turnState.SetCurrentCountry(nullptr);
  return true;
}

// Plays countries until a human one is current or the game is over. False
// when the thread is stopping.
bool PlayComputerPhase(cWorld& world) {
  LogLine(L"==== STARTING AI THREAD =====");
  cTurnState& turn = world.turnState;
  for (;;) {
    cCountry* country = turn.currentCountry;
    if (country != nullptr) {
      if (country->politicalStrength == kDummyStrength || !country->active) {
        LogLine(g_StringBase.GetText("dummy_country,_ending_sequence"));
      } else {
        const int index = country->id - 1;
        if (index >= 0 && index < static_cast<int>(world.aiPlayers.size()) && world.aiPlayers[index]) {
          world.aiPlayers[index]->PlayTurn();
        }
      }
      // A computer move the main thread is still stepping.
      while (world.GetGameState() == kPhaseComputerMove) {
        if (!TracedSleepUnlessStopped(kMoveWaitMs, __FILE__, __LINE__, g_AiThreadStop)) return false;
      }
      const cFrameworkLockGuard lock;
      country->finishedTurn = true;
    }
    if (Stopping(world)) return false;

    cCountry* next = PickCurrentCountry(world.Countries());
    if (next != nullptr) {
      const cFrameworkLockGuard lock;
      turn.SetCurrentCountry(next);
    } else {
      // Everyone has moved: the impulse ends and the next one begins with
      // its first country.
      {
        const cFrameworkLockGuard lock;
        for (auto& each : world.Countries()) each->finishedTurn = false;
        turn.SetCurrentCountry(PickCurrentCountry(world.Countries()));
      }
      world.SetGameState(kPhaseEndOfTurn);
      EndImpulse(world, true);
      LogLine(L"Updatuje minimape po koncu impulsu");
      ChangeWorldView([](cWorldView& view) { view.RefreshDateLine(); });
      world.SetGameState(kPhaseComputerPlayers);
      while (world.GetGameState() == kPhaseEndOfTurn && !world.gameOver) {
        if (!TracedSleepUnlessStopped(kEndOfImpulseWaitMs, __FILE__, __LINE__, g_AiThreadStop)) {
          return false;
        }
      }
      if (Stopping(world)) return false;
      // No country can move at all: nobody is left to hand over to.
      if (turn.currentCountry == nullptr) break;
      if (StopWhenNoHumanCanMove(world)) break;
    }
    if (world.gameOver) break;
    if (turn.currentCountry->human) break;
  }

  LogLine(L"==== AI THREAD FINISHED =====");
  // The current country's view of the units is recalculated here once the
  // visibility rules exist.
  cCountry* current = turn.currentCountry;
  // The map view and the marks are drawn by the main thread: change them
  // under the framework lock.
  const bool eventsOnly = current != nullptr && current->specialFlags == kEventsOnlyCountry;
  {
    const cFrameworkLockGuard lock;
    turn.viewCountry = current;
    if (current != nullptr && !eventsOnly) {
      float x = 0.0f, y = 0.0f, zoom = 0.0f;
      current->GetMapView(x, y, zoom);
      if (zoom >= 0.0f) {
        world.GetMap().ScrollViewTo(sMapPointF{x, y}, true);
      } else {
        turn.CenterOnCurrentCountry(true);
      }
    }
  }
  if (eventsOnly) CheckEvents(world);
  turn.Deselect();
  // The panels come back as they were before the computer phase, and phase 7
  // is set last, so that the main thread finds the hand-over complete. The
  // panels are the main thread's: it does both and the worker waits.
  if (world.View() == nullptr) {
    const cFrameworkLockGuard lock;
    world.SetGameState(kPhaseHumanTurn);
    return true;
  }
  return RunOnMainThread(
      [&world] {
        if (cWorldView* view = world.View()) view->LeaveComputerPhase();
      },
      &g_AiThreadStop);
}

}  // namespace

const std::atomic<bool>* AiThreadStopFlag() { return &g_AiThreadStop; }

bool IsAiThreadRunning() { return g_AiThreadRun.load(); }

int AiThreadProc(cWorld* world) {
  plat::Srand(plat::GetTickCount());
  while (g_AiThreadRun.load()) {
    if (world == nullptr) {
      plat::Sleep(kIdlePassMs);
      continue;
    }
    if (world->GetGameState() != kPhaseComputerPlayers) {
      if (g_bEventsCheckRequested.exchange(false)) CheckEvents(*world);
      plat::Sleep(kIdlePassMs);
      continue;
    }
    if (!PlayComputerPhase(*world)) break;
  }
  return 0;
}

int StartAiThread() {
  StopAiThread();
  cWorld* world = g_pWorld;
  const unsigned generation = ++g_AiThreadGeneration;
  if (world != nullptr) {
    world->SetWorkerStopHook([generation] {
      if (g_AiThreadGeneration.load() == generation) StopAiThread();
    });
    world->SetWorkerStopFlag(&g_AiThreadStop);
  }
  g_AiThreadStop.store(false);
  g_AiThreadRun.store(true);
  g_AiThread = std::thread([world] { AiThreadProc(world); });
  return 0;
}

int StopAiThread() {
  g_AiThreadRun.store(false);
  g_AiThreadStop.store(true);
  if (!g_AiThread.joinable()) return 0;
  if (g_AiThread.get_id() == std::this_thread::get_id()) {
    // Asked by the worker itself: it ends at its next look at the flag.
    g_AiThread.detach();
    return 0;
  }
  // The worker may be waiting for the lock: let go of it while waiting for
  // the worker to end.
  const cFrameworkLockSuspension suspension;
  g_AiThread.join();
  return 0;
}
