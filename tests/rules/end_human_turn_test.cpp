// The end of a human turn: the hand-over to the computer phase, to the next
// human on this machine and to another play-by-e-mail player, the fatal end
// without a dummy country, the autosave's transaction, the paradrop counters
// and the occupancy check.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "app/string_base.h"
#include "files/pbem_repository.h"
#include "files/save_game.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "rules/end_human_turn.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/game_phase.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"
#include "world/world_view.h"

namespace fs = std::filesystem;

namespace {

// Notes what the end of a turn asks of the screen.
struct RecordingView : cWorldView {
  explicit RecordingView(cWorld& world) : world(world) {}
  void RefreshCounters() override {}
  void ShowStatusText(std::wstring_view) override {}
  void RefreshSelection() override {}
  void RefreshDateLine() override {}
  void RefreshMinimapOwnership() override { ++minimapRepaints; }
  void EnterComputerPhase() override {
    calls.push_back("enter");
    world.SetGameState(kPhaseComputerPlayers);
  }
  void LeaveComputerPhase() override {
    calls.push_back("leave");
    world.SetGameState(kPhaseHumanTurn);
  }
  void FollowHex(int, int) override { calls.push_back("follow"); }
  void GlideToCountryView(const cCountry& country) override { calls.push_back("glide " + std::to_string(country.id)); }
  void GreetHumanTurn(int countryId) override { calls.push_back("greet " + std::to_string(countryId)); }
  void ShowMessage(std::wstring_view text, std::wstring_view title) override {
    calls.push_back("message");
    message = text;
    messageTitle = title;
  }
  cWorld& world;
  std::vector<std::string> calls;
  int minimapRepaints = 0;
  std::wstring message, messageTitle;
};

// Gives the hand-over message a text with its four places (game, player,
// address, country), through a language file of one record.
void LoadPbemMessageText() {
  const std::string key = "pbem_turn_end_message";
  const std::u16string text = u"%s: %s <%s> plays %s";
  std::string bytes(1, '\0');
  const std::uint64_t count = 1;
  for (int i = 0; i < 8; ++i) bytes += static_cast<char>((count >> (8 * i)) & 0xFF);
  bytes += static_cast<char>(key.size());
  bytes += key;
  bytes += static_cast<char>(text.size() & 0xFF);
  bytes += static_cast<char>(text.size() >> 8);
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  std::ofstream("lang_PBEM.db", std::ios::binary) << bytes;
  g_StringBase.Load("lang_PBEM.db", true);
}

// Every file of a folder with its bytes.
std::map<std::string, std::string> ReadFolder(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = twtest::ReadFile(entry.path().string());
  }
  return files;
}

struct EndHumanTurnTest : ::testing::Test {
  EndHumanTurnTest() {
    g_pWorld = &world;
    cMap& map = world.GetMap();
    map.SetWidth(6);
    map.SetHeight(4);
    map.CreateHexes();
    for (sHex& hex : map.Hexes()) hex.terrain = 1;
    world.scenarioName = L"Alpha";
    fs::create_directories("data/scenarios/Alpha");
    std::ofstream("data/scenarios/Alpha/Info.ini", std::ios::binary) << "[Scenario]\r\nDescription=Test\r\n";
    auto view = std::make_unique<RecordingView>(world);
    recorded = view.get();
    world.SetView(std::move(view));
  }
  ~EndHumanTurnTest() override {
    world.SetView(nullptr);
    for (sHex& hex : world.GetMap().Hexes()) hex.unit = nullptr;
    for (cJednostkaLadowa* unit : world.Units().landUnits) delete unit;
    world.Units().landUnits.clear();
    g_pWorld = nullptr;
  }
  cCountry& Country(const wchar_t* name, int alliance, int strength, bool human, int player = 0) {
    cCountry& country = twtest::AddCountry(world, alliance, name);
    country.active = true;
    country.politicalStrength = strength;
    country.human = human;
    country.pbemPlayerId = player;
    world.GetRelations().Reset(world.GetCountryCount());
    return country;
  }
  cJednostkaLadowa& Unit(int countryId, int x, int y, int points, int startPoints) {
    auto* unit = new cJednostkaLadowa(&world);
    unit->countryId = countryId;
    unit->x = x;
    unit->y = y;
    unit->actionPoints = points;
    unit->startingActionPoints = startPoints;
    world.Units().landUnits.push_back(unit);
    if (world.GetMap().IsInside(x, y)) world.GetMap().GetHex(x, y).unit = unit;
    return *unit;
  }

