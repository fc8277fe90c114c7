// The default display elements every dialog starts with: one set per
// control type, all cut from the interface sheet "data\gfx\GUI.png", with
// the fonts of the layout file.
#include "app/gui_layout.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_frames.h"
#include "gui/gui_helpers.h"

namespace {

constexpr std::uint32_t kGreyed = 0xC8808080;

// Font colour sets over the states normal, disabled, hidden, focus,
// mouse-over, pressed.
void SetFontStates(CDXUTElement& e, std::uint32_t normal, std::uint32_t disabled, std::uint32_t focus,
                   std::uint32_t over, std::uint32_t pressed) {
  e.FontColor.Init(normal, disabled, 0);
  e.FontColor.States[DXUT_STATE_FOCUS] = focus;
  e.FontColor.States[DXUT_STATE_MOUSEOVER] = over;
  e.FontColor.States[DXUT_STATE_PRESSED] = pressed;
}

enum FontSet { kS, kP, kC, kM, kN, kL, kQ, kAllB };

struct Builder {
  CDXUTDialog& dialog;
  std::uint32_t a, b;

  void Add(unsigned type, unsigned index, plat::RectI rect, unsigned format, std::uint32_t texDisabled, FontSet set,
           unsigned font = 1) {
    CDXUTElement e;
    e.iTexture = 0;
    e.iFont = font;
    e.dwTextFormat = format;
    e.rcTexture = rect;
    e.TextureColor.Init(kWhite, texDisabled, 0);
    switch (set) {
      case kS: SetFontStates(e, a, a, a, a, kWhite); break;
      case kP: SetFontStates(e, a, kGreyed, b, b, a); break;
      case kC: SetFontStates(e, a, a, a, a, a); break;
      case kM: SetFontStates(e, a, a, a, b, b); break;
      case kN: SetFontStates(e, b, kGreyed, b, b, b); break;
      case kL: SetFontStates(e, a, a, b, b, b); break;
      case kQ: SetFontStates(e, a, kGreyed, a, a, a); break;
      case kAllB: SetFontStates(e, b, kGreyed, b, b, b); break;
    }
    dialog.SetDefaultElement(type, index, &e);
  }
};

plat::RectI Cell(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

}  // namespace

void CDXUTDialog::InitDefaultElements() {
  SetTexture(0, L"data\\gfx\\GUI.png");
  for (unsigned k = 0; k < static_cast<unsigned>(kGuiFonts); ++k) {
    SetFont(k, g_GuiFonts[k].face, g_GuiFonts[k].height, g_GuiFonts[k].weight);
  }
  const std::uint32_t a = g_GuiFonts[1].color;
  const std::uint32_t b = g_GuiFonts[1].color2;

  // Caption.
  m_CapElement.iTexture = 0;
  m_CapElement.iFont = 1;
  m_CapElement.dwTextFormat = 0x104;
  m_CapElement.rcTexture = {17, 269, 241, 287};
  m_CapElement.TextureColor.Init(kWhite, kGreyed, 0);
  m_CapElement.FontColor.Init(kWhite, kGreyed, 0);
  m_CapElement.TextureColor.Blend(DXUT_STATE_NORMAL, 10.0f, 0.0f);
  m_CapElement.FontColor.Blend(DXUT_STATE_NORMAL, 10.0f, 0.0f);

  Builder d{*this, a, b};
  // Static: text only.
  d.Add(DXUT_CONTROL_STATIC, 0, {}, 5, kWhite, kS);
  d.Add(DXUT_CONTROL_STATIC, 1, {}, 5, kWhite, kS);
  {
    Builder d3{*this, g_GuiFonts[3].color, g_GuiFonts[3].color2};
    d3.Add(DXUT_CONTROL_STATIC, 2, {}, 5, kWhite, kS, 3);
  }
  // Button: normal and pressed slices.
  for (unsigned i = 0; i < 3; ++i) {
    d.Add(DXUT_CONTROL_BUTTON, i, Cell(136 + 5 * static_cast<int>(i), 1926, 5, 30), 5, kWhite, kP);
    d.Add(DXUT_CONTROL_BUTTON, 3 + i, Cell(152 + 5 * static_cast<int>(i), 1926, 5, 30), 5, kWhite, kP);
  }
  d.Add(DXUT_CONTROL_CHECKBOX, 0, {290, 1921, 315, 1946}, 0x104, kGreyed, kC);
  d.Add(DXUT_CONTROL_CHECKBOX, 1, {316, 1921, 341, 1946}, 0x104, kGreyed, kC);
  d.Add(DXUT_CONTROL_RADIOBUTTON, 0, {290, 1947, 315, 1972}, 0x104, kGreyed, kC);
  d.Add(DXUT_CONTROL_RADIOBUTTON, 1, {316, 1947, 341, 1972}, 0x104, kGreyed, kC);
  // Combo box.
  d.Add(DXUT_CONTROL_COMBOBOX, 0, {199, 1926, 229, 1956}, 5, 0x46FFFFFF, kM);
  d.Add(DXUT_CONTROL_COMBOBOX, 1, {259, 1926, 289, 1956}, 5, 0x46FFFFFF, kM);
  d.Add(DXUT_CONTROL_COMBOBOX, 2, {229, 1926, 259, 1956}, 5, 0x46FFFFFF, kM);
  d.Add(DXUT_CONTROL_COMBOBOX, 3, {212, 2033, 287, 2045}, 0x100, 0x46FFFFFF, kN);
  {
    unsigned index = 4;
    for (int y : {1957, 1982}) {
      for (int x : {212, 237, 262}) d.Add(DXUT_CONTROL_COMBOBOX, index++, Cell(x, y, 25, 25), 0x100, kGreyed, kN);
    }
    d.Add(DXUT_CONTROL_COMBOBOX, 10, {212, 2007, 237, 2032}, 0x100, kGreyed, kN);
    d.Add(DXUT_CONTROL_COMBOBOX, 11, {237, 2007, 262, 2032}, 0x100, kGreyed, kN);
    d.Add(DXUT_CONTROL_COMBOBOX, 12, {262, 2007, 287, 2032}, 0x100, kGreyed, kL);
  }
  // Slider.
  for (unsigned i = 0; i < 3; ++i) {
    d.Add(DXUT_CONTROL_SLIDER, i, Cell(136 + 10 * static_cast<int>(i), 1900, 10, 25), 0x100, 0x46FFFFFF, kL);
  }
  d.Add(DXUT_CONTROL_SLIDER, 3, {167, 1900, 177, 1925}, 0x100, kGreyed, kL);
  d.Add(DXUT_CONTROL_SLIDER, 4, {178, 1900, 188, 1925}, 0x100, kGreyed, kL);
  // Progress bar: empty and filled slices.
  for (unsigned i = 0; i < 3; ++i) {
    d.Add(DXUT_CONTROL_PROGRESSBAR, i, Cell(350 + 5 * static_cast<int>(i), 1885, 5, 25), 0x100, 0x46FFFFFF, kL);
    d.Add(DXUT_CONTROL_PROGRESSBAR, 3 + i, Cell(350 + 5 * static_cast<int>(i), 1910, 5, 25), 0x100, 0x46FFFFFF, kL);
  }
  // Scroll bar.
  d.Add(DXUT_CONTROL_SCROLLBAR, 0, {290, 1973, 315, 1998}, 0x100, 0x00FFFFFF, kL);
  d.Add(DXUT_CONTROL_SCROLLBAR, 1, {290, 1998, 315, 2023}, 0x100, 0x00FFFFFF, kL);
  d.Add(DXUT_CONTROL_SCROLLBAR, 2, {290, 2023, 315, 2048}, 0x100, 0x00FFFFFF, kL);
  d.Add(DXUT_CONTROL_SCROLLBAR, 3, {316, 1973, 341, 2048}, 0x100, kGreyed, kL);
  // Edit box and memo: inside, then the border cells.
  for (unsigned type : {unsigned{DXUT_CONTROL_EDITBOX}, unsigned{DXUT_CONTROL_MEMO}}) {
    d.Add(type, 0, {178, 1936, 188, 1946}, 5, kGreyed, kP);
    const int xs[] = {168, 178, 188, 168, 188, 168, 178, 188};
    const int ys[] = {1926, 1926, 1926, 1936, 1936, 1946, 1946, 1946};
    for (unsigned i = 0; i < 8; ++i) d.Add(type, 1 + i, Cell(xs[i], ys[i], 10, 10), 5, kGreyed, kP);
  }
  // The reserved editable type.
  {
    d.Add(DXUT_CONTROL_IMEEDITBOX, 0, {14, 90, 241, 113}, 0, kGreyed, kP);
    const plat::RectI border[] = {{8, 82, 14, 90},   {14, 82, 241, 90},   {241, 82, 246, 90},   {8, 90, 14, 113},
                                  {241, 90, 246, 113}, {8, 113, 14, 121}, {14, 113, 241, 121}, {241, 113, 246, 121}};
    for (unsigned i = 0; i < 8; ++i) d.Add(DXUT_CONTROL_IMEEDITBOX, 1 + i, border[i], 0, kGreyed, kP);
    d.Add(DXUT_CONTROL_IMEEDITBOX, 9, {0, 0, 136, 54}, 5, kGreyed, kQ);
  }
  // List box.
  {
    unsigned index = 0;
    for (int y : {1936, 1961}) {
      for (int x : {350, 375, 400}) d.Add(DXUT_CONTROL_LISTBOX, index++, Cell(x, y, 25, 25), 5, kGreyed, kQ);
    }
    d.Add(DXUT_CONTROL_LISTBOX, 6, {350, 1986, 375, 2011}, 5, kGreyed, kQ);
    d.Add(DXUT_CONTROL_LISTBOX, 7, {375, 1986, 400, 2011}, 5, kGreyed, kQ);
    d.Add(DXUT_CONTROL_LISTBOX, 8, {400, 1986, 425, 2011}, 0, kGreyed, kL);
    d.Add(DXUT_CONTROL_LISTBOX, 9, {425, 1936, 450, 1961}, 0, kGreyed, kL);
    d.Add(DXUT_CONTROL_LISTBOX, 10, {425, 1961, 450, 1986}, 0, kGreyed, kN);
    d.Add(DXUT_CONTROL_LISTBOX, 11, {425, 1986, 450, 2011}, 0, kGreyed, kN);
    d.Add(DXUT_CONTROL_LISTBOX, 12, {350, 2011, 375, 2036}, 0, kGreyed, kN);
    d.Add(DXUT_CONTROL_LISTBOX, 13, {375, 2011, 400, 2036}, 0, kGreyed, kN);
  }
  // Frame: nine cells per style, centre first.
  for (unsigned s = 0; s < 3; ++s) {
    const DXUTFrameStyle& g = kFrameStyles[s];
    d.Add(DXUT_CONTROL_FRAME, 9 * s, Cell(g.x + g.w, g.y + g.h, g.w, g.h), 5, kGreyed, kP);
    const int cx[] = {0, 1, 2, 0, 2, 0, 1, 2};
    const int cy[] = {0, 0, 0, 1, 1, 2, 2, 2};
    for (unsigned k = 0; k < 8; ++k) {
      d.Add(DXUT_CONTROL_FRAME, 9 * s + 1 + k, Cell(g.x + cx[k] * g.w, g.y + cy[k] * g.h, g.w, g.h), 5, kGreyed, kP);
    }
  }
  // Tab frame: body cells, then the header pieces.
  for (unsigned i = 0; i < 8; ++i) {
    d.Add(DXUT_CONTROL_TABFRAME, i, Cell(190 + 10 * static_cast<int>(i % 3), 1895 + 10 * static_cast<int>(i / 3), 10, 10),
          5, kGreyed, kP);
  }
  d.Add(DXUT_CONTROL_TABFRAME, 8, {210, 1915, 220, 1925}, 4, kGreyed, kL);
  for (unsigned i = 0; i < 3; ++i) {
    d.Add(DXUT_CONTROL_TABFRAME, 9 + i, Cell(65 + 10 * static_cast<int>(i), 1885, 10, 20), 4, kGreyed, kQ);
    d.Add(DXUT_CONTROL_TABFRAME, 12 + i, Cell(95 + 10 * static_cast<int>(i), 1885, 10, 20), 4, kGreyed, kAllB);
  }
}
