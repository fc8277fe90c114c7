// The country's units counted by type for its statistics.
#include <algorithm>

#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/unit.h"
#include "world/unit_lists.h"
#include "world/world.h"

std::array<std::pair<int, int>, 16> cCountry::CountUnitsByType(const cWorld& world) const {
  std::array<std::pair<int, int>, kStatisticsUnitTypes.size()> counts{};
  auto add = [&](const cUnit* unit, bool reserve) {
    if (unit == nullptr || unit->countryId != id) return;
    const auto it = std::find(kStatisticsUnitTypes.begin(), kStatisticsUnitTypes.end(), unit->type);
    if (it == kStatisticsUnitTypes.end()) return;
    auto& pair = counts[static_cast<std::size_t>(it - kStatisticsUnitTypes.begin())];
    (reserve ? pair.second : pair.first) += 1;
  };
  const sUnitLists& units = world.Units();
  for (const cUnit* unit : units.landUnits) add(unit, false);
  for (const cUnit* unit : units.carriedUnitsA) add(unit, false);
  for (const cUnit* unit : units.carriedUnitsB) add(unit, false);
  for (const cUnit* unit : units.airUnits) add(unit, false);
  for (const cUnit* unit : units.navalUnits) add(unit, false);
  for (const cUnit* unit : units.reservePool) add(unit, true);
  for (const cUnit* unit : units.navalReservePool) add(unit, true);
  return counts;
}
