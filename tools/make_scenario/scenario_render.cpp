#include "scenario_render.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "common/draw.h"
#include "world/cities.h"
#include "world/world.h"

using tooldraw::Canvas;
using tooldraw::Col;

namespace {

Col Rgb(std::uint32_t v, float a = 255.0f) {
  return Col{float((v >> 16) & 0xFF), float((v >> 8) & 0xFF), float(v & 0xFF), a};
}

Col Mix(Col a, Col b, float t) {
  return Col{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, 255.0f};
}

// Terrain colours of the plain render, by terrain code.
Col TerrainColour(int terrain) {
  static const std::uint32_t kColours[8] = {0x3D6FA8, 0xB9C98A, 0x5E8A4E, 0xA89A73,
                                            0x7F8F5A, 0xB0A070, 0x8C7B6B, 0xE3D29C};
  return Rgb(kColours[terrain & 7]);
}

// Flat-topped hexes: column x at 1.5 R, rows sqrt(3) R, even columns half a
// row lower (as the game draws them).
struct sLayout {
  float r;
  float CentreX(int x) const { return r + x * 1.5f * r; }
  float CentreY(int x, int y) const { return std::sqrt(3.0f) * r * (y + 0.5f + (x % 2 == 0 ? 0.5f : 0.0f)); }
  float Corner(int k, float& dx) const {  // corner k, clockwise from the east
    const float a = tooldraw::kPi / 3.0f * k;
    dx = std::cos(a) * r;
    return std::sin(a) * r;
  }
};

// The edge of side d (0 north, clockwise) runs between these corners.
void SideCorners(int side, int& a, int& b) {
  static constexpr int kA[6] = {4, 5, 0, 1, 2, 3};
  a = kA[side];
  b = (a + 1) % 6;
}

void DrawMap(Canvas& k, const cWorld& world, float r, bool details) {
  const cMap& map = world.GetMap();
  const sLayout L{r};
  k.Rect(0, 0, float(k.W()), float(k.H()), Rgb(0x3D6FA8));
  for (const sHex& h : map.Hexes()) {
    Col c = TerrainColour(h.terrain);
    if (h.IsWater()) {
      // Sea zones alternate in shade so their extent shows.
      c = (h.seaZone % 2) ? Rgb(0x3A6BA3) : Rgb(0x4476AE);
    } else if (const cCountry* owner = world.GetCountry(h.owner)) {
      c = Mix(c, Rgb(owner->colour[0]), 0.42f);
    }
    std::vector<float> poly;
    for (int i = 0; i < 6; ++i) {
      float dx = 0;
      const float dy = L.Corner(i, dx);
      poly.push_back(L.CentreX(h.x) + dx * 1.02f);
      poly.push_back(L.CentreY(h.x, h.y) + dy * 1.02f);
    }
    k.Polygon(poly, c);
  }
  const float line = std::max(1.0f, r * 0.18f);
  for (const sHex& h : map.Hexes()) {
    for (int side = 0; side < 6; ++side) {
      const sHex* n = map.GetNeighbour(h.x, h.y, side);
      int a = 0;
      int b = 0;
      SideCorners(side, a, b);
      float ax = 0;
      float bx = 0;
      const float ay = L.Corner(a, ax);
      const float by = L.Corner(b, bx);
      const float cx = L.CentreX(h.x);
      const float cy = L.CentreY(h.x, h.y);
      if (h.IsLand() && h.HasRiverOnSide(side) && side <= 3 && side >= 1) {
        k.Line(cx + ax, cy + ay, cx + bx, cy + by, line * 1.1f, Rgb(0x2F6DB5));
      }
      if (side > 2 || !n) continue;
      if (h.IsLand() && n->IsLand() && h.owner != n->owner) {
        k.Line(cx + ax, cy + ay, cx + bx, cy + by, line * 1.2f, Rgb(0x2A2020, 220));
      } else if (h.IsLand() != n->IsLand()) {
        k.Line(cx + ax, cy + ay, cx + bx, cy + by, line * 0.7f, Rgb(0x1E3550, 200));
      } else if (details && h.IsWater() && h.seaZone != n->seaZone) {
        k.Line(cx + ax, cy + ay, cx + bx, cy + by, line * 0.5f, Rgb(0x9FC0E0, 150));
      }
    }
  }
  // Cities: supply sources larger, ports ringed in blue, resources as
  // diamonds; the hexes' river sides 4, 5 and 0 belong to the neighbours.
  for (const cCity* city : world.Cities()) {
    const float cx = L.CentreX(city->x);
    const float cy = L.CentreY(city->x, city->y);
    const bool big = city->victoryPoints >= 5;
    if (city->type == kCityResources) {
      k.Polygon({cx, cy - r * 0.45f, cx + r * 0.35f, cy, cx, cy + r * 0.45f, cx - r * 0.35f, cy}, Rgb(0x202020));
      continue;
    }
    const float rad = r * (big ? 0.42f : 0.28f);
    if (city->IsPort()) k.Disc(cx, cy, rad + r * 0.12f, Rgb(0x1C4F8C));
    k.Disc(cx, cy, rad, Rgb(big ? 0xB01818 : 0x202020));
    if (big) k.Disc(cx, cy, rad * 0.45f, Rgb(0xFFFFFF));
  }
}

// A canvas holding the whole map at cell radius r.
Canvas CanvasFor(const cMap& map, float r) {
  const sLayout L{r};
  return Canvas(int(std::ceil(L.CentreX(map.GetWidth() - 1) + r)),
                int(std::ceil(std::sqrt(3.0f) * r * (map.GetHeight() + 0.5f))));
}

void Save(const Canvas& k, const std::filesystem::path& path) {
  const std::string error = tooldraw::WritePng(k, path.string().c_str());
  if (!error.empty()) throw std::runtime_error(error);
}

std::vector<std::uint32_t> Colours(const std::string& list) {
  std::vector<std::uint32_t> out;
  std::stringstream s(list);
  std::string item;
  while (std::getline(s, item, ',')) {
    std::size_t used = 0;
    const unsigned long v = std::stoul(item, &used, 16);
    if (used != item.size() || item.size() != 6) throw std::invalid_argument("colour");
    out.push_back(static_cast<std::uint32_t>(v));
  }
  return out;
}

}  // namespace

