#include "world/worker_steps.h"

#include <cstdint>

#include "app/console_log.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

bool RefusedUnderLock(const char* what) {
  if (GetFrameworkLockHoldsOfThisThread() == 0) return false;
  LogLine(L"ERROR: %hs asked while the framework lock is held; refused", what);
  return true;
}

}  // namespace

bool WorkerStopping(const cWorld& world) {
  const std::atomic<bool>* stop = world.WorkerStopFlag();
  return stop != nullptr && stop->load();
}

bool StoppableDelay(const cWorld& world, int ms, const char* file, int line) {
  if (RefusedUnderLock("a worker delay")) return false;
  if (ms <= 0) return !WorkerStopping(world);
  const std::atomic<bool>* stop = world.WorkerStopFlag();
  if (stop == nullptr) {
    TracedSleep(ms, file, line);
    return true;
  }
  return TracedSleepUnlessStopped(ms, file, line, *stop);
}

bool WaitWhile(const cWorld& world, const std::function<bool()>& condition, int pollMs, const char* file,
               int line) {
  if (RefusedUnderLock("a worker wait")) return false;
  // Each poll is one trace line, but the wait ends within a millisecond of
  // the condition's end, not at the end of the poll.
  const auto over = [&condition] { return !condition(); };
  while (condition()) {
    if (!TracedSleepUntil(pollMs, file, line, world.WorkerStopFlag(), over)) return false;
  }
  return true;
}

bool WaitWhilePhase(const cWorld& world, int phase, int pollMs, const char* file, int line) {
  return WaitWhile(world, [&world, phase] { return world.GetGameState() == phase; }, pollMs, file, line);
}

bool WaitWhileViewShows(const cWorld& world, bool (cWorldView::*isOpen)() const, int pollMs, const char* file,
                        int line) {
  if (RefusedUnderLock("a worker wait")) return false;
  const auto open = [&world, isOpen] {
    return LockedStep([&world, isOpen] {
      const cWorldView* view = world.View();
      return view != nullptr && (view->*isOpen)();
    });
  };
  // The closes are counted before the view is asked: a dialog that closes
  // after the answer moves the count past seen, and the wait sees it.
  const cDialogCloseSignal& closes = world.DialogCloses();
  std::uint64_t seen = closes.Closes();
  bool stillOpen = open();
  // The lock is taken again when some dialog has closed and once a poll; in
  // between the worker sleeps on the signal, which its stop wakes too.
  const std::atomic<bool>* stop = world.WorkerStopFlag();
  const auto closed = [&](int leftMs) {
    if (!closes.WaitForCloseAfter(seen, leftMs, stop)) return false;
    stillOpen = open();
    return !stillOpen;
  };
  const int poll = pollMs > 0 ? pollMs : 1;
  while (stillOpen) {
    if (!TracedWaitUntil(poll, file, line, stop, closed)) return false;
    // At the end of each poll the view is asked too: a dialog that left
    // the screen without the signal costs at most one poll.
    if (stillOpen) stillOpen = open();
  }
  return true;
}
