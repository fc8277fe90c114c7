// Moving a block of controls together, and two small drawing helpers of
// the interface: a square fitted in a rectangle and a framed box.
#pragma once

#include <functional>

#include "app/gui_layout.h"

class CDXUTDialog;

// Moves the map-screen panel whose frame has this layout id (350 unit, 400
// hex, 450 attack, 600 diplomacy) by (dx, dy). The map screen installs one
// while it exists; returns the mover it replaces.
using PanelMover = std::function<void(int layoutId, int dx, int dy)>;
PanelMover SetPanelMover(PanelMover mover);

// A control id moved by (dx, dy) to its new rectangle (edges): its layout
// entry moves by as much and keeps its size, and the rest of its group moves
// with it, the controls the dialog holds and, in the layout table, the ids
// it lacks. False when a panel would leave the screen; nothing is changed
// then.
bool MoveControlGroup(CDXUTDialog* dialog, int id, int left, int top, int right, int bottom,
                      int dx, int dy);

// Shrinks rect ({x, y, width, height}) to the square of its shorter side,
// placed by the alignments (0 left/top, 2 right/bottom, other: centred).
// Returns the square's side over the old width (0 for an empty width).
float FitSquareInRect(sLayoutRect& rect, int horizontal, int vertical);

// A box framed with 45-pixel pieces of the GUI sheet (texture table slot 2)
// and, when icon >= 0, that icon of the icon grid (layout entry 58).
void DrawFramedBox(int x, int y, int width, int height, int icon);

// The frame pieces of DrawFramedBox: a 3 x 3 grid of 45-pixel pieces in the
// GUI sheet with its top-left corner here.
constexpr int kFramedBoxSheetX = 0;
constexpr int kFramedBoxSheetY = 1895;
constexpr int kFramedBoxPiece = 45;
