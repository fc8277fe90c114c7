// make_unit_pictures: draws the unit panel's pictures, one 256 x 128 scene
// per unit type, in the muted colours of a period illustration:
//
//   make_unit_pictures <data folder>
//
// writes <data>/gfx/Units images/<type>.png for the land types 0-6, the air
// types 20-22, the ship types 40-45 and the artificial harbour 60, and
// default.png for any other. Land units stand on a plain under a hazy sky (a
// corps shows more men or machines than a division), aircraft fly over
// clouds, ships steam at sea (their profiles are those of the unit skin's
// counters), the harbour lies off a beach. Everything is drawn from fixed shapes and seeds, so every run
// gives the same files.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/draw.h"
#include "common/ship_profiles.h"

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

// ---- Ships: the profiles of the unit skin's counters, in paint

constexpr tooldraw::ShipInk kWarshipInk{Col{88, 94, 98, 255}, Col{146, 150, 148, 255}, Col{214, 214, 204, 255},
                                        Col{40, 42, 44, 255}, Col{124, 100, 70, 255}};
constexpr tooldraw::ShipInk kMerchantInk{Col{72, 62, 56, 255}, Col{200, 192, 174, 255}, Col{232, 226, 208, 255},
                                         Col{32, 30, 28, 255}, Col{134, 104, 72, 255}};
constexpr tooldraw::ShipInk kSubmarineInk{Col{62, 68, 70, 255}, Col{78, 84, 86, 255}, Col{150, 156, 152, 255},
                                          Col{30, 32, 34, 255}, Col{90, 80, 64, 255}};

// The ink faded into the haze of the horizon.
tooldraw::ShipInk Hazed(const tooldraw::ShipInk& ink, Col haze, float t) {
  return {Mix(ink.hull, haze, t), Mix(ink.upper, haze, t), Mix(ink.detail, haze, t), Mix(ink.dark, haze, t),
          Mix(ink.cargo, haze, t)};
}

struct sSeaLight {
  Col skyTop, skyLow, seaFar, seaNear;
};
constexpr sSeaLight kDay{Col{132, 156, 170, 255}, Col{226, 220, 196, 255}, Col{104, 128, 136, 255},
                         Col{40, 60, 74, 255}};
constexpr sSeaLight kDusk{Col{62, 70, 92, 255}, Col{214, 168, 120, 255}, Col{96, 92, 96, 255}, Col{26, 34, 46, 255}};

constexpr float kHorizon = 66.0f;

// Sky with a few streaks of cloud over a sea whose swell grows towards the
// viewer.
void Seascape(Canvas& k, int seed, const sSeaLight& light) {
  tooldraw::VGradient(k, 0, 0, kW, kHorizon, light.skyTop, light.skyLow);
  for (int y = 4; y < 56; ++y)
    for (int x = 0; x < kW; ++x) {
      const float n = Fbm(x / 56.0f, y / 9.0f, seed);
      if (n > 0.52f) k.Rect(float(x), float(y), 1, 1, Col{244, 238, 222, std::min(200.0f, (n - 0.52f) * 700.0f)});
    }
  tooldraw::VGradient(k, 0, kHorizon, kW, kH - kHorizon, light.seaFar, light.seaNear);
  for (int y = int(kHorizon); y < kH; ++y) {
    const float depth = (y - kHorizon) / (kH - kHorizon);  // 0 far .. 1 near
    for (int x = 0; x < kW; ++x) {
      const float n = Noise(x / (6.0f + 20 * depth), y / (1.2f + 3 * depth), seed + 9);
      if (n > 0.74f) k.Rect(float(x), float(y), 1, 1, Col{226, 230, 222, (n - 0.74f) * 500.0f * (0.4f + depth)});
      else if (n < 0.25f) k.Rect(float(x), float(y), 1, 1, Col{10, 20, 30, (0.25f - n) * 300.0f});
    }
  }
  k.Rect(0, kHorizon, kW, 1, Col{230, 230, 220, 90});
}

