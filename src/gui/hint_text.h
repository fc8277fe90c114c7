// The one tooltip of the program. It follows the mouse, waits a while after
// the thing under the mouse changes and then draws either a text in a framed
// box or the tooltip of a hoverable map object. It also keeps the state of
// both mouse buttons (pressed, dragging, released, drag distance) for the
// screens that read it.
#pragma once

#include <cstdint>

class CDXUTControl;
class cHoverable;

class cHintText {
 public:
  // Width the hint text is wrapped at, and the margin added around it.
  static constexpr int kWrapWidth = 200;
  static constexpr int kMargin = 10;

  // Stores the offsets of the box from the mouse and the delay (ms), clears
  // the button state, the drag data and the times, and shows text (or none).
  void Init(int offsetX, int offsetY, int delayMs, const wchar_t* text);
  // Changes only the delay (ms) before a hint shows.
  void SetDelay(int delayMs) { delay_ = delayMs; }
  // A non-empty text (kept alive by the caller) becomes the hint and is
  // measured; null or empty clears the text, the box and the waited time. A
  // new text keeps the waited time, so it shows at once once the delay is over.
  void SetText(const wchar_t* text);
  // An object clears the text and the waited time and takes the box size from
  // its tooltip; null just detaches.
  void SetAnchor(cHoverable* anchor);
  // Shows the hint text of control (null: none). The current control again
  // is ignored unless force is set, so the hint does not blink.
  void SetControl(CDXUTControl* control, bool force = false);
  // The mouse position and the button transitions of one mouse event.
  void UpdateMouse(bool leftDown, bool rightDown, int x, int y);
  // Once per frame: advances the clocks and draws the hint when it is due.
  void OnFrameRender();
  // Draws the box for the mouse at (x, y), kept on screen.
  void Draw(float x, float y);

  CDXUTControl* GetControl() const { return control_; }
  cHoverable* GetAnchor() const { return anchor_; }
  const wchar_t* GetText() const { return text_; }
  int GetWaited() const { return waited_; }
  int GetRunningTime() const { return running_time_; }

  // The buttons as last reported: bit 0 left, bit 1 right.
  unsigned GetMouseButtons() const { return (left_down_ ? 1u : 0u) | (right_down_ ? 2u : 0u); }
  void SetMouseButtons(unsigned buttons) {
    left_down_ = (buttons & 1u) != 0;
    right_down_ = (buttons & 2u) != 0;
  }
  // Forgets which buttons are down (a new top dialog starts without them).
  void ClearMouseButtons() { left_down_ = right_down_ = false; }

  int GetMouseX() const { return mouse_x_; }
  int GetMouseY() const { return mouse_y_; }
  void ClearLeftReleased() { left_released_ = false; }
  bool LeftReleasedNow() const { return left_released_now_; }

 private:
  void DrawFrame(int x, int y);

  bool left_down_ = false, right_down_ = false;
  std::uint32_t last_tick_ = 0;
  int offset_x_ = 0, offset_y_ = 0;
  int mouse_x_ = 0, mouse_y_ = 0;
  int left_start_x_ = 0, left_start_y_ = 0;
  int right_start_x_ = 0, right_start_y_ = 0;
  int running_time_ = 0;
  int delay_ = 0;
  int waited_ = 0;
  int box_width_ = 0, box_height_ = 0;
  const wchar_t* text_ = nullptr;
  cHoverable* anchor_ = nullptr;
  CDXUTControl* control_ = nullptr;
  bool right_dragging_ = false, left_dragging_ = false;
  bool right_released_ = false, left_released_ = false;
  int left_drag_x_ = 0, left_drag_y_ = 0;
  int right_drag_x_ = 0, right_drag_y_ = 0;
  bool right_pressed_now_ = false, left_released_now_ = false;
};

extern cHintText g_HintText;
