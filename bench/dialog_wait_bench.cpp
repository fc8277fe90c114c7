// The worker's wait for a dialog the view keeps open, with no frame
// holding the framework lock: each iteration waits while another thread
// keeps a message open for 500 ms and then closes it, as the map screen
// does. The CPU column over the Time column is the waiting thread's share
// of a core (the closing thread's time is not counted). In the game the
// main thread's frames hold the lock most of the time instead:
// scripts/dialog_wait_cpu_walk.sh measures the worker there.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/framework_lock.h"
#include "support/recording_view.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

class cHeldMessageView final : public twtest::RecordingView {
 public:
  using RecordingView::RecordingView;
  bool IsMessageOpen() const override { return open; }
  bool open = false;  // under the framework lock
};

void BM_WorkerWaitForAMessageHeldOpen(benchmark::State& state) {
  CreateFrameworkLock();
  g_bRunning = true;
  {
    cWorld world;
    auto owned = std::make_unique<cHeldMessageView>(world);
    cHeldMessageView& view = *owned;
    world.SetView(std::move(owned));
    for (auto _ : state) {
      LockedStep([&view] { view.open = true; });
      std::thread closer([&view] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const cFrameworkLockGuard lock;
        view.open = false;
        view.TellDialogClosed();
      });
      WaitWhileViewShows(world, &cWorldView::IsMessageOpen, 100, __FILE__, __LINE__);
      closer.join();
    }
  }
  g_bRunning = false;
  DeleteFrameworkLock();
}
BENCHMARK(BM_WorkerWaitForAMessageHeldOpen)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
