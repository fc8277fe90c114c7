#include "make_event_pictures/map_scene.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace evpic {

namespace {

const Col kPaper{232, 219, 186, 255};
const Col kSea{126, 156, 172, 255};
const Col kInk{52, 40, 28, 255};

// Flat-topped hexes, the even columns half a row lower (as the game draws them).
struct HexLayout {
  float size;  // centre to corner, final pixels
  float originX, originY;
  float W() const { return size * 2; }
  float H() const { return size * std::sqrt(3.0f); }
  std::pair<float, float> Centre(float x, float y) const {
    const int column = int(std::lround(x));
    const float shift = (column % 2 == 0) ? H() / 2 : 0;
    return {originX + x * W() * 0.75f, originY + y * H() + shift};
  }
  std::vector<float> Corners(int x, int y, float scale = 1.0f) const {
    const auto [cx, cy] = Centre(float(x), float(y));
    std::vector<float> p;
    for (int i = 0; i < 6; ++i) {
      const float a = tooldraw::kPi / 3 * i;
      p.push_back(cx + std::cos(a) * size * scale);
      p.push_back(cy + std::sin(a) * size * scale);
    }
    return p;
  }
};

void DrawArrow(Canvas& k, const HexLayout& l, const Arrow& a) {
  if (a.path.size() < 2) return;
  std::vector<std::pair<float, float>> pts;
  for (auto [x, y] : a.path) pts.push_back(l.Centre(x, y));
  // A smoothed path: each corner cut by quadratic interpolation.
  std::vector<std::pair<float, float>> smooth{pts.front()};
  for (std::size_t i = 1; i + 1 < pts.size(); ++i) {
    const auto [ax, ay] = pts[i - 1];
    const auto [bx, by] = pts[i];
    const auto [cx, cy] = pts[i + 1];
    const float sx = (ax + bx) / 2, sy = (ay + by) / 2, ex = (bx + cx) / 2, ey = (by + cy) / 2;
    for (int s = 0; s <= 8; ++s) {
      const float t = s / 8.0f;
      smooth.push_back({(1 - t) * (1 - t) * sx + 2 * (1 - t) * t * bx + t * t * ex,
                        (1 - t) * (1 - t) * sy + 2 * (1 - t) * t * by + t * t * ey});
    }
  }
  smooth.push_back(pts.back());
  const float width = l.size * 1.3f;
  const auto [hx, hy] = smooth.back();
  const auto [px, py] = smooth[smooth.size() - 2];
  const float len = std::hypot(hx - px, hy - py) + 1e-6f;
  const float ux = (hx - px) / len, uy = (hy - py) / len;
  const float head = width * 2.2f;
  const float bx = hx - ux * head, by = hy - uy * head;
  smooth.back() = {bx, by};
  for (int pass = 0; pass < 2; ++pass) {
    const Col c = pass == 0 ? Col{30, 22, 14, 200} : a.colour;
    const float grow = pass == 0 ? 2.5f : 0.0f;
    for (std::size_t i = 0; i + 1 < smooth.size(); ++i) {
      // The shaft narrows towards the tail.
      const float t = float(i) / float(smooth.size());
      const float wdt = width * (0.55f + 0.45f * t) + grow;
      k.Line(smooth[i].first, smooth[i].second, smooth[i + 1].first, smooth[i + 1].second, wdt, c);
      k.Disc(smooth[i + 1].first, smooth[i + 1].second, wdt / 2, c);
    }
    const float hw = width * 1.25f + grow;
    k.Polygon({hx + ux * grow, hy + uy * grow, bx - uy * hw, by + ux * hw, bx + uy * hw, by - ux * hw}, c);
  }
}

}  // namespace

std::vector<Col> CountryColours(const std::filesystem::path& sources) {
  std::vector<Col> colours{kPaper};  // id 0: nobody
  std::ifstream in(sources / "countries.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.size() < 11 || w[0] != "country") continue;
    const unsigned rgb = unsigned(std::stoul(w[10], nullptr, 16));
    colours.push_back(Col{float((rgb >> 16) & 255), float((rgb >> 8) & 255), float(rgb & 255), 255});
  }
  return colours;
}

