// make_menu_art: draws the pictures of the intro and the menus:
//   gfx/logof.png          the studio emblem shown first in the intro (512 x 384)
//   gfx/logog.png          the game's title logo shown second (512 x 384)
//   gfx/cur.png            the mouse cursor, a brass arrow, hot spot top-left (32 x 32)
//   gfx/Flags/unknown.png  the flag of a country without its own (64 x 40)
//   gfx/seabattle_crest.png the sea-battle screen's plate under its title: two
//                          warships trading fire across a rolling sea (236 x 96)
// Brass on dark, lettering in Liberation Serif Bold. Plain arithmetic in a
// fixed order: the output is the same on every run.
// Usage: make_menu_art <gfx folder> [<font file>]
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/draw.h"

namespace {

using tooldraw::Canvas;
using tooldraw::Col;
using tooldraw::kPi;

constexpr int kSuper = 4;  // shapes are drawn four times larger, then averaged down

const Col kBrassLight{246, 214, 140, 255};
const Col kBrass{206, 160, 74, 255};
const Col kBrassDark{120, 84, 30, 255};
const Col kInk{18, 20, 26, 255};

Col WithAlpha(Col c, float a) { return Col{c.r, c.g, c.b, a}; }

// Blends text (centred on cx, cy in final pixels) into the canvas with a
// vertical brass gradient and a dark drop shadow.
void DrawText(Canvas& k, TTF_Font* font, const std::string& text, float cx, float cy, Col top, Col bottom,
              float shadow) {
  SDL_Surface* s = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
  if (s == nullptr) return;
  SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(s);
  if (c == nullptr) return;
  const int x0 = int(std::lround(cx - c->w / 2.0f)), y0 = int(std::lround(cy - c->h / 2.0f));
  auto alpha = [&](int x, int y) {
    return static_cast<const std::uint8_t*>(c->pixels)[y * c->pitch + x * 4 + 3] / 255.0f;
  };
  if (shadow > 0) {
    const int d = int(shadow);
    for (int y = 0; y < c->h; ++y)
      for (int x = 0; x < c->w; ++x)
        if (float a = alpha(x, y); a > 0) k.Blend(x0 + x + d, y0 + y + d, WithAlpha(kInk, 200 * a));
  }
  for (int y = 0; y < c->h; ++y) {
    const float t = c->h > 1 ? y / float(c->h - 1) : 0;
    const Col g{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t, 255};
    for (int x = 0; x < c->w; ++x)
      if (float a = alpha(x, y); a > 0) k.Blend(x0 + x, y0 + y, WithAlpha(g, 255 * a));
  }
  SDL_FreeSurface(c);
}

// A dark vignette that reaches pure black at the edges, so the logo sits on
// the intro's black screen without a visible border.
void DarkBackdrop(Canvas& k) {
  const float cx = k.W() / 2.0f, cy = k.H() / 2.0f;
  for (int y = 0; y < k.H(); ++y)
    for (int x = 0; x < k.W(); ++x) {
      const float dx = (x - cx) / cx, dy = (y - cy) / cy;
      const float d = std::min(1.0f, std::sqrt(dx * dx + dy * dy));
      const float f = (1 - d) * (1 - d);
      k.At(x, y) = Col{30 * f, 42 * f, 62 * f, 255};
    }
}

// Rolling waves: a band of crests along y (units).
void Waves(Canvas& k, float x0, float x1, float y, float amp, float period, float t, Col c) {
  k.FillWhere(x0, y - amp - t, x1, y + amp + t, [&](float u, float v) {
    const float phase = (u - x0) / period * 2 * kPi;
    const float crest = y - amp * std::sin(phase);
    return std::fabs(v - crest) <= t / 2;
  }, c);
}

// The emblem: a brass ring, an anchor and waves across its foot (units,
// centre cx, cy, ring radius r).
void Emblem(Canvas& k, float cx, float cy, float r) {
  k.Ring(cx, cy, r * 0.90f, r, kBrassDark);
  k.Ring(cx, cy, r * 0.915f, r * 0.985f, kBrass);
  k.Ring(cx, cy, r * 0.80f, r * 0.83f, kBrassDark);
  k.Disc(cx, cy, r * 0.80f, Col{16, 30, 44, 255});
  // Anchor: ring, stock, shank, crown with flukes.
  const float s = r / 100.0f;
  k.Ring(cx, cy - 55 * s, 9 * s, 15 * s, kBrass);
  k.Rect(cx - 30 * s, cy - 36 * s, 60 * s, 8 * s, kBrass);
  k.Disc(cx - 30 * s, cy - 32 * s, 5 * s, kBrass);
  k.Disc(cx + 30 * s, cy - 32 * s, 5 * s, kBrass);
  k.Rect(cx - 5 * s, cy - 42 * s, 10 * s, 92 * s, kBrass);
  k.Arc(cx, cy + 8 * s, 44 * s, kPi * 0.15f, kPi * 0.85f, 8 * s, kBrass);
  k.Polygon({cx - 50 * s, cy + 20 * s, cx - 36 * s, cy + 10 * s, cx - 34 * s, cy + 30 * s}, kBrass);
  k.Polygon({cx + 50 * s, cy + 20 * s, cx + 36 * s, cy + 10 * s, cx + 34 * s, cy + 30 * s}, kBrass);
  // Highlight down the shank.
  k.Rect(cx - 4 * s, cy - 40 * s, 3 * s, 86 * s, WithAlpha(kBrassLight, 160));
  // Waves over the anchor's foot, clipped to the disc.
  for (int i = 0; i < 3; ++i) {
    const float y = cy + (40 + i * 14) * s;
    const float half = std::sqrt(std::max(0.0f, (r * 0.78f) * (r * 0.78f) - (y - cy) * (y - cy)));
    Waves(k, cx - half, cx + half, y, 3.5f * s, 44 * s, 5 * s, i == 0 ? kBrassLight : kBrass);
  }
}

bool Save(const Canvas& k, const std::string& path) {
  const std::string err = tooldraw::WritePng(k, path.c_str());
  if (!err.empty()) {
    std::fprintf(stderr, "make_menu_art: %s\n", err.c_str());
    return false;
  }
  std::printf("wrote %s\n", path.c_str());
  return true;
}

// Shapes on a large canvas, averaged down onto the final one.
Canvas Down(const Canvas& big, int w, int h) {
  Canvas out(w, h);
  big.DownsampleInto(out, kSuper, 0, 0);
  return out;
}

bool StudioLogo(const std::string& gfx, TTF_Font* small) {
  Canvas k(512, 384);
  DarkBackdrop(k);
  Canvas big(512 * kSuper, 384 * kSuper, kSuper);
  Emblem(big, 256, 160, 110);
  big.DownsampleInto(k, kSuper, 0, 0);
  DrawText(k, small, "TIDEWRACK  STUDIOS", 256, 318, kBrassLight, kBrass, 2);
  Canvas rule(512 * kSuper, 384 * kSuper, kSuper);
  rule.Rect(156, 342, 200, 2, WithAlpha(kBrassDark, 230));
  rule.DownsampleInto(k, kSuper, 0, 0);
  return Save(k, gfx + "/logof.png");
}

bool GameLogo(const std::string& gfx, TTF_Font* title, TTF_Font* small) {
  Canvas k(512, 384);
  DarkBackdrop(k);
  Canvas big(512 * kSuper, 384 * kSuper, kSuper);
  Emblem(big, 256, 110, 62);
  for (int i = 0; i < 3; ++i) Waves(big, 96, 416, 252 + i * 10, 3, 40, 3.0f, i == 0 ? kBrass : kBrassDark);
  big.DownsampleInto(k, kSuper, 0, 0);
  DrawText(k, title, "TIDEWRACK", 256, 212, kBrassLight, kBrassDark, 3);
  DrawText(k, small, "GRAND STRATEGY AT SEA  \xC2\xB7  1939 \xE2\x80\x93 1945", 256, 300, kBrassLight, kBrass, 2);
  return Save(k, gfx + "/logog.png");
}

bool Cursor(const std::string& gfx) {
  // The arrow's tip is the top-left pixel: that is where the click lands.
  Canvas big(32 * kSuper, 32 * kSuper, kSuper);
  const std::vector<float> arrow{0.5f, 0.5f, 0.5f, 23, 6.5f, 17.5f, 10.5f, 27, 14.5f, 25.5f, 10.8f, 16.5f, 19, 16.5f};
  // Dark outline: the arrow grown by drawing it shifted in eight directions.
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      std::vector<float> p = arrow;
      for (size_t i = 0; i < p.size(); i += 2) {
        p[i] = std::max(0.0f, p[i] + dx * 1.2f);
        p[i + 1] = std::max(0.0f, p[i + 1] + dy * 1.2f);
      }
      big.Polygon(p, kInk);
    }
  big.Polygon(arrow, kBrass);
  // A lit left edge.
  big.Polygon({1.5f, 2.5f, 1.5f, 19, 3.2f, 17.3f, 3.2f, 4.3f}, kBrassLight);
  return Save(Down(big, 32, 32), gfx + "/cur.png");
}

