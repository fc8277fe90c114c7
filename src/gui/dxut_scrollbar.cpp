#include "gui/dxut_scrollbar.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "gui/dxut_dialog.h"
#include "gui/gui_helpers.h"
#include "platform/clock.h"
#include "platform/input_state.h"

// --- scroll bar -----------------------------------------------------------

CDXUTScrollBar* CDXUTScrollBar::s_pDragging = nullptr;
int CDXUTScrollBar::s_nThumbOffsetY = 0;

CDXUTScrollBar::CDXUTScrollBar(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_SCROLLBAR; }

CDXUTScrollBar::~CDXUTScrollBar() {
  if (s_pDragging == this) s_pDragging = nullptr;
}

void CDXUTScrollBar::UpdateRects() {
  CDXUTControl::UpdateRects();
  const plat::RectI& b = m_rcBoundingBox;
  m_rcUpButton = {b.left, b.top, b.right, b.top + m_width};
  m_rcDownButton = {b.left, b.bottom - m_width, b.right, b.bottom};
  m_rcTrack = {m_rcUpButton.left, m_rcUpButton.bottom, m_rcDownButton.right, m_rcDownButton.top};
  m_rcThumb.left = m_rcUpButton.left;
  m_rcThumb.right = m_rcUpButton.right;
  UpdateThumbRect();
}

void CDXUTScrollBar::UpdateThumbRect() {
  const int range = m_nEnd - m_nStart;
  const int page = ScrollPage();
  if (range > page) {
    const int track = m_rcTrack.Height();
    const int thumb = std::max(static_cast<int>(static_cast<long long>(track) * page / range), 8);
    const int travel = range - page;  // > 0 here
    m_rcThumb.top = m_rcTrack.top + static_cast<int>(static_cast<long long>(m_nPosition - m_nStart) *
                                                     (track - thumb) / travel);
    m_rcThumb.bottom = m_rcThumb.top + thumb;
    m_bShowThumb = true;
  } else {
    m_rcThumb.bottom = m_rcThumb.top;
    m_bShowThumb = false;
  }
}

void CDXUTScrollBar::Cap() {
  const int page = ScrollPage();
  if (m_nPosition < m_nStart || m_nEnd - m_nStart <= page) {
    m_nPosition = m_nStart;
  } else if (m_nPosition + page > m_nEnd) {
    m_nPosition = m_nEnd - page;
  }
}

void CDXUTScrollBar::SetTrackRange(int start, int end) {
  m_nStart = start;
  m_nEnd = end;
  Cap();
  UpdateThumbRect();
}

void CDXUTScrollBar::SetPageSize(int size) {
  // An owner laid out shorter than its borders shows no row: page 0, never
  // less, so that the thumb's sizes never divide by an empty range.
  m_nPageSize = std::max(size, 0);
  Cap();
  UpdateThumbRect();
}

void CDXUTScrollBar::Scroll(int delta) {
  m_nPosition += delta;
  Cap();
  UpdateThumbRect();
}

void CDXUTScrollBar::ShowItem(int index) {
  index = std::max(0, std::min(index, m_nEnd - 1));
  const int page = ScrollPage();
  if (m_nPosition > index) {
    m_nPosition = index;
  } else if (m_nPosition + page <= index) {
    m_nPosition = index - page + 1;
  }
  UpdateThumbRect();
}

