// The pictograms the console sheet's icons and its hover boxes share.
#include "make_console_sheet/pictograms.h"

#include <cmath>
#include <vector>

namespace console_sheet {

using tooldraw::Canvas;
using tooldraw::Col;
using tooldraw::kPi;

void IconAnchor(Canvas& k, Col c, Col) {
  k.Ring(60, 30, 6, 11, c);
  k.Rect(56, 40, 8, 50, c);
  k.Rect(42, 46, 36, 7, c);
  k.Arc(60, 62, 30, 0.25f * kPi, 0.75f * kPi, 7, c);
  k.Polygon({84, 86, 97, 69, 80, 73}, c);
  k.Polygon({36, 86, 23, 69, 40, 73}, c);
}

void IconFlag(Canvas& k, Col c, Col) {
  k.Rect(30, 20, 6, 80, c);
  k.Disc(33, 19, 5, c);
  k.Rect(22, 96, 22, 5, c);
  std::vector<float> p;
  for (int i = 0; i <= 20; ++i) { p.push_back(36 + i * 3.0f); p.push_back(26 + 5 * std::sin(i * 0.35f)); }
  for (int i = 20; i >= 0; --i) { p.push_back(36 + i * 3.0f); p.push_back(64 + 5 * std::sin(i * 0.35f)); }
  k.Polygon(p, c);
}

void Pictogram(Canvas& s, IconFn fn, int x, int y, int size, Col ink, Col bg, bool shadow) {
  constexpr int kSuper = 4;
  Canvas k(size * kSuper, size * kSuper, size * kSuper / 120.0f);
  if (shadow) {
    k.SetOffset(4, 5);
    fn(k, Col{0, 0, 0, 150}, Col{0, 0, 0, 0});
    k.SetOffset(0, 0);
  }
  fn(k, ink, bg);
  k.DownsampleInto(s, kSuper, x, y);
}

}  // namespace console_sheet
