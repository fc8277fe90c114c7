// Marks, the monthly weather roll, the breadth-first searches of the
// computer opponent's landings, the same-land-mass test and the lattice of
// front nodes.
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "app/random.h"
#include "world/cities.h"
#include "world/hex_changes.h"
#include "world/hex_ownership.h"
#include "world/land_movement.h"
#include "world/map.h"
#include "world/topography.h"
#include "world/unit.h"
#include "world/world.h"

void cMap::ClearHexMarks(std::uint32_t bits, bool clearAll) { ClearMapMarks(*this, bits, clearAll); }

void cMap::MarkSeaZoneHexes(int seaZone, std::uint32_t bits) {
  for (sHex& hex : hexes_) {
    if (hex.IsWater() && hex.seaZone == seaZone) SetHexMark(*this, hex, bits, -1);
  }
}

void cMap::RollWeather(int month) {
  if (month < 0 || month > 11) return;
  for (sHex& hex : hexes_) {
    if (!hex.IsLand() || !hex.hasWeather) continue;
    if (RandomRange(1, 100) <= hex.winterChance[month]) {
      hex.weather = 1;
    } else {
      hex.weather = RandomRange(1, 100) <= hex.mudChance[month] ? 2u : 0u;
    }
  }
}

namespace {

// The breadth-first walk of both coastal searches: from the start, over
// land, outwards only (each neighbour farther from the start than the hex
// it is reached from), no farther than maxDistance. Each hex is queued once,
// so the first-found order is that of a walk that queues every equal route.
// visit(x, y, hex) returns true to stop the walk.
template <typename Visit>
void WalkOutwards(const cMap& map, int x, int y, int maxDistance, bool expand, Visit visit) {
  std::vector<sMapCoord> queue;
  std::vector<std::uint8_t> queued(static_cast<std::size_t>(map.GetWidth()) * map.GetHeight(), 0);
  auto mark = [&](int qx, int qy) {
    if (!map.IsInside(qx, qy)) return true;
    std::uint8_t& seen = queued[static_cast<std::size_t>(qy) * map.GetWidth() + qx];
    if (seen) return false;
    seen = 1;
    return true;
  };
  mark(x, y);
  queue.push_back({x, y});
  for (std::size_t next = 0; next < queue.size(); ++next) {
    const sMapCoord at = queue[next];
    // A start off the map reads the first cell, as every map look-up does.
    if (visit(at.x, at.y, map.GetHex(at.x, at.y))) return;
    if (!expand) continue;
    const int here = HexDistance(x, y, at.x, at.y);
    if (here > maxDistance) continue;
    for (int dir = 0; dir < 6; ++dir) {
      int nx = 0, ny = 0;
      HexNeighbourCoords(at.x, at.y, dir, nx, ny);
      if (!map.IsInside(nx, ny) || !map.GetHex(nx, ny).IsLand()) continue;
      if (HexDistance(x, y, nx, ny) <= here) continue;
      if (mark(nx, ny)) queue.push_back({nx, ny});
    }
  }
}

}  // namespace

bool cMap::FindLandingHex(const cWorld& world, int countryId, int x, int y, int seaZone, int maxDistance,
                          int& outX, int& outY, bool ownOnly) const {
  bool found = false;
  WalkOutwards(*this, x, y, maxDistance, !ownOnly, [&](int hx, int hy, const sHex& hex) {
    if (!hex.IsLand() || hex.unit || hex.seaZone != seaZone || !hex.coastal) return false;
    const bool admits = ownOnly ? hex.controller == countryId
                                : hex.controller != 0 && IsHexLandNotNeutralFor(world, hex, countryId);
    if (!admits) return false;
    outX = hx;
    outY = hy;
    found = true;
    return true;
  });
  return found;
}

bool cMap::FindWeakestCoastalEnemy(const cWorld& world, int countryId, int x, int y, int /*seaZone*/,
                                   int maxDistance, int& outX, int& outY) const {
  bool found = false;
  float weakest = 0.0f;
  WalkOutwards(*this, x, y, maxDistance, true, [&](int hx, int hy, const sHex& hex) {
    if (!hex.IsLand() || !hex.unit || !IsHexLandNotNeutralFor(world, hex, countryId)) return false;
    if (!AreAtWar(world, countryId, hex.unit->countryId)) return false;
    const float value = hex.unit->GetEffectiveCombatStrength();
    if (!found || value < weakest) {
      weakest = value;
      outX = hx;
      outY = hy;
      found = true;
    }
    return false;
  });
  return found;
}

bool HexesInSameTopographyGroup(const cWorld& world, int x1, int y1, int x2, int y2) {
  const cWorldTopography& topography = world.GetTopography();
  const cCity* first = topography.NearestCity(x1, y1);
  const cCity* second = topography.NearestCity(x2, y2);
  if (!first || !second) return false;
  for (const TopographyGroup& group : topography.WorldTopography()) {
    if (std::find(group.begin(), group.end(), first) == group.end()) continue;
    return std::find(group.begin(), group.end(), second) != group.end();
  }
  return false;
}

const std::list<sMapCoord>& cMap::SetFrontNodeDistance(int distance) {
  if (distance < 3) throw std::runtime_error("Blad! Pozadana odleglosc wezlow frontowych musi byc wieksza od 2");
  if (distance != front_node_distance_ || front_node_distance_ == -1) {
    ClearFrontMarks();
    // A new distance starts a new lattice: the nodes of another distance
    // would not lie on its straight lines.
    front_nodes_.clear();
    for (int k = 0, x = 0; x < width_; ++k, x += distance) {
      for (int y = k % 2 == 0 ? 0 : (distance + 1) / 2; y < height_; y += distance) {
        const sHex& hex = GetHex(x, y);
        if (hex.IsLand() && hex.controller != 0) front_nodes_.push_back({x, y});
      }
    }
    front_node_distance_ = distance;
  }
  return front_nodes_;
}

sMapCoord cMap::GetFrontNodeCoord(int x, int y, int dir) const {
  const int d = front_node_distance_;
  if (d == -1) throw std::runtime_error("Error, nieustawiona odlegloscWezlowFrontowych");
  const bool odd = x % 2 != 0;
  const int up = odd ? (d + 1) / 2 : d / 2;      // rows up on the way to dir 1 and 5
  const int down = odd ? d / 2 : (d + 1) / 2;    // rows down on the way to dir 2 and 4
  switch (dir) {
    case 0:
      return {x, y - d};
    case 1:
      return {x + d, y - up};
    case 2:
      return {x + d, y + down};
    case 3:
      return {x, y + d};
    case 4:
      return {x - d, y + down};
    case 5:
      return {x - d, y - up};
    default:
      throw std::runtime_error("Error, dopuszczalne wartosci parametru kierunek od 0 do 5");
  }
}

void cMap::SetFrontMark(int x, int y, std::uint8_t value) {
  if (!IsInside(x, y) || front_marks_.empty()) return;
  front_marks_[static_cast<std::size_t>(y) * width_ + x] = value;
}

std::uint8_t cMap::GetFrontMark(int x, int y) const {
  if (!IsInside(x, y) || front_marks_.empty()) return 0;
  return front_marks_[static_cast<std::size_t>(y) * width_ + x];
}

void cMap::ClearFrontMarks() { std::fill(front_marks_.begin(), front_marks_.end(), 0); }
