// The drawing objects every screen draws with outside the GUI toolkit: the
// shared sprite batch, the line drawer and the overlay font. The device
// callbacks of the frame make them on every device reset and let them go
// when the device is lost.
#pragma once

#include <cstdint>

#include "platform/render.h"

// A polyline drawer (the minimap's view outline), width 1, solid.
class cLine {
 public:
  explicit cLine(plat::Renderer& renderer) : renderer_(renderer) {}
  void Draw(const plat::PointF* points, int count, std::uint32_t argb) {
    if (points != nullptr && count > 1) renderer_.DrawLines(points, count, argb);
  }

 private:
  plat::Renderer& renderer_;
};

// Made on every device reset, null while the device is lost.
extern plat::SpriteBatch* g_pSprite;
extern cLine* g_pLine;
// "Arial" 15/700, made with the device.
extern plat::Font* g_pOverlayFont;

// The screen size in pixels: the renderer's, or the back buffer's before
// there is one.
void GetScreenSize(int& width, int& height);
