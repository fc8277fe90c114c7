// The side views of the six ship types, shared by the unit skin's counter
// silhouettes and the unit pictures: aircraft carrier, battleship, cruiser,
// submarine, transport and amphibious (landing) ship, bow to the left.
//
// A profile is laid out in a 128 x 100 frame with its waterline at y 64 and
// its length between x 6 and 122; ShipPen places that frame anywhere at any
// size. The colours come from a ShipInk, so the same lines give a dark
// silhouette on a counter and a grey warship in a picture.
#pragma once

#include <vector>

#include "common/draw.h"

namespace tooldraw {

constexpr float kShipWaterline = 64.0f;

struct ShipInk {
  Col hull;    // hull
  Col upper;   // superstructure, funnels, turrets and guns
  Col detail;  // deck edges, windows, lines that catch the light
  Col dark;    // boot-topping, funnel caps, aircraft on deck
  Col cargo;   // deck cargo, boats
};

// Draws in the profile frame: x' = ox + x * s, y' = oy + y * s.
class ShipPen {
 public:
  ShipPen(Canvas& k, float ox, float oy, float s) : k_(k), ox_(ox), oy_(oy), s_(s) {}
  void Poly(std::vector<float> p, Col c) {
    for (size_t i = 0; i + 1 < p.size(); i += 2) {
      p[i] = ox_ + p[i] * s_;
      p[i + 1] = oy_ + p[i + 1] * s_;
    }
    k_.Polygon(p, c);
  }
  void Rect(float x, float y, float w, float h, Col c) { k_.Rect(ox_ + x * s_, oy_ + y * s_, w * s_, h * s_, c); }
  void Line(float xa, float ya, float xb, float yb, float t, Col c) {
    k_.Line(ox_ + xa * s_, oy_ + ya * s_, ox_ + xb * s_, oy_ + yb * s_, t * s_, c);
  }
  void Ellipse(float cx, float cy, float rx, float ry, Col c) {
    k_.Ellipse(ox_ + cx * s_, oy_ + cy * s_, rx * s_, ry * s_, c);
  }

