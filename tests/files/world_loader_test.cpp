// Loading a whole game: the fixture scenario through every reader and the
// second pass, saving it and loading the save back, and the fatal paths of
// the loading order. An interrupted save is covered by the save tests.
#include "app/music_player.h"
#include "files/world_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "files/save_game.h"
#include "files_fixture.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"

namespace {

using filestest::ReadFolder;

// Info.ini without its "Date=" line (the wall-clock time of the save).
std::string WithoutSaveDate(std::string ini) {
  for (std::size_t at = 0; at < ini.size(); at = ini.find('\n', at) + 1) {
    if (ini.compare(at, 5, "Date=") == 0) ini.erase(at, ini.find('\n', at) - at);
    if (ini.find('\n', at) == std::string::npos) break;
  }
  return ini;
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
    // The freed game's music is no longer the one the pause mutes.
    EXPECT_EQ(g_pMusicPlayer, nullptr);
  }
  // Replaces text in a file of the copied scenario (the text must be there).
  void Edit(const std::string& file, const std::string& from, const std::string& to) {
    const std::string path = "data/scenarios/Fixture/" + file;
    std::string bytes = twtest::ReadFile(dir_.File(path));
    const std::size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    dir_.Write(path, bytes.replace(at, from.size(), to));
  }

  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  sGameStartSettings settings_;
};

// The next land, air, ship, fleet and convoy ids.
std::vector<int> Counters(const cWorld& w) {
  return {w.ids.nextLandUnitId, w.ids.nextAirUnitId, w.ids.nextShipId, w.ids.nextFleetId, w.ids.nextConvoyId};
}

template <typename List>
std::vector<int> IdsOf(const List& list) {
  std::vector<int> ids;
  for (const auto* record : list) ids.push_back(record->id);
  return ids;
}

