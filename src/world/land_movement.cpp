#include "world/land_movement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/map.h"

namespace {

constexpr int kUnreached = 999999;
constexpr int kBlockedStep = 99999;

enum : std::uint8_t { kFree = 0, kZoneOfControl = 1, kBlocked = 2 };

// The relaxation tries the neighbours in this order: north, south,
// north-east, south-east, south-west, north-west.
constexpr int kRelaxOrder[6] = {kDirNorth, kDirSouth, kDirNorthEast, kDirSouthEast, kDirSouthWest,
                                kDirNorthWest};

struct sCell {
  int cost;
  std::uint8_t back;
  std::uint8_t block;
  std::uint8_t reached;  // its final cost has been walked to
  std::uint8_t odd;      // an odd column: picks the neighbour offsets
  int step;              // entering this hex from outside a zone of control
  int zocStep;           // entering it from a hex of a zone when it is one too
};

struct sQueued {
  int cost;
  int index;
};

// One hex of the depth-first walk and the next neighbour to try. The
// explicit stack keeps deep walks off the call stack while visiting the
// neighbours in the same order as a recursive walk would.
struct sFrame {
  int index;
  int next;
};

struct sScratch {
  std::vector<sCell> cells;
  std::vector<sFrame> stack;
  std::vector<std::vector<int>> buckets;  // cell indices by cost
  std::vector<sQueued> heap;              // for point values too large for buckets
  std::vector<int> enemies;               // cells of enemy units, negative when they block
};

sScratch& Scratch() {
  thread_local sScratch scratch;
  return scratch;
}

// The neighbour rule of hex.h, inlined for the hot loops below.
constexpr int kStepX[6] = {0, 1, 1, 0, -1, -1};
constexpr int kStepYEven[6] = {-1, 0, 1, 1, 1, 0};
constexpr int kStepYOdd[6] = {-1, -1, 0, 1, 0, -1};
inline void Neighbour(int x, int y, int dir, int& nx, int& ny) {
  nx = x + kStepX[dir];
  ny = y + (x % 2 != 0 ? kStepYOdd[dir] : kStepYEven[dir]);
}

int TerrainCost(const sLandMoveRules& rules, int terrain) {
  return terrain >= 1 && terrain <= 7 ? rules.terrainCost[terrain - 1] : rules.terrainCost[7];
}

bool IsPassableLand(const cMap& map, int x, int y, const cLandMoveRelations& relations) {
  const sHex& hex = map.GetHex(x, y);
  return hex.unit == nullptr && hex.IsLand() && relations.IsPassable(hex.controller);
}

void MarkRange(cMap& map, int x, int y, std::uint32_t bits, int value) {
  SetHexMark(map, map.GetHex(x, y), bits, value);
}

}  // namespace

void cLandMoveRelations::Resize(int countryCount) {
  const std::size_t size = static_cast<std::size_t>(std::max(countryCount, 0)) + 1;
  passable_.assign(size, 0);
  at_war_.assign(size, 0);
  passable_[0] = 1;
}

void cLandMoveRelations::Set(int countryId, bool passable, bool atWar) {
  if (countryId < 1 || countryId >= static_cast<int>(passable_.size())) return;
  passable_[countryId] = passable ? 1 : 0;
  at_war_[countryId] = atWar ? 1 : 0;
}

void ClearMapMarks(cMap& map, std::uint32_t bits, bool clearAll) {
  auto& list = map.MarkedHexes();
  // A cleared mark takes its value along, as ClearHexMark does: the
  // remaining points of a range must not stay drawn.
  for (sHex* hex : list) {
    if ((hex->markBits & bits) == 0) continue;
    hex->markBits &= ~bits;
    hex->markValue = -1;
  }
  list.erase(std::remove_if(list.begin(), list.end(),
                            [](sHex* hex) {
                              if (!hex->HasNoMarks()) return false;
                              hex->markListed = 0;
                              return true;
                            }),
             list.end());
  if (clearAll) {
    for (sHex& hex : map.Hexes()) hex.markBits &= ~0x01000000u;
  }
}

