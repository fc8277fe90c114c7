// The switchboard between the framework's callbacks and the game's receivers:
// the active dialog of the dialog stack, the current menu and, on the map
// screen, the panels and the world. Also the moving of a dialog's block of
// controls and two small drawing helpers.
#pragma once

#include "app/gui_layout.h"
#include "platform/messages.h"

class CDXUTControl;
class CDXUTDialog;

// Window messages: the visible active dialog first, then the current menu,
// else the map-screen panels. Always returns 0.
long MsgProc(const plat::Message& message, bool& noFurtherProcessing);

// Installed by the menus.
void MenuOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control);
void MenuOnKeyboardThunk(unsigned key, bool keyDown, bool altDown);
void MenuOnMouseThunk(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                      int x, int y);
void MenuOnFrameMoveThunk(double time, float elapsed);

// Installed by the panels: every existing panel of unit, hex, attack and
// diplomacy gets the event, in that order.
void PanelOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control);
// Installed by the dialogs: the active dialog gets the event when visible.
void DialogOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control);

// The map screen.
void WorldOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control);
void WorldOnKeyboardThunk(unsigned key, bool keyDown, bool altDown);
void WorldOnMouseThunk(bool left, bool right, bool middle, bool side1, bool side2, int wheelDelta,
                       int x, int y);

// Records the moved control id's new rectangle (edges) in the layout table
// and moves the controls of its group by (dx, dy). False when a panel would
// leave the screen; nothing is changed then.
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
