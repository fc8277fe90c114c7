#include "rules/disband.h"

#include "world/country.h"
#include "world/jednostka_lotnicza.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

template <class Table>
auto Entry(const Table& table, int index) -> typename Table::value_type {
  if (index < 0 || index >= static_cast<int>(table.size())) return {};
  return table[static_cast<std::size_t>(index)];
}

}  // namespace

double DisbandRefund(const cWorld& world, cJednostka& unit) {
  const sScenarioConstants& c = world.constants;
  float factor = 0.0f;
  if (unit.category == kCategoryLand) factor = Entry(c.replacementFactors, unit.type);
  if (unit.category == kCategoryAir) factor = Entry(c.airCostFactorsA, unit.type - kUnitFighter);
  return static_cast<double>(unit.GetCombatStrength()) * 0.5 * static_cast<double>(factor);
}

void DisbandUnit(cWorld& world, cJednostka& unit) {
  if (cCountry* country = world.GetCountry(unit.countryId)) country->AddProductionPoints(DisbandRefund(world, unit));
  world.turnState.ForgetUnit(&unit);
  unit.Kill();
  world.turnState.Deselect(world);
}
