#include "rules/worker_thread.h"

#include <thread>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/log_rotation.h"
#include "app/string_base.h"
#include "platform/clock.h"
#include "platform/rand.h"
#include "platform/thread_name.h"
#include "rules/rule_helpers.h"
#include "rules/world_turn.h"
#include "world/country.h"
#include "world/turn_state.h"
#include "world/units_visibility.h"
#include "world/world.h"
#include "world/worker_steps.h"
#include "world/worker_wake.h"
#include "world/world_view.h"

std::atomic<bool> g_bEventsCheckRequested{false};

namespace {

// The run flag and its negation (the form the stoppable waits take). Both
// are written by the thread that starts and stops the worker and read by
// the worker at every pass and in every wait.
std::atomic<bool> g_AiThreadRun{false};
std::atomic<bool> g_AiThreadStop{true};
// Set when the thread body returns; cleared by every start.
std::atomic<bool> g_AiThreadFinished{false};

// What the worker sleeps on with nothing to do: the world it plays wakes
// it at every change of the phase, the events check's request and the stop
// wake it too.
cWorkerWake g_AiThreadWake;
// Started and joined by the main thread only.
std::thread g_AiThread;
// Counts the threads started, so that a world's stop hook only stops the
// thread that was started for it.
std::atomic<unsigned> g_AiThreadGeneration{0};

// The wait for the main thread's step of a computer move.
constexpr int kMoveWaitMs = 50;
// The wait while the main thread holds the end of an impulse in phase 3.
constexpr int kEndOfImpulseWaitMs = 200;

constexpr int kDummyStrength = -1;
// Country type flags of a country whose turn is the events check only.

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
  LockedStep([&world] { world.turnState.SetCurrentCountry(nullptr); });
  return true;
}

// The ends of impulses this run of the thread has played, against its limit.
struct sImpulseBudget {
  int limit = 0;
  int played = 0;
  bool Spent() const { return limit > 0 && played >= limit; }
};

// Plays countries until a human one is current or the game is over. False
// when the thread is stopping (also when its impulses are spent).
bool PlayComputerPhase(cWorld& world, sImpulseBudget& budget) {
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
          world.aiPlayers[index]->PlayTurn(world);
        }
      }
      // A computer move the main thread is still stepping.
      if (!WaitWhilePhase(world, kPhaseComputerMove, kMoveWaitMs, __FILE__, __LINE__)) return false;
    }
    // The turn is handed over in one step: the country that has played is
    // done and the next one becomes current. Each step waits for the main
    // thread's frame to end, so two steps would cost two frames a country.
    // Everyone has moved: the impulse ends and the next one begins with its
    // first country.
    bool stopping = false;
    bool impulseOver = false;
    LockedStep([&] {
      if (country != nullptr) country->finishedTurn = true;
      stopping = Stopping(world);
      if (stopping) return;
      cCountry* next = PickCurrentCountry(world.Countries());
      impulseOver = next == nullptr;
      if (impulseOver) {
        for (auto& each : world.Countries()) each->finishedTurn = false;
        next = PickCurrentCountry(world.Countries());
      }
      turn.SetCurrentCountry(next);
    });
    if (stopping) return false;
    if (impulseOver) {
      world.SetGameState(kPhaseEndOfTurn);
      EndImpulse(world, true);
      LogLine(L"Updatuje minimape po koncu impulsu");
      // A game without a human turn never starts its log anew: it is
      // rotated here, between two impulses, once it has grown too large.
      RotateLogIfLarger(g_ConsoleLog, kLogRotationBytes);
      ChangeWorldView([](cWorldView& view) { view.RefreshDateLine(); });
      world.SetGameState(kPhaseComputerPlayers);
      const bool waited = WaitWhile(
          world, [&world] { return world.GetGameState() == kPhaseEndOfTurn && !world.gameOver; },
          kEndOfImpulseWaitMs, __FILE__, __LINE__);
      if (!waited || Stopping(world)) return false;
      // The game has ended: the map goes back to the player, who may still
      // look at it and save; the worker waits as after any computer phase.
      if (world.gameOver) break;
      ++budget.played;
      if (budget.Spent()) {
        LogLine(L"The worker stops after %i impulses", budget.played);
        return false;
      }
      // No country can move at all: nobody is left to hand over to.
      if (turn.currentCountry == nullptr) break;
      if (StopWhenNoHumanCanMove(world)) break;
    }
    if (world.gameOver) break;
    if (turn.currentCountry->human) break;
  }
  return HandOverToHuman(world);
}

}  // namespace

