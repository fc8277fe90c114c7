// The unit files: rows read into their fields and written back to the same
// bytes under the writers' headers (comment lines), repeated ids, the rows
// the readers warn about, clamp or refuse. Placement conflicts on
// the map are covered by the broken scenarios of the world loader's tests.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "files/fleet_files.h"
#include "files/unit_files.h"
#include "files/world_loader.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "files_fixture.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

// An air row: id, name, x and y, in reserve or not; the rest fixed.
std::string AirRow(int id, const std::string& name, int x, int y, bool reserve) {
  return "\r\n" + std::to_string(id) + ";" + name + ";2;" + std::to_string(x) + ";" + std::to_string(y) +
         ";21;1;5;-1;0;0;-1;-1;0;0;" + (reserve ? "1" : "0") + ";0;0;0;";
}

struct UnitFiles : filestest::FilesTest {
  UnitFiles() {
    previous = g_pWorld;
    g_pWorld = &world;
    commander->id = 3;
    commander->name = L"Rommel";
    world.Units().commanders.push_back(commander);
  }
  ~UnitFiles() override { g_pWorld = previous; }

  cWorld* previous = nullptr;
  cCommander* commander = new cCommander();
};

// A save's rows, their scenario ids last.
TEST_F(UnitFiles, LandRowsReadBackAndAreWrittenExactly) {
  world.savedGame = true;
  const std::string rows =
      "7;1st,Guards;2;4;5;3;2;80;6;1;0;1;2;9;-1;3;0;1.500000;2;4;8;7;9;6;10;-3;1;-1;0;2;3;5;0;7;\r\n"
      "8;Res;1;-1;-1;0;1;0;0;0;0;-1;-1;0;-1;-1;1;0.000000;0;0;-1;-1;-1;-1;0;0;0;-1;0;0;-1;-1;3;5;";
  dir.Write("land_units.csv", "#h\r\n" + rows);
  LoadLandUnits(world, Pattern());
  ASSERT_EQ(world.Units().landUnits.size(), 2u);
  const cJednostkaLadowa* back = world.Units().landUnits.front();
  EXPECT_EQ(std::tuple(back->type, back->category, back->shoreBombardmentEffect, back->eventsEffect),
            std::tuple(3, kCategoryLand, 1.5f, -3));
  EXPECT_EQ(commander->ledUnit, back);
  EXPECT_TRUE(world.Units().landUnits.back()->inReserve);
  EXPECT_EQ(filestest::WithoutHeader(Rewrite("land_units.csv", [&] { WriteLandUnits(world, Folder()); })), rows);
}

TEST_F(UnitFiles, RepeatedIdsAreLoggedAndKept) {
  auto* pooled = new cJednostkaLadowa(&world);
  pooled->id = 9;
  world.Units().reservePool.push_back(pooled);
  const auto land = [](int id, int x) {
    return "\r\n" + std::to_string(id) + ";A;1;" + std::to_string(x) +
           ";1;0;1;50;0;0;0;-1;-1;0;-1;-1;0;0;0;0;-1;-1;-1;-1;0;0;0;-1;0;0;-1;-1;0;";
  };
  dir.Write("land_units.csv", "#h" + land(7, 1) + land(7, 1) + land(9, 2) + land(8, 3));
  twtest::LogCapture log;
  LoadLandUnits(world, Pattern());
  EXPECT_EQ(world.Units().landUnits.size(), 4u);  // repeated ids survive
  // Each repeated id once; the pool's unit counts.
  const auto repeated = [&](int id) {
    return filestest::CountLines(log, L"Blad: Numer ID=" + std::to_wstring(id) + L" ");
  };
  EXPECT_EQ(std::tuple(repeated(7), repeated(9), repeated(8)), std::tuple(1, 1, 0));
  EXPECT_TRUE(log.Contains(L"Blad: Numer ID=7 sie powtarza."));

  // An invalid air row makes no unit, so its id is still free; a second
  // valid row with an id is reported.
  dir.Write("air_units.csv", AirRow(6, "Bad", 10, 12, true) + AirRow(6, "Good", 1, 1, false) +
                                 AirRow(6, "Again", 1, 2, false));
  plat::SetMessageBoxHandler([](std::wstring_view, std::wstring_view) {});
  LoadAirUnits(world, Pattern());
  plat::SetMessageBoxHandler(nullptr);
  EXPECT_EQ(world.Units().airUnits.size(), 2u);
  EXPECT_EQ(filestest::CountLines(log, L"Blad: Numer ID=6 jednostki lotniczej sie powtarza."), 1);
}

