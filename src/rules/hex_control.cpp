#include "rules/hex_control.h"

#include <algorithm>
#include <vector>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/framework_lock.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/capture.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/unit_lists.h"
#include "world/world.h"

namespace {

// The unit leaves the map for its country's reserve pool, and the turn
// state forgets it.
void SendToReserve(cWorld& world, cJednostka& unit) {
  world.turnState.ForgetUnit(&unit);
  unit.MoveToReservePool();
}

// A unit on a hex that now belongs to the country, when it is not the
// country's nor allied with it, goes to its reserve pool.
void EvictStranger(cWorld& world, sHex& hex, int countryId) {
  cJednostka* unit = hex.unit;
  if (!unit || unit->countryId == countryId || AreAllied(world, unit->countryId, countryId)) return;
  SendToReserve(world, *unit);
}

// The fleets in the port on (x, y), when it now belongs to the country and
// they are not the country's nor allied with it, put to sea in the first sea
// zone linked to the port (cFleet::LeaveEnemyPort), as they do from a port
// taken by a unit; one that has no such zone stays, with the error line.
void EvictStrangerFleets(cWorld& world, int x, int y, int countryId) {
  const cCity* city = world.GetMap().GetHex(x, y).city;
  if (!city || !city->IsPort()) return;
  const int node = world.GetSeaGraph().FindNodeIdByMainHex(x, y);
  if (node < 0) return;  // a port the sea graph does not know holds no fleet
  for (cFleet* fleet : world.Units().fleets) {
    if (!fleet || fleet->seaNode != node) continue;
    if (fleet->country == countryId || AreAllied(world, fleet->country, countryId)) continue;
    if (!fleet->LeaveEnemyPort(world)) {
      LogLine(L"ERROR: %s cannot retreat to adjacent seazone from captured port!", fleet->name.c_str());
    }
  }
}

bool ChangeStripe(cWorld& world, int x, int y0, int n, int countryId, bool originalToo) {
  cMap& map = world.GetMap();
  if (x < 0 || x >= map.GetWidth() || y0 < 0 || y0 >= map.GetHeight() || n <= 0 || y0 + n - 1 >= map.GetHeight()) {
    LogLine(plat::Format(
        g_StringBase.GetText("error:_hexstripe.changecontrollerandowner(%i_%i_%i_%i)_incorrect_parameter(s)!_ignoring_this..."),
        x, y0, n, countryId));
    return false;
  }
  for (int y = y0; y < y0 + n; ++y) {
    sHex& hex = map.GetHex(x, y);
    SetHexController(map, hex, countryId);
    SetHexOwner(map, hex, countryId);
    if (originalToo) hex.originalOwner = static_cast<std::uint8_t>(countryId);
    EvictStranger(world, hex, countryId);
    EvictStrangerFleets(world, x, y, countryId);
  }
  return true;
}

}  // namespace

void AbsorbHexesWithoutSupply(cWorld& world) {
  // The end of an impulse runs it on the worker: one locked step.
  const cFrameworkLockGuard lock;
  LogLine(L"Wchlaniam hexy bez zaopatrzenia");
  cMap& map = world.GetMap();
  const int width = map.GetWidth();
  const int height = map.GetHeight();
  if (width <= 0 || height <= 0) return;
  // Reach: the controller whose city's land reaches the cell, -1 for none.
  std::vector<int> reach(static_cast<std::size_t>(width) * height, -1);
  auto at = [&](int x, int y) -> int& { return reach[static_cast<std::size_t>(y) * width + x]; };
  std::vector<sMapCoord> queue;
  for (const cCity* city : world.Cities()) {
    if (!city || !map.IsInside(city->x, city->y)) continue;
    at(city->x, city->y) = map.GetHex(city->x, city->y).controller;
    queue.push_back({city->x, city->y});
  }
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const sMapCoord cell = queue[next];
    const int from = map.GetHex(cell.x, cell.y).controller;
    if (from == 0) continue;
    for (int dir = 0; dir < 6; ++dir) {
      int nx = 0, ny = 0;
      HexNeighbourCoords(cell.x, cell.y, dir, nx, ny);
      if (!map.IsInside(nx, ny) || at(nx, ny) >= 0) continue;
      const int c = map.GetHex(nx, ny).controller;
      if (c == 0) continue;
      if (c == from || AreAllied(world, c, from)) {
        at(nx, ny) = c;
        queue.push_back({nx, ny});
      }
    }
  }
  struct sCandidate {
    int x, y, to;
  };
  std::vector<sCandidate> candidates;
  // Row by row, as the cells lie in memory; taken over column by column.
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const sHex& hex = map.GetHex(x, y);
      if (!hex.IsLand() || at(x, y) >= 0 || hex.controller == 0) continue;
      for (int dir = 0; dir < 6; ++dir) {
        int nx = 0, ny = 0;
        HexNeighbourCoords(x, y, dir, nx, ny);
        if (!map.IsInside(nx, ny) || at(nx, ny) < 0) continue;
        const int c = map.GetHex(nx, ny).controller;
        if (c != 0 && AreAtWar(world, hex.controller, c)) {
          candidates.push_back({x, y, c});
          break;
        }
      }
    }
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const sCandidate& a, const sCandidate& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
  const float radius = world.constants.mulberryValues[1];
  // The artificial harbours, gathered once: few against many candidates.
  std::vector<const cJednostkaLadowa*> harbours;
  for (const cJednostkaLadowa* unit : world.Units().landUnits) {
    if (unit && unit->IsHarbour()) harbours.push_back(unit);
  }
  for (const sCandidate& candidate : candidates) {
    sHex& hex = map.GetHex(candidate.x, candidate.y);
    if (hex.unit) continue;
    bool protectedByHarbour = false;
    for (const cJednostkaLadowa* unit : harbours) {
      if (unit->countryId != hex.controller && !AreAllied(world, unit->countryId, hex.controller)) continue;
      if (static_cast<float>(HexDistance(unit->x, unit->y, candidate.x, candidate.y)) < radius) {
        protectedByHarbour = true;
        break;
      }
    }
    if (!protectedByHarbour) SetHexController(map, hex, candidate.to);
  }
}

