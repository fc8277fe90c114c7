// A city on the map, drawn from the map skin's sheet and the city
// appearance in use.
#pragma once

class cCity;
namespace plat {
class SpriteBatch;
}

// Draws the city at a map position and depth: with drawTile the city tile
// (variant picks the picture), then the icons and the numbers; the name in
// front of the units on the map, behind the selected one.
void DrawCityOnMap(plat::SpriteBatch& sprite, const cCity& city, float px, float py, float depth, bool drawTile,
                   int variant);
