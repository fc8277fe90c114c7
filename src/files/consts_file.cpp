#include "files/consts_file.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/string_base.h"
#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

// Where a value stands, for the message that refuses it.
struct sConstsPlace {
  std::wstring_view path;
  int fileLine = 0;
};

// Stores one value field; a field that is not a number (or, for a whole
// number, not one within 32 bits) ends the load naming file, line and column.
void StoreText(sScenarioConstants& c, const sConstsLine& d, int index, std::string_view text,
               const sConstsPlace& place, int column) {
  char* slot = ConstsSlotAddress(c, d, index);
  const std::wstring field = plat::WidenAnsi(text);
  int whole = 0;
  double number = 0.0;
  const bool isWhole = d.kind == eConstsKind::kInt;
  if (isWhole ? !files::ParseWholeInt(field, whole) : !files::ParseWholeNumber(field, number)) {
    FatalExit(plat::Format(L"ERROR: %s line %i column %i: value \"%s\" is not %s", std::wstring(place.path),
                           place.fileLine, column, field, isWhole ? L"a whole number" : L"a number"));
  }
  switch (d.kind) {
    case eConstsKind::kInt: *reinterpret_cast<int*>(slot) = whole; break;
    case eConstsKind::kFloat: *reinterpret_cast<float*>(slot) = files::ToFloat(number); break;
    case eConstsKind::kDouble: *reinterpret_cast<double*>(slot) = number; break;
    case eConstsKind::kFloatToInt: *reinterpret_cast<int*>(slot) = files::TruncateToInt(files::ToFloat(number)); break;
  }
}

bool IsBlankOrSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';'; }

// One data line: a single value in the line's first field, or the values
// of the non-empty ";" fields at their columns. Returns the number of
// columns of a multi-value line (0 for the others).
int ReadDataLine(sScenarioConstants& c, int line, std::string_view text, const sConstsPlace& place) {
  if (line > sScenarioConstants::kDataLines) return 0;
  const sConstsLine& d = ConstsLine(line);
  if (d.offset < 0) return 0;
  if (d.single) {
    StoreText(c, d, 0, text.substr(0, text.find(';')), place, 1);
    return 0;
  }
  int column = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) {
      ++column;
      const int index = ConstsSlotIndex(line, column);
      if (index >= 0) StoreText(c, d, index, text.substr(start, end - start), place, column);
    }
    start = end + 1;
  }
  return column;
}

// The commander weights of line 179: files made before the line had its
// damage-doubling and bombardment-bonus weights (columns 4 and 5) give each
// missing one the loss-prevention weight of column 3, the same chance per
// skill point, and say so once.
constexpr int kCommanderWeightsLine = 179;

void DefaultCommanderWeights(sScenarioConstants& c, int columns, std::wstring_view path) {
  if (columns >= 5) return;
  const int lossPrevention = c.commanderBonusValues[2];
  for (int column = std::max(columns, 3) + 1; column <= 5; ++column) {
    c.commanderBonusValues[static_cast<std::size_t>(column - 1)] = lossPrevention;
  }
  LogLine(plat::Format(L"%s, data line %i has %i of its 5 commander weights: the damage-doubling and bombardment-bonus "
                       L"weights it lacks take the loss-prevention weight %i",
                       std::wstring(path), kCommanderWeightsLine, columns, lossPrevention));
}