bool CDXUTScrollBar::HandleMouse(const plat::Message& message, POINT pt) {
  // A release always ends this bar's drag, even when the range shrank to
  // nothing while the thumb was held.
  if (message.msg == plat::kWmLButtonUp && s_pDragging == this && m_rcThumb.Height() == 0) {
    s_pDragging = nullptr;
    plat::GetInputState().SetCapture(false);
    m_Arrow = CLEAR;
    return false;
  }
  if (m_rcThumb.Height() == 0) return false;
  m_LastMouse = pt;
  switch (message.msg) {
    case plat::kWmLButtonDown:
    case plat::kWmLButtonDblClk: {
      plat::GetInputState().SetCapture(true);
      if (InRect(m_rcUpButton, pt)) {
        if (m_nPosition > m_nStart) --m_nPosition;
        UpdateThumbRect();
        m_Arrow = CLICKED_UP;
        m_dArrowTS = plat::GetTickCount();
        return true;
      }
      if (InRect(m_rcDownButton, pt)) {
        if (m_nPosition + ScrollPage() < m_nEnd) ++m_nPosition;
        UpdateThumbRect();
        m_Arrow = CLICKED_DOWN;
        m_dArrowTS = plat::GetTickCount();
        return true;
      }
      if (InRect(m_rcThumb, pt)) {
        s_pDragging = this;
        s_nThumbOffsetY = pt.y - m_rcThumb.top;
        return true;
      }
      if (m_rcThumb.left <= pt.x && pt.x < m_rcThumb.right) {
        // A page of at most two rows still steps one row.
        const int step = std::max(m_nPageSize - 1, 1);
        if (m_rcThumb.top > pt.y && pt.y >= m_rcTrack.top) {
          Scroll(-step);
          return true;
        }
        if (m_rcThumb.bottom <= pt.y && pt.y < m_rcTrack.bottom) {
          Scroll(step);
          return true;
        }
      }
      // Nothing of the bar was hit: the owner's press must not keep it.
      plat::GetInputState().SetCapture(false);
      return false;
    }
    case plat::kWmLButtonUp:
      if (s_pDragging == this) s_pDragging = nullptr;
      plat::GetInputState().SetCapture(false);
      UpdateThumbRect();
      m_Arrow = CLEAR;
      return false;
    case plat::kWmMouseMove: {
      if (s_pDragging != this) return false;
      const int height = m_rcThumb.Height();
      m_rcThumb.top = pt.y - s_nThumbOffsetY;
      m_rcThumb.bottom = m_rcThumb.top + height;
      if (m_rcThumb.bottom > m_rcTrack.bottom) {
        m_rcThumb.bottom = m_rcTrack.bottom;
        m_rcThumb.top = m_rcThumb.bottom - height;
      }
      if (m_rcThumb.top < m_rcTrack.top) {
        m_rcThumb.top = m_rcTrack.top;
        m_rcThumb.bottom = m_rcThumb.top + height;
      }
      const int n = m_nEnd - m_nStart - ScrollPage();
      const int m = m_rcTrack.Height() - height;
      // A thumb as tall as the track has nowhere to travel.
      if (n > 0 && m > 0) {
        m_nPosition = m_nStart + static_cast<int>(
                                     static_cast<long long>(m_rcThumb.top - m_rcTrack.top + m / (2 * n)) * n / m);
      } else {
        m_nPosition = m_nStart;
      }
      return true;
    }
    default:
      return false;
  }
}

void CDXUTScrollBar::UpdateArrowRepeat() {
  if (m_Arrow == CLEAR) return;
  const std::uint32_t now = plat::GetTickCount();
  const std::uint32_t since = now - m_dArrowTS;
  if (InRect(m_rcUpButton, m_LastMouse)) {
    if (m_Arrow == CLICKED_UP && since > kArrowDelayMs) {
      Scroll(-1);
      m_Arrow = HELD_UP;
      m_dArrowTS = now;
    } else if (m_Arrow == HELD_UP && since > kArrowRepeatMs) {
      Scroll(-1);
      m_dArrowTS = now;
    }
  } else if (InRect(m_rcDownButton, m_LastMouse)) {
    if (m_Arrow == CLICKED_DOWN && since > kArrowDelayMs) {
      Scroll(1);
      m_Arrow = HELD_DOWN;
      m_dArrowTS = now;
    } else if (m_Arrow == HELD_DOWN && since > kArrowRepeatMs) {
      Scroll(1);
      m_dArrowTS = now;
    }
  }
}

void CDXUTScrollBar::Render(float elapsed) {
  UpdateArrowRepeat();
  if (m_pDialog == nullptr) return;
  unsigned state = DXUT_STATE_NORMAL;
  if (!m_bVisible) {
    state = DXUT_STATE_HIDDEN;
  } else if (!m_bEnabled || !m_bShowThumb) {
    state = DXUT_STATE_DISABLED;
  } else if (m_bMouseOver) {
    state = DXUT_STATE_MOUSEOVER;
  } else if (m_bHasFocus) {
    state = DXUT_STATE_FOCUS;
  }
  const float rate = 0.8f;
  auto draw = [&](unsigned index, const plat::RectI& rect) {
    CDXUTElement* element = GetElement(index);
    if (element == nullptr) return;
    element->TextureColor.Blend(state, elapsed, rate);
    m_pDialog->DrawSprite(element, rect, 0.2f);
  };
  draw(1, m_rcTrack);
  draw(0, m_rcUpButton);
  draw(2, m_rcDownButton);
  if (m_bShowThumb) draw(3, m_rcThumb);
}

// --- slider ---------------------------------------------------------------

CDXUTSlider::CDXUTSlider(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_SLIDER; }

bool CDXUTSlider::ContainsPoint(POINT pt) { return InRect(m_rcBoundingBox, pt) || InRect(m_rcButton, pt); }

