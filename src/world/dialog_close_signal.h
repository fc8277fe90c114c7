// What the worker sleeps on while it waits for a dialog the world's view
// opened: the main thread counts every dialog that leaves the screen and
// wakes the waiting worker, which then asks the view whether its dialog is
// still open; the worker's stop wakes it too. The world owns it (the view
// may be made anew while the worker waits: a change of the screen size
// makes a new map screen).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class cDialogCloseSignal {
 public:
  // Dialogs closed so far. The worker reads it before it asks the view, so
  // that a close after the answer is not missed.
  std::uint64_t Closes() const;
  // A dialog has left the screen (main thread): the count goes up and the
  // waiting worker wakes.
  void Notify();
  // The worker has been told to stop (its stop flag set first): a wait
  // wakes and sees the flag.
  void WakeForStop() const;
  // Waits up to ms for the count to move past seen, or for stop (may be
  // null) to be set: true when the count has moved, with seen the count now;
  // false when ms passed first or the stop came.
  bool WaitForCloseAfter(std::uint64_t& seen, int ms, const std::atomic<bool>* stop) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable closed_;
  std::uint64_t closes_ = 0;
};
