// make_wallpapers: draws the six menu wallpapers (1024 x 768, shown stretched
// to the screen) as old sea charts: fractal-noise coasts with depth bands,
// a latitude/longitude grid inside a graduated neatline, a compass rose and
// faint convoy routes. Every wallpaper is its own variant (seed, palette,
// composition); the seeds are fixed, so the output is the same on every run.
// Usage: make_wallpapers <gfx folder> [<font folder>]
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kW = 1024, kH = 768;
constexpr float kPi = 3.14159265f;

struct Rgb {
  float r, g, b;
};
Rgb Mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb a, float f) { return {a.r * f, a.g * f, a.b * f}; }
float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float Smooth(float e0, float e1, float x) {
  const float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// ---- Deterministic noise and random numbers (no library distributions, whose
// output differs between standard libraries).
std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B9u ^ std::uint32_t(x) * 0x85EBCA6Bu ^ std::uint32_t(y) * 0xC2B2AE35u;
  h ^= h >> 16; h *= 0x7FEB352Du; h ^= h >> 15; h *= 0x846CA68Bu; h ^= h >> 16;
  return h;
}
float Lattice(std::int32_t x, std::int32_t y, std::uint32_t seed) { return (Hash(x, y, seed) >> 8) / 16777216.0f; }
float ValueNoise(float x, float y, std::uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const auto ix = std::int32_t(fx), iy = std::int32_t(fy);
  const float tx = x - fx, ty = y - fy;
  const float u = tx * tx * tx * (tx * (tx * 6 - 15) + 10), v = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
  const float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
  const float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
  return a + (b - a) * u + (c - a) * v + (a - b - c + d) * u * v;
}
float Fbm(float x, float y, std::uint32_t seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + std::uint32_t(i) * 1013u);
    norm += amp;
    amp *= 0.5f;
    x = x * 2.03f + 17.1f;
    y = y * 2.03f - 9.7f;
  }
  return sum / norm;
}
struct Rng {
  std::uint32_t s;
  float Next() {  // 0..1
    s = s * 1664525u + 1013904223u;
    return (s >> 8) / 16777216.0f;
  }
  float Range(float a, float b) { return a + (b - a) * Next(); }
};