// Smoke from a funnel top at (x, y), blown to the right and up.
void Smoke(Canvas& k, float x, float y, float s, Col c) {
  for (int i = 0; i < 24; ++i) {
    const float t = i / 23.0f;
    const float wobble = std::sin(t * 9.0f) * 1.5f * t;
    k.Disc(x + (3 + 34 * t) * s, y - (2 + 10 * t + wobble) * s, (2.0f + 6.5f * t) * s, Col{c.r, c.g, c.b, 42 * (1 - t)});
  }
}

// A ship of type t (0..5) with its length centred on cx and its waterline on
// wl, s times the counter's profile; with the bow wave, the wake to the
// right and a darker reflection under it.
void Ship(Canvas& k, int t, float cx, float wl, float s, const tooldraw::ShipInk& ink, float speed) {
  const float ox = cx - 64 * s, oy = wl - tooldraw::kShipWaterline * s;
  k.Ellipse(cx, wl + 2.5f * s, 56 * s, 3 * s, Col{10, 18, 26, 90});
  tooldraw::ShipPen pen(k, ox, oy, s);
  tooldraw::DrawShipProfile(pen, t, ink);
  // The hull rounds away from the light towards the water.
  tooldraw::VGradient(k, ox + 22 * s, wl - 5 * s, 88 * s, 3 * s, Col{10, 14, 18, 0}, Col{10, 14, 18, 90});
  const Col foam{236, 238, 232, 210};
  k.Polygon({ox + 4 * s, wl + 1 * s, ox + 14 * s, wl - (1 + 3 * speed) * s, ox + 26 * s, wl + 1.5f * s}, foam);
  for (int i = 0; i < 4; ++i) {
    const float x = ox + (108 + i * 10 * (1 + speed)) * s;
    k.Rect(x, wl + (0.2f + i * 0.6f) * s, (9 - i) * s * (0.5f + speed), 0.9f * s, Col{236, 238, 232, 170.0f - 35 * i});
  }
}

void DrawCarrier(Canvas& k) {
  Seascape(k, 101, kDay);
  Ship(k, 2, 214, 70, 0.32f, Hazed(kWarshipInk, kDay.seaFar, 0.5f), 0.3f);
  Ship(k, 0, 118, 100, 1.55f, kWarshipInk, 0.6f);
  Smoke(k, 118 - 64 * 1.55f + 92 * 1.55f, 100 - 36 * 1.55f, 1.2f, Col{90, 92, 96, 255});
  Aircraft(k, 44, 20, 0.32f, 1, Col{92, 100, 96, 255}, kGlass);
  Aircraft(k, 80, 12, 0.26f, 1, Col{92, 100, 96, 255}, kGlass);
  Aircraft(k, 190, 28, 0.4f, 1, Col{86, 96, 90, 255}, kGlass);
}

void DrawBattleship(Canvas& k) {
  Seascape(k, 113, kDay);
  Ship(k, 2, 40, 70, 0.3f, Hazed(kWarshipInk, kDay.seaFar, 0.55f), 0.2f);
  const float s = 1.6f, cx = 134, wl = 101;
  Ship(k, 1, cx, wl, s, kWarshipInk, 0.4f);
  Smoke(k, cx + (72 - 64) * s, wl - (66 - 34 + 30) * s / 1.9f, 1.3f, Col{70, 70, 72, 255});
  // A broadside from the forward turrets: the flash and its smoke.
  const float gx = cx + (8 - 64) * s, gy = wl - (64 - 47.5f) * s;
  for (int i = 0; i < 16; ++i) {
    const float t = i / 15.0f;
    k.Disc(gx - 6 - t * 28, gy - t * 6 + std::sin(t * 7) * 2, 4 + t * 10, Col{204, 200, 190, 60 * (1 - t) + 10});
  }
  k.Disc(gx - 3, gy, 5, Col{255, 214, 120, 230});
  k.Disc(gx - 2, gy, 2.5f, Col{255, 250, 220, 255});
}

