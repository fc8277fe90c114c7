#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/string_base.h"
#include "platform/lines.h"
#include "platform/text.h"
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

TEST(Calendar, Comparisons) {
  const sTurnsPerMonth t4 = All(4);
  sGameDate date{2, 5, 1940, {}};  // 9 May 1940
  EXPECT_TRUE(date.IsSameDay(9, 5, 1940, t4));
  EXPECT_FALSE(date.IsBefore(9, 5, 1940, t4));
  EXPECT_FALSE(date.IsAfter(9, 5, 1940, t4));
  // Later day of the same month.
  EXPECT_TRUE(date.IsAfter(1, 5, 1940, t4));
  EXPECT_TRUE(date.IsBefore(16, 5, 1940, t4));
  // Years decide whatever month and day.
  EXPECT_TRUE(date.IsBefore(1, 1, 1941, t4));
  EXPECT_TRUE(date.IsAfter(31, 12, 1939, t4));
  // Months decide within a year.
  EXPECT_TRUE(date.IsBefore(1, 6, 1940, t4));
  EXPECT_TRUE(date.IsAfter(30, 4, 1940, t4));
  // Day 9 is the second impulse only.
  for (int turn = 1; turn <= 4; ++turn) {
    date.turn = turn;
    EXPECT_EQ(date.IsSameDay(9, 5, 1940, t4), turn == 2) << turn;
  }
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

// Writes a language base with the given keys and texts and loads it.
void LoadTexts(std::initializer_list<std::pair<std::string, std::wstring>> texts) {
  std::string bytes(1, '\0');
  const std::uint64_t count = texts.size();
  for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<char>((count >> (8 * i)) & 0xFF));
  for (const auto& [key, text] : texts) {
    bytes.push_back(static_cast<char>(key.size()));
    bytes += key;
    const std::string utf16 = plat::ToUtf16LE(text);
    const std::size_t units = utf16.size() / 2;
    bytes.push_back(static_cast<char>(units & 0xFF));
    bytes.push_back(static_cast<char>(units >> 8));
    bytes += utf16;
  }
  ASSERT_TRUE(plat::WriteFileBytes("lang_CAL.db", bytes));
  g_StringBase.SetLanguageCode(L"CAL");
  g_StringBase.Load("lang_LANGID.db", true);
}

TEST(Calendar, FormatUsesTheMonthText) {
  LoadTexts({{"september", L"September"}, {"december", L"Dezember"}});
  sGameDate date;
  EXPECT_EQ(date.Format(All(4)), L"1-September-1939");
  EXPECT_EQ(date.text, L"1-September-1939");
  date = sGameDate{4, 12, 1944, {}};
  EXPECT_EQ(date.Format(All(4)), L"24-Dezember-1944");
  // No month name for a month outside 1-12.
  date.month = 13;
  date.turn = 1;
  EXPECT_EQ(date.Format(All(4)), L"1--1944");
}

}  // namespace
