// The dialog's drawing operations and OnRender.
#include <algorithm>
#include <string>

#include "gui/dxut_combobox.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_resource_manager.h"
#include "platform/framework.h"

namespace {

// Background bands: the renderer tints a quad with one colour, so a
// gradient is drawn as horizontal bands of the interpolated colours.
constexpr int kBackgroundBands = 16;

std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, float t) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const float ca = static_cast<float>((a >> shift) & 0xFF);
    const float cb = static_cast<float>((b >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>(ca + (cb - ca) * t + 0.5f) << shift;
  }
  return out;
}

void FillQuad(plat::SpriteBatch& sprite, const plat::Texture& white, float left, float top, float right,
              float bottom, std::uint32_t color, float depth) {
  const plat::PointF corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  sprite.DrawQuad(white, plat::RectI{0, 0, 1, 1}, corners, color, depth);
}

}  // namespace

plat::RectI CDXUTDialog::ToScreen(const plat::RectI& rect) const {
  const int dy = m_y + (m_bCaption ? m_nCaptionHeight : 0);
  return {rect.left + m_x, rect.top + dy, rect.right + m_x, rect.bottom + dy};
}

HRESULT CDXUTDialog::DrawRect(const plat::RectI& rect, std::uint32_t color) {
  CDXUTDialogResourceManager& manager = GetGlobalDialogResourceManager();
  plat::SpriteBatch* sprite = manager.GetSprite();
  const plat::Texture* white = manager.GetWhiteTexture();
  if (sprite == nullptr || white == nullptr) return E_FAIL;
  const plat::RectI screen = ToScreen(rect);
  const bool open = sprite->InBatch();
  if (!open) sprite->Begin();
  FillQuad(*sprite, *white, static_cast<float>(screen.left), static_cast<float>(screen.top),
           static_cast<float>(screen.right), static_cast<float>(screen.bottom), color, 0.0f);
  if (!open) sprite->End();
  return S_OK;
}

HRESULT CDXUTDialog::DrawSprite(CDXUTElement* element, const plat::RectI& rect, float depth) {
  if (element == nullptr) return E_INVALIDARG;
  if (element->TextureColor.Current.a == 0) return S_OK;
  plat::Texture* texture = GetTexture(element->iTexture);
  plat::SpriteBatch* sprite = GetGlobalDialogResourceManager().GetSprite();
  if (texture == nullptr || sprite == nullptr) return E_FAIL;
  return DrawSpriteTexture(texture, element->rcTexture, rect, depth, ArgbFromColor(element->TextureColor.Current));
}

HRESULT CDXUTDialog::DrawSpriteTexture(const plat::Texture* texture, const plat::RectI& source,
                                       const plat::RectI& rect, float depth, std::uint32_t color) {
  plat::SpriteBatch* sprite = GetGlobalDialogResourceManager().GetSprite();
  if (texture == nullptr || sprite == nullptr) return E_FAIL;
  if (source.Width() == 0 || source.Height() == 0) return S_OK;
  const plat::RectI screen = ToScreen(rect);
  if (screen.Width() == 0 || screen.Height() == 0) return S_OK;
  const bool open = sprite->InBatch();
  if (!open) sprite->Begin();
  // The source stretched over the screen rectangle: the quad that a scaling
  // transform and a position divided by the scale would give, with the
  // corners taken straight from the rectangle. (Dividing and multiplying
  // back in floats left the right edge a hair short of a whole pixel, which
  // showed as a one-pixel gap between a stretched middle slice and its cap.)
  const float l = static_cast<float>(screen.left), t = static_cast<float>(screen.top);
  const float r = static_cast<float>(screen.right), b = static_cast<float>(screen.bottom);
  const plat::PointF corners[4] = {{l, t}, {r, t}, {r, b}, {l, b}};
  sprite->DrawQuad(*texture, source, corners, color, depth);
  if (!open) sprite->End();
  return S_OK;
}

