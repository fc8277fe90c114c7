// The one thread besides the main thread: it plays the computer-controlled
// countries, runs the end of every impulse and serves the events-check
// requests. It never moves a unit itself: it sets phase 10 and waits until
// the main thread has stepped the move back to 9 (world/game_phase.h).
#pragma once

#include <atomic>
#include <optional>

#include "world/game_phase.h"

class cWorld;

// What a start may change of the thread's run. The game starts it with
// neither (a generator seeded from the clock, no end); the headless runner,
// the benchmarks and the tests give a seed to replay a game and a number of
// impulses to stop after.
struct sWorkerStartOptions {
  // The seed of the thread's random generator; none: the tick count.
  std::optional<unsigned> seed;
  // The thread ends after this many ends of impulses, in phase 9 with the
  // first country of the next impulse current (0: no limit).
  int impulseLimit = 0;
};

// Starts the thread for the game in world (a thread still running from
// before is stopped first) and makes the world's destruction stop it.
// Returns 0.
int StartAiThread(cWorld& world, const sWorkerStartOptions& options = {});
// Clears the run flag and waits for the thread to finish its current wait
// and end. Every wait of the thread looks at the flag, so it always ends;
// the thread's sleep with nothing to do is woken by the stop, and the
// world's wait for a dialog when the stop is given the world the thread
// plays (without it, at the wait's next poll). Returns 0 (also when no
// thread runs).
int StopAiThread(const cWorld* world = nullptr);
// True while a started thread has not been stopped.
bool IsAiThreadRunning();
// True once the body of the thread last started has returned: its impulse
// limit reached, the game over, a fatal data error, or a stop.
bool AiThreadFinished();

// The thread body, for the world it was started for: seeds the thread's
// generator, then plays phase 9 and serves the events-check requests until
// the run flag is cleared or the impulse limit is reached; in between it
// sleeps until the world's phase changes, a request comes or the stop.
// Returns 0.
int AiThreadProc(cWorld* world, const sWorkerStartOptions& options = {});

// The end of a computer phase, on the worker: the human country now current
// gets the turn. The viewing country becomes the current one (an events-only
// country runs the events check); then the main thread, in one request,
// clears the selection, begins the glide to the country's stored view,
// brings the panels back and sets phase 7 last. Without a view the phase
// is set at once. False when the worker was stopped before the main thread
// took the request.
bool HandOverToHuman(cWorld& world);

// Set by the end of a human turn (and the start of play) to have the events
// check run on the worker thread; cleared there once served.
extern std::atomic<bool> g_bEventsCheckRequested;
// Sets it and wakes the sleeping worker: the way to ask for the check.
void RequestEventsCheck();
