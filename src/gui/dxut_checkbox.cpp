#include "gui/dxut_checkbox.h"

#include "gui/dxut_dialog.h"

CDXUTCheckBox::CDXUTCheckBox(CDXUTDialog* dialog) : CDXUTButton(dialog) { m_Type = DXUT_CONTROL_CHECKBOX; }

bool CDXUTCheckBox::HandleKeyboard(const plat::Message& message) {
  bool clicked = false;
  const bool consumed = dxut_detail::ClickKeyboard(*this, m_bPressed, message, clicked);
  if (clicked) OnClick();
  return consumed;
}

bool CDXUTCheckBox::HandleMouse(const plat::Message& message, POINT pt) {
  bool clicked = false;
  const dxut_detail::ClickOptions options{false, false};
  const bool consumed = dxut_detail::ClickMouse(*this, m_bPressed, message, pt, options, clicked);
  if (clicked) OnClick();
  return consumed;
}

void CDXUTCheckBox::SetCheckedInternal(bool checked, bool fromInput, bool sendEvent) {
  m_bChecked = checked;
  if (sendEvent && m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_CHECKBOX_CHANGED, fromInput, this);
}

bool CDXUTCheckBox::ContainsPoint(POINT pt) {
  auto in = [&](const plat::RectI& r) { return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom; };
  return in(m_rcBoundingBox) || in(m_rcButton);
}

void CDXUTCheckBox::UpdateRects() {
  CDXUTButton::UpdateRects();
  m_rcButton = {m_rcBoundingBox.left, m_rcBoundingBox.top, m_rcBoundingBox.left + m_height, m_rcBoundingBox.bottom};
  m_rcText = m_rcBoundingBox;
  m_rcText.left += static_cast<int>(1.25 * m_rcButton.Width());
}

void CDXUTCheckBox::Render(float elapsed) {
  if (m_pDialog == nullptr) return;
  const unsigned state = VisualState(m_bPressed);
  CDXUTElement* element = GetElement(m_bChecked ? 1u : 0u);
  if (element == nullptr) return;
  element->TextureColor.Blend(state, elapsed, 0.0f);
  element->FontColor.Blend(state, elapsed, 0.0f);
  m_pDialog->DrawSprite(element, m_rcButton, 0.2f);
  m_pDialog->DrawText(m_strText.c_str(), element, m_rcText, true);
}

// --- radio button ---------------------------------------------------------

CDXUTRadioButton::CDXUTRadioButton(CDXUTDialog* dialog) : CDXUTCheckBox(dialog) {
  m_Type = DXUT_CONTROL_RADIOBUTTON;
}

void CDXUTRadioButton::SetCheckedInternal(bool checked, bool clearGroup, bool fromInput, bool sendEvent) {
  if (checked && clearGroup && m_pDialog != nullptr) m_pDialog->ClearRadioButtonGroup(m_nButtonGroup, sendEvent);
  m_bChecked = checked;
  if (sendEvent && m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_RADIOBUTTON_CHANGED, fromInput, this);
}

void CDXUTRadioButton::OnClick() {
  // The group clear unchecks this button too, so a checked button clicked
  // again stays checked and reports the change again.
  if (m_pDialog != nullptr) m_pDialog->ClearRadioButtonGroup(m_nButtonGroup, true);
  m_bChecked = !m_bChecked;
  if (m_pDialog != nullptr) m_pDialog->SendEvent(EVENT_RADIOBUTTON_CHANGED, true, this);
}

void CDXUTDialog::ClearRadioButtonGroup(unsigned group, bool sendEvent) {
  for (std::size_t i = 0; i < m_Controls.size(); ++i) {
    CDXUTControl* control = m_Controls[i];
    if (control->GetType() != DXUT_CONTROL_RADIOBUTTON) continue;
    auto* radio = static_cast<CDXUTRadioButton*>(control);
    if (radio->GetButtonGroup() == group) radio->SetCheckedInternal(false, false, false, sendEvent);
  }
}
