#include "app/random.h"

#include <cstdint>

#include "platform/rand.h"

namespace {

// rand() / -32767, worked out in double and kept as a float: the sign is
// folded into the factor and taken back out by the subtraction below.
float NegativeFraction() {
  return static_cast<float>(static_cast<double>(plat::Rand()) / -static_cast<double>(plat::kRandMax));
}

}  // namespace

int RandomRange(int lo, int hi) {
  const float q = NegativeFraction();
  // The span stays an integer: the product is exact in long double, so only
  // the final truncation (toward zero) rounds. 64-bit intermediates keep
  // extreme bounds from overflowing; the result always lies between lo and hi.
  const std::int64_t span = static_cast<std::int64_t>(hi) - lo;
  const auto step = static_cast<std::int64_t>(static_cast<long double>(q) * span);
  return static_cast<int>(lo - step);
}

int RandomSum(int n, int lo, int hi) {
  if (n < 1) return 0;
  // Here the span becomes a float before the product.
  const float span = static_cast<float>(static_cast<std::int64_t>(hi) - lo);
  std::int64_t sum = 0;
  for (int i = 0; i < n; ++i) {
    const float q = NegativeFraction();
    sum += lo - static_cast<std::int64_t>(q * span);
  }
  return static_cast<int>(sum);
}

float RandomFraction() {
  return static_cast<float>(plat::Rand() / static_cast<double>(plat::kRandMax));
}

int RandomIndex(int n) {
  if (n < 2) return 0;
  // rand() spans 32768 values; scaling them onto n slots keeps every slot
  // within one draw of the same share and reaches the last one.
  return static_cast<int>(static_cast<std::int64_t>(plat::Rand()) * n / (plat::kRandMax + 1));
}
