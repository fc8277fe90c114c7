// The keys and mouse buttons held right now, and the mouse capture, as the
// GUI asks for them (GetAsyncKeyState, SetCapture). The window layer feeds
// it from its events; tests set it directly.
#pragma once

#include <array>
#include <bitset>
#include <functional>

#include "platform/screen_serial.h"

namespace plat {

class KeyAndButtonState {
 public:
  // Virtual keys 0..255 (the mouse buttons are kVkLButton, kVkRButton, kVkMButton).
  bool IsKeyDown(unsigned virtualKey) const { return virtualKey < 256 && keys_[virtualKey]; }
  void SetKeyDown(unsigned virtualKey, bool down) {
    if (virtualKey < 256) keys_[virtualKey] = down;
  }
  // What took the first press of each held key (the serial of the screen
  // the routing gave it to; platform/screen_serial.h), kNoScreen when none
  // was noted.
  ScreenSerial KeyPressedOn(unsigned virtualKey) const {
    return virtualKey < 256 ? pressed_on_[virtualKey] : kNoScreen;
  }
  void SetKeyPressedOn(unsigned virtualKey, ScreenSerial screen) {
    if (virtualKey < 256) pressed_on_[virtualKey] = screen;
  }

  // Whether the window has the keyboard focus (the game is in the
  // foreground) and whether the mouse is over the window. A window that has
  // not said otherwise has both.
  bool HasFocus() const { return focus_; }
  void SetFocus(bool focus) { focus_ = focus; }
  bool IsMouseInWindow() const { return mouse_in_window_; }
  void SetMouseInWindow(bool inside) { mouse_in_window_ = inside; }

  // Mouse capture to the window: while held, the mouse keeps reporting to
  // the window outside it. The window layer may watch changes.
  void SetCapture(bool capture) {
    if (capture == capture_) return;
    capture_ = capture;
    if (on_capture_) on_capture_(capture);
  }
  bool HasCapture() const { return capture_; }
  void SetCaptureHook(std::function<void(bool)> hook) { on_capture_ = std::move(hook); }

 private:
  std::bitset<256> keys_;
  std::array<ScreenSerial, 256> pressed_on_{};
  bool capture_ = false;
  bool focus_ = true;
  bool mouse_in_window_ = true;
  std::function<void(bool)> on_capture_;
};

KeyAndButtonState& GetInputState();

}  // namespace plat
