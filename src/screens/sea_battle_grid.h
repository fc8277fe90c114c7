// The sea-battle screen's field: 31 x 31 hexes of water on which the two
// sides' ships stand, the first side left of the middle column, the second
// right of it. The field knows where each side's formation puts its ships,
// which free cells a ship may move to, and which cell lies under a point of
// the screen; the screen turns the player's clicks into these calls.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/hex.h"

class cJednostkaMorska;

constexpr int kSeaBattleGridSize = 31;
constexpr int kSeaBattleCells = kSeaBattleGridSize * kSeaBattleGridSize;
// The middle column belongs to neither side: no ship stands or moves there.
constexpr int kSeaBattleMiddleColumn = 15;
// The whole field in grid pixels (the hex pitch is that of the map).
constexpr int kSeaBattleGridWidth = 2573;
constexpr int kSeaBattleGridHeight = 3038;

// Mark bits of a cell.
constexpr std::uint32_t kCellPicked = 0x20000;    // the picked ship
constexpr std::uint32_t kCellMoveTo = 0x40000;    // a free cell the picked ship may move to
constexpr std::uint32_t kCellTarget = 0x80000;    // the marked target
constexpr std::uint32_t kCellEdge = 0x100000;     // columns 0-3 and 27-30
constexpr std::uint32_t kCellSelectionMarks = kCellPicked | kCellMoveTo | kCellTarget;

// Places of a side's formation: 22 line places and 30 carrier places, each a
// column offset (away from the middle) and a row offset from the middle row.
constexpr int kLinePlaces = 22;
constexpr int kCarrierPlaces = 30;

struct sSeaBattleCell {
  sHex hex;  // x, y, water, the mark bits
  cJednostkaMorska* ship = nullptr;  // not owned
};

class cSeaBattleGrid {
 public:
  cSeaBattleGrid();

  sSeaBattleCell& Cell(int x, int y) { return cells_[Index(x, y)]; }
  std::array<sSeaBattleCell, kSeaBattleCells>& Cells() { return cells_; }
  const std::array<sSeaBattleCell, kSeaBattleCells>& Cells() const { return cells_; }
  static bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < kSeaBattleGridSize && y < kSeaBattleGridSize; }

  // Puts the side's ships (0 the first, 1 the second side) on their places in
  // list order: a carrier on the next carrier place while there is one, any
  // other ship (and a carrier once the carrier places are used up) on the
  // next line place; a ship without a place stays off the field. Returns the
  // ships placed, each with its cell, in placing order.
  struct sPlaced {
    cJednostkaMorska* ship;
    int x, y;
  };
  std::vector<sPlaced> PlaceSide(int side, const std::vector<cJednostkaMorska*>& ships);

  // Clears the bits on every cell.
  void ClearMarks(std::uint32_t bits);
  // Marks with kCellMoveTo the free cells of the lattice a ship standing in
  // the given column may move to: the columns of its side's zone in steps of
  // two (1-13 or 17-29 for a carrier, 5-13 or 17-25 for other ships), and in
  // each the rows 0, 2, ... 28 shifted by one in every other pair of
  // columns. A ship that has moved gets no cells.
  void MarkMoveCells(int column, bool carrier, bool moved);

  // The cell under a screen point: (x, y) in a back buffer of width x height
  // pixels, the view's zoom and scroll position (grid pixels at the screen's
  // centre). False for a point outside the back buffer or the field.
  static bool PickCell(int x, int y, int width, int height, float zoom, int scrollX, int scrollY, int& column,
                       int& row);
  // The grid-pixel position of a cell's top-left corner (even columns lie
  // half a row lower).
  static void CellOrigin(int column, int row, float& x, float& y);

 private:
  static int Index(int x, int y) { return y * kSeaBattleGridSize + x; }
  std::array<sSeaBattleCell, kSeaBattleCells> cells_;
};

// Side of a column: 0 left of the middle, 1 right of it, -1 the middle.
inline int SeaBattleHalf(int column) {
  return column < kSeaBattleMiddleColumn ? 0 : (column > kSeaBattleMiddleColumn ? 1 : -1);
}
