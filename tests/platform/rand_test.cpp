#include "platform/rand.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace plat;

TEST(Rand, FollowsTheWindowsRuntimeSequence) {
  Srand(1);
  std::vector<int> got;
  for (int i = 0; i < 5; ++i) got.push_back(Rand());
  EXPECT_EQ(got, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
  Srand(0);
  EXPECT_EQ(Rand(), 38);
}

TEST(Rand, EachThreadHasItsOwnGeneratorAndOverride) {
  Srand(1);
  EXPECT_EQ(Rand(), 41);
  int threadFirst = -1;
  {
    ScopedRandOverride fixed([] { return kRandMax; });
    EXPECT_EQ(Rand(), kRandMax);
    std::thread([&] {  // starts at seed 1, sees no override and moves no other generator
      threadFirst = Rand();
      Srand(99);
      Rand();
    }).join();
  }
  EXPECT_EQ(threadFirst, 41);
  EXPECT_EQ(Rand(), 18467);
}
