#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/random.h"
#include "platform/rand.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/commander.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/unit.h"
#include "world/country.h"
#include "world/world.h"
#include "world/map_text.h"

namespace {

// A 6 x 5 land map: columns 0..2 belong to country 1, 3..5 to country 2.
constexpr const char* kMap =
    "size 6 5\n"
    "terrain\n"
    "pppppp\npppppp\npppppp\npppppp\npppppp\n"
    "owner\n"
    "1 1 1 2 2 2\n1 1 1 2 2 2\n1 1 1 2 2 2\n1 1 1 2 2 2\n1 1 1 2 2 2\n";

// The rand() value for which RandomRange(1, 100) gives r.
int RandFor(int r) {
  for (int v = 0; v <= 32767; ++v) {
    plat::ScopedRandOverride pin([v] { return v; });
    if (RandomRange(1, 100) == r) return v;
  }
  ADD_FAILURE() << "no rand value gives " << r;
  return 0;
}

class UnitWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    g_pWorld = &world;
    std::string error;
    ASSERT_TRUE(BuildMapFromText(kMap, world.GetMap(), error)) << error;
    twtest::AddCountry(world);
    twtest::AddCountry(world);
    world.constants.commanderRange[0] = 3;
    world.constants.maxSupply = 10;
    sUnitConstants& rules = world.unitConstants;
    rules.skillWeight = 100;
    rules.experienceWeight = 50;
    rules.distanceFalloff = 100;
    rules.lossPreventionWeight = 1;
    rules.damageDoublingWeight = 2;
    rules.bombardmentBonusWeight = 3;
  }
  void TearDown() override { g_pWorld = nullptr; }

  cCommander* AddCommander(int id, int type, int skill, int experience = 0) {
    auto* commander = new cCommander();
    commander->id = id;
    commander->type = type;
    commander->skill = skill;
    commander->experience = experience;
    world.Units().commanders.push_back(commander);
    return commander;
  }

  // A land unit on the map (linked to its hex), optionally leading.
  cJednostkaLadowa* AddLand(int country, int x, int y, cCommander* leader = nullptr) {
    auto* unit = new cJednostkaLadowa();
    unit->countryId = country;
    unit->SetType(kUnitInfantryDivision);
    world.Units().landUnits.push_back(unit);
    EXPECT_TRUE(unit->PlaceOnHex(x, y));
    if (leader) {
      unit->ownCommander = leader;
      leader->ledUnit = unit;
      leader->state = kCommanderAssigned;
    }
    return unit;
  }

  cWorld world;
};

TEST(UnitType, CategoryFollowsKnownCodesAndStaysForUnknownOnes) {
  cJednostkaMorska ship;
  ship.SetType(kUnitArtificialHarbour);
  EXPECT_EQ(ship.category, kCategoryLand);
  ship.SetType(kUnitTacticalBomber);
  EXPECT_EQ(ship.category, kCategoryAir);
  ship.SetType(kUnitAmphibiousShip);
  EXPECT_EQ(ship.category, kCategoryNaval);
  for (int unknown : {7, 19, 23, 39, 46, 59, 61, -1}) {
    ship.SetType(unknown);
    EXPECT_EQ(ship.type, unknown);
    EXPECT_EQ(ship.category, kCategoryNaval) << unknown;
  }
  ship.SetType(kUnitArmouredCorps);
  EXPECT_EQ(ship.category, kCategoryLand);
}

TEST_F(UnitWorld, HqSearchTakesTheBestAndTheFirstOnATie) {
  cCommander* a = AddCommander(11, kCategoryLand, 4);
  cCommander* b = AddCommander(12, kCategoryLand, 4);
  AddLand(1, 0, 0, a);  // distance 2 from (2, 1)
  AddLand(1, 2, 3, b);  // distance 2 as well
  cJednostkaLadowa* unit = AddLand(1, 2, 1);
  ASSERT_EQ(HexDistance(2, 1, 0, 0), 2);
  ASSERT_EQ(HexDistance(2, 1, 2, 3), 2);
  unit->AssignBestHQCommander();
  EXPECT_EQ(unit->hqCommanderId, 11);

  // A better commander further away, exactly at the command range, wins.
  cCommander* c = AddCommander(13, kCategoryLand, 9);
  AddLand(1, 2, 4, c);
  ASSERT_EQ(HexDistance(2, 1, 2, 4), 3);
  unit->AssignBestHQCommander();
  EXPECT_EQ(unit->hqCommanderId, 13);
  EXPECT_EQ(unit->GetHqCommanderBonus(), static_cast<int>(100 * 0.01f / 3 * 9.0f));
}

