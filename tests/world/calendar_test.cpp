#include <gtest/gtest.h>

#include <vector>

#include "world/calendar.h"

namespace {

sTurnsPerMonth All(int t) {
  sTurnsPerMonth turns;
  turns.fill(t);
  return turns;
}

TEST(Calendar, ShownDaysForOneToFourImpulses) {
  const struct {
    int t;
    std::vector<int> days;
  } cases[] = {{1, {1}}, {2, {1, 16}}, {3, {1, 11, 21}}, {4, {1, 9, 16, 24}}};
  for (const auto& c : cases) {
    sGameDate date;
    for (int turn = 1; turn <= c.t; ++turn) {
      date.turn = turn;
      EXPECT_EQ(date.GetDay(All(c.t)), c.days[static_cast<std::size_t>(turn - 1)]) << "T=" << c.t << " turn " << turn;
    }
  }
}

TEST(Calendar, EachMonthUsesItsOwnImpulseCount) {
  sTurnsPerMonth turns = All(1);
  turns[11] = 4;  // December
  sGameDate date{2, 12, 1939, {}};
  EXPECT_EQ(date.GetDay(turns), 9);
  date.month = 11;
  date.turn = 1;
  EXPECT_EQ(date.GetDay(turns), 1);
  // A month given no impulses counts as one instead of dividing by zero.
  turns[10] = 0;
  EXPECT_EQ(date.GetDay(turns), 1);
}

TEST(Calendar, AdvanceRollsMonthsAndYears) {
  sTurnsPerMonth turns = All(2);
  turns[11] = 3;
  sGameDate date{1, 11, 1941, {}};
  const int expected[][3] = {{2, 11, 1941}, {1, 12, 1941}, {2, 12, 1941}, {3, 12, 1941}, {1, 1, 1942}, {2, 1, 1942}};
  for (const auto& e : expected) {
    date.Advance(turns);
    EXPECT_EQ(date.turn, e[0]);
    EXPECT_EQ(date.month, e[1]);
    EXPECT_EQ(date.year, e[2]);
  }
}

}  // namespace
