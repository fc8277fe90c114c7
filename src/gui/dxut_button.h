// Clickable controls: the push button drawn in three slices, the icon with
// three source rectangles of the interface sheet, and the image with a
// texture of its own. All three click on a left press and release inside,
// on the space bar and on their hotkey.
#pragma once

#include <cstdint>

#include "gui/dxut_static.h"

class CDXUTButton : public CDXUTStatic {
 public:
  explicit CDXUTButton(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  bool CanHaveFocus() override { return m_bVisible && m_bEnabled; }
  void OnHotkey() override { SendUserEvent(EVENT_BUTTON_CLICKED); }

  bool IsPressed() const { return m_bPressed; }

 protected:
  bool m_bPressed = false;
};

class CDXUTIcon : public CDXUTControl {
 public:
  explicit CDXUTIcon(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  bool CanHaveFocus() override { return m_bVisible && m_bEnabled; }
  void OnHotkey() override { SendUserEvent(EVENT_BUTTON_CLICKED); }

  // 0 disabled look, 1 normal (also pressed and focused), 2 mouse-over.
  plat::RectI m_rcSource[3];
  bool m_bPressed = false;
};

class CDXUTImage : public CDXUTControl {
 public:
  explicit CDXUTImage(CDXUTDialog* dialog = nullptr);

  void Render(float elapsed) override;
  bool HandleKeyboard(const plat::Message& message) override;
  bool HandleMouse(const plat::Message& message, POINT pt) override;
  bool CanHaveFocus() override { return m_bVisible && m_bEnabled; }
  void OnHotkey() override { SendUserEvent(EVENT_BUTTON_CLICKED); }
  bool ContainsPoint(POINT pt) override { return CDXUTControl::ContainsPoint(pt) && m_bEnabled; }

  plat::RectI m_rcSource;
  const plat::Texture* m_pTexture = nullptr;  // the caller's
  std::uint32_t m_Color = 0xFFFFFFFF;
  bool m_bPressed = false;
};

namespace dxut_detail {
// The click behaviour the three share. clearFocusWithoutKeyboard: a release
// clears the focus when the dialog takes no keyboard input (buttons, icons
// and images); askFocusAlways: a press asks for the focus even when the
// dialog takes no keyboard input.
struct ClickOptions {
  bool clearFocusWithoutKeyboard = true;
  bool askFocusAlways = true;
};
// Returns whether the message was consumed; clicked is set when the click
// completes.
bool ClickKeyboard(CDXUTControl& control, bool& pressed, const plat::Message& message, bool& clicked);
bool ClickMouse(CDXUTControl& control, bool& pressed, const plat::Message& message, POINT pt,
                const ClickOptions& options, bool& clicked);
}  // namespace dxut_detail
