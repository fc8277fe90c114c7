#pragma once
// What the screens' and panels' source files share besides the dialogs'
// helpers: colours, the GUI sheet's texture slot, the map's order marks,
// fonts and formats, and division rounded down.

#include <cstdint>

#include "dialogs/dialog_helpers.h"

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr int kGuiSheetSlot = 2;
// The marks a unit's orders leave on the map's hexes, all of them or all
// but the sea zone's.
constexpr std::uint32_t kOrderMarks = 0xFFFFFFFEu;
constexpr std::uint32_t kOrderMarksKeepZone = 0xFFFFBFFEu;
constexpr unsigned kTitleFont = 2;
constexpr int kMessageLayoutIndex = 684;
constexpr unsigned kCentred = 5;  // DT_CENTER | DT_VCENTER

// a / b rounded towards minus infinity (b > 0).
inline int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
