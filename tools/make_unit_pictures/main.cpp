// make_unit_pictures: draws the unit panel's pictures, one 256 x 128 scene
// per unit type, in the muted colours of a period illustration:
//
//   make_unit_pictures <data folder>
//
// writes <data>/gfx/Units images/<type>.png for the land types 0-6, the air
// types 20-22, the ship types 40-45 and the artificial harbour 60, and
// default.png for any other. Land units stand on a plain under a hazy sky (a
// corps shows more men or machines than a division), aircraft fly over
// clouds, ships steam over a grey sea, the harbour lies off a beach. Everything is drawn from fixed shapes and seeds, so every run
// gives the same files.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/draw.h"

namespace {

using tooldraw::Canvas;
using tooldraw::Col;
using tooldraw::kPi;

constexpr int kW = 256;
constexpr int kH = 128;
constexpr int kSuper = 3;

std::uint32_t Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

float Noise(float x, float y, int seed) {
  const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
  const float fx = x - xi, fy = y - yi;
  auto v = [&](int i, int j) { return (Hash(xi + i, yi + j, seed) & 0xFFFF) / 65535.0f; };
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const float a = v(0, 0) + (v(1, 0) - v(0, 0)) * sx, b = v(0, 1) + (v(1, 1) - v(0, 1)) * sx;
  return a + (b - a) * sy;
}

float Fbm(float x, float y, int seed) {
  float sum = 0, amp = 0.5f, f = 1;
  for (int i = 0; i < 4; ++i, amp *= 0.5f, f *= 2) sum += amp * Noise(x * f, y * f, seed + i * 17);
  return sum;
}

Col Mix(Col a, Col b, float t) {
  return Col{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// ---- Palette: a faded wartime print
constexpr Col kSkyTop{150, 168, 176, 255};
constexpr Col kSkyLow{222, 214, 186, 255};
constexpr Col kHills{128, 134, 112, 255};
constexpr Col kFieldFar{150, 142, 98, 255};
constexpr Col kFieldNear{98, 96, 62, 255};
constexpr Col kInk{34, 36, 28, 255};
constexpr Col kOlive{62, 68, 44, 255};
constexpr Col kOliveLit{96, 102, 70, 255};
constexpr Col kSteel{70, 74, 70, 255};
constexpr Col kGlass{176, 196, 200, 255};
constexpr Col kSea{74, 100, 112, 255};
constexpr Col kSeaDeep{44, 64, 78, 255};

// Sky, distant hills and a field with a little texture.
void Landscape(Canvas& k, int seed) {
  tooldraw::VGradient(k, 0, 0, kW, 78, kSkyTop, kSkyLow);
  for (int x = 0; x < kW; ++x) {
    const float h = 58 + 10 * Fbm(x / 40.0f, 0.5f, seed);
    k.Rect(static_cast<float>(x), h, 1, 80 - h, kHills);
  }
  for (int y = 72; y < kH; ++y) {
    const float t = (y - 72) / float(kH - 72);
    for (int x = 0; x < kW; ++x) {
      const float n = Fbm(x / 14.0f, y / 5.0f, seed + 5);
      k.Rect(static_cast<float>(x), static_cast<float>(y), 1, 1, Mix(Mix(kFieldFar, kFieldNear, t), kInk, n * 0.25f));
    }
  }
}

// Clouds over a sky that deepens upwards, the ground far below.
void Skyscape(Canvas& k, int seed) {
  tooldraw::VGradient(k, 0, 0, kW, kH, Col{112, 140, 160, 255}, Col{214, 210, 190, 255});
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const float n = Fbm(x / 48.0f, y / 18.0f, seed);
      if (n > 0.5f) k.Rect(float(x), float(y), 1, 1, Col{246, 242, 228, std::min(255.0f, (n - 0.5f) * 900.0f)});
    }
  for (int x = 0; x < kW; ++x) {  // the ground under the haze
    const float h = 116 + 4 * Fbm(x / 30.0f, 2.5f, seed + 3);
    k.Rect(float(x), h, 1, kH - h, Col{120, 126, 100, 160});
  }
}

// A soldier marching to the left, feet at (x, y), s = height / 40.
void Soldier(Canvas& k, float x, float y, float s, Col c, float stride) {
  k.Line(x, y - 16 * s, x - 5 * s * stride, y, 3.2f * s, c);
  k.Line(x, y - 16 * s, x + 5 * s * stride, y, 3.2f * s, c);
  k.Polygon({x - 4 * s, y - 17 * s, x + 4 * s, y - 17 * s, x + 5 * s, y - 31 * s, x - 4 * s, y - 32 * s}, c);
  k.Rect(x + 3 * s, y - 30 * s, 4 * s, 9 * s, c);                     // pack
  k.Line(x - 2 * s, y - 29 * s, x - 7 * s, y - 19 * s, 2.2f * s, c);    // arm
  k.Line(x + 2 * s, y - 30 * s, x + 10 * s, y - 44 * s, 1.3f * s, c);   // rifle over the shoulder
  k.Disc(x, y - 35 * s, 3.4f * s, c);                                   // head
  k.Ellipse(x, y - 37 * s, 6 * s, 3.2f * s, c);                         // helmet brim
  k.Ellipse(x, y - 38.5f * s, 4.2f * s, 3.2f * s, c);
}

// A tank facing left, tracks on y, s = scale (length 86 s).
void Tank(Canvas& k, float x, float y, float s, Col body, Col lit) {
  const float l = x - 43 * s;
  k.Polygon({l, y - 12 * s, l + 86 * s, y - 12 * s, l + 80 * s, y, l + 6 * s, y}, kInk);  // tracks
  for (int i = 0; i < 6; ++i) k.Disc(l + 12 * s + i * 12.4f * s, y - 5.5f * s, 4.6f * s, kSteel);
  for (int i = 0; i < 6; ++i) k.Disc(l + 12 * s + i * 12.4f * s, y - 5.5f * s, 1.6f * s, kInk);
  k.Polygon({l - 2 * s, y - 13 * s, l + 8 * s, y - 24 * s, l + 82 * s, y - 24 * s, l + 88 * s, y - 13 * s}, body);
  k.Rect(l + 8 * s, y - 24 * s, 74 * s, 2 * s, lit);
  k.Polygon({l + 26 * s, y - 24 * s, l + 32 * s, y - 36 * s, l + 62 * s, y - 36 * s, l + 66 * s, y - 24 * s}, body);
  k.Rect(l + 32 * s, y - 36 * s, 30 * s, 1.6f * s, lit);
  k.Line(l + 28 * s, y - 31 * s, l - 20 * s, y - 33 * s, 3.4f * s, body);  // gun
  k.Rect(l + 46 * s, y - 40 * s, 9 * s, 4 * s, body);                       // cupola
}

// A covered lorry facing left, wheels on y.
void Lorry(Canvas& k, float x, float y, float s, Col body, Col cover) {
  const float l = x - 38 * s;
  k.Rect(l + 2 * s, y - 14 * s, 72 * s, 6 * s, kInk);  // chassis
  k.Polygon({l, y - 10 * s, l, y - 24 * s, l + 6 * s, y - 30 * s, l + 20 * s, y - 30 * s, l + 20 * s, y - 10 * s}, body);
  k.Rect(l + 5 * s, y - 27 * s, 9 * s, 7 * s, kGlass);
  k.Rect(l + 22 * s, y - 16 * s, 54 * s, 4 * s, body);
  k.Polygon({l + 22 * s, y - 16 * s, l + 24 * s, y - 36 * s, l + 74 * s, y - 36 * s, l + 76 * s, y - 16 * s}, cover);
  for (float r : {26.0f, 40.0f, 54.0f, 68.0f}) k.Rect(l + r * s, y - 36 * s, 1.2f * s, 20 * s, Mix(cover, kInk, 0.4f));
  for (float wx : {12.0f, 52.0f, 66.0f}) {
    k.Disc(l + wx * s, y - 6 * s, 6.5f * s, kInk);
    k.Disc(l + wx * s, y - 6 * s, 2.6f * s, kSteel);
  }
}

// An aircraft in side view flying left: engines 1, 2 or 4, s = scale.
void Aircraft(Canvas& k, float x, float y, float s, int engines, Col body, Col lit) {
  const float len = engines == 1 ? 70 : engines == 2 ? 86 : 104;
  const float l = x - len / 2 * s, r = x + len / 2 * s;
  const float girth = engines == 1 ? 6.5f : engines == 2 ? 8.5f : 10.0f;
  // fuselage: round nose, tapering tail
  k.Polygon({l + 6 * s, y - girth * s, r - 22 * s, y - girth * s, r, y - 3 * s, r, y + 1 * s, r - 22 * s,
             y + girth * 0.8f * s, l + 6 * s, y + girth * s},
            body);
  k.Ellipse(l + 7 * s, y, 7 * s, girth * s, body);
  k.Rect(l + 8 * s, y - girth * s, (len - 32) * s, 1.6f * s, lit);
  // tail fin and stabiliser
  k.Polygon({r - 20 * s, y - girth * 0.8f * s, r - 8 * s, y - (girth + 18) * s, r - 1 * s, y - (girth + 18) * s,
             r, y - 2 * s},
            body);
  k.Ellipse(r - 10 * s, y + 1 * s, 13 * s, 2.2f * s, body);
  // wing seen a little from below
  const float wingX = l + (engines == 1 ? 26 : 34) * s;
  k.Polygon({wingX - 10 * s, y + 2 * s, wingX + 16 * s, y + 1 * s, wingX + 12 * s, y + 7 * s, wingX - 14 * s, y + 8 * s},
            Mix(body, kInk, 0.35f));
  // canopy
  const float cabin = engines == 1 ? l + 30 * s : l + 14 * s;
  k.Ellipse(cabin, y - girth * s, (engines == 1 ? 9 : 7) * s, 4.2f * s, kGlass);
  k.Rect(cabin - 1 * s, y - (girth + 4) * s, 1 * s, 4 * s, body);
  if (engines == 1) {
    k.Ellipse(l - 1 * s, y, 1.8f * s, 13 * s, Col{40, 40, 40, 90});  // the turning propeller
    k.Disc(l, y, 2.6f * s, kInk);
  } else {
    for (int i = 0; i < (engines == 2 ? 1 : 2); ++i) {  // the near engines hang under the wing
      const float ex = wingX - 6 * s + i * 10 * s, ey = y + 5 * s + i * 2 * s;
      k.Ellipse(ex, ey, 10 * s, 3.6f * s, Mix(body, kInk, 0.2f));
      k.Ellipse(ex - 11 * s, ey, 1.4f * s, 9 * s, Col{40, 40, 40, 80});
    }
  }
}

// A parachute with its jumper hanging under it.
void Parachute(Canvas& k, float x, float y, float s) {
  k.Arc(x, y, 11 * s, kPi, 2 * kPi, 7 * s, Col{228, 222, 196, 255});
  k.Ellipse(x, y + 1 * s, 14 * s, 2 * s, Col{190, 184, 160, 255});
  for (float dx : {-13.0f, -5.0f, 5.0f, 13.0f}) k.Line(x + dx * s, y, x, y + 16 * s, 0.8f * s, kInk);
  k.Rect(x - 2 * s, y + 15 * s, 4 * s, 9 * s, kOlive);
  k.Disc(x, y + 14 * s, 2.3f * s, kOlive);
}

void Frame(Canvas& k) {
  for (int i = 0; i < 10; ++i) {  // a soft vignette
    const float a = 40.0f * (10 - i) / 10.0f;
    const Col c{20, 18, 12, a};
    k.Rect(float(i), float(i), kW - 2.0f * i, 1, c);
    k.Rect(float(i), kH - 1.0f - i, kW - 2.0f * i, 1, c);
    k.Rect(float(i), float(i) + 1, 1, kH - 2.0f * i - 2, c);
    k.Rect(kW - 1.0f - i, float(i) + 1, 1, kH - 2.0f * i - 2, c);
  }
  tooldraw::Bevel(k, 0, 0, kW, kH, 1.5f, Col{0, 0, 0, 200}, Col{0, 0, 0, 200});
}

void DrawInfantry(Canvas& k, bool corps) {
  Landscape(k, 11);
  if (corps) {
    for (int i = 0; i < 7; ++i) Soldier(k, 40 + i * 27.0f, 96, 0.62f, Mix(kOlive, kHills, 0.45f), (i % 2) ? 1 : -1);
  }
  const int n = corps ? 5 : 3;
  for (int i = 0; i < n; ++i) {
    const float x = (corps ? 36 : 70) + i * (corps ? 44.0f : 52.0f);
    Soldier(k, x, 120, 1.0f, kOlive, (i % 2) ? 1.0f : -1.0f);
  }
}

void DrawMechanized(Canvas& k, bool corps) {
  Landscape(k, 23);
  if (corps) Lorry(k, 190, 98, 0.65f, Mix(kOlive, kHills, 0.4f), Mix(Col{132, 124, 88, 255}, kHills, 0.4f));
  Lorry(k, corps ? 100 : 128, 120, 1.15f, kOlive, Col{132, 124, 88, 255});
  for (int i = 0; i < 2; ++i) Soldier(k, (corps ? 200.0f : 220.0f) + i * 16, 122, 0.7f, kInk, i ? 1.0f : -1.0f);
}

void DrawArmoured(Canvas& k, bool corps) {
  Landscape(k, 37);
  if (corps) Tank(k, 196, 100, 0.62f, Mix(kOlive, kHills, 0.4f), Mix(kOliveLit, kHills, 0.4f));
  Tank(k, corps ? 104 : 132, 122, 1.05f, kOlive, kOliveLit);
  for (int i = 0; i < 5; ++i) {  // dust behind the tracks
    k.Disc((corps ? 160.0f : 188.0f) + i * 9, 114 - i * 2.0f, 6 + i * 1.5f, Col{196, 184, 150, 70.0f - i * 10});
  }
}

void DrawAirborne(Canvas& k) {
  Landscape(k, 41);
  Aircraft(k, 196, 22, 0.55f, 2, Mix(kOlive, kSkyTop, 0.3f), kOliveLit);
  const float drops[][3] = {{44, 30, 0.9f}, {84, 18, 0.7f}, {120, 42, 1.0f}, {160, 32, 0.75f}, {70, 56, 1.1f}};
  for (const auto& d : drops) Parachute(k, d[0], d[1], d[2]);
  Soldier(k, 220, 122, 0.9f, kOlive, 1.0f);
}

void DrawFighter(Canvas& k) {
  Skyscape(k, 53);
  Aircraft(k, 200, 40, 0.5f, 1, Mix(kSteel, kSkyTop, 0.4f), kGlass);
  Aircraft(k, 110, 70, 1.35f, 1, Col{86, 96, 82, 255}, Col{140, 150, 126, 255});
}

void DrawTacticalBomber(Canvas& k) {
  Skyscape(k, 61);
  Aircraft(k, 206, 30, 0.45f, 2, Mix(kSteel, kSkyTop, 0.4f), kGlass);
  Aircraft(k, 118, 68, 1.2f, 2, Col{84, 92, 80, 255}, Col{136, 144, 120, 255});
}

void DrawStrategicBomber(Canvas& k) {
  Skyscape(k, 71);
  Aircraft(k, 60, 28, 0.4f, 4, Mix(kSteel, kSkyTop, 0.45f), kGlass);
  Aircraft(k, 200, 24, 0.45f, 4, Mix(kSteel, kSkyTop, 0.45f), kGlass);
  Aircraft(k, 128, 72, 1.05f, 4, Col{104, 108, 104, 255}, Col{160, 164, 156, 255});
}

void DrawHarbour(Canvas& k) {
  tooldraw::VGradient(k, 0, 0, kW, 60, kSkyTop, kSkyLow);
  tooldraw::VGradient(k, 0, 60, kW, 68, kSea, kSeaDeep);
  for (int y = 62; y < kH; y += 3)  // swell
    for (int x = 0; x < kW; x += 1)
      if (Noise(x / 9.0f, y / 2.0f, 5) > 0.72f) k.Rect(float(x), float(y), 1, 1, Col{200, 210, 206, 90});
  k.Polygon({0, 96, 60, 84, 96, 90, 96, 128, 0, 128}, Col{176, 160, 118, 255});  // the beach
  for (int i = 0; i < 5; ++i) {  // caissons and the floating road
    const float x = 100 + i * 30.0f;
    k.Rect(x, 74, 26, 10, kSteel);
    k.Rect(x, 74, 26, 2, Col{120, 124, 118, 255});
  }
  k.Rect(60, 86, 140, 3, kInk);
  for (int i = 0; i < 8; ++i) k.Rect(64 + i * 17.0f, 86, 2, 8, kInk);
  Lorry(k, 110, 86, 0.45f, kOlive, Col{132, 124, 88, 255});
}

// A sea under an overcast sky, with a little swell and a far coast.
void Seascape(Canvas& k, int seed) {
  tooldraw::VGradient(k, 0, 0, kW, 70, Col{150, 164, 170, 255}, Col{204, 204, 190, 255});
  for (int x = 0; x < kW; ++x) {  // the far coast
    const float h = 64 + 5 * Fbm(x / 36.0f, 1.5f, seed);
    if (x > 150) k.Rect(float(x), h, 1, 70 - h, Col{128, 136, 126, 255});
  }
  tooldraw::VGradient(k, 0, 70, kW, 58, kSea, kSeaDeep);
  for (int y = 72; y < kH; y += 2)
    for (int x = 0; x < kW; ++x)
      if (Noise(x / 11.0f, y / 2.0f, seed + 2) > 0.74f) k.Rect(float(x), float(y), 1, 1, Col{206, 214, 210, 80});
}

// A hull facing left on the waterline y: bow at the left, length l, freeboard
// h; the bow wave and the wake in white.
void Hull(Canvas& k, float x, float y, float l, float h, Col c) {
  const float a = x - l / 2, b = x + l / 2;
  k.Polygon({a - 0.06f * l, y - h, b, y - h * 0.9f, b - 0.03f * l, y, a + 0.04f * l, y}, c);
  k.Rect(a + 0.04f * l, y - 2, l * 0.93f, 2, Mix(c, kInk, 0.5f));  // boot top
  k.Polygon({a - 0.06f * l, y, a + 0.1f * l, y, a + 0.02f * l, y + 3}, Col{232, 236, 230, 200});
  k.Polygon({b - 0.03f * l, y, b + 0.3f * l, y + 2, b + 0.3f * l, y + 5, b - 0.03f * l, y + 3}, Col{220, 226, 222, 110});
}

// A gun turret on deck at (x, y), its barrels to the left (or right).
void Turret(Canvas& k, float x, float y, float s, Col c, bool aft) {
  k.Polygon({x - 7 * s, y, x - 5 * s, y - 5 * s, x + 6 * s, y - 5 * s, x + 7 * s, y}, c);
  const float d = aft ? 1.0f : -1.0f;
  k.Line(x + d * 4 * s, y - 3 * s, x + d * 17 * s, y - 4 * s, 1.4f * s, c);
  k.Line(x + d * 4 * s, y - 1.5f * s, x + d * 17 * s, y - 2.5f * s, 1.4f * s, c);
}

void Funnel(Canvas& k, float x, float y, float w, float h, Col c) {
  k.Polygon({x, y, x + w * 0.3f, y - h, x + w * 1.3f, y - h, x + w, y}, c);
  k.Rect(x + w * 0.3f, y - h, w, 2, kInk);
  for (int i = 0; i < 4; ++i) k.Disc(x + w + i * 6.0f, y - h - 4 - i * 3.0f, 3 + i * 1.5f, Col{90, 90, 86, 90.0f - i * 18});
}

constexpr Col kHullGrey{92, 98, 102, 255};
constexpr Col kHullLit{128, 134, 136, 255};

void DrawCarrier(Canvas& k) {
  Seascape(k, 81);
  Hull(k, 124, 104, 200, 16, kHullGrey);
  k.Rect(14, 86, 212, 4, kHullLit);  // the flight deck overhangs the hull
  k.Rect(160, 66, 18, 20, kHullGrey);  // the island
  k.Rect(164, 58, 9, 8, kHullGrey);
  k.Line(169, 58, 169, 46, 1.2f, kInk);
  for (int i = 0; i < 3; ++i) Aircraft(k, 40 + i * 34.0f, 82, 0.16f, 1, kOlive, kOliveLit);
}

void DrawBattleship(Canvas& k) {
  Seascape(k, 83);
  Hull(k, 128, 106, 196, 18, kHullGrey);
  Turret(k, 60, 89, 1.6f, kHullLit, false);
  Turret(k, 86, 85, 1.6f, kHullLit, false);
  Turret(k, 194, 90, 1.6f, kHullLit, true);
  k.Polygon({100, 88, 104, 62, 124, 62, 132, 88}, kHullGrey);  // the tower
  k.Rect(106, 54, 14, 8, kHullLit);
  k.Line(113, 54, 113, 36, 1.4f, kInk);
  Funnel(k, 138, 88, 14, 18, kHullGrey);
}

void DrawCruiser(Canvas& k) {
  Seascape(k, 85);
  Hull(k, 128, 104, 170, 14, kHullLit);
  Turret(k, 70, 91, 1.2f, kHullGrey, false);
  Turret(k, 184, 92, 1.2f, kHullGrey, true);
  k.Polygon({96, 90, 100, 72, 114, 72, 118, 90}, kHullLit);
  k.Line(107, 72, 107, 52, 1.2f, kInk);
  Funnel(k, 124, 90, 10, 14, kHullLit);
  Funnel(k, 146, 90, 10, 14, kHullLit);
}

void DrawSubmarine(Canvas& k) {
  Seascape(k, 87);
  k.Ellipse(128, 104, 96, 6, Col{58, 62, 64, 255});  // the hull awash
  k.Polygon({112, 100, 116, 82, 138, 82, 144, 100}, Col{58, 62, 64, 255});  // the conning tower
  k.Line(124, 82, 124, 66, 1.2f, kInk);  // periscope
  k.Rect(124, 66, 4, 1.5f, kInk);
  k.Line(88, 98, 96, 95, 1.6f, Col{58, 62, 64, 255});  // deck gun
  for (int i = 0; i < 6; ++i) k.Rect(34.0f + i * 30, 104, 18, 1.5f, Col{222, 228, 224, 120});
}

void DrawCargoShip(Canvas& k) {
  Seascape(k, 89);
  Hull(k, 128, 104, 180, 20, Col{84, 76, 66, 255});
  k.Rect(150, 70, 34, 14, Col{210, 204, 188, 255});  // the bridge house aft
  Funnel(k, 164, 70, 10, 12, Col{70, 64, 56, 255});
  for (float x : {66.0f, 116.0f}) {  // masts, derricks and crates
    k.Line(x, 84, x, 44, 1.6f, kInk);
    k.Line(x, 50, x - 20, 80, 1.0f, kInk);
    k.Rect(x - 30, 76, 22, 8, kOlive);
  }
}

void DrawAmphibiousShip(Canvas& k) {
  Seascape(k, 91);
  Hull(k, 132, 106, 168, 16, kHullGrey);
  k.Polygon({44, 90, 34, 104, 44, 106}, kHullLit);  // the bow ramp
  k.Rect(176, 70, 26, 20, kHullGrey);  // the bridge aft
  k.Line(189, 70, 189, 52, 1.2f, kInk);
  Tank(k, 90, 90, 0.34f, kOlive, kOliveLit);  // vehicles on the tank deck
  Lorry(k, 132, 90, 0.4f, kOlive, Col{132, 124, 88, 255});
}

void DrawDefault(Canvas& k) {
  Landscape(k, 97);
  k.Rect(120, 46, 3, 74, kInk);  // a flag on its pole
  k.Polygon({123, 48, 170, 54, 160, 64, 172, 76, 123, 72}, Col{150, 60, 44, 255});
}

bool Write(const std::string& folder, const std::string& name, void (*draw)(Canvas&)) {
  Canvas big(kW * kSuper, kH * kSuper, float(kSuper));
  draw(big);
  Frame(big);
  Canvas out(kW, kH);
  big.DownsampleInto(out, kSuper, 0, 0);
  const std::string path = folder + "/" + name;
  const std::string err = tooldraw::WritePng(out, path.c_str());
  if (!err.empty()) {
    std::fprintf(stderr, "make_unit_pictures: %s: %s\n", path.c_str(), err.c_str());
    return false;
  }
  std::printf("wrote %s\n", path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_unit_pictures <data folder>\n");
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "make_unit_pictures: SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  IMG_Init(IMG_INIT_PNG);
  const std::string folder = std::string(argv[1]) + "/gfx/Units images";
  std::filesystem::create_directories(folder);
  const bool ok = Write(folder, "0.png", [](Canvas& k) { DrawInfantry(k, false); }) &&
                  Write(folder, "1.png", [](Canvas& k) { DrawInfantry(k, true); }) &&
                  Write(folder, "2.png", [](Canvas& k) { DrawMechanized(k, false); }) &&
                  Write(folder, "3.png", [](Canvas& k) { DrawMechanized(k, true); }) &&
                  Write(folder, "4.png", [](Canvas& k) { DrawArmoured(k, false); }) &&
                  Write(folder, "5.png", [](Canvas& k) { DrawArmoured(k, true); }) &&
                  Write(folder, "6.png", DrawAirborne) && Write(folder, "20.png", DrawFighter) &&
                  Write(folder, "21.png", DrawTacticalBomber) && Write(folder, "22.png", DrawStrategicBomber) &&
                  Write(folder, "40.png", DrawCarrier) && Write(folder, "41.png", DrawBattleship) &&
                  Write(folder, "42.png", DrawCruiser) && Write(folder, "43.png", DrawSubmarine) &&
                  Write(folder, "44.png", DrawCargoShip) && Write(folder, "45.png", DrawAmphibiousShip) &&
                  Write(folder, "60.png", DrawHarbour) && Write(folder, "default.png", DrawDefault);
  IMG_Quit();
  SDL_Quit();
  return ok ? 0 : 1;
}
