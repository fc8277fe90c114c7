#include "platform/screen_serial.h"

#include <atomic>

namespace plat {

ScreenSerial NewScreenSerial() {
  // Counts on from the reserved serials; 64 bits never run out. Atomic so
  // that a serial stays unique even should a screen ever be made off the
  // main thread.
  static std::atomic<ScreenSerial> last{kGoneScreen};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace plat