  twtest::TempWorkingFolder dir;
  cWorld world;
  RecordingView* recorded = nullptr;
};

TEST_F(EndHumanTurnTest, ComputerCountryNextHandsOverToTheComputerPhaseAfterTheAutosave) {
  cCountry& west = Country(L"West", 4, 60, true);
  cCountry& neutral = Country(L"Neutral", 0, 20, false);
  Country(L"Dummy", 0, -1, false);
  world.turnState.SetCurrentCountry(&west);
  world.SetGameState(kPhaseHumanTurn);
  world.turnState.mode = 7;
  world.turnState.SetAttack(nullptr, 1, 1);

  EXPECT_EQ(EndHumanTurn(world), eTurnHandOver::kComputerPhase);
  EXPECT_TRUE(west.finishedTurn);
  EXPECT_EQ(world.turnState.currentCountry, &neutral);
  EXPECT_EQ(world.turnState.viewCountry, &west);
  EXPECT_EQ(world.GetGameState(), kPhaseComputerPlayers);
  EXPECT_EQ(world.turnState.mode, 0);
  EXPECT_EQ(world.turnState.attack, nullptr);
  EXPECT_EQ(recorded->calls, std::vector<std::string>{"enter"});
  // The land the turn took shows on the minimap's ownership layer.
  EXPECT_EQ(recorded->minimapRepaints, 1);
  EXPECT_TRUE(fs::is_regular_file("data/save/autosave/Info.ini"));
  EXPECT_TRUE(fs::is_regular_file("data/save/autosave/countries.csv"));
}

TEST_F(EndHumanTurnTest, LastHumanWithOnlyTheDummyLeftHandsOverToTheComputerPhase) {
  cCountry& west = Country(L"West", 4, 60, true);
  cCountry& dummy = Country(L"Dummy", 0, -1, false);
  world.turnState.SetCurrentCountry(&west);
  EXPECT_EQ(EndHumanTurn(world), eTurnHandOver::kComputerPhase);
  EXPECT_EQ(world.turnState.currentCountry, &dummy);
  EXPECT_EQ(world.GetGameState(), kPhaseComputerPlayers);
}

TEST_F(EndHumanTurnTest, NextHumanOnThisMachineGetsThePanelsBackAndTheGreeting) {
  cCountry& axis = Country(L"Axis", 5, 70, true);
  cCountry& allies = Country(L"Allies", 4, 60, true);
  Country(L"Dummy", 0, -1, false);
  world.turnState.SetCurrentCountry(&axis);
  world.SetGameState(kPhaseHumanTurn);

  EXPECT_EQ(EndHumanTurn(world), eTurnHandOver::kNextHuman);
  EXPECT_EQ(world.turnState.currentCountry, &allies);
  EXPECT_EQ(world.GetGameState(), kPhaseHumanTurn);
  // The panels come back last, with phase 7.
  EXPECT_EQ(recorded->calls, (std::vector<std::string>{"glide 2", "greet 2", "leave"}));
  // The ending country's view of the map is kept for its next turn.
  float x = 0, y = 0, zoom = -1;
  axis.GetMapView(x, y, zoom);
  EXPECT_GE(zoom, 0.0f);
}

TEST_F(EndHumanTurnTest, PlayByEmailHandOverSavesForTheNextPlayerAndStopsHere) {
  fs::create_directories("data/pbem");
  SetPbemRepositoryPath(L"data\\pbem\\repo.dat");
  world.playByEmail = true;
  world.playByEmailGameName = L"Duel";
  world.pbemPlayers = {{1, L"Anna", L"anna@example.org"}, {2, L"Bert", L"bert@example.org"}};
  cCountry& axis = Country(L"Axis", 5, 70, true, 1);
  Country(L"Allies", 4, 60, true, 2);
  Country(L"Dummy", 0, -1, false);
  world.turnState.SetCurrentCountry(&axis);
  LoadPbemMessageText();

  EXPECT_EQ(EndHumanTurn(world), eTurnHandOver::kPbemHandOver);
  EXPECT_EQ(world.GetGameState(), kPhaseEndOfTurn);
  EXPECT_EQ(world.turnState.currentCountry, &axis);
  EXPECT_TRUE(fs::is_regular_file("data/pbem/Duel/Info.ini"));
  EXPECT_EQ(GetPbemRepositoryValue(L"Duel", [] { return 99u; }), 1u);
  ASSERT_EQ(recorded->calls, std::vector<std::string>{"message"});
  EXPECT_EQ(recorded->message, L"Duel: Bert <bert@example.org> plays Allies");
}

