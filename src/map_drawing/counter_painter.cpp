#include "map_drawing/counter_painter.h"

#include "app/draw_objects.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "world/country.h"

plat::RectI MovedDown(plat::RectI rect, int rows) {
  const int shift = rows * rect.Height();
  rect.top += shift;
  rect.bottom += shift;
  return rect;
}

cTexture* CounterFlag(const cCountry* country) {
  if (country && country->GetFlagTextureHolder()) return country->GetFlagTextureHolder();
  return GetDefaultFlagTexture();
}

void cCounterPainter::Sprite(int box, cTexture* texture, const plat::RectI& source, std::uint32_t argb) {
  if (!look_.valid[box]) return;
  const plat::RectI& b = look_.box[box];
  DrawSpriteRect(&sprite_, texture, source, static_cast<int>(x_ + static_cast<float>(b.left)),
                 static_cast<int>(y_ + static_cast<float>(b.top)), b.right, b.bottom, argb, z_, true);
}

void cCounterPainter::Text(int box, int style, const std::wstring& text, int rowsDown) {
  if (!look_.valid[box]) return;
  const sTextStyle& st = look_.text[style];
  if (!st.font) return;
  constexpr unsigned kFlags = plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine | plat::kTextNoClip;
  const plat::RectI b = MovedDown(look_.box[box], rowsDown);
  const int left = static_cast<int>(x_ + static_cast<float>(b.left));
  const int right = static_cast<int>(x_ + static_cast<float>(b.right));
  const int top = static_cast<int>(y_ + static_cast<float>(b.top));
  const int bottom = static_cast<int>(y_ + static_cast<float>(b.bottom));
  plat::RectI shadow{left + 1, top + 1, right + 1, bottom + 1};
  st.font->DrawText(&sprite_, text, shadow, kFlags, st.color2);
  plat::RectI place{left, top, right, bottom};
  st.font->DrawText(&sprite_, text, place, kFlags, st.color);
}

void DrawCounterInRect(sUnitAppearanceTable& table, const plat::RectI& rect,
                       const std::function<void(float x, float y)>& draw) {
  constexpr float kCounterWidth = 166.0f;
  plat::SpriteBatch* sprite = g_pSprite;
  if (!sprite || rect.right <= rect.left) return;
  sprite->Begin();
  const float scale = static_cast<float>(rect.right - rect.left) / kCounterWidth;
  const plat::Matrix2D saved = sprite->GetTransform();
  sprite->SetTransform(plat::Matrix2D::Scaling(scale, scale));
  sUnitAppearance* entry = table.current;
  const bool showName = g_Settings.ShowUnitName;
  table.current = &table.entries[0];
  g_Settings.ShowUnitName = false;
  draw(static_cast<float>(rect.left) / scale, static_cast<float>(rect.top) / scale);
  table.current = entry;
  g_Settings.ShowUnitName = showName;
  sprite->SetTransform(saved);
  sprite->End();
}