namespace {

int StepCostOf(int terrain, std::uint32_t weather, bool bothInZoc, const sLandMover& mover,
               const sLandMoveRules& rules) {
  double step = TerrainCost(rules, terrain);
  if (bothInZoc) step += rules.zoneOfControlCost;
  if (weather == 1) {
    step *= 1.0f + mover.winterMovePercent / 100.0f * rules.winterFactor / 100.0f;
  } else if (weather == 2) {
    step *= 1.0f + mover.mudMovePercent / 100.0f * rules.mudFactor / 100.0f;
  }
  // Every step costs at least one point whatever the constants say: a free
  // or negative step would let the walk run past its grid or round a loop
  // for ever.
  if (!(step >= 1.0)) return 1;
  if (step >= kBlockedStep) return kBlockedStep;
  return static_cast<int>(step);
}

// The single step of a unit without points that has not moved this impulse.
int ZeroPointStep(cMap& map, const sLandMover& mover, const cLandMoveRelations& relations,
                  bool countOnly, std::vector<sLandMoveEntry>& out) {
  if (mover.startingActionPoints != 0 || mover.movedOrDeployed || mover.harbour ||
      mover.freezeTime > 0) {
    return 0;
  }
  if (!countOnly) ClearMapMarks(map, kMarkMoveAll, false);
  int count = 0;
  for (int dir = 0; dir < 6; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(mover.x, mover.y, dir, nx, ny);
    if (!map.IsInside(nx, ny) || !IsPassableLand(map, nx, ny, relations)) continue;
    out.push_back({mover.unit, nx, ny, 0, 0});
    if (!countOnly) MarkRange(map, nx, ny, kMarkMoveNone, 0);
    ++count;
  }
  return count;
}

}  // namespace

