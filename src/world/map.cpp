#include "world/map.h"

#include <cstdlib>

#include "app/settings.h"

void sEyeCandy::Reset() {
  for (auto& w : words) w = 0;
  alpha = 100;
}

sMatrix4 sMatrix4::Scaling(float sx, float sy) {
  sMatrix4 r;
  r.m[0][0] = sx;
  r.m[1][1] = sy;
  return r;
}

cMap::cMap() = default;

cMap::~cMap() = default;

void cMap::Clear() {
  kept_pictures_.reset();
  width_ = height_ = 0;
  hexes_.clear();
  decorations_.clear();
  marked_hexes_.clear();
  front_marks_.clear();
  front_node_distance_ = -1;
  front_nodes_.clear();
  viewX = viewY = targetX = targetY = 0;
  velocityX = velocityY = 0;
  pendingZoomX = pendingZoomY = 0;
}

sHex& cMap::GetHex(int x, int y) {
  if (hexes_.empty()) return empty_cell_;
  if (!IsInside(x, y)) return hexes_[0];
  return hexes_[static_cast<std::size_t>(y) * width_ + x];
}

const sHex& cMap::GetHex(int x, int y) const { return const_cast<cMap*>(this)->GetHex(x, y); }

void cMap::SetWidth(int w) {
  width_ = w;
  minViewX = kHexColumnWidth;
  maxViewX = w * kHexColumnWidth;
  baseVisibleColumns = static_cast<int>(g_Settings.ResolutionX / 41.5 + 2);
}

void cMap::SetHeight(int h) {
  height_ = h;
  // The minimum is one column width here too, as the view has always had it.
  minViewY = kHexColumnWidth;
  maxViewY = h * kHexRowHeight;
  baseVisibleRows = static_cast<int>(g_Settings.ResolutionY / 98.0 + 2);
}

void cMap::CreateHexes() {
  // The listed cells are about to go away.
  marked_hexes_.clear();
  hexes_.assign(static_cast<std::size_t>(width_) * height_, sHex{});
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      sHex& h = hexes_[static_cast<std::size_t>(y) * width_ + x];
      h.x = static_cast<std::int16_t>(x);
      h.y = static_cast<std::int16_t>(y);
    }
  }
}

void cMap::GetNeighbourCoords(int x, int y, int dir, int& nx, int& ny) const {
  HexNeighbourCoords(x, y, dir, nx, ny);
}

sMapCoord cMap::GetNeighbourCoord(int x, int y, int dir) const {
  sMapCoord c{x, y};
  HexNeighbourCoords(x, y, dir, c.x, c.y);
  return c;
}

bool cMap::HasNeighbour(int x, int y, int dir) const {
  const bool odd = IsOddColumn(x);
  switch (dir) {
    case 0: return y - 1 >= 0;
    case 1: return x + 1 < width_ && (!odd || y - 1 >= 0);
    case 2: return x + 1 < width_ && (odd || y + 1 < height_);
    case 3: return y + 1 < height_;
    case 4: return x - 1 >= 0 && (odd || y + 1 < height_);
    case 5: return x - 1 >= 0 && (!odd || y - 1 >= 0);
    default: return false;
  }
}

sHex* cMap::GetNeighbour(int x, int y, int dir) {
  int nx = 0, ny = 0;
  if (!HexNeighbourCoords(x, y, dir, nx, ny) || !IsInside(nx, ny)) return nullptr;
  return &hexes_[static_cast<std::size_t>(ny) * width_ + nx];
}

const sHex* cMap::GetNeighbour(int x, int y, int dir) const {
  return const_cast<cMap*>(this)->GetNeighbour(x, y, dir);
}

int cMap::GetNeighbourDirection(int x1, int y1, int x2, int y2) const {
  for (int dir = 0; dir < 6; ++dir) {
    int nx = 0, ny = 0;
    HexNeighbourCoords(x1, y1, dir, nx, ny);
    if (nx == x2 && ny == y2) return dir + 1;
  }
  return 0;
}

void cMap::ResetEyeCandies() {
  const std::size_t n = static_cast<std::size_t>(width_) * height_;
  if (decorations_.size() != n) decorations_.assign(n, sEyeCandy{});
  for (auto& d : decorations_) d.Reset();
}
