#include "gui/dxut_memo.h"

#include <algorithm>

#include "gui/dxut_dialog.h"
#include "gui/dxut_editbox.h"

CDXUTMemo::CDXUTMemo(CDXUTDialog* dialog) : CDXUTControl(dialog), m_ScrollBar(dialog) {
  m_Type = DXUT_CONTROL_MEMO;
  if (dialog != nullptr) m_Buffer.SetFontIndex(std::max(dialog->GetFontIndex(0), 0));
  m_Buffer.SetText(L"");
}

CDXUTMemo::~CDXUTMemo() = default;

HRESULT CDXUTMemo::OnInit() {
  return m_pDialog != nullptr ? m_pDialog->InitControl(&m_ScrollBar) : S_OK;
}

void CDXUTMemo::UpdateRects() {
  CDXUTControl::UpdateRects();
  const plat::RectI& b = m_rcBoundingBox;
  m_nLineHeight = 1;
  if (m_pDialog != nullptr) {
    if (CDXUTElement* element = GetElement(static_cast<unsigned>(m_TextElement))) {
      if (plat::Font* font = m_pDialog->GetFont(element->iFont); font != nullptr && font->Height() > 0) {
        m_nLineHeight = font->Height();
      }
    }
  }
  DXUTNinePieces(b, 10, m_rcRender);
  m_rcText = m_rcRender[0];
  m_rcText.right -= m_nSBWidth;
  m_rcClip = {b.left + m_nBorder, b.top + m_nBorder, b.right - m_nBorder - m_nSBWidth, b.bottom - m_nBorder};
  m_ScrollBar.SetLocation(b.right - m_nSBWidth, b.top);
  m_ScrollBar.SetSize(m_nSBWidth, m_height);
  m_ScrollBar.SetPageSize(m_rcClip.Height() / m_nLineHeight);
}

void CDXUTMemo::SetText(const wchar_t* text) {
  if (!m_Buffer.SetText(text)) return;
  CDXUTElement* element = GetElement(static_cast<unsigned>(m_TextElement));
  if (m_pDialog == nullptr || element == nullptr) return;
  element->dwTextFormat = m_dwTextFormat | plat::kTextCalcRect;
  // Measured and fitted against the rectangle the text is drawn in, so the
  // range does not depend on whether or where the memo was drawn before.
  plat::RectI measured{0, 0, m_rcClip.Width(), 0};
  if (FAILED(m_pDialog->CalcTextRect(m_Buffer.GetBuffer(), element, measured))) return;
  if (measured.Height() <= m_rcClip.Height()) {
    m_ScrollBar.SetTrackRange(0, 0);
  } else {
    m_ScrollBar.SetTrackRange(0, measured.Height() / m_nLineHeight);
  }
}

void CDXUTMemo::ClearText() { m_Buffer.Clear(); }

void CDXUTMemo::ScrollToEnd() {
  const int end = m_ScrollBar.GetTrackEnd();
  // A text that fits stays drawn from its top.
  if (end <= m_ScrollBar.GetTrackStart()) {
    m_ScrollBar.SetTrackPosUncapped(m_ScrollBar.GetTrackStart());
    return;
  }
  const int target = end > 99999 ? 99999 : end - 1;
  const int position = m_ScrollBar.GetTrackPos();
  const int page = m_ScrollBar.GetPageSize();
  if (position > target) {
    m_ScrollBar.SetTrackPosUncapped(target);
  } else if (position + page <= target) {
    m_ScrollBar.SetTrackPosUncapped(target - page + 1);
  } else {
    m_ScrollBar.SetTrackPosUncapped(position);
  }
}

bool CDXUTMemo::HandleKeyboard(const plat::Message& message) {
  if (!m_bEnabled || !m_bVisible) return false;
  return m_ScrollBar.HandleKeyboard(message);
}

bool CDXUTMemo::HandleMouse(const plat::Message& message, POINT pt) {
  if (!m_bEnabled || !m_bVisible) return false;
  if (message.msg == plat::kWmLButtonDown && !m_bHasFocus) CDXUTDialog::RequestFocus(this);
  const bool consumed = m_ScrollBar.HandleMouse(message, pt);
  if (consumed) return true;
  if (message.msg == plat::kWmMouseWheel) {
    m_ScrollBar.Scroll(-(plat::WheelDelta(message.wParam) / 120));
    return true;
  }
  return consumed;
}

void CDXUTMemo::Render(float elapsed) {
  if (!m_bVisible || m_pDialog == nullptr) return;
  for (unsigned i = 0; i < 9; ++i) {
    CDXUTElement* element = GetElement(i);
    if (element == nullptr) continue;
    element->TextureColor.Blend(DXUT_STATE_NORMAL, elapsed, 0.7f);
    m_pDialog->DrawSprite(element, m_rcRender[i], 0.2f);
  }
  if (CDXUTElement* element = GetElement(static_cast<unsigned>(m_TextElement))) {
    element->FontColor.Blend(DXUT_STATE_NORMAL, elapsed, 0.7f);
    element->dwTextFormat = m_dwTextFormat;
    plat::RectI rc = m_rcClip;
    rc.top -= m_ScrollBar.GetTrackPos() * m_nLineHeight;
    m_rcText = rc;
    m_pDialog->SetClipRect(&m_rcClip);
    m_pDialog->DrawText(m_Buffer.GetBuffer(), element, rc, true);
    m_pDialog->SetClipRect(nullptr);
  }
  m_ScrollBar.Render(elapsed);
}
