// The country's units counted by type for its statistics.
#include <algorithm>

#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/unit.h"
#include "world/unit_lists.h"
#include "world/world.h"

namespace {

// One more unit in its row of the table (rows by type); a type without a
// row is not counted.
void CountInto(std::array<std::pair<int, int>, 16>& table, const std::array<int, 16>& rows, int type, bool reserve) {
  const auto it = std::find(rows.begin(), rows.end(), type);
  if (it == rows.end()) return;
  auto& pair = table[static_cast<std::size_t>(it - rows.begin())];
  (reserve ? pair.second : pair.first) += 1;
}

}  // namespace

sUnitCountsByType cCountry::CountUnitsByType(const cWorld& world) const {
  sUnitCountsByType counts;
  auto add = [&](const cUnit* unit, bool reserve) {
    if (unit == nullptr || unit->countryId != id) return;
    CountInto(counts.a, kUnitCountTableATypes, unit->type, reserve);
    CountInto(counts.b, kStatisticsUnitTypes, unit->type, reserve);
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
