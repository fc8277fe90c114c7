// A small loaded world for the land-unit tests: a map from rows of terrain
// letters (every land hex controlled and owned by country 1 unless changed),
// countries with alliance codes and wars, land units owned by the world's
// map list, and the land constants reset around each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "world/jednostka_ladowa.h"
#include "world/world.h"
#include "world/map_text.h"
#include "support/world_builders.h"

namespace twtest {

class LandWorld {
 public:
  // rows: one string of terrain letters per map row (see map_text.h).
  explicit LandWorld(std::vector<std::string> rows) : world(std::make_unique<cWorld>()) {
    g_pWorld = world.get();
    LandUnitConstants() = sLandUnitConstants{};
    std::string text = "size " + std::to_string(rows[0].size()) + " " + std::to_string(rows.size()) + "\nterrain\n";
    for (const std::string& row : rows) text += row + "\n";
    std::string error;
    EXPECT_TRUE(BuildMapFromText(text, world->GetMap(), error)) << error;
    for (sHex& hex : Map().Hexes()) hex.owner = hex.controller = hex.originalOwner = 1;
  }
  ~LandWorld() {
    world.reset();
    g_pWorld = nullptr;
    LandUnitConstants() = sLandUnitConstants{};
  }
  LandWorld(const LandWorld&) = delete;
  LandWorld& operator=(const LandWorld&) = delete;

  cMap& Map() { return world->GetMap(); }
  sHex& Hex(int x, int y) { return world->GetMap().GetHex(x, y); }

  // Countries 1..n with the given alliance codes, all at peace.
  void AddCountries(std::initializer_list<int> alliances) {
    for (int code : alliances) twtest::AddCountry(*world, code);
    world->GetRelations().Reset(world->GetCountryCount());
  }
  void War(int a, int b) {
    world->GetRelations().SetAtWar(a, b, true);
    world->GetRelations().SetAtWar(b, a, true);
  }
  cCountry& Country(int id) { return *world->GetCountry(id); }
  void Control(int x, int y, int country) { Hex(x, y).controller = static_cast<std::uint8_t>(country); }

  // A land unit of the country on (x, y), in the world's map list.
  cJednostkaLadowa& AddUnit(int x, int y, int country, int type = 0) {
    auto* unit = new cJednostkaLadowa(world.get());
    unit->countryId = country;
    unit->SetType(type);
    unit->x = x;
    unit->y = y;
    unit->visible = true;
    unit->strength = 100;
    world->Units().landUnits.push_back(unit);
    if (world->GetMap().IsInside(x, y)) Hex(x, y).unit = unit;
    return *unit;
  }

  cCity* AddCity(int x, int y, int type) { return &twtest::AddCity(*world, x, y, type); }

  // The unit's last range as rows of text: '*' the unit, '.' not in range,
  // otherwise the cost (0-9, then letters a=10 ...).
  std::vector<std::string> CostTable(const cJednostkaLadowa& unit) {
    std::vector<std::string> rows(Map().GetHeight(), std::string(Map().GetWidth(), '.'));
    for (const sReachableHex& e : unit.reachableHexes) {
      EXPECT_TRUE(Map().IsInside(e.x, e.y)) << e.x << "," << e.y;
      if (!Map().IsInside(e.x, e.y)) continue;
      EXPECT_EQ(rows[e.y][e.x], '.') << "listed twice: " << e.x << "," << e.y;
      rows[e.y][e.x] = e.cost < 10 ? static_cast<char>('0' + e.cost) : static_cast<char>('a' + e.cost - 10);
    }
    if (Map().IsInside(unit.x, unit.y)) rows[unit.y][unit.x] = '*';
    return rows;
  }

  // The move marks (4, 8, 16) as rows: '.' none, 's' spare, 'f' few, 'n'
  // none left, '?' a mixture.
  std::vector<std::string> MarkTable() {
    std::vector<std::string> rows(Map().GetHeight(), std::string(Map().GetWidth(), '.'));
    for (const sHex& hex : Map().Hexes()) {
      const std::uint32_t bits = hex.markBits & kMarkMoveAll;
      rows[hex.y][hex.x] = bits == 0                ? '.'
                           : bits == kMarkMoveSpare ? 's'
                           : bits == kMarkMoveFew   ? 'f'
                           : bits == kMarkMoveNone  ? 'n'
                                                    : '?';
    }
    return rows;
  }

  std::unique_ptr<cWorld> world;
};

}  // namespace twtest