// ---- The picture: linear RGB floats 0..255 with coverage-based drawing.
class Picture {
 public:
  Picture() : px_(size_t(kW) * kH, Rgb{0, 0, 0}) {}
  Rgb& At(int x, int y) { return px_[size_t(y) * kW + x]; }
  void Blend(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= kW || y >= kH || a <= 0) return;
    Rgb& d = At(x, y);
    d = Mix(d, c, std::min(a, 1.0f));
  }
  // A stroke along a segment; the coverage falls off over one pixel at the edge.
  void Segment(float ax, float ay, float bx, float by, float width, Rgb c, float a) {
    const float h = width * 0.5f + 1;
    const int x0 = int(std::floor(std::min(ax, bx) - h)), x1 = int(std::ceil(std::max(ax, bx) + h));
    const int y0 = int(std::floor(std::min(ay, by) - h)), y1 = int(std::ceil(std::max(ay, by) + h));
    const float dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy + 1e-9f;
    for (int y = std::max(0, y0); y <= std::min(kH - 1, y1); ++y)
      for (int x = std::max(0, x0); x <= std::min(kW - 1, x1); ++x) {
        const float px = x + 0.5f - ax, py = y + 0.5f - ay;
        const float t = Clamp01((px * dx + py * dy) / len2);
        const float d = std::hypot(px - t * dx, py - t * dy);
        Blend(x, y, c, a * Clamp01(width * 0.5f + 0.5f - d));
      }
  }
  void Circle(float cx, float cy, float r, float width, Rgb c, float a) {
    const float h = r + width + 2;
    for (int y = std::max(0, int(cy - h)); y <= std::min(kH - 1, int(cy + h)); ++y)
      for (int x = std::max(0, int(cx - h)); x <= std::min(kW - 1, int(cx + h)); ++x) {
        const float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
        Blend(x, y, c, a * Clamp01(width * 0.5f + 0.5f - d));
      }
  }
  void Disc(float cx, float cy, float r, Rgb c, float a) {
    for (int y = std::max(0, int(cy - r - 2)); y <= std::min(kH - 1, int(cy + r + 2)); ++y)
      for (int x = std::max(0, int(cx - r - 2)); x <= std::min(kW - 1, int(cx + r + 2)); ++x)
        Blend(x, y, c, a * Clamp01(r + 0.5f - std::hypot(x + 0.5f - cx, y + 0.5f - cy)));
  }
  // A polygon (x, y pairs), 4 x 4 samples a pixel for the coverage.
  void Polygon(const std::vector<float>& p, Rgb c, float a) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (size_t i = 0; i + 1 < p.size(); i += 2) {
      x0 = std::min(x0, p[i]); x1 = std::max(x1, p[i]);
      y0 = std::min(y0, p[i + 1]); y1 = std::max(y1, p[i + 1]);
    }
    const int n = int(p.size() / 2);
    for (int y = std::max(0, int(y0)); y <= std::min(kH - 1, int(y1) + 1); ++y)
      for (int x = std::max(0, int(x0)); x <= std::min(kW - 1, int(x1) + 1); ++x) {
        int hits = 0;
        for (int s = 0; s < 16; ++s) {
          const float sx = x + (s % 4 + 0.5f) / 4, sy = y + (s / 4 + 0.5f) / 4;
          bool in = false;
          for (int i = 0, j = n - 1; i < n; j = i++) {
            const float ay = p[2 * i + 1], by = p[2 * j + 1];
            if ((ay > sy) != (by > sy) && sx < p[2 * i] + (sy - ay) / (by - ay) * (p[2 * j] - p[2 * i])) in = !in;
          }
          hits += in;
        }
        Blend(x, y, c, a * hits / 16.0f);
      }
  }
  const std::vector<Rgb>& Pixels() const { return px_; }

 private:
  std::vector<Rgb> px_;
};

// ---- Text through SDL_ttf: the glyph coverage becomes the blend amount.
struct Mask {
  int w = 0, h = 0;
  std::vector<float> a;
};
Mask TextMask(TTF_Font* font, const std::string& text) {
  Mask m;
  SDL_Surface* s = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
  if (s == nullptr) return m;
  SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(s);
  if (c == nullptr) return m;
  m.w = c->w; m.h = c->h; m.a.resize(size_t(m.w) * m.h);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x)
      m.a[size_t(y) * m.w + x] = static_cast<const std::uint8_t*>(c->pixels)[y * c->pitch + x * 4 + 3] / 255.0f;
  SDL_FreeSurface(c);
  return m;
}
// Letter-spaced text: the glyphs one by one, `tracking` pixels apart.
Mask TrackedMask(TTF_Font* font, const std::string& text, int tracking) {
  std::vector<Mask> glyphs;
  int w = 0, h = 0;
  for (char ch : text) {
    glyphs.push_back(TextMask(font, std::string(1, ch)));
    w += glyphs.back().w + tracking;
    h = std::max(h, glyphs.back().h);
  }
  Mask m;
  m.w = std::max(0, w - tracking); m.h = h; m.a.assign(size_t(m.w) * m.h, 0.0f);
  int ox = 0;
  for (const Mask& g : glyphs) {
    for (int y = 0; y < g.h; ++y)
      for (int x = 0; x < g.w && ox + x < m.w; ++x)
        m.a[size_t(y) * m.w + ox + x] = std::max(m.a[size_t(y) * m.w + ox + x], g.a[size_t(y) * g.w + x]);
    ox += g.w + tracking;
  }
  return m;
}
Mask BoxBlur(const Mask& in, int r, int pad) {
  Mask m;
  m.w = in.w + 2 * pad; m.h = in.h + 2 * pad; m.a.assign(size_t(m.w) * m.h, 0.0f);
  for (int y = 0; y < in.h; ++y)
    for (int x = 0; x < in.w; ++x) m.a[size_t(y + pad) * m.w + x + pad] = in.a[size_t(y) * in.w + x];
  for (int pass = 0; pass < 3; ++pass) {
    std::vector<float> t(m.a.size(), 0.0f);
    for (int y = 0; y < m.h; ++y)
      for (int x = 0; x < m.w; ++x) {
        float s = 0;
        for (int k = -r; k <= r; ++k) s += m.a[size_t(y) * m.w + std::clamp(x + k, 0, m.w - 1)];
        t[size_t(y) * m.w + x] = s / (2 * r + 1);
      }
    for (int y = 0; y < m.h; ++y)
      for (int x = 0; x < m.w; ++x) {
        float s = 0;
        for (int k = -r; k <= r; ++k) s += t[size_t(std::clamp(y + k, 0, m.h - 1)) * m.w + x];
        m.a[size_t(y) * m.w + x] = s / (2 * r + 1);
      }
  }
  return m;
}
// Draws a mask with its top-left at (x, y); the colour may vary down the mask.
template <typename ColourAt>
void DrawMask(Picture& p, const Mask& m, int x, int y, float alpha, ColourAt colour) {
  for (int j = 0; j < m.h; ++j)
    for (int i = 0; i < m.w; ++i) p.Blend(x + i, y + j, colour(j / float(std::max(1, m.h - 1))), alpha * m.a[size_t(j) * m.w + i]);
}
void DrawText(Picture& p, TTF_Font* font, const std::string& text, float cx, float cy, Rgb c, float alpha) {
  if (font == nullptr) return;
  const Mask m = TextMask(font, text);
  DrawMask(p, m, int(cx - m.w / 2.0f), int(cy - m.h / 2.0f), alpha, [&](float) { return c; });
}

