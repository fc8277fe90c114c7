// A worker thread doing the real thing while this thread runs frames as the
// game's frame loop does: each frame takes the worker's requests to the
// main thread, then looks at the world holding the framework lock.
#pragma once

#include <atomic>
#include <thread>

#include "app/framework_lock.h"
#include "app/main_thread_queue.h"

namespace twtest {

// Runs work() on a worker that begins once the first frame has run, and
// frames until the worker has ended; each calls frame() under the
// framework lock. The lock exists and the game runs (g_bRunning) for the
// time of the call. Returns the number of frames.
template <class Work, class Frame>
int RunWorkerWithFrames(Work&& work, Frame&& frame) {
  CreateFrameworkLock();
  g_bRunning = true;
  std::atomic<bool> drawing{false};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    while (!drawing) std::this_thread::yield();
    work();
    done = true;
  });
  int frames = 0;
  do {
    DrainMainThreadRequests();
    {
      const cFrameworkLockGuard lock;
      frame();
    }
    ++frames;
    drawing = true;
    std::this_thread::yield();
  } while (!done);
  worker.join();
  DrainMainThreadRequests();
  g_bRunning = false;
  DeleteFrameworkLock();
  return frames;
}

}  // namespace twtest
