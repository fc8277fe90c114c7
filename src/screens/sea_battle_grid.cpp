#include "screens/sea_battle_grid.h"

#include "screens/screen_helpers.h"
#include "world/jednostka_morska.h"
#include "world/unit.h"

namespace {

constexpr int kLineDx[kLinePlaces] = {0, 0, 2, 2, 0, 0, 2, 4, 4, 4, 2, 0, 0, 2, 4, 6, 6, 6, 6, 4, 2, 0};
constexpr int kLineDy[kLinePlaces] = {0, -2, -1, 1, 2, -4, -3, -2, 0, 2, 3, 4, -6, -5, -4, -3, -1, 1, 3, 4, 5, 6};
constexpr int kCarrierDy[kCarrierPlaces / 2] = {0, -2, 2, -4, 4, -6, 6, -8, 8, -10, 10, -12, 12, -14, 14};

constexpr int kMiddleRow = 16;
// The formation's front columns: carriers stand at the far edges, the line
// nearer the middle.
constexpr int kFirstCarrierColumn = 3;
constexpr int kFirstLineColumn = 13;
constexpr int kSecondCarrierColumn = 27;
constexpr int kSecondLineColumn = 17;

// The slant of a hex's left edges: 49 pixels down over 24 across.
constexpr float kEdgeSlope = 2.0416667f;
constexpr int kPickOffsetX = 30;
constexpr int kPickOffsetY = 36;

}  // namespace

cSeaBattleGrid::cSeaBattleGrid() {
  for (int i = 0; i < kSeaBattleCells; ++i) {
    sHex& hex = cells_[static_cast<std::size_t>(i)].hex;
    hex.x = static_cast<std::int16_t>(i % kSeaBattleGridSize);
    hex.y = static_cast<std::int16_t>(i / kSeaBattleGridSize);
    hex.terrain = kTerrainWater;
    hex.markBits = hex.x < 4 || hex.x > 26 ? kCellEdge : 0;
  }
}

std::vector<cSeaBattleGrid::sPlaced> cSeaBattleGrid::PlaceSide(int side, const std::vector<cJednostkaMorska*>& ships) {
  std::vector<sPlaced> placed;
  int carriers = 0, line = 0;
  for (cJednostkaMorska* ship : ships) {
    int x = 0, y = 0;
    if (ship->type == kUnitAircraftCarrier && carriers < kCarrierPlaces) {
      const int dx = carriers < kCarrierPlaces / 2 ? 0 : 2;
      y = kMiddleRow + kCarrierDy[carriers % (kCarrierPlaces / 2)];
      x = side == 0 ? kFirstCarrierColumn - dx : kSecondCarrierColumn + dx;
      ++carriers;
    } else if (line < kLinePlaces) {
      y = kMiddleRow + kLineDy[line];
      x = side == 0 ? kFirstLineColumn - kLineDx[line] : kSecondLineColumn + kLineDx[line];
      ++line;
    } else {
      continue;  // no place left: the ship stays off the field
    }
    Cell(x, y).ship = ship;
    placed.push_back({ship, x, y});
  }
  return placed;
}

void cSeaBattleGrid::ClearMarks(std::uint32_t bits) {
  for (sSeaBattleCell& cell : cells_) cell.hex.markBits &= ~bits;
}

void cSeaBattleGrid::MarkMoveCells(int column, bool carrier, bool moved) {
  ClearMarks(kCellMoveTo);
  if (moved) return;
  int first = 0, last = 0;
  if (column < kSeaBattleMiddleColumn) {
    first = carrier ? 1 : 5;
    last = 13;
  } else {
    first = 17;
    last = carrier ? 29 : 25;
  }
  for (int c = first; c <= last; c += 2) {
    for (int k = 0; k <= 28; k += 2) {
      sSeaBattleCell& cell = Cell(c, k + (c % 4) / 2);
      if (cell.ship == nullptr) cell.hex.markBits |= kCellMoveTo;
    }
  }
}

bool cSeaBattleGrid::PickCell(int x, int y, int width, int height, float zoom, int scrollX, int scrollY, int& column,
                              int& row) {
  if (x < 0 || y < 0 || x >= width || y >= height || zoom <= 0.0f) return false;
  const int wx = static_cast<int>(static_cast<float>(x - width / 2) / zoom) + scrollX - kPickOffsetX;
  int wy = static_cast<int>(static_cast<float>(y - height / 2) / zoom) + scrollY - kPickOffsetY;
  // Rounded down: a point left of or above the field is off it, not in the
  // first column or row.
  column = FloorDiv(wx, kHexColumnWidth);
  if (column % 2 == 0) wy -= kHexEvenColumnDrop;
  row = FloorDiv(wy, kHexRowHeight);
  const int fx = wx - column * kHexColumnWidth;
  const int fy = wy - row * kHexRowHeight;
  if (fx < 24) {
    const float half = static_cast<float>(kHexEvenColumnDrop);
    const float fxf = static_cast<float>(fx), fyf = static_cast<float>(fy);
    // On the cell's left border itself (fx 0) the edge counts as steep.
    if (fyf < half && (fx == 0 || (half - fyf) / fxf > kEdgeSlope)) {
      if (column % 2 != 0) --row;
      --column;
    } else if (fyf > half && (fx == 0 || (fyf - half) / fxf > kEdgeSlope)) {
      if (column % 2 == 0) ++row;
      --column;
    }
  }
  return Inside(column, row);
}

void cSeaBattleGrid::CellOrigin(int column, int row, float& x, float& y) {
  x = static_cast<float>(kHexColumnWidth * column);
  y = static_cast<float>(kHexRowHeight * row + (column % 2 == 0 ? kHexEvenColumnDrop : 0));
}
