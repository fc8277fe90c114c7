#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "files/countries_file.h"
#include "files/fatal.h"
#include "platform/text.h"
#include "support/test_support.h"
#include "world/country.h"
#include "world/gra.h"

namespace {

std::unique_ptr<cCountry> SampleCountry(int id) {
  auto c = std::make_unique<cCountry>();
  c->id = id;
  c->active = true;
  c->name = L"Polska";
  c->skinName = L"pl";
  c->colour = {0xFF0000u, 0xABCDEF12u, 0u, 0x10u};
  c->alliance = 4;
  c->orientation = 3;
  c->zoneOfInfluence = 1;
  c->allianceEntry = 75;
  c->politicalStrength = -1;
  c->finishedTurn = true;
  c->human = false;
  c->techLevel = {1, 2, 3, 4, 5, 6, 0};
  c->productionPoints = 123.25;
  c->diplomaticPoints = 7;
  c->strategicMovementPoints = 8;
  c->seaTransportPoints = 9;
  c->amphibiousInvasionPoints = 10;
  c->strategicMovementPointsMax = 11;
  c->seaTransportPointsInConvoys = 12;
  c->amphibiousInvasionPointsTotal = 13;
  c->techInvestment = {21, 22, -1, 23, 24, 25, 26};
  c->techProgress = {31, 32, -1, 33, 34, 35, 36};
  c->capitalX = 140;
  c->capitalY = 77;
  c->doneDelayWarEntry = true;
  c->doneTurnInOrientation = true;
  c->socialUnrest = 12.5f;
  c->warEconomy = 40.0f;
  c->power = 1;
  c->region = 3;
  c->difficulty = 2;
  c->nuclearBombs = 0;
  c->diplomaticPointsPerMonth = 6;
  c->doctrineMonths = {3, 6, 12, 24, 48};
  c->doneExertPressureAllied = true;
  c->pbemPlayerId = 2;
  c->unitUpkeepModifier = 1.5f;
  c->winterBattle = 10.0f;
  c->winterMove = 20.0f;
  c->mudBattle = 30.0f;
  c->mudMove = 40.25f;
  c->specialFlags = 1;
  return c;
}

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

TEST_F(CountriesFile, HeaderAndRowsAreExact) {
  std::vector<std::unique_ptr<cCountry>> countries;
  countries.push_back(SampleCountry(1));
  const std::string text = FormatCountriesText(countries);
  const std::size_t firstBreak = text.find("\r\n");
  const std::size_t secondBreak = text.find("\r\n", firstBreak + 2);
  ASSERT_NE(secondBreak, std::string::npos);
  const std::string header1 = text.substr(0, firstBreak);
  const std::string header2 = text.substr(firstBreak + 2, secondBreak - firstBreak - 2);
  EXPECT_EQ(header1.substr(0, 52), "#Important! Ids must follow sequence (1,2,3...etc);;");
  EXPECT_EQ(std::count(header1.begin(), header1.end(), ';'), 68);
  EXPECT_EQ(header1.substr(header1.size() - 21), "Weather modifiers;;;;");
  EXPECT_EQ(header2.substr(0, 35), "#ID;IsActive?;Name;Color1;Color2;Co");
  EXPECT_EQ(std::count(header2.begin(), header2.end(), ';'), 69);
  EXPECT_EQ(header2.substr(header2.size() - 57), "Mud move;Country type special flags;Skins name [optional]");
  EXPECT_EQ(text.substr(secondBreak + 2), kSampleRow);
}

TEST_F(CountriesFile, RoundTripThroughTheSaveFolder) {
  cWorld saved;
  saved.Countries().push_back(SampleCountry(1));
  auto second = SampleCountry(2);
  second->name = L"Żółw;Nord\r\nSüd";  // Windows-1252 has ü but not Ż or ł
  second->skinName.clear();
  second->colour = {0xFFFFFFFFu, 1u, 2u, 3u};
  second->productionPoints = -0.5;
  saved.Countries().push_back(std::move(second));
  WriteCountries(saved, plat::WidenAnsi(dir_.Path().string()));
  EXPECT_TRUE(log_.Contains(L"File opened OK"));

  cWorld loaded;
  loaded.Countries().push_back(SampleCountry(9));  // replaced by the file's
  LoadCountries(loaded, Pattern());
  ASSERT_EQ(loaded.GetCountryCount(), 2);
  const cCountry& a = *loaded.GetCountry(1);
  const cCountry& expect = *saved.GetCountry(1);
  EXPECT_EQ(a.name, expect.name);
  EXPECT_EQ(a.skinName, L"pl");
  EXPECT_EQ(a.colour, expect.colour);
  EXPECT_EQ(a.techLevel, expect.techLevel);
  EXPECT_EQ(a.techInvestment, expect.techInvestment);
  EXPECT_EQ(a.techProgress, expect.techProgress);
  EXPECT_EQ(a.productionPoints, 123.25);
  EXPECT_EQ(a.politicalStrength, -1);
  EXPECT_TRUE(a.finishedTurn);
  EXPECT_FALSE(a.human);
  EXPECT_EQ(a.doctrineMonths, expect.doctrineMonths);
  EXPECT_TRUE(a.doneExertPressureAllied);
  EXPECT_FALSE(a.doneExertPressureAxis);
  EXPECT_EQ(a.socialUnrest, 12.5f);
  EXPECT_EQ(a.mudMove, 40.25f);
  EXPECT_EQ(a.specialFlags, 1);
  EXPECT_EQ(a.pbemPlayerId, 2);

  // The name never breaks the row; without a skin name the name serves.
  const cCountry& b = *loaded.GetCountry(2);
  EXPECT_EQ(b.name, L"?\u00f3?w,Nord  S\u00fcd");
  EXPECT_EQ(b.skinName, b.name);
  EXPECT_EQ(b.colour[0], 0xFFFFFFFFu);
  EXPECT_EQ(b.productionPoints, -0.5);
  EXPECT_TRUE(log_.Contains(L"Added country Polska (ID: 1, AllianceID: 4)"));
}

TEST_F(CountriesFile, SixtyNineFieldsAndNonNumbers) {
  std::string row = kSampleRow;
  row = row.substr(0, row.size() - 3);  // no skin name: 69 fields
  row.replace(row.find("Polska;FF0000"), 13, "Polska;zz");
  dir_.Write("countries.csv", WithRows("\r\n" + row + "\r\n# a comment\r\n;;;\r\n"));
  cWorld world;
  LoadCountries(world, Pattern());
  ASSERT_EQ(world.GetCountryCount(), 1);
  EXPECT_EQ(world.GetCountry(1)->skinName, L"Polska");
  EXPECT_EQ(world.GetCountry(1)->colour[0], 0u);
  EXPECT_EQ(world.GetCountry(1)->specialFlags, 1);
}

TEST_F(CountriesFile, ShortRowIsFatal) {
  // 68 fields: the special flags are missing.
  std::string row = kSampleRow;
  row = row.substr(0, row.size() - 5) + ";";
  dir_.Write("countries.csv", WithRows("\r\n" + std::string(kSampleRow) + "\r\n" + row));
  cWorld world;
  try {
    LoadCountries(world, Pattern());
    FAIL() << "no fatal exit";
  } catch (const sFilesFatalError& e) {
    EXPECT_EQ(e.exitCode, 1);
  }
  EXPECT_EQ(log_.Lines().back(),
            L"WARNING: wrong tokens (columns/values) amount (68) in " + Path() + L" at line 4 (counting from 1)");
}

TEST_F(CountriesFile, IdsOutOfSequenceAreFatal) {
  std::string second = kSampleRow;
  second[0] = '3';
  dir_.Write("countries.csv", WithRows("\r\n" + std::string(kSampleRow) + "\r\n" + second));
  cWorld world;
  EXPECT_THROW(LoadCountries(world, Pattern()), sFilesFatalError);
  EXPECT_EQ(log_.Lines().back(), L"ERROR: country ID 3 in " + Path() +
                                     L" at line 4 (counting from 1) breaks the sequence of ids (expected 2)");

  std::string first = kSampleRow;
  first[0] = '0';
  dir_.Write("countries.csv", WithRows("\r\n" + first));
  EXPECT_THROW(LoadCountries(world, Pattern()), sFilesFatalError);
}

TEST_F(CountriesFile, MissingFileIsFatal) {
  cWorld world;
  EXPECT_THROW(LoadCountries(world, Pattern()), sFilesFatalError);
  EXPECT_EQ(log_.Lines().back(), L"Blad otwarcia pliku! (nie istnieje?)");
}

}  // namespace