void ExpandSupplyBands(sScenarioConstants& c) {
  c.supplyEffectA[0] = c.supplyEffectA0;
  c.supplyEffectB[0] = 100;
  c.supplyEffectC[0] = -4;
  c.supplyEffectD[0] = 50;
  sScenarioConstants::SupplyEffect* arrays[6] = {&c.supplyEffectA, &c.supplyEffectB, &c.supplyEffectC,
                                                  &c.supplyEffectD, &c.supplyEffectE, &c.supplyEffectF};
  for (int band = 0; band < 10; ++band) {
    const int bound = c.supplyBandBounds[band];
    for (int k = 1; k <= 50 && k <= bound; ++k) {
      for (int a = 0; a < 6; ++a) (*arrays[a])[k] = c.supplyBandValues[a][band];
    }
  }
  long long running = 100;
  for (int k = 50; k >= 1; --k) {
    running -= c.supplyEffectA[k];
    // Kept within the 32-bit range however large the band values are.
    if (running > INT32_MAX) running = INT32_MAX;
    if (running < INT32_MIN) running = INT32_MIN;
    c.supplyEffectA[k] = static_cast<int>(running);
  }
  int largest = 1;
  for (int v : c.navalTypeStrength) largest = std::max(largest, v);
  c.navalTypeStrengthMax = largest;
}

// The constants that rules divide by, or that bound a table or a loop, are
// checked once here so that no rule meets a zero divisor or an index outside
// its table later.
void Validate(const sScenarioConstants& c, std::wstring_view path) {
  auto fail = [&](int line, int column, const std::wstring& value, const wchar_t* rule) {
    FatalExit(plat::Format(L"ERROR (%s, data line %i, column %i): value %s is not allowed (%s)",
                                std::wstring(path), line, column, value, std::wstring(rule)));
  };
  auto atLeast = [&](int line, int column, int value, int least, const wchar_t* rule) {
    if (value < least) fail(line, column, std::to_wstring(value), rule);
  };
  auto within = [&](int line, int column, int value, int low, int high, const wchar_t* rule) {
    if (value < low || value > high) fail(line, column, std::to_wstring(value), rule);
  };
  for (int m = 0; m < 12; ++m) atLeast(1, m + 1, c.turnsPerMonth[m], 1, L"impulses of a month must be 1 or more");
  for (int r = 0; r < 3; ++r) {
    for (int t = 0; t < 8; ++t) {
      atLeast(15 + r, t + 2, c.terrainCostRows[r][t], 1, L"a terrain movement cost must be 1 or more");
    }
  }
  within(48, 1, c.maxSupply, 0, 50, L"a supply value must be 0 to 50");
  long long weights = 0;
  for (int w = 0; w < 5; ++w) {
    within(129, w + 1, c.seaBattleRoundWeights[w], 0, 1000000, L"a round weight must be 0 to 1000000");
    weights += c.seaBattleRoundWeights[w];
  }
  if (weights < 1) fail(129, 1, L"0", L"the round weights must not all be 0");
  for (int col : {6, 7}) {
    const float v = c.siegeFactors[col - 1];
    if (!(std::isfinite(v) && v != 0.0f)) fail(131, col, plat::Format(L"%f", static_cast<double>(v)), L"a divisor must not be 0");
  }
  atLeast(137, 1, c.noSupplyTurnsLimit, 1, L"a divisor must be 1 or more");
  atLeast(166, 2, c.navalSpotFriendly[1], 1, L"a spotting step must be 1 or more");
  atLeast(167, 2, c.navalSpotEnemy[1], 1, L"a spotting step must be 1 or more");
  within(168, 1, c.shipSupplyLimit, 0, 50, L"a supply value must be 0 to 50");
  within(181, 1, c.aiShipSupply, 0, 50, L"a supply value must be 0 to 50");
}

std::wstring FormatSlot(const sScenarioConstants& c, const sConstsLine& d, int index) {
  const double value = ConstsSlotValue(c, d, index);
  switch (d.kind) {
    case eConstsKind::kFloat:
    case eConstsKind::kDouble: return plat::Format(L"%f", value);
    case eConstsKind::kInt:
    case eConstsKind::kFloatToInt: break;
  }
  return plat::Format(L"%i", static_cast<int>(value));
}