 private:
  Canvas& k_;
  float ox_, oy_, s_;
};

namespace ship_detail {

// A gun turret on the deck at height deckY, barrels towards the bow
// (facing -1) or the stern (+1); raised turrets stand on a barbette.
inline void Turret(ShipPen& p, const ShipInk& ink, float x, float deckY, float w, float h, int facing, float raise,
                   float barrel) {
  if (raise > 0) p.Rect(x + 1, deckY - raise, w - 2, raise, ink.upper);
  const float base = deckY - raise;
  p.Poly({x, base, x + w, base, x + w - (facing < 0 ? 1.0f : 2.5f), base - h, x + (facing < 0 ? 2.5f : 1.0f), base - h},
         ink.upper);
  const float gy = base - h * 0.55f;
  const float gx = facing < 0 ? x + 1.5f : x + w - 1.5f;
  p.Line(gx, gy, gx + facing * barrel, gy - 0.6f, h * 0.28f, ink.upper);
  p.Line(gx, gy + h * 0.3f, gx + facing * barrel * 0.95f, gy + h * 0.3f - 0.5f, h * 0.22f, ink.upper);
  p.Rect(x + 1.5f, base - h, w - 3, 0.6f, ink.detail);
}

inline void Funnel(ShipPen& p, const ShipInk& ink, float x, float bottom, float top, float w) {
  p.Poly({x, bottom, x + w, bottom, x + w + 1.5f, top, x + 1.5f, top}, ink.upper);
  p.Poly({x + 1.3f, top + 1.6f, x + w + 1.3f, top + 1.6f, x + w + 1.5f, top, x + 1.5f, top}, ink.dark);
}

inline void Mast(ShipPen& p, const ShipInk& ink, float x, float bottom, float top, float yard) {
  p.Line(x, bottom, x + 0.6f, top, 1.1f, ink.upper);
  if (yard > 0) p.Line(x - yard / 2, top + 3, x + yard / 2, top + 3, 0.8f, ink.upper);
}

inline void Windows(ShipPen& p, const ShipInk& ink, float x, float y, float w) {
  for (float i = x + 1; i < x + w - 1; i += 2.6f) p.Rect(i, y, 1.4f, 1.1f, ink.detail);
}

inline void Carrier(ShipPen& p, const ShipInk& ink) {
  const float wl = kShipWaterline;
  p.Poly({12, 51, 118, 51, 116, 56, 112, wl, 22, wl, 16, 57}, ink.hull);
  p.Rect(20, wl - 2, 92, 2, ink.dark);
  // The open hangar under the flight deck, with its supports.
  for (float x = 24; x < 104; x += 9) p.Rect(x, 51.5f, 6, 3, ink.upper);
  // The flight deck overhangs bow and stern.
  p.Poly({6, 46.5f, 124, 46.5f, 122, 51, 10, 51}, ink.hull);
  p.Rect(8, 46.5f, 114, 1.0f, ink.detail);
  for (float x = 12; x < 118; x += 10) p.Rect(x, 48.3f, 5, 0.6f, ink.detail);
  // Aircraft parked forward.
  for (float x : {18.0f, 28.0f, 38.0f, 48.0f}) {
    p.Rect(x - 3.5f, 45.2f, 7, 1.1f, ink.dark);
    p.Rect(x - 0.6f, 43.6f, 1.2f, 2.9f, ink.dark);
    p.Rect(x + 1.6f, 44.0f, 0.8f, 2.0f, ink.dark);
  }
  // The island: bridge, funnel and mast on the starboard edge.
  p.Poly({82, 46.5f, 98, 46.5f, 97, 36, 84, 36}, ink.upper);
  Windows(p, ink, 84, 38.5f, 12);
  Funnel(p, ink, 88, 36, 28, 7);
  Mast(p, ink, 85, 36, 22, 8);
}

inline void Battleship(ShipPen& p, const ShipInk& ink) {
  const float wl = kShipWaterline;
  p.Poly({6, 49, 30, 52.5f, 110, 52.5f, 122, 51.5f, 118, 57, 114, wl, 16, wl, 9, 55}, ink.hull);
  p.Rect(16, wl - 2, 98, 2, ink.dark);
  p.Line(8, 49.5f, 30, 53, 0.7f, ink.detail);
  p.Rect(30, 52.5f, 80, 0.7f, ink.detail);
  // Superstructure: the forward tower, funnel and the after house.
  p.Rect(44, 45, 40, 7.5f, ink.upper);
  p.Poly({50, 45, 62, 45, 60.5f, 31, 52, 31}, ink.upper);
  p.Rect(50.5f, 28, 11, 3.5f, ink.upper);
  p.Rect(49, 35, 14, 1.2f, ink.detail);
  Windows(p, ink, 51, 40, 10);
  Mast(p, ink, 56, 28, 15, 9);
  Funnel(p, ink, 67, 45, 34, 10);
  p.Rect(84, 46, 10, 6.5f, ink.upper);
  Mast(p, ink, 89, 46, 30, 6);
  // Secondary guns along the upper deck.
  for (float x : {46.0f, 52.0f, 74.0f, 80.0f}) p.Line(x, 47.5f, x - 4, 47.2f, 0.9f, ink.hull);
  // Two turrets forward, two aft, the inner ones raised.
  Turret(p, ink, 20, 52, 12, 5, -1, 0, 13);
  Turret(p, ink, 33, 52.5f, 12, 5.5f, -1, 3.5f, 12);
  Turret(p, ink, 95, 52.5f, 12, 5.5f, 1, 3.5f, 12);
  Turret(p, ink, 107, 52.5f, 11, 5, 1, 0, 9);
}

inline void Cruiser(ShipPen& p, const ShipInk& ink) {
  const float wl = kShipWaterline;
  p.Poly({10, 51, 32, 54.5f, 108, 54.5f, 118, 53.5f, 114, 58, 110, wl, 20, wl, 13, 57}, ink.hull);
  p.Rect(20, wl - 1.8f, 90, 1.8f, ink.dark);
  p.Rect(32, 54.5f, 76, 0.6f, ink.detail);
  p.Rect(46, 48, 40, 6.5f, ink.upper);
  p.Poly({48, 48, 58, 48, 57, 37, 50, 37}, ink.upper);
  p.Rect(48.5f, 35, 8, 2.5f, ink.upper);
  Windows(p, ink, 49, 41, 8);
  Mast(p, ink, 53, 35, 22, 7);
  Funnel(p, ink, 62, 48, 39, 6);
  Funnel(p, ink, 71, 48, 40, 6);
  Mast(p, ink, 82, 48, 33, 5);
  Turret(p, ink, 26, 54, 9, 4, -1, 0, 9);
  Turret(p, ink, 36, 54.5f, 9, 4.2f, -1, 2.8f, 8);
  Turret(p, ink, 89, 54.5f, 9, 4.2f, 1, 2.8f, 8);
  Turret(p, ink, 99, 54.5f, 9, 4, 1, 0, 7);
}

inline void Submarine(ShipPen& p, const ShipInk& ink) {
  const float wl = kShipWaterline;
  // A long low hull awash, the saddle tanks just above the water.
  p.Poly({10, 61, 18, 58.5f, 104, 58.5f, 116, 60.5f, 120, 62.5f, 112, wl, 18, wl}, ink.hull);
  p.Rect(18, 58.5f, 86, 0.6f, ink.detail);
  p.Rect(18, wl - 1.5f, 94, 1.5f, ink.dark);
  // Conning tower with its bridge, periscopes and the deck gun before it.
  p.Poly({54, 58.5f, 74, 58.5f, 71, 48, 60, 48, 56, 52}, ink.upper);
  p.Rect(60, 48, 11, 1.0f, ink.detail);
  p.Line(64, 48, 64, 36, 1.0f, ink.upper);
  p.Line(67.5f, 48, 67.5f, 40, 0.9f, ink.upper);
  p.Rect(42, 55.5f, 5, 3, ink.hull);
  p.Line(44, 56.5f, 34, 55.3f, 1.1f, ink.hull);
  // The jumping wire from bow to tower to stern.
  p.Line(12, 60.5f, 60, 46, 0.5f, ink.upper);
  p.Line(71, 46, 116, 60, 0.5f, ink.upper);
}

inline void Transport(ShipPen& p, const ShipInk& ink) {
  const float wl = kShipWaterline;
  // A raised forecastle and poop, the well decks between them.
  p.Poly({8, 44, 24, 46, 26, 49, 104, 49, 106, 46, 116, 45.5f, 118, 50, 112, wl, 18, wl, 11, 53}, ink.hull);
  p.Rect(18, wl - 2, 94, 2, ink.dark);
  p.Line(9, 44.5f, 24, 46.5f, 0.7f, ink.detail);
  // Cargo in the wells: crates and a deck load.
  p.Rect(30, 43.5f, 12, 5.5f, ink.cargo);
  p.Rect(44, 44.5f, 13, 4.5f, ink.cargo);
  p.Rect(88, 44, 12, 5, ink.cargo);
  p.Rect(30.5f, 45.5f, 11, 0.6f, ink.dark);
  p.Rect(44.5f, 46.5f, 12, 0.6f, ink.dark);
  // Bridge house amidships with boats, funnel and the derrick masts.
  p.Rect(62, 38, 20, 11, ink.upper);
  p.Rect(64, 34.5f, 14, 4, ink.upper);
  Windows(p, ink, 64, 36, 14);
  Windows(p, ink, 63, 41, 18);
  p.Rect(60, 44.5f, 5, 2.4f, ink.cargo);
  p.Rect(80, 44.5f, 5, 2.4f, ink.cargo);
  Funnel(p, ink, 69, 34.5f, 26, 7);
  p.Rect(69.6f, 29.5f, 7.4f, 1.6f, ink.detail);
  Mast(p, ink, 40, 49, 22, 7);
  p.Line(40.3f, 28, 30, 43, 0.7f, ink.upper);
  p.Line(40.3f, 28, 51, 44, 0.7f, ink.upper);
  Mast(p, ink, 96, 49, 25, 6);
  p.Line(96.3f, 31, 88, 43.5f, 0.7f, ink.upper);
  p.Line(41, 22, 69, 26, 0.4f, ink.upper);  // the aerial between the masts
  p.Line(72, 26, 96.5f, 25, 0.4f, ink.upper);
}

inline void Amphibious(ShipPen& p, const ShipInk& ink) {
  const float wl = kShipWaterline;
  // A flat box of a hull with the bow doors, the bridge right aft.
  p.Poly({8, 51, 112, 51, 120, 50, 118, 56, 114, wl, 16, wl, 9, 59}, ink.hull);
  p.Rect(16, wl - 2, 98, 2, ink.dark);
  p.Line(12, 52, 10.5f, 60, 0.7f, ink.detail);
  p.Rect(9, 51, 103, 0.7f, ink.detail);
  // Vehicles on the tank deck.
  for (float x : {22.0f, 36.0f, 50.0f, 64.0f}) {
    p.Rect(x, 47.5f, 10, 3.5f, ink.cargo);
    p.Rect(x + 3, 45.3f, 4.5f, 2.4f, ink.cargo);
    p.Line(x + 3, 46.2f, x - 1.5f, 46.0f, 0.7f, ink.cargo);
  }
  // A landing craft in its davits, the bridge, twin stacks and mast.
  p.Poly({78, 44.5f, 90, 44.5f, 89, 48, 79, 48}, ink.cargo);
  p.Line(80, 44.5f, 80, 41, 0.6f, ink.upper);
  p.Line(88, 44.5f, 88, 41, 0.6f, ink.upper);
  p.Rect(92, 40, 20, 11, ink.upper);
  p.Rect(96, 35, 11, 5, ink.upper);
  Windows(p, ink, 96.5f, 36.8f, 10);
  Windows(p, ink, 93, 43, 18);
  p.Rect(107, 30, 2.6f, 5, ink.upper);
  p.Rect(110, 31, 2.6f, 9, ink.upper);
  Mast(p, ink, 101, 35, 22, 6);
}

}  // namespace ship_detail

// Draws ship type 0..5 (naval codes 40..45 minus 40) through the pen.
inline void DrawShipProfile(ShipPen& p, int type, const ShipInk& ink) {
  switch (type) {
    case 0: ship_detail::Carrier(p, ink); break;
    case 1: ship_detail::Battleship(p, ink); break;
    case 2: ship_detail::Cruiser(p, ink); break;
    case 3: ship_detail::Submarine(p, ink); break;
    case 4: ship_detail::Transport(p, ink); break;
    default: ship_detail::Amphibious(p, ink); break;
  }
}

}  // namespace tooldraw
