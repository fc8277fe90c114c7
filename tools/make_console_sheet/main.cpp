// make_console_sheet: draws the GUI sheet the menus load into texture table
// slot 2 ("data/gfx/console.png"). Everything is drawn with plain code; the
// regions sit where the game cuts them:
//   icon grid           (0, 135), 120 x 120 cells, ten a row, two rows
//   framed box pieces   (0, 1895), 3 x 3 pieces of 45 x 45
//   hint frame pieces   (200, 1895), 3 x 3 pieces of 10 x 10
//   sea-node hover box  (1250, 135), three backgrounds stacked: allied port,
//                       non-allied port, sea zone (sea_node_box.h)
//   map-screen panels   listed with their drawing below
// The rest of the sheet stays transparent (it compresses to almost nothing).
// Usage: make_console_sheet <output.png>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/draw.h"
#include "make_console_sheet/pictograms.h"
#include "make_console_sheet/sea_node_box.h"

namespace {

using tooldraw::Canvas;
using tooldraw::Col;
using tooldraw::kPi;
using tooldraw::Bevel;
using tooldraw::VGradient;

std::vector<float> Star(float cx, float cy, float r0, float r1, int points, float rot = -kPi / 2) {
  std::vector<float> p;
  for (int i = 0; i < points * 2; ++i) {
    const float a = rot + i * kPi / points, r = (i % 2 == 0) ? r1 : r0;
    p.push_back(cx + std::cos(a) * r); p.push_back(cy + std::sin(a) * r);
  }
  return p;
}

// ---- The icons: each draws its pictogram in c, in a 120-unit cell. `bg` is
// the badge colour, used to cut holes.
using console_sheet::IconAnchor;
using console_sheet::IconFlag;
using console_sheet::IconFn;
using console_sheet::Pictogram;

void IconStar(Canvas& k, Col c, Col) { k.Polygon(Star(60, 63, 16, 38, 5), c); }
void IconTank(Canvas& k, Col c, Col bg) {
  k.Polygon({20, 70, 100, 70, 92, 88, 28, 88}, c);
  k.Polygon({26, 62, 94, 62, 100, 70, 20, 70}, c);
  k.Polygon({42, 62, 46, 48, 72, 48, 78, 62}, c);
  k.Rect(76, 51, 30, 5, c);
  for (int i = 0; i < 5; ++i) k.Disc(34 + i * 13, 79, 4.5f, bg);
}
void IconPlane(Canvas& k, Col c, Col) {
  k.Ellipse(60, 60, 7, 40, c);
  k.Polygon({60, 46, 104, 62, 104, 68, 60, 62, 16, 68, 16, 62}, c);
  k.Polygon({60, 86, 78, 94, 78, 98, 60, 96, 42, 98, 42, 94}, c);
}
void IconSwords(Canvas& k, Col c, Col) {
  for (int s = -1; s <= 1; s += 2) {
    const float x0 = 60 - s * 36, x1 = 60 + s * 30;
    k.Line(x0, 24, x1, 88, 7, c);                                  // blade
    k.Polygon({x0 - s * 3.5f, 24, x0 - s * 2, 16, x0 + s * 5, 22}, c);  // point
    k.Line(x1 - s * 10, 92, x1 + s * 6, 76, 6, c);                 // guard
    k.Line(x1, 88, x1 + s * 8, 98, 6, c);                          // grip
    k.Disc(x1 + s * 9, 99, 4.5f, c);
  }
}
void IconGlobe(Canvas& k, Col c, Col bg) {
  k.Disc(60, 60, 36, c);
  k.EllipseLine(60, 60, 36, 36, 3, bg);
  k.EllipseLine(60, 60, 16, 36, 3, bg);
  k.Rect(60 - 1.5f, 24, 3, 72, bg);
  k.Rect(24, 58.5f, 72, 3, bg);
  k.Arc(60, 130, 85, 1.37f * kPi, 1.63f * kPi, 3, bg);
  k.Arc(60, -10, 85, 0.37f * kPi, 0.63f * kPi, 3, bg);
}
std::vector<float> ShieldShape(float s) {
  std::vector<float> p{60 - 34 * s, 60 - 38 * s, 60 + 34 * s, 60 - 38 * s};
  for (int i = 0; i <= 16; ++i) {  // the sides curve down to the point
    const float t = i / 16.0f;
    p.push_back(60 + 34 * s * std::cos(t * kPi / 2)); p.push_back(60 + (-8 + 48 * std::sin(t * kPi / 2)) * s);
  }
  for (int i = 16; i >= 0; --i) {
    const float t = i / 16.0f;
    p.push_back(60 - 34 * s * std::cos(t * kPi / 2)); p.push_back(60 + (-8 + 48 * std::sin(t * kPi / 2)) * s);
  }
  p.erase(p.begin() + 4 + 32, p.begin() + 4 + 34);  // the point is listed once
  return p;
}
void IconShield(Canvas& k, Col c, Col bg) {
  k.Polygon(ShieldShape(1.0f), c);
  k.Polygon(ShieldShape(0.78f), bg);
  k.Rect(56, 36, 8, 54, c);
  k.Rect(37, 50, 46, 8, c);
}
void IconShip(Canvas& k, Col c, Col) {
  k.Polygon({14, 72, 106, 72, 96, 88, 26, 88}, c);
  k.Rect(38, 60, 40, 12, c);
  k.Rect(48, 48, 20, 12, c);
  k.Rect(58, 34, 8, 14, c);
  k.Line(78, 64, 96, 58, 3.5f, c);
  k.Line(38, 64, 22, 58, 3.5f, c);
  k.Line(52, 48, 52, 28, 2, c);
}
void IconFactory(Canvas& k, Col c, Col bg) {
  k.Polygon({18, 92, 18, 58, 38, 44, 38, 58, 58, 44, 58, 58, 78, 44, 78, 92}, c);
  k.Rect(82, 26, 10, 66, c);
  k.Disc(90, 20, 6, c);
  k.Disc(100, 14, 4, c);
  for (int i = 0; i < 3; ++i) k.Rect(24 + i * 18, 70, 9, 8, bg);
}
void IconGear(Canvas& k, Col c, Col bg) {
  k.Disc(60, 60, 28, c);
  for (int i = 0; i < 8; ++i) {
    const float a = i * kPi / 4;
    k.Line(60 + std::cos(a) * 24, 60 + std::sin(a) * 24, 60 + std::cos(a) * 38, 60 + std::sin(a) * 38, 12, c);
  }
  k.Disc(60, 60, 11, bg);
}
void IconSubmarine(Canvas& k, Col c, Col) {
  k.Ellipse(60, 72, 46, 11, c);
  k.Polygon({48, 64, 52, 48, 72, 48, 74, 64}, c);
  k.Rect(62, 30, 3, 18, c);
  k.Rect(62, 30, 10, 3, c);
  k.Polygon({104, 72, 112, 62, 112, 82}, c);
}
void IconBomb(Canvas& k, Col c, Col bg) {
  k.Disc(54, 68, 28, c);
  k.Line(68, 42, 76, 34, 10, c);
  k.Arc(88, 34, 12, kPi, 1.6f * kPi, 3, c);
  k.Polygon(Star(94, 23, 3, 10, 6, 0), c);
  k.Arc(54, 68, 18, 1.1f * kPi, 1.4f * kPi, 4, bg);
}
void IconCrown(Canvas& k, Col c, Col bg) {
  k.Polygon({24, 84, 20, 42, 40, 62, 60, 34, 80, 62, 100, 42, 96, 84}, c);
  k.Rect(24, 88, 72, 8, c);
  k.Disc(20, 40, 5, c); k.Disc(60, 31, 5, c); k.Disc(100, 40, 5, c);
  for (int i = 0; i < 3; ++i) k.Disc(40 + i * 20, 74, 4, bg);
}
void IconTower(Canvas& k, Col c, Col bg) {
  k.Rect(34, 40, 52, 58, c);
  for (int i = 0; i < 4; ++i) k.Rect(30 + i * 16, 24, 12, 18, c);
  k.Rect(30, 36, 60, 8, c);
  k.Rect(52, 74, 16, 24, bg);
  k.Disc(60, 74, 8, bg);
  k.Rect(57, 50, 6, 12, bg);
}
void IconBolt(Canvas& k, Col c, Col) { k.Polygon({68, 16, 30, 66, 56, 66, 46, 104, 90, 50, 64, 50, 78, 16}, c); }
void IconDrop(Canvas& k, Col c, Col bg) {
  k.Disc(60, 72, 26, c);
  k.Polygon({60, 16, 84, 62, 36, 62}, c);
  k.Arc(60, 72, 17, 0.55f * kPi, 0.95f * kPi, 4, bg);
}
void IconLetter(Canvas& k, Col c, Col bg) {
  k.Rect(18, 34, 84, 54, c);
  k.Line(20, 36, 60, 66, 4, bg);
  k.Line(100, 36, 60, 66, 4, bg);
  k.Disc(60, 72, 8, bg);
  k.Polygon(Star(60, 72, 3, 7, 5), c);
}
void IconCannon(Canvas& k, Col c, Col bg) {
  k.Line(34, 74, 98, 40, 13, c);
  k.Disc(32, 75, 9, c);
  k.Ring(48, 80, 14, 20, c);
  for (int i = 0; i < 6; ++i) {
    const float a = i * kPi / 3;
    k.Line(48, 80, 48 + std::cos(a) * 16, 80 + std::sin(a) * 16, 3, c);
  }
  k.Disc(48, 80, 5, c);
  k.Disc(48, 80, 2, bg);
  k.Line(60, 88, 96, 98, 6, c);
}
void IconHourglass(Canvas& k, Col c, Col bg) {
  k.Rect(32, 18, 56, 8, c);
  k.Rect(32, 94, 56, 8, c);
  k.Polygon({38, 26, 82, 26, 64, 60, 82, 94, 38, 94, 56, 60}, c);
  k.Polygon({46, 32, 74, 32, 60, 54}, bg);
  k.Polygon({60, 72, 74, 88, 46, 88}, bg);
  k.Polygon({60, 66, 72, 88, 48, 88}, c);
}

const IconFn kIcons[20] = {IconStar,   IconAnchor,    IconTank,   IconPlane, IconSwords, IconGlobe,  IconShield,
                           IconFlag,   IconShip,      IconFactory, IconGear, IconSubmarine, IconBomb, IconCrown,
                           IconTower,  IconBolt,      IconDrop,   IconLetter, IconCannon, IconHourglass};

// One icon: an olive badge with a brass rim and the pictogram in pale brass
// over a soft shadow.
void DrawIcon(Canvas& sheet, int index, int ox, int oy) {
  constexpr int kSuper = 4;
  Canvas k(120 * kSuper, 120 * kSuper, float(kSuper));
  for (int i = 0; i < 12; ++i) {  // a radial gradient in rings, darker outward
    const float t = i / 11.0f;
    k.Disc(60, 60, 52 - i * 3.5f, Col{36 + 34 * t, 42 + 36 * t, 30 + 22 * t, 255});
  }
  const Col bg{60, 68, 46, 255};
  k.Disc(60, 60, 46, bg);
  k.Ring(60, 60, 49, 54, Col{168, 142, 84, 255});
  k.Ring(60, 60, 47.5f, 49, Col{20, 22, 16, 200});
  k.Ring(60, 60, 52, 53, Col{222, 200, 140, 150});
  k.SetOffset(1.8f, 2.2f);
  kIcons[index](k, Col{10, 12, 8, 150}, Col{10, 12, 8, 0});
  k.SetOffset(0, 0);
  kIcons[index](k, Col{226, 214, 170, 255}, bg);
  k.DownsampleInto(sheet, kSuper, ox, oy);
}

// The framed box: 135 x 135, cut into 45-pixel pieces. Edges and centre are
// stretched, so along their length they stay uniform; the rivets and corner
// plates live only in the corner pieces.
void DrawFramedBox(Canvas& s, int ox, int oy) {
  constexpr int n = 135, band = 12;
  const Col dark{14, 16, 12, 255}, steel{78, 86, 62, 255}, light{142, 148, 112, 255}, shade{40, 44, 32, 255};
  s.Rect(ox, oy, n, n, dark);
  s.Rect(ox + 1, oy + 1, n - 2, n - 2, steel);
  s.Rect(ox + 1, oy + 1, n - 2, 2, light);      // bevel: lit top and left
  s.Rect(ox + 1, oy + 1, 2, n - 2, light);
  s.Rect(ox + 1, oy + n - 3, n - 2, 2, shade);  // shaded bottom and right
  s.Rect(ox + n - 3, oy + 1, 2, n - 2, shade);
  s.Rect(ox + 5, oy + 5, n - 10, 1, Col{108, 116, 86, 255});  // a fine groove along the band
  s.Rect(ox + 5, oy + 5, 1, n - 10, Col{108, 116, 86, 255});
  s.Rect(ox + 5, oy + n - 6, n - 10, 1, Col{56, 62, 44, 255});
  s.Rect(ox + n - 6, oy + 5, 1, n - 10, Col{56, 62, 44, 255});
  s.Rect(ox + band - 1, oy + band - 1, n - 2 * band + 2, n - 2 * band + 2, shade);  // inner lip
  s.Rect(ox + band, oy + band, n - 2 * band, n - 2 * band, Col{24, 27, 21, 255});
  s.Rect(ox + band + 1, oy + band + 1, n - 2 * band - 2, n - 2 * band - 2, Col{30, 34, 26, 240});
  for (int cy = 0; cy < 2; ++cy)
    for (int cx = 0; cx < 2; ++cx) {
      const int px = ox + (cx ? n - 24 : 0), py = oy + (cy ? n - 24 : 0);
      s.Rect(px, py, 24, 24, dark);  // a corner plate with a rivet
      s.Rect(px + 1, py + 1, 22, 22, Col{96, 104, 76, 255});
      s.Rect(px + 1, py + 1, 22, 1, light);
      s.Rect(px + 1, py + 1, 1, 22, light);
      s.Rect(px + 1, py + 22, 22, 1, shade);
      s.Rect(px + 22, py + 1, 1, 22, shade);
      const int rx = px + 12, ry = py + 12;
      Canvas r(40, 40, 4.0f);  // the rivet, smoothed
      r.Disc(5.5f, 5.5f, 4.5f, Col{10, 12, 8, 160});
      r.Disc(5, 5, 4, Col{150, 150, 124, 255});
      r.Disc(4.4f, 4.4f, 2.6f, Col{196, 194, 160, 255});
      r.Disc(3.8f, 3.8f, 1.0f, Col{240, 236, 210, 255});
      r.DownsampleInto(s, 4, rx - 5, ry - 5);
    }
}

// The hint frame: 30 x 30 in 10-pixel pieces; a 1-pixel light border with
// trimmed corners and a dark, partly see-through fill.
void DrawHintFrame(Canvas& s, int ox, int oy) {
  constexpr int n = 30;
  const Col border{206, 194, 150, 235}, fill{18, 20, 16, 205};
  s.Rect(ox + 1, oy + 1, n - 2, n - 2, fill);
  s.Rect(ox + 2, oy, n - 4, 1, border);
  s.Rect(ox + 2, oy + n - 1, n - 4, 1, border);
  s.Rect(ox, oy + 2, 1, n - 4, border);
  s.Rect(ox + n - 1, oy + 2, 1, n - 4, border);
  const int cs[4][2] = {{1, 1}, {n - 2, 1}, {1, n - 2}, {n - 2, n - 2}};
  for (const auto& c : cs) s.Rect(ox + c[0], oy + c[1], 1, 1, border);
  s.Rect(ox + 2, oy + 1, n - 4, 1, Col{90, 86, 66, 120});  // faint inner highlight under the top edge
}

// ---- The map-screen panels. Every picture sits where the panels cut it:
//   information bar background   (0, 460), 816 x 76, layout entry 3
//   command icons background     (0, 560), 208 x 34, layout entry 5
//   country name plate           (240, 560), 196 x 30, layout entry 6
//   command icons                (0, 600), eight 24 x 24 side by side, looks
//                                stacked (disabled, normal, mouse-over); entry 14
//   panel handles                (200, 620), four 32 x 32, looks stacked
//   harbour icon                 (340, 620), 40 x 40, looks stacked
//   opaque white patch           (400, 620), 4 x 4 (painted black areas)
//   minimap icons                (560, 375), five 25 x 25 every 30 px, looks stacked
//   minimap panel background     (820, 460), 208 x 214, layout entry 4
//   computer-phase indicator     (0, 1390), two 200 x 200 pictures
const Col kSteelTop{58, 64, 54, 250}, kSteelBottom{30, 34, 28, 250};
const Col kBrass{176, 150, 92, 255}, kBrassLight{226, 204, 146, 255}, kDarkLine{12, 14, 10, 230};
const Col kRecess{16, 18, 14, 235};

// A sunken slot: dark fill, shaded top and left, a fine brass line below.
void Recess(Canvas& s, int x, int y, int w, int h) {
  s.Rect(x, y, w, h, kRecess);
  Bevel(s, x, y, w, h, 1, Col{0, 0, 0, 200}, Col{120, 112, 82, 160});
}

// A steel plate with a brass rim and rivets in its corners.
void Plate(Canvas& s, int x, int y, int w, int h) {
  VGradient(s, x, y, w, h, kSteelTop, kSteelBottom);
  for (int i = 0; i < h; i += 3) s.Rect(x + 2, y + i, w - 4, 1, Col{255, 255, 255, 6});  // brushed look
  Bevel(s, x, y, w, h, 1, kBrassLight, Col{92, 76, 44, 255});
  s.Rect(x + 1, y + 1, w - 2, 1, kBrass);
  s.Rect(x + 1, y + h - 3, w - 2, 1, kBrass);
  for (int cx : {x + 5, x + w - 6})
    for (int cy : {y + 5, y + h - 6}) {
      s.Rect(cx - 1, cy - 1, 3, 3, Col{110, 96, 60, 255});
      s.Rect(cx - 1, cy - 1, 2, 1, kBrassLight);
    }
}

// A round badge with a pictogram in three looks stacked: disabled (grey),
// normal, mouse-over (lit).
void BadgeIcon(Canvas& s, IconFn fn, int x, int y, int size) {
  struct Look { Col face, rim, ink; };
  const Look looks[3] = {{Col{44, 46, 42, 255}, Col{96, 96, 90, 255}, Col{130, 130, 124, 255}},
                         {Col{60, 68, 46, 255}, kBrass, Col{226, 214, 170, 255}},
                         {Col{92, 104, 62, 255}, kBrassLight, Col{255, 246, 206, 255}}};
  for (int l = 0; l < 3; ++l) {
    constexpr int kSuper = 4;
    Canvas k(size * kSuper, size * kSuper, size * kSuper / 120.0f);
    k.Disc(60, 60, 57, Col{8, 10, 6, 200});
    k.Disc(60, 60, 54, looks[l].rim);
    k.Disc(60, 60, 47, looks[l].face);
    k.Ring(60, 60, 47, 50, Col{20, 22, 16, 200});
    k.DownsampleInto(s, kSuper, x, y + l * size);
    const int inset = size / 7;
    Pictogram(s, fn, x + inset, y + l * size + inset, size - 2 * inset, looks[l].ink, looks[l].face, false);
  }
}

void IconHex(Canvas& k, Col c, Col bg) {
  std::vector<float> p;
  for (int i = 0; i < 6; ++i) {
    const float a = i * kPi / 3;
    p.push_back(60 + std::cos(a) * 44); p.push_back(60 + std::sin(a) * 44);
  }
  k.Polygon(p, c);
  std::vector<float> q;
  for (int i = 0; i < 6; ++i) {
    const float a = i * kPi / 3;
    q.push_back(60 + std::cos(a) * 30); q.push_back(60 + std::sin(a) * 30);
  }
  k.Polygon(q, bg);
  k.Disc(60, 60, 10, c);
}
void IconMagnifier(Canvas& k, Col c, Col bg, bool plus) {
  k.Disc(50, 50, 32, c);
  k.Disc(50, 50, 23, bg);
  k.Line(72, 72, 100, 100, 13, c);
  k.Rect(36, 46, 28, 8, c);
  if (plus) k.Rect(46, 36, 8, 28, c);
}
void IconZoomIn(Canvas& k, Col c, Col bg) { IconMagnifier(k, c, bg, true); }
void IconZoomOut(Canvas& k, Col c, Col bg) { IconMagnifier(k, c, bg, false); }
void IconBorders(Canvas& k, Col c, Col) {
  for (int i = 0; i < 5; ++i) k.Rect(16 + i * 19, 26 + (i % 2) * 10, 12, 8, c);  // a dashed frontier
  for (int i = 0; i < 5; ++i) k.Rect(16 + i * 19, 78 - (i % 2) * 10, 12, 8, c);
  k.Disc(60, 57, 9, c);
}

// The information bar: flag recess, name plate place, status strip, the
// handles' tray and six counter cells, each with its pictogram.
void DrawInfoBar(Canvas& s, int ox, int oy) {
  constexpr int w = 816, h = 76;
  Plate(s, ox, oy, w, h);
  Recess(s, ox + 6, oy + 8, 88, 60);     // the flag
  Recess(s, ox + 98, oy + 40, 348, 32);  // the status line
  Recess(s, ox + 302, oy + 3, 148, 36);  // the panel handles
  const IconFn kCounterIcons[6] = {IconFactory, IconLetter, IconBolt, IconShip, IconAnchor, IconBomb};
  for (int i = 0; i < 6; ++i) {
    const int cx = ox + 456 + (i % 3) * 120, cy = oy + 4 + (i / 3) * 36;
    Recess(s, cx, cy, 114, 32);
    Pictogram(s, kCounterIcons[i], cx + 4, cy + 3, 26, Col{214, 196, 140, 255}, kRecess, true);
    s.Rect(cx + 33, cy + 4, 1, 24, Col{120, 104, 66, 200});  // a divider before the value
  }
}

void DrawNamePlate(Canvas& s, int ox, int oy) {
  constexpr int w = 196, h = 30;
  VGradient(s, ox, oy, w, h, Col{150, 124, 70, 255}, Col{96, 76, 40, 255});
  Bevel(s, ox, oy, w, h, 1, kBrassLight, Col{56, 44, 22, 255});
  s.Rect(ox + 3, oy + 3, w - 6, h - 6, Col{40, 32, 18, 90});
}

void DrawCommandStrip(Canvas& s, int ox, int oy) { Plate(s, ox, oy, 208, 34); }

void DrawMinimapBackground(Canvas& s, int ox, int oy) {
  constexpr int w = 208, h = 214;
  Plate(s, ox, oy, w, h);
  Recess(s, ox + 9, oy + 9, 190, 144);   // the picture
  Recess(s, ox + 14, oy + 155, 180, 29);  // the icons' tray
  Recess(s, ox + 4, oy + 187, 200, 24);  // the date line
}

// The computer-phase indicator: a red badge with an hourglass, lit and dim.
void DrawComputerIndicator(Canvas& s, int ox, int oy, bool lit) {
  constexpr int kSuper = 2, n = 200;
  Canvas k(n * kSuper, n * kSuper, n * kSuper / 120.0f);
  const Col face = lit ? Col{150, 36, 28, 255} : Col{86, 26, 20, 255};
  k.Disc(60, 60, 58, Col{8, 8, 6, 220});
  k.Disc(60, 60, 55, lit ? kBrassLight : kBrass);
  k.Disc(60, 60, 48, face);
  IconHourglass(k, lit ? Col{255, 236, 190, 255} : Col{190, 160, 120, 255}, face);
  k.DownsampleInto(s, kSuper, ox, oy);
}

void DrawPanelArt(Canvas& s) {
  DrawInfoBar(s, 0, 460);
  DrawCommandStrip(s, 0, 560);
  DrawNamePlate(s, 240, 560);
  const IconFn kCommands[8] = {IconFactory, IconLetter, IconGear, IconTank,
                               IconBolt,    IconShip,   IconHourglass, IconFlag};
  for (int i = 0; i < 8; ++i) BadgeIcon(s, kCommands[i], i * 24, 600, 24);
  const IconFn kHandles[4] = {IconTank, IconHex, IconSwords, IconGlobe};
  for (int i = 0; i < 4; ++i) BadgeIcon(s, kHandles[i], 200 + i * 32, 620, 32);
  BadgeIcon(s, IconAnchor, 340, 620, 40);
  s.Rect(400, 620, 4, 4, Col{255, 255, 255, 255});
  const IconFn kMinimapIcons[5] = {IconZoomIn, IconZoomOut, IconFlag, IconBorders, IconGlobe};
  for (int i = 0; i < 5; ++i) BadgeIcon(s, kMinimapIcons[i], 560 + i * 30, 375, 25);
  DrawMinimapBackground(s, 820, 460);
  DrawComputerIndicator(s, 0, 1390, true);
  DrawComputerIndicator(s, 200, 1390, false);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_console_sheet <output.png>\n");
    return 2;
  }
  constexpr int kSize = 2048;
  Canvas sheet(kSize, kSize);
  for (int i = 0; i < 20; ++i) DrawIcon(sheet, i, 0 + (i % 10) * 120, 135 + (i / 10) * 120);
  DrawFramedBox(sheet, 0, 1895);
  DrawHintFrame(sheet, 200, 1895);
  console_sheet::DrawSeaNodeBackgrounds(sheet, 1250, 135);
  DrawPanelArt(sheet);

  const std::string error = tooldraw::WritePng(sheet, argv[1]);
  if (!error.empty()) {
    std::fprintf(stderr, "make_console_sheet: %s\n", error.c_str());
    return 1;
  }
  std::printf("wrote %s\n", argv[1]);
  return 0;
}