// ---- One wallpaper's look.
struct Variant {
  const char* file;
  std::uint32_t seed;
  float land_level;    // elevation above which there is land (0..1, higher = less land)
  float feature_size;  // pixels per base noise cell
  float calm;          // pushes the middle down into open sea (0 = none)
  float edge_land;     // raises land toward the picture edges
  Rgb sea_deep, sea_shallow, land_low, land_high, ink, grid;
  Rgb frame;          // the neatline band
  float grid_alpha;
  float top_light, bottom_light;  // vertical gradient multipliers
  float vignette;
  float desaturate;   // 0..1
  float texture;      // strength of the blotchy paper/steel texture
  float rose_x, rose_y, rose_r, rose_alpha;
  Rgb rose_light, rose_dark;
  int routes;
  bool title;
  float clear_x0, clear_y0, clear_x1, clear_y1;  // a region kept free of land and routes (0 size = none)
};

// A 0..1 weight that is 1 inside the clear region and fades out around it.
float ClearWeight(const Variant& v, float x, float y) {
  if (v.clear_x1 <= v.clear_x0) return 0;
  const float dx = std::max({v.clear_x0 - x, 0.0f, x - v.clear_x1});
  const float dy = std::max({v.clear_y0 - y, 0.0f, y - v.clear_y1});
  return 1 - Smooth(0, 90, std::hypot(dx, dy));
}

float Elevation(const Variant& v, float x, float y) {
  const float s = 1.0f / v.feature_size;
  const float wx = Fbm(x * s * 0.7f, y * s * 0.7f, v.seed + 71, 3) - 0.5f;  // domain warp: less blobby coasts
  const float wy = Fbm(x * s * 0.7f + 5.2f, y * s * 0.7f + 1.3f, v.seed + 93, 3) - 0.5f;
  float e = Fbm(x * s + wx * 1.4f, y * s + wy * 1.4f, v.seed, 7);
  const float nx = (x - kW / 2.0f) / (kW / 2.0f), ny = (y - kH / 2.0f) / (kH / 2.0f);
  const float r = std::sqrt(nx * nx * 0.8f + ny * ny);
  e += v.edge_land * (r - 0.75f);
  e -= v.calm * (1 - Smooth(0.15f, 0.75f, r));
  e -= 0.35f * ClearWeight(v, x, y);
  return e;
}

