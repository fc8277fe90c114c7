// The dice of the air war, drawn from the calling thread's generator: a die
// 1 to 6 and a percentage draw 1 to 100, each value equally likely
// (RandomRange's upper end only comes with the generator's maximum, so the
// draw runs one past the top and the maximum folds onto it).
#pragma once

#include <algorithm>

#include "app/random.h"

namespace air_dice {

inline int Die() { return std::min(RandomRange(1, 7), 6); }
inline int Percent() { return std::min(RandomRange(1, 101), 100); }

}  // namespace air_dice
