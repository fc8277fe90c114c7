// Shared drawing helpers of the sheet tools: a float RGBA canvas with
// source-over blending, shapes in scalable units (drawn at a larger scale and
// averaged down for smooth edges), and PNG output through SDL_image.
// Everything is plain arithmetic in a fixed order, so the output is the same
// on every run.
#pragma once

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tooldraw {

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

// A horizontal band whose colour runs from top to bottom (one row at a time).
inline void VGradient(Canvas& k, float x, float y, float w, float h, Col top, Col bottom) {
  const int rows = int(std::lround(h));
  for (int i = 0; i < rows; ++i) {
    const float t = rows > 1 ? i / float(rows - 1) : 0.0f;
    k.Rect(x, y + i, w, 1, Col{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t,
                               top.b + (bottom.b - top.b) * t, top.a + (bottom.a - top.a) * t});
  }
}

// A vertical band whose colour runs from left to right (one column at a time).
inline void HGradient(Canvas& k, float x, float y, float w, float h, Col left, Col right) {
  const int cols = int(std::lround(w));
  for (int i = 0; i < cols; ++i) {
    const float t = cols > 1 ? i / float(cols - 1) : 0.0f;
    k.Rect(x + i, y, 1, h, Col{left.r + (right.r - left.r) * t, left.g + (right.g - left.g) * t,
                               left.b + (right.b - left.b) * t, left.a + (right.a - left.a) * t});
  }
}

// A bevel of the given width round a rectangle: lit top and left, shaded bottom
// and right (swap the colours for a sunken look).
inline void Bevel(Canvas& k, float x, float y, float w, float h, float t, Col light, Col shade) {
  k.Rect(x, y, w, t, light);
  k.Rect(x, y + t, t, h - t, light);
  k.Rect(x + t, y + h - t, w - t, t, shade);
  k.Rect(x + w - t, y + t, t, h - 2 * t, shade);
}

// Writes the canvas as an RGBA PNG, making the folder when needed. Returns an
// empty string on success, else the reason.
inline std::string WritePng(const Canvas& canvas, const char* path) {
  std::vector<std::uint8_t> bytes = canvas.Bytes();
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(bytes.data(), canvas.W(), canvas.H(), 32,
                                                            canvas.W() * 4, SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) return SDL_GetError();
  const std::filesystem::path out(path);
  std::error_code ec;
  if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), ec);
  const int rc = IMG_SavePNG(surface, path);
  SDL_FreeSurface(surface);
  if (rc != 0) return std::string("cannot write ") + path + ": " + IMG_GetError();
  return {};
}

}  // namespace tooldraw
