#include "world/hex.h"

#include <cstdlib>

#include "world/map.h"

namespace {

// Column and row steps by direction, for even and for odd columns.
constexpr int kStepX[6] = {0, 1, 1, 0, -1, -1};
constexpr int kStepYEven[6] = {-1, 0, 1, 1, 1, 0};
constexpr int kStepYOdd[6] = {-1, -1, 0, 1, 0, -1};

}  // namespace

bool HexNeighbourCoords(int x, int y, int dir, int& nx, int& ny) {
  if (dir < 0 || dir > 5) return false;
  nx = x + kStepX[dir];
  ny = y + (IsOddColumn(x) ? kStepYOdd[dir] : kStepYEven[dir]);
  return true;
}

int HexDistance(int x1, int y1, int x2, int y2) {
  const int dx = std::abs(x1 - x2);
  const int dy = y2 - y1;
  const int ady = std::abs(dy);
  const bool x1Odd = IsOddColumn(x1);
  if (dx % 2 == 0) return ady <= dx / 2 ? dx : ady + dx / 2;
  if (x1Odd) {
    if (-(dx + 1) / 2 <= dy && dy <= dx / 2) return dx;
  } else {
    if (-(dx / 2) <= dy && dy <= (dx + 1) / 2) return dx;
  }
  const int d = ady + dx / 2;
  if ((!x1Odd && y2 < y1) || (x1Odd && y2 > y1)) return d + 1;
  return d;
}

void sHex::ZwrocWektorRzek(bool out[6]) const {
  for (int d = 0; d < 6; ++d) out[d] = false;
  if (riverMask == 0 || riverMask > 63) return;
  for (int d = 0; d < 6; ++d) out[d] = (riverMask >> d) & 1;
}

bool sHex::HasRiverOnSide(int side) const {
  const auto mask = static_cast<std::int8_t>(riverMask);
  if (mask < 0 || mask > 63 || side < 0 || side > 5) return false;
  return (mask >> side) & 1;
}

void sHex::UpdateBorderFlags(const cMap& map) {
  if (!IsLand()) return;
  for (int side = 1; side <= 3; ++side) {
    const sHex* n = map.GetNeighbour(x, y, side);
    if (!n) continue;
    const std::uint16_t ownerBit = static_cast<std::uint16_t>(1u << (side - 1));
    const std::uint16_t controllerBit = static_cast<std::uint16_t>(1u << (side + 2));
    if (n->IsLand() && n->owner != owner) {
      borderFlags |= ownerBit;
    } else {
      borderFlags &= static_cast<std::uint16_t>(~ownerBit);
    }
    if (n->IsLand() && n->controller != controller) {
      borderFlags |= controllerBit;
    } else {
      borderFlags &= static_cast<std::uint16_t>(~controllerBit);
    }
  }
}
