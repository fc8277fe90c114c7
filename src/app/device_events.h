// The device life cycle and the frame render. The device callbacks make and
// give up every drawing object the program holds outside the GUI toolkit:
// the fonts of the layout table, the overlay font, the shared sprite batch
// and line, and the textures of the texture table.
#pragma once

#include <cstdint>

#include "platform/framework.h"
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

// Returned when the sprite or the line cannot be made (no renderer).
constexpr long kDeviceObjectFailed = static_cast<long>(static_cast<std::int32_t>(0x80004005u));

long OnCreateDevice(const plat::BackBufferDesc& desc);
long OnResetDevice(const plat::BackBufferDesc& desc);
void OnLostDevice();
void OnDestroyDevice();
// One frame, under the framework lock: the map screen (outside game phases
// 0, 1 and 5), the current menu, the visible dialogs of the stack from the
// bottom up and the hint text.
void OnFrameRender(double time, float elapsed);

// The screen size in pixels: the renderer's, or the back buffer's before
// there is one.
void GetScreenSize(int& width, int& height);