HRESULT CDXUTDialog::DrawText(const wchar_t* text, CDXUTElement* element, const plat::RectI& rect, bool shadow,
                              int count) {
  if (element == nullptr || text == nullptr) return E_INVALIDARG;
  if (element->FontColor.Current.a == 0) return S_OK;
  plat::Font* font = GetFont(element->iFont);
  plat::SpriteBatch* sprite = GetGlobalDialogResourceManager().GetSprite();
  if (font == nullptr || sprite == nullptr) return E_FAIL;
  std::wstring_view view(text);
  if (count >= 0 && static_cast<std::size_t>(count) < view.size()) view = view.substr(0, static_cast<std::size_t>(count));
  const bool open = sprite->InBatch();
  if (!open) sprite->Begin();
  sprite->SetTransform(plat::Matrix2D::Identity());
  plat::RectI screen = ToScreen(rect);
  unsigned format = element->dwTextFormat & ~static_cast<unsigned>(plat::kTextCalcRect);
  // The GUI's fonts place text vertically also when it may break into
  // lines (the window system's rule needs a single line): measure the block
  // and move the rectangle instead.
  if ((format & (plat::kTextVCenter | plat::kTextBottom)) != 0 && (format & plat::kTextSingleLine) == 0) {
    plat::RectI measured{0, 0, screen.Width(), 0};
    font->DrawText(nullptr, view, measured, (format & ~static_cast<unsigned>(plat::kTextVCenter | plat::kTextBottom)) |
                                                plat::kTextCalcRect, 0);
    const int free = screen.Height() - measured.Height();
    screen.top += (format & plat::kTextBottom) != 0 ? free : free / 2;
    screen.bottom = screen.top + measured.Height();
    format &= ~static_cast<unsigned>(plat::kTextVCenter | plat::kTextBottom);
    format |= plat::kTextNoClip;
  }
  // The vertical placement above draws without the font's own cut; a format
  // that asks for clipping is cut at the caller's rectangle here (inside
  // any clip already set).
  const plat::RectI* outer = sprite->GetClipRect();
  const bool clipHere = (format & plat::kTextNoClip) != 0 && (element->dwTextFormat & plat::kTextNoClip) == 0;
  plat::RectI saved{};
  if (outer != nullptr) saved = *outer;
  if (clipHere) {
    plat::RectI clip = ToScreen(rect);
    if (outer != nullptr) {
      clip.left = std::max(clip.left, saved.left);
      clip.top = std::max(clip.top, saved.top);
      clip.right = std::min(clip.right, saved.right);
      clip.bottom = std::min(clip.bottom, saved.bottom);
    }
    sprite->SetClipRect(&clip);
  }
  if (shadow) {
    plat::RectI shadowRect{screen.left + 1, screen.top + 1, screen.right + 1, screen.bottom + 1};
    const std::uint32_t alpha = static_cast<std::uint32_t>(std::clamp(element->FontColor.Current.a, 0.0f, 1.0f) * 255.0f);
    font->DrawText(sprite, view, shadowRect, format, alpha << 24);
  }
  font->DrawText(sprite, view, screen, format, ArgbFromColor(element->FontColor.Current));
  if (clipHere) sprite->SetClipRect(outer != nullptr ? &saved : nullptr);
  if (!open) sprite->End();
  return S_OK;
}

void CDXUTDialog::SetClipRect(const plat::RectI* rect) {
  plat::SpriteBatch* sprite = GetGlobalDialogResourceManager().GetSprite();
  if (sprite == nullptr) return;
  if (rect == nullptr) {
    sprite->SetClipRect(nullptr);
    return;
  }
  const plat::RectI screen = ToScreen(*rect);
  sprite->SetClipRect(&screen);
}

