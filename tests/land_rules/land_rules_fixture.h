// A small world for the rules of a land turn: the land-unit fixture's map
// and countries, the land constants reset around each test, and a random
// sequence the test lays out draw by draw.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/rand.h"
#include "units/land_fixture.h"
#include "world/world.h"

namespace twtest {

// The rand() value for which RandomRange(lo, hi) gives value (the middle of
// its interval, so float rounding cannot tip it; hi needs the maximum).
inline int RandFor(int lo, int hi, int value) {
  if (value >= hi) return plat::kRandMax;
  const long long span = hi - lo;
  return static_cast<int>((2LL * (value - lo) + 1) * plat::kRandMax / (2 * span));
}

// Feeds rand() from a list for the scope; a draw past its end fails the
// test and reads 0.
class RandSequence {
 public:
  explicit RandSequence(std::vector<int> values)
      : values_(values.begin(), values.end()), override_([this] { return Next(); }) {}
  int Next() {
    if (values_.empty()) {
      ADD_FAILURE() << "more random draws than laid out";
      return 0;
    }
    const int v = values_.front();
    values_.pop_front();
    return v;
  }
  std::size_t Left() const { return values_.size(); }

 private:
  std::deque<int> values_;
  plat::ScopedRandOverride override_;
};

}  // namespace twtest