// What the byte-for-byte round trip below cannot show: the progress, the
// links between records, the placements and the counters; then the removal
// of a country's reserve.
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
  EXPECT_TRUE(log.Contains(L"-- Loading new scenario done!"));
  // The game's music is the one the window's pause mutes.
  ASSERT_NE(w.musicPlayer, nullptr);
  EXPECT_EQ(g_pMusicPlayer, w.musicPlayer.get());
  EXPECT_EQ(std::tuple(w.GetGameState(), w.scenarioName, w.savedGame), std::tuple(1, std::wstring(L"Fixture"), false));
  // The header's start date and length; the map, countries and cities.
  EXPECT_EQ(std::tuple(w.GetDate().month, w.GetDate().year, w.turnsLeft), std::tuple(9, 1939, 39));
  EXPECT_EQ(std::tuple(w.GetMap().GetWidth(), w.GetCountryCount(), w.Cities().size()), std::tuple(20, 5, 9u));
  EXPECT_EQ(w.GetMap().GetHex(4, 2).city, w.Cities()[1]);
  EXPECT_NE(w.GetMap().GetHex(4, 2).seaNode, 0);  // a port has its sea node
  ASSERT_NE(w.turnState.currentCountry, nullptr);
  EXPECT_EQ(w.turnState.currentCountry->id, 2);  // the Axis leader moves first

  const sUnitLists& u = w.Units();
  EXPECT_EQ(IdsOf(u.landUnits), (std::vector<int>{1, 2, 3, 6, 7, 9, 8}));
  EXPECT_EQ(IdsOf(u.airUnits), std::vector<int>{1});
  EXPECT_EQ(w.GetMap().GetHex(3, 5).unit, static_cast<cJednostka*>(u.landUnits.front()));

  // Ships in their fleets, in list order.
  ASSERT_EQ(u.fleets.size(), 2u);
  EXPECT_EQ(IdsOf(u.fleets.front()->ships), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(IdsOf(u.fleets.back()->ships), (std::vector<int>{4, 5}));
  for (const cJednostkaMorska* ship : u.navalUnits) EXPECT_EQ(ship->fleet->id, ship->fleetId);

  // The marines travel as the transport's cargo, off the map.
  ASSERT_EQ(IdsOf(u.carriedUnitsA), std::vector<int>{5});
  EXPECT_TRUE(u.carriedUnitsB.empty());
  cJednostkaLadowa* marines = u.carriedUnitsA.front();
  ASSERT_NE(marines->transport, nullptr);
  EXPECT_EQ(marines->transport->id, 3);
  EXPECT_EQ(marines->transport->carriedUnit, marines);

  // Reserve pools: supply from the constants (the files say 20); the
  // reserve ship's commander is kept (the round trip below shows it).
  EXPECT_EQ(IdsOf(u.reservePool), (std::vector<int>{4, 2}));
  for (const cJednostka* unit : u.reservePool) {
    EXPECT_EQ(unit->category, unit->id == 4 ? kCategoryLand : kCategoryAir);
    EXPECT_EQ(unit->supply, 50);
  }
  EXPECT_EQ(IdsOf(u.navalReservePool), std::vector<int>{6});
  EXPECT_EQ(u.navalReservePool[0]->fleet, nullptr);

  // The commander weights of the constants (lines 179 and 127): an own
  // commander raises its unit's effectiveness, and its checks can succeed.
  const sUnitConstants& weights = w.unitConstants;
  EXPECT_EQ(std::tuple(weights.skillWeight, weights.experienceWeight, weights.distanceFalloff,
                       weights.lossPreventionWeight, weights.damageDoublingWeight, weights.bombardmentBonusWeight),
            std::tuple(20, 10, 1, 5, 4, 3));
  const auto led = std::find_if(u.landUnits.begin(), u.landUnits.end(), [](auto* unit) { return unit->ownCommander; });
  ASSERT_NE(led, u.landUnits.end());
  const cCommander& general = *(*led)->ownCommander;
  EXPECT_GT(cUnit::GetCommanderValue(&w, general, 0), 1.5f);
  EXPECT_EQ((*led)->GetCommanderBonus(), 3 * general.skill);

  // The first pass of a new scenario: airborne units may drop at once.
  for (const cJednostkaLadowa* unit : u.landUnits) EXPECT_EQ(unit->turnsSinceParadrop, 3);

  // Counters (land, air, ship, fleet, convoy): land ids up to 9 give 10;
  // ships 1..5 and reserve 6 give 7; convoy id 3 gives 4.
  EXPECT_EQ(Counters(w), (std::vector<int>{10, 3, 7, 3, 4}));

  // A country's reserve goes, and only its own.
  cCommander* dorn = w.FindCommanderById(4);
  ASSERT_EQ(dorn->ledUnit, u.navalReservePool[0]);
  w.RemoveCountryReserveUnits(2);
  EXPECT_EQ(IdsOf(u.reservePool), std::vector<int>{4});
  w.RemoveCountryReserveShips(1);
  EXPECT_EQ(u.navalReservePool.size(), 1u);
  w.RemoveCountryReserveShips(2);
  EXPECT_TRUE(u.navalReservePool.empty() && dorn->ledUnit == nullptr);
  // Ships 1 to 5 and an empty pool: the next ship gets 7.
  w.ids.Recompute(w);
  EXPECT_EQ(Counters(w), (std::vector<int>{10, 2, 7, 3, 4}));
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
  const cWorld& w = *g_pWorld;
  EXPECT_EQ(std::tuple(w.savedGame, w.turnNumber, w.GetDate().month, w.GetDate().turn), std::tuple(true, 6, 1, 2));
  // Links the files hold by id (commanders, cargo, fleets) are written
  // back from the loaded records: the second save shows they were made.
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Second", false).ok);

  auto first = ReadFolder("data/save/First");
  auto second = ReadFolder("data/save/Second");
  // 23 files and the marker written last.
  EXPECT_EQ(first.size(), 24u);
  first["Info.ini"] = WithoutSaveDate(first["Info.ini"]);
  second["Info.ini"] = WithoutSaveDate(second["Info.ini"]);
  for (const auto& [name, bytes] : first) EXPECT_TRUE(bytes == second[name]) << name << " differs after a load";
  EXPECT_EQ(first.size(), second.size());

  // The scenario's files are in the writers' formats: saved unchanged, so
  // every record of them was read.
  const auto scenario = ReadFolder("data/scenarios/Fixture");
  for (const char* name : {"ai_data.csv", "commanders.csv", "convoys.csv", "fleets.csv", "naval_units.csv",
                           "relations.csv", "losses.csv", "sea_nodes.csv", "flags.txt", "unit_names.csv",
                           "airship_attacks.csv", "airrecon_units.csv"}) {
    EXPECT_TRUE(scenario.at(name) == first.at(name)) << name;
  }
}

