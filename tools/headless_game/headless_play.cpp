#include "headless_game/headless_play.h"

#include <chrono>
#include <thread>

#include "ai/ai_player.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "files/world_loader.h"
#include "rules/moving_unit_step.h"
#include "rules/worker_thread.h"
#include "rules/world_turn.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/turn_state.h"
#include "world/world.h"

namespace {

using WallClock = std::chrono::steady_clock;

// Long enough for the other thread to get a core, short enough that a
// thousand polls of a move cost a tenth of a second.
constexpr auto kRealPause = std::chrono::microseconds(50);

// The main loop's frame: one virtual millisecond, so a move's step is due
// at every pass with the delays at 0.
constexpr int kFrameMs = 1;

double Seconds(WallClock::duration span) { return std::chrono::duration<double>(span).count(); }

}  // namespace

cHeadlessMainThread::cHeadlessMainThread() {
  CreateFrameworkLock();
  g_bRunning = true;
  SetMainThreadToCurrent();
}

cHeadlessMainThread::~cHeadlessMainThread() {
  g_bRunning = false;
  DeleteFrameworkLock();
}

cFastClock::cFastClock() { plat::SetClock(this); }

cFastClock::~cFastClock() { plat::SetClock(nullptr); }

std::uint32_t cFastClock::TickCount() { return static_cast<std::uint32_t>(now_.load()); }

void cFastClock::Sleep(int ms) {
  if (ms > 0) now_.fetch_add(static_cast<std::uint64_t>(ms));
  std::this_thread::sleep_for(kRealPause);
}

cWorld* LoadHeadlessGame(const std::wstring& folderPattern, bool savedGame) {
  for (auto& delay : g_Delays) delay = 0.0f;
  sWorldLoadHooks hooks;
  hooks.makeComputerPlayer = MakeAiPlayer;
  hooks.endImpulse = [](cWorld& world) { EndImpulse(world, false); };
  {
    const cFrameworkLockGuard lock;
    LoadWorld(sGameStartSettings{folderPattern, savedGame ? 1 : 0}, hooks);
  }
  if (g_pWorld == nullptr) return nullptr;
  cWorld& world = *g_pWorld;
  for (auto& country : world.Countries()) country->human = false;
  cTurnState& turn = world.turnState;
  if (turn.currentCountry == nullptr) turn.SetCurrentCountry(PickCurrentCountry(world.Countries()));
  world.SetGameState(kPhaseComputerPlayers);
  return &world;
}

sHeadlessPlay PlayHeadlessImpulses(cWorld& world, int impulses, unsigned seed) {
  sHeadlessPlay play;
  cMovingUnitClock stepper;
  stepper.SetLastStepMs(plat::GetTickCount());
  int counter = 0;
  {
    const cFrameworkLockGuard lock;
    counter = world.impulseCounters[0];
  }
  const int firstCounter = counter;
  const WallClock::time_point start = WallClock::now();
  WallClock::time_point impulseStart = start;
  StartAiThread(world, sWorkerStartOptions{seed, impulses});
  for (;;) {
    DrainMainThreadRequests();
    int seen = 0;
    {
      const cFrameworkLockGuard lock;
      if (stepper.Step(world, plat::GetTickCount())) ++play.steps;
      seen = world.impulseCounters[0];
    }
    if (seen != counter) {
      const WallClock::time_point now = WallClock::now();
      const double took = Seconds(now - impulseStart);
      if (took > play.slowestSeconds) {
        play.slowestSeconds = took;
        play.slowestImpulse = seen - firstCounter;
      }
      impulseStart = now;
      counter = seen;
    }
    if (AiThreadFinished()) break;
    // The computer phase ended with nobody current (no country can move):
    // with no human to hand over to, the worker would idle for ever.
    if (world.GetGameState() == kPhaseHumanTurn) break;
    plat::Sleep(kFrameMs);
  }
  // What the worker posted last (the end of the game, a fatal error).
  DrainMainThreadRequests();
  StopAiThread();
  play.seconds = Seconds(WallClock::now() - start);
  {
    const cFrameworkLockGuard lock;
    play.impulses = world.impulseCounters[0] - firstCounter;
    play.gameOver = world.gameOver;
  }
  return play;
}