HRESULT CDXUTDialog::CalcTextRect(const wchar_t* text, CDXUTElement* element, plat::RectI& rect, int count) {
  if (element == nullptr || text == nullptr) return E_INVALIDARG;
  plat::Font* font = GetFont(element->iFont);
  if (font == nullptr) return E_FAIL;
  std::wstring_view view(text);
  if (count >= 0 && static_cast<std::size_t>(count) < view.size()) view = view.substr(0, static_cast<std::size_t>(count));
  font->DrawText(nullptr, view, rect, element->dwTextFormat | plat::kTextCalcRect, 0);
  return S_OK;
}

void CDXUTDialog::DrawBackground() {
  if ((m_colorTopLeft | m_colorTopRight | m_colorBottomLeft | m_colorBottomRight) >> 24 == 0) return;
  CDXUTDialogResourceManager& manager = GetGlobalDialogResourceManager();
  plat::SpriteBatch* sprite = manager.GetSprite();
  const plat::Texture* white = manager.GetWhiteTexture();
  if (sprite == nullptr || white == nullptr) return;
  const float left = static_cast<float>(m_x), right = static_cast<float>(m_x + m_width);
  const bool flat = m_colorTopLeft == m_colorTopRight && m_colorTopLeft == m_colorBottomLeft &&
                    m_colorTopLeft == m_colorBottomRight;
  const int bands = flat ? 1 : kBackgroundBands;
  for (int i = 0; i < bands; ++i) {
    const float t = (static_cast<float>(i) + 0.5f) / static_cast<float>(bands);
    const std::uint32_t top = Lerp(m_colorTopLeft, m_colorTopRight, 0.5f);
    const std::uint32_t bottom = Lerp(m_colorBottomLeft, m_colorBottomRight, 0.5f);
    const float y0 = static_cast<float>(m_y) + static_cast<float>(m_height) * static_cast<float>(i) / static_cast<float>(bands);
    const float y1 = static_cast<float>(m_y) + static_cast<float>(m_height) * static_cast<float>(i + 1) / static_cast<float>(bands);
    FillQuad(*sprite, *white, left, y0, right, y1, flat ? m_colorTopLeft : Lerp(top, bottom, t), 0.5f);
  }
}

HRESULT CDXUTDialog::OnRender(float elapsed) {
  if (m_fTimeLastRefresh < s_fTimeRefresh) {
    m_fTimeLastRefresh = plat::GetFramework().GetTime();
    Refresh();
  }
  if (!m_bVisible) return S_OK;
  plat::SpriteBatch* sprite = GetGlobalDialogResourceManager().GetSprite();
  if (sprite == nullptr) return E_FAIL;
  sprite->Begin();
  if (!m_bMinimized) DrawBackground();
  if (m_bCaption) {
    const plat::RectI rc{0, -m_nCaptionHeight, m_width, 0};
    DrawSprite(&m_CapElement, rc, 0.2f);
    std::wstring caption = m_wszCaption;
    if (m_bMinimized) caption = (caption + L" (Minimized)").substr(0, 255);
    DrawText(caption.c_str(), &m_CapElement, rc, true);
  }
  if (!m_bMinimized) {
    // Index loop: a control's drawing must not invalidate the walk.
    for (std::size_t i = 0; i < m_Controls.size(); ++i) {
      CDXUTControl* control = m_Controls[i];
      if (control != s_pControlFocus) control->Render(elapsed);
    }
    if (s_pControlFocus != nullptr && s_pControlFocus->m_pDialog == this) {
      // An open drop-down list lies over the controls below it. The batch
      // sorts by depth and the texts sit at depth 0, above every frame: the
      // controls drawn so far are flushed first, so that no text of theirs
      // shows through the list.
      const auto* combo = dynamic_cast<const CDXUTComboBox*>(s_pControlFocus);
      if (combo != nullptr && combo->IsOpened()) {
        const plat::Matrix2D transform = sprite->GetTransform();
        sprite->End();
        sprite->Begin();
        sprite->SetTransform(transform);
      }
      s_pControlFocus->Render(elapsed);
    }
  }
  sprite->SetTransform(plat::Matrix2D::Identity());
  sprite->SetClipRect(nullptr);
  sprite->End();
  return S_OK;
}
