#include "rules/replacements.h"

#include "app/framework_lock.h"
#include "world/country.h"
#include "world/replacement_prices.h"
#include "world/unit.h"
#include "world/world.h"

const char* ReplacementRefusalKey(eReplacementRefusal refusal) {
  switch (refusal) {
    case eReplacementRefusal::kNone:
      return nullptr;
    case eReplacementRefusal::kNotOnMap:
      return "air_order_impossible_not_on_map";
    case eReplacementRefusal::kNotOwnUnit:
      return "attack_impossible_not_own_unit";
    case eReplacementRefusal::kCannotReplenish:
      return "replacement_impossible_cannot_replenish";
    case eReplacementRefusal::kNothingToBuy:
      return "replacement_impossible_nothing_to_buy";
    case eReplacementRefusal::kAboveMaximum:
      return "replacement_impossible_above_maximum";
  }
  return nullptr;
}

eReplacementRefusal CheckBuyReplacements(const cWorld& world, cJednostka& unit, int points) {
  if (!unit.IsOnMap() || unit.inReserve) return eReplacementRefusal::kNotOnMap;
  if (unit.countryId != world.turnState.CurrentCountryId()) return eReplacementRefusal::kNotOwnUnit;
  if (!unit.CanReplenish(nullptr)) return eReplacementRefusal::kCannotReplenish;
  if (points <= 0) return eReplacementRefusal::kNothingToBuy;
  if (points > ReplacementMaximum(world, unit)) return eReplacementRefusal::kAboveMaximum;
  return eReplacementRefusal::kNone;
}

eReplacementRefusal BuyReplacements(cWorld& world, cJednostka& unit, int points) {
  const cFrameworkLockGuard lock;
  const eReplacementRefusal refusal = CheckBuyReplacements(world, unit, points);
  if (refusal != eReplacementRefusal::kNone) return refusal;
  const float price = ReplacementPricePerPoint(world, unit);
  unit.SetActionPoints(0);
  unit.AddStrength(static_cast<float>(points));
  unit.reachableHexes.clear();
  if (cCountry* country = world.GetCountry(unit.countryId)) {
    country->AddProductionPoints(-static_cast<double>(price) * points);
  }
  return eReplacementRefusal::kNone;
}
