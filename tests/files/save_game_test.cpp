// Saving a game: the transaction (a failed write keeps the previous save
// byte for byte), the "Info.ini" header written and read back, save names,
// the play-by-e-mail folder and the date's impulse restored from the day.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "app/ini_file.h"
#include "files/info_ini_file.h"
#include "files/save_game.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/calendar.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

using Snapshot = std::map<std::string, std::string>;

Snapshot TakeSnapshot(const fs::path& folder) {
  Snapshot files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string rel = fs::relative(entry.path(), folder).string();
    files[rel] = entry.is_regular_file() ? twtest::ReadFile(entry.path().string()) : std::string("<dir>");
  }
  return files;
}

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Hook that makes one file of the save unwritable by putting a folder in
// its place.
struct ScopedBlockFile {
  explicit ScopedBlockFile(std::wstring file)
      : previous(SetSaveStepHook([file](const std::wstring& name, const std::wstring& folder) {
          if (name == file) fs::create_directories(plat::TranslatePath(plat::NarrowBytes(folder + L"\\" + name)));
        })) {}
  ~ScopedBlockFile() { SetSaveStepHook(std::move(previous)); }
  SaveStepHook previous;
};

struct SaveGameTest : ::testing::Test {
  SaveGameTest() {
    world.GetMap().SetWidth(6);
    world.GetMap().SetHeight(4);
    world.GetMap().CreateHexes();
    twtest::AddCountry(world, 0, L"Land1");
    twtest::AddCountry(world, 0, L"Land2");
    world.GetRelations().Reset(2);
    world.scenarioName = L"Alpha";
    world.TurnsPerMonth().fill(4);
    world.GetDate() = sGameDate{};
    world.GetDate().turn = 3;  // day 16 of September 1939
    world.impulseCounters[0] = 11;
    world.smallUnitsSize = 2;
    world.largeUnitsSize = 4;
    fs::create_directories("data/scenarios/Alpha");
    std::ofstream("data/scenarios/Alpha/Info.ini", std::ios::binary)
        << "[Scenario]\r\nDescription=Autumn war\r\n[Duration]\r\nTurns=40\r\n[Map]\r\nSmallUnitsSize=4\r\n";
    world.turnNumber = 7;
    world.turnsLeft = 33;
  }
  twtest::TempWorkingFolder dir;
  cWorld world;
};

TEST_F(SaveGameTest, WritesEveryFileAndTheHeaderOnTopOfTheScenarioHeader) {
  const sSaveResult result = SaveGame(world, L"  Game1 \t", false);
  ASSERT_TRUE(result.ok) << plat::NarrowBytes(result.error);
  // Only the save itself is left, no temporary or backup folder.
  EXPECT_EQ(Entries("data/save"), std::vector<std::string>{"Game1"});
  for (const char* file : {"ai_data.csv", "cities.csv", "sea_nodes.csv", "cities_supply_info.csv",
                           "cities_convoy_info.csv", "countries.csv", "losses.csv", "map.tdw", "Info.ini",
                           "relations.csv", "airship_attacks.csv", "airrecon_units.csv"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::path("data/save/Game1") / file)) << file;
  }

  cIniFile ini;
  ini.Load(L"data\\save\\Game1\\Info.ini");
  ASSERT_TRUE(ini.IsLoaded());
  EXPECT_EQ(ini.GetInt("Save/Turn", -1), 7);
  EXPECT_EQ(ini.GetInt("Save/Impulse", -1), 11);
  EXPECT_EQ(ini.GetInt("Save/GameDay", -1), 16);
  EXPECT_EQ(ini.GetInt("Save/GameMonth", -1), 9);
  EXPECT_EQ(ini.GetString("Save/ScenarioName", L""), L"Alpha");
  EXPECT_EQ(ini.GetString("Save/GameVersion", L""), L"1.01");
  // The scenario's own keys travel with the save, unchanged.
  EXPECT_EQ(ini.GetString("Scenario/Description", L""), L"Autumn war");
  EXPECT_EQ(ini.GetInt("Map/SmallUnitsSize", -1), 4);
}

