// The unit base: type codes, subtype texts, commander values, the HQ
// commander search, the commander checks in combat, placement and
// deployment from the reserve pool.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/random.h"
#include "app/settings.h"
#include "platform/rand.h"
#include "support/test_support.h"
#include "units/commander.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "units/unit.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/gra.h"
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
    for (int id = 1; id <= 2; ++id) {
      auto country = std::make_unique<cCountry>();
      country->id = id;
      world.Countries().push_back(std::move(country));
    }
    sUnitConstants& rules = world.unitConstants;
    rules.commandRange = 3;
    rules.skillWeight = 100;
    rules.experienceWeight = 50;
    rules.distanceFalloff = 100;
    rules.lossPreventionWeight = 1;
    rules.damageDoublingWeight = 2;
    rules.bombardmentBonusWeight = 3;
    rules.maxSupplyLevel = 10;
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

TEST(UnitName, IsCutTo99Characters) {
  cJednostkaMorska ship;
  ship.SetName(std::wstring(150, L'x'));
  EXPECT_EQ(ship.name.size(), 99u);
  ship.SetName(L"Hood");
  EXPECT_EQ(ship.name, L"Hood");
}

TEST_F(UnitWorld, SubtypeTextsUseTheStoredUnitSizes) {
  world.smallUnitsSize = 0;  // "Map/SmallUnitsSize" 1
  world.largeUnitsSize = 1;  // "Map/LargeUnitsSize" 2
  // Keys unknown to the string base read as themselves.
  EXPECT_EQ(cUnit::GetSubtypeText(3), L"unit_subtype_mechanized_size_2");
  EXPECT_EQ(cUnit::GetSubtypeText(2), L"unit_subtype_mechanized_size_1");
  EXPECT_EQ(cUnit::GetSubtypeText(6), L"unit_subtype_airborne_size_1");
  world.largeUnitsSize = 4;
  EXPECT_EQ(cUnit::GetSubtypeText(1), L"unit_subtype_infantry_size_5");
  EXPECT_EQ(cUnit::GetSubtypeText(5), L"unit_subtype_armoured_size_5");
  EXPECT_EQ(cUnit::GetSubtypeText(60), L"unit_subtype_unknown");
  EXPECT_EQ(cUnit::GetSubtypeText(7), L"unit_subtype_unknown");
  EXPECT_EQ(cUnit::GetSubtypeText(20), L"unit_subtype_air_fighter");
  EXPECT_EQ(cUnit::GetSubtypeText(44), L"unit_subtype_cargo");
}

