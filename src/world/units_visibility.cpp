#include "world/units_visibility.h"

#include "app/console_log.h"
#include "app/settings.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/naval_spotting.h"
#include "world/world.h"

void RecalculateUnitsVisibility(cWorld& world, const cCountry& viewer) {
  LogLine(L"Recalculating units visibility");
  sUnitLists& units = world.Units();
  const bool fog = g_Settings.FogOfWar != 0;
  for (cJednostkaLadowa* unit : units.landUnits) unit->visible = !fog;
  for (cJednostkaLotnicza* unit : units.airUnits) unit->visible = !fog;
  if (!fog) {
    CalculateNavalVisibilityEverywhere(world, viewer.id, false);
    return;
  }
  const auto ownSide = [&viewer](const cUnit& unit) {
    return unit.countryId == viewer.id || viewer.IsAlliedWith(unit.countryId);
  };
  for (cJednostkaLadowa* unit : units.landUnits) {
    if (!ownSide(*unit)) continue;
    unit->visible = true;
    unit->RevealUnitsAround(world, false);
  }
  for (cJednostkaLotnicza* unit : units.airUnits) {
    if (!ownSide(*unit)) continue;
    unit->visible = true;
    unit->RevealUnitsAround(world, false);
  }
  for (cUnit* unit : viewer.reconSpottedUnits) {
    if (unit != nullptr) unit->visible = true;
  }
  // Which ships the viewer sees at each sea node, and which the node shows.
  CalculateNavalVisibilityEverywhere(world, viewer.id, false);
}
