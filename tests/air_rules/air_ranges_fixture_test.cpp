// Air ranges, rebase hexes and the rebase order on the fixture scenario
// loaded as a game.
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>

#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "rules/air_orders.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "world/country.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/world.h"

namespace {

class AirFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR"; }
  void TearDown() override {
    g_pWorld = nullptr;
    LandUnitConstants() = sLandUnitConstants{};
  }
  cJednostkaLotnicza* Find(cWorld& world, const wchar_t* name) {
    for (cJednostkaLotnicza* unit : world.Units().airUnits) {
      if (unit->name == name) return unit;
    }
    for (cJednostka* unit : world.Units().reservePool) {
      if (unit->name == name) return dynamic_cast<cJednostkaLotnicza*>(unit);
    }
    return nullptr;
  }
  twtest::TempDir dir_;
};

TEST_F(AirFixture, RangesRebaseHexesAndTheRebaseOrder) {
  const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
  twtest::ScopedWorkingFolder folder(dir_.Path());
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  LoadWorld(settings);
  const std::unique_ptr<cWorld> world(g_pWorld);
  ASSERT_NE(world, nullptr);
  sScenarioConstants& k = world->constants;
  k.airRangeBase = {2, 4, 3, 3, 5};
  k.aircraftRangeFactors = {1.0f, 1.5f, 2.0f, 2.5f, 3.0f};
  k.airRebaseValues = {40, 40, 80};
  cCountry& westland = *world->GetCountry(1);
  westland.techLevel[kTechAircraft] = 2;
  world->turnState.SetCurrentCountry(&westland);

  cJednostkaLotnicza* fighter = Find(*world, L"Westland Fighters");
  ASSERT_NE(fighter, nullptr);
  ASSERT_EQ(fighter->x, 5);
  ASSERT_EQ(fighter->y, 6);
  // The scenario's action points by type (6, 5, 4 in the fixture); none
  // without supply.
  fighter->ResetActionPoints();
  EXPECT_EQ(fighter->actionPoints, k.airActionPoints[0]);
  EXPECT_EQ(fighter->startingActionPoints, fighter->actionPoints);
  EXPECT_FLOAT_EQ(fighter->GetBaseStrength(), static_cast<float>(k.airBaseStrength[0]));
  EXPECT_EQ(fighter->GetStrength(), 10);

  // Level 2: x 1.5, truncated.
  EXPECT_EQ(fighter->GetRange(*world), 3);
  EXPECT_EQ(fighter->GetRebaseRange(*world), 4);
  // The table is bounded: level 0 reads level 1, level 9 reads level 5.
  westland.techLevel[kTechAircraft] = 0;
  EXPECT_EQ(fighter->GetRange(*world), 2);
  westland.techLevel[kTechAircraft] = 9;
  EXPECT_EQ(fighter->GetRange(*world), 6);
  westland.techLevel[kTechAircraft] = 2;

  // The rebase hexes, counted from the rules themselves; one free hex in
  // range goes to Eastmark first.
  cMap& map = world->GetMap();
  for (sHex& hex : map.Hexes()) {
    if (hex.IsLand() && !hex.unit && hex.controller == 1 && HexDistance(5, 6, hex.x, hex.y) == 2) {
      hex.controller = 2;
      break;
    }
  }
  int expected = 0;
  for (const sHex& hex : map.Hexes()) {
    if (hex.IsLand() && !hex.unit && HexDistance(5, 6, hex.x, hex.y) <= 4 &&
        IsHexControllerFriendly(*world, hex, 1)) {
      ++expected;
    }
  }
  ASSERT_GT(expected, 0);
  EXPECT_EQ(fighter->CountRebaseHexes(*world, false), expected);
  EXPECT_EQ(fighter->ComputeMoveRange(false), expected);
  int marked = 0;
  for (const sHex& hex : map.Hexes()) {
    const bool rebase = (hex.markBits & 128u) != 0;
    const bool dimmed = (hex.markBits & (1u << 24)) != 0;
    EXPECT_NE(rebase, dimmed) << hex.x << "," << hex.y;
    if (rebase) ++marked;
  }
  EXPECT_EQ(marked, expected);

  // Refusals: water, an occupied hex, an enemy hex, beyond the range.
  int water = -1, occupied = -1, enemy = -1, target = -1, farX = -1;
  for (const sHex& hex : map.Hexes()) {
    const int d = HexDistance(5, 6, hex.x, hex.y);
    if (d == 0) continue;
    if (d <= 4 && hex.IsWater() && water < 0) water = hex.y * map.GetWidth() + hex.x;
    if (d <= 4 && hex.IsLand() && hex.unit && occupied < 0) occupied = hex.y * map.GetWidth() + hex.x;
    if (d <= 4 && hex.IsLand() && !hex.unit && hex.controller == 2 && enemy < 0) {
      enemy = hex.y * map.GetWidth() + hex.x;
    }
    if (d <= 4 && hex.IsLand() && !hex.unit && hex.controller == 1 && target < 0) {
      target = hex.y * map.GetWidth() + hex.x;
    }
    if (d > 4 && hex.IsLand() && !hex.unit && hex.controller == 1 && farX < 0) farX = hex.y * map.GetWidth() + hex.x;
  }
  const int w = map.GetWidth();
  ASSERT_GE(water, 0);
  ASSERT_GE(occupied, 0);
  ASSERT_GE(enemy, 0);
  EXPECT_EQ(CheckRebase(*world, *fighter, water % w, water / w), eAirOrderRefusal::kTargetNotFriendly);
  EXPECT_EQ(CheckRebase(*world, *fighter, occupied % w, occupied / w), eAirOrderRefusal::kTargetNotFree);
  EXPECT_EQ(CheckRebase(*world, *fighter, enemy % w, enemy / w), eAirOrderRefusal::kTargetNotFriendly);
  ASSERT_GE(farX, 0);
  EXPECT_EQ(CheckRebase(*world, *fighter, farX % w, farX / w), eAirOrderRefusal::kOutOfRange);
  // Too little supply.
  const int supply = fighter->supply;
  fighter->supply = 19;
  ASSERT_GE(target, 0);
  EXPECT_EQ(CheckRebase(*world, *fighter, target % w, target / w), eAirOrderRefusal::kSupplyTooLow);
  EXPECT_EQ(fighter->CountRebaseHexes(*world, false), 0);
  fighter->supply = supply;

  // The order.
  ASSERT_EQ(Rebase(*world, *fighter, target % w, target / w), eAirOrderRefusal::kNone);
  EXPECT_EQ(map.GetHex(5, 6).unit, nullptr);
  EXPECT_EQ(map.GetHex(target % w, target / w).unit, fighter);
  EXPECT_EQ(fighter->x, target % w);
  EXPECT_EQ(fighter->actionPoints, 0);
  // A unit that has acted rebases nowhere, and its selection leaves the map
  // as it is: no dimmed map without a hex to click.
  EXPECT_EQ(fighter->CountRebaseHexes(*world, false), 0);
  map.ClearHexMarks(~0u, true);
  EXPECT_EQ(fighter->ComputeMoveRange(false), 0);
  EXPECT_TRUE(std::none_of(map.Hexes().begin(), map.Hexes().end(), [](const sHex& hex) { return hex.markBits != 0; }));
  EXPECT_EQ(CheckRebase(*world, *fighter, 5, 6), eAirOrderRefusal::kNotFullActionPoints);

  // A unit in the reserve pool takes no order; another country's neither.
  cJednostkaLotnicza* reserve = Find(*world, L"Eastmark Bombers");
  ASSERT_NE(reserve, nullptr);
  EXPECT_EQ(CheckRebase(*world, *reserve, 5, 6), eAirOrderRefusal::kNotOnMap);
  // Supply 0: no action points at the next impulse.
  fighter->supply = 0;
  fighter->ResetActionPoints();
  EXPECT_EQ(fighter->actionPoints, 0);
}

}  // namespace
