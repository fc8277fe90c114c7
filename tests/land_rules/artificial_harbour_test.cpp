// The harbour build order: refused exactly where its check refuses, with
// nothing changed; built for the hex's controller and paid by the builder.
#include <gtest/gtest.h>

#include "rules/artificial_harbour.h"
#include "units/land_fixture.h"
#include "world/country.h"

namespace {

TEST(HarbourOrder, RefusedWhereTheCheckRefusesAndBuiltForTheHexsControllerElse) {
  enum { kWater, kInland, kTaken, kEnemy, kPoor, kOwn, kAlly };
  const int cases[][2] = {{kWater, static_cast<int>(eHarbourRefusal::kNotLand)},
                          {kInland, static_cast<int>(eHarbourRefusal::kNotCoastal)},
                          {kTaken, static_cast<int>(eHarbourRefusal::kOccupied)},
                          {kEnemy, static_cast<int>(eHarbourRefusal::kNotFriendly)},
                          {kPoor, static_cast<int>(eHarbourRefusal::kNotEnoughPoints)},
                          {kOwn, static_cast<int>(eHarbourRefusal::kNone)},
                          {kAlly, static_cast<int>(eHarbourRefusal::kNone)}};
  for (const auto& [setting, refusal] : cases) {
    twtest::LandWorld w({"pp~", "pp~"});
    w.AddCountries({kAllies, kAxis, kAllies});
    w.War(1, 2);
    w.world->constants.mulberryValues = {10.0f, 0.0f, 5.0f, 6.0f};
    w.Country(1).productionPoints = setting == kPoor ? 9.5 : 12.0;
    for (sHex& hex : w.Map().Hexes()) hex.coastal = 1;
    int x = 1;
    if (setting == kWater) x = 2;
    if (setting == kInland) w.Hex(1, 0).coastal = 0;
    if (setting == kTaken) w.AddUnit(1, 0, 1);
    if (setting == kEnemy) w.Control(1, 0, 2);
    if (setting == kAlly) w.Control(1, 0, 3);
    sHex& hex = w.Hex(x, 0);
    const auto expected = static_cast<eHarbourRefusal>(refusal);
    const std::size_t units = w.world->Units().landUnits.size();
    EXPECT_EQ(CheckBuildHarbour(*w.world, hex, w.Country(1)), expected) << setting;
    EXPECT_EQ(BuildHarbour(*w.world, w.Country(1), hex, L"Harbour"), expected) << setting;
    if (expected != eHarbourRefusal::kNone) {
      EXPECT_EQ(w.world->Units().landUnits.size(), units) << setting;
      EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, setting == kPoor ? 9.5 : 12.0) << setting;
      continue;
    }
    ASSERT_NE(hex.unit, nullptr);
    EXPECT_EQ(hex.unit->countryId, setting == kAlly ? 3 : 1);
    EXPECT_DOUBLE_EQ(w.Country(1).productionPoints, 2.0);
    // Built once: the hex is taken now, and a second order is refused.
    EXPECT_EQ(BuildHarbour(*w.world, w.Country(1), hex, L"Harbour"), eHarbourRefusal::kOccupied);
  }
}

}  // namespace