// A unit aboard a ship has no map position: a row that gives the marines
// the hex of the 1st Infantry loads without a placement conflict, leaves
// the infantry on its hex, and the save writes the marines off the map.
TEST_F(WorldLoader, AUnitAboardAShipTakesNoHexAndIsSavedWithout) {
  Edit("land_units.csv", "5;Marines;1;-1;-1;", "5;Marines;1;3;5;");
  twtest::LogCapture log;
  cScopedThrowingFatalHook fatal;
  ASSERT_NO_THROW(LoadWorld(settings_));
  ASSERT_NE(g_pWorld, nullptr);
  const sUnitLists& u = g_pWorld->Units();
  ASSERT_EQ(IdsOf(u.carriedUnitsA), std::vector<int>{5});
  const cJednostkaLadowa* marines = u.carriedUnitsA.front();
  EXPECT_EQ(std::pair(marines->x, marines->y), std::pair(-1, -1));
  EXPECT_EQ(g_pWorld->GetMap().GetHex(3, 5).unit, static_cast<cJednostka*>(u.landUnits.front()));
  EXPECT_TRUE(log.Contains(L"WARNING: land_units.csv: Marines (ID=5) is aboard ship id=3: its hex (3, 5) is dropped"));

  ASSERT_TRUE(SaveGame(*g_pWorld, L"Aboard", false).ok);
  const std::string saved = twtest::ReadFile(dir_.File("data/save/Aboard/land_units.csv"));
  EXPECT_NE(saved.find("\n5;Marines;1;-1;-1;"), std::string::npos);
}

