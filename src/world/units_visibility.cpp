#include "world/units_visibility.h"

#include "app/console_log.h"
#include "app/settings.h"
#include "world/country.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/hex.h"
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
    unit->RevealUnitsAround(false);
  }
  for (cJednostkaLotnicza* unit : units.airUnits) {
    if (!ownSide(*unit)) continue;
    unit->visible = true;
    unit->RevealUnitsAround(false);
  }
  for (cUnit* unit : viewer.reconSpottedUnits) {
    if (unit != nullptr) unit->visible = true;
  }
  // Which ships the viewer sees at each sea node, and which the node shows.
  CalculateNavalVisibilityEverywhere(world, viewer.id, false);
}

bool SideSeesUnit(const cWorld& world, const cCountry& viewer, const cUnit& unit) {
  const int fog = g_Settings.FogOfWar;
  if (fog == 0) return true;
  const auto ownSide = [&viewer](int countryId) { return countryId == viewer.id || viewer.IsAlliedWith(countryId); };
  if (ownSide(unit.countryId)) return true;
  for (const cUnit* spotted : viewer.reconSpottedUnits) {
    if (spotted == &unit) return true;
  }
  const sUnitLists& units = world.Units();
  const auto near = [&](const cUnit& spotter) {
    return ownSide(spotter.countryId) && HexDistance(unit.x, unit.y, spotter.x, spotter.y) <= fog;
  };
  for (const cJednostkaLadowa* spotter : units.landUnits) {
    if (near(*spotter)) return true;
  }
  for (const cJednostkaLotnicza* spotter : units.airUnits) {
    if (near(*spotter)) return true;
  }
  return false;
}