TEST_F(SaveGameTest, InterruptedSaveKeepsThePreviousSaveByteForByte) {
  ASSERT_TRUE(SaveGame(world, L"Game1", false).ok);
  const Snapshot before = TakeSnapshot("data/save/Game1");
  ASSERT_GE(before.size(), 10u);

  world.GetDate().month = 11;
  world.GetDate().turn = 1;
  twtest::LogCapture log;
  sSaveResult result;
  {
    // countries.csv comes after half of the files were written.
    ScopedBlockFile block(L"countries.csv");
    result = SaveGame(world, L"Game1", false);
  }
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find(L"countries.csv"), std::wstring::npos);
  // The writer's own lines stay; the process was not ended.
  EXPECT_TRUE(log.Contains(L"Error opening file for writing"));
  EXPECT_EQ(TakeSnapshot("data/save/Game1"), before);
  EXPECT_EQ(Entries("data/save"), std::vector<std::string>{"Game1"});
  const sInfoHeader header = LoadInfoHeader(L"data\\save\\Game1\\%s");
  EXPECT_EQ(header.gameMonth, 9);
  EXPECT_EQ(header.gameDay, 16);

  // Without the fault the same save replaces the old one.
  ASSERT_TRUE(SaveGame(world, L"Game1", false).ok);
  EXPECT_EQ(LoadInfoHeader(L"data\\save\\Game1\\%s").gameMonth, 11);
  EXPECT_EQ(Entries("data/save"), std::vector<std::string>{"Game1"});
}

TEST_F(SaveGameTest, NamesAreTrimmedCutAndKeptInsideTheSaveFolder) {
  EXPECT_EQ(CleanSaveName(L" \t name one \r\n"), L"name one");
  const std::wstring longName(70, L'x');
  const std::wstring cut = CleanSaveName(L"  " + longName);
  EXPECT_EQ(cut.size(), kMaxSaveNameLength);
  EXPECT_EQ((L"data\\save\\" + cut).size(), 64u);

  ASSERT_TRUE(SaveGame(world, L"  " + longName + L"  ", false).ok);
  EXPECT_TRUE(fs::is_directory("data/save/" + std::string(kMaxSaveNameLength, 'x')));
  // The existence test sees the save under the name as typed.
  EXPECT_TRUE(SaveFolderExists(L" " + longName));
  EXPECT_FALSE(SaveFolderExists(L"other"));

  // A name with "%" is a name, not a format.
  ASSERT_TRUE(SaveGame(world, L"100%s%n", false).ok);
  EXPECT_TRUE(fs::is_directory("data/save/100%s%n"));

  for (const wchar_t* bad : {L"   ", L"..", L".", L"a/b", L"..\\up"}) {
    const sSaveResult r = SaveGame(world, bad, false);
    EXPECT_FALSE(r.ok) << plat::NarrowBytes(bad);
  }
  EXPECT_FALSE(fs::exists("data/up"));
  EXPECT_FALSE(fs::exists("data/save/a"));
}

TEST(CalendarInverse, EveryImpulseComesBackFromItsDay) {
  sTurnsPerMonth turns{};
  for (int t = 1; t <= 30; ++t) {
    turns.fill(t);
    for (int turn = 1; turn <= t; ++turn) {
      sGameDate date;
      date.turn = turn;
      EXPECT_EQ(TurnFromDay(turns, date.month, date.GetDay(turns)), turn) << "T=" << t;
    }
  }
  turns.fill(4);  // days 1, 9, 16, 24
  EXPECT_EQ(TurnFromDay(turns, 3, 10), 2);
  EXPECT_EQ(TurnFromDay(turns, 3, -5), 1);
  EXPECT_EQ(TurnFromDay(turns, 3, 2147483647), 4);
  turns.fill(60);  // two impulses a day: the first of them
  EXPECT_EQ(TurnFromDay(turns, 5, 3), 4);
  EXPECT_EQ(TurnFromDay(turns, 13, 1), 1);  // no such month: one impulse
}

}  // namespace
