// What the land, air and ship counters share in their drawing: sprites and
// texts placed by the boxes of a unit appearance table, marker rows, and the
// flag shown for a country.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/render.h"

class cCountry;
class cTexture;
struct sUnitAppearance;
struct sUnitAppearanceTable;

// The rectangle moved down by rows of its own height (the next row of a
// marker strip).
plat::RectI MovedDown(plat::RectI rect, int rows);

// The country's flag, or the default flag for none.
cTexture* CounterFlag(const cCountry* country);

// Draws into a begun batch at a counter's position.
class cCounterPainter {
 public:
  static constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

  cCounterPainter(plat::SpriteBatch& sprite, const sUnitAppearance& look, float x, float y, float z)
      : sprite_(sprite), look_(look), x_(x), y_(y), z_(z) {}

  // A sprite box holds left, top, width and height; a box the table leaves
  // invalid draws nothing.
  void Sprite(int box, cTexture* texture, const plat::RectI& source, std::uint32_t argb = kWhite);
  // A text box holds edges (moved down by rowsDown of its height); the
  // shadow goes one pixel right and down.
  void Text(int box, int style, const std::wstring& text, int rowsDown = 0);

 private:
  plat::SpriteBatch& sprite_;
  const sUnitAppearance& look_;
  float x_, y_, z_;
};

// A counter scaled into a rectangle (the unit panel, dialogs and the
// purchase preview; a counter is 166 pixels wide at scale 1): the first
// entry of the unit's appearance table, no name; draw(x, y) draws the
// counter at a position under the scaling. A rectangle without width has no
// scale and draws nothing.
void DrawCounterInRect(sUnitAppearanceTable& table, const plat::RectI& rect,
                       const std::function<void(float x, float y)>& draw);