namespace scen {

bool DrawFlag(const std::string& design, int w, int h, std::vector<unsigned char>& rgba) {
  Canvas k(w * 4, h * 4, 4.0f);
  const float W = float(w);
  const float H = float(h);
  const std::size_t colon = design.find(':');
  const std::string kind = design.substr(0, colon);
  std::vector<std::uint32_t> c;
  try {
    if (colon != std::string::npos) c = Colours(design.substr(colon + 1));
  } catch (const std::exception&) {
    return false;
  }
  auto need = [&](std::size_t n) { return c.size() >= n; };
  if (kind == "h" && need(1)) {
    for (std::size_t i = 0; i < c.size(); ++i) k.Rect(0, H * i / c.size(), W, H / c.size() + 0.3f, Rgb(c[i]));
  } else if (kind == "v" && need(1)) {
    for (std::size_t i = 0; i < c.size(); ++i) k.Rect(W * i / c.size(), 0, W / c.size() + 0.3f, H, Rgb(c[i]));
  } else if (kind == "plain" && need(1)) {
    k.Rect(0, 0, W, H, Rgb(c[0]));
  } else if (kind == "nordic" && need(2)) {
    const float t = H * 0.2f;
    k.Rect(0, 0, W, H, Rgb(c[0]));
    k.Rect(W * 0.3f, 0, t, H, Rgb(c[1]));
    k.Rect(0, (H - t) / 2, W, t, Rgb(c[1]));
    if (need(3)) {
      const float i = t * 0.5f;
      k.Rect(W * 0.3f + (t - i) / 2, 0, i, H, Rgb(c[2]));
      k.Rect(0, (H - i) / 2, W, i, Rgb(c[2]));
    }
  } else if (kind == "swiss" && need(2)) {
    k.Rect(0, 0, W, H, Rgb(c[0]));
    const float s = H * 0.6f;
    const float t = s / 3.2f;
    k.Rect((W - t) / 2, (H - s) / 2, t, s, Rgb(c[1]));
    k.Rect((W - s) / 2, (H - t) / 2, s, t, Rgb(c[1]));
  } else if (kind == "union") {
    k.Rect(0, 0, W, H, Rgb(0x012169));
    k.Line(0, 0, W, H, H * 0.2f, Rgb(0xFFFFFF));
    k.Line(0, H, W, 0, H * 0.2f, Rgb(0xFFFFFF));
    k.Line(0, 0, W, H, H * 0.07f, Rgb(0xC8102E));
    k.Line(0, H, W, 0, H * 0.07f, Rgb(0xC8102E));
    k.Rect(0, H * 0.333f, W, H * 0.334f, Rgb(0xFFFFFF));
    k.Rect(W / 2 - H * 0.167f, 0, H * 0.334f, H, Rgb(0xFFFFFF));
    k.Rect(0, H * 0.4f, W, H * 0.2f, Rgb(0xC8102E));
    k.Rect(W / 2 - H * 0.1f, 0, H * 0.2f, H, Rgb(0xC8102E));
  } else if (kind == "greek") {
    for (int i = 0; i < 9; ++i) k.Rect(0, H * i / 9, W, H / 9 + 0.3f, Rgb(i % 2 ? 0xFFFFFF : 0x0D5EAF));
    const float s = H * 5 / 9;
    k.Rect(0, 0, s, s, Rgb(0x0D5EAF));
    k.Rect(s * 0.4f, 0, s * 0.2f, s, Rgb(0xFFFFFF));
    k.Rect(0, s * 0.4f, s, s * 0.2f, Rgb(0xFFFFFF));
  } else if (kind == "crescent" && need(2)) {
    k.Rect(0, 0, W, H, Rgb(c[0]));
    k.Disc(W * 0.4f, H / 2, H * 0.25f, Rgb(c[1]));
    k.Disc(W * 0.45f, H / 2, H * 0.2f, Rgb(c[0]));
    k.Disc(W * 0.6f, H / 2, H * 0.08f, Rgb(c[1]));
  } else if (kind == "star" && need(2)) {
    k.Rect(0, 0, W, H, Rgb(c[0]));
    std::vector<float> star;
    for (int i = 0; i < 10; ++i) {
      const float a = -tooldraw::kPi / 2 + tooldraw::kPi / 5 * i;
      const float rad = (i % 2 ? 0.4f : 1.0f) * H * 0.14f;
      star.push_back(W * 0.18f + std::cos(a) * rad);
      star.push_back(H * 0.22f + std::sin(a) * rad);
    }
    k.Polygon(star, Rgb(c[1]));
  } else if (kind == "hoist" && need(4)) {
    for (std::size_t i = 0; i < 3; ++i) k.Rect(0, H * i / 3, W, H / 3 + 0.3f, Rgb(c[i]));
    k.Polygon({0, 0, W * 0.25f, H * 0.25f, W * 0.25f, H * 0.75f, 0, H}, Rgb(c[3]));
  } else {
    return false;
  }
  Canvas small(w, h);
  k.DownsampleInto(small, 4, 0, 0);
  rgba = small.Bytes();
  return true;
}

}  // namespace scen

