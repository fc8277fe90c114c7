// The ship's counter on the map, on the sea-battle grid and in dialogs.
#include "world/naval_unit_draw.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa_draw.h"
#include "world/jednostka_morska.h"

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

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr float kCounterWidth = 166.0f;

enum eNavalBox : int {
  kBoxFrame = 0,
  kBoxBattle = 1,
  kBoxBattleSide = 2,
  kBoxShip = 3,
  kBoxName = 4,
  kBoxHitPointText = 5,
  kBoxFlag = 6,
  kBoxHitPointBar = 7,
};

constexpr int kStyleName = 0;
constexpr int kStyleHitPoints = 1;

plat::RectI MovedDown(plat::RectI rect, int rows) {
  const int shift = rows * rect.Height();
  rect.top += shift;
  rect.bottom += shift;
  return rect;
}

cTexture* FlagHolder(const cCountry* country) {
  if (country && country->GetFlagTextureHolder()) return country->GetFlagTextureHolder();
  return GetDefaultFlagTexture();
}

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
  // A sprite box holds left, top, width and height.
  auto box = [&](int b, cTexture* texture, const plat::RectI& source, std::uint32_t argb = kWhite) {
    if (!look->valid[b]) return;
    const plat::RectI& r = look->box[b];
    DrawSpriteRect(&sprite, texture, source, static_cast<int>(x + static_cast<float>(r.left)),
                   static_cast<int>(y + static_cast<float>(r.top)), r.right, r.bottom, argb, z, true);
  };
  // A text box holds edges; the shadow goes one pixel right and down.
  auto text = [&](int b, int style, const std::wstring& value, int rowsDown) {
    if (!look->valid[b]) return;
    const sTextStyle& st = look->text[style];
    if (!st.font) return;
    constexpr unsigned kFlags = plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine | plat::kTextNoClip;
    const plat::RectI r = MovedDown(look->box[b], rowsDown);
    const int left = static_cast<int>(x + static_cast<float>(r.left));
    const int right = static_cast<int>(x + static_cast<float>(r.right));
    const int top = static_cast<int>(y + static_cast<float>(r.top));
    const int bottom = static_cast<int>(y + static_cast<float>(r.bottom));
    plat::RectI shadow{left + 1, top + 1, right + 1, bottom + 1};
    st.font->DrawText(&sprite, value, shadow, kFlags, st.color2);
    plat::RectI place{left, top, right, bottom};
    st.font->DrawText(&sprite, value, place, kFlags, st.color);
  };

  const int percent = std::clamp(state.hitPointPercent, 0, 100);
  // The country's colour under the silhouette, then frame and flag.
  box(kBoxShip, sheet, naval_counter_layout::BackgroundCell(), CountryColour(state.country, 0));
  box(kBoxShip, sheet, naval_counter_layout::ShipCell(state.type));
  box(kBoxFrame, markers, look->source[kBoxFrame]);
  box(kBoxFlag, FlagHolder(state.country), land_counter_layout::FlagSource());
  // The hit points as a bar in the country's light colour on a dark track.
  if (look->valid[kBoxHitPointBar]) {
    const plat::RectI& r = look->box[kBoxHitPointBar];
    box(kBoxHitPointBar, markers, naval_counter_layout::BarTrack());
    const int inner = r.right - 2;
    const int filled = inner * percent / 100;
    if (filled > 0 && r.bottom > 2) {
      DrawSpriteRect(&sprite, markers, naval_counter_layout::BarFill(),
                     static_cast<int>(x + static_cast<float>(r.left + 1)),
                     static_cast<int>(y + static_cast<float>(r.top + 1)), filled, r.bottom - 2,
                     CountryColour(state.country, 2), z, true);
    }
  }
  if (state.takesPartInBattle) box(kBoxBattle, markers, MovedDown(look->source[kBoxBattle], alternate ? 1 : 0));
  if (state.battleSideMarker) {
    box(kBoxBattleSide, markers, MovedDown(look->source[kBoxBattleSide], alternate ? 1 : 0));
  }
  text(kBoxHitPointText, kStyleHitPoints, plat::Format(L"%i%%", percent), 0);
  if (g_Settings.ShowUnitName) {
    text(kBoxName, kStyleName, plat::Format(L"%s", std::wstring(state.name)), 0);
    // The fleet's name on the line under the ship's.
    if (!state.fleetName.empty()) text(kBoxName, kStyleName, plat::Format(L"%s", std::wstring(state.fleetName)), 1);
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

void cJednostkaMorska::Draw(float drawX, float drawY, float z, int flags) const {
  if (!g_pSprite) return;
  DrawNavalCounter(*g_pSprite, NavalCounterStateOf(*this), drawX, drawY, z, flags);
}

void cJednostkaMorska::DrawInRect(const plat::RectI& rect) const {
  plat::SpriteBatch* sprite = g_pSprite;
  // A rectangle without width has no scale to draw at.
  if (!sprite || rect.right <= rect.left) return;
  sprite->Begin();
  const float scale = static_cast<float>(rect.right - rect.left) / kCounterWidth;
  const plat::Matrix2D saved = sprite->GetTransform();
  sprite->SetTransform(plat::Matrix2D::Scaling(scale, scale));
  sUnitAppearance* entry = g_NavalAppearance.current;
  const bool showName = g_Settings.ShowUnitName;
  g_NavalAppearance.current = &g_NavalAppearance.entries[0];
  g_Settings.ShowUnitName = false;
  Draw(static_cast<float>(rect.left) / scale, static_cast<float>(rect.top) / scale, 0.0f, 0);
  g_NavalAppearance.current = entry;
  g_Settings.ShowUnitName = showName;
  sprite->SetTransform(saved);
  sprite->End();
}
