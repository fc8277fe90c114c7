#include "screens/panel.h"

#include "app/input_routing.h"

cPanel* g_pInfoPanel = nullptr;
cPanel* g_pUnitPanel = nullptr;
cPanel* g_pAttackPanel = nullptr;
cPanel* g_pDiplomacyPanel = nullptr;
cPanel* g_pHexPanel = nullptr;
cPanel* g_pMinimapPanel = nullptr;

cPanel::cPanel(int id) : cDialog(id) { dialog_.SetCallback(PanelOnGUIEventThunk); }

cPanel::~cPanel() {
  // A deleted panel must not stay reachable through its global pointer.
  for (cPanel** slot : {&g_pInfoPanel, &g_pUnitPanel, &g_pAttackPanel, &g_pDiplomacyPanel,
                        &g_pHexPanel, &g_pMinimapPanel}) {
    if (*slot == this) *slot = nullptr;
  }
}

void cPanel::MoveBy(int, int) {}
