#include "world/unit_lists.h"

#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"

sUnitLists::~sUnitLists() { Clear(); }

void sUnitLists::Clear() {
  // The units go through their virtual destructors; nothing here calls Kill,
  // so no unit touches the map or another list while they are freed.
  for (auto* unit : landUnits) delete unit;
  for (auto* unit : carriedUnitsA) delete unit;
  for (auto* unit : carriedUnitsB) delete unit;
  for (auto* unit : airUnits) delete unit;
  for (auto* unit : navalUnits) delete unit;
  for (auto* unit : reservePool) delete unit;
  for (auto* unit : navalReservePool) delete unit;
  for (auto* fleet : fleets) delete fleet;
  for (auto* commander : commanders) delete commander;
  landUnits.clear();
  carriedUnitsA.clear();
  carriedUnitsB.clear();
  airUnits.clear();
  navalUnits.clear();
  reservePool.clear();
  navalReservePool.clear();
  fleets.clear();
  commanders.clear();
  convoys = cConvoyStore();
}