bool HandleUnitOnAnnexedHex(cWorld& world, int annexed, cJednostka& unit) {
  if (AreAllied(world, unit.countryId, annexed)) {
    SendToReserve(world, unit);
    return true;
  }
  if (AreAtWar(world, unit.countryId, annexed)) return true;
  LogLine(plat::Format(g_StringBase.GetText("critical_error!_while_annexing,_unit_%s_was_found"), unit.name));
  const cCountry* country = world.GetCountry(unit.countryId);
  LogLine(plat::Format(g_StringBase.GetText("it_belongs_to_%s,_but_this_country_isn't_ally_or_enemy_of_annexed_nation"),
                       country ? country->name : std::wstring()));
  LogLine(L"And if its not enemy or ally - it cannot occupy this hex! Report this as a bug! Exiting.");
  FatalExit(1);
}

void AnnexCountry(cWorld& world, int annexed, int annexer) {
  cMap& map = world.GetMap();
  for (int y = 0; y < map.GetHeight(); ++y) {
    for (int x = 0; x < map.GetWidth(); ++x) {
      sHex& hex = map.GetHex(x, y);
      if (hex.controller == annexed) {
        if (hex.owner == annexed) {
          SetHexController(map, hex, annexer);
          SetHexOwner(map, hex, annexer);
        } else {
          SetHexController(map, hex, hex.owner);
        }
        if (hex.unit) HandleUnitOnAnnexedHex(world, annexed, *hex.unit);
        EvacuatePort(world, x, y);
      } else if (hex.owner == annexed) {
        SetHexOwner(map, hex, hex.controller);
      }
    }
  }
}

void TransferCountryTerritory(cWorld& world, int from, int to) {
  cMap& map = world.GetMap();
  for (int y = 0; y < map.GetHeight(); ++y) {
    for (int x = 0; x < map.GetWidth(); ++x) {
      sHex& hex = map.GetHex(x, y);
      if (hex.controller != from) continue;
      SetHexController(map, hex, to);
      SetHexOwner(map, hex, to);
      hex.originalOwner = static_cast<std::uint8_t>(to);
      EvictStranger(world, hex, to);
      EvictStrangerFleets(world, x, y, to);
    }
  }
}

void ReturnOccupiedHexes(cWorld& world, int countryId) {
  cMap& map = world.GetMap();
  for (sHex& hex : map.Hexes()) {
    if (hex.controller != hex.owner && (hex.controller == countryId || hex.owner == countryId)) {
      SetHexController(map, hex, hex.owner);
    }
  }
}

bool ChangeHexStripeControllerAndOwner(cWorld& world, int x, int y0, int n, int countryId) {
  return ChangeStripe(world, x, y0, n, countryId, false);
}

bool ChangeHexStripeControllerOwnerAndOriginalOwner(cWorld& world, int x, int y0, int n, int countryId) {
  return ChangeStripe(world, x, y0, n, countryId, true);
}
