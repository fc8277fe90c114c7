#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "files/consts_file.h"
#include "files_fixture.h"
#include "platform/lines.h"
#include "platform/text.h"
#include "world/unit_constants.h"

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
  plat::LineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  return lines;
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
    LoadScenarioConstantsFile(c, plat::WidenAnsi(path));
    return c;
  }
  std::wstring Path() const { return plat::WidenAnsi(dir_.File("consts.csv")); }

  twtest::TempDir dir_;
  twtest::LogCapture log_;
  cScopedThrowingFatalHook hook_;
};

TEST_F(ConstsFile, WrittenFileIsExact) {
  WriteConstsFile(Path(), UsableConstants());
  const std::string text = twtest::ReadFile(dir_.File("consts.csv"));
  EXPECT_EQ(text.substr(0, 131),
            "# Scenario constants: one data line per rule value group, in fixed order\r\n1;1;1;1;1;1;1;1;1;1;1;1\r\n"
            "LandActionPoints;0;0;0;0;0;0;0\r\n");
  const std::vector<std::string> lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 185u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 184);  // CR LF only, no final break
  EXPECT_EQ(lines[9], "LandBaseStrength;0.000000;0.000000;0.000000;0.000000;0.000000;0.000000;0.000000");
  EXPECT_EQ(lines[48], "50");
}

TEST_F(ConstsFile, EveryValueRoundTripsAtItsLineAndColumn) {
  sScenarioConstants c = UsableConstants();
  std::vector<std::pair<int, int>> slots;
  for (int line = 1; line <= sScenarioConstants::kDataLines; ++line) {
    for (int col = 1; col <= 20; ++col) {
      // Kept within the checked ranges: month counts, costs, supply values
      // and the diplomacy dice.
      const bool dice = (line >= 91 && line <= 94) || line == 113 || line == 114;
      const bool percent = line == 128 || line == 146 || line == 147;
      const double v = (line == 48 || line == 168 || line == 181 || percent) ? 7 + col
                       : dice                                     ? col + 0.5 * (col % 2)
                                                                  : line * 100 + col + 0.5 * (col % 2);
      if (c.SetValue(line, col, v)) slots.emplace_back(line, col);
    }
  }
  const sScenarioConstants back = Load(FormatConstsText(c));
  for (auto [line, col] : slots) {
    ASSERT_EQ(back.Value(line, col), c.Value(line, col)) << "line " << line << " column " << col;
  }
  // Floats keep their halves, ints and truncated floats their whole parts.
  EXPECT_EQ(back.landBaseStrength[0][1], 903.5f);
  EXPECT_EQ(back.navalRepairCost[1], 7603.5);
}

TEST_F(ConstsFile, CommentsBlankLinesAndColumns) {
  std::string text = "# first comment\r\n;; \t;\r\n\r\n";
  text += WithDataLine(1, "2;3;4;5;6;7;8;9;10;11;12;13");
  // " #" is no comment: it becomes data line 1 and every line moves down.
  EXPECT_THROW(Load(" #x\r\n" + WithDataLine(1, "1;1;1;1;1;1;1;1;1;1;1;1")), sFatalExitError);

  const sScenarioConstants c = Load(text);
  EXPECT_EQ(std::pair(c.turnsPerMonth[0], c.turnsPerMonth[11]), std::pair(2, 13));

  // Empty fields vanish: "a;;5;6" has 5 in column 2.
  EXPECT_EQ(Load(WithDataLine(68, "a;;5;6")).strategicMoveCost[0], 5);
  // A single value must come first.
  EXPECT_EQ(Load(WithDataLine(18, "12;some note")).effectivenessBase, 12);
  // Missing columns keep 0. Text, a number run into text, "nan" or a whole
  // number beyond 32 bits where a value stands ends the load, naming the
  // file's line (the data line plus the comment before it) and the column.
  EXPECT_EQ(Load(WithDataLine(34, "4;")).attackActionPointCost[1], 0);
  const std::tuple<int, const char*, int, const wchar_t*> refused[] = {
      {18, "label;12", 1, L"\"label\" is not a whole number"},
      {34, "4;x;", 2, L"\"x\" is not a whole number"},
      {34, "4;5x", 2, L"\"5x\" is not a whole number"},
      {48, "4294967299", 1, L"\"4294967299\" is not a whole number"},
      {9, "Row;1;nan", 3, L"\"nan\" is not a number"},
      {9, "Row;1;inf", 3, L"\"inf\" is not a number"},
  };
  // The lambdas below capture copies of the loop's bindings: clang 14 does
  // not capture a structured binding itself.
  for (const auto& [line, row, column, problem] : refused) {
    EXPECT_EQ(filestest::FatalLine(log_, [&, line = line, row = row] { Load(WithDataLine(line, row)); }),
              L"ERROR: " + Path() + L" line " + std::to_wstring(line + 1) + L" column " + std::to_wstring(column) +
                  L": value " + problem)
        << row;
  }
  // A file cut short says where it ends (then its zeros are refused).
  EXPECT_THROW(Load("# c\r\n1;1;1;1;1;1;1;1;1;1;1;1\r\n"), sFatalExitError);
  EXPECT_TRUE(log_.Contains(L"WARNING: " + Path() + L" line 2: the file ends after 1 of 184 data lines; the values of "
                            L"the others are 0"));
}

