// Window messages as the GUI toolkit reads them. The window layer turns SDL
// events into these records; tests build them directly. Codes, virtual keys
// and the packing of wParam/lParam keep the Windows values, so the toolkit's
// message handling reads as it was designed.
#pragma once

#include <cstdint>

namespace plat {

struct Message {
  unsigned msg = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

// Message codes.
enum : unsigned {
  kWmClose = 0x0010,  // the window is being closed; device objects still exist
  kWmActivateApp = 0x001C,
  kWmKeyDown = 0x0100,
  kWmKeyUp = 0x0101,
  kWmChar = 0x0102,
  kWmSysKeyDown = 0x0104,
  kWmSysKeyUp = 0x0105,
  kWmMouseMove = 0x0200,
  kWmLButtonDown = 0x0201,
  kWmLButtonUp = 0x0202,
  kWmLButtonDblClk = 0x0203,
  kWmRButtonDown = 0x0204,
  kWmRButtonUp = 0x0205,
  kWmRButtonDblClk = 0x0206,
  kWmMButtonDown = 0x0207,
  kWmMButtonUp = 0x0208,
  kWmMButtonDblClk = 0x0209,
  kWmMouseWheel = 0x020A,
  kWmCaptureChanged = 0x0215,
};

// Button flags in wParam of mouse messages.
enum : unsigned {
  kMkLButton = 0x0001,
  kMkRButton = 0x0002,
  kMkShift = 0x0004,
  kMkControl = 0x0008,
  kMkMButton = 0x0010,
  kMkXButton1 = 0x0020,
  kMkXButton2 = 0x0040,
};

// Virtual-key codes the game uses (letters and digits are their ASCII
// capitals and digits).
enum : unsigned {
  kVkLButton = 0x01,
  kVkRButton = 0x02,
  kVkMButton = 0x04,
  kVkBack = 0x08,
  kVkTab = 0x09,
  kVkReturn = 0x0D,
  kVkShift = 0x10,
  kVkControl = 0x11,
  kVkMenu = 0x12,  // Alt
  kVkPause = 0x13,
  kVkEscape = 0x1B,
  kVkSpace = 0x20,
  kVkPrior = 0x21,
  kVkNext = 0x22,
  kVkEnd = 0x23,
  kVkHome = 0x24,
  kVkLeft = 0x25,
  kVkUp = 0x26,
  kVkRight = 0x27,
  kVkDown = 0x28,
  kVkInsert = 0x2D,
  kVkDelete = 0x2E,
  kVkF1 = 0x70,  // F1..F12 follow in order
  kVkF2 = 0x71,
  kVkF3 = 0x72,
  kVkF4 = 0x73,
  kVkF5 = 0x74,
  kVkF6 = 0x75,
  kVkF7 = 0x76,
  kVkF8 = 0x77,
  kVkF9 = 0x78,
  kVkF10 = 0x79,
  kVkF11 = 0x7A,
  kVkF12 = 0x7B,
  kVkAdd = 0x6B,
  kVkSubtract = 0x6D,
};

// The mouse button (its virtual key) a press or a release message is
// about, 0 for other messages; press tells which of the two it is (a double
// click is a press).
constexpr unsigned ButtonOf(unsigned msg, bool& press) {
  switch (msg) {
    case kWmLButtonDown:
    case kWmLButtonDblClk: press = true; return kVkLButton;
    case kWmRButtonDown:
    case kWmRButtonDblClk: press = true; return kVkRButton;
    case kWmMButtonDown:
    case kWmMButtonDblClk: press = true; return kVkMButton;
    case kWmLButtonUp: press = false; return kVkLButton;
    case kWmRButtonUp: press = false; return kVkRButton;
    case kWmMButtonUp: press = false; return kVkMButton;
    default: return 0;
  }
}

// lParam of mouse messages: x in the low 16 bits, y in the high 16 bits
// (each signed).
constexpr std::intptr_t MakeMouseLParam(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}
constexpr int MouseX(std::intptr_t lParam) { return static_cast<std::int16_t>(lParam & 0xFFFF); }
constexpr int MouseY(std::intptr_t lParam) { return static_cast<std::int16_t>((lParam >> 16) & 0xFFFF); }
// Wheel delta in the high 16 bits of wParam (120 per notch).
constexpr int WheelDelta(std::uintptr_t wParam) { return static_cast<std::int16_t>((wParam >> 16) & 0xFFFF); }
// Key messages: bit 30 of lParam is set for an auto-repeated key down.
constexpr std::intptr_t kKeyRepeatBit = std::intptr_t{1} << 30;

}  // namespace plat
