// The drawing objects every screen draws with outside the GUI toolkit: the
// shared sprite batch and the overlay font. The device
// callbacks of the frame make them on every device reset and let them go
// when the device is lost.
#pragma once


#include "platform/render.h"

// Made on every device reset, null while the device is lost.
extern plat::SpriteBatch* g_pSprite;
// "Arial" 15/700, made with the device.
extern plat::Font* g_pOverlayFont;

// The screen size in pixels: the renderer's, or the back buffer's before
// there is one.
void GetScreenSize(int& width, int& height);
