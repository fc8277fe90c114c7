#pragma once
// What the GUI toolkit's source files share: white, and whether a point
// lies inside a rectangle (right and bottom edges outside).

#include <cstdint>

#include "gui/dxut_control.h"

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

inline bool InRect(const plat::RectI& r, POINT pt) {
  return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom;
}