TEST_F(UnitWorld, CommanderValueByDistance) {
  cCommander* c = AddCommander(1, 0, 3, 2);  // v = 100*3/100 + 50*2/100 = 4
  EXPECT_FLOAT_EQ(cUnit::GetCommanderValue(*c, 0), 5.0f);
  EXPECT_FLOAT_EQ(cUnit::GetCommanderValue(*c, 4), 4.0f);  // beyond the range of 3
  EXPECT_FLOAT_EQ(cUnit::GetCommanderValue(*c, 2), 100 * 0.01f / 2 * 4.0f);
  EXPECT_FLOAT_EQ(cUnit::GetCommanderValue(*c, 3), 100 * 0.01f / 3 * 4.0f);
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

TEST_F(UnitWorld, HqSearchSkipsOtherCountriesTypesRangesAndZeroScores) {
  AddLand(2, 1, 0, AddCommander(21, kCategoryLand, 9));      // another country
  AddLand(1, 0, 1, AddCommander(22, kCategoryAir, 9));       // commands air units
  AddLand(1, 4, 4, AddCommander(23, kCategoryLand, 9));      // 4 or more hexes away
  AddLand(1, 1, 1, AddCommander(24, kCategoryLand, 0, 0));   // score 0
  cJednostkaLadowa* unit = AddLand(1, 0, 0);
  ASSERT_GT(HexDistance(0, 0, 4, 4), 3);
  unit->hqCommanderId = 99;
  unit->AssignBestHQCommander();
  EXPECT_EQ(unit->hqCommanderId, -1);
  EXPECT_EQ(unit->GetHqCommanderBonus(), 0);
}

TEST_F(UnitWorld, HqSearchLeavesLeadersOffMapUnitsAndShipsAlone) {
  AddLand(1, 1, 1, AddCommander(31, kCategoryLand, 5));
  cJednostkaLadowa* leader = AddLand(1, 2, 2, AddCommander(32, kCategoryLand, 1));
  leader->hqCommanderId = 77;
  leader->AssignBestHQCommander();
  EXPECT_EQ(leader->hqCommanderId, 77);

  cJednostkaLadowa offMap;
  offMap.countryId = 1;
  offMap.hqCommanderId = 78;
  offMap.AssignBestHQCommander();
  EXPECT_EQ(offMap.hqCommanderId, 78);

  cJednostkaMorska ship;
  ship.SetType(kUnitCruiser);
  ship.countryId = 1;
  ship.x = 1;
  ship.y = 2;
  ship.hqCommanderId = 79;
  ship.AssignBestHQCommander();
  EXPECT_EQ(ship.hqCommanderId, -1);
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

TEST_F(UnitWorld, NoCommanderMeansNoCheckAndNoDraw) {
  cJednostkaLadowa* unit = AddLand(1, 1, 1);
  int draws = 0;
  plat::ScopedRandOverride dice([&draws] {
    ++draws;
    return 0;
  });
  for (int id : {-1, 0, 5}) {  // 5: a commander nobody has
    unit->hqCommanderId = id;
    EXPECT_FLOAT_EQ(unit->GetCommanderDistanceFactor(), id < 1 ? 1.0f : world.unitConstants.distanceFalloff / 100.0f);
    EXPECT_FALSE(unit->CommanderPreventsLosses());
    EXPECT_FALSE(unit->CommanderDoublesDamage());
    EXPECT_EQ(unit->GetCommanderBonus(), 0);
  }
  EXPECT_EQ(draws, 0);
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

class DeployTest : public UnitWorld {
 protected:
  cCity* AddCity(int x, int y, int type, int supplyForCountry1) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = type;
    city->supplyInfo = {supplyForCountry1, 0};
    city->convoyInfo = {0, 0};
    cCity* raw = city.get();
    world.AddCity(std::move(city));
    return raw;
  }
  cJednostkaLadowa* ReserveLand() {
    auto* unit = new cJednostkaLadowa();
    unit->countryId = 1;
    unit->SetType(kUnitInfantryCorps);
    unit->inReserve = true;
    world.Units().reservePool.push_back(unit);
    return unit;
  }
};

int g_exitCode = -1;

TEST_F(DeployTest, TakesTheLastQualifyingNeighbourCity) {
  world.turnCountryId = 1;
  AddCity(1, 0, kCitySupply, 7);  // north of (1, 1)
  AddCity(1, 2, kCityNormal, 4);  // south of (1, 1): later in direction order
  cJednostkaLadowa* first = ReserveLand();
  cJednostkaLadowa* unit = ReserveLand();
  cJednostkaLadowa* last = ReserveLand();
  unit->DeployFromReserve(1, 1);
  EXPECT_EQ(unit->supplySourceX, 1);
  EXPECT_EQ(unit->supplySourceY, 2);
  EXPECT_EQ(unit->supply, 4);
  EXPECT_FALSE(unit->inReserve);
  EXPECT_TRUE(unit->movedOrDeployed);
  EXPECT_EQ(unit->x, 1);
  EXPECT_EQ(unit->y, 1);
  EXPECT_EQ(world.GetMap().GetHex(1, 1).unit, unit);
  ASSERT_EQ(world.Units().reservePool.size(), 2u);
  EXPECT_EQ(world.Units().reservePool[0], first);
  EXPECT_EQ(world.Units().reservePool[1], last);
  EXPECT_EQ(world.Units().landUnits.back(), unit);
}

TEST_F(DeployTest, AtWarACityNeedsHalfTheMaximumSupply) {
  world.turnCountryId = 1;
  world.GetRelations().Reset(2);
  world.GetRelations().SetAtWar(1, 2, true);
  ASSERT_TRUE(world.GetCountry(1)->IsAtWarWithAnyone());
  AddCity(1, 0, kCitySupply, 5);  // 5 = 10 / 2: counts
  AddCity(1, 2, kCityNormal, 4);  // below half: does not
  AddCity(0, 1, kCityResources, 9);
  cJednostkaLadowa* unit = ReserveLand();
  unit->DeployFromReserve(1, 1);
  EXPECT_EQ(unit->supplySourceY, 0);
  EXPECT_EQ(unit->supply, 5);
}

TEST_F(DeployTest, WithoutACityTheGameEnds) {
  world.turnCountryId = 1;
  AddCity(4, 1, kCitySupply, 9);  // controlled by country 2
  cJednostkaLadowa* unit = ReserveLand();
  twtest::LogCapture log;
  g_exitCode = -1;
  SetDeployExitHandler([](int code) { g_exitCode = code; });
  unit->DeployFromReserve(3, 1);
  SetDeployExitHandler(nullptr);
  EXPECT_EQ(g_exitCode, 1);
  EXPECT_TRUE(log.Contains(L"Error while deploying unit: cant find appropriate city near (3,1)"));
  EXPECT_TRUE(unit->inReserve);
  EXPECT_EQ(world.GetMap().GetHex(3, 1).unit, nullptr);
}

TEST_F(UnitWorld, StrategicMovePaysByCategory) {
  world.unitConstants.strategicMoveCost = {3, 4};
  world.unitConstants.airStrategicMoveCost.assign(23, 0);
  world.unitConstants.airStrategicMoveCost[21] = 6;
  cCountry& country = *world.GetCountry(1);
  country.strategicMovementPoints = 10;
  country.productionPoints = 20.0;
  cJednostkaLadowa* unit = AddLand(1, 1, 1);
  unit->SetType(kUnitInfantryCorps);
  unit->actionPoints = 5;
  EXPECT_FALSE(unit->StrategicMove(-1, 2));
  EXPECT_EQ(country.strategicMovementPoints, 10);
  ASSERT_TRUE(unit->StrategicMove(4, 3));
  EXPECT_EQ(world.GetMap().GetHex(1, 1).unit, nullptr);
  EXPECT_EQ(world.GetMap().GetHex(4, 3).unit, unit);
  EXPECT_EQ(unit->actionPoints, 0);
  EXPECT_EQ(country.strategicMovementPoints, 6);

  cJednostkaLotnicza plane;
  plane.countryId = 1;
  plane.SetType(kUnitTacticalBomber);
  ASSERT_TRUE(plane.StrategicMove(0, 0));
  EXPECT_DOUBLE_EQ(country.productionPoints, 14.0);
  EXPECT_EQ(country.strategicMovementPoints, 6);
}

TEST_F(UnitWorld, AdjustLevelNeverReachesZero) {
  cJednostkaLotnicza plane;
  plane.level = 2;
  plane.AdjustLevel(-2);
  EXPECT_EQ(plane.level, 2);
  plane.AdjustLevel(-1);
  EXPECT_EQ(plane.level, 1);
  plane.AdjustLevel(3);
  EXPECT_EQ(plane.level, 4);
}

class SpottingTest : public UnitWorld {
 protected:
  void SetUp() override {
    UnitWorld::SetUp();
    saved_fog_ = g_Settings.FogOfWar;
  }
  void TearDown() override {
    g_Settings.FogOfWar = saved_fog_;
    UnitWorld::TearDown();
  }
  int saved_fog_ = 0;
};

TEST_F(SpottingTest, RevealFlagsOnlyNewEnemyContacts) {
  g_Settings.FogOfWar = 2;
  cJednostkaLadowa* scout = AddLand(1, 2, 2);
  cJednostkaLadowa* friendNear = AddLand(1, 2, 1);
  cJednostkaLadowa* enemyFar = AddLand(2, 5, 4);
  ASSERT_GT(HexDistance(2, 2, 5, 4), 2);
  scout->RevealUnitsAround(true);
  EXPECT_TRUE(friendNear->visible);
  EXPECT_FALSE(enemyFar->visible);
  EXPECT_FALSE(scout->newEnemyContact);  // an own unit is no contact

  cJednostkaLadowa* enemyNear = AddLand(2, 3, 2);
  enemyNear->visible = true;  // already seen: no new contact
  scout->RevealUnitsAround(true);
  EXPECT_FALSE(scout->newEnemyContact);
  enemyNear->visible = false;
  scout->RevealUnitsAround(false);
  EXPECT_TRUE(enemyNear->visible);
  EXPECT_FALSE(scout->newEnemyContact);
  enemyNear->visible = false;
  scout->RevealUnitsAround(true);
  EXPECT_TRUE(scout->newEnemyContact);

  g_Settings.FogOfWar = 0;  // no fog: everything
  scout->RevealUnitsAround(false);
  EXPECT_TRUE(enemyFar->visible);
}

TEST_F(SpottingTest, SpottedByAUnitOfTheCountryWithinTheFog) {
  g_Settings.FogOfWar = 1;
  cJednostkaLadowa* target = AddLand(2, 4, 2);
  AddLand(1, 1, 2);
  target->UpdateSpottedBy(nullptr);
  EXPECT_FALSE(target->visible);
  target->UpdateSpottedBy(world.GetCountry(1));
  EXPECT_FALSE(target->visible);
  AddLand(1, 3, 2);
  target->UpdateSpottedBy(world.GetCountry(1));
  EXPECT_TRUE(target->visible);

  cJednostkaLadowa* other = AddLand(2, 0, 4);
  g_Settings.FogOfWar = 0;
  other->UpdateSpottedBy(nullptr);
  EXPECT_TRUE(other->visible);
}

// An air unit whose range the test sets, for the free-hex search.
class FixedRangeUnit : public cJednostkaLotnicza {
 public:
  int ComputeMoveRange(bool) override {
    reachableHexes = range;
    return static_cast<int>(range.size());
  }
  std::list<sReachableHex> range;
};

TEST_F(UnitWorld, FreeHexAwayFromTargetTakesTheCheapestAllowedHex) {
  FixedRangeUnit unit;
  unit.x = 2;
  unit.y = 2;
  const int tx = 2, ty = 1;  // the target, next to the unit
  AddLand(2, 4, 4);         // occupies (4, 4)
  auto entry = [&](int ex, int ey, int cost) { return sReachableHex{&unit, ex, ey, 0, cost}; };
  ASSERT_NE(world.GetMap().GetNeighbourDirection(tx, ty, 3, 1), 0);
  unit.range = {entry(3, 1, 1),        // next to the target
                entry(4, 4, 1),        // occupied
                entry(0, 4, 99999),    // too dear
                entry(1, 4, 2),        // taken already
                entry(2, 4, 3),  entry(0, 3, 3), entry(5, 0, 4)};
  int taken[6][2];
  for (auto& pair : taken) pair[0] = pair[1] = -1;
  taken[0][0] = 1;
  taken[0][1] = 4;
  sReachableHex out;
  ASSERT_TRUE(unit.FindFreeHexAwayFromTarget(tx, ty, taken, out, 4));
  EXPECT_EQ(out.x, 2);
  EXPECT_EQ(out.y, 4);
  EXPECT_EQ(out.cost, 3);
  EXPECT_EQ(taken[4][0], 2);
  EXPECT_EQ(taken[4][1], 4);
  // The next search avoids the hex just taken.
  ASSERT_TRUE(unit.FindFreeHexAwayFromTarget(tx, ty, taken, out, 5));
  EXPECT_EQ(out.x, 0);
  EXPECT_EQ(out.y, 3);
  EXPECT_FALSE(unit.FindFreeHexAwayFromTarget(tx, ty, taken, out, 6));
  unit.range.clear();
  EXPECT_FALSE(unit.FindFreeHexAwayFromTarget(tx, ty, taken, out, 1));
  EXPECT_EQ(taken[1][0], -1);
}

}  // namespace
