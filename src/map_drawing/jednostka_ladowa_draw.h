// The counter of a land unit (and of the artificial harbour): background in
// the country's colour, the symbol of its kind, size and level, the flag and
// the small markers and texts, each placed by the current entry of the land
// appearance table of the unit skin.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/render.h"

class cCountry;
class cJednostkaLadowa;
class cTexture;

// What a counter shows, taken from the unit when it is drawn.
struct sLandCounterState {
  int type = 0;                   // land type code 0..6, or 60 for the harbour
  int level = 1;                  // 1..5
  int sizeIndex = 0;              // row of the size marker (division or corps)
  const cCountry* country = nullptr;
  bool own = false;               // the unit of the country whose turn it is
  bool attacked = false;          // attacked this impulse
  bool wasAttacked = false;
  int actionPoints = 0;
  int supply = 0;
  int freezeTime = 0;
  bool hasOwnCommander = false;
  bool hasHqCommander = false;
  bool canReplenish = false;
  float effectiveStrength = 0.0f;
  std::wstring_view name;
};

namespace land_counter_layout {
constexpr int kCellWidth = 128;
constexpr int kCellHeight = 100;
// The counter is this wide at scale 1.
constexpr float kCounterWidth = 166.0f;
// The symbol cell of a land type at a level in the counter sheet.
plat::RectI SymbolCell(int type, int level);
// The cell under the symbol that takes the country's colour.
plat::RectI BackgroundCell();
// The part of a flag texture shown on the counter.
plat::RectI FlagSource();
}  // namespace land_counter_layout

// The counter sheet of a country: its own unit sheet when loaded, else the
// skin's sheet.
cTexture* LandCounterSheet(const cCountry* country);

// Draws the counter at (x, y) at depth z into a begun batch. Bit 0 of flags
// picks the alternate row of the blinking markers.
void DrawLandCounter(plat::SpriteBatch& sprite, const sLandCounterState& state, float x, float y, float z,
                     int flags);

// The state of a land unit as its counter shows it.
sLandCounterState LandCounterStateOf(cJednostkaLadowa& unit);
// The unit's counter scaled into a rectangle (dialogs): a width of 166 is
// scale 1; the first land table entry is used and no name is shown.
void DrawLandCounterInRect(cJednostkaLadowa& unit, const plat::RectI& rect);

// Makes the map's unit hook (g_MapDrawHooks.drawUnit) draw the counter of
// the visible land unit standing on a cell into the map's batch. (The
// attacker arrows of a pending attack join the hook with the attack set-up.)
void InstallLandUnitDrawHook();

// Makes the map draw its overlays after the cells (g_MapDrawHooks.
// drawAfterCells): in map mode 0 the turn state's selected land unit again
// at the depth of the selected unit, when it is visible and on the map;
// in modes 0 and 1 the marker of the selected hex.
void InstallSelectionDrawHook();
