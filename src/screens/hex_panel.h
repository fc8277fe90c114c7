// The hex panel: what stands on the selected hex (city, port, resource site
// or sea zone) and its name, terrain and coordinates, supply, the city's
// production and victory points, controller, owner, fortification and
// weather; and the one action of the panel, building an artificial harbour.
#pragma once

#include "screens/panel.h"

class cCountry;
struct sHex;

class cHexPanel : public cPanel {
 public:
  cHexPanel();

  // Fills every field from the world's selected hex and current country.
  void Refresh();
  // The same for a given hex (null: nothing selected) and country.
  void RefreshFor(const sHex* hex, cCountry* current);
  // Builds a harbour for the harbour icon; every other id is ignored.
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;

  // Whether a harbour may be built on the hex by the country; when not,
  // reason names the text key of the first rule that fails.
  static bool CanBuildHarbour(const sHex& hex, const cCountry& current, double cost, const char** reason);
};

constexpr int kHexPanelFrameId = 401;
constexpr int kHexPanelBlockLast = 421;
constexpr int kHexKindLabelId = 402;
constexpr int kHexNameId = 403;
constexpr int kHexInfoId = 405;
constexpr int kHexSupplyId = 407;
constexpr int kHexProductionId = 409;
constexpr int kHexVictoryId = 411;
constexpr int kHexControllerId = 413;
constexpr int kHexOwnerId = 415;
constexpr int kHexFortificationId = 417;
constexpr int kHexWeatherId = 419;
constexpr int kHexHarbourIconId = 421;
// The harbour picture in the interface sheet (40 x 40; disabled, normal and
// mouse-over looks stacked).
constexpr int kHarbourIconSheetX = 340;
constexpr int kHarbourIconSheetY = 620;
constexpr int kHarbourIconSize = 40;
constexpr int kHarbourUnitType = 60;
