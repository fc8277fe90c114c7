// A small world for the city tests: a map from its text description, cities,
// countries with alliance codes, wars, and stand-in land units (distinct
// addresses that are never dereferenced) whose countries the fixture knows.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "support/world_builders.h"
#include "world/map_text.h"

namespace twtest {

class CityWorld {
 public:
  explicit CityWorld(const char* mapText) {
    g_pWorld = &world;
    std::string error;
    EXPECT_TRUE(BuildMapFromText(mapText, world.GetMap(), error)) << error;
    SetLandUnitCountryFn(&UnitCountry);
  }
  ~CityWorld() {
    SetLandUnitCountryFn(nullptr);
    UnitCountries().clear();
    g_pWorld = nullptr;
  }
  CityWorld(const CityWorld&) = delete;
  CityWorld& operator=(const CityWorld&) = delete;

  cCity* AddCity(const wchar_t* name, int x, int y, int type) { return &twtest::AddCity(world, x, y, type, name); }

  // Countries 1..n with the given alliance codes, all at peace.
  void AddCountries(std::initializer_list<int> alliances) {
    for (int code : alliances) twtest::AddCountry(world, code);
    world.GetRelations().Reset(world.GetCountryCount());
  }
  void War(int a, int b) {
    world.GetRelations().SetAtWar(a, b, true);
    world.GetRelations().SetAtWar(b, a, true);
  }
  cCountry& Country(int id) { return *world.GetCountry(id); }

  void Control(int x, int y, int country) { world.GetMap().GetHex(x, y).controller = static_cast<std::uint8_t>(country); }
  // Puts a stand-in unit of the country on the hex.
  void PlaceUnit(int x, int y, int country) {
    auto* unit = reinterpret_cast<cJednostka*>(&tokens_[next_token_++]);
    UnitCountries()[unit] = country;
    world.GetMap().GetHex(x, y).unit = unit;
  }

  cWorld world;

 private:
  static std::map<const cJednostka*, int>& UnitCountries() {
    static std::map<const cJednostka*, int> units;
    return units;
  }
  static int UnitCountry(const cJednostka* unit) {
    auto it = UnitCountries().find(unit);
    return it == UnitCountries().end() ? 0 : it->second;
  }
  long tokens_[64] = {};
  int next_token_ = 0;
};

}  // namespace twtest