void DrawMap(Picture& pic, const Variant& v) {
  // The elevation on a grid one pixel larger, for the gradients.
  std::vector<float> e(size_t(kW + 2) * (kH + 2));
  for (int y = -1; y <= kH; ++y)
    for (int x = -1; x <= kW; ++x) e[size_t(y + 1) * (kW + 2) + x + 1] = Elevation(v, x + 0.5f, y + 0.5f);
  const auto E = [&](int x, int y) { return e[size_t(y + 1) * (kW + 2) + x + 1]; };
  constexpr float kBand = 0.032f;  // depth per sounding band
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const float h = E(x, y) - v.land_level;
      const float gx = (E(x + 1, y) - E(x - 1, y)) * 0.5f, gy = (E(x, y + 1) - E(x, y - 1)) * 0.5f;
      const float g = std::hypot(gx, gy) + 1e-6f;
      const float tex = 1 + v.texture * (Fbm(x / 180.0f, y / 180.0f, v.seed + 555, 4) - 0.5f);
      Rgb c;
      if (h < 0) {  // sea: depth bands like soundings on a chart, lighter near the shore
        const float depth = -h;
        const float band = std::min(4.0f, std::floor(depth / kBand));
        const float t = Clamp01(band / 4.0f) * 0.8f + Clamp01(depth / 0.2f) * 0.2f;
        c = Mix(v.sea_shallow, v.sea_deep, t);
        float dline = std::fabs(depth - std::round(depth / kBand) * kBand) / g;  // the band edges
        if (depth > kBand * 4.5f) dline = 99;
        c = Mix(c, v.ink, 0.22f * Clamp01(1.0f - dline));
      } else {  // land: elevation tint, hill shading from the north-west, faint contours
        const float t = Smooth(0.0f, 0.22f, h);
        c = Mix(v.land_low, v.land_high, t);
        const float shade = std::clamp(1.0f + (-gx - gy) * 9.0f, 0.78f, 1.2f);
        c = Scale(c, shade);
        const float step = 0.045f;
        const float dline = std::fabs(h - std::round(h / step) * step) / g;
        if (h > step * 0.5f) c = Mix(c, v.ink, 0.16f * Clamp01(1.0f - dline));
      }
      c = Scale(c, tex);
      // The coastline: a firm ink line, and a faint second line offshore.
      const float dc = std::fabs(h) / g;
      c = Mix(c, v.ink, 0.85f * Clamp01(1.3f - dc));
      if (h < 0) {
        const float d2 = std::fabs(dc - 4.0f);
        c = Mix(c, v.ink, 0.25f * Clamp01(0.9f - d2));
      }
      pic.At(x, y) = c;
    }
}

constexpr int kMargin = 16, kBandW = 7;  // the neatline: outer margin and graduated band

void DrawGrid(Picture& pic, const Variant& v, TTF_Font* label_font) {
  const int x0 = kMargin + kBandW, y0 = kMargin + kBandW, x1 = kW - x0, y1 = kH - y0;
  constexpr int kStep = 128;
  int lon = 40 - int(v.seed % 3) * 10, lat = 62 - int(v.seed % 4) * 2;  // a fictional sheet, degree labels
  for (int x = kStep; x < kW; x += kStep) {
    pic.Segment(x, y0, x, y1, 1.0f, v.grid, v.grid_alpha);
    const int deg = lon - x / kStep * 5;
    const std::string s = std::to_string(std::abs(deg)) + "\xC2\xB0" + (deg > 0 ? "W" : deg < 0 ? "E" : "");
    DrawText(pic, label_font, s, x + 16, y0 + 10, v.grid, 0.75f);
  }
  for (int y = kStep; y < kH; y += kStep) {
    pic.Segment(x0, y, x1, y, 1.0f, v.grid, v.grid_alpha);
    const int deg = lat - y / kStep * 3;
    DrawText(pic, label_font, std::to_string(deg) + "\xC2\xB0N", x0 + 20, y - 9, v.grid, 0.75f);
  }
}

