// Deployment from the reserve: refused, with the unit left in the pool,
// wherever its check refuses; a hex no city can supply is one of those
// refusals rather than the end of the game.
#include <gtest/gtest.h>

#include <algorithm>

#include "rules/deployment.h"
#include "units/land_fixture.h"
#include "world/country.h"
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

}  // namespace
