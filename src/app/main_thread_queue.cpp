#include "app/main_thread_queue.h"

#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "platform/clock.h"

namespace {

enum class eState { kPending, kRunning, kDone, kDiscarded };

struct sRequest {
  std::function<void()> work;
  eState state = eState::kPending;
};

// Guards the queue and the state of every request in it or running.
std::mutex g_QueueMutex;
std::deque<std::shared_ptr<sRequest>> g_Queue;

// The thread that runs the program's static set-up is its main thread until
// SetMainThreadToCurrent says otherwise.
std::atomic<std::thread::id> g_MainThread{std::this_thread::get_id()};

eState StateOf(const sRequest& request) {
  std::lock_guard<std::mutex> guard(g_QueueMutex);
  return request.state;
}

// Takes a request off the queue when it has not been started yet.
bool Withdraw(const std::shared_ptr<sRequest>& request) {
  std::lock_guard<std::mutex> guard(g_QueueMutex);
  if (request->state != eState::kPending) return false;
  for (auto it = g_Queue.begin(); it != g_Queue.end(); ++it) {
    if (*it == request) {
      g_Queue.erase(it);
      break;
    }
  }
  return true;
}

}  // namespace

void SetMainThreadToCurrent() { g_MainThread.store(std::this_thread::get_id()); }

bool IsMainThread() { return g_MainThread.load() == std::this_thread::get_id(); }

bool RunOnMainThread(std::function<void()> request, const std::atomic<bool>* stop) {
  if (!request) return true;
  if (IsMainThread()) {
    request();
    return true;
  }
  // The main thread runs the request inside a frame, and a frame needs the
  // lock: waiting for it while holding the lock would never end.
  if (GetFrameworkLockHoldsOfThisThread() > 0) {
    LogLine(L"ERROR: RunOnMainThread asked by a thread that holds the framework lock; refused");
    return false;
  }
  auto posted = std::make_shared<sRequest>();
  posted->work = std::move(request);
  {
    std::lock_guard<std::mutex> guard(g_QueueMutex);
    g_Queue.push_back(posted);
  }
  for (;;) {
    // Looked at under the framework lock, as the wait for a dialog does, so
    // the main thread's frame never sees the worker half-way.
    AcquireFrameworkLock(nullptr, 0);
    const eState state = StateOf(*posted);
    ReleaseFrameworkLock(nullptr, 0);
    if (state == eState::kDone) return true;
    if (state == eState::kDiscarded) return false;
    if (stop != nullptr && stop->load() && Withdraw(posted)) return false;
    plat::Sleep(kMainThreadPollMs);
  }
}

void PostToMainThread(std::function<void()> request) {
  if (!request) return;
  if (IsMainThread()) {
    request();
    return;
  }
  auto posted = std::make_shared<sRequest>();
  posted->work = std::move(request);
  std::lock_guard<std::mutex> guard(g_QueueMutex);
  g_Queue.push_back(std::move(posted));
}

void DiscardMainThreadRequests() {
  std::lock_guard<std::mutex> guard(g_QueueMutex);
  for (auto& request : g_Queue) {
    request->work = nullptr;
    request->state = eState::kDiscarded;
  }
  g_Queue.clear();
}

void DrainMainThreadRequests() {
  // Only what was there when the drain began: a request that posts another
  // cannot keep the frame here.
  std::deque<std::shared_ptr<sRequest>> batch;
  {
    std::lock_guard<std::mutex> guard(g_QueueMutex);
    batch.swap(g_Queue);
    for (auto& request : batch) request->state = eState::kRunning;
  }
  while (!batch.empty()) {
    std::shared_ptr<sRequest> request = batch.front();
    batch.pop_front();
    try {
      const cFrameworkLockGuard lock;
      request->work();
    } catch (...) {
      // A request that throws (a fatal exit under a test's hook) ends the
      // drain: it counts as done, the rest go back to the head of the queue
      // untouched.
      std::lock_guard<std::mutex> guard(g_QueueMutex);
      request->work = nullptr;
      request->state = eState::kDone;
      for (auto& rest : batch) rest->state = eState::kPending;
      g_Queue.insert(g_Queue.begin(), batch.begin(), batch.end());
      throw;
    }
    std::lock_guard<std::mutex> guard(g_QueueMutex);
    request->work = nullptr;
    request->state = eState::kDone;
  }
}

int PendingMainThreadRequests() {
  std::lock_guard<std::mutex> guard(g_QueueMutex);
  return static_cast<int>(g_Queue.size());
}
