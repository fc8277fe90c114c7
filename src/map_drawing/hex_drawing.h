// Drawing one cell of the map: terrain, rivers, weather, decoration,
// ownership tint, marks, borders, grid, city or fortification, sea-node
// marker and unit, each at the depth of its layer in the map skin's sprite
// depth table.
//
// Every picture is 166 x 166 pixels in a 167-pixel grid of the skin sheets
// (texture slots 14 terrain, 15 others, 16 eye candies); the sheets' layout
// is in skin_sheet_layout below.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/render.h"
#include "world/hex.h"

class cJednostkaMorska;
class cMap;
struct sEyeCandy;

// Screen position of a cell's top-left corner (map pixels before the view
// scaling) and a depth, which every element overwrites with its own.
struct sHexScreenPos {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// Entries of the sprite depth table, one per map layer.
enum eMapLayer : int {
  kLayerWater = 0,
  kLayerPlain = 2,
  kLayerDesert = 3,
  kLayerSwamp = 4,
  kLayerHill = 5,
  kLayerMountain = 6,
  kLayerRivers = 7,
  kLayerRough = 8,
  kLayerForest = 9,
  kLayerMarks = 10,
  kLayerTint = 11,
  kLayerGrid = 12,
  kLayerCities = 13,
  kLayerUnits = 14,
  kLayerSelectedUnit = 15,
  kLayerWeather = 16,
  kLayerBorders = 17,
};

// The layer of a terrain code (water for codes the map does not know).
int TerrainLayer(int terrain);
// The depth of a layer from the sprite depth table.
float LayerDepth(int layer);

// Source rectangles of the skin sheets.
namespace skin_sheet_layout {
constexpr int kCell = 167;
constexpr int kPicture = 166;
// Terrain t, variant v, weather w (terrain.png).
plat::RectI Terrain(int terrain, int variant, int weather);
// River mouth towards side 0..5 of a water cell (terrain.png).
plat::RectI RiverMouth(int side, int variant);
// The rest come from others.png.
plat::RectI River(int side, int variant);  // side 1..3
plat::RectI ControllerTint();
plat::RectI OwnerTint();
plat::RectI Grid();
plat::RectI Border(int side);         // owner or controller, side 1..3
plat::RectI SeaZoneBorder(int side);  // side 1..3
plat::RectI AttackerArrow(int side);  // side 0..5
plat::RectI WeatherOverlay(int variant, int weather);
plat::RectI Fortification(int level);  // 1..11
plat::RectI CoastMark();
plat::RectI Mark(int bit);             // 0..31
plat::RectI AllianceColour(int alliance);  // 1..; 0 the neutral picture
}  // namespace skin_sheet_layout

// What the hex drawing asks of parts of the game that are drawn elsewhere:
// the unit standing on a cell (with the attacker arrows of a pending
// attack) and the map's own overlays after the cells (the turn state's
// current unit and the selected-hex marker). Unset hooks draw nothing.
struct sMapDrawHooks {
  std::function<void(plat::SpriteBatch&, const sHex&, sHexScreenPos, int animationBit)> drawUnit;
  // Called by cMap::Render after the cells in map modes 0 and 1, with the
  // view origin (ox, oy) and the mode.
  std::function<void(plat::SpriteBatch&, const cMap&, int ox, int oy, int mode)> drawAfterCells;
};
extern sMapDrawHooks g_MapDrawHooks;

// The marker of the selected hex: the selection mark's picture over the
// cell at the marks' depth.
void DrawSelectedHexMarker(plat::SpriteBatch& sprite, sHexScreenPos pos);

// The sea-battle screen's cell: water, mark, and the ship standing on it
// (null for none) 0.1 nearer, its battle markers in the alternate row when
// flag is set (the screen passes whether the first side acts).
void DrawHexTile(plat::SpriteBatch& sprite, const sHex& hex, sHexScreenPos pos, bool flag,
                 const cJednostkaMorska* ship);

// cMap::Render keeps the pictures that follow from the cells alone between
// frames, checked against the cells, decorations, settings, skin and
// countries every frame and made again when any differs. The map holds
// them and drops them when cleared or destroyed; this drops them at once.
void ForgetMapPictures(const cMap& map);