void DrawMap(Canvas& k, const Fonts& fonts, const evscript::ScenarioGeo& geo, const std::vector<Col>& colours,
             const MapScene& scene) {
  HexLayout l{};
  l.size = kSize / ((scene.columns * 0.75f + 0.25f) * 2.0f);
  l.originX = kSize / 2.0f - scene.centreX * l.W() * 0.75f;
  l.originY = kCaptionTop / 2.0f - scene.centreY * l.H() - l.H() / 4;
  k.Rect(0, 0, kSize, kSize, kSea);
  // The sea's engraved hatching.
  for (float y = 4; y < kSize; y += 5) k.Rect(0, y, kSize, 0.8f, Col{100, 130, 148, 170});
  auto colourOf = [&](int id) { return id > 0 && id < int(colours.size()) ? colours[size_t(id)] : kPaper; };
  for (int y = 0; y < geo.Height(); ++y)
    for (int x = 0; x < geo.Width(); ++x) {
      const auto [cx, cy] = l.Centre(float(x), float(y));
      if (cx < -l.W() || cx > kSize + l.W() || cy < -l.H() || cy > kCaptionTop + l.H() || !geo.IsLand(x, y)) continue;
      const int owner = geo.OwnerIn1939(x, y);
      const int later = scene.newOwner(x, y);
      const Col tint = Mix(kPaper, colourOf(later > 0 ? later : owner), 0.4f);
      k.Polygon(l.Corners(x, y, 1.02f), tint);
      if (later > 0) {
        // Hatched: the land that changes hands.
        const Col hatch = Mix(colourOf(later), kInk, 0.35f);
        const std::vector<float> corners = l.Corners(x, y, 1.0f);
        // The centre is captured as copies: clang 14 does not capture a structured binding.
        k.FillWhere(cx - l.size, cy - l.H() / 2, cx + l.size, cy + l.H() / 2, [&, cx = cx, cy = cy](float u, float v) {
          const float du = std::fabs(u - cx), dv = std::fabs(v - cy);
          const bool inside = dv <= l.H() / 2 && du <= l.size - dv / std::sqrt(3.0f);
          return inside && std::fmod(u + v + 1000.0f, 6.0f) < 1.6f;
        }, hatch);
      }
    }
  // Borders: an inked edge wherever neighbouring land has another owner, and
  // the coast wherever land meets the sea.
  for (int y = 0; y < geo.Height(); ++y)
    for (int x = 0; x < geo.Width(); ++x) {
      if (!geo.IsLand(x, y)) continue;
      const auto [cx, cy] = l.Centre(float(x), float(y));
      if (cx < -l.W() || cx > kSize + l.W() || cy < -l.H() || cy > kCaptionTop + l.H()) continue;
      auto ownerNow = [&](int hx, int hy) {
        const int later = scene.newOwner(hx, hy);
        return later > 0 ? later : geo.OwnerIn1939(hx, hy);
      };
      const std::vector<float> c = l.Corners(x, y);
      // Neighbours of a flat-topped hex, in the order of its six sides
      // (side i runs from corner i to corner i + 1).
      const bool even = x % 2 == 0;
      const int nx[6] = {x + 1, x, x - 1, x - 1, x, x + 1};
      const int ny[6] = {even ? y + 1 : y, y + 1, even ? y + 1 : y, even ? y : y - 1, y - 1, even ? y : y - 1};
      for (int i = 0; i < 6; ++i) {
        const int j = (i + 1) % 6;
        const bool coast = !geo.IsLand(nx[i], ny[i]);
        const bool border = !coast && ownerNow(nx[i], ny[i]) != ownerNow(x, y);
        if (!coast && !border) continue;
        k.Line(c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1], coast ? 1.6f : 1.1f,
               coast ? Col{60, 72, 74, 230} : Col{70, 46, 40, 200});
      }
    }
  for (const Arrow& a : scene.arrows) DrawArrow(k, l, a);
  for (const std::string& name : scene.cities) {
    const evscript::Hex h = geo.City(name);
    const auto [cx, cy] = l.Centre(float(h.x), float(h.y));
    k.Disc(cx, cy, 4.2f, kInk);
    k.Disc(cx, cy, 2.4f, Col{236, 226, 200, 255});
    Text(k, fonts.small, name, cx, cy - 13, kInk, 0, Col{240, 230, 204, 255});
  }
}

}  // namespace evpic
