// The land unit's constants taken from a scenario's "consts.csv": every
// value lands where the land unit reads it (checked through the unit's own
// operations), and a loaded fixture scenario moves and resets its units by
// its file.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "files/consts_file.h"
#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "units/land_fixture.h"

namespace {

using twtest::LandWorld;

// The fixture's constants with distinct values at the land unit's lines, read
// back through the file so the derived supply tables are built as in a game.
sScenarioConstants DistinctLandConstants(const twtest::TempDir& dir) {
  sScenarioConstants c;
  LoadScenarioConstantsFile(c, plat::WidenAnsi((twtest::FixtureScenarioSource() / "consts.csv").string()));
  for (int doctrine = 0; doctrine < 6; ++doctrine) {
    for (int type = 0; type < 7; ++type) c.SetValue(2 + doctrine, 2 + type, 10 * doctrine + type + 1);
  }
  for (int level = 1; level <= 5; ++level) {
    for (int type = 0; type < 7; ++type) c.SetValue(8 + level, 2 + type, level + type / 10.0);
  }
  // Movement pays row 0 (line 15); the supply row (16) and row 2 differ.
  for (int col = 2; col <= 9; ++col) {
    c.SetValue(15, col, col - 1);
    c.SetValue(16, col, 50);
    c.SetValue(17, col, 60);
  }
  c.SetValue(15, 9, 9);   // water and every other terrain
  c.SetValue(15, 10, 4);  // zone-of-control extra
  c.SetValue(16, 10, 70);
  c.SetValue(18, 1, 50);
  for (int d = 0; d < 6; ++d) c.SetValue(34, 1 + d, d + 1);
  // Supply bands: band 1 covers 1-50, band 2 overwrites 1-5, the rest none.
  c.SetValue(49, 1, 30);
  for (int band = 0; band < 10; ++band) {
    c.SetValue(50, 2 + band, band == 0 ? 50 : band == 1 ? 5 : 0);
    c.SetValue(51, 2 + band, band == 1 ? 10 : 0);
    c.SetValue(52, 2 + band, band == 1 ? 40 : 0);
  }
  c.SetValue(134, 1, 7);
  c.SetValue(137, 1, 6);
  c.SetValue(139, 1, 25.5);
  c.SetValue(141, 1, 40);
  const std::string path = dir.Write("land_consts_distinct.csv", FormatConstsText(c));
  sScenarioConstants back;
  LoadScenarioConstantsFile(back, plat::WidenAnsi(path));
  return back;
}

class LandConstants : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR"; }
  void TearDown() override {
    g_pWorld = nullptr;
    LandUnitConstants() = sLandUnitConstants{};
  }
  twtest::TempDir dir_;
};

TEST_F(LandConstants, EveryLandValueComesFromItsLine) {
  LandWorld w({"ppppfrs", "ppppppp", "ppppppp"});
  w.AddCountries({kAllies, kAllies});
  ApplyScenarioConstants(DistinctLandConstants(dir_));
  w.Country(1).techLevel[kTechDoctrine] = 2;

  // Action points: doctrine 2 (line 4), armoured division (column 6); the
  // supply table of lines 50 and 52 takes 40 per cent at supply 3, and three
  // of six turns cut off halve what is left.
  // {supply, turns without supply, points}: 60 % of 25 at supply 3, half of
  // that cut off; entry 0 of the table is always 100.
  cJednostkaLadowa& tanks = w.AddUnit(0, 0, 1, kUnitArmouredDivision);
  const int points[][3] = {{20, 0, 25}, {3, 0, 15}, {3, 3, 7}, {0, 0, 0}};
  for (const auto& [supply, cutOff, expected] : points) {
    tanks.supply = supply;
    tanks.turnsWithoutSupply = cutOff;
    tanks.ResetActionPoints();
    EXPECT_EQ(tanks.actionPoints, expected) << supply << " " << cutOff;
  }

  // Effectiveness: 50 per cent per doctrine level (line 18) on the
  // cumulative supply effect (lines 49-51): 80 at supply 4, 60 at 2, 100
  // above 5 and 30 at 0.
  const int effectiveness[][2] = {{4, 160}, {2, 120}, {40, 200}, {0, 60}};
  for (const auto& [supply, expected] : effectiveness) {
    tanks.supply = supply;
    tanks.UpdateEffectiveness();
    EXPECT_EQ(tanks.effectiveness, expected) << "supply " << supply;
  }

  // Base strength: level 3 (line 11), infantry corps (column 3).
  cJednostkaLadowa& corps = w.AddUnit(1, 2, 1, kUnitInfantryCorps);
  corps.level = 3;
  EXPECT_FLOAT_EQ(corps.GetBaseStrength(), 3.1f);
  EXPECT_FLOAT_EQ(corps.GetCombatStrength(), 3.1f);

  // A new unit is ready to drop after the preparation turns (line 134).
  cJednostkaLadowa fresh(w.world.get());
  EXPECT_EQ(fresh.turnsSinceParadrop, 7);

  const sLandMoveRules& move = LandUnitConstants().move;
  EXPECT_FLOAT_EQ(move.winterFactor, 25.5f);
  EXPECT_FLOAT_EQ(move.mudFactor, 40.0f);
  EXPECT_EQ(move.fewPointsThreshold[2], 3);
}

