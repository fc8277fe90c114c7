// The counter of an air unit: background in the country's colour, the
// aircraft of its type and level, the flag, the level mark, the small
// markers and texts, each placed by the current entry of the air appearance
// table of the unit skin.
#pragma once

#include <string_view>

#include "platform/render.h"

class cCountry;
class cJednostkaLotnicza;

// What an air counter shows, taken from the unit when it is drawn.
struct sAirCounterState {
  int type = 20;  // 20 fighter, 21 tactical bomber, 22 strategic bomber
  int level = 1;
  const cCountry* country = nullptr;
  bool own = false;
  bool attacked = false;
  bool wasAttacked = false;
  int actionPoints = 0;
  int supply = 0;
  bool hasOwnCommander = false;
  bool hasHqCommander = false;
  bool canReplenish = false;
  float strength = 0.0f;
  std::wstring_view name;
};

namespace air_counter_layout {
// The aircraft of a type (20..22) at a level (1..5; others take the nearest).
plat::RectI AircraftCell(int type, int level);
// The cell under the aircraft that takes the country's colour.
plat::RectI BackgroundCell();
}  // namespace air_counter_layout

// Draws the counter at (x, y) at depth z into a begun batch. Bit 0 of flags
// picks the alternate row of the blinking markers.
void DrawAirCounter(plat::SpriteBatch& sprite, const sAirCounterState& state, float x, float y, float z, int flags);

sAirCounterState AirCounterStateOf(cJednostkaLotnicza& unit);
// The unit's counter scaled into a rectangle (the unit panel, dialogs): a
// width of 166 is scale 1; the first air table entry, no name.
void DrawAirCounterInRect(cJednostkaLotnicza& unit, const plat::RectI& rect);
