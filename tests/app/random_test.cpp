#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "app/random.h"
#include "platform/rand.h"

namespace {

std::vector<int> g_draws;
std::size_t g_calls = 0;

// For its scope rand() replays draws in order, then repeats the last one.
plat::ScopedRandOverride Replay(std::vector<int> draws) {
  g_draws = std::move(draws);
  g_calls = 0;
  return plat::ScopedRandOverride([] { return g_draws[std::min(g_calls++, g_draws.size() - 1)]; });
}

TEST(Random, RangeAtItsEdges) {
  struct {
    int draw, lo, hi, want;
  } cases[] = {
      {0, 5, 5, 5},          {32767, 5, 5, 5},          {0, 0, 100, 0},
      {32766, 0, 100, 99},   {32767, 0, 100, 100},      {0, 10, 0, 10},
      {16384, 10, 0, 5},     {32766, 10, 0, 1},         {32767, 10, 0, 0},
      {32767, INT_MIN, INT_MAX, INT_MAX}, {0, INT_MAX, INT_MIN, INT_MAX}, {32767, INT_MAX, INT_MIN, INT_MIN},
      {32766, 0, 100000007, 99996955},  // the span stays integral: a float product ends in ...960
  };
  for (const auto& c : cases) {
    const auto replay = Replay({c.draw});
    EXPECT_EQ(RandomRange(c.lo, c.hi), c.want) << c.draw << ": " << c.lo << ".." << c.hi;
  }
}

TEST(Random, SumAndFractionAtTheirEdges) {
  {
    const auto replay = Replay({32767});
    EXPECT_EQ(RandomSum(0, 1, 7), 0);
    EXPECT_EQ(RandomSum(-1, 1, 7), 0);
    EXPECT_EQ(g_calls, 0u);
  }
  {
    const auto replay = Replay({0, 32767, 16384});
    EXPECT_EQ(RandomSum(3, 1, 7), 1 + 7 + 4);
    EXPECT_EQ(g_calls, 3u);
  }
  {
    const auto replay = Replay({32766});
    EXPECT_EQ(RandomSum(1, 0, 100000007), 99996960);  // unlike RandomRange, rounds through float
  }
  for (int draw : {0, 16384, 32767}) {
    const auto replay = Replay({draw});
    EXPECT_EQ(RandomFraction(), static_cast<float>(draw / 32767.0));
  }
}

}  // namespace
