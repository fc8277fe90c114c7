// The framework lock that serialises the worker thread against rendering and
// input, the traced sleep, a wait that polls under the lock, and the running
// flag that switches the lock on and off.
#pragma once

#include <atomic>
#include <functional>
#include <string_view>

// True from start-up until the main loop has ended; while false the lock
// operations do nothing.
extern std::atomic<bool> g_bRunning;

void CreateFrameworkLock();
void DeleteFrameworkLock();

// file may be null (the frame render passes null and leaves no trace).
void AcquireFrameworkLock(const char* file, int line);
void ReleaseFrameworkLock(const char* file, int line);
// Returns once no thread waits for the lock, or after maxMs: the main thread
// calls it between frames so that the worker gets the lock it waits for
// before the next frame takes it again.
void LetFrameworkLockWaitersIn(int maxMs);

// The main loop's frame guard: with begin, lets a waiting thread have the
// lock first (at most 20 ms), then takes it for the frame; without, lets
// go of it.
void GuardFrameWithFrameworkLock(bool begin);

// Holds not yet released, summed over both threads.
int GetFrameworkLockHoldCount();
// Holds of the calling thread.
int GetFrameworkLockHoldsOfThisThread();
// Threads blocked in AcquireFrameworkLock at this moment.
int GetFrameworkLockWaiterCount();

// A rule's change of the world calls this first. In the test builds (with
// the sanitizers) a calling thread that does not hold the lock while it is
// in use (g_bRunning) is a fault: the log line, a line on stderr and the end
// of the process. Elsewhere it costs nothing.
void FailUnlessFrameworkLockHeld(const char* file, int line);
inline void ExpectFrameworkLockHeld([[maybe_unused]] const char* file, [[maybe_unused]] int line) {
#if defined(TW_SANITIZED)
  FailUnlessFrameworkLockHeld(file, line);
#endif
}

// Holds the lock for its scope (no trace lines), so that a function that
// returns early cannot leave it held.
class cFrameworkLockGuard {
 public:
  cFrameworkLockGuard() { AcquireFrameworkLock(nullptr, 0); }
  ~cFrameworkLockGuard() { ReleaseFrameworkLock(nullptr, 0); }
  cFrameworkLockGuard(const cFrameworkLockGuard&) = delete;
  cFrameworkLockGuard& operator=(const cFrameworkLockGuard&) = delete;
};

// Lets go of every hold of the calling thread for its scope and takes them
// back at its end: the main thread joins the worker inside one, since the
// worker may be waiting for the lock.
class cFrameworkLockSuspension {
 public:
  cFrameworkLockSuspension();
  ~cFrameworkLockSuspension();
  cFrameworkLockSuspension(const cFrameworkLockSuspension&) = delete;
  cFrameworkLockSuspension& operator=(const cFrameworkLockSuspension&) = delete;

 private:
  int holds_ = 0;
};

// Logs "S: <file> : <line> : <ms> ms" and sleeps; the lock is not touched.
void TracedSleep(int ms, const char* file, int line);

// As TracedSleep (one trace line), but the sleep is cut into short slices
// and ends early once stop is set: false when it ended that way.
bool TracedSleepUnlessStopped(int ms, const char* file, int line, const std::atomic<bool>& stop);

// As TracedSleepUnlessStopped (stop may be null), but the sleep also ends
// as soon as over() holds, asked every millisecond: a wait for the other
// thread goes on within a millisecond of what it waits for, while the log
// keeps one trace line per poll. False only when stop ended it.
bool TracedSleepUntil(int ms, const char* file, int line, const std::atomic<bool>* stop,
                      const std::function<bool()>& over);

// As TracedSleepUntil, but the caller's wait does the waiting: it blocks
// for at most the time it is given, returns early when what the caller
// waits for has come (true, which ends the wait) and wakes, returning
// false, when stop is set (the stop must wake it). The stop flag is looked
// at after each return. One trace line for the whole of ms; false only when
// stop ended it.
bool TracedWaitUntil(int ms, const char* file, int line, const std::atomic<bool>* stop,
                     const std::function<bool(int leftMs)>& wait);
