#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/consts_file.h"
#include "files/fatal.h"
#include "platform/text.h"
#include "support/test_support.h"
#include "world/gra.h"

namespace {

// A record whose checked constants are all usable.
sScenarioConstants UsableConstants() {
  sScenarioConstants c;
  for (auto& row : c.terrainCostRows) row.fill(2);
  c.maxSupply = 50;
  c.seaBattleRoundWeights = {1, 2, 3, 2, 1};
  c.siegeFactors[5] = 2.0f;
  c.siegeFactors[6] = 4.0f;
  c.noSupplyTurnsLimit = 5;
  c.navalSpotFriendly[1] = 10;
  c.navalSpotEnemy[1] = 10;
  c.shipSupplyLimit = 30;
  return c;
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find("\r\n", start);
    lines.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return lines;
    start = at + 2;
  }
}

// The usable file's text with data line `line` (1-184) replaced.
std::string WithDataLine(int line, const std::string& text) {
  std::vector<std::string> lines = SplitCrLf(FormatConstsText(UsableConstants()));
  lines[static_cast<std::size_t>(line)] = text;  // lines[0] is the comment
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

class ConstsFile : public ::testing::Test {
 protected:
  sScenarioConstants Load(const std::string& bytes) {
    const std::string path = dir_.Write("consts.csv", bytes);
    sScenarioConstants c;
    c.LoadFile(plat::WidenAnsi(path));
    return c;
  }
  std::wstring Path() const { return plat::WidenAnsi(dir_.File("consts.csv")); }

  twtest::TempDir dir_;
  twtest::LogCapture log_;
  cScopedThrowingFatalHook hook_;
};

TEST_F(ConstsFile, WrittenTextIsExact) {
  const std::string text = FormatConstsText(UsableConstants());
  const std::vector<std::string> lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 185u);
  EXPECT_EQ(lines[0], "# Scenario constants: one data line per rule value group, in fixed order");
  EXPECT_EQ(lines[1], "1;1;1;1;1;1;1;1;1;1;1;1");
  EXPECT_EQ(lines[2], "LandActionPoints;0;0;0;0;0;0;0");
  EXPECT_EQ(lines[9], "LandBaseStrength;0.000000;0.000000;0.000000;0.000000;0.000000;0.000000;0.000000");
  EXPECT_EQ(lines[15], "TerrainCostRows;2;2;2;2;2;2;2;2;2");
  EXPECT_EQ(lines[18], "0");
  EXPECT_EQ(lines[48], "50");
  EXPECT_EQ(lines[158], "0");
  EXPECT_EQ(lines[184], "0");
  EXPECT_NE(text.back(), '\n');
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_EQ(text[i - 1], '\r') << i;
    }
  }
}

TEST_F(ConstsFile, EveryValueRoundTripsAtItsLineAndColumn) {
  sScenarioConstants c = UsableConstants();
  std::vector<std::pair<int, int>> slots;
  for (int line = 1; line <= sScenarioConstants::kDataLines; ++line) {
    for (int col = 1; col <= 20; ++col) {
      // Kept within the checked ranges: month counts, costs and supply values.
      const double v = (line == 48 || line == 168 || line == 181) ? 7 + col : line * 100 + col + 0.5 * (col % 2);
      if (c.SetValue(line, col, v)) slots.emplace_back(line, col);
    }
  }
  EXPECT_FALSE(c.SetValue(158, 1, 3.0));
  EXPECT_FALSE(c.SetValue(185, 1, 3.0));
  EXPECT_FALSE(c.SetValue(2, 1, 3.0));  // label column
  EXPECT_FALSE(c.SetValue(2, 9, 3.0));  // an eighth value
  const sScenarioConstants back = Load(FormatConstsText(c));
  for (auto [line, col] : slots) {
    ASSERT_EQ(back.Value(line, col), c.Value(line, col)) << "line " << line << " column " << col;
  }
  // Floats keep their halves, ints and truncated floats their whole parts.
  EXPECT_EQ(back.Value(9, 3), 903.5);
  EXPECT_EQ(back.Value(76, 3), 7603.5);
  EXPECT_EQ(back.Value(2, 3), 203);
  EXPECT_EQ(back.Value(132, 1), 13201);
  EXPECT_EQ(back.landBaseStrength[0][1], 903.5f);
  EXPECT_EQ(back.navalRepairCost[1], 7603.5);
}