void DrawNeatline(Picture& pic, const Variant& v) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (x < kMargin || y < kMargin || x >= kW - kMargin || y >= kH - kMargin) pic.At(x, y) = v.frame;
  const float a = kMargin, b = kMargin + kBandW;
  const Rgb light = Mix(v.frame, v.ink, 0.75f);
  for (float s : {a, b}) {  // two rules with the graduated band between them
    pic.Segment(s, s, kW - s, s, 1.0f, light, 0.9f);
    pic.Segment(s, kH - s, kW - s, kH - s, 1.0f, light, 0.9f);
    pic.Segment(s, s, s, kH - s, 1.0f, light, 0.9f);
    pic.Segment(kW - s, s, kW - s, kH - s, 1.0f, light, 0.9f);
  }
  for (int y = int(a) + 1; y < int(b); ++y)
    for (int x = int(a) + 1; x < kW - int(a); ++x) {
      const bool on = ((x - int(b)) / 32) % 2 == 0;
      pic.At(x, y) = on ? Mix(v.frame, v.ink, 0.55f) : v.frame;
      pic.At(x, kH - 1 - y) = on ? Mix(v.frame, v.ink, 0.55f) : v.frame;
    }
  for (int x = int(a) + 1; x < int(b); ++x)
    for (int y = int(b); y < kH - int(b); ++y) {
      const bool on = ((y - int(b)) / 32) % 2 == 0;
      pic.At(x, y) = on ? Mix(v.frame, v.ink, 0.55f) : v.frame;
      pic.At(kW - 1 - x, y) = on ? Mix(v.frame, v.ink, 0.55f) : v.frame;
    }
}

// Convoy routes: dashed curves across open water with small waypoint rings.
void DrawRoutes(Picture& pic, const Variant& v) {
  Rng rng{v.seed * 7919u + 3};
  std::vector<float> ends;  // earlier end points, so no two routes start at the same spot
  const auto apart = [&](float x, float y) {
    for (size_t i = 0; i + 1 < ends.size(); i += 2)
      if (std::hypot(ends[i] - x, ends[i + 1] - y) < 110) return false;
    return true;
  };
  // Variants with a calm middle keep the routes faint there too.
  const auto fade = [&](float x, float y) {
    const float nx = (x - kW / 2.0f) / (kW / 2.0f), ny = (y - kH / 2.0f) / (kH / 2.0f);
    const float middle = v.calm > 0 ? 0.7f * (1 - Smooth(0.2f, 0.7f, std::sqrt(nx * nx + ny * ny))) : 0.0f;
    return (1 - ClearWeight(v, x, y)) * (1 - middle);
  };
  for (int r = 0; r < v.routes; ++r) {
    float ax, ay, bx, by;
    for (int tries = 0;; ++tries) {  // end points on open water, far enough apart
      ax = rng.Range(60, kW - 60); ay = rng.Range(60, kH - 60);
      bx = rng.Range(60, kW - 60); by = rng.Range(60, kH - 60);
      const bool wet = Elevation(v, ax, ay) < v.land_level - 0.02f && Elevation(v, bx, by) < v.land_level - 0.02f;
      if ((wet && apart(ax, ay) && apart(bx, by) && std::hypot(bx - ax, by - ay) > 380) || tries > 400) break;
    }
    ends.insert(ends.end(), {ax, ay, bx, by});
    const float mx = (ax + bx) / 2 + rng.Range(-120, 120), my = (ay + by) / 2 + rng.Range(-120, 120);
    constexpr int kSteps = 240;
    float px = ax, py = ay;
    for (int i = 1; i <= kSteps; ++i) {
      const float t = i / float(kSteps), u = 1 - t;
      const float qx = u * u * ax + 2 * u * t * mx + t * t * bx, qy = u * u * ay + 2 * u * t * my + t * t * by;
      const bool wet = Elevation(v, qx, qy) < v.land_level;
      if ((i / 4) % 2 == 0 && wet) pic.Segment(px, py, qx, qy, 1.4f, v.ink, 0.45f * fade(qx, qy));
      px = qx; py = qy;
    }
    pic.Circle(ax, ay, 4, 1.3f, v.ink, 0.55f * fade(ax, ay));
    pic.Circle(bx, by, 4, 1.3f, v.ink, 0.55f * fade(bx, by));
  }
}

