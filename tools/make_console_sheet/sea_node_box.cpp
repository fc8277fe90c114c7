// The sea nodes' hover box backgrounds (see sea_node_box.h).
#include "make_console_sheet/sea_node_box.h"

#include <cmath>
#include <utility>
#include <vector>

#include "common/ship_profiles.h"
#include "make_console_sheet/pictograms.h"

namespace console_sheet {

using tooldraw::Canvas;
using tooldraw::Col;
using tooldraw::kPi;
using Box = sSeaNodeBox;

namespace {

constexpr int kSuper = 4;  // shapes are drawn four times larger and averaged down
constexpr int kMark = 18;  // the row and size marks, in the column left of the counts
const Col kLine{206, 194, 150, 255};  // the border's khaki

Col Alpha(Col c, float a) { return Col{c.r, c.g, c.b, a}; }

// ---- Marks, in a 120-unit cell like the icons

// Two flags side by side, the one behind higher and dimmer: the allies.
void IconTwoFlags(Canvas& k, Col c, Col) {
  const auto flag = [&k](float x, float y, Col ink) {
    k.Rect(x, y, 6, 96 - y, ink);
    k.Disc(x + 3, y - 1, 5, ink);
    std::vector<float> p;
    for (int i = 0; i <= 14; ++i) { p.push_back(x + 6 + i * 3.0f); p.push_back(y + 6 + 4 * std::sin(i * 0.45f)); }
    for (int i = 14; i >= 0; --i) { p.push_back(x + 6 + i * 3.0f); p.push_back(y + 36 + 4 * std::sin(i * 0.45f)); }
    k.Polygon(p, ink);
  };
  flag(62, 8, Alpha(c, c.a * 0.6f));
  k.Rect(56, 96, 26, 5, Alpha(c, c.a * 0.6f));
  flag(18, 28, c);
  k.Rect(10, 96, 22, 5, c);
}

// A gun sight: a ring, four ticks pointing in and the centre dot.
void IconGunSight(Canvas& k, Col c, Col) {
  k.Ring(60, 60, 30, 38, c);
  k.Rect(56, 10, 8, 34, c);
  k.Rect(56, 76, 8, 34, c);
  k.Rect(10, 56, 34, 8, c);
  k.Rect(76, 56, 34, 8, c);
  k.Disc(60, 60, 6, c);
}

// A harbour crane on its quay: the tower, the jib reaching up and out over
// the water with a load on its fall, the counterweight behind.
void IconCrane(Canvas& k, Col c, Col) {
  k.Rect(6, 100, 108, 9, c);                             // the quay
  k.Polygon({38, 100, 62, 100, 56, 30, 46, 30}, c);      // the tower
  k.Rect(42, 22, 18, 12, c);                             // the cab
  k.Line(50, 26, 110, 10, 8, c);                         // the jib
  k.Line(48, 28, 16, 34, 8, c);                          // the counter-jib
  k.Rect(8, 30, 14, 16, c);                              // the counterweight
  k.Line(105, 14, 105, 62, 4, c);                        // the fall
  k.Rect(94, 62, 22, 16, c);                             // the load
}

void DrawWaveMotif(Canvas& k, Col c) {
  for (int row = 0; row < 3; ++row) {
    const float y = 40 + row * 22;
    for (int i = 0; i < 3; ++i) k.Arc(24 + i * 36, y, 13, 1.05f * kPi, 1.95f * kPi, 7, c);
  }
}

// ---- The rows

enum class eRow { kOwn, kAllied, kEnemy };

struct sRowLook {
  IconFn mark;
  Col ink;   // the mark: the allies' and the enemies' in the colours the game prints their counts in
  Col band;  // a tint across the row
};

sRowLook LookOf(eRow row) {
  switch (row) {
    // The own flag in brass: a white one would read as a surrender.
    case eRow::kOwn: return {IconFlag, Col{238, 212, 132, 255}, Col{255, 255, 255, 14}};
    case eRow::kAllied: return {IconTwoFlags, Col{168, 224, 144, 255}, Col{140, 220, 110, 26}};
    default: return {IconGunSight, Col{255, 144, 128, 255}, Col{255, 110, 90, 28}};
  }
}

struct sKind {
  Col bodyTop, bodyBottom, stripTop, stripBottom;
  bool port;  // an anchor in the title strip and the size line; a wave for a sea zone
  std::vector<eRow> rows;
  int rowsTop, rowHeight;
};

// ---- The parts of one background

void DrawPlate(Canvas& s, int ox, int oy, const sKind& kind) {
  constexpr int w = Box::kWidth, h = Box::kHeight, strip = Box::kTitleStrip;
  const auto lerp = [](Col a, Col b, float f) {
    return Col{a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f, a.a + (b.a - a.a) * f};
  };
  for (int y = 1; y < h - 1; ++y) {  // body and title strip: vertical gradients
    const Col c = y < strip ? lerp(kind.stripTop, kind.stripBottom, (y - 1) / float(strip - 2))
                            : lerp(kind.bodyTop, kind.bodyBottom, (y - strip) / float(h - strip - 2));
    s.Rect(ox + 1, oy + y, w - 2, 1, c);
  }
  s.Rect(ox + 2, oy + 1, w - 4, 1, Col{255, 250, 225, 40});  // a lit edge along the strip top
  s.Rect(ox + 1, oy + strip, w - 2, 1, Alpha(kLine, 150));   // the line under the title strip
  s.Rect(ox + 1, oy + strip + 1, w - 2, 1, Col{0, 0, 0, 90});
  const Col border = Alpha(kLine, 235);  // the 1-pixel light border, corners trimmed as on the hint frame
  s.Rect(ox + 2, oy, w - 4, 1, border);
  s.Rect(ox + 2, oy + h - 1, w - 4, 1, border);
  s.Rect(ox, oy + 2, 1, h - 4, border);
  s.Rect(ox + w - 1, oy + 2, 1, h - 4, border);
  for (const auto& c : {std::pair{1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}}) {
    s.Rect(ox + c.first, oy + c.second, 1, 1, border);
  }
  constexpr int kMotif = 16;  // the anchor or wave at the right end of the title strip
  Canvas k(kMotif * kSuper, kMotif * kSuper, kMotif * kSuper / 120.0f);
  const Col ink{226, 214, 170, 190};
  if (kind.port) IconAnchor(k, ink, Col{0, 0, 0, 0}); else DrawWaveMotif(k, ink);
  k.DownsampleInto(s, kSuper, ox + w - kMotif - 5, oy + (strip - kMotif) / 2 + 1);
}

// The six ships side by side over their columns, bow to the left, each on a
// short line of water; pale on the dark plate, with a soft shadow.
void DrawShips(Canvas& s, int ox, int oy) {
  constexpr int kBand = Box::kShipsBottom - Box::kShipsTop;
  constexpr float kScale = 0.3f;  // a 35-pixel hull in a 38-pixel column
  constexpr float kWaterline = kBand - 4.5f;
  Canvas k(6 * Box::kColumnWidth * kSuper, kBand * kSuper, float(kSuper));
  const tooldraw::ShipInk ink{Col{214, 206, 168, 255}, Col{232, 224, 188, 255}, Col{150, 142, 110, 255},
                              Col{120, 112, 86, 255}, Col{188, 164, 114, 255}};
  const Col black{0, 0, 0, 130};
  const tooldraw::ShipInk shadow{black, black, black, black, black};
  for (int type = 0; type < 6; ++type) {
    const float cx = (type + 0.5f) * Box::kColumnWidth;
    k.Rect(cx - 17.5f, kWaterline + 0.3f, 35, 0.8f, Col{150, 190, 214, 120});  // the water under the hull
    const float left = cx - 64 * kScale, top = kWaterline - tooldraw::kShipWaterline * kScale;
    tooldraw::ShipPen shade(k, left + 0.6f, top + 0.7f, kScale);
    tooldraw::DrawShipProfile(shade, type, shadow);
    tooldraw::ShipPen pen(k, left, top, kScale);
    tooldraw::DrawShipProfile(pen, type, ink);
  }
  k.DownsampleInto(s, kSuper, ox + Box::kColumnsLeft, oy + Box::kShipsTop);
  s.Rect(ox + 4, oy + Box::kShipsBottom, Box::kWidth - 8, 1, Alpha(kLine, 90));
}

// Thin lines between the columns from the ships down to the given depth.
void DrawColumnLines(Canvas& s, int ox, int oy, int bottom) {
  for (int c = 0; c < 6; ++c) {
    const int x = ox + Box::kColumnsLeft + c * Box::kColumnWidth;
    s.Rect(x, oy + Box::kShipsTop + 2, 1, bottom - Box::kShipsTop - 2, Alpha(kLine, c == 0 ? 70 : 34));
  }
}

void DrawRows(Canvas& s, int ox, int oy, const sKind& kind) {
  for (std::size_t r = 0; r < kind.rows.size(); ++r) {
    const sRowLook look = LookOf(kind.rows[r]);
    const int top = oy + kind.rowsTop + int(r) * kind.rowHeight;
    s.Rect(ox + 3, top, Box::kWidth - 6, kind.rowHeight, look.band);
    if (r + 1 < kind.rows.size()) s.Rect(ox + 3, top + kind.rowHeight - 1, Box::kWidth - 6, 1, Col{0, 0, 0, 70});
    Pictogram(s, look.mark, ox + (Box::kColumnsLeft - kMark) / 2, top + (kind.rowHeight - kMark) / 2, kMark,
              look.ink, Col{0, 0, 0, 0}, true);
  }
}

// A port's size line along the bottom: the crane, then a sunken slot where
// the game writes "current/maximum".
void DrawSizeLine(Canvas& s, int ox, int oy) {
  const int top = oy + Box::kFooterTop, bottom = oy + Box::kHeight - 2;
  s.Rect(ox + 1, top, Box::kWidth - 2, 1, Alpha(kLine, 90));
  s.Rect(ox + 1, top + 1, Box::kWidth - 2, bottom - top - 1, Col{0, 0, 0, 50});
  const int middle = (top + 1 + bottom) / 2;
  Pictogram(s, IconCrane, ox + (Box::kColumnsLeft - kMark) / 2, middle - kMark / 2, kMark, Col{226, 214, 170, 255},
            Col{0, 0, 0, 0}, true);
  const int slotLeft = ox + Box::kColumnsLeft, slotWidth = 56;
  s.Rect(slotLeft, middle - 9, slotWidth, 18, Col{0, 0, 0, 55});
  s.Rect(slotLeft, middle - 9, slotWidth, 1, Col{0, 0, 0, 110});
  s.Rect(slotLeft, middle + 8, slotWidth, 1, Alpha(kLine, 60));
}

void DrawBackground(Canvas& s, int ox, int oy, const sKind& kind) {
  DrawPlate(s, ox, oy, kind);
  const int rowsBottom = kind.rowsTop + int(kind.rows.size()) * kind.rowHeight;
  DrawColumnLines(s, ox, oy, kind.port ? Box::kFooterTop : rowsBottom);
  DrawRows(s, ox, oy, kind);
  DrawShips(s, ox, oy);
  if (kind.port) DrawSizeLine(s, ox, oy);
}

}  // namespace

void DrawSeaNodeBackgrounds(Canvas& sheet, int ox, int oy) {
  // Another port's one row lies midway between the ships and the size line.
  constexpr int kLoneRowTop = (Box::kRowsTop + Box::kFooterTop - Box::kLoneRowHeight) / 2;
  // Nearly opaque: the map's counters and names must not show through
  // between the ships and the counts.
  const sKind allied{Col{34, 40, 24, 250}, Col{22, 26, 16, 252}, Col{74, 84, 46, 250}, Col{50, 58, 32, 250}, true,
                     {eRow::kOwn, eRow::kAllied}, Box::kRowsTop, Box::kRowHeight};
  const sKind foreign{Col{46, 24, 20, 250}, Col{28, 15, 13, 252}, Col{112, 48, 36, 250}, Col{78, 32, 25, 250}, true,
                      {eRow::kEnemy}, kLoneRowTop, Box::kLoneRowHeight};
  const sKind sea{Col{18, 28, 50, 250}, Col{11, 17, 32, 252}, Col{40, 62, 108, 250}, Col{27, 42, 76, 250}, false,
                  {eRow::kOwn, eRow::kAllied, eRow::kEnemy}, Box::kRowsTop, Box::kRowHeight};
  DrawBackground(sheet, ox, oy, allied);
  DrawBackground(sheet, ox, oy + Box::kHeight, foreign);
  DrawBackground(sheet, ox, oy + 2 * Box::kHeight, sea);
}

}  // namespace console_sheet
