// make_console_sheet: draws the GUI sheet the menus load into texture table
// slot 2 ("data/gfx/console.png"). Everything is drawn with plain code; the
// regions sit where the game cuts them:
//   icon grid           (0, 135), 120 x 120 cells, ten a row, two rows
//   framed box pieces   (0, 1895), 3 x 3 pieces of 45 x 45
//   hint frame pieces   (200, 1895), 3 x 3 pieces of 10 x 10
//   sea-node hover box  (1250, 135), three 260 x 110 backgrounds stacked:
//                       allied port, non-allied port, sea zone
// The rest of the sheet stays transparent (it compresses to almost nothing).
// Usage: make_console_sheet <output.png>
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

struct Col {
  float r, g, b, a;  // 0..255, straight alpha
};

constexpr float kPi = 3.14159265f;

// An RGBA canvas with source-over blending. Shapes are given in "units"; the
// canvas multiplies them by scale (icons are drawn four times larger and then
// averaged down for smooth edges) and adds an offset (used for shadows).
class Canvas {
 public:
  Canvas(int w, int h, float scale = 1.0f) : w_(w), h_(h), scale_(scale), px_(size_t(w) * h, Col{0, 0, 0, 0}) {}
  int W() const { return w_; }
  int H() const { return h_; }
  Col& At(int x, int y) { return px_[size_t(y) * w_ + x]; }
  void SetOffset(float dx, float dy) { dx_ = dx; dy_ = dy; }

