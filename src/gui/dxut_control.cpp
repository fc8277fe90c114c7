#include "gui/dxut_control.h"

#include <new>

#include "app/gui_sound.h"
#include "gui/hint_text.h"
#include "gui/control_groups.h"
#include "gui/dxut_dialog.h"

CDXUTControl::CDXUTControl(CDXUTDialog* dialog) : m_pDialog(dialog) {}

CDXUTControl::~CDXUTControl() {
  // The hint must never show a freed control's text.
  if (g_HintText.GetControl() == this) g_HintText.SetControl(nullptr);
  if (CDXUTDialog::GetFocusControl() == this) CDXUTDialog::ClearFocus();
  if (CDXUTDialog::GetPressedControl() == this) CDXUTDialog::SetPressedControl(nullptr);
}

void CDXUTControl::Refresh() {
  m_bMouseOver = false;
  m_bHasFocus = false;
  for (auto& element : m_Elements) element->Refresh();
}

bool CDXUTControl::ContainsPoint(POINT pt) {
  const plat::RectI& r = m_rcBoundingBox;
  return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom;
}

void CDXUTControl::SetTextColor(std::uint32_t color) {
  if (CDXUTElement* element = GetElement(0)) element->FontColor.States[DXUT_STATE_NORMAL] = color;
}

void CDXUTControl::UpdateRects() { m_rcBoundingBox = {m_x, m_y, m_x + m_width, m_y + m_height}; }

bool CDXUTControl::MoveBy(int dx, int dy) {
  m_x += dx;
  m_y += dy;
  UpdateRects();
  const plat::RectI& r = m_rcBoundingBox;
  if (MoveControlGroup(m_pDialog, m_ID, r.left, r.top, r.right, r.bottom, dx, dy)) return true;
  m_x -= dx;
  m_y -= dy;
  UpdateRects();
  return false;
}

void CDXUTControl::SetHint(const wchar_t* text) {
  m_Hint = text != nullptr ? std::make_unique<std::wstring>(text) : nullptr;
  // A hint on show keeps pointing at live text.
  if (g_HintText.GetControl() == this) g_HintText.SetControl(this, true);
}

HRESULT CDXUTControl::SetElement(unsigned index, const CDXUTElement* element) {
  if (element == nullptr) return E_INVALIDARG;
  try {
    while (m_Elements.size() <= index) m_Elements.push_back(std::make_unique<CDXUTElement>());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  *m_Elements[index] = *element;
  return S_OK;
}

unsigned CDXUTControl::VisualState(bool pressed) const {
  if (!m_bVisible) return DXUT_STATE_HIDDEN;
  if (!m_bEnabled) return DXUT_STATE_DISABLED;
  if (pressed) return DXUT_STATE_PRESSED;
  if (m_bMouseOver) return DXUT_STATE_MOUSEOVER;
  if (m_bHasFocus) return DXUT_STATE_FOCUS;
  return DXUT_STATE_NORMAL;
}

void CDXUTControl::SendUserEvent(unsigned event) {
  if (m_pDialog != nullptr) m_pDialog->SendEvent(event, true, this);
}