void DrawCompassRose(Picture& pic, const Variant& v, TTF_Font* font) {
  const float cx = v.rose_x, cy = v.rose_y, R = v.rose_r, A = v.rose_alpha;
  const Rgb L = v.rose_light, D = v.rose_dark;
  pic.Circle(cx, cy, R, 1.6f, L, A);
  pic.Circle(cx, cy, R * 0.93f, 1.0f, L, A);
  pic.Circle(cx, cy, R * 0.62f, 1.0f, L, A * 0.7f);
  for (int i = 0; i < 360; i += 2) {  // the degree ring
    const float a = i * kPi / 180, len = (i % 10 == 0) ? R * 0.05f : R * 0.025f;
    pic.Segment(cx + std::sin(a) * R * 0.93f, cy - std::cos(a) * R * 0.93f, cx + std::sin(a) * (R * 0.93f + len),
                cy - std::cos(a) * (R * 0.93f + len), 1.0f, L, A * 0.8f);
  }
  for (int i = 0; i < 32; ++i) {  // the rhumb lines
    const float a = i * kPi / 16;
    pic.Segment(cx, cy, cx + std::sin(a) * R * 0.92f, cy - std::cos(a) * R * 0.92f, 0.8f, L, A * 0.35f);
  }
  // The points: each a light and a dark half.
  const auto point = [&](float ang, float len, float half) {
    const float tx = cx + std::sin(ang) * len, ty = cy - std::cos(ang) * len;
    const float lx = cx + std::sin(ang - kPi / 2) * half, ly = cy - std::cos(ang - kPi / 2) * half;
    const float rx = cx + std::sin(ang + kPi / 2) * half, ry = cy - std::cos(ang + kPi / 2) * half;
    pic.Polygon({cx, cy, tx, ty, lx, ly}, L, A);
    pic.Polygon({cx, cy, tx, ty, rx, ry}, D, A);
    pic.Segment(cx, cy, tx, ty, 0.8f, L, A * 0.6f);
  };
  for (int i = 0; i < 8; ++i) point(kPi / 8 + i * kPi / 4, R * 0.45f, R * 0.045f);
  for (int i = 0; i < 4; ++i) point(kPi / 4 + i * kPi / 2, R * 0.66f, R * 0.07f);
  for (int i = 0; i < 4; ++i) point(i * kPi / 2, R * 0.9f, R * 0.1f);
  pic.Disc(cx, cy, R * 0.05f, D, A);
  pic.Circle(cx, cy, R * 0.05f, 1.2f, L, A);
  DrawText(pic, font, "N", cx, cy - R * 1.0f - 18, L, A);
}

void DrawTitle(Picture& pic, TTF_Font* big, TTF_Font* small) {
  if (big == nullptr) return;
  const Mask m = TrackedMask(big, "TIDEWRACK", 6);
  const int x = (kW - m.w) / 2, y = 48;
  const Mask glow = BoxBlur(m, 7, 24);
  DrawMask(pic, glow, x - 24 + 3, y - 24 + 6, 0.85f, [](float) { return Rgb{4, 8, 14}; });
  // The outlined glyphs are 2 x 3 pixels wider each, so with the tracking
  // reduced by that much every outline sits centred under its plain glyph.
  TTF_SetFontOutline(big, 3);
  const Mask outline = TrackedMask(big, "TIDEWRACK", 6 - 6);
  TTF_SetFontOutline(big, 0);
  DrawMask(pic, outline, x - 3, y - 3, 0.95f, [](float) { return Rgb{18, 16, 10}; });
  DrawMask(pic, m, x, y, 1.0f, [](float t) {  // brass, lit from above
    return t < 0.5f ? Mix(Rgb{252, 236, 186}, Rgb{222, 188, 112}, t * 2) : Mix(Rgb{222, 188, 112}, Rgb{158, 118, 56}, (t - 0.5f) * 2);
  });
  if (small == nullptr) return;
  const Mask sub = TrackedMask(small, "1939", 14);
  const int sy = y + m.h + 4, sx = (kW - sub.w) / 2;
  DrawMask(pic, BoxBlur(sub, 3, 8), sx - 8 + 2, sy - 8 + 3, 0.8f, [](float) { return Rgb{4, 8, 14}; });
  DrawMask(pic, sub, sx, sy, 1.0f, [](float) { return Rgb{226, 206, 150}; });
  const float ly = sy + sub.h / 2.0f;
  for (int s = -1; s <= 1; s += 2) {
    const float a = kW / 2.0f + s * (sub.w / 2.0f + 18), b = kW / 2.0f + s * (sub.w / 2.0f + 150);
    pic.Segment(a, ly, b, ly, 1.5f, Rgb{226, 206, 150}, 0.9f);
    pic.Disc(a, ly, 2.5f, Rgb{226, 206, 150}, 0.9f);
  }
}

