// The Windows runtime's rand()/srand(): one generator per thread,
// state = state * 214013 + 2531011, result = (state >> 16) & 0x7FFF, so the
// values run from 0 to 32767. A new thread starts with seed 1.
#pragma once

#include <functional>

namespace plat {

constexpr int kRandMax = 32767;

int Rand();
void Srand(unsigned seed);

// For tests: while an override is installed, Rand() on the installing thread
// returns what the function returns (it should stay within 0..32767).
class ScopedRandOverride {
 public:
  explicit ScopedRandOverride(std::function<int()> source);
  ~ScopedRandOverride();
  ScopedRandOverride(const ScopedRandOverride&) = delete;
  ScopedRandOverride& operator=(const ScopedRandOverride&) = delete;

 private:
  std::function<int()> source_;
  std::function<int()>* previous_;
};

}  // namespace plat