// A hand-over whose save fails records nothing as played (so the turn can
// be played again from the game's folder) and says so instead of whom to
// send the game to; a name typed with blanks is the folder's and the
// record's name without them.
TEST_F(EndHumanTurnTest, PlayByEmailHandOverWhoseSaveFailsRecordsNothingAndSaysSo) {
  fs::create_directories("data/pbem");
  SetPbemRepositoryPath(L"data\\pbem\\repo.dat");
  world.playByEmail = true;
  world.playByEmailGameName = L" Duel ";
  world.pbemPlayers = {{1, L"Anna", L"anna@example.org"}, {2, L"Bert", L"bert@example.org"}};
  cCountry& axis = Country(L"Axis", 5, 70, true, 1);
  cCountry& allies = Country(L"Allies", 4, 60, true, 2);
  Country(L"Dummy", 0, -1, false);
  world.turnState.SetCurrentCountry(&axis);
  LoadPbemMessageText();

  SaveStepHook previous = SetSaveStepHook([](eSaveStage stage, const std::wstring& file, const std::wstring& folder) {
    return stage == eSaveStage::kWriteFile && file == L"countries.csv" && folder.find(L"pbem") != std::wstring::npos
               ? EIO
               : 0;
  });
  EXPECT_EQ(EndHumanTurn(world), eTurnHandOver::kPbemHandOver);
  SetSaveStepHook(std::move(previous));
  EXPECT_FALSE(fs::exists("data/pbem/Duel"));
  EXPECT_FALSE(fs::exists("data/pbem/repo.dat") && fs::file_size("data/pbem/repo.dat") > 0);
  ASSERT_EQ(recorded->calls, std::vector<std::string>{"message"});
  EXPECT_EQ(recorded->message.rfind(L"pbem_save_failed_", 0), 0u) << plat::NarrowBytes(recorded->message);

  // The same hand-over that saves: the folder and the record under "Duel".
  recorded->calls.clear();
  axis.finishedTurn = false;
  allies.finishedTurn = false;
  world.turnState.SetCurrentCountry(&axis);
  EXPECT_EQ(EndHumanTurn(world), eTurnHandOver::kPbemHandOver);
  EXPECT_TRUE(fs::is_regular_file("data/pbem/Duel/Info.ini"));
  EXPECT_EQ(GetPbemRepositoryValue(L"Duel", [] { return 99u; }), 1u);
  EXPECT_EQ(recorded->message, L"Duel: Bert <bert@example.org> plays Allies");
}

TEST_F(EndHumanTurnTest, PlayByEmailCountryNamingAMissingPlayerIsLoggedNotReadPastTheList) {
  fs::create_directories("data/pbem");
  SetPbemRepositoryPath(L"data\\pbem\\repo.dat");
  world.playByEmail = true;
  world.playByEmailGameName = L"Duel";
  world.pbemPlayers = {{1, L"Anna", L"anna@example.org"}};
  cCountry& axis = Country(L"Axis", 5, 70, true, 1);
  Country(L"Allies", 4, 60, true, 5);
  Country(L"Dummy", 0, -1, false);
  world.turnState.SetCurrentCountry(&axis);
  LoadPbemMessageText();
  twtest::LogCapture log;

  EXPECT_EQ(EndHumanTurn(world), eTurnHandOver::kPbemHandOver);
  EXPECT_TRUE(log.Contains(L"Play-by-e-mail player 5 is not among the game's 1 players"));
  ASSERT_EQ(recorded->calls, std::vector<std::string>{"message"});
  EXPECT_EQ(recorded->message, L"Duel: ? <?> plays Allies");
}

TEST_F(EndHumanTurnTest, PlayByEmailCountriesOfOnePlayerContinueOnThisMachine) {
  world.playByEmail = true;
  world.playByEmailGameName = L"Solo";
  world.pbemPlayers = {{1, L"Anna", L"anna@example.org"}};
  cCountry& axis = Country(L"Axis", 5, 70, true, 1);
  Country(L"Allies", 4, 60, true, 1);
  Country(L"Dummy", 0, -1, false);
  world.turnState.SetCurrentCountry(&axis);
  EXPECT_EQ(EndHumanTurn(world), eTurnHandOver::kNextHuman);
  EXPECT_FALSE(fs::exists("data/pbem/Solo"));
}