TEST_F(UnitWorld, OwnCommanderCheckSucceedsOnlyBelowTheThreshold) {
  cCommander* c = AddCommander(41, kCategoryLand, 1);
  cJednostkaLadowa* unit = AddLand(1, 1, 1, c);
  world.unitConstants.lossPreventionWeight = 1;  // t = 1: never
  {
    plat::ScopedRandOverride dice([] { return 0; });  // r = 1
    EXPECT_FALSE(unit->CommanderPreventsLosses());
  }
  world.unitConstants.lossPreventionWeight = 2;  // t = 2: only r = 1
  {
    plat::ScopedRandOverride dice([] { return 0; });
    EXPECT_TRUE(unit->CommanderPreventsLosses());
  }
  const int two = RandFor(2);
  {
    plat::ScopedRandOverride dice([two] { return two; });
    EXPECT_FALSE(unit->CommanderPreventsLosses());
  }
  c->skill = 50;
  world.unitConstants.damageDoublingWeight = 2;  // t = 100: r = 100 fails
  {
    plat::ScopedRandOverride dice([] { return 32767; });  // r = 100
    EXPECT_FALSE(unit->CommanderDoublesDamage());
  }
  c->skill = 101;
  world.unitConstants.lossPreventionWeight = 1;  // t = 101: always
  {
    plat::ScopedRandOverride dice([] { return 32767; });
    EXPECT_TRUE(unit->CommanderPreventsLosses());
  }
  EXPECT_EQ(unit->GetCommanderBonus(), 3 * 101);
  EXPECT_FLOAT_EQ(unit->GetCommanderDistanceFactor(), 1.0f);
}

TEST_F(UnitWorld, HqCommanderIsWeakenedByDistance) {
  cCommander* c = AddCommander(51, kCategoryLand, 10);
  AddLand(1, 0, 1, c);
  cJednostkaLadowa* unit = AddLand(1, 3, 1);
  ASSERT_EQ(HexDistance(3, 1, 0, 1), 3);
  unit->hqCommanderId = 51;
  world.unitConstants.distanceFalloff = 1;
  EXPECT_EQ(unit->GetCommanderDistance(), 3);
  EXPECT_FLOAT_EQ(unit->GetCommanderDistanceFactor(), 1.0f / 3.0f);
  world.unitConstants.bombardmentBonusWeight = 7;  // w = 70, t = trunc(70 / 3)
  EXPECT_EQ(unit->GetCommanderBonus(), 23);

  // His unit gone: distance 100.
  c->ledUnit = nullptr;
  EXPECT_EQ(unit->GetCommanderDistance(), 100);
  EXPECT_FLOAT_EQ(unit->GetCommanderDistanceFactor(), 0.01f);
}

TEST_F(UnitWorld, PlaceOnHexRefusesOutsideAndOccupiedHexes) {
  cJednostkaLadowa* unit = AddLand(1, 1, 1);
  cJednostkaLadowa* other = AddLand(1, 2, 2);
  cMap& map = world.GetMap();
  for (auto [px, py] : {std::pair{-1, 0}, {0, -1}, {-3, -3}, {6, 0}, {0, 5}}) {
    EXPECT_FALSE(unit->PlaceOnHex(px, py)) << px << "," << py;
    EXPECT_EQ(unit->x, 1);
    EXPECT_EQ(unit->y, 1);
  }
  EXPECT_EQ(map.GetHex(0, 0).unit, nullptr);  // never the first cell
  EXPECT_FALSE(unit->PlaceOnHex(2, 2));
  EXPECT_EQ(map.GetHex(2, 2).unit, other);
  EXPECT_EQ(map.GetHex(1, 1).unit, unit);

  EXPECT_TRUE(unit->PlaceOnHex(5, 4));
  EXPECT_EQ(map.GetHex(1, 1).unit, nullptr);
  EXPECT_EQ(map.GetHex(5, 4).unit, unit);
  EXPECT_EQ(unit->x, 5);
  EXPECT_EQ(unit->y, 4);
}

}  // namespace
