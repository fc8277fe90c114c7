// A period campaign map drawn from the scenario's own map: the hexes of a
// part of Europe tinted by their owners of September 1939 (or a later owner
// where the scene says so, hatched), the sea with its hatching, bold arrows
// of the advancing armies and the cities named.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "make_event_pictures/picture_frame.h"
#include "make_events/scenario_geo.h"

namespace evpic {

struct Arrow {
  std::vector<std::pair<float, float>> path;  // hex coordinates, the head at the end
  Col colour;
};

struct MapScene {
  float centreX = 0, centreY = 0;  // hex coordinates of the picture's centre
  float columns = 30;              // hex columns across the picture
  // Hexes that change hands in the scene: their new owner (0: unchanged).
  std::function<int(int x, int y)> newOwner = [](int, int) { return 0; };
  std::vector<Arrow> arrows;
  std::vector<std::string> cities;  // named on the map
};

// The owners' colours from the scenario's countries.txt, by country id.
std::vector<Col> CountryColours(const std::filesystem::path& sources);

void DrawMap(Canvas& k, const Fonts& fonts, const evscript::ScenarioGeo& geo, const std::vector<Col>& colours,
             const MapScene& scene);

}  // namespace evpic
