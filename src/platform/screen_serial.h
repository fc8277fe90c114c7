// The identity of what takes input on the screen: the program gives one to
// each of its screens as it makes it (what a serial stands for is the
// program's; opaque here). A serial is never given twice while the program
// runs, so a note that outlives its screen is never taken for a later one,
// not even one made in the same memory. The screens are the main thread's,
// but a serial is unique from any thread.
#pragma once

#include <cstdint>

namespace plat {

using ScreenSerial = std::uint64_t;

// No screen.
inline constexpr ScreenSerial kNoScreen = 0;
// A serial never given to a screen: it stands for one that has gone.
inline constexpr ScreenSerial kGoneScreen = 1;

// A serial not given before (neither of the two above).
ScreenSerial NewScreenSerial();

}  // namespace plat
