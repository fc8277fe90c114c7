// Records the tests put into a world by hand: countries, cities and patrol
// zones.
#pragma once

#include <initializer_list>
#include <memory>

#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

namespace twtest {

// A country with the next id (1, 2, ...), an alliance code and a name.
inline cCountry& AddCountry(cWorld& world, int alliance = 0, const wchar_t* name = nullptr) {
  auto country = std::make_unique<cCountry>();
  country->id = world.GetCountryCount() + 1;
  country->alliance = alliance;
  if (name) country->name = name;
  cCountry& added = *country;
  world.AddCountry(std::move(country));
  return added;
}

// A city of a type on (x, y), handed to the world.
inline cCity& AddCity(cWorld& world, int x, int y, int type = 0, const wchar_t* name = nullptr) {
  auto city = std::make_unique<cCity>();
  if (name) city->SetName(name);
  city->x = x;
  city->y = y;
  city->type = type;
  cCity& added = *city;
  world.AddCity(std::move(city));
  return added;
}

// Patrol zones as a file lists them, in order.
inline cPatrolZones PatrolZones(std::initializer_list<cPatrolZones::Entry> entries) {
  cPatrolZones zones;
  for (const auto& [zone, value] : entries) zones.Append(zone, value);
  return zones;
}

}  // namespace twtest
