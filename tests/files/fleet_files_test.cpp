// Fleets, commanders, unit names, flags and convoys: exact rows of the
// writers, round trips and the lines the readers pass over.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "files/fleet_files.h"
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

TEST_F(FleetFiles, FleetsAndCommandersAreExactAndReadBack) {
  auto* fleet = new cFleet();
  fleet->id = 2;
  fleet->name = L"North;Sea";
  fleet->country = 1;
  fleet->seaNode = 7;
  fleet->formation = 1;
  fleet->moved = true;
  fleet->aiOrder = 2;
  fleet->aiDestinationNode = 9;
  fleet->aiInvasionX = 3;
  fleet->aiInvasionY = 4;
  fleet->active = false;
  world.Units().fleets.push_back(fleet);
  auto* commander = new cCommander();
  commander->id = 11;
  commander->name = L"Guderian";
  commander->countryId = 2;
  commander->skill = 4;
  commander->experience = 30;
  commander->state = 2;
  world.Units().commanders.push_back(commander);

  WriteFleets(world, Folder());
  WriteCommanders(world, Folder());
  EXPECT_EQ(Read("fleets.csv"),
            "#Fleets\r\n#ID;Name;Country ID;Sea node ID;Formation [0=regular 1=raiders];Has Moved? [0=false 1=true];"
            "Order (AI);Destination sea node ID (AI);Invasion hex X(AI);Invasion hex Y (AI);Is active? [0=false "
            "1=true]\r\n2;North,Sea;1;7;1;1;2;9;3;4;0;");
  EXPECT_EQ(Read("commanders.csv"),
            "#Commanders\r\n#ID;Name;Country ID;Type [0=land 1=air 2=naval];Skill;Experience;State [0=not assigned "
            "1=on his way to HQ 2=assigned]\r\n11;Guderian;2;0;4;30;2;");

  // A short record is passed over; the round trip keeps every field.
  dir.Write("commanders.csv", Read("commanders.csv") + "\r\n12;Short;1;0;1;1;");
  twtest::LogCapture log;
  cWorld other;
  LoadFleets(other, Pattern());
  LoadCommanders(other, Pattern());
  ASSERT_EQ(other.Units().fleets.size(), 1u);
  const cFleet* back = other.Units().fleets.front();
  EXPECT_EQ(back->name, L"North,Sea");
  EXPECT_EQ(back->aiInvasionY, 4);
  EXPECT_FALSE(back->active);
  ASSERT_EQ(other.Units().commanders.size(), 1u);
  EXPECT_EQ(other.Units().commanders[0]->experience, 30);
  EXPECT_EQ(other.Units().commanders[0]->ledUnit, nullptr);
}

TEST_F(FleetFiles, FlagsLinesAndRoundTrip) {
  dir.Write("flags.txt",
            "# flag no;flag value\r\n12;5;\r\n;7\r\n13;\r\n14\r\n#15;1\r\n39999;-2\r\n40000;3\r\n-1;4\r\n\r\n16;9x");
  twtest::LogCapture log;
  std::vector<int> flags;
  LoadFlags(Pattern(), flags);
  ASSERT_EQ(flags.size(), static_cast<std::size_t>(kEventFlagCount));
  EXPECT_EQ(flags[12], 5);
  EXPECT_EQ(flags[15], 0);
  EXPECT_EQ(flags[16], 9);
  EXPECT_EQ(flags[39999], -2);
  EXPECT_TRUE(log.Contains(L"flags.txt: line 8: flag number 40000 out of range"));

  flags[16] = 0;
  WriteFlags(Folder(), flags);
  EXPECT_EQ(Read("flags.txt"), "# flag no;flag value\r\n12;5;\r\n39999;-2;\r\n");
  std::vector<int> back(3, 1);
  LoadFlags(Pattern(), back);
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

  dir.Write("out/placeholder", "");
  WriteUnitNames(Folder() + L"\\out", kept);
  EXPECT_EQ(twtest::ReadFile(dir.File("out/unit_names.csv")), bytes);
}

TEST_F(FleetFiles, ConvoysWritePortIdsAndReadBack) {
  world.GetSeaGraph().Nodes().resize(8);
  for (int i = 0; i < 8; ++i) world.GetSeaGraph().Nodes()[static_cast<std::size_t>(i)].id = i + 1;
  auto addPort = [&](const wchar_t* name, int x, int y, int node) {
    cCity* ref = &twtest::AddCity(world, x, y, 0, name);
    world.GetMap().GetHex(x, y).seaNode = static_cast<std::uint16_t>(node);
    world.GetSeaGraph().Nodes()[static_cast<std::size_t>(node - 1)].x = x;
    world.GetSeaGraph().Nodes()[static_cast<std::size_t>(node - 1)].y = y;
    return ref;
  };
  cCity* a = addPort(L"Kiel", 2, 2, 7);
  cCity* b = addPort(L"Oslo", 5, 1, 3);
  world.Units().convoys.Resize(3);
  cConvoy convoy;
  convoy.id = 4;
  convoy.owner = 2;
  convoy.type = 1;
  convoy.value = 25;
  convoy.departure = a;
  convoy.destination = b;
  world.Units().convoys.Add(convoy);
  WriteConvoys(world, Folder());
  const std::string written = Read("convoys.csv");
  EXPECT_EQ(written,
            "#Convoys\r\n#ID;Owner ID;Type [0=supplies 1=PP];Value (PP amount);Departure port ID;Destination port "
            "ID;\r\n4;2;1;25;7;3;");

  // Bad rows: a node without a city, a node that does not exist, an owner
  // that is no country.
  dir.Write("convoys.csv", written + "\r\n5;2;0;1;1;3;\r\n6;2;0;1;7;40;\r\n7;4;0;1;7;3;");
  twtest::LogCapture log;
  world.Units().convoys = cConvoyStore();
  LoadConvoys(world, Pattern());
  ASSERT_EQ(world.Units().convoys.ConvoysOf(2)->size(), 1u);
  const cConvoy& back = world.Units().convoys.ConvoysOf(2)->front();
  EXPECT_EQ(back.value, 25);
  EXPECT_EQ(back.departure, a);
  EXPECT_EQ(back.destination, b);
  EXPECT_TRUE(log.Contains(L"convoys.csv: line 4: port id 1 or 3 names no port city; convoy skipped"));
  EXPECT_TRUE(log.Contains(L"convoys.csv: line 5: port id 7 or 40 names no port city; convoy skipped"));
  EXPECT_TRUE(log.Contains(L"convoys.csv: line 6: wrong country id 4; convoy skipped"));
}

}  // namespace
