#include "gui/dxut_frames.h"

#include <algorithm>
#include <new>

#include "app/gui_sound.h"
#include "gui/dxut_dialog.h"
#include "platform/input_state.h"

// --- frame ----------------------------------------------------------------

CDXUTFrame::CDXUTFrame(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_FRAME; }

void CDXUTFrame::UpdateRects() {
  CDXUTControl::UpdateRects();
  const DXUTFrameStyle& s = kFrameStyles[std::clamp(m_Style, 0, 2)];
  const plat::RectI& b = m_rcBoundingBox;
  const plat::RectI in{b.left + s.w, b.top + s.h, b.right - s.w, b.bottom - s.h};
  m_rcPieces[0] = in;
  m_rcPieces[1] = {b.left, b.top, in.left, in.top};
  m_rcPieces[2] = {in.left, b.top, in.right, in.top};
  m_rcPieces[3] = {in.right, b.top, b.right, in.top};
  m_rcPieces[4] = {b.left, in.top, in.left, in.bottom};
  m_rcPieces[5] = {in.right, in.top, b.right, in.bottom};
  m_rcPieces[6] = {b.left, in.bottom, in.left, b.bottom};
  m_rcPieces[7] = {in.left, in.bottom, in.right, b.bottom};
  m_rcPieces[8] = {in.right, in.bottom, b.right, b.bottom};
}

void CDXUTFrame::Render(float elapsed) {
  if (!m_bVisible || m_pDialog == nullptr) return;
  const unsigned base = 9u * static_cast<unsigned>(std::clamp(m_Style, 0, 2));
  for (unsigned k = 0; k < 9; ++k) {
    CDXUTElement* element = GetElement(base + k);
    if (element == nullptr) continue;
    element->TextureColor.Blend(DXUT_STATE_NORMAL, elapsed, 0.7f);
    m_pDialog->DrawSprite(element, m_rcPieces[k], 0.2f);
  }
}

// --- tab frame ------------------------------------------------------------

CDXUTTabFrame::CDXUTTabFrame(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_TABFRAME; }

const DXUTTabRecord* CDXUTTabFrame::GetTab(int index) const {
  if (index < 0 || index >= GetTabCount()) return nullptr;
  return m_Tabs[static_cast<std::size_t>(index)].get();
}

void CDXUTTabFrame::UpdateRects() {
  CDXUTControl::UpdateRects();
  int fontHeight = 0;
  if (m_pDialog != nullptr) {
    if (CDXUTElement* element = GetElement(13)) {
      if (plat::Font* font = m_pDialog->GetFont(element->iFont)) fontHeight = font->Height();
    }
  }
  const plat::RectI& b = m_rcBoundingBox;
  m_rcHeader = {b.left, b.top, b.right, std::max(b.top + 20, b.top + fontHeight + 2 * m_nPadding)};
}

void CDXUTTabFrame::ShowTabControls(int index, bool visible) {
  const DXUTTabRecord* tab = GetTab(index);
  if (tab == nullptr || m_pDialog == nullptr) return;
  for (int id = tab->firstId; id <= tab->lastId; ++id) {
    if (CDXUTControl* control = m_pDialog->GetControl(id)) control->SetVisible(visible);
    if (id == tab->lastId) break;  // no overflow at INT_MAX
  }
}

HRESULT CDXUTTabFrame::AddTab(const wchar_t* caption, unsigned value, int firstId, int lastId) {
  HRESULT result = S_OK;
  auto tab = std::unique_ptr<DXUTTabRecord>(new (std::nothrow) DXUTTabRecord);
  int old = m_nSelected;
  if (!tab) {
    result = E_OUTOFMEMORY;
  } else {
    tab->caption = caption != nullptr ? std::wstring(caption).substr(0, 255) : std::wstring();
    tab->value = value;
    tab->firstId = firstId;
    tab->lastId = lastId;
    plat::RectI rc{};
    if (m_pDialog != nullptr && GetElement(13) != nullptr &&
        SUCCEEDED(m_pDialog->CalcTextRect(tab->caption.c_str(), GetElement(13), rc))) {
      tab->captionWidth = rc.right;
    }
    m_Tabs.push_back(std::move(tab));
    old = GetTabCount() - 1;
  }
  // The new tab counts as the old selection: its controls get hidden and
  // tab 0's shown.
  m_nSelected = old;
  SelectTab(0, false);
  return result;
}

void CDXUTTabFrame::SelectTab(int index, bool sendEvent) {
  if (m_Tabs.empty()) return;
  ShowTabControls(m_nSelected, false);
  m_nSelected = std::clamp(index, 0, GetTabCount() - 1);
  if (sendEvent && m_pDialog != nullptr && m_pDialog->GetCallback() != nullptr) {
    PlayGuiEventSound(EVENT_TABFRAME_CHANGED, m_ID, this);
    m_pDialog->GetCallback()(EVENT_TABFRAME_CHANGED, m_ID, this);
  }
  ShowTabControls(m_nSelected, true);
}

void CDXUTTabFrame::RemoveAllTabs() {
  m_Tabs.clear();
  m_nSelected = -1;
}

