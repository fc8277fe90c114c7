// Base of the six map-screen panels (information, unit, attack, diplomacy,
// hex and minimap). Panels are dialogs that stay on screen beside the map;
// they are not on the dialog stack.
#pragma once

#include "dialogs/dialog.h"

class cPanel : public cDialog {
 public:
  // Sends the embedded dialog's GUI events to the panel event routing.
  explicit cPanel(int id);
  ~cPanel() override;

  // Moves the panel's layout entries and live controls; each panel knows
  // its own entries.
  virtual void MoveBy(int dx, int dy);
};

// Null while the panel does not exist (the minimap and information panels
// may be missing on the map screen).
extern cPanel* g_pInfoPanel;
extern cPanel* g_pUnitPanel;
extern cPanel* g_pAttackPanel;
extern cPanel* g_pDiplomacyPanel;
extern cPanel* g_pHexPanel;
extern cPanel* g_pMinimapPanel;
