// Something on the map screen that can lie under the mouse and then shows a
// tooltip of its own through the hint display (a sea node, for one).
#pragma once

class cHoverable {
 public:
  virtual void GetTooltipSize(int& width, int& height) = 0;
  // Draws the tooltip with its top-left corner at (x, y) on the screen.
  virtual void DrawTooltip(float x, float y) = 0;

 protected:
  // Never deleted through this interface.
  ~cHoverable() = default;
};