int CDXUTSlider::Step(int delta) const {
  const long long value = static_cast<long long>(m_nValue) + delta;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int CDXUTSlider::Clamp(int value) const {
  if (value < m_nMin) value = m_nMin;
  if (value > m_nMax) value = m_nMax;
  return value;
}

void CDXUTSlider::UpdateRects() {
  CDXUTControl::UpdateRects();
  const plat::RectI& b = m_rcBoundingBox;
  m_rcButton = b;
  m_rcButton.right = static_cast<int>(b.left + 10.0);
  m_rcButton.left += 5;
  m_rcButton.right += 5;
  // An empty range or a track without room leaves the thumb at the left end.
  m_nButtonX = 0;
  if (CanMap()) {
    const float f = static_cast<float>(b.Width() - 20.0);
    // In 64 bits: a range spanning most of int must not overflow.
    const double span = static_cast<double>(static_cast<long long>(m_nMax) - m_nMin);
    const double offset = static_cast<double>(static_cast<long long>(m_nValue) - m_nMin);
    m_nButtonX = static_cast<int>(static_cast<float>(f * offset / span));
  }
  m_rcButton.left += m_nButtonX;
  m_rcButton.right += m_nButtonX;
}

int CDXUTSlider::ValueFromPos(int x) const {
  if (!CanMap()) return m_nValue;
  const float r = static_cast<float>(static_cast<double>(static_cast<long long>(m_nMax) - m_nMin) /
                                     (m_rcBoundingBox.Width() - 20.0));
  const double value = r * ((static_cast<double>(x) - m_rcBoundingBox.left) + 5.0) + (m_nMin + 0.5);
  return static_cast<int>(std::clamp(value, static_cast<double>(m_nMin), static_cast<double>(m_nMax)));
}

void CDXUTSlider::SetRange(int minimum, int maximum) {
  m_nMin = minimum;
  m_nMax = maximum;
  SetValueInternal(m_nValue, false, true);
}

void CDXUTSlider::SetValueInternal(int value, bool fromInput, bool sendEvent) {
  value = Clamp(value);
  if (value == m_nValue) {
    UpdateRects();
    return;
  }
  m_nValue = value;
  UpdateRects();
  if (sendEvent && m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_SLIDER_VALUE_CHANGED, fromInput, this);
}

bool CDXUTSlider::HandleKeyboard(const plat::Message& message) {
  if (!m_bEnabled || !m_bVisible || message.msg != plat::kWmKeyDown) return false;
  switch (message.wParam) {
    case plat::kVkHome: SetValueInternal(m_nMin, true, true); return true;
    case plat::kVkEnd: SetValueInternal(m_nMax, true, true); return true;
    case plat::kVkPrior:
    case plat::kVkLeft:
    case plat::kVkUp: SetValueInternal(Step(-1), true, true); return true;
    case plat::kVkNext:
    case plat::kVkRight:
    case plat::kVkDown: SetValueInternal(Step(1), true, true); return true;
    default: return false;
  }
}

bool CDXUTSlider::HandleMouse(const plat::Message& message, POINT pt) {
  if (!m_bEnabled || !m_bVisible) return false;
  switch (message.msg) {
    case plat::kWmLButtonDown:
    case plat::kWmLButtonDblClk: {
      if (InRect(m_rcButton, pt)) {
        m_bPressed = true;
        plat::GetInputState().SetCapture(true);
        m_nDragX = pt.x;
        m_nDragOffset = m_nButtonX - m_nDragX;
        if (!m_bHasFocus) CDXUTDialog::RequestFocus(this);
        return true;
      }
      if (!InRect(m_rcBoundingBox, pt)) return false;
      const float p = static_cast<float>(pt.x - 5.0);
      const float b = static_cast<float>(m_nButtonX + m_x);
      if (b < p) {
        SetValueInternal(Step(1), true, true);
        return true;
      }
      if (b > p) {
        SetValueInternal(Step(-1), true, true);
        return true;
      }
      return false;
    }
    case plat::kWmMouseMove:
      if (!m_bPressed) return false;
      SetValueInternal(ValueFromPos(static_cast<int>(static_cast<double>(m_nDragOffset) + m_x + pt.x - 5.0)), true, true);
      return true;
    case plat::kWmLButtonUp:
      if (!m_bPressed) return false;
      m_bPressed = false;
      plat::GetInputState().SetCapture(false);
      CDXUTDialog::ClearFocus();
      if (m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_SLIDER_VALUE_CHANGED, true, this);
      return true;
    default:
      return false;
  }
}

void CDXUTSlider::Render(float elapsed) {
  if (m_pDialog == nullptr) return;
  const unsigned state = VisualState(m_bPressed);
  const float rate = m_bPressed ? 0.0f : 0.8f;
  int e = 10, m = m_width - 20;
  if (m_width < 20) {
    e = m_width / 2;
    m = 0;
  }
  const int x = m_x, y = m_y, h = m_height;
  auto draw = [&](unsigned index, const plat::RectI& rect) {
    CDXUTElement* element = GetElement(index);
    if (element == nullptr) return;
    element->TextureColor.Blend(state, elapsed, rate);
    m_pDialog->DrawSprite(element, rect, 0.2f);
  };
  draw(0, {x, y, x + e, y + h});
  draw(2, {x + e + m, y, x + 2 * e + m, y + h});
  if (m > 0) draw(1, {x + e, y, x + e + m, y + h});
  draw(m_bPressed ? 4 : 3, m_rcButton);
}
