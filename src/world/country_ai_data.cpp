#include "world/country_ai_data.h"

#include <algorithm>

#include "world/cities.h"

namespace {

bool IsAt(const cCity* city, int x, int y) { return city != nullptr && city->x == x && city->y == y; }

}  // namespace

int sCountryAiData::GetSeaZonePatrolValue(int seaZone) const {
  const auto it = seaZonesToPatrol.find(seaZone);
  return it == seaZonesToPatrol.end() ? 0 : it->second;
}

bool sCountryAiData::IsExtraCityToGarrison(int x, int y) const {
  return std::any_of(extraCitiesToGarrison.begin(), extraCitiesToGarrison.end(),
                     [&](const cCity* city) { return IsAt(city, x, y); });
}

void sCountryAiData::RemoveDoNotAttackCity(int x, int y) {
  const auto it = std::find_if(doNotAttackCities.begin(), doNotAttackCities.end(),
                               [&](const cCity* city) { return IsAt(city, x, y); });
  if (it == doNotAttackCities.end()) return;
  // The file may list a city twice: every entry of it goes.
  cCity* const city = *it;
  std::erase(doNotAttackCities, city);
}