bool UnknownFlag(const std::string& gfx, TTF_Font* mark) {
  Canvas k(64, 40);
  tooldraw::VGradient(k, 0, 0, 64, 40, Col{150, 152, 156, 255}, Col{104, 106, 112, 255});
  tooldraw::Bevel(k, 0, 0, 64, 40, 1, Col{196, 198, 202, 255}, Col{58, 60, 66, 255});
  DrawText(k, mark, "?", 32, 20, Col{244, 244, 246, 255}, Col{206, 208, 212, 255}, 1);
  return Save(k, gfx + "/Flags/unknown.png");
}

// A warship's side view facing right (mirrored when facing left), its
// waterline at y, its length len (units).
void Warship(Canvas& k, float x, float y, float len, bool facesRight, Col hull, Col deck) {
  const float s = len / 100.0f;
  auto px = [&](float u) { return facesRight ? x + u * s : x + (100 - u) * s; };
  auto poly = [&](std::initializer_list<float> uv) {
    std::vector<float> p;
    bool isX = true;
    for (float v : uv) {
      p.push_back(isX ? px(v) : y + v * s);
      isX = !isX;
    }
    k.Polygon(p, hull);
  };
  // Hull with a raked bow, then the superstructure, funnels and turrets.
  poly({0, -6, 88, -6, 100, -11, 94, 3, 4, 3});
  poly({30, -6, 30, -14, 62, -14, 62, -6});
  poly({40, -14, 40, -22, 54, -22, 54, -14});
  poly({46, -22, 46, -34, 49, -34, 49, -22});
  poly({34, -14, 36, -24, 40, -24, 39, -14});
  poly({56, -14, 57, -23, 61, -23, 60, -14});
  poly({14, -6, 15, -10, 24, -10, 25, -6});
  poly({70, -6, 71, -10, 80, -10, 81, -6});
  // The guns of the forward turret point at the enemy.
  poly({78, -9.5f, 78, -8, 92, -9.5f, 92, -11});
  // A lit deck line.
  k.Line(px(4), y - 6 * s, px(88), y - 6 * s, 1.2f * s, deck);
}

