// The computer's deployment of new units from the reserve on a small world:
// Rich (1, 2) far behind the lines, the front cities North (5, 0) and South
// (5, 4) facing Eastmark's Enemy (8, 2). Land units go to the front city held
// weakest, air units to the richest city away from the front, only ready
// units deploy and only where there is room and supply, and a city the
// placing rule would refuse is passed over without ending the game.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/ai_operations.h"
#include "ai/ai_operations_fixture.h"
#include "rules/deployment.h"
#include "world/country.h"
#include "world/jednostka_lotnicza.h"
#include "world/relations.h"

namespace {

using twtest::OperationsTest;

class AiDeploy : public OperationsTest {
 protected:
  AiDeploy() {
    rich = &City(1, 2, L"Rich", kCitySupply);
    rich->productionPoints = 50.0f;
    frontNorth = &City(5, 0, L"North", kCityNormal);
    frontNorth->productionPoints = 1.0f;
    frontSouth = &City(5, 4, L"South", kCityNormal);
    frontSouth->productionPoints = 2.0f;
    enemy = &City(8, 2, L"Enemy", kCityNormal);
    Finish({{rich, frontNorth}, {rich, frontSouth}, {frontNorth, enemy}, {frontSouth, enemy}});
    Land(9, 2, 2, 900, L"Enemy army");
  }

  cJednostkaLadowa& ReserveLand(const wchar_t* name, int availableInTurns = 0, int country = 1) {
    auto* unit = new cJednostkaLadowa(w.world.get());
    unit->countryId = country;
    unit->SetType(kUnitInfantryDivision);
    unit->name = name;
    unit->level = 1;
    unit->strength = 100;
    unit->effectiveness = 100;
    unit->inReserve = true;
    unit->availableInTurns = availableInTurns;
    w.world->Units().reservePool.push_back(unit);
    return *unit;
  }
  cJednostkaLotnicza& ReserveAir(const wchar_t* name) {
    auto* unit = new cJednostkaLotnicza(w.world.get());
    unit->countryId = 1;
    unit->SetType(kUnitFighter);
    unit->name = name;
    unit->level = 1;
    unit->strength = 10.0f;
    unit->inReserve = true;
    w.world->Units().reservePool.push_back(unit);
    return *unit;
  }
  bool InReserve(const cJednostka& unit) {
    const auto& pool = w.world->Units().reservePool;
    return std::find(pool.begin(), pool.end(), &unit) != pool.end();
  }
  // On the map at or next to the city, and logged as deployed there.
  bool DeployedAt(const cJednostka& unit, const cCity& city) {
    return !InReserve(unit) && HexDistance(unit.x, unit.y, city.x, city.y) <= 1 &&
           w.Hex(unit.x, unit.y).unit == &unit && Logged(unit.name + L" deployed at " + city.GetName() + L" (");
  }

