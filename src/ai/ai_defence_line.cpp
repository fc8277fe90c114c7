// The computer's line of defence: where a front is weak or critical, a
// continuous line of hexes is laid between the front nodes that face the
// enemy (the best short path between each pair of neighbouring facing
// nodes), trimmed of spurs and corners; then the units ordered to the line
// (order 5) move onto its free hexes through the land move orders and hold
// there (order 9).
#include <algorithm>
#include <limits>

#include "ai/ai_air.h"
#include "ai/ai_fronts.h"
#include "ai/ai_unit_lists.h"
#include "app/console_log.h"
#include "rules/land_move_orders.h"
#include "world/ai_orders.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/hex_ownership.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/worker_steps.h"
#include "world/world.h"

namespace ai {
namespace {

constexpr int kNodeSpacing = 4;
constexpr std::uint8_t kMarkNode = 1;
constexpr std::uint8_t kMarkFacingNode = 2;
constexpr std::uint8_t kMarkLine = 3;

// A front node that faces the enemy: bit d of sides is set when the enemy
// lies in direction d.
struct sDefenceNode {
  int x = 0, y = 0;
  unsigned sides = 0;
};

// The line neighbours of (x, y) (hexes with the line mark); the direction
// of each found is set in dirs.
int CountLineNeighbours(const cMap& map, int x, int y, bool dirs[6]) {
  int n = 0;
  for (int d = 0; d < 6; ++d) {
    dirs[d] = false;
    if (!map.HasNeighbour(x, y, d)) continue;
    const sMapCoord c = map.GetNeighbourCoord(x, y, d);
    if (map.GetFrontMark(c.x, c.y) == kMarkLine) {
      dirs[d] = true;
      ++n;
    }
  }
  return n;
}

// One line neighbour, and that neighbour has more than two.
bool IsLineSpur(const cMap& map, int x, int y) {
  bool dirs[6];
  if (CountLineNeighbours(map, x, y, dirs) != 1) return false;
  for (int d = 0; d < 6; ++d) {
    if (!dirs[d]) continue;
    const sMapCoord c = map.GetNeighbourCoord(x, y, d);
    bool other[6];
    return CountLineNeighbours(map, c.x, c.y, other) > 2;
  }
  return false;
}

// Exactly two line neighbours in consecutive directions d and d + 1 (5 and
// 0 do not count as consecutive): the two touch, so the hex adds nothing.
bool IsLineCorner(const cMap& map, int x, int y) {
  bool dirs[6];
  if (CountLineNeighbours(map, x, y, dirs) != 2) return false;
  for (int d = 0; d < 5; ++d) {
    if (dirs[d] && dirs[d + 1]) return true;
  }
  return false;
}

// Removes, one at a time against the current marks, every line hex the
// predicate holds for. Returns the number removed.
template <class Predicate>
int RemoveLineHexesIf(cMap& map, std::vector<sMapCoord>& line, Predicate predicate) {
  int removed = 0;
  for (auto it = line.begin(); it != line.end();) {
    if (predicate(map, it->x, it->y)) {
      map.SetFrontMark(it->x, it->y, 0);
      it = line.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  return removed;
}

int ScoreDefencePath(const cWorld& world, int countryId, const std::vector<sMapCoord>& path, int limit,
                     unsigned sides) {
  int score = (limit - static_cast<int>(path.size()) - 1) * 10;
  for (const sMapCoord& c : path) {
    const sHex& hex = world.GetMap().GetHex(c.x, c.y);
    if (hex.terrain >= kTerrainForest && hex.terrain <= kTerrainMountain) score += 4;
    for (int d = 0; d < 6; ++d) {
      if ((sides & (1u << d)) != 0 && hex.HasRiverOnSide(d)) score += 6;
    }
    if (hex.city != nullptr) {
      const int controller = hex.city->GetControllerId();
      if (controller != 0 && IsControllerFriendlyTo(world, controller, countryId)) score += 15;
    }
  }
  return score;
}

// The best path found so far: its score and hexes (the first found keeps a
// tie).
struct sBestDefencePath {
  int limit = 0;
  unsigned sides = 0;
  int score = std::numeric_limits<int>::min();
  std::vector<sMapCoord> path;
};

// Walks every path from path.back() towards (x2, y2), scoring each that
// arrives as it is found: no list of all paths is kept.
void FindDefencePaths(const cWorld& world, int countryId, int x2, int y2, std::vector<sMapCoord>& path,
                      sBestDefencePath& best) {
  const sMapCoord here = path.back();
  if (here.x == x2 && here.y == y2) {
    const int score = ScoreDefencePath(world, countryId, path, best.limit, best.sides);
    if (score > best.score) {
      best.score = score;
      best.path = path;
    }
    return;
  }
  if (static_cast<int>(path.size()) >= best.limit) return;
  const cMap& map = world.GetMap();
  const int distance = HexDistance(here.x, here.y, x2, y2);
  for (int d = 0; d < 6; ++d) {
    if (!map.HasNeighbour(here.x, here.y, d)) continue;
    const sMapCoord next = map.GetNeighbourCoord(here.x, here.y, d);
    if (!IsHexLandNotNeutralFor(world, map.GetHex(next.x, next.y), countryId)) continue;
    if (HexDistance(next.x, next.y, x2, y2) > distance) continue;
    if (std::find(path.begin(), path.end(), next) != path.end()) continue;
    if (path.size() >= 2) {
      const sMapCoord back = path[path.size() - 2];
      if (HexDistance(back.x, back.y, next.x, next.y) <= 1) continue;
    }
    path.push_back(next);
    FindDefencePaths(world, countryId, x2, y2, path, best);
    path.pop_back();
  }
}

// Abandons the line: marks cleared, nothing kept.
std::vector<sMapCoord> Abandon(cMap& map, const cCountry& country) {
  LogLine(L"Error! Sanity check failed");
  LogLine(L"[AI]: %s - line of defence abandoned", country.name.c_str());
  map.ClearFrontMarks();
  return {};
}

}  // namespace

bool ShouldBuildLineOfDefence(const std::vector<sAiFront>& fronts) {
  return std::any_of(fronts.begin(), fronts.end(),
                     [](const sAiFront& f) { return f.state == kFrontWeak || f.state == kFrontCritical; });
}

std::vector<sMapCoord> FindBestDefencePath(const cWorld& world, int countryId, int x1, int y1, int x2, int y2,
                                           unsigned sideFlags) {
  sBestDefencePath best;
  best.limit = 2 * HexDistance(x1, y1, x2, y2) - 2;
  best.sides = sideFlags;
  std::vector<sMapCoord> path{{x1, y1}};
  FindDefencePaths(world, countryId, x2, y2, path, best);
  return best.path;
}

std::vector<sMapCoord> BuildLineOfDefence(cWorld& world, const cCountry& country) {
  LogLine(L"[AI]: %s - Building the line of defence", country.name.c_str());
  // The map's front marks and node lattice are shared with the main thread's
  // drawing: the whole build is one locked step (no wait inside).
  return LockedStep([&]() -> std::vector<sMapCoord> {
    cMap& map = world.GetMap();
    const int width = map.GetWidth();
    std::vector<int> grid(static_cast<std::size_t>(width) * static_cast<std::size_t>(map.GetHeight()), -1);
    auto cell = [&](int x, int y) -> int& { return grid[static_cast<std::size_t>(y) * width + x]; };
    map.ClearFrontMarks();
    const std::list<sMapCoord>& lattice = map.SetFrontNodeDistance(kNodeSpacing);
    for (const sMapCoord& c : lattice) map.SetFrontMark(c.x, c.y, kMarkNode);

    std::vector<sDefenceNode> facing;
    for (const sMapCoord& c : lattice) {
      const int here = map.GetHex(c.x, c.y).controller;
      if (here == 0 || !IsControllerFriendlyTo(world, here, country.id)) continue;
      for (int d = 0; d < 6; ++d) {
        const sMapCoord o = map.GetFrontNodeCoord(c.x, c.y, d);
        if (!map.IsInside(o.x, o.y) || map.GetFrontMark(o.x, o.y) == 0) continue;
        if (!AreAtWar(world, here, map.GetHex(o.x, o.y).controller)) continue;
        if (!HexesInSameTopographyGroup(world, c.x, c.y, o.x, o.y)) continue;
        if (cell(c.x, c.y) < 0) {
          map.SetFrontMark(c.x, c.y, kMarkFacingNode);
          cell(c.x, c.y) = static_cast<int>(facing.size());
          facing.push_back({c.x, c.y, 0});
        }
        facing[static_cast<std::size_t>(cell(c.x, c.y))].sides |= 1u << d;
      }
    }

    std::vector<sMapCoord> line;
    for (const sDefenceNode& node : facing) {
      for (int d = 0; d < 3; ++d) {
        const sMapCoord o = map.GetFrontNodeCoord(node.x, node.y, d);
        if (!map.IsInside(o.x, o.y) || map.GetFrontMark(o.x, o.y) != kMarkFacingNode) continue;
        if (cell(o.x, o.y) < 0) return Abandon(map, country);
        const unsigned sides = node.sides | facing[static_cast<std::size_t>(cell(o.x, o.y))].sides;
        for (const sMapCoord& c : FindBestDefencePath(world, country.id, node.x, node.y, o.x, o.y, sides)) {
          if (std::find(line.begin(), line.end(), c) == line.end()) line.push_back(c);
        }
      }
    }
    for (const sMapCoord& c : line) map.SetFrontMark(c.x, c.y, kMarkLine);
    RemoveLineHexesIf(map, line, IsLineSpur);
    // Each pass removes a hex of a finite line or ends the loop.
    while (RemoveLineHexesIf(map, line, IsLineCorner) > 0) {
    }
    LogLine(L"[AI]: %s - line of defence of %i hexes", country.name.c_str(), static_cast<int>(line.size()));
    return line;
  });
}

int HoldLineOfDefence(cWorld& world, cCountry& country, sAiUnitLists& lists, const std::vector<sMapCoord>& line) {
  DropDeadUnits(world, lists);
  auto freeNearest = [&](int tx, int ty, const cJednostkaLadowa* inRangeOf) {
    sMapCoord best{-1, -1};
    int bestDistance = std::numeric_limits<int>::max();
    for (const sMapCoord& c : line) {
      if (world.GetMap().GetHex(c.x, c.y).unit != nullptr) continue;
      if (inRangeOf != nullptr) {
        const auto& range = inRangeOf->MoveRange();
        if (std::none_of(range.begin(), range.end(), [&](const auto& e) { return e.x == c.x && e.y == c.y; })) {
          continue;
        }
      }
      const int d = HexDistance(c.x, c.y, tx, ty);
      if (d < bestDistance) {
        bestDistance = d;
        best = c;
      }
    }
    return best;
  };
  auto onLine = [&](int x, int y) { return std::find(line.begin(), line.end(), sMapCoord{x, y}) != line.end(); };
  int handled = 0;
  // Every unit handled leaves order 5, so each is handled once.
  const std::vector<cJednostkaLadowa*> own = lists.ownLand;
  for (cJednostkaLadowa* unit : own) {
    if (WorkerStopping(world)) break;
    if (!IsUnitInWorldLists(world, unit) || unit->aiOrder != kAiToLine) continue;
    const int tx = unit->aiTargetX, ty = unit->aiTargetY;
    if (unit->x == tx && unit->y == ty) continue;
    if (world.GetMap().GetHex(unit->x, unit->y).fortification > country.aiData.fortLevelToHoldAtAllCost) continue;
    LockedStep([&] { unit->ComputeMoveRangeOnly(true); });
    const sMapCoord inRange = freeNearest(tx, ty, unit);
    if (inRange.x >= 0 && HexDistance(inRange.x, inRange.y, tx, ty) < HexDistance(unit->x, unit->y, tx, ty)) {
      AiMoveToHex(world, *unit, inRange.x, inRange.y);
    } else if (!onLine(unit->x, unit->y)) {
      const sMapCoord toward = freeNearest(tx, ty, nullptr);
      if (toward.x >= 0) {
        AiMoveTowardHex(world, *unit, toward.x, toward.y);
      } else if (tx >= 0) {
        AiMoveTowardHex(world, *unit, tx, ty);
      }
    }
    if (IsUnitInWorldLists(world, unit)) LockedStep([&] { unit->aiOrder = kAiHold; });
    ++handled;
  }
  return handled;
}

}  // namespace ai
