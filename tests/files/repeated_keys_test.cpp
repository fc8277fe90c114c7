// The tables the readers index by a number or a name given a key twice, and
// rows cut inside their text: a saved game's load ends naming the file and
// both lines, a scenario's goes on with a WARNING naming them and keeps
// what the reader always kept.
#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/fatal_exit.h"
#include "files/ai_data_file.h"
#include "files/air_reports_file.h"
#include "files/city_rows_file.h"
#include "files/fleet_files.h"
#include "files/topography_file.h"
#include "files_fixture.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/convoy.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

struct RepeatedKeys : filestest::FilesTest {
  RepeatedKeys() : a(twtest::AddCity(world, 1, 1, kCityPort, L"A")), b(twtest::AddCity(world, 2, 3, 0, L"B")) {
    AddCountries(3);
    // Convoys sail from the port of sea node 1, A's, to itself.
    world.GetSeaGraph().Nodes().resize(1);
    sWezelGrafuMorz& node = world.GetSeaGraph().Nodes()[0];
    node.id = node.x = node.y = 1;
    world.GetMap().GetHex(1, 1).seaNode = 1;
    world.Units().convoys.Resize(3);
    a.supplyInfo.assign(3, 0);
    world.GetMap().GetHex(2, 3).unit = &spotted;
    world.GetMap().GetHex(4, 5).unit = &spotted2;
  }
  ~RepeatedKeys() override {
    world.GetMap().GetHex(2, 3).unit = nullptr;
    world.GetMap().GetHex(4, 5).unit = nullptr;
  }
  // Loads the file as a saved game's: it must end the load with
  // "ERROR: <file> line <n>: <reason>; the saved game is damaged".
  void ExpectRefusedInASave(const std::string& file, const std::function<void()>& load, const std::wstring& reason) {
    world.savedGame = true;
    twtest::LogCapture log;
    cScopedThrowingFatalHook hook;
    EXPECT_EQ(filestest::FatalLine(log, load),
              L"ERROR: " + Folder() + L"\\" + plat::WidenAnsi(file) + L" " + reason + L"; the saved game is damaged");
    world.savedGame = false;
  }

  cCity& a;
  cCity& b;
  cJednostkaLadowa spotted{&world}, spotted2{&world};
  std::vector<int> flags;
  std::string kept;
  CountryTopographies topography;
};

TEST_F(RepeatedKeys, ASaveRefusesThemAndAScenarioWarnsWithBothLines) {
  struct sCase {
    std::string file, text;
    std::function<void()> load;
    std::wstring repeat, kept;  // the first repeat and the scenario's tail
    std::function<void()> check;
  };
  const sCase cases[] = {
      {"flags.txt", "# h\r\n12;5;\r\n13;1;\r\n12;7;\r\n",
       [&] { LoadFlags(Pattern(), flags, files::RowLossOf(world.savedGame)); },
       L"line 4: flag 12 is given twice, on lines 2 and 4", L"; the later value is kept",
       [&] { EXPECT_EQ(std::pair(flags[12], flags[13]), std::pair(7, 1)); }},
      {"convoys.csv", "#Convoys\r\n4;2;1;25;1;1;\r\n4;2;0;5;1;1;",
       [&] { LoadConvoys(world, Pattern()); }, L"line 3: convoy id 4 is given twice, on lines 2 and 3",
       L"; the later convoy takes a free id",
       [&] {
         const std::vector<cConvoy>& convoys = *world.Units().convoys.ConvoysOf(2);
         ASSERT_EQ(convoys.size(), 2u);
         EXPECT_EQ(std::pair(convoys[0].id, convoys[1].id), std::pair(4, 5));
       }},
      {"cities_supply_info.csv", "#s\r\n1;1;4;-1;0;\r\n1;1;7;8;9;", [&] { LoadCitiesSupplyInfo(world, Pattern()); },
       L"line 3: the city at (1, 1) is given twice, on lines 2 and 3", L"; the later row's values replace the earlier's",
       [&] { EXPECT_EQ(a.supplyInfo, (std::vector<std::int32_t>{7, 8, 9})); }},
      {"topography.csv", "#t\r\nCountry;1;\r\nNew Group;\r\nCity;1;1;\r\nCountry;1;\r\nNew Group;\r\nCity;2;3;",
       [&] { topography = LoadTopography(world, Pattern()); },
       L"line 5: the section of country 1 is given twice, on lines 2 and 5",
       L"; its groups are added to those of the earlier section",
       [&] { EXPECT_EQ(topography[0], (Topography{{&a}, {&b}})); }},
      {"airrecon_units.csv", "#h\r\nCountry;1;\r\n2;3;\r\nCountry;1;\r\n4;5;",
       [&] { LoadAirReconHexes(world, Pattern()); },
       L"line 4: the section of country 1 is given twice, on lines 2 and 4",
       L"; its hexes are added to those of the earlier section",
       [&] { EXPECT_EQ(world.GetCountry(1)->reconSpottedUnits, (std::list<cUnit*>{&spotted, &spotted2})); }},
      {"ai_data.csv", "Country;1\r\nMakesSeaInvasions;1\r\nPurchaseQueue;3\r\nCountry;1\r\nPurchaseQueue;4\r\n",
       [&] { LoadAiData(world, Pattern()); }, L"line 4: the section of country 1 is given twice, on lines 1 and 4",
       L"; the later section's lines go on setting that country's values",
       [&] { EXPECT_EQ(world.GetCountry(1)->aiData.purchaseQueue, (std::vector<int>{3, 4})); }},
  };
  dir.Write("cities_convoy_info.csv", "# cities convoy info:");
  for (const sCase& c : cases) {
    SCOPED_TRACE(c.file);
    dir.Write(c.file, c.text);
    {
      twtest::LogCapture log;
      c.load();
      EXPECT_TRUE(log.Contains(L"WARNING: " + Folder() + L"\\" + plat::WidenAnsi(c.file) + L" " + c.repeat + c.kept));
    }
    c.check();
    dir.Write(c.file, c.text);
    ExpectRefusedInASave(c.file, c.load, c.repeat);
  }
}

