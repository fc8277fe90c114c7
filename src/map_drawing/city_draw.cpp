// A city on the map: its tile, icons, numbers and name, placed by the city
// appearance of the map skin in use.
#include <cstdint>
#include <string>

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/city_draw.h"
#include "map_drawing/hex_drawing.h"
#include "platform/format.h"
#include "platform/render.h"
#include "world/cities.h"
#include "world/hex.h"
#include "world/map.h"
#include "world/world.h"

namespace {

constexpr std::uint32_t kUntinted = 0xFFFFFFFFu;

// The fortification of the city's hex (0 off the map or without a world).
int FortificationOf(const cCity& city) {
  const cWorld* world = city.World();
  if (!world || !world->GetMap().IsInside(city.x, city.y)) return 0;
  return world->GetMap().GetHex(city.x, city.y).fortification;
}

// One icon of the appearance: source rectangle into its box, relative to
// the position, when the box is valid.
void DrawIcon(plat::SpriteBatch& sprite, const sCityAppearance& look, int box, plat::RectI source, float px,
              float py, float depth) {
  if (!look.valid[box]) return;
  const plat::RectI& b = look.box[box];
  DrawSpriteRect(&sprite, &g_Textures[kSlotOthers], source, static_cast<int>(px) + b.left,
                 static_cast<int>(py) + b.top, b.Width(), b.Height(), kUntinted, depth, true);
}

// A text centred in its box, at the depth given: the shadow one pixel right
// and down first.
void DrawLabel(plat::SpriteBatch& sprite, const sCityAppearance& look, int box, const sTextStyle& style,
               const std::wstring& text, float px, float py, float depth) {
  if (!look.valid[box] || !style.font) return;
  const float savedDepth = sprite.GetTextDepth();
  sprite.SetTextDepth(depth);
  constexpr unsigned kFlags = plat::kTextCenter | plat::kTextVCenter | plat::kTextNoClip;
  const plat::RectI& b = look.box[box];
  const int left = static_cast<int>(px) + b.left;
  const int top = static_cast<int>(py) + b.top;
  plat::RectI shadow{left + 1, top + 1, left + b.Width() + 1, top + b.Height() + 1};
  style.font->DrawText(&sprite, text, shadow, kFlags, style.color2);
  plat::RectI place{left, top, left + b.Width(), top + b.Height()};
  style.font->DrawText(&sprite, text, place, kFlags, style.color);
  sprite.SetTextDepth(savedDepth);
}

}  // namespace

void DrawCityOnMap(plat::SpriteBatch& sprite, const cCity& city, float px, float py, float depth, bool drawTile,
                   int variant) {
  if (drawTile) {
    // Cities use three tile pictures, resource sites two; a negative
    // variant counts as its absolute value.
    const int v = variant < 0 ? -(variant % 6) : variant;
    const int left = city.type == kCityResources ? 502 + 167 * (v % 2) : 1 + 167 * (v % 3);
    const plat::RectI tile{left, 502, left + 166, 668};
    DrawSpriteRect(&sprite, &g_Textures[kSlotOthers], tile, static_cast<int>(px), static_cast<int>(py), 166, 166,
                   kUntinted, depth, true);
  }
  const sCityAppearance* look = g_CityAppearance.current;
  if (!look) return;

  DrawIcon(sprite, *look, 0, look->source[0], px, py, depth);
  // One row of the sheet per fortification level.
  plat::RectI fort = look->source[1];
  const int fortLevel = FortificationOf(city);
  fort.top += fortLevel * look->source[1].Height();
  fort.bottom += fortLevel * look->source[1].Height();
  DrawIcon(sprite, *look, 1, fort, px, py, depth);
  if (city.IsPort()) DrawIcon(sprite, *look, 2, look->source[2], px, py, depth);
  if (city.type == kCitySupply || city.type == kCitySupplyPort) {
    DrawIcon(sprite, *look, 3, look->source[3], px, py, depth);
  }
  if (city.type == kCityResources) DrawIcon(sprite, *look, 4, look->source[4], px, py, depth);
  if (city.victoryPoints > 0) {
    DrawIcon(sprite, *look, 5, look->source[5], px, py, depth);
    DrawLabel(sprite, *look, 8, look->text[2], plat::Format(L"%i", city.victoryPoints), px, py, depth);
  }
  if (city.productionPoints > 0.0f) {
    DrawLabel(sprite, *look, 7, look->text[1], plat::Format(L"%.0f", city.productionPoints), px, py, depth);
  }
  // The name lies in front of the counters (the skin keeps it clear of the
  // counter on the city's hex; a long one reaches under its neighbours'),
  // behind the selected unit.
  if (g_Settings.ShowCityName) {
    const float nameDepth = (LayerDepth(kLayerUnits) + LayerDepth(kLayerSelectedUnit)) / 2.0f;
    DrawLabel(sprite, *look, 6, look->text[0], plat::Format(L"%s", city.name), px, py, nameDepth);
  }
}
