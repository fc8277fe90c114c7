// Base of the six map-screen panels (information, unit, attack, diplomacy,
// hex and minimap). Panels are dialogs that stay on screen beside the map;
// they are not on the dialog stack. A panel is hidden by its dialog's
// minimised flag; its controls form one block of layout ids that moves
// together when the panel's handle on the information bar is dragged.
#pragma once

#include <initializer_list>

#include "dialogs/dialog.h"

class cPanel : public cDialog {
 public:
  // A panel without a frame or a block (the minimal form).
  explicit cPanel(int id);
  // A panel whose frame (a frame id above 0) is a control at (x, y, width,
  // height); the ids first..last are the block MoveBy shifts (none when last
  // is below first).
  cPanel(int frameId, int x, int y, int width, int height, int blockFirst = 0, int blockLast = -1);
  ~cPanel() override;

  // Draws the dialog only while it is not minimised.
  void OnRender(float elapsed) override;

  // Adds (dx, dy) to the layout entry of every id of the block, in
  // ascending order, and moves the control of that id when there is one.
  virtual void MoveBy(int dx, int dy);

  // The hidden state kept while the computer players move.
  bool savedMinimized = true;

 private:
  int block_first_ = 0;
  int block_last_ = -1;
};

// A read-only value field at the layout entry of editId (its text, hint,
// border 2, white, centred, disabled) and its label, a static at the layout
// entry of labelId (white, vertically centred).
void AddLabeledEditBox(CDXUTDialog& dialog, int editId, const wchar_t* text, const wchar_t* hint,
                       int labelId, const wchar_t* label);

// Renders the dialog with the listed background images first, in a batch of
// their own: the sprite batch orders draws by depth, and images lie at the
// front (depth 0), so within the dialog's batch they would cover its icons.
void RenderDialogOverBackdrops(CDXUTDialog& dialog, std::initializer_list<int> backdropIds, float elapsed);

// Hides (true) or shows a panel's dialog; hiding also forgets the control
// under the mouse.
void SetPanelMinimized(cPanel* panel, bool minimized);

// Installed by the panels: the loaded game's map screen hands the event to
// every existing panel of unit, hex, attack and diplomacy, in that order.
void PanelOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control);