// A scenario's rows, in the table's own columns.
TEST_F(UnitFiles, AirRowsReadBackExactlyAndInvalidRowsAreAnnounced) {
  const std::string rows =
      "4;JG 52;2;1;2;20;3;12;3;0;0;-1;-1;1;2;0;5;1;0;\r\n#In reserve\r\n"
      "5;KG 1;2;-1;-1;22;1;0;-1;0;0;-1;-1;0;0;1;0;0;0;";
  // Two invalid rows: in reserve on a hex, and off the map but not in reserve.
  dir.Write("air_units.csv", "#h\r\n" + rows + AirRow(6, "Bad1", 10, 12, true) + AirRow(7, "Bad2", -1, -1, false));
  int boxes = 0;
  plat::SetMessageBoxHandler([&](std::wstring_view caption, std::wstring_view) {
    ++boxes;
    EXPECT_EQ(caption, L"air_units.csv");
  });
  twtest::LogCapture log;
  LoadAirUnits(world, Pattern());
  plat::SetMessageBoxHandler(nullptr);
  EXPECT_EQ(boxes, 1);
  EXPECT_TRUE(log.Contains(L"Invalid entries from air_units.csv:"));
  EXPECT_TRUE(log.Contains(L"Bad2;-1;-1;2"));
  auto& air = world.Units().airUnits;
  ASSERT_EQ(air.size(), 2u);
  EXPECT_EQ(air.front()->ownCommander, commander);
  EXPECT_EQ(std::tuple(air.front()->strength, air.front()->startingActionPoints, air.front()->reconDone),
            std::tuple(12.0f, 2, true));
  EXPECT_TRUE(air.back()->inReserve);
  // The writer takes the reserve from the pool, as the loader leaves it.
  world.Units().reservePool.push_back(air.back());
  air.pop_back();
  EXPECT_EQ(filestest::WithoutHeader(Rewrite(
                "air_units.csv", [&] { WriteAirUnits(world, Folder(), eUnitFileLayout::kScenario); })),
            rows);
}

// An air strength is a float in the world and an int in the file: a value
// that no int holds (2147483647 read becomes 2^31 as a float) is written at
// the nearest end of the int range, never converted unbounded.
TEST_F(UnitFiles, AirStrengthBeyondAnIntIsWrittenBounded) {
  const float strengths[] = {2147483647.0f, -3.0e9f, std::numeric_limits<float>::quiet_NaN(), 12.7f};
  int id = 1;
  for (const float strength : strengths) {
    auto* unit = new cJednostkaLotnicza(&world);
    unit->id = id++;
    unit->SetName(L"Air");
    unit->strength = strength;
    world.Units().airUnits.push_back(unit);
  }
  const std::string written = Rewrite("air_units.csv", [&] { WriteAirUnits(world, Folder()); });
  std::vector<std::string> fields;  // the strength column of each row
  for (std::size_t at = written.find("\r\n1;"); at != std::string::npos; at = written.find("\r\n", at + 2)) {
    std::size_t field = at + 2;
    for (int column = 0; column < 7; ++column) field = written.find(';', field) + 1;
    if (std::isdigit(static_cast<unsigned char>(written[at + 2]))) {
      fields.push_back(written.substr(field, written.find(';', field) - field));
    }
  }
  EXPECT_EQ(fields, (std::vector<std::string>{"2147483647", "-2147483648", "0", "12"}));
}

TEST_F(UnitFiles, NavalRowsKeepReserveCommanderAndLinkFleets) {
  const std::string rows = "1;Hood;1;41;5;4;6;-1;0;0;1;0;0;1;\r\n#In reserve\r\n2;Ark;1;40;-1;0;0;3;1;1;0;0;0;0;";
  dir.Write("naval_units.csv", "#h\r\n" + rows);
  LoadNavalUnits(world, Pattern());
  ASSERT_EQ(world.Units().navalUnits.size(), 2u);
  const cJednostkaMorska* hood = world.Units().navalUnits.front();
  EXPECT_EQ(hood->fleet, nullptr);  // linked only by PlaceShipsInFleets
  EXPECT_EQ(std::tuple(hood->fleetId, hood->hitPoints, hood->canBeBombed, hood->airstrikeDone, hood->canBeRepaired),
            std::tuple(5, 4, false, true, true));
  cJednostkaMorska* ark = world.Units().navalUnits.back();
  EXPECT_EQ(std::tuple(ark->fleetId, ark->canBeRepaired), std::tuple(-1, false));
  EXPECT_EQ(ark->ownCommander, commander);
  EXPECT_EQ(commander->ledUnit, ark);
  // The reserve ship goes to its pool before the fleets are linked.
  world.Units().navalUnits.pop_back();
  world.Units().navalReservePool.push_back(ark);
  auto* fleet = new cFleet();
  fleet->id = 5;
  world.Units().fleets.push_back(fleet);
  PlaceShipsInFleets(world);
  EXPECT_EQ(hood->fleet, fleet);
  EXPECT_EQ(fleet->GetShipCount(), 1);
  ark->fleetId = 5;  // a reserve ship is written without its fleet
  EXPECT_EQ(filestest::WithoutHeader(Rewrite("naval_units.csv", [&] { WriteNavalUnits(world, Folder()); })), rows);
}

}  // namespace

