// Fleets, commanders, unit names, flags and convoys: exact rows of the
// writers, round trips and the lines the readers pass over.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/fatal_exit.h"
#include "files/fleet_files.h"
#include "platform/format.h"
#include "platform/text.h"
#include "files_fixture.h"
#include "world/commander.h"
#include "world/convoy.h"
#include "world/fleet.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

namespace {

struct FleetFiles : filestest::FilesTest {
  FleetFiles() { AddCountries(3); }
};

TEST_F(FleetFiles, FleetsAndCommandersReadBackAndAreWrittenExactly) {
  const std::string fleets = "2;North,Sea;1;7;1;1;2;9;3;4;0;", commanders = "11;Guderian;2;0;4;30;2;";
  dir.Write("fleets.csv", "#h\r\n" + fleets);
  dir.Write("commanders.csv", "#h\r\n" + commanders + "\r\n12;Short;1;0;1;1;");  // a short record is passed over
  LoadFleets(world, Pattern());
  LoadCommanders(world, Pattern());
  ASSERT_EQ(world.Units().fleets.size(), 1u);
  cFleet* fleet = world.Units().fleets.front();
  EXPECT_EQ(std::tuple(fleet->seaNode, fleet->moved, fleet->aiInvasionY, fleet->active), std::tuple(7, true, 4, false));
  ASSERT_EQ(world.Units().commanders.size(), 1u);
  EXPECT_EQ(world.Units().commanders[0]->experience, 30);

  fleet->name = L"North;Sea";  // the separator never breaks the row
  EXPECT_EQ(filestest::WithoutHeader(Rewrite("fleets.csv", [&] { WriteFleets(world, Folder()); })), fleets);
  EXPECT_EQ(filestest::WithoutHeader(Rewrite("commanders.csv", [&] { WriteCommanders(world, Folder()); })),
            commanders);
}

// The short record above is warned about; ids that others refer to must be
// numbers, unique and positive, and codes within their ranges.
TEST_F(FleetFiles, ShortRowsAreWarnedAboutAndBadIdsAreFatal) {
  dir.Write("commanders.csv", "#h\n11;Guderian;2;0;4;30;2;\n12;Short;1;0;1;1;\n13;Old;1;2;250;5;0;");
  twtest::LogCapture log;
  LoadCommanders(world, Pattern());
  ASSERT_EQ(world.Units().commanders.size(), 2u);
  EXPECT_EQ(world.Units().commanders[1]->skill, 100);
  const std::wstring commanders = Folder() + L"\\commanders.csv";
  EXPECT_TRUE(log.Contains(L"WARNING: " + commanders + L" line 3: 6 fields where 7 are needed; the row is skipped"));
  EXPECT_TRUE(log.Contains(L"WARNING: " + commanders +
                           L" line 4: column 5: skill \"250\" is out of range (0 to 100); taken as 100"));

  cScopedThrowingFatalHook hook;
  const std::tuple<const char*, const char*, const wchar_t*> cases[] = {
      {"fleets.csv", "1;A;1;2;0;0;0;-1;-1;-1;1;\r\n1;B;1;2;0;0;0;-1;-1;-1;1;",
       L"line 2: fleet id 1 is given twice, on lines 1 and 2"},
      {"fleets.csv", "1;A;1;0;0;0;0;-1;-1;-1;1;", L"line 1 column 4: sea node id \"0\" is out of range (1 to 2147483647)"},
      {"fleets.csv", "1;A;1;2;5;0;0;-1;-1;-1;1;", L"line 1 column 5: formation \"5\" is out of range (0 to 1)"},
      {"commanders.csv", "7;A;1;0;1;1;2;\r7;B;1;0;1;1;2;", L"line 2: commander id 7 is given twice, on lines 1 and 2"},
      {"commanders.csv", "7;A;1;3;1;1;2;", L"line 1 column 4: commander type \"3\" is out of range (0 to 2)"},
  };
  for (const auto& [file, text, line] : cases) {
    dir.Write(file, text);
    const std::wstring name = plat::WidenAnsi(file);
    EXPECT_EQ(filestest::FatalLine(log, [&] {
                if (name == L"fleets.csv") LoadFleets(world, Pattern());
                if (name == L"commanders.csv") LoadCommanders(world, Pattern());
              }),
              L"ERROR: " + Folder() + L"\\" + name + L" " + line);
  }
}

TEST_F(FleetFiles, FlagsLinesAndRoundTrip) {
  dir.Write("flags.txt",
            "# flag no;flag value\r\n12;5;\r\n;7\r\n13;\n14\r#15;1\r\n39999;-2\r\n40000;3\r\n-1;4\r\n\r\n16;9");
  twtest::LogCapture log;
  std::vector<int> flags;
  LoadFlags(Pattern(), flags, files::eRowLoss::kWarn);
  ASSERT_EQ(flags.size(), static_cast<std::size_t>(kEventFlagCount));
  EXPECT_EQ(std::tuple(flags[12], flags[15], flags[16], flags[39999]), std::tuple(5, 0, 9, -2));
  EXPECT_TRUE(log.Contains(L"flags.txt: line 8: flag number 40000 out of range"));
  // Every line left out says so, with its line number (any line end counts).
  const std::wstring path = Folder() + L"\\flags.txt";
  for (const auto& [line, reason] : {std::pair(3, L"1 fields where 2 are needed"), {4, L"1 fields where 2 are needed"},
                                     {5, L"1 fields where 2 are needed"}, {8, L"flag number 40000 is not one of 0 to 39999"},
                                     {9, L"flag number -1 is not one of 0 to 39999"}}) {
    EXPECT_TRUE(log.Contains(plat::Format(L"WARNING: %s line %i: %s; the row is skipped", path, line, reason))) << line;
  }
  // A value that is not a number ends the load, naming file, line and column.
  dir.Write("flags.txt", "1;2\n3;9x\n");
  {
    cScopedThrowingFatalHook fatal;
    EXPECT_THROW(LoadFlags(Pattern(), flags, files::eRowLoss::kWarn), sFatalExitError);
  }
  EXPECT_TRUE(log.Contains(L"ERROR: " + path + L" line 2 column 2: flag value \"9x\" is not a whole number"));
  dir.Write("flags.txt", "# flag no;flag value\r\n12;5;\r\n39999;-2;\r\n16;9\r\n");
  LoadFlags(Pattern(), flags, files::eRowLoss::kWarn);

  flags[16] = 0;
  WriteFlags(Folder(), flags);
  EXPECT_EQ(Read("flags.txt"), "# flag no;flag value\r\n12;5;\r\n39999;-2;\r\n");
  std::vector<int> back(3, 1);
  LoadFlags(Pattern(), back, files::eRowLoss::kWarn);
  EXPECT_EQ(back, flags);
}

TEST_F(FleetFiles, UnitNamesFollowTheHeaderAndAreWrittenBackUnchanged) {
  // Rows before the header are ignored; column 3 has an empty header cell
  // and belongs to country 2; column 4 names country 9, which does not exist.
  const std::string bytes =
      "1;ignored;x;y\r\n"
      "#comment\r\n"
      ";default;3;;9\r\n"
      "\r\n"
      "1;Inf %i;Pieschota %i;;Bad\r\n"
      "17;Carrier;;Kido\r\n"
      "18;Out;a;b\r\n";
  dir.Write("unit_names.csv", bytes);
  twtest::LogCapture log;
  std::string kept;
  LoadUnitNameTemplates(world, Pattern(), kept);
  EXPECT_EQ(kept, bytes);
  EXPECT_EQ(world.GetCountry(3)->unitTypeName[0].value_or(L"-"), L"Pieschota %i");
  EXPECT_EQ(world.GetCountry(2)->unitTypeName[0].value_or(L"-"), L"Inf %i");
  EXPECT_EQ(world.GetCountry(3)->unitTypeName[16].value_or(L"-"), L"Carrier");
  EXPECT_FALSE(world.GetCountry(1)->unitTypeName[0].has_value());
  EXPECT_TRUE(log.Contains(L"unit_names.csv: line 7: slot number 18 out of range"));

  EXPECT_EQ(Rewrite("unit_names.csv", [&] { WriteUnitNames(Folder(), kept); }), bytes);
}

// A later row of a slot names the units of its own columns' countries anew
// and leaves the others the names of the earlier row, in the scenario's
// game and in a save of it; neither is warned about or refused.
TEST_F(FleetFiles, ALaterNarrowerNameRowKeepsTheEarlierRowsOtherCountries) {
  const std::string bytes = ";default;1;2;3\r\n1;Inf;A1;A2;A3\r\n2;Tank;T1\r\n1;Foot;F1\r\n";
  const auto names = [&] {
    std::wstring text;
    for (int id = 1; id <= 3; ++id) {
      for (const std::size_t slot : {0u, 1u}) text += world.GetCountry(id)->unitTypeName[slot].value_or(L"-") + L" ";
    }
    return text;
  };
  dir.Write("unit_names.csv", bytes);
  std::string kept;
  twtest::LogCapture log;
  LoadUnitNameTemplates(world, Pattern(), kept);
  EXPECT_EQ(names(), L"F1 T1 A2 - A3 - ");
  EXPECT_EQ(filestest::CountLines(log, L"WARNING"), 0);
  WriteUnitNames(Folder(), kept);
  for (int id = 1; id <= 3; ++id) world.GetCountry(id)->unitTypeName = {};
  world.savedGame = true;
  cScopedThrowingFatalHook fatal;
  LoadUnitNameTemplates(world, Pattern(), kept);
  EXPECT_EQ(names(), L"F1 T1 A2 - A3 - ");
}

TEST_F(FleetFiles, ConvoysFindTheirPortsAndABadSeaNodeEndsTheLoad) {
  world.GetSeaGraph().Nodes().resize(8);
  for (int i = 0; i < 8; ++i) world.GetSeaGraph().Nodes()[static_cast<std::size_t>(i)].id = i + 1;
  auto addCity = [&](const wchar_t* name, int x, int y, int node, int type) {
    cCity* ref = &twtest::AddCity(world, x, y, type, name);
    world.GetMap().GetHex(x, y).seaNode = static_cast<std::uint16_t>(node);
    world.GetSeaGraph().Nodes()[static_cast<std::size_t>(node - 1)].x = x;
    world.GetSeaGraph().Nodes()[static_cast<std::size_t>(node - 1)].y = y;
    return ref;
  };
  cCity* a = addCity(L"Kiel", 2, 2, 7, kCityPort);
  cCity* b = addCity(L"Oslo", 5, 1, 3, kCitySupplyPort);
  addCity(L"Inland", 6, 3, 5, kCitySupply);  // a node whose city is no port
  world.Units().convoys.Resize(3);
  // The writer's rows (port ids by sea node) are covered by the scenarios'
  // round trips. An owner that is no country is skipped with a warning.
  dir.Write("convoys.csv", "#Convoys\r\n#h\r\n4;2;1;25;7;3;\r\n7;4;0;1;7;3;");
  twtest::LogCapture log;
  LoadConvoys(world, Pattern());
  ASSERT_EQ(world.Units().convoys.ConvoysOf(2)->size(), 1u);
  const cConvoy& back = world.Units().convoys.ConvoysOf(2)->front();
  EXPECT_EQ(back.value, 25);
  EXPECT_EQ(back.departure, a);
  EXPECT_EQ(back.destination, b);
  const std::wstring path = Folder() + L"\\convoys.csv";
  const std::vector<std::wstring> lines = log.Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 3),
            (std::vector<std::wstring>{L"Otwieram plik z miastami ze sciezka...", path, L"Otwarcie OK"}));
  EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" line 4: wrong country id 4; the row is skipped"));

  // A sea node that does not exist or has no port city: the convoy's line,
  // then the file's, and the load ends. The departure's checks come first.
  cScopedThrowingFatalHook hook;
  const std::tuple<const char*, const wchar_t*, const wchar_t*> cases[] = {
      {"9;2;0;1;40;0;", L"ERROR: Convoy with ID=9 has departure sea node with ID=40, there's no such sea node!",
       L"departure sea node 40 does not exist"},
      {"9;2;0;1;1;0;", L"ERROR: Convoy with ID=9 has destination sea node with ID=0, there's no such sea node!",
       L"destination sea node 0 does not exist"},
      {"9;2;0;1;5;1;", L"ERROR: Convoy with ID=9 has departure sea node with ID=5, there's no port city for this sea node!",
       L"departure sea node 5 has no port city"},
      {"9;2;0;1;7;1;", L"ERROR: Convoy with ID=9 has destination sea node with ID=1, there's no port city for this sea node!",
       L"destination sea node 1 has no port city"},
  };
  for (const auto& [row, convoyLine, reason] : cases) {
    dir.Write("convoys.csv", std::string("#Convoys\r\n") + row);
    EXPECT_EQ(filestest::FatalLine(log, [&] { LoadConvoys(world, Pattern()); }),
              L"ERROR: " + path + L" line 2: " + reason);
    const std::vector<std::wstring> written = log.Lines();
    ASSERT_GE(written.size(), 2u);
    EXPECT_EQ(written[written.size() - 2], convoyLine);
  }
}

}  // namespace