void DrawCruiser(Canvas& k) {
  Seascape(k, 127, kDay);
  Ship(k, 2, 206, 71, 0.42f, Hazed(kWarshipInk, kDay.seaFar, 0.5f), 0.5f);
  const float s = 1.5f, cx = 118, wl = 101;
  Ship(k, 2, cx, wl, s, kWarshipInk, 1.0f);
  for (float f : {65.0f, 74.0f}) Smoke(k, cx + (f - 64) * s, wl - (64 - 39) * s, 1.1f, Col{74, 74, 76, 255});
  // Spray thrown up at the bow.
  for (int i = 0; i < 8; ++i) {
    k.Disc(cx - 60 * s + i * 2.5f, wl - 4 - (i % 3) * 2.0f, 2.5f + (i % 2), Col{236, 238, 232, 150});
  }
}

void DrawSubmarine(Canvas& k) {
  Seascape(k, 139, kDusk);
  // A torpedoed merchant burning on the horizon.
  Ship(k, 4, 210, 69, 0.34f, Hazed(kMerchantInk, kDusk.seaFar, 0.45f), 0.0f);
  for (int i = 0; i < 8; ++i) k.Disc(212 + i * 3.0f, 58 - i * 4.0f, 2 + i * 1.6f, Col{40, 36, 36, 150.0f - 14 * i});
  k.Disc(210, 63, 2.6f, Col{255, 170, 70, 230});
  Ship(k, 3, 112, 99, 1.7f, kSubmarineInk, 0.35f);
}

void DrawTransport(Canvas& k) {
  Seascape(k, 151, kDay);
  Ship(k, 4, 40, 70, 0.38f, Hazed(kMerchantInk, kDay.seaFar, 0.5f), 0.2f);
  Ship(k, 4, 208, 77, 0.7f, Hazed(kMerchantInk, kDay.seaFar, 0.25f), 0.2f);
  Smoke(k, 208 + (72.5f - 64) * 0.7f, 77 - (64 - 26) * 0.7f, 0.7f, Col{80, 78, 76, 255});
  const float s = 1.45f, cx = 110, wl = 103;
  Ship(k, 4, cx, wl, s, kMerchantInk, 0.3f);
  Smoke(k, cx + (72.5f - 64) * s, wl - (64 - 26) * s, 1.2f, Col{76, 74, 72, 255});
}

void DrawAmphibious(Canvas& k) {
  Seascape(k, 163, kDay);
  // The beach on the left, the landing ship run up to it, landing craft
  // going in, smoke over the dunes.
  k.Polygon({0, 84, 30, 80, 58, 86, 70, 100, 60, 128, 0, 128}, Col{186, 170, 128, 255});
  k.Polygon({0, 84, 30, 80, 50, 83, 36, 86, 0, 90}, Col{150, 146, 104, 255});
  for (int i = 0; i < 5; ++i) k.Disc(10 + i * 8.0f, 74 - i * 3.0f, 4 + i * 2.0f, Col{120, 116, 108, 120.0f - 18 * i});
  Ship(k, 5, 134, 102, 1.45f, kWarshipInk, 0.1f);
  const float craft[2][3] = {{74, 118, 1.0f}, {212, 112, 0.8f}};
  for (const auto& c : craft) {
    const float x = c[0], y = c[1], s = c[2];
    k.Polygon({x - 12 * s, y - 5 * s, x + 10 * s, y - 5 * s, x + 12 * s, y, x - 10 * s, y}, Col{96, 104, 98, 255});
    for (int i = 0; i < 3; ++i) k.Disc(x - 4 * s + i * 4 * s, y - 6 * s, 1.5f * s, kOlive);
    k.Rect(x + 10 * s, y - 1 * s, 8 * s, 1 * s, Col{236, 238, 232, 180});
  }
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
                  Write(folder, "44.png", DrawTransport) && Write(folder, "45.png", DrawAmphibious) &&
                  Write(folder, "60.png", DrawHarbour) && Write(folder, "default.png", DrawDefault);
  IMG_Quit();
  SDL_Quit();
  return ok ? 0 : 1;
}
