// The worker thread's way through the world. Every change the main thread
// reads (a unit link, the phase hand-over, a country's flags) is one short
// step under the framework lock; every wait after it (the main thread
// stepping a move, a delay between shown actions) is made outside the lock
// and gives up as soon as the worker is told to stop. The camera, the
// selection and the panels are the main thread's: the worker asks for them
// through the world's view (ChangeWorldView, RunOnMainThread).
#pragma once

#include <functional>
#include <utility>

#include "app/framework_lock.h"

class cWorld;
class cWorldView;

// Runs change under the framework lock and returns its result.
template <class Change>
decltype(auto) LockedStep(Change&& change) {
  const cFrameworkLockGuard lock;
  return std::forward<Change>(change)();
}

// True once the world's worker has been told to stop (never for a world
// without a worker stop flag).
bool WorkerStopping(const cWorld& world);

// A traced sleep of ms that ends early when the worker is told to stop:
// false when it ended that way. A caller holding the framework lock is
// refused (logged, false): the frames would stop for the whole delay.
bool StoppableDelay(const cWorld& world, int ms, const char* file, int line);

// Waits in traced sleeps of pollMs while condition() holds (one trace line
// a poll; the wait goes on within a millisecond of the condition's end):
// true once it no longer holds, false when the worker was told to stop first or the caller
// holds the framework lock (the main thread, which the wait is for, could
// then never run a frame).
bool WaitWhile(const cWorld& world, const std::function<bool()>& condition, int pollMs, const char* file,
               int line);
// The common case: the main thread has a step to finish in phase.
bool WaitWhilePhase(const cWorld& world, int phase, int pollMs, const char* file, int line);
// The wait for a dialog the world's view opened (a message, the convoy
// results, an event, the computer's combat report): while isOpen, asked of
// the view under the framework lock, says so. The view is asked at the
// start, whenever a dialog has closed (the world's DialogCloses()) and at
// the end of each poll; in between the worker sleeps without the lock until
// a dialog closes, the poll ends or the stop wakes it (StopAiThread with
// the world), and writes one trace line a poll. A world without a view has
// none open.
bool WaitWhileViewShows(const cWorld& world, bool (cWorldView::*isOpen)() const, int pollMs, const char* file,
                        int line);