// Broken scenarios: each edit ends the load (exit code 1) after its log
// lines, and no world is left behind.
TEST_F(WorldLoader, BrokenScenariosEndTheLoadAfterTheirLogLines) {
  using Edits = std::vector<std::array<const char*, 3>>;  // file, text, replacement
  const std::vector<std::tuple<const char*, Edits, std::vector<std::wstring>>> cases = {
      {"two land units on a taken hex: both logged, then the end",
       {{"land_units.csv", "2;2nd Armoured;1;6;4;", "2;2nd Armoured;1;3;5;"},
        {"land_units.csv", "7;Eastmark Panzer;2;15;6;", "7;Eastmark Panzer;2;3;5;"}},
       {L"ERROR: Trying to place land unit 2nd Armoured (ID=2) to hex (3, 5) occupied by 1st Infantry (ID=1)",
        L"ERROR: Trying to place land unit Eastmark Panzer (ID=7) to hex (3, 5) occupied by 1st Infantry (ID=1)"}},
      {"air unit on a land unit's hex",
       {{"air_units.csv", "1;Westland Fighters;1;5;6;", "1;Westland Fighters;1;6;4;"}},
       {L"ERROR: Trying to place air unit Westland Fighters (ID=1) to hex (6, 4) occupied by 2nd Armoured (ID=2)"}},
      {"land unit outside the map", {{"land_units.csv", "7;Eastmark Panzer;2;15;6;", "7;Eastmark Panzer;2;25;6;"}},
       {L"ERROR: Land unit Eastmark Panzer (ID=7) stands on hex (25, 6) outside the map",
        L"ERROR: data\\scenarios\\Fixture\\land_units.csv: Land units that cannot be placed (the lines above)"}},
      {"ship of a missing fleet", {{"naval_units.csv", "4;EM Grauwal;2;43;2;", "4;EM Grauwal;2;43;9;"}},
       {L"Data integrity error: EM Grauwal belongs to fleet id=9, but no such fleet exists",
        L"ERROR: data\\scenarios\\Fixture\\naval_units.csv: ship EM Grauwal (ID=4) names fleet 9, which fleets.csv "
        L"does not hold"}},
      {"fleet on a sea node that does not exist", {{"fleets.csv", "1;Home Fleet;1;1;", "1;Home Fleet;1;9;"}},
       {L"ERROR: data\\scenarios\\Fixture\\fleets.csv: fleet Home Fleet (ID=1) stands on sea node 9, but "
        L"sea_nodes.csv holds nodes 1 to 5"}},
      {"commander of a country that does not exist", {{"commanders.csv", "1;Gen. Ashford;1;", "1;Gen. Ashford;7;"}},
       {L"ERROR: data\\scenarios\\Fixture\\commanders.csv: commander Gen. Ashford (ID=1) belongs to country 7, but "
        L"countries.csv holds countries 1 to 5"}},
      {"production points that are no number", {{"cities.csv", "Westhaven;2;4;0;3;12.500000;", "Westhaven;2;4;0;3;nan;"}},
       {L"ERROR: data\\scenarios\\Fixture\\cities.csv line 2 column 6: production points \"nan\" is not a number"}},
      {"two cities on one hex", {{"cities.csv", "Westport;4;2;", "Westport;2;4;"}},
       {L"ERROR: data\\scenarios\\Fixture\\cities.csv line 3: the city hex (2, 4) is given twice, on lines 2 and 3"}},
      {"month 0 in the header", {{"Info.ini", "GameMonth=9", "GameMonth=0"}},
       {L"ERROR: data\\scenarios\\Fixture\\Info.ini: Save/GameMonth 0 is out of range (1 to 12)"}},
      {"no scenario name in the header", {{"Info.ini", "ScenarioName=Fixture", "Scenario=Fixture"}},
       {L"ERROR: data\\scenarios\\Fixture\\Info.ini: Save/ScenarioName \"unknown\" names no scenario folder"}},
      {"cargo on a battleship", {{"land_units.csv", "4;3;-1;0;0.000000", "4;1;-1;0;0.000000"}},
       {L"Marines_is_supposed_to_be_loaded_into_WS Resolute",
        L"but_this_isn't_transport_or_amphib._fleet._data_integrity_error!_game_terminated."}},
      {"cargo on a ship that does not exist", {{"land_units.csv", "4;3;-1;0;0.000000", "4;42;-1;0;0.000000"}},
       {L"Data integrity error: Marines is loaded on ship id=42, but no such ship exists"}},
  };
  for (const auto& [what, edits, lines] : cases) {
    SCOPED_TRACE(what);
    settings_ = twtest::CopyFixtureScenario(dir_.Path());
    for (const auto& [file, from, to] : edits) Edit(file, from, to);
    twtest::LogCapture log;
    cScopedThrowingFatalHook hook;
    filestest::FatalLine(log, [&] { LoadWorld(settings_); });
    EXPECT_EQ(g_pWorld, nullptr);
    for (const std::wstring& line : lines) EXPECT_TRUE(log.Contains(line)) << plat::NarrowBytes(line);
    EXPECT_FALSE(log.Contains(L"-- Loading new scenario done!"));
  }
}

// Every unit of the world: its id, the id its scenario gave it (ships
// none: 0) and its name, sorted.
std::vector<std::tuple<int, int, std::wstring>> AllUnits(const cWorld& w) {
  std::vector<std::tuple<int, int, std::wstring>> all;
  const sUnitLists& u = w.Units();
  const auto add = [&all](const cJednostka* unit) { all.emplace_back(unit->id, unit->IdInScenario(), unit->name); };
  for (const auto* list : {&u.landUnits, &u.carriedUnitsA, &u.carriedUnitsB}) {
    std::for_each(list->begin(), list->end(), add);
  }
  std::for_each(u.airUnits.begin(), u.airUnits.end(), add);
  std::for_each(u.reservePool.begin(), u.reservePool.end(), add);
  for (const cJednostkaMorska* ship : u.navalUnits) all.emplace_back(ship->id, 0, ship->name);
  for (const cJednostkaMorska* ship : u.navalReservePool) all.emplace_back(ship->id, 0, ship->name);
  std::sort(all.begin(), all.end());
  return all;
}