  void Blend(int x, int y, Col c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || c.a <= 0) return;
    Col& d = At(x, y);
    const float sa = c.a / 255.0f, da = d.a / 255.0f, oa = sa + da * (1 - sa);
    if (oa <= 0) return;
    d.r = (c.r * sa + d.r * da * (1 - sa)) / oa;
    d.g = (c.g * sa + d.g * da * (1 - sa)) / oa;
    d.b = (c.b * sa + d.b * da * (1 - sa)) / oa;
    d.a = oa * 255.0f;
  }
  // Fills every pixel whose centre passes the test (coordinates in units).
  void FillWhere(float x0, float y0, float x1, float y1, const std::function<bool(float, float)>& inside, Col c) {
    const int px0 = std::max(0, int(std::floor((x0 + dx_) * scale_)));
    const int py0 = std::max(0, int(std::floor((y0 + dy_) * scale_)));
    const int px1 = std::min(w_, int(std::ceil((x1 + dx_) * scale_)) + 1);
    const int py1 = std::min(h_, int(std::ceil((y1 + dy_) * scale_)) + 1);
    for (int y = py0; y < py1; ++y)
      for (int x = px0; x < px1; ++x) {
        const float ux = (x + 0.5f) / scale_ - dx_, uy = (y + 0.5f) / scale_ - dy_;
        if (inside(ux, uy)) Blend(x, y, c);
      }
  }
  void Rect(float x, float y, float w, float h, Col c) {
    FillWhere(x, y, x + w, y + h, [&](float u, float v) { return u >= x && u < x + w && v >= y && v < y + h; }, c);
  }
  void Ellipse(float cx, float cy, float rx, float ry, Col c) {
    FillWhere(cx - rx, cy - ry, cx + rx, cy + ry, [&](float u, float v) {
      const float a = (u - cx) / rx, b = (v - cy) / ry;
      return a * a + b * b <= 1.0f;
    }, c);
  }
  void Disc(float cx, float cy, float r, Col c) { Ellipse(cx, cy, r, r, c); }
  void Ring(float cx, float cy, float r0, float r1, Col c) {
    FillWhere(cx - r1, cy - r1, cx + r1, cy + r1, [&](float u, float v) {
      const float d = std::hypot(u - cx, v - cy);
      return d >= r0 && d <= r1;
    }, c);
  }
  // An ellipse outline of the given thickness (approximate distance).
  void EllipseLine(float cx, float cy, float rx, float ry, float t, Col c) {
    FillWhere(cx - rx - t, cy - ry - t, cx + rx + t, cy + ry + t, [&](float u, float v) {
      const float a = (u - cx) / rx, b = (v - cy) / ry;
      const float f = std::sqrt(a * a + b * b);
      const float gx = a / rx, gy = b / ry;
      const float g = std::sqrt(gx * gx + gy * gy) + 1e-6f;
      return std::fabs(f - 1.0f) / g * f <= t * 0.5f;
    }, c);
  }
  // Even-odd scanline fill of a polygon given as x, y pairs.
  void Polygon(const std::vector<float>& p, Col c) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (size_t i = 0; i + 1 < p.size(); i += 2) {
      x0 = std::min(x0, p[i]); x1 = std::max(x1, p[i]);
      y0 = std::min(y0, p[i + 1]); y1 = std::max(y1, p[i + 1]);
    }
    const int n = int(p.size() / 2);
    const int py0 = std::max(0, int(std::floor((y0 + dy_) * scale_)));
    const int py1 = std::min(h_, int(std::ceil((y1 + dy_) * scale_)) + 1);
    std::vector<float> xs;
    for (int y = py0; y < py1; ++y) {
      const float v = (y + 0.5f) / scale_ - dy_;
      xs.clear();
      for (int i = 0, j = n - 1; i < n; j = i++) {
        const float ay = p[2 * i + 1], by = p[2 * j + 1];
        if ((ay > v) != (by > v)) xs.push_back(p[2 * i] + (v - ay) / (by - ay) * (p[2 * j] - p[2 * i]));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t k = 0; k + 1 < xs.size(); k += 2) {
        const int a = std::max(0, int(std::ceil((xs[k] + dx_) * scale_ - 0.5f)));
        const int b = std::min(w_ - 1, int(std::floor((xs[k + 1] + dx_) * scale_ - 0.5f)));
        for (int x = a; x <= b; ++x) Blend(x, y, c);
      }
    }
  }
  void Line(float xa, float ya, float xb, float yb, float t, Col c) {
    const float len = std::hypot(xb - xa, yb - ya) + 1e-6f;
    const float nx = -(yb - ya) / len * t * 0.5f, ny = (xb - xa) / len * t * 0.5f;
    Polygon({xa + nx, ya + ny, xb + nx, yb + ny, xb - nx, yb - ny, xa - nx, ya - ny}, c);
  }
  // An arc stroke from angle a0 to a1 (radians, clockwise on screen).
  void Arc(float cx, float cy, float r, float a0, float a1, float t, Col c) {
    std::vector<float> p;
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
      const float a = a0 + (a1 - a0) * i / steps;
      p.push_back(cx + std::cos(a) * (r + t / 2)); p.push_back(cy + std::sin(a) * (r + t / 2));
    }
    for (int i = steps; i >= 0; --i) {
      const float a = a0 + (a1 - a0) * i / steps;
      p.push_back(cx + std::cos(a) * (r - t / 2)); p.push_back(cy + std::sin(a) * (r - t / 2));
    }
    Polygon(p, c);
  }
  // Averages factor x factor blocks (premultiplied) into dst at (ox, oy).
  void DownsampleInto(Canvas& dst, int factor, int ox, int oy) const {
    for (int y = 0; y < h_ / factor; ++y)
      for (int x = 0; x < w_ / factor; ++x) {
        float r = 0, g = 0, b = 0, a = 0;
        for (int j = 0; j < factor; ++j)
          for (int i = 0; i < factor; ++i) {
            const Col& s = px_[size_t(y * factor + j) * w_ + x * factor + i];
            r += s.r * s.a; g += s.g * s.a; b += s.b * s.a; a += s.a;
          }
        if (a > 0) dst.Blend(ox + x, oy + y, Col{r / a, g / a, b / a, a / float(factor * factor)});
      }
  }
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out(px_.size() * 4);
    for (size_t i = 0; i < px_.size(); ++i) {
      const Col& c = px_[i];
      const bool clear = c.a < 0.5f;  // fully clear pixels are written as 0,0,0,0
      out[4 * i + 0] = clear ? 0 : std::uint8_t(std::clamp(c.r + 0.5f, 0.0f, 255.0f));
      out[4 * i + 1] = clear ? 0 : std::uint8_t(std::clamp(c.g + 0.5f, 0.0f, 255.0f));
      out[4 * i + 2] = clear ? 0 : std::uint8_t(std::clamp(c.b + 0.5f, 0.0f, 255.0f));
      out[4 * i + 3] = clear ? 0 : std::uint8_t(std::clamp(c.a + 0.5f, 0.0f, 255.0f));
    }
    return out;
  }

 private:
  int w_, h_;
  float scale_;
  float dx_ = 0, dy_ = 0;
  std::vector<Col> px_;
};

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
using IconFn = void (*)(Canvas&, Col c, Col bg);

