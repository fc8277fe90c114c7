// What artificial harbours and ships near a coast add to the supply of the
// land units around them, after the calculation of the supply network.
#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "app/console_log.h"
#include "rules/supply.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex_changes.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_morska.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace {

// The value of a ship type 40..45 in a table of six; 0 for another type.
int ShipValue(const std::array<int, 6>& table, int type) {
  const int slot = type - kUnitAircraftCarrier;
  return slot >= 0 && slot < 6 ? table[static_cast<std::size_t>(slot)] : 0;
}

bool IsComputerControlled(const cWorld& world, const cCountry& country) {
  return !country.human && (country.pbemPlayerId < 1 || !world.playByEmail);
}

// The supply the ships in the zone give a land unit of the country.
int ZoneShipSupply(const cWorld& world, int seaZone, const cCountry& country) {
  const sScenarioConstants& k = world.constants;
  int total = 0;
  int own = 0;
  for (const cJednostkaMorska* ship : world.Units().navalUnits) {
    if (ship == nullptr || ship->fleet == nullptr || ship->fleet->seaNode != seaZone) continue;
    if (ship->countryId == country.id) {
      const int value = ShipValue(k.ownShipSupply, ship->type);
      total += value;
      own += value;
    } else if (country.IsAtWarWith(ship->countryId)) {
      total -= ShipValue(k.enemyShipSupply, ship->type);
    }
  }
  if (IsComputerControlled(world, country) && k.aiShipSupply != 0 && own > 0) total = k.shipSupplyLimit;
  return std::min(total, k.shipSupplyLimit);
}

}  // namespace

void SpreadMulberrySupply(cWorld& world, const cJednostka& harbour) {
  cMap& map = world.GetMap();
  const float range = world.constants.mulberryValues[1];
  const cCountry* owner = world.GetCountry(harbour.countryId);
  if (owner == nullptr || !map.IsInside(harbour.x, harbour.y)) return;
  const int width = map.GetWidth();
  // An iterative flood: each hex is looked at once, however far the range.
  std::vector<std::uint8_t> visited(static_cast<std::size_t>(width) * map.GetHeight(), 0);
  std::vector<sMapCoord> queue{{harbour.x, harbour.y}};
  visited[static_cast<std::size_t>(harbour.y) * width + harbour.x] = 1;
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const sMapCoord at = queue[next];
    const int distance = HexDistance(harbour.x, harbour.y, at.x, at.y);
    if (static_cast<float>(distance) >= range) continue;
    if (cJednostka* unit = map.GetHex(at.x, at.y).unit) {
      if (unit->countryId == owner->id || owner->IsAlliedWith(unit->countryId)) {
        if (unit->category == kCategoryLand) unit->turnsWithoutSupply = 0;
        const int value = static_cast<int>(range - static_cast<float>(distance));
        if (unit->supply < value) unit->SetSupply(value);
      }
    }
    for (int dir = 0; dir < 6; ++dir) {
      sHex* n = map.GetNeighbour(at.x, at.y, dir);
      if (n == nullptr || n->IsWater()) continue;
      std::uint8_t& seen = visited[static_cast<std::size_t>(n->y) * width + n->x];
      if (seen != 0 || !IsControllerFriendlyTo(n->controller, *owner)) continue;
      seen = 1;
      queue.push_back({n->x, n->y});
    }
  }
}

void PullSupplyFromMulberries(cWorld& world) {
  LogLine(L"Supply: artificial harbours");
  LockedStep([&] {
    for (cJednostkaLadowa* unit : world.Units().landUnits) {
      if (unit == nullptr || !unit->IsHarbour()) continue;
      unit->turnsWithoutSupply = 0;
      SpreadMulberrySupply(world, *unit);
    }
  });
}

std::vector<sCoastalHex> FindCoastalHexesBySeaZone(const cWorld& world, int x, int y, int range, int countryId) {
  const cMap& map = world.GetMap();
  std::map<int, sCoastalHex> byZone;
  const cCountry* country = world.GetCountry(countryId);
  if (!map.IsInside(x, y)) return {};
  const int width = map.GetWidth();
  std::set<int> frontier{y * width + x};
  std::set<int> visited;
  while (!frontier.empty()) {
    const int index = *frontier.begin();
    frontier.erase(frontier.begin());
    visited.insert(index);
    const sHex& hex = map.GetHex(index % width, index / width);
    if (IsHexCoastal(hex)) {
      auto found = byZone.find(hex.seaZone);
      if (found == byZone.end()) {
        byZone[hex.seaZone] = {hex.x, hex.y, hex.seaZone};
      } else if (HexDistance(x, y, hex.x, hex.y) < HexDistance(x, y, found->second.x, found->second.y)) {
        found->second = {hex.x, hex.y, hex.seaZone};
      }
    }
    for (int dir = 0; dir < 6; ++dir) {
      const sHex* n = map.GetNeighbour(hex.x, hex.y, dir);
      if (n == nullptr || country == nullptr || !IsControllerFriendlyTo(n->controller, *country)) continue;
      if (HexDistance(x, y, n->x, n->y) > range) continue;
      const int key = n->y * width + n->x;
      if (visited.count(key) == 0) frontier.insert(key);
    }
  }
  std::vector<sCoastalHex> result;
  for (const auto& [zone, coastal] : byZone) result.push_back(coastal);
  return result;
}

void PullSupplyFromShips(cWorld& world) {
  LogLine(L"Supply: ships off the coast");
  const sScenarioConstants& k = world.constants;
  LockedStep([&] {
    for (cJednostkaLadowa* unit : world.Units().landUnits) {
      if (unit == nullptr || !world.GetMap().IsInside(unit->x, unit->y)) continue;
      if (unit->supply >= k.shipSupplyLimit && unit->turnsWithoutSupply <= 0) continue;
      const cCountry* country = world.GetCountry(unit->countryId);
      if (country == nullptr) continue;
      int best = 0;
      for (const sCoastalHex& coast : FindCoastalHexesBySeaZone(world, unit->x, unit->y, k.coastSearchRange, country->id)) {
        const int total = ZoneShipSupply(world, coast.seaZone, *country);
        best = std::max(best, total - HexDistance(unit->x, unit->y, coast.x, coast.y));
      }
      if (best > 0 && (best > unit->supply || unit->turnsWithoutSupply > 0)) {
        LogLine(L"Supply: %s draws %i from ships", unit->name, best);
        unit->turnsWithoutSupply = 0;
        unit->SetSupply(best);
      }
    }
  });
}