// A row the game would not have written: cut short, or the last one without
// the line end its writer puts after every row.
TEST_F(RepeatedKeys, ASaveRefusesRowsCutInsideTheirText) {
  const std::string cutAttack = plat::ToUtf16LE(L"#Defender country ID;report\n2;first;\n2;Bombs on Ka");
  const std::tuple<std::string, std::string, std::function<void()>, std::wstring> cases[] = {
      {"fleets.csv", "#h\r\n1;A;1;2;0;0;0;-1;-1;-1;1;\r\n2;B;1;2;0;0", [&] { LoadFleets(world, Pattern()); },
       L"line 3: 6 fields where 11 are needed"},
      {"flags.txt", "# h\r\n12;5;\r\n13;\r\n", [&] { LoadFlags(Pattern(), flags, files::eRowLoss::kRefuse); },
       L"line 3: 1 fields where 2 are needed"},
      {"flags.txt", "# h\r\n12;5;\r\n13;4", [&] { LoadFlags(Pattern(), flags, files::eRowLoss::kRefuse); },
       L"line 3: the last line has no line end, where the writer ends every row with one: the file was cut inside it"},
      {"unit_names.csv", ";default;1\r\n1;Inf;A1\r\n2;Tan", [&] { LoadUnitNameTemplates(world, Pattern(), kept); },
       L"line 3: the last line has no line end, where the writer ends every row with one: the file was cut inside it"},
      {"airship_attacks.csv", cutAttack, [&] { LoadAirshipAttackReports(world, Pattern()); },
       L"line 3: the row ends before the \";\" the game writes after the report: it was cut inside its text"},
  };
  for (const auto& [file, text, load, reason] : cases) {
    SCOPED_TRACE(file);
    dir.Write(file, text);
    ExpectRefusedInASave(file, load, reason);
  }
  // A scenario's file may end without a line end: the copy its saves keep
  // gains one.
  LoadUnitNameTemplates(world, Pattern(), kept);
  EXPECT_EQ(kept, ";default;1\r\n1;Inf;A1\r\n2;Tan\r\n");
  // Saves of earlier versions kept it as it is: a copy the same as the
  // scenario's file loads.
  twtest::TempWorkingFolder here;
  here.Write("data/scenarios/Alpha/unit_names.csv", ";default;1\r\n1;Inf;A1\r\n2;Tan");
  dir.Write("unit_names.csv", ";default;1\r\n1;Inf;A1\r\n2;Tan");
  world.scenarioName = L"Alpha";
  world.savedGame = true;
  cScopedThrowingFatalHook hook;
  EXPECT_NO_THROW(LoadUnitNameTemplates(world, Pattern(), kept));
  world.savedGame = false;
}

}  // namespace