void RenderScenarioImages(const cWorld& world, const std::filesystem::path& scenarioFolder) {
  const cMap& map = world.GetMap();
  if (map.GetWidth() <= 0 || map.GetHeight() <= 0) throw std::runtime_error("the world has no map");
  {
    Canvas picture = CanvasFor(map, 4.6f);
    DrawMap(picture, world, 4.6f, false);
    Save(picture, scenarioFolder / "image.png");
  }
  {
    // The picture has the map's proportions: the minimap panel draws the
    // whole picture into a rectangle of those proportions, and the
    // ownership layer paints one texel per cell position over it.
    const int size = 256;
    const int W = map.GetWidth(), H = map.GetHeight();
    const int cols = W >= H ? size : std::clamp(size * W / H, 1, size);
    const int rows = W >= H ? std::clamp(size * H / W, 1, size) : size;
    Canvas mini(cols, rows);
    for (int v = 0; v < rows; ++v) {
      for (int u = 0; u < cols; ++u) {
        const sHex& h = map.GetHex(u * W / cols, v * H / rows);
        mini.At(u, v) = h.IsWater() ? Rgb(0x3D6FA8) : TerrainColour(h.terrain);
      }
    }
    Save(mini, scenarioFolder / "minimap.png");
  }
}

void RenderScenarioPictures(const cWorld& world, const std::vector<scen::sCountrySource>& countries,
                            const std::filesystem::path& scenarioFolder, const std::string& previewPath) {
  {
    Canvas preview = CanvasFor(world.GetMap(), 8.0f);
    DrawMap(preview, world, 8.0f, true);
    Save(preview, previewPath);
  }
  RenderScenarioImages(world, scenarioFolder);
  for (const scen::sCountrySource& c : countries) {
    std::vector<unsigned char> rgba;
    if (!scen::DrawFlag(c.flag, 60, 40, rgba)) throw std::runtime_error(c.name + ": unknown flag design " + c.flag);
    Canvas flag(60, 40);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 60; ++x) {
        const unsigned char* p = &rgba[std::size_t(y * 60 + x) * 4];
        flag.At(x, y) = Col{float(p[0]), float(p[1]), float(p[2]), float(p[3])};
      }
    }
    Save(flag, scenarioFolder / "Flags" / (c.name + ".png"));
  }
}
