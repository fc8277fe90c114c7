// The ship's counter on the map, on the sea-battle grid and in dialogs.
#include "map_drawing/naval_unit_draw.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/counter_painter.h"
#include "map_drawing/jednostka_ladowa_draw.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_morska.h"
#include "world/world_helpers.h"

namespace naval_counter_layout {

namespace {
constexpr int kCellWidth = 128;
constexpr int kCellHeight = 100;
constexpr int kColumn = 896;
}  // namespace

plat::RectI ShipCell(int type) {
  const int top = kCellHeight * (std::clamp(type, 40, 45) - 40);
  return {kColumn, top, kColumn + kCellWidth, top + kCellHeight};
}

plat::RectI BackgroundCell() { return {kColumn, 600, kColumn + kCellWidth, 600 + kCellHeight}; }

plat::RectI BarTrack() { return {416, 0, 456, 8}; }

plat::RectI BarFill() { return {416, 8, 456, 16}; }

}  // namespace naval_counter_layout

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

enum eNavalBox : int {
  kShipBoxFrame = 0,
  kShipBoxBattle = 1,
  kShipBoxBattleSide = 2,
  kShipBoxShip = 3,
  kShipBoxName = 4,
  kShipBoxHitPointText = 5,
  kShipBoxFlag = 6,
  kShipBoxHitPointBar = 7,
};

constexpr int kStyleHitPoints = 1;

// A colour of the country at full alpha; white for a colour never set (a
// country without colours would draw a black counter and bar).
std::uint32_t CountryColour(const cCountry* country, int index) {
  if (!country) return kWhite;
  const std::uint32_t colour = country->colour[static_cast<std::size_t>(index)];
  return colour != 0 ? (colour | kOpaque) : kWhite;
}

}  // namespace

void DrawNavalCounter(plat::SpriteBatch& sprite, const sNavalCounterState& state, float x, float y, float z,
                      int flags) {
  const sUnitAppearance* look = g_NavalAppearance.current;
  if (!look) return;
  cTexture* sheet = LandCounterSheet(state.country);
  cTexture* markers = &g_Textures[kSlotUnitInfo];
  const bool alternate = (flags & 1) != 0;
  cCounterPainter paint(sprite, *look, x, y, z);

  const int percent = std::clamp(state.hitPointPercent, 0, 100);
  // The country's colour under the silhouette, then frame and flag.
  paint.Sprite(kShipBoxShip, sheet, naval_counter_layout::BackgroundCell(), CountryColour(state.country, 0));
  paint.Sprite(kShipBoxShip, sheet, naval_counter_layout::ShipCell(state.type));
  paint.Sprite(kShipBoxFrame, markers, look->source[kShipBoxFrame]);
  paint.Sprite(kShipBoxFlag, CounterFlag(state.country), land_counter_layout::FlagSource());
  // The hit points as a bar in the country's light colour on a dark track.
  if (look->valid[kShipBoxHitPointBar]) {
    const plat::RectI& r = look->box[kShipBoxHitPointBar];
    paint.Sprite(kShipBoxHitPointBar, markers, naval_counter_layout::BarTrack());
    const int inner = r.right - 2;
    const int filled = inner * percent / 100;
    if (filled > 0 && r.bottom > 2) {
      DrawSpriteRect(&sprite, markers, naval_counter_layout::BarFill(),
                     static_cast<int>(x + static_cast<float>(r.left + 1)),
                     static_cast<int>(y + static_cast<float>(r.top + 1)), filled, r.bottom - 2,
                     CountryColour(state.country, 2), z, true);
    }
  }
  if (state.takesPartInBattle) {
    paint.Sprite(kShipBoxBattle, markers, MovedDown(look->source[kShipBoxBattle], alternate ? 1 : 0));
  }
  if (state.battleSideMarker) {
    paint.Sprite(kShipBoxBattleSide, markers, MovedDown(look->source[kShipBoxBattleSide], alternate ? 1 : 0));
  }
  paint.Text(kShipBoxHitPointText, kStyleHitPoints, plat::Format(L"%i%%", percent), 0);
  if (g_Settings.ShowUnitName) {
    paint.Text(kShipBoxName, kStyleName, plat::Format(L"%s", std::wstring(state.name)), 0);
    // The fleet's name on the line under the ship's.
    if (!state.fleetName.empty()) {
      paint.Text(kShipBoxName, kStyleName, plat::Format(L"%s", std::wstring(state.fleetName)), 1);
    }
  }
}

sNavalCounterState NavalCounterStateOf(const cJednostkaMorska& ship) {
  sNavalCounterState state;
  state.type = ship.type;
  state.country = ship.GetCountry();
  state.hitPointPercent = ship.GetHitPointPercent();
  state.takesPartInBattle = ship.takesPartInBattle;
  state.battleSideMarker = ship.battleSideMarker;
  state.name = ship.name;
  if (ship.fleet) state.fleetName = ship.fleet->name;
  return state;
}

void DrawShipCounter(const cJednostkaMorska& ship, float x, float y, float z, int flags) {
  if (!g_pSprite) return;
  DrawNavalCounter(*g_pSprite, NavalCounterStateOf(ship), x, y, z, flags);
}

void DrawNavalCounterInRect(const cJednostkaMorska& ship, const plat::RectI& rect) {
  DrawCounterInRect(g_NavalAppearance, rect, [&ship](float x, float y) { DrawShipCounter(ship, x, y, 0.0f, 0); });
}
