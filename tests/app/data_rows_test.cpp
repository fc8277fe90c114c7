// The number parser and the row checks every scenario and save reader uses.
#include "app/data_rows.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "support/test_support.h"

namespace {

TEST(DataRows, NumbersAreReadWholeNeverWrappedNorInfinite) {
  const struct { const wchar_t* text; bool ok; int value; } ints[] = {
      {L"42", true, 42},          {L" -7 ", true, -7},         {L"+3", true, 3},
      {L"2147483647", true, INT_MAX}, {L"-2147483648", true, INT_MIN},
      {L"2147483648", false, 0},  {L"4294967299", false, 0},  // 2^32 + 3 is no 3
      {L"", false, 0},            {L"-", false, 0},            {L"12x", false, 0},
      {L"x12", false, 0},         {L"1 2", false, 0},          {L"1.0", false, 0}, {L"0x10", false, 0},
  };
  for (const auto& c : ints) {
    int value = 0;
    EXPECT_EQ(files::ParseWholeInt(c.text, value), c.ok) << ::testing::PrintToString(std::wstring(c.text));
    if (c.ok) {
      EXPECT_EQ(value, c.value);
    }
  }
  const struct { const wchar_t* text; bool ok; double value; } numbers[] = {
      {L"12.5", true, 12.5}, {L"-0.25", true, -0.25}, {L".5", true, 0.5},    {L"5.", true, 5.0},
      {L"1e3", true, 1000},  {L" 2E-2 ", true, 0.02}, {L"nan", false, 0},    {L"inf", false, 0},
      {L"-infinity", false, 0}, {L"1e999", false, 0}, {L"1e", false, 0},     {L".", false, 0},
      {L"3,5", false, 0},    {L"0x1p3", false, 0},    {L"12.5abc", false, 0},
  };
  for (const auto& c : numbers) {
    double value = 0.0;
    EXPECT_EQ(files::ParseWholeNumber(c.text, value), c.ok) << ::testing::PrintToString(std::wstring(c.text));
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value);
    }
  }
}

TEST(DataRows, SkippedRowsAndClampedValuesAreWarnedRefusedValuesAreFatal) {
  twtest::LogCapture log;
  cScopedThrowingFatalHook fatal;
  files::cRowCheck row(L"data\\x\\units.csv");
  const std::vector<std::wstring> fields = {L"7", L"Name", L"150", L"-3", L"abc", L"2", L"1.5", L"nan"};
  row.Start(12, fields);

  EXPECT_FALSE(row.HasFields(9));
  EXPECT_TRUE(row.HasFields(8));
  row.WarnExtraFields(6);
  row.WarnExtraFields(8);  // no more than read: nothing
  EXPECT_EQ(row.Int(0, L"id", 1), 7);
  EXPECT_EQ(row.IntClamped(2, L"strength", 0, 100), 100);
  EXPECT_EQ(row.IntClamped(3, L"supply", 0, 50), 0);
  EXPECT_TRUE(row.Flag(5, L"flag"));
  EXPECT_DOUBLE_EQ(row.NumberClamped(6, L"share", 0.0, 1.0), 1.0);
  EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{
                             L"WARNING: data\\x\\units.csv line 12: 8 fields where 9 are needed; the row is skipped",
                             L"WARNING: data\\x\\units.csv line 12: 8 fields where 6 are read; the fields from column 7 "
                             L"on are ignored",
                             L"WARNING: data\\x\\units.csv line 12: column 3: strength \"150\" is out of range (0 to "
                             L"100); taken as 100",
                             L"WARNING: data\\x\\units.csv line 12: column 4: supply \"-3\" is out of range (0 to 50); "
                             L"taken as 0",
                             L"WARNING: data\\x\\units.csv line 12: column 6: flag \"2\" is out of range (0 to 1); taken "
                             L"as 1",
                             L"WARNING: data\\x\\units.csv line 12: column 7: share \"1.5\" is out of range (0 to 1); "
                             L"taken as 1",
                         }));

  const struct { std::size_t column; const wchar_t* line; } refused[] = {
      {2, L"ERROR: data\\x\\units.csv line 12 column 3: type \"150\" is out of range (0 to 60)"},
      {4, L"ERROR: data\\x\\units.csv line 12 column 5: type \"abc\" is not a whole number"},
      {6, L"ERROR: data\\x\\units.csv line 12 column 7: type \"1.5\" is not a whole number"},
      {9, L"ERROR: data\\x\\units.csv line 12 column 10: type \"\" is missing"},
  };
  for (const auto& r : refused) {
    EXPECT_THROW(row.Int(r.column, L"type", 0, 60), sFatalExitError);
    EXPECT_EQ(log.Lines().back(), r.line);
  }
  EXPECT_THROW(row.Number(7, L"points", 0.0, 10.0), sFatalExitError);
  EXPECT_EQ(log.Lines().back(), L"ERROR: data\\x\\units.csv line 12 column 8: points \"nan\" is not a number");
  EXPECT_THROW(row.Refuse(L"a second row for country 1"), sFatalExitError);
  EXPECT_EQ(log.Lines().back(), L"ERROR: data\\x\\units.csv line 12: a second row for country 1");
}

}  // namespace
