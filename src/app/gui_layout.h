// The per-resolution layout table and the interface fonts, read from
// "data\GUI_%ix%i.csv" for the screen resolution of the settings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/render.h"

constexpr int kLayoutEntries = 1500;
constexpr int kGuiFonts = 8;

// One layout entry: {x, y, width, height} as read, or {left, top, right,
// bottom} for the entries converted after loading.
struct sLayoutRect {
  int a = 0, b = 0, c = 0, d = 0;
};

struct sGuiFont {
  std::wstring face;
  int height = 0;
  int weight = 0;               // file value * 8 + 100
  std::uint32_t color = 0;      // 0xFFRRGGBB
  std::uint32_t color2 = 0;     // 0xFFRRGGBB
  plat::Font* font = nullptr;   // made when the device is created, owned by the frame
};

extern sLayoutRect g_GuiLayout[kLayoutEntries];
extern sGuiFont g_GuiFonts[kGuiFonts];
// {x - 2, y - 2, x + width + 4, y + height + 4} of entry 315 after loading.
extern plat::RectI g_MinimapFrameRect;

// "data\GUI_%ix%i.csv" with the screen size of the settings, or with the
// size given.
std::wstring GuiLayoutFileName();
std::wstring GuiLayoutFileName(int width, int height);

// The screen size every supported screen shows, whose layout is always
// shipped.
constexpr int kFallbackResolutionX = 1024;
constexpr int kFallbackResolutionY = 768;

// Loads the layout file of the current resolution. A missing file is fatal:
// the line "Loading GUI coordinates from \"<name>\"... FAILED" is logged, the
// framework is shut down and the process ends with exit code 1.
void LoadGuiLayout();

// Loads one layout file: resets entries 0..999 to -1, reads the rectangles
// and the fonts, derives font 8 when the file does not define it, converts
// the edge-form entries and computes g_MinimapFrameRect. Returns false, after
// logging the failure line, when the file cannot be read; then nothing is
// changed.
bool LoadGuiLayoutFile(std::wstring_view fileName);

// Whether entry id is held as {left, top, right, bottom} after loading
// (entries 1, 3..9 and 16..56).
bool IsEdgeLayoutEntry(int id);
