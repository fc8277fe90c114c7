// A saved game comes back as the player left it: the fixture's game saved
// on its first turn and a few impulses in, then loaded, shows the same date,
// turn and turns left on the date line; a save without the keys that carry
// them loads as it always did.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/ini_file.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "platform/message_box.h"
#include "platform/recording_renderer.h"
#include "rules/world_turn.h"
#include "screens/minimap_panel.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "world/world.h"

namespace {

// What the player sees of the game's time.
struct sShownTime {
  int turn = 0;
  int turnsLeft = 0;
  int impulseInMonth = 0;
  int month = 0;
  int year = 0;
  std::wstring dateLine;
  bool operator==(const sShownTime&) const = default;
};

std::ostream& operator<<(std::ostream& out, const sShownTime& t) {
  return out << "turn " << t.turn << ", left " << t.turnsLeft << ", impulse " << t.impulseInMonth << " of "
             << t.month << "/" << t.year << ", line " << std::string(t.dateLine.begin(), t.dateLine.end());
}

sShownTime ShownTime(cWorld& world) {
  return {world.turnNumber,      world.turnsLeft, world.GetDate().turn, world.GetDate().month,
          world.GetDate().year, cMinimapPanel::DateLine(world)};
}

struct SaveRoundTrip : ::testing::Test {
  SaveRoundTrip() {
    plat::SetMessageBoxHandler([](std::wstring_view, std::wstring_view) {});
    start_ = twtest::CopyFixtureScenario(dir_.Path());
  }
  ~SaveRoundTrip() override {
    delete g_pWorld;
    g_pWorld = nullptr;
    plat::SetMessageBoxHandler({});
  }
  // Starts the fixture as a new game, with the loading's end of an impulse.
  cWorld& StartFixture() {
    sWorldLoadHooks hooks;
    hooks.endImpulse = [](cWorld& world) { EndImpulse(world, false); };
    LoadWorld(start_, hooks);
    EXPECT_NE(g_pWorld, nullptr);
    return *g_pWorld;
  }
  // Saves the running game under name and loads the save in its place.
  cWorld& SaveAndLoad(const std::wstring& name) {
    EXPECT_TRUE(SaveGame(*g_pWorld, name, false).ok);
    LoadWorld(sGameStartSettings{L"data\\save\\" + name + L"\\%s", 1});
    EXPECT_NE(g_pWorld, nullptr);
    return *g_pWorld;
  }

  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  sGameStartSettings start_;
};

TEST_F(SaveRoundTrip, LoadedSaveShowsTheSameDateTurnAndTurnsLeftOnTheFirstTurnAndLater) {
  cWorld& world = StartFixture();
  const sShownTime firstTurn = ShownTime(world);
  // The loading's pass leaves the game date at the scenario's start: the
  // first turn is its first impulse and shows its start day.
  ASSERT_EQ(firstTurn.turn, 1);
  ASSERT_EQ(world.startDay, 1);
  ASSERT_EQ(firstTurn.impulseInMonth, 1);
  // The date line's last turn is the length the scenario list shows (the
  // fixture's header: Turns=40): the loading's pass takes no turn.
  EXPECT_EQ(firstTurn.turn + firstTurn.turnsLeft, 40);
  EXPECT_EQ(ShownTime(SaveAndLoad(L"First")), firstTurn);
  // A second round trip keeps it too.
  EXPECT_EQ(ShownTime(SaveAndLoad(L"FirstAgain")), firstTurn);

  for (int i = 0; i < 3; ++i) EndImpulse(*g_pWorld, true);
  ASSERT_FALSE(g_pWorld->gameOver);
  const sShownTime later = ShownTime(*g_pWorld);
  EXPECT_EQ(later.turn, 4);
  EXPECT_EQ(later.turn + later.turnsLeft, firstTurn.turn + firstTurn.turnsLeft);
  EXPECT_EQ(ShownTime(SaveAndLoad(L"Later")), later);
}

TEST_F(SaveRoundTrip, SaveWithoutTheShownDateAndTurnsLeftLoadsFromTheScenarioDurationAndTheGameDay) {
  StartFixture();
  // A game one impulse on, so that its game day is not the start day.
  EndImpulse(*g_pWorld, true);
  ASSERT_FALSE(g_pWorld->gameOver);
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Old", false).ok);
  // An older save: its header has neither the turns left nor a displayed
  // date other than the game day.
  cIniFile ini;
  ini.Load(L"data\\save\\Old\\Info.ini");
  ASSERT_TRUE(ini.IsLoaded());
  const int gameDay = ini.GetInt("Save/GameDay", 0);
  const int duration = ini.GetInt("Duration/Turns", 0);
  ASSERT_GT(gameDay, 1);
  ini.SetInt("Save/GameDayDisplayed", gameDay);
  ini.Save();
  std::string text;
  {
    std::ifstream in("data/save/Old/Info.ini", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
  }
  const std::size_t at = text.find("TurnsLeft");
  ASSERT_NE(at, std::string::npos) << text;
  text.erase(at, text.find('\n', at) + 1 - at);
  std::ofstream("data/save/Old/Info.ini", std::ios::binary) << text;

  LoadWorld(sGameStartSettings{L"data\\save\\Old\\%s", 1});
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_EQ(g_pWorld->turnsLeft, duration - g_pWorld->turnNumber);
  EXPECT_EQ(g_pWorld->startDay, gameDay);
}

}  // namespace
