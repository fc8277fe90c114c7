#include "gui/dxut_static.h"

#include "gui/dxut_dialog.h"

CDXUTStatic::CDXUTStatic(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_STATIC; }

HRESULT CDXUTStatic::SetText(const wchar_t* text) {
  m_strText = text != nullptr ? std::wstring(text) : std::wstring();
  return S_OK;
}

bool CDXUTStatic::ContainsPoint(POINT pt) { return CDXUTControl::ContainsPoint(pt) && m_bEnabled; }

void CDXUTStatic::Render(float elapsed) {
  if (!m_bVisible || m_pDialog == nullptr) return;
  const unsigned state = m_bEnabled ? DXUT_STATE_NORMAL : DXUT_STATE_DISABLED;
  CDXUTElement* element = GetElement(static_cast<unsigned>(m_TextElement));
  if (element == nullptr) return;
  element->dwTextFormat = m_dwTextFormat;
  element->FontColor.Blend(state, elapsed);
  m_pDialog->DrawText(m_strText.c_str(), element, m_rcBoundingBox, true);
}