namespace {

// A land row of 33 fields: id, x, strength, commander and supply given.
std::string LandRow(const std::string& id, int x, const std::string& strength, int commanderId,
                    const std::string& supply) {
  return id + ";Unit;1;" + std::to_string(x) + ";1;0;1;" + strength + ";0;0;0;-1;-1;0;-1;" +
         std::to_string(commanderId) + ";0;0.000000;0;0;-1;-1;-1;-1;" + supply + ";0;0;-1;0;0;-1;-1;0;";
}

TEST_F(UnitFiles, EveryRowIsReadOrWarnedAboutWithItsLine) {
  // LF line ends, an empty line, a short row, values clamped, an unknown
  // commander: every row is a unit or a WARNING with file and line.
  dir.Write("land_units.csv", "#h\n" + LandRow("1", 1, "150", 3, "65536") + "\n\n1;short;2\n" +
                                  LandRow("2", 2, "-4", 99, "7") + "\r" + LandRow("3", 3, "80", -1, "5"));
  twtest::LogCapture log;
  LoadLandUnits(world, Pattern());
  ASSERT_EQ(world.Units().landUnits.size(), 3u);
  const cJednostkaLadowa* first = world.Units().landUnits.front();
  EXPECT_EQ(std::tuple(first->strength, first->supply, first->ownCommander), std::tuple(100, 50, commander));
  EXPECT_EQ((*std::next(world.Units().landUnits.begin()))->strength, 0);
  const std::wstring path = Folder() + L"\\land_units.csv";
  for (const std::wstring line : {
           L"line 2: column 8: strength \"150\" is out of range (0 to 100); taken as 100",
           L"line 2: column 25: supply \"65536\" is out of range (0 to 50); taken as 50",
           L"line 4: 3 fields where 33 are needed; the row is skipped",
           L"line 5: column 8: strength \"-4\" is out of range (0 to 100); taken as 0",
           L"line 5: commander 99 is not in commanders.csv; the unit has no commander",
       }) {
    EXPECT_TRUE(log.Contains(L"WARNING: " + path + L" " + line)) << ::testing::PrintToString(line);
  }
  EXPECT_EQ(filestest::CountLines(log, L"WARNING: "), 5);

  // An air strength far beyond its range is brought to 100, never carried
  // on to the writer.
  dir.Write("air_units.csv", "4;JG 52;2;1;2;20;3;2147483647;-1;0;0;-1;-1;1;2;0;5;1;0;");
  LoadAirUnits(world, Pattern());
  ASSERT_EQ(world.Units().airUnits.size(), 1u);
  EXPECT_EQ(world.Units().airUnits.front()->strength, 100.0f);
}

TEST_F(UnitFiles, ValuesTheGameCannotRunWithEndTheLoadNamingFileLineAndColumn) {
  cScopedThrowingFatalHook hook;
  const std::string garbage = [] {
    std::string row = "A";
    for (int i = 1; i < 33; ++i) row += ";A";
    return row;
  }();
  const std::tuple<const char*, std::string, std::wstring> cases[] = {
      {"air_units.csv", "#h\r\n4;JG;2;1;2;-2147483648;3;12;-1;0;0;-1;-1;1;2;0;5;1;0;",
       L"line 2 column 6: air unit type \"-2147483648\" is out of range (20 to 22)"},
      {"air_units.csv", "4;JG;2;1;2;20;3;2.1e9;-1;0;0;-1;-1;1;2;0;5;1;0;",
       L"line 1 column 8: strength \"2.1e9\" is not a whole number"},
      {"land_units.csv", "#h\r\n" + garbage, L"line 2 column 1: unit id \"A\" is not a whole number"},
      {"land_units.csv", LandRow("0", 1, "50", -1, "5"), L"line 1 column 1: unit id \"0\" is out of range (1 to 2147483647)"},
      {"land_units.csv", LandRow("5", 1, "50", -1, "5x"), L"line 1 column 25: supply \"5x\" is not a whole number"},
      {"naval_units.csv", "1;Hood;1;99;5;4;6;-1;0;0;1;0;0;1;",
       L"line 1 column 4: ship type \"99\" is out of range (40 to 45)"},
      {"naval_units.csv", "1;Hood;4294967299;41;5;4;6;-1;0;0;1;0;0;1;",
       L"line 1 column 3: country id \"4294967299\" is out of range"},
  };
  for (const auto& [file, text, line] : cases) {
    dir.Write(file, text);
    twtest::LogCapture log;
    const std::wstring name = plat::WidenAnsi(file);
    const std::wstring last = filestest::FatalLine(log, [&] {
      if (name == L"air_units.csv") LoadAirUnits(world, Pattern());
      if (name == L"land_units.csv") LoadLandUnits(world, Pattern());
      if (name == L"naval_units.csv") LoadNavalUnits(world, Pattern());
    });
    EXPECT_EQ(last, L"ERROR: " + Folder() + L"\\" + name + L" " + line);
  }
  // A land type code that names an air unit is no land unit.
  dir.Write("land_units.csv", LandRow("5", 1, "50", -1, "5").replace(13, 1, "20"));
  twtest::LogCapture log;
  EXPECT_EQ(filestest::FatalLine(log, [&] { LoadLandUnits(world, Pattern()); }),
            L"ERROR: " + Folder() + L"\\land_units.csv line 1 column 6: land unit type \"20\" names no land unit type");
}

// Every writer puts its header first: a file without a single byte is
// damage and is said, while the header alone (a game without air units,
// ships, convoys or flags set) is read in silence.
TEST_F(UnitFiles, AnEmptyFileIsSaidButAHeaderAloneIsNot) {
  std::vector<int> flags(kEventFlagCount, 0);
  const std::tuple<const char*, std::function<void()>, std::wstring> files[] = {
      {"air_units.csv", [&] { LoadAirUnits(world, Pattern()); }, L"air units"},
      {"naval_units.csv", [&] { LoadNavalUnits(world, Pattern()); }, L"ships"},
      {"convoys.csv", [&] { LoadConvoys(world, Pattern()); }, L"convoys"},
      {"flags.txt", [&] { LoadFlags(Pattern(), flags, files::eRowLoss::kWarn); }, L"event flags set"},
  };
  WriteAirUnits(world, Folder());
  WriteNavalUnits(world, Folder());
  WriteConvoys(world, Folder());
  WriteFlags(Folder(), flags);
  {
    twtest::LogCapture log;
    for (const auto& [file, load, what] : files) load();
    EXPECT_EQ(filestest::CountLines(log, L"WARNING"), 0);
  }
  for (const auto& [file, load, what] : files) {
    dir.Write(file, "");
    twtest::LogCapture log;
    load();
    EXPECT_TRUE(log.Contains(L"WARNING: " + Folder() + L"\\" + plat::WidenAnsi(file) + L": no " + what +
                             L": the file is empty"))
        << file;
  }
}

// A file cut inside its header holds no row, and loses every row it had
// with it: that is said, wherever the cut falls, where the whole header
// with no row after it is read in silence (above).
TEST_F(UnitFiles, AFileCutInsideItsHeaderIsSaid) {
  const std::tuple<const char*, std::function<void()>, std::function<void()>, std::wstring> files[] = {
      {"air_units.csv", [&] { WriteAirUnits(world, Folder()); }, [&] { LoadAirUnits(world, Pattern()); },
       L"air units"},
      {"convoys.csv", [&] { WriteConvoys(world, Folder()); }, [&] { LoadConvoys(world, Pattern()); }, L"convoys"},
  };
  for (const auto& [file, write, load, what] : files) {
    const std::string whole = Rewrite(file, write);
    const std::size_t firstLineEnd = whole.find('\n');
    ASSERT_NE(firstLineEnd, std::string::npos) << file;
    // Inside the first line, between CR and LF, just after the first line,
    // halfway and one byte short.
    for (std::size_t cut : {std::size_t{4}, firstLineEnd, firstLineEnd + 1, whole.size() / 2, whole.size() - 1}) {
      dir.Write(file, whole.substr(0, cut));
      twtest::LogCapture log;
      load();
      EXPECT_TRUE(log.Contains(L"WARNING: " + Folder() + L"\\" + plat::WidenAnsi(file) + L": no " + what +
                               L": the file ends inside its header"))
          << file << " cut at " << cut;
    }
  }
}

// A scenario's rows are read from the table's columns: a land row's 34th
// field and an air row's 20th, a note or a number, are ignored with a
// WARNING, and events name each unit by its row's id. In a saved game the
// field is the unit's scenario id: one that is no id refuses the save.
TEST_F(UnitFiles, AScenarioRowsFieldsPastTheTableAreIgnored) {
  const std::string land =
      "#h\r\n" + LandRow("4", 1, "50", -1, "5") + "note;\r\n" + LandRow("6", 2, "50", -1, "5") + "0;";
  const std::string air = AirRow(7, "JG 52", 1, 2, false) + "note;" + AirRow(9, "KG 1", -1, -1, true) + "0;";
  dir.Write("land_units.csv", land);
  dir.Write("air_units.csv", air);
  twtest::LogCapture log;
  LoadLandUnits(world, Pattern());
  LoadAirUnits(world, Pattern());
  std::vector<std::pair<int, int>> ids;
  for (const cJednostka* unit : world.Units().landUnits) ids.emplace_back(unit->id, unit->IdInScenario());
  for (const cJednostka* unit : world.Units().airUnits) ids.emplace_back(unit->id, unit->IdInScenario());
  EXPECT_EQ(ids, (std::vector<std::pair<int, int>>{{4, 4}, {6, 6}, {7, 7}, {9, 9}}));
  for (const std::wstring line : {L"land_units.csv line 2: 34 fields where 33 are read; the fields from column 34 on",
                                  L"land_units.csv line 3: 34 fields where 33 are read; the fields from column 34 on",
                                  L"air_units.csv line 2: 20 fields where 19 are read; the fields from column 20 on",
                                  L"air_units.csv line 3: 20 fields where 19 are read; the fields from column 20 on"}) {
    EXPECT_TRUE(log.Contains(L"WARNING: " + Folder() + L"\\" + line + L" are ignored")) << plat::NarrowBytes(line);
  }
  world.savedGame = true;
  cScopedThrowingFatalHook fatal;
  EXPECT_EQ(filestest::FatalLine(log, [&] { LoadLandUnits(world, Pattern()); }),
            L"ERROR: " + Folder() + L"\\land_units.csv line 2 column 34: scenario id \"note\" is not a whole number");
}

// A save of an earlier game has no scenario id column: a land file of no
// unit (its header alone) and air rows read as before, the rows' ids being
// their scenario's, and an air file cut inside that header is still said.
TEST_F(UnitFiles, AnEarlierGamesSaveReadsWithoutTheScenarioIdColumn) {
  const auto earlier = [](std::string text, const std::string& column) {
    return text.erase(text.find(column), column.size());
  };
  const std::string land = earlier(Rewrite("land_units.csv", [&] { WriteLandUnits(world, Folder()); }), "Scenario ID;");
  const std::string air = earlier(Rewrite("air_units.csv", [&] { WriteAirUnits(world, Folder()); }), ";Scenario ID");
  world.savedGame = true;
  cScopedThrowingFatalHook fatal;
  twtest::LogCapture log;
  dir.Write("land_units.csv", land);
  dir.Write("air_units.csv", air.substr(0, air.find("\r\n#In reserve")) + AirRow(4, "JG 52", 1, 2, false) +
                                 "\r\n#In reserve" + AirRow(5, "KG 1", -1, -1, true));
  ASSERT_NO_THROW(LoadLandUnits(world, Pattern()));
  ASSERT_NO_THROW(LoadAirUnits(world, Pattern()));
  ASSERT_EQ(world.Units().airUnits.size(), 2u);
  EXPECT_EQ(world.Units().airUnits.back()->IdInScenario(), 5);
  dir.Write("air_units.csv", air.substr(0, air.size() - 4));
  filestest::FatalLine(log, [&] { LoadAirUnits(world, Pattern()); });
  EXPECT_TRUE(log.Contains(L"ERROR: " + Folder() + L"\\air_units.csv: no air units: the file ends inside its header; "
                           L"the saved game is damaged"));
}

}  // namespace
