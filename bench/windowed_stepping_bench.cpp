// One impulse of computer play of "Europe, September 1939" as the windowed
// game steps it, with every delay at 0: the worker plays on the real clock
// (its waits are real sleeps) while this thread runs the window's main loop
// (the frame guard of the framework lock, the main-thread queue drained, the
// moving unit stepped by the map screen's clock, the lock held for the
// render, then the wait for the frame limit). The render is stood in for by
// holding the lock for its time, so the figure is the stepping's alone.
// Goal in a Release build: a round under 1 s. Arguments: the frame interval
// (ms, 0 = no frame limit) and the render's time (ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"
#include "headless_game/headless_play.h"
#include "platform/clock.h"
#include "rules/moving_unit_step.h"
#include "rules/worker_thread.h"
#include "support/europe_folder.h"
#include "world/game_phase.h"
#include "world/world.h"

namespace {

struct sStepping {
  int frames = 0;
  int steps = 0;
  int impulses = 0;
};

// The window's main loop until the worker has played one impulse.
sStepping PlayOneImpulseInFrames(cWorld& world, unsigned seed, int intervalMs, int renderMs) {
  sStepping played;
  cMovingUnitClock stepper;
  stepper.SetLastStepMs(plat::GetTickCount());
  int counter = 0;
  {
    const cFrameworkLockGuard lock;
    counter = world.impulseCounters[0];
  }
  StartAiThread(world, sWorkerStartOptions{seed, 1});
  for (;;) {
    const std::uint32_t frameStart = plat::GetTickCount();
    GuardFrameWithFrameworkLock(true);
    DrainMainThreadRequests();
    if (stepper.Step(world, plat::GetTickCount())) ++played.steps;
    if (renderMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(renderMs));
    GuardFrameWithFrameworkLock(false);
    ++played.frames;
    if (AiThreadFinished() || world.GetGameState() == kPhaseHumanTurn) break;
    const int spent = static_cast<int>(plat::GetTickCount() - frameStart);
    if (intervalMs > spent) std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs - spent));
  }
  DrainMainThreadRequests();
  StopAiThread();
  const cFrameworkLockGuard lock;
  played.impulses = world.impulseCounters[0] - counter;
  return played;
}

void BM_ComputerImpulseEurope1939Windowed(benchmark::State& state) {
  const cEuropeFolder europe;
  if (!europe.Found()) {
    state.SkipWithError(cEuropeFolder::kMissing);
    return;
  }
  const cHeadlessMainThread mainThread;
  cWorld* world = LoadHeadlessGame(cEuropeFolder::kPattern, false);
  if (world == nullptr) {
    state.SkipWithError("not loaded");
    return;
  }
  const int intervalMs = static_cast<int>(state.range(0));
  const int renderMs = static_cast<int>(state.range(1));
  unsigned seed = 1;
  sStepping total;
  for (auto _ : state) {
    state.PauseTiming();
    world->turnsLeft = 1000;
    state.ResumeTiming();
    const sStepping played = PlayOneImpulseInFrames(*world, seed++, intervalMs, renderMs);
    total.frames += played.frames;
    total.steps += played.steps;
    total.impulses += played.impulses;
    if (played.impulses != 1 || world->gameOver) {
      state.SkipWithError("the game ended");
      break;
    }
  }
  state.counters["frames"] = benchmark::Counter(total.frames, benchmark::Counter::kAvgIterations);
  state.counters["steps"] = benchmark::Counter(total.steps, benchmark::Counter::kAvgIterations);
  const cFrameworkLockGuard lock;
  delete g_pWorld;
  g_pWorld = nullptr;
}
// 60 frames a second with a 4 ms render; no frame limit with the same render.
BENCHMARK(BM_ComputerImpulseEurope1939Windowed)
    ->Args({16, 4})
    ->Args({0, 4})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
