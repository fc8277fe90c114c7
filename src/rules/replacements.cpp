#include "rules/replacements.h"

#include <algorithm>
#include <limits>

#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_lotnicza.h"
#include "world/map.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

template <class Table>
auto Entry(const Table& table, int index) -> typename Table::value_type {
  if (index < 0 || index >= static_cast<int>(table.size())) return {};
  return table[static_cast<std::size_t>(index)];
}

bool IsAir(const cJednostka& unit) { return unit.category == kCategoryAir; }

}  // namespace

float ReplacementPrice(const cWorld& world, cJednostka& unit) {
  const sScenarioConstants& c = world.constants;
  const float levelSteps = static_cast<float>(unit.level - 1);
  if (IsAir(unit)) {
    const float p = Entry(c.airCostFactorsA, unit.type - kUnitFighter);
    return p * static_cast<float>(c.replacementMultiplier) * levelSteps / 100.0f + p;
  }
  const float p = static_cast<float>(unit.GetBaseStrength() * Entry(c.replacementFactors, unit.type) / 100.0f);
  return p + static_cast<float>(c.replacementBase) * p * levelSteps / 100.0f;
}

int ReplacementMaximum(const cWorld& world, cJednostka& unit, float price) {
  if (!(price > 0.0f)) return 0;
  const cCountry* country = world.GetCountry(unit.countryId);
  const double points = country != nullptr ? country->productionPoints : 0.0;
  const double canPay = std::clamp(points / static_cast<double>(price), 0.0,
                                   static_cast<double>(std::numeric_limits<int>::max()));
  const int affordable = static_cast<int>(canPay);

  const sScenarioConstants& c = world.constants;
  const cMap& map = world.GetMap();
  const bool onOwnHex = map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y).owner == unit.countryId;
  int cap = 10;
  if (onOwnHex) {
    const int supply = std::clamp(unit.supply, 0, sScenarioConstants::kSupplyEntries - 1);
    cap = IsAir(unit) ? c.supplyEffectF[static_cast<std::size_t>(supply)]
                      : c.supplyEffectE[static_cast<std::size_t>(supply)];
  }
  const int room = (IsAir(unit) ? cap : 100) - unit.GetStrength();
  return std::max(0, std::min({affordable, cap, room}));
}

const char* ReplacementRefusalKey(eReplacementRefusal refusal) {
  switch (refusal) {
    case eReplacementRefusal::kNone: return nullptr;
    case eReplacementRefusal::kNothingBought: return "unit_replacement_refused_nothing";
    case eReplacementRefusal::kAboveMaximum: return "unit_replacement_refused_above_maximum";
  }
  return nullptr;
}

eReplacementRefusal CheckBuyReplacements(const cWorld& world, cJednostka& unit, int points) {
  if (points <= 0) return eReplacementRefusal::kNothingBought;
  if (points > ReplacementMaximum(world, unit, ReplacementPrice(world, unit))) {
    return eReplacementRefusal::kAboveMaximum;
  }
  return eReplacementRefusal::kNone;
}

eReplacementRefusal BuyReplacements(cWorld& world, cJednostka& unit, int points) {
  const eReplacementRefusal refusal = CheckBuyReplacements(world, unit, points);
  if (refusal != eReplacementRefusal::kNone) return refusal;
  const float price = ReplacementPrice(world, unit);
  unit.SetActionPoints(0);
  unit.AddStrength(static_cast<float>(points));
  unit.reachableHexes.clear();
  if (cCountry* country = world.GetCountry(unit.countryId)) {
    country->AddProductionPoints(-static_cast<double>(price) * points);
  }
  return eReplacementRefusal::kNone;
}
