#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "files/countries_file.h"
#include "files_fixture.h"
#include "platform/text.h"
#include "world/country.h"
#include "world/world.h"

namespace {

constexpr const char* kSampleRow =
    "1;1;Polska;FF0000;ABCDEF12;0;10;4;3;1;75;-1;1;0;1;2;3;4;5;6;0;123.250000;7;8;9;10;11;12;13;21;22;23;24;25;26;"
    "31;32;33;34;35;36;140;77;1;0;0;1;12.500000;40.000000;1;3;2;0;6;3;6;12;24;48;0;1;0;2;1.500000;10.000000;"
    "20.000000;30.000000;40.250000;1;pl;";

class CountriesFile : public ::testing::Test {
 protected:
  std::wstring Pattern() const { return plat::WidenAnsi(dir_.Path().string()) + L"/%s"; }
  std::wstring Path() const { return plat::WidenAnsi(dir_.File("countries.csv")); }
  // The two header lines of a written file, then rows.
  std::string WithRows(const std::string& rows) {
    std::vector<std::unique_ptr<cCountry>> none;
    return FormatCountriesText(none) + rows;
  }

  twtest::TempDir dir_;
  twtest::LogCapture log_;
  cScopedThrowingFatalHook hook_;
};

TEST_F(CountriesFile, HeaderAndRowsAreExactAndRoundTrip) {
  std::string second = kSampleRow;
  second[0] = '2';
  // The header is that of the scenarios' files, which a save leaves
  // unchanged (the scenario tests' round trip).
  const std::string file = WithRows("\r\n" + std::string(kSampleRow) + "\r\n" + second);
  dir_.Write("countries.csv", file);
  cWorld saved;
  saved.AddCountry(std::make_unique<cCountry>());  // replaced by the file's
  LoadCountries(saved, Pattern());
  ASSERT_EQ(saved.GetCountryCount(), 2);
  // Spot checks of the columns; the unused technology has no column.
  const cCountry& a = *saved.GetCountry(1);
  EXPECT_EQ(std::tuple(a.colour[1], a.productionPoints, a.techInvestment[3], a.capitalY, a.mudMove, a.skinName),
            std::tuple(0xABCDEF12u, 123.25, 23, 77, 40.25f, std::wstring(L"pl")));
  EXPECT_EQ(FormatCountriesText(saved.Countries()), file);

  cCountry& b2 = *saved.GetCountry(2);
  b2.name = L"Żółw;Nord\r\nSüd";  // Windows-1252 has ü but not Ż or ł
  b2.skinName.clear();
  b2.colour[0] = 0xFFFFFFFFu;
  b2.productionPoints = -0.5;
  WriteCountries(saved, plat::WidenAnsi(dir_.Path().string()));
  cWorld loaded;
  LoadCountries(loaded, Pattern());
  // The name never breaks the row; without a skin name the name serves.
  const cCountry& b = *loaded.GetCountry(2);
  EXPECT_EQ(b.name, L"?\u00f3?w,Nord  S\u00fcd");
  EXPECT_EQ(std::tuple(b.skinName, b.colour[0], b.productionPoints), std::tuple(b.name, 0xFFFFFFFFu, -0.5));
}

TEST_F(CountriesFile, ShortRowsAndBrokenIdSequenceAreFatal) {
  std::string shortRow = kSampleRow;  // 68 fields: the special flags are missing
  shortRow = shortRow.substr(0, shortRow.size() - 5) + ";";
  std::string third = kSampleRow;
  third[0] = '3';
  const std::pair<std::string, std::wstring> cases[] = {  // rows, the last log line
      {std::string(kSampleRow) + "\r\n" + shortRow,
       L"WARNING: wrong tokens (columns/values) amount (68) in " + Path() + L" at line 4 (counting from 1)"},
      {std::string(kSampleRow) + "\r\n" + third,
       L"ERROR: country ID 3 in " + Path() + L" at line 4 (counting from 1) breaks the sequence of ids (expected 2)"},
      {std::string(kSampleRow) + "\r\n" + kSampleRow,
       L"ERROR: " + Path() + L" line 4: country id 1 is given twice, on lines 3 and 4"},
  };
  for (const auto& [rows, line] : cases) {
    dir_.Write("countries.csv", WithRows("\r\n" + rows));
    cWorld world;
    EXPECT_EQ(filestest::FatalLine(log_, [&] { LoadCountries(world, Pattern()); }), line);
  }
}

// Fields are numbers whole: a number run into text is refused with file,
// line and column; the doctrine level (a table index) and the war economy
// share are brought into range with a WARNING.
TEST_F(CountriesFile, ValuesAreReadWholeAndLevelsAndSharesClamped) {
  auto with = [](int column, const std::string& value) {
    std::string row = kSampleRow;
    std::size_t start = 0;
    for (int c = 1; c < column; ++c) start = row.find(';', start) + 1;
    return row.replace(start, row.find(';', start) - start, value);
  };
  {
    std::string row = with(17, "9");
    const std::size_t at = row.find("12.500000;40.000000");
    row.replace(at, 19, "12.500000;150");
    dir_.Write("countries.csv", WithRows("\n" + row));
  }
  cWorld world;
  LoadCountries(world, Pattern());
  ASSERT_EQ(world.GetCountryCount(), 1);
  EXPECT_EQ(std::tuple(world.GetCountry(1)->techLevel[kTechDoctrine], world.GetCountry(1)->warEconomy),
            std::tuple(5, 100.0f));
  EXPECT_TRUE(log_.Contains(L"WARNING: " + Path() +
                            L" line 3: column 17: doctrine level \"9\" is out of range (0 to 5); taken as 5"));
  EXPECT_TRUE(log_.Contains(L"WARNING: " + Path() +
                            L" line 3: column 49: war economy per cent \"150\" is out of range (0 to 100); taken as 100"));
  const std::pair<std::string, std::wstring> refused[] = {
      {with(22, "123.25pp"), L" line 3 column 22: production points \"123.25pp\" is not a number"},
      {with(1, "x1"), L" line 3 column 1: country id \"x1\" is not a whole number"},
      {with(12, "4294967295"), L" line 3 column 12: political strength \"4294967295\" is out of range"},
      {with(5, "ABCDEFG"), L" line 3 column 5: colour \"ABCDEFG\" is not a hexadecimal number of up to 8 digits"},
      {with(4, "1FF0000FF"), L" line 3 column 4: colour \"1FF0000FF\" is not a hexadecimal number of up to 8 digits"},
  };
  for (const auto& [row, line] : refused) {
    dir_.Write("countries.csv", WithRows("\r\n" + row));
    cWorld other;
    EXPECT_EQ(filestest::FatalLine(log_, [&] { LoadCountries(other, Pattern()); }), L"ERROR: " + Path() + line);
  }
}

// The codes the diplomacy rules index their tables by are refused outside
// the known ones; the shares they scale by are brought into range.
TEST_F(CountriesFile, UnknownDiplomacyCodesAreRefusedAndSharesClamped) {
  auto set = [](std::string row, int column, const std::string& value) {
    std::size_t start = 0;
    for (int c = 1; c < column; ++c) start = row.find(';', start) + 1;
    return row.replace(start, row.find(';', start) - start, value);
  };
  const std::pair<std::string, std::wstring> refused[] = {
      {set(kSampleRow, 8, "7"), L" line 3 column 8: alliance code \"7\" is out of range (0 to 6)"},
      {set(kSampleRow, 8, "-1"), L" line 3 column 8: alliance code \"-1\" is out of range (0 to 6)"},
      {set(kSampleRow, 9, "6"), L" line 3 column 9: orientation \"6\" is out of range (0 to 5)"},
      {set(kSampleRow, 10, "4"), L" line 3 column 10: zone of influence \"4\" is out of range (0 to 3)"},
  };
  for (const auto& [row, line] : refused) {
    dir_.Write("countries.csv", WithRows("\r\n" + row));
    cWorld other;
    EXPECT_EQ(filestest::FatalLine(log_, [&] { LoadCountries(other, Pattern()); }), L"ERROR: " + Path() + line);
  }
  const std::string row = set(set(set(kSampleRow, 11, "120"), 12, "101"), 48, "-3.5");
  dir_.Write("countries.csv", WithRows("\n" + row));
  cWorld world;
  LoadCountries(world, Pattern());
  const cCountry& c = *world.GetCountry(1);
  EXPECT_EQ(std::tuple(c.allianceEntry, c.politicalStrength, c.socialUnrest), std::tuple(100, 100, 0.0f));
  EXPECT_TRUE(log_.Contains(L"WARNING: " + Path() +
                            L" line 3: column 11: alliance entry \"120\" is out of range (0 to 100); taken as 100"));
  EXPECT_TRUE(log_.Contains(L"WARNING: " + Path() +
                            L" line 3: column 12: political strength \"101\" is out of range (-1 to 100); taken as 100"));
}

}  // namespace
