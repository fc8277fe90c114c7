// The cities, reconnaissance, airship-report, topography, city-row, sea-node,
// relations and losses files: exact bytes of the writers, round trips and
// the handling of bad lines.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "files/air_reports_file.h"
#include "files/cities_file.h"
#include "files/city_rows_file.h"
#include "files/matrices_file.h"
#include "files/topography_file.h"
#include "files_fixture.h"
#include "platform/text.h"
#include "world/unit.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

// A unit that only stands somewhere.
class cTestUnit : public cUnit {
 public:
  cTestUnit(int atX, int atY) : cUnit(nullptr) { x = atX, y = atY; }
  int MarkDeployHexes(bool) override { return 0; }
  int ComputeMoveRange(bool) override { return 0; }
};

struct WorldFixture : filestest::FilesTest {
  WorldFixture() { AddCountries(3); }
  cCity& AddCity(const wchar_t* name, int x, int y) { return twtest::AddCity(world, x, y, 0, name); }
};

using CitiesFile = WorldFixture;

TEST_F(CitiesFile, RowsReadBackAndAreWrittenExactly) {
  const std::string rows = "Warszawa;3;4;2;5;2.500000;7;1;\r\nBad,Name;1;2;0;0;0.000000;0;0;";
  dir.Write("cities.csv", "#h\r\n" + rows);
  AddCity(L"Old", 3, 4);
  LoadCities(world, Pattern());  // frees the earlier cities
  ASSERT_EQ(world.Cities().size(), 2u);
  cCity& b = *world.Cities()[0];
  EXPECT_EQ(std::tuple(b.GetName(), b.type, b.productionPoints, b.productionLostToBombing),
            std::tuple(std::wstring(L"Warszawa"), 2, 2.5f, 1));
  EXPECT_EQ(world.GetMap().GetHex(3, 4).city, &b);
  world.Cities()[1]->SetName(L"Bad;Name");  // the separator never breaks the row
  EXPECT_EQ(filestest::WithoutHeader(Rewrite("cities.csv", [&] { WriteCities(world, Folder()); })), rows);

  dir.Write("cities.csv", "#c\r\nShort;1;2;3\r\nLodz;;5;6;1;2;3.25;4;0;\r\n");
  LoadCities(world, Pattern());
  ASSERT_EQ(world.Cities().size(), 1u);  // the empty field shifts the columns left
  EXPECT_EQ(world.Cities()[0]->x, 5);
  EXPECT_FLOAT_EQ(world.Cities()[0]->productionPoints, 3.25f);
  EXPECT_EQ(world.GetMap().GetHex(3, 4).city, nullptr);
}

using AirReports = WorldFixture;

TEST_F(AirReports, ReconHexesWriteAndRead) {
  cTestUnit u1(2, 3), u2(4, 5), u3(6, 1);
  world.GetCountry(1)->reconSpottedUnits = {&u1, &u2};
  world.GetCountry(3)->reconSpottedUnits = {&u3};
  WriteAirReconUnits(world, Folder());
  EXPECT_EQ(Read("airrecon_units.csv"),
            "#Hexes with units spoted with air recon\r\nCountry;1;\r\n2;3;\r\n4;5;\r\nCountry;3;\r\n6;1;");
  for (auto& c : world.Countries()) c->reconSpottedUnits.clear();

  // A unit moved since it was spotted is found at its new hex; a hex
  // without a unit adds nothing.
  u2.x = 9;
  cTestUnit* units[] = {&u1, &u2, &u3};
  const UnitAtHexFn unitAt = [&](int x, int y) -> cUnit* {
    for (cTestUnit* u : units) if (u->x == x && u->y == y) return u;
    return nullptr;
  };
  dir.Write("airrecon_units.csv",
            "#h\r\n7;7;\r\n  Country;1;  \r\n2;3;\r\n4;5;\r\n\r\nx;1;\r\nCountry;9;\r\n6;1;\r\nCountry;3;\r\n6;1;");
  twtest::LogCapture log;
  LoadAirReconHexes(world, Pattern(), unitAt);
  EXPECT_EQ(world.GetCountry(1)->reconSpottedUnits, (std::list<cUnit*>{&u1}));
  EXPECT_TRUE(world.GetCountry(2)->reconSpottedUnits.empty());
  // After the unknown country 9, hexes count for nobody until country 3.
  EXPECT_EQ(world.GetCountry(3)->reconSpottedUnits, (std::list<cUnit*>{&u3}));
  // Every line left out is warned about with its number and reason.
  const std::wstring path = Folder() + L"\\airrecon_units.csv";
  const std::vector<std::wstring> skipped = {
      L"line 2: a hex before any valid Country line", L"line 5: no unit stands on hex (4, 5)",
      L"line 7: not a hex: x;1;", L"line 8: a wrong country id; its hexes are skipped too: Country;9;",
      L"line 9: a hex before any valid Country line"};
  for (const std::wstring& line : skipped) {
    EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" " + line + L"; the row is skipped")) << plat::NarrowBytes(line);
  }
  EXPECT_EQ(filestest::CountLines(log, L"WARNING: "), 5);
}