// Gradient, vignette, desaturation and a light colour quantisation (fewer
// distinct colours keep the PNG small; the steps are too fine to see).
std::vector<std::uint8_t> Finish(const Picture& pic, const Variant& v) {
  std::vector<std::uint8_t> out(size_t(kW) * kH * 3);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      Rgb c = pic.Pixels()[size_t(y) * kW + x];
      const float nx = (x - kW / 2.0f) / (kW / 2.0f), ny = (y - kH / 2.0f) / (kH / 2.0f);
      const float vig = 1 - v.vignette * Smooth(0.35f, 1.45f, std::sqrt(nx * nx + ny * ny));
      c = Scale(c, vig * (v.top_light + (v.bottom_light - v.top_light) * y / float(kH - 1)));
      const float grey = c.r * 0.3f + c.g * 0.59f + c.b * 0.11f;
      c = Mix(c, Rgb{grey, grey, grey}, v.desaturate);
      const float q[3] = {c.r, c.g, c.b};
      for (int k = 0; k < 3; ++k) {
        const float s = std::round(std::clamp(q[k], 0.0f, 255.0f) / 3.0f) * 3.0f;
        out[(size_t(y) * kW + x) * 3 + k] = std::uint8_t(std::min(255.0f, s));
      }
    }
  return out;
}

bool Save(const std::vector<std::uint8_t>& rgb, const std::string& path) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(rgb.data()), kW, kH, 24, kW * 3,
                                                      SDL_PIXELFORMAT_RGB24);
  if (s == nullptr) return false;
  const int rc = IMG_SavePNG(s, path.c_str());
  SDL_FreeSurface(s);
  return rc == 0;
}

