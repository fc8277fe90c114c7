#include "gui/dxut_button.h"

#include "gui/dxut_dialog.h"
#include "gui/dxut_resource_manager.h"
#include "platform/input_state.h"

namespace dxut_detail {

bool ClickKeyboard(CDXUTControl& control, bool& pressed, const plat::Message& message, bool& clicked) {
  clicked = false;
  if (!control.GetVisible() || !control.GetEnabled()) return false;
  if (message.wParam != plat::kVkSpace) return false;
  if (message.msg == plat::kWmKeyDown) {
    pressed = true;
    return true;
  }
  if (message.msg == plat::kWmKeyUp) {
    if (pressed) {
      pressed = false;
      clicked = true;
    }
    return true;
  }
  return false;
}

bool ClickMouse(CDXUTControl& control, bool& pressed, const plat::Message& message, POINT pt,
                const ClickOptions& options, bool& clicked) {
  clicked = false;
  if (!control.GetVisible() || !control.GetEnabled()) return false;
  CDXUTDialog* dialog = control.GetDialog();
  switch (message.msg) {
    case plat::kWmLButtonDown:
    case plat::kWmLButtonDblClk:
      if (!control.ContainsPoint(pt)) return false;
      pressed = true;
      plat::GetInputState().SetCapture(true);
      if (!control.HasFocus() && (options.askFocusAlways || (dialog != nullptr && dialog->GetKeyboardInput()))) {
        CDXUTDialog::RequestFocus(&control);
      }
      return true;
    case plat::kWmLButtonUp:
      if (!pressed) return false;
      pressed = false;
      plat::GetInputState().SetCapture(false);
      if (options.clearFocusWithoutKeyboard && dialog != nullptr && !dialog->GetKeyboardInput()) {
        CDXUTDialog::ClearFocus();
      }
      clicked = control.ContainsPoint(pt);
      return true;
    default:
      return false;
  }
}

}  // namespace dxut_detail

namespace {

struct Slices {
  int cap = 5;
  int middle = 0;
};

// Caps of 5 pixels and a stretched middle; a control of 10 pixels or less
// is two half-width caps.
Slices SliceWidth(int width) {
  if (width <= 10) return {width / 2, 0};
  return {5, width - 10};
}

}  // namespace

// --- button ---------------------------------------------------------------

CDXUTButton::CDXUTButton(CDXUTDialog* dialog) : CDXUTStatic(dialog) { m_Type = DXUT_CONTROL_BUTTON; }

bool CDXUTButton::HandleKeyboard(const plat::Message& message) {
  bool clicked = false;
  const bool consumed = dxut_detail::ClickKeyboard(*this, m_bPressed, message, clicked);
  if (clicked) SendUserEvent(EVENT_BUTTON_CLICKED);
  return consumed;
}

bool CDXUTButton::HandleMouse(const plat::Message& message, POINT pt) {
  bool clicked = false;
  const bool consumed = dxut_detail::ClickMouse(*this, m_bPressed, message, pt, {}, clicked);
  if (clicked) SendUserEvent(EVENT_BUTTON_CLICKED);
  return consumed;
}

void CDXUTButton::Render(float elapsed) {
  if (m_pDialog == nullptr) return;
  const unsigned state = VisualState(m_bPressed);
  const float rate = state == DXUT_STATE_PRESSED ? 0.0f : 0.8f;
  const unsigned first = m_bPressed ? 3u : 0u;
  const Slices s = SliceWidth(m_width);
  const plat::RectI& box = m_rcBoundingBox;
  CDXUTElement* last = nullptr;
  auto piece = [&](unsigned index, int left, int right) {
    CDXUTElement* element = GetElement(first + index);
    if (element == nullptr) return;
    element->TextureColor.Blend(state, elapsed, rate);
    element->FontColor.Blend(state, elapsed, rate);
    m_pDialog->DrawSprite(element, {left, box.top, right, box.bottom}, 0.2f);
    last = element;
  };
  piece(0, box.left, box.left + s.cap);
  piece(2, box.left + s.cap + s.middle, box.left + 2 * s.cap + s.middle);
  if (s.middle > 0) piece(1, box.left + s.cap, box.left + s.cap + s.middle);
  if (last != nullptr) m_pDialog->DrawText(m_strText.c_str(), last, box, false);
}

// --- icon -----------------------------------------------------------------

CDXUTIcon::CDXUTIcon(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_ICON; }

bool CDXUTIcon::HandleKeyboard(const plat::Message& message) {
  bool clicked = false;
  const bool consumed = dxut_detail::ClickKeyboard(*this, m_bPressed, message, clicked);
  if (clicked) SendUserEvent(EVENT_BUTTON_CLICKED);
  return consumed;
}

bool CDXUTIcon::HandleMouse(const plat::Message& message, POINT pt) {
  bool clicked = false;
  const bool consumed = dxut_detail::ClickMouse(*this, m_bPressed, message, pt, {}, clicked);
  if (clicked) SendUserEvent(EVENT_BUTTON_CLICKED);
  return consumed;
}

void CDXUTIcon::Render(float elapsed) {
  if (!m_bVisible || m_pDialog == nullptr) return;
  const unsigned state = VisualState(m_bPressed);
  const int source = state == DXUT_STATE_DISABLED ? 0 : state == DXUT_STATE_MOUSEOVER ? 2 : 1;
  CDXUTElement element;
  element.iTexture = 0;
  element.rcTexture = m_rcSource[source];
  element.TextureColor.Init(0xFFFFFFFF, 0xFFFFFFFF, 0);
  element.TextureColor.States[DXUT_STATE_NORMAL] = 0xDCFFFFFF;
  element.TextureColor.Blend(state, elapsed > 0 ? elapsed : 1.0f, 0.0f);
  m_pDialog->DrawSprite(&element, m_rcBoundingBox, 0.2f);
}

// --- image ----------------------------------------------------------------

CDXUTImage::CDXUTImage(CDXUTDialog* dialog) : CDXUTControl(dialog) { m_Type = DXUT_CONTROL_IMAGE; }

bool CDXUTImage::HandleKeyboard(const plat::Message& message) {
  bool clicked = false;
  const bool consumed = dxut_detail::ClickKeyboard(*this, m_bPressed, message, clicked);
  if (clicked) SendUserEvent(EVENT_BUTTON_CLICKED);
  return consumed;
}

bool CDXUTImage::HandleMouse(const plat::Message& message, POINT pt) {
  bool clicked = false;
  const bool consumed = dxut_detail::ClickMouse(*this, m_bPressed, message, pt, {}, clicked);
  if (clicked) SendUserEvent(EVENT_BUTTON_CLICKED);
  return consumed;
}

void CDXUTImage::Render(float) {
  if (!m_bVisible || m_pTexture == nullptr || m_pDialog == nullptr) return;
  m_pDialog->DrawSpriteTexture(m_pTexture, m_rcSource, m_rcBoundingBox, 0.0f, m_Color);
}
