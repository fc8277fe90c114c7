#include "world/topography.h"

#include <deque>

#include "app/console_log.h"
#include "world/cities.h"
#include "world/map.h"

namespace {

// Cities of type 4 (resources) take no part in either flood.
bool TakesPart(const cCity* city) { return city && city->type != kCityResources; }

}  // namespace

int TopographyLandNeighbours(const cMap& map, int x, int y, int outX[6], int outY[6]) {
  static constexpr int kEven[6][2] = {{0, -1}, {0, 1}, {1, 0}, {1, 1}, {-1, 1}, {-1, 0}};
  static constexpr int kOdd[6][2] = {{0, -1}, {0, 1}, {1, -1}, {1, 0}, {-1, 0}, {-1, -1}};
  const auto& steps = IsOddColumn(x) ? kOdd : kEven;
  int count = 0;
  for (const auto& step : steps) {
    const int nx = x + step[0];
    const int ny = y + step[1];
    if (!map.IsInside(nx, ny) || map.GetHex(nx, ny).IsWater()) continue;
    outX[count] = nx;
    outY[count] = ny;
    ++count;
  }
  return count;
}

void cWorldTopography::ComputeWorldTopography(const cMap& map, const std::vector<cCity*>& cities) {
  grid_width_ = map.GetWidth();
  grid_height_ = map.GetHeight();
  world_topography_.clear();
  LogLine(L"Liczenie topografii calego swiata");

  const int width = grid_width_;
  std::vector<std::int32_t> visited(static_cast<std::size_t>(width) * static_cast<std::size_t>(grid_height_), 0);
  auto index = [width](int x, int y) { return static_cast<std::size_t>(y) * width + x; };

  for (cCity* start : cities) {
    if (!TakesPart(start) || !map.IsInside(start->x, start->y)) continue;
    if (visited[index(start->x, start->y)] == 1) continue;
    LogLine(L"Topografia od miasta %s", start->GetName());

    TopographyGroup group{start};
    visited[index(start->x, start->y)] = 1;
    std::deque<std::pair<int, int>> queue{{start->x, start->y}};
    int nx[6], ny[6];
    while (!queue.empty()) {
      const auto [fx, fy] = queue.front();
      const int n = TopographyLandNeighbours(map, fx, fy, nx, ny);
      for (int i = 0; i < n; ++i) {
        if (visited[index(nx[i], ny[i])] == 1) continue;
        visited[index(nx[i], ny[i])] = 1;
        queue.emplace_back(nx[i], ny[i]);
        cCity* city = map.GetHex(nx[i], ny[i]).city;
        if (TakesPart(city)) group.push_back(city);
      }
      queue.pop_front();
    }

    world_topography_.push_back(std::move(group));
    LogLine(L"Grupa miast:");
    for (const cCity* member : world_topography_.back()) LogLine(member->GetName());
  }
}

void cWorldTopography::BuildNearestCityGrid(const cMap& map, const std::vector<cCity*>& cities) {
  const int width = grid_width_;
  const int height = grid_height_;
  nearest_city_grid_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), nullptr);
  // The grid size comes from the topography pass; a map that changed size
  // since then is only flooded where both agree.
  auto inside = [&](int x, int y) { return x >= 0 && x < width && y >= 0 && y < height && map.IsInside(x, y); };
  auto index = [width](int x, int y) { return static_cast<std::size_t>(y) * width + x; };

  std::deque<std::pair<int, int>> queue;
  for (cCity* city : cities) {
    if (!TakesPart(city) || !inside(city->x, city->y)) continue;
    queue.emplace_back(city->x, city->y);
    nearest_city_grid_[index(city->x, city->y)] = city;
  }
  int nx[6], ny[6];
  while (!queue.empty()) {
    const auto [fx, fy] = queue.front();
    cCity* from = nearest_city_grid_[index(fx, fy)];
    const int n = TopographyLandNeighbours(map, fx, fy, nx, ny);
    for (int i = 0; i < n; ++i) {
      if (!inside(nx[i], ny[i])) continue;
      cCity*& entry = nearest_city_grid_[index(nx[i], ny[i])];
      if (entry) continue;
      entry = from;
      queue.emplace_back(nx[i], ny[i]);
    }
    queue.pop_front();
  }
}

cCity* cWorldTopography::NearestCity(int x, int y) const {
  if (x < 0 || y < 0 || x >= grid_width_ || y >= grid_height_) return nullptr;
  const std::size_t i = static_cast<std::size_t>(y) * grid_width_ + x;
  return i < nearest_city_grid_.size() ? nearest_city_grid_[i] : nullptr;
}