// A scenario that gives two land units one id, the reserve's air unit the
// id of the one on the map, and a reserve ship the id of the transport the
// marines board, loads both of each: the later units and the reserve ship
// take free ids (the land and air units keep their scenario's ids beside),
// the marines stay aboard their transport, and the game's save of it loads
// back with the same units.
TEST_F(WorldLoader, RepeatedUnitIdsOfAScenarioTakeFreeIdsSoItsSavesLoadBack) {
  Edit("land_units.csv", "3;1st Airborne;", "1;1st Airborne;");
  Edit("air_units.csv", "2;Eastmark Bombers;", "1;Eastmark Bombers;");
  Edit("naval_units.csv", "6;EM Reserve Cruiser;2;42;-1;4;4;4;1;1;0;0;0;1;", "");
  Edit("naval_units.csv", "1;WS Resolute;", "3;EM Reserve Cruiser;2;42;-1;4;4;4;1;1;0;0;0;1;\n1;WS Resolute;");
  cScopedThrowingFatalHook fatal;
  twtest::LogCapture log;
  ASSERT_NO_THROW(LoadWorld(settings_));
  EXPECT_TRUE(log.Contains(L"WARNING: data\\scenarios\\Fixture\\land_units.csv line 5: land unit id 1 is used twice; "
                           L"1st Airborne takes the free id 10"));
  EXPECT_TRUE(log.Contains(L"WARNING: data\\scenarios\\Fixture\\air_units.csv line 6: air unit id 1 is used twice; "
                           L"Eastmark Bombers takes the free id 2"));
  EXPECT_TRUE(log.Contains(L"WARNING: data\\scenarios\\Fixture\\air_units.csv line 6: air unit id 1 is given twice, on "
                           L"lines 4 and 6; the unit takes a free id"));
  EXPECT_TRUE(log.Contains(L"WARNING: data\\scenarios\\Fixture\\naval_units.csv line 4: ship id 3 is used twice; "
                           L"EM Reserve Cruiser takes the free id 6"));
  ASSERT_EQ(g_pWorld->Units().carriedUnitsA.size(), 1u);
  EXPECT_EQ(g_pWorld->Units().carriedUnitsA.front()->transport->name, L"WS Carrier Pigeon");
  const auto loaded = AllUnits(*g_pWorld);
  EXPECT_EQ(std::count(loaded.begin(), loaded.end(), std::tuple(2, 1, std::wstring(L"Eastmark Bombers"))), 1);
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Repeated", false).ok);
  ASSERT_NO_THROW(LoadWorld(sGameStartSettings{L"data\\save\\Repeated\\%s", 1}));
  EXPECT_EQ(AllUnits(*g_pWorld), loaded);
}

