// How the layout of a 1024 x 768 screen is carried to another screen size.
//
// Each rectangle of the source has an anchor, set by the "[anchor ...]" line
// above it. The interface is scaled by one factor, the smaller of the two
// ratios of the screen sizes, so nothing is stretched and everything that
// fits 1024 x 768 fits the new screen; each rectangle then keeps its distance
// from the edge it is anchored to (or from the centre). Edges are rounded
// one by one, so rectangles that touch without overlapping stay so.
#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace layout {

constexpr int kSourceWidth = 1024;
constexpr int kSourceHeight = 768;

struct sScreen {
  int width = kSourceWidth;
  int height = kSourceHeight;
};

struct sRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// One axis: near edge (left, top), centre, far edge (right, bottom), scaled
// without moving (sizes and offsets relative to another rectangle), fixed
// (picture sources in sheets), stretched with the screen.
enum class eAxis { kNear, kCentre, kFar, kScale, kFixed, kStretch };

struct sAnchor {
  eAxis horizontal = eAxis::kCentre;
  eAxis vertical = eAxis::kCentre;
  // The four numbers are edge coordinates (left, top, right, bottom): each
  // keeps its distance from the nearer screen edge, unscaled.
  bool edges = false;
  // The size is kept and the centre placed as by the axes (a picture drawn
  // at its own size).
  bool keepSize = false;
};

// A rectangle that precedes every anchor line is centred: a dialog laid out
// in the middle of the 1024 x 768 screen stays in the middle.
inline sAnchor DefaultAnchor() { return {}; }

inline bool ParseAxis(const std::string& word, bool horizontal, eAxis& axis) {
  if (word == (horizontal ? "left" : "top")) axis = eAxis::kNear;
  else if (word == "centre" || word == "center") axis = eAxis::kCentre;
  else if (word == (horizontal ? "right" : "bottom")) axis = eAxis::kFar;
  else if (word == "scale") axis = eAxis::kScale;
  else if (word == "fixed") axis = eAxis::kFixed;
  else if (word == "stretch") axis = eAxis::kStretch;
  else return false;
  return true;
}

// "fixed", "scale", "centre", "edges", "keep-size" (centred, own size), or two
// words: the horizontal axis (left, centre, right, scale, fixed, stretch) and
// the vertical one (top, centre, bottom, scale, fixed, stretch).
inline bool ParseAnchor(const std::string& text, sAnchor& anchor) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  sAnchor a;
  if (words.size() == 1) {
    const std::string& w = words[0];
    if (w == "edges") a.edges = true;
    else if (w == "keep-size") a.keepSize = true;
    else if (w == "fixed") a.horizontal = a.vertical = eAxis::kFixed;
    else if (w == "scale") a.horizontal = a.vertical = eAxis::kScale;
    else if (w == "stretch") a.horizontal = a.vertical = eAxis::kStretch;
    else if (w != "centre" && w != "center") return false;
  } else if (words.size() == 2) {
    if (!ParseAxis(words[0], true, a.horizontal) || !ParseAxis(words[1], false, a.vertical)) return false;
  } else {
    return false;
  }
  anchor = a;
  return true;
}

inline double Scale(const sScreen& screen) {
  return std::min(static_cast<double>(screen.width) / kSourceWidth,
                  static_cast<double>(screen.height) / kSourceHeight);
}

// Where a coordinate v of the source axis (length source) lands on the
// screen axis (length target).
inline int MapCoordinate(eAxis axis, int v, int source, int target, double s) {
  double out = v;
  switch (axis) {
    case eAxis::kNear: out = v * s; break;
    case eAxis::kCentre: out = target / 2.0 + (v - source / 2.0) * s; break;
    case eAxis::kFar: out = target - (source - v) * s; break;
    case eAxis::kScale: out = v * s; break;
    case eAxis::kFixed: out = v; break;
    case eAxis::kStretch: out = static_cast<double>(v) * target / source; break;
  }
  return static_cast<int>(std::lround(out));
}

inline int KeepFromEdge(int v, int source, int target) { return v * 2 < source ? v : target - (source - v); }

inline sRect Place(const sAnchor& anchor, const sRect& r, const sScreen& screen) {
  const double s = Scale(screen);
  if (anchor.edges) {
    return {KeepFromEdge(r.x, kSourceWidth, screen.width), KeepFromEdge(r.y, kSourceHeight, screen.height),
            KeepFromEdge(r.width, kSourceWidth, screen.width), KeepFromEdge(r.height, kSourceHeight, screen.height)};
  }
  if (anchor.keepSize) {
    const int cx = MapCoordinate(eAxis::kCentre, 2 * r.x + r.width, 2 * kSourceWidth, 2 * screen.width, s);
    const int cy = MapCoordinate(eAxis::kCentre, 2 * r.y + r.height, 2 * kSourceHeight, 2 * screen.height, s);
    return {(cx - r.width) / 2, (cy - r.height) / 2, r.width, r.height};
  }
  const int left = MapCoordinate(anchor.horizontal, r.x, kSourceWidth, screen.width, s);
  const int right = MapCoordinate(anchor.horizontal, r.x + r.width, kSourceWidth, screen.width, s);
  const int top = MapCoordinate(anchor.vertical, r.y, kSourceHeight, screen.height, s);
  const int bottom = MapCoordinate(anchor.vertical, r.y + r.height, kSourceHeight, screen.height, s);
  return {left, top, right - left, bottom - top};
}

// Fonts grow and shrink with the interface.
inline int FontHeight(long height, const sScreen& screen) {
  return static_cast<int>(std::lround(static_cast<double>(height) * Scale(screen)));
}

}  // namespace layout
