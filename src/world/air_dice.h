// The dice of the air war, drawn from the calling thread's generator with
// the RandomRange rule as the land battle draws them: a die RandomRange(1, 6)
// and a percentage draw RandomRange(1, 100) (their top values come only with
// the generator's maximum, as designed).
#pragma once

#include "app/random.h"

namespace air_dice {

inline int Die() { return RandomRange(1, 6); }
inline int Percent() { return RandomRange(1, 100); }

}  // namespace air_dice
