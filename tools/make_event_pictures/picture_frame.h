// The common frame of the event pictures: a 512 x 512 print drawn at twice
// the size and averaged down, with the period finish (paper grain, a
// vignette, a double rule round the edge) and a caption band at the foot
// naming the scene and its date in a serif face.
#pragma once

#include <SDL_ttf.h>

#include <string>

#include "common/draw.h"

namespace evpic {

using tooldraw::Canvas;
using tooldraw::Col;

constexpr int kSize = 512;   // final picture
constexpr int kSuper = 2;    // drawn at twice the size
constexpr float kCaptionTop = 452.0f;  // the caption band below, in final pixels

struct Fonts {
  TTF_Font* caption = nullptr;  // the band's title
  TTF_Font* small = nullptr;    // its date line and the labels of maps
};

inline Col Mix(Col a, Col b, float t) {
  return Col{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
inline Col Alpha(Col c, float a) { return Col{c.r, c.g, c.b, a}; }

// Text blended into the canvas (units = final pixels), centred on cx, cy,
// with a soft shadow when shadow is above 0 and an outline in the halo's
// colour when it is not clear.
void Text(Canvas& k, TTF_Font* font, const std::string& text, float cx, float cy, Col colour, float shadow = 0,
          Col halo = Col{0, 0, 0, 0});

// Paper grain, vignette and the double rule; then the caption band with the
// title and the date line. Called last on the large canvas.
void Finish(Canvas& k, const Fonts& fonts, const std::string& title, const std::string& date);

// A repeatable pseudo-random fraction in 0..1 from an integer seed.
float Noise(unsigned seed);

// Writes the large canvas averaged down to 512 x 512; an empty string on
// success, else the reason.
std::string Save(const Canvas& big, const std::string& path);

}  // namespace evpic
