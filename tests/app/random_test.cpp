#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "app/random.h"
#include "platform/rand.h"

namespace {

// Replays the given rand() values in order, then repeats the last one.
class FixedRand {
 public:
  explicit FixedRand(std::vector<int> values)
      : values_(std::move(values)), override_([this] { return Next(); }) {}
  int Calls() const { return calls_; }

 private:
  int Next() {
    const int v = values_[std::min<std::size_t>(calls_, values_.size() - 1)];
    ++calls_;
    return v;
  }
  std::vector<int> values_;
  int calls_ = 0;
  plat::ScopedRandOverride override_;
};

int RangeWith(int r, int lo, int hi) {
  FixedRand rand({r});
  return RandomRange(lo, hi);
}

TEST(Random, RangeOfOneValueGivesThatValue) {
  EXPECT_EQ(RangeWith(0, 5, 5), 5);
  EXPECT_EQ(RangeWith(32767, 5, 5), 5);
}

TEST(Random, RangeReachesHiOnlyForTheLargestDraw) {
  EXPECT_EQ(RangeWith(0, 0, 100), 0);
  EXPECT_EQ(RangeWith(32766, 0, 100), 99);
  EXPECT_EQ(RangeWith(32767, 0, 100), 100);
  for (int r = 0; r < 32767; ++r) {
    const int v = RangeWith(r, 0, 100);
    ASSERT_GE(v, 0) << r;
    ASSERT_LE(v, 99) << r;
  }
}

TEST(Random, RangeRunsDownwardWhenHiIsBelowLo) {
  EXPECT_EQ(RangeWith(0, 10, 0), 10);
  EXPECT_EQ(RangeWith(16384, 10, 0), 5);
  EXPECT_EQ(RangeWith(32766, 10, 0), 1);
  EXPECT_EQ(RangeWith(32767, 10, 0), 0);
}

TEST(Random, RangeKeepsTheSpanIntegralWhileSumRoundsItToFloat) {
  // 100000007 has no exact float form: a float product would end in ...960.
  EXPECT_EQ(RangeWith(32766, 0, 100000007), 99996955);
  FixedRand rand({32766});
  EXPECT_EQ(RandomSum(1, 0, 100000007), 99996960);
}

TEST(Random, ExtremeBoundsStayInRange) {
  EXPECT_EQ(RangeWith(32767, INT_MIN, INT_MAX), INT_MAX);
  EXPECT_EQ(RangeWith(0, INT_MAX, INT_MIN), INT_MAX);
  EXPECT_EQ(RangeWith(32767, INT_MAX, INT_MIN), INT_MIN);
}

TEST(Random, SumOfNoDrawsIsZeroAndDrawsNothing) {
  FixedRand rand({32767});
  EXPECT_EQ(RandomSum(0, 1, 7), 0);
  EXPECT_EQ(RandomSum(-1, 1, 7), 0);
  EXPECT_EQ(rand.Calls(), 0);
}

TEST(Random, SumAddsOneDrawPerDie) {
  FixedRand rand({0, 32767, 16384});
  EXPECT_EQ(RandomSum(3, 1, 7), 1 + 7 + 4);
  EXPECT_EQ(rand.Calls(), 3);
}

TEST(Random, FractionSpansZeroToOne) {
  {
    FixedRand rand({0});
    EXPECT_EQ(RandomFraction(), 0.0f);
  }
  {
    FixedRand rand({32767});
    EXPECT_EQ(RandomFraction(), 1.0f);
  }
  FixedRand rand({16384});
  EXPECT_EQ(RandomFraction(), static_cast<float>(16384 / 32767.0));
}

TEST(Random, DieFacesComeAboutEvenlyFromTheRealGenerator) {
  plat::Srand(20240611);
  constexpr int kDraws = 60000;
  std::array<int, 8> counts{};
  for (int i = 0; i < kDraws; ++i) {
    const int v = RandomRange(1, 7);
    ASSERT_GE(v, 1);
    ASSERT_LE(v, 7);
    ++counts[static_cast<std::size_t>(v)];
  }
  for (int face = 1; face <= 6; ++face) {
    EXPECT_GT(counts[static_cast<std::size_t>(face)], 9000) << face;
    EXPECT_LT(counts[static_cast<std::size_t>(face)], 11000) << face;
  }
  // 7 needs rand() == 32767: about 2 in 60000.
  EXPECT_LE(counts[7], 12);
}

}  // namespace