TEST_F(ConstsFile, CommentsBlankLinesAndColumns) {
  std::string text = "# first comment\r\n;; \t;\r\n\r\n";
  text += WithDataLine(1, "2;3;4;5;6;7;8;9;10;11;12;13");
  // " #" is no comment: it becomes data line 1 and every line moves down.
  sScenarioConstants shifted;
  EXPECT_THROW(shifted = Load(" #x\r\n" + WithDataLine(1, "1;1;1;1;1;1;1;1;1;1;1;1")), sFilesFatalError);

  const sScenarioConstants c = Load(text);
  EXPECT_EQ(c.turnsPerMonth[0], 2);
  EXPECT_EQ(c.turnsPerMonth[11], 13);

  // Empty fields vanish: "a;;5;6" has 5 in column 2.
  EXPECT_EQ(Load(WithDataLine(68, "a;;5;6")).strategicMoveCost[0], 5);
  // A single value must come first.
  EXPECT_EQ(Load(WithDataLine(18, "12;some note")).effectivenessBase, 12);
  EXPECT_EQ(Load(WithDataLine(18, "label;12")).effectivenessBase, 0);
  // Missing columns keep 0; text reads 0.
  const sScenarioConstants short34 = Load(WithDataLine(34, "4;x"));
  EXPECT_EQ(short34.attackActionPointCost[0], 4);
  EXPECT_EQ(short34.attackActionPointCost[1], 0);
  EXPECT_EQ(short34.attackActionPointCost[5], 0);
}

TEST_F(ConstsFile, LongRowsAreWholeAndDoNotSpill) {
  // A label far longer than any line buffer, and nine values in a row of seven.
  const std::string label(5000, 'L');
  const sScenarioConstants c = Load(WithDataLine(2, label + ";1;2;3;4;5;6;7;8;9"));
  EXPECT_EQ(c.landActionPoints[0][0], 1);
  EXPECT_EQ(c.landActionPoints[0][6], 7);
  EXPECT_EQ(c.landActionPoints[1][0], 0);
  EXPECT_EQ(c.airActionPoints[0], 0);
}

TEST_F(ConstsFile, DefaultBandsAndEntryZero) {
  // The band lines carry no values: every bound 50, every value 0 but D's 100.
  sScenarioConstants c;
  {
    std::vector<std::string> lines = SplitCrLf(FormatConstsText(UsableConstants()));
    for (int line = 50; line <= 56; ++line) lines[static_cast<std::size_t>(line)] = "Band";
    lines[49] = "-7";
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
    c = Load(joined);
  }
  EXPECT_EQ(c.supplyEffectA[0], -7);
  EXPECT_EQ(c.supplyEffectB[0], 100);
  EXPECT_EQ(c.supplyEffectC[0], -4);
  EXPECT_EQ(c.supplyEffectD[0], 50);
  for (int k = 1; k <= 50; ++k) {
    ASSERT_EQ(c.supplyEffectA[k], 100) << k;
    ASSERT_EQ(c.supplyEffectB[k], 0) << k;
    ASSERT_EQ(c.supplyEffectD[k], 100) << k;
    ASSERT_EQ(c.supplyEffectE[k], 0) << k;
  }
}

TEST_F(ConstsFile, FallingBandsAndTheCumulativeStep) {
  std::vector<std::string> lines = SplitCrLf(FormatConstsText(UsableConstants()));
  lines[50] = "Bounds;50;30;10;0;0;0;0;0;0;0";
  lines[51] = "A;1;2;3;0;0;0;0;0;0;0";
  lines[52] = "B;5;6;7;9;9;9;9;9;9;9";
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
  const sScenarioConstants c = Load(joined);
  // Before the cumulative step 1-10 hold 3, 11-30 hold 2, 31-50 hold 1.
  EXPECT_EQ(c.supplyEffectA[50], 99);
  EXPECT_EQ(c.supplyEffectA[31], 80);
  EXPECT_EQ(c.supplyEffectA[30], 78);
  EXPECT_EQ(c.supplyEffectA[11], 40);
  EXPECT_EQ(c.supplyEffectA[10], 37);
  EXPECT_EQ(c.supplyEffectA[1], 10);
  // A band with bound 0 changes nothing.
  EXPECT_EQ(c.supplyEffectB[1], 7);
  EXPECT_EQ(c.supplyEffectB[20], 6);
  EXPECT_EQ(c.supplyEffectB[50], 5);

  // Left-out bands keep bound 50 and, coming later, overwrite everything.
  lines[50] = "Bounds;50;30;10";
  joined.clear();
  for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
  const sScenarioConstants d = Load(joined);
  EXPECT_EQ(d.supplyEffectB[1], 9);
  EXPECT_EQ(d.supplyEffectD[25], 0);
  EXPECT_EQ(d.supplyEffectA[1], 100);
}