TEST_F(EndHumanTurnTest, NoCountryLeftWithoutADummyEndsTheProgram) {
  cCountry& west = Country(L"West", 4, 60, true);
  world.turnState.SetCurrentCountry(&west);
  twtest::LogCapture log;
  cScopedThrowingFatalHook fatal;
  EXPECT_THROW(EndHumanTurn(world), sFatalExitError);
  EXPECT_TRUE(log.Contains(L"error:_end_of_turn_from_main_thread._no_dummy_country?"));
}

TEST_F(EndHumanTurnTest, UnitsThatDidNotMovePrepareOneMoreTurnForADrop) {
  cCountry& west = Country(L"West", 4, 60, true);
  Country(L"East", 5, 70, false);
  Country(L"Dummy", 0, -1, false);
  cJednostkaLadowa& rested = Unit(1, 0, 0, 4, 4);
  rested.turnsSinceParadrop = 2;
  cJednostkaLadowa& moved = Unit(1, 1, 0, 1, 4);
  moved.turnsSinceParadrop = 5;
  cJednostkaLadowa& enemy = Unit(2, 2, 0, 4, 4);
  enemy.turnsSinceParadrop = 7;
  world.turnState.SetCurrentCountry(&west);
  EndHumanTurn(world);
  EXPECT_EQ(rested.turnsSinceParadrop, 3);
  EXPECT_EQ(moved.turnsSinceParadrop, 0);
  EXPECT_EQ(enemy.turnsSinceParadrop, 7);
}

TEST_F(EndHumanTurnTest, FailedAutosaveKeepsThePreviousAutosaveWhole) {
  Country(L"West", 4, 60, true);
  ASSERT_TRUE(Autosave(world));
  const auto before = ReadFolder("data/save/autosave");
  ASSERT_GE(before.size(), 10u);

  world.GetDate().month = 11;
  // A write, a flush, the marker or the swap fails: the autosave before it
  // stays as it was, and the failure is logged, not fatal.
  for (eSaveStage failing : {eSaveStage::kWriteFile, eSaveStage::kFlushFile, eSaveStage::kWriteMarker,
                             eSaveStage::kExchange}) {
    twtest::LogCapture log;
    const SaveStepHook previous =
        SetSaveStepHook([failing](eSaveStage stage, const std::wstring&, const std::wstring&) {
          return stage == failing ? EIO : 0;
        });
    const bool saved = Autosave(world);
    SetSaveStepHook(previous);
    EXPECT_FALSE(saved) << static_cast<int>(failing);
    EXPECT_EQ(ReadFolder("data/save/autosave"), before) << static_cast<int>(failing);
    bool reported = false;
    for (const std::wstring& line : log.Lines()) reported = reported || line.rfind(L"Autosave failed: ", 0) == 0;
    EXPECT_TRUE(reported) << static_cast<int>(failing);
  }
  // Without a fault the next autosave replaces it.
  ASSERT_TRUE(Autosave(world));
  EXPECT_NE(ReadFolder("data/save/autosave"), before);
}

TEST_F(EndHumanTurnTest, OccupancyCheckReportsUnitsOnWaterAndMisplacedUnitsAndChangesNothing) {
  Country(L"West", 4, 60, true);
  world.GetMap().GetHex(0, 0).terrain = 0;
  Unit(1, 0, 0, 4, 4);
  cJednostkaLadowa& misplaced = Unit(1, 3, 2, 4, 4);
  misplaced.name = L"Lost Brigade";
  misplaced.x = 5;  // its hex (3, 2) still records it
  Unit(1, 4, 3, 4, 4);
  std::vector<std::wstring> boxes;
  plat::SetMessageBoxHandler([&boxes](std::wstring_view caption, std::wstring_view) { boxes.emplace_back(caption); });
  twtest::LogCapture log;
  EXPECT_EQ(CheckHexOccupancy(world), 2);
  plat::SetMessageBoxHandler(nullptr);
  EXPECT_TRUE(log.Contains(L"DBGINF: sea hex (0, 0) is occupied by unit"));
  EXPECT_TRUE(log.Contains(
      L"DBGINF: hex (3, 2) is occupied by unit Lost Brigade owned by West which location field is different: (5, 2)"));
  EXPECT_EQ(boxes, (std::vector<std::wstring>{L"DBG WARNING", L"DBG WARNING"}));
  EXPECT_EQ(world.GetMap().GetHex(3, 2).unit, &misplaced);
}

}  // namespace