void IconStar(Canvas& k, Col c, Col) { k.Polygon(Star(60, 63, 16, 38, 5), c); }
void IconAnchor(Canvas& k, Col c, Col) {
  k.Ring(60, 30, 6, 11, c);
  k.Rect(56, 40, 8, 50, c);
  k.Rect(42, 46, 36, 7, c);
  k.Arc(60, 62, 30, 0.25f * kPi, 0.75f * kPi, 7, c);
  k.Polygon({84, 86, 97, 69, 80, 73}, c);
  k.Polygon({36, 86, 23, 69, 40, 73}, c);
}
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
void IconFlag(Canvas& k, Col c, Col) {
  k.Rect(30, 20, 6, 80, c);
  k.Disc(33, 19, 5, c);
  k.Rect(22, 96, 22, 5, c);
  std::vector<float> p;
  for (int i = 0; i <= 20; ++i) { p.push_back(36 + i * 3.0f); p.push_back(26 + 5 * std::sin(i * 0.35f)); }
  for (int i = 20; i >= 0; --i) { p.push_back(36 + i * 3.0f); p.push_back(64 + 5 * std::sin(i * 0.35f)); }
  k.Polygon(p, c);
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

// The sea-node hover box backgrounds: 260 x 110 each, stacked (allied port,
// non-allied port, sea zone). The game writes the title into the top strip and
// the ship counts into the body, so the body stays plain; only the tint and a
// small motif at the right end of the title strip tell the three apart.
struct SeaNodeTint {
  Col body_top, body_bottom, strip_top, strip_bottom;
  bool wave;  // a wave instead of an anchor
};

void DrawWaveMotif(Canvas& k, Col c) {  // in a 120-unit cell, like the icons
  for (int row = 0; row < 3; ++row) {
    const float y = 40 + row * 22;
    for (int i = 0; i < 3; ++i) k.Arc(24 + i * 36, y, 13, 1.05f * kPi, 1.95f * kPi, 7, c);
  }
}

void DrawSeaNodeBackground(Canvas& s, int ox, int oy, const SeaNodeTint& t) {
  constexpr int w = 260, h = 110, strip = 22;
  const auto lerp = [](Col a, Col b, float f) {
    return Col{a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f, a.a + (b.a - a.a) * f};
  };
  for (int y = 1; y < h - 1; ++y) {  // body and title strip: vertical gradients
    const bool in_strip = y < strip;
    const Col c = in_strip ? lerp(t.strip_top, t.strip_bottom, (y - 1) / float(strip - 2))
                           : lerp(t.body_top, t.body_bottom, (y - strip) / float(h - strip - 2));
    s.Rect(ox + 1, oy + y, w - 2, 1, c);
  }
  s.Rect(ox + 2, oy + 1, w - 4, 1, Col{255, 250, 225, 40});          // a lit edge along the strip top
  s.Rect(ox + 1, oy + strip, w - 2, 1, Col{206, 194, 150, 150});     // the line under the title strip
  s.Rect(ox + 1, oy + strip + 1, w - 2, 1, Col{0, 0, 0, 90});
  const Col border{206, 194, 150, 235};  // the 1-pixel light border, corners trimmed as on the hint frame
  s.Rect(ox + 2, oy, w - 4, 1, border);
  s.Rect(ox + 2, oy + h - 1, w - 4, 1, border);
  s.Rect(ox, oy + 2, 1, h - 4, border);
  s.Rect(ox + w - 1, oy + 2, 1, h - 4, border);
  const int cs[4][2] = {{1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}};
  for (const auto& c : cs) s.Rect(ox + c[0], oy + c[1], 1, 1, border);

  constexpr int kSuper = 4, kMotif = 16;  // the motif, 16 px, smoothed
  Canvas k(kMotif * kSuper, kMotif * kSuper, kMotif * kSuper / 120.0f);
  const Col ink{226, 214, 170, 190};
  if (t.wave) DrawWaveMotif(k, ink); else IconAnchor(k, ink, Col{0, 0, 0, 0});
  k.DownsampleInto(s, kSuper, ox + w - kMotif - 5, oy + (strip - kMotif) / 2 + 1);
}

void DrawSeaNodeBackgrounds(Canvas& s, int ox, int oy) {
  const SeaNodeTint allied{Col{34, 40, 24, 215}, Col{22, 26, 16, 225}, Col{74, 84, 46, 235}, Col{50, 58, 32, 235},
                           false};
  const SeaNodeTint foreign{Col{46, 24, 20, 215}, Col{28, 15, 13, 225}, Col{112, 48, 36, 235}, Col{78, 32, 25, 235},
                            false};
  const SeaNodeTint sea{Col{18, 28, 50, 215}, Col{11, 17, 32, 225}, Col{40, 62, 108, 235}, Col{27, 42, 76, 235},
                        true};
  DrawSeaNodeBackground(s, ox, oy, allied);
  DrawSeaNodeBackground(s, ox, oy + 110, foreign);
  DrawSeaNodeBackground(s, ox, oy + 220, sea);
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
  DrawSeaNodeBackgrounds(sheet, 1250, 135);

  std::vector<std::uint8_t> bytes = sheet.Bytes();
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(bytes.data(), kSize, kSize, 32, kSize * 4, SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) {
    std::fprintf(stderr, "make_console_sheet: %s\n", SDL_GetError());
    return 1;
  }
  const std::filesystem::path out(argv[1]);
  std::error_code ec;
  if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), ec);
  const int rc = IMG_SavePNG(surface, argv[1]);
  SDL_FreeSurface(surface);
  if (rc != 0) {
    std::fprintf(stderr, "make_console_sheet: cannot write %s: %s\n", argv[1], IMG_GetError());
    return 1;
  }
  std::printf("wrote %s\n", argv[1]);
  return 0;
}
