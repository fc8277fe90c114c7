// A land move, its captures and its undo on the fixture scenario loaded as
// a game.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "rules/land_move.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "world/cities.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

namespace {

class FixtureTurn : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR"; }
  void TearDown() override {
    g_pWorld = nullptr;
    LandUnitConstants() = sLandUnitConstants{};
  }
  twtest::TempDir dir_;
};

TEST_F(FixtureTurn, MoveTakesStraitportAndUndoGivesEverythingBack) {
  const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
  twtest::ScopedWorkingFolder folder(dir_.Path());
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  LoadWorld(settings);
  const std::unique_ptr<cWorld> world(g_pWorld);
  ASSERT_NE(world, nullptr);
  cMap& map = world->GetMap();
  cJednostkaLadowa* tanks = nullptr;
  for (cJednostkaLadowa* unit : world->Units().landUnits) {
    if (unit->name == L"2nd Armoured") tanks = unit;
  }
  ASSERT_NE(tanks, nullptr);
  // Westland's armour stands at the land bridge, fresh for the impulse.
  map.GetHex(tanks->x, tanks->y).unit = nullptr;
  tanks->x = 8;
  tanks->y = 9;
  map.GetHex(8, 9).unit = tanks;
  tanks->actionPoints = tanks->startingActionPoints = 8;
  tanks->freezeTime = 0;
  tanks->ComputeMoveRange(false);

  std::vector<int> controllers;
  for (const sHex& hex : map.Hexes()) controllers.push_back(hex.controller);
  const int westland = world->CountCountryVictoryPoints(1);
  const int eastmark = world->CountCountryVictoryPoints(2);
  ASSERT_EQ(map.GetHex(11, 6).controller, 2);
  ASSERT_NE(map.GetHex(11, 6).city, nullptr);
  const int port = world->GetSeaGraph().FindNodeIdByMainHex(11, 6);
  ASSERT_GT(port, 0);

  ASSERT_EQ(OrderLandMove(*world, *tanks, 11, 6, true), eLandMoveRefusal::kNone);
  int cost = 0;
  for (const sPathStep& step : world->turnState.move.path) cost += step.cost;
  while (StepLandMove(*world)) {
  }
  EXPECT_EQ(tanks->x, 11);
  EXPECT_EQ(tanks->y, 6);
  EXPECT_EQ(tanks->actionPoints, 8 - cost);
  EXPECT_EQ(map.GetHex(11, 6).controller, 1);
  EXPECT_EQ(world->CountCountryVictoryPoints(1), westland + map.GetHex(11, 6).city->victoryPoints);
  EXPECT_EQ(world->CountCountryVictoryPoints(2), eastmark - map.GetHex(11, 6).city->victoryPoints);
  for (const cFleet* fleet : world->Units().fleets) EXPECT_NE(fleet->seaNode, port) << "the port is left";
  const std::vector<sChangedHex> changed = world->turnState.undo.changedHexes;
  ASSERT_GE(changed.size(), 2u) << "the port hex and hexes on the way";
  for (const sChangedHex& c : changed) {
    EXPECT_EQ(c.previousController, controllers[static_cast<std::size_t>(c.y * map.GetWidth() + c.x)]);
    EXPECT_EQ(map.GetHex(c.x, c.y).controller, 1);
  }

  ASSERT_EQ(UndoLandMove(*world, tanks), eUndoRefusal::kNone);
  std::vector<int> after;
  for (const sHex& hex : map.Hexes()) after.push_back(hex.controller);
  EXPECT_EQ(after, controllers);
  EXPECT_EQ(world->CountCountryVictoryPoints(1), westland);
  EXPECT_EQ(world->CountCountryVictoryPoints(2), eastmark);
  EXPECT_EQ(tanks->x, 8);
  EXPECT_EQ(tanks->y, 9);
  EXPECT_EQ(tanks->actionPoints, 8);
  EXPECT_EQ(map.GetHex(8, 9).unit, tanks);
  EXPECT_EQ(map.GetHex(11, 6).unit, nullptr);
}

}  // namespace