bool HandOverToHuman(cWorld& world) {
  LogLine(L"==== AI THREAD FINISHED =====");
  LogLine(L"rekalkuluje fog of war");
  cTurnState& turn = world.turnState;
  cCountry* current = turn.currentCountry;
  const bool eventsOnly = current != nullptr && current->specialFlags == kEventsOnlyCountry;
  // What the new viewer sees of the units, and the viewer itself: the map
  // draws both.
  LockedStep([&world, &turn, current] {
    if (current != nullptr) RecalculateUnitsVisibility(world, *current);
    turn.viewCountry = current;
  });
  if (eventsOnly) CheckEvents(world);
  if (world.View() == nullptr) {
    // No screen shows the world: nothing to glide or to bring back.
    turn.Deselect(world);
    LockedStep([&world] { world.SetGameState(kPhaseHumanTurn); });
    return true;
  }
  // The selection, the camera and the panels are the main thread's: it
  // clears the selection, begins the glide to the country's stored view and
  // brings the panels back in one request, phase 7 last, so no frame sees
  // the human turn half handed over and no selection of the player's is
  // cleared by the worker.
  return RunOnMainThread(
      [&world, current, eventsOnly] {
        world.turnState.Deselect(world);
        cWorldView* view = world.View();
        if (view == nullptr) {
          world.SetGameState(kPhaseHumanTurn);
          return;
        }
        if (current != nullptr && !eventsOnly) view->GlideToCountryView(*current);
        // The greeting comes up over the map as the turn begins.
        if (current != nullptr && current->human && !eventsOnly) view->GreetHumanTurn(current->id);
        view->LeaveComputerPhase();
      },
      world.WorkerStopFlag());
}

bool IsAiThreadRunning() { return g_AiThreadRun.load(); }

namespace {

// The computer phase, or an events check asked for.
bool HasWork(const cWorld* world) {
  return world != nullptr &&
         (world->GetGameState() == kPhaseComputerPlayers || g_bEventsCheckRequested.load());
}

void RunWorkerLoop(cWorld* world, sImpulseBudget& budget) {
  while (g_AiThreadRun.load()) {
    if (world != nullptr && world->GetGameState() == kPhaseComputerPlayers) {
      if (!PlayComputerPhase(*world, budget)) break;
      continue;
    }
    if (world != nullptr && g_bEventsCheckRequested.exchange(false)) CheckEvents(*world);
    // Nothing to do (the human turn, the pause menu, a move of the
    // player's): the thread sleeps until the phase changes, an events
    // check is asked for or the stop comes.
    g_AiThreadWake.SleepUntil([world] { return !g_AiThreadRun.load() || HasWork(world); });
  }
}

}  // namespace

bool AiThreadFinished() { return g_AiThreadFinished.load(); }

void RequestEventsCheck() {
  g_bEventsCheckRequested.store(true);
  g_AiThreadWake.Notify();
}

int AiThreadProc(cWorld* world, const sWorkerStartOptions& options) {
  plat::Srand(options.seed ? *options.seed : plat::GetTickCount());
  sImpulseBudget budget{options.impulseLimit, 0};
  try {
    RunWorkerLoop(world, budget);
  } catch (const sThreadFatalStop&) {
    // A fatal data error: the main thread has been asked to end the program.
    // Whatever this thread still held of the lock goes with it.
    while (GetFrameworkLockHoldsOfThisThread() > 0) ReleaseFrameworkLock(nullptr, 0);
    g_AiThreadStop.store(true);
  }
  g_AiThreadFinished.store(true);
  return 0;
}

int StartAiThread(cWorld& world, const sWorkerStartOptions& options) {
  StopAiThread(&world);
  const unsigned generation = ++g_AiThreadGeneration;
  world.SetWorkerStopHook([generation, &world] {
    if (g_AiThreadGeneration.load() == generation) StopAiThread(&world);
  });
  world.SetWorkerStopFlag(&g_AiThreadStop);
  world.SetWorkerWake(&g_AiThreadWake);
  g_AiThreadStop.store(false);
  g_AiThreadFinished.store(false);
  g_AiThreadRun.store(true);
  g_AiThread = std::thread([&world, options] {
    plat::NameThisThread("tw-worker");
    AiThreadProc(&world, options);
  });
  return 0;
}

int StopAiThread(const cWorld* world) {
  g_AiThreadRun.store(false);
  g_AiThreadStop.store(true);
  g_AiThreadWake.Notify();
  if (world != nullptr) world->DialogCloses().WakeForStop();
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
