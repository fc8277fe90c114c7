// The air unit's counter on the map and in panels.
#include "map_drawing/air_unit_draw.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/counter_painter.h"
#include "map_drawing/jednostka_ladowa_draw.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/jednostka_lotnicza.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace air_counter_layout {

plat::RectI AircraftCell(int type, int level) {
  const int column = std::clamp(type, 20, 22) - 20;
  const int row = std::clamp(level, 1, 5) - 1;
  const int left = 512 + 128 * column;
  const int top = 100 * row;
  return {left, top, left + 128, top + 100};
}

plat::RectI BackgroundCell() { return {768, 500, 896, 600}; }

}  // namespace air_counter_layout

namespace {

enum eAirBox : int {
  kAirBoxFrame = 0,
  kAirBoxLevel = 1,
  kAirBoxActionPoints = 2,
  kAirBoxLowSupply = 3,
  kAirBoxReplenish = 4,
  kAirBoxCommander = 5,
  kAirBoxReady = 6,
  kAirBoxName = 7,
  kAirBoxApText = 8,
  kAirBoxStrengthText = 9,
  kAirBoxFlag = 10,
  kAirBoxCounter = 11,
};

}  // namespace

void DrawAirCounter(plat::SpriteBatch& sprite, const sAirCounterState& state, float x, float y, float z, int flags) {
  const sUnitAppearance* look = g_AirAppearance.current;
  if (!look) return;
  cTexture* sheet = LandCounterSheet(state.country);
  cTexture* markers = &g_Textures[kSlotUnitInfo];
  const bool blink = (flags & 1) != 0;
  cCounterPainter paint(sprite, *look, x, y, z);
  const auto marker = [&](int b, bool alternate) { return MovedDown(look->source[b], alternate ? 1 : 0); };

  const std::uint32_t tint = state.country ? (state.country->colour[0] | 0xFF000000u) : kWhite;
  paint.Sprite(kAirBoxCounter, sheet, air_counter_layout::BackgroundCell(), tint);
  paint.Sprite(kAirBoxCounter, sheet, air_counter_layout::AircraftCell(state.type, state.level));
  paint.Sprite(kAirBoxFrame, markers, look->source[kAirBoxFrame]);
  paint.Sprite(kAirBoxFlag, CounterFlag(state.country), land_counter_layout::FlagSource());
  paint.Sprite(kAirBoxLevel, markers, MovedDown(look->source[kAirBoxLevel], std::clamp(state.level, 1, 5) - 1));
  const bool ready = state.own ? (!state.attacked && state.actionPoints > 0) : !state.wasAttacked;
  if (ready) paint.Sprite(kAirBoxReady, markers, marker(kAirBoxReady, blink && state.own));
  if (state.hasOwnCommander || state.hasHqCommander) {
    paint.Sprite(kAirBoxCommander, markers, marker(kAirBoxCommander, !state.hasOwnCommander));
  }
  if (state.own && state.actionPoints >= 1) {
    paint.Sprite(kAirBoxActionPoints, markers, marker(kAirBoxActionPoints, blink));
  }
  if (state.own && state.supply < kLowSupply) paint.Sprite(kAirBoxLowSupply, markers, marker(kAirBoxLowSupply, blink));
  if (state.own && state.canReplenish) paint.Sprite(kAirBoxReplenish, markers, marker(kAirBoxReplenish, blink));
  paint.Text(kAirBoxStrengthText, kStyleStrength,
             plat::Format(L"%.0f", std::floor(static_cast<double>(state.strength) + 0.5)));
  paint.Text(kAirBoxApText, kStyleActionPoints, plat::Format(L"%i", state.actionPoints));
  if (g_Settings.ShowUnitName) paint.Text(kAirBoxName, kStyleName, plat::Format(L"%s", std::wstring(state.name)));
}

sAirCounterState AirCounterStateOf(cJednostkaLotnicza& unit) {
  sAirCounterState state;
  state.type = unit.type;
  state.level = unit.level;
  state.country = unit.GetCountry();
  if (const cWorld* world = unit.World()) {
    const int current = world->turnState.CurrentCountryId();
    state.own = current != 0 && unit.countryId == current;
  }
  state.attacked = unit.attacked;
  state.wasAttacked = unit.wasAttacked;
  state.actionPoints = unit.actionPoints;
  state.supply = unit.supply;
  state.hasOwnCommander = unit.ownCommander != nullptr;
  state.hasHqCommander = unit.hqCommanderId != -1;
  state.canReplenish = state.own && unit.CanReplenish(nullptr);
  state.strength = unit.strength;
  state.name = unit.name;
  return state;
}

void DrawAirCounterInRect(cJednostkaLotnicza& unit, const plat::RectI& rect) {
  DrawCounterInRect(g_AirAppearance, rect, [&unit](float x, float y) {
    if (g_pSprite) DrawAirCounter(*g_pSprite, AirCounterStateOf(unit), x, y, 0.0f, 0);
  });
}
