// A game played with no window: every country computer-controlled, the
// delays at 0, the worker seeded, and the main thread's part (the requests
// the worker posts, the hex-by-hex steps of its moves) done by a plain loop
// instead of the frame move. Used by the headless runner, its test and the
// computer-impulse benchmark.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/clock.h"

class cWorld;

// A clock whose sleeps cost almost nothing: a sleep moves the tick count on
// by its length at once and hands the turn to the other thread: it returns
// once another thread has slept in its turn (every wait of the worker and of
// the loop is such a sleep, so the two take turns without polling). A thread
// that waits on something else than a sleep (a lock) is waited for no more
// than kHandOverLimit. A sleep first yields its core while it waits and
// blocks only when the turn is slow to come back, so the many quick turns of
// a sliced pause or of a move's steps cost no wake-up of a blocked thread.
// The worker's polls and pauses then take no real time; nothing of the world
// depends on the time, so a game is the same on it as on the real clock.
// Installed while it lives.
class cFastClock final : public plat::Clock {
 public:
  cFastClock();
  ~cFastClock() override;
  cFastClock(const cFastClock&) = delete;
  cFastClock& operator=(const cFastClock&) = delete;

  std::uint32_t TickCount() override;
  void Sleep(int ms) override;

 private:
  std::atomic<std::uint64_t> now_{0};
  std::atomic<std::uint64_t> sleeps_{0};
  // Sleeps blocked on turn_ (counted under handOver_), whom a sleep wakes.
  std::atomic<int> blocked_{0};
  std::mutex handOver_;
  std::condition_variable turn_;
};

// The calling thread as the game's main thread for the scope: the framework
// lock made and switched on (so the worker's locked steps and this thread's
// loop exclude each other), the main-thread queue drained here. At the end
// the lock is switched off and freed; the world must be gone by then.
class cHeadlessMainThread {
 public:
  cHeadlessMainThread();
  ~cHeadlessMainThread();
  cHeadlessMainThread(const cHeadlessMainThread&) = delete;
  cHeadlessMainThread& operator=(const cHeadlessMainThread&) = delete;
};

// Loads the scenario (or the saved game) folder pattern into g_pWorld with
// the game's computer players and end of impulse and no view, makes every
// country computer-controlled and readies the computer phase (phase 9, the
// first country to move current). Every delay of the settings is set to 0.
// The caller is the main thread (cHeadlessMainThread). Null when no world
// was loaded.
cWorld* LoadHeadlessGame(const std::wstring& folderPattern, bool savedGame);

// What one run of the worker took.
struct sHeadlessPlay {
  int impulses = 0;             // ends of impulses played
  bool gameOver = false;        // the game ended on the way
  double seconds = 0.0;         // wall time of the whole run
  double slowestSeconds = 0.0;  // the longest impulse
  int slowestImpulse = 0;       // its number in the run, from 1
  int steps = 0;                // hexes the loop stepped for the worker's moves
  // Per country id (index id - 1): the impulse of the run (from 1) after
  // which it first held no city or had surrendered; -1 when it never did,
  // 0 when it had none to begin with.
  std::vector<int> fell;

  double ImpulsesPerSecond() const { return seconds > 0.0 ? impulses / seconds : 0.0; }
};

// Plays impulses ends of impulses of the loaded world (readied by
// LoadHeadlessGame, or left by an earlier call) with the worker's generator
// seeded by seed, and returns when the worker has finished: after the last
// of them, or earlier when the game ends or no country can move any more. The
// calling thread serves as the main thread (cHeadlessMainThread). A fatal data
// error on the worker ends the process with its exit code, as in the game.
sHeadlessPlay PlayHeadlessImpulses(cWorld& world, int impulses, unsigned seed);
