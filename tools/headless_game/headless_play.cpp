#include "headless_game/headless_play.h"

#include <chrono>
#include <thread>
#include <vector>

#include "ai/ai_player.h"
#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "app/settings.h"
#include "files/world_loader.h"
#include "rules/moving_unit_step.h"
#include "rules/worker_thread.h"
#include "rules/world_turn.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/turn_state.h"
#include "world/world.h"

namespace {

using WallClock = std::chrono::steady_clock;

// The longest a sleep waits for the other thread's turn: only a thread
// held up by something else than a sleep (the framework lock, the log)
// lets it run out.
constexpr auto kHandOverLimit = std::chrono::milliseconds(1);
// How long a sleep waits for its turn by yielding the core before it blocks:
// a turn handed back at once (the other thread's pass of a few microseconds)
// then costs no futex wake-up, which takes far longer on a busy machine.
constexpr auto kHandOverSpin = std::chrono::microseconds(50);

// The main loop's frame: one virtual millisecond, so a move's step is due
// at every pass with the delays at 0.
constexpr int kFrameMs = 1;

double Seconds(WallClock::duration span) { return std::chrono::duration<double>(span).count(); }

// Marks the countries that hold no city or have surrendered after the
// impulse; the caller holds the framework lock.
void MarkFallen(const cWorld& world, int impulse, std::vector<int>& fell) {
  const auto& countries = world.Countries();
  fell.resize(countries.size(), -1);
  std::vector<int> cities(countries.size() + 1, 0);
  for (const cCity* city : world.Cities()) {
    const int id = city->GetControllerId();
    if (id >= 1 && static_cast<std::size_t>(id) <= countries.size()) ++cities[static_cast<std::size_t>(id)];
  }
  for (std::size_t i = 0; i < countries.size(); ++i) {
    const cCountry* country = countries[i].get();
    if (country == nullptr || fell[i] >= 0) continue;
    const int id = country->id;
    const bool held =
        id >= 1 && static_cast<std::size_t>(id) < cities.size() && cities[static_cast<std::size_t>(id)] > 0;
    if (!held || !country->active) fell[i] = impulse;
  }
}

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
  const std::uint64_t mine = ++sleeps_;
  // A thread blocked on the turn is woken; one that is still spinning sees
  // the count change by itself, and nobody pays for a wake-up.
  if (blocked_.load() > 0) {
    const std::lock_guard<std::mutex> lock(handOver_);
    turn_.notify_all();
  }
  const auto handedOver = [&] { return sleeps_.load() != mine; };
  const WallClock::time_point start = WallClock::now();
  while (!handedOver()) {
    const WallClock::duration waited = WallClock::now() - start;
    if (waited >= kHandOverSpin) {
      std::unique_lock<std::mutex> lock(handOver_);
      ++blocked_;
      turn_.wait_for(lock, kHandOverLimit - waited, handedOver);
      --blocked_;
      return;
    }
    std::this_thread::yield();
  }
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
  {
    const cFrameworkLockGuard lock;
    // A country with no city at the start fell before the run.
    MarkFallen(world, 0, play.fell);
  }
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
      if (seen != counter) MarkFallen(world, seen - firstCounter, play.fell);
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
    if (world.impulseCounters[0] != counter) MarkFallen(world, play.impulses, play.fell);
  }
  return play;
}
