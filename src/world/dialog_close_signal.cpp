#include "world/dialog_close_signal.h"

#include <chrono>

std::uint64_t cDialogCloseSignal::Closes() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return closes_;
}

void cDialogCloseSignal::Notify() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++closes_;
  }
  closed_.notify_all();
}

void cDialogCloseSignal::WakeForStop() const {
  // Taken and let go so that a wait between its look at the flag and its
  // sleep is asleep before it is woken.
  { const std::lock_guard<std::mutex> lock(mutex_); }
  closed_.notify_all();
}

bool cDialogCloseSignal::WaitForCloseAfter(std::uint64_t& seen, int ms, const std::atomic<bool>* stop) const {
  std::unique_lock<std::mutex> lock(mutex_);
  closed_.wait_for(lock, std::chrono::milliseconds(ms > 0 ? ms : 0),
                   [&] { return closes_ != seen || (stop != nullptr && stop->load()); });
  const bool moved = closes_ != seen;
  if (moved) seen = closes_;
  return moved;
}
