// Saving a game: the transaction (a failed write keeps the previous save
// byte for byte), the "Info.ini" header written and read back, save names,
// the play-by-e-mail folder and the date's impulse restored from the day.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/ini_file.h"
#include "files/info_ini_file.h"
#include "files/save_game.h"
#include "files_fixture.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/calendar.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

using filestest::ReadFolder;

// True when the save folder holds Game1 and nothing else (no temporary or
// backup folder).
bool OnlyGame1() {
  const auto saves = ReadFolder("data/save");
  return saves.size() == 1 && saves.count("Game1") == 1;
}

// Hook that makes one file of the save unwritable by putting a folder in
// its place.
struct ScopedBlockFile {
  explicit ScopedBlockFile(std::wstring file)
      : previous(SetSaveStepHook([file](eSaveStage stage, const std::wstring& name, const std::wstring& folder) {
          if (stage == eSaveStage::kWriteFile && name == file) {
            fs::create_directories(plat::TranslatePath(plat::NarrowBytes(folder + L"\\" + name)));
          }
          return 0;
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
  // The files of a save are counted and compared by the world loader's
  // round trip; here the header.
  EXPECT_TRUE(OnlyGame1());

  cIniFile ini;
  ini.Load(L"data\\save\\Game1\\Info.ini");
  ASSERT_TRUE(ini.IsLoaded());
  // The scenario's own keys travel with the save, unchanged (the world's
  // unit size is 2).
  const std::pair<const char*, const wchar_t*> keys[] = {
      {"Save/Turn", L"7"},          {"Save/Impulse", L"11"},           {"Save/GameDay", L"16"},
      {"Save/GameMonth", L"9"},     {"Save/ScenarioName", L"Alpha"},   {"Save/GameVersion", L"1.01"},
      {"Map/SmallUnitsSize", L"4"}, {"Scenario/Description", L"Autumn war"}};
  for (const auto& [key, value] : keys) EXPECT_EQ(ini.GetString(key, L""), value) << key;
}

TEST_F(SaveGameTest, InterruptedSaveKeepsThePreviousSaveByteForByte) {
  ASSERT_TRUE(SaveGame(world, L"Game1", false).ok);
  const auto before = ReadFolder("data/save/Game1");
  ASSERT_GE(before.size(), 10u);

  world.GetDate().month = 11;
  world.GetDate().turn = 1;
  twtest::LogCapture log;
  auto block = std::make_unique<ScopedBlockFile>(L"countries.csv");  // after half of the files
  const sSaveResult result = SaveGame(world, L"Game1", false);
  block.reset();
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find(L"countries.csv"), std::wstring::npos);
  // The writer's own lines stay; the process was not ended.
  EXPECT_TRUE(log.Contains(L"Error opening file for writing"));
  EXPECT_EQ(ReadFolder("data/save/Game1"), before);
  EXPECT_TRUE(OnlyGame1());

  // Without the fault the same save replaces the old one.
  ASSERT_TRUE(SaveGame(world, L"Game1", false).ok);
  EXPECT_EQ(LoadInfoHeader(L"data\\save\\Game1\\%s").gameMonth, 11);
  EXPECT_TRUE(OnlyGame1());
}

TEST_F(SaveGameTest, NamesAreTrimmedCutAndKeptInsideTheSaveFolder) {
  EXPECT_EQ(CleanSaveName(L" \t name one \r\n"), L"name one");
  const std::wstring longName(70, L'x');
  const std::wstring cut = CleanSaveName(L"  " + longName);
  EXPECT_EQ(cut.size(), kMaxSaveNameLength);

  ASSERT_TRUE(SaveGame(world, L"  " + longName + L"  ", false).ok);
  EXPECT_TRUE(fs::is_directory("data/save/" + std::string(kMaxSaveNameLength, 'x')));
  // The existence test sees the save under the name as typed.
  EXPECT_TRUE(SaveFolderExists(L" " + longName));
  EXPECT_FALSE(SaveFolderExists(L"other"));

  for (const wchar_t* bad : {L"   ", L"..", L".", L"a/b", L"..\\up", L"a..b", L"c:x", L"100%s%n"}) {
    EXPECT_FALSE(SaveGame(world, bad, false).ok) << plat::NarrowBytes(bad);
  }
  EXPECT_FALSE(fs::exists("data/up"));
  EXPECT_FALSE(fs::exists("data/save/a"));
  EXPECT_FALSE(fs::exists("data/save/100%s%n"));
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