  cCity* rich = nullptr;
  cCity* frontNorth = nullptr;
  cCity* frontSouth = nullptr;
  cCity* enemy = nullptr;
};

TEST_F(AiDeploy, DeploysToAThreatenedCity) {
  Land(4, 0, 1, 100, L"Guard of North", rich);
  cJednostkaLadowa& recruit = ReserveLand(L"Recruit");
  Fronts();
  ASSERT_NE(frontSouth->aiFrontState, ai::kNoFront);
  ASSERT_EQ(rich->aiFrontState, ai::kNoFront);

  EXPECT_EQ(ai::DeployLandUnits(*w.world, Ai()), 1);
  EXPECT_TRUE(DeployedAt(recruit, *frontSouth)) << recruit.x << "," << recruit.y;
  EXPECT_EQ(recruit.supplySourceX, frontSouth->x);
  EXPECT_EQ(recruit.supplySourceY, frontSouth->y);
  EXPECT_TRUE(Logged(L"Recruit deployed at South"));
}

TEST_F(AiDeploy, NewUnitsSpreadOverTheFrontCitiesByWhatEachAlreadyHolds) {
  cJednostkaLadowa& guard = Land(4, 0, 1, 50, L"Half guard of North", rich);
  cJednostkaLadowa& first = ReserveLand(L"First");
  cJednostkaLadowa& second = ReserveLand(L"Second");
  Fronts();
  ASSERT_LT(guard.GetEffectiveCombatStrength(), first.GetEffectiveCombatStrength());

  EXPECT_EQ(ai::DeployLandUnits(*w.world, Ai()), 2);
  EXPECT_TRUE(DeployedAt(first, *frontSouth));
  // South now holds more than North: the second goes north.
  EXPECT_TRUE(DeployedAt(second, *frontNorth)) << second.x << "," << second.y;
}

TEST_F(AiDeploy, WithoutAFrontTheRichestCityAndAirAlwaysAwayFromTheFront) {
  cJednostkaLotnicza& fighter = ReserveAir(L"Fighter");
  frontSouth->productionPoints = 100.0f;
  Fronts();
  EXPECT_EQ(ai::DeployAirUnits(*w.world, Ai()), 1);
  EXPECT_TRUE(DeployedAt(fighter, *rich)) << fighter.x << "," << fighter.y;

  // At peace there are no fronts: the richest city takes the land unit.
  w.world->GetRelations().SetAtWar(1, 2, false);
  w.world->GetRelations().SetAtWar(2, 1, false);
  ASSERT_FALSE(Ai().IsAtWarWithAnyone());
  cJednostkaLadowa& recruit = ReserveLand(L"Recruit");
  EXPECT_EQ(ai::DeployLandUnits(*w.world, Ai()), 1);
  EXPECT_TRUE(DeployedAt(recruit, *frontSouth)) << recruit.x << "," << recruit.y;
}

TEST_F(AiDeploy, OnlyReadyUnitsDeployAndOnlyWhereThereIsRoomAndSupply) {
  cJednostkaLadowa& waiting = ReserveLand(L"Waiting", 2);
  cJednostkaLadowa& foreign = ReserveLand(L"Foreign", 0, 2);
  cJednostkaLadowa& ready = ReserveLand(L"Ready");
  frontSouth->supplyInfo[0] = 4;  // below half of 10
  // North and every hex around it are taken.
  Land(frontNorth->x, frontNorth->y, 1, 100, L"On North", rich);
  for (int dir = 0; dir < 6; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(frontNorth->x, frontNorth->y, dir, nx, ny);
    if (w.Map().IsInside(nx, ny) && w.Hex(nx, ny).unit == nullptr) Land(nx, ny, 1, 100, L"Around North", rich);
  }
  Fronts();
  const std::vector<cCity*> candidates = ai::CollectDeployCities(*w.world, Ai());
  EXPECT_EQ(candidates, std::vector<cCity*>{rich});

  EXPECT_EQ(ai::DeployLandUnits(*w.world, Ai()), 1);
  EXPECT_TRUE(DeployedAt(ready, *rich));
  EXPECT_TRUE(InReserve(waiting));
  EXPECT_TRUE(InReserve(foreign));

  // Once nowhere has supply enough, deployment ends at once.
  waiting.availableInTurns = 0;
  rich->supplyInfo[0] = 0;
  EXPECT_EQ(ai::DeployLandUnits(*w.world, Ai()), 0);
  EXPECT_TRUE(InReserve(waiting));
  EXPECT_TRUE(Logged(L"no city left to deploy Waiting"));
}

TEST_F(AiDeploy, ACityThePlacingRuleWouldRefuseIsPassedOverAndTheGameGoesOn) {
  cJednostkaLadowa& recruit = ReserveLand(L"Recruit");
  // Every city hex is taken, so a unit could only go next to a city.
  for (const cCity* city : {rich, frontNorth, frontSouth}) Land(city->x, city->y, 1, 100, L"Sitter", rich);
  Fronts();
  // Another country's turn: the placing rule would look for a city of that
  // country next to the hex and end the game without one.
  w.world->turnState.SetCurrentCountry(&w.Country(3));
  EXPECT_EQ(ai::DeployLandUnits(*w.world, Ai()), 0);
  EXPECT_TRUE(InReserve(recruit));
  EXPECT_TRUE(Logged(L"cannot deploy Recruit at South"));
  EXPECT_TRUE(Logged(L"cannot deploy Recruit at Rich"));
  // The player's check refuses each free hex next to those cities alike.
  for (const cCity* city : {rich, frontSouth}) {
    for (int dir = 0; dir < 6; ++dir) {
      const sHex* near = w.Map().GetNeighbour(city->x, city->y, dir);
      if (near == nullptr || near->unit != nullptr) continue;
      EXPECT_EQ(CheckDeployFromReserve(*w.world, recruit, near->x, near->y), eDeployRefusal::kNotOwnTurn);
    }
  }
}

}  // namespace
