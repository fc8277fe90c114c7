// The counter of a ship: the country's colour under the ship's silhouette,
// the flag, the battle markers, the hit points as a bar and in per cent, and
// the names of the ship and its fleet, each placed by the current entry of
// the naval appearance table of the unit skin. The sea nodes draw the ships
// they show with it, the sea-battle screen the ships on its grid, and the
// dialogs draw it scaled into a rectangle.
#pragma once

#include <string_view>

#include "platform/render.h"

class cCountry;
class cJednostkaMorska;

// What a ship counter shows, taken from the ship when it is drawn.
struct sNavalCounterState {
  int type = 40;                  // naval type code 40..45
  const cCountry* country = nullptr;
  int hitPointPercent = 0;        // 0..100
  bool takesPartInBattle = false;
  bool battleSideMarker = false;
  std::wstring_view name;
  std::wstring_view fleetName;    // empty for a ship outside a fleet
};

namespace naval_counter_layout {
// The silhouette of a naval type (others take the nearest) in the counter
// sheet.
plat::RectI ShipCell(int type);
// The cell under the silhouette that takes the country's colour.
plat::RectI BackgroundCell();
// The hit-point bar's empty track and its filling, in the marker sheet.
plat::RectI BarTrack();
plat::RectI BarFill();
}  // namespace naval_counter_layout

// Draws the counter at (x, y) at depth z into a begun batch. Bit 0 of flags
// picks the alternate row of the battle markers.
void DrawNavalCounter(plat::SpriteBatch& sprite, const sNavalCounterState& state, float x, float y, float z,
                      int flags);

sNavalCounterState NavalCounterStateOf(const cJednostkaMorska& ship);
// The ship's counter at a screen position into the shared batch; bit 0 of
// flags picks the alternate row of the battle markers.
void DrawShipCounter(const cJednostkaMorska& ship, float x, float y, float z, int flags);
// The ship's counter scaled into a rectangle (dialogs): a width of 166 is
// scale 1; the first naval table entry is used and no names are shown.
void DrawNavalCounterInRect(const cJednostkaMorska& ship, const plat::RectI& rect);
