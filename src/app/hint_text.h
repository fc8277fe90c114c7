// The hint text shown for the control or map object under the mouse. Its
// drawing and timing come with the frame; the dialog stack already needs to
// detach it from the old top dialog's controls.
#pragma once

class CDXUTControl;
class cHoverable;

class cHintText {
 public:
  // The control under the mouse (null: none); its hint text is shown.
  void SetControl(CDXUTControl* control) { control_ = control; }
  CDXUTControl* GetControl() const { return control_; }
  // The map object the hint is attached to (null: none).
  void SetAnchor(cHoverable* anchor) { anchor_ = anchor; }
  cHoverable* GetAnchor() const { return anchor_; }
  // The mouse-button state remembered between mouse messages.
  void SetMouseButtons(unsigned buttons) { mouse_buttons_ = buttons; }
  unsigned GetMouseButtons() const { return mouse_buttons_; }
  void ClearMouseButtons() { mouse_buttons_ = 0; }

 private:
  CDXUTControl* control_ = nullptr;
  cHoverable* anchor_ = nullptr;
  unsigned mouse_buttons_ = 0;
};

extern cHintText g_HintText;