// The range of every value: prices, strengths, costs, counts and ranges are
// not negative, chances are percentages, and no rule value comes near a
// million (larger ones are damage: they overflow the sums of the rules).
constexpr double kMostConstant = 1000000.0;
// Lines 25 to 30 are the ratios of the attackers' land combat loss to the
// defender's.
constexpr int kNotNegativeLines[] = {2,  3,  4,  5,  6,  7,  8,  9,  10,  11,  12,  13,  14,  25,  26,  27,
                                     28, 29, 30, 34, 47, 68, 69, 70, 73,  76,  78,  79,  80,  81,  82,  83,
                                     85, 88, 89, 122, 123, 127, 132, 136, 143, 145, 162};
constexpr int kPercentLines[] = {128, 146, 147};

void CheckRanges(const sScenarioConstants& c, std::wstring_view path, const std::vector<int>& fileLines) {
  for (int line = 1; line <= sScenarioConstants::kDataLines; ++line) {
    const sConstsLine& d = ConstsLine(line);
    // Lines the file does not reach keep their 0, which the warning above has named.
    if (d.offset < 0 || fileLines[static_cast<std::size_t>(line)] == 0) continue;
    double least = -kMostConstant;
    double most = kMostConstant;
    if (std::find(std::begin(kNotNegativeLines), std::end(kNotNegativeLines), line) != std::end(kNotNegativeLines)) {
      least = 0.0;
    }
    if (std::find(std::begin(kPercentLines), std::end(kPercentLines), line) != std::end(kPercentLines)) {
      least = 0.0;
      most = 100.0;
    }
    for (int index = 0; index < d.count; ++index) {
      const double value = ConstsSlotValue(c, d, index);
      if (std::isfinite(value) && value >= least && value <= most) continue;
      FatalExit(plat::Format(L"ERROR: %s line %i column %i: %hs value %s is out of range (%.0f to %.0f)",
                             std::wstring(path), fileLines[static_cast<std::size_t>(line)], d.firstColumn + index,
                             d.name, FormatSlot(c, d, index), least, most));
    }
  }
}

// The dice of the diplomacy rules: counts are rolled one die at a time
// (some while the number of rolls is below a float), so a count read as a
// huge number would stall the game; counts above kMaxDice and sides above
// kMaxSides are brought down with a WARNING naming the file line.
constexpr float kMaxDice = 100.0f;
constexpr float kMaxSides = 1000000.0f;

void ClampDiplomacyDice(sScenarioConstants& c, std::wstring_view path, const std::vector<int>& fileLines) {
  struct sDie {
    int line;
    int column;
    float* value;
    float most;
    const wchar_t* what;
  };
  const sDie dice[] = {
      {91, 5, &c.diplomacyFactors91[3], kMaxDice, L"dice count"}, {91, 6, &c.diplomacyFactors91[4], kMaxSides, L"die sides"},
      {92, 5, &c.diplomacyFactors92[3], kMaxDice, L"dice count"}, {92, 6, &c.diplomacyFactors92[4], kMaxSides, L"die sides"},
      {93, 2, &c.diplomacyFactors93[0], kMaxDice, L"dice count"}, {93, 3, &c.diplomacyFactors93[1], kMaxSides, L"die sides"},
      {94, 2, &c.diplomacyFactors94[0], kMaxDice, L"dice count"}, {94, 3, &c.diplomacyFactors94[1], kMaxSides, L"die sides"},
      {94, 5, &c.diplomacyFactors94[3], kMaxDice, L"dice count"}, {94, 6, &c.diplomacyFactors94[4], kMaxSides, L"die sides"},
      {94, 8, &c.diplomacyFactors94[6], kMaxDice, L"dice count"}, {94, 9, &c.diplomacyFactors94[7], kMaxSides, L"die sides"},
      {113, 2, &c.diplomacyFactors113[0], kMaxDice, L"dice count"}, {113, 3, &c.diplomacyFactors113[1], kMaxSides, L"die sides"},
      {114, 7, &c.coupFactors[5], kMaxDice, L"dice count"}, {114, 8, &c.coupFactors[6], kMaxSides, L"die sides"},
      {114, 10, &c.coupFactors[8], kMaxDice, L"dice count"}, {114, 11, &c.coupFactors[9], kMaxSides, L"die sides"},
  };
  for (const sDie& d : dice) {
    if (!(*d.value > d.most)) continue;
    LogLine(L"WARNING: %s line %i: column %i: %s %f is out of range (at most %i); taken as %i", std::wstring(path),
            fileLines[static_cast<std::size_t>(d.line)], d.column, std::wstring(d.what), static_cast<double>(*d.value),
            static_cast<int>(d.most), static_cast<int>(d.most));
    *d.value = d.most;
  }
}


}  // namespace