TEST_F(AirReports, AirshipReportsAreUtf16WithLineFeeds) {
  world.GetCountry(2)->attackReports = {L"Bombs on Łódź", L"a;b"};
  WriteAirshipAttacks(world, Folder());
  EXPECT_EQ(Read("airship_attacks.csv"), plat::ToUtf16LE(L"#Defender country ID;report\n2;Bombs on Łódź;\n2;a,b;"));
  world.GetCountry(2)->attackReports.clear();

  dir.Write("airship_attacks.csv",
            plat::ToUtf16LE(L"#x\r\n 1;first;extra\n\r7;lost\rnope;lost\r\n3;third;\n") + "\x01");
  twtest::LogCapture log;
  LoadAirshipAttackReports(world, Pattern());
  EXPECT_EQ(world.GetCountry(1)->attackReports, (std::list<std::wstring>{L"first"}));
  EXPECT_EQ(world.GetCountry(3)->attackReports, (std::list<std::wstring>{L"third"}));
  const std::wstring path = Folder() + L"\\airship_attacks.csv";
  EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" line 4: a wrong country id or no report: 7;lost; the row is skipped"));
  EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" line 5: a wrong country id or no report: nope;lost; the row is skipped"));
}

using TopographyFile = WorldFixture;

TEST_F(TopographyFile, WritesAndReadsGroupsAndSkipsBadLines) {
  cCity& a = AddCity(L"A", 1, 1);
  cCity& b = AddCity(L"B", 2, 3);
  CountryTopographies groups(3);
  groups[0] = {{&a, &b}, {}};
  groups[2] = {{&b}};
  WriteTopography(world, groups, Folder());
  EXPECT_EQ(Read("topography.csv"),
            "#Topography of terrain at the beginning of turn:\r\nCountry;1;\r\nNew Group;\r\nCity;1;1;\r\n"
            "City;2;3;\r\nNew Group;\r\nCountry;2;\r\nCountry;3;\r\nNew Group;\r\nCity;2;3;");
  EXPECT_EQ(LoadTopography(world, Pattern()), groups);

  dir.Write("topography.csv",
            "#t\r\n\r\nCity;1;1;\r\nCountry;8;\r\nNew Group;\r\nCountry;2;\r\nCity;1;1;\r\nNew Group\r\n"
            "City;5;5;\r\nCity;1;1;\r\nBogus\r\n");
  twtest::LogCapture log;
  const CountryTopographies read = LoadTopography(world, Pattern());
  EXPECT_EQ(read, (CountryTopographies{{}, {{&a}}, {}}));
  EXPECT_TRUE(log.Contains(L"empty_line..."));
  EXPECT_TRUE(log.Contains(L"wrong_country_id"));
  // Every line left out is warned about with its number and reason.
  const std::wstring path = Folder() + L"\\topography.csv";
  for (const std::wstring line : {L"line 3: a city before any New Group line",
                                  L"line 4: country 8 is not one of 1 to 3; its groups are skipped too",
                                  L"line 5: a group before any valid Country line",
                                  L"line 7: a city before any New Group line", L"line 9: no city on that hex in cities.csv", L"line 11: \"Bogus\" is no key of this file"}) {
    EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" " + line + L"; the row is skipped")) << ::testing::PrintToString(line);
  }
  EXPECT_EQ(filestest::CountLines(log, L"WARNING: "), 6);
}