bool CDXUTTabFrame::HandleMouse(const plat::Message& message, POINT pt) {
  if (!m_bVisible || !m_bEnabled) return false;
  const unsigned msg = message.msg;
  if (msg == plat::kWmLButtonDown && !m_bHasFocus) CDXUTDialog::RequestFocus(this);
  if (msg == plat::kWmLButtonUp) {
    plat::GetInputState().SetCapture(false);
    m_bPressed = false;
    return false;
  }
  if (msg != plat::kWmLButtonDown && msg != plat::kWmLButtonDblClk) return false;
  const plat::RectI& h = m_rcHeader;
  if (m_Tabs.empty() || pt.x < h.left || pt.x >= h.right || pt.y < h.top || pt.y >= h.bottom) return false;
  int x = pt.x - h.left;
  for (int i = 0; i < GetTabCount(); ++i) {
    const int width = m_Tabs[static_cast<std::size_t>(i)]->captionWidth + 20;
    if (x < width) {
      plat::GetInputState().SetCapture(true);
      m_bPressed = true;
      ShowTabControls(m_nSelected, false);
      m_nSelected = i;
      if (m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_TABFRAME_CHANGED, true, this);
      ShowTabControls(m_nSelected, true);
      return true;
    }
    x -= width;
  }
  return true;
}

void CDXUTTabFrame::Render(float elapsed) {
  if (!m_bVisible || m_pDialog == nullptr) return;
  for (unsigned i = 9; i <= 14; ++i) {
    if (CDXUTElement* element = GetElement(i)) {
      element->TextureColor.Blend(DXUT_STATE_NORMAL, elapsed, 0.7f);
      element->FontColor.Blend(DXUT_STATE_NORMAL, elapsed, 0.7f);
    }
  }
  const plat::RectI& b = m_rcBoundingBox;
  const int hb = m_rcHeader.bottom;
  const int xs[4] = {b.left, b.left + 10, b.right - 10, b.right};
  const int ys[4] = {hb, hb + 10, b.bottom - 10, b.bottom};
  for (unsigned k = 0; k < 9; ++k) {
    CDXUTElement* element = GetElement(k);
    if (element == nullptr) continue;
    element->TextureColor.Blend(DXUT_STATE_NORMAL, elapsed, 0.7f);
    const unsigned col = k % 3, row = k / 3;
    m_pDialog->DrawSprite(element, {xs[col], ys[row], xs[col + 1], ys[row + 1]}, 0.2f);
  }
  int x = m_rcHeader.left;
  for (int i = 0; i < GetTabCount(); ++i) {
    if (x > m_rcHeader.right) break;
    const DXUTTabRecord& tab = *m_Tabs[static_cast<std::size_t>(i)];
    const unsigned first = i == m_nSelected ? 12u : 9u;
    const int w = tab.captionWidth;
    const plat::RectI pieces[3] = {{x, m_rcHeader.top, x + 10, m_rcHeader.bottom},
                                   {x + 10, m_rcHeader.top, x + 10 + w, m_rcHeader.bottom},
                                   {x + 10 + w, m_rcHeader.top, x + 20 + w, m_rcHeader.bottom}};
    for (unsigned p = 0; p < 3; ++p) {
      if (CDXUTElement* element = GetElement(first + p)) m_pDialog->DrawSprite(element, pieces[p], 0.2f);
    }
    if (CDXUTElement* middle = GetElement(first + 1)) m_pDialog->DrawText(tab.caption.c_str(), middle, pieces[1], false);
    x += w + 20;
  }
}

// --- progress bar ---------------------------------------------------------

CDXUTProgressBar::CDXUTProgressBar(CDXUTDialog* dialog) : CDXUTControl(dialog) {
  m_Type = DXUT_CONTROL_PROGRESSBAR;
}

void CDXUTProgressBar::SetRange(int minimum, int maximum) {
  m_nMin = minimum;
  m_nMax = maximum;
  SetValue(m_nValue);
}

void CDXUTProgressBar::SetValue(int value) {
  m_nValue = m_nMax >= m_nMin ? std::clamp(value, m_nMin, m_nMax) : m_nMin;
  UpdateRects();
}

void CDXUTProgressBar::UpdateRects() {
  CDXUTControl::UpdateRects();
  // An empty range shows no fill rather than dividing by zero.
  if (m_nMax <= m_nMin) {
    m_nFillWidth = 0;
    return;
  }
  const double fraction = static_cast<double>(m_nValue - m_nMin) / static_cast<double>(m_nMax - m_nMin);
  m_nFillWidth = static_cast<int>(fraction * static_cast<double>(m_rcBoundingBox.Width() - 10));
}

void CDXUTProgressBar::Render(float elapsed) {
  if (m_pDialog == nullptr) return;
  const unsigned state = VisualState(false);
  const int width = m_rcBoundingBox.Width();
  const int cap = width <= 10 ? width / 2 : 5;
  const int middle = width <= 10 ? 0 : width - 10;
  const int x = m_rcBoundingBox.left, top = m_rcBoundingBox.top, bottom = m_rcBoundingBox.bottom;
  auto draw = [&](unsigned index, int left, int right) {
    CDXUTElement* element = GetElement(index);
    if (element == nullptr) return;
    element->TextureColor.Blend(state, elapsed, 0.0f);
    m_pDialog->DrawSprite(element, {left, top, right, bottom}, 0.2f);
  };
  draw(m_nValue > m_nMin ? 3u : 0u, x, x + cap);
  draw(m_nValue >= m_nMax ? 5u : 2u, x + cap + middle, x + 2 * cap + middle);
  if (middle > 0) {
    draw(1, x + cap, x + cap + middle);
    if (m_nFillWidth > 0) draw(4, x + cap, x + cap + m_nFillWidth);
  }
}
