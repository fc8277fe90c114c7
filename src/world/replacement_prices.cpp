#include "world/replacement_prices.h"

#include <algorithm>
#include <cmath>

#include "world/air_tables.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/map.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

// The cap of replacements off the unit's own country's soil.
constexpr int kCapAway = 10;
constexpr int kLandFullStrength = 100;

}  // namespace

float ReplacementPricePerPoint(const cWorld& world, cJednostka& unit) {
  const sScenarioConstants& k = world.constants;
  if (unit.category == kCategoryAir) {
    const float p = air_tables::ByAirType(k.airCostFactorsA, unit.type);
    return p * static_cast<float>(k.replacementMultiplier * (unit.level - 1)) / 100.0f + p;
  }
  if (unit.type < 0 || unit.type > 6) return 0.0f;
  const float p = unit.GetBaseStrength() * air_tables::Bounded(k.replacementFactors, unit.type) / 100.0f;
  return p + static_cast<float>(k.replacementBase) * p * static_cast<float>(unit.level - 1) / 100.0f;
}

int ReplacementFullStrength(const cWorld& world, const cJednostka& unit) {
  if (unit.category == kCategoryAir) return air_tables::ByAirType(world.constants.airBaseStrength, unit.type);
  return kLandFullStrength;
}

int ReplacementMaximum(const cWorld& world, cJednostka& unit) {
  const float price = ReplacementPricePerPoint(world, unit);
  if (price <= 0.0f) return 0;
  const cCountry* country = unit.GetCountry();
  const double points = country ? country->productionPoints : 0.0;
  const double affordableD = std::trunc(points / static_cast<double>(price));
  const int affordable = static_cast<int>(std::clamp(affordableD, 0.0, 1000000.0));
  const cMap& map = world.GetMap();
  const bool ownSoil = map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y).owner == unit.countryId;
  const bool air = unit.category == kCategoryAir;
  int cap = kCapAway;
  if (ownSoil) {
    cap = air ? air_tables::Bounded(world.constants.supplyEffectF, unit.supply)
              : air_tables::Bounded(world.constants.supplyEffectE, unit.supply);
  }
  // An air unit lacks what its type's full strength holds beyond its own,
  // not what the cap does: the cap is what one replacement may bring.
  const int lacking = ReplacementFullStrength(world, unit) - unit.GetStrength();
  return std::max(0, std::min({affordable, cap, lacking}));
}