void LoadScenarioConstants(sScenarioConstants& constants, std::wstring_view scenarioName) {
  LoadScenarioConstantsFile(constants, plat::Format(L"data\\scenarios\\%s\\consts.csv", std::wstring(scenarioName)));
}

void LoadScenarioConstantsFile(sScenarioConstants& constants, std::wstring_view path) {
  // A fresh record: every slot the file leaves out is 0, the band table
  // takes its defaults.
  constants = sScenarioConstants{};
  constants.supplyBandBounds.fill(50);
  constants.supplyBandValues[3].fill(100);

  const std::string bytes =
      files::ReadDataFileOrExit(std::wstring(path), {L"Wczytywanie stalych scenariusza z pliku:"});

  plat::LineReader reader(bytes);
  std::string_view line;
  int dataLine = 1;
  int commanderColumns = 0;
  std::vector<int> fileLines(sScenarioConstants::kDataLines + 1, 0);
  while (reader.Next(line)) {
    if (!line.empty() && line[0] == '#') continue;
    bool blank = true;
    for (char ch : line) {
      if (!IsBlankOrSeparator(ch)) {
        blank = false;
        break;
      }
    }
    if (blank) continue;
    const int columns =
        ReadDataLine(constants, dataLine, line, sConstsPlace{path, static_cast<int>(reader.LineNumber())});
    if (dataLine == kCommanderWeightsLine) commanderColumns = columns;
    if (dataLine <= sScenarioConstants::kDataLines) fileLines[static_cast<std::size_t>(dataLine)] = static_cast<int>(reader.LineNumber());
    ++dataLine;
  }
  // A file cut short leaves the rules it does not reach at 0.
  if (dataLine <= sScenarioConstants::kDataLines) {
    LogLine(L"WARNING: %s line %i: the file ends after %i of %i data lines; the values of the others are 0",
            std::wstring(path), static_cast<int>(reader.LineNumber()), dataLine - 1, sScenarioConstants::kDataLines);
  }
  // The reads end at the end of the file, which the log notes.
  LogLine(g_StringBase.GetText("error_while_reading_consts.csv!"));

  DefaultCommanderWeights(constants, commanderColumns, path);
  ExpandSupplyBands(constants);
  ClampDiplomacyDice(constants, path, fileLines);
  CheckRanges(constants, path, fileLines);
  Validate(constants, path);
}

std::string FormatConstsText(const sScenarioConstants& constants) {
  std::wstring text = L"# Scenario constants: one data line per rule value group, in fixed order";
  for (int line = 1; line <= sScenarioConstants::kDataLines; ++line) {
    const sConstsLine& d = ConstsLine(line);
    text += L"\r\n";
    if (d.offset < 0) {
      text += L"0";
      continue;
    }
    std::wstring row;
    if (!d.single && d.firstColumn == 2) row = plat::Format(L"%hs", d.name);
    for (int column = d.firstColumn; column < d.firstColumn + d.count; ++column) {
      if (!row.empty()) row += L';';
      row += FormatSlot(constants, d, ConstsSlotIndex(line, column));
    }
    text += row;
  }
  return plat::NarrowAnsi(text);
}

void WriteConstsFile(std::wstring_view path, const sScenarioConstants& constants) {
  files::WriteDataFile(path, FormatConstsText(constants));
}
