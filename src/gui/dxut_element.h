// The display element of a control: a rectangle of the interface texture and
// a font, each with one colour per visual state, plus the shared numbers of
// the toolkit (control types, event codes, result codes).
#pragma once

#include <cstdint>

#include "platform/render.h"

// Result codes of the toolkit, with their Windows values.
using HRESULT = long;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(static_cast<std::int32_t>(0x80004005u));
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(static_cast<std::int32_t>(0x80070057u));
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(static_cast<std::int32_t>(0x8007000Eu));
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// GUI events passed to a dialog's callback.
enum : unsigned {
  EVENT_BUTTON_CLICKED = 0x0101,
  EVENT_COMBOBOX_SELECTION_CHANGED = 0x0201,
  EVENT_RADIOBUTTON_CHANGED = 0x0301,
  EVENT_CHECKBOX_CHANGED = 0x0401,
  EVENT_SLIDER_VALUE_CHANGED = 0x0501,
  EVENT_EDITBOX_STRING = 0x0601,
  EVENT_EDITBOX_CHANGE = 0x0602,
  EVENT_LISTBOX_ITEM_DBLCLK = 0x0701,
  EVENT_LISTBOX_SELECTION = 0x0702,
  EVENT_TABFRAME_CHANGED = 0x0801,
};

enum DXUT_CONTROL_TYPE : unsigned {
  DXUT_CONTROL_BUTTON = 0,
  DXUT_CONTROL_ICON = 1,
  DXUT_CONTROL_IMAGE = 2,
  DXUT_CONTROL_STATIC = 3,
  DXUT_CONTROL_CHECKBOX = 4,
  DXUT_CONTROL_RADIOBUTTON = 5,
  DXUT_CONTROL_COMBOBOX = 6,
  DXUT_CONTROL_SLIDER = 7,
  DXUT_CONTROL_EDITBOX = 8,
  DXUT_CONTROL_MEMO = 9,
  DXUT_CONTROL_IMEEDITBOX = 10,  // treated as an edit box for hotkeys; no class makes it
  DXUT_CONTROL_LISTBOX = 11,
  DXUT_CONTROL_SCROLLBAR = 12,
  DXUT_CONTROL_FRAME = 13,
  DXUT_CONTROL_TABFRAME = 14,
  DXUT_CONTROL_PROGRESSBAR = 15,
};

// Visual states, the index into a blend colour's state colours.
enum DXUT_CONTROL_STATE : unsigned {
  DXUT_STATE_NORMAL = 0,
  DXUT_STATE_DISABLED = 1,
  DXUT_STATE_HIDDEN = 2,
  DXUT_STATE_FOCUS = 3,
  DXUT_STATE_MOUSEOVER = 4,
  DXUT_STATE_PRESSED = 5,
};
constexpr int MAX_CONTROL_STATES = 6;

struct DXUTColorF {
  float r = 0, g = 0, b = 0, a = 0;
};

DXUTColorF ColorFromArgb(std::uint32_t argb);
// Clamps each component to [0, 1] and rounds it to 8 bits.
std::uint32_t ArgbFromColor(const DXUTColorF& color);

struct DXUTBlendColor {
  std::uint32_t States[MAX_CONTROL_STATES] = {};
  DXUTColorF Current;

  void Init(std::uint32_t defaultColor, std::uint32_t disabledColor = 0xC8808080,
            std::uint32_t hiddenColor = 0);
  // current += (target - current) * (1 - rate^(30 * elapsed)).
  void Blend(unsigned state, float elapsed, float rate = 0.7f);
};

class CDXUTElement {
 public:
  // Both current colours to their hidden-state colours.
  void Refresh();

  unsigned iTexture = 0;
  unsigned iFont = 0;
  unsigned dwTextFormat = 0;
  plat::RectI rcTexture;
  DXUTBlendColor TextureColor;
  DXUTBlendColor FontColor;
};
