#include "make_event_pictures/scenes.h"

#include <cmath>
#include <vector>

#include "common/ship_profiles.h"

namespace evpic {

namespace {

using tooldraw::kPi;

void Sky(Canvas& k, Col top, Col bottom, float to = kCaptionTop) { tooldraw::VGradient(k, 0, 0, kSize, to, top, bottom); }

// A rolling ridge of ground from y (with waves of the given height) down to
// the caption band.
void Ground(Canvas& k, float y, float amp, float period, float phase, Col c) {
  k.FillWhere(0, y - amp, kSize, kCaptionTop, [&](float u, float v) {
    return v >= y + amp * std::sin(u / period + phase) + amp * 0.4f * std::sin(u / (period * 0.37f) + phase * 2);
  }, c);
}

void Pine(Canvas& k, float x, float base, float h, Col c, Col snow) {
  k.Rect(x - h * 0.03f, base - h * 0.15f, h * 0.06f, h * 0.15f, c);
  for (int i = 0; i < 4; ++i) {
    const float top = base - h + i * h * 0.2f, bottom = base - h * 0.12f - (3 - i) * h * 0.14f;
    const float w = h * (0.14f + 0.09f * i);
    k.Polygon({x, top, x + w, bottom, x - w, bottom}, c);
    if (snow.a > 0) k.Polygon({x, top, x + w * 0.5f, top + (bottom - top) * 0.5f, x - w * 0.5f, top + (bottom - top) * 0.5f}, snow);
  }
}

void Snowfall(Canvas& k, int count, float size, unsigned seed, float slant) {
  for (int i = 0; i < count; ++i) {
    const float x = Noise(seed + i * 3) * kSize, y = Noise(seed + i * 3 + 1) * kCaptionTop;
    const float r = size * (0.5f + Noise(seed + i * 3 + 2));
    if (slant > 0) k.Line(x, y, x - slant * r, y + 2.5f * r, r * 0.7f, Col{240, 244, 248, 170});
    else k.Disc(x, y, r, Col{245, 248, 252, 200});
  }
}

// A soldier on skis, rifle slung, leaning into the stride (white on snow).
void SkiTrooper(Canvas& k, float x, float base, float s, Col body, Col line) {
  k.Line(x - 16 * s, base, x + 18 * s, base - 3 * s, 1.6f * s, line);          // ski
  k.Line(x - 10 * s, base + 2 * s, x + 22 * s, base - 1 * s, 1.6f * s, line);  // ski
  k.Line(x - 2 * s, base - 2 * s, x + 3 * s, base - 16 * s, 4.5f * s, body);   // legs
  k.Line(x + 6 * s, base - 2 * s, x + 3 * s, base - 16 * s, 4.5f * s, body);
  k.Ellipse(x + 5 * s, base - 24 * s, 5 * s, 9 * s, body);                      // body
  k.Disc(x + 8 * s, base - 36 * s, 3.6f * s, body);                             // hood
  k.Line(x + 1 * s, base - 32 * s, x - 7 * s, base - 4 * s, 1.2f * s, line);    // pole
  k.Line(x + 9 * s, base - 28 * s, x + 16 * s, base - 2 * s, 1.2f * s, line);   // pole
  k.Line(x - 1 * s, base - 20 * s, x + 11 * s, base - 34 * s, 1.4f * s, line);  // rifle
}

void Tank(Canvas& k, float x, float base, float s, Col c, bool facingLeft) {
  const float f = facingLeft ? -1.0f : 1.0f;
  auto X = [&](float u) { return x + f * u * s; };
  k.Polygon({X(-40), base - 6 * s, X(-34), base, X(34), base, X(42), base - 6 * s, X(38), base - 16 * s, X(-38), base - 16 * s}, c);
  k.Polygon({X(-30), base - 16 * s, X(-24), base - 24 * s, X(30), base - 24 * s, X(34), base - 16 * s}, c);
  k.Polygon({X(-14), base - 24 * s, X(-10), base - 34 * s, X(16), base - 34 * s, X(20), base - 24 * s}, c);
  k.Line(X(16), base - 30 * s, X(52), base - 31 * s, 3 * s, c);
  k.Rect(std::min(X(-2), X(6)), base - 38 * s, 8 * s, 4 * s, c);
}

void Building(Canvas& k, float x, float w, float h, Col c) { k.Rect(x, kCaptionTop - 60 - h, w, h + 60, c); }

// A bomber seen from below: wings, fuselage, tail and two engines.
void Bomber(Canvas& k, float x, float y, float s, Col c) {
  k.Polygon({x - 40 * s, y + 2 * s, x + 40 * s, y + 2 * s, x + 36 * s, y - 4 * s, x - 36 * s, y - 4 * s}, c);
  k.Ellipse(x, y, 5 * s, 24 * s, c);
  k.Polygon({x - 13 * s, y + 20 * s, x + 13 * s, y + 20 * s, x + 11 * s, y + 16 * s, x - 11 * s, y + 16 * s}, c);
  k.Ellipse(x - 16 * s, y - 5 * s, 3 * s, 7 * s, c);
  k.Ellipse(x + 16 * s, y - 5 * s, 3 * s, 7 * s, c);
}

void Smoke(Canvas& k, float x, float y, float s, unsigned seed, Col c) {
  for (int i = 0; i < 14; ++i) {
    const float t = i / 14.0f;
    const float px = x + (Noise(seed + i) - 0.3f) * 30 * s * t + t * 60 * s;
    const float py = y - t * 160 * s;
    k.Disc(px, py, (10 + 26 * t) * s, Alpha(c, c.a * (1 - t * 0.7f)));
  }
}

void Glow(Canvas& k, float x, float y, float r, Col c) {
  for (int i = 8; i >= 1; --i) k.Disc(x, y, r * i / 8.0f, Alpha(c, c.a / 8.0f));
}

}  // namespace

void TreatyScene(Canvas& k, const Fonts& fonts, const std::string& heading) {
  // The desk: dark wood with its grain.
  Sky(k, Col{92, 58, 34, 255}, Col{52, 30, 18, 255});
  for (int i = 0; i < 70; ++i) {
    const float y = Noise(500 + i) * kCaptionTop;
    k.Rect(0, y, kSize, 0.6f + Noise(600 + i) * 1.4f, Col{40, 22, 12, 90});
  }
  // The document, slightly turned, with its shadow.
  const float a = -0.06f, cx = 250, cy = 220, w = 300, h = 360;
  auto corner = [&](float u, float v) {
    return std::pair<float, float>{cx + u * std::cos(a) - v * std::sin(a), cy + u * std::sin(a) + v * std::cos(a)};
  };
  auto quad = [&](float u0, float v0, float u1, float v1, float dx, float dy) {
    const auto p0 = corner(u0, v0), p1 = corner(u1, v0), p2 = corner(u1, v1), p3 = corner(u0, v1);
    return std::vector<float>{p0.first + dx, p0.second + dy, p1.first + dx, p1.second + dy,
                              p2.first + dx, p2.second + dy, p3.first + dx, p3.second + dy};
  };
  k.Polygon(quad(-w / 2, -h / 2, w / 2, h / 2, 9, 11), Col{10, 6, 4, 120});
  k.Polygon(quad(-w / 2, -h / 2, w / 2, h / 2, 0, 0), Col{238, 228, 204, 255});
  k.Polygon(quad(-w / 2 + 12, -h / 2 + 12, w / 2 - 12, h / 2 - 12, 0, 0), Col{228, 216, 188, 255});
  k.Polygon(quad(-w / 2 + 14, -h / 2 + 14, w / 2 - 14, h / 2 - 14, 0, 0), Col{238, 228, 204, 255});
  const auto title = corner(0, -h / 2 + 44);
  Text(k, fonts.caption, heading, title.first, title.second, Col{60, 44, 30, 255});
  // Lines of text.
  for (int i = 0; i < 14; ++i) {
    const float v = -h / 2 + 80 + i * 13.0f;
    const float len = (i % 5 == 4) ? 0.55f : 0.92f - 0.08f * Noise(700 + i);
    k.Polygon(quad(-w / 2 + 36, v, -w / 2 + 36 + (w - 72) * len, v + 3.2f, 0, 0), Col{96, 84, 70, 200});
  }
  // Two signatures and two seals.
  for (int side = 0; side < 2; ++side) {
    const float u0 = side == 0 ? -w / 2 + 40 : 20;
    std::vector<std::pair<float, float>> pts;
    for (int i = 0; i <= 40; ++i) {
      const float t = i / 40.0f;
      pts.push_back(corner(u0 + t * 95, h / 2 - 88 + std::sin(t * 19 + side) * 7 * (1 - t * 0.5f) - t * 10));
    }
    for (std::size_t i = 0; i + 1 < pts.size(); ++i)
      k.Line(pts[i].first, pts[i].second, pts[i + 1].first, pts[i + 1].second, 1.8f, Col{26, 30, 70, 230});
    const auto seal = corner(u0 + 48, h / 2 - 46);
    k.Disc(seal.first + 2, seal.second + 3, 19, Col{20, 6, 4, 110});
    k.Disc(seal.first, seal.second, 19, Col{150, 24, 20, 255});
    k.Ring(seal.first, seal.second, 12, 14, Col{196, 60, 48, 255});
    for (int i = 0; i < 5; ++i) {
      const float ang = -kPi / 2 + i * 2 * kPi / 5;
      const float ang2 = ang + 2 * kPi / 5 * 2;
      k.Line(seal.first + std::cos(ang) * 9, seal.second + std::sin(ang) * 9, seal.first + std::cos(ang2) * 9,
             seal.second + std::sin(ang2) * 9, 2, Col{110, 14, 10, 255});
    }
  }
  // Inkwell and fountain pen.
  k.Ellipse(438, 360, 34, 12, Col{10, 6, 4, 140});
  k.Rect(410, 316, 52, 44, Col{28, 30, 40, 255});
  k.Ellipse(436, 316, 26, 8, Col{60, 64, 80, 255});
  k.Rect(424, 300, 24, 16, Col{150, 120, 60, 255});
  k.Line(360, 410, 470, 250, 9, Col{18, 16, 16, 255});
  k.Line(362, 407, 372, 392, 9, Col{196, 160, 92, 255});
  k.Polygon({356, 420, 352, 432, 362, 413}, Col{196, 160, 92, 255});
}

void WinterScene(Canvas& k, bool storm) {
  if (storm) Sky(k, Col{120, 128, 140, 255}, Col{196, 200, 206, 255});
  else Sky(k, Col{150, 168, 190, 255}, Col{226, 230, 236, 255});
  const Col far{126, 140, 156, 255}, near{44, 56, 60, 255}, snow{244, 246, 250, 255};
  for (int i = 0; i < 26; ++i) Pine(k, Noise(100 + i) * kSize, 300 + Noise(140 + i) * 14, 70 + Noise(180 + i) * 40, far, Alpha(snow, 140));
  Ground(k, 318, 6, 60, 0.3f, Col{228, 232, 238, 255});
  for (int i = 0; i < 9; ++i) {
    const float x = i < 5 ? 10 + i * 26 + Noise(200 + i) * 14 : 400 + (i - 5) * 30 + Noise(200 + i) * 10;
    Pine(k, x, 450, 200 + Noise(220 + i) * 90, near, Alpha(snow, 230));
  }
  Ground(k, 390, 8, 90, 1.7f, snow);
  if (storm) {
    Tank(k, 270, 410, 2.0f, Col{58, 60, 62, 255}, false);
    // Snow heaped on the hull and the turret.
    k.Ellipse(256, 362, 70, 6, snow);
    k.Ellipse(276, 345, 30, 4, snow);
    k.Ellipse(270, 414, 110, 12, snow);
    Snowfall(k, 900, 2.2f, 900, 3.0f);
    k.Rect(0, 0, kSize, kCaptionTop, Col{230, 234, 240, 60});
  } else {
    for (int i = 0; i < 5; ++i) {
      const float x = 150 + i * 56.0f, base = 400 + i * 7.0f, sz = 1.5f + i * 0.06f;
      k.SetOffset(1.2f, 1.2f);
      SkiTrooper(k, x, base, sz, Col{96, 110, 126, 200}, Col{40, 46, 50, 255});
      k.SetOffset(0, 0);
      SkiTrooper(k, x, base, sz, Col{214, 222, 232, 255}, Col{40, 46, 50, 255});
    }
    Snowfall(k, 260, 1.6f, 300, 0);
  }
}

void SeaScene(Canvas& k, bool battle) {
  using tooldraw::ShipInk;
  using tooldraw::ShipPen;
  if (battle) Sky(k, Col{96, 104, 120, 255}, Col{222, 176, 120, 255}, 300);
  else Sky(k, Col{120, 140, 160, 255}, Col{210, 214, 210, 255}, 300);
  tooldraw::VGradient(k, 0, 300, kSize, kCaptionTop - 300, Col{72, 90, 102, 255}, Col{34, 46, 56, 255});
  for (int i = 0; i < 120; ++i) {
    const float y = 302 + std::pow(Noise(1000 + i), 1.6f) * (kCaptionTop - 305);
    const float x = Noise(1200 + i) * kSize, len = 6 + (y - 300) * 0.25f;
    k.Line(x, y, x + len, y, 1.0f, Col{150, 170, 180, 120});
  }
  const ShipInk grey{{82, 86, 92, 255}, {104, 108, 114, 255}, {150, 154, 158, 255}, {40, 40, 44, 255}, {120, 100, 70, 255}};
  const ShipInk far{{110, 116, 124, 255}, {122, 128, 134, 255}, {140, 146, 150, 255}, {90, 94, 100, 255}, {120, 120, 120, 255}};
  if (battle) {
    // The harbour mole and the hills behind, the French battle line at anchor.
    k.Polygon({0, 300, 60, 262, 130, 276, 210, 250, 300, 268, 380, 246, 450, 262, 512, 250, 512, 300}, Col{92, 84, 78, 255});
    k.Rect(0, 296, 300, 6, Col{70, 64, 60, 255});
    for (int i = 0; i < 3; ++i) {
      ShipPen pen(k, 20 + i * 110.0f, 300 - tooldraw::kShipWaterline * 0.9f, 0.9f);
      tooldraw::DrawShipProfile(pen, 1, far);
    }
    Smoke(k, 150, 280, 0.8f, 77, Col{40, 36, 34, 150});
    // Shell splashes among them and a hit.
    for (int i = 0; i < 6; ++i) {
      const float x = 40 + Noise(1300 + i) * 320, y = 304 + Noise(1400 + i) * 8;
      k.Polygon({x - 8, y, x - 2, y - 40 - Noise(1500 + i) * 30, x + 3, y - 44, x + 9, y}, Col{232, 236, 238, 220});
    }
    Glow(k, 250, 282, 30, Col{255, 170, 60, 200});
    // The British battleship firing a broadside in the foreground.
    ShipPen pen(k, 250, 408 - tooldraw::kShipWaterline * 2.1f, 2.1f);
    tooldraw::DrawShipProfile(pen, 1, grey);
    for (int i = 0; i < 3; ++i) {
      Glow(k, 290 + i * 48.0f, 340, 26, Col{255, 214, 120, 230});
      Smoke(k, 280 + i * 48.0f, 336, 0.45f, 90 + i, Col{200, 196, 190, 140});
    }
  } else {
    for (int i = 0; i < 4; ++i) {
      const float s = 0.6f + i * 0.12f;
      ShipPen pen(k, 20 + i * 105.0f, 300 + i * 16 - tooldraw::kShipWaterline * s, s);
      tooldraw::DrawShipProfile(pen, 4, i % 2 ? far : grey);
    }
    ShipPen escort(k, 230, 420 - tooldraw::kShipWaterline * 1.9f, 1.9f);
    tooldraw::DrawShipProfile(escort, 2, grey);
    k.Ellipse(360, 420, 150, 6, Col{220, 230, 234, 140});  // the bow wave and wake
    Bomber(k, 120, 90, 0.7f, Col{60, 64, 70, 255});
  }
}

void BlitzScene(Canvas& k) {
  Sky(k, Col{8, 12, 30, 255}, Col{60, 40, 48, 255});
  // Searchlights crossing the sky.
  for (int i = 0; i < 5; ++i) {
    const float x = 60 + i * 100.0f, a = -kPi / 2 + (Noise(1600 + i) - 0.5f) * 1.1f;
    const float ex = x + std::cos(a) * 520, ey = 380 + std::sin(a) * 520;
    const float nx = -std::sin(a) * 22, ny = std::cos(a) * 22;
    k.Polygon({x - 2, 380, x + 2, 380, ex + nx, ey + ny, ex - nx, ey - ny}, Col{220, 226, 200, 40});
  }
  for (int i = 0; i < 7; ++i) Bomber(k, 60 + Noise(1700 + i) * 400, 60 + Noise(1800 + i) * 150, 0.55f + Noise(1900 + i) * 0.3f, Col{58, 56, 66, 255});
  // Fires and smoke behind the skyline.
  for (int i = 0; i < 6; ++i) {
    const float x = 30 + i * 90 + Noise(2000 + i) * 40;
    Glow(k, x, 370, 90, Col{255, 120, 30, 150});
    Smoke(k, x, 330, 1.0f, 2100 + i, Col{40, 30, 30, 120});
  }
  const Col city{10, 8, 12, 255};
  // St Paul's: the drum, the dome and the lantern.
  k.Rect(196, 330, 120, 60, city);
  k.Rect(226, 296, 60, 40, city);
  k.Ellipse(256, 296, 36, 34, city);
  k.Rect(251, 244, 10, 26, city);
  k.Disc(256, 242, 5, city);
  for (int i = 0; i < 18; ++i) {
    const float x = i * 30.0f + Noise(2200 + i) * 10, h = 30 + Noise(2300 + i) * 50;
    if (x > 180 && x < 320) continue;
    Building(k, x, 26 + Noise(2400 + i) * 10, h, city);
    if (Noise(2500 + i) > 0.5f) k.Rect(x + 8, kCaptionTop - 60 - h - 14, 5, 14, city);  // chimney
  }
  k.Rect(0, 390, kSize, kCaptionTop - 390, city);
  // Lit windows and flames at the roofs.
  for (int i = 0; i < 40; ++i) k.Rect(Noise(2600 + i) * kSize, 360 + Noise(2700 + i) * 80, 3, 4, Col{255, 190, 90, 200});
  for (int i = 0; i < 8; ++i) {
    const float x = Noise(2800 + i) * kSize, y = 340 + Noise(2900 + i) * 40;
    k.Polygon({x - 10, y + 10, x, y - 26, x + 10, y + 10}, Col{255, 150, 40, 230});
    k.Polygon({x - 5, y + 10, x, y - 12, x + 5, y + 10}, Col{255, 230, 140, 240});
  }
}

void ParisScene(Canvas& k) {
  Sky(k, Col{70, 60, 84, 255}, Col{236, 170, 110, 255});
  k.Disc(120, 330, 40, Col{250, 220, 160, 200});
  const Col dark{34, 28, 36, 255};
  // The tower: four legs joined by the first platform's arch, tapering up.
  const float cx = 330, base = 420;
  k.Polygon({cx - 90, base, cx - 56, base, cx - 30, 300, cx - 44, 300}, dark);
  k.Polygon({cx + 90, base, cx + 56, base, cx + 30, 300, cx + 44, 300}, dark);
  k.Arc(cx, 372, 50, kPi * 1.05f, kPi * 1.95f, 8, dark);
  k.Rect(cx - 52, 296, 104, 10, dark);
  k.Polygon({cx - 40, 296, cx + 40, 296, cx + 14, 190, cx - 14, 190}, dark);
  k.Rect(cx - 22, 186, 44, 7, dark);
  k.Polygon({cx - 14, 186, cx + 14, 186, cx + 3, 60, cx - 3, 60}, dark);
  k.Rect(cx - 1.2f, 36, 2.4f, 26, dark);
  // Light through the lattice.
  for (int i = 0; i < 8; ++i) {
    const float y = 310 + i * 13.0f;
    k.Line(cx - 84 + i * 3.2f, y, cx - 40 - i * 1.2f, y + 12, 1.2f, Col{200, 140, 100, 120});
    k.Line(cx + 84 - i * 3.2f, y, cx + 40 + i * 1.2f, y + 12, 1.2f, Col{200, 140, 100, 120});
  }
  // Mansard roofs and chimneys.
  const Col roofs{24, 20, 26, 255};
  for (int i = 0; i < 14; ++i) {
    const float x = i * 38.0f - 10, h = 40 + Noise(3000 + i) * 30;
    k.Polygon({x, 452, x, 410 - h + 14, x + 8, 410 - h, x + 34, 410 - h, x + 42, 410 - h + 14, x + 42, 452}, roofs);
    k.Rect(x + 12, 410 - h - 12, 6, 12, roofs);
    k.Rect(x + 26, 410 - h - 9, 5, 9, roofs);
  }
  // The tricolour lowered to half-mast on a pole in front.
  k.Rect(70, 150, 5, 302, Col{20, 16, 18, 255});
  k.Disc(72.5f, 148, 5, Col{196, 160, 92, 255});
  const float top = 250;
  for (int i = 0; i < 3; ++i) {
    const Col c = i == 0 ? Col{0, 70, 150, 255} : (i == 1 ? Col{236, 232, 226, 255} : Col{220, 50, 50, 255});
    k.FillWhere(75 + i * 26.0f, top - 10, 75 + (i + 1) * 26.0f, top + 70, [&](float u, float v) {
      const float wave = std::sin((u - 75) / 18) * 5;
      return v >= top + wave && v <= top + 56 + wave;
    }, c);
  }
}

void DesertScene(Canvas& k) {
  Sky(k, Col{120, 150, 180, 255}, Col{240, 214, 160, 255});
  k.Disc(400, 110, 34, Col{255, 244, 210, 230});
  Ground(k, 300, 10, 70, 0.5f, Col{214, 176, 112, 255});
  Ground(k, 350, 14, 110, 2.1f, Col{198, 156, 92, 255});
  Ground(k, 400, 10, 80, 4.0f, Col{182, 138, 78, 255});
  // Palms.
  for (int p = 0; p < 2; ++p) {
    const float x = p == 0 ? 60 : 110, base = p == 0 ? 330 : 320, h = p == 0 ? 150 : 110;
    const Col trunk{70, 52, 34, 255}, leaf{50, 76, 44, 255};
    for (int i = 0; i < 16; ++i) {
      const float t0 = i / 16.0f, t1 = (i + 1) / 16.0f;
      k.Line(x + std::sin(t0 * 2) * 12, base - t0 * h, x + std::sin(t1 * 2) * 12, base - t1 * h, 9 - t0 * 4, trunk);
      k.Rect(x + std::sin(t0 * 2) * 12 - 5 + t0 * 2, base - t0 * h, 10 - t0 * 4, 1.2f, Col{110, 84, 56, 255});
    }
    const float tx = x + std::sin(2.0f) * 12, ty = base - h;
    for (int f = 0; f < 7; ++f) {
      const float a = kPi * (1.0f + f * 0.166f);
      for (int sgm = 0; sgm < 12; ++sgm) {
        const float t0 = sgm / 12.0f, t1 = (sgm + 1) / 12.0f;
        auto fx = [&](float t) { return tx + std::cos(a) * 56 * t; };
        auto fy = [&](float t) { return ty + std::sin(a) * 30 * t + 34 * t * t; };
        k.Line(fx(t0), fy(t0), fx(t1), fy(t1), 7 * (1 - t0) + 1.5f, leaf);
      }
    }
  }
  // A column of tanks raising dust.
  for (int i = 0; i < 3; ++i) {
    const float x = 180 + i * 120.0f, base = 400 + i * 12.0f, s = 1.2f + i * 0.25f;
    for (int d = 0; d < 6; ++d) k.Disc(x + 50 * s + d * 14 * s, base - 6 - d * 4 * s, (10 + d * 5) * s, Col{226, 200, 150, 90});
    Tank(k, x, base, s, Col{92, 78, 56, 255}, true);
  }
}

void TrainScene(Canvas& k, const Fonts& fonts, bool station) {
  if (station) Sky(k, Col{150, 170, 196, 255}, Col{226, 218, 196, 255});
  else Sky(k, Col{110, 104, 110, 255}, Col{214, 180, 140, 255});
  const Col dark{36, 32, 34, 255};
  if (!station) {
    // Factory halls with their chimneys smoking.
    for (int i = 0; i < 5; ++i) {
      const float x = 20 + i * 100.0f;
      k.Polygon({x, 330, x, 290, x + 20, 270, x + 40, 290, x + 60, 270, x + 80, 290, x + 80, 330}, Col{96, 86, 84, 255});
      k.Rect(x + 64, 200 - Noise(3100 + i) * 40, 10, 130, Col{86, 76, 74, 255});
      Smoke(k, x + 69, 190 - Noise(3100 + i) * 40, 0.6f, 3200 + i, Col{70, 64, 64, 120});
    }
  } else {
    // The station: its canopy on iron columns and the sign.
    k.Rect(0, 200, kSize, 16, Col{70, 60, 56, 255});
    k.Polygon({0, 200, kSize, 200, kSize, 180, 0, 190}, Col{96, 84, 78, 255});
    for (int i = 0; i < 6; ++i) k.Rect(30 + i * 92.0f, 216, 6, 140, Col{60, 52, 50, 255});
    k.Rect(150, 228, 212, 40, Col{30, 40, 70, 255});
    k.Rect(154, 232, 204, 32, Col{236, 230, 210, 255});
    Text(k, fonts.caption, "HENDAYE", 256, 248, Col{30, 40, 70, 255});
    // The platform.
    k.Rect(0, 380, kSize, 20, Col{150, 140, 128, 255});
    k.Rect(0, 378, kSize, 3, Col{220, 210, 190, 255});
  }
  // Rails.
  k.Rect(0, 416, kSize, 4, Col{90, 84, 80, 255});
  for (int i = 0; i < 26; ++i) k.Rect(i * 20.0f, 418, 12, 5, Col{70, 56, 44, 255});
  // The locomotive: boiler, smokebox, chimney, cab and wheels.
  const float lx = 20;
  k.Rect(lx, 330, 120, 56, dark);
  k.Rect(lx + 120, 300, 56, 86, dark);
  k.Rect(lx + 124, 286, 48, 14, dark);
  k.Rect(lx + 14, 298, 18, 34, dark);
  k.Rect(lx + 50, 318, 20, 14, dark);
  k.Polygon({lx - 16, 404, lx, 370, lx, 404}, dark);
  for (int i = 0; i < 4; ++i) {
    k.Disc(lx + 20 + i * 34.0f, 398, 16, dark);
    k.Ring(lx + 20 + i * 34.0f, 398, 10, 12, Col{120, 110, 104, 255});
  }
  k.Line(lx + 20, 398, lx + 122, 398, 4, Col{120, 110, 104, 255});
  Smoke(k, lx + 22, 290, 0.8f, 3300, Col{220, 216, 210, 170});
  if (station) {
    // The saloon carriage with its lit windows.
    k.Rect(200, 320, 300, 74, Col{60, 40, 36, 255});
    k.Rect(196, 312, 308, 10, Col{40, 28, 24, 255});
    for (int i = 0; i < 7; ++i) k.Rect(212 + i * 40.0f, 334, 26, 24, Col{250, 220, 150, 255});
    for (int i = 0; i < 2; ++i) {
      k.Disc(240 + i * 220.0f, 400, 13, dark);
      k.Disc(270 + i * 220.0f, 400, 13, dark);
    }
  } else {
    // Flat wagons behind the engine, loaded with crated machines and lathes.
    for (int w = 0; w < 3; ++w) {
      const float x = 200 + w * 100.0f;
      k.Rect(x, 380, 88, 12, dark);
      k.Disc(x + 16, 400, 10, dark);
      k.Disc(x + 72, 400, 10, dark);
      k.Rect(x + 8, 346, 34, 34, Col{120, 92, 60, 255});
      k.Line(x + 8, 346, x + 42, 380, 2, Col{80, 60, 40, 255});
      k.Line(x + 42, 346, x + 8, 380, 2, Col{80, 60, 40, 255});
      k.Rect(x + 48, 356, 34, 24, Col{70, 76, 70, 255});
      k.Disc(x + 65, 352, 9, Col{70, 76, 70, 255});
    }
  }
}

void WestminsterScene(Canvas& k) {
  Sky(k, Col{70, 84, 110, 255}, Col{236, 200, 150, 255});
  const Col stone{40, 38, 48, 255};
  // The river.
  tooldraw::VGradient(k, 0, 360, kSize, kCaptionTop - 360, Col{150, 130, 110, 255}, Col{40, 44, 56, 255});
  for (int i = 0; i < 40; ++i) k.Rect(Noise(3400 + i) * kSize, 364 + Noise(3500 + i) * 80, 10 + Noise(3600 + i) * 30, 1.2f, Col{236, 200, 150, 120});
  // The Palace: a long front of pinnacles, the clock tower and Victoria Tower.
  k.Rect(30, 300, 440, 62, stone);
  for (int i = 0; i < 22; ++i) k.Polygon({34 + i * 20.0f, 300, 40 + i * 20.0f, 284, 46 + i * 20.0f, 300}, stone);
  k.Rect(70, 200, 50, 162, stone);        // Victoria Tower
  for (int i = 0; i < 4; ++i) k.Polygon({70 + i * 14.0f, 200, 74 + i * 14.0f, 186, 78 + i * 14.0f, 200}, stone);
  const float bx = 400;
  k.Rect(bx, 150, 38, 212, stone);        // the clock tower
  k.Rect(bx - 4, 120, 46, 34, stone);
  k.Disc(bx + 19, 137, 15, Col{236, 222, 180, 255});
  k.Ring(bx + 19, 137, 13, 15, stone);
  k.Line(bx + 19, 137, bx + 19, 127, 2, stone);
  k.Line(bx + 19, 137, bx + 26, 140, 2, stone);
  k.Polygon({bx - 4, 120, bx + 19, 60, bx + 42, 120}, stone);
  k.Rect(bx + 17.5f, 40, 3, 22, stone);
  // Reflection.
  k.Rect(bx, 364, 38, 60, Alpha(stone, 90));
  // The broadcast microphone in the foreground.
  const Col metal{30, 30, 34, 255}, chrome{170, 170, 176, 255};
  k.Rect(160, 300, 10, 152, metal);
  k.Ellipse(165, 446, 46, 8, metal);
  k.Ring(165, 250, 40, 48, metal);
  k.Ellipse(165, 250, 30, 38, chrome);
  for (int i = 0; i < 9; ++i) k.Rect(140, 222 + i * 6.5f, 50, 2, Col{90, 90, 96, 255});
  k.Line(125, 250, 117, 296, 6, metal);
  k.Line(205, 250, 213, 296, 6, metal);
  k.Rect(150, 286, 30, 16, Col{120, 20, 20, 255});
}

}  // namespace evpic