// A scenario whose land, air and ship ids, fleet and convoy reach the
// greatest int, two land units sharing it, loads without counting past it:
// the later land unit takes the lowest free id, and every new id is a free
// one, two taken in a row differing. Its save loads back with the same
// units and the same next ids.
TEST_F(WorldLoader, IdsAtTheGreatestIntLoadAndSaveWithoutCountingPastIt) {
  Edit("land_units.csv", "3;1st Airborne;", "2147483647;1st Airborne;");
  Edit("land_units.csv", "9;Southia Rifles;", "2147483647;Southia Rifles;");
  Edit("air_units.csv", "1;Westland Fighters;", "2147483647;Westland Fighters;");
  Edit("naval_units.csv", "4;EM Grauwal;2;43;2;", "2147483647;EM Grauwal;2;43;2147483647;");
  Edit("naval_units.csv", "2;45;2;", "2;45;2147483647;");
  Edit("fleets.csv", "2;Strait Squadron;", "2147483647;Strait Squadron;");
  Edit("convoys.csv", "3;2;0;0;4;5;", "2147483647;2;0;0;4;5;\r\n2147483647;2;1;5;4;5;");
  cScopedThrowingFatalHook fatal;
  twtest::LogCapture log;
  ASSERT_NO_THROW(LoadWorld(settings_));
  EXPECT_TRUE(log.Contains(L"WARNING: data\\scenarios\\Fixture\\land_units.csv line 8: land unit id 2147483647 is "
                           L"used twice; Southia Rifles takes the free id 3"));
  EXPECT_TRUE(log.Contains(L"Convoy of line 4 takes the free ID=1"));
  // Two new ids of each kind: land, air, ship, fleet, convoy.
  const auto take = [](cWorld& w) {
    std::vector<int> ids;
    for (const eIdKind kind :
         {eIdKind::kLandUnit, eIdKind::kAirUnit, eIdKind::kShip, eIdKind::kFleet, eIdKind::kConvoy}) {
      ids.push_back(w.ids.Take(w, kind));
      ids.push_back(w.ids.Take(w, kind));
    }
    return ids;
  };
  // The lowest free ids, the second past the first.
  const std::vector<int> taken{9, 10, 1, 3, 4, 7, 2, 3, 2, 3};
  const auto loaded = AllUnits(*g_pWorld);
  EXPECT_EQ(take(*g_pWorld), taken);
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Greatest", false).ok);
  ASSERT_NO_THROW(LoadWorld(sGameStartSettings{L"data\\save\\Greatest\\%s", 1}));
  EXPECT_EQ(AllUnits(*g_pWorld), loaded);
  EXPECT_EQ(IdsOf(g_pWorld->Units().fleets), (std::vector<int>{1, 2147483647}));
  EXPECT_EQ(take(*g_pWorld), taken);
}

TEST_F(WorldLoader, ReserveShipOfAMissingFleetStillLoads) {
  Edit("naval_units.csv", "6;EM Reserve Cruiser;2;42;-1;", "6;EM Reserve Cruiser;2;42;9;");
  LoadWorld(settings_);
  ASSERT_EQ(g_pWorld->Units().navalReservePool.size(), 1u);
  EXPECT_EQ(g_pWorld->Units().navalReservePool[0]->fleet, nullptr);
}

TEST(IdCounters, EmptyWorldAndUnsortedFleets) {
  cWorld world;
  world.ids.Recompute(world);
  EXPECT_EQ(Counters(world), (std::vector<int>{1, 1, 2, 1, 1}));  // ships: 1 without ships, then one more

  for (int id : {7, 2, 5}) {
    auto* fleet = new cFleet;
    fleet->id = id;
    world.Units().fleets.push_back(fleet);
  }
  world.ids.Recompute(world);
  EXPECT_EQ(IdsOf(world.Units().fleets), (std::vector<int>{2, 5, 7}));
  EXPECT_EQ(world.ids.nextFleetId, 8);
}

// Land ids up to one below the greatest int: new land units (each takes its
// id as it is made) get the greatest int, then the lowest free ids, never
// an id past it.
TEST(IdCounters, TheGreatestIntIsHandedOutOnceThenTheLowestFreeIds) {
  cWorld world;
  for (const int id : {1, 2147483646}) {
    auto* unit = new cJednostkaLadowa(&world);
    unit->id = id;
    world.Units().landUnits.push_back(unit);
  }
  world.ids.Recompute(world);
  std::vector<int> taken;
  for (int k = 0; k < 3; ++k) {
    world.Units().landUnits.push_back(new cJednostkaLadowa(&world));
    taken.push_back(world.Units().landUnits.back()->id);
  }
  EXPECT_EQ(taken, (std::vector<int>{2147483647, 2, 3}));
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
