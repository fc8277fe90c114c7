// The unit panel: the land or air unit standing on the selected hex. So far
// it shows the unit's name and its undo icon (the undo of the last land
// move, enabled only for the unit that made it and only while that move
// revealed no enemy); the unit's picture, values and other orders join it
// later.
#pragma once

#include "screens/panel.h"

class cJednostka;
class cWorld;

constexpr int kUnitPanelFrameId = 351;
constexpr int kUnitPanelBlockLast = 390;
constexpr int kUnitNameLabelId = 353;
constexpr int kUnitNameId = 354;
constexpr int kUnitUndoIconId = 381;

class cUnitPanel : public cPanel {
 public:
  explicit cUnitPanel(cWorld& world);

  // Shows the unit on the selected hex (or "-") and whether its last move
  // can be undone, with the reason in the undo icon's hint.
  void Refresh();
  // The undo icon undoes the shown unit's last move.
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;

  cJednostka* ShownUnit() const { return shown_; }

 private:
  cWorld& world_;
  cJednostka* shown_ = nullptr;
};
