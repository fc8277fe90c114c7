// make_skins: draws the map skin "Normal" and the unit skin "Counters".
//
//   make_skins <data folder>
//
// writes under <data>/gfx/:
//   [MapSkin]Normal/terrain.png, others.png, eyecandies.png, sprites_depth.csv,
//     appearance.csv and contact_sheet.png (every terrain, weather and variant
//     cell drawn by the software renderer, for looking at the skin);
//   [UnitsSkin]Counters/units.png, info.png, land_units.csv, air_units.csv,
//     naval_units.csv.
//
// Everything is drawn procedurally (value noise, height fields, shapes) from
// fixed seeds, so every run gives the same files.
//
// Cell pictures are 166 x 166 inside a 167-pixel grid, the first starting at
// pixel 1. The map places a cell's picture every 83 pixels across and 98 down
// (even columns 49 lower), so the hex inside a picture is flat-topped, 111
// wide and 98 high, centred at (83, 83); features may reach past its edge
// into the margin. Hex sides: 0 north, 1 north-east, 2 south-east, 3 south,
// 4 south-west, 5 north-west; side k runs from vertex k to vertex k + 1,
// vertex 0 being the north-west corner.
//
// terrain.png (2004 x 2004): terrain t (0 water, 1 plain, 2 forest, 3 rough,
//   4 swamp, 5 hill, 6 mountain, 7 desert) has its block at column t / 4 * 6
//   (six variants across) and row (t % 4) * 3 (good, snow, mud down). Water
//   and plain, desert and swamp are whole hexes; forest, rough, hill and
//   mountain are features on a clear background (the plain is drawn under
//   them). Water is always drawn from its first row, so its second and third
//   rows hold the river mouths: side i in column i, row 1 for even and row 2
//   for odd variants. A mouth of side bit i enters the water hex at its
//   vertex (i + 2) % 6.
//
// others.png (2004 x 2004), by grid cell (column, row) = left (167c + 1), top
//   (167r + 1):
//   row 0  cols 0-5: rivers on side 1, 2, 3, even and odd variant
//          cols 6-11 (rows 0-5, top 167r): the pictures of mark bits 0-31
//   row 1  cols 0-5: alliance colours 1-6 (political map)
//   row 2  col 0 neutral, col 1 controller tint, col 2 owner tint, col 5 grid
//   row 3  cols 0-2: city tiles (variant mod 3), cols 3-4: resource tiles
//          (variant mod 2)                        [placement chosen here]
//   row 4  cols 0-2 owner/controller border sides 1-3, cols 3-5 sea-zone
//          border sides 1-3
//   row 5  cols 0-5: attacker arrow from side 0-5
//   row 7  cols 0-5: weather overlay (parity p, weather w) at column p + 2w
//          (good weather is clear)
//   rows 7-9 from x 1003: city icons of appearance.csv    [chosen here]
//          fortification icons of levels 0-10, 24 x 24, both across from
//          (1003, 1170) and down from it (the icon of level f is found by
//          moving the level-0 icon by f widths or by f heights);
//          city 32 x 32 at (1300, 1220); port, supply, resources, victory
//          points 24 x 24 at (1340, 1220), (1370, 1220), (1400, 1220),
//          (1430, 1220)
//   row 10 cols 0-9: fortification level 1-10, col 11: coast mark
//   row 11 cols 0-9: sea-node marker of size 0-9 (size 0 is the sea-zone
//          marker)
//
// eyecandies.png (1002 x 501): decoration d in column d, weather w in row w:
//   0 village, 1 windmill, 2 lighthouse, 3 castle ruin, 4 oil tanks, 5 great
//   oak.
//
// units.png (1024 x 1000), cells of 128 x 100:
//   land: column by kind (infantry 0, mechanized 128, armoured 256, airborne
//   384), row (level - 1) * 100, corps 500 lower; harbour (512, 600); land
//   counter background (640, 500); air counter background (768, 500); air
//   type t at x 512 + 128 (t - 20), y (level - 1) * 100.
//   Ships: the cells as the naval drawing names them would fall on the air
//   pictures, so the ship of type t lies at (896, 100 (t - 40)), one column
//   of six cells, and the ship counter background under them at (896, 600)
//   (tools/common/ship_profiles.h draws the ships).      [chosen here]
//
// info.png (512 x 128): counter frame (0, 0, 128, 100); level marks 40 x 12
//   at (128, 0) for levels 1-5 down; size marks 40 x 12 at (176, 0) (division,
//   corps); 20 x 20 markers with a blink row under each: action points (224),
//   low supply (248), replacements (272), frozen (296), commander (320; the
//   second row is the HQ-commander mark), ready (344), naval battle (368),
//   battle side (392); the ship's hit-point bar 40 x 8 at (416, 0), its
//   filling under it at (416, 8).
//
// The naval table's boxes: B0 frame (A0), B1 battle marker (A1), B2
// battle-side marker (A2), B3 ship picture, B4 the ship's name with its
// fleet's on the line below (style 1), B5 hit points in per cent (style 2),
// B6 flag, B7 hit-point bar.
//
// Sprite boxes of the unit tables give left, top, width, height (the counter
// drawing passes the third and fourth on as a size); city boxes B0-B5, B9 and
// B10 give left, top, right, bottom.

#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/draw.h"
#include "common/ship_profiles.h"
#include "platform/render.h"
#include "platform/sdl/sdl_renderer.h"

using tooldraw::Canvas;
using tooldraw::Col;

namespace {

constexpr int kCell = 166;
constexpr int kGrid = 167;
constexpr float kCx = 83.0f, kCy = 83.0f;
constexpr float kHalfW = 55.5f, kHalfH = 49.0f, kQuarter = 27.75f;
constexpr int kSuper = 3;  // supersampling of the feature canvases

// ---------------------------------------------------------------- helpers

std::uint32_t Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}
float Rand01(int x, int y, int seed) { return (Hash(x, y, seed) & 0xFFFFFF) / float(0x1000000); }

float Smooth(float t) { return t * t * (3 - 2 * t); }
float ValueNoise(float x, float y, int seed) {
  const int xi = int(std::floor(x)), yi = int(std::floor(y));
  const float fx = Smooth(x - xi), fy = Smooth(y - yi);
  const float a = Rand01(xi, yi, seed), b = Rand01(xi + 1, yi, seed);
  const float c = Rand01(xi, yi + 1, seed), d = Rand01(xi + 1, yi + 1, seed);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}
// Fractal noise in 0..1.
float Fbm(float x, float y, int seed, int octaves = 4) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + i * 101);
    norm += amp;
    amp *= 0.5f;
    x *= 2.03f;
    y *= 2.03f;
  }
  return sum / norm;
}

struct Rng {
  std::uint32_t s;
  explicit Rng(std::uint32_t seed) : s(seed * 2654435761u + 12345u) {}
  float Next() {
    s = s * 1664525u + 1013904223u;
    return (s >> 8) / float(1 << 24);
  }
  float Range(float a, float b) { return a + (b - a) * Next(); }
};

