#include "world/country_ai_data.h"

#include <algorithm>

#include "world/cities.h"

namespace {

bool IsAt(const cCity* city, int x, int y) { return city != nullptr && city->x == x && city->y == y; }

}  // namespace

void cPatrolZones::Set(int zone, int value) {
  for (Entry& entry : entries_) {
    if (entry.first == zone) {
      entry.second = value;
      return;
    }
  }
  Append(zone, value);
}

void cPatrolZones::RemoveFirst(int zone) {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [zone](const Entry& e) { return e.first == zone; });
  if (it != entries_.end()) entries_.erase(it);
}

const cPatrolZones::Entry* cPatrolZones::Find(int zone) const {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [zone](const Entry& e) { return e.first == zone; });
  return it == entries_.end() ? nullptr : &*it;
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
