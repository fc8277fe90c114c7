// What the worker thread sleeps on while it has nothing to do: it wakes
// when something may have given it work (the game's phase changed, the
// events check was asked for) or when it is told to stop, and then looks
// again at what it waits for. The worker's module owns it; a world the
// worker plays tells it of every change of the phase (cWorld::SetWorkerWake).
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

class cWorkerWake {
 public:
  // What the worker waits for may have come (set it first): a sleeping
  // worker wakes and asks again.
  void Notify();
  // Sleeps until ready() holds. ready() is asked at once and after every
  // Notify, under the signal's own mutex, never under the framework lock;
  // it should read only atomics.
  void SleepUntil(const std::function<bool()>& ready);

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
};
