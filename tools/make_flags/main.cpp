// make_flags: draws simple country flags (64 x 40 PNG, like the unknown
// flag): three stripes of the given colours, vertical or horizontal, with a
// thin bevelled edge. Used for the countries of test scenarios.
// Usage: make_flags <folder> <name>=<v|h>,<RRGGBB>,<RRGGBB>,<RRGGBB> ...
//   writes <folder>/<name>.png for each argument.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/draw.h"

namespace {

using tooldraw::Canvas;
using tooldraw::Col;

constexpr int kWidth = 64;
constexpr int kHeight = 40;

bool ParseColour(const std::string& text, Col& out) {
  if (text.size() != 6) return false;
  char* end = nullptr;
  const unsigned long v = std::strtoul(text.c_str(), &end, 16);
  if (end != text.c_str() + 6) return false;
  out = Col{float((v >> 16) & 0xFF), float((v >> 8) & 0xFF), float(v & 0xFF), 255};
  return true;
}

// "<name>=<v|h>,<c1>,<c2>,<c3>" into its parts; false when malformed.
bool ParseFlagDesign(const std::string& design, std::string& name, bool& vertical, Col colours[3]) {
  const std::size_t eq = design.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  name = design.substr(0, eq);
  const std::string rest = design.substr(eq + 1);
  if (rest.size() != 1 + 3 * 7 || (rest[0] != 'v' && rest[0] != 'h')) return false;
  vertical = rest[0] == 'v';
  for (int i = 0; i < 3; ++i) {
    if (rest[1 + 7 * i] != ',') return false;
    if (!ParseColour(rest.substr(2 + 7 * i, 6), colours[i])) return false;
  }
  return true;
}

Col Shade(Col c, float f) { return Col{c.r * f, c.g * f, c.b * f, 255}; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_flags <folder> <name>=<v|h>,<RRGGBB>,<RRGGBB>,<RRGGBB> ...\n");
    return 2;
  }
  const std::string folder = argv[1];
  for (int a = 2; a < argc; ++a) {
    std::string name;
    bool vertical = true;
    Col colours[3];
    if (!ParseFlagDesign(argv[a], name, vertical, colours)) {
      std::fprintf(stderr, "make_flags: bad flag \"%s\"\n", argv[a]);
      return 2;
    }
    Canvas k(kWidth, kHeight);
    for (int i = 0; i < 3; ++i) {
      if (vertical) {
        const float x0 = kWidth * i / 3.0f, x1 = kWidth * (i + 1) / 3.0f;
        k.Rect(x0, 0, x1 - x0, kHeight, colours[i]);
      } else {
        const float y0 = kHeight * i / 3.0f, y1 = kHeight * (i + 1) / 3.0f;
        k.Rect(0, y0, kWidth, y1 - y0, colours[i]);
      }
    }
    tooldraw::Bevel(k, 0, 0, kWidth, kHeight, 1, Col{255, 255, 255, 90}, Shade(Col{0, 0, 0, 255}, 1.0f));
    const std::string path = folder + "/" + name + ".png";
    const std::string err = tooldraw::WritePng(k, path.c_str());
    if (!err.empty()) {
      std::fprintf(stderr, "make_flags: %s\n", err.c_str());
      return 1;
    }
    std::printf("wrote %s\n", path.c_str());
  }
  return 0;
}
