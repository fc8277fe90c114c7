// The air unit's counter on the map and in panels.
#include "world/air_unit_draw.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "platform/format.h"
#include "world/counter_painter.h"
#include "world/country.h"
#include "world/jednostka_ladowa_draw.h"
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
  kBoxFrame = 0,
  kBoxLevel = 1,
  kBoxActionPoints = 2,
  kBoxLowSupply = 3,
  kBoxReplenish = 4,
  kBoxCommander = 5,
  kBoxReady = 6,
  kBoxName = 7,
  kBoxApText = 8,
  kBoxStrengthText = 9,
  kBoxFlag = 10,
  kBoxCounter = 11,
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
  paint.Sprite(kBoxCounter, sheet, air_counter_layout::BackgroundCell(), tint);
  paint.Sprite(kBoxCounter, sheet, air_counter_layout::AircraftCell(state.type, state.level));
  paint.Sprite(kBoxFrame, markers, look->source[kBoxFrame]);
  paint.Sprite(kBoxFlag, CounterFlag(state.country), land_counter_layout::FlagSource());
  paint.Sprite(kBoxLevel, markers, MovedDown(look->source[kBoxLevel], std::clamp(state.level, 1, 5) - 1));
  const bool ready = state.own ? (!state.attacked && state.actionPoints > 0) : !state.wasAttacked;
  if (ready) paint.Sprite(kBoxReady, markers, marker(kBoxReady, blink && state.own));
  if (state.hasOwnCommander || state.hasHqCommander) {
    paint.Sprite(kBoxCommander, markers, marker(kBoxCommander, !state.hasOwnCommander));
  }
  if (state.own && state.actionPoints >= 1) paint.Sprite(kBoxActionPoints, markers, marker(kBoxActionPoints, blink));
  if (state.own && state.supply < kLowSupply) paint.Sprite(kBoxLowSupply, markers, marker(kBoxLowSupply, blink));
  if (state.own && state.canReplenish) paint.Sprite(kBoxReplenish, markers, marker(kBoxReplenish, blink));
  paint.Text(kBoxStrengthText, kStyleStrength,
             plat::Format(L"%.0f", std::floor(static_cast<double>(state.strength) + 0.5)));
  paint.Text(kBoxApText, kStyleActionPoints, plat::Format(L"%i", state.actionPoints));
  if (g_Settings.ShowUnitName) paint.Text(kBoxName, kStyleName, plat::Format(L"%s", std::wstring(state.name)));
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

void cJednostkaLotnicza::Draw(float drawX, float drawY, float z, int flags) {
  if (!g_pSprite) return;
  DrawAirCounter(*g_pSprite, AirCounterStateOf(*this), drawX, drawY, z, flags);
}

void cJednostkaLotnicza::DrawInRect(const plat::RectI& rect) {
  DrawCounterInRect(g_AirAppearance, rect, [this](float x, float y) { Draw(x, y, 0.0f, 0); });
}