std::vector<Variant> Variants() {
  std::vector<Variant> v;
  // Main menu: dark steel-blue chart, large rose, the title on open water.
  v.push_back({"wallpaper_main.png", 1939, 0.56f, 300, 0.2f, 0.35f,
               {16, 30, 48}, {44, 74, 98}, {58, 66, 62}, {104, 106, 92}, {186, 206, 214}, {150, 176, 194},
               {10, 16, 24}, 0.22f, 1.08f, 0.82f, 0.55f, 0.0f, 0.14f,
               512, 492, 212, 0.5f, {196, 214, 220}, {40, 60, 78}, 5, true, 220, 30, 804, 200});
  // Scenario choice: slate-teal chart, calm middle for the dialog.
  v.push_back({"wallpaper_scenario.png", 4410, 0.54f, 260, 0.22f, 0.55f,
               {20, 44, 52}, {58, 96, 102}, {84, 86, 66}, {132, 126, 96}, {200, 214, 200}, {160, 186, 180},
               {12, 22, 24}, 0.20f, 1.0f, 0.86f, 0.5f, 0.0f, 0.12f,
               118, 640, 82, 0.6f, {206, 218, 204}, {44, 70, 72}, 4, false, 0, 0, 0, 0});
  // Scenario settings: grey-green staff map, calm middle, rose top right.
  v.push_back({"wallpaper_scenariosettings.png", 7702, 0.53f, 240, 0.22f, 0.6f,
               {30, 42, 40}, {70, 90, 82}, {82, 90, 58}, {128, 128, 86}, {214, 212, 180}, {170, 178, 150},
               {16, 20, 16}, 0.20f, 1.0f, 0.84f, 0.5f, 0.0f, 0.12f,
               878, 156, 72, 0.6f, {220, 216, 184}, {58, 70, 56}, 4, false, 0, 0, 0, 0});
  // Loading: very dark, the middle band left clear for the progress bar.
  v.push_back({"wallpaper_loading.png", 2209, 0.55f, 280, 0.0f, 0.35f,
               {8, 14, 24}, {24, 40, 56}, {36, 40, 40}, {70, 72, 66}, {120, 146, 160}, {90, 112, 128},
               {4, 8, 12}, 0.18f, 0.95f, 0.8f, 0.65f, 0.0f, 0.1f,
               850, 600, 120, 0.45f, {130, 156, 168}, {20, 32, 44}, 3, false, 130, 300, 894, 470});
  // Preferences: parchment chart in sepia inks.
  v.push_back({"wallpaper_preferences.png", 5151, 0.55f, 270, 0.18f, 0.5f,
               {184, 180, 148}, {224, 212, 174}, {204, 178, 126}, {170, 132, 86}, {82, 56, 34}, {120, 92, 62},
               {66, 46, 28}, 0.35f, 1.02f, 0.92f, 0.5f, 0.0f, 0.16f,
               158, 170, 84, 0.75f, {236, 224, 190}, {96, 66, 40}, 4, false, 0, 0, 0, 0});
  // Pause: muted, nearly grey, low contrast, rose small at the bottom right.
  v.push_back({"wallpaper_pause.png", 3333, 0.55f, 290, 0.15f, 0.4f,
               {34, 40, 48}, {66, 74, 82}, {74, 76, 72}, {108, 108, 100}, {160, 166, 170}, {128, 134, 140},
               {18, 20, 22}, 0.16f, 0.96f, 0.86f, 0.5f, 0.75f, 0.1f,
               890, 636, 76, 0.45f, {170, 176, 180}, {50, 56, 62}, 3, false, 0, 0, 0, 0});
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_wallpapers <gfx folder> [<font folder>]\n");
    return 2;
  }
  const std::string out_dir = argv[1];
  const std::string font_dir = argc == 3 ? argv[2] : "/usr/share/fonts/truetype/liberation2";
  std::error_code ec;
  std::filesystem::create_directories(out_dir, ec);
  if (TTF_Init() != 0) {
    std::fprintf(stderr, "make_wallpapers: %s\n", TTF_GetError());
    return 1;
  }
  TTF_Font* title = TTF_OpenFont((font_dir + "/LiberationSerif-Bold.ttf").c_str(), 112);
  TTF_Font* sub = TTF_OpenFont((font_dir + "/LiberationSerif-Bold.ttf").c_str(), 30);
  TTF_Font* rose = TTF_OpenFont((font_dir + "/LiberationSerif-Bold.ttf").c_str(), 26);
  TTF_Font* label = TTF_OpenFont((font_dir + "/LiberationSerif-Italic.ttf").c_str(), 13);
  if (title == nullptr || sub == nullptr || rose == nullptr || label == nullptr) {
    std::fprintf(stderr, "make_wallpapers: cannot open the Liberation Serif fonts in %s\n", font_dir.c_str());
    return 1;
  }
  int rc = 0;
  for (const Variant& v : Variants()) {
    Picture pic;
    DrawMap(pic, v);
    DrawGrid(pic, v, label);
    DrawRoutes(pic, v);
    DrawCompassRose(pic, v, rose);
    DrawNeatline(pic, v);
    if (v.title) DrawTitle(pic, title, sub);
    const std::string path = out_dir + "/" + v.file;
    if (Save(Finish(pic, v), path)) {
      std::printf("wrote %s\n", path.c_str());
    } else {
      std::fprintf(stderr, "make_wallpapers: cannot write %s: %s\n", path.c_str(), IMG_GetError());
      rc = 1;
    }
  }
  TTF_CloseFont(title);
  TTF_CloseFont(sub);
  TTF_CloseFont(rose);
  TTF_CloseFont(label);
  TTF_Quit();
  return rc;
}