int ComputeLandMoveRange(cMap& map, const sLandMover& mover, const sLandMoveRules& rules,
                         const cLandMoveRelations& relations, HexOccupantFn occupant,
                         bool countOnly, std::vector<sLandMoveEntry>& out) {
  out.clear();
  if (!map.IsInside(mover.x, mover.y)) return 0;
  const int points = mover.actionPoints;
  if (points < 1) return ZeroPointStep(map, mover, relations, countOnly, out);

  // The grid reaches as far as the points can; a grid wider than the map
  // from any hex of it adds nothing, so absurd point values stay cheap.
  // Around it lies a frame of blocked cells, and the cells off the map are
  // blocked too, so the walks below step by index without bounds tests.
  const int reach = std::max(map.GetWidth(), map.GetHeight()) + 1;
  const int r = std::min(points, reach - 1) + 1;
  const int n = 2 * r + 1;
  const int stride = n + 2;
  sScratch& scratch = Scratch();
  std::vector<sCell>& cells = scratch.cells;
  cells.assign(static_cast<std::size_t>(stride) * stride, sCell{kUnreached, 0, kBlocked, 0, 0, 0, 0});
  const int left = mover.x - r;
  const int top = mover.y - r;
  auto indexOf = [&](int x, int y) { return (y - top + 1) * stride + (x - left + 1); };
  // Index steps to the six neighbours, for even and for odd columns.
  int offsets[2][6];
  for (int dir = 0; dir < 6; ++dir) {
    offsets[0][dir] = kStepYEven[dir] * stride + kStepX[dir];
    offsets[1][dir] = kStepYOdd[dir] * stride + kStepX[dir];
  }

  // The step costs by terrain class, weather and zone of control: the same
  // arithmetic as per hex, done once.
  int stepTable[8][3][2];
  for (int t = 0; t < 8; ++t) {
    for (int w = 0; w < 3; ++w) {
      for (int z = 0; z < 2; ++z) stepTable[t][w][z] = StepCostOf(t + 1, w, z != 0, mover, rules);
    }
  }

  // The part of the grid on the map: passable cells and their steps, then
  // the blocks and zones of control of the enemy units among them. A unit
  // on an impassable hex casts no zone; a blocked cell stays blocked.
  const int x0 = std::max(left, 0), x1 = std::min(left + n, map.GetWidth());
  const int y0 = std::max(top, 0), y1 = std::min(top + n, map.GetHeight());
  const sHex* hexes = map.Hexes().data();
  const int width = map.GetWidth();
  std::vector<int>& enemies = scratch.enemies;
  enemies.clear();
  for (int y = y0; y < y1; ++y) {
    const sHex* hex = hexes + static_cast<std::size_t>(y) * width + x0;
    sCell* cell = cells.data() + indexOf(x0, y);
    for (int x = x0; x < x1; ++x, ++hex, ++cell) {
      cell->odd = static_cast<std::uint8_t>(x % 2 != 0);
      if (!relations.IsPassable(hex->controller)) continue;
      cell->block = kFree;
      const int t = hex->terrain >= 1 && hex->terrain <= 7 ? hex->terrain - 1 : 7;
      const int w = hex->weather == 1 || hex->weather == 2 ? static_cast<int>(hex->weather) : 0;
      cell->step = stepTable[t][w][0];
      cell->zocStep = stepTable[t][w][1];
      if (hex->unit == nullptr) continue;
      const sHexOccupant other = occupant(hex->unit);
      if (!relations.IsAtWar(other.country)) continue;
      const int index = static_cast<int>(cell - cells.data());
      enemies.push_back(countOnly || other.visible ? -1 - index : index);
    }
  }
  for (int e : enemies) {
    if (e < 0) cells[static_cast<std::size_t>(-1 - e)].block = kBlocked;
  }
  for (int e : enemies) {
    const int index = e < 0 ? -1 - e : e;
    const int* offset = offsets[cells[static_cast<std::size_t>(index)].odd];
    for (int dir = 0; dir < 6; ++dir) {
      sCell& near = cells[static_cast<std::size_t>(index + offset[dir])];
      if (near.block != kBlocked) near.block = kZoneOfControl;
    }
  }

  // The range is what a depth-first relaxation from the unit's hex finds
  // when it tries the neighbours in kRelaxOrder and takes a cell over only
  // for a strictly cheaper cost: the cheapest cost of every cell, and as
  // its back direction the step by which that walk first reached it at that
  // cost. Done literally the walk revisits cells many times over; instead
  // the costs come from a best-first search, and then a depth-first walk
  // along the steps that keep to those costs (tried in the same order)
  // reaches every cell the way the relaxation first reaches it at its
  // final cost: a walk that arrives at a cell at more than its final cost
  // can only continue at more than the final cost of every cell after it.
  sCell* const grid = cells.data();
  auto edgeStep = [](const sCell& from, const sCell& to) {
    return from.block == kZoneOfControl && to.block == kZoneOfControl ? to.zocStep : to.step;
  };
  // Costs only grow by whole points from 0 to the points, so the best-first
  // order is a walk over one bucket per cost.
  const int centre = indexOf(mover.x, mover.y);
  grid[centre].cost = 0;
  std::vector<std::vector<int>>& buckets = scratch.buckets;
  const std::size_t bucketCount = static_cast<std::size_t>(points) + 1;
  if (buckets.size() < bucketCount && bucketCount <= 4096) buckets.resize(bucketCount);
  const bool useBuckets = bucketCount <= buckets.size();
  std::vector<sQueued>& heap = scratch.heap;
  heap.clear();
  auto later = [](const sQueued& a, const sQueued& b) { return a.cost > b.cost; };
  auto push = [&](int cost, int index) {
    if (useBuckets) {
      buckets[static_cast<std::size_t>(cost)].push_back(index);
    } else {
      heap.push_back({cost, index});
      std::push_heap(heap.begin(), heap.end(), later);
    }
  };
  auto relaxFrom = [&](int index, int cost) {
    const sCell& from = grid[index];
    if (cost > from.cost) return;  // a stale entry
    const int* offset = offsets[from.odd];
    for (int dir = 0; dir < 6; ++dir) {
      const int nextIndex = index + offset[dir];
      sCell& next = grid[nextIndex];
      // A blocked hex (off the map and the frame among them) is never
      // entered, however many points the unit has.
      if (next.block == kBlocked) continue;
      const long long newCost = static_cast<long long>(cost) + edgeStep(from, next);
      if (newCost < next.cost && newCost <= points) {
        next.cost = static_cast<int>(newCost);
        push(next.cost, nextIndex);
      }
    }
  };
  push(0, centre);
  if (useBuckets) {
    for (std::size_t c = 0; c < bucketCount; ++c) {
      // Steps cost at least 1, so relaxing adds only to later buckets.
      std::vector<int>& bucket = buckets[c];
      for (std::size_t i = 0; i < bucket.size(); ++i) relaxFrom(bucket[i], static_cast<int>(c));
      bucket.clear();
    }
  } else {
    while (!heap.empty()) {
      std::pop_heap(heap.begin(), heap.end(), later);
      const sQueued item = heap.back();
      heap.pop_back();
      relaxFrom(item.index, item.cost);
    }
  }

  std::vector<sFrame>& stack = scratch.stack;
  stack.clear();
  grid[centre].reached = 1;
  stack.push_back({centre, 0});
  while (!stack.empty()) {
    sFrame& frame = stack.back();
    if (frame.next >= 6) {
      stack.pop_back();
      continue;
    }
    const int dir = kRelaxOrder[frame.next++];
    const sCell& from = grid[frame.index];
    const int nextIndex = frame.index + offsets[from.odd][dir];
    sCell& next = grid[nextIndex];
    if (next.block == kBlocked || next.reached || next.cost == kUnreached) continue;
    if (static_cast<long long>(from.cost) + edgeStep(from, next) != next.cost) continue;
    next.reached = 1;
    next.back = static_cast<std::uint8_t>((dir + 3) % 6);
    stack.push_back({nextIndex, 0});  // frame may dangle from here on
  }

  if (!countOnly) ClearMapMarks(map, kMarkMoveAll, false);

  // The list in row order, and the marks.
  const int threshold = rules.fewPointsThreshold[std::clamp(mover.doctrineLevel, 0, 5)];
  int count = 0;
  for (int y = top; y < top + n; ++y) {
    const sCell* cell = grid + indexOf(left, y);
    for (int x = left; x < left + n; ++x, ++cell) {
      // Unreached cells (off the map among them) keep their start cost,
      // which a unit with that many points must not read as a cost.
      if (cell->cost <= 0 || cell->cost > points || cell->cost == kUnreached) continue;
      out.push_back({mover.unit, x, y, cell->back, cell->cost});
      ++count;
      if (countOnly) continue;
      const sHex& hex = map.GetHex(x, y);
      if (hex.unit != nullptr && occupant(hex.unit).visible) continue;
      const int remaining = points - cell->cost;
      const std::uint32_t bits =
          remaining == 0 ? kMarkMoveNone : (remaining <= threshold ? kMarkMoveFew : kMarkMoveSpare);
      MarkRange(map, x, y, bits, remaining);
    }
  }

  // A unit that has not spent any points may always step onto a free
  // neighbouring land hex, whatever it costs.
  if (points == mover.startingActionPoints && !mover.harbour && mover.freezeTime <= 0) {
    for (int dir = 0; dir < 6; ++dir) {
      int nx = 0, ny = 0;
      Neighbour(mover.x, mover.y, dir, nx, ny);
      if (!map.IsInside(nx, ny) || !IsPassableLand(map, nx, ny, relations)) continue;
      const sCell& cell = grid[indexOf(nx, ny)];
      if (cell.cost > 0 && cell.cost <= points && cell.cost != kUnreached) continue;
      out.push_back({mover.unit, nx, ny, dir, points});
      if (!countOnly) MarkRange(map, nx, ny, kMarkMoveNone, 0);
      ++count;
    }
  }
  return count;
}
