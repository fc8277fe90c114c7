// Topography: the cities of the map grouped by the land masses that join
// them, and the nearest-city map, which gives every land hex the city whose
// land flood reaches it first. Both are computed once when a game has been
// loaded.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class cCity;
class cMap;

// The cities of one land mass: the first is the city the group was found
// from, the others follow in the order the flood reached their hexes.
using TopographyGroup = std::vector<cCity*>;
using Topography = std::vector<TopographyGroup>;
// One list of groups per country of the world, at index id - 1.
using CountryTopographies = std::vector<Topography>;

// The land neighbours of (x, y) in the order both floods visit them: north,
// south, then the two east and the two west neighbours. Returns the count.
int TopographyLandNeighbours(const cMap& map, int x, int y, int outX[6], int outY[6]);

class cWorldTopography {
 public:
  // Groups the cities of types 0..3 by land mass, in city-list order.
  void ComputeWorldTopography(const cMap& map, const std::vector<cCity*>& cities);
  // Multi-source flood from every city of types 0..3; needs the grid size
  // set by ComputeWorldTopography.
  void BuildNearestCityGrid(const cMap& map, const std::vector<cCity*>& cities);

  const Topography& WorldTopography() const { return world_topography_; }
  // The city that reaches (x, y) first; null for water, for land no city
  // reaches, and for positions outside the grid.
  cCity* NearestCity(int x, int y) const;

 private:
  Topography world_topography_;
  std::vector<cCity*> nearest_city_grid_;
  int grid_width_ = 0;
  int grid_height_ = 0;
};