Col Mix(Col a, Col b, float t) {
  return Col{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
Col Scale(Col c, float k) { return Col{c.r * k, c.g * k, c.b * k, c.a}; }
Col Alpha(Col c, float a) { return Col{c.r, c.g, c.b, a}; }
float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// Signed distance (pixels, positive inside) of a point from the hex edge;
// (dx, dy) relative to the hex centre.
float HexDist(float dx, float dy) {
  dx = std::fabs(dx);
  dy = std::fabs(dy);
  const float slanted = (kHalfW * kHalfH - dx * kHalfH - dy * kQuarter) / std::hypot(kHalfH, kQuarter);
  return std::min(kHalfH - dy, slanted);
}
void Vertex(int k, float& x, float& y) {
  static const float vx[6] = {-kQuarter, kQuarter, kHalfW, kQuarter, -kQuarter, -kHalfW};
  static const float vy[6] = {-kHalfH, -kHalfH, 0, kHalfH, kHalfH, 0};
  x = kCx + vx[k % 6];
  y = kCy + vy[k % 6];
}
std::vector<float> HexPolygon(float inset) {
  std::vector<float> p;
  for (int k = 0; k < 6; ++k) {
    float x, y;
    Vertex(k, x, y);
    const float t = inset / std::hypot(x - kCx, y - kCy);
    p.push_back(x + (kCx - x) * t);
    p.push_back(y + (kCy - y) * t);
  }
  return p;
}

// Fills the whole hex of the cell at (ox, oy) pixel by pixel with the colour
// the function gives (cell coordinates); the edge is solid on the outline and
// fades out just beyond it, so neighbouring hexes overlap without a seam.
template <class F>
void FillHex(Canvas& c, int ox, int oy, F colourAt, float grow = 1.2f) {
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float a = Clamp01(HexDist(px - kCx, py - kCy) + grow);
      if (a <= 0) continue;
      Col col = colourAt(px, py);
      col.a *= a;
      c.Blend(ox + x, oy + y, col);
    }
}

// A supersampled canvas for one cell; Flush averages it into the sheet.
struct CellCanvas {
  Canvas k{kCell * kSuper, kCell * kSuper, float(kSuper)};
  void Flush(Canvas& sheet, int ox, int oy) { k.DownsampleInto(sheet, kSuper, ox, oy); }
  // Per-pixel drawing in cell units over a box.
  template <class F>
  void Pixels(float x0, float y0, float x1, float y1, F f) {
    const int px0 = std::max(0, int(x0 * kSuper)), py0 = std::max(0, int(y0 * kSuper));
    const int px1 = std::min(k.W(), int(x1 * kSuper) + 1), py1 = std::min(k.H(), int(y1 * kSuper) + 1);
    for (int y = py0; y < py1; ++y)
      for (int x = px0; x < px1; ++x) {
        Col col;
        if (f((x + 0.5f) / kSuper, (y + 0.5f) / kSuper, col)) k.Blend(x, y, col);
      }
  }
};

int CellLeft(int col) { return col * kGrid + 1; }
int CellTop(int row) { return row * kGrid + 1; }

bool Save(const Canvas& c, const std::string& path) {
  const std::string err = tooldraw::WritePng(c, path.c_str());
  if (!err.empty()) {
    std::fprintf(stderr, "make_skins: %s\n", err.c_str());
    return false;
  }
  std::printf("wrote %s (%lld bytes)\n", path.c_str(),
              static_cast<long long>(std::filesystem::file_size(path)));
  return true;
}

// Text files the game reads through its table reader are written CR LF.
bool WriteText(const std::string& path, const std::string& lfText) {
  std::string out;
  for (char ch : lfText) {
    if (ch == '\n') out += '\r';
    out += ch;
  }
  std::ofstream f(path, std::ios::binary);
  f << out;
  if (!f) {
    std::fprintf(stderr, "make_skins: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("wrote %s\n", path.c_str());
  return true;
}

// ---------------------------------------------------------------- terrain

enum Terrain { kWater, kPlain, kForest, kRough, kSwamp, kHill, kMountain, kDesert };
enum Weather { kGood, kSnow, kMud };

int TerrainLeft(int t, int v) { return CellLeft((t / 4) * 6 + v % 6); }
int TerrainTop(int t, int w) { return CellTop((t % 4) * 3 + w); }

Col PlainColour(int w) {
  return w == kGood ? Col{128, 166, 80, 255} : w == kSnow ? Col{234, 238, 242, 255} : Col{124, 108, 70, 255};
}

void DrawWater(Canvas& c, int ox, int oy, int v) {
  const int seed = 1000 + v;
  FillHex(c, ox, oy, [&](float x, float y) {
    const float n = Fbm((ox + x) / 40.0f, (oy + y) / 40.0f, seed, 3);
    return Mix(Col{40, 88, 150, 255}, Col{58, 112, 176, 255}, n);
  });
  CellCanvas cc;
  Rng rng(seed);
  for (int i = 0; i < 14; ++i) {
    const float x = rng.Range(40, 126), y = rng.Range(44, 122);
    if (HexDist(x - kCx, y - kCy) < 8) continue;
    const float r = rng.Range(4, 7);
    cc.k.Arc(x, y, r, -2.5f, -0.7f, 1.2f, Col{150, 190, 230, 150});
    cc.k.Arc(x + r * 1.5f, y, r, -2.5f, -0.7f, 1.2f, Col{150, 190, 230, 110});
  }
  cc.Flush(c, ox, oy);
}

void DrawPlain(Canvas& c, int ox, int oy, int v, int w) {
  const Col base = PlainColour(w);
  const int seed = 2000 + v;
  FillHex(c, ox, oy, [&](float x, float y) {
    const float n = Fbm((ox + x) / 30.0f, (oy + y) / 30.0f, seed, 3);
    Col col = Scale(base, 0.92f + 0.14f * n);
    if (w == kMud) {
      const float p = Fbm((ox + x) / 14.0f, (oy + y) / 14.0f, seed + 7, 2);
      if (p > 0.64f) col = Mix(col, Col{92, 84, 64, 255}, Clamp01((p - 0.64f) * 12));
    }
    return col;
  });
  // Tufts of grass (or a few dark stalks through the snow).
  CellCanvas cc;
  Rng rng(seed);
  const Col tuft = w == kGood ? Col{98, 140, 60, 200} : w == kSnow ? Col{150, 160, 140, 170} : Col{96, 96, 56, 200};
  for (int i = 0; i < 26; ++i) {
    const float x = rng.Range(32, 134), y = rng.Range(38, 128);
    if (HexDist(x - kCx, y - kCy) < 4) continue;
    cc.k.Line(x, y, x - 1.2f, y - 3.2f, 0.8f, tuft);
    cc.k.Line(x, y, x + 1.2f, y - 3.0f, 0.8f, tuft);
  }
  cc.Flush(c, ox, oy);
}

void DrawDesert(Canvas& c, int ox, int oy, int v, int w) {
  const Col base = w == kGood ? Col{222, 196, 134, 255} : w == kSnow ? Col{236, 232, 222, 255} : Col{186, 156, 106, 255};
  const int seed = 3000 + v;
  const float angle = 0.35f + 0.15f * (v % 3);
  FillHex(c, ox, oy, [&](float x, float y) {
    const float gx = ox + x, gy = oy + y;
    const float n = Fbm(gx / 25.0f, gy / 25.0f, seed, 3);
    const float u = gx * std::sin(angle) + gy * std::cos(angle) + n * 26.0f;
    const float s = std::sin(u / 7.0f);
    // Dunes: a lit windward slope, a shadowed lee and a crest line.
    float k = 0.95f + 0.09f * s;
    if (s > 0.93f) k -= 0.06f;
    return Scale(base, k * (0.96f + 0.06f * n));
  });
}

void DrawSwamp(Canvas& c, int ox, int oy, int v, int w) {
  const Col base = w == kGood ? Col{108, 128, 78, 255} : w == kSnow ? Col{222, 228, 226, 255} : Col{104, 96, 62, 255};
  const Col pool = w == kGood ? Col{52, 86, 92, 255} : w == kSnow ? Col{176, 200, 214, 255} : Col{86, 92, 84, 255};
  const int seed = 4000 + v;
  FillHex(c, ox, oy, [&](float x, float y) {
    const float n = Fbm((ox + x) / 28.0f, (oy + y) / 28.0f, seed, 3);
    const float p = Fbm((ox + x) / 16.0f, (oy + y) / 16.0f, seed + 3, 3);
    Col col = Scale(base, 0.93f + 0.12f * n);
    if (p > 0.55f) col = Mix(col, pool, Clamp01((p - 0.55f) * 14));
    if (p > 0.53f && p < 0.56f) col = Scale(col, 0.85f);  // muddy rim
    return col;
  });
  CellCanvas cc;
  Rng rng(seed);
  const Col reed = w == kGood ? Col{58, 92, 40, 230} : w == kSnow ? Col{140, 120, 80, 220} : Col{70, 70, 40, 230};
  const Col head = w == kSnow ? Col{110, 86, 56, 230} : Col{104, 76, 44, 230};
  for (int cl = 0; cl < 7; ++cl) {
    const float cx = rng.Range(42, 124), cy = rng.Range(48, 122);
    if (HexDist(cx - kCx, cy - kCy) < 9) continue;
    for (int i = 0; i < 6; ++i) {
      const float x = cx + rng.Range(-6, 6), y = cy + rng.Range(-3, 3);
      const float lean = rng.Range(-1.5f, 1.5f), h = rng.Range(6, 10);
      cc.k.Line(x, y, x + lean, y - h, 0.9f, reed);
      if (i % 2 == 0) cc.k.Ellipse(x + lean, y - h, 0.9f, 2.0f, head);
    }
  }
  cc.Flush(c, ox, oy);
}

// A height field drawn with light from the upper left. height(x, y) gives
// 0 outside the feature; colour(h, light) the colour of a point.
template <class H, class C>
void HeightField(CellCanvas& cc, float x0, float y0, float x1, float y1, H height, C colour) {
  const float e = 0.6f;
  cc.Pixels(x0, y0, x1, y1, [&](float x, float y, Col& out) {
    const float h = height(x, y);
    if (h <= 0) return false;
    const float gx = (height(x + e, y) - height(x - e, y)) / (2 * e);
    const float gy = (height(x, y + e) - height(x, y - e)) / (2 * e);
    // Normal of the surface z = h * 40; light from upper left and above.
    float nx = -gx * 40, ny = -gy * 40, nz = 1;
    const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= len; ny /= len; nz /= len;
    const float light = Clamp01(nx * -0.55f + ny * -0.55f + nz * 0.63f);
    out = colour(h, light);
    out.a *= Clamp01(h * 14);
    return true;
  });
}

void DrawHill(Canvas& c, int ox, int oy, int v, int w) {
  CellCanvas cc;
  Rng rng(5000 + v);
  struct Mound { float x, y, rx, ry, h; };
  std::vector<Mound> mounds;
  const int count = 2 + v % 2;
  for (int i = 0; i < count; ++i) {
    const float x = kCx + rng.Range(-22, 22), y = kCy - 14 + i * 18 + rng.Range(-4, 4);
    mounds.push_back({x, y, rng.Range(22, 30), rng.Range(12, 16), rng.Range(0.7f, 1.0f)});
  }
  const Col low = w == kGood ? Col{120, 150, 72, 255} : w == kSnow ? Col{214, 220, 228, 255} : Col{120, 102, 64, 255};
  const Col high = w == kGood ? Col{170, 160, 96, 255} : w == kSnow ? Col{246, 248, 252, 255} : Col{142, 122, 80, 255};
  for (const Mound& m : mounds) {
    HeightField(cc, m.x - m.rx, m.y - m.ry * 1.6f, m.x + m.rx, m.y + m.ry, [&](float x, float y) {
      const float a = (x - m.x) / m.rx, b = (y - m.y) / m.ry;
      const float d = a * a + b * b;
      return d >= 1 ? 0.0f : m.h * (1 - d) * (1 - d) * 0.5f;
    }, [&](float h, float light) {
      return Scale(Mix(low, high, Clamp01(h * 2)), 0.55f + 0.7f * light);
    });
  }
  cc.Flush(c, ox, oy);
}

void DrawMountain(Canvas& c, int ox, int oy, int v, int w) {
  CellCanvas cc;
  Rng rng(6000 + v);
  // Peaks as lit and shaded faces with a snow cap, back to front.
  struct Peak { float x, y, half, h; };
  std::vector<Peak> peaks;
  const int count = 4 + v % 2;
  for (int i = 0; i < count; ++i) {
    const float x = kCx + rng.Range(-30, 30), y = kCy + rng.Range(-16, 30);
    peaks.push_back({x, y, rng.Range(13, 19), rng.Range(20, 30)});
  }
  peaks.push_back({kCx + rng.Range(-8, 8), kCy + 14, 24, 44});  // the main peak
  std::sort(peaks.begin(), peaks.end(), [](const Peak& a, const Peak& b) { return a.y < b.y; });
  const Col lit = w == kGood ? Col{170, 154, 132, 255} : w == kSnow ? Col{242, 244, 248, 255} : Col{146, 126, 102, 255};
  const Col dark = w == kGood ? Col{98, 86, 76, 255} : w == kSnow ? Col{160, 172, 190, 255} : Col{82, 70, 58, 255};
  const Col snowLit{250, 251, 253, 255}, snowDark{196, 206, 222, 255};
  const float cap = w == kSnow ? 0.6f : w == kGood ? 0.36f : 0.2f;
  for (const Peak& p : peaks) {
    const float ax = p.x + rng.Range(-3, 3), ay = p.y - p.h;
    const float ridgeX = p.x + p.half * 0.15f;
    cc.k.Ellipse(p.x + 3, p.y + 1, p.half * 1.1f, 3.5f, Col{30, 30, 20, 90});
    cc.k.Polygon({p.x - p.half, p.y, ax, ay, ridgeX, p.y}, lit);
    cc.k.Polygon({ridgeX, p.y, ax, ay, p.x + p.half, p.y}, dark);
    // Gullies on the lit face.
    for (int g = 0; g < 2; ++g) {
      const float t = 0.35f + g * 0.25f;
      cc.k.Line(ax + (p.x - p.half - ax) * t * 0.5f, ay + (p.y - ay) * t * 0.5f,
                ax + (p.x - p.half - ax) * t, ay + (p.y - ay) * t + 4, 1.0f, Scale(lit, 0.8f));
    }
    // The snow cap: the top of both faces down to a jagged line.
    const float ch = p.h * cap;
    const float lx = ax + (p.x - p.half - ax) * cap, rx = ax + (p.x + p.half - ax) * cap;
    const float mx = ax + (ridgeX - ax) * cap;
    cc.k.Polygon({lx, ay + ch, ax, ay, mx, ay + ch, (lx + mx) / 2, ay + ch * 0.75f}, snowLit);
    cc.k.Polygon({mx, ay + ch, ax, ay, rx, ay + ch, (mx + rx) / 2, ay + ch * 0.8f}, snowDark);
  }
  cc.Flush(c, ox, oy);
}

void DrawForest(Canvas& c, int ox, int oy, int v, int w) {
  CellCanvas cc;
  Rng rng(7000 + v);
  struct Tree { float x, y, r; };
  std::vector<Tree> trees;
  const int clusters = 3 + v % 2;
  for (int cl = 0; cl < clusters; ++cl) {
    float cx, cy;
    do {
      cx = rng.Range(40, 126);
      cy = rng.Range(44, 124);
    } while (HexDist(cx - kCx, cy - kCy) < 14);
    const int n = 7 + int(rng.Next() * 5);
    for (int i = 0; i < n; ++i) {
      const float x = cx + rng.Range(-13, 13), y = cy + rng.Range(-9, 9);
      if (HexDist(x - kCx, y - kCy) < 6) continue;
      trees.push_back({x, y, rng.Range(5.5f, 8.5f)});
    }
  }
  std::sort(trees.begin(), trees.end(), [](const Tree& a, const Tree& b) { return a.y < b.y; });
  const Col shade = w == kMud ? Col{30, 46, 22, 255} : Col{22, 54, 26, 255};
  const Col main = w == kGood ? Col{44, 102, 44, 255} : w == kSnow ? Col{48, 84, 60, 255} : Col{56, 82, 38, 255};
  const Col light = w == kGood ? Col{92, 150, 66, 255} : w == kSnow ? Col{244, 246, 250, 255} : Col{90, 108, 52, 255};
  for (const Tree& t : trees) {
    cc.k.Ellipse(t.x + 2.0f, t.y + 2.5f, t.r, t.r * 0.7f, Alpha(Col{20, 30, 10, 255}, 90));  // ground shadow
    cc.k.Disc(t.x, t.y, t.r, shade);
    cc.k.Disc(t.x - 0.8f, t.y - 0.9f, t.r * 0.85f, main);
    cc.k.Disc(t.x - t.r * 0.3f, t.y - t.r * 0.35f, t.r * (w == kSnow ? 0.55f : 0.45f), light);
  }
  cc.Flush(c, ox, oy);
}

void DrawRough(Canvas& c, int ox, int oy, int v, int w) {
  CellCanvas cc;
  const int seed = 8000 + v;
  const Col ground = w == kGood ? Col{150, 134, 96, 255} : w == kSnow ? Col{196, 196, 196, 255} : Col{116, 98, 70, 255};
  // Patches of broken, stony ground.
  cc.Pixels(20, 28, 146, 138, [&](float x, float y, Col& out) {
    const float d = HexDist(x - kCx, y - kCy);
    if (d < 1) return false;
    const float n = Fbm((ox + x) / 15.0f, (oy + y) / 15.0f, seed, 4);
    if (n < 0.5f) return false;
    const float fine = Fbm((ox + x) / 4.0f, (oy + y) / 4.0f, seed + 9, 2);
    out = Scale(ground, 0.8f + 0.35f * fine);
    out.a = 255 * Clamp01((n - 0.5f) * 10) * Clamp01(d / 4);
    return true;
  });
  // Boulders and scrub.
  Rng rng(seed);
  const Col stone = w == kSnow ? Col{168, 168, 172, 255} : Col{128, 120, 110, 255};
  const Col scrub = w == kGood ? Col{78, 104, 48, 230} : w == kSnow ? Col{90, 96, 80, 220} : Col{70, 72, 40, 230};
  for (int i = 0; i < 16; ++i) {
    const float x = rng.Range(36, 130), y = rng.Range(42, 126);
    if (HexDist(x - kCx, y - kCy) < 7) continue;
    const float r = rng.Range(2.5f, 5.0f);
    if (i % 3 == 2) {
      cc.k.Disc(x, y, r * 0.7f, scrub);
      continue;
    }
    cc.k.Ellipse(x + 1, y + 1.2f, r, r * 0.7f, Col{40, 34, 26, 110});
    cc.k.Ellipse(x, y, r, r * 0.7f, Scale(stone, 0.8f));
    cc.k.Ellipse(x - r * 0.25f, y - r * 0.25f, r * 0.6f, r * 0.4f, w == kSnow ? Col{246, 248, 252, 255} : Scale(stone, 1.25f));
  }
  cc.Flush(c, ox, oy);
}

// A river mouth of side bit i: the river enters at vertex (i + 2) % 6 and
// spreads into the water towards the centre.
void DrawRiverMouth(Canvas& c, int ox, int oy, int side, int parity) {
  CellCanvas cc;
  float vx, vy;
  Vertex((side + 2) % 6, vx, vy);
  const float dx = kCx - vx, dy = kCy - vy, len = std::hypot(dx, dy);
  const float ux = dx / len, uy = dy / len;
  const int steps = 24;
  for (int s = 0; s < steps; ++s) {
    const float t = s / float(steps);
    const float wig = std::sin(t * 6 + parity * 2.0f) * 1.5f;
    const float x = vx + ux * t * 36 - uy * wig, y = vy + uy * t * 36 + ux * wig;
    const float r = 3.0f + t * 7;
    cc.k.Disc(x, y, r, Col{96, 156, 214, 230 * (1 - t * 0.8f)});
  }
  cc.Flush(c, ox, oy);
}

// ---------------------------------------------------------------- others

// A wavy river along side k of the hex.
void DrawRiverSide(Canvas& c, int ox, int oy, int side, int parity) {
  CellCanvas cc;
  float ax, ay, bx, by;
  Vertex(side, ax, ay);
  Vertex(side + 1, bx, by);
  const float len = std::hypot(bx - ax, by - ay), nx = -(by - ay) / len, ny = (bx - ax) / len;
  std::vector<float> px, py;
  const int steps = 40;
  for (int s = 0; s <= steps; ++s) {
    const float t = s / float(steps);
    const float wig = std::sin(t * kGrid * 0.1f + parity * 2.6f) * 2.2f * std::sin(t * tooldraw::kPi);
    px.push_back(ax + (bx - ax) * t + nx * wig);
    py.push_back(ay + (by - ay) * t + ny * wig);
  }
  for (int pass = 0; pass < 2; ++pass) {
    const float width = pass == 0 ? 5.5f : 3.2f;
    const Col col = pass == 0 ? Col{34, 72, 130, 255} : Col{80, 140, 210, 255};
    for (int s = 0; s < steps; ++s) {
      cc.k.Line(px[s], py[s], px[s + 1], py[s + 1], width, col);
      cc.k.Disc(px[s + 1], py[s + 1], width / 2, col);
    }
  }
  cc.Flush(c, ox, oy);
}

void DrawSideLine(Canvas& c, int ox, int oy, int side, float width, Col col, bool dashed, float inset) {
  CellCanvas cc;
  float ax, ay, bx, by;
  Vertex(side, ax, ay);
  Vertex(side + 1, bx, by);
  // Pull the line a little inside so it stays on this hex's side of the edge.
  const float mx = (ax + bx) / 2, my = (ay + by) / 2;
  const float ix = (kCx - mx), iy = (kCy - my), il = std::hypot(ix, iy);
  ax += ix / il * inset; ay += iy / il * inset; bx += ix / il * inset; by += iy / il * inset;
  const int pieces = dashed ? 9 : 1;
  for (int i = 0; i < pieces; i += dashed ? 2 : 1) {
    const float t0 = i / float(pieces), t1 = (i + 1) / float(pieces);
    cc.k.Line(ax + (bx - ax) * t0, ay + (by - ay) * t0, ax + (bx - ax) * t1, ay + (by - ay) * t1, width, col);
  }
  cc.Flush(c, ox, oy);
}

void DrawHexOutline(Canvas& c, int ox, int oy, float width, Col col) {
  CellCanvas cc;
  for (int k = 0; k < 6; ++k) {
    float ax, ay, bx, by;
    Vertex(k, ax, ay);
    Vertex(k + 1, bx, by);
    cc.k.Line(ax, ay, bx, by, width, col);
  }
  cc.Flush(c, ox, oy);
}

void DrawArrow(Canvas& c, int ox, int oy, int side) {
  CellCanvas cc;
  float ax, ay, bx, by;
  Vertex(side, ax, ay);
  Vertex(side + 1, bx, by);
  const float sx = (ax + bx) / 2, sy = (ay + by) / 2;
  const float dx = kCx - sx, dy = kCy - sy, len = std::hypot(dx, dy), ux = dx / len, uy = dy / len;
  const float tipX = sx + ux * 34, tipY = sy + uy * 34, baseX = sx + ux * 4, baseY = sy + uy * 4;
  for (int pass = 0; pass < 2; ++pass) {
    const Col col = pass == 0 ? Col{60, 0, 0, 220} : Col{220, 36, 28, 255};
    const float g = pass == 0 ? 1.6f : 0.0f;
    cc.k.Line(baseX, baseY, tipX - ux * 10, tipY - uy * 10, 7 + g * 2, col);
    cc.k.Polygon({tipX + ux * g, tipY + uy * g, tipX - ux * (14 + g) - uy * (10 + g), tipY - uy * (14 + g) + ux * (10 + g),
                  tipX - ux * (14 + g) + uy * (10 + g), tipY - uy * (14 + g) - ux * (10 + g)}, col);
  }
  cc.Flush(c, ox, oy);
}

void DrawWeatherOverlay(Canvas& c, int ox, int oy, int parity, int w) {
  if (w == kGood) return;  // good weather shows the map as it is
  CellCanvas cc;
  Rng rng(9000 + parity * 7 + w);
  if (w == kSnow) {
    cc.k.Polygon(HexPolygon(0), Col{255, 255, 255, 40});
    for (int i = 0; i < 40; ++i) {
      const float x = rng.Range(32, 134), y = rng.Range(38, 128);
      if (HexDist(x - kCx, y - kCy) < 2) continue;
      cc.k.Disc(x, y, rng.Range(0.8f, 1.8f), Col{255, 255, 255, 230});
    }
  } else {
    cc.k.Polygon(HexPolygon(0), Col{60, 50, 30, 40});
    for (int i = 0; i < 34; ++i) {
      const float x = rng.Range(34, 132), y = rng.Range(40, 124);
      if (HexDist(x - kCx, y - kCy) < 5) continue;
      cc.k.Line(x, y, x - 3, y + 7, 0.9f, Col{170, 190, 210, 200});
    }
  }
  cc.Flush(c, ox, oy);
}

void DrawFortification(Canvas& c, int ox, int oy, int level) {
  CellCanvas cc;
  const float r = 26;
  cc.k.Ring(kCx, kCy, r - 3.5f, r + 3.5f, Col{40, 36, 30, 200});
  cc.k.Ring(kCx, kCy, r - 2.5f, r + 2.5f, Col{150, 144, 130, 255});
  for (int i = 0; i < level; ++i) {
    const float a = -tooldraw::kPi / 2 + i * 2 * tooldraw::kPi / level;
    const float x = kCx + std::cos(a) * r, y = kCy + std::sin(a) * r;
    cc.k.Rect(x - 4.5f, y - 4.5f, 9, 9, Col{40, 36, 30, 230});
    cc.k.Rect(x - 3.5f, y - 3.5f, 7, 7, Col{182, 174, 156, 255});
  }
  cc.Flush(c, ox, oy);
}

Col Hue(float h, float a) {
  const float r = Clamp01(std::fabs(h * 6 - 3) - 1), g = Clamp01(2 - std::fabs(h * 6 - 2)), b = Clamp01(2 - std::fabs(h * 6 - 4));
  return Col{40 + 215 * r, 40 + 215 * g, 40 + 215 * b, a};
}

// The symbol of an air mission's target mark in the middle of its cell: a
// runway for a rebase, an eye for a reconnaissance of land, a bomb sight for
// a bombardment, the trefoil for a nuclear strike, a fighter's gun sight for
// an air fight. Other marks have none: the sea-zone mark (bit 14) lights a
// selected sea zone as well as a zone a reconnaissance may fly over, so it
// is a plain highlight of the zone's hexes.
void DrawMissionSymbol(tooldraw::Canvas& k, int bit, Col col) {
  const Col ink = Alpha(Scale(col, 0.55f), 235);
  const Col light = Col{250, 248, 236, 235};
  switch (bit) {
    case 7:  // rebase: a runway with its centre line
      k.Rect(kCx - 9, kCy - 30, 18, 60, Alpha(Col{60, 60, 64, 255}, 220));
      for (int i = 0; i < 4; ++i) k.Rect(kCx - 1.5f, kCy - 26 + i * 14, 3, 8, light);
      break;
    case 8:  // reconnaissance of land
      k.Ellipse(kCx, kCy, 26, 14, light);
      k.EllipseLine(kCx, kCy, 26, 14, 3, ink);
      k.Disc(kCx, kCy, 9, ink);
      k.Disc(kCx - 3, kCy - 3, 3, light);
      break;
    case 10:  // bombardment of a land hex
    case 16:  // bombardment of a sea zone
      k.Ring(kCx, kCy, 20, 24, ink);
      k.Ring(kCx, kCy, 8, 11, ink);
      k.Line(kCx - 34, kCy, kCx - 14, kCy, 3, ink);
      k.Line(kCx + 14, kCy, kCx + 34, kCy, 3, ink);
      k.Line(kCx, kCy - 34, kCx, kCy - 14, 3, ink);
      k.Line(kCx, kCy + 14, kCx, kCy + 34, 3, ink);
      break;
    case 12: {  // nuclear strike: three blades round a hub on yellow
      k.Disc(kCx, kCy, 30, Col{240, 210, 40, 235});
      for (int blade = 0; blade < 3; ++blade) {
        const float a = -tooldraw::kPi / 2 + blade * 2 * tooldraw::kPi / 3;
        std::vector<float> p = {kCx, kCy};
        for (int i = 0; i <= 8; ++i) {
          const float t = a - tooldraw::kPi / 6 + i * (tooldraw::kPi / 3) / 8;
          p.push_back(kCx + std::cos(t) * 26);
          p.push_back(kCy + std::sin(t) * 26);
        }
        k.Polygon(p, Col{20, 20, 20, 255});
      }
      k.Disc(kCx, kCy, 8, Col{240, 210, 40, 255});
      k.Disc(kCx, kCy, 5, Col{20, 20, 20, 255});
      break;
    }
    case 13:  // air fight: a ring sight with a dot
      k.Ring(kCx, kCy, 22, 26, ink);
      k.Line(kCx - 22, kCy, kCx - 8, kCy, 2.5f, ink);
      k.Line(kCx + 8, kCy, kCx + 22, kCy, 2.5f, ink);
      k.Line(kCx, kCy - 22, kCx, kCy - 8, 2.5f, ink);
      k.Disc(kCx, kCy, 3, ink);
      break;
    default:
      break;
  }
}

void DrawMark(Canvas& c, int ox, int oy, int bit) {
  CellCanvas cc;
  if (bit == 24) {
    // The dimmed mark: a dark veil over a hex that takes no order now.
    cc.k.Polygon(HexPolygon(0), Col{0, 0, 0, 110});
    cc.Flush(c, ox, oy);
    return;
  }
  const Col col = Hue(std::fmod(bit * 0.137f, 1.0f), 255);
  cc.k.Polygon(HexPolygon(3), Alpha(col, 70));
  DrawMissionSymbol(cc.k, bit, col);
  for (int k = 0; k < 6; ++k) {
    float ax, ay, bx, by;
    Vertex(k, ax, ay);
    Vertex(k + 1, bx, by);
    const float mx = (kCx - (ax + bx) / 2) * 0.06f, my = (kCy - (ay + by) / 2) * 0.06f;
    cc.k.Line(ax + mx, ay + my, bx + mx, by + my, 3, Alpha(col, 220));
  }
  cc.Flush(c, ox, oy);
}

void DrawCityTile(Canvas& c, int ox, int oy, int v, bool resources) {
  CellCanvas cc;
  Rng rng(11000 + v + (resources ? 50 : 0));
  if (resources) {
    // Pit heads and spoil heaps.
    for (int i = 0; i < 3; ++i) {
      const float x = kCx - 24 + i * 22 + rng.Range(-4, 4), y = kCy + rng.Range(-10, 14);
      cc.k.Ellipse(x + 8, y + 6, 9, 5, Col{60, 56, 52, 255});
      cc.k.Ellipse(x + 7, y + 5, 7, 3.5f, Col{96, 90, 84, 255});
      cc.k.Line(x - 5, y + 8, x, y - 12, 1.6f, Col{40, 30, 24, 255});
      cc.k.Line(x + 5, y + 8, x, y - 12, 1.6f, Col{40, 30, 24, 255});
      cc.k.Line(x - 3, y, x + 3, y, 1.2f, Col{40, 30, 24, 255});
      cc.k.Disc(x, y - 12, 2.2f, Col{90, 60, 40, 255});
    }
  } else {
    cc.k.Line(kCx - 46, kCy + 4, kCx + 46, kCy - 2, 4, Col{150, 146, 138, 230});
    cc.k.Line(kCx - 6, kCy - 40, kCx + 4, kCy + 42, 4, Col{150, 146, 138, 230});
    const Col roofs[4] = {{176, 68, 50, 255}, {150, 84, 60, 255}, {120, 118, 124, 255}, {190, 110, 70, 255}};
    const int n = 22 + v * 4;
    for (int i = 0; i < n; ++i) {
      const float a = rng.Range(0, 2 * tooldraw::kPi), d = std::sqrt(rng.Next()) * 30;
      const float x = kCx + std::cos(a) * d * 1.2f, y = kCy + std::sin(a) * d;
      const float bw = rng.Range(6, 10), bh = rng.Range(5, 8);
      cc.k.Rect(x - bw / 2 + 1.5f, y - bh / 2 + 1.5f, bw, bh, Col{30, 26, 22, 120});
      cc.k.Rect(x - bw / 2, y - bh / 2, bw, bh, roofs[i % 4]);
      cc.k.Rect(x - bw / 2, y - bh / 2, bw, bh / 2, Scale(roofs[i % 4], 1.2f));
    }
  }
  cc.Flush(c, ox, oy);
}

void DrawSeaMarker(Canvas& c, int ox, int oy, int size) {
  CellCanvas cc;
  const Col ring = size == 0 ? Col{230, 236, 244, 255} : Col{240, 210, 110, 255};
  cc.k.Disc(kCx, kCy, 17, Col{10, 30, 60, 200});
  cc.k.Ring(kCx, kCy, 13.5f, 16.5f, ring);
  if (size == 0) {
    // A compass star for a sea zone.
    for (int i = 0; i < 4; ++i) {
      const float a = i * tooldraw::kPi / 2, ca = std::cos(a), sa = std::sin(a);
      cc.k.Polygon({kCx + ca * 12, kCy + sa * 12, kCx - sa * 3, kCy + ca * 3, kCx + sa * 3, kCy - ca * 3}, ring);
    }
  } else {
    // An anchor and one pip per size step.
    cc.k.Line(kCx, kCy - 8, kCx, kCy + 8, 2.2f, ring);
    cc.k.Line(kCx - 5, kCy - 5, kCx + 5, kCy - 5, 2, ring);
    cc.k.Ring(kCx, kCy - 10, 1.5f, 3, ring);
    cc.k.Arc(kCx, kCy + 1, 8, 0.3f, tooldraw::kPi - 0.3f, 2, ring);
    for (int i = 0; i < size; ++i) {
      const float a = -tooldraw::kPi / 2 + (i - (size - 1) / 2.0f) * 0.36f;
      cc.k.Disc(kCx + std::cos(a) * 22, kCy + std::sin(a) * 22, 2.4f, ring);
    }
  }
  cc.Flush(c, ox, oy);
}

// Small icons of the city appearance, drawn into a canvas at (x, y).
void DrawIcon(Canvas& c, int x, int y, int size, int kind, int level) {
  Canvas k(size * 4, size * 4, 4.0f);
  const float s = size;
  switch (kind) {
    case 0:  // fortification of a level (level 0 is clear)
      if (level > 0) {
        k.Rect(s * 0.15f, s * 0.35f, s * 0.7f, s * 0.55f, Col{60, 56, 50, 255});
        k.Rect(s * 0.2f, s * 0.4f, s * 0.6f, s * 0.45f, Col{176, 168, 150, 255});
        for (int i = 0; i < std::min(level, 5); ++i)
          k.Rect(s * 0.16f + i * s * 0.14f, s * 0.22f, s * 0.1f, s * 0.16f, Col{60, 56, 50, 255});
        if (level > 5) k.Disc(s * 0.5f, s * 0.62f, s * 0.12f, Col{200, 40, 30, 255});
      }
      break;
    case 1:  // city
      k.Disc(s / 2, s / 2, s * 0.45f, Col{20, 20, 20, 255});
      k.Disc(s / 2, s / 2, s * 0.36f, Col{240, 236, 220, 255});
      k.Rect(s * 0.3f, s * 0.38f, s * 0.14f, s * 0.3f, Col{60, 60, 70, 255});
      k.Rect(s * 0.47f, s * 0.28f, s * 0.14f, s * 0.4f, Col{60, 60, 70, 255});
      k.Rect(s * 0.64f, s * 0.44f, s * 0.08f, s * 0.24f, Col{60, 60, 70, 255});
      break;
    case 2:  // port
      k.Disc(s / 2, s / 2, s * 0.46f, Col{20, 50, 110, 255});
      k.Line(s / 2, s * 0.22f, s / 2, s * 0.78f, s * 0.09f, Col{255, 255, 255, 255});
      k.Line(s * 0.34f, s * 0.34f, s * 0.66f, s * 0.34f, s * 0.08f, Col{255, 255, 255, 255});
      k.Arc(s / 2, s * 0.5f, s * 0.26f, 0.3f, tooldraw::kPi - 0.3f, s * 0.08f, Col{255, 255, 255, 255});
      break;
    case 3:  // supply
      k.Rect(s * 0.12f, s * 0.2f, s * 0.76f, s * 0.6f, Col{60, 40, 20, 255});
      k.Rect(s * 0.17f, s * 0.25f, s * 0.66f, s * 0.5f, Col{196, 150, 80, 255});
      k.Line(s * 0.17f, s * 0.25f, s * 0.83f, s * 0.75f, s * 0.07f, Col{120, 80, 40, 255});
      k.Line(s * 0.83f, s * 0.25f, s * 0.17f, s * 0.75f, s * 0.07f, Col{120, 80, 40, 255});
      break;
    case 4:  // resources
      k.Polygon({s * 0.5f, s * 0.1f, s * 0.9f, s * 0.5f, s * 0.5f, s * 0.9f, s * 0.1f, s * 0.5f}, Col{30, 30, 30, 255});
      k.Polygon({s * 0.5f, s * 0.2f, s * 0.8f, s * 0.5f, s * 0.5f, s * 0.8f, s * 0.2f, s * 0.5f}, Col{120, 200, 220, 255});
      break;
    case 5: {  // victory points: a star
      std::vector<float> p;
      for (int i = 0; i < 10; ++i) {
        const float a = -tooldraw::kPi / 2 + i * tooldraw::kPi / 5, r = (i % 2 ? 0.2f : 0.47f) * s;
        p.push_back(s / 2 + std::cos(a) * r);
        p.push_back(s / 2 + std::sin(a) * r);
      }
      k.Polygon(p, Col{60, 40, 0, 255});
      for (size_t i = 0; i < p.size(); i += 2) {
        p[i] = s / 2 + (p[i] - s / 2) * 0.78f;
        p[i + 1] = s / 2 + (p[i + 1] - s / 2) * 0.78f;
      }
      k.Polygon(p, Col{250, 210, 60, 255});
      break;
    }
  }
  k.DownsampleInto(c, 4, x, y);
}

// ---------------------------------------------------------------- eye candy

void DrawEyeCandy(Canvas& c, int ox, int oy, int d, int w) {
  CellCanvas cc;
  const bool snow = w == kSnow, mud = w == kMud;
  const Col roof = snow ? Col{240, 242, 246, 255} : Col{168, 70, 50, 255};
  const Col wall = mud ? Col{170, 150, 120, 255} : Col{226, 214, 190, 255};
  auto house = [&](float x, float y, float s) {
    cc.k.Rect(x + 2, y + 2, 12 * s, 8 * s, Col{0, 0, 0, 80});
    cc.k.Rect(x, y, 12 * s, 8 * s, wall);
    cc.k.Polygon({x - 1, y, x + 6 * s, y - 6 * s, x + 12 * s + 1, y}, roof);
  };
  switch (d) {
    case 0:
      house(60, 70, 1.0f); house(80, 64, 1.2f); house(72, 86, 1.0f); house(94, 82, 0.9f);
      break;
    case 1:
      cc.k.Polygon({76, 100, 80, 62, 86, 62, 90, 100}, wall);
      cc.k.Polygon({76, 62, 83, 52, 90, 62}, roof);
      for (int i = 0; i < 4; ++i) {
        const float a = 0.6f + i * tooldraw::kPi / 2;
        cc.k.Line(83, 62, 83 + std::cos(a) * 22, 62 + std::sin(a) * 22, 3, Col{90, 70, 50, 255});
      }
      break;
    case 2:
      cc.k.Polygon({76, 104, 79, 50, 87, 50, 90, 104}, Col{240, 240, 240, 255});
      for (int i = 0; i < 3; ++i) cc.k.Rect(77.5f + i * 0.5f, 62 + i * 14, 11 - i, 6, Col{200, 40, 40, 255});
      cc.k.Rect(77, 42, 12, 8, Col{250, 230, 120, 255});
      cc.k.Polygon({76, 42, 83, 34, 90, 42}, Col{60, 60, 60, 255});
      break;
    case 3:
      cc.k.Rect(60, 66, 46, 30, Col{120, 116, 108, 255});
      cc.k.Rect(60, 66, 46, 6, snow ? Col{240, 242, 246, 255} : Col{150, 146, 138, 255});
      for (int i = 0; i < 5; ++i) cc.k.Rect(60 + i * 10, 60, 6, 7, Col{120, 116, 108, 255});
      cc.k.Rect(78, 80, 10, 16, Col{40, 34, 30, 255});
      break;
    case 4:
      for (int i = 0; i < 3; ++i) {
        const float x = 64 + i * 16, y = 80 - (i % 2) * 6;
        cc.k.Rect(x, y, 14, 16, Col{190, 190, 196, 255});
        cc.k.Ellipse(x + 7, y, 7, 3, snow ? Col{244, 246, 250, 255} : Col{150, 150, 160, 255});
      }
      break;
    case 5:
      cc.k.Rect(80, 80, 6, 22, Col{90, 62, 40, 255});
      cc.k.Disc(83, 70, 20, snow ? Col{230, 234, 240, 255} : mud ? Col{70, 90, 40, 255} : Col{40, 100, 40, 255});
      cc.k.Disc(77, 64, 10, snow ? Col{250, 252, 255, 255} : Col{80, 140, 60, 255});
      break;
  }
  cc.Flush(c, ox, oy);
}

// ---------------------------------------------------------------- units

struct Drawer {
  Canvas k;
  float x0, y0;
  Drawer(int w, int h) : k(w * 4, h * 4, 4.0f), x0(0), y0(0) {}
};

// NATO-style symbol box of a land kind in a 128 x 100 cell.
void DrawLandSymbol(Canvas& k, int kind, int level, bool corps) {
  const Col ink{20, 20, 24, 255};
  const float l = 28, t = 30, w = 72, h = 44;
  k.Rect(l, t, w, h, Col{255, 255, 255, 120});
  const float lw = 3.0f;
  k.Rect(l, t, w, lw, ink); k.Rect(l, t + h - lw, w, lw, ink);
  k.Rect(l, t, lw, h, ink); k.Rect(l + w - lw, t, lw, h, ink);
  if (corps) {
    k.Rect(l - 4, t - 4, w + 8, 1.8f, ink); k.Rect(l - 4, t + h + 2.2f, w + 8, 1.8f, ink);
    k.Rect(l - 4, t - 4, 1.8f, h + 8, ink); k.Rect(l + w + 2.2f, t - 4, 1.8f, h + 8, ink);
  }
  const bool cross = kind == 0 || kind == 1 || kind == 3;  // infantry, mechanized, airborne
  const bool oval = kind == 1 || kind == 2;                 // mechanized, armour
  if (cross) {
    k.Line(l, t, l + w, t + h, 2.6f, ink);
    k.Line(l + w, t, l, t + h, 2.6f, ink);
  }
  if (oval) k.EllipseLine(l + w / 2, t + h / 2, w * 0.3f, h * 0.24f, 3.0f, ink);
  if (kind == 3) k.Arc(l + w / 2, t + h * 0.52f, 14, 0.35f, tooldraw::kPi - 0.35f, 2.6f, ink);  // canopy
  if (kind == 4) {  // harbour: an anchor
    k.Line(l + w / 2, t + 8, l + w / 2, t + h - 6, 3, ink);
    k.Line(l + w / 2 - 9, t + 14, l + w / 2 + 9, t + 14, 3, ink);
    k.Arc(l + w / 2, t + h / 2 + 2, 14, 0.3f, tooldraw::kPi - 0.3f, 3, ink);
  }
  // Level: chevrons under the box.
  for (int i = 0; i < level; ++i) {
    const float cx = 64 - (level - 1) * 6 + i * 12;
    k.Line(cx - 4, 82, cx, 86, 2, ink);
    k.Line(cx, 86, cx + 4, 82, 2, ink);
  }
}

void DrawAircraft(Canvas& k, int type, int level) {
  const Col body{24, 28, 34, 255};
  const float cx = 64, cy = 46;
  if (type == 0) {  // fighter: slim body, straight wings
    k.Ellipse(cx, cy, 4, 24, body);
    k.Polygon({cx - 30, cy - 2, cx + 30, cy - 2, cx + 26, cy + 6, cx - 26, cy + 6}, body);
    k.Polygon({cx - 12, cy + 18, cx + 12, cy + 18, cx + 10, cy + 23, cx - 10, cy + 23}, body);
    k.Ellipse(cx, cy - 8, 2.5f, 5, Col{140, 180, 220, 255});
  } else if (type == 1) {  // tactical bomber: twin engines
    k.Ellipse(cx, cy, 5, 26, body);
    k.Polygon({cx - 38, cy - 4, cx + 38, cy - 4, cx + 34, cy + 5, cx - 34, cy + 5}, body);
    k.Ellipse(cx - 16, cy - 3, 4, 9, body);
    k.Ellipse(cx + 16, cy - 3, 4, 9, body);
    k.Polygon({cx - 14, cy + 20, cx + 14, cy + 20, cx + 12, cy + 25, cx - 12, cy + 25}, body);
  } else {  // strategic bomber: four engines, long wings
    k.Ellipse(cx, cy, 5.5f, 30, body);
    k.Polygon({cx - 48, cy - 1, cx + 48, cy - 1, cx + 44, cy + 7, cx - 44, cy + 7}, body);
    for (int i : {-30, -15, 15, 30}) k.Ellipse(cx + i, cy - 2, 3.5f, 8, body);
    k.Polygon({cx - 16, cy + 24, cx + 16, cy + 24, cx + 14, cy + 29, cx - 14, cy + 29}, body);
  }
  for (int i = 0; i < level; ++i) {
    const float x = 64 - (level - 1) * 6 + i * 12;
    k.Line(x - 4, 84, x, 88, 2, body);
    k.Line(x, 88, x + 4, 84, 2, body);
  }
}

// A ship's silhouette in its cell: the profile in near-black with light
// deck lines, a bow wave and the wake at the waterline (y 64), clear of the
// flag (top left), the battle markers (top right) and the hit-point strip
// (below y 72).
void DrawShip(Canvas& k, int type) {
  const tooldraw::ShipInk ink{Col{26, 30, 38, 255}, Col{50, 56, 66, 255}, Col{176, 184, 194, 255},
                              Col{10, 12, 16, 255}, Col{128, 106, 74, 255}};
  const Col foam{255, 255, 255, 150};
  k.Ellipse(64, 65, 56, 1.4f, Col{255, 255, 255, 80});
  k.Polygon({4, 66, 14, 62, 24, 66}, foam);
  for (int i = 0; i < 3; ++i) k.Rect(112 + i * 4.0f, 64.4f + i * 0.9f, 7.0f - i, 0.9f, foam);
  tooldraw::ShipPen pen(k, 0, 0, 1);
  tooldraw::DrawShipProfile(pen, type, ink);
}

// The ship counter's background (tinted with the country colour by the
// game): light above, a band of sea with a few crests under the waterline.
void DrawShipBackground(Canvas& k) {
  tooldraw::VGradient(k, 0, 0, 128, 100, Col{255, 255, 255, 255}, Col{218, 218, 218, 255});
  tooldraw::VGradient(k, 0, 63, 128, 11, Col{196, 196, 196, 255}, Col{232, 232, 232, 255});
  for (int i = 0; i < 8; ++i) {
    const float x = 8 + i * 15.5f, y = 68.5f + (i % 2) * 2.5f;
    k.Arc(x, y, 3.5f, tooldraw::kPi * 1.15f, tooldraw::kPi * 1.85f, 0.8f, Col{160, 160, 160, 255});
  }
  tooldraw::Bevel(k, 0, 0, 128, 100, 4, Col{255, 255, 255, 255}, Col{150, 150, 150, 255});
}

// A white counter background (tinted with the country colour by the game).
void DrawCounterBackground(Canvas& k) {
  tooldraw::VGradient(k, 0, 0, 128, 100, Col{255, 255, 255, 255}, Col{200, 200, 200, 255});
  tooldraw::Bevel(k, 0, 0, 128, 100, 4, Col{255, 255, 255, 255}, Col{150, 150, 150, 255});
}

bool MakeUnitsSheet(const std::string& path) {
  Canvas sheet(1024, 1000);
  auto cell = [&](int x, int y, auto draw) {
    Canvas k(128 * 4, 100 * 4, 4.0f);
    draw(k);
    k.DownsampleInto(sheet, 4, x, y);
  };
  for (int kind = 0; kind < 4; ++kind)
    for (int corps = 0; corps < 2; ++corps)
      for (int level = 1; level <= 5; ++level)
        cell(kind * 128, (level - 1) * 100 + corps * 500, [&](Canvas& k) { DrawLandSymbol(k, kind, level, corps); });
  cell(512, 600, [&](Canvas& k) { DrawLandSymbol(k, 4, 0, false); });
  cell(640, 500, [&](Canvas& k) { DrawCounterBackground(k); });
  cell(768, 500, [&](Canvas& k) { DrawCounterBackground(k); });
  for (int type = 0; type < 3; ++type)
    for (int level = 1; level <= 5; ++level)
      cell(512 + 128 * type, (level - 1) * 100, [&](Canvas& k) { DrawAircraft(k, type, level); });
  for (int type = 0; type < 6; ++type) cell(896, 100 * type, [&](Canvas& k) { DrawShip(k, type); });
  cell(896, 600, [&](Canvas& k) { DrawShipBackground(k); });
  return Save(sheet, path);
}

bool MakeInfoSheet(const std::string& path) {
  Canvas sheet(512, 128);
  {
    Canvas k(128 * 4, 100 * 4, 4.0f);
    k.Rect(0, 0, 128, 4, Col{20, 20, 20, 255}); k.Rect(0, 96, 128, 4, Col{20, 20, 20, 255});
    k.Rect(0, 0, 4, 100, Col{20, 20, 20, 255}); k.Rect(124, 0, 4, 100, Col{20, 20, 20, 255});
    k.Rect(4, 4, 120, 2, Col{255, 255, 255, 160}); k.Rect(4, 4, 2, 92, Col{255, 255, 255, 160});
    k.Rect(4, 94, 120, 2, Col{0, 0, 0, 100}); k.Rect(122, 4, 2, 92, Col{0, 0, 0, 100});
    k.DownsampleInto(sheet, 4, 0, 0);
  }
  auto icon = [&](int x, int y, int w, int h, auto draw) {
    Canvas k(w * 4, h * 4, 4.0f);
    draw(k);
    k.DownsampleInto(sheet, 4, x, y);
  };
  const Col ink{20, 20, 24, 255};
  for (int level = 1; level <= 5; ++level)
    icon(128, (level - 1) * 12, 40, 12, [&](Canvas& k) {
      for (int i = 0; i < level; ++i) {
        k.Disc(4 + i * 8, 6, 3.4f, ink);
        k.Disc(4 + i * 8, 6, 2.4f, Col{250, 210, 60, 255});
      }
    });
  for (int size = 0; size < 2; ++size)
    icon(176, size * 12, 40, 12, [&](Canvas& k) {
      const int n = size == 0 ? 2 : 3;
      for (int i = 0; i < n; ++i) {
        const float x = 20 - (n - 1) * 5 + i * 10;
        k.Line(x - 3.5f, 2, x + 3.5f, 10, 1.8f, ink);
        k.Line(x + 3.5f, 2, x - 3.5f, 10, 1.8f, ink);
      }
    });
  // Round markers: colour, symbol; the second row is the blink state.
  auto marker = [&](int x, Col col, int symbol) {
    for (int row = 0; row < 2; ++row)
      icon(x, row * 20, 20, 20, [&](Canvas& k) {
        const Col face = row == 0 ? col : Mix(col, Col{255, 255, 255, 255}, 0.55f);
        k.Disc(10, 10, 9, ink);
        k.Disc(10, 10, 7.6f, face);
        const Col sym{255, 255, 255, 255};
        switch (symbol) {
          case 0: k.Polygon({6, 5, 15, 10, 6, 15}, sym); break;                         // move arrow
          case 1: k.Rect(8.6f, 4, 2.8f, 8, sym); k.Disc(10, 15, 1.6f, sym); break;      // "!"
          case 2: k.Rect(8.8f, 4.5f, 2.4f, 11, sym); k.Rect(4.5f, 8.8f, 11, 2.4f, sym); break;  // plus
          case 3:
            for (int i = 0; i < 3; ++i) {
              const float a = i * tooldraw::kPi / 3;
              k.Line(10 - std::cos(a) * 6, 10 - std::sin(a) * 6, 10 + std::cos(a) * 6, 10 + std::sin(a) * 6, 1.6f, sym);
            }
            break;
          case 4: {
            std::vector<float> p;
            for (int i = 0; i < 10; ++i) {
              const float a = -tooldraw::kPi / 2 + i * tooldraw::kPi / 5, r = i % 2 ? 2.5f : 6.0f;
              p.push_back(10 + std::cos(a) * r);
              p.push_back(10 + std::sin(a) * r);
            }
            k.Polygon(p, sym);
            break;
          }
          case 5: k.Disc(10, 10, 3.5f, sym); break;
          case 6: k.Line(5, 15, 15, 5, 2.4f, sym); k.Line(5, 5, 15, 15, 2.4f, sym); break;  // crossed
          default: k.Polygon({4, 10, 10, 4, 16, 10, 10, 16}, sym); break;
        }
      });
  };
  marker(224, Col{40, 150, 60, 255}, 0);   // action points
  marker(248, Col{210, 70, 30, 255}, 1);   // low supply
  marker(272, Col{40, 100, 200, 255}, 2);  // replacements
  marker(296, Col{110, 180, 230, 255}, 3); // frozen
  marker(320, Col{190, 150, 30, 255}, 4);  // commander (second row: HQ)
  marker(344, Col{30, 170, 80, 255}, 5);   // ready
  marker(368, Col{180, 30, 30, 255}, 6);   // naval battle
  marker(392, Col{90, 90, 110, 255}, 7);   // battle side
  // The ship's hit-point bar: the empty track, and the filling that the game
  // tints with the country's light colour.
  icon(416, 0, 40, 8, [&](Canvas& k) {
    k.Rect(0, 0, 40, 8, ink);
    tooldraw::VGradient(k, 1, 1, 38, 6, Col{52, 54, 60, 255}, Col{86, 88, 96, 255});
  });
  icon(416, 8, 40, 8, [&](Canvas& k) {
    tooldraw::VGradient(k, 0, 0, 40, 8, Col{255, 255, 255, 255}, Col{196, 196, 196, 255});
  });
  return Save(sheet, path);
}

// ---------------------------------------------------------------- tables

std::string Row(std::initializer_list<int> v) {
  std::string s;
  for (int x : v) {
    if (!s.empty()) s += ';';
    s += std::to_string(x);
  }
  s += '\n';
  return s;
}
std::string Style(const char* face, int height, int weightCode, int r, int g, int b, int r2, int g2, int b2) {
  return std::string(";") + face + ";" + std::to_string(height) + ";" + std::to_string(weightCode) + ";" +
         std::to_string(r) + ";" + std::to_string(g) + ";" + std::to_string(b) + ";" + std::to_string(r2) + ";" +
         std::to_string(g2) + ";" + std::to_string(b2);
}
std::string TextLine(int l, int t, int w, int h, const std::string& style) {
  return std::to_string(l) + ";" + std::to_string(t) + ";" + std::to_string(w) + ";" + std::to_string(h) + style + "\n";
}

// The zoom bands of the counters and cities, the nearest first; a band
// holds while the zoom in per cent is below its threshold and at least the
// next band's. In every band the names a hex shows keep clear of its
// counter: the unit's name right under the counter, the city's name at the
// bottom of the hex under it, so that a unit standing on a city covers only
// its pictures. Each name is at least 9 pixels high on the screen at the
// band's lowest zoom; where it could not be read any more it is not drawn
// (the unit names below 50 %, the city names below 32 %), and the counter
// takes the room. A ship shows two lines of names (its own and its
// fleet's), which leave a counter room enough only in the nearest band
// (below 70 % a ship is drawn without names, as large as a land unit; the
// fleets dialog of its port or zone names it). The numbers on the counters
// and at the cities grow as the zoom falls.
struct sZoomBand {
  const char* name;
  int threshold;
  int unitName;       // font height of a land or air unit's name; 0: not drawn
  int shipNames;      // font height of a ship's two names; 0: not drawn
  int cityName;       // font height of a city's name; 0: not drawn
  int counterGrowth;  // steps by which the counter's numbers grow
  int cityNumbers;    // font height of a city's numbers; 0: not drawn
  bool far;           // no small markers on the counter
};
constexpr sZoomBand kZoomBands[] = {
    {"Normal", 10000, 14, 14, 14, 0, 14, false},  // 70 % and more
    {"Middle", 70, 18, 0, 18, 0, 17, false},      // 50 to 69 %
    {"Far", 50, 0, 0, 29, 2, 20, true},           // 32 to 49 %
    {"Overview", 32, 0, 0, 0, 2, 0, true},        // below 32 %
};

// The hex spans rows 34 to 132 of its 166-pixel cell, columns 28 to 138;
// a counter is drawn from the 96 x 75 design at (35, 44).
constexpr int kHexTop = 34, kHexBottom = 132;
constexpr float kDesignCentreX = 83.0f, kDesignCentreY = 81.5f;

int NameBand(int font) { return font > 0 ? font + 2 : 0; }

// Where the band puts the counter: the design scaled and moved into the
// hex above the names.
struct sCounterPlace {
  float scale;
  float centreY;
  int Left(int x) const { return static_cast<int>(std::lround(kDesignCentreX + (x - kDesignCentreX) * scale)); }
  int Top(int y) const { return static_cast<int>(std::lround(centreY + (y - kDesignCentreY) * scale)); }
  int Size(int v) const { return std::max(1, static_cast<int>(std::lround(v * scale))); }
  // A box of the design given as left, top, width, height.
  std::string Box(int l, int t, int w, int h) const { return Row({Left(l), Top(t), Size(w), Size(h)}); }
  std::string Text(int l, int t, int w, int h, const std::string& style) const {
    return TextLine(Left(l), Top(t), Size(w), Size(h), style);
  }
};

// The counter above its names: a land or air unit shows one line (font
// unitName), a ship two (font shipNames: the ship's name and its fleet's).
sCounterPlace PlaceCounter(const sZoomBand& band, int nameFont, int nameLines) {
  const int top = kHexTop + 2;
  const int bottom = kHexBottom - NameBand(band.cityName) - nameLines * NameBand(nameFont) - 1;
  const float scale = std::min(1.0f, static_cast<float>(bottom - top) / 75.0f);
  return {scale, (top + bottom) / 2.0f};
}

// The first line of the unit's names under the counter (a second one lies
// under it), or an empty box with a face.
std::string UnitNameLine(const sZoomBand& band, int nameFont, int nameLines) {
  const int h = NameBand(nameFont);
  if (h == 0) return TextLine(0, 0, 0, 0, Style("Arial", 14, 75, 255, 255, 255, 0, 0, 0));
  const int top = kHexBottom - NameBand(band.cityName) - nameLines * h;
  return TextLine(8, top, 150, h, Style("Arial", nameFont, 75, 255, 255, 255, 0, 0, 0));
}

// A marker the far bands leave out.
std::string Marker(const sCounterPlace& at, const sZoomBand& band, int l, int t) {
  return band.far ? Row({0, 0, 0, 0}) : at.Box(l, t, 13, 13);
}

// One source rectangle of the marker sheet and the box of the design it is
// drawn into (left, top, width, height); a small marker the far bands
// leave out.
struct sCounterPart {
  int sx, sy, sw, sh;  // source: left, top, width, height
  int l, t, w, h;
  bool smallMarker;
};

// A land or air group: the band's name and threshold, the parts, then the
// name, the action points, the strength, the flag and the counter.
std::string CounterGroup(const sZoomBand& band, std::initializer_list<sCounterPart> parts) {
  const sCounterPlace at = PlaceCounter(band, band.unitName, 1);
  const int ts = band.counterGrowth;
  std::string s = std::string(band.name) + "\n" + std::to_string(band.threshold) + "\n";
  for (const sCounterPart& p : parts) {
    s += Row({p.sx, p.sy, p.sw, p.sh});
    s += p.smallMarker ? Marker(at, band, p.l, p.t) : at.Box(p.l, p.t, p.w, p.h);
  }
  s += UnitNameLine(band, band.unitName, 1);  // name
  s += at.Text(36, 94, 24, 22, Style("Arial", 14 + ts * 2, 75, 20, 20, 20, 255, 255, 255));  // action points
  s += at.Text(60, 97, 46, 22, Style("Arial", 18 + ts * 3, 87, 20, 20, 20, 255, 255, 255));  // strength
  s += at.Box(39, 48, 26, 17);  // flag
  s += at.Box(35, 44, 96, 75);  // counter
  return s;
}

// Land: A0-A8 with B0-B8, then B9 name, B10 AP, B11 strength, B12 flag,
// B13 counter.
std::string LandGroup(const sZoomBand& band) {
  return CounterGroup(band, {{0, 0, 128, 100, 35, 44, 96, 75, false},     // frame
                             {128, 0, 40, 12, 99, 48, 28, 9, false},      // level
                             {176, 0, 40, 12, 69, 48, 28, 9, false},      // size
                             {224, 0, 20, 20, 38, 76, 13, 13, true},      // action points
                             {248, 0, 20, 20, 116, 88, 13, 13, true},     // low supply
                             {272, 0, 20, 20, 116, 74, 13, 13, true},     // replacements
                             {296, 0, 20, 20, 116, 102, 13, 13, false},   // frozen
                             {320, 0, 20, 20, 116, 60, 13, 13, false},    // commander
                             {344, 0, 20, 20, 38, 60, 13, 13, false}});   // ready
}

// Air: A0-A6 with B0-B6, then B7 name, B8 AP, B9 strength, B10 flag, B11
// counter.
std::string AirGroup(const sZoomBand& band) {
  return CounterGroup(band, {{0, 0, 128, 100, 35, 44, 96, 75, false},     // frame
                             {128, 0, 40, 12, 99, 48, 28, 9, false},      // level
                             {224, 0, 20, 20, 38, 76, 13, 13, true},      // action points
                             {248, 0, 20, 20, 116, 88, 13, 13, true},     // low supply
                             {272, 0, 20, 20, 116, 74, 13, 13, true},     // replenish
                             {320, 0, 20, 20, 116, 60, 13, 13, false},    // commander
                             {344, 0, 20, 20, 38, 60, 13, 13, false}});   // ready
}

std::string NavalGroup(const sZoomBand& band) {
  // Never larger than the land units of the band.
  sCounterPlace at = PlaceCounter(band, band.shipNames, 2);
  at.scale = std::min(at.scale, PlaceCounter(band, band.unitName, 1).scale);
  const int ts = band.counterGrowth;
  std::string s = std::string(band.name) + "\n" + std::to_string(band.threshold) + "\n";
  s += Row({0, 0, 128, 100}) + at.Box(35, 44, 96, 75);    // A0 B0 frame
  s += Row({368, 0, 20, 20}) + at.Box(113, 47, 15, 15);   // A1 B1 battle
  s += Row({392, 0, 20, 20}) + at.Box(97, 47, 15, 15);    // A2 B2 battle side
  s += at.Box(35, 44, 96, 75);                             // B3 ship picture
  s += UnitNameLine(band, band.shipNames, 2);              // B4 names
  s += at.Text(84, 98, 46, 20, Style("Arial", 15 + ts * 3, 87, 255, 255, 255, 0, 0, 0));  // B5 hit points
  s += at.Box(39, 48, 26, 17);                             // B6 flag
  s += at.Box(40, 104, 44, 8);                             // B7 hit-point bar
  return s;
}

// The city's pictures around the middle of the hex and its name at the
// bottom; the farther bands draw its numbers larger, the overview none.
std::string CityEntry(const sZoomBand& band) {
  const int numbers = band.cityNumbers;
  const int h = NameBand(band.cityName);
  std::string s = std::to_string(band.threshold) + "\n";
  s += Row({1300, 1220, 32, 32}) + Row({67, 60, 99, 92});     // A0 B0 city
  s += Row({1003, 1170, 24, 24}) + Row({41, 68, 65, 92});     // A1 B1 fortification
  s += Row({1340, 1220, 24, 24}) + Row({101, 68, 125, 92});   // A2 B2 port
  s += Row({1370, 1220, 24, 24}) + Row({71, 36, 95, 60});     // A3 B3 supply
  s += Row({1400, 1220, 24, 24}) + Row({71, 36, 95, 60});     // A4 B4 resources
  s += Row({1430, 1220, 24, 24}) + Row({101, 40, 125, 64});   // A5 B5 victory points
  s += h > 0 ? TextLine(8, kHexBottom - h, 150, h, Style("Arial", band.cityName, 87, 255, 255, 255, 0, 0, 0))
             : TextLine(0, 0, 0, 0, Style("Arial", 15, 87, 255, 255, 255, 0, 0, 0));  // B6 name
  s += numbers > 0 ? TextLine(30, 40, 40, numbers + 6, Style("Arial", numbers, 87, 250, 230, 120, 0, 0, 0))
                   : TextLine(0, 0, 0, 0, Style("Arial", 14, 87, 250, 230, 120, 0, 0, 0));  // B7 production
  s += numbers > 0 ? TextLine(112, 64, 30, numbers + 6, Style("Arial", numbers, 87, 255, 220, 60, 0, 0, 0))
                   : TextLine(0, 0, 0, 0, Style("Arial", 14, 87, 255, 220, 60, 0, 0, 0));  // B8 victory
  s += Row({53, 58, 113, 98});                                 // B9 flag (political map)
  s += Row({0, 0, 0, 0});                                      // B10
  return s;
}

bool MakeTables(const std::string& map, const std::string& units) {
  std::string depth =
      "# Sprite depth levels of the map layers, one line per layer in order:\n"
      "# water, (unused), plain, desert, swamp, hill, mountain, rivers, rough, forest,\n"
      "# marks, ownership tint, grid, cities and fortifications, units, selected unit,\n"
      "# weather overlay, borders. A higher level lies nearer the eye (at most 39).\n";
  const char* names[18] = {"water", "unused", "plain", "desert", "swamp", "hill", "mountain", "rivers", "rough",
                           "forest", "marks", "tint", "grid", "cities", "units", "selected unit", "weather",
                           "borders"};
  for (int k = 0; k < 18; ++k) depth += std::to_string(2 * k) + ";" + names[k] + "\n";
  std::string city =
      "; Cities appearance. \"#AP\" (the action-points label of the map: left; top; width; height;\n"
      "; face; height; weight; R; G; B; shadow R; G; B) opens the first entry; each further \"#\"\n"
      "; line closes an entry and opens the next, so the file ends with one.\n"
      "#AP;53;70;60;26;Arial;20;87;255;255;255;0;0;0\n";
  std::string land = "# Land counters: name, zoom threshold, then the rectangles and boxes of each band\n";
  std::string air = "# Air counters\n";
  std::string naval = "# Naval counters\n";
  for (const sZoomBand& band : kZoomBands) {
    city += CityEntry(band) + "#\n";
    land += LandGroup(band);
    air += AirGroup(band);
    naval += NavalGroup(band);
  }
  return WriteText(map + "/sprites_depth.csv", depth) && WriteText(map + "/appearance.csv", city) &&
         WriteText(units + "/land_units.csv", land) && WriteText(units + "/air_units.csv", air) &&
         WriteText(units + "/naval_units.csv", naval);
}

// ---------------------------------------------------------------- sheets

bool MakeTerrainSheet(const std::string& path) {
  Canvas sheet(12 * kGrid, 12 * kGrid);
  for (int t = 0; t < 8; ++t)
    for (int w = 0; w < 3; ++w)
      for (int v = 0; v < 6; ++v) {
        const int ox = TerrainLeft(t, v), oy = TerrainTop(t, w);
        switch (t) {
          case kWater:
            if (w == kGood) DrawWater(sheet, ox, oy, v);
            else DrawRiverMouth(sheet, ox, oy, v, w - 1);  // column = side, row = parity
            break;
          case kPlain: DrawPlain(sheet, ox, oy, v, w); break;
          case kForest: DrawForest(sheet, ox, oy, v, w); break;
          case kRough: DrawRough(sheet, ox, oy, v, w); break;
          case kSwamp: DrawSwamp(sheet, ox, oy, v, w); break;
          case kHill: DrawHill(sheet, ox, oy, v, w); break;
          case kMountain: DrawMountain(sheet, ox, oy, v, w); break;
          case kDesert: DrawDesert(sheet, ox, oy, v, w); break;
        }
      }
  return Save(sheet, path);
}

bool MakeOthersSheet(const std::string& path) {
  Canvas sheet(12 * kGrid, 12 * kGrid);
  for (int side = 1; side <= 3; ++side)
    for (int odd = 0; odd < 2; ++odd) DrawRiverSide(sheet, 1 + (side - 1) * 334 + odd * kGrid, 1, side, odd);
  const Col alliance[6] = {{200, 60, 50, 255}, {60, 100, 200, 255}, {70, 160, 70, 255},
                           {210, 170, 50, 255}, {150, 80, 170, 255}, {60, 170, 170, 255}};
  for (int a = 0; a < 6; ++a) {
    const Col base = alliance[a];
    FillHex(sheet, CellLeft(a), CellTop(1), [&](float, float) { return base; });
  }
  FillHex(sheet, CellLeft(0), CellTop(2), [&](float, float) { return Col{196, 188, 164, 255}; });
  // Controller tint: stripes; owner tint: a light wash with a stronger rim.
  FillHex(sheet, CellLeft(1), CellTop(2), [&](float x, float y) {
    return std::fmod(x + y, 12.0f) < 5 ? Col{255, 255, 255, 120} : Col{255, 255, 255, 30};
  }, 0.0f);
  FillHex(sheet, CellLeft(2), CellTop(2), [&](float x, float y) {
    return HexDist(x - kCx, y - kCy) < 6 ? Col{255, 255, 255, 150} : Col{255, 255, 255, 70};
  }, 0.0f);
  DrawHexOutline(sheet, CellLeft(5), CellTop(2), 1.0f, Col{20, 20, 20, 90});
  for (int v = 0; v < 3; ++v) DrawCityTile(sheet, CellLeft(v), CellTop(3), v, false);
  for (int v = 0; v < 2; ++v) DrawCityTile(sheet, CellLeft(3 + v), CellTop(3), v, true);
  for (int side = 1; side <= 3; ++side) {
    DrawSideLine(sheet, CellLeft(side - 1), CellTop(4), side, 4.0f, Col{255, 255, 255, 255}, false, 2.0f);
    DrawSideLine(sheet, CellLeft(side + 2), CellTop(4), side, 2.0f, Col{200, 230, 255, 220}, true, 0.0f);
  }
  for (int side = 0; side < 6; ++side) DrawArrow(sheet, CellLeft(side), CellTop(5), side);
  for (int w = 0; w < 3; ++w)
    for (int p = 0; p < 2; ++p) DrawWeatherOverlay(sheet, CellLeft(p + 2 * w), CellTop(7), p, w);
  for (int f = 1; f <= 10; ++f) DrawFortification(sheet, CellLeft(f - 1), CellTop(10), f);
  FillHex(sheet, CellLeft(11), CellTop(10), [&](float x, float y) {
    const float d = HexDist(x - kCx, y - kCy);
    return Col{250, 240, 120, d < 5 ? 200.0f : 0.0f};
  }, 0.0f);
  for (int i = 0; i < 32; ++i) DrawMark(sheet, 1003 + (i % 6) * kGrid, (i / 6) * kGrid, i);
  for (int size = 0; size < 10; ++size) DrawSeaMarker(sheet, CellLeft(size), CellTop(11), size);
  for (int level = 0; level <= 10; ++level) {
    DrawIcon(sheet, 1003 + 24 * level, 1170, 24, 0, level);
    if (level > 0) DrawIcon(sheet, 1003, 1170 + 24 * level, 24, 0, level);
  }
  DrawIcon(sheet, 1300, 1220, 32, 1, 0);
  for (int kind = 2; kind <= 5; ++kind) DrawIcon(sheet, 1340 + 30 * (kind - 2), 1220, 24, kind, 0);
  return Save(sheet, path);
}

bool MakeEyeCandySheet(const std::string& path) {
  Canvas sheet(6 * kGrid, 3 * kGrid);
  for (int d = 0; d < 6; ++d)
    for (int w = 0; w < 3; ++w) DrawEyeCandy(sheet, CellLeft(d), CellTop(w), d, w);
  return Save(sheet, path);
}

// ---------------------------------------------------------------- contact sheet

// Every terrain, weather and variant cell as the map draws it: the plain
// under the features, the cells placed 83 across and 98 down with every
// second column 49 lower. Three blocks across (good, snow, mud), one band of
// six variants per terrain down, the river mouths in a band of their own;
// below, a small map of mixed terrain with a river, the grid, a city and the
// weather changing from good to mud to snow across it. Drawn at kSheetScale.
constexpr float kSheetScale = 0.62f;
constexpr float kMapScale = 0.7f;

int MapTerrain(int x, int y) {
  const float e = Fbm(x * 0.33f + 3.1f, y * 0.45f + 1.7f, 77, 3);
  const float m = Fbm(x * 0.4f + 9.3f, y * 0.4f + 4.2f, 91, 3);
  if (y >= 5 && x < 6) return kWater;
  if (e < 0.36f) return kWater;
  if (e > 0.66f) return kMountain;
  if (e > 0.6f) return kHill;
  if (m > 0.64f && e < 0.5f) return kSwamp;
  if (m > 0.56f) return kForest;
  if (m < 0.32f) return kDesert;
  if (m < 0.4f) return kRough;
  return kPlain;
}

bool MakeContactSheet(const std::string& terrainPath, const std::string& othersPath, const std::string& path) {
  const float S = kSheetScale;
  const int bandH = 98 + 49 + 40, blockW = 5 * 83 + 166 + 30, top = 30;
  const int catalogueH = top + 9 * bandH + 10;
  const int mapCols = 18, mapRows = 7;
  const int mapW = int(((mapCols - 1) * 83 + 166) * kMapScale), mapH = int((mapRows * 98 + 49 + 80) * kMapScale);
  const int width = std::max(int((3 * blockW + 20) * S), mapW + 20);
  const int mapTop = int(catalogueH * S) + 24;
  const int height = mapTop + mapH + 10;
  std::unique_ptr<plat::sdl::SdlRenderer> r = plat::sdl::CreateSoftwareRenderer(width, height);
  if (!r) {
    std::fprintf(stderr, "make_skins: no software renderer: %s\n", SDL_GetError());
    return false;
  }
  std::unique_ptr<plat::Texture> tex = r->LoadTexture(terrainPath);
  std::unique_ptr<plat::Texture> others = r->LoadTexture(othersPath);
  if (!tex || !others) {
    std::fprintf(stderr, "make_skins: cannot load the sheets for the contact sheet\n");
    return false;
  }
  std::unique_ptr<plat::Font> font = r->CreateFont(L"Arial", 13, 700);
  r->BeginScene();
  r->Clear(0xFF20242Au);
  auto drawFrom = [&](const plat::Texture& t, int sx, int sy, float x, float y, float scale, std::uint32_t argb) {
    const plat::RectI src{sx, sy, sx + kCell, sy + kCell};
    const float e = kCell * scale;
    const plat::PointF corners[4] = {{x, y}, {x + e, y}, {x + e, y + e}, {x, y + e}};
    r->DrawQuad(t, src, corners, argb, 0.5f);
  };
  auto draw = [&](int sx, int sy, float x, float y) { drawFrom(*tex, sx, sy, x, y, S, 0xFFFFFFFFu); };
  auto label = [&](const std::wstring& text, float x, float y) {
    if (!font) return;
    plat::RectI rect{int(x), int(y), int(x) + 400, int(y) + 18};
    font->DrawText(nullptr, text, rect, plat::kTextLeft | plat::kTextSingleLine | plat::kTextNoClip, 0xFFE0E0E0u);
  };
  const wchar_t* weatherNames[3] = {L"good", L"snow", L"mud"};
  const wchar_t* terrainNames[8] = {L"water", L"plain", L"forest", L"rough", L"swamp", L"hill", L"mountain", L"desert"};
  for (int w = 0; w < 3; ++w) label(weatherNames[w], (20 + w * blockW) * S, 6);
  for (int band = 0; band < 9; ++band) {
    const int y0 = top + band * bandH;
    for (int w = 0; w < 3; ++w) {
      const int x0 = 10 + w * blockW;
      auto cellX = [&](int v) { return (x0 + v * 83.0f - 30) * S; };
      auto cellY = [&](int v) { return (y0 + (v % 2 == 0 ? 49.0f : 0.0f) - 10) * S; };
      if (band == 8) {
        // River mouths: water of each variant with the mouth of side v.
        if (w == 2) continue;
        label(w == 0 ? L"river mouths (even)" : L"river mouths (odd)", (x0 + 10) * S, (y0 - 4) * S);
        for (int v = 0; v < 6; ++v) {
          draw(TerrainLeft(kWater, v), TerrainTop(kWater, kGood), cellX(v), cellY(v));
          draw(TerrainLeft(kWater, v), TerrainTop(kWater, 1 + w), cellX(v), cellY(v));
        }
        continue;
      }
      const int t = band;
      if (w == 0) label(terrainNames[t], (x0 + 10) * S, (y0 - 4) * S);
      if (t == kWater && w != kGood) continue;  // water has one row
      const bool feature = t == kForest || t == kRough || t == kHill || t == kMountain;
      for (int v = 0; v < 6 && feature; ++v) draw(TerrainLeft(kPlain, v), TerrainTop(kPlain, w), cellX(v), cellY(v));
      for (int v = 0; v < 6; ++v) draw(TerrainLeft(t, v), TerrainTop(t, w), cellX(v), cellY(v));
    }
  }

  // The sample map.
  label(L"sample map (good | mud | snow)", 10, mapTop - 20);
  const float M = kMapScale;
  auto mapX = [&](int x) { return 10 + x * 83 * M; };
  auto mapY = [&](int x, int y) { return mapTop + (y * 98 + (x % 2 == 0 ? 49 : 0) - 30) * M; };
  auto weatherAt = [&](int x) { return x < 9 ? kGood : x < 13 ? kMud : kSnow; };
  // Bases first, then features from back to front, then rivers, grid and a city.
  for (int y = 0; y < mapRows; ++y)
    for (int x = 0; x < mapCols; ++x) {
      const int t = MapTerrain(x, y), v = (x * 7 + y * 3) % 6, w = weatherAt(x);
      const bool feature = t == kForest || t == kRough || t == kHill || t == kMountain;
      const int base = feature ? kPlain : t;
      drawFrom(*tex, TerrainLeft(base, v), TerrainTop(base, base == kWater ? kGood : w), mapX(x), mapY(x, y), M,
               0xFFFFFFFFu);
    }
  for (int y = 0; y < mapRows; ++y)
    for (int half = 0; half < 2; ++half)
      for (int x = half; x < mapCols; x += 2) {  // odd columns lie higher: draw them first
        const int t = MapTerrain(x, y), v = (x * 7 + y * 3) % 6;
        if (t == kForest || t == kRough || t == kHill || t == kMountain)
          drawFrom(*tex, TerrainLeft(t, v), TerrainTop(t, weatherAt(x)), mapX(x), mapY(x, y), M, 0xFFFFFFFFu);
      }
  // A river down the east side of column 7 (sides 1 and 2 of each cell).
  for (int y = 0; y < mapRows; ++y) {
    if (MapTerrain(7, y) == kWater) break;
    for (int side = 1; side <= 2; ++side)
      drawFrom(*others, 1 + (side - 1) * 334 + (y % 2) * kGrid, 1, mapX(7), mapY(7, y), M, 0xFFFFFFFFu);
  }
  for (int y = 0; y < mapRows; ++y)
    for (int x = 0; x < mapCols; ++x)
      if (MapTerrain(x, y) != kWater) drawFrom(*others, CellLeft(5), CellTop(2), mapX(x), mapY(x, y), M, 0xFFFFFFFFu);
  for (int x = 2; x < mapCols; x += 5) {
    int y = 1;
    while (y < mapRows && MapTerrain(x, y) == kWater) ++y;
    if (y < mapRows) drawFrom(*others, CellLeft(x % 3), CellTop(3), mapX(x), mapY(x, y), M, 0xFFFFFFFFu);
  }
  r->EndScene();
  if (!r->SavePng(path)) {
    std::fprintf(stderr, "make_skins: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("wrote %s (%lld bytes)\n", path.c_str(), static_cast<long long>(std::filesystem::file_size(path)));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_skins <data folder>\n");
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "make_skins: SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  IMG_Init(IMG_INIT_PNG);
  const std::string data = argv[1];
  const std::string map = data + "/gfx/[MapSkin]Normal";
  const std::string units = data + "/gfx/[UnitsSkin]Counters";
  std::filesystem::create_directories(map);
  std::filesystem::create_directories(units);
  const bool ok = MakeTerrainSheet(map + "/terrain.png") && MakeOthersSheet(map + "/others.png") &&
                  MakeEyeCandySheet(map + "/eyecandies.png") && MakeUnitsSheet(units + "/units.png") &&
                  MakeInfoSheet(units + "/info.png") && MakeTables(map, units) &&
                  MakeContactSheet(map + "/terrain.png", map + "/others.png", map + "/contact_sheet.png");
  IMG_Quit();
  SDL_Quit();
  return ok ? 0 : 1;
}