TEST_F(ConstsFile, LinesWithTheirOwnRules) {
  std::vector<std::string> lines = SplitCrLf(FormatConstsText(UsableConstants()));
  lines[73] = "0;0;0;0;0;0";
  lines[132] = "2.9;-3.7;5";
  lines[134] = "4.99";
  lines[154] = "1;2;3;4;5;6;7;8;9;10;11;12;13;14";
  lines[158] = "garbage;1;2";
  lines.push_back("999");  // data line 185: ignored
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
  const sScenarioConstants c = Load(joined);
  EXPECT_EQ(c.navalTypeStrengthMax, 1);
  EXPECT_EQ(c.airStrategicMoveCost, (std::array<int, 3>{2, -3, 5}));
  EXPECT_EQ(c.dropTurnsAtStart, 4);
  EXPECT_EQ(c.supplyTypeValues, (std::array<int, 14>{11, 12, 13, 14, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(c.Value(154, 11), 11);
  EXPECT_EQ(c.Value(154, 1), 1);
  EXPECT_EQ(c.value184, 0);

  lines[73] = "3;9;-2;4;0;1";
  joined.clear();
  for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
  EXPECT_EQ(Load(joined).navalTypeStrengthMax, 9);
}

TEST_F(ConstsFile, TheWorldsCalendarUsesLineOne) {
  cWorld world;
  EXPECT_EQ(world.TurnsPerMonth()[0], 1);
  const std::string path = dir_.Write("consts.csv", WithDataLine(1, "3;3;3;3;3;3;3;3;3;3;3;3"));
  world.constants.LoadFile(plat::WidenAnsi(path));
  EXPECT_EQ(world.TurnsPerMonth()[8], 3);
  sGameDate date;
  date.turn = 3;
  date.month = 9;
  EXPECT_EQ(date.GetDay(world.TurnsPerMonth()), 21);
}

TEST_F(ConstsFile, MissingFileIsFatal) {
  sScenarioConstants c;
  try {
    c.LoadFile(plat::WidenAnsi(dir_.File("nothing/consts.csv")));
    FAIL() << "no fatal exit";
  } catch (const sFilesFatalError& e) {
    EXPECT_EQ(e.exitCode, 1);
  }
  EXPECT_EQ(log_.Lines().back(), L"Blad otwarcia pliku! (nie istnieje?)");
}

struct sBadValue {
  int line;
  const char* row;
  int column;
  const wchar_t* value;
};

TEST_F(ConstsFile, DivisorsAndBoundsAreCheckedAtLoad) {
  const sBadValue cases[] = {
      {1, "1;1;1;1;1;1;0;1;1;1;1;1", 7, L"0"},
      {1, "1;1;1;1;1;1;1;1;1;1;1;-2", 12, L"-2"},
      {16, "Row;1;1;1;0;1;1;1;1;5", 5, L"0"},
      {17, "Row;1;1;1;1;1;1;1;-1;5", 9, L"-1"},
      {48, "51", 1, L"51"},
      {48, "-1", 1, L"-1"},
      {129, "0;0;0;0;0", 1, L"0"},
      {129, "1;-1;1;1;1", 2, L"-1"},
      {131, "1;1;1;1;1;0;1", 6, L"0.000000"},
      {131, "1;1;1;1;1;1;0", 7, L"0.000000"},
      {137, "0", 1, L"0"},
      {166, "1;0;1;1", 2, L"0"},
      {167, "1;0;1", 2, L"0"},
      {168, "60", 1, L"60"},
      {181, "-3", 1, L"-3"},
  };
  for (const sBadValue& bad : cases) {
    try {
      Load(WithDataLine(bad.line, bad.row));
      ADD_FAILURE() << "no fatal exit for line " << bad.line << ": " << bad.row;
    } catch (const sFilesFatalError& e) {
      EXPECT_EQ(e.exitCode, 1);
      const std::wstring last = log_.Lines().back();
      const std::wstring head = L"ERROR (" + Path() + L", data line " + std::to_wstring(bad.line) + L", column " +
                                std::to_wstring(bad.column) + L"): value " + bad.value + L" is not allowed (";
      EXPECT_EQ(last.substr(0, head.size()), head) << std::string(bad.row);
    }
  }
  // The usable file itself loads.
  EXPECT_NO_THROW(Load(FormatConstsText(UsableConstants())));
}

TEST_F(ConstsFile, WriterLogsAndFailsFatally) {
  const std::wstring path = plat::WidenAnsi(dir_.File("out_consts.csv"));
  WriteConstsFile(path, UsableConstants());
  EXPECT_EQ(twtest::ReadFile(dir_.File("out_consts.csv")), FormatConstsText(UsableConstants()));
  EXPECT_TRUE(log_.Contains(L"Opening file for writing..."));
  EXPECT_TRUE(log_.Contains(L"File opened OK"));
  try {
    WriteConstsFile(plat::WidenAnsi(dir_.File("no/such/folder/consts.csv")), UsableConstants());
    FAIL() << "no fatal exit";
  } catch (const sFilesFatalError& e) {
    EXPECT_EQ(e.exitCode, 1);
  }
  EXPECT_EQ(log_.Lines().back(), L"Error opening file for writing");
}

}  // namespace