TEST_F(LandConstants, MovementPaysTheFirstTerrainRowAndItsZoneOfControlCost) {
  // Row 0 (line 15): plain 1, forest 2, rough 3, swamp 4, water 9; entering
  // a zone-of-control hex from another adds 4. The enemy on (3, 1) casts
  // its zone over (2, 0), (3, 0), (4, 0) and (2, 1).
  LandWorld w({"ppppppp", "~~~p~~~", "pfrsppp"});
  w.AddCountries({kAllies, kAxis});
  w.War(1, 2);
  ApplyScenarioConstants(DistinctLandConstants(dir_));
  cJednostkaLadowa& unit = w.AddUnit(0, 0, 1, kUnitInfantryDivision);
  unit.actionPoints = unit.startingActionPoints = 12;
  w.AddUnit(3, 1, 2);
  unit.ComputeMoveRange(true);
  std::vector<std::string> costs = w.CostTable(unit);
  EXPECT_EQ(costs[0], "*127c..");
  EXPECT_EQ(costs[1], "99.....");  // water, both next to the unit

  cJednostkaLadowa& walker = w.AddUnit(0, 2, 1, kUnitInfantryDivision);
  walker.actionPoints = walker.startingActionPoints = 12;
  walker.ComputeMoveRange(true);
  costs = w.CostTable(walker);
  EXPECT_EQ(costs[2], "*259abc");  // swamp 4 into the zone: no extra from outside it
}

// The fixture scenario loaded as a game: its land units reset by its
// "consts.csv" ("LandActionPoints;4;4;6;6;8;8;4", "TerrainCostRows;1;2;3;2;2;3;2;99;0").
// Each value's place is checked above; here that the load applies them.
TEST_F(LandConstants, ALoadedScenarioResetsItsUnitsByItsFile) {
  const sGameStartSettings settings = twtest::CopyFixtureScenario(dir_.Path());
  twtest::ScopedWorkingFolder folder(dir_.Path());
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame(&renderer);
  LoadWorld(settings);
  const std::unique_ptr<cWorld> world(g_pWorld);
  ASSERT_NE(world, nullptr);
  std::map<std::wstring, cJednostkaLadowa*> units;
  for (cJednostkaLadowa* unit : world->Units().landUnits) units[unit->name] = unit;
  cJednostkaLadowa* tanks = units[L"2nd Armoured"];
  ASSERT_NE(tanks, nullptr);
  ASSERT_NE(units[L"1st Infantry"], nullptr);
  tanks->turnsWithoutSupply = 0;
  tanks->ResetActionPoints();
  EXPECT_EQ(tanks->actionPoints, 8);
  EXPECT_FLOAT_EQ(tanks->GetBaseStrength(), 4.0f);                     // level 1, armoured division
  EXPECT_FLOAT_EQ(units[L"1st Infantry"]->GetBaseStrength(), 3.0f);  // level 2, infantry division
  EXPECT_EQ(LandUnitConstants().move.terrainCost[6], 2);
}

}  // namespace
