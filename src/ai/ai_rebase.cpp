// The computer's air rebasing: an air unit with an enemy too near flies to
// the nearest safe hex near a friendly city; one in safety flies toward the
// hexes with the most enemies in reach when that pays. The move itself is
// the rebase rule's (its check, its locked step, its shown delays).
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

#include "ai/ai_air.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "rules/air_orders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

constexpr int kFortHoldsUnits = 5;  // enemy units this deep in a fort do not count
constexpr float kSafeDistanceMargin = 1.3f;
constexpr float kLeastRebaseSupplyShare = 0.33f;
constexpr int kCityTypeNoAirBase = 4;

bool IsFriendlyFreeLand(const cWorld& world, int countryId, int x, int y) {
  const cMap& map = world.GetMap();
  if (x < 0 || y < 0 || x >= map.GetWidth() || y >= map.GetHeight()) return false;
  const sHex& hex = map.GetHex(x, y);
  return hex.IsLand() && hex.unit == nullptr && hex.controller != 0 &&
         IsControllerFriendlyTo(world, hex.controller, countryId);
}

}  // namespace

int CountEnemyLandUnitsWithin(const cWorld& world, const sAiUnitLists& lists, int x, int y, int distance) {
  int n = 0;
  for (const cJednostkaLadowa* enemy : lists.enemyLand) {
    if (HexDistance(x, y, enemy->x, enemy->y) > distance) continue;
    if (world.GetMap().GetHex(enemy->x, enemy->y).fortification >= kFortHoldsUnits) continue;
    ++n;
  }
  return n;
}

int GetDistanceToNearestEnemyLandUnit(const sAiUnitLists& lists, int x, int y) {
  int best = INT_MAX;
  for (const cJednostkaLadowa* enemy : lists.enemyLand) best = std::min(best, HexDistance(x, y, enemy->x, enemy->y));
  return best;
}

std::vector<sRebaseHex> CollectRebaseHexes(const cWorld& world, const cJednostkaLotnicza& unit,
                                           const sAiUnitLists& lists, sRebaseHexCache* cache) {
  std::vector<sRebaseHex> out;
  const int range = unit.GetRange(world);
  const cMap& hexes = world.GetMap();
  // The rings of neighbouring cities overlap: a hex met again adds nothing.
  std::vector<std::uint8_t> met(
      static_cast<std::size_t>(hexes.GetWidth()) * static_cast<std::size_t>(hexes.GetHeight()), 0);
  auto consider = [&](int x, int y) {
    if (!IsFriendlyFreeLand(world, unit.countryId, x, y)) return;
    std::uint8_t& seen =
        met[static_cast<std::size_t>(y) * static_cast<std::size_t>(hexes.GetWidth()) + static_cast<std::size_t>(x)];
    if (seen) return;
    seen = 1;
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(range)) << 40) |
                              (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 20) |
                              static_cast<std::uint64_t>(static_cast<std::uint32_t>(y));
    if (cache != nullptr) {
      const auto found = cache->figures.find(key);
      if (found != cache->figures.end()) {
        out.push_back({x, y, found->second.first, found->second.second});
        return;
      }
    }
    const std::pair<int, int> figures{CountEnemyLandUnitsWithin(world, lists, x, y, range),
                                      GetDistanceToNearestEnemyLandUnit(lists, x, y)};
    if (cache != nullptr) cache->figures.emplace(key, figures);
    out.push_back({x, y, figures.first, figures.second});
  };
  const cMap& map = world.GetMap();
  for (const cCity* city : world.Cities()) {
    if (city->type == kCityTypeNoAirBase) continue;
    const int controller = city->GetControllerId();
    if (controller == 0 || !IsControllerFriendlyTo(world, controller, unit.countryId)) continue;
    if (HexDistance(unit.x, unit.y, city->x, city->y) >= unit.GetRebaseRange(world) - 2) continue;
    for (int d = 0; d < 6; ++d) {
      if (!map.HasNeighbour(city->x, city->y, d)) continue;
      const sMapCoord n = map.GetNeighbourCoord(city->x, city->y, d);
      consider(n.x, n.y);
      for (int e = 0; e < 6; ++e) {
        if (!map.HasNeighbour(n.x, n.y, e)) continue;
        const sMapCoord m = map.GetNeighbourCoord(n.x, n.y, e);
        consider(m.x, m.y);
      }
    }
  }
  return out;
}

int RebaseAirUnits(cWorld& world, cCountry& country, sAiUnitLists& lists) {
  LogLine(L"[AI]: %s - Rebasing air units", country.name.c_str());
  DropDeadUnits(world, lists);
  const int safe = static_cast<int>(world.constants.Value(4, 6));
  const int leastSupply = static_cast<int>(kLeastRebaseSupplyShare * static_cast<float>(world.constants.maxSupply));
  int rebased = 0;
  const std::vector<cJednostkaLotnicza*> own = lists.ownAir;
  // Rebasing moves no land unit: the enemy figures of a hex hold for the pass.
  sRebaseHexCache cache;
  for (cJednostkaLotnicza* unit : own) {
    if (WorkerStopping(world)) break;
    if (!IsUnitInWorldLists(world, unit) || unit->actionPoints == 0 || unit->actionPoints != unit->startingActionPoints ||
        unit->supply < leastSupply) {
      continue;
    }
    const std::vector<sRebaseHex> candidates = CollectRebaseHexes(world, *unit, lists, &cache);
    const int d = GetDistanceToNearestEnemyLandUnit(lists, unit->x, unit->y);
    const sRebaseHex* pick = nullptr;
    if (d < safe) {
      // Away from danger: the nearest hex that is safe enough.
      const int least = static_cast<int>(kSafeDistanceMargin * static_cast<float>(safe));
      for (const sRebaseHex& c : candidates) {
        if (c.enemyDistance < least) continue;
        if (pick == nullptr || c.enemyDistance < pick->enemyDistance ||
            (c.enemyDistance == pick->enemyDistance && c.enemiesNear > pick->enemiesNear)) {
          pick = &c;
        }
      }
    } else {
      // Toward the targets: the safe hex with the most enemies in reach,
      // worth it only when it reaches clearly more than the unit's hex.
      const int here = CountEnemyLandUnitsWithin(world, lists, unit->x, unit->y, unit->GetRange(world));
      for (const sRebaseHex& c : candidates) {
        if (c.enemyDistance <= safe) continue;
        if (pick == nullptr || c.enemiesNear > pick->enemiesNear) pick = &c;
      }
      if (pick != nullptr && (pick->x == unit->x || pick->y == unit->y || pick->enemiesNear <= 3 * here)) {
        pick = nullptr;
      }
    }
    if (pick == nullptr) continue;
    const int fromX = unit->x, fromY = unit->y;
    const eAirOrderRefusal refusal = AiRebase(world, *unit, pick->x, pick->y);
    if (refusal != eAirOrderRefusal::kNone) {
      LogLine(L"[AI]: %s - rebase of %s to (%i,%i) refused (%hs)", country.name.c_str(), unit->name.c_str(), pick->x,
              pick->y, AirOrderRefusalKey(refusal));
      continue;
    }
    LogLine(L"[AI]: %s - %s rebased from (%i,%i) to (%i,%i)", country.name.c_str(), unit->name.c_str(), fromX, fromY,
            pick->x, pick->y);
    ++rebased;
  }
  return rebased;
}

}  // namespace ai
