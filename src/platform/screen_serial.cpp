#include "platform/screen_serial.h"

namespace plat {

ScreenSerial NewScreenSerial() {
  // Counts on from the reserved serials; 64 bits never run out.
  static ScreenSerial last = kGoneScreen;
  return ++last;
}

}  // namespace plat
