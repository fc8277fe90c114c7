#include "make_event_pictures/picture_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace evpic {

float Noise(unsigned seed) {
  seed ^= seed >> 16;
  seed *= 0x7feb352dU;
  seed ^= seed >> 15;
  seed *= 0x846ca68bU;
  seed ^= seed >> 16;
  return (seed & 0xFFFFFF) / float(0xFFFFFF);
}

void Text(Canvas& k, TTF_Font* font, const std::string& text, float cx, float cy, Col colour, float shadow, Col halo) {
  if (font == nullptr || text.empty()) return;
  SDL_Surface* s = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
  if (s == nullptr) return;
  SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(s);
  if (c == nullptr) return;
  // The font is opened at the large canvas's size: one glyph pixel per canvas pixel.
  const int x0 = int(std::lround(cx * kSuper - c->w / 2.0f)), y0 = int(std::lround(cy * kSuper - c->h / 2.0f));
  auto alpha = [&](int x, int y) {
    return static_cast<const std::uint8_t*>(c->pixels)[y * c->pitch + x * 4 + 3] / 255.0f;
  };
  if (halo.a > 0) {
    // A paper-coloured outline keeps a label readable over the map.
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) {
        if (dx * dx + dy * dy > 5 || (dx == 0 && dy == 0)) continue;
        for (int y = 0; y < c->h; ++y)
          for (int x = 0; x < c->w; ++x)
            if (const float a = alpha(x, y); a > 0) k.Blend(x0 + x + dx, y0 + y + dy, Alpha(halo, halo.a * a * 0.5f));
      }
  }
  for (int pass = shadow > 0 ? 0 : 1; pass < 2; ++pass) {
    const int d = pass == 0 ? int(shadow * kSuper) : 0;
    const Col ink = pass == 0 ? Col{10, 8, 6, 170} : colour;
    for (int y = 0; y < c->h; ++y)
      for (int x = 0; x < c->w; ++x)
        if (const float a = alpha(x, y); a > 0) k.Blend(x0 + x + d, y0 + y + d, Alpha(ink, ink.a * a));
  }
  SDL_FreeSurface(c);
}

void Finish(Canvas& k, const Fonts& fonts, const std::string& title, const std::string& date) {
  const int w = k.W(), h = k.H();
  // Paper grain and a vignette that darkens the corners.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Col& p = k.At(x, y);
      const float dx = (x - w / 2.0f) / (w / 2.0f), dy = (y - h / 2.0f) / (h / 2.0f);
      const float v = 1.0f - 0.32f * std::pow(std::min(1.0f, (dx * dx + dy * dy) / 2.0f), 1.3f);
      const float g = 1.0f + (Noise(unsigned(y * 4099 + x)) - 0.5f) * 0.07f;
      p.r = std::clamp(p.r * v * g, 0.0f, 255.0f);
      p.g = std::clamp(p.g * v * g, 0.0f, 255.0f);
      p.b = std::clamp(p.b * v * g, 0.0f, 255.0f);
      p.a = 255;
    }
  // The caption band: dark, with a brass rule on top.
  tooldraw::VGradient(k, 0, kCaptionTop, kSize, kSize - kCaptionTop, Col{34, 28, 22, 240}, Col{14, 11, 9, 250});
  k.Rect(0, kCaptionTop, kSize, 2, Col{196, 160, 92, 255});
  Text(k, fonts.caption, title, kSize / 2.0f, kCaptionTop + 22, Col{240, 222, 178, 255}, 1.0f);
  Text(k, fonts.small, date, kSize / 2.0f, kCaptionTop + 46, Col{190, 164, 116, 255});
  // The double rule round the edge.
  const Col rule{58, 44, 30, 255};
  tooldraw::Bevel(k, 0, 0, kSize, kSize, 5, rule, rule);
  tooldraw::Bevel(k, 8, 8, kSize - 16, kSize - 16, 1.2f, Col{210, 182, 120, 200}, Col{210, 182, 120, 200});
}

std::string Save(const Canvas& big, const std::string& path) {
  Canvas out(kSize, kSize);
  big.DownsampleInto(out, kSuper, 0, 0);
  return tooldraw::WritePng(out, path.c_str());
}

}  // namespace evpic
