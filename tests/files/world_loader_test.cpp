// Loading a whole game: the fixture scenario through every reader and the
// second pass, saving it and loading the save back, and the fatal paths of
// the loading order. An interrupted save is covered by the save tests.
#include "files/world_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "files/save_game.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;

Files ReadFolder(const fs::path& folder) {
  Files files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = twtest::ReadFile(entry.path().string());
  }
  return files;
}

// Info.ini without its "Date=" line (the wall-clock time of the save).
std::string WithoutSaveDate(const std::string& ini) {
  std::string out;
  std::size_t start = 0;
  while (start < ini.size()) {
    std::size_t end = ini.find('\n', start);
    end = end == std::string::npos ? ini.size() : end + 1;
    const std::string line = ini.substr(start, end - start);
    if (line.rfind("Date=", 0) != 0) out += line;
    start = end;
  }
  return out;
}

class WorldLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
    settings_ = twtest::CopyFixtureScenario(dir_.Path());
  }
  void TearDown() override {
    delete g_pWorld;
    g_pWorld = nullptr;
    g_OnWorldLoadingProgress = nullptr;
  }
  fs::path Scenario() const { return dir_.Path() / "data/scenarios/Fixture"; }

  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  sGameStartSettings settings_;
};

// Replaces text in a file of the copied scenario (the text must be there).
void Edit(const fs::path& file, const std::string& from, const std::string& to) {
  std::string bytes = twtest::ReadFile(file.string());
  const std::size_t at = bytes.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  bytes.replace(at, from.size(), to);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

template <typename List>
std::vector<int> IdsOf(const List& list) {
  std::vector<int> ids;
  for (const auto* record : list) ids.push_back(record->id);
  return ids;
}

TEST_F(WorldLoader, FixtureLoadsEveryRecordAndLinksThem) {
  std::vector<int> progress;
  bool worldDuringProgress = true;
  g_OnWorldLoadingProgress = [&](int percent) {
    progress.push_back(percent);
    worldDuringProgress = worldDuringProgress && g_pWorld != nullptr;
  };
  twtest::LogCapture log;
  LoadWorld(settings_);
  ASSERT_NE(g_pWorld, nullptr);
  cWorld& w = *g_pWorld;

  EXPECT_EQ(progress, (std::vector<int>{5, 10, 15, 20, 25, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100}));
  EXPECT_TRUE(worldDuringProgress);
  EXPECT_EQ(w.GetGameState(), 1);
  EXPECT_TRUE(log.Contains(L"-- Loading new scenario done!"));
  EXPECT_TRUE(log.Contains(L"---- Game state = 1"));
  EXPECT_EQ(w.scenarioName, L"Fixture");
  EXPECT_FALSE(w.savedGame);

  // Header and constants: the date and the impulses per month.
  EXPECT_EQ(w.GetDate().month, 9);
  EXPECT_EQ(w.GetDate().year, 1939);
  EXPECT_EQ(w.GetDate().turn, 1);
  EXPECT_EQ(w.TurnsPerMonth()[8], 4);
  EXPECT_EQ(w.turnsLeft, 39);

  EXPECT_EQ(w.GetMap().GetWidth(), 20);
  EXPECT_EQ(w.GetMap().GetHeight(), 15);
  EXPECT_EQ(w.GetCountryCount(), 5);
  EXPECT_EQ(w.Cities().size(), 9u);
  EXPECT_EQ(w.GetMap().GetHex(4, 2).city, w.Cities()[1]);
  EXPECT_NE(w.GetMap().GetHex(4, 2).seaNode, 0);  // a port has its sea node
  EXPECT_EQ(w.GetSeaGraph().GetNodeCount(), 5);
  EXPECT_TRUE(w.GetRelations().IsAtWar(1, 2));
  EXPECT_EQ(w.eventFlags.size(), 40000u);
  EXPECT_EQ(w.eventFlags[39999], 5);
  EXPECT_EQ(w.GetCountry(2)->attackReports.size(), 1u);
  EXPECT_EQ(w.GetCountry(1)->reconSpottedUnits.size(), 1u);
  ASSERT_NE(w.turnState.currentCountry, nullptr);
  EXPECT_EQ(w.turnState.currentCountry->id, 2);  // the Axis leader moves first

  const sUnitLists& u = w.Units();
  EXPECT_EQ(IdsOf(u.landUnits), (std::vector<int>{1, 2, 3, 6, 7, 9, 8}));
  EXPECT_EQ(IdsOf(u.airUnits), std::vector<int>{1});
  EXPECT_EQ(IdsOf(u.navalUnits), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(IdsOf(u.commanders), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(u.navalUnits.back()->name, L"EM M\u00f6we");  // Windows-1252 in the file
  cJednostkaLadowa* first = u.landUnits.front();
  EXPECT_EQ(static_cast<const void*>(w.GetMap().GetHex(3, 5).unit), static_cast<const void*>(first));

  // Ships in their fleets, in list order.
  ASSERT_EQ(u.fleets.size(), 2u);
  EXPECT_EQ(IdsOf(u.fleets.front()->ships), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(IdsOf(u.fleets.back()->ships), (std::vector<int>{4, 5}));
  for (const cJednostkaMorska* ship : u.navalUnits) EXPECT_EQ(ship->fleet->id, ship->fleetId);
  EXPECT_TRUE(log.Contains(L"WS Resolute_belongs_to_fleet_Home Fleet"));

  // The marines travel as the transport's cargo, off the map.
  ASSERT_EQ(IdsOf(u.carriedUnitsA), std::vector<int>{5});
  EXPECT_TRUE(u.carriedUnitsB.empty());
  cJednostkaLadowa* marines = u.carriedUnitsA.front();
  ASSERT_NE(marines->transport, nullptr);
  EXPECT_EQ(marines->transport->id, 3);
  EXPECT_EQ(marines->transport->carriedUnit, marines);

  // Reserve pools: supply from the constants (the files say 20), commander
  // of the reserve ship kept.
  ASSERT_EQ(u.reservePool.size(), 2u);
  EXPECT_EQ(u.reservePool[0]->id, 4);
  EXPECT_EQ(u.reservePool[0]->category, kCategoryLand);
  EXPECT_EQ(u.reservePool[1]->id, 2);
  EXPECT_EQ(u.reservePool[1]->category, kCategoryAir);
  for (const cJednostka* unit : u.reservePool) EXPECT_EQ(unit->supply, 50);
  ASSERT_EQ(u.navalReservePool.size(), 1u);
  EXPECT_EQ(u.navalReservePool[0]->id, 6);
  EXPECT_EQ(u.navalReservePool[0]->fleet, nullptr);
  ASSERT_NE(u.navalReservePool[0]->ownCommander, nullptr);
  EXPECT_EQ(u.navalReservePool[0]->ownCommander->id, 4);

  // The first pass of a new scenario: airborne units may drop at once.
  for (const cJednostkaLadowa* unit : u.landUnits) EXPECT_EQ(unit->turnsSinceParadrop, 3);

  // Counters: land ids up to 9 give 10; ships 1..5 and reserve 6 give 7;
  // convoy id 3 gives 4.
  EXPECT_EQ(w.ids.nextLandUnitId, 10);
  EXPECT_EQ(w.ids.nextAirUnitId, 3);
  EXPECT_EQ(w.ids.nextShipId, 7);
  EXPECT_EQ(w.ids.nextFleetId, 3);
  EXPECT_EQ(w.ids.nextConvoyId, 4);
  const std::vector<cConvoy>* convoys = w.Units().convoys.ConvoysOf(2);
  ASSERT_NE(convoys, nullptr);
  ASSERT_EQ(convoys->size(), 1u);

  // The unit readers' id tests cover the map, the cargo and the pool.
  EXPECT_TRUE(w.IsLandUnitIdUsed(4));   // in reserve
  EXPECT_TRUE(w.IsLandUnitIdUsed(5));   // aboard
  EXPECT_FALSE(w.IsLandUnitIdUsed(10));
  EXPECT_TRUE(w.IsAirUnitIdUsed(2));    // in reserve
  EXPECT_FALSE(w.IsAirUnitIdUsed(4));   // a land unit's id
}

TEST_F(WorldLoader, SaveLoadSaveGivesTheSameFiles) {
  LoadWorld(settings_);
  g_pWorld->turnNumber = 6;
  // A mid-month impulse of a month with fewer impulses (January has two)
  // comes back from the saved day.
  g_pWorld->GetDate().month = 1;
  g_pWorld->GetDate().turn = 2;
  ASSERT_TRUE(SaveGame(*g_pWorld, L"First", false).ok);
  LoadWorld(sGameStartSettings{L"data\\save\\First\\%s", 1});
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_TRUE(g_pWorld->savedGame);
  EXPECT_EQ(g_pWorld->turnNumber, 6);
  EXPECT_EQ(g_pWorld->GetDate().month, 1);
  EXPECT_EQ(g_pWorld->GetDate().turn, 2);
  // A reserve ship keeps its commander across the save.
  ASSERT_EQ(g_pWorld->Units().navalReservePool.size(), 1u);
  ASSERT_NE(g_pWorld->Units().navalReservePool[0]->ownCommander, nullptr);
  EXPECT_EQ(g_pWorld->Units().navalReservePool[0]->ownCommander->id, 4);
  EXPECT_EQ(g_pWorld->Units().carriedUnitsA.size(), 1u);
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Second", false).ok);

  Files first = ReadFolder("data/save/First");
  Files second = ReadFolder("data/save/Second");
  EXPECT_EQ(first.size(), 23u);
  first["Info.ini"] = WithoutSaveDate(first["Info.ini"]);
  second["Info.ini"] = WithoutSaveDate(second["Info.ini"]);
  for (const auto& [name, bytes] : first) {
    ASSERT_TRUE(second.count(name)) << name;
    EXPECT_TRUE(bytes == second[name]) << name << " differs after a load and a save";
  }
  EXPECT_EQ(first.size(), second.size());

  // The scenario's files are in the writers' formats: saved unchanged.
  const Files scenario = ReadFolder(Scenario());
  for (const char* name : {"ai_data.csv", "commanders.csv", "convoys.csv", "fleets.csv", "naval_units.csv",
                           "relations.csv", "losses.csv", "sea_nodes.csv", "flags.txt", "unit_names.csv",
                           "airship_attacks.csv", "airrecon_units.csv"}) {
    EXPECT_TRUE(scenario.at(name) == first.at(name)) << name;
  }
}

// Broken scenarios: each edit ends the load (exit code 1) after its log
// lines, and no world is left behind.
struct sEdit {
  const char* file;
  const char* from;
  const char* to;
};

struct sBrokenCase {
  const char* what;
  std::vector<sEdit> edits;
  std::vector<std::wstring> lines;
};

TEST_F(WorldLoader, BrokenScenariosEndTheLoadAfterTheirLogLines) {
  const std::vector<sBrokenCase> cases = {
      {"two land units on a taken hex: both logged, then the end",
       {{"land_units.csv", "2;2nd Armoured;1;6;4;", "2;2nd Armoured;1;3;5;"},
        {"land_units.csv", "7;Eastmark Panzer;2;15;6;", "7;Eastmark Panzer;2;3;5;"}},
       {L"ERROR: Trying to place land unit 2nd Armoured (ID=2) to hex (3, 5) occupied by 1st Infantry (ID=1)",
        L"ERROR: Trying to place land unit Eastmark Panzer (ID=7) to hex (3, 5) occupied by 1st Infantry (ID=1)"}},
      {"air unit on a land unit's hex",
       {{"air_units.csv", "1;Westland Fighters;1;5;6;", "1;Westland Fighters;1;6;4;"}},
       {L"ERROR: Trying to place air unit Westland Fighters (ID=1) to hex (6, 4) occupied by 2nd Armoured (ID=2)"}},
      {"land unit outside the map", {{"land_units.csv", "7;Eastmark Panzer;2;15;6;", "7;Eastmark Panzer;2;25;6;"}},
       {L"ERROR: Land unit Eastmark Panzer (ID=7) stands on hex (25, 6) outside the map"}},
      {"ship of a missing fleet", {{"naval_units.csv", "4;EM Grauwal;2;43;2;", "4;EM Grauwal;2;43;9;"}},
       {L"Data integrity error: EM Grauwal belongs to fleet id=9, but no such fleet exists"}},
      {"cargo on a battleship", {{"land_units.csv", "4;3;-1;0;0.000000", "4;1;-1;0;0.000000"}},
       {L"Marines_is_supposed_to_be_loaded_into_WS Resolute",
        L"but_this_isn't_transport_or_amphib._fleet._data_integrity_error!_game_terminated."}},
      {"cargo on a ship that does not exist", {{"land_units.csv", "4;3;-1;0;0.000000", "4;42;-1;0;0.000000"}},
       {L"Data integrity error: Marines is loaded on ship id=42, but no such ship exists"}},
  };
  for (const sBrokenCase& c : cases) {
    SCOPED_TRACE(c.what);
    settings_ = twtest::CopyFixtureScenario(dir_.Path());
    for (const sEdit& edit : c.edits) Edit(Scenario() / edit.file, edit.from, edit.to);
    twtest::LogCapture log;
    cScopedThrowingFatalHook hook;
    try {
      LoadWorld(settings_);
      ADD_FAILURE() << "the load went through";
    } catch (const sFatalExitError& error) {
      EXPECT_EQ(error.exitCode, 1);
    }
    EXPECT_EQ(g_pWorld, nullptr);
    for (const std::wstring& line : c.lines) EXPECT_TRUE(log.Contains(line)) << plat::NarrowBytes(line);
    EXPECT_FALSE(log.Contains(L"-- Loading new scenario done!"));
  }
}

TEST_F(WorldLoader, ReserveShipOfAMissingFleetStillLoads) {
  Edit(Scenario() / "naval_units.csv", "6;EM Reserve Cruiser;2;42;-1;", "6;EM Reserve Cruiser;2;42;9;");
  LoadWorld(settings_);
  ASSERT_EQ(g_pWorld->Units().navalReservePool.size(), 1u);
  EXPECT_EQ(g_pWorld->Units().navalReservePool[0]->fleet, nullptr);
}

TEST_F(WorldLoader, ReserveRemovalTakesOnlyTheCountrysUnits) {
  LoadWorld(settings_);
  cWorld& w = *g_pWorld;
  cCommander* dorn = w.FindCommanderById(4);
  ASSERT_EQ(dorn->ledUnit, w.Units().navalReservePool[0]);
  w.RemoveCountryReserveUnits(2);
  ASSERT_EQ(w.Units().reservePool.size(), 1u);
  EXPECT_EQ(w.Units().reservePool[0]->id, 4);
  w.RemoveCountryReserveShips(1);
  EXPECT_EQ(w.Units().navalReservePool.size(), 1u);
  w.RemoveCountryReserveShips(2);
  EXPECT_TRUE(w.Units().navalReservePool.empty());
  EXPECT_EQ(dorn->ledUnit, nullptr);
  // Ships 1 to 5 and an empty pool: the next ship gets 7.
  w.ids.Recompute(w);
  EXPECT_EQ(w.ids.nextShipId, 7);
  EXPECT_EQ(w.ids.nextAirUnitId, 2);
}

TEST(IdCounters, EmptyWorldAndUnsortedFleets) {
  cWorld world;
  world.ids.Recompute(world);
  EXPECT_EQ(world.ids.nextLandUnitId, 1);
  EXPECT_EQ(world.ids.nextAirUnitId, 1);
  EXPECT_EQ(world.ids.nextFleetId, 1);
  EXPECT_EQ(world.ids.nextConvoyId, 1);
  EXPECT_EQ(world.ids.nextShipId, 2);  // 1 without ships, then one more

  for (int id : {7, 2, 5}) {
    auto* fleet = new cFleet;
    fleet->id = id;
    world.Units().fleets.push_back(fleet);
  }
  world.ids.Recompute(world);
  EXPECT_EQ(IdsOf(world.Units().fleets), (std::vector<int>{2, 5, 7}));
  EXPECT_EQ(world.ids.nextFleetId, 8);
}

TEST(AutoEventSeeding, GreatestChanceFirstOfEqualsAndCarriedChoice) {
  cWorld world;
  SeedAutoEventsFromEvents(world, {
      {1, {{1, 10}, {2, 30}, {3, 30}}},  // the first of the equal best
      {2, {{7, -1}}},                    // none qualifies: the previous choice
      {3, {{4, 0}}},                     // a chance of 0 qualifies
      {1, {{5, 99}}},                    // an event already held is ignored
  });
  const std::list<cAutoEventsRepository::Pair> expected = {{1, 2}, {2, 2}, {3, 4}};
  EXPECT_EQ(world.autoEvents.Pairs(), expected);
}

}  // namespace
