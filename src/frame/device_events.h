// The device life cycle and the frame render. The device callbacks make and
// give up every drawing object the program holds outside the GUI toolkit:
// the fonts of the layout table, the overlay font, the shared sprite batch
// and line, and the textures of the texture table.
#pragma once

#include <cstdint>

#include "app/draw_objects.h"
#include "platform/framework.h"
#include "platform/render.h"

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

