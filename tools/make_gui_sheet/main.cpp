// make_gui_sheet: draws the GUI toolkit's atlas "data/gfx/GUI.png" (2048 x
// 2048), from which every default display element of the dialogs is cut. Each
// region below is drawn inside its own rectangle and nowhere else; the rest of
// the sheet stays transparent. The look: olive and steel panels with brass and
// khaki trim.
//
// Tinting: the toolkit draws every element in white in all states except
// disabled (grey at 78% or a faint see-through white) and hidden, so the atlas
// carries the finished colours. Where a control's text turns black on hover or
// focus (buttons, combo box, edit box) the face is a middle tone that reads
// with white and with black text.
//
// Usage: make_gui_sheet <output.png> [--preview <contact sheet.png> <font.ttf>]
#include <SDL_ttf.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/draw.h"

namespace {

using tooldraw::Canvas;
using tooldraw::Col;
using tooldraw::kPi;

struct Box {
  int l, t, r, b;  // right and bottom exclusive, atlas pixels
  int W() const { return r - l; }
  int H() const { return b - t; }
};

struct Region {
  const char* name;
  Box box;
  const char* element;  // the control and element index that cut it
};

// Every rectangle the toolkit cuts from the atlas. Grids of nine are listed
// with the centre first, then the border pieces in the order the controls
// use (top left, top, top right, left, right, bottom left, bottom, bottom
// right); the list box and the combo box's open list use plain row order.
const Region kRegions[] = {
    {"caption", {17, 269, 241, 287}, "dialog caption bar"},
    {"button.normal.left", {136, 1926, 141, 1956}, "button 0"},
    {"button.normal.middle", {141, 1926, 146, 1956}, "button 1"},
    {"button.normal.right", {146, 1926, 151, 1956}, "button 2"},
    {"button.pressed.left", {152, 1926, 157, 1956}, "button 3"},
    {"button.pressed.middle", {157, 1926, 162, 1956}, "button 4"},
    {"button.pressed.right", {162, 1926, 167, 1956}, "button 5"},
    {"checkbox.unchecked", {290, 1921, 315, 1946}, "check box 0"},
    {"checkbox.checked", {316, 1921, 341, 1946}, "check box 1"},
    {"radio.unchecked", {290, 1947, 315, 1972}, "radio button 0"},
    {"radio.checked", {316, 1947, 341, 1972}, "radio button 1"},
    {"combo.box.left", {199, 1926, 229, 1956}, "combo box 0"},
    {"combo.box.button", {259, 1926, 289, 1956}, "combo box 1"},
    {"combo.box.middle", {229, 1926, 259, 1956}, "combo box 2"},
    {"combo.list.highlight", {212, 2033, 287, 2045}, "combo box 3"},
    {"combo.list.topleft", {212, 1957, 237, 1982}, "combo box 4"},
    {"combo.list.top", {237, 1957, 262, 1982}, "combo box 5"},
    {"combo.list.topright", {262, 1957, 287, 1982}, "combo box 6"},
    {"combo.list.left", {212, 1982, 237, 2007}, "combo box 7"},
    {"combo.list.middle", {237, 1982, 262, 2007}, "combo box 8"},
    {"combo.list.right", {262, 1982, 287, 2007}, "combo box 9"},
    {"combo.list.bottomleft", {212, 2007, 237, 2032}, "combo box 10"},
    {"combo.list.bottom", {237, 2007, 262, 2032}, "combo box 11"},
    {"combo.list.bottomright", {262, 2007, 287, 2032}, "combo box 12"},
    {"slider.track.left", {136, 1900, 146, 1925}, "slider 0"},
    {"slider.track.middle", {146, 1900, 156, 1925}, "slider 1"},
    {"slider.track.right", {156, 1900, 166, 1925}, "slider 2"},
    {"slider.thumb", {167, 1900, 177, 1925}, "slider 3"},
    {"slider.thumb.pressed", {178, 1900, 188, 1925}, "slider 4"},
    {"progress.empty.left", {350, 1885, 355, 1910}, "progress bar 0"},
    {"progress.empty.middle", {355, 1885, 360, 1910}, "progress bar 1"},
    {"progress.empty.right", {360, 1885, 365, 1910}, "progress bar 2"},
    {"progress.full.left", {350, 1910, 355, 1935}, "progress bar 3"},
    {"progress.full.middle", {355, 1910, 360, 1935}, "progress bar 4"},
    {"progress.full.right", {360, 1910, 365, 1935}, "progress bar 5"},
    {"scroll.up", {290, 1973, 315, 1998}, "scroll bar 0"},
    {"scroll.track", {290, 1998, 315, 2023}, "scroll bar 1"},
    {"scroll.down", {290, 2023, 315, 2048}, "scroll bar 2"},
    {"scroll.thumb", {316, 1973, 341, 2048}, "scroll bar 3"},
    {"edit.centre", {178, 1936, 188, 1946}, "edit box / memo 0"},
    {"edit.topleft", {168, 1926, 178, 1936}, "edit box / memo 1"},
    {"edit.top", {178, 1926, 188, 1936}, "edit box / memo 2"},
    {"edit.topright", {188, 1926, 198, 1936}, "edit box / memo 3"},
    {"edit.left", {168, 1936, 178, 1946}, "edit box / memo 4"},
    {"edit.right", {188, 1936, 198, 1946}, "edit box / memo 5"},
    {"edit.bottomleft", {168, 1946, 178, 1956}, "edit box / memo 6"},
    {"edit.bottom", {178, 1946, 188, 1956}, "edit box / memo 7"},
    {"edit.bottomright", {188, 1946, 198, 1956}, "edit box / memo 8"},
    {"ime.centre", {14, 90, 241, 113}, "IME edit box 0"},
    {"ime.topleft", {8, 82, 14, 90}, "IME edit box 1"},
    {"ime.top", {14, 82, 241, 90}, "IME edit box 2"},
    {"ime.topright", {241, 82, 246, 90}, "IME edit box 3"},
    {"ime.left", {8, 90, 14, 113}, "IME edit box 4"},
    {"ime.right", {241, 90, 246, 113}, "IME edit box 5"},
    {"ime.bottomleft", {8, 113, 14, 121}, "IME edit box 6"},
    {"ime.bottom", {14, 113, 241, 121}, "IME edit box 7"},
    {"ime.bottomright", {241, 113, 246, 121}, "IME edit box 8"},
    {"ime.indicator", {0, 0, 136, 54}, "IME edit box 9"},
    {"list.topleft", {350, 1936, 375, 1961}, "list box 0"},
    {"list.top", {375, 1936, 400, 1961}, "list box 1"},
    {"list.topright", {400, 1936, 425, 1961}, "list box 2"},
    {"list.left", {350, 1961, 375, 1986}, "list box 3"},
    {"list.middle", {375, 1961, 400, 1986}, "list box 4"},
    {"list.right", {400, 1961, 425, 1986}, "list box 5"},
    {"list.bottomleft", {350, 1986, 375, 2011}, "list box 6"},
    {"list.bottom", {375, 1986, 400, 2011}, "list box 7"},
    {"list.bottomright", {400, 1986, 425, 2011}, "list box 8"},
    {"list.separator.top", {425, 1936, 450, 1961}, "list box 9"},
    {"list.separator.middle", {425, 1961, 450, 1986}, "list box 10"},
    {"list.separator.bottom", {425, 1986, 450, 2011}, "list box 11"},
    {"list.row.highlight", {350, 2011, 375, 2036}, "list box 12"},
    {"list.column.highlight", {375, 2011, 400, 2036}, "list box 13"},
    {"frame0.centre", {45, 1958, 90, 2003}, "frame 0"},
    {"frame0.topleft", {0, 1913, 45, 1958}, "frame 1"},
    {"frame0.top", {45, 1913, 90, 1958}, "frame 2"},
    {"frame0.topright", {90, 1913, 135, 1958}, "frame 3"},
    {"frame0.left", {0, 1958, 45, 2003}, "frame 4"},
    {"frame0.right", {90, 1958, 135, 2003}, "frame 5"},
    {"frame0.bottomleft", {0, 2003, 45, 2048}, "frame 6"},
    {"frame0.bottom", {45, 2003, 90, 2048}, "frame 7"},
    {"frame0.bottomright", {90, 2003, 135, 2048}, "frame 8"},
    {"frame1.centre", {1160, 400, 1190, 430}, "frame 9"},
    {"frame1.topleft", {1130, 370, 1160, 400}, "frame 10"},
    {"frame1.top", {1160, 370, 1190, 400}, "frame 11"},
    {"frame1.topright", {1190, 370, 1220, 400}, "frame 12"},
    {"frame1.left", {1130, 400, 1160, 430}, "frame 13"},
    {"frame1.right", {1190, 400, 1220, 430}, "frame 14"},
    {"frame1.bottomleft", {1130, 430, 1160, 460}, "frame 15"},
    {"frame1.bottom", {1160, 430, 1190, 460}, "frame 16"},
    {"frame1.bottomright", {1190, 430, 1220, 460}, "frame 17"},
    {"frame2.centre", {231, 1905, 241, 1915}, "frame 18"},
    {"frame2.topleft", {221, 1895, 231, 1905}, "frame 19"},
    {"frame2.top", {231, 1895, 241, 1905}, "frame 20"},
    {"frame2.topright", {241, 1895, 251, 1905}, "frame 21"},
    {"frame2.left", {221, 1905, 231, 1915}, "frame 22"},
    {"frame2.right", {241, 1905, 251, 1915}, "frame 23"},
    {"frame2.bottomleft", {221, 1915, 231, 1925}, "frame 24"},
    {"frame2.bottom", {231, 1915, 241, 1925}, "frame 25"},
    {"frame2.bottomright", {241, 1915, 251, 1925}, "frame 26"},
    {"tab.body.topleft", {190, 1895, 200, 1905}, "tab frame 0"},
    {"tab.body.top", {200, 1895, 210, 1905}, "tab frame 1"},
    {"tab.body.topright", {210, 1895, 220, 1905}, "tab frame 2"},
    {"tab.body.left", {190, 1905, 200, 1915}, "tab frame 3"},
    {"tab.body.middle", {200, 1905, 210, 1915}, "tab frame 4"},
    {"tab.body.right", {210, 1905, 220, 1915}, "tab frame 5"},
    {"tab.body.bottomleft", {190, 1915, 200, 1925}, "tab frame 6"},
    {"tab.body.bottom", {200, 1915, 210, 1925}, "tab frame 7"},
    {"tab.body.bottomright", {210, 1915, 220, 1925}, "tab frame 8"},
    {"tab.header.left", {65, 1885, 75, 1905}, "tab frame 9"},
    {"tab.header.middle", {75, 1885, 85, 1905}, "tab frame 10"},
    {"tab.header.right", {85, 1885, 95, 1905}, "tab frame 11"},
    {"tab.selected.left", {95, 1885, 105, 1905}, "tab frame 12"},
    {"tab.selected.middle", {105, 1885, 115, 1905}, "tab frame 13"},
    {"tab.selected.right", {115, 1885, 125, 1905}, "tab frame 14"},
    {"combat.destroyed", {380, 150, 440, 210}, "combat result: unit destroyed"},
    {"combat.surrenders", {380, 210, 440, 270}, "combat result: defender surrenders"},
    {"combat.retreats", {380, 270, 440, 330}, "combat result: defender retreats"},
    {"combat.city", {380, 330, 440, 390}, "combat result: city hit"},
    {"combat.port", {380, 390, 440, 450}, "combat result: port hit"},
    {"combat.coast_guns", {380, 450, 440, 510}, "combat result: naval defence destroyed"},
    {"unitpanel.rename", {1240, 105, 1280, 225}, "unit panel: rename (disabled, normal, mouse-over)"},
    {"unitpanel.commander", {1280, 105, 1320, 225}, "unit panel: commanders dialog (disabled, normal, mouse-over)"},
    {"unitpanel.replacements", {1320, 105, 1360, 225}, "unit panel: replacements dialog (disabled, normal, mouse-over)"},
    {"unitpanel.supply", {1360, 105, 1400, 225}, "unit panel: go to the supplying city (disabled, normal, mouse-over)"},
    {"unitpanel.upgrade", {1400, 105, 1440, 225}, "unit panel: upgrade to a corps (disabled, normal, mouse-over)"},
    {"unitpanel.levelup", {1440, 105, 1480, 225}, "unit panel: level up (disabled, normal, mouse-over)"},
    {"unitpanel.disband", {1480, 105, 1520, 225}, "unit panel: disband (disabled, normal, mouse-over)"},
    {"unitpanel.undo", {1520, 105, 1560, 225}, "unit panel: undo the last move (disabled, normal, mouse-over)"},
    {"unitpanel.amphibious", {1240, 225, 1280, 345}, "unit panel: load onto an amphibious ship (disabled, normal, mouse-over)"},
    {"unitpanel.seatransport", {1320, 225, 1360, 345}, "unit panel: load onto a sea transport (disabled, normal, mouse-over)"},
    {"unitpanel.airborne", {1400, 225, 1440, 345}, "unit panel: airborne assault (disabled, normal, mouse-over)"},
    {"unitpanel.strategic", {1440, 225, 1480, 345}, "unit panel: strategic move (disabled, normal, mouse-over)"},
    {"unitpanel.bombard", {1480, 225, 1520, 345}, "unit panel: bombardment (disabled, normal, mouse-over)"},
    {"unitpanel.airfight", {1520, 225, 1560, 345}, "unit panel: air fight (disabled, normal, mouse-over)"},
    {"unitpanel.recon", {1240, 345, 1280, 465}, "unit panel: air reconnaissance (disabled, normal, mouse-over)"},
    {"unitpanel.nuclear", {1360, 345, 1400, 465}, "unit panel: nuclear attack (disabled, normal, mouse-over)"},
    {"convoys.picture", {1898, 1898, 2048, 2048}, "convoys dialog: ships sailing between two ports"},
    {"purchases.preview", {1500, 700, 1680, 880}, "purchases dialog: the stand the bought unit is shown on"},
    {"research.investment", {1600, 105, 1640, 225}, "research dialog: investment levels 0 to 3, one under another"},
};

constexpr int kSheet = 2048;

const Box& Find(const char* name) {
  for (const Region& r : kRegions)
    if (std::strcmp(r.name, name) == 0) return r.box;
  std::fprintf(stderr, "make_gui_sheet: no region %s\n", name);
  std::exit(1);
}

// The smallest box that holds the named regions.
Box Union(std::initializer_list<const char*> names) {
  Box u{kSheet, kSheet, 0, 0};
  for (const char* n : names) {
    const Box& b = Find(n);
    u = Box{std::min(u.l, b.l), std::min(u.t, b.t), std::max(u.r, b.r), std::max(u.b, b.b)};
  }
  return u;
}

// ---- Palette
constexpr Col kInk{14, 16, 11, 255};
constexpr Col kSteelDark{30, 34, 26, 255};
constexpr Col kSteel{52, 57, 42, 255};
constexpr Col kOlive{78, 84, 56, 255};
constexpr Col kOliveLight{118, 122, 86, 255};
constexpr Col kBrassDark{104, 84, 42, 255};
constexpr Col kBrass{170, 142, 80, 255};
constexpr Col kBrassLight{226, 204, 142, 255};
constexpr Col kKhaki{190, 180, 136, 255};
constexpr Col kParchment{206, 198, 160, 255};
constexpr Col kShadow{0, 0, 0, 110};
constexpr Col kGlint{255, 248, 220, 70};

Col WithAlpha(Col c, float a) { return Col{c.r, c.g, c.b, a}; }

// Everything is drawn on a four-times canvas in pixel units and averaged down,
// so curves get smooth edges while straight edges on whole pixels stay crisp.
constexpr int kSuper = 4;
struct Piece {
  Box box;
  Canvas k;
  explicit Piece(Box b) : box(b), k(b.W() * kSuper, b.H() * kSuper, float(kSuper)) {}
  void Into(Canvas& sheet) const { k.DownsampleInto(sheet, kSuper, box.l, box.t); }
};

bool InRoundRect(float u, float v, float x, float y, float w, float h, float r);

void RoundRect(Canvas& k, float x, float y, float w, float h, float r, Col c) {
  k.FillWhere(x, y, x + w, y + h, [=](float u, float v) { return InRoundRect(u, v, x, y, w, h, r); }, c);
}

bool InRoundRect(float u, float v, float x, float y, float w, float h, float r) {
  if (u < x || v < y || u >= x + w || v >= y + h) return false;
  const float cx = std::clamp(u, x + r, x + w - r), cy = std::clamp(v, y + r, y + h - r);
  return (u - cx) * (u - cx) + (v - cy) * (v - cy) <= r * r;
}

// A rounded rectangle whose colour runs from top to bottom.
void RoundGradient(Canvas& k, float x, float y, float w, float h, float r, Col top, Col bottom) {
  const int rows = int(std::lround(h));
  for (int i = 0; i < rows; ++i) {
    const float t = rows > 1 ? i / float(rows - 1) : 0.0f;
    const Col c{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t,
                top.a + (bottom.a - top.a) * t};
    k.FillWhere(x, y + i, x + w, y + i + 1, [=](float u, float v) {
      return v >= y + i && v < y + i + 1 && InRoundRect(u, v, x, y, w, h, r);
    }, c);
  }
}

// A raised (or, with sunken, pressed-in) plate: outline, gradient face and a
// one-pixel bevel (lit top and left when raised, shaded when sunken).
void Plate(Canvas& k, float x, float y, float w, float h, float r, Col outline, Col top, Col bottom, bool sunken) {
  RoundRect(k, x, y, w, h, r, outline);
  const float ri = std::max(0.0f, r - 1);
  RoundGradient(k, x + 1, y + 1, w - 2, h - 2, ri, top, bottom);
  const Col hi = sunken ? Col{0, 0, 0, 150} : Col{255, 246, 210, 120};
  const Col lo = sunken ? Col{255, 246, 210, 45} : Col{0, 0, 0, 120};
  k.Rect(x + 1 + ri, y + 1, w - 2 - 2 * ri, 1, hi);
  k.Rect(x + 1, y + 1 + ri, 1, h - 2 - 2 * ri, hi);
  k.Rect(x + 1 + ri, y + h - 2, w - 2 - 2 * ri, 1, lo);
  k.Rect(x + w - 2, y + 1 + ri, 1, h - 2 - 2 * ri, lo);
}

void Triangle(Canvas& k, float cx, float cy, float s, bool up, Col c) {
  const float d = up ? -1.0f : 1.0f;
  k.Polygon({cx - s, cy - d * s * 0.55f, cx + s, cy - d * s * 0.55f, cx, cy + d * s * 0.65f}, c);
}

// ---- The regions

void DrawCaption(Canvas& sheet) {
  Piece p(Find("caption"));
  const float w = p.box.W(), h = p.box.H();
  tooldraw::VGradient(p.k, 0, 0, w, h, Col{82, 88, 60, 255}, Col{40, 44, 31, 255});
  p.k.Rect(0, 0, w, 1, Col{176, 164, 112, 255});
  p.k.Rect(0, 1, w, 1, Col{255, 248, 220, 40});
  p.k.Rect(0, h - 2, w, 1, kBrass);
  p.k.Rect(0, h - 1, w, 1, kInk);
  p.Into(sheet);
}

// Buttons: 5-pixel caps and a middle that is stretched, so everything that is
// not uniform along the width lives in the caps.
void DrawButton(Canvas& sheet, const char* l, const char* r, bool pressed) {
  Piece p(Union({l, r}));
  const float w = p.box.W(), h = p.box.H();
  if (pressed)
    Plate(p.k, 0, 0, w, h, 3, kInk, Col{74, 76, 52, 255}, Col{104, 104, 74, 255}, true);
  else
    Plate(p.k, 0, 0, w, h, 3, kInk, Col{146, 142, 104, 255}, Col{100, 100, 70, 255}, false);
  // a fine brass line inside the bevel, and the lit upper half
  p.k.Rect(3, 3, w - 6, 1, WithAlpha(kBrassLight, pressed ? 50 : 110));
  if (!pressed) p.k.Rect(3, 4, w - 6, h / 2 - 4, Col{255, 250, 225, 18});
  p.Into(sheet);
}

void DrawCheckBox(Canvas& sheet, const char* name, bool checked) {
  Piece p(Find(name));
  Plate(p.k, 1, 1, 23, 23, 3, kInk, kBrass, kBrassDark, false);
  p.k.Rect(4, 4, 17, 17, kInk);
  tooldraw::VGradient(p.k, 5, 5, 15, 15, Col{22, 25, 18, 255}, Col{46, 50, 36, 255});
  p.k.Rect(5, 5, 15, 1, Col{0, 0, 0, 90});
  if (checked) {
    const std::vector<float> tick{6.5f, 12.5f, 9.5f, 10.0f, 11.5f, 14.0f, 18.0f, 6.0f, 20.0f, 8.5f, 11.5f, 19.0f};
    std::vector<float> shadow = tick;
    for (size_t i = 0; i < shadow.size(); ++i) shadow[i] += 0.8f;
    p.k.Polygon(shadow, Col{0, 0, 0, 160});
    p.k.Polygon(tick, kBrassLight);
  }
  p.Into(sheet);
}

void DrawRadio(Canvas& sheet, const char* name, bool checked) {
  Piece p(Find(name));
  const float c = 12.5f;
  p.k.Disc(c, c, 11.5f, kInk);
  p.k.Disc(c, c, 10.5f, kBrass);
  p.k.Arc(c, c, 9.8f, 0.75f * kPi, 1.75f * kPi, 1.2f, WithAlpha(kBrassLight, 220));
  p.k.Arc(c, c, 9.8f, -0.25f * kPi, 0.75f * kPi, 1.2f, WithAlpha(kBrassDark, 255));
  p.k.Disc(c, c, 8.0f, kInk);
  p.k.Disc(c, c, 7.0f, Col{30, 34, 25, 255});
  p.k.Arc(c, c, 6.2f, kPi, 1.5f * kPi, 1.2f, Col{0, 0, 0, 110});
  if (checked) {
    p.k.Disc(c + 0.6f, c + 0.6f, 4.2f, Col{0, 0, 0, 150});
    p.k.Disc(c, c, 4.2f, kBrassLight);
    p.k.Disc(c - 1.2f, c - 1.2f, 1.4f, Col{255, 252, 235, 200});
  }
  p.Into(sheet);
}

// A sunken field with a dark outline and a brass line: the closed combo box,
// the edit box and the IME box. `face` is the middle tone the text sits on.
void Field(Canvas& k, float x, float y, float w, float h, float r, Col face) {
  RoundRect(k, x, y, w, h, r, kInk);
  RoundRect(k, x + 1, y + 1, w - 2, h - 2, std::max(0.0f, r - 1), kBrassDark);
  k.Rect(x + 2, y + 2, w - 4, h - 4, face);
  k.Rect(x + 2, y + 2, w - 4, 1, Col{0, 0, 0, 90});  // the shadow of the sunken edge
  k.Rect(x + 2, y + 3, 1, h - 5, Col{0, 0, 0, 60});
  k.Rect(x + 2, y + h - 3, w - 4, 1, Col{255, 248, 220, 35});
}

void DrawComboBox(Canvas& sheet) {
  Piece p(Union({"combo.box.left", "combo.box.button"}));
  const float w = p.box.W(), h = p.box.H();
  const Box& btn = Find("combo.box.button");
  const float bx = btn.l - p.box.l;
  Field(p.k, 0, 0, w, h, 3, Col{112, 110, 80, 255});
  // the drop-down button fills the right cap
  Plate(p.k, bx + 1, 2, btn.W() - 3, h - 4, 2, kInk, Col{180, 152, 90, 255}, Col{124, 100, 52, 255}, false);
  Triangle(p.k, bx + 14.5f, 15.8f, 5.5f, false, Col{0, 0, 0, 90});
  Triangle(p.k, bx + 14.0f, 15.0f, 5.5f, false, Col{26, 24, 14, 255});
  p.Into(sheet);
}

void DrawComboList(Canvas& sheet) {
  Piece p(Union({"combo.list.topleft", "combo.list.bottomright"}));
  const float w = p.box.W(), h = p.box.H();
  RoundRect(p.k, 0, 0, w, h, 3, kInk);
  RoundRect(p.k, 1, 1, w - 2, h - 2, 2, kBrass);
  p.k.Rect(3, 3, w - 6, h - 6, kBrassDark);
  p.k.Rect(4, 4, w - 8, h - 8, kParchment);
  p.Into(sheet);
  Piece hl(Find("combo.list.highlight"));
  const float hw = hl.box.W(), hh = hl.box.H();
  hl.k.Rect(0, 0, hw, hh, Col{166, 138, 78, 255});
  hl.k.Rect(0, 0, hw, 1, Col{204, 180, 116, 255});
  hl.k.Rect(0, hh - 1, hw, 1, Col{110, 88, 44, 255});
  hl.Into(sheet);
}

void DrawSlider(Canvas& sheet) {
  Piece p(Union({"slider.track.left", "slider.track.right"}));
  const float w = p.box.W();
  RoundRect(p.k, 2, 9, w - 4, 7, 3.5f, kInk);
  RoundRect(p.k, 3, 10, w - 6, 5, 2.5f, Col{40, 44, 32, 255});
  p.k.Rect(5, 10, w - 10, 1, Col{0, 0, 0, 120});
  p.k.Rect(5, 14, w - 10, 1, WithAlpha(kOliveLight, 150));
  // end stops in the caps
  for (float x : {2.0f, w - 4.0f}) {
    p.k.Rect(x, 6, 2, 13, kInk);
    p.k.Rect(x, 6, 1, 12, kBrass);
  }
  p.Into(sheet);
  for (int pressed = 0; pressed < 2; ++pressed) {
    Piece t(Find(pressed ? "slider.thumb.pressed" : "slider.thumb"));
    if (pressed)
      Plate(t.k, 0, 1, 10, 23, 2, kInk, Col{120, 96, 48, 255}, Col{160, 134, 74, 255}, true);
    else
      Plate(t.k, 0, 1, 10, 23, 2, kInk, Col{214, 188, 120, 255}, Col{140, 114, 58, 255}, false);
    for (int i = 0; i < 3; ++i) {  // grip lines
      t.k.Rect(3, 9 + 3 * i, 4, 1, Col{40, 30, 12, 200});
      t.k.Rect(3, 10 + 3 * i, 4, 1, Col{255, 240, 200, pressed ? 40.0f : 90.0f});
    }
    t.Into(sheet);
  }
}

// Progress bar: the empty row and the full row share outline and trim so caps
// of either row sit next to a middle of the other.
void DrawProgress(Canvas& sheet, bool full) {
  Piece p(Union({full ? "progress.full.left" : "progress.empty.left",
                 full ? "progress.full.right" : "progress.empty.right"}));
  const float w = p.box.W(), h = p.box.H();
  p.k.Rect(0, 2, w, h - 4, kInk);
  p.k.Rect(0, 3, w, 1, kBrass);
  p.k.Rect(0, h - 4, w, 1, kBrassDark);
  p.k.Rect(0, 4, w, h - 8, Col{24, 27, 20, 255});
  p.k.Rect(0, 4, w, 1, Col{0, 0, 0, 120});
  if (full) {
    tooldraw::VGradient(p.k, 0, 5, w, h - 10, Col{150, 168, 92, 255}, Col{70, 86, 40, 255});
    p.k.Rect(0, 6, w, 1, Col{230, 236, 180, 110});
  }
  // the caps close the bar at both ends
  const Col cap = kInk;
  p.k.Rect(0, 2, 1, h - 4, cap);
  p.k.Rect(1, 3, 1, h - 6, kBrass);
  p.k.Rect(w - 1, 2, 1, h - 4, cap);
  p.k.Rect(w - 2, 3, 1, h - 6, kBrassDark);
  p.Into(sheet);
}

void DrawScrollBar(Canvas& sheet) {
  for (int down = 0; down < 2; ++down) {
    Piece p(Find(down ? "scroll.down" : "scroll.up"));
    Plate(p.k, 0, 0, 25, 25, 3, kInk, Col{96, 102, 70, 255}, Col{60, 66, 44, 255}, false);
    Triangle(p.k, 13.0f, 13.2f, 6.5f, !down, Col{0, 0, 0, 110});
    Triangle(p.k, 12.5f, 12.5f, 6.5f, !down, kBrassLight);
    p.Into(sheet);
  }
  Piece t(Find("scroll.track"));
  t.k.Rect(2, 0, 21, 25, kInk);
  tooldraw::HGradient(t.k, 3, 0, 19, 25, Col{22, 25, 18, 255}, Col{44, 48, 35, 255});
  t.k.Rect(3, 0, 1, 25, Col{0, 0, 0, 90});
  t.k.Rect(12, 0, 1, 25, Col{70, 74, 52, 160});
  t.Into(sheet);
  Piece th(Find("scroll.thumb"));
  const float h = th.box.H();
  Plate(th.k, 2, 0, 21, h, 4, kInk, Col{176, 148, 86, 255}, Col{128, 104, 54, 255}, false);
  for (int i = 0; i < 3; ++i) {
    th.k.Rect(7, h / 2 - 5 + 4 * i, 11, 1, Col{40, 30, 12, 190});
    th.k.Rect(7, h / 2 - 4 + 4 * i, 11, 1, Col{255, 240, 200, 90});
  }
  th.Into(sheet);
}

// Edit box and memo: 10-pixel border pieces round a stretched centre.
void DrawEditBox(Canvas& sheet) {
  Piece p(Union({"edit.topleft", "edit.bottomright"}));
  Field(p.k, 0, 0, p.box.W(), p.box.H(), 3, Col{108, 108, 80, 255});
  p.Into(sheet);
}

void DrawIme(Canvas& sheet) {
  Piece p(Union({"ime.topleft", "ime.bottomright"}));
  Field(p.k, 0, 0, p.box.W(), p.box.H(), 3, Col{108, 108, 80, 255});
  p.Into(sheet);
  Piece q(Find("ime.indicator"));
  const float w = q.box.W(), h = q.box.H();
  RoundRect(q.k, 0, 0, w, h, 4, kInk);
  RoundRect(q.k, 1, 1, w - 2, h - 2, 3, kBrass);
  tooldraw::VGradient(q.k, 3, 3, w - 6, h - 6, Col{62, 68, 48, 245}, Col{34, 38, 28, 245});
  q.k.Rect(3, 3, w - 6, 1, kGlint);
  q.Into(sheet);
}

// List box: the top row of the frame is stretched over the caption band, so it
// carries the band's darker gradient and the brass rule under it.
void DrawListBox(Canvas& sheet) {
  Piece p(Union({"list.topleft", "list.bottomright"}));
  const float w = p.box.W(), h = p.box.H();
  RoundRect(p.k, 0, 0, w, h, 3, kInk);
  RoundRect(p.k, 1, 1, w - 2, h - 2, 2, kOlive);
  p.k.Rect(1, 1, w - 2, 1, WithAlpha(kOliveLight, 255));
  p.k.Rect(1, 2, 1, h - 4, WithAlpha(kOliveLight, 255));
  p.k.Rect(4, 4, w - 8, h - 8, kInk);
  p.k.Rect(5, 5, w - 10, h - 10, Col{26, 29, 22, 245});
  tooldraw::VGradient(p.k, 5, 5, w - 10, 19, Col{72, 78, 52, 255}, Col{48, 52, 36, 255});
  p.k.Rect(5, 23, w - 10, 1, kBrass);
  p.k.Rect(5, 24, w - 10, 1, Col{0, 0, 0, 140});
  p.Into(sheet);

  const char* seps[3] = {"list.separator.top", "list.separator.middle", "list.separator.bottom"};
  for (int i = 0; i < 3; ++i) {
    Piece s(Find(seps[i]));
    const float y0 = i == 0 ? 6 : 0, y1 = i == 2 ? 19 : 25;
    s.k.Rect(12, y0, 1, y1 - y0, Col{8, 9, 6, 200});
    s.k.Rect(13, y0, 1, y1 - y0, i == 0 ? WithAlpha(kBrass, 200) : WithAlpha(kOliveLight, 120));
    s.Into(sheet);
  }
  Piece row(Find("list.row.highlight"));
  row.k.Rect(0, 0, 25, 25, Col{142, 120, 66, 255});
  row.k.Rect(0, 0, 25, 1, Col{190, 166, 104, 255});
  row.k.Rect(0, 24, 25, 1, Col{92, 76, 38, 255});
  row.Into(sheet);
  Piece col(Find("list.column.highlight"));
  col.k.Rect(0, 0, 25, 25, Col{236, 220, 168, 34});
  col.Into(sheet);
}

// Frame style 0: heavy riveted plate with 45-pixel pieces.
void DrawFrame0(Canvas& sheet) {
  Piece p(Union({"frame0.topleft", "frame0.bottomright"}));
  Canvas& k = p.k;
  const float n = p.box.W(), band = 14;
  RoundRect(k, 0, 0, n, n, 4, kInk);
  RoundRect(k, 1, 1, n - 2, n - 2, 3, Col{82, 88, 64, 255});
  tooldraw::Bevel(k, 1, 1, n - 2, n - 2, 2, Col{140, 144, 108, 255}, Col{40, 44, 32, 255});
  k.Rect(5, 5, n - 10, 1, WithAlpha(kBrass, 200));  // brass inlay along the band
  k.Rect(5, 5, 1, n - 10, WithAlpha(kBrass, 200));
  k.Rect(5, n - 6, n - 10, 1, WithAlpha(kBrassDark, 220));
  k.Rect(n - 6, 5, 1, n - 10, WithAlpha(kBrassDark, 220));
  k.Rect(band - 1, band - 1, n - 2 * band + 2, n - 2 * band + 2, Col{36, 40, 28, 255});
  k.Rect(band, band, n - 2 * band, n - 2 * band, kSteelDark);
  k.Rect(band + 1, band + 1, n - 2 * band - 2, n - 2 * band - 2, Col{40, 44, 33, 240});
  for (int cy = 0; cy < 2; ++cy)
    for (int cx = 0; cx < 2; ++cx) {
      const float px = cx ? n - 26 : 2, py = cy ? n - 26 : 2;
      RoundRect(k, px, py, 24, 24, 3, kInk);  // corner plate
      RoundRect(k, px + 1, py + 1, 22, 22, 2, Col{104, 110, 80, 255});
      tooldraw::Bevel(k, px + 1, py + 1, 22, 22, 1, Col{160, 162, 124, 255}, Col{46, 50, 36, 255});
      const float rx = px + 12, ry = py + 12;  // rivet
      k.Disc(rx + 0.6f, ry + 0.6f, 4.2f, Col{0, 0, 0, 150});
      k.Disc(rx, ry, 4.0f, kBrass);
      k.Disc(rx - 0.6f, ry - 0.6f, 2.6f, Col{210, 186, 124, 255});
      k.Disc(rx - 1.2f, ry - 1.2f, 1.0f, Col{250, 240, 200, 255});
    }
  p.Into(sheet);
}

// Frame style 1: a lighter panel with a double brass line and corner brackets,
// 30-pixel pieces.
void DrawFrame1(Canvas& sheet) {
  Piece p(Union({"frame1.topleft", "frame1.bottomright"}));
  Canvas& k = p.k;
  const float n = p.box.W();
  RoundRect(k, 0, 0, n, n, 3, kInk);
  RoundRect(k, 1, 1, n - 2, n - 2, 2, Col{58, 63, 46, 245});
  tooldraw::Bevel(k, 1, 1, n - 2, n - 2, 1, Col{120, 124, 90, 255}, Col{30, 33, 24, 255});
  for (float d : {4.0f, 7.0f}) {
    const Col c = d < 5 ? kBrass : WithAlpha(kBrassDark, 230);
    k.Rect(d, d, n - 2 * d, 1, c);
    k.Rect(d, n - d - 1, n - 2 * d, 1, c);
    k.Rect(d, d + 1, 1, n - 2 * d - 2, c);
    k.Rect(n - d - 1, d + 1, 1, n - 2 * d - 2, c);
  }
  k.Rect(8, 8, n - 16, n - 16, Col{44, 48, 36, 240});
  for (int cy = 0; cy < 2; ++cy)
    for (int cx = 0; cx < 2; ++cx) {  // L-shaped brackets in the corners
      const float x = cx ? n - 3 - 14 : 3, y = cy ? n - 3 - 14 : 3;
      const float hx = cx ? x : x, vy = cy ? y : y;
      k.Rect(hx, cy ? y + 11 : y, 14, 3, kBrassLight);
      k.Rect(cx ? x + 11 : x, vy, 3, 14, kBrassLight);
      k.Rect(hx, cy ? y + 13 : y + 2, 14, 1, kBrassDark);
      k.Rect(cx ? x + 13 : x + 2, vy, 1, 14, kBrassDark);
    }
  p.Into(sheet);
}

// Frame style 2: a thin khaki line with trimmed corners round a dark,
// partly see-through fill; 10-pixel pieces.
void DrawFrame2(Canvas& sheet) {
  Piece p(Union({"frame2.topleft", "frame2.bottomright"}));
  Canvas& k = p.k;
  const float n = p.box.W();
  const Col border{206, 194, 150, 240};
  k.Rect(1, 1, n - 2, n - 2, Col{22, 25, 18, 215});
  k.Rect(2, 0, n - 4, 1, border);
  k.Rect(2, n - 1, n - 4, 1, border);
  k.Rect(0, 2, 1, n - 4, border);
  k.Rect(n - 1, 2, 1, n - 4, border);
  k.Rect(1, 1, 1, 1, border);
  k.Rect(n - 2, 1, 1, 1, border);
  k.Rect(1, n - 2, 1, 1, border);
  k.Rect(n - 2, n - 2, 1, 1, border);
  k.Rect(2, 1, n - 4, 1, Col{120, 112, 80, 120});
  p.Into(sheet);
}

// Tab frame: the page (10-pixel pieces) and the two header looks. The selected
// header is light khaki (its caption is drawn dark), the others olive (light
// captions) and a little lower.
void DrawTabFrame(Canvas& sheet) {
  Piece p(Union({"tab.body.topleft", "tab.body.bottomright"}));
  Canvas& k = p.k;
  const float n = p.box.W();
  k.Rect(0, 0, n, n, kInk);
  k.Rect(1, 1, n - 2, n - 2, kBrass);
  k.Rect(1, 1, n - 2, 1, kBrassLight);
  k.Rect(2, 2, n - 4, n - 4, Col{36, 40, 28, 255});
  k.Rect(3, 3, n - 6, n - 6, Col{54, 59, 43, 245});
  p.Into(sheet);
  for (int sel = 0; sel < 2; ++sel) {
    Piece h(Union({sel ? "tab.selected.left" : "tab.header.left", sel ? "tab.selected.right" : "tab.header.right"}));
    const float w = h.box.W(), hh = h.box.H();
    const float top = sel ? 0 : 3;
    RoundRect(h.k, 0, top, w, hh - top + 4, 4, kInk);  // runs past the bottom: square lower corners
    if (sel) {
      RoundRect(h.k, 1, top + 1, w - 2, hh - top + 4, 3, kBrassLight);
      tooldraw::VGradient(h.k, 2, top + 2, w - 4, hh - top - 2, Col{206, 196, 150, 255}, Col{172, 162, 118, 255});
    } else {
      RoundRect(h.k, 1, top + 1, w - 2, hh - top + 4, 3, Col{112, 116, 82, 255});
      tooldraw::VGradient(h.k, 2, top + 2, w - 4, hh - top - 3, Col{76, 82, 56, 255}, Col{52, 56, 40, 255});
      h.k.Rect(0, hh - 1, w, 1, kBrass);  // the page's top edge runs under the unselected tabs
    }
    h.Into(sheet);
  }
}

// ---- Combat result icons: 60 x 60 badges shown at 40 x 40, each a disc in
// the colour of its outcome with a brass rim and a pale pictogram.
constexpr Col kPictogram{246, 238, 212, 255};

Piece Badge(const char* name, Col top, Col bottom) {
  Piece p(Find(name));
  Canvas& k = p.k;
  k.Disc(30.8f, 31.2f, 28.0f, kShadow);
  k.Disc(30.0f, 30.0f, 28.0f, kInk);
  k.Disc(30.0f, 30.0f, 26.5f, kBrassDark);
  k.Ring(30.0f, 30.0f, 24.0f, 26.0f, kBrass);
  k.Ring(30.0f, 29.6f, 25.2f, 26.0f, kBrassLight);
  for (int i = 0; i < 46; ++i) {  // the face runs from light at the top to dark
    const float t = i / 45.0f;
    const Col c{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t, 255};
    const float y = 7.0f + i;
    k.FillWhere(0, y, 60, y + 1, [=](float u, float v) {
      return v >= y && v < y + 1 && std::hypot(u - 30.0f, v - 30.0f) <= 23.5f;
    }, c);
  }
  k.Arc(30.0f, 30.0f, 21.0f, kPi * 1.1f, kPi * 1.9f, 1.4f, kGlint);  // glint along the upper rim
  return p;
}

// A pictogram with a thin dark shadow under it: draw runs twice.
template <class F>
void WithShadow(Canvas& k, F draw) {
  k.SetOffset(0.8f, 1.0f);
  draw(Col{0, 0, 0, 140});
  k.SetOffset(0.0f, 0.0f);
  draw(kPictogram);
}

// ---- The unit panel's icons: 40 x 40 plates with a pale pictogram, three
// looks stacked down (disabled: grey and dim; normal: olive; mouse-over:
// lighter, with a brass rim).
void IconLooks(Canvas& sheet, const char* name, const std::function<void(Canvas&, Col)>& pictogram) {
  const Box& b = Find(name);
  struct Look {
    Col top, bottom, rim, picture;
  };
  const Look looks[3] = {
      {Col{92, 92, 86, 255}, Col{50, 50, 48, 255}, Col{120, 118, 108, 160}, Col{160, 158, 150, 200}},
      {Col{112, 118, 82, 255}, Col{58, 62, 42, 255}, WithAlpha(kBrass, 200), kPictogram},
      {Col{146, 150, 104, 255}, Col{80, 84, 56, 255}, kBrassLight, Col{255, 250, 226, 255}},
  };
  for (int i = 0; i < 3; ++i) {
    Piece p(Box{b.l, b.t + 40 * i, b.r, b.t + 40 * (i + 1)});
    const Look& look = looks[i];
    Plate(p.k, 0, 0, 40, 40, 5, kInk, look.top, look.bottom, false);
    p.k.Rect(3, 3, 34, 1, look.rim);
    if (i == 2) {
      p.k.Rect(3, 36, 34, 1, look.rim);
      p.k.Rect(3, 3, 1, 34, look.rim);
      p.k.Rect(36, 3, 1, 34, look.rim);
    }
    p.k.SetOffset(0.8f, 1.0f);
    pictogram(p.k, Col{0, 0, 0, i == 0 ? 70.0f : 140.0f});
    p.k.SetOffset(0.0f, 0.0f);
    pictogram(p.k, look.picture);
    p.Into(sheet);
  }
}

// A wavy line of water across an icon at height y.
void Waves(Canvas& k, float y, Col c) {
  float px = 6, py = y;
  for (int i = 1; i <= 28; ++i) {
    const float x = 6 + i, wy = y + 1.6f * std::sin(i * kPi / 3.5f);
    k.Line(px, py, x, wy, 1.5f, c);
    px = x;
    py = wy;
  }
}

void DrawUnitPanelIcons(Canvas& sheet) {
  IconLooks(sheet, "unitpanel.undo", [](Canvas& k, Col c) {  // an arrow turning back
    k.Arc(21, 22, 8.5f, -kPi * 0.5f, kPi * 0.6f, 3.6f, c);
    k.Polygon({20, 8, 11, 13.5f, 20, 19}, c);
    k.Arc(21, 22, 8.5f, kPi * 0.6f, kPi * 0.75f, 3.6f, c);
  });
  IconLooks(sheet, "unitpanel.rename", [](Canvas& k, Col c) {  // a pencil over a line
    k.Polygon({26, 8, 32, 14, 16, 30, 10, 24}, c);
    k.Polygon({10, 24, 16, 30, 8, 32}, c);
    k.Rect(8, 33, 24, 1.6f, c);
  });
  IconLooks(sheet, "unitpanel.commander", [](Canvas& k, Col c) {  // a general's star
    std::vector<float> star;
    for (int i = 0; i < 10; ++i) {
      const float a = -kPi / 2 + i * kPi / 5, r = (i % 2 == 0) ? 13.0f : 5.4f;
      star.push_back(20 + std::cos(a) * r);
      star.push_back(21 + std::sin(a) * r);
    }
    k.Polygon(star, c);
  });
  IconLooks(sheet, "unitpanel.replacements", [](Canvas& k, Col c) {  // a plus in a ring
    k.Ring(20, 20, 11.5f, 14.0f, c);
    k.Rect(18.5f, 12, 3, 16, c);
    k.Rect(12, 18.5f, 16, 3, c);
  });
  IconLooks(sheet, "unitpanel.supply", [](Canvas& k, Col c) {  // a crate under a map pin
    k.Disc(20, 13, 6.5f, c);
    k.Polygon({14.5f, 15, 25.5f, 15, 20, 24}, c);
    k.Rect(11, 27, 18, 8, c);
    k.Rect(11, 30.5f, 18, 1.2f, Col{0, 0, 0, 90});
  });
  IconLooks(sheet, "unitpanel.upgrade", [](Canvas& k, Col c) {  // two unit boxes and an arrow up
    for (float y : {22.0f, 29.0f}) {
      k.Rect(9, y, 22, 1.8f, c);
      k.Rect(9, y + 5, 22, 1.8f, c);
      k.Rect(9, y, 1.8f, 6.8f, c);
      k.Rect(29.2f, y, 1.8f, 6.8f, c);
    }
    k.Polygon({20, 6, 28, 14, 23, 14, 23, 19, 17, 19, 17, 14, 12, 14}, c);
  });
  IconLooks(sheet, "unitpanel.levelup", [](Canvas& k, Col c) {  // three chevrons
    for (int i = 0; i < 3; ++i) {
      const float y = 12 + i * 7.5f;
      k.Line(10, y + 7, 20, y, 3.0f, c);
      k.Line(20, y, 30, y + 7, 3.0f, c);
    }
  });
  IconLooks(sheet, "unitpanel.disband", [](Canvas& k, Col c) {  // a unit box struck through
    k.Rect(9, 13, 22, 2, c);
    k.Rect(9, 25, 22, 2, c);
    k.Rect(9, 13, 2, 14, c);
    k.Rect(29, 13, 2, 14, c);
    k.Line(7, 8, 33, 32, 3.2f, c);
    k.Line(33, 8, 7, 32, 3.2f, c);
  });
  IconLooks(sheet, "unitpanel.amphibious", [](Canvas& k, Col c) {  // a landing craft with its ramp down
    k.Polygon({7, 22, 27, 22, 33, 16, 35, 17, 30, 28, 10, 28}, c);
    k.Rect(10, 17, 6, 5, c);
    Waves(k, 33, c);
  });
  IconLooks(sheet, "unitpanel.seatransport", [](Canvas& k, Col c) {  // a cargo ship with a crate
    k.Polygon({6, 24, 34, 24, 30, 31, 10, 31}, c);
    k.Rect(25, 17, 6, 7, c);
    k.Rect(11, 16, 10, 8, c);
    k.Line(16, 16, 16, 8, 1.4f, c);
    Waves(k, 35, c);
  });
  IconLooks(sheet, "unitpanel.airborne", [](Canvas& k, Col c) {  // a parachute and its jumper
    k.Arc(20, 17, 12, kPi, 2 * kPi, 4.0f, c);
    k.Rect(8, 16, 24, 2, c);
    k.Line(9, 17, 19, 28, 1.2f, c);
    k.Line(31, 17, 21, 28, 1.2f, c);
    k.Line(20, 17, 20, 28, 1.2f, c);
    k.Disc(20, 29, 2.4f, c);
    k.Rect(18.6f, 30, 2.8f, 5.5f, c);
  });
  IconLooks(sheet, "unitpanel.strategic", [](Canvas& k, Col c) {  // a railway track running away
    k.Line(12, 34, 18, 7, 2.2f, c);
    k.Line(28, 34, 22, 7, 2.2f, c);
    for (int i = 0; i < 5; ++i) {
      const float y = 31 - i * 5.5f, half = 9.5f - i * 1.3f;
      k.Rect(20 - half, y, half * 2, 1.8f, c);
    }
  });
  IconLooks(sheet, "unitpanel.bombard", [](Canvas& k, Col c) {  // a falling bomb over a burst
    k.Ellipse(20, 15, 4.5f, 8, c);
    k.Polygon({16, 6, 24, 6, 22, 9, 18, 9}, c);
    std::vector<float> burst;
    for (int i = 0; i < 16; ++i) {
      const float a = i * kPi / 8, r = (i % 2 == 0) ? 8.0f : 3.6f;
      burst.push_back(20 + std::cos(a) * r * 1.3f);
      burst.push_back(31 + std::sin(a) * r * 0.6f);
    }
    k.Polygon(burst, c);
  });
  IconLooks(sheet, "unitpanel.airfight", [](Canvas& k, Col c) {  // a fighter in the gunsight
    k.Ring(20, 20, 12.5f, 14.2f, c);
    k.Rect(19.3f, 4, 1.4f, 7, c);
    k.Rect(19.3f, 29, 1.4f, 7, c);
    k.Rect(4, 19.3f, 7, 1.4f, c);
    k.Rect(29, 19.3f, 7, 1.4f, c);
    k.Ellipse(20, 20, 1.8f, 7, c);
    k.Polygon({11, 19, 29, 19, 28, 22, 12, 22}, c);
    k.Polygon({16.5f, 25.5f, 23.5f, 25.5f, 23, 27, 17, 27}, c);
  });
  IconLooks(sheet, "unitpanel.recon", [](Canvas& k, Col c) {  // binoculars
    k.Disc(13, 24, 6.5f, c);
    k.Disc(27, 24, 6.5f, c);
    k.Rect(10, 12, 6, 10, c);
    k.Rect(24, 12, 6, 10, c);
    k.Rect(15, 17, 10, 4, c);
    k.Disc(13, 24, 3.2f, Col{0, 0, 0, 110});
    k.Disc(27, 24, 3.2f, Col{0, 0, 0, 110});
  });
  IconLooks(sheet, "unitpanel.nuclear", [](Canvas& k, Col c) {  // the trefoil
    for (int i = 0; i < 3; ++i) {
      const float a = -kPi / 2 + i * 2 * kPi / 3;
      std::vector<float> blade{20 + std::cos(a - 0.52f) * 4.5f, 21 + std::sin(a - 0.52f) * 4.5f};
      for (int j = 0; j <= 8; ++j) {
        const float t = a - 0.52f + j * 1.04f / 8;
        blade.push_back(20 + std::cos(t) * 14);
        blade.push_back(21 + std::sin(t) * 14);
      }
      blade.push_back(20 + std::cos(a + 0.52f) * 4.5f);
      blade.push_back(21 + std::sin(a + 0.52f) * 4.5f);
      k.Polygon(blade, c);
    }
    k.Disc(20, 21, 2.8f, c);
  });
}

void DrawCombatIcons(Canvas& sheet) {
  {  // destroyed: the unit's box struck through
    Piece p = Badge("combat.destroyed", Col{196, 60, 44, 255}, Col{104, 22, 16, 255});
    WithShadow(p.k, [&](Col c) {
      p.k.Rect(16, 21, 28, 2.5f, c);
      p.k.Rect(16, 37, 28, 2.5f, c);
      p.k.Rect(16, 21, 2.5f, 18.5f, c);
      p.k.Rect(41.5f, 21, 2.5f, 18.5f, c);
      p.k.Line(13, 16, 47, 44, 4.2f, c);
      p.k.Line(47, 16, 13, 44, 4.2f, c);
    });
    p.Into(sheet);
  }
  {  // surrenders: a white flag on its pole
    Piece p = Badge("combat.surrenders", Col{150, 150, 138, 255}, Col{70, 72, 64, 255});
    WithShadow(p.k, [&](Col c) {
      p.k.Rect(19, 14, 2.6f, 33, c);
      p.k.Disc(20.3f, 13.5f, 2.4f, c);
      p.k.Polygon({21.5f, 16, 34, 14.5f, 44, 18.5f, 41, 23.5f, 44, 29, 33, 31, 21.5f, 29}, c);
    });
    p.Into(sheet);
  }
  {  // retreats: a broad arrow turning back
    Piece p = Badge("combat.retreats", Col{170, 150, 70, 255}, Col{96, 78, 26, 255});
    WithShadow(p.k, [&](Col c) {
      p.k.Arc(31, 31, 10.5f, -kPi * 0.5f, kPi * 0.55f, 5.0f, c);
      p.k.Polygon({29, 13.5f, 18, 20.5f, 29, 27.5f}, c);
      p.k.Rect(28.5f, 18, 3, 5, c);
    });
    p.Into(sheet);
  }
  {  // city hit: roofs under a burst
    Piece p = Badge("combat.city", Col{212, 120, 44, 255}, Col{118, 52, 14, 255});
    WithShadow(p.k, [&](Col c) {
      p.k.Rect(15, 33, 9, 12, c);
      p.k.Polygon({14, 33.5f, 19.5f, 27, 25, 33.5f}, c);
      p.k.Rect(26, 27, 8, 18, c);
      p.k.Rect(36, 35, 9, 10, c);
      p.k.Polygon({35, 35.5f, 40.5f, 30, 46, 35.5f}, c);
      std::vector<float> star;
      for (int i = 0; i < 16; ++i) {
        const float a = i * kPi / 8.0f, r = (i % 2 == 0) ? 10.0f : 4.2f;
        star.push_back(33 + std::cos(a) * r);
        star.push_back(18 + std::sin(a) * r * 0.85f);
      }
      p.k.Polygon(star, c);
    });
    p.Into(sheet);
  }
  {  // port hit: an anchor
    Piece p = Badge("combat.port", Col{70, 120, 168, 255}, Col{22, 50, 88, 255});
    WithShadow(p.k, [&](Col c) {
      p.k.Ring(30, 15.5f, 2.2f, 4.4f, c);
      p.k.Rect(28.6f, 19, 2.8f, 24, c);
      p.k.Rect(22, 22.5f, 16, 2.6f, c);
      p.k.Arc(30, 33, 11.5f, kPi * 0.12f, kPi * 0.88f, 2.8f, c);
      p.k.Polygon({16.5f, 33, 21.5f, 33.5f, 18, 38.5f}, c);
      p.k.Polygon({43.5f, 33, 38.5f, 33.5f, 42, 38.5f}, c);
    });
    // the hit: a burst over the anchor's ring
    std::vector<float> burst;
    for (int i = 0; i < 14; ++i) {
      const float a = i * kPi / 7.0f, r = (i % 2 == 0) ? 7.0f : 3.0f;
      burst.push_back(41 + std::cos(a) * r);
      burst.push_back(16 + std::sin(a) * r);
    }
    p.k.Polygon(burst, Col{250, 170, 60, 255});
    p.k.Disc(41, 16, 2.2f, Col{255, 236, 170, 255});
    p.Into(sheet);
  }
  {  // naval defence destroyed: a coastal gun with a broken barrel
    Piece p = Badge("combat.coast_guns", Col{96, 104, 92, 255}, Col{36, 40, 34, 255});
    WithShadow(p.k, [&](Col c) {
      p.k.Polygon({14, 44, 46, 44, 42, 38, 18, 38}, c);
      RoundRect(p.k, 20, 29, 16, 10, 3, c);
      p.k.Line(33, 31, 40, 24.5f, 3.4f, c);
      p.k.Line(42.5f, 22, 47, 18, 3.4f, c);
      p.k.Line(38, 17, 46, 27, 1.6f, c);
      p.k.Line(44, 14, 41, 19, 1.6f, c);
    });
    p.Into(sheet);
  }
}


// ---- The convoys dialog's picture: a brass-rimmed disc of sea with a route
// from one port to another and three freighters sailing it in line.
void Freighter(Canvas& k, float x, float y, float s, Col hull, Col deck) {
  // hull with a raised bow at the right, bridge aft, funnel, two masts
  k.Polygon({x - 22 * s, y - 4 * s, x + 20 * s, y - 4 * s, x + 26 * s, y - 9 * s, x + 18 * s, y + 5 * s,
             x - 19 * s, y + 5 * s},
            hull);
  k.Rect(x - 20 * s, y - 6 * s, 38 * s, 2 * s, deck);
  k.Rect(x - 17 * s, y - 13 * s, 10 * s, 7 * s, deck);
  k.Rect(x - 14 * s, y - 19 * s, 4 * s, 6 * s, hull);
  k.Line(x - 1 * s, y - 6 * s, x - 1 * s, y - 17 * s, 1.2f * s, hull);
  k.Line(x + 11 * s, y - 6 * s, x + 11 * s, y - 15 * s, 1.2f * s, hull);
  k.Rect(x + 2 * s, y - 9 * s, 6 * s, 3 * s, deck);  // deck cargo
}

void DrawConvoyPicture(Canvas& sheet) {
  Piece p(Find("convoys.picture"));
  Canvas& k = p.k;
  constexpr float c = 75.0f, r = 71.0f;
  k.Disc(c + 1.2f, c + 1.6f, r, kShadow);
  k.Disc(c, c, r, kInk);
  k.Disc(c, c, r - 1.5f, kBrassDark);
  k.Ring(c, c, r - 6.0f, r - 2.0f, kBrass);
  k.Ring(c, c, r - 3.2f, r - 2.0f, kBrassLight);
  const float sea = r - 7.0f;
  for (int i = 0; i < int(2 * sea); ++i) {  // sea from pale at the horizon to deep at the bottom
    const float t = i / (2 * sea - 1);
    const Col col{58 + (18 - 58) * t, 92 + (44 - 92) * t, 104 + (62 - 104) * t, 255};
    const float y = c - sea + i;
    k.FillWhere(0, y, 150, y + 1, [=](float u, float v) {
      return v >= y && v < y + 1 && std::hypot(u - c, v - c) <= sea;
    }, col);
  }
  const auto inSea = [=](float u, float v) { return std::hypot(u - c, v - c) <= sea - 1.0f; };
  // two coasts with their ports, top left and bottom right
  k.FillWhere(0, 0, 150, 150, [=](float u, float v) { return inSea(u, v) && v < 62 - u * 0.55f; },
              Col{120, 118, 78, 255});
  k.FillWhere(0, 0, 150, 150, [=](float u, float v) { return inSea(u, v) && v > 186 - u * 0.75f; },
              Col{120, 118, 78, 255});
  for (const auto& port : {std::pair{34.0f, 36.0f}, std::pair{118.0f, 104.0f}}) {
    k.Disc(port.first, port.second, 6.0f, kInk);
    k.Disc(port.first, port.second, 4.6f, kBrassLight);
    k.Disc(port.first, port.second, 2.0f, kBrassDark);
  }
  // the route: a dashed curve from port to port
  for (int i = 0; i < 14; i += 2) {
    const auto at = [](float t) {
      return std::pair{34.0f + (118.0f - 34.0f) * t - 26.0f * std::sin(kPi * t), 36.0f + (104.0f - 36.0f) * t +
                                                                                       22.0f * std::sin(kPi * t)};
    };
    const auto [x0, y0] = at(i / 14.0f);
    const auto [x1, y1] = at((i + 1) / 14.0f);
    k.Line(x0, y0, x1, y1, 1.6f, WithAlpha(kParchment, 200));
  }
  // three freighters in line, the nearest largest
  const Col hull{30, 30, 28, 255}, deck{214, 206, 170, 255};
  Freighter(k, 48, 66, 0.55f, hull, deck);
  Freighter(k, 68, 88, 0.75f, hull, deck);
  Freighter(k, 96, 116, 0.95f, hull, deck);
  // wakes and swell
  for (const auto& w : {std::tuple{48.0f, 69.0f, 0.55f}, std::tuple{68.0f, 92.0f, 0.75f},
                        std::tuple{96.0f, 121.0f, 0.95f}}) {
    const auto [x, y, s] = w;
    k.Line(x - 30 * s, y, x - 20 * s, y, 1.2f, WithAlpha(kParchment, 150));
    k.Line(x - 38 * s, y + 2, x - 28 * s, y + 2, 1.0f, WithAlpha(kParchment, 90));
  }
  k.Arc(c, c, sea - 3.0f, kPi * 1.1f, kPi * 1.9f, 1.6f, kGlint);
  p.Into(sheet);
}

// ---- The purchases dialog's preview stand: a brass-rimmed plate with a
// sunken steel field ruled like a drawing board; the unit's counter is drawn
// on it 15 pixels inside the edges.
void DrawPurchasePreview(Canvas& sheet) {
  Piece p(Find("purchases.preview"));
  Canvas& k = p.k;
  const float w = p.box.W(), h = p.box.H();
  k.Rect(3, 4, w - 4, h - 4, kShadow);
  Plate(k, 0, 0, w - 2, h - 2, 6, kInk, kBrass, kBrassDark, false);
  k.Rect(4, 4, w - 10, 1, WithAlpha(kBrassLight, 120));
  // the field, pressed in, from steel at the top to deep olive at the bottom
  Plate(k, 8, 8, w - 18, h - 18, 3, kInk, Col{40, 45, 33, 255}, Col{24, 27, 19, 255}, true);
  const float x0 = 10, y0 = 10, x1 = w - 12, y1 = h - 12;
  for (float x = x0 + 10; x < x1; x += 10) k.Rect(x, y0, 1, y1 - y0, Col{120, 124, 88, x == x0 + 80 ? 60.f : 26.f});
  for (float y = y0 + 10; y < y1; y += 10) k.Rect(x0, y, x1 - x0, 1, Col{120, 124, 88, y == y0 + 80 ? 60.f : 26.f});
  // corner marks of the stand, in brass
  const Col mark = WithAlpha(kBrassLight, 170);
  for (const auto& c : {std::pair{x0 + 4, y0 + 4}, std::pair{x1 - 4, y0 + 4}, std::pair{x0 + 4, y1 - 4},
                        std::pair{x1 - 4, y1 - 4}}) {
    const float sx = c.first < w / 2 ? 1.0f : -1.0f, sy = c.second < h / 2 ? 1.0f : -1.0f;
    k.Line(c.first, c.second, c.first + 12 * sx, c.second, 1.4f, mark);
    k.Line(c.first, c.second, c.first, c.second + 12 * sy, 1.4f, mark);
  }
  // four rivets on the rim
  for (const auto& r : {std::pair{4.5f, 4.5f}, std::pair{w - 6.5f, 4.5f}, std::pair{4.5f, h - 6.5f},
                        std::pair{w - 6.5f, h - 6.5f}}) {
    k.Disc(r.first, r.second, 2.2f, kInk);
    k.Disc(r.first - 0.4f, r.second - 0.4f, 1.4f, kBrassLight);
  }
  p.Into(sheet);
}

// ---- The research dialog's investment icons: four 40 x 30 plates, one
// per investment level, with three lamps of which that many are lit.
void DrawResearchIcons(Canvas& sheet) {
  Piece p(Find("research.investment"));
  Canvas& k = p.k;
  for (int level = 0; level < 4; ++level) {
    const float top = level * 30.0f;
    Plate(k, 1.0f, top + 2.0f, 38.0f, 26.0f, 5.0f, kInk, kSteel, kSteelDark, false);
    for (int lamp = 0; lamp < 3; ++lamp) {
      const float cx = 9.0f + lamp * 11.0f, cy = top + 15.0f;
      k.Disc(cx, cy, 4.6f, kInk);
      if (lamp < level) {
        k.Disc(cx, cy, 3.6f, kBrassLight);
        k.Disc(cx - 1.0f, cy - 1.0f, 1.4f, kGlint);
      } else {
        k.Ring(cx, cy, 2.6f, 3.6f, kBrassDark);
      }
    }
  }
  p.Into(sheet);
}

// ---- Checks

bool Overlaps(const Box& a, const Box& b) { return a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b; }

bool CheckTable() {
  bool ok = true;
  const size_t n = sizeof(kRegions) / sizeof(kRegions[0]);
  for (size_t i = 0; i < n; ++i) {
    const Box& a = kRegions[i].box;
    if (a.l < 0 || a.t < 0 || a.r > kSheet || a.b > kSheet || a.r <= a.l || a.b <= a.t) {
      std::fprintf(stderr, "make_gui_sheet: %s lies outside the sheet\n", kRegions[i].name);
      ok = false;
    }
    for (size_t j = i + 1; j < n; ++j)
      if (Overlaps(a, kRegions[j].box)) {
        std::fprintf(stderr, "make_gui_sheet: %s overlaps %s\n", kRegions[i].name, kRegions[j].name);
        ok = false;
      }
  }
  return ok;
}

// Every drawn pixel lies in a region and every region has drawn pixels.
bool CheckSheet(const std::vector<std::uint8_t>& rgba) {
  std::vector<char> inside(size_t(kSheet) * kSheet, 0);
  bool ok = true;
  for (const Region& r : kRegions) {
    bool any = false;
    for (int y = r.box.t; y < r.box.b; ++y)
      for (int x = r.box.l; x < r.box.r; ++x) {
        inside[size_t(y) * kSheet + x] = 1;
        any = any || rgba[(size_t(y) * kSheet + x) * 4 + 3] != 0;
      }
    if (!any) {
      std::fprintf(stderr, "make_gui_sheet: %s is empty\n", r.name);
      ok = false;
    }
  }
  for (size_t i = 0; i < inside.size(); ++i)
    if (!inside[i] && rgba[i * 4 + 3] != 0) {
      std::fprintf(stderr, "make_gui_sheet: stray pixel at (%d, %d)\n", int(i % kSheet), int(i / kSheet));
      return false;
    }
  return ok;
}

// ---- Preview: a mock dialog built from the regions the way the controls use
// them (stretched, tinted per state), then every region scaled up on a
// checkerboard with its name.

struct Preview {
  Canvas& src;
  Canvas& out;
  TTF_Font* font;

