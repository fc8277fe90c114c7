#include "platform/rand.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace plat;

TEST(Rand, FollowsTheWindowsRuntimeSequence) {
  Srand(1);
  const std::vector<int> want = {41, 18467, 6334, 26500, 19169};
  std::vector<int> got;
  for (std::size_t i = 0; i < want.size(); ++i) got.push_back(Rand());
  EXPECT_EQ(got, want);
  Srand(0);
  EXPECT_EQ(Rand(), 38);
  for (int i = 0; i < 10000; ++i) {
    const int v = Rand();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, kRandMax);
  }
}

TEST(Rand, EachThreadHasItsOwnGeneratorStartingAtSeedOne) {
  Srand(1234);
  const int first = Rand();
  Srand(1234);
  int threadFirst = -1;
  std::thread other([&] {
    threadFirst = Rand();
    Srand(99);
    for (int i = 0; i < 100; ++i) Rand();
  });
  other.join();
  EXPECT_EQ(threadFirst, 41);
  EXPECT_EQ(Rand(), first);
}

TEST(Rand, OverridesNestAndLeaveTheGeneratorAlone) {
  Srand(1);
  EXPECT_EQ(Rand(), 41);
  {
    int n = 0;
    ScopedRandOverride outer([&] { return n++; });
    EXPECT_EQ(Rand(), 0);
    {
      ScopedRandOverride inner([] { return kRandMax; });
      EXPECT_EQ(Rand(), kRandMax);
    }
    EXPECT_EQ(Rand(), 1);
    int otherThread = -1;
    std::thread([&] { otherThread = Rand(); }).join();
    EXPECT_EQ(otherThread, 41);
  }
  EXPECT_EQ(Rand(), 18467);
}
