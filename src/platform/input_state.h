// The keys and mouse buttons held right now, and the mouse capture, as the
// GUI asks for them (GetAsyncKeyState, SetCapture). The window layer feeds
// it from its events; tests set it directly.
#pragma once

#include <array>
#include <bitset>
#include <functional>

namespace plat {

class KeyAndButtonState {
 public:
  // Virtual keys 0..255 (the mouse buttons are kVkLButton, kVkRButton, kVkMButton).
  bool IsKeyDown(unsigned virtualKey) const { return virtualKey < 256 && keys_[virtualKey]; }
  void SetKeyDown(unsigned virtualKey, bool down) {
    if (virtualKey < 256) keys_[virtualKey] = down;
  }
  // What took the first press of each held key (the screen the routing
  // gave it to; opaque here), null when none was noted.
  const void* KeyPressedOn(unsigned virtualKey) const {
    return virtualKey < 256 ? pressed_on_[virtualKey] : nullptr;
  }
  void SetKeyPressedOn(unsigned virtualKey, const void* screen) {
    if (virtualKey < 256) pressed_on_[virtualKey] = screen;
  }
  // What a note holds for a screen that has gone: the note outlives the
  // screen, whose address a later one may take. The input state itself
  // stands for it, so no screen is ever taken for it.
  const void* GoneScreen() const { return this; }
  // A screen goes away: its notes become GoneScreen().
  void ForgetScreen(const void* screen) {
    for (const void*& on : pressed_on_) {
      if (on == screen) on = GoneScreen();
    }
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
  std::array<const void*, 256> pressed_on_{};
  bool capture_ = false;
  bool focus_ = true;
  bool mouse_in_window_ = true;
  std::function<void(bool)> on_capture_;
};

KeyAndButtonState& GetInputState();

}  // namespace plat