// Line 15 opens with the air strength per bombing step of a raid on a city;
// the first row of terrain costs follows from column 2. The written line
// carries no label, and a label where the step stands is refused.
TEST_F(ConstsFile, Line15OpensWithTheBombingStep) {
  const sScenarioConstants c = Load(WithDataLine(15, "50;1;2;3;4;5;6;7;99;0"));
  EXPECT_EQ(c.bombingStep, 50);
  EXPECT_EQ(std::pair(c.terrainCostRows[0][0], c.terrainCostRows[0][7]), std::pair(1, 99));
  EXPECT_EQ(std::pair(c.Value(15, 1), c.Value(15, 2)), std::pair(50.0, 1.0));
  EXPECT_EQ(c.terrainCostRows[1][0], 2);  // line 16 keeps its label column
  EXPECT_THROW(Load(WithDataLine(15, "TerrainCostRows;1;2;3;4;5;6;7;99;0")), sFatalExitError);
  sScenarioConstants written = UsableConstants();
  written.bombingStep = 40;
  EXPECT_EQ(SplitCrLf(FormatConstsText(written))[15], "40;2;2;2;2;2;2;2;2;2");
}

// The six commander weights: line 179 columns 1-5 and line 127 column 2. A
// line 179 without columns 4 and 5 gives them the loss-prevention weight and
// says so in one line; a full line says nothing.
TEST_F(ConstsFile, CommanderWeightsComeFromLines127And179) {
  auto notes = [](const twtest::LogCapture& log) {
    const std::vector<std::wstring> lines = log.Lines();
    return std::count_if(lines.begin(), lines.end(),
                         [](const std::wstring& l) { return l.find(L"commander weights") != std::wstring::npos; });
  };
  std::string text = WithDataLine(179, "7;8;9;10;11");
  const std::string range = "\r\n" + SplitCrLf(text)[127] + "\r\n";
  text.replace(text.find(range), range.size(), "\r\n3;4\r\n");
  const sUnitConstants full = CommanderWeightsOf(Load(text));
  EXPECT_EQ(std::tuple(full.skillWeight, full.experienceWeight, full.distanceFalloff, full.lossPreventionWeight,
                       full.damageDoublingWeight, full.bombardmentBonusWeight),
            std::tuple(7, 8, 4, 9, 10, 11));
  EXPECT_EQ(notes(log_), 0);

  for (const auto& [row, doubling, bonus] : {std::tuple("7;8;9", 9, 9), std::tuple("7;8;9;10", 10, 9)}) {
    twtest::LogCapture log;
    const sUnitConstants old = CommanderWeightsOf(Load(WithDataLine(179, row)));
    EXPECT_EQ(std::tuple(old.skillWeight, old.lossPreventionWeight, old.damageDoublingWeight, old.bombardmentBonusWeight),
              std::tuple(7, 9, doubling, bonus))
        << row;
    EXPECT_EQ(notes(log), 1) << row;
  }
  // The written line carries all five.
  sScenarioConstants c = UsableConstants();
  c.commanderBonusValues = {1, 2, 3, 4, 5};
  EXPECT_EQ(SplitCrLf(FormatConstsText(c))[179], "1;2;3;4;5");
}