bool SeaBattleCrest(const std::string& gfx) {
  constexpr int kW = 236, kH = 96;
  Canvas k(kW, kH);
  // Dusk sky over a dark sea.
  tooldraw::VGradient(k, 0, 0, kW, 62, Col{44, 58, 80, 255}, Col{112, 104, 92, 255});
  tooldraw::VGradient(k, 0, 62, kW, kH - 62, Col{24, 42, 60, 255}, Col{10, 20, 32, 255});
  Canvas big(kW * kSuper, kH * kSuper, kSuper);
  // Smoke of the two ships drifting astern.
  for (int i = 0; i < 6; ++i) {
    const Col smoke{70, 72, 78, 150.0f - i * 20.0f};
    big.Disc(58 - i * 7.0f, 28 - i * 2.5f, 5 + i * 1.6f, smoke);
    big.Disc(180 + i * 7.0f, 30 - i * 2.5f, 5 + i * 1.6f, smoke);
  }
  const Col hull{26, 30, 36, 255};
  const Col deck{150, 140, 120, 255};
  Warship(big, 14, 64, 84, true, hull, deck);
  Warship(big, 138, 66, 84, false, hull, deck);
  // The left ship fires: a flash and the shell's arc; a splash rises by the
  // right ship.
  big.Polygon({92, 56, 104, 52.5f, 92, 54}, Col{255, 200, 110, 220});
  big.Polygon({92, 56.5f, 101, 58, 93, 54.5f}, Col{255, 170, 80, 200});
  big.Ellipse(94, 55, 3, 1.8f, Col{255, 250, 220, 255});
  big.Arc(118, 78, 26, kPi * 1.15f, kPi * 1.85f, 0.8f, Col{255, 220, 150, 170});
  for (int i = 0; i < 5; ++i) {
    const float dx = (i - 2) * 2.2f;
    big.Polygon({136 + dx, 64, 138 + dx * 1.8f, 44 + std::fabs(dx) * 2.5f, 140 + dx, 64}, Col{220, 232, 240, 200});
  }
  // Rolling waves in the foreground.
  for (int i = 0; i < 4; ++i) {
    Waves(big, 0, kW, 70 + i * 7.0f, 1.6f, 22 + i * 4.0f, 1.4f, Col{90, 130, 160, 170.0f - i * 30.0f});
  }
  big.DownsampleInto(k, kSuper, 0, 0);
  // A brass frame.
  tooldraw::Bevel(k, 0, 0, kW, kH, 2, kBrassLight, kBrassDark);
  tooldraw::Bevel(k, 2, 2, kW - 4, kH - 4, 1, kBrassDark, kBrass);
  return Save(k, gfx + "/seabattle_crest.png");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_menu_art <gfx folder> [<font file>]\n");
    return 2;
  }
  const std::string gfx = argv[1];
  const std::string fontFile =
      argc > 2 ? argv[2] : "/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf";
  if (TTF_Init() != 0) {
    std::fprintf(stderr, "make_menu_art: %s\n", TTF_GetError());
    return 1;
  }
  TTF_Font* title = TTF_OpenFont(fontFile.c_str(), 70);
  TTF_Font* small = TTF_OpenFont(fontFile.c_str(), 20);
  TTF_Font* mark = TTF_OpenFont(fontFile.c_str(), 30);
  if (title == nullptr || small == nullptr || mark == nullptr) {
    std::fprintf(stderr, "make_menu_art: cannot open %s: %s\n", fontFile.c_str(), TTF_GetError());
    return 1;
  }
  bool ok = StudioLogo(gfx, small) && GameLogo(gfx, title, small) && Cursor(gfx) && UnknownFlag(gfx, mark) &&
            SeaBattleCrest(gfx);
  TTF_CloseFont(mark);
  TTF_CloseFont(small);
  TTF_CloseFont(title);
  TTF_Quit();
  return ok ? 0 : 1;
}
