#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "world/hex.h"
#include "world/map.h"

namespace {

void MakeGrid(cMap& map, int w, int h) {
  map.SetWidth(w);
  map.SetHeight(h);
  map.CreateHexes();
}

// Shortest path lengths from (sx, sy) through the neighbour table, on a grid
// padded so that paths may leave the map as HexDistance allows.
std::vector<int> Bfs(int w, int h, int sx, int sy, int pad) {
  const int W = w + 2 * pad, H = h + 2 * pad;
  std::vector<int> dist(static_cast<std::size_t>(W) * H, -1);
  auto at = [&](int x, int y) -> int& { return dist[static_cast<std::size_t>(y + pad) * W + (x + pad)]; };
  std::deque<std::pair<int, int>> queue{{sx, sy}};
  at(sx, sy) = 0;
  while (!queue.empty()) {
    auto [x, y] = queue.front();
    queue.pop_front();
    for (int d = 0; d < 6; ++d) {
      int nx = 0, ny = 0;
      if (!HexNeighbourCoords(x, y, d, nx, ny)) ADD_FAILURE();
      if (nx < -pad || ny < -pad || nx >= w + pad || ny >= h + pad || at(nx, ny) >= 0) continue;
      at(nx, ny) = at(x, y) + 1;
      queue.push_back({nx, ny});
    }
  }
  return dist;
}

}  // namespace

TEST(HexDistance, EqualsBreadthFirstSearchForEveryPairOf12x12) {
  const int n = 12, pad = 12;
  for (int sy = 0; sy < n; ++sy) {
    for (int sx = 0; sx < n; ++sx) {
      const auto dist = Bfs(n, n, sx, sy, pad);
      for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
          const int expected = dist[static_cast<std::size_t>(y + pad) * (n + 2 * pad) + (x + pad)];
          ASSERT_EQ(HexDistance(sx, sy, x, y), expected) << sx << "," << sy << " -> " << x << "," << y;
          ASSERT_EQ(HexDistance(x, y, sx, sy), expected);
        }
      }
    }
  }
}

TEST(HexDistance, NegativeOddColumnsCountAsOdd) {
  // A negative odd column counts as odd: (0, 0) is north-east of (-1, 1).
  const int cases[][5] = {{-1, 1, 0, 0, 1}, {-1, 1, 0, 1, 1}, {-1, 1, 0, 2, 2}, {0, 0, -1, 1, 1}};
  for (const auto& [x0, y0, x1, y1, d] : cases) EXPECT_EQ(HexDistance(x0, y0, x1, y1), d) << x0 << "," << y0;
  int nx = 0, ny = 0;
  HexNeighbourCoords(-1, 3, 1, nx, ny);
  EXPECT_EQ(std::pair(nx, ny), std::pair(0, 2));
}

TEST(HexNeighbours, TableByColumnParityAndOppositeSides) {
  const int evenY[6] = {-1, 0, 1, 1, 1, 0}, oddY[6] = {-1, -1, 0, 1, 0, -1}, dx[6] = {0, 1, 1, 0, -1, -1};
  cMap map;
  MakeGrid(map, 10, 10);
  for (int x : {4, 5}) {
    for (int d = 0; d < 6; ++d) {
      const sMapCoord c = map.GetNeighbourCoord(x, 5, d);
      EXPECT_EQ(c.x, x + dx[d]);
      EXPECT_EQ(c.y, 5 + (x % 2 ? oddY[d] : evenY[d]));
      // The neighbour's opposite side leads back.
      const sMapCoord back = map.GetNeighbourCoord(c.x, c.y, (d + 3) % 6);
      EXPECT_EQ(back, (sMapCoord{x, 5}));
      EXPECT_EQ(map.GetNeighbourDirection(x, 5, c.x, c.y), d + 1);
    }
  }
  // Out-of-range directions write nothing.
  int nx = 77, ny = 88;
  map.GetNeighbourCoords(3, 3, 6, nx, ny);
  map.GetNeighbourCoords(3, 3, -1, nx, ny);
  EXPECT_EQ(nx, 77);
  EXPECT_EQ(ny, 88);
}

TEST(HexNeighbours, GridEdges) {
  cMap map;
  MakeGrid(map, 4, 3);
  EXPECT_FALSE(map.HasNeighbour(1, 1, 6));
  EXPECT_EQ(map.GetNeighbour(1, 1, -1), nullptr);
  // Every cell: HasNeighbour agrees with GetNeighbour and with the grid.
  for (const sHex& h : map.Hexes()) {
    for (int d = 0; d < 6; ++d) {
      const sMapCoord c = map.GetNeighbourCoord(h.x, h.y, d);
      EXPECT_EQ(map.HasNeighbour(h.x, h.y, d), map.IsInside(c.x, c.y)) << h.x << "," << h.y << " d" << d;
      EXPECT_EQ(map.GetNeighbour(h.x, h.y, d) != nullptr, map.IsInside(c.x, c.y));
    }
  }
  EXPECT_EQ(map.GetNeighbourDirection(2, 2, 2, 2), 0);
  EXPECT_EQ(map.GetNeighbourDirection(0, 1, 2, 1), 0);
}

TEST(HexCell, RiverSides) {
  sHex h;
  h.terrain = kTerrainPlain;
  h.riverMask = 0b100101;
  auto sides = [&h] {
    bool r[6];
    h.ZwrocWektorRzek(r);
    std::string out;
    for (int s = 0; s < 6; ++s) out += std::string(r[s] ? "1" : "0") + (h.HasRiverOnSide(s) ? "1" : "0");
    return out;
  };
  EXPECT_EQ(sides(), "110011000011");
  EXPECT_FALSE(h.HasRiverOnSide(6));
  h.riverMask = 64 | 0b11;  // mouth marks of a water hex
  EXPECT_EQ(sides(), "000000000000");
  h.riverMask = 0x81;
  EXPECT_FALSE(h.HasRiverOnSide(0));
}