// One probe for each check: a divisor of 0, or a value past the edge of its
// range (both edges where the range has two).
TEST_F(ConstsFile, DivisorsAndBoundsAreCheckedAtLoad) {
  const std::tuple<int, const char*, int, const wchar_t*> cases[] = {  // data line, row, column, value
      {1, "1;1;1;1;1;1;0;1;1;1;1;1", 7, L"0"},
      {16, "Row;1;1;1;0;1;1;1;1;5", 5, L"0"},
      {17, "Row;1;1;1;1;1;1;1;-1;5", 9, L"-1"},
      {48, "51", 1, L"51"},
      {48, "-1", 1, L"-1"},
      {129, "0;0;0;0;0", 1, L"0"},
      {131, "1;1;1;1;1;0;1", 6, L"0.000000"},
      {131, "1;1;1;1;1;1;0", 7, L"0.000000"},
      {137, "0", 1, L"0"},
      {166, "1;0;1;1", 2, L"0"},
      {167, "1;0;1", 2, L"0"},
      {168, "60", 1, L"60"},
      {181, "-3", 1, L"-3"},
  };
  for (const auto& [line, row, column, value] : cases) {
    const std::wstring last = filestest::FatalLine(log_, [&, line = line, row = row] { Load(WithDataLine(line, row)); });
    const std::wstring head = L"ERROR (" + Path() + L", data line " + std::to_wstring(line) + L", column " +
                              std::to_wstring(column) + L"): value " + value + L" is not allowed (";
    EXPECT_EQ(last.substr(0, head.size()), head) << row;
  }
  // The usable file itself loads.
  EXPECT_NO_THROW(Load(FormatConstsText(UsableConstants())));
}

// Every table has its range: prices, strengths and costs are not negative,
// chances are percentages, and nothing comes near a million; the refusal
// names the file, its line and column and the table.
TEST_F(ConstsFile, EveryTableKeepsItsRange) {
  const std::tuple<int, const char*, int, const wchar_t*> cases[] = {  // data line, row, column, message tail
      {9, "LandBaseStrength;1;-2147483649;1;1;1;1;1", 3, L"LandBaseStrength value -2147483648.000000 is out of range (0 to 1000000)"},
      {79, "LevelCostFactors;1;1;-1;1;1;1;1", 4, L"LevelCostFactors value -1.000000 is out of range (0 to 1000000)"},
      {27, "CombatResultLoss;0;0;-1;0;0;0;0", 4, L"CombatResultLoss value -1.000000 is out of range (0 to 1000000)"},
      {88, "ResearchCost;1;1;1;1;1;1;2000000", 8, L"ResearchCost value 2000000 is out of range (0 to 1000000)"},
      {31, "1;1;1;1;-1000001;1;1;1;1;1;1;1;1", 5, L"LandCombatFactors value -1000001.000000 is out of range (-1000000 to 1000000)"},
      {128, "101", 1, L"SeaBattleJoinChance value 101 is out of range (0 to 100)"},
  };
  for (const auto& [line, row, column, tail] : cases) {
    const std::wstring last = filestest::FatalLine(log_, [&, line = line, row = row] { Load(WithDataLine(line, row)); });
    EXPECT_EQ(last, L"ERROR: " + Path() + L" line " + std::to_wstring(line + 1) + L" column " +
                        std::to_wstring(column) + L": " + tail)
        << row;
  }
  // Signed tables keep their negative values.
  const sScenarioConstants c = Load(WithDataLine(53, "SupplyBandValues;0;0;-1;-1;-2;-3;0;0;0;0"));
  EXPECT_EQ(c.supplyBandValues[2][5], -3);
}

// The diplomacy dice are rolled one by one: a huge count or number of sides
// is brought down with a WARNING naming the file line; counts of 0 or less
// (no dice) stay.
TEST_F(ConstsFile, DiplomacyDiceCountsAreBounded) {
  std::vector<std::string> lines = SplitCrLf(FormatConstsText(UsableConstants()));
  lines[91] = "Delay;1;1;1;1e30;1e9;1";
  lines[114] = "Coup;1;1;1;1;1;-4;6;1;250.5;6;1";
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  const sScenarioConstants c = Load(text);
  EXPECT_EQ(std::tuple(c.diplomacyFactors91[3], c.diplomacyFactors91[4], c.coupFactors[5], c.coupFactors[8]),
            std::tuple(100.0f, 1000000.0f, -4.0f, 100.0f));
  // Data line n stands on file line n + 1 (the comment line is the first).
  auto logged = [&](const std::wstring& start) {
    for (const std::wstring& line : log_.Lines()) {
      if (line.rfind(start, 0) == 0) return true;
    }
    return false;
  };
  EXPECT_TRUE(logged(L"WARNING: " + Path() + L" line 92: column 5: dice count "));
  EXPECT_TRUE(logged(L"WARNING: " + Path() + L" line 92: column 6: die sides "));
  EXPECT_FALSE(logged(L"WARNING: " + Path() + L" line 115: column 7:"));
  EXPECT_TRUE(log_.Contains(L"WARNING: " + Path() + L" line 115: column 10: dice count 250.500000 is out of range "
                            L"(at most 100); taken as 100"));
}

}  // namespace
