// Deployment from the reserve: refused, with the unit left in the pool,
// wherever its check refuses; a hex no city can supply is one of those
// refusals rather than the end of the game. A ship deploys only into the
// ports the units manager marks for it.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/ai_sea_fixture.h"
#include "rules/deployment.h"
#include "units/land_fixture.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/unit_lists.h"

namespace {

TEST(Deployment, RefusedWhereTheCheckRefusesAndPlacedNextToASupplyingCityElse) {
  enum { kOnMap, kLater, kOtherTurn, kOffMap, kTaken, kNoCity, kNextToCity };
  // {setting, x, y, refusal}; the city stands on (1, 0).
  const int cases[][4] = {{kOnMap, 2, 0, static_cast<int>(eDeployRefusal::kNotInReserve)},
                          {kLater, 2, 0, static_cast<int>(eDeployRefusal::kNotYetAvailable)},
                          {kOtherTurn, 2, 0, static_cast<int>(eDeployRefusal::kNotOwnTurn)},
                          {kOffMap, 9, 0, static_cast<int>(eDeployRefusal::kTargetOffMap)},
                          {kTaken, 2, 0, static_cast<int>(eDeployRefusal::kTargetTaken)},
                          {kNoCity, 4, 1, static_cast<int>(eDeployRefusal::kNoSupplyCity)},
                          {kNextToCity, 2, 0, static_cast<int>(eDeployRefusal::kNone)}};
  for (const auto& [setting, x, y, refusal] : cases) {
    twtest::LandWorld w({"ppppp", "ppppp"});
    w.AddCountries({kAllies, kAxis});
    w.AddCity(1, 0, kCityNormal);
    w.world->turnState.SetCurrentCountry(&w.Country(setting == kOtherTurn ? 2 : 1));
    auto* unit = new cJednostkaLadowa(w.world.get());
    unit->countryId = 1;
    unit->name = L"Recruit";
    unit->inReserve = setting != kOnMap;
    unit->availableInTurns = setting == kLater ? 2 : 0;
    w.world->Units().reservePool.push_back(unit);
    if (setting == kTaken) w.AddUnit(2, 0, 1);
    const auto expected = static_cast<eDeployRefusal>(refusal);
    EXPECT_EQ(CheckDeployFromReserve(*w.world, *unit, x, y), expected) << setting;
    EXPECT_EQ(DeployFromReserve(*w.world, *unit, x, y), expected) << setting;
    const auto& pool = w.world->Units().reservePool;
    const bool pooled = std::find(pool.begin(), pool.end(), unit) != pool.end();
    if (expected != eDeployRefusal::kNone) {
      EXPECT_TRUE(pooled) << setting;
      EXPECT_EQ(unit->x, -1) << setting;
      if (w.Map().IsInside(x, y) && setting != kTaken) {
        EXPECT_EQ(w.Hex(x, y).unit, nullptr) << setting;
      }
      continue;
    }
    EXPECT_FALSE(pooled);
    EXPECT_FALSE(unit->inReserve);
    EXPECT_EQ(w.Hex(2, 0).unit, unit);
    EXPECT_EQ(std::pair(unit->supplySourceX, unit->supplySourceY), std::pair(1, 0));
    // Deployed once: a second deployment is refused.
    EXPECT_EQ(DeployFromReserve(*w.world, *unit, 3, 0), eDeployRefusal::kNotInReserve);
  }
}

TEST(Deployment, AShipJoinsAFleetOnlyAtAPortItsCountryHoldsThatIsLargeEnough) {
  using twtest::SeaAiWorld;
  enum { kNotPooled, kLater, kOtherTurn, kSeaZone, kNoNode, kTooSmall, kForeignPort, kOwnPort };
  // {setting, sea node, refusal}; the ports are of size 5.
  const int cases[][3] = {{kNotPooled, SeaAiWorld::kWestport, static_cast<int>(eDeployRefusal::kNotInReserve)},
                          {kLater, SeaAiWorld::kWestport, static_cast<int>(eDeployRefusal::kNotYetAvailable)},
                          {kOtherTurn, SeaAiWorld::kWestport, static_cast<int>(eDeployRefusal::kNotOwnTurn)},
                          {kSeaZone, SeaAiWorld::kWest, static_cast<int>(eDeployRefusal::kNotAPort)},
                          {kNoNode, 99, static_cast<int>(eDeployRefusal::kNotAPort)},
                          {kTooSmall, SeaAiWorld::kWestport, static_cast<int>(eDeployRefusal::kPortTooSmall)},
                          {kForeignPort, SeaAiWorld::kEastport, static_cast<int>(eDeployRefusal::kPortNotHeld)},
                          {kOwnPort, SeaAiWorld::kWestport, static_cast<int>(eDeployRefusal::kNone)}};
  for (const auto& [setting, node, refusal] : cases) {
    SeaAiWorld w;
    cWorld& world = *w.world;
    world.turnState.SetCurrentCountry(&w.Country(setting == kOtherTurn ? 2 : 1));
    world.constants.minPortSize = {6, 0, 0, 0, 0, 0};  // a carrier needs a port of 6
    auto* ship = new cJednostkaMorska(&world);
    ship->countryId = 1;
    ship->SetType(setting == kTooSmall ? kUnitAircraftCarrier : kUnitCruiser);
    ship->name = L"Recruit";
    ship->hitPoints = ship->maxHitPoints = 4;
    ship->inReserve = true;
    ship->availableInTurns = setting == kLater ? 2 : 0;
    auto& pool = world.Units().navalReservePool;
    if (setting != kNotPooled) pool.push_back(ship);
    // The units manager offers the own port exactly when the port part of
    // the check lets the ship in.
    EXPECT_EQ(ship->MarkDeployHexes(false), setting == kTooSmall ? 0 : 1) << setting;

    const auto expected = static_cast<eDeployRefusal>(refusal);
    EXPECT_EQ(CheckDeployShip(world, *ship, node), expected) << setting;
    EXPECT_EQ(DeployShip(world, *ship, node), expected) << setting;
    const bool pooled = std::find(pool.begin(), pool.end(), ship) != pool.end();
    if (expected != eDeployRefusal::kNone) {
      EXPECT_EQ(pooled, setting != kNotPooled) << setting;
      EXPECT_EQ(ship->fleet, nullptr) << setting;
      EXPECT_TRUE(world.Units().fleets.empty()) << setting;
      if (setting == kNotPooled) delete ship;
      continue;
    }
    EXPECT_FALSE(pooled);
    EXPECT_FALSE(ship->inReserve);
    ASSERT_NE(ship->fleet, nullptr);
    EXPECT_EQ(std::pair(ship->fleet->seaNode, ship->fleet->country), std::pair(node, 1));
    EXPECT_EQ(world.Units().navalUnits.back(), ship);
    // Deployed once: a second deployment is refused.
    EXPECT_EQ(DeployShip(world, *ship, node), eDeployRefusal::kNotInReserve);
  }
}

}  // namespace
