// What the worker sleeps on while it waits for a dialog the world's view
// opened: the main thread counts every dialog that leaves the screen and
// wakes the waiting worker, which then asks the view whether its dialog is
// still open. The world owns it (the view may be made anew while the
// worker waits: a change of the screen size makes a new map screen).
#pragma once

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
  // Waits up to ms for the count to move past seen: true when it has, with
  // seen the count now; false when ms passed first.
  bool WaitForCloseAfter(std::uint64_t& seen, int ms) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable closed_;
  std::uint64_t closes_ = 0;
};