  // Draws a region stretched over (x, y, w, h), sampled bilinearly inside the
  // region and multiplied by the ARGB tint, as the sprite does.
  void Sprite(const char* name, float x, float y, float w, float h, std::uint32_t tint = 0xFFFFFFFF) {
    const Box& b = Find(name);
    const float ta = float(tint >> 24) / 255.0f, tr = float((tint >> 16) & 255) / 255.0f,
                tg = float((tint >> 8) & 255) / 255.0f, tb = float(tint & 255) / 255.0f;
    for (int py = int(y); py < int(y + h); ++py)
      for (int px = int(x); px < int(x + w); ++px) {
        const float u = std::clamp((px + 0.5f - x) / w * b.W() - 0.5f, 0.0f, b.W() - 1.0f);
        const float v = std::clamp((py + 0.5f - y) / h * b.H() - 0.5f, 0.0f, b.H() - 1.0f);
        const int u0 = int(u), v0 = int(v), u1 = std::min(u0 + 1, b.W() - 1), v1 = std::min(v0 + 1, b.H() - 1);
        const float fu = u - u0, fv = v - v0;
        float r = 0, g = 0, bl = 0, a = 0;
        const int us[2] = {u0, u1}, vs[2] = {v0, v1};
        const float wu[2] = {1 - fu, fu}, wv[2] = {1 - fv, fv};
        for (int j = 0; j < 2; ++j)
          for (int i = 0; i < 2; ++i) {
            const Col& c = src.At(b.l + us[i], b.t + vs[j]);
            const float wgt = wu[i] * wv[j] * c.a;
            r += c.r * wgt; g += c.g * wgt; bl += c.b * wgt; a += wgt;
          }
        if (a <= 0) continue;
        out.Blend(px, py, Col{r / a * tr, g / a * tg, bl / a * tb, a * ta});
      }
  }
  void Text(const char* text, float x, float y, float w, float h, Col c, bool centre = true) {
    SDL_Surface* t = TTF_RenderUTF8_Blended(font, text, SDL_Color{255, 255, 255, 255});
    if (t == nullptr) return;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(t, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(t);
    if (rgba == nullptr) return;
    const int tx = int(centre ? x + (w - rgba->w) / 2 : x), ty = int(y + (h - rgba->h) / 2);
    for (int j = 0; j < rgba->h; ++j)
      for (int i = 0; i < rgba->w; ++i) {
        const std::uint8_t* p = static_cast<const std::uint8_t*>(rgba->pixels) + j * rgba->pitch + i * 4;
        out.Blend(tx + i, ty + j, Col{c.r, c.g, c.b, c.a * p[3] / 255.0f});
      }
    SDL_FreeSurface(rgba);
  }
  // Nine pieces over a rectangle with the given border sizes.
  void Nine(const char* const names[9], float x, float y, float w, float h, float bw, float bh,
            std::uint32_t tint = 0xFFFFFFFF) {
    const float xs[4] = {x, x + bw, x + w - bw, x + w}, ys[4] = {y, y + bh, y + h - bh, y + h};
    for (int k = 0; k < 9; ++k)
      Sprite(names[k], xs[k % 3], ys[k / 3], xs[k % 3 + 1] - xs[k % 3], ys[k / 3 + 1] - ys[k / 3], tint);
  }
  void Button(const char* label, float x, float y, float w, float h, bool pressed, Col text) {
    const char* l = pressed ? "button.pressed.left" : "button.normal.left";
    const char* m = pressed ? "button.pressed.middle" : "button.normal.middle";
    const char* r = pressed ? "button.pressed.right" : "button.normal.right";
    Sprite(l, x, y, 5, h);
    Sprite(m, x + 5, y, w - 10, h);
    Sprite(r, x + w - 5, y, 5, h);
    Text(label, x, y, w, h, text);
  }
};

const char* const kFrame0[9] = {"frame0.topleft", "frame0.top", "frame0.topright", "frame0.left", "frame0.centre",
                                "frame0.right", "frame0.bottomleft", "frame0.bottom", "frame0.bottomright"};
const char* const kFrame1[9] = {"frame1.topleft", "frame1.top", "frame1.topright", "frame1.left", "frame1.centre",
                                "frame1.right", "frame1.bottomleft", "frame1.bottom", "frame1.bottomright"};
const char* const kFrame2[9] = {"frame2.topleft", "frame2.top", "frame2.topright", "frame2.left", "frame2.centre",
                                "frame2.right", "frame2.bottomleft", "frame2.bottom", "frame2.bottomright"};
const char* const kEdit[9] = {"edit.topleft", "edit.top", "edit.topright", "edit.left", "edit.centre",
                              "edit.right", "edit.bottomleft", "edit.bottom", "edit.bottomright"};
const char* const kList[9] = {"list.topleft", "list.top", "list.topright", "list.left", "list.middle",
                              "list.right", "list.bottomleft", "list.bottom", "list.bottomright"};
const char* const kCombo[9] = {"combo.list.topleft", "combo.list.top", "combo.list.topright", "combo.list.left",
                               "combo.list.middle", "combo.list.right", "combo.list.bottomleft",
                               "combo.list.bottom", "combo.list.bottomright"};
const char* const kTab[9] = {"tab.body.topleft", "tab.body.top", "tab.body.topright", "tab.body.left",
                             "tab.body.middle", "tab.body.right", "tab.body.bottomleft", "tab.body.bottom",
                             "tab.body.bottomright"};

void DrawMockDialog(Preview& p, float x0, float y0) {
  const Col white{255, 255, 255, 255}, black{0, 0, 0, 255}, grey{128, 128, 128, 200};
  constexpr std::uint32_t kDisabled = 0xC8808080;
  p.out.Rect(x0 - 10, y0 - 10, 1120, 560, Col{60, 70, 80, 255});  // a stand-in for the map behind
  p.Sprite("caption", x0, y0, 1080, 22);
  p.Text("Naval Operations - Preview", x0 + 8, y0, 400, 22, white, false);
  p.Nine(kFrame0, x0, y0 + 22, 1080, 510, 45, 45);
  const float bx = x0 + 60, by = y0 + 80;
  p.Button("Normal", bx, by, 120, 32, false, white);
  p.Button("Hover", bx + 130, by, 120, 32, false, black);
  p.Button("Pressed", bx + 260, by, 120, 32, true, white);
  p.Button("Disabled", bx + 390, by, 120, 32, false, grey);
  p.Sprite("checkbox.unchecked", bx, by + 50, 22, 22);
  p.Text("Fog of war", bx + 28, by + 50, 100, 22, white, false);
  p.Sprite("checkbox.checked", bx + 140, by + 50, 22, 22);
  p.Text("Convoys", bx + 168, by + 50, 100, 22, white, false);
  p.Sprite("checkbox.checked", bx + 260, by + 50, 22, 22, kDisabled);
  p.Text("Disabled", bx + 288, by + 50, 100, 22, grey, false);
  p.Sprite("radio.unchecked", bx, by + 80, 22, 22);
  p.Text("Allies", bx + 28, by + 80, 100, 22, white, false);
  p.Sprite("radio.checked", bx + 140, by + 80, 22, 22);
  p.Text("Axis", bx + 168, by + 80, 100, 22, white, false);
  // slider and progress bar
  const float sy = by + 120;
  p.Sprite("slider.track.left", bx, sy, 10, 22);
  p.Sprite("slider.track.middle", bx + 10, sy, 180, 22);
  p.Sprite("slider.track.right", bx + 190, sy, 10, 22);
  p.Sprite("slider.thumb", bx + 5 + 90, sy, 10, 22);
  p.Sprite("slider.track.left", bx + 220, sy, 10, 22);
  p.Sprite("slider.track.middle", bx + 230, sy, 180, 22);
  p.Sprite("slider.track.right", bx + 410, sy, 10, 22);
  p.Sprite("slider.thumb.pressed", bx + 225 + 140, sy, 10, 22);
  const float py = sy + 36;
  p.Sprite("progress.full.left", bx, py, 5, 20);
  p.Sprite("progress.empty.middle", bx + 5, py, 290, 20);
  p.Sprite("progress.full.middle", bx + 5, py, 180, 20);
  p.Sprite("progress.empty.right", bx + 295, py, 5, 20);
  // edit box (unfocused: white text; focused: dark text, caret)
  const float ey = py + 36;
  p.Nine(kEdit, bx, ey, 220, 30, 10, 10);
  p.Text("HMS Warspite", bx + 8, ey, 200, 30, white, false);
  p.Nine(kEdit, bx + 240, ey, 220, 30, 10, 10);
  p.Text("Task Force 7", bx + 248, ey, 200, 30, black, false);
  p.out.Rect(bx + 330, ey + 6, 2, 18, white);
  // combo box, closed and open
  const float cy = ey + 50, ch = 30;
  p.Sprite("combo.box.left", bx, cy, ch, ch);
  p.Sprite("combo.box.middle", bx + ch, cy, 200 - 2 * ch, ch);
  p.Sprite("combo.box.button", bx + 200 - ch, cy, ch, ch);
  p.Text("1024 x 768", bx, cy, 200 - ch, ch, white);
  p.Sprite("combo.box.left", bx + 240, cy, ch, ch);
  p.Sprite("combo.box.middle", bx + 240 + ch, cy, 200 - 2 * ch, ch);
  p.Sprite("combo.box.button", bx + 440 - ch, cy, ch, ch);
  p.Text("Normal", bx + 240, cy, 200 - ch, ch, black);
  const float dx = bx + 240, dy = cy + ch, dw = 175, dh = 110;
  const float xs[4] = {dx, dx + 25, dx + dw - 25, dx + dw}, ys[4] = {dy, dy + 25, dy + dh - 25, dy + dh};
  for (int k = 0; k < 9; ++k)
    p.Sprite(kCombo[k], xs[k % 3], ys[k / 3], xs[k % 3 + 1] - xs[k % 3], ys[k / 3 + 1] - ys[k / 3]);
  const char* items[4] = {"Easy", "Normal", "Hard", "Historical"};
  for (int i = 0; i < 4; ++i) {
    const float iy = dy + 10 + i * 18;
    if (i == 1) p.Sprite("combo.list.highlight", dx, iy - 2, dw, 22);
    p.Text(items[i], dx + 17, iy, dw - 34, 18, black);
  }
  p.Sprite("scroll.up", dx + dw, dy + 2, 25, 25);
  p.Sprite("scroll.track", dx + dw, dy + 27, 25, dh - 2 - 50);
  p.Sprite("scroll.down", dx + dw, dy + dh - 25, 25, 25);
  p.Sprite("scroll.thumb", dx + dw, dy + 27, 25, 30);
  // list box with columns
  const float lx = x0 + 680, ly = y0 + 80, lw = 340, lh = 200, hb = ly + 6 + 18;
  p.Sprite(kList[0], lx, ly, 25, hb - ly);
  p.Sprite(kList[1], lx + 25, ly, lw - 16 - 50, hb - ly);
  p.Sprite(kList[2], lx + lw - 16 - 25, ly, 25, hb - ly);
  for (int k = 3; k < 9; ++k) {
    const float rx[4] = {lx, lx + 25, lx + lw - 16 - 25, lx + lw - 16};
    const float ry[3] = {hb, ly + lh - 25, ly + lh};
    const int c = k % 3, r = k / 3 - 1;
    p.Sprite(kList[k], rx[c], ry[r], rx[c + 1] - rx[c], ry[r + 1] - ry[r]);
  }
  const float tx = lx + 11, cols[3] = {150, 80, 70};
  p.Sprite("list.column.highlight", tx + 150, ly, 80, lh);
  float x = tx;
  const char* caps[3] = {"Ship", "Type", "Speed"};
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      p.Sprite("list.separator.top", x - 12, ly, 25, hb - ly);
      p.Sprite("list.separator.middle", x - 12, hb, 25, ly + lh - 25 - hb);
      p.Sprite("list.separator.bottom", x - 12, ly + lh - 25, 25, 25);
    }
    p.Text(caps[i], x + 4, ly + 6, cols[i] - 8, 18, white, i > 0);
    x += cols[i];
  }
  const char* rows[6][3] = {{"Bismarck", "BB", "30"}, {"Prinz Eugen", "CA", "32"}, {"Z-23", "DD", "36"},
                            {"U-47", "SS", "17"}, {"Graf Spee", "CA", "28"}, {"Tirpitz", "BB", "30"}};
  for (int r = 0; r < 6; ++r) {
    const float ry = hb + 2 + r * 20;
    const bool sel = r == 2, hover = r == 4;
    if (sel || hover) p.Sprite("list.row.highlight", lx + 6, ry, lw - 16 - 12, 20);
    float cx = tx;
    for (int c = 0; c < 3; ++c) {
      p.Text(rows[r][c], cx + 4, ry, cols[c] - 8, 20, sel ? black : white, c > 0);
      cx += cols[c];
    }
  }
  p.Sprite("scroll.up", lx + lw - 16, ly, 16, 16);
  p.Sprite("scroll.track", lx + lw - 16, ly + 16, 16, lh - 32);
  p.Sprite("scroll.down", lx + lw - 16, ly + lh - 16, 16, 16);
  p.Sprite("scroll.thumb", lx + lw - 16, ly + 40, 16, 50);
  // tab frame with three headers, the middle one selected
  const float fx = x0 + 680, fy = y0 + 310, fh = 24;
  const char* tabs[3] = {"Fleet", "Orders", "Reports"};
  float hx = fx;
  for (int i = 0; i < 3; ++i) {
    const bool s = i == 1;
    const float cw = 56;
    p.Sprite(s ? "tab.selected.left" : "tab.header.left", hx, fy, 10, fh);
    p.Sprite(s ? "tab.selected.middle" : "tab.header.middle", hx + 10, fy, cw, fh);
    p.Sprite(s ? "tab.selected.right" : "tab.header.right", hx + 10 + cw, fy, 10, fh);
    p.Text(tabs[i], hx + 10, fy, cw, fh, s ? black : white);
    hx += cw + 20;
  }
  p.Nine(kTab, fx, fy + fh, 340, 160, 10, 10);
  p.Nine(kFrame1, fx + 20, fy + fh + 20, 140, 110, 30, 30);
  p.Nine(kFrame2, fx + 180, fy + fh + 20, 140, 60, 10, 10);
  p.Text("Hint frame", fx + 180, fy + fh + 20, 140, 60, white);
  // the IME box and its indicator (switched off in the game, drawn for completeness)
  p.Sprite("ime.indicator", bx, cy + 60, 136, 54);
}