using CityRows = WorldFixture;

TEST_F(CityRows, SupplyAndConvoyRows) {
  cCity& a = AddCity(L"A", 1, 1);
  cCity& b = AddCity(L"B", 2, 3);
  a.supplyInfo = {4, -1, 0};
  b.supplyInfo = {0, 12, 3};
  a.convoyInfo = {1, 0, 0};
  b.convoyInfo = {0, 0, 1};
  WriteCitiesSupplyInfo(world, Folder());
  WriteCitiesConvoyInfo(world, Folder());
  EXPECT_EQ(Read("cities_supply_info.csv"), "# cities supply info:\r\n1;1;4;-1;0;\r\n2;3;0;12;3;");
  EXPECT_EQ(Read("cities_convoy_info.csv"), "# cities convoy info:\r\n1;1;1;0;0;\r\n2;3;0;0;1;");

  a.supplyInfo.assign(3, 0);
  b.convoyInfo.assign(3, 0);
  LoadCitiesSupplyInfo(world, Pattern());
  EXPECT_EQ(a.supplyInfo, (std::vector<std::int32_t>{4, -1, 0}));
  EXPECT_EQ(b.convoyInfo, (std::vector<std::uint8_t>{0, 0, 1}));

  // A row of no city, a short row and a row longer than the city's are
  // warned about; a value that is no number ends the load.
  dir.Write("cities_supply_info.csv", "#s\r\n7;7;1;\r\n1\r\n1;1;5;5;5;5;\r\n");
  twtest::LogCapture log;
  LoadCitiesSupplyInfo(world, Pattern());
  EXPECT_EQ(a.supplyInfo, (std::vector<std::int32_t>{5, 5, 5}));
  const std::wstring path = Folder() + L"\\cities_supply_info.csv";
  EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" line 2: cities.csv has no city at (7, 7); the row is skipped"));
  EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" line 3: 1 fields where 2 are needed; the row is skipped"));
  EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" line 4: 4 values where the city's row holds 3; the rest are ignored"));
  dir.Write("cities_supply_info.csv", "1;1;5;x5;");
  cScopedThrowingFatalHook hook;
  EXPECT_EQ(filestest::FatalLine(log, [&] { LoadCitiesSupplyInfo(world, Pattern()); }),
            L"ERROR: " + path + L" line 1 column 4: value \"x5\" is not a whole number");
}

using Matrices = WorldFixture;

TEST_F(Matrices, RelationsAndLossesRoundTrip) {
  cRelationsMatrix& m = world.GetRelations();
  m.SetAtWar(1, 2, true);
  m.SetAtWar(3, 1, true);
  m.AddLosses(1, 2, 2.5f);
  m.AddLosses(2, 1, 100.0f);
  world.GetCountry(3)->name = L"Semi;Colon";
  WriteRelations(world, Folder());
  WriteLosses(world, Folder());
  // The number formats are those of the scenarios' files too; here the rows
  // and the name.
  EXPECT_EQ(filestest::WithoutHeader(Read("relations.csv")), "1;Land1;0;1;0\r\n2;Land2;0;0;0\r\n3;Semi,Colon;1;0;0");
  EXPECT_NE(Read("losses.csv").find("\r\n3;Semi,Colon;0.000000;0.000000;0.000000;"), std::string::npos);
  cRelationsMatrix read;
  read.Load(Pattern(), 3);
  EXPECT_EQ(std::tuple(read.IsAtWar(1, 2), read.IsAtWar(2, 1), read.IsAtWar(3, 1)), std::tuple(true, false, true));
  EXPECT_EQ(std::tuple(read.GetLosses(2, 1), read.GetLosses(1, 2)), std::tuple(100.0f, 2.5f));
}

}  // namespace
