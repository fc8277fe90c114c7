#include "world/worker_wake.h"

void cWorkerWake::Notify() {
  // Taken and let go so that a sleeper between its look at what it waits
  // for and its sleep is asleep before it is woken: the change made before
  // this call is then seen by its next look.
  { const std::lock_guard<std::mutex> lock(mutex_); }
  wake_.notify_all();
}

void cWorkerWake::SleepUntil(const std::function<bool()>& ready) {
  std::unique_lock<std::mutex> lock(mutex_);
  wake_.wait(lock, ready);
}