int WritePreview(Canvas& sheet, const char* path, const char* font_path) {
  if (TTF_Init() != 0) return std::fprintf(stderr, "make_gui_sheet: %s\n", TTF_GetError()), 1;
  TTF_Font* font = TTF_OpenFont(font_path, 11);
  TTF_Font* big = TTF_OpenFont(font_path, 14);
  if (font == nullptr || big == nullptr) return std::fprintf(stderr, "make_gui_sheet: %s\n", TTF_GetError()), 1;
  constexpr int kCell = 160, kCols = 10, kArt = 128, kMock = 580;
  const int n = int(sizeof(kRegions) / sizeof(kRegions[0]));
  const int rows = (n + kCols - 1) / kCols;
  Canvas out(kCols * kCell, kMock + rows * kCell);
  out.Rect(0, 0, out.W(), out.H(), Col{96, 96, 96, 255});
  Preview mock{sheet, out, big};
  DrawMockDialog(mock, 30, 20);
  Preview cells{sheet, out, font};
  for (int i = 0; i < n; ++i) {
    const Box& b = kRegions[i].box;
    const int cx = (i % kCols) * kCell, cy = kMock + (i / kCols) * kCell;
    const int s = std::max(1, std::min(kArt / b.W(), kArt / b.H()));
    const int ox = cx + (kCell - b.W() * s) / 2, oy = cy + 6 + (kArt - b.H() * s) / 2;
    for (int y = 0; y < b.H() * s; ++y)  // checkerboard under the art shows transparency
      for (int x = 0; x < b.W() * s; ++x) {
        const bool dark = ((x / 8) + (y / 8)) % 2 != 0;
        out.At(ox + x, oy + y) = dark ? Col{150, 150, 150, 255} : Col{190, 190, 190, 255};
        out.Blend(ox + x, oy + y, sheet.At(b.l + x / s, b.t + y / s));
      }
    char label[96];
    std::snprintf(label, sizeof label, "%s  %dx%d", kRegions[i].name, b.W(), b.H());
    cells.Text(label, float(cx + 1), float(cy + kCell - 20), float(kCell - 2), 18, Col{255, 255, 255, 255});
  }
  TTF_CloseFont(font);
  TTF_CloseFont(big);
  TTF_Quit();
  const std::string error = tooldraw::WritePng(out, path);
  if (!error.empty()) return std::fprintf(stderr, "make_gui_sheet: %s\n", error.c_str()), 1;
  std::printf("wrote %s\n", path);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 5 && std::strcmp(argv[2], "--preview") == 0)) {
    std::fprintf(stderr, "usage: make_gui_sheet <output.png> [--preview <contact sheet.png> <font.ttf>]\n");
    return 2;
  }
  if (!CheckTable()) return 1;
  Canvas sheet(kSheet, kSheet);
  DrawCaption(sheet);
  DrawButton(sheet, "button.normal.left", "button.normal.right", false);
  DrawButton(sheet, "button.pressed.left", "button.pressed.right", true);
  DrawCheckBox(sheet, "checkbox.unchecked", false);
  DrawCheckBox(sheet, "checkbox.checked", true);
  DrawRadio(sheet, "radio.unchecked", false);
  DrawRadio(sheet, "radio.checked", true);
  DrawComboBox(sheet);
  DrawComboList(sheet);
  DrawSlider(sheet);
  DrawProgress(sheet, false);
  DrawProgress(sheet, true);
  DrawScrollBar(sheet);
  DrawEditBox(sheet);
  DrawIme(sheet);
  DrawListBox(sheet);
  DrawFrame0(sheet);
  DrawFrame1(sheet);
  DrawFrame2(sheet);
  DrawTabFrame(sheet);
  DrawCombatIcons(sheet);
  DrawUnitPanelIcons(sheet);
  DrawConvoyPicture(sheet);
  DrawPurchasePreview(sheet);
  DrawResearchIcons(sheet);
  if (!CheckSheet(sheet.Bytes())) return 1;

  const std::string error = tooldraw::WritePng(sheet, argv[1]);
  if (!error.empty()) {
    std::fprintf(stderr, "make_gui_sheet: %s\n", error.c_str());
    return 1;
  }
  std::printf("wrote %s\n", argv[1]);
  if (argc == 5) return WritePreview(sheet, argv[3], argv[4]);
  return 0;
}
